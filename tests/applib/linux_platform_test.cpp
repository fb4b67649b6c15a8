#include "applib/linux_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "tests/applib/temp_dir.h"

namespace applib {
namespace {

using testing::ScopedEnv;
using testing::TempDir;

TEST(LinuxPlatformTest, XdgFoldersAndTheConfigurationFile) {
  ScopedEnv home("HOME", "/home/pilot");
  {
    ScopedEnv config("XDG_CONFIG_HOME", "/tmp/cfg/");
    ScopedEnv data("XDG_DATA_HOME", "/tmp/data");
    EXPECT_EQ(XdgConfigHome(), u"/tmp/cfg");
    EXPECT_EQ(XdgDataHome(), u"/tmp/data");
    EXPECT_EQ(LinuxPlatform().BrixConfigFile(), u"/tmp/cfg/brix.cfg");
    EXPECT_EQ(LinuxPlatform().UserFontDir(), u"/tmp/data/fonts");
  }
  {
    ScopedEnv config("XDG_CONFIG_HOME", "relative/is/ignored");
    ScopedEnv data("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(XdgConfigHome(), u"/home/pilot/.config");
    EXPECT_EQ(XdgDataHome(), u"/home/pilot/.local/share");
  }
}

TEST(LinuxPlatformTest, FontFoldersUserFirstWineLast) {
  ScopedEnv home("HOME", "/home/pilot");
  ScopedEnv data("XDG_DATA_HOME", "/d");
  ScopedEnv dirs("XDG_DATA_DIRS", "/usr/share:relative:/opt/share/");
  const std::vector<Text> want = {u"/d/fonts", u"/home/pilot/.fonts", u"/usr/share/fonts", u"/opt/share/fonts",
                                  u"/usr/share/wine/fonts"};
  EXPECT_EQ(LinuxPlatform().FontDirs(), want);
}

TEST(LinuxPlatformTest, FixedFoldersAndExecutable) {
  LinuxPlatform platform;
  EXPECT_EQ(platform.WindowsDir(), u"/etc");
  EXPECT_EQ(platform.SystemDir(), u"/usr/lib");
  EXPECT_TRUE(platform.ExecutablePath().ends_with(u"/applib_tests"));
}

TEST(LinuxPlatformTest, FindProgramSearchesPath) {
  TempDir dir;
  testing::WriteFile(dir.path() / "tool", "#!/bin/sh\n");
  testing::WriteFile(dir.path() / "plain", "not executable");
  std::filesystem::permissions(dir.path() / "tool", std::filesystem::perms::owner_all);
  ScopedEnv path("PATH", (dir.path().string() + ":/usr/bin:/bin").c_str());
  EXPECT_EQ(FindProgram(u"tool"), dir / u"tool");
  EXPECT_EQ(FindProgram(u"plain"), u"");
  EXPECT_EQ(FindProgram(u"no-such-program-here"), u"");
  EXPECT_EQ(FindProgram(dir / u"tool"), dir / u"tool");
  EXPECT_EQ(FindProgram(u""), u"");
}

TEST(LinuxPlatformTest, StartProgramRunsWithoutShellAndWithoutWaiting) {
  TempDir dir;
  // The argument with a space, a quote and a "$" arrives as one argument.
  const Text marker = dir / u"a b \"$HOME\"";
  LinuxPlatform platform;
  ASSERT_TRUE(platform.StartProgram({u"touch", marker}));
  bool seen = false;
  for (int i = 0; i < 500 && !seen; ++i) {
    seen = std::filesystem::exists(ToFsPath(marker));
    if (!seen) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(seen);
  EXPECT_FALSE(platform.StartProgram({u"no-such-program-here"}));
  EXPECT_FALSE(platform.StartProgram({}));
}

TEST(LinuxPlatformTest, OpenDocumentStartsAProgramDirectly) {
  TempDir dir;
  const auto script = dir.path() / "tool with space";
  testing::WriteFile(script, "#!/bin/sh\ntouch \"$0.ran\"\n");
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  LinuxPlatform().OpenDocument(FromFsPath(script));
  bool seen = false;
  for (int i = 0; i < 500 && !seen; ++i) {
    seen = std::filesystem::exists(dir.path() / "tool with space.ran");
    if (!seen) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(seen);
}

}  // namespace
}  // namespace applib
