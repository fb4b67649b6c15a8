// Settings files through the file system itself, on every system the
// program is built for (these tests also run on Windows under Wine and
// under Node.js): what reaches the disk, what is left beside it, and what
// is refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "applib/files.h"
#include "applib/ini.h"
#include "applib/paths.h"
#include "tests/scratch_dir.h"

#ifdef _WIN32
#include <windows.h>
#elif !defined(__EMSCRIPTEN__)
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace applib {
namespace {

namespace fs = std::filesystem;
using torvek::testing::ReadBytes;
using torvek::testing::ScratchDir;
using torvek::testing::UnicodeName;
using torvek::testing::WriteBytes;

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::u8string name = entry.path().filename().u8string();
    names.emplace_back(name.begin(), name.end());
  }
  std::sort(names.begin(), names.end());
  return names;
}

Text TextOf(const fs::path& path) { return FromFsPath(path); }

TEST(SettingsFileTest, WritesReachTheFileAndLeaveNothingBeside) {
  struct Case {
    const char* name;
    const char* before;  // nullptr: no file yet
    const char* after;
  };
  const Case cases[] = {
      {"new file", nullptr, "[Display]\nTreeView=0\n"},
      {"other lines kept", "; mine\n[Dirs]\nA=1\n\n[Display]\nTreeView=1\nX=2\n", "; mine\n[Dirs]\nA=1\n\n[Display]\nTreeView=0\nX=2\n"},
      {"Windows line ends kept", "[Display]\r\nX=2\r\n", "[Display]\r\nX=2\r\nTreeView=0\r\n"},
  };
  for (const fs::path& file : {fs::path("torvk32.ini"), UnicodeName(".ini")}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(c.name);
      ScratchDir dir;
      const fs::path folder = dir / UnicodeName("");
      fs::create_directory(folder);
      if (c.before != nullptr) WriteBytes(folder / file, c.before);
      ASSERT_TRUE(IniWrite(TextOf(folder), TextOf(file), u"Display", u"TreeView", u"0"));
      EXPECT_EQ(ReadBytes(folder / file), c.after);
      EXPECT_EQ(IniRead(TextOf(folder), TextOf(file), u"Display", u"TreeView"), u"0");
      const std::u8string name = file.u8string();
      EXPECT_EQ(Names(folder), std::vector<std::string>{std::string(name.begin(), name.end())});
    }
  }
}

TEST(SettingsFileTest, RefusedWritesChangeNothing) {
  struct Case {
    const char* name;
    void (*setup)(const fs::path& folder);
  };
  const Case cases[] = {
      {"read-only file",
       [](const fs::path& folder) {
         WriteBytes(folder / "s.ini", "[Display]\nTreeView=1\n");
         fs::permissions(folder / "s.ini", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                         fs::perm_options::remove);
       }},
      {"a folder of that name", [](const fs::path& folder) { fs::create_directory(folder / "s.ini"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchDir dir;
    c.setup(dir.path());
    const std::vector<std::string> before = Names(dir.path());
    const std::string content = ReadBytes(dir / "s.ini");
    EXPECT_FALSE(IniWrite(TextOf(dir.path()), u"s.ini", u"Display", u"TreeView", u"0"));
    EXPECT_EQ(Names(dir.path()), before);
    EXPECT_EQ(ReadBytes(dir / "s.ini"), content);
  }
  ScratchDir dir;
  EXPECT_FALSE(IniWrite(TextOf(dir / "missing"), u"s.ini", u"Display", u"TreeView", u"0"));
  EXPECT_FALSE(fs::exists(dir / "missing")) << "folders are not created";
}

TEST(SettingsFileTest, TemporariesOfAFileAreKnownByName) {
  ScratchDir dir;
  const fs::path target = dir / "s.ini";
  EXPECT_EQ(TemporaryPath(target, 12, 3), dir / ".s.ini.tmp12.3");
  const char* const others[] = {".s.ini.tmp12.", ".s.ini.tmp.3", ".s.ini.tmpx.3", ".s.ini.tmp1.2x", ".t.ini.tmp1.2",
                                "s.ini.tmp1.2", ".s.ini"};
  for (const char* name : others) WriteBytes(dir / name, "");
  WriteBytes(TemporaryPath(target, 4242, 0), "");
  EXPECT_EQ(TemporariesOf(target), std::vector<fs::path>{TemporaryPath(target, 4242, 0)});
}

#ifndef __EMSCRIPTEN__
// A temporary file whose writer still holds it, as a writer holds its own
// until it has renamed it into place.
class HeldFile {
 public:
  explicit HeldFile(const fs::path& path) {
#ifdef _WIN32
    handle_ = ::CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
#else
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
    ::flock(fd_, LOCK_EX);
#endif
  }
  ~HeldFile() {
#ifdef _WIN32
    ::CloseHandle(handle_);
#else
    ::close(fd_);
#endif
  }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

 private:
#ifdef _WIN32
  HANDLE handle_;
#else
  int fd_;
#endif
};

// WebAssembly runs one program at a time, with no locks to tell a live
// writer from a dead one; there only what a dead writer leaves matters.
TEST(SettingsFileTest, WritesRemoveWhatDeadWritersLeftAndOnlyThat) {
  ScratchDir dir;
  const fs::path target = dir / "s.ini";
  WriteBytes(TemporaryPath(target, 4242, 0), "[Display]\nhalf");
  const HeldFile live(TemporaryPath(target, 4243, 0));
  ASSERT_TRUE(IniWrite(TextOf(dir.path()), u"s.ini", u"Display", u"TreeView", u"0"));
  EXPECT_EQ(Names(dir.path()), (std::vector<std::string>{".s.ini.tmp4243.0", "s.ini"}));
}
#endif

}  // namespace
}  // namespace applib
