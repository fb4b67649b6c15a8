// Campaign files: reading them, their branches, the Campaign view and graph,
// finding their missions in a folder, and the campaign check.
#include "views/campaign.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/views/fixture.h"
#include "views/campaign_check.h"
#include "views/campaign_files.h"
#include "views/campaign_links.h"

namespace views {
namespace campaign_test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::Cells;
using testing::Lines;
using testing::Load;

std::string U8(mission::TextView text) { return mission::ToUtf8(text); }

// A campaign as real files write it: fields indented with tabs, a branch
// over a goal of the mission before, a mission that plays itself again, a
// loop with its own formula, and a fork.
const std::string kCampaign = Lines({
    "$Name: Test Campaign",                                       // 1
    "$Type: single",                                              // 2
    "+Description:",                                              // 3
    " XSTR(\"Two lines",                                          // 4
    "of text.\", -1)",                                            // 5
    "$end_multi_text",                                            // 6
    "$Flags: 0",                                                  // 7
    "+Starting Ships: ( \"GTF Ulysses\"  \"GTF Apollo\" )",       // 8
    "+Starting Weapons: ( \"Subach HL-7\"",                       // 9
    "   \"Rockeye\" )",                                           // 10
    "",                                                           // 11
    "$Mission: M01.fs2",                                          // 12
    "\t+Flags: 0",                                                // 13
    "\t+Main Hall: ",                                             // 14
    "\t+Formula: ( cond",                                         // 15
    "\t   ( ( is-previous-goal-true \"M01.fs2\" \"Patrol\" ) ( next-mission \"M02.fs2\" ) )",  // 16
    "\t   ( ( true ) ( next-mission \"M01\" ) )",                 // 17
    "\t)",                                                        // 18
    "\t+Level: 0",                                                // 19
    "\t+Position: 1",                                             // 20
    "$Mission: M02.fs2",                                          // 21
    "\t+Formula: ( cond ( ( true ) ( next-mission \"M03.fs2\" ) ) )",  // 22
    "\t+Mission Loop:",                                           // 23
    "\t+Mission Loop Text:",                                      // 24
    "\tXSTR(\"Go on a detour\", 12)",                             // 25
    "$end_multi_text",                                            // 26
    "\t+Formula: ( cond ( ( is-previous-event-true \"M02\" \"Found it\" ) ( next-mission \"Loop1.fs2\" ) ) )",  // 27
    "\t+Level: 1",                                                // 28
    "$Mission: Loop1.fs2",                                        // 29
    "\t+Formula: ( cond ( ( true ) ( next-mission \"M03.fs2\" ) ) )",  // 30
    "$Mission: M03.fs2",                                          // 31
    "\t+Formula: ( true )",                                       // 32
    "\t+Mission Fork:",                                           // 33
    "\t+Formula: ( cond ( ( true ) ( next-mission \"M03.fs2\" ) ) )",  // 34
    "#End",                                                       // 35
});

TEST(CampaignTest, ToldApartFromMissions) {
  struct Case {
    std::string text;
    bool campaign;
  } cases[] = {
      {kCampaign, true},
      {Lines({"$Mission: A.fs2", "+Formula: ( true )"}), true},
      // A mission whose text happens to hold a "$Mission:" line.
      {Lines({"#Mission Info", "$Name: X", "#Events", "$Mission: A.fs2"}), false},
      {Lines({"#Mission Info", "$Name: X"}), false},
      {"", false},
      {std::string("$Mission: A.fs2\r\n\0\r\n", 21), false},
  };
  for (const Case& c : cases) EXPECT_EQ(LooksLikeCampaign(Load(c.text)), c.campaign) << c.text;
}

TEST(CampaignTest, ReadsHeaderAndEntries) {
  const auto file = Load(kCampaign);
  const Campaign c = ReadCampaign(file);
  EXPECT_EQ(U8(c.name), "Test Campaign");
  EXPECT_EQ(U8(c.type), "single");
  EXPECT_EQ(U8(c.description), "Two lines of text.");
  ASSERT_EQ(c.startingShips.size(), 2u);
  EXPECT_EQ(U8(c.startingShips[1]), "GTF Apollo");
  ASSERT_EQ(c.startingWeapons.size(), 2u);
  EXPECT_EQ(U8(c.startingWeapons[1]), "Rockeye");

  ASSERT_EQ(c.missions.size(), 4u);
  const CampaignMission& m1 = c.missions[0];
  EXPECT_EQ(m1.line, 12u);
  EXPECT_EQ(U8(m1.file), "M01.fs2");
  EXPECT_EQ(U8(m1.mainHall), "");
  EXPECT_EQ(U8(m1.level), "0");
  EXPECT_EQ(U8(m1.position), "1");
  EXPECT_EQ(m1.branch.line, 15u);
  EXPECT_EQ(m1.branch.lastLine, 18u);
  EXPECT_EQ(m1.loop, LoopKind::kNone);
  ASSERT_EQ(m1.branch.targets.size(), 2u);
  EXPECT_EQ(U8(m1.branch.targets[0].mission), "M02.fs2");
  EXPECT_THAT(U8(m1.branch.targets[0].condition), HasSubstr("Patrol"));
  EXPECT_EQ(U8(m1.branch.targets[1].mission), "M01");
  EXPECT_EQ(U8(m1.branch.targets[1].condition), "");  // ( true )

  // The first formula is the branch, the one after the loop's field the loop's.
  const CampaignMission& m2 = c.missions[1];
  EXPECT_EQ(m2.loop, LoopKind::kLoop);
  EXPECT_EQ(U8(m2.loopText), "Go on a detour");
  EXPECT_EQ(m2.branch.line, 22u);
  EXPECT_EQ(m2.loopFormula.line, 27u);
  ASSERT_EQ(m2.loopFormula.targets.size(), 1u);
  EXPECT_EQ(U8(m2.loopFormula.targets[0].mission), "Loop1.fs2");
  EXPECT_EQ(U8(m2.level), "1");

  EXPECT_EQ(c.missions[3].loop, LoopKind::kFork);
  EXPECT_TRUE(c.missions[3].branch.targets.empty());  // ( true ): the campaign ends
  EXPECT_EQ(U8(NextCell(c.missions[3])), "end of campaign");
  EXPECT_EQ(U8(NextCell(c.missions[0])), "M02.fs2, M01");
}

// The branch as the code windows show it: the lines as written, and the
// translation with the FreeSpace Open operators.
TEST(CampaignTest, BranchTexts) {
  const auto file = Load(kCampaign);
  const Campaign c = ReadCampaign(file);
  const std::string sexp = U8(c.missions[0].branch.sexp);
  EXPECT_EQ(sexp.substr(0, sexp.find('\r')), "( cond");
  EXPECT_EQ(std::count(sexp.begin(), sexp.end(), '\n'), 3);
  const std::string parsed = U8(c.missions[0].branch.parsed);
  EXPECT_THAT(parsed, HasSubstr("IsPreviousGoalTrue(\"M01.fs2\",\"Patrol\")"));
  EXPECT_THAT(parsed, HasSubstr("NextMission(\"M02.fs2\")"));
  EXPECT_THAT(parsed, ::testing::Not(HasSubstr("#UnknownCommand")));

  const std::vector<CampaignRef>& refs = c.missions[0].branch.refs;
  ASSERT_EQ(refs.size(), 3u);
  EXPECT_EQ(refs[0].kind, CampaignRefKind::kPreviousGoal);
  EXPECT_EQ(U8(refs[0].name), "Patrol");
  EXPECT_EQ(refs[0].line, 16u);
  EXPECT_EQ(refs[1].kind, CampaignRefKind::kNextMission);
}

// A formula cut off ends at the next field; the rest of the campaign reads on.
TEST(CampaignTest, FormulaCutOffEndsAtNextField) {
  const auto file = Load(Lines({
      "$Mission: A.fs2",
      "+Formula: ( cond ( ( true ) ( next-mission \"B.fs2\" )",
      "+Level: 3",
      "$Mission: B.fs2",
      "+Formula: ( true ) )",
      "#End",
  }));
  const Campaign c = ReadCampaign(file);
  ASSERT_EQ(c.missions.size(), 2u);
  EXPECT_EQ(c.missions[0].branch.lastLine, 2u);
  EXPECT_EQ(c.missions[0].branch.openBrackets, 2u);
  EXPECT_EQ(U8(c.missions[0].branch.parsed), "<Error in formular: missing ')' brackets>");
  EXPECT_EQ(U8(c.missions[0].level), "3");
  EXPECT_EQ(U8(c.missions[0].branch.targets[0].mission), "B.fs2");
  EXPECT_FALSE(c.missions[1].branch.extraClosing);  // the text after a closed formula is not read
}

TEST(CampaignTest, LocatesMissionsInFolder) {
  const auto file = Load(Lines({"$Mission: M01.fs2", "$Mission: m02.FS2", "$Mission: M03", "$Mission: Gone.fs2"}));
  Campaign c = ReadCampaign(file);
  struct Case {
    bool freeSpace1;
    std::vector<std::string> folder;
    std::vector<std::string> found;  // per entry: the file, "?" for none, with "~" before a case-only match
  } cases[] = {
      {false, {"M01.fs2", "m02.FS2", "M03.fs2"}, {"M01.fs2", "m02.FS2", "M03.fs2", "?"}},
      {false, {"m01.fs2", "M02.fs2", "m03.FS2"}, {"~m01.fs2", "~M02.fs2", "~m03.FS2", "?"}},
      {true, {"M01.fs2", "M03.fs2", "M03.fsm"}, {"M01.fs2", "?", "M03.fsm", "?"}},
      {false, {}, {"?", "?", "?", "?"}},  // a folder that is missing lists nothing
  };
  for (const Case& k : cases) {
    c.freeSpace1 = k.freeSpace1;
    std::vector<std::string> found;
    for (const MissionLocation& l : LocateMissions(c, k.folder)) {
      found.push_back(!l.fileName ? "?" : (l.caseOnly ? "~" : "") + *l.fileName);
    }
    EXPECT_EQ(found, k.found);
  }
}

// A mission's path is the campaign's folder joined with its file name; on
// Windows a backslash ends a folder's name as well.
TEST(CampaignTest, MissionPathsBesideTheCampaign) {
  struct Case {
    std::string campaign, folder, mission;
  } cases[] = {
      {"c.fc2", "", "M01.fs2"},
      {"-", "", "M01.fs2"},
      {"dir/sub/c.fc2", "dir/sub", "dir/sub/M01.fs2"},
      {"/c.fc2", "/", "/M01.fs2"},
#ifdef _WIN32
      {"C:\\camp\\c.fc2", "C:\\camp", "C:\\camp/M01.fs2"},
      {"d\\e/c.fc2", "d\\e", "d\\e/M01.fs2"},
#else
      {"odd\\name.fc2", "", "M01.fs2"},  // a backslash is part of a POSIX file name
#endif
  };
  for (const Case& k : cases) {
    EXPECT_EQ(CampaignFolder(k.campaign), k.folder) << k.campaign;
    EXPECT_EQ(PathInFolder(CampaignFolder(k.campaign), "M01.fs2"), k.mission) << k.campaign;
  }
}

TEST(CampaignTest, IndexComparesWithoutCaseAndExtension) {
  const auto file = Load(Lines({"$Mission: SM1-01.fs2", "$Mission: SM1-02", "$Mission: sm1-01.fs2"}));
  const Campaign c = ReadCampaign(file);
  const CampaignIndex index(c);
  struct Case {
    std::u16string name;
    std::optional<std::size_t> row;
    NameMatch how;
  } cases[] = {
      {u"SM1-01.fs2", 0, NameMatch::kExact},   {u"SM1-01", 0, NameMatch::kExact},
      {u"SM1-01.FS2", 0, NameMatch::kExact},   {u"sm1-01", 0, NameMatch::kIgnoringCase},
      {u"SM1-02.fs2", 1, NameMatch::kExact},   {u"SM1-02.fsm", 1, NameMatch::kExact},
      {u"SM1-03.fs2", std::nullopt, NameMatch::kNone},
  };
  for (const Case& k : cases) {
    NameMatch how = NameMatch::kExact;
    EXPECT_EQ(index.Find(k.name, &how), k.row) << U8(k.name);
    EXPECT_EQ(how, k.how) << U8(k.name);
  }
}

TEST(CampaignTest, ViewsAndGraph) {
  const auto file = Load(kCampaign);
  const Campaign c = ReadCampaign(file);
  const std::vector<CampaignMissionInfo> infos = {{true, u"First"}, {false, u""}};
  const ListData list = CampaignList(c, infos);
  EXPECT_EQ(testing::Captions(list), (std::vector<std::string>{"#", "Mission", "Title", "Level", "Next", "Found"}));
  EXPECT_EQ(Cells(list), (testing::Table{
                             {"1", "M01.fs2", "First", "0", "M02.fs2, M01", "Yes"},
                             {"2", "M02.fs2", "", "1", "M03.fs2", "missing"},
                             {"3", "Loop1.fs2", "", "", "M03.fs2", ""},
                             {"4", "M03.fs2", "", "", "end of campaign", ""},
                         }));
  EXPECT_EQ(testing::Tags(list)[2], "14,3");
  EXPECT_EQ(CampaignRowOfTag(u"14,3"), 3u);
  EXPECT_EQ(CampaignRowOfTag(u"4,3"), 0u);

  const ListData general = CampaignGeneral(c);
  EXPECT_EQ(Cells(general)[0], (std::vector<std::string>{"Campaign Name", "Test Campaign"}));
  EXPECT_EQ(Cells(general)[4], (std::vector<std::string>{"Starting Ships", "GTF Ulysses, GTF Apollo"}));

  // Each branch labelled with its condition, escaped, without the branch's
  // own mission; a mission played again, and a loop's missions, are loops.
  EXPECT_EQ(FlowDot(CampaignGraph(c), "campaign"),
            "digraph campaign {\n"
            "  mission1 [label=\"M01.fs2\"]\n"
            "  mission2 [label=\"M02.fs2\"]\n"
            "  mission3 [label=\"Loop1.fs2\"]\n"
            "  mission4 [label=\"M03.fs2\"]\n"
            "  mission1 -> mission2 [kind=branch, label=\"IsPreviousGoalTrue(\\\"Patrol\\\")\"]\n"
            "  mission1 -> mission1 [kind=loop]\n"
            "  mission2 -> mission4 [kind=branch]\n"
            "  mission2 -> mission3 [kind=loop, label=\"IsPreviousEventTrue(\\\"Found it\\\")\"]\n"
            "  mission3 -> mission4 [kind=branch]\n"
            "  mission4 -> mission4 [kind=loop]\n"
            "}\n");
}

// --- The campaign check ---

// The problems as «LINE: rule: text (mode,row)».
std::vector<std::string> Describe(const std::vector<Problem>& problems) {
  std::vector<std::string> out;
  for (const Problem& p : problems) {
    out.push_back(std::to_string(p.line) + ": " + std::string(InfoOf(p.rule).id) + ": " + U8(ProblemText(p)) + " (" +
                  std::to_string(p.mode) + "," + std::to_string(p.row) + ")");
  }
  return out;
}

// The links of a branch in the code windows: a mission's name goes to its
// row of the Campaign view, a goal or event of an is-previous-* to its row
// in that mission (the link's file is the mission's Campaign row).
TEST(CampaignLinksTest, NamesGoToTheirRows) {
  const auto file = Load(kCampaign);
  const Campaign c = ReadCampaign(file);
  const CampaignIndex index(c);
  const auto m01 = Load(Lines({"#Mission Info", "#Goals", "$Type: Primary", "+Name: Scout", "$Type: Primary",
                               "+Name:  patrol ", "#End"}));
  const auto m02 = Load(Lines({"#Events", "$Formula: ( when )", "+Name: Start", "$Formula: ( when )",
                               "+Name: Found it", "#End"}));
  // M01 and M02 read; the others missing (and M03 not read yet: shorter).
  const std::vector<MissionGoalsAndEvents> names = {MissionGoalsAndEvents::Of(m01), MissionGoalsAndEvents::Of(m02),
                                                    {}};
  // Each link as «text -> mode,row@file».
  const auto shown = [](mission::TextView text, const std::vector<CodeLink>& links) {
    std::vector<std::string> out;
    for (const CodeLink& l : links) {
      out.push_back(U8(text.substr(l.start, l.length)) + " -> " + std::to_string(l.target.mode) + "," +
                    std::to_string(l.target.row) + "@" + std::to_string(l.target.file));
    }
    return out;
  };
  struct Case {
    mission::TextView sexp, parsed;
    std::vector<std::string> sexpLinks, parsedLinks;
  } cases[] = {
      // A goal found ignoring case and blanks; "M01" without its extension.
      {c.missions[0].branch.sexp, c.missions[0].branch.parsed,
       {"M01.fs2 -> 14,1@0", "Patrol -> 2,2@1", "M02.fs2 -> 14,2@0", "M01 -> 14,1@0"},
       {"M01.fs2 -> 14,1@0", "Patrol -> 2,2@1", "M02.fs2 -> 14,2@0", "M01 -> 14,1@0"}},
      // An event of the mission named without its extension.
      {c.missions[1].loopFormula.sexp, c.missions[1].loopFormula.parsed,
       {"M02 -> 14,2@0", "Found it -> 4,2@2", "Loop1.fs2 -> 14,3@0"},
       {"M02 -> 14,2@0", "Found it -> 4,2@2", "Loop1.fs2 -> 14,3@0"}},
      // A goal the mission lacks, a mission not read, a mission of no entry,
      // a goal where an event is asked for, and a word that is no argument.
      {u"( and ( is-previous-goal-true \"M01\" \"Gone\" ) ( is-previous-goal-true \"M03\" \"Patrol\" )\r\n"
       u"( is-previous-event-true \"Nowhere\" \"Patrol\" ) ( is-previous-event-false \"M01\" \"Scout\" )"
       u" ( next-mission M02 ) )",
       u"\"Gone\" \"Nowhere\" \"M03.fs2\"",
       {"M01 -> 14,1@0", "M03 -> 14,4@0", "M01 -> 14,1@0"},
       {}},
  };
  for (const Case& k : cases) {
    const CodeLinks links = FindCampaignLinks(k.sexp, k.parsed, index, names);
    EXPECT_EQ(shown(k.sexp, links.sexp), k.sexpLinks) << U8(k.sexp);
    EXPECT_EQ(shown(k.parsed, links.parsed), k.parsedLinks) << U8(k.parsed);
  }
}

struct Fixture {
  mission::Mission file;
  Campaign campaign;
  std::vector<mission::Mission> missions;
  std::vector<CampaignMissionFile> files;
};

// A campaign whose entries' missions are given as texts: "" for a file that
// is missing, "!" for one that cannot be read.
void Make(Fixture& f, const std::string& campaign, const std::vector<std::string>& texts) {
  f.file = Load(campaign);
  f.campaign = ReadCampaign(f.file);
  f.missions.resize(texts.size());
  f.files.resize(texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (texts[i].empty()) continue;
    f.files[i].location.fileName = "file" + std::to_string(i);
    if (texts[i] == "!") {
      f.files[i].reason = "Permission denied";
      continue;
    }
    f.missions[i] = Load(texts[i]);
    f.files[i].mission = &f.missions[i];
  }
}

TEST(CampaignCheckTest, ProblemKinds) {
  const std::string campaign = Lines({
      "$Name: C",                                                                                   // 1
      "$Mission: A.fs2",                                                                            // 2
      "+Formula: ( cond ( ( is-previous-goal-true \"A.fs2\" \"Nope\" ) ( next-mission \"b\" ) )",   // 3
      "   ( ( is-previous-goal-true \"A\" \"patrol\" ) ( next-mission \"Nowhere.fs2\" ) ) )",       // 4
      "$Mission: B.fs2",                                                                            // 5
      "+Formula: ( cond ( ( true ) ( next-mission \"A.fs2\" ) ) )",                                 // 6
      "$Mission: Gone.fs2",                                                                         // 7
      "$Mission: Locked.fs2",                                                                       // 8
      "$Mission: A.fs2",                                                                            // 9
      "+Formula: ( cond ( ( true ) ( next-mission \"A.fs2\" )",                                     // 10
      "#End",                                                                                       // 11
  });
  const std::string a = Lines({
      "#Goals", "$Type: Primary", "+Name: Patrol",  // 1-3
      "#Sexp_variables", "$Variables:", "(",       // 4-6
      "0 \"Score\" \"0\" \"number\" \"campaign-persistent\"", ")",  // 7-8
  });
  const std::string b = Lines({
      "#Events", "$Formula: ( when", "( is-previous-event-true \"A.fs2\" \"Gone by\" )",  // 1-3
      "( is-previous-goal-false \"Elsewhere\" \"X\" ) )", "+Name: E",                   // 4-5
      "#Sexp_variables", "$Variables:", "(",                                          // 6-8
      "0 \"score\" \"10\" \"number\" \"save-on-mission-progress\"", ")",              // 9-10
      "#Goals", "$Type: Primary", "+Name: G", "$Formula: ( is-event-true \"Nope\" )",   // 11-14
  });
  Fixture f;
  Make(f, campaign, {a, b, "", "!", ""});
  const CampaignCheck check = CheckCampaign(f.campaign, f.files);
  EXPECT_THAT(Describe(check.campaign),
              ElementsAre("3: unknown-name: is-previous-goal-true: no goal named \"Nope\" in \"A.fs2\" (14,1)",
                          "3: case-only-name: next-mission: \"b\" matches the mission \"B.fs2\" only when case is "
                          "ignored (14,1)",
                          "4: case-only-name: is-previous-goal-true: \"patrol\" matches the goal \"Patrol\" only "
                          "when case is ignored (14,1)",
                          "4: unknown-name: next-mission: no mission named \"Nowhere.fs2\" in the campaign (14,1)",
                          "7: missing-mission: mission file \"Gone.fs2\" not found in the campaign's folder (14,3)",
                          "7: unreached-mission: no branch of the campaign leads to this mission (14,3)",
                          "8: missing-mission: mission file \"Locked.fs2\" cannot be read: Permission denied (14,4)",
                          "8: unreached-mission: no branch of the campaign leads to this mission (14,4)",
                          "9: duplicate-name: duplicate mission name \"A.fs2\", first on line 2 (14,5)",
                          "10: brackets: +Formula: brackets do not close, 2 \"(\" left open (14,5)"));
  EXPECT_THAT(Describe(check.missions[0]), ElementsAre());
  // The mission's own problems and the campaign's that lie in it, by line;
  // the campaign's have no row in the mission.
  EXPECT_THAT(Describe(check.missions[1]),
              ElementsAre("3: unknown-name: is-previous-event-true: no event named \"Gone by\" in \"A.fs2\" (0,0)",
                          "4: unknown-name: is-previous-goal-false: no mission named \"Elsewhere\" in the campaign "
                          "(0,0)",
                          "9: persistent-variable: variable \"score\" is kept across the campaign but declared "
                          "number \"10\" here, number \"0\" in \"A.fs2\" (0,0)",
                          "14: unknown-name: is-event-true: no event named \"Nope\" (2,1)"));

  // --ignore applies to the campaign's problems too.
  CheckSettings settings;
  Add(settings.ignored, Rule::kUnreachedMission);
  Add(settings.ignored, Rule::kPersistentVariable);
  const CampaignCheck fewer = CheckCampaign(f.campaign, f.files, settings);
  EXPECT_EQ(fewer.campaign.size(), check.campaign.size() - 2);
  EXPECT_EQ(fewer.missions[1].size(), 3u);
}

// Names as real campaigns write them: without ".fs2", in another case for
// the extension, loops and forks reaching their missions.
TEST(CampaignCheckTest, SoundCampaignHasNoProblems) {
  const std::string patrol = Lines({"#Goals", "$Type: Primary", "+Name: Patrol", "#Events", "+Name: Found it"});
  Fixture f;
  Make(f, kCampaign, {patrol, patrol, patrol, patrol});
  const CampaignCheck check = CheckCampaign(f.campaign, f.files);
  EXPECT_THAT(Describe(check.campaign), ElementsAre());
  for (const auto& problems : check.missions) EXPECT_THAT(Describe(problems), ElementsAre());
}

}  // namespace
}  // namespace campaign_test
}  // namespace views
