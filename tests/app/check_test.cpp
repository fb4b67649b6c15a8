// The headless check: its arguments, its two output forms, the summary line
// and the exit code over several files.
#include "app/check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
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
    out_.str("");
    err_.str("");
    return RunCheck({format, std::move(files)}, out_, err_);
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
                           {"operator", "is-event-true"},
                           {"text", "is-event-true: no event named \"Nonexistent Event\""}}));
  EXPECT_EQ(list[1]["severity"], "warning");
  EXPECT_EQ(list[2]["operator"], "");
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

TEST(CheckArgumentsTest, FormatAndFiles) {
  struct Case {
    std::vector<const char*> args;
    bool ok;
    CheckFormat format;
    std::vector<std::string> files;
  };
  const Case cases[] = {
      {{"a.fs2"}, true, CheckFormat::kText, {"a.fs2"}},
      {{"a.fs2", "b.fsm"}, true, CheckFormat::kText, {"a.fs2", "b.fsm"}},
      {{"--format", "json", "a.fs2"}, true, CheckFormat::kJson, {"a.fs2"}},
      {{"--format", "text", "a.fs2"}, true, CheckFormat::kText, {"a.fs2"}},
      {{}, false, CheckFormat::kText, {}},
      {{"--format", "json"}, false, CheckFormat::kText, {}},
      {{"--format"}, false, CheckFormat::kText, {}},
      {{"--format", "xml", "a.fs2"}, false, CheckFormat::kText, {}},
  };
  for (const Case& c : cases) {
    const auto options = ParseCheckArguments(c.args);
    ASSERT_EQ(options.has_value(), c.ok) << ::testing::PrintToString(c.args);
    if (!c.ok) continue;
    EXPECT_EQ(options->format, c.format);
    EXPECT_EQ(options->files, c.files);
  }
}

}  // namespace
}  // namespace app
