#pragma once
// The Help menu: the tool kit's tutorial program, and the About box and
// version check of the suite maker's tools library. That library is loaded
// by name at run time; without it the program shows an About box of its own
// and says plainly that no update service is configured.
#include <functional>

#include <QLibrary>
#include <QStringList>

#include "applib/library.h"

class QWidget;

namespace ui {

// The tool kit's program as brix.ini names it under "KORVA": its directory
// with a final separator, followed by its file name.
applib::Text TutorialProgram(const applib::Library& library);

// The texts of the program's own About box and of its version check answer.
QString AboutTitle(const applib::Library& library);
QString AboutText(const applib::Library& library);
QString NoUpdateServiceText(const applib::Library& library);

// The suite maker's tools library "libqx_tools.so", looked for in the given
// directories in order and loaded when first needed.
class ToolsLibrary {
 public:
  explicit ToolsLibrary(QStringList directories);

  // Calls the export `name`, which takes no arguments (its result is
  // ignored). False when neither the library nor the export is found.
  bool Call(const char* name);

 private:
  bool Load();

  QStringList directories_;
  QLibrary library_;
};

class HelpMenu {
 public:
  // Shows a message box with a title and a text; tests answer instead.
  using MessageFunction = std::function<void(QWidget* parent, const QString& title, const QString& text)>;
  struct Messages {
    MessageFunction about;
    MessageFunction information;
  };
  static Messages PlatformMessages();

  HelpMenu(applib::Library& library, QStringList toolsDirectories, QWidget* parent,
           Messages messages = PlatformMessages());

  void MenuHelpTutorial_Click();
  void MenuHelpQXVC_Click();
  void MenuHelpAbout_Click();

 private:
  applib::Library& library_;
  ToolsLibrary tools_;
  QWidget* parent_;
  Messages messages_;
};

}  // namespace ui
