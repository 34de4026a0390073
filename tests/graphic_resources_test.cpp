#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "firmware/codec.h"
#include "render/indexed_draw.h"
#include "resources/application_json.h"
#include "resources/class_json.h"
#include "resources/icons.h"
#include "resources/icons_json.h"
#include "resources/image.h"
#include "resources/image_json.h"
#include "resources/palette.h"
#include "resources/palette_json.h"
#include "resources/panel.h"
#include "resources/panel_json.h"
#include "resources/stored.h"
#include "resources/strings_json.h"
#include "support/files.h"
#include "support/script_assembler.h"
#include "support/temp_dir.h"

namespace corvane {
namespace {

using test::TempDir;

Bytes PlainPalette() {
  Bytes b;
  for (int i = 0; i < 64; ++i) b.push_back(static_cast<std::uint8_t>(i * 37 + 5));
  return b;
}

Bitmap FourBit(int w, int h, std::size_t table = 16) {
  Bitmap b{w, h, 4, {}, {}};
  for (std::size_t i = 0; i < table; ++i) b.colours.push_back({std::uint8_t(i), 2, 3});
  for (int i = 0; i < w * h; ++i) b.pixels.push_back(static_cast<std::uint8_t>((i * 5 + 1) % 16));
  return b;
}

TEST(Palette, PlainBytesPassThroughUnchangedAndOtherLengthsAreRefused) {
  TArbol tree;
  TNodo* node = AnadeNodo(Compress(PlainPalette()), "a.lut", tree, nullptr);
  auto p = TMHWPalette::Create(node);
  ASSERT_TRUE(p);
  p->Guarda();
  EXPECT_EQ(PlainOf(*node), PlainPalette());
  EXPECT_EQ(node->Data.Tamano, node->Data.Datos.size());
  for (std::size_t n : {63, 65}) EXPECT_FALSE(TMHWPalette::FromPlain(Bytes(n, 1))) << n;
  node->Data.Datos = PlainPalette();  // 64 bytes stored without compression are not 64 plain bytes
  EXPECT_FALSE(TMHWPalette::Create(node));
}

TEST(Palette, JascTextAndItsRefusalsLeaveThePaletteUnchanged) {
  const TMHWPalette p = *TMHWPalette::FromPlain(PlainPalette());
  EXPECT_EQ(p.JascText().substr(0, 29), "JASC-PAL\r\n0100\r\n16\r\n5 42 79\r\n");
  TMHWPalette back;
  ASSERT_TRUE(back.ImportJasc(p.JascText()));
  for (std::size_t i = 0; i < 16; ++i)
    EXPECT_EQ(back.entries[i], (PaletteEntry{p.entries[i].red, p.entries[i].green, p.entries[i].blue, 1}));

  std::string body;
  for (int i = 0; i < 15; ++i) body += "1 2 3\n";
  const std::string head = "JASC-PAL\n0100\n16\n";
  const std::pair<std::string, int> cases[] = {  // text, refusal row (0: taken)
      {head + body + "300 -1 +7\n", 0},
      {head + body + "300 -1 7", 0},  // no final line end
      {head + body + "1 2 3\r\n\r\n", rows::kBadPalFile},  // 20 lines
      {"jasc-pal\n0100\n16\n" + body + "1 2 3\n", rows::kBadPalFile},
      {head + body, rows::kBadPalFile},
      {head + body + "1  2 3\n", rows::kPalBadNumber},  // two spaces
      {head + body + "1 2 x\n", rows::kPalBadNumber},
      {head + body + "1 2\n", rows::kPalBadNumber},
      {head + body + "1 2 99999999999\n", rows::kPalBadNumber},
  };
  for (const auto& [text, row] : cases) {
    TMHWPalette q = p;
    const Result r = q.ImportJasc(text);
    EXPECT_EQ(r.ok(), row == 0) << text;
    if (row == 0) {
      EXPECT_EQ(q.entries[15], (PaletteEntry{44, 255, 7, 1}));
      EXPECT_EQ(q.entries[0], (PaletteEntry{1, 2, 3, 1}));
    } else {
      EXPECT_EQ(q, p);
      EXPECT_EQ(r.message.Rows().back(), row);
    }
  }
}

TEST(Palette, TakesTheColoursOfFourBitBitmapsOnly) {
  TMHWPalette p;
  EXPECT_FALSE(p.ImportBitmap(Bitmap{4, 4, 8, std::vector<Rgb>(256), Bytes(16)}));
  EXPECT_EQ(p, TMHWPalette());
  ASSERT_TRUE(p.ImportBitmap(FourBit(33, 1, 3)));  // any size, a short table
  EXPECT_EQ(p.entries[2], (PaletteEntry{2, 2, 3, 1}));
  EXPECT_EQ(p.entries[3], (PaletteEntry{0, 0, 0, 1}));
}

TEST(Palette, ChoiceTakesOwnNameThenDirectoryThenBasicThenFirst) {
  const std::vector<std::string> paths = {"G:A.lut", "G:B.lut", "basic:X.lut"};
  struct Case { std::vector<std::string> paths; std::string ctx, name, chosen; };
  const Case cases[] = {
      {paths, "G", "A.ima", "G:A.lut"},
      {{"G:A.lut", "G:A.ima.luz"}, "G", "A.ima", "G:A.ima.luz"},
      {paths, "H", "A.ima", "basic:X.lut"},
      {{"G:A.lut", "M:basicos:Y.lut"}, "H", "i.ico", "M:basicos:Y.lut"},
      {{"G:A.lut", "M:N:basic.lut"}, "H", "i.ico", "G:A.lut"},  // third component
      {{"G:A.lut", "Basic:Y.lut"}, "g", "i.ico", "G:A.lut"},      // exact comparisons
      {{}, "G", "A.ima", ""},
      {paths, "T:G", "A.ima", "basic:X.lut"},
  };
  for (const Case& c : cases) EXPECT_EQ(ChoosePalettePath(c.paths, c.ctx, c.name), c.chosen);
}

TEST(Palette, FirmwarePalettesAreFoundAndLoaded) {
  TArbol tree;
  TNodo* g = AnadeNodo({}, "G", tree, AnadeNodo({}, "fw", tree, nullptr));
  AnadeNodo(Compress(PlainPalette()), "A.LUT", tree, g);
  TNodo* image = AnadeNodo(Compress(Bytes(4, 0)), "pic.ima", tree, g);
  TNodo* d = AnadeNodo({}, "SUB", tree, g);
  AnadeNodo(Compress(PlainPalette()), "deep.luz", tree, d);
  AnadeNodo(Compress(PlainPalette()), "no.pal", tree, d);
  EXPECT_EQ(PalettePaths(tree), (std::vector<std::string>{"G:A.LUT", "G:SUB:deep.luz"}));
  EXPECT_EQ(FindPalettePath(tree, "g:sub:DEEP.LUZ")->Text, "deep.luz");
  std::optional<TMHWPalette> current = TMHWPalette::Greys();
  LoadPalettePath(tree, "G:none.lut", current);
  EXPECT_EQ(current, TMHWPalette::Greys());
  LoadPalettePath(tree, "g:PIC.IMA", current);  // found, not a palette
  EXPECT_FALSE(current);
  EXPECT_EQ(PaletteContext(*d->FirstChild(), true), "G:SUB");
  const auto p = PaletteFor(tree, *image, false);
  ASSERT_TRUE(p);
  EXPECT_EQ(PaletteChangeKey(*p->Node()), "G:A.LUT");

}

TEST(Image, OddWidthsStoreNoLastColumnAndDrawNone) {
  const TMHWImage image = TMHWImage::FromPlain({0, 5, 0, 2, 0x12, 0x34, 0x56, 0x78});
  const TMHWPalette palette = TMHWPalette::Greys();
  const PixelBuffer drawn = Dibuja(image, palette);
  ASSERT_EQ(drawn.Width(), 5);
  EXPECT_EQ(drawn.Get(3, 1), (Rgb{136, 136, 136}));
  EXPECT_EQ(drawn.Get(4, 0), Rgb{});
  EXPECT_EQ(image.Pixel(4, 0), 0);  // not the next row's first nibble
  EXPECT_EQ(image.ToBitmap(palette).pixels, (Bytes{1, 2, 3, 4, 0, 5, 6, 7, 8, 0}));
  const TMHWImage big = TMHWImage::FromPlain({0x01, 0x40, 0x00, 0xF0});
  EXPECT_EQ(std::pair(big.Width(), big.Height()), std::pair(320, 240));
  EXPECT_EQ(Dibuja(TMHWImage::FromPlain({0, 0, 0, 9}), palette).Width(), 0);
}

TEST(Image, BitmapImportExportKeepsIndicesAndRefusesOtherDepths) {
  TMHWImage image;
  ASSERT_TRUE(image.ImportBitmap(FourBit(6, 3)));
  EXPECT_EQ(image.Plain().size(), 4u + 9u);
  EXPECT_EQ(image.ToBitmap(TMHWPalette::Greys()).pixels, FourBit(6, 3).pixels);
  const Bytes before = image.Plain();
  EXPECT_FALSE(image.ImportBitmap(Bitmap{2, 2, 8, {}, Bytes(4)}));
  EXPECT_EQ(image.Plain(), before);

  TempDir dir;
  ASSERT_TRUE(image.ExportaBMP(dir / "x.bmp", TMHWPalette::Greys()));
  TMHWImage back;
  ASSERT_TRUE(back.ImportaBMP(dir / "x.bmp"));
  EXPECT_EQ(back.Plain(), image.Plain());
  EXPECT_EQ(back.ImportaBMP(dir / "missing.bmp").outcome, Outcome::IoError);
}

// The drawing into a larger or smaller buffer at any position matches pixel by pixel drawing.
TEST(Image, DrawingClipsAndStopsAtTheEndOfTheData) {
  std::mt19937 rng(7);
  const PaletteColours colours = TMHWPalette::Greys().Colours();
  auto next = [&rng](int n, int from = 0) { return static_cast<int>(rng() % n) + from; };
  for (int round = 0; round < 300; ++round) {
    const int w = next(9), h = next(5);
    Bytes rows(rng() % (w / 2 * h + 3));
    for (auto& b : rows) b = static_cast<std::uint8_t>(rng());
    const int tw = next(8), th = next(6), left = next(13, -6), top = next(9, -4);
    PixelBuffer got(tw, th, {1, 2, 3}), want(tw, th, {1, 2, 3});
    DrawNibbleRows(got, left, top, w, h, rows, colours);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w / 2 * 2; ++x) {
        const std::size_t i = static_cast<std::size_t>(y * (w / 2) + x / 2);
        if (i < rows.size()) want.Set(left + x, top + y, colours[x % 2 == 0 ? rows[i] >> 4 : rows[i] & 15]);
      }
    ASSERT_EQ(got, want) << w << "x" << h << " at " << left << "," << top << " in " << tw << "x" << th;
  }
}

TEST(Icons, ReadFollowsTheTableAndRefusesHostileTables) {
  TMHWIconLib lib;
  // Records in any order are followed through the table; the length field is ignored.
  const Bytes two = {0xFF, 0xFF, 0, 2, 0, 6, 0, 0, 'b', 0, 2, 1, 0, 0xAB, 'c', 0, 3, 1, 0, 0xCD};
  ASSERT_TRUE(TMHWIconLib::FromPlain(two, lib));
  EXPECT_EQ(lib.icons, (std::vector<Icon>{{"c", 3, 1, {0xCD}}, {"b", 2, 1, {0xAB}}}));
  const std::vector<Bytes> hostile = {
      {0, 0, 0, 3, 0, 0},                             // table past the end
      {0, 0, 0, 1, 0xFF, 0xF0},                       // record past the end
      {0, 0, 0, 1, 0, 0, 'A', 'B'},                   // name without its end
      {0, 0, 0, 1, 0, 0, 'A', 0, 4},                  // record header cut short
      {0, 0, 0, 1, 0, 0, 'A', 0, 200, 200, 0, 1, 2},  // pixels past the end
  };
  for (const Bytes& plain : hostile) {
    EXPECT_EQ(TMHWIconLib::FromPlain(plain, lib).outcome, Outcome::Rejected);
    EXPECT_EQ(lib.icons.size(), 2u);
  }
}

TEST(Icons, WriterRefusesWhatTheLengthFieldsCannotHold) {
  struct Case { std::vector<Icon> icons; bool ok; };
  const Case cases[] = {
      {{{std::string(255, 'n'), 2, 2, Bytes(2)}}, true},
      {{{std::string(256, 'n'), 2, 2, Bytes(2)}}, false},
      {{{std::string("a\0b", 3), 2, 2, Bytes(2)}}, false},
      {{{"big", 256, 16, Bytes(128 * 16)}}, false},
      // 4 + 2 x 32391 + 641 + 112 = 65539 bytes in all: the most the length field holds.
      {{{"", 254, 255, {}}, {"", 254, 255, {}}, {"", 254, 5, {}}, {std::string(106, 'z'), 0, 0, {}}}, true},
      {{{"", 254, 255, {}}, {"", 254, 255, {}}, {"", 254, 5, {}}, {std::string(107, 'z'), 0, 0, {}}}, false},
  };
  for (const Case& c : cases) {
    TMHWIconLib lib;
    lib.icons = c.icons;
    Bytes plain;
    const Result r = lib.Plain(plain);
    EXPECT_EQ(r.ok(), c.ok) << c.icons.back().name.size();
    if (r) { EXPECT_EQ(ByteView(plain).u16be(0), plain.size() - 4); }
  }
}

TEST(Icons, BitmapsAreInsertedReplacedAndNamedAfterTheirFile) {
  TempDir dir;
  test::WriteFile(dir / "logo.big.bmp", WriteBitmap(FourBit(255, 255)));
  test::WriteFile(dir / "flecha.bmp", WriteBitmap(FourBit(4, 2)));
  test::WriteFile(dir / "wide.bmp", WriteBitmap(FourBit(256, 16)));
  test::WriteFile(dir / "deep.bmp", WriteBitmap(Bitmap{2, 2, 8, {}, Bytes(4)}));
  TMHWIconLib lib;
  lib.icons = {{"a", 2, 1, {1}}, {"b", 2, 1, {2}}, {"c", 2, 1, {3}}};
  ASSERT_TRUE(lib.InsertaBMP(dir / "logo.big.bmp", 0));
  EXPECT_EQ(lib.icons[1], (Icon{"logo", 255, 255, PackNibbleRows(FourBit(255, 255))}));
  ASSERT_TRUE(lib.InsertaBMP(dir / "flecha.bmp", 3));
  EXPECT_EQ(lib.icons.back().name, "flecha");
  ASSERT_TRUE(lib.ReemplazaBMP(dir / "flecha.bmp", 0));
  EXPECT_EQ(lib.Find("FLECHA"), 0);
  for (const char* bad : {"wide.bmp", "deep.bmp", "none.bmp"}) {
    EXPECT_FALSE(lib.InsertaBMP(dir / bad, 0)) << bad;
    EXPECT_FALSE(lib.ReemplazaBMP(dir / bad, 0)) << bad;
  }
  EXPECT_EQ(lib.icons.size(), 5u);
  EXPECT_EQ(NameBeforeFirstDot("C:\\pics\\arrow"), "arrow");
}

// ---- JSON forms of every resource kind ----

using Json = nlohmann::ordered_json;
using Dump = Result (*)(ByteView, std::string_view, Json&);
using Build = Result (*)(const Json&, std::string_view, Bytes&);
struct Form { Bytes plain; Dump dump; Build build; const char* node; };

std::vector<Form> Forms() {
  TMHWIconLib lib;
  lib.icons = {{"fl\xE9" "cha", 5, 2, {0x12, 0xAB, 0xCD, 0xEF}}, {"", 1, 3, {}}};
  Bytes icons;
  EXPECT_TRUE(lib.Plain(icons));
  TMHWPanel panel;
  panel.name = "MENU";
  panel.language_mask = 0b11;
  panel.fonts = {"fudemi"};
  panel.elements = {TMHWPanel::NewElement(kPanbox, 0), TMHWPanel::NewElement(kTextBox, 3)};
  panel.elements[1].status = kStatusMultiLanguage;
  panel.elements[1].texts = {"Hola", "Hello", "", "", ""};
  Bytes panel_plain;
  EXPECT_TRUE(panel.Write("MENU.pan", panel_plain));
  return {
      {PlainPalette(), DumpPalette, BuildPalette, "a.lut"},                       // 0
      {{0, 5, 0, 2, 0x12, 0x34, 0xAB, 0xCD}, DumpImage, BuildImage, "a.ima"},     // 1
      {{0, 0, 0, 0}, DumpImage, BuildImage, "a.ima"},                             // 2
      {icons, DumpIcons, BuildIcons, "a.ico"},                                    // 3
      {Bytes(4, 0), DumpIcons, BuildIcons, "a.ico"},                              // 4
      {panel_plain, DumpPanel, BuildPanel, "MENU.pan"},                           // 5
      {{0, 4, 0, 7, 2, 0xE9, 'B', 1, 'C'}, DumpStrings, BuildStrings, "T.mpg"},   // 6
      {test::ClassFile("main", {{"t", 0, 20, 1}, {"n", 2, 5, 0, 3, 2}}), DumpClass, BuildClass,
       "main.clz"},                                                               // 7
      {test::ApplicationFile("start", "end", "pal", {"main"}, {"a comment"}), DumpApplication,
       BuildApplication, "s.apz"},                                                // 8
  };
}

TEST(ResourceJson, DumpThenBuildGivesThePlainBytesBack) {
  for (const Form& f : Forms()) {
    Json form;
    ASSERT_TRUE(f.dump(f.plain, f.node, form)) << f.node;
    if (f.build == BuildClass) form["variables"][1]["dimension_kind"] = 0;  // computed on building
    Bytes back;
    ASSERT_TRUE(f.build(Json::parse(form.dump()), f.node, back)) << form.dump();
    EXPECT_EQ(back, f.plain) << form.dump();
  }
  const std::vector<Form> forms = Forms();
  Json form;  // texts come out as UTF-8 from the receiver's Latin-1
  ASSERT_TRUE(DumpIcons(forms[3].plain, "x", form));
  EXPECT_EQ(form["icons"][0]["name"], "fl\u00e9cha");
  EXPECT_EQ(form["icons"][0]["rows"], Json({"12AB", "CDEF"}));
  ASSERT_TRUE(DumpStrings(forms[6].plain, "x", form));
  EXPECT_EQ(form["strings"][0], "\u00e9" "B");
}

TEST(ResourceJson, DocumentsTheFormatCannotHoldAreRefused) {
  const std::vector<Form> forms = Forms();
  const std::pair<std::size_t, std::function<void(Json&)>> cases[] = {
      {0, [](Json& j) { j["entries"].erase(0); }},
      {0, [](Json& j) { j["entries"][3]["green"] = 256; }},
      {0, [](Json& j) { j = {{"kind", "image"}, {"width", 4}, {"height", 2}, {"rows", {"0123"}}}; }},
      {1, [](Json& j) { j["rows"] = Json::array({"0123"}); }},
      {1, [](Json& j) { j["rows"][0] = "12G4"; }},
      {3, [](Json& j) { j["icons"][1]["width"] = 256; }},
      {3, [](Json& j) { j["icons"][0]["name"] = "\u03a9"; }},
      {3, [](Json& j) { j = Json::array(); }},
      {5, [](Json& j) { j["elements"][1]["styles"][0]["width1"] = 16; }},
      {5, [](Json& j) { j = {{"kind", "panel"}}; }},
      {6, [](Json& j) { j["form"] = "medium"; }},
      {6, [](Json& j) { j["strings"][0] = "\u0100"; }},
      {7, [](Json& j) { j["variables"][0]["name"] = "much_too_long_name"; }},
      {8, [](Json& j) { j["classes"] = 3; }},
  };
  for (const auto& [kind, spoil] : cases) {
    const Form& f = forms[kind];
    Json form;
    ASSERT_TRUE(f.dump(f.plain, f.node, form));
    spoil(form);
    Bytes out;
    EXPECT_EQ(f.build(form, f.node, out).outcome, Outcome::Rejected) << form.dump();
  }
}

}  // namespace
}  // namespace corvane
