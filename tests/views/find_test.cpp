#include "views/find.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/views/fixture.h"
#include "views/modes.h"

namespace views {
namespace {

using testing::Lines;
using testing::Load;

std::vector<int> FoundRows(const RowSearch& search, TextView text) {
  const std::vector<char> found = search.Found(FindText(text));
  std::vector<int> rows;
  for (std::size_t r = 0; r < found.size(); ++r) {
    if (found[r]) rows.push_back(static_cast<int>(r));
  }
  return rows;
}

TEST(FindTextTest, OccursIgnoringCase) {
  const struct {
    const char16_t* find;
    const char16_t* text;
    bool found;
  } cases[] = {
      {u"alpha 1", u"( is-destroyed-delay 0 \"Alpha 1\" )", true},
      {u"ALPHA", u"alpha", true},
      {u"Alpha 1", u"Alpha 10", true},  // text search: no whole names here
      {u"Alpha 2", u"Alpha 1", false},
      {u"\u00C9toile", u"\u00E9TOILE", true},       // accented capitals fold too
      {u"\u00D7", u"\u00F7", false},                // the multiplication sign is no letter
      {u"\u0100", u"\u0101", false},                // beyond Latin-1, characters stand for themselves
      {u"aab", u"aaab", true},                      // a partial match that must not skip its own tail
      {u"abab", u"abaabab", true},
      {u"abac", u"ababac", true},
      {u"abc", u"ab", false},                       // longer than the text
      {u"(", u"$Formula: ( true )", true},          // not a letter first
      {u"end", u"at the END", true},
      {u"", u"", true},
      {u"", u"anything", true},
      {u"x", u"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindText(c.find).In(c.text), c.found)
        << mission::ToUtf8(c.find) << " in " << mission::ToUtf8(c.text);
  }
  EXPECT_TRUE(FindText(u"").Empty());
  EXPECT_FALSE(FindText(u" ").Empty());
}

// The search against the obvious one on many random texts over a small
// alphabet, where partial matches overlap all the time.
TEST(FindTextTest, AgreesWithAPlainSearchOnRandomTexts) {
  std::mt19937 rng(7);
  const Text alphabet = u"aAbB";
  const auto random = [&](std::size_t max) {
    Text t(std::uniform_int_distribution<std::size_t>(0, max)(rng), u'a');
    for (char16_t& c : t) c = alphabet[std::uniform_int_distribution<std::size_t>(0, alphabet.size() - 1)(rng)];
    return t;
  };
  const auto lower = [](Text t) {
    for (char16_t& c : t) c = FoldCase(c);
    return t;
  };
  for (int i = 0; i < 20000; ++i) {
    const Text find = random(5), text = random(14);
    const bool expected = lower(text).find(lower(find)) != Text::npos;
    ASSERT_EQ(FindText(find).In(text), expected) << mission::ToUtf8(find) << " in " << mission::ToUtf8(text);
    // Every place, each after the one before.
    std::vector<std::size_t> places;
    for (std::size_t at = lower(text).find(lower(find)); !find.empty() && at != Text::npos;
         at = lower(text).find(lower(find), at + find.size()))
      places.push_back(at);
    ASSERT_EQ(FindText(find).All(text), places) << mission::ToUtf8(find) << " in " << mission::ToUtf8(text);
  }
}

TEST(FindTextTest, PlacesOfTheTextForMarking) {
  const struct {
    const char16_t* find;
    const char16_t* text;
    std::vector<std::size_t> places;
  } cases[] = {
      {u"alpha 1", u"( is-destroyed-delay 0 \"Alpha 1\" \"ALPHA 10\" )", {24, 34}},
      {u"aa", u"aaaa", {0, 2}},  // one after the other, not overlapping
      {u"aa", u"aaa", {0}},
      {u"\u00C9t\u00E9", u"\u00E9T\u00C9 et\u00E9", {0}},
      {u"x", u"", {}},
      {u"", u"anything", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindText(c.find).All(c.text), c.places) << mission::ToUtf8(c.find) << " in " << mission::ToUtf8(c.text);
  }
}

TEST(FormulaEndTest, ReadsUntilTheBracketsBalance) {
  const auto m = Load(Lines({"#Events", "$Formula: ( true )", "$Formula: ( when", "   ( true )", "   ( do-nothing ) )",
                             "+Name: E", "$Formula: ( true ) )", "$Formula: ( when", "+Name: Open"}));
  const mission::LineList& lines = m.Sections().Slot(mission::kSlotEvents);
  const struct {
    std::size_t start, end;
  } cases[] = {
      {1, 2},  // one line
      {2, 5},  // three lines
      {5, 6},  // no bracket at all: the line itself
      {6, 7},  // too many closing: that line alone
      {7, 9},  // never closed: to the end of the lines
      {0, 0},  // outside the lines
      {9, 9},
  };
  for (const auto& c : cases) EXPECT_EQ(FormulaEnd(lines, c.start), c.end) << "start " << c.start;
}

const std::string kEvents = Lines({
    "#Events",
    "$Formula: ( when",
    "   ( is-destroyed-delay 0 \"Alpha 1\" )",
    "   ( send-message \"#Command\" \"High\" \"Alpha down\" ) )",
    "+Name: Alpha down",
    "+Repeat Count: 1",
    "+Objective: XSTR(\"Protect the tender\", -1)",
    "$Formula: ( when ( has-arrived-delay 0 \"Beta 2\" )",
    "   ( do-nothing ) )",
    "+Name: Beta arrives",
    "+Chained: 5",
    "$Formula: ( when ( true ) ( do-nothing ) )",
    "+Name: Quiet",
    "+Name: Bare name",
    "+Name: Alpha in the name",
});

TEST(RowSearchTest, EventsAreFoundByCellsAndByTheirFormulaLines) {
  const auto m = Load(kEvents);
  const ListData events = FillMode(kModeEvents, m);
  ASSERT_EQ(events.rows.size(), 5u);
  const RowSearch search(events, m.Sections());
  const struct {
    const char16_t* find;
    std::vector<int> rows;
  } cases[] = {
      {u"alpha 1", {0}},         // only in the first formula
      {u"ALPHA", {0, 4}},        // a formula line and a name
      {u"beta 2", {1}},
      {u"do-nothing", {1, 2}},   // a formula's later lines; the names below Quiet have no formula
      {u"tender", {0}},          // the directive cell, cleaned as shown
      {u"formula", {}},          // the key before the formula is not shown, so not searched
      {u"+Name", {}},            // lines after a formula's end are not part of it
      {u" 3", {3}},              // the number column
      {u"5", {1}},
      {u"", {0, 1, 2, 3, 4}},
      {u"nowhere", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(FoundRows(search, c.find), c.rows) << mission::ToUtf8(c.find);
}

TEST(RowSearchTest, GoalsSearchTheirFormulaOtherViewsTheirCells) {
  const auto m = Load(Lines({"#Objects", "$Name: Alpha 1", "$Class: GTF Ulysses", "$Arrival Cue: ( true )",
                             "$Name: Beta 1", "$Class: GVF Seth", "#Goals", "$Type: Primary", "+Name: Guard",
                             "$MessageNew: XSTR(\"Keep it\", -1)", "$Formula: ( is-destroyed-delay 0", "  \"Beta 1\" )",
                             "$Type: Secondary", "+Name: Other", "$Formula: ( true )"}));
  const ListData goals = FillMode(kModeGoals, m);
  const RowSearch goalSearch(goals, m.Sections());
  EXPECT_EQ(FoundRows(goalSearch, u"beta 1"), std::vector<int>{0});
  EXPECT_EQ(FoundRows(goalSearch, u"true"), std::vector<int>{1});
  EXPECT_EQ(FoundRows(goalSearch, u"keep"), std::vector<int>{0});

  // The Ships view has no formulas: its cells only, not the cue lines.
  const ListData ships = FillMode(kModeShips, m);
  const RowSearch shipSearch(ships, m.Sections());
  EXPECT_EQ(FoundRows(shipSearch, u"ulysses"), std::vector<int>{0});
  EXPECT_EQ(FoundRows(shipSearch, u"true"), std::vector<int>{});
}

TEST(RowSearchTest, ATagOutsideItsSlotOnlyHasItsCellsSearched) {
  const auto m = Load(Lines({"#Events", "+Name: Before any formula", "$Formula: ( true )", "+Name: After"}));
  const ListData events = FillMode(kModeEvents, m);
  ASSERT_EQ(events.rows[0].tag, u"4,0");
  const RowSearch search(events, m.Sections());
  EXPECT_EQ(FoundRows(search, u"true"), std::vector<int>{1});
  EXPECT_EQ(FoundRows(search, u"before"), std::vector<int>{0});
}

TEST(RowSearchTest, WithinLimitsTheRowsSearched) {
  const auto m = Load(kEvents);
  const ListData events = FillMode(kModeEvents, m);
  const RowSearch search(events, m.Sections());
  const std::vector<char> alpha = search.Found(FindText(u"alpha"));
  const std::vector<char> alphaDown = search.Found(FindText(u"alpha d"), &alpha);
  EXPECT_EQ(alphaDown, (std::vector<char>{1, 0, 0, 0, 0}));
  const std::vector<char> none(events.rows.size(), 0);
  EXPECT_EQ(search.Found(FindText(u"alpha"), &none), none);
}

TEST(RowSearchTest, HundredThousandEvents) {
  constexpr int kRows = 100000;
  std::string text = "#Events\r\n";
  for (int i = 0; i < kRows; ++i) {
    text += "$Formula: ( when\r\n   ( is-destroyed-delay 0 \"Ship " + std::to_string(i % 1000) +
            "\" )\r\n   ( do-nothing ) )\r\n+Name: Event " + std::to_string(i) + "\r\n";
  }
  const auto m = Load(text);
  const ListData events = FillMode(kModeEvents, m);
  ASSERT_EQ(events.rows.size(), static_cast<std::size_t>(kRows));
  const RowSearch search(events, m.Sections());
  // "ship 12" is in the formulas of ships 12 and 120..129 (every 1000th
  // event each); "event 9999" names events 9999 and 99990..99999.
  const std::vector<int> ships = FoundRows(search, u"ship 12");
  EXPECT_EQ(ships.size(), 11u * (kRows / 1000));
  for (const int row : ships) {
    const int ship = row % 1000;
    EXPECT_TRUE(ship == 12 || (ship >= 120 && ship <= 129)) << row;
  }
  EXPECT_EQ(FoundRows(search, u"EVENT 9999").size(), 11u);
}

}  // namespace
}  // namespace views
