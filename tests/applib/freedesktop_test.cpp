#include "applib/freedesktop.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "applib/association.h"
#include "applib/ini.h"
#include "applib/linux_platform.h"
#include "tests/applib/fakes.h"
#include "tests/applib/temp_dir.h"

namespace applib {
namespace {

using mission::ToUtf8;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// Runs a shell command line; its output and exit status.
std::pair<std::string, int> RunShell(const std::string& command) {
  std::string output;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return {"", -1};
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  const int status = ::pclose(pipe);
  return {output, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

std::string ShellQuote(const std::filesystem::path& path) {
  std::string out = "'";
  for (const char c : path.string()) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

TEST(FreedesktopTest, SplitCommandLine) {
  using Args = std::vector<Text>;
  const std::pair<Text, Args> cases[] = {
      {u"a b  c", {u"a", u"b", u"c"}},
      {u"\"a b\" \"%1\"", {u"a b", u"%1"}},
      {u"a\\b \"c\\\\\" d", {u"a\\b", u"c\\", u"d"}},
      {u"\"a\\\"b\"", {u"a\"b"}},
      {u"x\"y z\"w", {u"xy zw"}},
      {u"\"\"", {u""}},
      {u"  ", {}},
      {u"\"unclosed arg", {u"unclosed arg"}},
  };
  for (const auto& [in, want] : cases) EXPECT_EQ(SplitCommandLine(in), want) << ToUtf8(in);
}

TEST(FreedesktopTest, DesktopExecQuoting) {
  using Args = std::vector<Text>;
  const std::pair<Args, Text> cases[] = {
      {{u"/usr/bin/torvk32", u"%1"}, u"/usr/bin/torvk32 %f"},
      {{u"/a b/t", u"%1"}, u"\"/a b/t\" %f"},
      {{u"/a\"b/t"}, u"\"/a\\\\\"b/t\""},
      {{u"/a$b/t"}, u"\"/a\\\\$b/t\""},
      {{u"/a\\b/t"}, u"\"/a\\\\\\\\b/t\""},
      {{u"/100%/t"}, u"/100%%/t"},
      {{u"/x/t", u"-v", u""}, u"/x/t -v \"\""},
  };
  for (const auto& [argv, want] : cases) EXPECT_EQ(DesktopExec(argv), want) << ToUtf8(want);
}

TEST(FreedesktopTest, ParseTakesClassesRootAssociationsOnly) {
  const Text script =
      u"REGEDIT4\n\n"
      u"[HKEY_CLASSES_ROOT\\.fsm]\n@=\"My.Type\"\n\n"
      u"[hkey_classes_root\\.FS2]\n@=\"my.type\"\n\n"
      u"[HKEY_CLASSES_ROOT\\.orphan]\n@=\"No.Command\"\n\n"
      u"[HKEY_CLASSES_ROOT\\No.Command]\n@=\"nothing to run\"\n\n"
      u"[HKEY_LOCAL_MACHINE\\.tbl]\n@=\"My.Type\"\n\n"
      u"[HKEY_CLASSES_ROOT\\My.Type]\n@=\"A \\\"quoted\\\" type\"\n\"Other\"=\"ignored\"\n\n"
      u"[HKEY_CLASSES_ROOT\\My.Type\\shell\\edit\\command]\n@=\"/bin/edit \\\"%1\\\"\"\n"
      u"[HKEY_CLASSES_ROOT\\My.Type\\shell\\open\\command]\n@=\"/bin/open \\\"%1\\\"\"\n";
  const auto types = ParseRegistryScript(script);
  ASSERT_EQ(types.size(), 1u);
  EXPECT_EQ(types[0].program_id, u"My.Type");
  EXPECT_EQ(types[0].description, u"A \"quoted\" type");
  EXPECT_EQ(types[0].extensions, (std::vector<Text>{u"fsm", u"FS2"}));
  EXPECT_EQ(types[0].command, u"/bin/open \"%1\"") << "open is preferred";
  EXPECT_TRUE(ParseRegistryScript(u"garbage\n[\n@=\n[HKEY_CLASSES_ROOT\\.x]\n@=unquoted\n").empty());
}

TEST(FreedesktopTest, MimeAndDesktopNames) {
  EXPECT_EQ(MimeTypeName(u"Veltrane_Suite.TORVEK32"), u"application/x-veltrane_suite.torvek32");
  EXPECT_EQ(DesktopId(u"Veltrane_Suite.TORVEK32"), u"veltrane_suite.torvek32");
  EXPECT_EQ(DesktopId(u"a/b c"), u"a_b_c");
}

// The importer on the script that the association writes, for a program in
// a folder whose name has spaces, quotes, "$" and a backslash.
class ImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program = root / u"My \"Suite\" $HOME it's\\x/torvk32";
    script = root / u"torvk32.reg";
    WriteFile(ToFsPath(script), ToUtf8(AssociationScript(u"open", u"Veltrane_Suite.TORVEK32",
                                                        u"FreeSpace mission data file", u"", u"FSM", u"FS2", u"",
                                                        program)));
  }

  Text Data() const { return root / u"data"; }
  Text Config() const { return root / u"config"; }
  std::filesystem::path DesktopFile() const {
    return ToFsPath(Data()) / "applications" / "veltrane_suite.torvek32.desktop";
  }

  TempDir root;
  Text program, script;
  testing::FakePlatform platform;
};

TEST_F(ImportTest, WritesMimePackageDesktopEntryAndDefault) {
  ASSERT_TRUE(ImportRegistryScript(script, Data(), Config(), platform));
  EXPECT_EQ(ReadFile(ToFsPath(Data()) / "mime" / "packages" / "veltrane_suite.torvek32.xml"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
            "  <mime-type type=\"application/x-veltrane_suite.torvek32\">\n"
            "    <comment>FreeSpace mission data file</comment>\n"
            "    <sub-class-of type=\"text/plain\"/>\n"
            "    <glob pattern=\"*.fsm\"/>\n"
            "    <glob pattern=\"*.fs2\"/>\n"
            "  </mime-type>\n"
            "</mime-info>\n");
  const std::string desktop = ReadFile(DesktopFile());
  const std::string folder = ToUtf8(root.text());
  EXPECT_NE(desktop.find("\nExec=\"" + folder + "/My \\\\\"Suite\\\\\" \\\\$HOME it's\\\\\\\\x/torvk32\" %f\n"),
            std::string::npos)
      << desktop;
  EXPECT_NE(desktop.find("\nMimeType=application/x-veltrane_suite.torvek32;\n"), std::string::npos);
  EXPECT_EQ(IniRead(Config(), u"mimeapps.list", u"Default Applications", u"application/x-veltrane_suite.torvek32"),
            u"veltrane_suite.torvek32.desktop");
  const std::vector<std::vector<Text>> started = {{u"update-mime-database", Data() + u"/mime"},
                                                  {u"update-desktop-database", Data() + u"/applications"}};
  EXPECT_EQ(platform.started, started);
}

TEST_F(ImportTest, KeepsOtherAssociationsOfTheUser) {
  std::filesystem::create_directories(ToFsPath(Config()));
  WriteFile(ToFsPath(Config()) / "mimeapps.list",
            "[Default Applications]\ntext/plain=editor.desktop\n\n[Added Associations]\n"
            "application/x-veltrane_suite.torvek32=fred2.desktop;veltrane_suite.torvek32.desktop;\n");
  ASSERT_TRUE(ImportRegistryScript(script, Data(), Config(), platform));
  ASSERT_TRUE(ImportRegistryScript(script, Data(), Config(), platform));
  EXPECT_EQ(ReadFile(ToFsPath(Config()) / "mimeapps.list"),
            "[Default Applications]\ntext/plain=editor.desktop\n"
            "application/x-veltrane_suite.torvek32=veltrane_suite.torvek32.desktop\n\n[Added Associations]\n"
            "application/x-veltrane_suite.torvek32=veltrane_suite.torvek32.desktop;fred2.desktop;\n");
}

TEST_F(ImportTest, MissingScriptWritesNothing) {
  EXPECT_FALSE(ImportRegistryScript(root / u"missing.reg", Data(), Config(), platform));
  EXPECT_FALSE(std::filesystem::exists(ToFsPath(Data())));
}

TEST_F(ImportTest, DesktopToolsAcceptTheFiles) {
  if (FindProgram(u"desktop-file-validate").empty() || FindProgram(u"update-mime-database").empty()) {
    GTEST_SKIP() << "desktop-file-utils or shared-mime-info not installed";
  }
  ASSERT_TRUE(ImportRegistryScript(script, Data(), Config(), platform));
  const auto [report, status] = RunShell("desktop-file-validate " + ShellQuote(DesktopFile()));
  EXPECT_EQ(status, 0) << report;
  EXPECT_EQ(report, "");
  // The MIME database built from the package knows both globs and the parent.
  const auto mime = ToFsPath(Data()) / "mime";
  const auto [output, built] = RunShell("update-mime-database " + ShellQuote(mime));
  ASSERT_EQ(built, 0) << output;
  const std::string globs = ReadFile(mime / "globs2");
  EXPECT_NE(globs.find(":application/x-veltrane_suite.torvek32:*.fsm"), std::string::npos) << globs;
  EXPECT_NE(globs.find(":application/x-veltrane_suite.torvek32:*.fs2"), std::string::npos) << globs;
  EXPECT_NE(ReadFile(mime / "subclasses").find("application/x-veltrane_suite.torvek32 text/plain"), std::string::npos);
}

}  // namespace
}  // namespace applib
