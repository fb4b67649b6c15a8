#include "applib/association.h"

#include <gtest/gtest.h>

#include "tests/applib/suite_fixture.h"

namespace applib {
namespace {

using mission::ToUtf8;
using testing::ReadFile;
using testing::Suite;

constexpr TextView kExpectedScript =
    u"REGEDIT4\r\n"
    u"\r\n"
    u"[HKEY_CLASSES_ROOT\\.FSM]\r\n"
    u"@=\"Veltrane_Suite.TORVEK32\"\r\n"
    u"\r\n"
    u"[HKEY_CLASSES_ROOT\\.FS2]\r\n"
    u"@=\"Veltrane_Suite.TORVEK32\"\r\n"
    u"\r\n"
    u"[HKEY_CLASSES_ROOT\\Veltrane_Suite.TORVEK32]\r\n"
    u"@=\"FreeSpace mission data file\"\r\n"
    u"\r\n"
    u"[HKEY_CLASSES_ROOT\\Veltrane_Suite.TORVEK32\\shell]\r\n"
    u"\r\n"
    u"[HKEY_CLASSES_ROOT\\Veltrane_Suite.TORVEK32\\shell\\open]\r\n"
    u"@=\"\"\r\n"
    u"\r\n"
    u"[HKEY_CLASSES_ROOT\\Veltrane_Suite.TORVEK32\\shell\\open\\command]\r\n"
    u"@=\"C:\\\\Suite\\\\TORVK32\\\\TORVK32.exe \\\"%1\\\"\"";

Text Script(TextView extra, TextView program, TextView e1 = u"FSM", TextView e2 = u"FS2", TextView e3 = u"") {
  return AssociationScript(MakeDocumentType(u"open", u"Veltrane_Suite.TORVEK32", u"FreeSpace mission data file", extra,
                                            e1, e2, e3, program));
}

// The last line of a script: the command value.
Text CommandLine(const Text& script) { return script.substr(script.rfind(u"\r\n") + 2); }

TEST(AssociationTest, ScriptIsExactlyTheRegistryEditorText) {
  EXPECT_EQ(Script(u"", u"C:\\Suite\\TORVK32\\TORVK32.exe"), kExpectedScript);
  EXPECT_EQ(Script(u"n/a", u"C:\\Suite\\TORVK32\\TORVK32.exe"), kExpectedScript) << "n/a is no argument";
}

TEST(AssociationTest, ExtensionsAndCommands) {
  const Text three = Script(u"", u"/x", u"", u"FS2", u"TBL");
  EXPECT_EQ(three.find(u"[HKEY_CLASSES_ROOT\\.]"), Text::npos);
  EXPECT_NE(three.find(u"\\.FS2]\r\n@=\"Veltrane_Suite.TORVEK32\"\r\n\r\n[HKEY_CLASSES_ROOT\\.TBL]"), Text::npos);

  const std::pair<Text, Text> commands[] = {
      {u"C:\\Suite\\TORVK32.exe", u"@=\"C:\\\\Suite\\\\TORVK32.exe -v \\\"%1\\\"\""},
      {u"/home/me/My Suite/torvk32", u"@=\"\\\"/home/me/My Suite/torvk32\\\" -v \\\"%1\\\"\""},
      {u"/opt/a\"b/torvk32", u"@=\"\\\"/opt/a\\\\\\\"b/torvk32\\\" -v \\\"%1\\\"\""},
  };
  for (const auto& [program, want] : commands) EXPECT_EQ(CommandLine(Script(u"-v", program)), want) << ToUtf8(program);
}

TEST(AssociationTest, CommandLineQuoting) {
  const std::pair<Text, Text> cases[] = {
      {u"C:\\Suite\\x.exe", u"C:\\Suite\\x.exe"},
      {u"", u"\"\""},
      {u"a b", u"\"a b\""},
      {u"a\"b", u"\"a\\\"b\""},
      {u"a b\\", u"\"a b\\\\\""},
      {u"a\\\\\"b", u"\"a\\\\\\\\\\\"b\""},
      {u"a\\b c", u"\"a\\b c\""},
  };
  for (const auto& [in, want] : cases) EXPECT_EQ(CommandLineQuote(in), want) << ToUtf8(in);
  EXPECT_EQ(RegistryEscape(u"C:\\a \"b\""), u"C:\\\\a \\\"b\\\"");
}

TEST(AssociationTest, AssociateWritesTheScriptAndImportsIt) {
  Suite suite;
  suite.SetBrix(u"Moduls_Dirs", u"TORVK32", suite.root / u"My Suite/torvk32");
  ASSERT_EQ(suite.Init(), std::nullopt);
  for (int i = 0; i < 2; ++i) {
    AssociateFileType(suite.lib, u"open", u"Veltrane_Suite.TORVEK32", u"FreeSpace mission data file", u"", u"FSM",
                      u"FS2", u"");
  }
  const Text path = suite.root / u"lib/shell/torvk32.reg";
  EXPECT_EQ(AssociationScriptPath(suite.lib), path);
  EXPECT_EQ(ReadFile(ToFsPath(path)),
            ToUtf8(Script(u"", suite.root / u"My Suite/torvk32/torvk32"))) << "twice gives the same script";
  ASSERT_EQ(suite.platform.registered.size(), 2u);
  for (const auto& [type, script_path] : suite.platform.registered) {
    EXPECT_EQ(script_path, path);
    EXPECT_EQ(type.program, suite.root / u"My Suite/torvk32/torvk32");
    EXPECT_EQ(type.extensions, (std::vector<Text>{u"FSM", u"FS2"}));
    EXPECT_EQ(ToUtf8(AssociationScript(type)), ReadFile(ToFsPath(path))) << "the type the script was written from";
  }
  EXPECT_FALSE(std::filesystem::exists(suite.root.path() / "lib" / "shell" / "mscreate.dir"));
}

}  // namespace
}  // namespace applib
