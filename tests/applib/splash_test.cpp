#include "applib/splash.h"

#include <gtest/gtest.h>

#include "applib/ini.h"
#include "tests/applib/suite_fixture.h"

namespace applib {
namespace {

using mission::ToUtf8;
using testing::ExitCalled;
using testing::ReadFile;
using testing::Suite;
using testing::WriteFile;

const std::filesystem::path kArtwork = std::filesystem::path(TORVEK_SOURCE_DIR) / "applib" / "artwork";

TEST(SplashTest, CheckValueIsTheExclusiveOrWithZeroAsOne) {
  const std::pair<std::string, int> cases[] = {
      {"", 1}, {"\x12\x12", 1}, {"\xd3", 211}, {"\x01\x02\x04", 7}, {std::string(1000, 'a'), 1}, {std::string(999, 'a'), 'a'},
  };
  for (const auto& [bytes, want] : cases) EXPECT_EQ(CheckValue(bytes), want) << bytes.size() << " bytes";
}

TEST(SplashTest, ShippedPicturesPassTheStartUpCheck) {
  EXPECT_EQ(FileCheckValue(FromFsPath(kArtwork / "torvk32.jpg")), 211);
  const std::string jpg = ReadFile(kArtwork / "torvk32.jpg");
  EXPECT_TRUE(jpg.starts_with("\xFF\xD8\xFF")) << "a JPEG file";
  EXPECT_TRUE(ReadFile(kArtwork / "torvk32.gif").starts_with("GIF8"));
}

TEST(SplashTest, FileCheckValueOfMissingAndEmptyFiles) {
  testing::TempDir dir;
  WriteFile(dir.path() / "empty", "");
  EXPECT_EQ(FileCheckValue(dir / u"empty"), 1);
  EXPECT_EQ(FileCheckValue(dir / u"missing"), std::nullopt);
  EXPECT_EQ(FileCheckValue(dir.text()), std::nullopt);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing")) << "the check creates nothing";
}

TEST(SplashTest, NameAndTexts) {
  const std::tuple<Text, Text, Text> names[] = {
      {u"TORVEK32", u"TORVEK", u"32"}, {u"ZANTH", u"ZANTH", u""}, {u"32", u"", u"32"}, {u"", u"", u""}};
  for (const auto& [long_name, name, suffix] : names) {
    Text n = u"x", s = u"x";
    SplitProductName(long_name, n, s);
    EXPECT_EQ(n, name);
    EXPECT_EQ(s, suffix);
  }
  Suite suite;
  suite.lib.AppVersionText = VersionText(1, 0, 2);
  const SplashScreen splash = SplashTexts(suite.lib, 255, u"n/a");
  EXPECT_EQ(splash.name, u"TORVEK");
  EXPECT_EQ(splash.name_suffix, u"32");
  EXPECT_EQ(splash.accent, 255u);
  EXPECT_EQ(splash.version, u"V1.0 Beta 01b (Build 02)");
  EXPECT_EQ(splash.credit, kSuiteCredit);
  EXPECT_EQ(SplashTexts(suite.lib, 255, u"").credit, kSuiteCredit);
  EXPECT_EQ(SplashTexts(suite.lib, 255, u" Made by us ").credit, u" Made by us ");
}

// A suite whose program folder holds the shipped pictures.
class SplashStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(suite.root.path() / "prog");
    std::filesystem::copy_file(kArtwork / "torvk32.jpg", suite.root.path() / "prog" / "torvk32.jpg");
    std::filesystem::copy_file(kArtwork / "torvk32.gif", suite.root.path() / "prog" / "torvk32.gif");
    suite.SetBrix(u"Moduls_Dirs", u"TORVK32", suite.root / u"prog");
    ASSERT_EQ(suite.Init(), std::nullopt);
  }

  // Runs SplashStart; the exit status when it ended the program.
  std::optional<int> Start(std::uint8_t expected) {
    try {
      SplashStart(suite.lib, expected, 255, -1, 0, u"n/a");
    } catch (const ExitCalled& exit) {
      return exit.status;
    }
    return std::nullopt;
  }

  Text Prog(TextView name) const { return suite.root / (u"prog/" + Text(name)); }

  Suite suite;
};

TEST_F(SplashStartTest, ShippedPictureNeedsNoQuestion) {
  EXPECT_EQ(Start(211), std::nullopt);
  EXPECT_TRUE(suite.frontend.questions.empty());
  ASSERT_EQ(suite.frontend.splashes.size(), 1u);
  EXPECT_EQ(suite.frontend.splashes[0].picture, Prog(u"torvk32.jpg"));
  EXPECT_EQ(suite.frontend.splashes[0].suite_picture, Prog(u"torvk32.gif"));
  EXPECT_TRUE(suite.lib.SplashActive);

  SplashEnd(suite.lib, 0);
  EXPECT_FALSE(suite.lib.SplashActive);
  EXPECT_EQ(suite.frontend.splash_closed, 1);
  EXPECT_EQ(suite.platform.sleeps, std::vector<std::uint32_t>{0});
  SplashEnd(suite.lib);
  EXPECT_EQ(suite.platform.sleeps.size(), 1u) << "no wait given, no sleep";
}

TEST_F(SplashStartTest, ChangedPictureAsksWithCancelAsDefault) {
  WriteFile(suite.root.path() / "prog" / "torvk32.jpg", ReadFile(kArtwork / "torvk32.jpg") + "x");
  suite.frontend.answers = {true};
  EXPECT_EQ(Start(211), std::nullopt);
  ASSERT_EQ(suite.frontend.questions.size(), 1u);
  EXPECT_EQ(suite.frontend.questions[0].title, u"Veltrane Suite warning");
  EXPECT_EQ(suite.frontend.questions[0].message, kPictureModifiedText);
  EXPECT_TRUE(suite.frontend.questions[0].cancel_is_default);
  EXPECT_EQ(suite.frontend.splashes.size(), 1u) << "the splash is up while it asks";

  suite.frontend.answers = {true, false};
  EXPECT_EQ(Start(211), 1) << "Cancel ends the program";

  suite.frontend.questions.clear();
  EXPECT_EQ(Start(0), std::nullopt);
  EXPECT_TRUE(suite.frontend.questions.empty()) << "an expected value of 0 switches the check off";
}

TEST_F(SplashStartTest, MissingPictureAsksBeforeTheSplashIsShown) {
  std::filesystem::remove(suite.root.path() / "prog" / "torvk32.jpg");
  std::filesystem::remove(suite.root.path() / "prog" / "torvk32.gif");
  suite.frontend.answers = {false};
  EXPECT_EQ(Start(211), 1);
  EXPECT_TRUE(suite.frontend.splashes.empty());
  ASSERT_EQ(suite.frontend.questions.size(), 1u);
  EXPECT_EQ(suite.frontend.questions[0].message, kPictureMissingText);
  EXPECT_FALSE(suite.frontend.questions[0].cancel_is_default);

  suite.frontend.answers = {false, true};
  EXPECT_EQ(Start(211), std::nullopt);
  EXPECT_EQ(suite.frontend.questions.size(), 2u) << "no check of a missing picture";
  ASSERT_EQ(suite.frontend.splashes.size(), 1u);
  EXPECT_EQ(suite.frontend.splashes[0].picture, u"");
  EXPECT_EQ(suite.frontend.splashes[0].suite_picture, u"");
  EXPECT_FALSE(std::filesystem::exists(suite.root.path() / "prog" / "torvk32.jpg"));
}

TEST_F(SplashStartTest, FindsTheFoldersAgain) {
  suite.lib.pfad_main.clear();
  suite.lib.ad_brix.clear();
  EXPECT_EQ(Start(211), std::nullopt);
  EXPECT_EQ(suite.lib.ad_brix, suite.LibDir());
  EXPECT_EQ(suite.lib.pfad_main, AddSlash(suite.root / u"prog"));

  std::filesystem::remove(suite.root.path() / "lib" / "brix.ini");
  EXPECT_EQ(Start(211), 1);
  ASSERT_EQ(suite.frontend.fatal_errors.size(), 1u);
  EXPECT_TRUE(suite.frontend.fatal_errors[0].second.starts_with(u"Brix3 is not properly installed!\n"));
}

}  // namespace
}  // namespace applib
