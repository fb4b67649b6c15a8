#include "applib/ini.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "applib/paths.h"
#include "tests/applib/temp_dir.h"

namespace applib {
namespace {

using mission::ToUtf8;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

TEST(IniTest, LookupFollowsPrivateProfileRules) {
  const std::string content =
      "\xEF\xBB\xBF"
      "orphan=before any section\r\n"
      "[Display]\r\n"
      "; Mode=commented out\r\n"
      "  mode  =  3  \r\n"
      "Mode=second wins never\r\n"
      "Quoted=\"  spaced  \"\r\n"
      "Inner=a \"b\" c\r\n"
      "Twice=\"\"x\"\"\r\n"
      "Half=\"open\r\n"
      "Empty=\r\n"
      "Dollar=$\r\n"
      "Eq=a=b\r\n"
      "Tab=\tv\t\r\n"
      "  [ dirs ]  \r\n"
      "Last=C:\\Missions\\\n"
      "[Display]\n"
      "Other=in the second Display section\n";
  struct Case {
    Text section, key;
    std::optional<Text> want;
  };
  const Case cases[] = {
      {u"display", u"MODE", u"3"},
      {u"Display", u"Quoted", u"  spaced  "},
      {u"Display", u"Inner", u"a \"b\" c"},
      {u"Display", u"Twice", u"\"x\""},
      {u"Display", u"Half", u"\"open"},
      {u"Display", u"Empty", u""},
      {u"Display", u"Dollar", u"$"},
      {u"Display", u"Eq", u"a=b"},
      {u"Display", u"Tab", u"v"},
      {u"Dirs", u"Last", u"C:\\Missions\\"},
      {u"Display", u"Other", std::nullopt},  // only the first section counts
      {u"Display", u"orphan", std::nullopt},
      {u"Display", u"; Mode", std::nullopt},
      {u"Missing", u"Mode", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IniLookup(content, c.section, c.key), c.want) << ToUtf8(c.section) << "/" << ToUtf8(c.key);
  }
}

TEST(IniTest, LookupSurvivesGarbage) {
  const std::string garbage[] = {
      std::string("\0\0[\xff\xfe]\0=\0", 9),
      "[unterminated\nkey=value\n",
      "=\n==\n[]\n=x\n",
      "[S]\nno equals sign\n\xC3\x28=bad utf8\n",
      std::string(100000, '['),
  };
  for (const std::string& content : garbage) {
    EXPECT_EQ(IniLookup(content, u"S", u"key"), std::nullopt);
  }
  EXPECT_EQ(IniLookup("[unterminated\nkey=value\n", u"unterminated", u"key"), u"value");
  EXPECT_EQ(IniLookup("[S]\n\xC3\x28=bad utf8\n", u"S", u"\uFFFD("), u"bad utf8");
}

TEST(IniTest, ReadGivesEmptyForAbsentEmptyDollarAndMissingFiles) {
  TempDir dir;
  WriteFile(dir.path() / "x.ini", "[S]\nempty=\ndollar=$\nquoted=\"$\"\nvalue=v\n");
  std::filesystem::create_directory(dir.path() / "folder.ini");
  struct Case {
    Text file, key, want;
  };
  const Case cases[] = {
      {u"x.ini", u"value", u"v"},    {u"x.ini", u"absent", u""},    {u"x.ini", u"empty", u""},
      {u"x.ini", u"dollar", u""},    {u"x.ini", u"quoted", u""},    {u"missing.ini", u"value", u""},
      {u"folder.ini", u"value", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(IniRead(dir.text(), c.file, u"S", c.key), c.want) << ToUtf8(c.key);
  // An empty directory means the file name is the whole path.
  EXPECT_EQ(IniRead(u"", dir / u"x.ini", u"S", u"value"), u"v");
}

TEST(IniTest, LongValuesAreCutTo4095Characters) {
  TempDir dir;
  WriteFile(dir.path() / "x.ini", "[S]\nlong=" + std::string(5000, 'a') + "\nshort=" + std::string(4095, 'b') + "\n");
  EXPECT_EQ(IniRead(dir.text(), u"x.ini", u"S", u"long"), Text(4095, u'a'));
  EXPECT_EQ(IniRead(dir.text(), u"x.ini", u"S", u"short"), Text(4095, u'b'));
  // A cut never leaves half of a character that needs two 16-bit units.
  std::string emoji;
  for (int i = 0; i < 2100; ++i) emoji += "\xF0\x9F\x9A\x80";
  WriteFile(dir.path() / "y.ini", "[S]\nrocket=" + emoji + "\n");
  EXPECT_EQ(IniRead(dir.text(), u"y.ini", u"S", u"rocket").size(), 4094u);
}

TEST(IniTest, UpdateChangesOnlyTheOneLine) {
  struct Case {
    std::string name, before;
    Text section, key, value;
    std::string after;
  };
  const Case cases[] = {
      {"replace keeps everything else", "; top\n[A]\n  k = old ; not a comment\nz=1\n\n[B]\nk=b\n", u"a", u"K",
       u"new", "; top\n[A]\nK=new\nz=1\n\n[B]\nk=b\n"},
      {"new key goes after the section's last line", "[A]\nx=1\n\n\n[B]\ny=2\n", u"A", u"k", u"v",
       "[A]\nx=1\nk=v\n\n\n[B]\ny=2\n"},
      {"new key in an empty section", "[A]\n[B]\n", u"A", u"k", u"v", "[A]\nk=v\n[B]\n"},
      {"new section", "[A]\nx=1\n", u"B", u"k", u"v", "[A]\nx=1\n\n[B]\nk=v\n"},
      {"new section without final line break", "[A]\nx=1", u"B", u"k", u"v", "[A]\nx=1\n\n[B]\nk=v\n"},
      {"new key at the end without final line break", "[A]\nx=1", u"A", u"k", u"v", "[A]\nx=1\nk=v\n"},
      {"new file", "", u"Positions", u"TORVEK32", u"2,1,2,3,4", "[Positions]\nTORVEK32=2,1,2,3,4\n"},
      {"CR LF kept", "[A]\r\nx=1\r\n", u"A", u"k", u"v", "[A]\r\nx=1\r\nk=v\r\n"},
      {"first of two sections", "[A]\nk=1\n[A]\nk=2\n", u"A", u"k", u"3", "[A]\nk=3\n[A]\nk=2\n"},
      {"line breaks in a value", "", u"S", u"k", u"a\r\nb\nc", "[S]\nk=a  b c\n"},
      {"blanks at the ends are kept by quoting", "", u"S", u"k", u" a ", "[S]\nk=\" a \"\n"},
      {"quotes around a value survive", "", u"S", u"k", u"\"x\"", "[S]\nk=\"\"x\"\"\n"},
      {"names are trimmed", "", u" S ", u" k ", u"v", "[S]\nk=v\n"},
      {"bom kept", "\xEF\xBB\xBF[A]\nx=1\n", u"A", u"x", u"2", "\xEF\xBB\xBF[A]\nx=2\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IniUpdate(c.before, c.section, c.key, c.value), c.after) << c.name;
  }
}

TEST(IniTest, UpdateRejectsNamesThatCannotBeReadBack) {
  const std::pair<Text, Text> bad[] = {
      {u"", u"k"},         {u"  ", u"k"},      {u"a]b", u"k"},      {u"a\nb", u"k"},  {u"S", u""},
      {u"S", u" "},        {u"S", u"a=b"},     {u"S", u";comment"}, {u"S", u"[x"},    {u"S", u"a\r\nb"},
      {Text(u"S\0", 2), u"k"},
  };
  for (const auto& [section, key] : bad) {
    EXPECT_EQ(IniUpdate("[S]\nk=1\n", section, key, u"v"), std::nullopt) << ToUtf8(section) << "/" << ToUtf8(key);
  }
}

TEST(IniTest, WrittenValuesReadBackUnchanged) {
  TempDir dir;
  const Text values[] = {u"", u"plain", u" lead", u"trail\t", u"\"q\"", u"\"", u"a;b", u"=", u"[x]",
                         u"C:\\Suite\\", u"Grüße ✓", u"n/a"};
  for (const Text& value : values) {
    ASSERT_TRUE(IniWrite(dir.text(), u"t.ini", u"S", u"k", value));
    EXPECT_EQ(IniRead(dir.text(), u"t.ini", u"S", u"k"), value) << ToUtf8(value);
  }
}

TEST(IniTest, WriteJoinsDirectoryAndFile) {
  TempDir dir;
  EXPECT_TRUE(IniWrite(dir.text(), u"x.ini", u"S", u"k", u"1"));
  EXPECT_EQ(ReadFile(dir.path() / "x.ini"), "[S]\nk=1\n");
  EXPECT_TRUE(IniWrite(u"", dir / u"brix.cfg", u"Directories", u"Brix3", u"/x/"));
  EXPECT_EQ(ReadFile(dir.path() / "brix.cfg"), "[Directories]\nBrix3=/x/\n");
  EXPECT_FALSE(IniWrite(dir / u"missing", u"x.ini", u"S", u"k", u"1")) << "folders are not created";
  EXPECT_FALSE(IniWrite(dir.text(), u"x.ini", u"S", u"bad=key", u"1"));
  EXPECT_EQ(ReadFile(dir.path() / "x.ini"), "[S]\nk=1\n");
}

TEST(IniTest, WriteReplacesAtomicallyAndKeepsModeAndLinks) {
  TempDir dir;
  WriteFile(dir.path() / "real.ini", "[S]\nk=1\n");
  ::chmod((dir.path() / "real.ini").c_str(), 0640);
  std::filesystem::create_symlink("real.ini", dir.path() / "link.ini");
  EXPECT_TRUE(IniWrite(dir.text(), u"link.ini", u"S", u"k", u"2"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.ini"));
  EXPECT_EQ(ReadFile(dir.path() / "real.ini"), "[S]\nk=2\n");
  EXPECT_EQ(std::filesystem::status(dir.path() / "real.ini").permissions(),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                std::filesystem::perms::group_read);
  // Nothing but the two names is left in the folder.
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 2);
}

TEST(IniTest, WriteNeverClobbersWhatItCannotRead) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "folder.ini");
  EXPECT_FALSE(IniWrite(dir.text(), u"folder.ini", u"S", u"k", u"1"));
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "folder.ini"));

  WriteFile(dir.path() / "secret.ini", "[S]\nk=keep\n");
  ::chmod((dir.path() / "secret.ini").c_str(), 0200);  // writable, not readable
  ::chmod(dir.path().c_str(), 0777);
  const Text folder = dir.text();
  EXPECT_TRUE(testing::WithPermissionsEnforced(
      [&] { return !IniWrite(folder, u"secret.ini", u"S", u"k", u"new") && IniRead(folder, u"secret.ini", u"S", u"k").empty(); }));
  EXPECT_EQ(ReadFile(dir.path() / "secret.ini"), "[S]\nk=keep\n");
}

}  // namespace
}  // namespace applib
