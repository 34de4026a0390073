#include "config/text_encoding.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace corvane {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one code point at `pos` and advances past it; an invalid sequence gives U+FFFD and
// advances by one byte.
char32_t NextCodePoint(std::string_view s, std::size_t& pos) {
  const auto byte = [&](std::size_t i) -> std::uint8_t {
    return i < s.size() ? static_cast<std::uint8_t>(s[i]) : 0;
  };
  const std::uint8_t b0 = byte(pos);
  int len = 0;
  char32_t cp = 0;
  char32_t min = 0;
  if (b0 < 0x80) {
    ++pos;
    return b0;
  } else if ((b0 & 0xE0) == 0xC0) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    ++pos;
    return kReplacement;
  }
  for (int i = 1; i < len; ++i) {
    const std::uint8_t b = byte(pos + static_cast<std::size_t>(i));
    if (pos + static_cast<std::size_t>(i) >= s.size() || (b & 0xC0) != 0x80) {
      ++pos;
      return kReplacement;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return kReplacement;
  }
  pos += static_cast<std::size_t>(len);
  return cp;
}

constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

std::string DecodeUtf16(ByteView bytes, bool little_endian) {
  std::string out;
  const std::size_t units = bytes.size() / 2;
  const auto unit = [&](std::size_t i) -> char32_t {
    return little_endian ? bytes.u16le(2 * i) : bytes.u16be(2 * i);
  };
  for (std::size_t i = 1; i < units; ++i) {  // unit 0 is the byte-order mark
    const char32_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
      const char32_t low = unit(i + 1);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        ++i;
        continue;
      }
    }
    AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : u);
  }
  if (bytes.size() % 2 != 0) AppendUtf8(out, kReplacement);
  return out;
}

// The Windows-1252 byte of a code point, or -1 when the code page has none.
int Windows1252Byte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (std::size_t i = 0; i < kCp1252High.size(); ++i)
    if (kCp1252High[i] == cp) return static_cast<int>(0x80 + i);
  return -1;
}

}  // namespace

bool FitsWindows1252(std::string_view utf8) {
  std::size_t pos = 0;
  while (pos < utf8.size())
    if (Windows1252Byte(NextCodePoint(utf8, pos)) < 0) return false;
  return true;
}

bool IsValidUtf8(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t start = pos;
    if (NextCodePoint(text, pos) == kReplacement) {
      // U+FFFD itself is valid when it was really written as EF BF BD.
      if (pos - start != 3) return false;
    }
  }
  return true;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (const char c : bytes) {
    const auto b = static_cast<std::uint8_t>(c);
    if (b >= 0x80 && b < 0xA0) {
      AppendUtf8(out, kCp1252High[b - 0x80]);
    } else {
      AppendUtf8(out, b);
    }
  }
  return out;
}

DecodedText DecodeText(ByteView bytes) {
  DecodedText result;
  if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    result.encoding = TextEncoding::Utf16LE;
    result.utf8 = DecodeUtf16(bytes, true);
    return result;
  }
  if (bytes.size() >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
    result.encoding = TextEncoding::Utf16BE;
    result.utf8 = DecodeUtf16(bytes, false);
    return result;
  }
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  const bool bom = text.starts_with("\xEF\xBB\xBF");
  if (bom) text.remove_prefix(3);
  result.encoding = bom ? TextEncoding::Utf8Bom : TextEncoding::Utf8;
  result.utf8.reserve(text.size());
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    end = end == std::string_view::npos ? text.size() : end + 1;
    const std::string_view line = text.substr(start, end - start);
    if (IsValidUtf8(line)) {
      result.utf8 += line;
    } else {
      result.utf8 += Windows1252ToUtf8(line);
      if (!bom) result.encoding = TextEncoding::Windows1252;
    }
    start = end;
  }
  return result;
}

Bytes EncodeText(std::string_view utf8, TextEncoding encoding) {
  Bytes out;
  switch (encoding) {
    case TextEncoding::Windows1252: {
      std::size_t pos = 0;
      while (pos < utf8.size()) {
        const int byte = Windows1252Byte(NextCodePoint(utf8, pos));
        out.push_back(static_cast<std::uint8_t>(byte < 0 ? '?' : byte));
      }
      return out;
    }
    case TextEncoding::Utf8Bom:
    case TextEncoding::Utf8: {
      const std::size_t bom = encoding == TextEncoding::Utf8Bom ? 3 : 0;
      out.resize(bom + utf8.size());
      if (bom != 0) {
        out[0] = 0xEF;
        out[1] = 0xBB;
        out[2] = 0xBF;
      }
      std::copy(utf8.begin(), utf8.end(), out.begin() + static_cast<std::ptrdiff_t>(bom));
      return out;
    }
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
      const bool le = encoding == TextEncoding::Utf16LE;
      const auto put = [&](char32_t unit) {
        const auto hi = static_cast<std::uint8_t>(unit >> 8);
        const auto lo = static_cast<std::uint8_t>(unit & 0xFF);
        out.push_back(le ? lo : hi);
        out.push_back(le ? hi : lo);
      };
      put(0xFEFF);
      std::size_t pos = 0;
      while (pos < utf8.size()) {
        const char32_t cp = NextCodePoint(utf8, pos);
        if (cp >= 0x10000) {
          put(0xD800 + ((cp - 0x10000) >> 10));
          put(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
          put(cp);
        }
      }
      return out;
    }
  }
  return out;
}

std::string FoldCase(std::string_view utf8) {
  std::string out(utf8);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto b = static_cast<std::uint8_t>(out[i]);
    if (b >= 'A' && b <= 'Z') {
      out[i] = static_cast<char>(b + 0x20);
    } else if (b == 0xC3 && i + 1 < out.size()) {
      // U+00C0..U+00DE are C3 80..C3 9E; U+00D7 (multiplication sign) has no lower case.
      const auto next = static_cast<std::uint8_t>(out[i + 1]);
      if ((next & 0xC0) != 0x80) continue;
      if (next <= 0x9E && next != 0x97) out[i + 1] = static_cast<char>(next + 0x20);
      ++i;
    }
  }
  return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && FoldCase(a) == FoldCase(b);
}

}  // namespace corvane
