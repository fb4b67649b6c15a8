// A suite installed in a temporary folder: brix.cfg naming a library
// directory with brix.ini, and a font folder with the interface font.
#pragma once

#include <filesystem>

#include "applib/ini.h"
#include "applib/library.h"
#include "tests/applib/fakes.h"
#include "tests/applib/temp_dir.h"

namespace applib::testing {

class Suite {
 public:
  Suite() {
    std::filesystem::create_directories(root.path() / "lib");
    std::filesystem::create_directories(root.path() / "fonts");
    platform.config_file = root / u"brix.cfg";
    platform.font_dirs = {root / u"no-fonts", root / u"fonts"};
    WriteFile(root.path() / "brix.cfg", "[Directories]\nBrix3=" + mission::ToUtf8(root / u"lib") + "\n");
    WriteFile(root.path() / "lib" / "brix.ini", "");
    WriteFile(root.path() / "fonts" / "tahoma.ttf", "regular");
    WriteFile(root.path() / "fonts" / "tahomabd.ttf", "bold");
    lib.AppShortName = u"TORVK32";
    lib.AppLongName = u"TORVEK32";
  }

  Text LibDir() const { return AddSlash(root / u"lib"); }
  void SetBrix(TextView section, TextView key, TextView value) {
    IniWrite(root / u"lib", u"brix.ini", section, key, value);
  }

  // Runs brix_init; the exit status when it ended the program.
  std::optional<int> Init() {
    try {
      lib.brix_init();
    } catch (const ExitCalled& exit) {
      return exit.status;
    }
    return std::nullopt;
  }

  TempDir root;
  FakePlatform platform;
  FakeFrontend frontend;
  Library lib{platform, frontend};
};

}  // namespace applib::testing
