// Panels and text strings: plain-byte readers and writers, element operations, JSON forms.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "firmware/codec.h"
#include "firmware/tree.h"
#include "resources/panel.h"
#include "resources/panel_json.h"
#include "resources/strings_json.h"
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
  TMHWPanel p = SamplePanel();
  Bytes plain = WriteOk(p);
  TMHWPanel back;
  ASSERT_TRUE(back.Read(plain).ok());
  EXPECT_EQ(back, p);
  EXPECT_EQ(WriteOk(back), plain);
}

TEST(Panel, VisibilityEncodings) {
  struct Case {
    int kind;
    std::uint32_t mask;
    int shift;
    std::uint32_t value;
  } cases[] = {{kButton, 1u << 5, 5, 1},   {kButton, 0x88, 3, 0x11},
               {kButton, 0, 32, 0},        {kButton, 1u << 31, 31, 1},
               {kPanbox, 0x1234, 0, 1}};
  for (const auto& c : cases) {
    std::uint8_t shift = 0;
    std::uint32_t value = 0;
    VisibilityFields(c.kind, c.mask, shift, value);
    EXPECT_EQ(shift, c.shift) << c.mask;
    EXPECT_EQ(value, c.value) << c.mask;
  }
  EXPECT_EQ(VisibilityMask(kPanbox, 7, 0), 0xFFFFFFFFu);
  EXPECT_EQ(VisibilityMask(kButton, 32, 0), 0u);
}

// Offset of element 0's record in a panel named "MENU" with collection "ICONS".
constexpr std::size_t kFirstRecord = 25 + 4 + 5;

TEST(Panel, ReadingClampsCoordinatesAndNormalisesTexts) {
  TMHWPanel p = SamplePanel();
  p.elements.resize(1);
  Bytes plain = WriteOk(p);
  plain[kFirstRecord + 1] = 0xFF;  // every high bit pair 3: x2 = 3 * 256 + 0xFF = 1023
  plain[kFirstRecord + 2] = 0xE8;  // x1 = 1000
  TMHWPanel back;
  ASSERT_TRUE(back.Read(plain).ok());
  EXPECT_EQ(back.elements[0].x1, 575);
  EXPECT_EQ(back.elements[0].y2, 485);

  EXPECT_EQ(NormalizeSubPanelText("MENUS:ABCDEFGHIJK"), "MENUS:ABCDEFGH");
  EXPECT_EQ(NormalizeSubPanelText("ABCDEFGHIJ"), "ABCDEFGH");
  EXPECT_EQ(NormalizeWindowText("IMG:LOGOTIPO12.rf4xyz"), "IMG:LOGOTIPO.rf4");
  EXPECT_EQ(NormalizeWindowText("IMG:LOGO.rf4"), "IMG:LOGO.rf4");
  EXPECT_EQ(NormalizeWindowText(""), "");
}

TEST(Panel, StoredTextsFollowKindStatusAndMask) {
  TMHWPanel p = SamplePanel();
  p.language_mask = 0x1F;
  p.elements.resize(1);
  p.elements[0].kind = kInputBox;
  p.elements[0].texts = {"a", "b", "c", "d", "e"};
  TMHWPanel back;
  ASSERT_TRUE(back.Read(WriteOk(p)).ok());
  EXPECT_EQ(back.elements[0].texts, (std::array<std::string, 5>{}));

  p.elements[0].kind = kButton;  // Multi-Idioma clear: text 0 only
  ASSERT_TRUE(back.Read(WriteOk(p)).ok());
  EXPECT_EQ(back.elements[0].texts, (std::array<std::string, 5>{"a", "", "", "", ""}));

  p.elements[0].status = kStatusMultiLanguage;
  p.language_mask = 0b00101;
  ASSERT_TRUE(back.Read(WriteOk(p)).ok());
  EXPECT_EQ(back.elements[0].texts, (std::array<std::string, 5>{"a", "", "c", "", ""}));

  p.elements[0].texts[0] = std::string(300, 'x');
  Bytes plain = WriteOk(p);
  std::string needle = "\x01\x2C" + std::string(300, 'x');
  auto at = std::search(plain.begin(), plain.end(), needle.begin(), needle.end());
  EXPECT_NE(at, plain.end());
  ASSERT_TRUE(back.Read(plain).ok());
  EXPECT_EQ(back.elements[0].texts[0].size(), 300u);
}

TEST(Panel, FontCompactionAndSizes) {
  TMHWPanel p = SamplePanel();
  p.fonts = {"A", "B", "C"};
  for (auto& e : p.elements) e.font_index = 2;
  p.CompactaFuentes();
  EXPECT_EQ(p.fonts, std::vector<std::string>{"C"});
  EXPECT_EQ(p.elements[1].font_index, 0);
  p.elements[1].font_size = 20;
  std::vector<FontKey> set = {{"C", 17}, {"C", 20}};
  EXPECT_EQ(p.BuscaFuente(1, set), 1);
  EXPECT_EQ(p.BuscaFuente(0, set), 0);
  p.elements.clear();
  p.CompactaFuentes();
  EXPECT_TRUE(p.fonts.empty());

  EXPECT_EQ(PaddedSize(""), 0u);
  EXPECT_EQ(PaddedSize("abc"), 4u);
  EXPECT_EQ(PaddedSize("abcd"), 8u);
  TMHWPanel q;
  q.elements.push_back(TMHWPanel::NewElement(kInputBox, 0));  // "NEW" -> 4, + 32
  EXPECT_EQ(q.StringAreaSize("MENU.pan"), 8u + 4 + 32);
  EXPECT_EQ(q.StringAreaSize("MENU.paa"), 12u + 4 + 32);  // ends in "a": the whole name
}

TEST(Panel, ElementOperations) {
  TMHWPanel p = SamplePanel();
  ASSERT_TRUE(p.NuevoElemento(0, kButton, 33));
  EXPECT_EQ(p.elements[1].kind, kButton);
  EXPECT_EQ(p.elements[1].visibility, 2u);
  EXPECT_EQ(p.elements[1].method, 0xFFFF);
  ASSERT_TRUE(p.ClonaElemento(2));
  EXPECT_EQ(p.elements[3].x1, p.elements[2].x1 + 10);
  EXPECT_EQ(p.elements[3].y2, p.elements[2].y2 + 10);
  ASSERT_TRUE(p.MueveElemento(1, 3));  // the Button ends at index 3
  EXPECT_EQ(p.elements[3].kind, kButton);
  ASSERT_TRUE(p.BorraElemento(3));
  EXPECT_EQ(p.elements.size(), 3u);
  EXPECT_FALSE(p.BorraElemento(3));
  ASSERT_TRUE(p.NuevoEstilo(0));
  EXPECT_EQ(p.elements[0].styles.back(), (TEstiloElemento{0, 0, 0, 0, 0, 0}));
  ASSERT_TRUE(p.BorraEstilo(0, 0));
  EXPECT_FALSE(p.BorraEstilo(0, 0));  // the last style stays
  EXPECT_EQ(p.AnadeFuente("X"), 1);
}

TEST(Panel, TruncatedPanelsAreReadAsFarAsValid) {
  Bytes plain = WriteOk(SamplePanel());
  for (std::size_t cut = 0; cut < plain.size(); ++cut) {
    TMHWPanel back;
    Bytes part(plain.begin(), plain.begin() + cut);
    Result r = back.Read(part);
    EXPECT_EQ(r.outcome, Outcome::Rejected) << cut;
    EXPECT_LE(back.elements.size(), 2u);
  }
  TMHWPanel back;
  ASSERT_TRUE(back.Read(plain).ok());
  Bytes cut(plain.begin(), plain.end() - 1);  // the last font name loses a character
  EXPECT_FALSE(back.Read(cut).ok());
  EXPECT_EQ(back.elements.size(), 2u);
  EXPECT_TRUE(back.fonts.empty());
}

TEST(Panel, OverflowingFieldsAreRefused) {
  std::vector<std::function<void(TMHWPanel&)>> breakers = {
      [](TMHWPanel& p) { p.elements[1].name = std::string(256, 'n'); },
      [](TMHWPanel& p) { p.elements[1].texts[0] = std::string(65536, 't'); },
      [](TMHWPanel& p) { p.elements[1].x2 = 1024; },
      [](TMHWPanel& p) { p.elements[1].y1 = -1; },
      [](TMHWPanel& p) { p.fonts.assign(256, "f"); },
      [](TMHWPanel& p) { p.name = std::string(256, 'p'); },
      [](TMHWPanel& p) { p.elements.resize(65536); },
  };
  for (std::size_t i = 0; i < breakers.size(); ++i) {
    TMHWPanel p = SamplePanel();
    breakers[i](p);
    Bytes plain = {1, 2, 3};
    EXPECT_EQ(p.Write("MENU.pan", plain).outcome, Outcome::Refused) << i;
    EXPECT_EQ(plain, (Bytes{1, 2, 3}));
  }
}

TEST(Panel, GuardaCompressesIntoTheNode) {
  TArbol tree;
  TNodo* node = AnadeNodo(Bytes{1}, "MENU.pan", tree, nullptr);
  TMHWPanel p = SamplePanel();
  ASSERT_TRUE(p.Guarda(*node).ok());
  EXPECT_EQ(node->Data.Tamano, node->Data.Datos.size());
  TMHWPanel back;
  ASSERT_TRUE(back.Create(*node).ok());
  EXPECT_EQ(back.elements.size(), 2u);
}

struct StringsCase {
  std::vector<std::string> strings;
  bool long_form;
  Bytes plain;
};

TEST(Strings, ExamplesByteForByte) {
  const StringsCase cases[] = {
      {{"AB", "C"}, false, {0, 4, 0, 7, 2, 'A', 'B', 1, 'C'}},
      {{"AB", "C"}, true, {0, 4, 0, 8, 0, 2, 'A', 'B', 0, 1, 'C'}},
      {{"ABCD"}, false, {0, 2, 4, 'A', 'B', 'C', 'D'}},
      {{"ABCD"}, true, {0, 2, 0, 4, 'A', 'B', 'C', 'D'}},
      {{}, false, {}},
  };
  for (const auto& c : cases) {
    TMHWStringsList list;
    list.strings = c.strings;
    list.long_form = c.long_form;
    Bytes plain;
    ASSERT_TRUE(list.Write(plain).ok());
    EXPECT_EQ(plain, c.plain);
    TMHWStringsList back;
    ASSERT_TRUE(back.Read(plain).ok());
    EXPECT_EQ(back.strings, c.strings);
    if (!c.strings.empty()) {
      EXPECT_EQ(back.long_form, c.long_form);
    }
  }
  TMHWStringsList list;
  list.long_form = true;
  list.strings = {std::string(300, 's')};
  Bytes plain;
  ASSERT_TRUE(list.Write(plain).ok());
  EXPECT_EQ(plain[2], 0x01);
  EXPECT_EQ(plain[3], 0x2C);
}

TEST(Strings, TruncatedAndOversizedLists) {
  TMHWStringsList list;
  EXPECT_TRUE(list.Read(Bytes{7}).ok());
  EXPECT_TRUE(list.strings.empty());
  // Short form with the second string cut after one of its bytes.
  Bytes plain = {0, 4, 0, 7, 2, 'A', 'B', 3, 'C'};
  EXPECT_EQ(list.Read(plain).outcome, Outcome::Rejected);
  EXPECT_EQ(list.strings, (std::vector<std::string>{"AB", "C"}));
  // A table pointing past the end.
  EXPECT_EQ(list.Read(Bytes{0, 8, 0xFF, 0xFF}).outcome, Outcome::Rejected);

  list.long_form = false;
  list.strings = {std::string(256, 'x')};
  Bytes out = {9};
  EXPECT_EQ(list.Write(out).outcome, Outcome::Refused);
  list.long_form = true;
  list.strings.assign(2, std::string(40000, 'x'));
  EXPECT_EQ(list.Write(out).outcome, Outcome::Refused);
  EXPECT_EQ(out, Bytes{9});

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

TEST(ResourceJson, DumpThenBuildReproducesThePlainBytes) {
  Bytes panel = WriteOk(SamplePanel(), "MENU.pan");
  nlohmann::ordered_json j;
  ASSERT_TRUE(DumpPanel(panel, "MENU.pan", j).ok());
  EXPECT_EQ(j["elements"][1]["texts"][0], "Hola");
  Bytes back;
  ASSERT_TRUE(BuildPanel(j, "MENU.pan", back).ok());
  EXPECT_EQ(back, panel);

  Bytes strings = {0, 4, 0, 7, 2, 0xE9, 'B', 1, 'C'};
  ASSERT_TRUE(DumpStrings(strings, "T.mpg", j).ok());
  EXPECT_EQ(j["strings"][0], "\xC3\xA9" "B");
  ASSERT_TRUE(BuildStrings(j, "T.mpg", back).ok());
  EXPECT_EQ(back, strings);

  const char* bad[] = {
      R"({"kind":"strings","form":"medium","strings":[]})",
      R"({"kind":"strings","form":"short","strings":["\u0100"]})",
      R"({"kind":"panel"})",
  };
  for (const char* text : bad) {
    auto doc = nlohmann::ordered_json::parse(text);
    Bytes out;
    Result r = doc["kind"] == "panel" ? BuildPanel(doc, "X.pan", out) : BuildStrings(doc, "X", out);
    EXPECT_EQ(r.outcome, Outcome::Rejected) << text;
  }
  ASSERT_TRUE(DumpPanel(panel, "MENU.pan", j).ok());
  j["elements"][1]["styles"][0]["width1"] = 16;
  EXPECT_FALSE(BuildPanel(j, "MENU.pan", back).ok());
}

}  // namespace
}  // namespace corvane
