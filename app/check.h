// The headless mission check: `torvk32 --check [OPTION]... MISSION...`
// prints the problems of each mission in the form compilers use, so that
// editors and CI annotations pick them up, or as JSON, or as a SARIF log for
// code scanning.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mission/mission.h"
#include "views/check.h"

namespace app {

enum class CheckFormat { kText, kJson, kSarif };

struct CheckOptions {
  CheckFormat format = CheckFormat::kText;
  views::CheckSettings settings;
  bool errors_only = false;  // warnings are neither printed nor counted
  std::vector<std::string> files;
  // A file that lists further missions, one a line; "-" for standard input.
  std::optional<std::string> files_from;
  std::string version;  // the program's version, named in a SARIF log
};

// The arguments after the program's name: "--check" and the check's other
// options in any order ("--format text|json|sarif", "--ignore RULE" (again
// for each further rule), "--errors-only", "--unused", "--files-from FILE"),
// then the missions; at least one unless "--files-from" names more. Nothing
// for wrong usage, with the reason in `error` when it is more than the usage
// line says (an unknown rule).
std::optional<CheckOptions> ParseCheckArguments(std::span<const char* const> args, std::string* error = nullptr);

// Whether an argument is one of the check's options, so that the check's
// arguments may begin with any of them.
bool IsCheckOption(std::string_view arg);

// Checks the files in the order given, those of the list last. Text: one
// line per problem, «FILE:LINE: error: TEXT» or «FILE:LINE: warning: TEXT»;
// JSON: one list of {file, line, severity, rule, operator, text} for all
// files; SARIF: one log of one run. A mission that cannot be read gives one
// line on `err` and the check goes on with the next; a summary line ends
// `err`. Returns the exit code: 0 when there is no error (warnings alone do
// not fail), 1 when there is an error or a mission could not be read, 2 when
// the list of missions cannot be read. `in` is standard input, for "-".
int RunCheck(const CheckOptions& options, std::istream& in, std::ostream& out, std::ostream& err);

// The location of a mission file in a SARIF log: its path relative to the
// working directory `cwd` with "/" between its parts, each byte other than
// A-Z, a-z, 0-9, "-", ".", "_", "~" and "/" written %XX (a blank is %20). A
// relative path stays relative; an absolute path outside the working
// directory is given as an absolute file:// URI.
std::string FileUri(std::string_view file, const std::filesystem::path& cwd);

// The JSON list of one loaded mission's problems, named `file`: what
// `--check --format json` prints for that one file.
void WriteCheckJson(const std::string& file, const mission::Mission& mission, std::ostream& out);

}  // namespace app
