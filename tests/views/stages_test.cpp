// Briefings, command briefings and debriefings: their stages as rows, their
// texts in cells and in the game's colours, and their formulas.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/views/fixture.h"
#include "views/modes.h"
#include "views/stage_text.h"
#include "views/stages.h"

namespace views {
namespace {

using ::testing::ElementsAre;
using testing::Captions;
using testing::Cells;
using testing::Lines;
using testing::Load;
using testing::Tags;

constexpr std::uint32_t Rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b) { return r | (g << 8) | (b << 16); }
const std::uint32_t kWhite = Rgb(105, 105, 105);
const std::uint32_t kFriendly = Rgb(50, 100, 50);
const std::uint32_t kHostile = Rgb(140, 20, 20);
const std::uint32_t kBlue = Rgb(93, 93, 128);
const std::uint32_t kRed = Rgb(126, 6, 6);

// Each span as «text|colour», for readable expectations.
std::vector<std::string> Runs(const ColoredText& colored) {
  std::vector<std::string> runs;
  for (const ColorSpan& span : colored.spans) {
    const std::uint32_t c = span.color;
    const char* name = c == kWhite ? "w" : c == kFriendly ? "f" : c == kHostile ? "h" : c == kBlue ? "b" : c == kRed ? "r" : "?";
    runs.push_back(mission::ToUtf8(TextView(colored.text).substr(span.start, span.length)) + "|" + name);
  }
  return runs;
}

TEST(StageTextTest, CellsDropTagsWithOneBlankAndTheXstrWrapping) {
  const struct {
    const char16_t* text;
    const char* cell;
  } cases[] = {
      {u"XSTR(\"The $f Aquitaine$|. is here\", 1706)", "The Aquitaine. is here"},
      {u"$h Majestic and $h Refute$|.", "Majestic and Refute."},
      {u"Two  blanks: $b  Capella", "Two  blanks:  Capella"},  // one blank goes with the tag
      {u"Rest$semicolon then $quote quoted$quote", "Rest; then \" quoted\""},
      {u"A span $y{ of yellow $} words", "A span of yellow words"},
      {u"$callsign keeps $rank", "$callsign keeps $rank"},  // the game fills these in
      {u"Costs $5 and $", "Costs $5 and $"},                 // no letter: no tag
      {u"line one\r\n\r\nline three", "line one  line three"},
      {u"XSTR(\"cut off by a comment", "cut off by a comment"},
  };
  for (const auto& c : cases) EXPECT_EQ(mission::ToUtf8(StageCellText(c.text)), c.cell) << mission::ToUtf8(c.text);
}

TEST(StageTextTest, TagsColourTheNextWordAsTheGameDoes) {
  const struct {
    const char16_t* text;
    char16_t own;
    std::vector<std::string> runs;
  } cases[] = {
      // A tag colours the word after it; the blank after it goes.
      {u"the $f Sunder$|. Go", kBriefingTextTag, {"the |w", "Sunder|f", ". Go|w"}},
      // Without "$|" the word runs on to the next blank.
      {u"$h Refute. now", kBriefingTextTag, {"Refute.|h", " now|w"}},
      // A span colours every word up to "$}".
      {u"$b{ Gamma Draconis $} x", kBriefingTextTag, {"Gamma Draconis |b", "x|w"}},
      // A letter the game does not know keeps the colour; its tag still goes.
      {u"$z odd", kBriefingTextTag, {"odd|w"}},
      // A recommendation's own colour is red; a line end ends a word.
      {u"Destroy $f it\r\nnow", kRecommendationTag, {"Destroy |r", "it|f", "\r\nnow|r"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Runs(ColorTags(c.text, c.own)), c.runs) << mission::ToUtf8(c.text);
  }
  EXPECT_EQ(TagColor(u'f'), kFriendly);
  EXPECT_EQ(TagColor(u'h'), kHostile);
  EXPECT_EQ(TagColor(u'y'), Rgb(255, 255, 122));
  EXPECT_EQ(TagColor(u'W'), Rgb(255, 255, 255));
  EXPECT_FALSE(TagColor(u'z').has_value());
}

// A briefing of two teams, the second with an icon whose text is not the
// stage's, and a stage whose text lacks its end.
const std::string kBriefings = Lines({
    "#Briefing",
    "$start_briefing",
    "$num_stages: 2",
    "$start_stage",
    "$multi_text",
    " XSTR(\"The $f Sunder$|. waits;",  // the comment cuts the rest of the line
    "$b Capella comes\", -1)",
    "$end_multi_text",
    "$voice: b1.wav",
    "$num_icons: 1",
    "$Formula: ( true ) ",
    "$start_icon",
    "$multi_text",
    "Icon text",
    "$end_multi_text",
    "$end_icon",
    "$end_stage",
    "$start_stage",
    "$multi_text",
    "No end here",
    "$voice: b2.wav",
    "$num_icons: 0",
    "$Formula: ( is-destroyed-delay 0 \"Alpha 1\" )",
    "$end_stage",
    "$end_briefing",
    "#Briefing",
    "$start_briefing",
    "$num_stages: 1",
    "$start_stage",
    "$multi_text",
    "Team two$semicolon go",
    "$end_multi_text",
    "$end_stage",
    "$end_briefing",
    "#Objects",
    "$Name: Alpha 1",
});

TEST(StagesTest, BriefingOfTwoTeams) {
  const auto m = Load(kBriefings);
  const ListData list = FillMode(kModeBriefing, m);
  EXPECT_THAT(Captions(list), ElementsAre("Team", "Stage", "Text", "Voice", "Icons"));
  EXPECT_THAT(Cells(list), ElementsAre(ElementsAre("1", "1", "The Sunder. waits Capella comes", "b1.wav", "1"),
                                       ElementsAre("1", "2", "No end here", "b2.wav", "0"),
                                       ElementsAre("2", "1", "Team two; go", "", "")));
  // Every stage carries a tag, also one without a formula.
  EXPECT_THAT(Tags(list), ElementsAre("10,1", "10,2", "10,3"));
  EXPECT_TRUE(list.absent.empty());
  ASSERT_EQ(list.rowLines.size(), 3u);
  EXPECT_EQ(m.FileLine(list.rowLines[0].first), u"$start_stage");
  EXPECT_EQ(m.FileLine(list.rowLines[1].end - 1), u"$end_stage");

  const StageFields second = ReadStage(m, StageKind::kBriefing, list.rowLines[1]);
  const FormulaTexts formula = StageFormula(m, second, u"2");
  EXPECT_EQ(formula.sexp, u"( is-destroyed-delay 0 \"Alpha 1\" )");
  EXPECT_EQ(formula.parsed, u" Ship(\"Alpha 1\").DestroyedSince>=0");
  EXPECT_EQ(StageFormula(m, ReadStage(m, StageKind::kBriefing, list.rowLines[2]), u"1").sexp, u"");
}

TEST(StagesTest, PaneShowsTheTextInColoursThenTheFiles) {
  const auto m = Load(kBriefings);
  const ListData list = FillMode(kModeBriefing, m);
  const ColoredText pane = StagePaneText(StageKind::kBriefing, ReadStage(m, StageKind::kBriefing, list.rowLines[0]));
  EXPECT_THAT(Runs(pane), ElementsAre("The |w", "Sunder|f", ". waits\r\n|w", "Capella|b",
                                      " comes\r\n\r\nVoice: b1.wav|w"));
}

TEST(StagesTest, CommandBriefingAndDebriefing) {
  const auto m = Load(Lines({
      "#Command Briefing",
      "$Stage Text:",
      "XSTR(\"$W March 2\", -1)",
      "$end_multi_text",
      "$Ani Filename: cb_010.ani",
      "+Wave Filename: cb_010.wav",
      "$Stage Text: Second",
      "$end_multi_text",
      "#Debriefing_info",
      "$Num stages: 2",
      "$Formula: ( and",
      "( is-destroyed-delay 0 \"A\" )",
      "$Multi text",
      "Lost it",
      "$end_multi_text",
      "$Voice: d1.wav",
      "$Recommendation text:",
      "XSTR(\"Protect $f A\", -1)",
      "$end_multi_text",
      "$Formula: ( true )",
      "$Multi text",
      "Won",
      "$end_multi_text",
      "#Objects",
  }));
  EXPECT_THAT(Cells(FillMode(kModeCommandBriefing, m)),
              ElementsAre(ElementsAre("1", "1", "March 2", "cb_010.ani", "cb_010.wav"),
                          ElementsAre("1", "2", "Second", "", "")));
  EXPECT_THAT(Tags(FillMode(kModeCommandBriefing, m)), ElementsAre("", ""));

  const ListData debriefing = FillMode(kModeDebriefing, m);
  EXPECT_THAT(Captions(debriefing), ElementsAre("Team", "Stage", "Condition", "Text", "Recommendation", "Voice"));
  // The first formula never closes: it ends at the stage's next field, with
  // the reader's error as its condition; the next stage reads as usual.
  EXPECT_THAT(Cells(debriefing),
              ElementsAre(ElementsAre("1", "1", "<Error in formular: missing ')' brackets>", "Lost it", "Protect A",
                                      "d1.wav"),
                          ElementsAre("1", "2", "True", "Won", "", "")));
  EXPECT_THAT(Tags(debriefing), ElementsAre("12,1", "12,2"));
  const StageFields first = ReadStage(m, StageKind::kDebriefing, debriefing.rowLines[0]);
  EXPECT_EQ(StageFormula(m, first, u"1").sexp, u"( and\r\n( is-destroyed-delay 0 \"A\" )");
  EXPECT_THAT(Runs(StagePaneText(StageKind::kDebriefing, first)),
              ElementsAre("Lost it\r\n\r\nRecommendation: |w", "Protect |r", "A|f", "\r\n\r\nVoice: d1.wav|w"));
}

TEST(StagesTest, ConditionOfABlockReadsAsOneLine) {
  const auto m = Load(Lines({"#Debriefing_info", "$Formula: ( and ( true ) ( false ) )", "$Multi text", "x",
                             "$end_multi_text"}));
  const ListData list = FillMode(kModeDebriefing, m);
  ASSERT_EQ(list.rows.size(), 1u);
  EXPECT_EQ(list.rows[0].cells[2], u"( True And False )");
}

TEST(StagesTest, AbsentSectionsSayWhatIsMissing) {
  const auto none = Load(Lines({"#Mission Info", "$Name: M"}));
  const struct {
    int mode;
    const char16_t* absent;
  } cases[] = {{kModeVariables, u"This mission has no variables."},
               {kModeBriefing, u"This mission has no briefing."},
               {kModeCommandBriefing, u"This mission has no command briefing."},
               {kModeDebriefing, u"This mission has no debriefing."}};
  for (const auto& c : cases) {
    const ListData list = FillMode(c.mode, none);
    EXPECT_EQ(list.absent, c.absent) << c.mode;
    EXPECT_TRUE(list.rows.empty()) << c.mode;
    EXPECT_FALSE(list.columns.empty()) << c.mode;
  }
  // A section without stages is there: an empty list, not a missing section.
  const auto empty = Load(Lines({"#Briefing", "$start_briefing", "$num_stages: 0", "$end_briefing"}));
  EXPECT_TRUE(FillMode(kModeBriefing, empty).absent.empty());
}

TEST(StagesTest, NothingReadsPastTheSectionsEnd) {
  // A text and a formula left open at the end of their section.
  const auto m = Load(Lines({"#Debriefing_info", "$Formula: ( and", "$Multi text", "open text", "#Events",
                             "$Formula: ( when ( true ) ( do-nothing ) )", "+Name: After"}));
  const ListData list = FillMode(kModeDebriefing, m);
  ASSERT_EQ(list.rows.size(), 1u);
  EXPECT_EQ(list.rows[0].cells[3], u"open text");
  EXPECT_EQ(list.rowLines[0].end, 5u);  // the "#Events" line
  EXPECT_EQ(FillMode(kModeEvents, m).rows.size(), 1u);
}

}  // namespace
}  // namespace views
