#include "app/export.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

namespace app {
namespace {

using nlohmann::json;

const std::string kSample = std::string(TORVEK_SOURCE_DIR) + "/samples/sample.fs2";

TEST(ExportTest, JsonHasSectionsAndTree) {
  std::ostringstream out, err;
  ASSERT_EQ(RunExport(ExportFormat::kJson, kSample, out, err), 0);
  EXPECT_EQ(err.str(), "");
  const json doc = json::parse(out.str());
  EXPECT_EQ(doc["file"], kSample);
  ASSERT_EQ(doc["sections"].size(), 9u);
  // Slot 8 is the mission info: comment cut, tabs removed, nothing else.
  EXPECT_EQ(doc["sections"][7][2], "$Name: XSTR(\"Ashfall Relay\", -1)");
  EXPECT_EQ(doc["sections"][7][7], "A short mission written for the viewer's own tests. ");
  EXPECT_EQ(doc["sections"][2][7], "1.000000, 0.000000, 0.000000,");
  const json& root = doc["tree"][0];
  EXPECT_EQ(root["text"], "Mission Info");
  EXPECT_EQ(root["tag"], "1");
  EXPECT_EQ(root["children"][0]["text"], "Name: XSTR(\"Ashfall Relay\", -1)");
  EXPECT_EQ(root["children"][0]["tag"], "1,1");
  // The version stands before the name in the file and hangs under it.
  EXPECT_EQ(root["children"][0]["children"][0]["text"], "Version: 0.10");
  EXPECT_EQ(root["children"][0]["children"][1]["text"], "Author: TORVEK32 sample");
}

// The whole document of the sample mission against a checked-in copy that was
// checked by hand, view by view and formula by formula. Compared part by part
// so that a failure names the part.
TEST(ExportTest, SampleMissionMatchesTheReviewedDocument) {
  std::ostringstream out, err;
  ASSERT_EQ(RunExport(ExportFormat::kJson, kSample, out, err), 0);
  json doc = json::parse(out.str());
  std::ifstream in(std::string(TORVEK_SOURCE_DIR) + "/tests/app/sample.expected.json");
  const json expected = json::parse(in);
  EXPECT_EQ(doc["file"], kSample);
  doc["file"] = expected["file"];
  ASSERT_EQ(doc.size(), expected.size());
  EXPECT_EQ(doc["sections"], expected["sections"]);
  EXPECT_EQ(doc["tree"], expected["tree"]);
  ASSERT_EQ(doc["views"].size(), 13u);
  for (std::size_t i = 0; i < 13; ++i) EXPECT_EQ(doc["views"][i], expected["views"][i]) << "view " << i + 1;
  ASSERT_EQ(doc["formulas"].size(), expected["formulas"].size());
  for (std::size_t i = 0; i < expected["formulas"].size(); ++i)
    EXPECT_EQ(doc["formulas"][i], expected["formulas"][i]) << expected["formulas"][i]["tag"];
}

// A fixture file of this test process: test runs of other checkouts share
// the temporary folder, and one run's removal must not hit another's file.
std::string FixturePath(const std::string& name) {
  return testing::TempDir() + name + "-" + std::to_string(::getpid()) + ".fs2";
}

TEST(ExportTest, JsonEscapesControlCharacters) {
  const std::string path = FixturePath("torvek_export_escape");
  std::ofstream(path, std::ios::binary) << std::string("#Events\n\"q\"\\\x01\0\n", 14);
  std::ostringstream out, err;
  ASSERT_EQ(RunExport(ExportFormat::kJson, path, out, err), 0);
  EXPECT_EQ(json::parse(out.str())["sections"][3][0], std::string("\"q\"\\\x01\0", 6));
  std::remove(path.c_str());
}

std::string ExportOf(ExportFormat format, const std::string& bytes) {
  const std::string path = FixturePath("torvek_export_fixture");
  std::ofstream(path, std::ios::binary) << bytes;
  std::ostringstream out, err;
  EXPECT_EQ(RunExport(format, path, out, err), 0);
  std::remove(path.c_str());
  return out.str();
}

TEST(ExportTest, MissionWithoutHeadersGivesEveryViewAndAnEmptyGeneral) {
  const json doc = json::parse(ExportOf(ExportFormat::kJson, "$Name: x\r\n"));
  ASSERT_EQ(doc["views"].size(), 13u);
  EXPECT_EQ(doc["views"][0], json::parse(R"({"mode":1,"title":"General","columns":[],"rows":[]})"));
  EXPECT_EQ(doc["views"][2]["title"], "Directives");
  EXPECT_EQ(doc["views"][5]["columns"].size(), 5u);
  // The views after the eight have their columns; only the Summary has rows (all 0).
  for (std::size_t i = 8; i < 12; ++i) {
    EXPECT_FALSE(doc["views"][i]["columns"].empty()) << i;
    EXPECT_TRUE(doc["views"][i]["rows"].empty()) << i;
  }
  EXPECT_EQ(doc["views"][12]["rows"][0]["cells"], json::parse(R"(["Ships", "0"])"));
  EXPECT_EQ(doc["formulas"], json::array());
}

// The event flow graph in DOT: nodes by the rows of Events and Goals, edges
// of each kind in the order they are first met, a chain's delay as label.
TEST(ExportTest, DotListsTheEventFlowGraph) {
  const std::string mission =
      "#Events\r\n"
      "$Formula: ( when ( is-goal-true-delay \"Win\" 0 ) ( reset-event \"Go\" ) )\r\n"
      "+Name: Start\r\n"
      "$Formula: ( is-event-true-delay \"START\" 0 )\r\n"
      "+Name: Go\r\n+Chained: 4\r\n"
      "+Name: Say \"hi\" \\ there\r\n"
      "#Goals\r\n$Type: Primary\r\n+Name: Win\r\n$Formula: ( is-event-true-delay \"Nobody\" 0 )\r\n";
  EXPECT_EQ(ExportOf(ExportFormat::kDot, mission),
            "digraph mission {\n"
            "  event1 [label=\"Start\"]\n"
            "  event2 [label=\"Go\"]\n"
            "  event3 [label=\"Say \\\"hi\\\" \\\\ there\"]\n"
            "  goal1 [label=\"Win\"]\n"
            "  goal1 -> event1 [kind=trigger]\n"
            "  event1 -> event2 [kind=action]\n"
            "  event1 -> event2 [kind=trigger]\n"
            "  event1 -> event2 [kind=chain, label=\"4\"]\n"
            "}\n");
  EXPECT_EQ(ExportOf(ExportFormat::kDot, "#Mission Info\r\n$Name: Nothing\r\n"), "digraph mission {\n}\n");
}

// The SVG draws the same graph, laid out by Graphviz.
TEST(ExportTest, SvgDrawsTheEventFlowGraph) {
  const std::string svg = ExportOf(ExportFormat::kSvg,
                                   "#Events\r\n$Formula: ( true )\r\n+Name: Start\r\n"
                                   "$Formula: ( is-event-true-delay \"Start\" 0 )\r\n+Name: Next\r\n");
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u) << svg;
  EXPECT_NE(svg.find("<title>Start</title>"), std::string::npos);
  EXPECT_NE(svg.find("<title>Next</title>"), std::string::npos);
  EXPECT_NE(svg.find("<path d=\"M"), std::string::npos) << "the edge";
}

// With the FreeSpace Open operators only the Parsed code differs, and only
// for formulas the original cannot translate.
TEST(ExportTest, FreeSpaceOpenOperatorsChangeOnlyThePseudoCodeTheyTranslate) {
  const std::string mission =
      "#Events\r\n"
      "$Formula: ( when ( true ) ( send-message \"#Cmd\" \"High\" \"Hi\" ) )\r\n+Name: Plain\r\n"
      "$Formula: ( when\r\n   ( = @Count[0] 3 )\r\n   ( modify-variable @Count[0] ( + @Count[0] 1 ) ) )\r\n"
      "+Name: Counter\r\n";
  const std::string path = testing::TempDir() + "torvek_export_modern.fs2";
  std::ofstream(path, std::ios::binary) << mission;
  std::ostringstream original, modern, err;
  ASSERT_EQ(RunExport(ExportFormat::kJson, path, original, err), 0);
  ASSERT_EQ(RunExport(ExportFormat::kJson, path, modern, err, sexp::OperatorSet::kFreeSpaceOpen), 0);
  std::remove(path.c_str());
  json before = json::parse(original.str());
  json after = json::parse(modern.str());
  ASSERT_EQ(after["formulas"].size(), 2u);
  EXPECT_EQ(after["formulas"][0], before["formulas"][0]);
  EXPECT_EQ(before["formulas"][1]["parsed"][1], " #UnknownCommand =");
  EXPECT_EQ(after["formulas"][1]["parsed"],
            json({"If", " Variable(\"Count\") = 3", "Then", " MissionStatus.Event(\"Counter\")=True",
                  " Variable(\"Count\") = Variable(\"Count\") + 1"}));
  before["formulas"][1]["parsed"] = after["formulas"][1]["parsed"];
  EXPECT_EQ(after, before);
}

// One small mission per mend of the described rules, seen where the export
// shows it.
TEST(ExportTest, MendsShowInTheDocument) {
  std::string hundred_and_one = "#Events\r\n";
  for (int i = 0; i <= 100; ++i) hundred_and_one += "+Name: E\r\n";
  struct Case {
    std::string mend, mission, pointer;
    json want;
  };
  const Case cases[] = {
      {"M1 event numbers", hundred_and_one, "/views/3/rows/100/cells/0", "100"},
      {"M2 objective key", "#Events\r\n+Name: E\r\n+Objective: Go\r\n+Objective key: F12\r\n", "/views/2/rows",
       json::parse(R"j([{"cells":["Go","E"],"tag":""}])j")},
      {"M2 objective key", "#Events\r\n+Name: E\r\n+Objective: Go\r\n+Objective key: F12\r\n",
       "/views/3/rows/0/cells/5", "Go"},
      {"M3 translated goal message", "#Goals\r\n$Type: Primary\r\n$MessageNew: XSTR(\"Destroy the convoy\", 88)\r\n"
                                     "$Formula: ( true )\r\n",
       "/views/1/rows/0/cells/1", "Destroy the convoy"},
      {"M3 the goal formula's name", "#Goals\r\n$Type: Primary\r\n$MessageNew: XSTR(\"Destroy the convoy\", 88)\r\n"
                                     "$Formula: ( true )\r\n",
       "/formulas/0/name", "Destroy the convoy"},
      {"M3 translated message", "#Messages\r\n$Name: M\r\n$MessageNew:  XSTR(\"Thanks.\", 1200)  \r\n",
       "/views/4/rows/0/cells/1", "Thanks."},
      {"M4 leading fields", "#Events\r\n$Formula: ( true )\r\n+Name: E\r\n", "/tree/0/children/0/children",
       json::parse(R"j([{"text":"Formula: ( true )","tag":"4,1","children":[]}])j")},
      {"M5 open formula", "#Events\r\n$Formula: ( when\r\n+Name: A\r\n$Formula: ( true )\r\n+Name: B\r\n",
       "/formulas",
       json::parse(R"j([{"mode":4,"row":1,"tag":"4,1","name":"A","sexp":["( when","+Name: A"],
                        "parsed":["<Error in formular: missing ')' brackets>"]},
                       {"mode":4,"row":2,"tag":"4,3","name":"B","sexp":["( true )"],"parsed":[" True"]}])j")},
      {"M7 names without formulas", "#Events\r\n$Formula: ( true )\r\n+Name: A\r\n+Name: B\r\n", "/formulas/1",
       json::parse(R"j({"mode":4,"row":2,"tag":"4,0","name":"B","sexp":[],"parsed":[]})j")},
  };
  for (const Case& c : cases) {
    const json doc = json::parse(ExportOf(ExportFormat::kJson, c.mission));
    EXPECT_EQ(doc.at(json::json_pointer(c.pointer)), c.want) << c.mend;
  }
}

// M6: a mission saved as UTF-16 with its byte-order mark exports exactly as
// the same mission in UTF-8.
TEST(ExportTest, Utf16MissionExportsAsItsUtf8Twin) {
  const std::u16string text = u"#Mission Info\r\n$Name: Caf\u00E9\r\n#Events\r\n$Formula: ( true )\r\n+Name: E\r\n";
  for (const bool big_endian : {false, true}) {
    std::string utf16 = big_endian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t c : text) {
      const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
      utf16 += big_endian ? high : low;
      utf16 += big_endian ? low : high;
    }
    json twin = json::parse(ExportOf(ExportFormat::kJson, mission::ToUtf8(text)));
    const json doc = json::parse(ExportOf(ExportFormat::kJson, utf16));
    EXPECT_EQ(doc, twin) << big_endian;
    EXPECT_EQ(doc["views"][0]["rows"][0]["cells"][1], "Caf\u00e9");
  }
}

TEST(ExportTest, SplitAtLineBreaks) {
  struct Case {
    std::u16string text;
    std::vector<std::u16string> lines;
  };
  const Case cases[] = {
      {u"", {}},
      {u"a", {u"a"}},
      {u"a\r\nb", {u"a", u"b"}},
      {u"a\r\n", {u"a", u""}},
      {u"\r\n\r\n", {u"", u"", u""}},
      {u"a\rb\nc", {u"a\rb\nc"}},  // only the pair breaks a line
  };
  for (const Case& c : cases) {
    std::vector<std::u16string> got;
    for (const auto line : SplitAtLineBreaks(c.text)) got.emplace_back(line);
    EXPECT_EQ(got, c.lines) << mission::ToUtf8(c.text);
  }
}

TEST(ExportTest, TextTablesAlignCutWideCellsAndDefuseControlCharacters) {
  const std::string text = ExportOf(ExportFormat::kText,
                                    "#Messages\r\n"
                                    "$Name: Intro\r\n"
                                    "$MessageNew:  XSTR(\"Alpha, the relay tender is on its way. Stay close.\", -1)\r\n"
                                    "+Wave Name: a.wav\r\n"
                                    "$Name: \x1b[31mEvil\r\n");
  EXPECT_NE(text.find("== 5 Messages ==\n"
                      "Name       Text                                      AVI  WAV\n"
                      "---------  ----------------------------------------  ---  -----\n"
                      "Intro      Alpha, the relay tender is on its way. \u2026       a.wav\n"
                      "?[31mEvil\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find('\x1b'), std::string::npos);
}

// Two copies of one mission give the same text wherever they lie, as git's
// diff filter needs: it hands over a temporary copy for one side.
TEST(ExportTest, TextOfTwoCopiesIsTheSame) {
  namespace fs = std::filesystem;
  const fs::path root = fs::path(testing::TempDir()) / "torvek_export_copies";
  fs::create_directories(root / "git-blob-Eem6Ff");
  fs::copy_file(kSample, root / "m.fs2", fs::copy_options::overwrite_existing);
  fs::copy_file(kSample, root / "git-blob-Eem6Ff" / "m.fs2", fs::copy_options::overwrite_existing);
  std::ostringstream here, there, err;
  ASSERT_EQ(RunExport(ExportFormat::kText, (root / "m.fs2").string(), here, err), 0);
  ASSERT_EQ(RunExport(ExportFormat::kText, (root / "git-blob-Eem6Ff" / "m.fs2").string(), there, err), 0);
  EXPECT_TRUE(here.str().starts_with("Mission: m.fs2\n\n")) << here.str().substr(0, 80);
  EXPECT_EQ(here.str(), there.str());
  fs::remove_all(root);
}

TEST(ExportTest, UnreadableFileIsOneLineAndExitOne) {
  std::ostringstream out, err;
  EXPECT_EQ(RunExport(ExportFormat::kJson, "/nonexistent/m.fs2", out, err), 1);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(), "torvk32: cannot open /nonexistent/m.fs2: No such file or directory\n");
  std::ostringstream text;
  EXPECT_EQ(RunExport(ExportFormat::kText, "/nonexistent/m.fs2", text, err), 1);
  EXPECT_EQ(text.str(), "");
}

}  // namespace
}  // namespace app
