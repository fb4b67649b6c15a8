#include "views/flow.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/views/fixture.h"

namespace views {
namespace {

using testing::Lines;
using testing::Load;

// Each edge as «event1 -> event2 trigger», with « 5» after it for a label.
std::vector<std::string> EdgesOf(const FlowGraph& graph) {
  std::vector<std::string> edges;
  for (const FlowEdge& e : graph.edges) {
    std::string text = FlowNodeId(graph.nodes[e.source]) + " -> " + FlowNodeId(graph.nodes[e.target]) + " " +
                       FlowEdgeKindName(e.kind);
    if (!e.label.empty()) text += " " + mission::ToUtf8(e.label);
    edges.push_back(text);
  }
  return edges;
}

// A mission of three events "Alpha", "Beta", "Gamma" and two goals "Guard"
// and "Escort"; `beta` is Beta's formula (with its key) and its further
// lines, `gammaChain` Gamma's "+Chained:" line (none when empty).
std::string EventsMission(std::initializer_list<std::string_view> beta, std::string_view gammaChain = {}) {
  std::string text = Lines({"#Events", "$Formula: ( when ( true ) ( do-nothing ) )", "+Name: Alpha"});
  for (const std::string_view line : beta) text += std::string(line) + "\r\n";
  text += Lines({"+Name: Beta", "+Repeat Count: 1", "$Formula: ( true )", "+Name: Gamma"});
  if (!gammaChain.empty()) text += std::string(gammaChain) + "\r\n";
  text += Lines({"#Goals", "$Type: Primary", "+Name: Guard", "$Formula: ( true )", "$Type: Secondary",
                 "+Name: Escort", "$Formula: ( true )"});
  return text;
}

TEST(FlowGraphTest, EdgesOfEachRule) {
  struct Case {
    const char* what;
    std::initializer_list<std::string_view> beta;
    std::vector<std::string> edges;
  };
  const Case cases[] = {
      {"an event waited on", {"$Formula: ( when ( is-event-true-delay \"Alpha\" 0 ) ( do-nothing ) )"},
       {"event1 -> event2 trigger"}},
      {"a goal waited on", {"$Formula: ( is-goal-false-delay \"Escort\" 5 )"}, {"goal2 -> event2 trigger"}},
      {"incomplete, msecs", {"$Formula: ( and ( is-event-incomplete \"Gamma\" ) ( is-event-true-msecs-delay \"Alpha\" 10 ) )"},
       {"event3 -> event2 trigger", "event1 -> event2 trigger"}},
      {"the event that cancels a message chain",
       {"$Formula: ( when ( true ) ( send-message-chain \"Gamma\" \"#Command\" \"High\" \"Alpha\" 0 ) )"},
       {"event3 -> event2 trigger"}},
      {"resets and validations are actions",
       {"$Formula: ( when ( true ) ( reset-event \"Alpha\" \"Gamma\" )",
        "   ( reset-goal \"Guard\" ) ( validate-goal \"Escort\" ) ( invalidate-goal \"Guard\" ) )"},
       {"event2 -> event1 action", "event2 -> event3 action", "event2 -> goal1 action", "event2 -> goal2 action"}},
      {"the previous mission's events and goals", {"$Formula: ( and ( is-previous-event-true \"m1.fs2\" \"Alpha\" )",
                                                   "   ( is-previous-goal-false \"m1.fs2\" \"Guard\" ) )"},
       {}},
      {"names ignore case, operators too", {"$Formula: ( IS-EVENT-TRUE-DELAY \"gAMMA\" 0 )"}, {"event3 -> event2 trigger"}},
      {"a name of nothing", {"$Formula: ( is-event-true-delay \"Delta\" 0 )"}, {}},
      {"a name of the wrong kind", {"$Formula: ( is-event-true-delay \"Guard\" 0 )"}, {}},
      {"naming itself is a loop", {"$Formula: ( is-event-false-delay \"Beta\" 0 )"}, {"event2 -> event2 trigger"}},
      {"two uses of one name are one edge",
       {"$Formula: ( when ( is-event-true-delay \"Alpha\" 0 ) ( reset-event \"Alpha\" ) ( is-event-true-delay \"alpha\" 9 ) )"},
       {"event1 -> event2 trigger", "event2 -> event1 action"}},
      {"variables and arguments are no names",
       {"$Formula: ( and ( is-event-true-delay \"@Which[Alpha]\" 0 ) ( is-event-true-delay \"<argument>\" 0 ) )"},
       {}},
      {"brackets inside a quoted name are text",
       {"$Formula: ( and ( is-event-true-delay \"x))\" 0 ) ( is-event-true-delay \"Gamma\" 0 ) )"},
       {"event3 -> event2 trigger"}},
      {"nothing past a formula's last bracket",
       {"$Formula: ( is-event-true-delay \"Alpha\" 0 ) )", "( is-event-true-delay \"Gamma\" 0 )"},
       {"event1 -> event2 trigger"}},
      {"a formula left open ends at the next field",
       {"$Formula: ( when ( is-event-true-delay \"Alpha\" 0 )", "   ( do-nothing )", "+Interval: 1",
        "   ( is-event-true-delay \"Gamma\" 0 ) )"},
       {"event1 -> event2 trigger"}},
  };
  for (const Case& c : cases) {
    const mission::Mission m = Load(EventsMission(c.beta));
    EXPECT_EQ(EdgesOf(BuildFlowGraph(m)), c.edges) << c.what;
  }
}

TEST(FlowGraphTest, ChainedEventsWaitOnTheEventBefore) {
  struct Case {
    std::string_view chain;
    std::vector<std::string> edges;
  };
  const Case cases[] = {
      {"+Chained: 0", {"event2 -> event3 chain"}},
      {"+Chained: 5", {"event2 -> event3 chain 5"}},
      {"+Chained:", {"event2 -> event3 chain"}},
      {"+Chained: 12.5 ", {"event2 -> event3 chain 12.5"}},
  };
  for (const Case& c : cases) {
    const mission::Mission m = Load(EventsMission({"$Formula: ( true )"}, c.chain));
    EXPECT_EQ(EdgesOf(BuildFlowGraph(m)), c.edges) << c.chain;
  }
  // The first event has no event before it.
  const mission::Mission first = Load(Lines({"#Events", "$Formula: ( true )", "+Name: Only", "+Chained: 3"}));
  EXPECT_TRUE(BuildFlowGraph(first).edges.empty());
}

TEST(FlowGraphTest, NodesAreTheRowsOfEventsAndGoals) {
  const mission::Mission m = Load(Lines({
      "#Events",
      "$Formula: ( is-goal-true-delay \"guard\" 0 )",
      "+Name: Alpha",
      "+Name: Dup",  // no formula of its own
      "$Formula: ( is-event-true-delay \"dup\" 0 )",
      "+Name: Dup",  // the same name again: the first is the one named
      "#Goals",
      "$Type: Primary",
      "+Name: Guard \"A\"\\B",
      "$Type: Primary",
      "+Name: Guard",
      "$Formula: ( is-event-true-delay \"Alpha\" 0 )",
  }));
  const FlowGraph graph = BuildFlowGraph(m);
  ASSERT_EQ(graph.nodes.size(), 5u);
  EXPECT_EQ(graph.nodes[1].kind, FlowNodeKind::kEvent);
  EXPECT_EQ(graph.nodes[1].row, 2u);
  EXPECT_EQ(graph.nodes[1].mode, 4);
  EXPECT_EQ(graph.nodes[4].kind, FlowNodeKind::kGoal);
  EXPECT_EQ(graph.nodes[4].row, 2u);
  EXPECT_EQ(graph.nodes[4].mode, 2);
  // Goal 1 is not "guard": the name "Guard \"A\"\\B" only begins so.
  EXPECT_EQ(EdgesOf(graph), (std::vector<std::string>{"goal2 -> event1 trigger", "event2 -> event3 trigger",
                                                       "event1 -> goal2 trigger"}));
  EXPECT_EQ(FlowDot(graph),
            "digraph mission {\n"
            "  event1 [label=\"Alpha\"]\n"
            "  event2 [label=\"Dup\"]\n"
            "  event3 [label=\"Dup\"]\n"
            "  goal1 [label=\"Guard \\\"A\\\"\\\\B\"]\n"
            "  goal2 [label=\"Guard\"]\n"
            "  goal2 -> event1 [kind=trigger]\n"
            "  event2 -> event3 [kind=trigger]\n"
            "  event1 -> goal2 [kind=trigger]\n"
            "}\n");
  EXPECT_EQ(FindFlowNode(graph, 2, 2), 4u);
  EXPECT_EQ(FindFlowNode(graph, 4, 3), 2u);
  EXPECT_FALSE(FindFlowNode(graph, 4, 4));
  EXPECT_FALSE(FindFlowNode(graph, 6, 1));
}

TEST(FlowGraphTest, DotOfAChainLabelsItsDelay) {
  const mission::Mission m = Load(EventsMission({"$Formula: ( true )"}, "+Chained: 7"));
  const std::string dot = FlowDot(BuildFlowGraph(m));
  EXPECT_NE(dot.find("  event2 -> event3 [kind=chain, label=\"7\"]\n"), std::string::npos) << dot;
}

TEST(FlowGraphTest, NoEventsGiveAnEmptyGraph) {
  for (const std::string& text : {std::string(), Lines({"#Mission Info", "$Name: Empty"}), Lines({"#Events"})}) {
    const FlowGraph graph = BuildFlowGraph(Load(text));
    EXPECT_TRUE(graph.nodes.empty());
    EXPECT_EQ(FlowDot(graph), "digraph mission {\n}\n");
  }
}

TEST(FlowGraphTest, CuesThatWaitOnEventsAddShipsAndWings) {
  const std::string text = Lines({
      "#Objects",
      "$Name: Alpha 1",
      "$Arrival Cue: ( is-event-true-delay \"Go\" 0 )",
      "$Departure Cue: ( and ( is-goal-true-delay \"Guard\" 0 )",
      "   ( is-event-true-delay \"Go\" 0 ) )",
      "$Name: Alpha 2",
      "$Arrival Cue: ( true )",
      "#Wings",
      "$Name: Beta",
      "$Arrival Cue: ( is-destroyed-delay 0 \"Alpha 1\" )",
      "$Name: Gamma",
      "$Arrival Cue: ( is-event-false-delay \"go\" 0 )",
      "#Events",
      "$Formula: ( true )",
      "+Name: Go",
      "#Goals",
      "$Type: Primary",
      "+Name: Guard",
  });
  const mission::Mission m = Load(text);
  EXPECT_EQ(BuildFlowGraph(m).nodes.size(), 2u);  // off by default
  const FlowGraph graph = BuildFlowGraph(m, {.cues = true});
  EXPECT_EQ(EdgesOf(graph),
            (std::vector<std::string>{"event1 -> ship1 trigger", "goal1 -> ship1 trigger", "event1 -> wing2 trigger"}));
  ASSERT_EQ(graph.nodes.size(), 4u);
  EXPECT_EQ(mission::ToUtf8(graph.nodes[2].label), "Alpha 1");
  EXPECT_EQ(graph.nodes[2].mode, 6);
  EXPECT_EQ(graph.nodes[3].mode, 7);
  EXPECT_EQ(FindFlowNode(graph, 7, 2), 3u);
}

TEST(FlowArgumentTest, OnlyEventAndGoalNamesOfTheNamedOperators) {
  struct Case {
    const char* op;
    int position;
    FlowUse use;
    bool goal;
  };
  const Case cases[] = {
      {"is-event-true-delay", 1, FlowUse::kTrigger, false}, {"is-event-true-delay", 2, FlowUse::kNone, false},
      {"is-goal-incomplete", 1, FlowUse::kTrigger, true},   {"send-message-chain", 1, FlowUse::kTrigger, false},
      {"send-message-chain", 4, FlowUse::kNone, false},     {"reset-event", 3, FlowUse::kAction, false},
      {"invalidate-goal", 2, FlowUse::kAction, true},       {"is-previous-event-true", 2, FlowUse::kNone, false},
      {"is-previous-goal-incomplete", 1, FlowUse::kNone, false}, {"is-destroyed-delay", 2, FlowUse::kNone, false},
  };
  for (const Case& c : cases) {
    const sexp::Operator* op = sexp::FindOperator(std::string_view(c.op));
    ASSERT_NE(op, nullptr) << c.op;
    const FlowArgument a = FlowArgumentOf(*op, c.position);
    EXPECT_EQ(a.use, c.use) << c.op << " " << c.position;
    if (a.use != FlowUse::kNone) {
      EXPECT_EQ(a.goal, c.goal) << c.op;
    }
  }
}

// Nodes named by their labels; edges a -> b.
FlowGraph Graph(std::initializer_list<const char*> nodes, std::initializer_list<std::pair<int, int>> edges) {
  FlowGraph graph;
  std::uint32_t row = 0;
  for (const char* n : nodes) graph.nodes.push_back({FlowNodeKind::kEvent, 4, ++row, mission::FromUtf8(n)});
  for (const auto& [a, b] : edges) {
    graph.edges.push_back({static_cast<std::uint32_t>(a), static_cast<std::uint32_t>(b), FlowEdgeKind::kTrigger, {}});
  }
  return graph;
}

std::vector<std::string> Labels(const FlowGraph& graph, const std::vector<std::uint32_t>& nodes) {
  std::vector<std::string> labels;
  for (const std::uint32_t n : nodes) labels.push_back(mission::ToUtf8(graph.nodes[n].label));
  return labels;
}

TEST(FlowNeighbourhoodTest, NearestFirstBothWaysWithinTheSteps) {
  // a -> b -> c -> d, e -> b, c -> f -> g, and h alone; b -> c twice over
  // other kinds must not list c twice.
  FlowGraph graph = Graph({"a", "b", "c", "d", "e", "f", "g", "h"}, {{0, 1}, {1, 2}, {2, 3}, {4, 1}, {2, 5}, {5, 6}});
  graph.edges.push_back({1, 2, FlowEdgeKind::kAction, {}});
  const FlowAdjacency adjacency = BuildFlowAdjacency(graph);
  struct Case {
    std::uint32_t center;
    unsigned steps;
    std::size_t limit;
    std::vector<std::string> nodes;
    std::size_t more;
    std::vector<std::string> cut;
  };
  const Case cases[] = {
      {1, 1, 300, {"b", "c", "a", "e"}, 0, {}},
      {1, 2, 300, {"b", "c", "a", "e", "d", "f"}, 0, {}},
      {1, 3, 300, {"b", "c", "a", "e", "d", "f", "g"}, 0, {}},
      // What reaches c does not lead on forward: a and e reach it, d does not.
      {2, 2, 300, {"c", "d", "f", "b", "g", "a", "e"}, 0, {}},
      {1, 2, 3, {"b", "c", "a"}, 3, {"b", "c"}},
      {7, 2, 300, {"h"}, 0, {}},
      {3, 0, 300, {"d"}, 0, {}},
  };
  for (const Case& c : cases) {
    const FlowNeighbourhood n = FindNeighbourhood(graph, adjacency, c.center, c.steps, c.limit);
    EXPECT_EQ(Labels(graph, n.nodes), c.nodes) << c.center << " " << c.steps;
    EXPECT_EQ(n.more, c.more) << c.center << " " << c.steps;
    EXPECT_EQ(Labels(graph, n.cut), c.cut) << c.center << " " << c.steps;
  }
}

TEST(FlowNeighbourhoodTest, PartKeepsItsEdgesAndSaysHowManyMore) {
  // A hub named by five others.
  const FlowGraph graph = Graph({"hub", "1", "2", "3", "4", "5"}, {{0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 5}, {1, 2}});
  const FlowAdjacency adjacency = BuildFlowAdjacency(graph);
  const FlowPart part = NeighbourhoodPart(graph, adjacency, FindNeighbourhood(graph, adjacency, 0, 2, 3));
  std::vector<std::string> labels;
  for (const FlowNode& n : part.graph.nodes) labels.push_back(mission::ToUtf8(n.label));
  EXPECT_EQ(labels, (std::vector<std::string>{"hub", "1", "2", "+3 more"}));
  EXPECT_EQ(part.graph.nodes.back().kind, FlowNodeKind::kMore);
  EXPECT_EQ(part.origin, (std::vector<std::uint32_t>{0, 1, 2, FlowPart::kNoOrigin}));
  ASSERT_EQ(part.graph.edges.size(), 4u);
  EXPECT_EQ(part.graph.edges[2].source, 1u);  // 1 -> 2 kept, in the graph's order
  EXPECT_EQ(part.graph.edges[2].target, 2u);
  EXPECT_EQ(part.graph.edges[3].kind, FlowEdgeKind::kMore);
  EXPECT_EQ(part.graph.edges[3].source, 0u);

  const FlowPart whole = NeighbourhoodPart(graph, adjacency, FindNeighbourhood(graph, adjacency, 0, 2));
  EXPECT_EQ(whole.graph.nodes.size(), 6u);
  EXPECT_EQ(whole.graph.edges.size(), 6u);
}

TEST(FlowModeTest, WholeUpToFourHundredNeighbourhoodAboveFiveThousandAlways) {
  struct Case {
    FlowChoice choice;
    std::size_t count;
    FlowMode mode;
  };
  const Case cases[] = {
      {FlowChoice::kAutomatic, 0, FlowMode::kWhole},       {FlowChoice::kAutomatic, 400, FlowMode::kWhole},
      {FlowChoice::kAutomatic, 401, FlowMode::kNeighbourhood}, {FlowChoice::kWhole, 5000, FlowMode::kWhole},
      {FlowChoice::kWhole, 5001, FlowMode::kNeighbourhood},    {FlowChoice::kNeighbourhood, 3, FlowMode::kNeighbourhood},
  };
  for (const Case& c : cases) EXPECT_EQ(FlowModeFor(c.choice, c.count), c.mode) << c.count;
}

}  // namespace
}  // namespace views
