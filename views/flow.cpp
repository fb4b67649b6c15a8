#include "views/flow.h"

#include <algorithm>
#include <array>
#include <unordered_set>

#include "views/check_names.h"
#include "views/formula_display.h"
#include "views/formula_tokens.h"
#include "views/modes.h"

namespace views {
namespace {

using namespace std::string_view_literals;

constexpr std::uint32_t kNone = 0xFFFFFFFFu;

// A line that begins a field or a section: a formula never runs on into one.
bool IsKeyLine(TextView line) {
  return !line.empty() && (line.front() == u'#' || line.front() == u'$' || line.front() == u'+');
}

// Reads the formula that begins on line `start` of `lines`, after its first
// `skip` characters, and calls `argument(op, position, text)` for every
// argument of a list whose operator the table knows (position 1-based; a
// quoted text without its quotes). Reading ends at the bracket that closes
// the formula, at a ")" that closes nothing, or before the next field line.
// A quoted text runs to the next quote, or to the end of its line.
template <class Argument>
void WalkFormula(const mission::LineList& lines, std::size_t start, std::size_t skip, Argument argument) {
  struct List {
    const sexp::Operator* op = nullptr;
    int args = 0;
    bool first = true;  // no element seen yet
  };
  std::vector<List> open;
  const auto element = [&](TextView text, bool quoted) {
    if (open.empty()) return;  // outside the formula's brackets
    List& list = open.back();
    if (list.first) {
      list.first = false;
      if (!quoted) list.op = sexp::FindOperator(text);
      return;
    }
    ++list.args;
    if (list.op != nullptr) argument(*list.op, list.args, text);
  };
  for (std::size_t n = start; n <= lines.Count(); ++n) {
    TextView text = lines.Line(n);
    if (n == start) {
      text = text.substr(std::min(skip, text.size()));
    } else if (IsKeyLine(text)) {
      return;
    }
    bool closed = false;
    ForEachFormulaToken(text, [&](const FormulaToken& token) {
      switch (token.kind) {
        case TokenKind::kOpen:
          if (!open.empty()) {
            List& parent = open.back();
            if (parent.first) {
              parent.first = false;  // a list in the operator's place
            } else {
              ++parent.args;
            }
          }
          open.emplace_back();
          return true;
        case TokenKind::kClose:
          if (!open.empty()) open.pop_back();
          closed = open.empty();  // closes nothing, or the formula is closed
          return !closed;
        case TokenKind::kQuoted:
        case TokenKind::kWord:
          element(token.text, token.kind == TokenKind::kQuoted);
          return true;
      }
      return true;
    });
    if (closed) return;
  }
}

// How many characters of a formula's first line are its key.
std::size_t KeyLength(TextView line) {
  for (const TextView key : {u"$Formula:"sv, u"$Arrival Cue:"sv, u"$Departure Cue:"sv}) {
    if (line.starts_with(key)) return key.size();
  }
  return 6;  // a six-character key, as the views read keys
}

// Builds the graph: the nodes first, with the names they are looked up by,
// then the edges, formula after formula.
class FlowBuilder {
 public:
  FlowBuilder(const mission::Mission& mission, FlowOptions options) : mission_(mission), options_(options) {}

  FlowGraph Build(const ListData& events, const ListData& goals) {
    Nodes(events, kModeEvents, FlowNodeKind::kEvent, 1, names_[0]);
    goalBase_ = static_cast<std::uint32_t>(graph_.nodes.size());
    Nodes(goals, kModeGoals, FlowNodeKind::kGoal, 0, names_[1]);
    const std::vector<Text> chains = Chains();
    for (std::size_t i = 0; i < events.rows.size(); ++i) {
      const auto node = static_cast<std::uint32_t>(i);
      Formula(events.rows[i].tag, node);
      if (i < chains.size() && chains[i] != kNotChained && i > 0) Chain(node, chains[i]);
    }
    for (std::size_t i = 0; i < goals.rows.size(); ++i) {
      Formula(goals.rows[i].tag, goalBase_ + static_cast<std::uint32_t>(i));
    }
    if (options_.cues) {
      Cues(mission::kSlotObjects, kModeShips, FlowNodeKind::kShip);
      Cues(mission::kSlotWings, kModeWings, FlowNodeKind::kWing);
    }
    return std::move(graph_);
  }

 private:
  static constexpr TextView kNotChained = u"\x1f";

  void Nodes(const ListData& list, int mode, FlowNodeKind kind, std::size_t column, NameSet& names) {
    names.Reserve(list.rows.size());
    for (std::size_t i = 0; i < list.rows.size(); ++i) {
      const Row& row = list.rows[i];
      const TextView name = column < row.cells.size() ? TextView(row.cells[column]) : TextView();
      const auto node = static_cast<std::uint32_t>(graph_.nodes.size());
      graph_.nodes.push_back({kind, mode, static_cast<std::uint32_t>(i + 1), Text(name)});
      // The first entry of a name is the one named; it keeps its node. The
      // set refers to the list's text, which stays put while the graph grows.
      names.Add(mission::TrimBlankView(name), node);
    }
  }

  // For each event row, the delay of its "+Chained:" line, as the Events
  // view reads it (the last such line of the event); kNotChained when it
  // has none.
  std::vector<Text> Chains() const {
    std::vector<Text> chains;
    const mission::LineList& lines = mission_.Sections().Slot(mission::kSlotEvents);
    for (std::size_t i = 0; i < lines.Count(); ++i) {
      const TextView line = lines[i];
      const TextView key = line.substr(0, 6);
      if (key == u"+Name:"sv) {
        chains.emplace_back(kNotChained);
      } else if (key == u"+Chain"sv && !chains.empty()) {
        chains.back() = mission::TrimBlankView(line.substr(std::min<std::size_t>(10, line.size())));
      }
    }
    return chains;
  }

  void Chain(std::uint32_t node, TextView delay) {
    // A delay of 0 (or none written) needs no label.
    Add(node - 1, node, FlowEdgeKind::kChain, mission::NumericValue(delay) != 0 ? delay : TextView());
  }

  // The edges of the formula a row's tag refers to.
  void Formula(TextView tag, std::uint32_t owner) {
    const std::optional<FormulaStart> start = FormulaStartOf(mission_.Sections(), tag);
    if (!start) return;
    Walk(mission_.Sections().Slot(start->slot), start->line, [&](FlowUse use, std::uint32_t named) {
      if (use == FlowUse::kTrigger) {
        Add(named, owner, FlowEdgeKind::kTrigger, {});
      } else {
        Add(owner, named, FlowEdgeKind::kAction, {});
      }
    });
  }

  // Calls `found(use, node)` for every event or goal the formula on `line`
  // names where an edge goes.
  template <class Found>
  void Walk(const mission::LineList& lines, std::size_t line, Found found) {
    WalkFormula(lines, line, KeyLength(lines.Line(line)), [&](const sexp::Operator& op, int position, TextView text) {
      const FlowArgument argument = FlowArgumentOf(op, position);
      if (argument.use == FlowUse::kNone) return;
      // Variables, containers and the argument of a when-argument are no names.
      if (!text.empty() && (text.front() == u'@' || text.front() == u'&' || text.front() == u'<')) return;
      if (const NameSet::Entry* named = names_[argument.goal ? 1 : 0].First(text)) found(argument.use, named->line);
    });
  }

  // A node per ship or wing whose cues wait on an event or goal, with its
  // row counted by the "$Name:" lines as the Ships and Wings views count.
  void Cues(int slot, int mode, FlowNodeKind kind) {
    const mission::LineList& lines = mission_.Sections().Slot(slot);
    std::uint32_t row = 0;
    TextView name;
    std::uint32_t node = kNone;  // the current ship's, once it has one
    for (std::size_t i = 0; i < lines.Count(); ++i) {
      const TextView line = lines[i];
      if (line.substr(0, 6) == u"$Name:"sv) {
        ++row;
        name = mission::TrimBlankView(line.substr(6));
        node = kNone;
        continue;
      }
      if (row == 0 || !(line.starts_with(u"$Arrival Cue:"sv) || line.starts_with(u"$Departure Cue:"sv))) continue;
      Walk(lines, i + 1, [&](FlowUse use, std::uint32_t named) {
        if (use != FlowUse::kTrigger) return;  // a cue only waits
        if (node == kNone) {
          node = static_cast<std::uint32_t>(graph_.nodes.size());
          graph_.nodes.push_back({kind, mode, row, Text(name)});
        }
        Add(named, node, FlowEdgeKind::kTrigger, {});
      });
    }
  }

  void Add(std::uint32_t source, std::uint32_t target, FlowEdgeKind kind, TextView label) {
    const std::uint64_t key = (static_cast<std::uint64_t>(source) << 32) | target;
    if (!seen_[static_cast<std::size_t>(kind)].insert(key).second) return;
    graph_.edges.push_back({source, target, kind, Text(label)});
  }

  const mission::Mission& mission_;
  FlowOptions options_;
  FlowGraph graph_;
  std::uint32_t goalBase_ = 0;
  std::array<NameSet, 2> names_;  // events, goals; each entry's "line" is its node
  std::array<std::unordered_set<std::uint64_t>, 3> seen_;  // by kind: source << 32 | target
};

void AppendQuoted(TextView text, std::string& out) {
  out += '"';
  for (const char16_t c : text) {
    if (c == u'"' || c == u'\\') out += '\\';
    mission::AppendUtf8(TextView(&c, 1), out);
  }
  out += '"';
}

}  // namespace

FlowArgument FlowArgumentOf(const sexp::Operator& op, int position) {
  const std::string_view kind = op.ArgKind(position);
  const bool event = kind == "event-name";
  if (!event && kind != "goal-name") return {};
  const std::string_view name = op.name;
  if (name.starts_with("is-previous-")) return {};
  if (name.starts_with("is-event-") || name.starts_with("is-goal-") ||
      (name == "send-message-chain" && position == 1)) {
    return {FlowUse::kTrigger, !event};
  }
  if (name == "reset-event" || name == "reset-goal" || name == "validate-goal" || name == "invalidate-goal") {
    return {FlowUse::kAction, !event};
  }
  return {};
}

FlowGraph BuildFlowGraph(const mission::Mission& mission, const ListData& events, const ListData& goals,
                         FlowOptions options) {
  return FlowBuilder(mission, options).Build(events, goals);
}

FlowGraph BuildFlowGraph(const mission::Mission& mission, FlowOptions options) {
  return BuildFlowGraph(mission, FillMode(kModeEvents, mission), FillMode(kModeGoals, mission), options);
}

std::optional<std::uint32_t> FindFlowNode(const FlowGraph& graph, int mode, std::uint32_t row) {
  // Nodes of one view lie together, in the order of its rows.
  const auto first = std::find_if(graph.nodes.begin(), graph.nodes.end(),
                                  [mode](const FlowNode& node) { return node.mode == mode; });
  if (first == graph.nodes.end()) return std::nullopt;
  const auto end = std::find_if(first, graph.nodes.end(), [mode](const FlowNode& node) { return node.mode != mode; });
  const auto found = std::lower_bound(first, end, row, [](const FlowNode& node, std::uint32_t r) { return node.row < r; });
  if (found == end || found->row != row) return std::nullopt;
  return static_cast<std::uint32_t>(found - graph.nodes.begin());
}

const char* FlowEdgeKindName(FlowEdgeKind kind) {
  switch (kind) {
    case FlowEdgeKind::kTrigger: return "trigger";
    case FlowEdgeKind::kAction: return "action";
    case FlowEdgeKind::kChain: return "chain";
    case FlowEdgeKind::kMore: return "more";
    case FlowEdgeKind::kBranch: return "branch";
    case FlowEdgeKind::kLoop: return "loop";
  }
  return "";
}

std::string FlowNodeId(const FlowNode& node) {
  static constexpr const char* kPrefix[] = {"event", "goal", "ship", "wing", "more", "mission"};
  return kPrefix[static_cast<std::size_t>(node.kind)] + std::to_string(node.row);
}

std::string FlowDot(const FlowGraph& graph, std::string_view name) {
  std::string dot = "digraph " + std::string(name) + " {\n";
  for (const FlowNode& node : graph.nodes) {
    dot += "  " + FlowNodeId(node) + " [label=";
    AppendQuoted(node.label, dot);
    dot += "]\n";
  }
  for (const FlowEdge& edge : graph.edges) {
    dot += "  " + FlowNodeId(graph.nodes[edge.source]) + " -> " + FlowNodeId(graph.nodes[edge.target]) + " [kind=";
    dot += FlowEdgeKindName(edge.kind);
    if (!edge.label.empty()) {
      dot += ", label=";
      AppendQuoted(edge.label, dot);
    }
    dot += "]\n";
  }
  dot += "}\n";
  return dot;
}

FlowAdjacency BuildFlowAdjacency(const FlowGraph& graph) {
  FlowAdjacency a;
  const std::size_t nodes = graph.nodes.size();
  a.outStart.assign(nodes + 1, 0);
  a.inStart.assign(nodes + 1, 0);
  for (const FlowEdge& e : graph.edges) {
    ++a.outStart[e.source + 1];
    ++a.inStart[e.target + 1];
  }
  for (std::size_t n = 0; n < nodes; ++n) {
    a.outStart[n + 1] += a.outStart[n];
    a.inStart[n + 1] += a.inStart[n];
  }
  a.out.resize(graph.edges.size());
  a.in.resize(graph.edges.size());
  std::vector<std::uint32_t> nextOut(a.outStart.begin(), a.outStart.end() - 1);
  std::vector<std::uint32_t> nextIn(a.inStart.begin(), a.inStart.end() - 1);
  for (std::size_t e = 0; e < graph.edges.size(); ++e) {
    a.out[nextOut[graph.edges[e].source]++] = static_cast<std::uint32_t>(e);
    a.in[nextIn[graph.edges[e].target]++] = static_cast<std::uint32_t>(e);
  }
  return a;
}

FlowNeighbourhood FindNeighbourhood(const FlowGraph& graph, const FlowAdjacency& adjacency, std::uint32_t center,
                                    unsigned steps, std::size_t limit) {
  FlowNeighbourhood result;
  if (center >= graph.nodes.size()) return result;
  // Each direction walks on from its own frontier, so a node that reaches
  // the center is not followed forward again.
  std::vector<std::uint32_t> listed(graph.nodes.size(), kNone);  // its place in `order`
  std::vector<std::uint8_t> reached(graph.nodes.size(), 0);       // bit 1 forward, bit 2 backward
  std::vector<std::uint32_t> order{center}, distance{0};
  listed[center] = 0;
  reached[center] = 3;
  std::vector<std::uint32_t> forward{center}, backward{center}, next;
  for (unsigned step = 1; step <= steps && (!forward.empty() || !backward.empty()); ++step) {
    const auto advance = [&](std::vector<std::uint32_t>& frontier, bool out, std::uint8_t bit) {
      next.clear();
      for (const std::uint32_t n : frontier) {
        const auto& start = out ? adjacency.outStart : adjacency.inStart;
        const auto& edges = out ? adjacency.out : adjacency.in;
        for (std::uint32_t i = start[n]; i < start[n + 1]; ++i) {
          const FlowEdge& e = graph.edges[edges[i]];
          const std::uint32_t other = out ? e.target : e.source;
          if (reached[other] & bit) continue;
          reached[other] |= bit;
          next.push_back(other);
          if (listed[other] == kNone) {
            listed[other] = static_cast<std::uint32_t>(order.size());
            order.push_back(other);
            distance.push_back(step);
          }
        }
      }
      frontier.swap(next);
    };
    advance(forward, true, 1);
    advance(backward, false, 2);
  }
  const std::size_t shown = std::min(order.size(), std::max<std::size_t>(limit, 1));
  result.nodes.assign(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(shown));
  result.steps.assign(distance.begin(), distance.begin() + static_cast<std::ptrdiff_t>(shown));
  result.more = order.size() - shown;
  if (result.more == 0) return result;
  const auto leftOut = [&](std::uint32_t n) { return listed[n] != kNone && listed[n] >= shown; };
  for (const std::uint32_t n : result.nodes) {
    bool cut = false;
    for (std::uint32_t i = adjacency.outStart[n]; i < adjacency.outStart[n + 1] && !cut; ++i)
      cut = leftOut(graph.edges[adjacency.out[i]].target);
    for (std::uint32_t i = adjacency.inStart[n]; i < adjacency.inStart[n + 1] && !cut; ++i)
      cut = leftOut(graph.edges[adjacency.in[i]].source);
    if (cut) result.cut.push_back(n);
  }
  return result;
}

FlowPart WholeFlowPart(const FlowGraph& graph) {
  FlowPart part;
  part.graph = graph;
  part.origin.resize(graph.nodes.size());
  for (std::size_t n = 0; n < graph.nodes.size(); ++n) part.origin[n] = static_cast<std::uint32_t>(n);
  return part;
}

FlowPart NeighbourhoodPart(const FlowGraph& graph, const FlowAdjacency& adjacency,
                           const FlowNeighbourhood& neighbourhood) {
  FlowPart part;
  std::vector<std::uint32_t> index(graph.nodes.size(), kNone);  // node in the part
  for (const std::uint32_t n : neighbourhood.nodes) {
    index[n] = static_cast<std::uint32_t>(part.graph.nodes.size());
    part.graph.nodes.push_back(graph.nodes[n]);
    part.origin.push_back(n);
  }
  std::vector<std::uint32_t> edges;
  for (const std::uint32_t n : neighbourhood.nodes) {
    for (std::uint32_t i = adjacency.outStart[n]; i < adjacency.outStart[n + 1]; ++i) {
      if (index[graph.edges[adjacency.out[i]].target] != kNone) edges.push_back(adjacency.out[i]);
    }
  }
  std::sort(edges.begin(), edges.end());
  for (const std::uint32_t e : edges) {
    FlowEdge edge = graph.edges[e];
    edge.source = index[edge.source];
    edge.target = index[edge.target];
    part.graph.edges.push_back(std::move(edge));
  }
  if (neighbourhood.more > 0) {
    const auto more = static_cast<std::uint32_t>(part.graph.nodes.size());
    FlowNode node;
    node.kind = FlowNodeKind::kMore;
    node.label = u"+" + mission::Decimal(static_cast<long long>(neighbourhood.more)) + u" more";
    part.graph.nodes.push_back(std::move(node));
    part.origin.push_back(FlowPart::kNoOrigin);
    for (const std::uint32_t n : neighbourhood.cut) part.graph.edges.push_back({index[n], more, FlowEdgeKind::kMore, {}});
  }
  return part;
}

FlowMode FlowModeFor(FlowChoice choice, std::size_t eventsAndGoals) {
  if (eventsAndGoals > kWholeLimit) return FlowMode::kNeighbourhood;
  switch (choice) {
    case FlowChoice::kWhole: return FlowMode::kWhole;
    case FlowChoice::kNeighbourhood: return FlowMode::kNeighbourhood;
    case FlowChoice::kAutomatic: break;
  }
  return eventsAndGoals > kWholeDefaultLimit ? FlowMode::kNeighbourhood : FlowMode::kWhole;
}

std::size_t EventsAndGoals(const FlowGraph& graph) {
  return static_cast<std::size_t>(std::count_if(graph.nodes.begin(), graph.nodes.end(), [](const FlowNode& n) {
    return n.kind == FlowNodeKind::kEvent || n.kind == FlowNodeKind::kGoal;
  }));
}

}  // namespace views
