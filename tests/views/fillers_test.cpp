// One small mission per view family, written so that each of the filler
// rules (six-character keys, fixed drop counts, last value wins, cell keys
// before the first row ignored) shows in the result.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/views/fixture.h"
#include "views/modes.h"

namespace views {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::Captions;
using testing::Cells;
using testing::Lines;
using testing::Load;
using testing::Tags;
using testing::Widths;

TEST(EventsViewTest, RowsTagsAndCells) {
  const auto m = Load(Lines({
      "#Events",
      "+Repeat Count: 9",                                        // 1: before any row, ignored
      "$Formula: ( when",                                        // 2
      "   ( is-destroyed-delay 0 \"Alpha 1\" )",                 // 3
      "   ( send-message \"#Command\" \"High\" \"Alpha down\" ) )",  // 4
      "+Name: Alpha down",                                       // 5
      "+Repeat Count: 1",                                        // 6
      "+Interval: 1",                                            // 7
      "+Objective: XSTR(\"Protect Alpha 1\", -1)",               // 8
      "+Repeat Count: 2",                                        // 9: the later value wins
      "+Objective: XSTR(\"Protect Alpha 1\", 5012)",             // 10
      "",                                                        // 11
      "$Formula: ( true )",                                      // 12
      "+Name:",                                                  // 13: empty name
      "+Chained:  7",                                            // 14: keeps the blank
      "+Objective:   \"Protect\"  ",                             // 15: trimmed, quotes kept
      "+Interval: XSTR(\"x\", -1)",                              // 16: not unwrapped
  }));
  const ListData list = FillMode(kModeEvents, m);
  EXPECT_THAT(Captions(list), ElementsAre("#", "Name", "Repeat", "Interval", "Chain", "Directive"));
  EXPECT_THAT(Widths(list), ElementsAre(300, 2000, 800, 800, 600, 2000));
  EXPECT_THAT(Cells(list), ElementsAre(ElementsAre(" 0", "Alpha down", "2", "1", "", "Protect Alpha 1"),
                                       ElementsAre(" 1", "", "", "XSTR(\"x\", -1)", " 7", "\"Protect\"")));
  EXPECT_THAT(Tags(list), ElementsAre("4,2", "4,12"));
  EXPECT_TRUE(HasFormulas(list));
}

TEST(EventsViewTest, EventBeforeAnyFormulaRefersToLineZero) {
  const auto m = Load(Lines({"#Events", "+Name: Early", "$Formula: ( true )", "+Name: Late"}));
  EXPECT_THAT(Tags(FillMode(kModeEvents, m)), ElementsAre("4,0", "4,2"));
}

TEST(EventsViewTest, NumbersShowTheWholeNumber) {
  std::string text = "#Events\r\n";
  for (int i = 0; i < 1001; ++i) text += "+Name: E\r\n";
  const ListData list = FillMode(kModeEvents, Load(text));
  ASSERT_EQ(list.rows.size(), 1001u);
  EXPECT_EQ(list.rows[0].cells[0], u" 0");
  EXPECT_EQ(list.rows[9].cells[0], u" 9");
  EXPECT_EQ(list.rows[12].cells[0], u"12");
  EXPECT_EQ(list.rows[100].cells[0], u"100");
  EXPECT_EQ(list.rows[1000].cells[0], u"1000");
}

// An event refers to the formula above its name only when that formula comes
// after the previous event's name; otherwise it has none.
TEST(EventsViewTest, EventsWithoutAFormulaLineOfTheirOwnHaveNone) {
  const auto m = Load(Lines({
      "#Events",
      "$Formula: ( when",  // 1
      "   ( true )",       // 2
      "   ( do-nothing ) )",
      "+Name: A",          // 4
      "+Name: B",          // 5: nothing since A
      "+Repeat Count: 1",
      "+Name: C",          // 7
      "$Formula: ( false )",  // 8
      "+Interval: 1",
      "+Name: D",          // 10
  }));
  EXPECT_THAT(Tags(FillMode(kModeEvents, m)), ElementsAre("4,1", "4,0", "4,0", "4,8"));
}

// «+Objective key:» holds a directive's key; every other "+Objec" line is an
// objective, by its six characters.
TEST(EventsViewTest, ObjectiveKeyLinesAreNotDirectives) {
  struct Case {
    std::vector<std::string_view> lines;  // after "#Events" and "+Name: E"
    std::string directive;                // the Events view's Directive cell
    std::vector<std::string> texts;       // the Directives view's Text cells
  };
  const Case cases[] = {
      {{"+Objective: XSTR(\"Wait\", -1)", "+Objective key: F12"}, "Wait", {"Wait"}},
      {{"+Objective key: F12"}, "", {}},
      {{"+Objective key: F12", "+Objective: Go"}, "Go", {"Go"}},
      // Not the key: another spelling still counts by its six characters.
      {{"+Objective Key: F12"}, "ey: F12", {"ey: F12"}},
      {{"+Objectives: x"}, "x", {"x"}},
  };
  for (const Case& c : cases) {
    std::string text = Lines({"#Events", "+Name: E"});
    for (const std::string_view line : c.lines) text += std::string(line) + "\r\n";
    const auto m = Load(text);
    EXPECT_EQ(Cells(FillMode(kModeEvents, m))[0][5], c.directive) << text;
    std::vector<std::string> texts;
    for (const auto& row : Cells(FillMode(kModeDirectives, m))) texts.push_back(row[0]);
    EXPECT_EQ(texts, c.texts) << text;
  }
}

TEST(EventsViewTest, NoNameLineGivesColumnsOnly) {
  const ListData list = FillMode(kModeEvents, Load(Lines({"#Events", "$Formula: ( true )", "+Interval: 1"})));
  EXPECT_EQ(list.columns.size(), 6u);
  EXPECT_THAT(list.rows, IsEmpty());
  EXPECT_FALSE(HasFormulas(list));
}

TEST(GoalsViewTest, RowsOpenAtTypeAndLinkToTheirFormula) {
  const auto m = Load(Lines({
      "#Goals",
      "+Name: stray",                                            // 1: no row yet
      "$Type: Primary",                                          // 2
      "+Name: Destroy convoy",                                   // 3
      "$MessageNew: XSTR(\"Destroy the convoy\", -1)",           // 4
      "$Formula: ( is-destroyed-delay 0 \"Convoy 1\" )",         // 5
      "+Invalid",                                                // 6
      "",                                                        // 7
      "$Type: Secondary",                                        // 8
      "+Name: Keep",                                             // 9
      "$MessageNew: XSTR(\"Destroy the convoy\", 88)",           // 10
  }));
  const ListData list = FillMode(kModeGoals, m);
  EXPECT_THAT(Captions(list), ElementsAre("Name", "Message", "Type", "Vis"));
  EXPECT_THAT(Widths(list), ElementsAre(2000, 3000, 1000, 400));
  EXPECT_THAT(Cells(list), ElementsAre(ElementsAre("Destroy convoy", "Destroy the convoy", "Primary", "-"),
                                       ElementsAre("Keep", "Destroy the convoy", "Secondary", "Y")));
  EXPECT_THAT(Tags(list), ElementsAre("1,5", ""));
}

TEST(GoalsViewTest, NoTypeLineGivesColumnsOnly) {
  const ListData list = FillMode(kModeGoals, Load(Lines({"#Goals", "+Name: x", "$Formula: ( true )"})));
  EXPECT_EQ(list.columns.size(), 4u);
  EXPECT_THAT(list.rows, IsEmpty());
}

TEST(DirectivesViewTest, OneRowPerObjectiveNamedByThePendingName) {
  const auto m = Load(Lines({
      "#Events",
      "+Name: Intro",
      "+Objective: XSTR(\"Wait for orders\", -1)",
      "+Objective: second of the same event",
      "+Name: No objective",
      "+Name: Later",
      "+Objective: XSTR(\"Protect Alpha 1\", 5012)",
  }));
  const ListData list = FillMode(kModeDirectives, m);
  EXPECT_THAT(Captions(list), ElementsAre("Text", "Eventname"));
  EXPECT_THAT(Widths(list), ElementsAre(3000, 2000));
  EXPECT_THAT(Cells(list), ElementsAre(ElementsAre("Wait for orders", "Intro"),
                                       ElementsAre("second of the same event", ""),
                                       ElementsAre("Protect Alpha 1", "Later")));
  EXPECT_FALSE(HasFormulas(list));
}

TEST(MessagesViewTest, NameTextAviWav) {
  const auto m = Load(Lines({
      "#Messages",
      "+AVI Name: before",
      "$Name: Intro",
      "$Team: -1",
      "$MessageNew:  XSTR(\"Welcome, pilot.\", -1)",
      "$end_multi_text",
      "+AVI Name: head-a",
      "+Wave Name: intro.wav",
      "$Name: Thanks",
      "$MessageNew:  XSTR(\"Welcome, pilot.\", 1200)",
  }));
  const ListData list = FillMode(kModeMessages, m);
  EXPECT_THAT(Captions(list), ElementsAre("Name", "Text", "AVI", "WAV"));
  EXPECT_THAT(Widths(list), ElementsAre(2000, 5000, 1000, 2000));
  EXPECT_THAT(Cells(list), ElementsAre(ElementsAre("Intro", "Welcome, pilot.", "head-a", "intro.wav"),
                                       ElementsAre("Thanks", "Welcome, pilot.", "", "")));
}

TEST(ShipsViewTest, NameClassTeamIffHull) {
  const auto m = Load(Lines({
      "#Objects",
      "$Class: before any ship",
      "$Name: Alpha 1",
      "$Class: Fighter Mk2",
      "$Team: Friendly",
      "$IFF: IFF 1",
      "+Initial Velocity: 0",
      "+Initial Hull: 100",
      "+Initial Shields: 50",
      "$Messa: XSTR(\"tender hail\", -1)",  // would land in Class; skipped
      "$Name: Sekhmet 1",
      "$Class: GVF Seth",
      "$IFF:Hostile",                        // no blank after the colon: not the key
  }));
  const ListData list = FillMode(kModeShips, m);
  EXPECT_THAT(Captions(list), ElementsAre("Name", "Class", "Team", "IFF", "Hull"));
  EXPECT_THAT(Widths(list), ElementsAre(2000, 2000, 900, 700, 500));
  EXPECT_THAT(Cells(list), ElementsAre(ElementsAre("Alpha 1", "Fighter Mk2", "Friendly", "IFF 1", "100"),
                                       ElementsAre("Sekhmet 1", "GVF Seth", "", "", "")));
}

TEST(WingsViewTest, ShipCountsWavesHotkeyAndDelays) {
  const auto m = Load(Lines({
      "#Wings",
      "$Waves: 9",  // before any wing
      "$Name: Alpha",
      "$Waves: 2",
      "+Hotkey: 0",
      "$Ships: ( ;! 3 total",
      "\t\"Alpha 1\"",
      "\t\"Alpha 2\"",
      "\t\"Alpha 3\"",
      ")",
      "+Wave Delay Min: 5",
      "+Wave Delay Max: 10",
      "+Wave Threshold: 1",
      "$Name: Beta",
      "$Ships: (",
      "\"Beta 1\"",
      "\"Beta 2\"",
      "\"Beta 3\"",
      "\"Beta 4\"",
      ")",
      "$Name: Gamma",  // no ship list: the count left over from Beta
  }));
  const ListData list = FillMode(kModeWings, m);
  EXPECT_THAT(Captions(list), ElementsAre("Name", "Waves", "Hotkey", "Ships", "DelayMin", "DelayMax"));
  EXPECT_THAT(Widths(list), ElementsAre(1000, 700, 700, 600, 1000, 1000));
  EXPECT_THAT(Cells(list), ElementsAre(ElementsAre("Alpha", "2", "0", "3", "5", "10"),
                                       ElementsAre("Beta", "", "", "4", "", ""),
                                       ElementsAre("Gamma", "", "", "4", "", "")));
}

TEST(WingsViewTest, CountsOddShipLists) {
  struct Case {
    std::string lines;
    std::vector<std::string> ships;
  };
  const Case cases[] = {
      {Lines({"#Wings", "$Name: Solo"}), {"0"}},
      // The ")" on the "$Ships" line ends nothing: counting goes on until a
      // lone ")" line, through the next wing's name line.
      {Lines({"#Wings", "$Name: A", "$Ships: ( \"A 1\" )", "x", "$Name: B", "y", ")"}), {"1", "3"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> ships;
    for (const auto& row : Cells(FillMode(kModeWings, Load(c.lines)))) ships.push_back(row[3]);
    EXPECT_EQ(ships, c.ships) << c.lines;
  }
}

TEST(ReinforcementsViewTest, NameTypeTimesDelay) {
  const auto m = Load(Lines({"#Reinforcements", "$Type: early", "$Name: Beta", "$Type: Attack/Protect",
                             "$Num times: 1", "+Arrival delay: 30", "$Name: Gamma", "$Num times:"}));
  const ListData list = FillMode(kModeReinforcements, m);
  EXPECT_THAT(Captions(list), ElementsAre("Name", "Type", "Times", "Delay"));
  EXPECT_THAT(Widths(list), ElementsAre(1000, 2000, 600, 600));
  EXPECT_THAT(Cells(list), ElementsAre(ElementsAre("Beta", "Attack/Protect", "1", "30"),
                                       ElementsAre("Gamma", "", "", "")));
}

TEST(FillModeTest, EveryFillerKeepsOneCellPerColumn) {
  const auto m = Load(Lines({"#Mission Info", "$Name: M", "#Sexp_variables", "$Variables:", "(", "0 \"V\"", ")",
                             "#Command Briefing", "$Stage Text:", "#Briefing", "$start_stage", "#Debriefing_info",
                             "$Formula: ( true )", "#Goals", "$Type: P", "#Events", "+Name: E", "+Objective: O",
                             "#Messages", "$Name: Msg", "#Objects", "$Name: S", "#Wings", "$Name: W",
                             "#Reinforcements", "$Name: R"}));
  for (int mode = 1; mode <= kModeCount; ++mode) {
    const ListData list = FillMode(mode, m);
    EXPECT_FALSE(list.rows.empty()) << mode;
    for (const Row& row : list.rows) EXPECT_EQ(row.cells.size(), list.columns.size()) << mode;
  }
}

}  // namespace
}  // namespace views
