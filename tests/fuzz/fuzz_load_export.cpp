// Fuzz target: arbitrary bytes as a mission file, loaded and exported whole:
// sections, tree, all eight views and every formula, as JSON and as text;
// then checked, and its event flow graph built (with the cues) and written
// as DOT. Besides crashes it catches a document that is not valid JSON or
// breaks the shape every reader relies on, problems that point outside the
// file or come out of order, and edges between nodes the graph lacks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "app/export.h"
#include "mission/mission.h"
#include "views/check.h"
#include "views/flow.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

void CheckShape(const nlohmann::json& doc) {
  Check(doc.at("sections").size() == 9);
  const nlohmann::json& views = doc.at("views");
  Check(views.size() == 8);
  for (const nlohmann::json& view : views) {
    const std::size_t columns = view.at("columns").size();
    for (const nlohmann::json& row : view.at("rows")) Check(row.at("cells").size() == columns);
  }
  for (const nlohmann::json& formula : doc.at("formulas")) {
    Check(formula.at("sexp").is_array() && formula.at("parsed").is_array());
  }
}

void CheckProblems(const mission::Mission& m) {
  const std::vector<views::Problem> problems = views::CheckMission(m);
  for (std::size_t i = 0; i < problems.size(); ++i) {
    const views::Problem& p = problems[i];
    Check(p.line >= 1 && p.line <= m.FileLineCount());
    if (i > 0) Check(problems[i - 1].line < p.line || (problems[i - 1].line == p.line && problems[i - 1].column <= p.column));
    Check(!views::ProblemText(p).empty());
  }
}

void CheckFlow(const mission::Mission& m) {
  const views::FlowGraph graph = views::BuildFlowGraph(m, {.cues = true});
  for (const views::FlowEdge& e : graph.edges) Check(e.source < graph.nodes.size() && e.target < graph.nodes.size());
  Check(views::FlowDot(graph).starts_with("digraph mission {\n"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const mission::Mission m = mission::ParseMissionBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  std::ostringstream out;
  app::WriteJsonExport("fuzz.fs2", m, out);
  CheckShape(nlohmann::json::parse(out.str()));
  std::ostringstream text;
  app::WriteTextExport("fuzz.fs2", m, text);
  CheckProblems(m);
  CheckFlow(m);
  return 0;
}
