#include "applib/freedesktop.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <utility>

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

DocumentType Type(TextView program, TextView extra = u"") {
  return MakeDocumentType(u"open", u"Veltrane_Suite.TORVEK32", u"FreeSpace mission data file", extra, u"FSM", u"FS2",
                          u"", program);
}

// The arguments of an Exec value as a launcher reads them (the Desktop Entry
// rules): string escapes undone, then blanks separate arguments, double
// quotes group, a backslash inside them takes the next character literally,
// and "%%" is a percent sign.
std::vector<Text> ExecArguments(TextView exec) {
  Text line;
  for (std::size_t i = 0; i < exec.size(); ++i) {
    if (exec[i] != u'\\' || i + 1 == exec.size()) {
      line += exec[i];
      continue;
    }
    const char16_t c = exec[++i];
    line += c == u's' ? u' ' : c == u'n' ? u'\n' : c == u't' ? u'\t' : c == u'r' ? u'\r' : c;
  }
  std::vector<Text> args;
  Text arg;
  bool open = false, quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char16_t c = line[i];
    if (quoted) {
      if (c == u'\\' && i + 1 < line.size()) {
        arg += line[++i];
      } else if (c == u'"') {
        quoted = false;
      } else {
        arg += c;
      }
    } else if (c == u' ') {
      if (open) args.push_back(std::exchange(arg, Text()));
      open = false;
    } else {
      open = true;
      if (c == u'"') {
        quoted = true;
      } else {
        arg += c;
      }
    }
  }
  if (open) args.push_back(arg);
  for (Text& a : args) {
    for (std::size_t at = a.find(u"%%"); at != Text::npos; at = a.find(u"%%", at + 1)) a.erase(at, 1);
  }
  return args;
}

TEST(FreedesktopTest, DesktopExecQuoting) {
  const std::pair<DocumentType, Text> cases[] = {
      {Type(u"/usr/bin/torvk32"), u"/usr/bin/torvk32 %f"},
      {Type(u"/a b/t"), u"\"/a b/t\" %f"},
      {Type(u"/a\"b/t"), u"\"/a\\\\\"b/t\" %f"},
      {Type(u"/a$b/t"), u"\"/a\\\\$b/t\" %f"},
      {Type(u"/a\\b/t"), u"\"/a\\\\\\\\b/t\" %f"},
      {Type(u"/100%/t"), u"/100%%/t %f"},
      {Type(u"/x/t", u" -v\t --x "), u"/x/t -v --x %f"},
      {Type(u"/x/t", u"n/a"), u"/x/t %f"},
  };
  for (const auto& [type, want] : cases) EXPECT_EQ(DesktopExec(type), want) << ToUtf8(want);
}

// Whatever the program's folder is called, a launcher gets back the program,
// the extra arguments and the document.
TEST(FreedesktopTest, ExecGivesTheLauncherTheProgramBack) {
  const Text programs[] = {
      u"/usr/bin/torvk32",       u"/home/me/My Suite/torvk32", u"/home/me/it's \"q\"/torvk32",
      u"/x/back\\slash dir\\/t", u"/x/$HOME `id` %u ;&|*?#()<>~/t", u"/x/Grüße/t",
      u"C:\\Suite\\TORVK32.exe", u"/trailing\\",
  };
  for (const Text& program : programs) {
    EXPECT_EQ(ExecArguments(DesktopExec(Type(program, u"-v"))), (std::vector<Text>{program, u"-v", u"%f"}))
        << ToUtf8(program);
  }
}

TEST(FreedesktopTest, MimeAndDesktopNames) {
  EXPECT_EQ(MimeTypeName(u"Veltrane_Suite.TORVEK32"), u"application/x-veltrane_suite.torvek32");
  EXPECT_EQ(DesktopId(u"Veltrane_Suite.TORVEK32"), u"veltrane_suite.torvek32");
  EXPECT_EQ(DesktopId(u"a/b c"), u"a_b_c");
}

// The files of the type that the association registers, for a program in a
// folder whose name has spaces, quotes, "$" and a backslash.
class ApplyTest : public ::testing::Test {
 protected:
  void SetUp() override { type = Type(root / u"My \"Suite\" $HOME it's\\x/torvk32"); }

  Text Data() const { return root / u"data"; }
  Text Config() const { return root / u"config"; }
  std::filesystem::path DesktopFile() const {
    return ToFsPath(Data()) / "applications" / "veltrane_suite.torvek32.desktop";
  }

  TempDir root;
  DocumentType type;
  testing::FakePlatform platform;
};

// Campaign files open with the program on the desktop; the registry script
// keeps its two extensions.
TEST(FreedesktopTest, MimePackageWithDesktopExtensions) {
  DocumentType type = Type(u"/opt/torvk32");
  type.desktopExtensions = {u"FC2", u"FSC"};
  const std::string xml = MimePackage(type);
  EXPECT_NE(xml.find("    <glob pattern=\"*.fs2\"/>\n    <glob pattern=\"*.fc2\"/>\n    <glob pattern=\"*.fsc\"/>\n"),
            std::string::npos)
      << xml;
  EXPECT_EQ(AssociationScript(type), AssociationScript(Type(u"/opt/torvk32")));
}

TEST_F(ApplyTest, WritesMimePackageDesktopEntryAndDefault) {
  ASSERT_TRUE(ApplyDocumentType(type, Data(), Config(), platform));
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

TEST_F(ApplyTest, KeepsOtherAssociationsOfTheUser) {
  std::filesystem::create_directories(ToFsPath(Config()));
  WriteFile(ToFsPath(Config()) / "mimeapps.list",
            "[Default Applications]\ntext/plain=editor.desktop\n\n[Added Associations]\n"
            "application/x-veltrane_suite.torvek32=fred2.desktop;veltrane_suite.torvek32.desktop;\n");
  ASSERT_TRUE(ApplyDocumentType(type, Data(), Config(), platform));
  ASSERT_TRUE(ApplyDocumentType(type, Data(), Config(), platform));
  EXPECT_EQ(ReadFile(ToFsPath(Config()) / "mimeapps.list"),
            "[Default Applications]\ntext/plain=editor.desktop\n"
            "application/x-veltrane_suite.torvek32=veltrane_suite.torvek32.desktop\n\n[Added Associations]\n"
            "application/x-veltrane_suite.torvek32=veltrane_suite.torvek32.desktop;fred2.desktop;\n");
}

TEST_F(ApplyTest, FilesThatCannotBeWrittenAreReported) {
  WriteFile(ToFsPath(Data()), "a file where the data folder should be");
  EXPECT_FALSE(ApplyDocumentType(type, Data(), Config(), platform));
}

TEST_F(ApplyTest, DesktopToolsAcceptTheFiles) {
  if (FindProgram(u"desktop-file-validate").empty() || FindProgram(u"update-mime-database").empty()) {
    GTEST_SKIP() << "desktop-file-utils or shared-mime-info not installed";
  }
  ASSERT_TRUE(ApplyDocumentType(type, Data(), Config(), platform));
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
