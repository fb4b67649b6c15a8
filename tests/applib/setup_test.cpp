#include "applib/setup.h"

#include <gtest/gtest.h>

#include "applib/ini.h"
#include "applib/library.h"
#include "applib/splash.h"
#include "tests/applib/fakes.h"
#include "tests/applib/temp_dir.h"

namespace applib {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

class SetupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root.path() / "build" / "app");
    WriteFile(root.path() / "build" / "app" / "torvk32", "#!/bin/sh\n");
    plan = {root / u"config", root / u"data", root / u"build/app/torvk32",
            mission::FromUtf8(TORVEK_SOURCE_DIR "/applib/artwork")};
  }

  bool Run() {
    log.clear();
    return SetUpSuite(plan, log);
  }

  fs::path Path(const char* relative) const { return root.path() / relative; }

  TempDir root;
  SetupPlan plan;
  std::vector<Text> log;
};

TEST_F(SetupTest, FreshSetUpIsWhatTheProgramNeeds) {
  ASSERT_TRUE(Run());
  const Text library = root / u"data/veltrane/";
  EXPECT_EQ(IniRead(u"", root / u"config/brix.cfg", u"Directories", u"Brix3"), library);
  EXPECT_EQ(IniRead(library, u"brix.ini", u"Moduls_Dirs", u"TORVK32"), library + u"torvk32/");
  EXPECT_EQ(IniRead(library, u"brix.ini", u"Moduls_EXEs", u"TORVK32"), u"torvk32");
  EXPECT_EQ(fs::read_symlink(Path("data/veltrane/torvk32/torvk32")), Path("build/app/torvk32"));
  EXPECT_EQ(FileCheckValue(library + u"torvk32/torvk32.jpg"), 211);
  EXPECT_TRUE(fs::exists(Path("data/veltrane/torvk32/torvk32.gif")));

  // The library finds everything it looks for.
  testing::FakePlatform platform;
  testing::FakeFrontend frontend;
  platform.config_file = root / u"config/brix.cfg";
  Library lib(platform, frontend);
  lib.AppShortName = u"TORVK32";
  ASSERT_NO_THROW(lib.ad_brix = lib.FindLibraryDir());
  EXPECT_EQ(lib.FindProgramDir(), library + u"torvk32/");
  EXPECT_TRUE(lib.IsModuleInstalled(u"TORVK32"));
}

TEST_F(SetupTest, SecondRunChangesNothing) {
  ASSERT_TRUE(Run());
  const std::string cfg = ReadFile(Path("config/brix.cfg"));
  const std::string ini = ReadFile(Path("data/veltrane/brix.ini"));
  ASSERT_TRUE(Run());
  EXPECT_TRUE(log.empty()) << mission::ToUtf8(log.front());
  EXPECT_EQ(ReadFile(Path("config/brix.cfg")), cfg);
  EXPECT_EQ(ReadFile(Path("data/veltrane/brix.ini")), ini);
}

TEST_F(SetupTest, KeepsWhatTheUserHas) {
  fs::create_directories(Path("config"));
  fs::create_directories(Path("mine/prog"));
  const std::string cfg = "; my suite\n[Directories]\nBrix3=" + (root.path() / "mine").string() + "\nOther=1\n";
  WriteFile(Path("config/brix.cfg"), cfg);
  const std::string ini = "[Detour]\nTORVK32=" + (root.path() / "mine/prog").string() +
                          "\n[Moduls_EXEs]\nTORVK32=viewer\n[Positions]\nTORVEK32=2,1,2,3,4\n";
  WriteFile(Path("mine/brix.ini"), ini);
  WriteFile(Path("mine/prog/torvk32.jpg"), "my own picture");
  WriteFile(Path("mine/prog/viewer"), "my own program");
  ASSERT_TRUE(Run());
  EXPECT_EQ(ReadFile(Path("config/brix.cfg")), cfg);
  EXPECT_EQ(ReadFile(Path("mine/prog/torvk32.jpg")), "my own picture");
  EXPECT_EQ(ReadFile(Path("mine/prog/viewer")), "my own program");
  EXPECT_TRUE(fs::exists(Path("mine/prog/torvk32.gif"))) << "the missing picture is added";
  EXPECT_EQ(IniRead(root / u"mine", u"brix.ini", u"Positions", u"TORVEK32"), u"2,1,2,3,4");
  EXPECT_EQ(IniRead(root / u"mine", u"brix.ini", u"Moduls_EXEs", u"TORVK32"), u"viewer");
}

TEST_F(SetupTest, MissingLibraryFolderIsCreatedAndStaleLinksReplaced) {
  fs::create_directories(Path("config"));
  WriteFile(Path("config/brix.cfg"), "[Directories]\nBrix3=" + (root.path() / "gone/suite").string() + "\n");
  ASSERT_TRUE(Run());
  EXPECT_TRUE(fs::is_regular_file(Path("gone/suite/brix.ini")));
  fs::remove(Path("gone/suite/torvk32/torvk32"));
  fs::create_symlink(root.path() / "old-build/torvk32", Path("gone/suite/torvk32/torvk32"));
  ASSERT_TRUE(Run());
  EXPECT_EQ(fs::read_symlink(Path("gone/suite/torvk32/torvk32")), Path("build/app/torvk32"));
}

TEST_F(SetupTest, FailsWithoutClobberingWhatItCannotRead) {
  fs::create_directories(Path("config/brix.cfg"));  // a folder where the file should be
  EXPECT_FALSE(Run());
  EXPECT_FALSE(log.empty());
  EXPECT_TRUE(fs::is_directory(Path("config/brix.cfg")));
  EXPECT_FALSE(fs::exists(Path("data/veltrane")));
}

}  // namespace
}  // namespace applib
