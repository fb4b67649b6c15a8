#include "views/details.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/views/fixture.h"
#include "views/modes.h"

namespace views {
namespace {

using testing::Lines;
using testing::Load;

std::string U8(TextView text) { return mission::ToUtf8(text); }

TEST(EntryLinesTest, RowsRunFromTheirNameLineToTheNext) {
  const mission::Mission m = Load(Lines({"#Messages", "$Team: -1", "$Name: A", "+AVI Name: x", "$Name: B", "$Name: C",
                                         "+Wave Name: y"}));
  const EntryLines entries(m.Sections().Slot(mission::kSlotMessages));
  // The line before the first "$Name:" belongs to no row, as in the list.
  ASSERT_EQ(entries.Rows(), 3u);
  EXPECT_EQ(entries.Row(1), (LineRange{2, 4}));
  EXPECT_EQ(entries.Row(2), (LineRange{4, 5}));
  EXPECT_EQ(entries.Row(3), (LineRange{5, 7}));
  EXPECT_EQ(entries.Row(0), std::nullopt);
  EXPECT_EQ(entries.Row(4), std::nullopt);
  // The rows are the Messages view's rows.
  EXPECT_EQ(FillMode(kModeMessages, m).rows.size(), entries.Rows());
}

TEST(MessageDetailsTest, WholeTextWithoutXstrWithPersonaAndFiles) {
  struct Case {
    std::vector<std::string_view> lines;  // after "#Messages"
    std::string text, persona, avi, wave;
  };
  const Case cases[] = {
      // Several lines up to "$end_multi_text"; the id does not matter.
      {{"$Name: Intro", "$Team: -1", "$MessageNew:  XSTR(\"Welcome, pilot.", "Second line.", "", "Last\", 1200)",
        "$end_multi_text", "+Persona: Terran Command", "+AVI Name: Head-CM1", "+Wave Name: intro.wav"},
       "Welcome, pilot.\r\nSecond line.\r\n\r\nLast",
       "Terran Command",
       "Head-CM1",
       "intro.wav"},
      {{"$Name: A", "$MessageNew:  XSTR(\"One line\",-1)", "$end_multi_text"}, "One line", "", "", ""},
      // Not wrapped: as written, trimmed. A line beginning with "$" inside the
      // text does not end it while "$end_multi_text" follows.
      {{"$Name: A", "$Message: Plain text  ", "$Heat rises", "$end_multi_text", "+Wave Name: a.wav"},
       "Plain text\r\n$Heat rises",
       "",
       "",
       "a.wav"},
      // Without "$end_multi_text" the text ends at the next field line.
      {{"$Name: A", "$MessageNew: XSTR(\"Go\", 5)", "on", "+Persona: Wingman"}, "Go\", 5)\r\non", "Wingman", "", ""},
      // A text cut off by a comment keeps what is left; a quote inside stays.
      {{"$Name: A", "$MessageNew: XSTR(\"Say \"hi\" now"}, "Say \"hi\" now", "", "", ""},
      // No text at all.
      {{"$Name: A", "+AVI Name: x"}, "", "", "x", ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string_view> lines = {"#Messages"};
    lines.insert(lines.end(), c.lines.begin(), c.lines.end());
    std::string file;
    for (const std::string_view line : lines) file += std::string(line) + "\r\n";
    const mission::Mission m = Load(file);
    const mission::LineList& slot = m.Sections().Slot(mission::kSlotMessages);
    const MessageDetails d = MessageDetailsOf(slot, *EntryLines(slot).Row(1));
    EXPECT_EQ(U8(d.name), std::string(c.lines[0].substr(7)));
    EXPECT_EQ(U8(d.text), c.text) << c.lines[1];
    EXPECT_EQ(U8(d.persona), c.persona) << c.lines[1];
    EXPECT_EQ(U8(d.avi), c.avi) << c.lines[1];
    EXPECT_EQ(U8(d.wave), c.wave) << c.lines[1];
  }
}

TEST(MessageDetailsTest, EachMessageKeepsToItsOwnLines) {
  const mission::Mission m = Load(Lines({"#Messages", "$Name: A", "$MessageNew: XSTR(\"First\", -1)",
                                         "+Persona: P", "$Name: B", "$MessageNew: XSTR(\"Second\", -1)"}));
  const mission::LineList& slot = m.Sections().Slot(mission::kSlotMessages);
  const EntryLines entries(slot);
  const MessageDetails b = MessageDetailsOf(slot, *entries.Row(2));
  EXPECT_EQ(U8(b.name), "B");
  EXPECT_EQ(U8(b.text), "Second");
  EXPECT_EQ(U8(b.persona), "");
  // A range beyond the slot is cut to it.
  EXPECT_EQ(U8(MessageDetailsOf(slot, {5, 99}).text), "Second");
}

TEST(MessageDetailsTest, PaneTextNamesOnlyTheFieldsGiven) {
  const struct {
    MessageDetails details;
    std::string shown;
  } cases[] = {
      {{u"A", u"Hi\r\nthere", u"Wingman", u"head-a", u"hi.wav"},
       "Hi\r\nthere\r\n\r\nPersona: Wingman\r\nAVI: head-a\r\nWAV: hi.wav"},
      {{u"A", u"Hi", u"", u"", u"hi.wav"}, "Hi\r\n\r\nWAV: hi.wav"},
      {{u"A", u"Hi", u"", u"", u""}, "Hi"},
      {{u"A", u"", u"", u"head-a", u""}, "AVI: head-a"},
  };
  for (const auto& c : cases) EXPECT_EQ(U8(MessagePaneText(c.details)), c.shown);
}

TEST(MessageDetailsTest, WithoutXstr) {
  const std::pair<std::string, std::string> cases[] = {
      {"XSTR(\"Text\", -1)", "Text"},
      {"  XSTR(\"Text\" ,  12 )  ", "Text"},
      {"XSTR(\"A \"quoted\" word\", 3)", "A \"quoted\" word"},
      {"XSTR(\"Text\", x)", "Text\", x)"},  // not an id: only the opening goes
      {"XSTR(\"Text\", 1) more", "Text\", 1) more"},
      {"XSTR(\"\", -1)", ""},
      {"Plain", "Plain"},
      {"xstr(\"lower\", 1)", "xstr(\"lower\", 1)"},
      {"", ""},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(U8(WithoutXstr(mission::FromUtf8(text))), shown) << text;
}

TEST(CueTextsTest, BothCuesAsSexpAndTranslation) {
  const mission::Mission m = Load(Lines({
      "#Objects",
      "$Name: Alpha 1",
      "$Arrival Location: Hyperspace",
      "$Arrival Cue: ( and",
      "   ( has-arrived-delay 0 \"Beta\" )",
      "   ( true ) )",
      "$Departure Cue: ( false )",
      "+Flags: ( \"cargo-known\" )",
      "$Name: Beta",
      "$Arrival Cue: ( true ) )",
      "$Name: Gamma",
      "+Initial Hull: 100",
  }));
  const mission::LineList& slot = m.Sections().Slot(mission::kSlotObjects);
  const EntryLines entries(slot);
  const FormulaTexts alpha = CueTexts(slot, *entries.Row(1), u"Alpha 1");
  EXPECT_EQ(U8(alpha.sexp), Lines({"$Arrival Cue: ( and", "   ( has-arrived-delay 0 \"Beta\" )", "   ( true ) )"}) +
                                "$Departure Cue: ( false )");
  EXPECT_EQ(U8(alpha.parsed), Lines({"Arrival cue:", "(", "  Ship(\"Beta\").ArrivedSince>=0", "And", "  True", ")",
                                     "", "", "Departure cue:"}) +
                                  " False");
  // A cue with too many brackets shows the reader's error.
  const FormulaTexts beta = CueTexts(slot, *entries.Row(2), u"Beta");
  EXPECT_EQ(U8(beta.sexp), "$Arrival Cue: ( true ) )");
  EXPECT_EQ(U8(beta.parsed), "Arrival cue:\r\n<Error in formular: too many ')' brackets>");
  // No cues: nothing.
  const FormulaTexts gamma = CueTexts(slot, *entries.Row(3), u"Gamma");
  EXPECT_EQ(U8(gamma.sexp), "");
  EXPECT_EQ(U8(gamma.parsed), "");
}

TEST(CueTextsTest, AWingsCues) {
  const mission::Mission m = Load(Lines({"#Wings", "$Name: Alpha", "$Waves: 1", "$Arrival Cue: ( false )",
                                         "$Departure Cue: ( is-destroyed-delay 0 \"Omega\" )", "$Ships: (",
                                         "\"Alpha 1\"", ")"}));
  const mission::LineList& slot = m.Sections().Slot(mission::kSlotWings);
  const FormulaTexts alpha = CueTexts(slot, *EntryLines(slot).Row(1), u"Alpha");
  EXPECT_EQ(U8(alpha.sexp), "$Arrival Cue: ( false )\r\n$Departure Cue: ( is-destroyed-delay 0 \"Omega\" )");
  EXPECT_EQ(U8(alpha.parsed), "Arrival cue:\r\n False\r\n\r\nDeparture cue:\r\n Ship(\"Omega\").DestroyedSince>=0");
}

}  // namespace
}  // namespace views
