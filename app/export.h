// The headless export: one mission file written as JSON (or, later, as text
// for a terminal), without a display, settings or library installation.
#pragma once

#include <ostream>
#include <string>

#include "mission/mission.h"

namespace app {

// Writes the export document of a loaded mission. `file` is the path as the
// user gave it.
void WriteJsonExport(const std::string& file, const mission::Mission& mission, std::ostream& out);

// Loads `file` and writes its export. Returns the process exit code: 0, or 1
// with one line on `err` when the file cannot be read.
int RunJsonExport(const std::string& file, std::ostream& out, std::ostream& err);

}  // namespace app
