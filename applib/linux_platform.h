// The Platform on Linux.
//
// Where the suite's Windows folders live here:
//   configuration file  $XDG_CONFIG_HOME/brix.cfg (default ~/.config/brix.cfg)
//   Windows directory   /etc      (the system's configuration, like win.ini's home)
//   system directory    /usr/lib  (the system's libraries, like system32)
//   fonts folder        the first of the user's and the system's font folders
//                       that holds tahoma.ttf: $XDG_DATA_HOME/fonts, ~/.fonts,
//                       <each of $XDG_DATA_DIRS>/fonts, /usr/share/wine/fonts
//                       (Debian's fonts-wine); else $XDG_DATA_HOME/fonts
#pragma once

#include "applib/platform.h"

namespace applib {

// $XDG_CONFIG_HOME and $XDG_DATA_HOME when they are absolute paths, else
// ~/.config and ~/.local/share; without a final separator.
Text XdgConfigHome();
Text XdgDataHome();

// The program file that `name` names: itself when it holds a "/", else the
// first executable file of that name in $PATH; empty when there is none.
Text FindProgram(TextView name);

class LinuxPlatform : public Platform {
 public:
  // The executable is the running program's file; with `program_name`, the
  // file of that name beside it: a program that runs for another one (the
  // window runs for torvk32) takes that one's name, so that its settings,
  // pictures and file association stay the same whichever of them started.
  explicit LinuxPlatform(Text program_name = {});

  Text BrixConfigFile() override;
  Text WindowsDir() override;
  Text SystemDir() override;
  std::vector<Text> FontDirs() override;
  Text UserFontDir() override;
  Text ExecutablePath() override;
  bool StartProgram(const std::vector<Text>& argv) override;
  void OpenDocument(TextView target) override;
  // The type's freedesktop files below $XDG_DATA_HOME and $XDG_CONFIG_HOME;
  // the registry script is not needed here.
  void RegisterDocumentType(const DocumentType& type, TextView script_path) override;
  void Sleep(std::uint32_t milliseconds) override;
  [[noreturn]] void Exit(int status) override;

 private:
  Text program_name_;
};

}  // namespace applib
