#include "ui/suite/help.h"

#include <QDir>
#include <QMessageBox>

#include "applib/ini.h"
#include "applib/paths.h"
#include "applib/splash.h"
#include "ui/common/qtext.h"

namespace ui {
namespace {

constexpr applib::TextView kToolKit = u"KORVA";

}  // namespace

applib::Text TutorialProgram(const applib::Library& library) {
  const applib::Text directory = applib::IniRead(library.ad_brix, applib::kBrixIni, u"Moduls_Dirs", kToolKit);
  return applib::AddSlash(directory) + applib::IniRead(library.ad_brix, applib::kBrixIni, u"Moduls_EXEs", kToolKit);
}

QString AboutTitle(const applib::Library& library) {
  return QStringLiteral("About ") + ToQString(library.AppLongName);
}

QString AboutText(const applib::Library& library) {
  return QStringLiteral("Veltrane Suite %1\nVersion %2\nBuilt %3\n\n%4")
      .arg(ToQString(library.AppLongName), ToQString(library.AppVersionText), ToQString(library.AppBuildDate),
           ToQString(applib::kSuiteCredit));
}

QString NoUpdateServiceText(const applib::Library& library) {
  return QStringLiteral(
             "No update service is configured, so %1 cannot look for a newer version.\n\n"
             "You are using %1 version %2.")
      .arg(ToQString(library.AppLongName), ToQString(library.AppVersionText));
}

// --- ToolsLibrary -----------------------------------------------------------

ToolsLibrary::ToolsLibrary(QStringList directories) : directories_(std::move(directories)) {}

bool ToolsLibrary::Load() {
  if (library_.isLoaded()) return true;
  for (const QString& directory : directories_) {
    library_.setFileName(QDir(directory).filePath(QStringLiteral("libqx_tools.so")));
    if (library_.load()) return true;
  }
  return false;
}

bool ToolsLibrary::Call(const char* name) {
  if (!Load()) return false;
  using Export = void (*)();
  const auto function = reinterpret_cast<Export>(library_.resolve(name));
  if (function == nullptr) return false;
  function();
  return true;
}

// --- HelpMenu ---------------------------------------------------------------

HelpMenu::Messages HelpMenu::PlatformMessages() {
  return Messages{
      [](QWidget* parent, const QString& title, const QString& text) { QMessageBox::about(parent, title, text); },
      [](QWidget* parent, const QString& title, const QString& text) {
        QMessageBox::information(parent, title, text);
      }};
}

HelpMenu::HelpMenu(applib::Library& library, QStringList toolsDirectories, QWidget* parent, Messages messages)
    : library_(library), tools_(std::move(toolsDirectories)), parent_(parent), messages_(std::move(messages)) {}

void HelpMenu::MenuHelpTutorial_Click() { library_.platform().OpenDocument(TutorialProgram(library_)); }

void HelpMenu::MenuHelpQXVC_Click() {
  if (tools_.Call("DoQXVC")) return;
  messages_.information(parent_, QStringLiteral("Check for new version"), NoUpdateServiceText(library_));
}

void HelpMenu::MenuHelpAbout_Click() {
  if (tools_.Call("DoAbout")) return;
  messages_.about(parent_, AboutTitle(library_), AboutText(library_));
}

}  // namespace ui
