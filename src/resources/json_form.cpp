#include "resources/json_form.h"

#include <algorithm>

#include "document/names.h"

namespace corvane {

Result JsonRefusal(std::string_view what) {
  return Result::Rejected(Message::FromRow(rows::kJsonNotResource).Text(" " + std::string(what)));
}

std::string JsonFromRaw(std::string_view raw) { return Latin1ToUtf8(raw); }

bool RawFromJson(std::string_view json_text, std::string& raw) {
  bool lossy = false;
  raw = Utf8ToLatin1(json_text, &lossy);
  return !lossy;
}

Result CheckJsonKind(const nlohmann::ordered_json& in, std::string_view kind) {
  if (!in.is_object()) return JsonRefusal("not an object");
  const auto it = in.find("kind");
  if (it != in.end() && !(it->is_string() && it->get<std::string>() == kind))
    return JsonRefusal("kind: \"" + std::string(kind) + "\" expected");
  return Result::Ok();
}

Result JsonNumber(const nlohmann::ordered_json& in, const char* key, int most, int& out) {
  const auto it = in.find(key);
  if (it == in.end() || !it->is_number_integer() || it->get<std::int64_t>() < 0 ||
      it->get<std::int64_t>() > most)
    return JsonRefusal(std::string(key) + ": an integer 0.." + std::to_string(most) + " expected");
  out = it->get<int>();
  return Result::Ok();
}

Result JsonString(const nlohmann::ordered_json& in, const char* key, std::string& out) {
  const auto it = in.find(key);
  if (it == in.end() || !it->is_string() || !RawFromJson(it->get<std::string>(), out))
    return JsonRefusal(std::string(key) + ": a text of characters U+0000..U+00FF expected");
  return Result::Ok();
}

nlohmann::ordered_json HexRows(int width, int height, ByteView rows) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  auto out = nlohmann::ordered_json::array();
  const std::size_t row_bytes = static_cast<std::size_t>(std::max(width, 0)) / 2;
  if (row_bytes == 0) {  // rows of no digits take no bytes
    for (int y = 0; y < height; ++y) out.push_back("");
    return out;
  }
  for (std::size_t y = 0; y < static_cast<std::size_t>(std::max(height, 0)); ++y) {
    const std::size_t offset = y * row_bytes;
    if (offset >= rows.size()) break;
    std::string hex(row_bytes * 2, '0');
    for (std::size_t x = 0; x < row_bytes; ++x) {
      const std::uint8_t v = rows[offset + x];
      hex[2 * x] = kDigits[v >> 4];
      hex[2 * x + 1] = kDigits[v & 0x0F];
    }
    out.push_back(std::move(hex));
  }
  return out;
}

Result RowsFromHex(const nlohmann::ordered_json& rows, int width, int height, Bytes& out) {
  const std::size_t row_bytes = static_cast<std::size_t>(width) / 2;
  if (!rows.is_array() || rows.size() != static_cast<std::size_t>(height))
    return JsonRefusal("rows: " + std::to_string(height) + " rows expected");
  out.assign(row_bytes * static_cast<std::size_t>(height), 0);
  for (std::size_t y = 0; y < rows.size(); ++y) {
    const auto& row = rows[y];
    const std::string* hex = row.is_string() ? row.get_ptr<const std::string*>() : nullptr;
    if (hex == nullptr || hex->size() != row_bytes * 2)
      return JsonRefusal("rows[" + std::to_string(y) + "]: " + std::to_string(row_bytes * 2) +
                         " hex digits expected");
    for (std::size_t i = 0; i < hex->size(); ++i) {
      const char c = (*hex)[i];
      int v = c >= '0' && c <= '9' ? c - '0'
              : c >= 'A' && c <= 'F' ? c - 'A' + 10
              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                     : -1;
      if (v < 0) return JsonRefusal("rows[" + std::to_string(y) + "]: not a hex digit");
      out[y * row_bytes + i / 2] |= static_cast<std::uint8_t>(i % 2 == 0 ? v << 4 : v);
    }
  }
  return Result::Ok();
}

}  // namespace corvane
