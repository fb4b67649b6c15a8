#include "applib/library.h"

#include <gtest/gtest.h>

#include "applib/ini.h"
#include "tests/applib/suite_fixture.h"

namespace applib {
namespace {

using mission::ToUtf8;
using testing::Suite;
using testing::WriteFile;

TEST(LibraryTest, InitFindsTheLibraryAndTheProgram) {
  Suite suite;
  WriteFile(suite.root.path() / "brix.cfg", "[Directories]\nBrix3=" + ToUtf8(suite.root / u"lib") + "\n");
  ASSERT_EQ(suite.Init(), std::nullopt);
  const Library& lib = suite.lib;
  EXPECT_EQ(lib.ad_brix, suite.LibDir()) << "a final separator is added";
  EXPECT_EQ(lib.pfad_temp, suite.LibDir() + u"_Temp/");
  EXPECT_TRUE(std::filesystem::is_directory(suite.root.path() / "lib" / "_Temp"));
  EXPECT_EQ(lib.pfad_windows, u"/fake/windows/");
  EXPECT_EQ(lib.pfad_winsys, u"/fake/system/");
  EXPECT_EQ(lib.pfad_main, u"/opt/suite/bin/") << "no brix.ini entry: the executable's folder";
  EXPECT_EQ(lib.pfad_data, u"/opt/suite/bin/data/");
  EXPECT_FALSE(lib.SplashActive);
  EXPECT_TRUE(suite.frontend.fatal_errors.empty());
}

TEST(LibraryTest, ProgramDirectoryFromDetourThenModulsDirs) {
  struct Case {
    Text detour, moduls_dir, main, data;
  };
  const Case cases[] = {
      {u"E:\\Tools", u"/suite/torvk32", u"E:\\Tools\\", u"E:\\Tools\\data\\"},
      {u"", u"/suite/torvk32", u"/suite/torvk32/", u"/suite/torvk32/data/"},
      {u"/detour/", u"", u"/detour/", u"/detour/data/"},
      {u"", u"", u"/opt/suite/bin/", u"/opt/suite/bin/data/"},
  };
  for (const Case& c : cases) {
    Suite suite;
    if (!c.detour.empty()) suite.SetBrix(u"Detour", u"TORVK32", c.detour);
    if (!c.moduls_dir.empty()) suite.SetBrix(u"Moduls_Dirs", u"torvk32", c.moduls_dir);
    suite.SetBrix(u"Detour", u"OTHER", u"/not/ours");
    ASSERT_EQ(suite.Init(), std::nullopt);
    EXPECT_EQ(suite.lib.pfad_main, c.main) << ToUtf8(c.detour) << " " << ToUtf8(c.moduls_dir);
    EXPECT_EQ(suite.lib.pfad_data, c.data);
  }
}

TEST(LibraryTest, NotInstalledEndsTheProgram) {
  struct Case {
    const char* name;
    std::string cfg;  // "-" for no brix.cfg; "LIB" stands for the library folder
    bool brix_ini;
  };
  const Case cases[] = {
      {"no brix.cfg", "-", true},
      {"no Brix3 key", "[Directories]\nBrix4=LIB\n", true},
      {"Brix3 in another section", "[Folders]\nBrix3=LIB\n", true},
      {"empty Brix3", "[Directories]\nBrix3=\n", true},
      {"Brix3 n/a", "[Directories]\nBrix3=n/a\n", true},
      {"missing folder", "[Directories]\nBrix3=LIB/missing\n", true},
      {"no brix.ini", "[Directories]\nBrix3=LIB\n", false},
      {"garbage", std::string("\xff\xfe\0[Directories", 16), true},
  };
  for (const Case& c : cases) {
    Suite suite;
    std::string cfg = c.cfg;
    if (const auto at = cfg.find("LIB"); at != std::string::npos) cfg.replace(at, 3, ToUtf8(suite.root / u"lib"));
    std::filesystem::remove(suite.root.path() / "brix.cfg");
    if (cfg != "-") WriteFile(suite.root.path() / "brix.cfg", cfg);
    if (!c.brix_ini) std::filesystem::remove(suite.root.path() / "lib" / "brix.ini");
    EXPECT_EQ(suite.Init(), 1) << c.name;
    ASSERT_EQ(suite.frontend.fatal_errors.size(), 1u) << c.name;
    EXPECT_EQ(suite.frontend.fatal_errors[0].first, u"Brix32 error");
    EXPECT_EQ(suite.frontend.fatal_errors[0].second,
              u"Brix3 is not properly installed!\nRun torvk32-setup, or start the viewer from the applications menu.");
    EXPECT_EQ(suite.lib.EMsgCode, u"SYS0000");
    EXPECT_TRUE(suite.frontend.fonts.empty()) << c.name << ": nothing after the error runs";
    EXPECT_EQ(suite.lib.pfad_main, u"");
  }
}

TEST(LibraryTest, BrixIniAsAFolderIsNotAnInstallation) {
  Suite suite;
  std::filesystem::remove(suite.root.path() / "lib" / "brix.ini");
  std::filesystem::create_directory(suite.root.path() / "lib" / "brix.ini");
  EXPECT_EQ(suite.Init(), 1);
}

TEST(LibraryTest, FontsComeFromTheFirstFolderThatHasTahoma) {
  {
    Suite suite;
    ASSERT_EQ(suite.Init(), std::nullopt);
    const std::vector<Text> want = {suite.root / u"fonts/tahoma.ttf", suite.root / u"fonts/tahomabd.ttf"};
    EXPECT_EQ(suite.frontend.fonts, want);
    EXPECT_EQ(suite.lib.font_files, want);
  }
  {
    Suite suite;  // the system directory wins over the font folders
    suite.platform.system_dir = suite.root / u"sys";
    std::filesystem::create_directory(suite.root.path() / "sys");
    WriteFile(suite.root.path() / "sys" / "tahoma.ttf", "x");
    ASSERT_EQ(suite.Init(), std::nullopt);
    EXPECT_EQ(suite.frontend.fonts, std::vector<Text>{suite.root / u"sys/tahoma.ttf"}) << "no bold face there";
  }
  {
    Suite suite;  // the user's folder is the last resort
    suite.platform.font_dirs.clear();
    suite.platform.user_font_dir = suite.root / u"fonts";
    ASSERT_EQ(suite.Init(), std::nullopt);
    EXPECT_EQ(suite.frontend.fonts.size(), 2u);
  }
}

TEST(LibraryTest, MissingFontEndsTheProgram) {
  Suite suite;
  std::filesystem::remove(suite.root.path() / "fonts" / "tahoma.ttf");
  EXPECT_EQ(suite.Init(), 1);
  ASSERT_EQ(suite.frontend.fatal_errors.size(), 1u);
  EXPECT_EQ(suite.frontend.fatal_errors[0].first, u"Font error");
  EXPECT_TRUE(suite.frontend.fatal_errors[0].second.starts_with(
      u"Font 'Tahoma' not found in the SYSTEM/SYSTEM32 or FONTS directory! "));
  EXPECT_NE(suite.frontend.fatal_errors[0].second.find(u"fonts-wine"), Text::npos);
  EXPECT_TRUE(suite.frontend.fonts.empty()) << "the bold face alone is not registered";
}

TEST(LibraryTest, TempFolderThatCannotBeMadeIsIgnored) {
  Suite suite;
  WriteFile(suite.root.path() / "lib" / "_Temp", "a file in the way");
  EXPECT_EQ(suite.Init(), std::nullopt);
  EXPECT_EQ(suite.lib.pfad_temp, suite.LibDir() + u"_Temp/");
  EXPECT_EQ(suite.lib.pfad_main, u"/opt/suite/bin/");
}

TEST(LibraryTest, IsModuleInstalledNeedsFolderExecutableAndFile) {
  struct Case {
    const char* name;
    Text dir, exe;
    bool want;
  };
  Suite suite;
  WriteFile(suite.root.path() / "korva", "#!/bin/sh\n");
  const Case cases[] = {
      {"installed", suite.root.text(), u"korva", true},
      {"folder with separator", AddSlash(suite.root.text()), u"korva", true},
      {"file missing", suite.root.text(), u"missing", false},
      {"no folder", u"", u"korva", false},
      {"no executable", suite.root.text(), u"", false},
      {"folder n/a", u"n/a", u"korva", false},
      {"executable is a folder", suite.root.text(), u"lib", false},
  };
  ASSERT_EQ(suite.Init(), std::nullopt);
  for (const Case& c : cases) {
    suite.SetBrix(u"Moduls_Dirs", u"KORVA", c.dir);
    suite.SetBrix(u"Moduls_EXEs", u"KORVA", c.exe);
    EXPECT_EQ(suite.lib.IsModuleInstalled(u"KORVA"), c.want) << c.name;
  }
  EXPECT_FALSE(suite.lib.IsModuleInstalled(u"UNKNOWN"));
}

TEST(LibraryTest, FatalErrorKeepsTheMessageAndExitsWithOne) {
  Suite suite;
  try {
    suite.lib.FatalError(u"SYS0000", u"Title", u"Message");
    FAIL() << "FatalError returned";
  } catch (const testing::ExitCalled& exit) {
    EXPECT_EQ(exit.status, 1);
  }
  EXPECT_EQ(suite.lib.EMsgTitle, u"Title");
  EXPECT_EQ(suite.lib.EMsgText, u"Message");
  EXPECT_EQ(suite.frontend.fatal_errors.size(), 1u);
}

TEST(LibraryTest, VersionTextAndDelay) {
  EXPECT_EQ(VersionText(1, 0, 2), u"1.0 Beta 01b (Build 02)");
  EXPECT_EQ(VersionText(2, 11, 13), u"2.11 Beta 01b (Build 013)");
  Suite suite;
  suite.lib.Delay(0);
  suite.lib.Delay(3000);
  EXPECT_EQ(suite.platform.sleeps, (std::vector<std::uint32_t>{0, 3000}));
  EXPECT_TRUE(suite.frontend.paints.empty());  // no windows to paint
}

// With windows up, a wait is cut into slices with painting after each; it
// lasts as long in all.
TEST(LibraryTest, DelayKeepsTheWindowsPainted) {
  Suite suite;
  suite.frontend.paint_interval = 20;
  suite.frontend.sleeps = &suite.platform.sleeps;
  suite.lib.Delay(45);
  EXPECT_EQ(suite.platform.sleeps, (std::vector<std::uint32_t>{20, 20, 5}));
  EXPECT_EQ(suite.frontend.paints, (std::vector<std::size_t>{1, 2, 3}));
  suite.lib.Delay(0);  // yields, and paints once
  EXPECT_EQ(suite.platform.sleeps.back(), 0u);
  EXPECT_EQ(suite.frontend.paints.size(), 4u);
  suite.platform.sleeps.clear();
  suite.lib.Delay(3000);
  std::uint32_t total = 0;
  for (const std::uint32_t slice : suite.platform.sleeps) total += slice;
  EXPECT_EQ(total, 3000u);
  EXPECT_EQ(suite.platform.sleeps.size(), 150u);
}

}  // namespace
}  // namespace applib
