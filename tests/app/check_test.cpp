// The headless check: its arguments, its two output forms, the summary line
// and the exit code over several files.
#include "app/check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

namespace app {
namespace {

using ::testing::ElementsAre;
using nlohmann::json;
namespace fs = std::filesystem;

// Small missions in a fresh folder, removed when the test ends.
class CheckRunTest : public ::testing::Test {
 protected:
  CheckRunTest() {
    std::string pattern = (fs::temp_directory_path() / "check-test-XXXXXX").string();
    dir_ = ::mkdtemp(pattern.data());
  }
  ~CheckRunTest() override { fs::remove_all(dir_); }

  std::string Write(const std::string& name, const std::string& text) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }

  int Run(CheckFormat format, std::vector<std::string> files) {
    CheckOptions options;
    options.format = format;
    options.files = std::move(files);
    return Run(options);
  }

  int Run(const CheckOptions& options, const std::string& input = "") {
    out_.str("");
    err_.str("");
    std::istringstream in(input);
    return RunCheck(options, in, out_, err_);
  }

  fs::path dir_;
  std::ostringstream out_, err_;
};

const std::string kClean = "#Events\r\n$Formula: ( true )\r\n+Name: E\r\n";
const std::string kWarning = "#Events\r\n$Formula: ( is-event-true \"e\" )\r\n+Name: E\r\n";
const std::string kErrors =
    "#Events\r\n"
    "$Formula: ( when\r\n"
    "   ( is-event-true \"Nonexistent Event\" )\r\n"
    "   ( bogus ) )\r\n"
    "+Name: E\r\n"
    "$Formula: ( true ) )\r\n"
    "+Name: F\r\n";

TEST_F(CheckRunTest, TextLinesInFileOrderAndSummary) {
  const std::string errors = Write("errors.fs2", kErrors);
  const std::string warning = Write("warning.fs2", kWarning);
  EXPECT_EQ(Run(CheckFormat::kText, {errors, warning}), 1);
  EXPECT_EQ(out_.str(), errors + ":3: error: is-event-true: no event named \"Nonexistent Event\"\n" +  //
                            errors + ":4: warning: bogus: unknown operator\n" +                          //
                            errors + ":6: error: $Formula: brackets close too often, a \")\" closes nothing\n" +
                            warning + ":2: warning: is-event-true: \"e\" matches the event \"E\" only when case is ignored\n");
  EXPECT_EQ(err_.str(), "2 errors, 2 warnings in 2 missions\n");
}

TEST_F(CheckRunTest, WarningsAloneDoNotFail) {
  EXPECT_EQ(Run(CheckFormat::kText, {Write("w.fs2", kWarning)}), 0);
  EXPECT_EQ(err_.str(), "0 errors, 1 warning in 1 mission\n");
  EXPECT_EQ(Run(CheckFormat::kText, {Write("c.fs2", kClean)}), 0);
  EXPECT_EQ(out_.str(), "");
  EXPECT_EQ(err_.str(), "0 errors, 0 warnings in 1 mission\n");
}

TEST_F(CheckRunTest, UnreadableFileIsReportedAndCheckingGoesOn) {
  const std::string missing = (dir_ / "missing.fs2").string();
  const std::string warning = Write("w.fs2", kWarning);
  EXPECT_EQ(Run(CheckFormat::kText, {missing, warning}), 1);
  EXPECT_EQ(out_.str(), warning + ":2: warning: is-event-true: \"e\" matches the event \"E\" only when case is ignored\n");
  EXPECT_EQ(err_.str(), "torvk32: cannot open " + missing + ": No such file or directory\n" +
                            "0 errors, 1 warning in 1 mission\n");
}

TEST_F(CheckRunTest, JsonListOfEveryFile) {
  const std::string errors = Write("errors.fs2", kErrors);
  const std::string clean = Write("clean.fs2", kClean);
  const std::string warning = Write("warning.fs2", kWarning);
  EXPECT_EQ(Run(CheckFormat::kJson, {errors, clean, warning}), 1);
  const json list = json::parse(out_.str());
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0], (json{{"file", errors},
                           {"line", 3},
                           {"severity", "error"},
                           {"rule", "unknown-name"},
                           {"operator", "is-event-true"},
                           {"text", "is-event-true: no event named \"Nonexistent Event\""}}));
  EXPECT_EQ(list[1]["severity"], "warning");
  EXPECT_EQ(list[1]["rule"], "unknown-operator");
  EXPECT_EQ(list[2]["operator"], "");
  EXPECT_EQ(list[2]["rule"], "brackets");
  EXPECT_EQ(list[3]["file"], warning);
  EXPECT_EQ(err_.str(), "2 errors, 2 warnings in 3 missions\n");
  EXPECT_EQ(Run(CheckFormat::kJson, {clean}), 0);
  EXPECT_EQ(out_.str(), "[]\n");
}

// A damaged name cannot break the one-problem-a-line form.
TEST_F(CheckRunTest, ControlCharactersShowAsQuestionMarks) {
  const std::string file = Write("c.fs2", "#Events\r\n$Formula: ( is-event-true \"a\x1b[31m\" )\r\n");
  EXPECT_EQ(Run(CheckFormat::kText, {file}), 1);
  EXPECT_EQ(out_.str(), file + ":2: error: is-event-true: no event named \"a?[31m\"\n");
}

// The list of --files-from, from a file or standard input: one mission a
// line, CR LF or LF, empty lines left out, after the missions given.
TEST_F(CheckRunTest, FilesFromAList) {
  const std::string errors = Write("errors.fs2", kErrors);
  const std::string warning = Write("with blank.fs2", kWarning);
  const std::string clean = Write("clean.fs2", kClean);
  const std::string list = Write("list.txt", "\r\n" + warning + "\r\n\r\n" + errors + "\n");
  CheckOptions options;
  options.files = {clean};
  options.files_from = list;
  EXPECT_EQ(Run(options), 1);
  EXPECT_EQ(out_.str(), warning + ":2: warning: is-event-true: \"e\" matches the event \"E\" only when case is ignored\n" +
                            errors + ":3: error: is-event-true: no event named \"Nonexistent Event\"\n" +
                            errors + ":4: warning: bogus: unknown operator\n" +
                            errors + ":6: error: $Formula: brackets close too often, a \")\" closes nothing\n");
  EXPECT_EQ(err_.str(), "2 errors, 2 warnings in 3 missions\n");

  options.files = {};
  options.files_from = "-";
  EXPECT_EQ(Run(options, warning + "\n" + clean + "\n"), 0);
  EXPECT_EQ(err_.str(), "0 errors, 1 warning in 2 missions\n");
  EXPECT_EQ(Run(options, ""), 0);  // an empty list checks nothing and finds nothing
  EXPECT_EQ(err_.str(), "0 errors, 0 warnings in 0 missions\n");

  // A list that cannot be read stops the check before it begins.
  for (const std::string& bad : {(dir_ / "none.txt").string(), dir_.string()}) {
    options.files_from = bad;
    EXPECT_EQ(Run(options), 2) << bad;
    EXPECT_EQ(out_.str(), "");
    EXPECT_THAT(err_.str(), ::testing::StartsWith("torvk32: cannot read the list " + bad + ": ")) << err_.str();
  }
}

TEST_F(CheckRunTest, ErrorsOnlyAndIgnoredRules) {
  const std::string errors = Write("errors.fs2", kErrors);
  const std::string warning = Write("warning.fs2", kWarning);
  CheckOptions options;
  options.files = {errors, warning};
  options.errors_only = true;
  EXPECT_EQ(Run(options), 1);
  EXPECT_EQ(out_.str(), errors + ":3: error: is-event-true: no event named \"Nonexistent Event\"\n" +
                            errors + ":6: error: $Formula: brackets close too often, a \")\" closes nothing\n");
  EXPECT_EQ(err_.str(), "2 errors in 2 missions\n");

  options.errors_only = false;
  views::Add(options.settings.ignored, views::Rule::kUnknownName);
  views::Add(options.settings.ignored, views::Rule::kBrackets);
  EXPECT_EQ(Run(options), 0);  // the errors ignored, only warnings are left
  EXPECT_EQ(err_.str(), "0 errors, 2 warnings in 2 missions\n");
}

// The SARIF log read back: the shape the published SARIF 2.1.0 schema
// requires (its required properties, and no property the schema does not
// define for the object), and the same problems as the plain output.
class SarifTest : public CheckRunTest {
 protected:
  // The properties this log uses of each object, as the schema defines them,
  // and those it requires.
  struct Shape {
    std::vector<std::string> allowed;
    std::vector<std::string> required;
  };

  static void Expect(const json& object, const Shape& shape, const std::string& where) {
    ASSERT_TRUE(object.is_object()) << where;
    for (const std::string& key : shape.required) EXPECT_TRUE(object.contains(key)) << where << " lacks " << key;
    for (const auto& [key, value] : object.items()) {
      EXPECT_NE(std::find(shape.allowed.begin(), shape.allowed.end(), key), shape.allowed.end())
          << where << " has " << key;
    }
  }

  static void ExpectMessage(const json& message, const std::string& where) {
    Expect(message, {{"text"}, {"text"}}, where);
    EXPECT_TRUE(message["text"].is_string()) << where;
  }

  static void ExpectLocation(const json& location, const std::string& where) {
    Expect(location, {{"physicalLocation"}, {"physicalLocation"}}, where);
    const json& physical = location["physicalLocation"];
    Expect(physical, {{"artifactLocation", "region"}, {"artifactLocation"}}, where + ".physicalLocation");
    Expect(physical["artifactLocation"], {{"uri"}, {"uri"}}, where + ".artifactLocation");
    if (physical.contains("region")) {
      Expect(physical["region"], {{"startLine"}, {"startLine"}}, where + ".region");
      EXPECT_GE(physical["region"]["startLine"].get<int>(), 1) << where;
    }
  }

  // The log's shape; returns its run.
  static json ExpectLog(const json& log) {
    Expect(log, {{"$schema", "version", "runs"}, {"version", "runs"}}, "log");
    EXPECT_EQ(log["version"], "2.1.0");
    EXPECT_EQ(log["runs"].size(), 1u);
    const json& run = log["runs"][0];
    Expect(run, {{"tool", "results", "invocations"}, {"tool"}}, "run");
    Expect(run["tool"], {{"driver"}, {"driver"}}, "tool");
    const json& driver = run["tool"]["driver"];
    Expect(driver, {{"name", "version", "rules"}, {"name"}}, "driver");
    EXPECT_EQ(driver["name"], "TORVEK32");
    EXPECT_EQ(driver["version"], "9.8 test");
    EXPECT_EQ(driver["rules"].size(), views::AllRules().size());
    for (const json& rule : driver["rules"]) {
      Expect(rule, {{"id", "shortDescription", "defaultConfiguration"}, {"id"}}, "rule");
      ExpectMessage(rule["shortDescription"], "rule.shortDescription");
      Expect(rule["defaultConfiguration"], {{"level"}, {}}, "rule.defaultConfiguration");
    }
    for (const json& result : run["results"]) {
      Expect(result, {{"ruleId", "ruleIndex", "level", "message", "locations"}, {"message"}}, "result");
      ExpectMessage(result["message"], "result.message");
      EXPECT_EQ(driver["rules"][result["ruleIndex"].get<std::size_t>()]["id"], result["ruleId"]);
      EXPECT_TRUE(result["level"] == "error" || result["level"] == "warning");
      EXPECT_EQ(result["locations"].size(), 1u);
      for (const json& location : result["locations"]) ExpectLocation(location, "result.locations");
    }
    EXPECT_EQ(run["invocations"].size(), 1u);
    for (const json& invocation : run["invocations"]) {
      Expect(invocation, {{"executionSuccessful", "toolExecutionNotifications"}, {"executionSuccessful"}},
             "invocation");
      for (const json& note : invocation["toolExecutionNotifications"]) {
        Expect(note, {{"level", "message", "locations"}, {"message"}}, "notification");
        ExpectMessage(note["message"], "notification.message");
        for (const json& location : note["locations"]) ExpectLocation(location, "notification.locations");
      }
    }
    return run;
  }
};

TEST_F(SarifTest, LogReadBackMatchesThePlainOutput) {
  // Relative names, as a CI run gives them from the repository's root.
  const fs::path before = fs::current_path();
  fs::current_path(dir_);
  Write("02 Rescue Force.fs2", kErrors);
  fs::create_directory(dir_ / "sub");
  Write("sub/w\xc3\xa4rning.fs2", kWarning);
  Write("clean.fs2", kClean);
  CheckOptions options;
  options.files = {"02 Rescue Force.fs2", "./sub/w\xc3\xa4rning.fs2", "clean.fs2"};
  options.version = "9.8 test";
  EXPECT_EQ(Run(options), 1);
  const std::string plain = out_.str();
  options.format = CheckFormat::kSarif;
  EXPECT_EQ(Run(options), 1);
  const std::string sarif = out_.str();
  fs::current_path(before);

  const json run = ExpectLog(json::parse(sarif));
  // Each result as the plain line it stands for, its file by its URI.
  const std::map<std::string, std::string> files = {{"02%20Rescue%20Force.fs2", "02 Rescue Force.fs2"},
                                                    {"sub/w%C3%A4rning.fs2", "./sub/w\xc3\xa4rning.fs2"}};
  std::string lines;
  for (const json& result : run["results"]) {
    const json& physical = result["locations"][0]["physicalLocation"];
    const std::string uri = physical["artifactLocation"]["uri"];
    ASSERT_TRUE(files.contains(uri)) << uri;
    lines += files.at(uri) + ":" + std::to_string(physical["region"]["startLine"].get<int>()) + ": " +
             result["level"].get<std::string>() + ": " + result["message"]["text"].get<std::string>() + "\n";
  }
  EXPECT_EQ(lines, plain);
  EXPECT_EQ(run["results"][1]["ruleId"], "unknown-operator");
  EXPECT_EQ(run["invocations"][0]["executionSuccessful"], true);
}

// A mission that cannot be read is a notification of the run, which did
// not complete; an empty check is still a whole log.
TEST_F(SarifTest, UnreadableMissionsAndEmptyRuns) {
  const std::string missing = (dir_ / "missing.fs2").string();
  CheckOptions options;
  options.format = CheckFormat::kSarif;
  options.version = "9.8 test";
  options.files = {missing, Write("w.fs2", kWarning)};
  EXPECT_EQ(Run(options), 1);
  json run = ExpectLog(json::parse(out_.str()));
  EXPECT_EQ(run["results"].size(), 1u);
  const json& invocation = run["invocations"][0];
  EXPECT_EQ(invocation["executionSuccessful"], false);
  ASSERT_EQ(invocation["toolExecutionNotifications"].size(), 1u);
  EXPECT_EQ(invocation["toolExecutionNotifications"][0]["message"]["text"],
            "cannot open " + missing + ": No such file or directory");

  options.files = {Write("c.fs2", kClean)};
  EXPECT_EQ(Run(options), 0);
  run = ExpectLog(json::parse(out_.str()));
  EXPECT_TRUE(run["results"].empty());
  EXPECT_EQ(run["invocations"][0]["executionSuccessful"], true);
}

TEST(CheckUriTest, RelativeToTheWorkingDirectoryAndEncoded) {
  const fs::path cwd = "/work/repo";
  const std::pair<std::string, std::string> cases[] = {
      {"02 Rescue Force.fs2", "02%20Rescue%20Force.fs2"},
      {"./data/missions/m01.fs2", "data/missions/m01.fs2"},
      {"data//missions/../m01.fs2", "data/m01.fs2"},
      {"/work/repo/data/m01.fs2", "data/m01.fs2"},
      {"/work/other/m01.fs2", "file:///work/other/m01.fs2"},
      {"../m01.fs2", "../m01.fs2"},
      {"caf\xc3\xa9 #1%?.fs2", "caf%C3%A9%20%231%25%3F.fs2"},
      {"a~b_c-d.e.fs2", "a~b_c-d.e.fs2"},
  };
  for (const auto& [file, uri] : cases) EXPECT_EQ(FileUri(file, cwd), uri) << file;
  EXPECT_EQ(FileUri("/m.fs2", fs::path()), "file:///m.fs2");  // no working directory known
}

TEST(CheckArgumentsTest, OptionsInAnyOrderBeforeTheMissions) {
  struct Case {
    std::vector<const char*> args;
    bool ok;
    CheckFormat format = CheckFormat::kText;
    std::vector<std::string> files = {};
    std::vector<views::Rule> ignored = {};
    bool errors_only = false, unused = false;
    std::optional<std::string> files_from = std::nullopt;
  };
  using views::Rule;
  const Case cases[] = {
      {{"--check", "a.fs2"}, true, CheckFormat::kText, {"a.fs2"}},
      {{"--check", "a.fs2", "b.fsm"}, true, CheckFormat::kText, {"a.fs2", "b.fsm"}},
      {{"--check", "--format", "json", "a.fs2"}, true, CheckFormat::kJson, {"a.fs2"}},
      {{"--check", "--format", "text", "a.fs2"}, true, CheckFormat::kText, {"a.fs2"}},
      {{"--format", "sarif", "--check", "-"}, true, CheckFormat::kSarif, {"-"}},
      {{"--check", "--ignore", "xstr", "--errors-only", "--ignore", "unknown-operator", "--unused", "a.fs2"},
       true, CheckFormat::kText, {"a.fs2"}, {Rule::kUnknownOperator, Rule::kXstr}, true, true},
      {{"--check", "--files-from", "-"}, true, CheckFormat::kText, {}, {}, false, false, "-"},
      {{"--files-from", "list.txt", "--check", "a.fs2"}, true, CheckFormat::kText, {"a.fs2"}, {}, false, false,
       "list.txt"},
      {{"--check"}, false},
      {{}, false},
      {{"a.fs2"}, false},                                           // no --check
      {{"--check", "--format", "json"}, false},
      {{"--check", "--format"}, false},
      {{"--check", "--format", "xml", "a.fs2"}, false},
      {{"--check", "--format", "json", "--format", "text", "a.fs2"}, false},
      {{"--check", "--ignore", "no-such-rule", "a.fs2"}, false},
      {{"--check", "--ignore"}, false},
      {{"--check", "a.fs2", "--unused"}, false},                    // options come before the missions
      {{"--check", "--files-from"}, false},
      {{"--check", "--files-from", "a", "--files-from", "b"}, false},
      {{"--check", "--files-from", "-", "-"}, false},               // standard input cannot be both
      {{"--check", "--bogus", "a.fs2"}, false},
      {{"--check", "--check", "a.fs2"}, false},
  };
  for (const Case& c : cases) {
    const auto options = ParseCheckArguments(c.args);
    ASSERT_EQ(options.has_value(), c.ok) << ::testing::PrintToString(c.args);
    if (!c.ok) continue;
    EXPECT_EQ(options->format, c.format);
    EXPECT_EQ(options->files, c.files);
    views::RuleSet ignored;
    for (const Rule rule : c.ignored) views::Add(ignored, rule);
    EXPECT_EQ(options->settings.ignored, ignored);
    EXPECT_EQ(options->errors_only, c.errors_only);
    EXPECT_EQ(options->settings.unused, c.unused);
    EXPECT_EQ(options->files_from, c.files_from);
  }
  std::string error;
  EXPECT_FALSE(ParseCheckArguments(std::vector<const char*>{"--check", "--ignore", "nope", "a.fs2"}, &error));
  EXPECT_EQ(error, "unknown rule nope");
}

}  // namespace
}  // namespace app
