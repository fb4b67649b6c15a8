#include "app/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "applib/freedesktop.h"
#include "applib/ini.h"
#include "applib/splash.h"
#include "tests/applib/suite_fixture.h"

namespace {

using applib::Text;
using applib::TextView;
using applib::testing::ExitCalled;
using applib::testing::ReadFile;
using applib::testing::Suite;
namespace fs = std::filesystem;

const fs::path kArtwork = fs::path(TORVEK_SOURCE_DIR) / "applib" / "artwork";

// The main window and the welcome question, as start-up sees them. Each
// step notes what the library had done by then, so that the order shows.
class FakeHost : public app::StartupHost {
 public:
  explicit FakeHost(Suite& suite) : suite_(suite) {}

  struct Moment {
    std::size_t splashes_shown, splashes_closed, sleeps;
  };

  bool AskYesNo(TextView title, TextView text) override {
    questions.emplace_back(title, text);
    asked_at = Now();
    return answer;
  }
  void CreateMainWindow() override { created_at = Now(); }
  void ShowMainWindow() override { shown_at = Now(); }
  void LoadFile(TextView path) override { loaded.emplace_back(path); }

  bool answer = true;
  std::vector<std::pair<Text, Text>> questions;
  std::vector<Text> loaded;
  std::optional<Moment> asked_at, created_at, shown_at;

 private:
  Moment Now() const {
    return {suite_.frontend.splashes.size(), static_cast<std::size_t>(suite_.frontend.splash_closed),
            suite_.platform.sleeps.size()};
  }
  Suite& suite_;
};

class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(ProgramDir());
    suite.SetBrix(u"Moduls_Dirs", u"TORVK32", applib::FromFsPath(ProgramDir()));
    suite.SetBrix(u"Moduls_EXEs", u"TORVK32", u"torvk32");
    fs::copy_file(kArtwork / "torvk32.jpg", ProgramDir() / "torvk32.jpg");
    fs::copy_file(kArtwork / "torvk32.gif", ProgramDir() / "torvk32.gif");
  }

  fs::path ProgramDir() const { return suite.root.path() / "program"; }
  Text Setting() const {
    return applib::IniRead(applib::FromFsPath(ProgramDir()), u"torvk32.ini", u"Startup", u"AssociateFileTypes");
  }
  void Store(TextView value) {
    applib::IniWrite(applib::FromFsPath(ProgramDir()), u"torvk32.ini", u"Startup", u"AssociateFileTypes", value);
  }
  bool ScriptWritten() const { return fs::exists(suite.root.path() / "lib" / "shell" / "torvk32.reg"); }

  // Runs start-up; the exit status when it ended the program.
  std::optional<int> Run(TextView commandLine = u"") {
    try {
      app::Main(suite.lib, host, commandLine);
    } catch (const ExitCalled& exit) {
      return exit.status;
    }
    return std::nullopt;
  }

  Suite suite;
  FakeHost host{suite};
};

TEST_F(Startup, FirstStartAnsweredYesAssociatesAndRemembers) {
  host.answer = true;
  ASSERT_EQ(Run(), std::nullopt);

  EXPECT_EQ(suite.lib.AppShortName, u"TORVK32");
  EXPECT_EQ(suite.lib.AppLongName, u"TORVEK32");
  EXPECT_EQ(suite.lib.AppVersionText, u"1.0 Beta 01b (Build 02)");
  EXPECT_EQ(suite.lib.AppBuildDate, u"02/23/2000");

  ASSERT_EQ(host.questions.size(), 1u);
  EXPECT_EQ(host.questions[0].first, u"Welcome to Veltrane Suite TORVEK32");
  EXPECT_EQ(host.questions[0].second,
            u"Do you want to use Veltrane Suite TORVEK32 as the default application for *.FSM/FS2 files? This will "
            u"enable you to open this tool quickly from Explorer and ZANTH32 when double-clicking on a TBL file.\n\n"
            u"Note 1: You can do this later by going to the Options dialog.\n\n"
            u"Note 2: Usually FRED/FRED2 are the default applications for these extensions. You can however run "
            u"these tools from TORVEK32 very quickly with the current mission using the toolbar.");
  EXPECT_TRUE(ScriptWritten());
  EXPECT_EQ(suite.platform.registered.size(), 1u);
  EXPECT_EQ(Setting(), u"1");

  // The splash screen is up for the question and while the window loads,
  // then stays three more seconds before the window is shown.
  ASSERT_EQ(suite.frontend.splashes.size(), 1u);
  EXPECT_EQ(suite.frontend.splashes[0].name, u"TORVEK");
  EXPECT_EQ(suite.frontend.splashes[0].accent, 255u);
  EXPECT_EQ(suite.frontend.splashes[0].credit, applib::kSuiteCredit);
  EXPECT_TRUE(suite.frontend.questions.empty()) << "the shipped picture raises no warning";
  ASSERT_TRUE(host.asked_at && host.created_at && host.shown_at);
  EXPECT_EQ(host.asked_at->splashes_shown, 1u);
  EXPECT_EQ(host.created_at->splashes_shown, 1u);
  EXPECT_EQ(host.created_at->splashes_closed, 0u);
  EXPECT_EQ(host.created_at->sleeps, 0u);
  EXPECT_EQ(host.shown_at->splashes_closed, 1u);
  EXPECT_EQ(suite.platform.sleeps, (std::vector<std::uint32_t>{3000, 0}));
  EXPECT_FALSE(suite.lib.SplashActive);
}

TEST_F(Startup, FirstStartAnsweredNoRegistersNothingAndIsNotAskedAgain) {
  host.answer = false;
  ASSERT_EQ(Run(), std::nullopt);
  EXPECT_EQ(host.questions.size(), 1u);
  EXPECT_FALSE(ScriptWritten());
  EXPECT_TRUE(suite.platform.registered.empty());
  EXPECT_EQ(Setting(), u"0");

  ASSERT_EQ(Run(), std::nullopt);
  EXPECT_EQ(host.questions.size(), 1u);
  EXPECT_FALSE(ScriptWritten());
}

TEST_F(Startup, StoredSettingDecidesOrTheUserIsAsked) {
  struct Case {
    const char16_t* stored;
    bool asked;
    bool answer;
    bool script;
    const char16_t* written;
  } const cases[] = {
      {u"1", false, false, true, u"1"},  {u"0", false, true, false, u"0"}, {u"", true, false, false, u"0"},
      {u"2", true, true, true, u"1"},    {u"yes", true, false, false, u"0"}, {u"1 x", true, true, true, u"1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(mission::ToUtf8(c.stored));
    fs::remove_all(suite.root.path() / "lib" / "shell");
    Store(c.stored);
    host.questions.clear();
    host.answer = c.answer;
    ASSERT_EQ(Run(), std::nullopt);
    EXPECT_EQ(host.questions.size(), c.asked ? 1u : 0u);
    EXPECT_EQ(ScriptWritten(), c.script);
    EXPECT_EQ(Setting(), c.written);
  }
}

TEST_F(Startup, SetUpFailuresEndTheProgramBeforeAnyWindow) {
  struct Case {
    const char* name;
    std::function<void(Suite&)> breakIt;
    TextView title;
  } const cases[] = {
      {"no brix.cfg", [](Suite& s) { fs::remove(s.root.path() / "brix.cfg"); }, applib::kNotInstalledTitle},
      {"no brix.ini", [](Suite& s) { fs::remove(s.root.path() / "lib" / "brix.ini"); }, applib::kNotInstalledTitle},
      {"no font", [](Suite& s) { fs::remove(s.root.path() / "fonts" / "tahoma.ttf"); }, applib::kFontErrorTitle},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Suite broken;
    c.breakIt(broken);
    FakeHost brokenHost(broken);
    try {
      app::Main(broken.lib, brokenHost, u"");
      ADD_FAILURE() << "start-up went on";
    } catch (const ExitCalled& exit) {
      EXPECT_EQ(exit.status, 1);
    }
    ASSERT_EQ(broken.frontend.fatal_errors.size(), 1u);
    EXPECT_EQ(broken.frontend.fatal_errors[0].first, c.title);
    EXPECT_TRUE(broken.frontend.splashes.empty());
    EXPECT_TRUE(brokenHost.questions.empty());
    EXPECT_FALSE(brokenHost.created_at.has_value());
  }
}

TEST_F(Startup, SplashPictureWarnings) {
  struct Case {
    const char* name;
    bool remove;    // the picture is missing, else it is changed
    bool ok;        // the user's answer
    TextView text;
    bool cancelIsDefault;
  } const cases[] = {
      {"missing, OK", true, true, applib::kPictureMissingText, false},
      {"missing, Cancel", true, false, applib::kPictureMissingText, false},
      {"changed, OK", false, true, applib::kPictureModifiedText, true},
      {"changed, Cancel", false, false, applib::kPictureModifiedText, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    suite.frontend.questions.clear();
    suite.frontend.answers = {c.ok};
    host.created_at.reset();
    const fs::path picture = ProgramDir() / "torvk32.jpg";
    fs::remove(picture);
    if (!c.remove) std::ofstream(picture) << "not the shipped picture";
    Store(u"0");

    const std::optional<int> exit = Run();
    ASSERT_EQ(suite.frontend.questions.size(), 1u);
    EXPECT_EQ(suite.frontend.questions[0].title, applib::kSuiteWarningTitle);
    EXPECT_EQ(suite.frontend.questions[0].message, c.text);
    EXPECT_EQ(suite.frontend.questions[0].cancel_is_default, c.cancelIsDefault);
    EXPECT_EQ(exit, c.ok ? std::nullopt : std::optional<int>(1));
    EXPECT_EQ(host.created_at.has_value(), c.ok);
    EXPECT_EQ(fs::exists(picture), !c.remove) << "the check creates no file";
  }
}

TEST_F(Startup, CommandLineMission) {
  const fs::path mission = suite.root.path() / "My Missions" / "SM1-01.fsm";
  fs::create_directories(mission.parent_path());
  std::ofstream(mission) << "#Mission Info\n";
  const Text path = applib::FromFsPath(mission);
  struct Case {
    Text commandLine;
    std::vector<Text> loaded;
  } const cases[] = {
      {u"\"" + path + u"\"", {path}},
      {path, {path}},
      {u"\"" + path + u"\" \"" + path + u"\"", {}},  // two names
      {path + u".missing", {}},
      {applib::FromFsPath(mission.parent_path()), {}},  // a directory
      {u"", {}},
      {u"   ", {}},
      {u"n/a", {}},
      {u"\"\"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(mission::ToUtf8(c.commandLine));
    Store(u"0");
    host.loaded.clear();
    ASSERT_EQ(Run(c.commandLine), std::nullopt);
    EXPECT_EQ(host.loaded, c.loaded);
    EXPECT_TRUE(host.shown_at.has_value());
  }
}

// The Debian package brings a MIME type and a desktop entry under the ids the
// association writes for the user, who then gets the same type and the same
// menu entry: only the command differs (the package's sets the suite up
// first).
TEST_F(Startup, PackagedDesktopFilesAreTheOnesTheAssociationWrites) {
  host.answer = true;
  ASSERT_EQ(Run(), std::nullopt);
  const fs::path home = suite.root.path() / "home";
  ASSERT_EQ(suite.platform.registered.size(), 1u);
  ASSERT_TRUE(applib::ApplyDocumentType(suite.platform.registered[0].type, applib::FromFsPath(home / "data"),
                                        applib::FromFsPath(home / "config"), suite.platform));
  const fs::path packaging = fs::path(TORVEK_SOURCE_DIR) / "packaging";
  const auto names = [](const fs::path& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) found.push_back(entry.path().filename().string());
    return found;
  };
  const std::vector<std::string> mime = names(home / "data" / "mime" / "packages");
  const std::vector<std::string> desktop = names(home / "data" / "applications");
  ASSERT_EQ(mime, std::vector<std::string>{"veltrane_suite.torvek32.xml"});
  ASSERT_EQ(desktop, std::vector<std::string>{"veltrane_suite.torvek32.desktop"});

  EXPECT_EQ(ReadFile(packaging / mime[0]), ReadFile(home / "data" / "mime" / "packages" / mime[0]));
  const auto lines = [](const std::string& text) {
    std::vector<std::string> kept;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
      if (!line.starts_with("Exec=")) kept.push_back(line);
    }
    return kept;
  };
  const std::string packaged = ReadFile(packaging / desktop[0]);
  EXPECT_EQ(lines(packaged), lines(ReadFile(home / "data" / "applications" / desktop[0])));
  EXPECT_NE(packaged.find("\nExec=torvk32-setup --start %f\n"), std::string::npos) << packaged;
}

}  // namespace
