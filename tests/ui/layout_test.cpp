#include "ui/rules/layout.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ui {
namespace {

LayoutInput Loaded(double W, double H) {
  LayoutInput in;
  in.outerWidth = W;
  in.outerHeight = H;
  in.treeButtonPressed = true;
  in.hasFormulas = true;
  in.missionLoaded = true;
  return in;
}

void ExpectBox(const Box& box, double left, double top, double width, double height) {
  EXPECT_DOUBLE_EQ(box.left, left);
  EXPECT_DOUBLE_EQ(box.top, top);
  EXPECT_DOUBLE_EQ(box.width, width);
  EXPECT_DOUBLE_EQ(box.height, height);
}

TEST(Layout, GeometryWithTreeAndBothCodeWindows) {
  for (const auto& [W, H] : {std::pair{15000.0, 11000.0}, std::pair{20010.0, 12345.0}}) {
    SCOPED_TRACE(W);
    const Panes p = Form_Resize(Loaded(W, H), Panes{}).panes;
    ExpectBox(p.barLeft, 60, 540, 1215, H - 1500);
    ExpectBox(p.barTop, 1320, 540, W - 1515, 495);
    ExpectBox(p.tree, 1320, 1080, 3615, H - 2055);
    ExpectBox(p.list, 4995, 1080, W - 5130, H - 6510);
    ExpectBox(p.codeLeft, 4995, H - 5355, (W - 5190) / 2, 4395);
    ExpectBox(p.codeRight, 4995 + (W - 5130) / 2 + 30, H - 5355, (W - 5190) / 2, 4395);
    EXPECT_TRUE(p.tree.visible && p.list.visible && p.codeLeft.visible && p.codeRight.visible);
    EXPECT_TRUE(p.reportView && p.modesEnabled && p.codeEntriesEnabled && p.collapseEnabled);
  }
}

TEST(Layout, HiddenTreeGivesItsPlaceToListAndCodeWindows) {
  const double W = 15000, H = 11000;
  LayoutInput in = Loaded(W, H);
  in.treeButtonPressed = false;
  const Panes p = Form_Resize(in, Panes{}).panes;
  EXPECT_FALSE(p.tree.visible);
  EXPECT_FALSE(p.treeChecked);
  EXPECT_FALSE(p.collapseEnabled);
  ExpectBox(p.list, 1320, 1080, W - 5130 + 3675, H - 6510);
  EXPECT_DOUBLE_EQ(p.codeLeft.left, 1320);
  EXPECT_DOUBLE_EQ(p.codeLeft.width, (W - 5190 + 3675) / 2);
}

TEST(Layout, FindBarTakesTheTopOfTheListInItsWidth) {
  const double W = 15000, H = 11000;
  for (const bool tree : {true, false}) {
    SCOPED_TRACE(tree);
    LayoutInput in = Loaded(W, H);
    in.treeButtonPressed = tree;
    in.findBarShown = true;
    const Panes open = Form_Resize(in, Panes{}).panes;
    in.findBarShown = false;
    const Panes closed = Form_Resize(in, open).panes;
    EXPECT_TRUE(open.findBar.visible);
    EXPECT_FALSE(closed.findBar.visible);
    ExpectBox(open.findBar, closed.list.left, 1080, closed.list.width, 375);
    ExpectBox(open.list, closed.list.left, 1080 + 375 + 60, closed.list.width, closed.list.height - 375 - 60);
    ExpectBox(closed.list, closed.list.left, 1080, closed.list.width, H - 6510);
    // Nothing else moves.
    EXPECT_EQ(open.tree, closed.tree);
    EXPECT_EQ(open.codeLeft, closed.codeLeft);
    EXPECT_EQ(open.codeRight, closed.codeRight);
  }
}

TEST(Layout, IconSlotsRoundTwiceHalvesToEven) {
  const struct {
    double barHeight;
    int slots;
  } cases[] = {{1440, 1}, {1920, 2}, {2880, 2}, {3840, 4}, {480, 1}, {0, 1}, {-900, 1}, {8160, 8}};
  for (const auto& c : cases) EXPECT_EQ(IconSlots(c.barHeight), c.slots) << c.barHeight;
}

TEST(Layout, IconsFromFirstIconIndexAndScrollButtons) {
  const struct {
    int first;
    int slots;
    int shownFrom, shownTo;
    bool up, down;
  } cases[] = {
      {1, 13, 1, 13, false, false},
      {1, 4, 1, 4, false, true},
      {3, 4, 3, 6, true, true},
      {9, 4, 9, 12, true, true},
      {10, 4, 10, 13, true, false},
      // Scrolled, then enlarged: the bar scrolls back so that no slot stays
      // empty, and shows every icon from the first once all fit.
      {10, 6, 8, 13, true, false},
      {3, 12, 2, 13, true, false},
      {3, 13, 1, 13, false, false},
      {8, 16, 1, 13, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first * 10 + c.slots);
    const double barHeight = 480 + 960.0 * c.slots;
    LayoutInput in = Loaded(15000, barHeight + 1500);
    in.firstIconIndex = c.first;
    const Panes p = Form_Resize(in, Panes{}).panes;
    for (int i = 1; i <= views::kModeCount; ++i) {
      const bool shown = i >= c.shownFrom && i <= c.shownTo;
      EXPECT_EQ(p.iconVisible[i], shown) << i;
      if (shown) {
        EXPECT_DOUBLE_EQ(p.iconTop[i], (i - c.shownFrom) * 960 + 240) << i;
      }
    }
    EXPECT_EQ(p.firstIconIndex, c.shownFrom);
    EXPECT_EQ(p.upVisible, c.up);
    EXPECT_EQ(p.downVisible, c.down);
    EXPECT_DOUBLE_EQ(p.downTop, barHeight - 255);
  }
}

TEST(Layout, NoMissionShowsNoIconsAndLargeIconList) {
  LayoutInput in = Loaded(15000, 11000);
  in.missionLoaded = false;
  Panes before;
  before.iconVisible.fill(true);
  before.upVisible = before.downVisible = before.modesEnabled = before.reportView = true;
  const LayoutResult r = Form_Resize(in, before);
  for (int i = 1; i <= views::kModeCount; ++i) EXPECT_FALSE(r.panes.iconVisible[i]);
  EXPECT_FALSE(r.panes.upVisible || r.panes.downVisible || r.panes.modesEnabled || r.panes.reportView);
  EXPECT_TRUE(r.clearTitle);
  EXPECT_FALSE(Form_Resize(Loaded(15000, 11000), before).clearTitle);
}

TEST(Layout, WithoutFormulasCodeWindowsHideAndListKeepsFullHeight) {
  LayoutInput in = Loaded(15000, 11000);
  in.hasFormulas = false;
  in.leftCodeHidden = true;
  const Panes p = Form_Resize(in, Panes{}).panes;
  EXPECT_FALSE(p.codeLeft.visible);
  EXPECT_FALSE(p.codeRight.visible);
  EXPECT_DOUBLE_EQ(p.list.height, 11000 - 1500 - 495 - 60);
  EXPECT_FALSE(p.codeEntriesEnabled);
  EXPECT_FALSE(p.codeLeftChecked);  // check marks keep the user's choice
  EXPECT_TRUE(p.codeRightChecked);
}

TEST(Layout, CodeWindowChoices) {
  const double W = 15000, H = 11000;
  const double w = W - 5130;
  {
    LayoutInput in = Loaded(W, H);
    in.leftCodeHidden = true;
    const Panes p = Form_Resize(in, Panes{}).panes;
    EXPECT_FALSE(p.codeLeft.visible);
    EXPECT_TRUE(p.codeRight.visible);
    EXPECT_DOUBLE_EQ(p.codeRight.left, 4995);
    EXPECT_DOUBLE_EQ(p.codeRight.width, w);
    EXPECT_DOUBLE_EQ(p.list.height, H - 6510);
  }
  {
    LayoutInput in = Loaded(W, H);
    in.leftCodeHidden = in.rightCodeHidden = true;
    const Panes p = Form_Resize(in, Panes{}).panes;
    EXPECT_FALSE(p.codeLeft.visible || p.codeRight.visible);
    EXPECT_DOUBLE_EQ(p.list.height, H - 2055);  // no room made for code windows
  }
}

TEST(Layout, NarrowWindowKeepsWidthsItCannotSet) {
  // w = W - 240 - 1215 - 3615 - 60 = 60: the code windows are not touched.
  const double W = 5190;
  Panes before;
  before.codeLeft.width = 777;
  before.codeRight.width = 888;
  LayoutInput in = Loaded(W, 11000);
  in.rightCodeHidden = true;
  const Panes p = Form_Resize(in, before).panes;
  EXPECT_DOUBLE_EQ(p.list.width, 60);
  EXPECT_DOUBLE_EQ(p.codeLeft.width, 777);
  EXPECT_TRUE(p.codeRight.visible);  // the switched-off window is not hidden by this call
  EXPECT_DOUBLE_EQ(p.codeRight.width, 888);

  // w <= 0 leaves the list's width as it was.
  const Panes q = Form_Resize(Loaded(4000, 11000), p).panes;
  EXPECT_DOUBLE_EQ(q.list.width, 60);
}

TEST(Layout, LowWindowKeepsHeightsItCannotSet) {
  const Panes normal = Form_Resize(Loaded(15000, 11000), Panes{}).panes;
  const Panes low = Form_Resize(Loaded(15000, 1000), normal).panes;
  EXPECT_DOUBLE_EQ(low.barLeft.height, normal.barLeft.height);
  EXPECT_DOUBLE_EQ(low.tree.height, normal.tree.height);
  EXPECT_DOUBLE_EQ(low.codeLeft.top, 1000 - 4395 - 960);  // positions may go negative
}

TEST(Layout, TreeSettingWrittenOnlyWhenVisibilityChanges) {
  LayoutInput in = Loaded(15000, 11000);
  in.treeButtonPressed = false;
  // The design state shows the tree: the first layout hides it and says so.
  LayoutResult r = Form_Resize(in, Panes{});
  ASSERT_TRUE(r.treeSetting.has_value());
  EXPECT_FALSE(*r.treeSetting);
  r = Form_Resize(in, r.panes);
  EXPECT_FALSE(r.treeSetting.has_value());
  EXPECT_EQ(Form_Resize(in, r.panes).panes, r.panes);  // idempotent

  in.treeButtonPressed = true;
  r = Form_Resize(in, r.panes);
  ASSERT_TRUE(r.treeSetting.has_value());
  EXPECT_TRUE(*r.treeSetting);
}

TEST(Layout, DetailsOfShipsWingsAndMessagesTakeThePaneUnderTheList) {
  const double W = 15000, H = 11000;
  LayoutInput in = Loaded(W, H);
  in.hasFormulas = false;
  const Panes withFormula = Form_Resize(Loaded(W, H), Panes{}).panes;

  // Cues show in the code windows, placed as for a formula.
  in.details = Details::kCues;
  const Panes cues = Form_Resize(in, Panes{}).panes;
  EXPECT_EQ(cues.codeLeft, withFormula.codeLeft);
  EXPECT_EQ(cues.codeRight, withFormula.codeRight);
  EXPECT_EQ(cues.list, withFormula.list);
  EXPECT_TRUE(cues.codeEntriesEnabled);
  EXPECT_FALSE(cues.messagePane.visible);

  // A message takes both code windows' place in the list's width.
  in.details = Details::kMessage;
  const Panes message = Form_Resize(in, Panes{}).panes;
  EXPECT_FALSE(message.codeLeft.visible || message.codeRight.visible || message.codeEntriesEnabled);
  EXPECT_TRUE(message.messagePane.visible);
  ExpectBox(message.messagePane, 4995, H - 5355, W - 5130, 4395);
  EXPECT_EQ(message.list, withFormula.list);

  // With both code windows switched off the cues have nowhere to go; the
  // message pane is no code window and stays.
  in.leftCodeHidden = in.rightCodeHidden = true;
  in.details = Details::kCues;
  EXPECT_DOUBLE_EQ(Form_Resize(in, Panes{}).panes.list.height, H - 2055);
  in.details = Details::kMessage;
  EXPECT_TRUE(Form_Resize(in, Panes{}).panes.messagePane.visible);
  EXPECT_DOUBLE_EQ(Form_Resize(in, Panes{}).panes.list.height, H - 6510);
}

// A briefing or debriefing stage: its text above its formula, together in
// the pane under the list; with both code windows off the text takes it all.
TEST(Layout, StageTextAboveItsFormula) {
  const double W = 15000, H = 11000;
  LayoutInput in = Loaded(W, H);
  in.details = Details::kStage;
  const Panes p = Form_Resize(in, Panes{}).panes;
  const double top = H - 5355, text = std::round(4395 * 0.55);
  EXPECT_TRUE(p.messagePane.visible && p.codeLeft.visible && p.codeRight.visible);
  ExpectBox(p.messagePane, 4995, top, W - 5130, text);
  ExpectBox(p.codeLeft, 4995, top + text + 60, (W - 5190) / 2, 4395 - text - 60);
  EXPECT_DOUBLE_EQ(p.codeRight.top, p.codeLeft.top);
  EXPECT_EQ(p.list, Form_Resize(Loaded(W, H), Panes{}).panes.list);
  // The boundary under the list lies above the text, not above the formula.
  EXPECT_DOUBLE_EQ(p.listBoundary.top + p.listBoundary.height, top);

  in.leftCodeHidden = in.rightCodeHidden = true;
  const Panes alone = Form_Resize(in, Panes{}).panes;
  EXPECT_FALSE(alone.codeLeft.visible || alone.codeRight.visible);
  ExpectBox(alone.messagePane, 4995, top, W - 5130, 4395);
}

TEST(Layout, DraggedTreeWidthWithinLimits) {
  const double W = 15000, H = 11000;
  const double room = W - 240 - 1215;  // for tree, gap and list
  struct Case {
    double dragged, width;
  };
  const Case cases[] = {{5000, 5000}, {100, kTreeMinWidth}, {50000, room - 60 - kListMinWidth}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dragged);
    LayoutInput in = Loaded(W, H);
    in.treeWidth = c.dragged;
    const Panes p = Form_Resize(in, Panes{}).panes;
    EXPECT_DOUBLE_EQ(p.tree.width, c.width);
    EXPECT_DOUBLE_EQ(p.list.left, 1320 + c.width + 60);
    EXPECT_DOUBLE_EQ(p.list.width, room - c.width - 60);
    EXPECT_DOUBLE_EQ(p.codeLeft.left, p.list.left);
    ExpectBox(p.treeBoundary, 1320 + c.width, 1080, 60, H - 2055);
    EXPECT_TRUE(p.treeBoundary.visible);
  }
  // Hidden, the tree leaves its place and its boundary to the list.
  LayoutInput in = Loaded(W, H);
  in.treeWidth = 5000;
  in.treeButtonPressed = false;
  const Panes hidden = Form_Resize(in, Panes{}).panes;
  EXPECT_DOUBLE_EQ(hidden.list.left, 1320);
  EXPECT_FALSE(hidden.treeBoundary.visible);
}

TEST(Layout, DraggedListHeightWithinLimits) {
  const double W = 15000, H = 11000;
  const double full = H - 2055;  // list, gap and the pane under it
  struct Case {
    double dragged, minimum, height;
  };
  const Case cases[] = {
      {3000, 900, 3000},
      {100, 900, 900},                                         // three rows at least
      {50000, 900, full - 60 - kLowerMinHeight},               // the pane under it keeps half an inch
      {50000, full, full - 60},                                // three rows before that, within the window
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dragged);
    LayoutInput in = Loaded(W, H);
    in.listHeight = c.dragged;
    in.listMinHeight = c.minimum;
    const Panes p = Form_Resize(in, Panes{}).panes;
    EXPECT_DOUBLE_EQ(p.list.height, c.height);
    const double lower = full - 60 - c.height;
    ExpectBox(p.codeLeft, 4995, 1080 + c.height + 75, (W - 5190) / 2, lower);
    EXPECT_DOUBLE_EQ(p.codeRight.top, p.codeLeft.top);
    EXPECT_DOUBLE_EQ(p.codeRight.height, lower);
    EXPECT_DOUBLE_EQ(p.codeLeft.top + p.codeLeft.height, H - 960);  // the bottom stays
    ExpectBox(p.listBoundary, 4995, 1080 + c.height, W - 5130, 75);
    EXPECT_TRUE(p.listBoundary.visible);
  }
  // The find bar takes from the list, which keeps its three rows below it.
  LayoutInput in = Loaded(W, H);
  in.listHeight = 1000;
  in.listMinHeight = 900;
  in.findBarShown = true;
  const Panes find = Form_Resize(in, Panes{}).panes;
  EXPECT_DOUBLE_EQ(find.list.height, 900);
  EXPECT_DOUBLE_EQ(find.codeLeft.top, 1080 + 375 + 60 + 900 + 75);
  // A message pane follows the same boundary; without a pane under it the
  // list takes the whole height and shows no boundary.
  in.findBarShown = false;
  in.hasFormulas = false;
  in.details = Details::kMessage;
  EXPECT_DOUBLE_EQ(Form_Resize(in, Panes{}).panes.messagePane.height, full - 60 - 1000);
  in.details = Details::kNone;
  const Panes none = Form_Resize(in, Panes{}).panes;
  EXPECT_DOUBLE_EQ(none.list.height, full);
  EXPECT_FALSE(none.listBoundary.visible);
}

TEST(Layout, WithoutDraggedBoundariesTheDesignLayoutReturns) {
  LayoutInput in = Loaded(15000, 11000);
  const Panes design = Form_Resize(in, Panes{}).panes;
  in.treeWidth = 6000;
  in.listHeight = 2000;
  const Panes dragged = Form_Resize(in, Panes{}).panes;
  EXPECT_NE(dragged.tree, design.tree);
  EXPECT_NE(dragged.codeLeft, design.codeLeft);
  in.treeWidth.reset();
  in.listHeight.reset();
  EXPECT_EQ(Form_Resize(in, dragged).panes, design);
}

TEST(Layout, RoundHalfEven) {
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(3.5), 4);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(1.4), 1);
}

}  // namespace
}  // namespace ui
