// The program's start-up: names and version for the library, the library's
// set-up, the splash screen, the file-type association (asked once), the main
// window, and the mission named on the command line.
#pragma once

#include "applib/library.h"
#include "base/text.h"

namespace app {

using mission::Text;
using mission::TextView;

inline constexpr TextView kShortName = u"TORVK32";
inline constexpr TextView kLongName = u"TORVEK32";
inline constexpr TextView kBuildDate = u"02/23/2000";

inline constexpr TextView kWelcomeTitle = u"Welcome to Veltrane Suite TORVEK32";
inline constexpr TextView kWelcomeText =
    u"Do you want to use Veltrane Suite TORVEK32 as the default application for *.FSM/FS2 files? "
    u"This will enable you to open this tool quickly from Explorer and ZANTH32 when double-clicking on a TBL file."
    u"\n\n"
    u"Note 1: You can do this later by going to the Options dialog."
    u"\n\n"
    u"Note 2: Usually FRED/FRED2 are the default applications for these extensions. "
    u"You can however run these tools from TORVEK32 very quickly with the current mission using the toolbar.";

// "1.0 Beta 01b (Build 02)": the version of this build.
Text ProgramVersionText();

// What start-up needs besides the library: the welcome question and the main
// window.
class StartupHost {
 public:
  virtual ~StartupHost() = default;
  // A question with the buttons Yes and No; true for Yes.
  virtual bool AskYesNo(TextView title, TextView text) = 0;
  // Creates the main window and runs its load (settings, saved position)
  // without showing it.
  virtual void CreateMainWindow() = 0;
  virtual void ShowMainWindow() = 0;
  virtual void LoadFile(TextView path) = 0;
};

// Makes this program the one that opens mission files (*.fsm, *.fs2): at
// start-up when the user agreed, and from the Options dialog.
void AssociateMissionFiles(applib::Library& library);

// The mission file a command line names, double quotes removed; empty when
// the argument text is not given.
Text CommandLineMission(TextView argumentText);

// Runs the start-up. Returns when the main window is up; a set-up failure or
// a Cancel at a splash warning ends the program on the way.
void Main(applib::Library& library, StartupHost& host, TextView argumentText);

}  // namespace app
