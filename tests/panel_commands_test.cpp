// The panel editor's commands without a window: creating on a screen, typed geometry, nudging,
// the box filters and the partial redraw.
#include <gtest/gtest.h>

#include "document/panel_commands.h"

namespace corvane {
namespace {

// Element 0 at (100, 50)-(300, 250); element 1 at relative (20, 20)-(60, 60), on screen 0.
TMHWPanel TwoElements() {
  TMHWPanel p;
  p.elements.push_back(TMHWPanel::NewElement(kPanbox, 0));
  p.elements[0].visibility = 0xFFFFFFFF;
  p.elements[0].x1 = 100;
  p.elements[0].y1 = 50;
  p.elements[0].x2 = 300;
  p.elements[0].y2 = 250;
  p.elements.push_back(TMHWPanel::NewElement(kButton, 0));
  p.elements[1].x1 = p.elements[1].y1 = 20;
  p.elements[1].x2 = p.elements[1].y2 = 60;
  return p;
}

TEST(PanelCommands, CreateAndCloneOnTheShownScreen) {
  TMHWPanel p = TwoElements();
  EXPECT_EQ(CreateOnScreen(p, 1, kFrame, "FF"), 2);
  EXPECT_EQ(p.elements[2].visibility, 1u << 31);
  EXPECT_EQ(p.elements[2].kind, kFrame);
  EXPECT_EQ(CreateOnScreen(p, 1, kFrame, "zz"), -1);
  EXPECT_EQ(CloneInside(p, 0), -1);  // element 0 is never cloned
  EXPECT_EQ(p.elements.size(), 3u);
}

TEST(PanelCommands, TypedGeometryStaysInsideItsLimit) {
  struct Case {
    int element;
    GeometryField field;
    int value;
    bool taken;
    int x1, y1, x2, y2;  // stored afterwards
  } cases[] = {
      {1, GeometryField::X, 160, true, 160, 20, 200, 60},  // absolute right edge 300: inside
      {1, GeometryField::X, 161, false, 20, 20, 60, 60},   // one pixel past element 0
      {1, GeometryField::Width, 181, true, 20, 20, 200, 60},
      {1, GeometryField::Height, 202, false, 20, 20, 60, 60},
      {1, GeometryField::Height, 0, false, 20, 20, 60, 60},
      {0, GeometryField::X, 375, true, 375, 50, 575, 250},  // the canvas's last pixel
      {0, GeometryField::X, 376, false, 100, 50, 300, 250},
      {0, GeometryField::Width, 10, true, 100, 50, 160, 250},  // keeps enclosing element 1
      {0, GeometryField::Height, 300, true, 100, 50, 300, 349},
  };
  for (const auto& c : cases) {
    TMHWPanel p = TwoElements();
    EXPECT_EQ(TypeGeometry(p, {0, 1}, c.element, c.field, c.value), c.taken) << c.value;
    const auto& e = p.elements[c.element];
    EXPECT_EQ((PanelRect{e.x1, e.y1, e.x2, e.y2}), (PanelRect{c.x1, c.y1, c.x2, c.y2}))
        << c.element << " " << c.value;
  }
}

TEST(PanelCommands, NudgeKeepsTheElementInside) {
  struct Case {
    int dx, dy;
    bool moved;
    int x1, y1;
  } cases[] = {
      {1, 0, true, 21, 20}, {0, -5, true, 20, 15}, {-30, 0, true, 0, 20}, {500, 0, true, 160, 20}};
  for (const auto& c : cases) {
    TMHWPanel p = TwoElements();
    EXPECT_EQ(Nudge(p, {0, 1}, 1, c.dx, c.dy), c.moved);
    EXPECT_EQ(p.elements[1].x1, c.x1);
    EXPECT_EQ(p.elements[1].y1, c.y1);
    EXPECT_EQ(p.elements[1].x2 - p.elements[1].x1, 40);
  }
}

TEST(PanelCommands, BoxFilters) {
  EXPECT_EQ(HexBoxText("1a-zF", "FFFF"), "1AF");
  EXPECT_EQ(HexBoxText("xyz", "FFFF"), "FFFF");
  EXPECT_EQ(HexBoxText("", "00"), "00");
  EXPECT_EQ(DigitBoxText("1a2"), "12");
  EXPECT_EQ(DigitBoxText("-"), "0");
  EXPECT_EQ(KeyNames().size(), 30u);
  EXPECT_EQ(KeyNames()[629 - kFirstKeyCode], "RIGHT");
}

TEST(PanelCommands, PartialRedrawRepaintsFromTheSelectedElement) {
  TMHWPanel p = TwoElements();
  p.elements[0].styles[0].background = 2;
  p.elements[1].styles[0].background = 3;
  PanelPalette palette{};
  for (int i = 0; i < 16; ++i) palette[i] = Rgb{static_cast<std::uint8_t>(i * 10), 0, 0};
  const NoPanelSources sources;
  PixelBuffer full(kCanvasWidth, kCanvasHeight);
  Dibuja(full, p, {0, 1}, {}, palette, sources);

  PixelBuffer canvas(kCanvasWidth, kCanvasHeight);
  RedrawFrom(canvas, p, {0, 1}, 1, {}, palette, sources);
  EXPECT_EQ(canvas.Get(100, 50), Rgb{});  // element 0 is not repainted
  EXPECT_EQ(canvas.Get(130, 80), palette[3]);
  RedrawFrom(canvas, p, {0, 1}, 0, {}, palette, sources);
  EXPECT_EQ(canvas, full);
}

TEST(PanelCommands, SaveLimit) {
  TMHWPanel p;
  p.elements.resize(kPanelSaveLimit);
  EXPECT_FALSE(OverSaveLimit(p));
  p.elements.emplace_back();
  EXPECT_TRUE(OverSaveLimit(p));
}

}  // namespace
}  // namespace corvane
