// Reading a mission file by name, on every system the program is built for
// (these tests also run on Windows under Wine and under Node.js).
#include "mission/file.h"

#include <gtest/gtest.h>

#include <system_error>

#include "mission/mission.h"
#include "tests/scratch_dir.h"

namespace mission {
namespace {

namespace fs = std::filesystem;
using torvek::testing::ScratchDir;
using torvek::testing::UnicodeName;
using torvek::testing::WriteBytes;

std::string Message(int error) { return std::generic_category().message(error); }

// Bytes that no text encoding would change: every byte value, CR and LF
// alone and together, a Ctrl+Z that Windows' text mode takes for the end.
std::string Pattern(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  if (size > 3) bytes.replace(0, 4, "\r\n\x1A\n");
  return bytes;
}

TEST(MissionFileTest, ReadsEveryByteOfFilesOfAnySize) {
  // Around the first reservation (64 KiB) and the page sizes, and beyond.
  for (const std::size_t size : {0u, 1u, 4095u, 4096u, 65535u, 65536u, 65537u, 3u << 20}) {
    ScratchDir dir;
    const std::string bytes = Pattern(size);
    WriteBytes(dir / "m.fs2", bytes);
    MissionBytes read;
    EXPECT_EQ(ReadMissionFile(dir / "m.fs2", read), "") << size;
    EXPECT_TRUE(read.View() == bytes) << size << " bytes came back as " << read.View().size();
  }
}

TEST(MissionFileTest, RefusesWhatIsNoFileWithTheReason) {
  ScratchDir dir;
  fs::create_directory(dir / "folder.fs2");
  struct Case {
    fs::path path;
    std::string reason;
  };
  const Case cases[] = {
      {dir / "none.fs2", Message(ENOENT)},
      {dir / "no folder" / "m.fs2", Message(ENOENT)},
      {dir / "folder.fs2", Message(EISDIR)},
      {dir.path(), Message(EISDIR)},
#ifdef _WIN32
      {"NUL", "Not a regular file (a character device)"},
#else
      {"/dev/null", "Not a regular file (a character device)"},
#endif
  };
  for (const Case& c : cases) {
    MissionBytes bytes;
    EXPECT_EQ(ReadMissionFile(c.path, bytes), c.reason) << c.path;
    Mission kept = ParseMissionBytes("#Events\n+Name: E\n");
    const LoadResult result = LoadFile(c.path, kept);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, c.reason);
    EXPECT_EQ(kept.Sections().Slot(kSlotEvents).Count(), 1u) << "the mission loaded before must stay";
  }
}

TEST(MissionFileTest, NamesOutsideEveryCodePageAreRead) {
  ScratchDir dir;
  fs::create_directory(dir / UnicodeName(""));
  const fs::path file = dir / UnicodeName("") / UnicodeName(".fs2");
  WriteBytes(file, "#Mission Info\r\n$Name: Unicode\r\n");
  Mission mission;
  EXPECT_TRUE(LoadFile(file, mission).ok);
  // As the command line gives it: UTF-8 on Windows, the name's bytes here.
  const std::u8string utf8 = file.u8string();
  EXPECT_TRUE(LoadFile(PathOfArgument(std::string(utf8.begin(), utf8.end())), mission).ok);
  EXPECT_EQ(mission.Sections().Slot(kSlotMissionInfo).Count(), 1u);
}

}  // namespace
}  // namespace mission
