#include "base/bytes.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace corvane {

namespace {
// The byte at pos + i, or 0 when that lies past the end (pos + i never wraps around).
std::uint8_t ByteAt(const std::uint8_t* data, std::size_t size, std::size_t pos, int i) {
  const auto k = static_cast<std::size_t>(i);
  return pos < size && k < size - pos ? data[pos + k] : 0;
}
}  // namespace

std::uint32_t ByteView::ReadLE(std::size_t pos, int n) const {
  std::uint32_t value = 0;
  for (int i = std::min(n, 4) - 1; i >= 0; --i) value = (value << 8) | ByteAt(data_, size_, pos, i);
  return value;
}

std::uint32_t ByteView::ReadBE(std::size_t pos, int n) const {
  std::uint32_t value = 0;
  for (int i = 0; i < std::min(n, 4); ++i) value = (value << 8) | ByteAt(data_, size_, pos, i);
  return value;
}

ByteView ByteView::Sub(std::size_t pos, std::size_t len) const {
  if (pos >= size_) return {};
  return {data_ + pos, std::min(len, size_ - pos)};
}

void MutableByteView::WriteLE(std::size_t pos, std::uint32_t value, int n) const {
  for (int i = 0; i < std::min(n, 4); ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (pos < size_ && k < size_ - pos) data_[pos + k] = static_cast<std::uint8_t>(value & 0xFF);
    value >>= 8;
  }
}

void MutableByteView::WriteBE(std::size_t pos, std::uint32_t value, int n) const {
  for (int i = std::min(n, 4) - 1; i >= 0; --i) {
    const auto k = static_cast<std::size_t>(i);
    if (pos < size_ && k < size_ - pos) data_[pos + k] = static_cast<std::uint8_t>(value & 0xFF);
    value >>= 8;
  }
}

void MutableByteView::Fill(std::size_t pos, std::size_t len, std::uint8_t value) const {
  if (pos >= size_) return;
  len = std::min(len, size_ - pos);
  std::memset(data_ + pos, value, len);
}

void MutableByteView::Copy(std::size_t pos, ByteView source) const {
  if (pos >= size_ || source.empty()) return;
  const std::size_t len = std::min(source.size(), size_ - pos);
  std::memmove(data_ + pos, source.data(), len);
}

std::string LeeNombre(ByteView bytes, std::size_t pos, std::size_t n) {
  std::string name;
  for (std::size_t i = 0; i < n && pos < bytes.size() && i < bytes.size() - pos; ++i) {
    const std::uint8_t c = bytes.at(pos + i);
    if (c == 0) break;
    name.push_back(static_cast<char>(c));
  }
  return name;
}

void EscribeNombre(MutableByteView bytes, std::size_t pos, std::string_view text, std::size_t n) {
  for (std::size_t i = 0; i < n && pos < bytes.size() && i < bytes.size() - pos; ++i)
    bytes.Set(pos + i, i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0);
}

std::int64_t BuscaCadenaDesde(std::string_view text, ByteView bytes, std::size_t from,
                              std::size_t length, bool with_nul) {
  length = std::min(length, bytes.size());
  if (text.empty() || from >= length) return -1;
  const auto* begin = reinterpret_cast<const char*>(bytes.data());
  const std::boyer_moore_horspool_searcher searcher(text.begin(), text.end());
  std::size_t pos = from;
  while (pos < length) {
    const char* hit = std::search(begin + pos, begin + length, searcher);
    if (hit == begin + length) return -1;
    const auto p = static_cast<std::size_t>(hit - begin);
    if (!with_nul) return static_cast<std::int64_t>(p);
    const std::size_t after = p + text.size();
    if (after < length && bytes.at(after) == 0) return static_cast<std::int64_t>(p);
    pos = p + 1;
  }
  return -1;
}

std::int64_t BuscaCadena(std::string_view text, ByteView bytes, std::size_t length, bool with_nul) {
  return BuscaCadenaDesde(text, bytes, 0, length, with_nul);
}

std::int64_t HexAEntero(std::string_view text) {
  std::int64_t value = 0;
  for (const char c : text) {
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return -1;
    // Values beyond 60 bits cannot come from the short fields that carry hex text.
    if (value > (INT64_MAX >> 4)) return -1;
    value = value * 16 + digit;
  }
  return value;
}

}  // namespace corvane
