// The window against hostile mission files, and nothing lost around it: a
// whole session never writes the mission, and settings that cannot be
// written leave the window working and silent.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <iostream>
#include <random>
#include <string>

#include "tests/applib/fakes.h"
#include "tests/file_watch.h"
#include "tests/ui/window_driver.h"

namespace ui {
namespace {

constexpr std::string_view kInfo = "#Mission Info\r\n$Name: Hostile\r\n";

std::string Sample() {
  std::ifstream in(TORVEK_SOURCE_DIR "/samples/sample.fs2", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Repeat(std::string_view piece, std::size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += piece;
  return out;
}

// Every n-th byte replaced, after the first line: the mission's info
// section still opens the views.
std::string EveryNth(std::string text, std::size_t n, char c) {
  for (std::size_t i = text.find('\n') + n; i < text.size(); i += n) text[i] = c;
  return text;
}

std::string Utf16Le(const std::string& ascii) {
  std::string out = "\xFF\xFE";
  for (const char c : ascii) {
    out += c;
    out += '\0';
  }
  return out;
}

std::string RandomBytes(std::size_t size) {
  std::mt19937 random(8);
  std::string out(size, '\0');
  for (char& c : out) c = static_cast<char>(random() & 0xFF);
  out.replace(0, kInfo.size(), kInfo);
  // A few section and formula starts, so that the views have rows to show.
  for (std::size_t at = size / 16; at + 64 < size; at += size / 16)
    out.replace(at, 40, "\n#Events\n$Formula: ( when ( true ) (\n+Name:");
  return out;
}

std::string Event(const std::string& formula, const std::string& name) {
  return "$Formula: " + formula + "\r\n+Name: " + name + "\r\n+Repeat Count: 1\r\n\r\n";
}

constexpr std::size_t kDepth = 100000;

struct HostileFile {
  const char* name;
  std::string bytes;
  bool mission = true;  // looks like a mission: opened without a question
};

std::vector<HostileFile> HostileFiles() {
  const std::string sample = Sample();
  const std::string two_mb(2 * 1024 * 1024, 'N');
  return {
      {"NUL bytes", EveryNth(sample, 13, '\0'), false},
      {"invalid UTF-8", EveryNth(sample, 29, '\xC3') + "\xC0\xAF\xED\xA0\x80\xF8\x88\x80\x80\x80\xFF\xFE"},
      {"byte order mark, then invalid UTF-8", "\xEF\xBB\xBF" + EveryNth(sample, 31, '\xFF')},
      {"UTF-16 with a byte-order mark", Utf16Le(sample)},
      {"lone CRs",
       [&] {
         std::string s = sample;
         std::replace(s.begin(), s.end(), '\n', '\r');
         return s;
       }()},
      {"no line breaks",
       [&] {
         std::string s = sample;
         std::erase(s, '\n');
         return s;
       }(),
       false},  // one line, a header no section has
      {"2 MB lines",
       std::string(kInfo) + "#Events\r\n" +
           Event("( when ( and " + Repeat("( true ) ", two_mb.size() / 9) + ") ( do-nothing ) )", two_mb) +
           "#Messages\r\n$Name: " + two_mb + "\r\n$MessageNew: " + two_mb + "\r\n#Objects\r\n$Name: " + two_mb +
           "\r\n$Class: " + two_mb + "\r\n#End\r\n"},
      {"100,000-deep formula on one line",
       std::string(kInfo) + "#Events\r\n" +
           Event(Repeat("( not ", kDepth) + "( true )" + Repeat(" )", kDepth), "Deep") + "#Goals\r\n" +
           "$Type: Primary\r\n+Name: Deep goal\r\n$MessageNew: XSTR(\"m\", -1)\r\n$Formula: " +
           Repeat("( and ", kDepth) + Repeat(") ", kDepth) + "\r\n"},
      {"100,000-deep formula, a bracket a line",
       std::string(kInfo) + "#Events\r\n" +
           Event(Repeat("( not\r\n", kDepth) + "( true )\r\n" + Repeat(")\r\n", kDepth), "Deep lines")},
      {"formula never closed", std::string(kInfo) + "#Events\r\n" + Event("( when ( true ) ( do-nothing )", "Open") +
                                   Event("( when ( ( (", "Opener") + Event("( when ( true ) ( do-nothing ) )", "Fine")},
      {"formula closed too often", std::string(kInfo) + "#Events\r\n" +
                                       Event("( when ( true ) ) ) ) ) ( do-nothing ) )", "Closed") +
                                       Event(")))", "Only closing") +
                                       "#Goals\r\n$Type: Primary\r\n+Name: G\r\n$MessageNew: x\r\n$Formula: ) (\r\n"},
      {"random bytes", RandomBytes(1024 * 1024), false},
      {"empty", "", false},
  };
}

class WindowSafetyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("mission")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("settings")));
  }
  // Writes a mission alone in its folder, writable, so that any write to it
  // would succeed and show.
  QString Mission(const std::string& bytes) {
    const QString path = dir.filePath(QStringLiteral("mission/mission.fs2"));
    std::ofstream(path.toStdString(), std::ios::binary | std::ios::trunc) << bytes;
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return path;
  }
  QString Settings() const { return dir.filePath(QStringLiteral("settings")); }

  QTemporaryDir dir;
};

TEST_F(WindowSafetyTest, HostileFilesOpenAndShowWhatTheViewsCompute) {
  testing::BlockReport worst;
  for (const HostileFile& file : HostileFiles()) {
    // TORVEK_HOSTILE_ONLY=text runs only the files whose names contain it.
    if (const char* only = std::getenv("TORVEK_HOSTILE_ONLY");
        only && std::string(file.name).find(only) == std::string::npos)
      continue;
    SCOPED_TRACE(file.name);
    const QString path = Mission(file.bytes);
    testing::WindowDriver driver(Settings());
    driver.Open(path);
    driver.Session();
    driver.Close();
    EXPECT_EQ(driver.Dialogs().warnings, QStringList{});
    // Answered Yes: a file that is no mission is opened all the same.
    EXPECT_EQ(driver.Dialogs().questions.size(), file.mission ? 0 : 1);
    EXPECT_EQ(driver.ModalWindows(), QStringList{});
    worst.Add(file.name, driver.Report().Worst());
    std::cout << file.name << ":\n" << driver.Report().Text();
    if (HasFatalFailure()) return;
  }
  std::cout << "Longest event-loop block of any action, per hostile file:\n" << worst.Text();
}

TEST_F(WindowSafetyTest, AWholeSessionNeverWritesTheMission) {
  const QString path = Mission(Sample());
  torvek::testing::FileWatch watch(path.toStdString());
  ASSERT_TRUE(watch.Watching());
  {
    testing::WindowDriver driver(Settings());
    driver.Open(path);
    driver.Session();
    driver.Open(path);  // the same file once more
    driver.Close();
  }
  EXPECT_EQ(watch.Changes(), std::vector<std::string>{});
}

// Settings that cannot be written: a folder that is a file, a folder below
// /dev/null. Every setting the session changes stays in force in the
// window, nothing is reported, and the window position is given up quietly.
TEST_F(WindowSafetyTest, UnwritableSettingsStaySilent) {
  QFile plain(dir.filePath(QStringLiteral("plain")));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();
  for (const QString& folder : {plain.fileName(), QStringLiteral("/dev/null/x")}) {
    SCOPED_TRACE(folder.toStdString());
    applib::testing::FakePlatform platform;
    applib::testing::FakeFrontend frontend;
    applib::Library library(platform, frontend);
    library.pfad_main = FromQString(folder) + u"/";
    library.ad_brix = FromQString(folder) + u"/";
    {
      testing::WindowDriver driver(library);
      driver.Open(Mission(Sample()));
      driver.SwitchTo(views::kModeEvents);
      const bool left = driver.Form().LeftCodeHidden();
      driver.Trigger("MenuViewCodeL");
      EXPECT_NE(driver.Form().LeftCodeHidden(), left);
      driver.Session();
      driver.Close();
      EXPECT_EQ(driver.Dialogs().warnings, QStringList{});
      EXPECT_EQ(driver.ModalWindows(), QStringList{});
    }
    EXPECT_TRUE(frontend.fatal_errors.empty());
    EXPECT_TRUE(frontend.questions.empty());
    EXPECT_FALSE(QFileInfo(folder).isDir());
    EXPECT_EQ(QFileInfo(plain.fileName()).size(), 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              (QStringList{QStringLiteral("mission"), QStringLiteral("plain"), QStringLiteral("settings")}));
  }
}

}  // namespace
}  // namespace ui
