// torvk32-setup: sets up the suite's configuration for the user who runs
// it (brix.cfg, brix.ini, the program directory with its pictures and a
// link to the program), adding only what is missing.
//
//   torvk32-setup [--program FILE] [--artwork DIR]
//
// Without options the program and the pictures are found where an
// installation puts them: <prefix>/bin/torvk32 and <prefix>/share/torvek32.
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "applib/linux_platform.h"
#include "applib/paths.h"
#include "applib/setup.h"

int main(int argc, char** argv) {
  using applib::Text;
  applib::LinuxPlatform platform;
  Text bin_dir, name;
  applib::SplitPath(platform.ExecutablePath(), bin_dir, name);
  applib::SetupPlan plan{applib::XdgConfigHome(), applib::XdgDataHome(), bin_dir + u"torvk32",
                         bin_dir + u"../share/torvek32"};
  for (int i = 1; i < argc; ++i) {
    const bool has_value = i + 1 < argc;
    if (std::strcmp(argv[i], "--program") == 0 && has_value) {
      plan.program = mission::FromUtf8(argv[++i]);
    } else if (std::strcmp(argv[i], "--artwork") == 0 && has_value) {
      plan.artwork = mission::FromUtf8(argv[++i]);
    } else {
      std::cerr << "usage: torvk32-setup [--program FILE] [--artwork DIR]\n";
      return 2;
    }
  }
  std::vector<Text> log;
  const bool ok = applib::SetUpSuite(plan, log);
  for (const Text& line : log) std::cerr << "torvk32-setup: " << mission::ToUtf8(line) << '\n';
  return ok ? 0 : 1;
}
