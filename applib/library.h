// The suite library's set-up: the shared configuration that says where the
// library and this program live, the interface font check, and the one way
// to end the program on a set-up failure.
//
// The suite's configuration file (brix.cfg) names the library directory,
// whose brix.ini says where each program of the suite is installed:
//   brix.cfg  [Directories] Brix3=<library directory>
//   brix.ini  [Detour] <short name>=<directory that overrides the next one>
//             [Moduls_Dirs] <short name>=<directory of that program>
//             [Moduls_EXEs] <short name>=<executable file name>
//             [Positions] <window key>=<saved window position>
#pragma once

#include <cstdint>
#include <vector>

#include "applib/platform.h"
#include "base/text.h"

namespace applib {

using mission::Text;
using mission::TextView;

inline constexpr TextView kBrixIni = u"brix.ini";
inline constexpr TextView kSetupErrorCode = u"SYS0000";

// "1.0 Beta 01b (Build 02)" for version 1.0, revision 2.
Text VersionText(int major, int minor, int revision);

class Library {
 public:
  Library(Platform& platform, Frontend& frontend);

  // Set by the program before brix_init.
  Text AppShortName;    // "TORVK32": this program's key in brix.ini
  Text AppLongName;     // "TORVEK32": its display name
  Text AppVersionText;  // see VersionText
  Text AppBuildDate;

  // Set by brix_init; directories end in a separator.
  Text ad_brix;       // the library directory
  Text pfad_main;     // this program's directory (home of its settings file)
  Text pfad_data;     // pfad_main + "data"
  Text pfad_temp;     // ad_brix + "_Temp"
  Text pfad_windows;  // Platform::WindowsDir
  Text pfad_winsys;   // Platform::SystemDir
  bool SplashActive = false;

  // The last fatal error.
  Text EMsgCode;
  Text EMsgTitle;
  Text EMsgText;

  // The font files that FontCheck registered.
  std::vector<Text> font_files;

  // Finds the library and program directories and checks the font; ends the
  // program through FatalError when the library is not installed or the
  // font is missing.
  void brix_init();
  // Finds "tahoma.ttf" and registers it and its bold face with the frontend.
  void FontCheck();
  // Whether brix.ini names a directory and an executable for the program
  // `name` and that file exists.
  bool IsModuleInstalled(TextView name) const;
  // Shows the error through the frontend, then ends the program (status 1).
  [[noreturn]] void FatalError(TextView code, TextView title, TextView message);
  // Sleeps; 0 only yields. The frontend's windows are painted meanwhile
  // (see Frontend::PaintInterval).
  void Delay(std::uint32_t milliseconds);

  // The library directory from brix.cfg, with a final separator; ends the
  // program when it is not set or holds no brix.ini.
  Text FindLibraryDir();
  // This program's directory by brix.ini's Detour and Moduls_Dirs entries,
  // else the executable's directory; needs ad_brix.
  Text FindProgramDir() const;
  // The running executable's file name ("torvk32").
  Text ExecutableName() const;

  Platform& platform() { return platform_; }
  Frontend& frontend() { return frontend_; }

 private:
  Text FontFolder() const;

  Platform& platform_;
  Frontend& frontend_;
};

// The messages of the set-up failures.
inline constexpr TextView kNotInstalledTitle = u"Brix32 error";
inline constexpr TextView kNotInstalledText = u"Brix3 is not properly installed!";
// The line under it: how a user sets the suite up.
inline constexpr TextView kNotInstalledHint = u"Run torvk32-setup, or start the viewer from the applications menu.";
inline constexpr TextView kFontErrorTitle = u"Font error";
inline constexpr TextView kFontErrorText =
    u"Font 'Tahoma' not found in the SYSTEM/SYSTEM32 or FONTS directory! "
    u"Please reinstall the Debian package fonts-wine, which provides it "
    u"(for example: sudo apt-get install fonts-wine).";

}  // namespace applib
