// Panels and text strings: plain-byte readers and writers and element operations.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "firmware/codec.h"
#include "firmware/tree.h"
#include "resources/panel.h"
#include "resources/strings_list.h"

namespace corvane {
namespace {

TMHWPanel SamplePanel() {
  TMHWPanel p;
  p.init_method = 0x1234;
  p.refresh_method = 0xFFFF;
  p.final_method = 7;
  p.language_mask = 0b00111;
  p.name = "MENU";
  p.icon_collection = "ICONS";
  p.fonts = {"fudemi"};
  p.elements.push_back(TMHWPanel::NewElement(kPanbox, 0));
  p.elements[0].visibility = 0xFFFFFFFF;
  p.elements[0].x2 = 575;
  p.elements[0].y2 = 485;
  auto e = TMHWPanel::NewElement(kTextBox, 3);
  e.status = kStatusMultiLanguage;
  e.texts = {"Hola", "Hello", "Hallo", "", ""};
  e.x1 = 300;
  e.y2 = 400;
  e.styles.push_back({1, 2, 3, 4, 5, 6});
  p.elements.push_back(e);
  return p;
}

Bytes WriteOk(const TMHWPanel& p, std::string_view node = "MENU.pan") {
  Bytes plain;
  EXPECT_TRUE(p.Write(node, plain).ok());
  return plain;
}

TEST(Panel, RoundTripKeepsEveryField) {
  const Bytes plain = WriteOk(SamplePanel());
  TMHWPanel back;
  ASSERT_TRUE(back.Read(plain).ok());
  EXPECT_EQ(back, SamplePanel());
  EXPECT_EQ(WriteOk(back), plain);

  TArbol tree;
  TNodo* node = AnadeNodo(Bytes{1}, "MENU.pan", tree, nullptr);
  ASSERT_TRUE(back.Guarda(*node).ok());
  EXPECT_EQ(node->Data.Tamano, node->Data.Datos.size());
  EXPECT_EQ(Decompress(node->Data.View()), plain);
}

TEST(Panel, VisibilityEncodings) {
  struct Case { int kind; std::uint32_t mask; int shift; std::uint32_t value; };
  const Case cases[] = {{kButton, 1u << 5, 5, 1}, {kButton, 0x88, 3, 0x11}, {kButton, 0, 32, 0},
                        {kButton, 1u << 31, 31, 1}, {kPanbox, 0x1234, 0, 1}};
  for (const auto& c : cases) {
    std::uint8_t shift = 0;
    std::uint32_t value = 0;
    VisibilityFields(c.kind, c.mask, shift, value);
    EXPECT_EQ(std::pair(int{shift}, value), std::pair(c.shift, c.value)) << c.mask;
  }
  EXPECT_EQ(VisibilityMask(kPanbox, 7, 0), 0xFFFFFFFFu);
  EXPECT_EQ(VisibilityMask(kButton, 32, 0), 0u);
}

TEST(Panel, ReadingClampsCoordinatesAndNormalisesTexts) {
  TMHWPanel p = SamplePanel();
  p.elements.resize(1);
  Bytes plain = WriteOk(p);
  constexpr std::size_t kFirstRecord = 25 + 4 + 5;  // after the names "MENU" and "ICONS"
  plain[kFirstRecord + 1] = 0xFF;  // every high bit pair 3: x2 = 3 * 256 + 0xFF = 1023
  plain[kFirstRecord + 2] = 0xE8;  // x1 = 1000
  TMHWPanel back;
  ASSERT_TRUE(back.Read(plain).ok());
  EXPECT_EQ(std::pair(back.elements[0].x1, back.elements[0].y2), std::pair(575, 485));

  EXPECT_EQ(NormalizeSubPanelText("MENUS:ABCDEFGHIJK"), "MENUS:ABCDEFGH");
  EXPECT_EQ(NormalizeSubPanelText("ABCDEFGHIJ"), "ABCDEFGH");
  EXPECT_EQ(NormalizeWindowText("IMG:LOGOTIPO12.rf4xyz"), "IMG:LOGOTIPO.rf4");
  EXPECT_EQ(NormalizeWindowText(""), "");
}

TEST(Panel, StoredTextsFollowKindStatusAndMask) {
  using Texts = std::array<std::string, 5>;
  struct Case { int kind, status; std::uint32_t mask; Texts stored; };
  const Case cases[] = {
      {kInputBox, kStatusMultiLanguage, 0x1F, {}},
      {kButton, 0, 0x1F, {"a", "", "", "", ""}},  // Multi-Idioma clear: text 0 only
      {kButton, kStatusMultiLanguage, 0b00101, {"a", "", "c", "", ""}},
  };
  TMHWPanel p = SamplePanel();
  p.elements.resize(1);
  p.elements[0].texts = {"a", "b", "c", "d", "e"};
  for (const Case& c : cases) {
    p.elements[0].kind = static_cast<std::uint8_t>(c.kind);
    p.elements[0].status = static_cast<std::uint8_t>(c.status);
    p.language_mask = c.mask;
    TMHWPanel back;
    ASSERT_TRUE(back.Read(WriteOk(p)).ok());
    EXPECT_EQ(back.elements[0].texts, c.stored) << c.kind;
  }
  p.elements[0].texts[0] = std::string(300, 'x');  // a two-byte length
  const Bytes plain = WriteOk(p);
  const std::string needle = "\x01\x2C" + std::string(300, 'x');
  EXPECT_NE(std::search(plain.begin(), plain.end(), needle.begin(), needle.end()), plain.end());
}

TEST(Panel, FontsSizesAndElementOperations) {
  TMHWPanel p = SamplePanel();
  p.fonts = {"A", "B", "C"};
  for (auto& e : p.elements) e.font_index = 2;
  p.CompactaFuentes();
  EXPECT_EQ(p.fonts, std::vector<std::string>{"C"});
  EXPECT_EQ(p.elements[1].font_index, 0);
  p.elements[1].font_size = 20;
  const std::vector<FontKey> set = {{"C", 17}, {"C", 20}};
  EXPECT_EQ(p.BuscaFuente(1, set), 1);
  EXPECT_EQ(p.BuscaFuente(0, set), 0);
  EXPECT_EQ(p.AnadeFuente("X"), 1);
  TMHWPanel q;
  q.elements.push_back(TMHWPanel::NewElement(kInputBox, 0));  // "NEW" -> 4, + 32
  EXPECT_EQ(q.StringAreaSize("MENU.pan"), 8u + 4 + 32);
  EXPECT_EQ(q.StringAreaSize("MENU.paa"), 12u + 4 + 32);  // ends in "a": the whole name

  ASSERT_TRUE(p.NuevoElemento(0, kButton, 33));
  EXPECT_EQ(std::tuple(p.elements[1].kind, p.elements[1].visibility, p.elements[1].method),
            std::tuple(std::uint8_t{kButton}, 2u, std::uint16_t{0xFFFF}));
  ASSERT_TRUE(p.ClonaElemento(2));
  EXPECT_EQ(p.elements[3].x1, p.elements[2].x1 + 10);
  ASSERT_TRUE(p.MueveElemento(1, 3));  // the Button ends at index 3
  EXPECT_EQ(p.elements[3].kind, kButton);
  ASSERT_TRUE(p.BorraElemento(3));
  EXPECT_FALSE(p.BorraElemento(3));
  ASSERT_TRUE(p.NuevoEstilo(0));
  ASSERT_TRUE(p.BorraEstilo(0, 0));
  EXPECT_FALSE(p.BorraEstilo(0, 0));  // the last style stays
}

TEST(Panel, TruncatedPanelsAreRefusedAndReadAsFarAsValid) {
  const Bytes plain = WriteOk(SamplePanel());
  for (std::size_t cut = 0; cut < plain.size(); ++cut) {
    TMHWPanel back;
    EXPECT_EQ(back.Read(Bytes(plain.begin(), plain.begin() + cut)).outcome, Outcome::Rejected) << cut;
  }
  TMHWPanel back;
  EXPECT_FALSE(back.Read(Bytes(plain.begin(), plain.end() - 1)).ok());  // the last font name cut
  EXPECT_EQ(back.elements.size(), 2u);
  EXPECT_TRUE(back.fonts.empty());
}

TEST(Panel, OverflowingFieldsAreRefused) {
  const std::function<void(TMHWPanel&)> breakers[] = {
      [](TMHWPanel& p) { p.elements[1].name = std::string(256, 'n'); },
      [](TMHWPanel& p) { p.elements[1].texts[0] = std::string(65536, 't'); },
      [](TMHWPanel& p) { p.elements[1].x2 = 1024; },
      [](TMHWPanel& p) { p.elements[1].y1 = -1; },
      [](TMHWPanel& p) { p.fonts.assign(256, "f"); },
      [](TMHWPanel& p) { p.name = std::string(256, 'p'); },
      [](TMHWPanel& p) { p.elements.resize(65536); },
  };
  for (const auto& breaker : breakers) {
    TMHWPanel p = SamplePanel();
    breaker(p);
    Bytes plain = {1, 2, 3};
    EXPECT_EQ(p.Write("MENU.pan", plain).outcome, Outcome::Refused);
    EXPECT_EQ(plain, (Bytes{1, 2, 3}));
  }
}

TEST(Strings, ExamplesByteForByte) {
  struct Case { std::vector<std::string> strings; bool long_form; Bytes plain; };
  const Case cases[] = {
      {{"AB", "C"}, false, {0, 4, 0, 7, 2, 'A', 'B', 1, 'C'}},
      {{"AB", "C"}, true, {0, 4, 0, 8, 0, 2, 'A', 'B', 0, 1, 'C'}},
      {{"ABCD"}, false, {0, 2, 4, 'A', 'B', 'C', 'D'}},
      {{"ABCD"}, true, {0, 2, 0, 4, 'A', 'B', 'C', 'D'}},
      {{}, false, {}},
  };
  for (const auto& c : cases) {
    TMHWStringsList list, back;
    list.strings = c.strings;
    list.long_form = c.long_form;
    Bytes plain;
    ASSERT_TRUE(list.Write(plain).ok());
    EXPECT_EQ(plain, c.plain);
    ASSERT_TRUE(back.Read(plain).ok());
    EXPECT_EQ(back.strings, c.strings);
    if (!c.strings.empty()) { EXPECT_EQ(back.long_form, c.long_form); }
  }
}

TEST(Strings, TruncatedOversizedAndEditedLists) {
  TMHWStringsList list;
  EXPECT_TRUE(list.Read(Bytes{7}).ok());
  EXPECT_TRUE(list.strings.empty());
  // Short form with the second string cut after one of its bytes.
  EXPECT_EQ(list.Read(Bytes{0, 4, 0, 7, 2, 'A', 'B', 3, 'C'}).outcome, Outcome::Rejected);
  EXPECT_EQ(list.strings, (std::vector<std::string>{"AB", "C"}));
  EXPECT_EQ(list.Read(Bytes{0, 8, 0xFF, 0xFF}).outcome, Outcome::Rejected);  // table past the end

  Bytes out = {9};
  list.long_form = false;
  list.strings = {std::string(256, 'x')};
  EXPECT_EQ(list.Write(out).outcome, Outcome::Refused);
  list.long_form = true;
  list.strings.assign(2, std::string(40000, 'x'));
  EXPECT_EQ(list.Write(out).outcome, Outcome::Refused);
  EXPECT_EQ(out, Bytes{9});
  list.strings = {std::string(300, 's')};
  ASSERT_TRUE(list.Write(out).ok());
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 4), (Bytes{0, 2, 0x01, 0x2C}));

  list.strings = {"a", "b"};
  ASSERT_TRUE(list.NuevaCadena(1));
  ASSERT_TRUE(list.NuevaCadena(-1));
  EXPECT_EQ(list.strings, (std::vector<std::string>{"", "a", "b", ""}));
  ASSERT_TRUE(list.BorraCadena(3));
  EXPECT_FALSE(list.BorraCadena(3));

  TArbol tree;
  TNodo* node = AnadeNodo(Bytes{1}, "T.mpz", tree, nullptr);
  list.strings.clear();
  ASSERT_TRUE(list.Guarda(*node).ok());
  EXPECT_EQ(node->Data.Tamano, 1u);  // still a file
  ASSERT_TRUE(list.Create(*node).ok());
  EXPECT_TRUE(list.strings.empty());
}

}  // namespace
}  // namespace corvane
