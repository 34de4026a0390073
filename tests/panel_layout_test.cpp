// The panel editor's window-free rules: screens, element lists, finding resources, mouse geometry.
#include <gtest/gtest.h>

#include "firmware/tree.h"
#include "resources/panel_layout.h"

namespace corvane {
namespace {

TMHWPanel PanelWithMasks(std::vector<std::uint32_t> masks) {
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
  }
  return p;
}

TEST(PanelLayout, ScreensAndElementLists) {
  using List = std::vector<std::string>;
  EXPECT_EQ(ScreenList(PanelWithMasks({})), List{"00"});
  EXPECT_EQ(ScreenList(PanelWithMasks({0, 0})), List{"FF"});
  EXPECT_EQ(ScreenList(PanelWithMasks({1u << 31, 0x81, 0})), (List{"00", "07", "1F", "FF"}));

  TMHWPanel p = PanelWithMasks({1u << 31, 0x81, 0});
  EXPECT_EQ(ElementList(p, "FF"), (std::vector<int>{3}));
  EXPECT_EQ(ElementList(p, "07"), (std::vector<int>{0, 2}));
  EXPECT_EQ(ElementList(p, "1F"), (std::vector<int>{0, 1}));
  EXPECT_EQ(ScreenNumber("FF"), 31);
  EXPECT_EQ(ScreenNumber("1F"), 31);

  EXPECT_EQ(StylesAllowed(kButton), 3);
  EXPECT_EQ(StylesAllowed(kWindow), 2);
  EXPECT_EQ(StylesAllowed(kTextBox), 1);
}

TEST(PanelLayout, FindingCollectionsAndImages) {
  TArbol tree;
  TNodo* root = AnadeNodo({}, "fw", tree, nullptr);
  TNodo* panels = AnadeNodo({}, "PANELS", tree, root);
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

TEST(PanelLayout, CloneIsHeldInsideElementZero) {
  TMHWPanel p = PanelWithMasks({1});
  p.elements[1].x1 = 150;
  p.elements[1].x2 = 200;  // absolute right edge 300: touches element 0's
  p.elements[1].y1 = 0;
  p.elements[1].y2 = 20;
  ASSERT_TRUE(p.ClonaElemento(1));
  HoldInsideElementZero(p, 2);
  EXPECT_EQ(p.elements[2].x1, 150);
  EXPECT_EQ(p.elements[2].x2, 200);
  EXPECT_EQ(p.elements[2].y1, 10);
}

TEST(PanelLayout, DraggingAndResizing) {
  TMHWPanel p = PanelWithMasks({1});
  p.elements[0].x1 = 0;
  p.elements[0].y1 = 0;
  p.elements[1].x1 = 20;
  p.elements[1].y1 = 20;
  p.elements[1].x2 = 60;
  p.elements[1].y2 = 60;
  const std::vector<int> list = {0, 1};

  Grab grab = GrabAt(p, list, 30, 30);
  ASSERT_EQ(grab.element, 1);
  ASSERT_EQ(grab.mode, DragMode::Move);
  struct Case {
    int grid, x, y1_expected;
  } moves[] = {{5, 23, 10}, {1, 23, 13}};
  for (const auto& c : moves) {
    TMHWPanel q = p;
    EXPECT_TRUE(DragTo(q, list, grab, c.x, c.x, c.grid));
    EXPECT_EQ(q.elements[1].x1, c.y1_expected);
    EXPECT_EQ(q.elements[1].x2 - q.elements[1].x1, 40);  // width kept
  }
  TMHWPanel q = p;
  DragTo(q, list, grab, 1000, 1000, 1);  // held inside element 0
  EXPECT_EQ(q.elements[1].x2, 300);
  EXPECT_EQ(q.elements[1].y2, 250);

  Grab top = GrabAt(p, list, 40, 21);
  ASSERT_EQ(top.mode, DragMode::Top);
  q = p;
  DragTo(q, list, top, 40, 59, 1);
  EXPECT_EQ(q.elements[1].y1, 57);  // height 4: y1 = y2 - 3

  Grab bottom = GrabAt(p, list, 150, 250);
  ASSERT_EQ(bottom.element, 0);
  ASSERT_EQ(bottom.mode, DragMode::Bottom);
  q = p;
  DragTo(q, list, bottom, 150, 30, 1);
  EXPECT_EQ(q.elements[0].y2, 60);  // stops at the lowest listed element

  EXPECT_EQ(GrabAt(p, list, 400, 400).element, -1);
}

}  // namespace
}  // namespace corvane
