#include "ui/rules/settings.h"

#include <gtest/gtest.h>

#include "applib/ini.h"
#include "tests/applib/temp_dir.h"

namespace ui {
namespace {

TEST(SettingRules, TreeViewIsTheNumberAsA16BitInteger) {
  const struct {
    TextView value;
    int shown;
  } cases[] = {{u"1", 1}, {u"0", 0}, {u"", 0}, {u"2", 0}, {u"-1", 0}, {u"yes", 0},
               {u"1.0", 1}, {u" 1", 1}, {u"70000", 0}, {u"65537", 0}, {u"1e400", 0}};
  for (const auto& c : cases) EXPECT_EQ(TreeViewFromSetting(c.value), c.shown) << mission::ToUtf8(c.value);
}

TEST(SettingRules, OnlyExactZeroSwitchesCodeWindowOff) {
  EXPECT_TRUE(CodeHiddenFromSetting(u"0"));
  for (TextView v : {u"", u"1", u"0 ", u" 0", u"false", u"00"}) EXPECT_FALSE(CodeHiddenFromSetting(v));
}

TEST(SettingRules, AssociationAsksForAnythingButOneAndZero) {
  EXPECT_EQ(AssociationFromSetting(u"1"), Association::kYes);
  EXPECT_EQ(AssociationFromSetting(u"0"), Association::kNo);
  for (TextView v : {u"", u"-1", u"yes", u"1 ", u"01"}) EXPECT_EQ(AssociationFromSetting(v), Association::kAsk);
}

TEST(SettingRules, PaneBoundariesAreWholeTwips) {
  const struct {
    TextView value;
    std::optional<double> twips;
  } cases[] = {{u"3615", 3615.0}, {u"1", 1.0}, {u"1000000", 1000000.0}, {u"", std::nullopt},
               {u"0", std::nullopt}, {u"-5", std::nullopt}, {u"12.5", std::nullopt}, {u" 12", std::nullopt},
               {u"1000001", std::nullopt}, {u"99999999999", std::nullopt}, {u"abc", std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(TwipsFromSetting(c.value), c.twips) << mission::ToUtf8(c.value);
}

TEST(SettingRules, ColumnWidthsAreAListOfTwipsOrNothing) {
  const struct {
    TextView value;
    std::vector<int> widths;
  } cases[] = {{u"300,2000,800", {300, 2000, 800}}, {u" 300 , 0 ", {300, 0}}, {u"4000", {4000}}, {u"", {}},
               {u"300,,800", {}}, {u"300,", {}}, {u",300", {}}, {u"300,x", {}}, {u"300;800", {}},
               {u"-1,2", {}}, {u"1000001", {}}};
  for (const auto& c : cases) EXPECT_EQ(ColumnWidthsFromSetting(c.value), c.widths) << mission::ToUtf8(c.value);
  EXPECT_EQ(ColumnWidthsSetting({300, 2000, 0}), u"300,2000,0");
  EXPECT_EQ(ColumnWidthsSetting({}), u"");
}

TEST(SettingRules, OnlyExactOneTranslatesFreeSpaceOpenOperators) {
  EXPECT_TRUE(ModernOperatorsFromSetting(u"1"));
  for (TextView v : {u"", u"0", u"1 ", u" 1", u"01", u"true", u"2"}) EXPECT_FALSE(ModernOperatorsFromSetting(v));
}

TEST(SettingRules, EventFlowModeAndSteps) {
  const struct {
    TextView value;
    views::FlowChoice choice;
  } choices[] = {{u"whole", views::FlowChoice::kWhole},
                 {u"neighbourhood", views::FlowChoice::kNeighbourhood},
                 {u"", views::FlowChoice::kAutomatic},
                 {u"Whole", views::FlowChoice::kAutomatic},
                 {u"neighborhood", views::FlowChoice::kAutomatic}};
  for (const auto& c : choices) {
    EXPECT_EQ(FlowChoiceFromSetting(c.value), c.choice) << mission::ToUtf8(c.value);
    if (c.value.empty() || c.choice != views::FlowChoice::kAutomatic) {
      EXPECT_EQ(FlowChoiceSetting(c.choice), c.value);
    }
  }
  const struct {
    TextView value;
    int steps;
  } steps[] = {{u"1", 1}, {u"9", 9}, {u"3", 3}, {u"", 2}, {u"0", 2}, {u"10", 2}, {u"-1", 2}, {u" 3", 2}, {u"x", 2}};
  for (const auto& c : steps) EXPECT_EQ(FlowStepsFromSetting(c.value), c.steps) << mission::ToUtf8(c.value);
}

class ViewerSettingsTest : public ::testing::Test {
 protected:
  Text Stored(TextView section, TextView key) const { return applib::IniRead(dir.text(), kSettingsFile, section, key); }
  applib::testing::TempDir dir;
};

TEST_F(ViewerSettingsTest, WithoutAFileEveryKeyHasItsDefault) {
  const ViewerSettings settings(dir.text());
  EXPECT_FALSE(settings.TreeViewShown());
  EXPECT_FALSE(settings.LeftCodeHidden());
  EXPECT_FALSE(settings.RightCodeHidden());
  EXPECT_EQ(settings.LastOpenDir(MissionKind::kFS1), u"");
  EXPECT_EQ(settings.LastOpenDir(MissionKind::kFS2), u"");
  EXPECT_EQ(settings.AssociateFileTypes(), Association::kAsk);
  EXPECT_FALSE(settings.ModernOperators());
  EXPECT_FALSE(settings.EventFlowShown());
  EXPECT_EQ(settings.EventFlowMode(), views::FlowChoice::kAutomatic);
  EXPECT_EQ(settings.EventFlowSteps(), 2);
}

// Each setter writes the text of the key table under its own section and
// key, and the getter reads it back.
TEST_F(ViewerSettingsTest, EachKeyIsWrittenAsTheTableSaysAndReadBack) {
  ViewerSettings settings(dir.text());
  settings.SetTreeViewShown(true);
  settings.SetLeftCodeHidden(true);
  settings.SetRightCodeHidden(false);
  settings.SetLastOpenDir(MissionKind::kFS1, u"/one/");
  settings.SetLastOpenDir(MissionKind::kFS2, u"/two/");
  settings.SetAssociateFileTypes(false);
  settings.SetModernOperators(true);
  settings.SetEventFlowShown(true);
  settings.SetEventFlowMode(views::FlowChoice::kNeighbourhood);
  settings.SetEventFlowSteps(12);  // beyond the most: the most

  EXPECT_EQ(Stored(u"Display", u"ModernOperators"), u"1");
  EXPECT_EQ(Stored(u"Display", u"EventFlow"), u"1");
  EXPECT_EQ(Stored(u"Display", u"EventFlowMode"), u"neighbourhood");
  EXPECT_EQ(Stored(u"Display", u"EventFlowSteps"), u"9");
  EXPECT_EQ(Stored(u"Display", u"TreeView"), u"1");
  EXPECT_EQ(Stored(u"Display", u"LeftCodeWindow"), u"0");
  EXPECT_EQ(Stored(u"Display", u"RightCodeWindow"), u"1");
  EXPECT_EQ(Stored(u"Dirs", u"LastOpenDirFS1"), u"/one/");
  EXPECT_EQ(Stored(u"Dirs", u"LastOpenDirFS2"), u"/two/");
  EXPECT_EQ(Stored(u"Startup", u"AssociateFileTypes"), u"0");

  const ViewerSettings again(dir.text());
  EXPECT_TRUE(again.TreeViewShown());
  EXPECT_TRUE(again.LeftCodeHidden());
  EXPECT_FALSE(again.RightCodeHidden());
  EXPECT_EQ(again.LastOpenDir(MissionKind::kFS1), u"/one/");
  EXPECT_EQ(again.LastOpenDir(MissionKind::kFS2), u"/two/");
  EXPECT_EQ(again.AssociateFileTypes(), Association::kNo);
  EXPECT_TRUE(again.ModernOperators());
  EXPECT_TRUE(again.EventFlowShown());
  EXPECT_EQ(again.EventFlowMode(), views::FlowChoice::kNeighbourhood);
  EXPECT_EQ(again.EventFlowSteps(), 9);

  settings.SetTreeViewShown(false);
  settings.SetLeftCodeHidden(false);
  settings.SetAssociateFileTypes(true);
  settings.SetModernOperators(false);
  EXPECT_EQ(Stored(u"Display", u"ModernOperators"), u"0");
  EXPECT_EQ(Stored(u"Display", u"TreeView"), u"0");
  EXPECT_EQ(Stored(u"Display", u"LeftCodeWindow"), u"1");
  EXPECT_EQ(Stored(u"Startup", u"AssociateFileTypes"), u"1");

  // The Options dialog's three choices; "ask" empties the key.
  for (const auto& [association, text] : {std::pair{Association::kNo, u"0"}, std::pair{Association::kAsk, u""},
                                          std::pair{Association::kYes, u"1"}}) {
    settings.SetAssociateFileTypes(association);
    EXPECT_EQ(Stored(u"Startup", u"AssociateFileTypes"), text);
    EXPECT_EQ(ViewerSettings(dir.text()).AssociateFileTypes(), association);
  }
}

TEST_F(ViewerSettingsTest, PaneBoundariesAndColumnWidths) {
  ViewerSettings settings(dir.text());
  EXPECT_EQ(settings.TreeWidth(), std::nullopt);
  EXPECT_EQ(settings.ListHeight(), std::nullopt);
  EXPECT_EQ(settings.ColumnWidths(4), std::vector<int>{});
  settings.SetTreeWidth(4500.4);  // stored as whole twips
  settings.SetListHeight(3000);
  settings.SetColumnWidths(4, {300, 2500, 800, 800, 600, 2000});
  settings.SetColumnWidths(6, {1000});
  EXPECT_EQ(Stored(u"Display", u"TreeWidth"), u"4500");
  EXPECT_EQ(Stored(u"Display", u"ListHeight"), u"3000");
  EXPECT_EQ(Stored(u"Columns", u"Events"), u"300,2500,800,800,600,2000");
  EXPECT_EQ(Stored(u"Columns", u"Ships"), u"1000");

  const ViewerSettings again(dir.text());
  EXPECT_EQ(again.TreeWidth(), 4500.0);
  EXPECT_EQ(again.ListHeight(), 3000.0);
  EXPECT_EQ(again.ColumnWidths(4), (std::vector<int>{300, 2500, 800, 800, 600, 2000}));
  EXPECT_EQ(again.ColumnWidths(5), std::vector<int>{});
  EXPECT_EQ(again.ColumnWidths(0), std::vector<int>{});  // no such view

  // Nothing empties a boundary's key: the design layout again.
  settings.SetTreeWidth(std::nullopt);
  EXPECT_EQ(Stored(u"Display", u"TreeWidth"), u"");
  EXPECT_EQ(settings.TreeWidth(), std::nullopt);
}

// The recent missions under "Recent", File1 the most recent; a shorter
// list empties the keys after it, and empty keys in between are skipped.
TEST_F(ViewerSettingsTest, RecentMissionsAreFilesOneToEight) {
  ViewerSettings settings(dir.text());
  EXPECT_EQ(settings.RecentMissions(), std::vector<Text>{});
  std::vector<Text> eight;
  for (char16_t c = u'a'; c < u'a' + 8; ++c) eight.push_back(u"/m/" + Text(1, c) + u".fs2");
  settings.SetRecentMissions(eight);
  EXPECT_EQ(Stored(u"Recent", u"File1"), u"/m/a.fs2");
  EXPECT_EQ(Stored(u"Recent", u"File8"), u"/m/h.fs2");
  EXPECT_EQ(ViewerSettings(dir.text()).RecentMissions(), eight);

  settings.SetRecentMissions({u"/m/x.fs2", u" /m/blank at the ends.fsm "});
  EXPECT_EQ(Stored(u"Recent", u"File3"), u"");
  EXPECT_EQ(Stored(u"Recent", u"File8"), u"");
  EXPECT_EQ(settings.RecentMissions(), (std::vector<Text>{u"/m/x.fs2", u" /m/blank at the ends.fsm "}));

  applib::IniWrite(dir.text(), kSettingsFile, u"Recent", u"File1", u"");
  applib::IniWrite(dir.text(), kSettingsFile, u"Recent", u"File5", u"/m/late.fs2");
  EXPECT_EQ(settings.RecentMissions(), (std::vector<Text>{u" /m/blank at the ends.fsm ", u"/m/late.fs2"}));
}

TEST_F(ViewerSettingsTest, AFolderThatCannotBeWrittenGivesDefaultsAndNoError) {
  applib::testing::WriteFile(dir.path() / "plain", "");
  ViewerSettings settings(dir / u"plain");  // a file, not a folder
  settings.SetTreeViewShown(true);
  settings.SetLastOpenDir(MissionKind::kFS2, u"/two/");
  EXPECT_FALSE(settings.TreeViewShown());
  EXPECT_EQ(settings.LastOpenDir(MissionKind::kFS2), u"");
  EXPECT_EQ(applib::testing::ReadFile(dir.path() / "plain"), "");
}

}  // namespace
}  // namespace ui
