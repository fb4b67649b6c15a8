// The headless mission check: `torvk32 --check [--format json] MISSION...`
// prints the problems of each mission in the form compilers use, so that
// editors and CI annotations pick them up.
#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "mission/mission.h"

namespace app {

enum class CheckFormat { kText, kJson };

struct CheckOptions {
  CheckFormat format = CheckFormat::kText;
  std::vector<std::string> files;
};

// The arguments after "--check": an optional "--format json" or
// "--format text", then at least one mission. Nothing for wrong usage.
std::optional<CheckOptions> ParseCheckArguments(std::span<const char* const> args);

// Checks the files in the order given. Text: one line per problem,
// «FILE:LINE: error: TEXT» or «FILE:LINE: warning: TEXT»; JSON: one list of
// {file, line, severity, operator, text} for all files. A file that cannot
// be read gives one line on `err` and the check goes on with the next; a
// summary line ends `err`. Returns the exit code: 0 when there is no error
// (warnings alone do not fail), 1 when there is an error or a file could not
// be read.
int RunCheck(const CheckOptions& options, std::ostream& out, std::ostream& err);

// The JSON list of one loaded mission's problems, named `file`: what
// `--check --format json` prints for that one file.
void WriteCheckJson(const std::string& file, const mission::Mission& mission, std::ostream& out);

}  // namespace app
