// The panel editor's window-free rules: screens, element lists, finding resources, mouse geometry,
// creating on a screen, typed geometry, nudging, the box filters and the partial redraw.
#include <gtest/gtest.h>

#include "document/panel_commands.h"
#include "firmware/tree.h"

namespace corvane {
namespace {

// Element 0 at (100, 50)-(300, 250) on every screen; element i at relative (20, 20)-(60, 60)
// with visibility masks[i - 1].
TMHWPanel Panel(std::vector<std::uint32_t> masks = {1}) {
  TMHWPanel p;
  p.elements.push_back(TMHWPanel::NewElement(kPanbox, 0));
  p.elements[0].visibility = 0xFFFFFFFF;
  p.elements[0].x1 = 100;
  p.elements[0].y1 = 50;
  p.elements[0].x2 = 300;
  p.elements[0].y2 = 250;
  for (auto m : masks) {
    p.elements.push_back(TMHWPanel::NewElement(kButton, 0));
    p.elements.back().visibility = m;
    p.elements.back().x1 = p.elements.back().y1 = 20;
    p.elements.back().x2 = p.elements.back().y2 = 60;
  }
  return p;
}

TEST(PanelLayout, ScreensAndElementLists) {
  using List = std::vector<std::string>;
  EXPECT_EQ(ScreenList(Panel({})), List{"00"});
  EXPECT_EQ(ScreenList(Panel({0, 0})), List{"FF"});
  const TMHWPanel p = Panel({1u << 31, 0x81, 0});
  EXPECT_EQ(ScreenList(p), (List{"00", "07", "1F", "FF"}));
  EXPECT_EQ(ElementList(p, "FF"), (std::vector<int>{3}));
  EXPECT_EQ(ElementList(p, "07"), (std::vector<int>{0, 2}));
  EXPECT_EQ(ElementList(p, "1F"), (std::vector<int>{0, 1}));
  EXPECT_EQ(ScreenNumber("FF"), 31);
}

TEST(PanelLayout, FindingCollectionsAndImages) {
  TArbol tree;
  TNodo* panels = AnadeNodo({}, "PANELS", tree, AnadeNodo({}, "fw", tree, nullptr));
  AnadeNodo(Bytes{1}, "Icons.icz", tree, panels);
  TNodo* menu = AnadeNodo(Bytes{1}, "menu.paz", tree, panels);
  TNodo* sub = AnadeNodo({}, "SUB", tree, panels);
  AnadeNodo(Bytes{1}, "back.imz", tree, panels);
  TNodo* second = AnadeNodo(Bytes{1}, "back.ima", tree, sub);
  TNodo* third = AnadeNodo(Bytes{1}, "Back.imz", tree, panels);

  EXPECT_TRUE(IconCollectionPresent(*menu, "Icons"));
  EXPECT_FALSE(IconCollectionPresent(*menu, "icons"));
  EXPECT_NE(FindIconCollection(*menu, "icons"), nullptr);
  EXPECT_EQ(FindIconCollection(*menu, "other"), nullptr);
  EXPECT_EQ(FindImage(tree, "panels:BACK.rf4"), third);  // the last match
  EXPECT_EQ(FindImage(tree, "SUB:back.rf4"), second);
  EXPECT_EQ(FindImage(tree, "panels:back"), nullptr);
}

TEST(PanelLayout, DraggingAndResizing) {
  TMHWPanel p = Panel();
  p.elements[0].x1 = p.elements[0].y1 = 0;
  const std::vector<int> list = {0, 1};
  const Grab grab = GrabAt(p, list, 30, 30);
  ASSERT_EQ(grab.element, 1);
  ASSERT_EQ(grab.mode, DragMode::Move);
  for (const auto& [grid, to, x1] : {std::tuple{5, 23, 10}, {1, 23, 13}, {1, 1000, 260}}) {
    TMHWPanel q = p;
    DragTo(q, list, grab, to, to, grid);
    EXPECT_EQ(q.elements[1].x1, x1);  // held inside element 0
    EXPECT_EQ(q.elements[1].x2 - q.elements[1].x1, 40);  // width kept
  }
  const Grab top = GrabAt(p, list, 40, 21);
  ASSERT_EQ(top.mode, DragMode::Top);
  TMHWPanel q = p;
  DragTo(q, list, top, 40, 59, 1);
  EXPECT_EQ(q.elements[1].y1, 57);  // height 4: y1 = y2 - 3
  const Grab bottom = GrabAt(p, list, 150, 250);
  ASSERT_EQ(std::pair(bottom.element, bottom.mode), std::pair(0, DragMode::Bottom));
  q = p;
  DragTo(q, list, bottom, 150, 30, 1);
  EXPECT_EQ(q.elements[0].y2, 60);  // stops at the lowest listed element
  EXPECT_EQ(GrabAt(p, list, 400, 400).element, -1);
}

TEST(PanelCommands, CreateAndCloneOnTheShownScreen) {
  TMHWPanel p = Panel();
  EXPECT_EQ(CreateOnScreen(p, 1, kFrame, "FF"), 2);
  EXPECT_EQ(p.elements[2].visibility, 1u << 31);
  EXPECT_EQ(p.elements[2].kind, kFrame);
  EXPECT_EQ(CreateOnScreen(p, 1, kFrame, "zz"), -1);
  EXPECT_EQ(CloneInside(p, 0), -1);  // element 0 is never cloned
  p.elements[1].x1 = 150;
  p.elements[1].x2 = 200;  // absolute right edge 300: touches element 0's
  p.elements[1].y1 = 0;
  ASSERT_EQ(CloneInside(p, 1), 2);
  EXPECT_EQ((PanelRect{p.elements[2].x1, p.elements[2].y1, p.elements[2].x2, p.elements[2].y2}),
            (PanelRect{150, 10, 200, 70}));
}

TEST(PanelCommands, TypedGeometryStaysInsideItsLimit) {
  struct Case { int element; GeometryField field; int value; bool taken; PanelRect stored; };
  const Case cases[] = {
      {1, GeometryField::X, 160, true, {160, 20, 200, 60}},  // absolute right edge 300: inside
      {1, GeometryField::X, 161, false, {20, 20, 60, 60}},   // one pixel past element 0
      {1, GeometryField::Width, 181, true, {20, 20, 200, 60}},
      {1, GeometryField::Height, 202, false, {20, 20, 60, 60}},
      {1, GeometryField::Height, 0, false, {20, 20, 60, 60}},
      {0, GeometryField::X, 375, true, {375, 50, 575, 250}},  // the canvas's last pixel
      {0, GeometryField::X, 376, false, {100, 50, 300, 250}},
      {0, GeometryField::Width, 10, true, {100, 50, 160, 250}},  // keeps enclosing element 1
      {0, GeometryField::Height, 300, true, {100, 50, 300, 349}},
  };
  for (const auto& c : cases) {
    TMHWPanel p = Panel();
    EXPECT_EQ(TypeGeometry(p, {0, 1}, c.element, c.field, c.value), c.taken) << c.value;
    const auto& e = p.elements[c.element];
    EXPECT_EQ((PanelRect{e.x1, e.y1, e.x2, e.y2}), c.stored) << c.element << " " << c.value;
  }
}

TEST(PanelCommands, NudgeKeepsTheElementInside) {
  for (const auto& [dx, dy, x1, y1] : {std::tuple{1, 0, 21, 20}, {0, -5, 20, 15}, {-30, 0, 0, 20},
                                      {500, 0, 160, 20}}) {
    TMHWPanel p = Panel();
    EXPECT_TRUE(Nudge(p, {0, 1}, 1, dx, dy));
    const auto& e = p.elements[1];
    EXPECT_EQ((PanelRect{e.x1, e.y1, e.x2, e.y2}), (PanelRect{x1, y1, x1 + 40, y1 + 40}));
  }
}

TEST(PanelCommands, BoxFiltersAndSaveLimit) {
  EXPECT_EQ(HexBoxText("1a-zF", "FFFF"), "1AF");
  EXPECT_EQ(HexBoxText("xyz", "FFFF"), "FFFF");
  EXPECT_EQ(DigitBoxText("1a2"), "12");
  EXPECT_EQ(DigitBoxText("-"), "0");
  TMHWPanel p;
  p.elements.resize(kPanelSaveLimit);
  EXPECT_FALSE(OverSaveLimit(p));
  p.elements.emplace_back();
  EXPECT_TRUE(OverSaveLimit(p));
}

TEST(PanelCommands, PartialRedrawRepaintsFromTheSelectedElement) {
  TMHWPanel p = Panel();
  p.elements[0].styles[0].background = 2;
  p.elements[1].styles[0].background = 3;
  PanelPalette palette{};
  for (int i = 0; i < 16; ++i) palette[i] = Rgb{static_cast<std::uint8_t>(i * 10), 0, 0};
  const NoPanelSources sources;
  PixelBuffer full(kCanvasWidth, kCanvasHeight), canvas(kCanvasWidth, kCanvasHeight);
  Dibuja(full, p, {0, 1}, {}, palette, sources);
  RedrawFrom(canvas, p, {0, 1}, 1, {}, palette, sources);
  EXPECT_EQ(canvas.Get(100, 50), Rgb{});  // element 0 is not repainted
  EXPECT_EQ(canvas.Get(130, 80), palette[3]);
  RedrawFrom(canvas, p, {0, 1}, 0, {}, palette, sources);
  EXPECT_EQ(canvas, full);
}

}  // namespace
}  // namespace corvane
