#include <gtest/gtest.h>

#include <QLibrary>

#include "applib/ini.h"
#include "tests/applib/suite_fixture.h"
#include "tests/ui/qt_print.h"
#include "ui/suite/help.h"

namespace {

using applib::testing::Suite;

struct Shown {
  QString kind, title, text;
};

class HelpMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(suite.Init().has_value());
    suite.lib.AppVersionText = u"1.0 Beta 01b (Build 02)";
    suite.lib.AppBuildDate = u"02/23/2000";
  }

  ui::HelpMenu Menu(const QStringList& toolsDirectories) {
    auto record = [this](const char* kind) {
      return [this, kind](QWidget*, const QString& title, const QString& text) {
        shown.push_back({QString::fromUtf8(kind), title, text});
      };
    };
    return ui::HelpMenu(suite.lib, toolsDirectories, nullptr, {record("about"), record("information")});
  }

  Suite suite;
  std::vector<Shown> shown;
};

TEST_F(HelpMenuTest, TutorialStartsTheToolKitThatBrixIniNames) {
  suite.SetBrix(u"Moduls_Dirs", u"KORVA", u"/opt/korva");
  suite.SetBrix(u"Moduls_EXEs", u"KORVA", u"korva");
  EXPECT_EQ(ui::TutorialProgram(suite.lib), u"/opt/korva/korva");
  Menu({}).MenuHelpTutorial_Click();
  EXPECT_EQ(suite.platform.opened, std::vector<applib::Text>{u"/opt/korva/korva"});
}

TEST_F(HelpMenuTest, WithoutTheToolsLibraryOurOwnAboutBoxAndAnHonestVersionCheck) {
  applib::testing::TempDir empty;
  ui::HelpMenu menu = Menu({QString::fromStdString(empty.path().string())});
  menu.MenuHelpAbout_Click();
  menu.MenuHelpQXVC_Click();
  ASSERT_EQ(shown.size(), 2u);

  EXPECT_EQ(shown[0].kind, QStringLiteral("about"));
  EXPECT_EQ(shown[0].title, QStringLiteral("About TORVEK32"));
  for (const char* part : {"TORVEK32", "1.0 Beta 01b (Build 02)", "02/23/2000", "A Veltrane Suite production"}) {
    EXPECT_TRUE(shown[0].text.contains(QString::fromUtf8(part))) << part;
  }

  EXPECT_EQ(shown[1].kind, QStringLiteral("information"));
  EXPECT_EQ(shown[1].title, QStringLiteral("Check for new version"));
  EXPECT_TRUE(shown[1].text.contains(QStringLiteral("No update service is configured")));
  EXPECT_TRUE(shown[1].text.contains(QStringLiteral("1.0 Beta 01b (Build 02)")));
}

TEST_F(HelpMenuTest, TheToolsLibraryIsFoundInTheLaterDirectoryAndCalled) {
  applib::testing::TempDir empty;
  ui::HelpMenu menu = Menu({QString::fromStdString(empty.path().string()), QStringLiteral(FAKE_QX_TOOLS_DIR)});
  menu.MenuHelpAbout_Click();
  menu.MenuHelpQXVC_Click();
  menu.MenuHelpQXVC_Click();
  EXPECT_TRUE(shown.empty());

  QLibrary tools(QStringLiteral(FAKE_QX_TOOLS_DIR "/libqx_tools.so"));
  const auto* about = reinterpret_cast<const int*>(tools.resolve("fake_qx_about_calls"));
  const auto* qxvc = reinterpret_cast<const int*>(tools.resolve("fake_qx_qxvc_calls"));
  ASSERT_NE(about, nullptr);
  ASSERT_NE(qxvc, nullptr);
  EXPECT_EQ(*about, 1);
  EXPECT_EQ(*qxvc, 2);
}

}  // namespace
