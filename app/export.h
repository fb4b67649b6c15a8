// The headless export: one mission file written as JSON, or as plain text for
// a person at a terminal, without a display, settings or library installation.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "base/text.h"
#include "mission/mission.h"
#include "sexp/formula.h"

namespace app {

enum class ExportFormat { kJson, kText, kDot, kSvg };

// Writes the export document of a loaded mission: its sections, outline
// tree, the eight views as a mode switch fills them, and the formula of every
// row that refers to one, translated with `operators`. `file` is the path as
// the user gave it.
void WriteJsonExport(const std::string& file, const mission::Mission& mission, std::ostream& out,
                     sexp::OperatorSet operators = sexp::OperatorSet::kOriginal);

// The same content as titled tables with aligned columns, then each formula
// with its SEXP lines and its pseudo-code lines. Cells wider than a column's
// limit are cut with an ellipsis; control characters show as "?". The file
// is named by its base name only, so the text depends on the mission alone.
void WriteTextExport(const std::string& file, const mission::Mission& mission, std::ostream& out,
                     sexp::OperatorSet operators = sexp::OperatorSet::kOriginal);

// The mission's event flow graph in DOT: a node per event and goal, an
// edge per trigger, action and chain (views/flow.h).
void WriteDotExport(const mission::Mission& mission, std::ostream& out);

// The same graph laid out by Graphviz and drawn as SVG. False with a reason,
// and nothing written, when the layout cannot be made (Graphviz missing).
bool WriteSvgExport(const mission::Mission& mission, std::ostream& out, std::string& error);

// The file name that reads the mission from standard input instead.
inline constexpr std::string_view kStandardInput = "-";

// Loads the mission a command line names: standard input for "-", otherwise
// the file (a regular file only).
mission::LoadResult LoadMission(const std::string& file, mission::Mission& mission);

// Loads `file` (standard input for "-") and writes its export. Returns the
// process exit code: 0, or 1 with one line on `err` (and nothing on `out`)
// when the file cannot be read or its picture cannot be drawn; only a
// regular file is read by name.
int RunExport(ExportFormat format, const std::string& file, std::ostream& out, std::ostream& err,
              sexp::OperatorSet operators = sexp::OperatorSet::kOriginal);

// A code window's text as lines: split at every CR LF pair. An empty text
// gives no lines; a text that ends in CR LF gives a last, empty line.
std::vector<mission::TextView> SplitAtLineBreaks(mission::TextView text);

}  // namespace app
