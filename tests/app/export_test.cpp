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
  EXPECT_EQ(root["children"][0]["children"][0]["text"], "Author: TORVEK32 sample");
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
  ASSERT_EQ(doc["views"].size(), 8u);
  for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(doc["views"][i], expected["views"][i]) << "view " << i + 1;
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

TEST(ExportTest, MissionWithoutHeadersGivesEightViewsAndAnEmptyGeneral) {
  const json doc = json::parse(ExportOf(ExportFormat::kJson, "$Name: x\r\n"));
  ASSERT_EQ(doc["views"].size(), 8u);
  EXPECT_EQ(doc["views"][0], json::parse(R"({"mode":1,"title":"General","columns":[],"rows":[]})"));
  EXPECT_EQ(doc["views"][2]["title"], "Directives");
  EXPECT_EQ(doc["views"][5]["columns"].size(), 5u);
  EXPECT_EQ(doc["formulas"], json::array());
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
