// The event flow graph: which event or goal waits on which, and which resets
// or validates which, read from the formulas of a mission.
//
// One node per event (in the order of the Events view) and per goal (in the
// order of the Goals view), and, when asked for, one per ship or wing whose
// arrival or departure cue waits on an event or goal. Edges, one per
// (source, target, kind), in the order they are first met, event after event,
// then goal after goal, then the cues:
//   trigger X -> E  E's formula names X as the event or goal argument of an
//                   is-event-* or is-goal-* operator, or as the first
//                   argument of send-message-chain (the event that cancels
//                   the chain);
//   action  E -> X  E's formula names X in reset-event, reset-goal,
//                   validate-goal or invalidate-goal;
//   chain   P -> E  E is chained: it runs only once P, the event before it,
//                   is true; labelled with the chain's delay unless it is 0.
// The is-previous-* operators name the previous mission's events and goals
// and give no edge. Names resolve as the game resolves them: ignoring the
// case of A-Z, the first entry of that name; a name of nothing gives no edge.
// A formula's edges end where the formula ends: at the bracket that closes
// it, or before the next field line when it never closes.
//
// Everything here is a pure function of the loaded mission.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "mission/mission.h"
#include "sexp/operators.h"
#include "views/list.h"

namespace views {

// What a node stands for. kMore is the "+K more" of a neighbourhood that
// stopped at its limit; it stands for no entry of the mission.
enum class FlowNodeKind : std::uint8_t { kEvent, kGoal, kShip, kWing, kMore };
// kMore joins a node to the "+K more" node.
enum class FlowEdgeKind : std::uint8_t { kTrigger, kAction, kChain, kMore };

struct FlowNode {
  FlowNodeKind kind = FlowNodeKind::kEvent;
  int mode = 0;           // the view that lists it (0 for kMore)
  std::uint32_t row = 0;  // its row there, 1-based, in file order
  Text label;             // the Name column of that view
};

struct FlowEdge {
  std::uint32_t source = 0;
  std::uint32_t target = 0;
  FlowEdgeKind kind = FlowEdgeKind::kTrigger;
  Text label;  // a chain's delay, when it is not 0
};

struct FlowGraph {
  std::vector<FlowNode> nodes;
  std::vector<FlowEdge> edges;
};

struct FlowOptions {
  // Ships and wings whose arrival or departure cues wait on an event or
  // goal, as nodes with trigger edges into them.
  bool cues = false;
};

// The graph of a mission; `events` and `goals` are the lists of its Events
// and Goals views.
FlowGraph BuildFlowGraph(const mission::Mission& mission, const ListData& events, const ListData& goals,
                         FlowOptions options = {});
// The same, filling the two views itself.
FlowGraph BuildFlowGraph(const mission::Mission& mission, FlowOptions options = {});

// What an argument of an operator does in the graph, and whether it names an
// event or a goal.
enum class FlowUse : std::uint8_t { kNone, kTrigger, kAction };
struct FlowArgument {
  FlowUse use = FlowUse::kNone;
  bool goal = false;  // names a goal (else an event)
};
FlowArgument FlowArgumentOf(const sexp::Operator& op, int position);

// The node of an entry: its view and row. Nothing when the graph has none.
std::optional<std::uint32_t> FindFlowNode(const FlowGraph& graph, int mode, std::uint32_t row);

// The node's id in DOT: event3, goal1, ship12, wing2 (the row in its view).
std::string FlowNodeId(const FlowNode& node);
const char* FlowEdgeKindName(FlowEdgeKind kind);  // "trigger", "action", "chain", "more"

// The graph as DOT (UTF-8):
//   digraph mission {
//     event1 [label="Intro"]
//     event1 -> event2 [kind=trigger]
//     event2 -> event3 [kind=chain, label="5"]
//   }
// Every node first, then every edge, each in the graph's order; `"` and `\`
// in a label are escaped.
std::string FlowDot(const FlowGraph& graph);

// The edges at each node, by their numbers in the graph's edge list.
struct FlowAdjacency {
  std::vector<std::uint32_t> outStart, out;  // out[outStart[n] .. outStart[n + 1]): edges leaving n
  std::vector<std::uint32_t> inStart, in;    // in[inStart[n] .. inStart[n + 1]): edges reaching n
};
FlowAdjacency BuildFlowAdjacency(const FlowGraph& graph);

// A node and what it reaches in at most `steps` steps along the edges, and
// what reaches it in as many steps against them: nearest first (the node
// itself, then each step's nodes, those it reaches before those that reach
// it), at most `limit` of them.
struct FlowNeighbourhood {
  std::vector<std::uint32_t> nodes;   // shown, nearest first
  std::vector<std::uint32_t> steps;   // for each shown node, its distance
  std::size_t more = 0;               // nodes within reach that are not shown
  std::vector<std::uint32_t> cut;     // shown nodes with a neighbour left out
};
constexpr std::size_t kNeighbourhoodLimit = 300;
FlowNeighbourhood FindNeighbourhood(const FlowGraph& graph, const FlowAdjacency& adjacency, std::uint32_t center,
                                    unsigned steps, std::size_t limit = kNeighbourhoodLimit);

// A part of a graph to draw: its nodes and the edges between them, with
// each node's number in the whole graph.
struct FlowPart {
  FlowGraph graph;
  static constexpr std::uint32_t kNoOrigin = 0xFFFFFFFFu;
  std::vector<std::uint32_t> origin;  // per node; kNoOrigin for "+K more"
};
// The whole graph.
FlowPart WholeFlowPart(const FlowGraph& graph);
// A neighbourhood, with a "+K more" node joined to the cut nodes when it
// left nodes out. Edges keep the graph's order.
FlowPart NeighbourhoodPart(const FlowGraph& graph, const FlowAdjacency& adjacency,
                           const FlowNeighbourhood& neighbourhood);

// --- What the dock shows ---

enum class FlowMode : std::uint8_t { kWhole, kNeighbourhood };
// The user's choice; kAutomatic: the whole mission up to kWholeDefaultLimit
// events and goals, the neighbourhood above.
enum class FlowChoice : std::uint8_t { kAutomatic, kWhole, kNeighbourhood };
constexpr std::size_t kWholeDefaultLimit = 400;
// Above this many events and goals only the neighbourhood is drawn.
constexpr std::size_t kWholeLimit = 5000;
FlowMode FlowModeFor(FlowChoice choice, std::size_t eventsAndGoals);
// Events and goals of a graph (ship and wing nodes do not count).
std::size_t EventsAndGoals(const FlowGraph& graph);

}  // namespace views
