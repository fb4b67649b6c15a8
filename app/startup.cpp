#include "app/startup.h"

#include <algorithm>

#include "applib/association.h"
#include "applib/paths.h"
#include "applib/splash.h"
#include "ui/rules/settings.h"

namespace app {
namespace {

// The splash screen's picture check value, accent colour (pure red) and the
// credit text "n/a", which asks for the suite's own credit line.
constexpr std::uint8_t kSplashCheckValue = 211;
constexpr std::uint32_t kAccentRed = 255;

bool Associate(const ui::ViewerSettings& settings, StartupHost& host) {
  switch (settings.AssociateFileTypes()) {
    case ui::Association::kYes:
      return true;
    case ui::Association::kNo:
      return false;
    case ui::Association::kAsk:
      break;
  }
  return host.AskYesNo(kWelcomeTitle, kWelcomeText);
}

}  // namespace

Text ProgramVersionText() {
  return applib::VersionText(TORVEK_VERSION_MAJOR, TORVEK_VERSION_MINOR, TORVEK_VERSION_REVISION);
}

void AssociateMissionFiles(applib::Library& library) {
  applib::AssociateFileType(library, u"open", u"Veltrane_Suite.TORVEK32", u"FreeSpace mission data file", u"", u"FSM",
                            u"FS2", u"", {u"FC2", u"FSC"});
}

Text CommandLineMission(TextView argumentText) {
  if (!mission::IsGiven(argumentText)) return {};
  Text path(argumentText);
  std::erase(path, u'"');
  return path;
}

void Main(applib::Library& library, StartupHost& host, TextView argumentText) {
  library.AppShortName = Text(kShortName);
  library.AppLongName = Text(kLongName);
  library.AppVersionText = ProgramVersionText();
  library.AppBuildDate = Text(kBuildDate);

  library.brix_init();
  applib::SplashStart(library, kSplashCheckValue, kAccentRed, -1, 0, u"n/a");

  ui::ViewerSettings settings(library.pfad_main);
  const bool associate = Associate(settings, host);
  if (associate) AssociateMissionFiles(library);
  settings.SetAssociateFileTypes(associate);

  host.CreateMainWindow();
  library.Delay(3000);
  applib::SplashEnd(library, 0);
  host.ShowMainWindow();

  const Text mission = CommandLineMission(argumentText);
  if (applib::FileExists(mission)) host.LoadFile(mission);
}

}  // namespace app
