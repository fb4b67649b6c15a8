#include "app/viewer.h"

#include <QApplication>
#include <QMessageBox>

#include "applib/linux_platform.h"
#include "ui/common/qtext.h"
#include "ui/suite/help.h"
#include "ui/suite/qtfrontend.h"
#include "ui/window/mainform.h"

namespace app {

using ui::ToQString;

QtStartupHost::QtStartupHost(applib::Library& library) : library_(library) {}

QtStartupHost::~QtStartupHost() = default;

bool QtStartupHost::AskYesNo(TextView title, TextView text) {
  return ui::MakeYesNoBox(ToQString(title), ToQString(text))->exec() == QMessageBox::Yes;
}

void QtStartupHost::CreateMainWindow() {
  window_ = std::make_unique<ui::FSMMainForm>(library_);
  // The tools library is looked for beside the executable, then in the
  // program's directory of the suite.
  const QStringList toolsDirectories{QCoreApplication::applicationDirPath(), ToQString(library_.pfad_main)};
  help_ = std::make_unique<ui::HelpMenu>(library_, toolsDirectories, window_.get());
  QObject::connect(window_.get(), &ui::FSMMainForm::helpTutorialRequested, window_.get(),
                   [this] { help_->MenuHelpTutorial_Click(); });
  QObject::connect(window_.get(), &ui::FSMMainForm::helpQXVCRequested, window_.get(),
                   [this] { help_->MenuHelpQXVC_Click(); });
  QObject::connect(window_.get(), &ui::FSMMainForm::helpAboutRequested, window_.get(),
                   [this] { help_->MenuHelpAbout_Click(); });
  QObject::connect(window_.get(), &ui::FSMMainForm::associateFileTypesRequested, window_.get(),
                   [this] { AssociateMissionFiles(library_); });
}

void QtStartupHost::ShowMainWindow() { window_->show(); }

void QtStartupHost::LoadFile(TextView path) { window_->LoadFile(ToQString(path)); }

int RunViewer(int argc, char** argv) {
  QApplication application(argc, argv);
  // The window runs for torvk32, which starts it: it keeps that program's
  // name for Qt and for the suite (its settings folder, pictures and file
  // association are torvk32's).
  QCoreApplication::setApplicationName(QStringLiteral("torvk32"));
  applib::LinuxPlatform platform(u"torvk32");
  ui::QtFrontend frontend;
  applib::Library library(platform, frontend);
  QtStartupHost host(library);

  // Qt has taken its own options out; what is left is the argument text.
  QStringList arguments = QCoreApplication::arguments();
  arguments.removeFirst();
  Main(library, host, arguments.join(u' ').toStdU16String());
  return application.exec();
}

}  // namespace app
