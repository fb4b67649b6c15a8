// The start-up on the real Qt user interface: splash window, welcome
// question, error dialog and warnings as the user sees them, answered by the
// test; only the platform (paths, the 3-second wait, ending the program) is
// a stand-in.
#include "app/viewer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "applib/ini.h"
#include "tests/applib/fakes.h"
#include "tests/applib/temp_dir.h"
#include "tests/ui/qt_print.h"
#include "ui/suite/brixemsg.h"
#include "ui/suite/brixsplash.h"
#include "ui/suite/qtfrontend.h"
#include "ui/window/mainform.h"

namespace {

namespace fs = std::filesystem;
using applib::Text;
using applib::testing::ExitCalled;

void Write(const fs::path& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }

// Answers the first modal window that `answer` accepts, whenever it comes up.
class ModalAnswerer {
 public:
  explicit ModalAnswerer(std::function<bool(QWidget*)> answer) : answer_(std::move(answer)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal != nullptr && answer_(modal)) timer_.stop();
    });
    timer_.start(5);
  }

 private:
  std::function<bool(QWidget*)> answer_;
  QTimer timer_;
};

// Notes whether the splash window was up while the main window loaded.
class ObservedHost : public app::QtStartupHost {
 public:
  ObservedHost(applib::Library& library, ui::QtFrontend& frontend)
      : QtStartupHost(library), frontend_(frontend) {}

  void CreateMainWindow() override {
    splash_up_while_loading = frontend_.splash() != nullptr && frontend_.splash()->isVisible();
    QtStartupHost::CreateMainWindow();
    window_hidden_after_load = !window()->isVisible();
  }

  bool splash_up_while_loading = false;
  bool window_hidden_after_load = false;

 private:
  ui::QtFrontend& frontend_;
};

class QtStartup : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path base = root.path();
    fs::create_directories(base / "lib");
    fs::create_directories(base / "fonts");
    fs::create_directories(ProgramDir());
    platform.config_file = applib::FromFsPath(base / "brix.cfg");
    platform.font_dirs = {applib::FromFsPath(base / "fonts")};
    Write(base / "brix.cfg", "[Directories]\nBrix3=" + (base / "lib").string() + "\n");
    Write(base / "lib" / "brix.ini", "[Moduls_Dirs]\nTORVK32=" + ProgramDir().string() + "\n");
    Write(base / "fonts" / "tahoma.ttf", "not really a font");
    const fs::path artwork = fs::path(TORVEK_SOURCE_DIR) / "applib" / "artwork";
    fs::copy_file(artwork / "torvk32.jpg", ProgramDir() / "torvk32.jpg");
    fs::copy_file(artwork / "torvk32.gif", ProgramDir() / "torvk32.gif");
  }

  fs::path ProgramDir() const { return root.path() / "program"; }
  Text Setting() const {
    return applib::IniRead(applib::FromFsPath(ProgramDir()), u"torvk32.ini", u"Startup", u"AssociateFileTypes");
  }

  std::optional<int> Run(applib::TextView commandLine) {
    try {
      app::Main(lib, host, commandLine);
    } catch (const ExitCalled& exit) {
      return exit.status;
    }
    return std::nullopt;
  }

  applib::testing::TempDir root;
  applib::testing::FakePlatform platform;
  ui::QtFrontend frontend;
  applib::Library lib{platform, frontend};
  ObservedHost host{lib, frontend};
};

TEST_F(QtStartup, WelcomeQuestionInFrontOfTheSplashThenTheWindowWithTheMission) {
  const fs::path mission = root.path() / "SM1-01.fsm";
  Write(mission, "#Mission Info\n$Name: Test\n");

  QString title;
  QString text;
  bool splashUp = false;
  ModalAnswerer answerNo([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (box == nullptr) return false;
    title = box->windowTitle();
    text = box->text();
    splashUp = frontend.splash() != nullptr && frontend.splash()->isVisible();
    box->button(QMessageBox::No)->click();
    return true;
  });

  ASSERT_EQ(Run(u"\"" + applib::FromFsPath(mission) + u"\""), std::nullopt);
  EXPECT_EQ(title, QStringLiteral("Welcome to Veltrane Suite TORVEK32"));
  EXPECT_TRUE(text.startsWith(QStringLiteral("Do you want to use Veltrane Suite TORVEK32")));
  EXPECT_TRUE(splashUp);
  EXPECT_EQ(Setting(), u"0");

  EXPECT_TRUE(host.splash_up_while_loading);
  EXPECT_TRUE(host.window_hidden_after_load);
  // Three seconds with the splash window painted every 20 ms, then the
  // splash's own yield.
  std::vector<std::uint32_t> wait(150, 20);
  wait.push_back(0);
  EXPECT_EQ(platform.sleeps, wait);
  EXPECT_EQ(frontend.splash(), nullptr);
  ASSERT_NE(host.window(), nullptr);
  EXPECT_TRUE(host.window()->isVisible());
  EXPECT_EQ(host.window()->windowTitle(),
            QStringLiteral("Veltrane Suite TORVEK32 - [") + QString::fromStdString(mission.string()) + u']');
}

TEST_F(QtStartup, MissingLibraryShowsTheErrorDialogAndEndsBeforeAnyWindow) {
  fs::remove(root.path() / "brix.cfg");
  QString header;
  ModalAnswerer closeIt([&](QWidget* modal) {
    auto* dialog = qobject_cast<ui::BrixEMsg*>(modal);
    if (dialog == nullptr) return false;
    header = dialog->findChild<QLabel*>(QStringLiteral("ErrorHeader"))->text();
    dialog->findChild<QPushButton*>(QStringLiteral("ButtonOK"))->click();
    return true;
  });
  EXPECT_EQ(Run(u""), std::optional<int>(1));
  EXPECT_EQ(header, QStringLiteral(" Brix32 error"));
  EXPECT_EQ(host.window(), nullptr);
}

TEST_F(QtStartup, CancelAtTheChangedPictureWarningEndsTheProgram) {
  Write(ProgramDir() / "torvk32.jpg", "someone else's picture");
  bool cancelIsDefault = false;
  ModalAnswerer cancel([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (box == nullptr || box->windowTitle() != QStringLiteral("Veltrane Suite warning")) return false;
    cancelIsDefault = box->defaultButton() == box->button(QMessageBox::Cancel);
    box->button(QMessageBox::Cancel)->click();
    return true;
  });
  EXPECT_EQ(Run(u""), std::optional<int>(1));
  EXPECT_TRUE(cancelIsDefault);
  EXPECT_EQ(host.window(), nullptr);
}

// After "No" at the welcome question, Tools > Options is the way back:
// "Always" stores the choice and associates the mission files at once.
TEST_F(QtStartup, OptionsDialogAssociatesTheMissionFilesAtOnce) {
  Write(ProgramDir() / "torvk32.ini", "[Startup]\nAssociateFileTypes=0\n");
  ASSERT_EQ(Run(u""), std::nullopt);
  EXPECT_TRUE(platform.registered.empty());

  ModalAnswerer always([&](QWidget* modal) {
    if (modal->objectName() != QStringLiteral("OptionsDialog")) return false;
    modal->findChild<QAbstractButton*>(QStringLiteral("AssociateAlways"))->click();
    qobject_cast<QDialog*>(modal)->accept();
    return true;
  });
  host.window()->findChild<QAction*>(QStringLiteral("MenuToolsOptions"))->trigger();
  EXPECT_EQ(Setting(), u"1");
  ASSERT_EQ(platform.registered.size(), 1u);
  EXPECT_EQ(platform.registered[0].script_path, applib::FromFsPath(root.path() / "lib" / "shell" / "torvk32.reg"));
}

}  // namespace
