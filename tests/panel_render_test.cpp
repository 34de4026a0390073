// Drawing panels: text placement, fallbacks, the selection border, and golden pictures of small
// test panels (every border kind, texts, icons, images, selection border, grid) compared pixel for
// pixel.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "render/panel_render.h"
#include "support/files.h"

namespace corvane {
namespace {

PanelPalette TestPalette() {
  PanelPalette p;
  for (int i = 0; i < 16; ++i)
    p[i] = Rgb{static_cast<std::uint8_t>(i * 16 + 8), static_cast<std::uint8_t>(255 - i * 16),
               static_cast<std::uint8_t>((i * 77) & 0xFF)};
  return p;
}

// A font whose glyphs are 6 pixels wide (3 for a space) and `height` high: an "L" with a dot,
// drawn by the clip rule of the font set; an 8 x 8 checkered icon "ok"; a 20 x 10 image
// "IMG:PIC.rf4". Every text drawn is recorded.
class TestSources : public PanelSources {
 public:
  explicit TestSources(int height = 8, int fixed = 0) : height_(height), fixed_(fixed) {
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) icon_.Set(x, y, (x + y) % 2 ? Rgb{255, 0, 0} : Rgb{0, 0, 255});
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 20; ++x)
        image_.Set(x, y, Rgb{static_cast<std::uint8_t>(x * 12), static_cast<std::uint8_t>(y * 25), 99});
  }
  struct Call {
    std::string text;
    int x, y;
    bool operator==(const Call&) const = default;
  };
  mutable std::vector<Call> calls;

  std::span<const FontKey> Fonts() const override { return keys_; }
  int FontHeight(int) const override { return height_; }
  int Glyph(char c) const { return c == ' ' ? 3 : 6; }
  int TextWidth(std::string_view text, int) const override {
    int w = 0;
    for (char c : text) w += Glyph(c);
    return fixed_ > 0 ? fixed_ : w;
  }
  void DrawText(PixelBuffer& target, std::string_view text, const PanelRect& clip, int, int x,
                int y, Rgb colour) const override {
    calls.push_back({std::string(text), x, y});
    for (char c : text) {
      int w = Glyph(c);
      if (x >= clip.x1 && x + w <= clip.x2 && y >= clip.y1 && y + height_ <= clip.y2 && c != ' ') {
        for (int r = 0; r < height_; ++r) target.Set(x, y + r, colour);
        for (int col = 0; col < w - 1; ++col) target.Set(x + col, y + height_ - 1, colour);
        target.Set(x + 3, y + 2, colour);
      }
      x += w;
    }
  }
  const PixelBuffer* Icon(std::string_view name) const override {
    return name == "ok" ? &icon_ : nullptr;
  }
  const PixelBuffer* Image(std::string_view reference) const override {
    return reference == "IMG:PIC.rf4" ? &image_ : nullptr;
  }

 private:
  int height_, fixed_;
  std::vector<FontKey> keys_{{"test", 17}};
  PixelBuffer icon_{8, 8};
  PixelBuffer image_{20, 10};
};

TElementoPanel Element(int kind, PanelRect r, TEstiloElemento style, std::string text = {}) {
  TElementoPanel e = TMHWPanel::NewElement(kind, 0);
  e.x1 = r.x1;
  e.y1 = r.y1;
  e.x2 = r.x2;
  e.y2 = r.y2;
  e.styles = {style};
  e.texts[0] = std::move(text);
  return e;
}

PixelBuffer Draw(const TMHWPanel& p, const PanelSources& sources, PanelView view = {}) {
  PixelBuffer work(kCanvasWidth, kCanvasHeight);
  std::vector<int> all;
  for (std::size_t i = 0; i < p.elements.size(); ++i) all.push_back(static_cast<int>(i));
  Dibuja(work, p, all, view, TestPalette(), sources);
  return work;
}

TEST(PanelRender, TextPlacement) {
  struct Case {
    const char* name;
    int kind, justification;
    PanelRect r;
    std::string text;
    std::vector<TestSources::Call> calls;
  } cases[] = {
      {"centred single line", kTextBox, 1, {0, 0, 99, 19}, "x", {{"x", 39, 3}}},
      {"final line feed", kTextBox, 0, {0, 0, 99, 19}, "ab\n", {{"ab", 2, 3}}},
      {"two lines", kTextBox, 2, {0, 0, 99, 39}, "a\nb", {{"a", 77, 1}, {"b", 77, 13}}},
      {"one line of an input box", kInputBox, 3, {0, 0, 99, 19}, "a\nb", {{"a", 0, 3}}},
  };
  for (const auto& c : cases) {
    TestSources sources(12, 20);
    TElementoPanel e = Element(c.kind, c.r, {}, "");
    e.variable = c.text;  // shown in every language, for an InputBox too
    e.justification = static_cast<std::uint8_t>(c.justification);
    TMHWPanel p;
    p.elements = {e};
    Draw(p, sources, PanelView{3, 0, false});
    EXPECT_EQ(sources.calls, c.calls) << c.name;
  }
}

TEST(PanelRender, FillOnlyCasesAndStyleFallback) {
  const PanelPalette pal = TestPalette();
  TMHWPanel p;
  p.elements.push_back(Element(kPanbox, {0, 0, 200, 100}, {0, 0, 0, kBorderLine, 0, 0}));
  p.elements.push_back(Element(kFrame, {5, 5, 20, 5}, {2, 3, 4, kBorderLine, 1, 0}));
  p.elements.push_back(Element(kIconBox, {30, 30, 50, 50}, {5, 0, 0, kBorderLine, 0, 0}, "ok"));
  p.elements.push_back(Element(kWindow, {60, 30, 90, 50}, {6, 0, 0, kBorderLine, 0, 0}, "X:NONE.rf4"));
  TElementoPanel styled = Element(kButton, {100, 30, 120, 50}, {7, 0, 0, kBorderLine, 0, 0});
  styled.styles.push_back({8, 0, 0, kBorderLine, 0, 0});
  styled.styles.push_back({9, 0, 0, kBorderLine, 0, 0});
  p.elements.push_back(styled);
  TestSources sources;
  PixelBuffer work = Draw(p, sources, PanelView{0, 3, false});
  EXPECT_EQ(work.Get(5, 5), pal[2]);    // a one-pixel-high frame paints nothing over the fill
  EXPECT_EQ(work.Get(20, 5), pal[2]);
  EXPECT_EQ(work.Get(31, 31), pal[5]);  // collection not present: fill only
  EXPECT_EQ(work.Get(61, 31), pal[6]);  // image not found: fill only
  EXPECT_EQ(work.Get(110, 40), pal[7]);  // style 3 of three: style 0
  EXPECT_EQ(Draw(p, sources, PanelView{0, 2, true}).Get(110, 40), pal[9]);
}

TEST(PanelRender, SelectionBorderRunsAndMoves) {
  TBordeAnimado border({10, 10, 40, 30});
  PixelBuffer target(60, 40);
  border.Pinta(target, true);
  auto grey = [&](int x, int y) { return target.Get(x, y).r; };
  EXPECT_EQ((std::vector<int>{grey(10, 10), grey(12, 10), grey(13, 10), grey(15, 10), grey(16, 10)}),
            (std::vector<int>{255, 255, 0, 0, 255}));
  border.Pinta(target, false);  // one step on: the runs moved one pixel
  EXPECT_EQ((std::vector<int>{grey(10, 10), grey(11, 10), grey(13, 10), grey(14, 10)}),
            (std::vector<int>{0, 255, 255, 0}));
  // One pixel high, or reaching past the buffer: never indexes past its pattern or the buffer.
  TBordeAnimado({0, 5, 20, 5}).Pinta(target, true);
  TBordeAnimado({50, 30, 900, 900}).Pinta(target, true);
  PixelBuffer none(10, 10);
  DibujaRejilla(none, 2);  // a grid of 2 or less is not drawn
  EXPECT_EQ(none, PixelBuffer(10, 10));
}

// Golden pictures: the part of the canvas a small test panel covers, as a binary PPM file under
// tests/golden. CORVANE_UPDATE_GOLDEN=1 writes them anew.
Bytes Ppm(const PixelBuffer& work, PanelRect r) {
  Bytes out = test::ToBytes("P6\n" + std::to_string(r.x2 - r.x1 + 1) + " " +
                            std::to_string(r.y2 - r.y1 + 1) + "\n255\n");
  for (int y = r.y1; y <= r.y2; ++y)
    for (int x = r.x1; x <= r.x2; ++x) {
      const Rgb c = work.Get(x, y);
      out.insert(out.end(), {c.r, c.g, c.b});
    }
  return out;
}

void ExpectGolden(const PixelBuffer& work, PanelRect r, const std::string& name) {
  const auto path = std::filesystem::path(CORVANE_SOURCE_DIR) / "tests" / "golden" / (name + ".ppm");
  const Bytes picture = Ppm(work, r);
  if (std::getenv("CORVANE_UPDATE_GOLDEN") != nullptr) test::WriteFile(path, picture);
  EXPECT_TRUE(test::ReadFile(path) == picture) << name << ": bytes differ from " << path;
}

TEST(PanelRender, GoldenPictures) {
  TestSources sources;
  {  // every border kind on one screen
    TMHWPanel p;
    p.elements.push_back(Element(kPanbox, {4, 4, 155, 105}, {1, 2, 3, kBorderLine, 2, 0}));
    for (int k = 0; k < 6; ++k) {
      PanelRect r{6 + (k % 3) * 48, 6 + (k / 3) * 48, 6 + (k % 3) * 48 + 42, 6 + (k / 3) * 48 + 42};
      p.elements.push_back(Element(kFrame, r, {static_cast<std::uint8_t>(4 + k), 12, 13,
                                               static_cast<std::uint8_t>(k), 3, 2}));
    }
    ExpectGolden(Draw(p, sources), {0, 0, 159, 109}, "panel_borders");
  }
  {  // texts, an icon, an image, the selection border and the grid
    TMHWPanel p;
    p.elements.push_back(Element(kPanbox, {0, 0, 159, 99}, {0, 15, 14, kBorderRounded, 2, 0}));
    TElementoPanel text = Element(kTextBox, {6, 6, 100, 40}, {1, 2, 15, kBorderSunken, 1, 0},
                                  "LEFT\nCENTRE\nRIGHT");
    text.justification = 1;
    p.elements.push_back(text);
    p.elements.push_back(Element(kInputBox, {6, 46, 100, 62}, {3, 4, 15, kBorderLine, 1, 0}, "INPUT"));
    p.elements.push_back(Element(kIconBox, {110, 6, 120, 16}, {5, 0, 0, kBorderLine, 0, 0}, "ok"));
    p.elements.push_back(Element(kWindow, {110, 30, 125, 45}, {6, 0, 0, kBorderLine, 0, 0}, "IMG:PIC.rf4"));
    p.elements[2].texts[0].clear();  // an InputBox keeps no text: show a variable
    p.elements[2].variable = "PIN CODE";
    PixelBuffer work = Draw(p, sources, PanelView{0, 0, true});
    TBordeAnimado(AbsoluteRect(p, 0)).Pinta(work, true);
    DibujaRejilla(work, 5);
    ExpectGolden(work, {0, 0, 163, 103}, "panel_texts");
  }
}

}  // namespace
}  // namespace corvane
