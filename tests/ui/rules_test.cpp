#include "ui/rules/rules.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(Rules, HoverFrameOnePixelOutsideBottomShifted) {
  const HoverFrame f = PlaceHoverFrame(300, 240, 480, 480, 15, 15);
  EXPECT_EQ(f.top, (Line{285, 225, 795, 225}));
  EXPECT_EQ(f.bottom, (Line{293, 735, 803, 735}));
  EXPECT_EQ(f.left, (Line{285, 225, 285, 735}));
  EXPECT_EQ(f.right, (Line{795, 225, 795, 735}));
}

TEST(Rules, FindStepsRoundTheRowsShown) {
  const struct {
    int current, count;
    bool backwards;
    int to;
  } cases[] = {
      {0, 3, false, 1}, {2, 3, false, 0},   // on, and round from the last to the first
      {0, 3, true, 2},  {2, 3, true, 1},    // back, and round from the first to the last
      {-1, 3, false, 0}, {-1, 3, true, 2},  // no current row: the first or the last
      {5, 3, false, 0},  {0, 1, false, 0},  {0, 1, true, 0},
      {-1, 0, false, -1}, {0, 0, true, -1},  // nothing to move to
  };
  for (const auto& c : cases)
    EXPECT_EQ(StepRow(c.current, c.count, c.backwards), c.to) << c.current << " " << c.count << " " << c.backwards;
  EXPECT_EQ(RowCountText(12, 60000), u"12 of 60000 rows");
}

TEST(Rules, DialogFiltersSplitIntoPairs) {
  const auto fs2 = SplitDialogFilter(kFilterFS2);
  ASSERT_EQ(fs2.size(), 3u);
  EXPECT_EQ(fs2[0], (FileFilter{u"FreeSpace 2 mission files (*.FS2)", u"*.fs2"}));
  EXPECT_EQ(fs2[2], (FileFilter{u"All Files (*.*)", u"*.*"}));
  EXPECT_EQ(SplitDialogFilter(kFilterFS1)[0].pattern, u"*.fsm");
}

TEST(Rules, MissionCaption) {
  EXPECT_EQ(MissionCaption(u"/m/a.fs2"), u"Veltrane Suite TORVEK32 - [/m/a.fs2]");
}

TEST(Rules, UnknownCommandNoticeSaysHowManyAndWhatTranslatesThem) {
  EXPECT_EQ(UnknownCommandNotice(0), u"");
  EXPECT_EQ(UnknownCommandNotice(1),
            u"1 line reads #UnknownCommand: View > Translate FreeSpace Open operators translates it");
  EXPECT_EQ(UnknownCommandNotice(12),
            u"12 lines read #UnknownCommand: View > Translate FreeSpace Open operators translates them");
}

TEST(Rules, CodeWindowTextCutsOnlyWhatIsTooLong) {
  const Text note = u" more characters not shown (torvk32 --export text prints the whole formula)";
  const struct {
    Text text;
    std::size_t limit;
    Text shown;
  } cases[] = {
      {u"If\r\n True", 9, u"If\r\n True"},                                  // at the limit: whole
      {u"If\r\n True\r\nThen", 10, u"If\r\n True\r\n\u2026 6" + note},   // cut at a line end
      {u"abcdefghij", 4, u"abcd\r\n\u2026 6" + note},                        // no line end: at the limit
      {u"a\r\nbcdefghij", 8, u"a\r\nbcdef\r\n\u2026 4" + note},           // line end too early to use
      {u"a\r\nbcdefg\r\nhij", 10, u"a\r\nbcdefg\r\n\u2026 5" + note},    // a line break across the limit
      {u"abc\U0001F600xy", 4, u"abc\r\n\u2026 4" + note},                   // a pair is not split
  };
  for (const auto& c : cases) EXPECT_EQ(CodeWindowText(c.text, c.limit), c.shown) << mission::ToUtf8(c.text);
}

TEST(Rules, OpeningNamesThatAreNoMissionFile) {
  using std::filesystem::file_type;
  EXPECT_EQ(NotAFileReason(file_type::regular), std::nullopt);
  EXPECT_EQ(NotAFileReason(file_type::not_found), u"No such file or directory");
  EXPECT_EQ(NotAFileReason(file_type::directory), u"Is a directory");
  for (const file_type t : {file_type::character, file_type::fifo, file_type::socket, file_type::block})
    EXPECT_EQ(NotAFileReason(t), u"Not a regular file");
  EXPECT_EQ(NotAMissionQuestion(u"ls"), u"ls does not look like a FreeSpace mission. Open it anyway?");
}

TEST(Rules, CopiedRowsAreTabSeparatedUnderTheCaptions) {
  views::ListData list;
  list.columns = {{u"Name", 100}, {u"Text", 100}};
  list.rows = {{{u"a", u"one two"}, u"4,1"}, {{u"b", u""}, u""}, {{u"c", u"3"}, u""}};
  EXPECT_EQ(ListRowsText(list, {2, 0}), u"Name\tText\nc\t3\na\tone two\n");
  EXPECT_EQ(ListRowsText(list, {1}), u"Name\tText\nb\t\n");  // an empty cell keeps its place
  EXPECT_EQ(ListRowsText(list, {}), u"Name\tText\n");
}

TEST(Rules, CtrlCCopiesFromTheFocusedPaneFirst) {
  using enum FocusPane;
  using enum CopySource;
  const struct {
    FocusPane focus;
    bool sexp, parsed, rows;
    CopySource copied;
  } cases[] = {
      {kSexpCode, true, true, true, kSexpSelection},
      {kParsedCode, true, true, true, kParsedSelection},
      {kList, true, true, true, kListRows},
      // The focused pane has nothing selected: a code window's selection.
      {kList, false, true, false, kParsedSelection},
      {kSexpCode, false, true, true, kParsedSelection},
      // The focus elsewhere: a code window's selection, never the rows.
      {kOther, true, true, true, kSexpSelection},
      {kOther, false, true, true, kParsedSelection},
      {kOther, false, false, true, kNothing},
      {kParsedCode, false, false, true, kNothing},
      {kList, false, false, false, kNothing},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CtrlCSource({c.focus, c.sexp, c.parsed, c.rows}), c.copied)
        << static_cast<int>(c.focus) << c.sexp << c.parsed << c.rows;
  }
}

TEST(Rules, CellToolTipIsTheWholeTextUpToItsLimit) {
  EXPECT_EQ(CellToolTip(u"short"), u"short");
  EXPECT_EQ(CellToolTip(Text(kToolTipMax, u'x')), Text(kToolTipMax, u'x'));
  EXPECT_EQ(CellToolTip(u"abcdef", 4), u"abcd\u2026");
  EXPECT_EQ(CellToolTip(u"abc\U0001F600", 4), u"abc\u2026");  // the pair is not split
}

TEST(Rules, ListHintSaysHowToOpenOrThatTheFileHoldsNoMission) {
  EXPECT_EQ(ListHint(false, false, u""), kNoMissionHint);
  EXPECT_EQ(ListHint(true, false, u"notes.txt"), u"notes.txt holds none of the sections of a mission.");
  EXPECT_EQ(ListHint(true, true, u"m01.fs2"), u"");
}

// Each menu's entries get keys of their own: kept where free, else the
// first free letter of a word, else any free letter or digit.
TEST(Rules, EveryMenuEntryHasAnAccessKeyOfItsOwn) {
  const struct {
    const char* what;
    std::vector<Text> captions;
    std::vector<Text> keyed;
  } cases[] = {
      {"keys kept, a clash moved, the rest given",
       {u"G&eneral", u"Events", u"Ships", u"-", u"Show &SEXP code window", u"Show &Parsed code window", u"&Problems"},
       {u"G&eneral", u"E&vents", u"S&hips", u"-", u"Show &SEXP code window", u"Show &Parsed code window",
        u"P&roblems"}},
      {"the earlier of two keeps the key",
       {u"&Open", u"&Other", u"&Omega"},
       {u"&Open", u"O&ther", u"O&mega"}},
      {"a word start before a letter inside",
       {u"&Find...", u"Find References"},
       {u"&Find...", u"Find &References"}},
      {"keys compare without case",
       {u"&abc", u"A&bc", u"ABC"},
       {u"&abc", u"A&bc", u"AB&C"}},
      {"digits serve, and a caption with nothing free stays",
       {u"&ab", u"&ba", u"ab", u"a1"},
       {u"&ab", u"&ba", u"ab", u"a&1"}},
      {"an ampersand written as && is no key",
       {u"&Save", u"Salt && Sea"},
       {u"&Save", u"S&alt && Sea"}},
      {"no captions", {}, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(WithAccessKeys(c.captions), c.keyed) << c.what;
}

TEST(Rules, FirstWindowTakesTwoThirdsOfTheScreenCentred) {
  const struct {
    Bounds available;
    Bounds window;
  } cases[] = {
      {{0, 0, 1920, 1080}, {320, 180, 1280, 720}},
      {{0, 0, 1600, 1000}, {267, 150, 1066, 700}},  // not lower than the design's 700
      {{0, 0, 1024, 768}, {55, 34, 914, 700}},      // the design size where two thirds are less
      {{0, 0, 800, 600}, {0, 0, 800, 600}},          // no larger than the screen
      {{100, 40, 3000, 1500}, {600, 290, 2000, 1000}},  // an area that does not start at 0
  };
  for (const auto& c : cases) EXPECT_EQ(FirstWindowBounds(c.available, 914, 700), c.window) << c.available.width;
}

TEST(Rules, NumberColumnsFitTheirLongestNumber) {
  views::ListData list;
  list.columns = {{u"#", 300}, {u"Name", 2000}, {u"Vis", 400}, {u"Delay", 600}, {u"Blank", 600}};
  const char16_t* rows[][5] = {
      {u" 0", u"Alpha 1", u"1", u"-2.5", u""},
      {u"99", u"Beta", u"0", u"", u" "},
      {u"100", u"12", u"1", u"30", u""},
  };
  for (const auto& r : rows) list.rows.push_back({{r[0], r[1], r[2], r[3], r[4]}, u""});
  EXPECT_EQ(NumberToFit(list, 0), Text(u"100"));
  EXPECT_EQ(NumberToFit(list, 1), std::nullopt);  // text: its cut cells have tooltips
  EXPECT_EQ(NumberToFit(list, 2), Text(u"999"));  // at least three digits
  EXPECT_EQ(NumberToFit(list, 3), Text(u"-2.5"));
  EXPECT_EQ(NumberToFit(list, 4), std::nullopt);  // nothing but blanks
  EXPECT_EQ(NumberToFit(list, 7), std::nullopt);  // no such column
  list.rows.push_back({{u"1000"}, u""});          // a short row
  EXPECT_EQ(NumberToFit(list, 0), Text(u"1000"));
}

}  // namespace
}  // namespace ui
