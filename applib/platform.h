// What the application library needs from the operating system (Platform)
// and from the user interface (Frontend), behind two small interfaces so
// that the library's logic runs, and is tested, without either.
#pragma once

#include <cstdint>
#include <vector>

#include "base/text.h"

namespace applib {

using mission::Text;
using mission::TextView;

// A kind of document that opens with this program: the file-type
// association writes it into its registry script and hands it to the
// platform.
struct DocumentType {
  Text verb;                     // the shell verb of the command: "open"
  Text program_id;               // the type's class name: "Veltrane_Suite.TORVEK32"
  Text description;              // the type's display name
  Text extra_arguments;          // between the program and the document; not given (IsGiven) means none
  std::vector<Text> extensions;  // without the dot, as written ("FSM"); none empty
  Text program;                  // the program that opens the documents
  // Further extensions the desktop's MIME type matches too (campaign files),
  // which the registry script leaves out.
  std::vector<Text> desktopExtensions = {};
};

class Platform {
 public:
  virtual ~Platform() = default;

  // The suite's fixed configuration file, which names the library directory.
  virtual Text BrixConfigFile() = 0;
  // Stand-ins for the Windows and system directories, without a final
  // separator; they only feed pfad_windows, pfad_winsys and the font search.
  virtual Text WindowsDir() = 0;
  virtual Text SystemDir() = 0;
  // Folders that may hold the interface font, searched in this order, and
  // the user's own font folder, the answer when none holds it.
  virtual std::vector<Text> FontDirs() = 0;
  virtual Text UserFontDir() = 0;
  // The full path of the running program.
  virtual Text ExecutablePath() = 0;
  // Starts argv[0] with the arguments, without a shell and without waiting.
  // False when it could not be started.
  virtual bool StartProgram(const std::vector<Text>& argv) = 0;
  // Hands a program or document to the desktop: a program is started, any
  // other file is opened with the user's application for it. The outcome is
  // not reported.
  virtual void OpenDocument(TextView target) = 0;
  // Makes the desktop open documents of `type` with its program, without
  // waiting for the result. `script_path` names the registry script
  // ("REGEDIT4" text) written for the type, for a platform whose importer
  // reads such scripts; others apply the type itself. A platform that can do
  // neither does nothing.
  virtual void RegisterDocumentType(const DocumentType& type, TextView script_path) {
    static_cast<void>(type);
    static_cast<void>(script_path);
  }
  // Sleeps; 0 only yields the processor.
  virtual void Sleep(std::uint32_t milliseconds) = 0;
  // Ends the program at once.
  [[noreturn]] virtual void Exit(int status) = 0;
};

// What the splash window shows; see splash.h for how it is filled.
struct SplashScreen {
  Text name;                   // "TORVEK": the program's name without a final "32"
  Text name_suffix;            // "32" (empty when the name has no such ending)
  std::uint32_t accent = 0;    // colour of name_suffix, 0xBBGGRR
  Text version;                // "V1.0 Beta 01b (Build 02)"
  Text credit;                 // the credit line
  Text picture;                // the splash picture, empty when it is missing
  Text suite_picture;          // the suite picture beside it ("gif")
};

class Frontend {
 public:
  virtual ~Frontend() = default;

  // Shows a fatal error modally and returns when the user has closed it.
  virtual void ShowFatalError(TextView title, TextView message) = 0;
  // A warning with OK and Cancel; true when the user chose OK.
  virtual bool AskOkCancel(TextView title, TextView message, bool cancel_is_default) = 0;
  // Makes a font file available to every control of the program.
  virtual void RegisterFont(TextView path) = 0;
  // Puts the splash window up (not modal) and paints it at once; CloseSplash
  // takes it down again.
  virtual void ShowSplash(const SplashScreen& splash) { static_cast<void>(splash); }
  virtual void CloseSplash() {}
  // Windows that must stay painted while the program waits: a wait is cut
  // into slices of this many milliseconds, with Paint between them. 0 (no
  // windows) waits in one piece.
  virtual std::uint32_t PaintInterval() const { return 0; }
  // Lets the window system map, expose and repaint the windows; handles no
  // user input.
  virtual void Paint() {}
};

}  // namespace applib
