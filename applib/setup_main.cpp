// torvk32-setup: sets up the suite's configuration for the user who runs
// it (brix.cfg, brix.ini, the program directory with its pictures and a
// link to the program), adding only what is missing.
//
//   torvk32-setup [--program FILE] [--artwork DIR] [--start [MISSION...]]
//
// Without options the program and the pictures are found where an
// installation puts them: <prefix>/bin/torvk32 and <prefix>/share/torvek32.
// With --start it then becomes the program, on the missions that follow: the
// desktop entry starts the viewer this way, so that a new user's first start
// finds the suite in place.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "applib/linux_platform.h"
#include "applib/paths.h"
#include "applib/setup.h"

namespace {

constexpr const char* kUsage = "usage: torvk32-setup [--program FILE] [--artwork DIR] [--start [MISSION...]]";

// Replaces this process by `program` with `arguments`; returns only when that
// fails.
int StartProgram(const std::string& program, char** arguments, int count) {
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  argv.insert(argv.end(), arguments, arguments + count);
  argv.push_back(nullptr);
  ::execv(program.c_str(), argv.data());
  std::cerr << "torvk32-setup: cannot start " << program << ": " << std::strerror(errno) << '\n';
  return 1;
}

// A path given on the command line, made absolute: the suite's files keep
// it, and folder paths are joined only in their absolute form.
applib::Text Absolute(const char* path) {
  std::error_code error;
  return applib::FromFsPath(std::filesystem::absolute(path, error));
}

}  // namespace

int main(int argc, char** argv) {
  using applib::Text;
  applib::LinuxPlatform platform;
  Text bin_dir, name;
  applib::SplitPath(platform.ExecutablePath(), bin_dir, name);
  applib::SetupPlan plan{applib::XdgConfigHome(), applib::XdgDataHome(), bin_dir + u"torvk32",
                         bin_dir + u"../share/torvek32"};
  int start = 0;  // where the missions to start the program on begin; 0: no start
  for (int i = 1; i < argc && start == 0; ++i) {
    const bool has_value = i + 1 < argc;
    if (std::strcmp(argv[i], "--program") == 0 && has_value) {
      plan.program = Absolute(argv[++i]);
    } else if (std::strcmp(argv[i], "--artwork") == 0 && has_value) {
      plan.artwork = Absolute(argv[++i]);
    } else if (std::strcmp(argv[i], "--start") == 0) {
      start = i + 1;
    } else {
      std::cerr << kUsage << '\n';
      return 2;
    }
  }
  std::vector<Text> log;
  const bool ok = applib::SetUpSuite(plan, log);
  for (const Text& line : log) std::cerr << "torvk32-setup: " << mission::ToUtf8(line) << '\n';
  // The program is started even when something could not be set up: it then
  // tells the user what is missing in its own window.
  if (start != 0) return StartProgram(mission::ToUtf8(plan.program), argv + start, argc - start);
  return ok ? 0 : 1;
}
