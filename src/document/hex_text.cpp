#include "document/hex_text.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <utility>

#include "firmware/tree.h"

namespace corvane {

namespace {

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::vector<int> Digits(std::string_view text) {
  std::vector<int> digits;
  for (char c : text)
    if (const int d = DigitValue(c); d >= 0) digits.push_back(d);
  return digits;
}

// The digits in pairs, first digit the high nibble; a last unpaired digit is dropped.
Bytes Pairs(const std::vector<int>& digits) {
  Bytes out;
  out.reserve(digits.size() / 2);
  for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
    out.push_back(static_cast<std::uint8_t>(digits[i] << 4 | digits[i + 1]));
  return out;
}

// Upper case of every 8-bit value, by the rule node names use.
const std::array<std::uint8_t, 256>& UpperTable() {
  static const std::array<std::uint8_t, 256> table = [] {
    std::string all(256, '\0');
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = static_cast<char>(i);
    const std::string upper = UpperName(all);
    std::array<std::uint8_t, 256> t{};
    for (std::size_t i = 0; i < t.size(); ++i) t[i] = static_cast<std::uint8_t>(upper[i]);
    return t;
  }();
  return table;
}

}  // namespace

std::string HexText(ByteView bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (std::uint8_t b : bytes.span()) {
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 0x0F]);
  }
  return out;
}

Bytes ParsePastedHex(std::string_view text) { return Pairs(Digits(text)); }

Bytes ParseSearchHex(std::string_view text) {
  std::vector<int> digits = Digits(text);
  if (digits.size() % 2 != 0) digits.insert(digits.begin(), 0);
  return Pairs(digits);
}

std::int32_t SelectionValueBE(ByteView selection) {
  const std::size_t n = std::min<std::size_t>(selection.size(), 4);
  std::uint32_t value = 0;
  for (std::size_t i = selection.size() - n; i < selection.size(); ++i)
    value = value << 8 | selection[i];
  return static_cast<std::int32_t>(value);
}

std::uint32_t SelectionValueLE(ByteView selection) {
  const std::size_t n = std::min<std::size_t>(selection.size(), 4);
  std::uint32_t value = 0;
  for (std::size_t i = n; i-- > 0;) value = value << 8 | selection[i];
  return value;
}

std::vector<InspectedValue> InspectAt(ByteView data, std::size_t pos) {
  static constexpr std::pair<int, bool> kWidths[] = {
      {8, true}, {16, true}, {16, false}, {32, true}, {32, false}};
  std::vector<InspectedValue> values;
  values.reserve(std::size(kWidths));
  for (const auto& [bits, big_endian] : kWidths) {
    const auto len = static_cast<std::size_t>(bits / 8);
    if (!data.Contains(pos, len)) continue;
    InspectedValue v;
    v.bits = bits;
    v.big_endian = big_endian;
    for (std::size_t i = 0; i < len; ++i)
      v.unsigned_value = v.unsigned_value << 8 | data[big_endian ? pos + i : pos + len - 1 - i];
    const std::uint64_t sign = std::uint64_t{1} << (bits - 1);
    v.signed_value = (v.unsigned_value & sign)
                         ? static_cast<std::int64_t>(v.unsigned_value) -
                               static_cast<std::int64_t>(sign << 1)
                         : static_cast<std::int64_t>(v.unsigned_value);
    values.push_back(v);
  }
  return values;
}

std::optional<std::size_t> FindBytes(ByteView data, ByteView pattern, std::size_t from,
                                     bool ignore_case) {
  if (pattern.empty() || from >= data.size()) return std::nullopt;
  const auto& upper = UpperTable();
  const auto same = [&](std::uint8_t a, std::uint8_t b) {
    return ignore_case ? upper[a] == upper[b] : a == b;
  };
  const auto span = data.span();
  const auto it = std::search(span.begin() + static_cast<std::ptrdiff_t>(from), span.end(),
                              pattern.span().begin(), pattern.span().end(), same);
  if (it == span.end()) return std::nullopt;
  return static_cast<std::size_t>(it - span.begin());
}

std::optional<std::uint64_t> ParseOffset(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
  } else if (text.starts_with("$")) {
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 16) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    const int d = DigitValue(c);
    if (d < 0) return std::nullopt;
    value = value << 4 | static_cast<std::uint64_t>(d);
  }
  return value;
}

}  // namespace corvane
