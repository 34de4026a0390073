#include "demo_image.h"

#include <cmath>
#include <string>

#include "demo_font.h"
#include "firmware/codec.h"
#include "resources/icons.h"
#include "resources/image.h"
#include "resources/palette.h"
#include "support/font_table_builder.h"
#include "support/image_builder.h"
#include "support/script_assembler.h"

namespace corvane::demo {

namespace {

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

// A stored file in the image's compressed form.
Bytes Packed(const Bytes& plain) { return Compress(plain); }

Bytes Repeated(const std::string& line, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += line;
  return Text(text);
}

// ---- Pictures drawn in code, stored through the program's own resource writers ----

Bytes PaletteFile(const std::array<Rgb, 16>& colours) {
  TMHWPalette palette;
  for (std::size_t i = 0; i < 16; ++i)
    palette.entries[i] = {colours[i].r, colours[i].g, colours[i].b, std::uint8_t(i == 0 ? 0 : 1)};
  return Packed(palette.Plain());
}

// A night-blue screen palette and a warm one for the panels.
Bytes MainPalette() {
  return PaletteFile({{{0, 0, 0},       {255, 255, 255}, {16, 24, 64},    {24, 40, 96},
                       {32, 64, 136},   {48, 96, 176},   {72, 136, 208},  {112, 176, 232},
                       {160, 208, 248}, {255, 200, 40},  {240, 120, 32},  {200, 40, 40},
                       {40, 160, 80},   {96, 96, 96},    {160, 160, 160}, {216, 216, 216}}});
}
Bytes PanelPalette() {
  return PaletteFile({{{0, 0, 0},       {255, 255, 255}, {48, 24, 16},    {96, 40, 24},
                       {144, 64, 32},   {192, 96, 40},   {232, 136, 56},  {248, 184, 96},
                       {252, 224, 168}, {40, 80, 160},   {80, 144, 220},  {200, 40, 40},
                       {40, 160, 80},   {64, 64, 64},    {128, 128, 128}, {208, 208, 208}}});
}

// Packs a picture given as one palette index per pixel.
template <typename Pixel>
Bytes NibbleRows(int width, int height, Pixel pixel) {
  Bytes rows;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x + 1 < width; x += 2)
      rows.push_back(static_cast<std::uint8_t>(pixel(x, y) << 4 | pixel(x + 1, y)));
  return rows;
}

template <typename Pixel>
Bytes ImageFile(int width, int height, Pixel pixel) {
  TMHWImage image;
  image.SetPicture(width, height, NibbleRows(width, height, pixel));
  return Packed(image.Plain());
}

// A badge: concentric rings inside a rounded frame, a sun in the corner.
Bytes LogoImage() {
  return ImageFile(192, 96, [](int x, int y) {
    const double cx = x - 96.0, cy = y - 48.0;
    const double sx = x - 160.0, sy = y - 24.0;
    if (sx * sx + sy * sy < 14.0 * 14.0) return 9;
    if (x < 4 || y < 4 || x > 187 || y > 91) return 1;
    const int ring = static_cast<int>(std::sqrt(cx * cx + cy * cy * 4.0) / 8.0);
    return ring < 7 ? 8 - ring : 2;
  });
}

// A 360 x 288 background: blue bands fading downwards with a light horizon line.
Bytes BackgroundImage() {
  return ImageFile(360, 288, [](int x, int y) {
    if (y == 200 || (y > 200 && (x + y) % 24 == 0)) return 8;
    return 2 + std::min(5, y / 40);
  });
}

// Small icons: arrows, a star, a tick and a dot, 16 x 16.
Bytes IconCollection() {
  const auto arrow_up = [](int x, int y) {
    return (y < 8 && std::abs(x - 8) <= y) || (y >= 8 && x >= 6 && x <= 9) ? 9 : 0;
  };
  const auto star = [](int x, int y) {
    const double a = std::atan2(y - 7.5, x - 7.5), r = std::hypot(x - 7.5, y - 7.5);
    return r < 3.5 + 3.5 * std::pow(std::cos(2.5 * a), 2.0) ? 9 : 0;
  };
  const auto tick = [](int x, int y) {
    return std::abs(y - (x < 6 ? 6 + x : 17 - x)) <= 1 && x > 1 && x < 15 ? 12 : 0;
  };
  const auto dot = [](int x, int y) { return std::hypot(x - 7.5, y - 7.5) < 6.0 ? 11 : 0; };
  TMHWIconLib icons;
  const auto add = [&](const char* name, auto pixel) {
    icons.icons.push_back({name, 16, 16, NibbleRows(16, 16, pixel)});
  };
  add("arriba", arrow_up);
  add("abajo", [&](int x, int y) { return arrow_up(x, 15 - y); });
  add("estrella", star);
  add("ok", tick);
  add("punto", dot);
  Bytes plain;
  icons.Plain(plain);
  return Packed(plain);
}

// A font of the demo's own 5 x 7 letters drawn `scale` times, `top` rows down; proportional
// fonts take each letter's width plus `gap` columns, fixed ones `fixed` columns.
test::FontSpec DemoFont(const std::string& name, std::uint8_t size, std::uint8_t height,
                        int scale, int top, int gap, int fixed) {
  test::FontSpec font;
  font.name = name;
  font.size = size;
  font.height_byte = height;
  const bool main = name == "fudemi" || name == "eurost";
  for (int c = 0; c < 256; ++c) {
    const bool printable = c >= 32 && c <= 126;
    int width = fixed > 0 ? fixed : printable ? scale * DemoFontColumns(c) + gap : 0;
    if (main && c < 32) width = 0;
    font.widths[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(width);
  }
  font.room = 256;
  font.ink = [scale, top](int code, int row, int col) {
    return DemoFontInk(code, col / scale, (row - top) < 0 ? -1 : (row - top) / scale);
  };
  return font;
}

using test::ScriptAssembler;
namespace op = test::op;

// Class "main" (code/main.clz): variable indices used by the scripts below.
enum MainVar : std::uint16_t { kTitle, kCount, kTotal, kPrice, kItems, kGrid, kIndex, kFlag };
// Class "screen" (panels/screen.clz).
enum ScreenVar : std::uint16_t { kSelected, kMessage };

Bytes MainClass() {
  return test::ClassFile("main", {{"title", 0, 20, 1},
                                  {"count", 2, 5},
                                  {"total", 2, 8},
                                  {"price", 3, 8, 2},
                                  {"items", 2, 4, 0, 5, 1},
                                  {"grid", 5, 3, 0, 4, 3},
                                  {"index", 2, 3},
                                  {"flag", 11}});
}

Bytes ScreenClass() { return test::ClassFile("screen", {{"selected", 2, 3}, {"message", 0, 32}}); }

// boot: assignments, if / else and a call.
Bytes BootScript() {
  ScriptAssembler a("boot", {"main"});
  const int other = a.NewLabel(), done = a.NewLabel();
  a.Str(op::kPushStr, "Corvane\ndemo").Var(op::kStore, 0, kTitle);
  a.Int(op::kPushInt, 0).Var(op::kStore, 0, kCount);
  a.Var(op::kPushVar, 0, kCount).Int(op::kPushInt, 0).Op(op::kEq).Jump(op::kIfNot, other);
  a.Str(op::kPushStr, "first start").Op(op::kPrint);
  a.Bind(other).Jump(op::kGoto, done);
  a.Str(op::kPushStr, "started again").Op(op::kPrint);
  a.Bind(done).Var(op::kInc, 0, kCount);
  a.Int(op::kPushInt, 1).Str(op::kPushStr, "menu").Op(op::kCall);
  a.Op(op::kExit).Op(op::kEnd);
  return a.Plain();
}

// boot/menu: while and do loops, abs().
Bytes MenuLoopScript() {
  ScriptAssembler a("menu", {"main"});
  a.Word(op::kLoop, 0).Var(op::kDec, 0, kIndex);
  a.Var(op::kPushVar, 0, kIndex).Int(op::kPushInt, 0).Op(op::kGreater).Op(op::kWhile);
  a.Word(op::kLoop, 0).Var(op::kPushVar, 0, kIndex).Op(op::kPrint).Var(op::kInc, 0, kIndex);
  a.Var(op::kPushVar, 0, kIndex).Int(op::kPushInt, 10).Op(op::kLess).Op(op::kUntil);
  a.Var(op::kPushVar, 0, kTotal).Op(op::kDup).Op(op::kTestNegative).Op(op::kNegateIf);
  a.Var(op::kStore, 0, kPrice).Op(op::kEnd);
  return a.Plain();
}

// code/start: a for loop, two ifs closing together, arithmetic.
Bytes StartScript() {
  ScriptAssembler a("start", {"main"});
  const int end_ifs = a.NewLabel();
  a.Int(op::kPushInt, 0).Var(op::kStore, 0, kTotal);
  a.Var(op::kPushVar, 0, kIndex).Int(op::kPushInt, 1).Int(op::kPushInt, 5).Int(op::kPushInt, 0);
  a.Op(op::kFor).Word(op::kLoop, 0);
  a.Var(op::kPushVar, 0, kTotal).Var(op::kPushVar, 0, kIndex).Op(op::kAdd).Var(op::kStore, 0, kTotal);
  a.Op(op::kNext);
  a.Var(op::kPushVar, 0, kTotal).Int(op::kPushInt, 0).Op(op::kGreater).Jump(op::kIfNot, end_ifs);
  a.Var(op::kPushVar, 0, kFlag).Jump(op::kIfNot, end_ifs);
  a.Var(op::kPushVar, 0, kTotal).Int(op::kPushInt, 2).Op(op::kMul).Op(op::kPrint);
  a.Bind(end_ifs).Op(op::kBeep).Op(op::kEnd);
  return a.Plain();
}

// panels/menu: the methods of the menu panel and its elements.
Bytes MenuPanelScript() {
  ScriptAssembler a("menu", {"main", "screen"});
  a.Word(op::kMethod, 0x0001).Word(op::kMethod, 0x0010).Word(op::kMethod, 0x0099);
  a.Str(op::kPushStr, "OK").Op(op::kShow).Str(op::kPushStr, "CANCEL").Op(op::kHide);
  a.Var(op::kPushVar, 1, kSelected).Int(op::kPushInt, 1).Op(op::kAssign);
  a.Str(op::kPushStr, "OK").Op(op::kFocus).Op(op::kRedraw).Op(op::kEnd);
  return a.Plain();
}

// panels/info: texts of the info panel.
Bytes InfoPanelScript() {
  ScriptAssembler a("info", {"screen"});
  a.Word(op::kMethod, 0x0021);
  a.Str(op::kPushStr, "TEXT").Var(op::kPushVar, 0, kMessage).Op(op::kSetText);
  a.Int(op::kPushInt, 1500).Op(op::kWait).Str(op::kPushStr, "panels:menu").Op(op::kOpen);
  a.Op(op::kEnd);
  return a.Plain();
}

Bytes MenuPanel() {
  return test::PanelFile(0x0001, 0x0002, 0x0003, "icons",
                         {{1, "MENU", 0xFFFF, "Menu", 40, 40, 600, 440},
                          {2, "OK", 0x0010, "Aceptar", 20, 380, 120, 410},
                          {2, "CANCEL", 0x0011, "Cancelar", 140, 380, 240, 410},
                          {16, "BACK", 0xFFFF, "panels:back.rf4", 10, 10, 300, 200}});
}

Bytes InfoPanel() {
  return test::PanelFile(0x0020, 0x0021, 0x0022, "icons",
                         {{1, "INFO", 0xFFFF, "Info", 60, 60, 580, 420},
                          {4, "TEXT", 0x0021, "Ayuda", 20, 40, 500, 300}});
}

}  // namespace

Bytes DemoImage() {
  using test::DirSpec;
  using test::PatternBytes;
  test::ImageSpec spec;
  spec.model = kDemoModel;
  spec.capacity = kDemoCapacity;
  spec.dirs = {
      DirSpec{"boot",
              {{"boot.cpz", Packed(BootScript())},
               {"logo.imz", LogoImage()},
               {"main.luz", MainPalette()},
               {"menu.cpi", Packed(MenuLoopScript())}},
              false},
      DirSpec{"panels",
              {{"menu.paz", Packed(MenuPanel())},
               {"info.paz", Packed(InfoPanel())},
               {"icons.icz", IconCollection()},
               {"back.imz", BackgroundImage()},
               {"menu.luz", PanelPalette()},
               {"menu.cpi", Packed(MenuPanelScript())},
               {"info.cpi", Packed(InfoPanelScript())},
               {"screen.clz", Packed(ScreenClass())}},
              false},
      DirSpec{"texts",
              {{"menu.mpz", Packed(Repeated(std::string("Menu principal\0", 15), 20))},
               {"help.mpz", Packed(Text("Ayuda: pulse OK para continuar."))}},
              false},
      DirSpec{"code",
              {{"main.clz", Packed(MainClass())},
               {"start.apz", Packed(test::ApplicationFile("start", "boot", "main", {"main", "screen"},
                                                          {"Corvane demo application",
                                                           "Every byte of it is made up."}))},
               {"start.cpz", Packed(StartScript())}},
              false},
      DirSpec{"extra",
              {{"readme.txt", Packed(Text("Corvane demo firmware. Every byte of it is made up.\r\n"))},
               {"notes.dat", PatternBytes(48, 10)}},
              false},
      DirSpec{"void", {}, false},
  };
  // The receiver's fonts: a large main font, the fixed-width teletext font and a small one.
  const std::vector<test::FontSpec> fonts = {
      DemoFont("fudemi", 24, 16, 2, 1, 2, 0),
      DemoFont("videotex", 10, 10, 1, 1, 0, 6),
      DemoFont("sans", 12, 9, 1, 1, 1, 0),
  };
  spec.extra = [&fonts](Bytes& image) { test::PlaceFonts(image, kDemoModel, kDemoBaseAddress, fonts); };
  return test::BuildImage(spec).file;
}

}  // namespace corvane::demo
