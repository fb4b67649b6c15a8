// The viewer reads missions and never writes them: loading and exporting
// leave the file's bytes, times and folder exactly as they were, and never
// even open it for writing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/export.h"
#include "mission/mission.h"
#include "tests/file_watch.h"

namespace app {
namespace {

namespace fs = std::filesystem;

struct MissionCase {
  const char* name;
  std::string bytes;
};

std::string Sample() {
  std::ifstream in(fs::path(TORVEK_SOURCE_DIR) / "samples/sample.fs2", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(MissionUntouchedTest, LoadAndExportNeverWriteTheMission) {
  const MissionCase cases[] = {
      {"sample.fs2", Sample()},
      {"latin1.fsm", "#Mission Info\r\n$Name: Gr\xFC\xDF" "e\r\n#Events\r\n$Formula: ( when ( true ) )\r\n"},
      {"broken.fs2", std::string("#Events\n$Formula: ( when ( (\n\0\xFF\n$Name: x\n#End", 45)},
  };
  for (const MissionCase& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path folder = fs::path(::testing::TempDir()) / ("untouched-" + std::string(c.name));
    fs::create_directories(folder);
    const fs::path file = folder / c.name;
    std::ofstream(file, std::ios::binary) << c.bytes;
    fs::permissions(file, fs::perms(0644));  // writable: a stray write would succeed and show
    {
      torvek::testing::FileWatch watch(file);
      ASSERT_TRUE(watch.Watching());
      mission::Mission loaded;
      ASSERT_TRUE(mission::LoadFile(file, loaded).ok);
      std::ostringstream json, text, out, err;
      WriteJsonExport(file.string(), loaded, json);
      WriteTextExport(file.string(), loaded, text);
      EXPECT_EQ(RunExport(ExportFormat::kJson, file.string(), out, err), 0);
      EXPECT_EQ(RunExport(ExportFormat::kText, file.string(), out, err), 0);
      EXPECT_EQ(watch.Changes(), std::vector<std::string>{});
    }
    fs::remove_all(folder);
  }
}

}  // namespace
}  // namespace app
