#include "views/references.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/views/fixture.h"
#include "views/formula_display.h"
#include "views/modes.h"

namespace views {
namespace {

using testing::Lines;
using testing::Load;

// A reference as one readable line: where, the row, and the line's text.
std::string Describe(const Reference& r) {
  return mission::ToUtf8(ReferenceWhere(r)) + " #" + std::to_string(r.row.row) + " @" + std::to_string(r.row.slot) +
         ":" + std::to_string(r.row.line) + " " + mission::ToUtf8(mission::TrimBlankView(r.line));
}

std::vector<std::string> Find(const ReferenceIndex& index, TextView name) {
  std::vector<std::string> found;
  for (const Reference& r : index.Find(name)) found.push_back(Describe(r));
  return found;
}

const std::string kMission = Lines({
    "#Objects",
    "$Name: Alpha 1   ; the player",
    "$Arrival Cue: ( has-departed-delay 0",
    "   \"Alpha 10\" \"ALPHA 1\" )",  // 3: not the ship's own name, but a ship named alike
    "$Departure Cue: ( is-destroyed-delay 0 \"Beta\" )",
    "$Name: Alpha 10",
    "$Arrival Cue: ( true )",
    "#Wings",
    "$Name: Beta",
    "$Arrival Cue: ( is-event-true-delay \"Intro\" 0 )",
    "$Departure Cue: ( is-destroyed-delay 0 \"Alpha 1\" \"Alpha 1\" )",  // 3: twice on one line
    "$Ships: (",
    "\t\"Alpha 1\"",  // a ship list, not a cue
    ")",
    "#Events",
    "$Formula: ( when",
    "   ( is-destroyed-delay 0 \"alpha 1\" )",
    "   ( send-message \"#Command\" \"High\" \"Intro\" ) )",
    "+Name: Intro",
    "$Formula: ( when ( has-arrived-delay 0 \"Alpha 1 escort\" \"Alpha\" ) ( do-nothing ) )",
    "+Name: Escort",
    "+Name: No formula of its own",
    "$Formula: ( when ( is-event-true-delay \"Intro\" 0 ) ( do-nothing ) )",
    "+Name: After intro",
    "#Goals",
    "$Type: Primary",
    "+Name: Guard",
    "$Formula: ( is-destroyed-delay 0 \"Beta\" )",
    "$Formula: ( not ( is-destroyed-delay 0 \"Alpha 1\" ) )",  // 4: the goal's last formula wins
    "$Type: Secondary",
    "+Name: Message heard",
    "$Formula: ( has-played-message \"Intro\" )",
    "#Messages",
    "$Name: Intro",
});

TEST(ReferenceIndexTest, WholeQuotedNamesIgnoringCaseInEveryKindOfFormula) {
  const auto m = Load(kMission);
  const ReferenceIndex index = ReferenceIndex::Build(m);
  EXPECT_TRUE(index.Complete());
  // Events first, then goals, ship cues and wing cues; "Alpha 10", "Alpha 1
  // escort" and the wing's ship list do not count.
  EXPECT_EQ(Find(index, u"Alpha 1"), (std::vector<std::string>{
                                         "Events: Intro #1 @4:2 ( is-destroyed-delay 0 \"alpha 1\" )",
                                         "Goals: Guard #1 @1:4 $Formula: ( not ( is-destroyed-delay 0 \"Alpha 1\" ) )",
                                         "Ships: Alpha 1, arrival cue #1 @3:3 \"Alpha 10\" \"ALPHA 1\" )",
                                         "Wings: Beta, departure cue #1 @6:3 $Departure Cue: ( is-destroyed-delay 0 "
                                         "\"Alpha 1\" \"Alpha 1\" )",
                                     }));
  EXPECT_EQ(Find(index, u"alpha 10"),
            std::vector<std::string>{"Ships: Alpha 1, arrival cue #1 @3:3 \"Alpha 10\" \"ALPHA 1\" )"});
  // The formula belongs to the first name below it only.
  EXPECT_EQ(Find(index, u"Alpha"), (std::vector<std::string>{
                                       "Events: Escort #2 @4:5 $Formula: ( when ( has-arrived-delay 0 \"Alpha 1 "
                                       "escort\" \"Alpha\" ) ( do-nothing ) )",
                                   }));
  // A message and an event of one name: every formula that names it.
  EXPECT_EQ(Find(index, u"  INTRO "), (std::vector<std::string>{
                                          "Events: Intro #1 @4:3 ( send-message \"#Command\" \"High\" \"Intro\" ) )",
                                          "Events: After intro #4 @4:8 $Formula: ( when ( is-event-true-delay \"Intro\" "
                                          "0 ) ( do-nothing ) )",
                                          "Goals: Message heard #2 @1:7 $Formula: ( has-played-message \"Intro\" )",
                                          "Wings: Beta, arrival cue #1 @6:2 $Arrival Cue: ( is-event-true-delay "
                                          "\"Intro\" 0 )",
                                      }));
  // The goal's first formula is no row's formula.
  EXPECT_EQ(Find(index, u"Beta"),
            std::vector<std::string>{"Ships: Alpha 1, departure cue #1 @3:4 $Departure Cue: ( is-destroyed-delay 0 "
                                     "\"Beta\" )"});
  for (const char16_t* nothing : {u"", u"  ", u"Gamma", u"Alpha 1 escor", u"Command"}) {
    EXPECT_EQ(Find(index, nothing), std::vector<std::string>{}) << mission::ToUtf8(nothing);
  }
  EXPECT_EQ(Find(index, u" Alpha 1 escort ").size(), 1u);  // blanks at the ends do not count
}

// Every reference's row is the row the view shows for its owner: the same
// name, and for events and goals a formula reference to the same formula.
TEST(ReferenceIndexTest, RowsAreTheRowsOfTheViews) {
  const auto m = Load(kMission);
  const ReferenceIndex index = ReferenceIndex::Build(m);
  for (const char16_t* name : {u"Alpha 1", u"Alpha", u"Intro", u"Beta", u"alpha 10"}) {
    for (const Reference& r : index.Find(name)) {
      SCOPED_TRACE(Describe(r));
      const ListData list = FillMode(r.row.mode, m);
      ASSERT_GE(r.row.row, 1u);
      ASSERT_LE(r.row.row, list.rows.size());
      const Row& row = list.rows[r.row.row - 1];
      EXPECT_EQ(ReferenceName(r.row.mode, row), mission::TrimBlankView(r.owner));
      if (r.kind == PlaceKind::kEvent || r.kind == PlaceKind::kGoal) {
        const auto start = FormulaStartOf(m.Sections(), row.tag);
        ASSERT_TRUE(start.has_value());
        EXPECT_EQ(start->slot, r.row.slot);
        EXPECT_EQ(start->line, r.row.formula);
      }
      EXPECT_EQ(r.line, m.Sections().Slot(r.row.slot).Line(r.row.line));
    }
  }
}

TEST(ReferenceIndexTest, AFormulaThatNeverClosesKeepsOnlyTheLinesBeforeTheNext) {
  const auto m = Load(Lines({
      "#Events",
      "$Formula: ( when ( and ( is-destroyed-delay 0 \"A\" )",  // never closed
      "+Name: Open",
      "$Formula: ( when ( true )",
      "   ( send-message \"#Command\" \"High\" \"B\" ) )",
      "+Name: Closed",
      "   \"C\"",  // after the second formula: in none, the first ended before it
      "$Formula: ( true ) )",  // more ")" than "(": only its own line
      "+Name: Surplus \"D\"",
      "\"D\"",
  }));
  const ReferenceIndex index = ReferenceIndex::Build(m);
  EXPECT_EQ(Find(index, u"A"),
            std::vector<std::string>{"Events: Open #1 @4:1 $Formula: ( when ( and ( is-destroyed-delay 0 \"A\" )"});
  EXPECT_EQ(Find(index, u"B"), std::vector<std::string>{"Events: Closed #2 @4:4 ( send-message \"#Command\" \"High\" \"B\" ) )"});
  // Lines 6, 8 and 9 lie after a formula's end and before the next one: no
  // formula holds them, as the code windows show.
  EXPECT_EQ(Find(index, u"C"), std::vector<std::string>{});
  EXPECT_EQ(Find(index, u"D"), std::vector<std::string>{});
}

TEST(ReferenceIndexTest, OddQuotesAndOwnerlessFormulas) {
  const auto m = Load(Lines({
      "#Objects",
      "$Arrival Cue: ( is-destroyed-delay 0 \"Before any ship\" )",  // no row owns it
      "$Name: S",
      "$Arrival Location: Hyperspace \"Not a cue\"",
      "$Arrival Cue: ( has-arrived-delay 0 \"\" \"Half )",  // empty and unpaired quotes
      "#Events",
      "$Formula: ( true \"Nobody\" )",  // no "+Name:" below it
      "#Goals",
      "+Name: Stray",
      "$Formula: ( true \"Nobody\" )",  // before the first "$Type:"
  }));
  const ReferenceIndex index = ReferenceIndex::Build(m);
  for (const char16_t* name : {u"Before any ship", u"Not a cue", u"Half )", u"Half", u"Nobody", u""}) {
    EXPECT_EQ(Find(index, name), std::vector<std::string>{}) << mission::ToUtf8(name);
  }
}

TEST(ReferenceIndexTest, AStoppedBuildFindsNothing) {
  const auto m = Load(kMission);
  const std::atomic<bool> stop{true};
  const ReferenceIndex index = ReferenceIndex::Build(m, &stop);
  EXPECT_FALSE(index.Complete());
  EXPECT_EQ(Find(index, u"Alpha 1"), std::vector<std::string>{});
  EXPECT_EQ(Find(ReferenceIndex(), u"Alpha 1"), std::vector<std::string>{});  // nothing built at all
}

TEST(ReferenceIndexTest, HundredThousandEventsAndTheirCues) {
  constexpr int kRows = 100000;
  std::string text = "#Objects\r\n";
  for (int i = 0; i < kRows; ++i) {
    text += "$Name: Ship " + std::to_string(i) + "\r\n$Arrival Cue: ( is-event-true-delay \"Event " +
            std::to_string(i) + "\" 0 )\r\n";
  }
  text += "#Events\r\n";
  for (int i = 0; i < kRows; ++i) {
    text += "$Formula: ( when\r\n   ( is-destroyed-delay 0 \"Ship " + std::to_string(i % 1000) +
            "\" )\r\n   ( do-nothing ) )\r\n+Name: Event " + std::to_string(i) + "\r\n";
  }
  const auto m = Load(text);
  const ReferenceIndex index = ReferenceIndex::Build(m);
  const std::vector<Reference> ship = index.Find(u"SHIP 12");
  ASSERT_EQ(ship.size(), static_cast<std::size_t>(kRows / 1000));
  for (std::size_t k = 0; k < ship.size(); ++k) {
    EXPECT_EQ(ship[k].row.row, 13 + 1000 * k);  // events 12, 1012, ... in file order
    EXPECT_EQ(ship[k].row.line, 2 + 4 * (12 + 1000 * k));
  }
  const std::vector<Reference> event = index.Find(u"Event 99999");
  ASSERT_EQ(event.size(), 1u);
  EXPECT_EQ(ReferenceWhere(event[0]), u"Ships: Ship 99999, arrival cue");
  EXPECT_EQ(event[0].row, (Location{kModeShips, kRows, mission::kSlotObjects, 2 * kRows, 2 * kRows}));
  EXPECT_EQ(index.Find(u"Ship 12", 3).size(), 3u);  // the limit
}

TEST(ReferenceNameTest, TheNameColumnOfTheViewsThatHaveOne) {
  const Row row{{u" 3", u"  Alpha down ", u"1"}, u"4,1"};
  const Row blank{{u"  ", u""}, {}};
  const Row nameless{{u" 0"}, {}};  // a row without its name cell
  const struct {
    int mode;
    const Row& row;
    std::optional<TextView> name;
  } cases[] = {
      {kModeEvents, row, u"Alpha down"}, {kModeGoals, row, u"3"},       {kModeShips, row, u"3"},
      {kModeWings, row, u"3"},           {kModeMessages, row, u"3"},    {kModeGeneral, row, std::nullopt},
      {kModeDirectives, row, std::nullopt}, {kModeReinforcements, row, std::nullopt},
      {kModeEvents, blank, std::nullopt}, {kModeShips, blank, std::nullopt},
      {kModeEvents, nameless, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ReferenceName(c.mode, c.row), c.name) << c.mode;
}

}  // namespace
}  // namespace views
