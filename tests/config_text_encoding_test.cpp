#include <gtest/gtest.h>

#include <string>

#include "config/text_encoding.h"
#include "support/files.h"

namespace corvane {
namespace {

using test::ToBytes;

TEST(TextEncoding, Windows1252BytesBecomeTheirCharactersAndUtf8IsChecked) {
  const std::pair<std::string, std::string> cases[] = {
      {"Espa\xF1ol", "Español"}, {"\x80", "€"}, {"\x9F", "Ÿ"}, {"\xFF", "ÿ"},
      {"\x92", "\xE2\x80\x99"},  // right single quotation mark
      {"\x81", "\xC2\x81"},      // undefined in the code page: the control of that number
      {"\x9D", "\xC2\x9D"}, {"\xA0", "\xC2\xA0"}, {std::string("\0", 1), std::string("\0", 1)},
  };
  for (const auto& [bytes, utf8] : cases) EXPECT_EQ(Windows1252ToUtf8(bytes), utf8) << utf8;

  for (const char* valid : {"", "plain ascii", "ñ € 😀", "\xEF\xBF\xBD"})
    EXPECT_TRUE(IsValidUtf8(valid)) << valid;
  // A Windows-1252 ñ, overlong forms, a surrogate, above U+10FFFF, cut short, a lone continuation.
  for (const char* invalid : {"\xF1", "\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                              "\xE2\x82", "\x80", "\xFF"})
    EXPECT_FALSE(IsValidUtf8(invalid)) << invalid;
}

TEST(TextEncoding, EachLineIsDecodedOnItsOwn) {
  const std::tuple<std::string, std::string, TextEncoding> cases[] = {
      // A UTF-8 file with one line added by a Windows editor.
      {"a=ñ\r\nb=\xF1\r\nc=€", "a=ñ\r\nb=ñ\r\nc=€", TextEncoding::Windows1252},
      {"a=ñ\nb=x", "a=ñ\nb=x", TextEncoding::Utf8},
      {"\xEF\xBB\xBFx=1", "x=1", TextEncoding::Utf8Bom},
      {"", "", TextEncoding::Utf8},
  };
  for (const auto& [bytes, utf8, encoding] : cases) {
    const DecodedText d = DecodeText(ToBytes(bytes));
    EXPECT_EQ(d.utf8, utf8);
    EXPECT_EQ(d.encoding, encoding) << utf8;
  }
}

TEST(TextEncoding, Utf16WithByteOrderMark) {
  // "ñ=😀\n" in UTF-16LE and UTF-16BE.
  const Bytes le = {0xFF, 0xFE, 0xF1, 0x00, '=', 0x00, 0x3D, 0xD8, 0x00, 0xDE, '\n', 0x00};
  const Bytes be = {0xFE, 0xFF, 0x00, 0xF1, 0x00, '=', 0xD8, 0x3D, 0xDE, 0x00, 0x00, '\n'};
  const DecodedText dle = DecodeText(le);
  const DecodedText dbe = DecodeText(be);
  EXPECT_EQ(dle.utf8, "ñ=😀\n");
  EXPECT_EQ(dle.encoding, TextEncoding::Utf16LE);
  EXPECT_EQ(dbe.utf8, "ñ=😀\n");
  EXPECT_EQ(dbe.encoding, TextEncoding::Utf16BE);
  EXPECT_EQ(EncodeText(dle.utf8, TextEncoding::Utf16LE), le);
  EXPECT_EQ(EncodeText(dbe.utf8, TextEncoding::Utf16BE), be);

  // A lone surrogate and an odd last byte become U+FFFD.
  const Bytes broken = {0xFF, 0xFE, 0x00, 0xD8, 'a', 0x00, 'b'};
  EXPECT_EQ(DecodeText(broken).utf8,
            "\xEF\xBF\xBD"
            "a\xEF\xBF\xBD");
}

TEST(TextEncoding, EncodingKeepsTheFormOrWritesUtf8) {
  EXPECT_EQ(EncodeText("ñ", TextEncoding::Utf8), ToBytes("ñ"));
  EXPECT_EQ(EncodeText("ñ", TextEncoding::Utf8Bom), ToBytes("\xEF\xBB\xBFñ"));
  // Text read as Windows-1252 goes back as Windows-1252; a character it lacks becomes "?".
  EXPECT_EQ(EncodeText("ñ € ☃", TextEncoding::Windows1252), ToBytes("\xF1 \x80 ?"));
  EXPECT_TRUE(FitsWindows1252("ñ € \xC2\x81"));
  EXPECT_FALSE(FitsWindows1252("☃"));
}

TEST(TextEncoding, CaseFolding) {
  EXPECT_TRUE(EqualsIgnoreCase("Corvane", "CORVANE"));
  EXPECT_TRUE(EqualsIgnoreCase("ESPAÑOL", "español"));
  EXPECT_TRUE(EqualsIgnoreCase("ÀÉÎÕÜ", "àéîõü"));
  EXPECT_FALSE(EqualsIgnoreCase("×", "÷"));  // U+00D7 and U+00F7 are not a letter pair
  EXPECT_FALSE(EqualsIgnoreCase("Corvane", "Corvan"));
  EXPECT_FALSE(EqualsIgnoreCase("a", "b"));
  EXPECT_EQ(FoldCase("\xC3"
                     "A"),
            "\xC3"
            "a");  // a broken sequence does not hide the next letter
}

}  // namespace
}  // namespace corvane
