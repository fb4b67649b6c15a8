// The window on a large mission: a synthetic mission of 50 MB (or
// TORVEK_LARGE_MISSION_MB megabytes) opened from the File menu, every view
// switched to with rows clicked, the tree's nodes clicked, a column sorted.
// Asserts that the window shows what the views compute and that the file is
// left untouched; prints the longest time each kind of action blocked the
// event loop.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <iostream>

#include "bench/mission/synthetic.h"
#include "tests/file_watch.h"
#include "tests/ui/window_driver.h"

namespace ui {
namespace {

std::size_t MissionMegabytes() {
  const char* value = std::getenv("TORVEK_LARGE_MISSION_MB");
  const long mb = value ? std::strtol(value, nullptr, 10) : 50;
  return mb > 0 ? static_cast<std::size_t>(mb) : 50;
}

TEST(WindowStressTest, LargeMissionThroughEveryViewAndTheTree) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::size_t megabytes = MissionMegabytes();
  // The mission alone in its folder, so the watch sees only what touches it.
  ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("mission")) &&
              QDir(dir.path()).mkpath(QStringLiteral("settings")));
  const QString path = dir.filePath(QStringLiteral("mission/large.fs2"));
  {
    const std::string text = bench::SyntheticMission(megabytes * 1024 * 1024);
    std::ofstream(path.toStdString(), std::ios::binary).write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  torvek::testing::FileWatch watch(path.toStdString());

  testing::WindowDriver driver(dir.filePath(QStringLiteral("settings")));
  driver.Open(path);
  ASSERT_EQ(driver.Form().CurrentMode(), views::kModeGeneral);
  EXPECT_GT(driver.Form().LoadedMission().Tree().Size(), 10000u);
  driver.Session();
  driver.Close();

  EXPECT_EQ(driver.Dialogs().warnings, QStringList{});
  EXPECT_EQ(watch.Changes(), std::vector<std::string>{});
  std::cout << "Longest event-loop block per action, " << megabytes << " MB mission:\n" << driver.Report().Text();
}

}  // namespace
}  // namespace ui
