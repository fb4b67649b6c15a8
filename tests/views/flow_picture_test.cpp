#include "views/flow_picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace views {
namespace {

// Events "Alpha" -> "Beta" (a chain after 5 seconds) and "Lonely <&>" with no edge.
FlowPart ChainPart() {
  FlowGraph graph;
  graph.nodes = {{FlowNodeKind::kEvent, 4, 1, u"Alpha"},
                 {FlowNodeKind::kGoal, 2, 1, u"Beta"},
                 {FlowNodeKind::kEvent, 4, 2, u"Lonely <&>"}};
  graph.edges = {{0, 1, FlowEdgeKind::kChain, u"5"}};
  return WholeFlowPart(graph);
}

// What Graphviz answers for the two linked nodes, in inches, y upwards.
constexpr std::string_view kChainPlain =
    "graph 1 2.5 0.5\n"
    "node n0 0.5 0.25 1 0.30556 \"\" solid box black lightgrey\n"
    "node n1 2 0.25 1 0.30556 \"\" solid box black lightgrey\n"
    "edge n0 n1 4 1 0.25 1.3 0.25 1.6 0.25 1.5 0.25 5 1.25 0.4 solid black\n"
    "stop\n";

struct FakeLayout {
  std::vector<std::string> inputs;
  std::string answer;
  bool ok = true;
  DotLayout Function() {
    return [this](const std::string& dot, std::string& plain, std::string& error) {
      inputs.push_back(dot);
      plain = answer;
      if (!ok) error = "no Graphviz here";
      return ok;
    };
  }
};

TEST(FlowPictureTest, LinkedNodesGoToTheLayoutTheOthersStandApart) {
  FakeLayout layout{{}, std::string(kChainPlain)};
  FlowPicture picture;
  std::string error;
  ASSERT_TRUE(LayOutFlow(ChainPart(), layout.Function(), picture, error)) << error;
  ASSERT_EQ(layout.inputs.size(), 1u);
  const std::string& dot = layout.inputs[0];
  EXPECT_NE(dot.find("rankdir=LR"), std::string::npos);
  EXPECT_NE(dot.find("  n0 [width="), std::string::npos);
  EXPECT_NE(dot.find("  n1 [width="), std::string::npos);
  EXPECT_EQ(dot.find("  n2 "), std::string::npos) << "an unlinked node is not laid out";
  EXPECT_NE(dot.find("  n0 -> n1 [label=\"5\"]"), std::string::npos);

  // Inches become points, y downwards, inside the margin.
  const FlowBox& alpha = picture.boxes[0];
  EXPECT_DOUBLE_EQ(alpha.left, 12);
  EXPECT_NEAR(alpha.top, 30 - 0.30556 * 36, 1e-9);
  EXPECT_DOUBLE_EQ(alpha.width, 72);
  ASSERT_EQ(picture.paths[0].points.size(), 4u);
  EXPECT_EQ(picture.paths[0].points[0], (FlowPoint{84, 30}));
  ASSERT_TRUE(picture.paths[0].labelAt);
  EXPECT_NEAR(picture.paths[0].labelAt->y, (0.5 - 0.4) * 72 + 12, 1e-9);

  // The lonely event stands in its frame under the laid-out part.
  EXPECT_EQ(picture.unlinkedCount, 1u);
  const FlowBox& lonely = picture.boxes[2];
  EXPECT_GE(lonely.top, 0.5 * 72 + 24);
  EXPECT_TRUE(picture.unlinked.Contains(lonely.Center()));
  EXPECT_GE(picture.height, lonely.top + lonely.height);
  EXPECT_GE(picture.width, picture.unlinked.left + picture.unlinked.width);

  EXPECT_EQ(FlowNodeAt(picture, alpha.Center()), 0u);
  EXPECT_EQ(FlowNodeAt(picture, lonely.Center()), 2u);
  EXPECT_FALSE(FlowNodeAt(picture, {1, 1}));
}

// Graphviz writes the edges in its own order; each goes back to its own
// edge by its ends, and edges between the same two nodes in their order.
TEST(FlowPictureTest, EdgesAreMatchedByTheirEnds) {
  FlowGraph graph;
  for (std::uint32_t row = 1; row <= 3; ++row) graph.nodes.push_back({FlowNodeKind::kEvent, 4, row, u"E"});
  graph.edges = {{2, 1, FlowEdgeKind::kTrigger, {}},
                 {0, 1, FlowEdgeKind::kTrigger, {}},
                 {0, 1, FlowEdgeKind::kChain, u"3"},
                 {1, 2, FlowEdgeKind::kAction, {}}};
  const std::string plain =
      "graph 1 3 1\n"
      "node n0 0.5 0.5 1 0.3 \"\" solid box black lightgrey\n"
      "node n1 1.5 0.5 1 0.3 \"\" solid box black lightgrey\n"
      "node n2 2.5 0.5 1 0.3 \"\" solid box black lightgrey\n"
      "edge n0 n1 4 1 0.1 1 0.1 1 0.1 1 0.1 solid black\n"
      "edge n0 n1 4 1 0.2 1 0.2 1 0.2 1 0.2 3 1 0.25 solid black\n"
      "edge n1 n2 4 2 0.3 2 0.3 2 0.3 2 0.3 solid black\n"
      "edge n2 n1 4 2 0.4 2 0.4 2 0.4 2 0.4 solid black\n"
      "stop\n";
  FakeLayout layout{{}, plain};
  FlowPicture picture;
  std::string error;
  ASSERT_TRUE(LayOutFlow(WholeFlowPart(graph), layout.Function(), picture, error)) << error;
  const double top = 12 + 1 * 72;  // y = 0 at the bottom of a one-inch picture
  EXPECT_DOUBLE_EQ(picture.paths[1].points[0].y, top - 0.1 * 72);
  EXPECT_DOUBLE_EQ(picture.paths[2].points[0].y, top - 0.2 * 72);
  EXPECT_TRUE(picture.paths[2].labelAt.has_value());
  EXPECT_FALSE(picture.paths[1].labelAt.has_value());
  EXPECT_DOUBLE_EQ(picture.paths[3].points[0].y, top - 0.3 * 72);
  EXPECT_DOUBLE_EQ(picture.paths[0].points[0].y, top - 0.4 * 72);
}

TEST(FlowPictureTest, WithoutEdgesOrNodesNoLayoutRuns) {
  FakeLayout layout;
  FlowPicture picture;
  std::string error;
  ASSERT_TRUE(LayOutFlow(FlowPart(), layout.Function(), picture, error));
  EXPECT_EQ(mission::ToUtf8(picture.message), "This mission has no events or goals.");
  EXPECT_NE(FlowSvg(picture).find("This mission has no events or goals."), std::string::npos);

  FlowPart lonely = ChainPart();
  lonely.graph.edges.clear();
  ASSERT_TRUE(LayOutFlow(lonely, layout.Function(), picture, error));
  EXPECT_TRUE(layout.inputs.empty());
  EXPECT_EQ(picture.unlinkedCount, 3u);
  for (const FlowBox& box : picture.boxes) EXPECT_TRUE(picture.unlinked.Contains(box.Center()));
  // Side by side, not on top of each other.
  EXPECT_GE(picture.boxes[1].left, picture.boxes[0].left + picture.boxes[0].width);
}

TEST(FlowPictureTest, BrokenLayoutsAreReported) {
  struct Case {
    const char* what;
    bool ok;
    std::string plain;
    std::string error;
  };
  const Case cases[] = {
      {"Graphviz failed", false, "", "no Graphviz here"},
      {"no graph line", true, "stop\n", "the layout gave no picture"},
      {"a bad number", true, "graph 1 x 1\n", "unreadable layout: graph 1 x 1"},
      {"a node missing", true, "graph 1 2 1\nnode n0 1 1 1 1 \"\" solid box black lightgrey\nedge n0 n1 0 solid black\n",
       "the layout lost nodes"},
      {"an edge missing", true, std::string(kChainPlain.substr(0, kChainPlain.find("edge"))), "the layout lost edges"},
      {"a node of another graph", true, "graph 1 2 1\nnode n9 1 1 1 1 \"\" solid box black lightgrey\n",
       "unreadable layout: node n9 1 1 1 1 \"\" solid box black lightgrey"},
      {"too few points", true, "graph 1 2 1\nedge n0 n1 3 1 1\n", "unreadable layout: edge n0 n1 3 1 1"},
      {"an edge between other nodes", true, "graph 1 2 1\nedge n1 n0 0 solid black\n",
       "unreadable layout: edge n1 n0 0 solid black"},
      {"an edge twice", true, "graph 1 2 1\nedge n0 n1 0 solid black\nedge n0 n1 0 solid black\n",
       "unreadable layout: edge n0 n1 0 solid black"},
  };
  for (const Case& c : cases) {
    FakeLayout layout{{}, c.plain, c.ok};
    FlowPicture picture;
    std::string error;
    EXPECT_FALSE(LayOutFlow(ChainPart(), layout.Function(), picture, error)) << c.what;
    EXPECT_EQ(error, c.error) << c.what;
  }
}

TEST(FlowPictureTest, SvgDrawsEachKindInItsOwnWay) {
  FakeLayout layout{{}, std::string(kChainPlain)};
  FlowPicture picture;
  std::string error;
  ASSERT_TRUE(LayOutFlow(ChainPart(), layout.Function(), picture, error)) << error;
  const std::string svg = FlowSvg(picture);
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_NE(svg.find("<title>Alpha</title><rect "), std::string::npos) << "an event is a box";
  EXPECT_NE(svg.find("<title>Beta</title><polygon "), std::string::npos) << "a goal is a hexagon";
  EXPECT_NE(svg.find("<title>Lonely &lt;&amp;&gt;</title>"), std::string::npos);
  EXPECT_NE(svg.find("<path d=\"M84,30 C105.6,30 127.2,30 120,30\""), std::string::npos) << svg;
  EXPECT_NE(svg.find("stroke-dasharray=\"1.5 2.5\""), std::string::npos) << "a chain is dotted";
  EXPECT_NE(svg.find(">5</text>"), std::string::npos) << "with its delay";
  EXPECT_NE(svg.find("Without links (1)"), std::string::npos);
  EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
}

TEST(FlowPictureTest, LabelsFitTheirBoxes) {
  EXPECT_EQ(FitFlowLabel(u"Short", 100), u"Short");
  const Text longName(60, u'W');
  EXPECT_GT(FlowTextWidth(longName), kFlowBoxMaxWidth);
  EXPECT_EQ(FlowBoxWidth(longName), kFlowBoxMaxWidth);
  EXPECT_EQ(FlowBoxWidth(u""), kFlowBoxMinWidth);
  const Text cut = FitFlowLabel(longName, 100);
  EXPECT_EQ(cut.back(), u'\u2026');
  EXPECT_LE(FlowTextWidth(cut), 100);
  EXPECT_GT(FlowTextWidth(cut + u"W"), 100 - FlowTextWidth(u"W"));
  // A character outside the 16-bit range stays whole.
  const Text pairs = u"\U0001F680\U0001F680\U0001F680\U0001F680\U0001F680\U0001F680";
  const Text cutPairs = FitFlowLabel(pairs, 30);
  EXPECT_EQ(cutPairs.size() % 2, 1u);
}

TEST(FlowPictureTest, ArrowHeadsPointAlongTheirPath) {
  FlowPath path;
  path.points = {{0, 0}, {10, 0}, {20, 0}, {30, 0}};
  const std::array<FlowPoint, 3> head = FlowArrowHead(path);
  EXPECT_EQ(head[0], (FlowPoint{30, 0}));
  EXPECT_LT(head[1].x, 30);
  EXPECT_DOUBLE_EQ(head[1].x, head[2].x);
  EXPECT_DOUBLE_EQ(head[1].y, -head[2].y);
  // A path that ends with repeated points still has a direction.
  path.points = {{0, 10}, {0, 20}, {0, 30}, {0, 30}};
  EXPECT_LT(FlowArrowHead(path)[1].y, 30);
}

TEST(FlowPictureTest, CurvesBecomeShortStraightPiecesOnTheCurve) {
  // A quarter-circle-like curve from (0, 0) to (60, 60), then a straight one on to (90, 60).
  const std::vector<FlowPoint> chain = {{0, 0}, {33, 0}, {60, 27}, {60, 60}, {70, 60}, {80, 60}, {90, 60}};
  const std::vector<FlowPoint> line = FlowPolyline(chain);
  ASSERT_GE(line.size(), 10u);
  EXPECT_EQ(line.front(), chain.front());
  EXPECT_EQ(line.back(), chain.back());
  for (std::size_t i = 1; i < line.size(); ++i) {
    EXPECT_LE(std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y), 8.0) << i;
  }
  // The curve's middle, at t = 1/2: (a + 3b + 3c + d) / 8.
  const FlowPoint middle{(0 + 3 * 33 + 3 * 60 + 60) / 8.0, (0 + 0 + 3 * 27 + 60) / 8.0};
  double nearest = 1e9;
  for (const FlowPoint& p : line) nearest = std::min(nearest, std::hypot(p.x - middle.x, p.y - middle.y));
  EXPECT_LT(nearest, 4);
  // Points that are no chain of curves are joined as they are.
  const std::vector<FlowPoint> two = {{0, 0}, {5, 5}};
  EXPECT_EQ(FlowPolyline(two), two);
}

TEST(FlowPictureTest, ToolTipsShowTheFirstLinesOfTheFormula) {
  EXPECT_EQ(FlowToolTip(u"Intro", u"If\r\n True\r\nThen\r\n Go()", 12), u"Intro\nIf\n True\nThen\n Go()");
  EXPECT_EQ(FlowToolTip(u"Intro", u"If\r\n True\r\nThen\r\n Go()", 2), u"Intro\nIf\n True\n\u2026");
  EXPECT_EQ(FlowToolTip(u"Intro", u"", 2), u"Intro");
  EXPECT_EQ(mission::ToUtf8(FlowUnlinkedCaption(3)), "Without links (3)");
}

}  // namespace
}  // namespace views
