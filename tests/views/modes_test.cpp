#include "views/modes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/views/fixture.h"

namespace views {
namespace {

using ::testing::ElementsAre;
using testing::Cells;
using testing::Captions;
using testing::Lines;
using testing::Load;
using testing::Widths;

TEST(ModeTableTest, TitlesAreMenuCaptionsWithoutTheirFirstAmpersand) {
  ASSERT_EQ(Modes().size(), 13u);
  const char16_t* const titles[] = {u"General",   u"Goals",    u"Directives",       u"Events",     u"Messages",
                                    u"Ships",     u"Wings",    u"Reinforcements",   u"Variables",  u"Briefing",
                                    u"Command Briefing",      u"Debriefing",       u"Summary"};
  for (int mode = 1; mode <= kModeCount; ++mode) {
    const ModeInfo& info = ModeOf(mode);
    EXPECT_EQ(info.mode, mode);
    Text caption(info.menuCaption);
    mission::ReplaceFirst(caption, u"&", u"");
    EXPECT_EQ(caption, info.title) << mode;
    EXPECT_EQ(info.title, titles[mode - 1]);
    EXPECT_EQ(info.formulas, mode == kModeGoals || mode == kModeEvents || mode == kModeBriefing ||
                                 mode == kModeDebriefing)
        << mode;
    // The eight refer into the section store; the views after them carry their rows' lines.
    EXPECT_EQ(IsStoreMode(mode), mode <= 8) << mode;
  }
  EXPECT_EQ(ModeOf(kModeGeneral).menuCaption, u"G&eneral");
  EXPECT_EQ(ModeOf(kModeDirectives).menuCaption, u"&Directives");
  EXPECT_EQ(ModeOf(kModeCommandBriefing).menuCaption, u"Co&mmand Briefing");
  EXPECT_FALSE(IsMode(0));
  EXPECT_TRUE(IsMode(13));
  EXPECT_FALSE(IsMode(14));
  EXPECT_FALSE(IsStoreMode(0));
}

TEST(TextCleaningTest, QuoteCommaCutAndMinusOneStrip) {
  struct Case {
    const char16_t* in;
    const char16_t* cut;    // quote-comma cut
    const char16_t* strip;  // minus-one strip
  };
  const Case cases[] = {
      {u"XSTR(\"Protect Alpha 1\", -1)", u"Protect Alpha 1", u"Protect Alpha 1"},
      {u"XSTR(\"Protect Alpha 1\",-1)", u"Protect Alpha 1", u"Protect Alpha 1"},
      {u"Protect Alpha 1", u"Protect Alpha 1", u"Protect Alpha 1"},
      {u"\"Protect\"", u"\"Protect\"", u"\"Protect\""},
      {u"", u"", u""},
      // Any id closes a translated text, with blanks around it or not, also
      // without the wrapper; the result is trimmed.
      {u"XSTR(\"Protect Alpha 1\", 5012)", u"Protect Alpha 1", u"Protect Alpha 1"},
      {u"XSTR(\"Destroy the convoy\", 88)", u"Destroy the convoy", u"Destroy the convoy"},
      {u"XSTR(\" Hi \",  -12  )  ", u" Hi ", u"Hi"},
      {u"Hi\",0)", u"Hi", u"Hi"},
      {u"  padded  ", u"  padded  ", u"padded"},
      // Not a closing id: the quote and the comma must touch, the id needs a
      // digit right after its sign, and nothing but blanks may follow.
      {u"XSTR(\"a\" , 5)", u"a\" , 5)", u"a\" , 5)"},
      {u"XSTR(\"a\", - 5)", u"a", u"a\", - 5)"},
      {u"XSTR(\"a\", )", u"a", u"a\", )"},
      {u"XSTR(\"a\", x5)", u"a", u"a\", x5)"},
      {u"XSTR(\"a\", 5) tail", u"a", u"a\", 5) tail"},
      // Without a closing id at the end, a -1 id goes wherever it stands.
      {u"XSTR(\"a\", -1) tail", u"a", u"a tail"},
      // Only the first wrapper goes; the cut is at the first quote-comma,
      // the strip takes the id at the end.
      {u"XSTR(\"a\", -1) XSTR(\"b\", -1)", u"a", u"a\", -1) XSTR(\"b"},
      // The first line of a text that goes on over several lines.
      {u"XSTR(\"Pilots,", u"Pilots,", u"Pilots,"},
  };
  for (const Case& c : cases) {
    Text cut = c.in, strip = c.in;
    QuoteCommaCut(cut);
    MinusOneStrip(strip);
    EXPECT_EQ(cut, c.cut) << mission::ToUtf8(c.in);
    EXPECT_EQ(strip, c.strip) << mission::ToUtf8(c.in);
  }
}

TEST(TextCleaningTest, EventNumbers) {
  const std::pair<std::int64_t, const char16_t*> cases[] = {
      {0, u" 0"}, {9, u" 9"}, {10, u"10"}, {99, u"99"}, {100, u"100"}, {1234, u"1234"},
  };
  for (const auto& [number, text] : cases) EXPECT_EQ(EventNumber(number), text) << number;
}

TEST(GeneralViewTest, LastMatchWinsTrimmedAndUnwrapped) {
  const auto m = Load(Lines({"#Mission Info", "$Name: First", "$Name:   XSTR(\"Deep Strike\", -1)  ",
                             "$Name:NoBlank", "$Version: 0.10", "#Music", "$Event Music: 5: Deuteronomy",
                             "$Briefing Music:   Brief5  "}));
  const ListData list = FillMode(kModeGeneral, m);
  EXPECT_THAT(Captions(list), ElementsAre("Attribute", "Value"));
  EXPECT_THAT(Widths(list), ElementsAre(4000, 4000));
  EXPECT_THAT(Cells(list), ElementsAre(ElementsAre("Mission Name", "Deep Strike"), ElementsAre("Author", "<Unset>"),
                                       ElementsAre("Briefing Soundtrack", "Brief5"),
                                       ElementsAre("In-game Soundtrack", "5: Deuteronomy")));
  EXPECT_FALSE(HasFormulas(list));
}

TEST(GeneralViewTest, WithoutAnySectionHeaderTheListKeepsItsColumnsAndLosesItsRows) {
  const auto none = Load("$Name: Orphan\r\nplain text\r\n");
  EXPECT_TRUE(Captions(FillMode(kModeGeneral, none)).empty());
  EXPECT_TRUE(FillMode(kModeGeneral, none).rows.empty());

  // As after another mission's Events view: the columns stay, the rows go.
  const auto events = Load(Lines({"#Events", "$Formula: ( true )", "+Name: E"}));
  ListData list = FillMode(kModeEvents, events);
  ASSERT_EQ(list.rows.size(), 1u);
  FillMode(kModeGeneral, none, list);
  EXPECT_EQ(list.columns.size(), 6u);
  EXPECT_TRUE(list.rows.empty());
}

TEST(GeneralViewTest, ASecondMissionReplacesTheRows) {
  ListData list = FillMode(kModeGeneral, Load(Lines({"#Mission Info", "$Name: One"})));
  FillMode(kModeGeneral, Load(Lines({"#Mission Info", "$Name: Two"})), list);
  ASSERT_EQ(list.rows.size(), 4u);
  EXPECT_EQ(list.rows[0].cells[1], u"Two");
}

TEST(HasFormulasTest, OnlyATagHoldingAValueCounts) {
  ListData list;
  list.rows = {Row{{u"a"}, u""}, Row{{u"b"}, u" n/a "}};
  EXPECT_FALSE(HasFormulas(list));
  list.rows.push_back(Row{{u"c"}, u"4,0"});
  EXPECT_TRUE(HasFormulas(list));
}

// A mission's lists are filled once and shared; lists from elsewhere fill
// only the gaps, and only for the same mission.
TEST(ModeListsTest, EachViewIsFilledOnceAndAdoptedOnlyForItsMission) {
  const auto mission = Load(Lines({"#Events", "$Formula: ( true )", "+Name: E", "#Objects", "$Name: Alpha",
                                   "$Class: GTF Ulysses"}));
  ModeLists lists(&mission);
  const auto events = lists.List(kModeEvents);
  EXPECT_EQ(lists.List(kModeEvents), events);  // the same list, not a new fill
  EXPECT_EQ(Cells(*events), Cells(FillMode(kModeEvents, mission)));
  EXPECT_TRUE(lists.List(0)->rows.empty());
  EXPECT_TRUE(lists.List(kModeCount + 1)->columns.empty());
  EXPECT_TRUE(ModeLists().List(kModeShips)->rows.empty());  // no mission

  ModeLists filled(&mission);
  filled.FillAll();
  const auto ships = filled.List(kModeShips);
  ASSERT_EQ(ships->rows.size(), 1u);
  lists.Adopt(filled);
  EXPECT_EQ(lists.List(kModeShips), ships);    // a gap filled
  EXPECT_EQ(lists.List(kModeEvents), events);  // its own list stays

  const auto other = Load(Lines({"#Objects", "$Name: Beta"}));
  ModeLists elsewhere(&other);
  elsewhere.FillAll();
  ModeLists fresh(&mission);
  fresh.Adopt(elsewhere);
  EXPECT_EQ(Cells(*fresh.List(kModeShips)), Cells(*ships));
}

}  // namespace
}  // namespace views
