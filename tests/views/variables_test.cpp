// The Variables view: declarations, persistence, and the formulas and
// messages that read and change each variable; and the Summary view.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/views/fixture.h"
#include "views/links.h"
#include "views/modes.h"
#include "views/references.h"
#include "views/variables.h"

namespace views {
namespace {

using ::testing::ElementsAre;
using testing::Captions;
using testing::Cells;
using testing::Lines;
using testing::Load;

TEST(VariablesTest, DeclarationLines) {
  const struct {
    const char16_t* line;  // as stored: the tabs between the fields are gone
    std::vector<std::string> cells;  // index, name, type, default, persistence
  } cases[] = {
      {u"0\"Heat\"\"0\"\"number\"", {"0", "Heat", "Number", "0", ""}},
      {u"1 \"Target\" \"Alpha 1\" \"string\"", {"1", "Target", "String", "Alpha 1", ""}},
      {u"2\"Fleet\"\"50\"\"number\"\"campaign-persistent\"", {"2", "Fleet", "Number", "50", "Campaign"}},
      {u"3\"Fleet\"\"50\"\"number\"\"save-on-mission-progress\"", {"3", "Fleet", "Number", "50", "Campaign"}},
      {u"4\"Rank\"\"0\"\"number\"\"player-persistent\"\"eternal\"", {"4", "Rank", "Number", "0", "Player eternal"}},
      {u"5\"Rank\"\"0\"\"number\"\"save-on-mission-close\"", {"5", "Rank", "Number", "0", "Player"}},
      {u"6\"Net\"\"\"\"string\"\"network-variable\"", {"6", "Net", "String", "", "network-variable"}},
      {u"7\"Blast\"\"20\"\"block\"", {"7", "Blast", "Block", "20", ""}},
      {u"8\"Odd\"\"1\"\"Number\"", {"8", "Odd", "Number", "1", ""}},
      // Too few fields, and a value cut short by a comment: what is there shows.
      {u"9\"Short\"", {"9", "Short", "", "", ""}},
      {u"10\"Cut\"\"half", {"10", "Cut", "", "half", ""}},
  };
  for (const auto& c : cases) {
    const auto d = ReadVariableLine(c.line);
    ASSERT_TRUE(d) << mission::ToUtf8(c.line);
    const std::vector<std::string> cells = {mission::ToUtf8(d->index), mission::ToUtf8(d->name),
                                            mission::ToUtf8(VariableTypeText(d->type)), mission::ToUtf8(d->value),
                                            mission::ToUtf8(PersistenceText(d->flags))};
    EXPECT_EQ(cells, c.cells) << mission::ToUtf8(c.line);
  }
  EXPECT_FALSE(ReadVariableLine(u"$Variables:"));
  EXPECT_FALSE(ReadVariableLine(u"("));
  EXPECT_FALSE(ReadVariableLine(u""));
}

// Heat is changed by one event and read by it, by a goal, by a ship's cue,
// by a debriefing stage and by a message; Target only by a message, as
// «$Target»; Unused by nothing.
const std::string kMission = Lines({
    "#Sexp_variables",
    "$Variables:",
    "(",
    "\t\t0\t\t\"Heat\"\t\t\"0\"\t\t\"number\"",
    "\t\t1\t\t\"Target\"\t\t\"Alpha 1\"\t\t\"string\"\t\t\"campaign-persistent\"",
    "\t\t2\t\t\"Unused\"\t\t\"\"\t\t\"string\"",
    ")",
    "#Debriefing_info",
    "$Formula: ( > @Heat[0] 5 )",
    "$Multi text",
    "Hot",
    "$end_multi_text",
    "#Objects",
    "$Name: Alpha 1",
    "$Arrival Cue: ( < @heat[0] 3 )",
    "#Events",
    "$Formula: ( when",
    "   ( > @Heat[0] 1 )",
    "   ( modify-variable @Heat[0] ( + @Heat[0] 1 ) ) )",
    "+Name: Warm up",
    "$Formula: ( when ( true ) ( modify-variable \"@Heat[0]\" 0 ) )",
    "$Formula: ( when ( true ) ( do-nothing ) )",
    "+Name: Only the second formula is its own",
    "#Goals",
    "$Type: Primary",
    "+Name: Cool",
    "$Formula: ( < @Heat[0] 10 )",
    "#Messages",
    "$Name: Status",
    "$MessageNew: XSTR(\"Heat: $Heat, target $Target, $HeatX\", -1)",
    "$end_multi_text",
});

TEST(VariablesTest, ReadByAndWrittenByCountFormulasAndMessages) {
  const auto m = Load(kMission);
  const ListData list = FillMode(kModeVariables, m);
  EXPECT_THAT(Captions(list), ElementsAre("#", "Name", "Type", "Default", "Persistence", "Read by", "Written by"));
  // Heat: read by the event, the goal, the cue, the stage and the message;
  // changed by the event only (the orphan formula has no event).
  EXPECT_THAT(Cells(list), ElementsAre(ElementsAre("0", "Heat", "Number", "0", "", "5", "1"),
                                       ElementsAre("1", "Target", "String", "Alpha 1", "Campaign", "1", "0"),
                                       ElementsAre("2", "Unused", "String", "", "", "0", "0")));
  ASSERT_EQ(list.rowLines.size(), 3u);
  EXPECT_EQ(m.FileLine(list.rowLines[2].first), u"2\"Unused\"\"\"\"string\"");
}

TEST(VariablesTest, FindReferencesMarksReadsAndWrites) {
  const auto m = Load(kMission);
  const VariableUses uses = VariableUses::Build(m);
  std::vector<std::string> found;
  for (const Reference& r : uses.Find(u" heat ")) {
    found.push_back(mission::ToUtf8(ReferenceWhere(r)) + " | " + mission::ToUtf8(mission::TrimBlankView(r.line)));
  }
  EXPECT_THAT(found, ElementsAre("Events: Warm up (reads) | ( > @Heat[0] 1 )",
                                 "Events: Warm up (writes) | ( modify-variable @Heat[0] ( + @Heat[0] 1 ) ) )",
                                 "Events: Warm up (reads) | ( modify-variable @Heat[0] ( + @Heat[0] 1 ) ) )",
                                 "Goals: Cool (reads) | $Formula: ( < @Heat[0] 10 )",
                                 "Ships: Alpha 1, arrival cue (reads) | $Arrival Cue: ( < @heat[0] 3 )",
                                 "Messages: Status (reads) | $MessageNew: XSTR(\"Heat: $Heat, target $Target, $HeatX\", -1)",
                                 "Debriefing: team 1, stage 1 (reads) | $Formula: ( > @Heat[0] 5 )"));
  // The event's use points at its line within its formula, for the code window.
  const std::vector<Reference> heat = uses.Find(u"Heat");
  EXPECT_EQ(heat[0].row, (Location{kModeEvents, 1, mission::kSlotEvents, 2, 1}));
  EXPECT_EQ(heat.back().row.mode, kModeDebriefing);
  EXPECT_TRUE(uses.Find(u"Unused").empty());
  EXPECT_TRUE(uses.Find(u"Nothing").empty());
}

TEST(VariablesTest, CodeWindowLinksGoToTheVariablesRow) {
  const auto m = Load(kMission);
  const NameRows names = NameRows::Build(m);
  const Text sexp = u"( modify-variable @Target[Alpha 1] \"@Heat[0]\" @Nothing[0] )";
  const Text parsed = u"Variable(\"target\") = Variable(\"Heat\") + @Heat[0]";
  const CodeLinks links = FindCodeLinks(sexp, parsed, names);
  ASSERT_EQ(links.sexp.size(), 2u);
  EXPECT_EQ(TextView(sexp).substr(links.sexp[0].start, links.sexp[0].length), u"@Target[Alpha 1]");
  EXPECT_EQ(links.sexp[0].target, (Location{kModeVariables, 2, 0, 0, 0}));
  EXPECT_EQ(TextView(sexp).substr(links.sexp[1].start, links.sexp[1].length), u"@Heat[0]");
  std::vector<std::string> parsedLinks;
  for (const CodeLink& link : links.parsed) {
    parsedLinks.push_back(mission::ToUtf8(TextView(parsed).substr(link.start, link.length)) + " " +
                          std::to_string(link.target.row));
  }
  EXPECT_THAT(parsedLinks, ElementsAre("target 2", "Heat 1", "@Heat[0] 1"));
}

TEST(VariablesTest, ListCutOffStillShowsWhatWasRead) {
  const auto m = Load(Lines({"#Sexp_variables", "$Variables:", "(", "0\"A\"\"1\"\"number\"", "1\"B\"", "#Events",
                             "$Formula: ( when ( true ) ( modify-variable @B[0] 1 ) )", "+Name: E"}));
  EXPECT_THAT(Cells(FillMode(kModeVariables, m)),
              ElementsAre(ElementsAre("0", "A", "Number", "1", "", "0", "0"),
                          ElementsAre("1", "B", "", "", "", "0", "1")));
  EXPECT_EQ(FillMode(kModeEvents, m).rows.size(), 1u);
}

TEST(SummaryTest, CountsEachKindOfEntry) {
  const auto m = Load(Lines({
      "#Sexp_variables", "$Variables:", "(", "0\"A\"\"1\"\"number\"", ")",
      "#Command Briefing", "$Stage Text:", "x", "$end_multi_text",
      "#Briefing", "$start_stage", "$end_stage", "$start_stage", "$end_stage",
      "#Debriefing_info", "$Formula: ( true )",
      "#Objects",
      "$Name: Alpha 1", "$Team: Friendly", "+Flags: ( \"cargo-known\" \"player-start\" )",
      "$Name: Alpha 2", "$Team: Friendly",
      "$Name: Sekhmet", "$Team: Hostile",
      "#Wings", "$Name: Alpha",
      "#Events",
      "+Name: Once", "+Repeat Count: 1",
      "+Name: Twice", "+Repeat Count: 2", "+Chained: 0",
      "+Name: Triggered", "+Repeat Count: 1", "+Trigger Count: 3",
      "#Goals", "$Type: Primary", "$Type: Bonus", "$Type: secondary",
      "#Messages", "$Name: A", "+Wave Name: a.wav", "$Name: B", "+Wave Name: none.wav", "$Name: C",
      "#Waypoints", "$Name: Path", "$List: (", ")", "$Jump Node: 0, 0, 0", "$Jump Node Name: Sol",
  }));
  const ListData list = FillMode(kModeSummary, m);
  EXPECT_THAT(Captions(list), ElementsAre("Item", "Count"));
  EXPECT_THAT(Cells(list),
              ElementsAre(ElementsAre("Ships", "3"), ElementsAre("Ships: Friendly", "2"),
                          ElementsAre("Ships: Hostile", "1"), ElementsAre("Wings", "1"),
                          ElementsAre("Player starts", "1"), ElementsAre("Events", "3"),
                          ElementsAre("Repeating events", "2"), ElementsAre("Chained events", "1"),
                          ElementsAre("Primary goals", "1"), ElementsAre("Secondary goals", "1"),
                          ElementsAre("Bonus goals", "1"), ElementsAre("Messages", "3"),
                          ElementsAre("Messages with a voice file", "1"), ElementsAre("Variables", "1"),
                          ElementsAre("Waypoint lists", "1"), ElementsAre("Jump nodes", "1"),
                          ElementsAre("Briefing stages", "2"), ElementsAre("Command briefing stages", "1"),
                          ElementsAre("Debriefing stages", "1")));
}

}  // namespace
}  // namespace views
