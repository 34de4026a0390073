#include "resources/strings_list.h"

#include <algorithm>

#include "firmware/tree.h"
#include "resources/stored.h"
#include "resources/panel.h"

namespace corvane {

Result TMHWStringsList::Read(ByteView plain) {
  strings.clear();
  const std::size_t p = plain.size();
  // The table values read as the zero-filled work buffer holds them, zero past the end.
  const std::uint32_t t = plain.u16be(0);
  if (t > 2) {
    std::uint32_t l = plain.u16be(t);
    std::uint32_t u = plain.u16be(2);
    long_form = u >= t + l + 2;
  } else {
    long_form = p != t + 1 + plain.at(2);
  }
  if (p < 2) return Result::Ok();  // no table at all: an empty list
  const std::size_t n = t / 2;
  const std::size_t header = long_form ? 2 : 1;
  bool truncated = false;
  for (std::size_t i = 0; i < n; ++i) {
    if (!plain.Contains(2 * i, 2)) {
      truncated = true;
      break;
    }
    std::size_t offset = plain.u16be(2 * i);
    if (!plain.Contains(offset, header)) {
      truncated = true;
      break;
    }
    std::size_t length = long_form ? plain.u16be(offset) : plain.at(offset);
    ByteView text = plain.Sub(offset + header, length);
    strings.emplace_back(reinterpret_cast<const char*>(text.data()), text.size());
    if (text.size() < length) {
      truncated = true;
      break;
    }
  }
  if (truncated) return Result::Rejected(Message::FromRow(kMsgStringsTruncated));
  return Result::Ok();
}

Result TMHWStringsList::Write(Bytes& plain) const {
  const std::size_t header = long_form ? 2 : 1;
  std::size_t size = 2 * strings.size();
  for (const auto& s : strings) {
    if (s.size() > MaxLength()) return Result::Refused(Message::FromRow(kMsgStringTooLong));
    size += header + s.size();
  }
  if (size > 0xFFFF) return Result::Refused(Message::FromRow(kMsgStringsTooLarge));
  Bytes out(2 * strings.size());
  std::size_t offset = out.size();
  for (std::size_t i = 0; i < strings.size(); ++i) {
    MutableByteView(out).WriteBE(2 * i, static_cast<std::uint32_t>(offset), 2);
    offset += header + strings[i].size();
  }
  for (const auto& s : strings) {
    if (long_form) out.push_back(static_cast<std::uint8_t>(s.size() >> 8));
    out.push_back(static_cast<std::uint8_t>(s.size() & 0xFF));
    out.insert(out.end(), s.begin(), s.end());
  }
  plain = std::move(out);
  return Result::Ok();
}

Result TMHWStringsList::Create(const TNodo& node) { return Read(PlainOf(node)); }

Result TMHWStringsList::Guarda(TNodo& node) const {
  Bytes plain;
  if (Result r = Write(plain); !r) return r;
  StorePlain(node, plain);
  // An empty list compresses to nothing, and a file of no bytes would read as a directory: one
  // zero byte decodes to nothing as well and keeps the node a file.
  if (node.Data.Tamano == 0) {
    node.Data.Datos = {0};
    node.Data.Tamano = 1;
  }
  return Result::Ok();
}

bool TMHWStringsList::NuevaCadena(int i) {
  if (i < -1 || i >= static_cast<int>(strings.size())) return false;
  strings.insert(strings.begin() + (i + 1), std::string());
  return true;
}

bool TMHWStringsList::BorraCadena(int i) {
  if (i < 0 || i >= static_cast<int>(strings.size())) return false;
  strings.erase(strings.begin() + i);
  return true;
}

std::optional<TMHWStringsList::Match> TMHWStringsList::Busca(std::string_view needle, int index,
                                                         std::size_t pos) const {
  const int count = static_cast<int>(strings.size());
  if (needle.empty() || count == 0) return std::nullopt;
  index = std::clamp(index, 0, count - 1);
  // The start string from `pos`, the others whole, then the start string again before `pos`.
  for (int step = 0; step <= count; ++step) {
    const int i = (index + step) % count;
    const std::string& s = strings[static_cast<std::size_t>(i)];
    const std::size_t from = step == 0 ? pos : 0;
    const std::size_t found = from > s.size() ? std::string::npos : s.find(needle, from);
    if (found == std::string::npos) continue;
    if (step == count && found >= pos) break;
    return Match{i, found};
  }
  return std::nullopt;
}

}  // namespace corvane
