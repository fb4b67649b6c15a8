#include "applib/paths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/applib/temp_dir.h"

namespace applib {
namespace {

using mission::ToUtf8;
using testing::TempDir;
using testing::WriteFile;

TEST(PathsTest, AddSlash) {
  const std::pair<Text, Text> cases[] = {
      {u"C:\\Games", u"C:\\Games\\"}, {u"C:\\Games\\", u"C:\\Games\\"}, {u"C:", u"C:"},
      {u"", u""},                     {u"/usr/share", u"/usr/share/"},  {u"C:\\a//b", u"C:\\a//b/"},
      {u"/usr/", u"/usr/"},           {u"ab", u"ab"},                   {u"abc", u"abc\\"},
      {u"C:\\a/", u"C:\\a/"},
  };
  for (const auto& [in, want] : cases) EXPECT_EQ(AddSlash(in), want) << ToUtf8(in);
}

TEST(PathsTest, SplitPath) {
  struct Case {
    Text path, directory, file;
  };
  const Case cases[] = {
      {u"C:\\Missions\\SM1-01.fs2", u"C:\\Missions\\", u"SM1-01.fs2"},
      {u"SM1-01.fs2", u"", u"SM1-01.fs2"},
      {u"/home/u/a b/x.fsm", u"/home/u/a b/", u"x.fsm"},
      {u"C:\\a/b\\c", u"C:\\a/b\\", u"c"},
      {u"dir/", u"dir/", u""},
      {u"", u"", u""},
  };
  for (const Case& c : cases) {
    Text directory = u"old", file = u"old";
    SplitPath(c.path, directory, file);
    EXPECT_EQ(directory, c.directory) << ToUtf8(c.path);
    EXPECT_EQ(file, c.file) << ToUtf8(c.path);
  }
}

TEST(PathsTest, ChangeExtensionUsesTheLastDot) {
  const std::tuple<Text, Text, Text> cases[] = {
      {u"splash.jpg", u"gif", u"splash.gif"},
      {u"splash", u"gif", u"splash.gif"},
      {u"a.b.c", u"reg", u"a.b.reg"},
      {u"torvk32", u"jpg", u"torvk32.jpg"},
  };
  for (const auto& [name, extension, want] : cases) EXPECT_EQ(ChangeExtension(name, extension), want);
  Text base, extension;
  SplitExtension(u"x.tar.gz", base, extension);
  EXPECT_EQ(base, u"x.tar");
  EXPECT_EQ(extension, u"gz");
}

TEST(PathsTest, BoolToBit) {
  EXPECT_EQ(BoolToBit(-1), 1);
  EXPECT_EQ(BoolToBit(5), 1);
  EXPECT_EQ(BoolToBit(0), 0);
}

TEST(PathsTest, FileExistsOnlyForOrdinaryFiles) {
  TempDir dir;
  WriteFile(dir.path() / "mission.fs2", "x");
  WriteFile(dir.path() / "a b \"q\".fsm", "x");
  std::filesystem::create_directory(dir.path() / "sub.fs2");
  ::mkfifo((dir.path() / "pipe").c_str(), 0600);
  const std::pair<Text, bool> cases[] = {
      {u"", false},
      {u"n/a", false},
      {u"   ", false},
      {dir / u"mission.fs2", true},
      {dir / u"a b \"q\".fsm", true},
      {dir / u"missing.fs2", false},
      {dir / u"sub.fs2", false},
      {dir.text(), false},
      {dir / u"pipe", false},
      {dir / u"*.fs2", true},  // only the file matches; the folder does not count
      {dir / u"m?ssion.*", true},
      {dir / u"*.xyz", false},
      {dir / u"missing/*", false},
  };
  for (const auto& [path, want] : cases) EXPECT_EQ(FileExists(path), want) << ToUtf8(path);
}

TEST(PathsTest, KillFileDeletesReadOnlyFilesAndLeavesFoldersAlone) {
  TempDir dir;
  WriteFile(dir.path() / "ro.txt", "x");
  ::chmod((dir.path() / "ro.txt").c_str(), 0400);
  std::filesystem::create_directory(dir.path() / "sub");
  KillFile(dir / u"ro.txt");
  KillFile(dir / u"sub");
  KillFile(dir / u"missing");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "ro.txt"));
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "sub"));
}

TEST(PathsTest, DirectoryLevelsParentsFirst) {
  using Levels = std::vector<Text>;
  const std::pair<Text, Levels> cases[] = {
      {u"D:\\a\\b\\c", {u"D:\\a", u"D:\\a\\b", u"D:\\a\\b\\c"}},
      {u"D:\\a\\b\\", {u"D:\\a", u"D:\\a\\b\\"}},
      {u"/a/b/c", {u"/a", u"/a/b", u"/a/b/c"}},
      {u"/a/b/", {u"/a", u"/a/b/"}},
      {u"rel/x", {u"rel", u"rel/x"}},
      {u"/", {u"/"}},
      {u"", {}},
  };
  for (const auto& [in, want] : cases) EXPECT_EQ(DirectoryLevels(in), want) << ToUtf8(in);
}

TEST(PathsTest, MakeDirsCreatesEveryLevelAndLeavesNoProbe) {
  TempDir dir;
  const Text target = dir / u"a/b c/d";
  EXPECT_TRUE(MakeDirs(target));
  EXPECT_TRUE(std::filesystem::is_directory(ToFsPath(target)));
  EXPECT_FALSE(std::filesystem::exists(ToFsPath(target) / "mscreate.dir"));
  EXPECT_TRUE(MakeDirs(target + u"/")) << "an existing folder is fine";
}

TEST(PathsTest, MakeDirsIsFalseWhereNothingCanBeWritten) {
  TempDir dir;
  WriteFile(dir.path() / "file", "x");
  EXPECT_FALSE(MakeDirs(dir / u"file/sub")) << "a file in the way";
  EXPECT_FALSE(MakeDirs(dir / u"file"));

  std::filesystem::create_directory(dir.path() / "ro");
  ::chmod(dir.path().c_str(), 0755);
  ::chmod((dir.path() / "ro").c_str(), 0555);
  const Text read_only = dir / u"ro";
  EXPECT_TRUE(testing::WithPermissionsEnforced([&] {
    return !MakeDirs(read_only) && !MakeDirs(read_only + u"/new") &&
           !std::filesystem::exists(ToFsPath(read_only) / "new");
  }));
}

}  // namespace
}  // namespace applib
