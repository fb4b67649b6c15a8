#include "applib/library.h"

#include <algorithm>
#include <cstdlib>

#include "applib/ini.h"
#include "applib/paths.h"

namespace applib {

using mission::Decimal;
using mission::IsGiven;

namespace {

constexpr TextView kFontFile = u"tahoma.ttf";
constexpr TextView kBoldFontFile = u"tahomabd.ttf";

}  // namespace

Text VersionText(int major, int minor, int revision) {
  return Decimal(major) + u"." + Decimal(minor) + u" Beta 01b (Build 0" + Decimal(revision) + u")";
}

Library::Library(Platform& platform, Frontend& frontend) : platform_(platform), frontend_(frontend) {}

void Library::brix_init() {
  SplashActive = false;
  ad_brix = FindLibraryDir();
  pfad_temp = ad_brix + u"_Temp";
  MakeDirs(pfad_temp);  // a folder that cannot be made is no reason to stop
  pfad_temp = AddSlash(pfad_temp);
  pfad_windows = AddSlash(platform_.WindowsDir());
  pfad_winsys = AddSlash(platform_.SystemDir());
  FontCheck();
  pfad_main = FindProgramDir();
  pfad_data = AddSlash(pfad_main) + u"data" + PathSeparator(pfad_main);
}

Text Library::FindLibraryDir() {
  const Text dir = AddSlash(IniRead(u"", platform_.BrixConfigFile(), u"Directories", u"Brix3"));
  if (!IsGiven(dir) || !FileExists(dir + Text(kBrixIni))) {
    FatalError(kSetupErrorCode, kNotInstalledTitle, Text(kNotInstalledText) + u"\n" + Text(kNotInstalledHint));
  }
  return dir;
}

Text Library::FindProgramDir() const {
  Text dir = AddSlash(IniRead(ad_brix, kBrixIni, u"Detour", AppShortName));
  if (dir.empty()) dir = AddSlash(IniRead(ad_brix, kBrixIni, u"Moduls_Dirs", AppShortName));
  if (dir.empty()) {
    Text file;
    SplitPath(platform_.ExecutablePath(), dir, file);
  }
  return dir;
}

Text Library::ExecutableName() const {
  Text dir, file;
  SplitPath(platform_.ExecutablePath(), dir, file);
  return file;
}

// The system directory when it holds the font, else the first font folder
// that does, else the user's font folder.
Text Library::FontFolder() const {
  if (FileExists(AddSlash(pfad_winsys) + Text(kFontFile))) return pfad_winsys;
  for (const Text& dir : platform_.FontDirs()) {
    if (FileExists(AddSlash(dir) + Text(kFontFile))) return dir;
  }
  return platform_.UserFontDir();
}

void Library::FontCheck() {
  pfad_winsys = AddSlash(platform_.SystemDir());
  const Text dir = AddSlash(FontFolder());
  if (!FileExists(dir + Text(kFontFile))) FatalError(kSetupErrorCode, kFontErrorTitle, kFontErrorText);
  for (const TextView name : {kFontFile, kBoldFontFile}) {
    const Text path = dir + Text(name);
    if (!FileExists(path)) continue;  // the bold face is optional
    frontend_.RegisterFont(path);
    font_files.push_back(path);
  }
}

bool Library::IsModuleInstalled(TextView name) const {
  const Text dir = IniRead(ad_brix, kBrixIni, u"Moduls_Dirs", name);
  const Text exe = IniRead(ad_brix, kBrixIni, u"Moduls_EXEs", name);
  // Without a directory the file name alone would be looked up wherever the
  // program happens to run.
  return IsGiven(dir) && IsGiven(exe) && FileExists(AddSlash(dir) + exe);
}

void Library::FatalError(TextView code, TextView title, TextView message) {
  EMsgCode = Text(code);
  EMsgTitle = Text(title);
  EMsgText = Text(message);
  frontend_.ShowFatalError(EMsgTitle, EMsgText);
  platform_.Exit(1);
  std::_Exit(1);  // never reached unless a platform's Exit came back
}

void Library::Delay(std::uint32_t milliseconds) {
  // The splash window stays painted through start-up's wait: the wait is cut
  // into slices with the windows' painting between them, and lasts as long.
  const std::uint32_t slice = frontend_.PaintInterval();
  if (slice == 0) {
    platform_.Sleep(milliseconds);
    return;
  }
  std::uint32_t left = milliseconds;
  do {
    const std::uint32_t now = std::min(left, slice);
    platform_.Sleep(now);
    frontend_.Paint();
    left -= now;
  } while (left > 0);
}

}  // namespace applib
