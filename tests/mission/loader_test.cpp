#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "mission/mission.h"

namespace mission {
namespace {

namespace fs = std::filesystem;

std::vector<Text> Lines(const Mission& m, int slot) {
  const LineList& list = m.Sections().Slot(slot);
  std::vector<Text> out;
  for (std::size_t i = 0; i < list.Count(); ++i) out.emplace_back(list[i]);
  return out;
}

// The tree as indented "text [slot]" lines, "text [slot,n]" for the n-th
// entry of a section and its fields, for compact comparisons.
std::vector<std::string> Outline(const OutlineTree& tree) {
  std::vector<std::string> out;
  auto walk = [&](auto&& self, std::uint32_t node, int depth) -> void {
    out.push_back(std::string(static_cast<std::size_t>(depth) * 2, ' ') + ToUtf8(tree.NodeText(node)) + " [" +
                  std::to_string(tree.Node(node).slot) +
                  (tree.Node(node).entry > 0 ? "," + std::to_string(tree.Node(node).entry) : "") + "]");
    for (std::uint32_t child : tree.Children(node)) self(self, child, depth + 1);
  };
  for (std::uint32_t root : tree.Roots()) walk(walk, root, 0);
  return out;
}

using Strings = std::vector<std::string>;
using Texts = std::vector<Text>;

TEST(LoaderTest, MissionInfoStoreAndTree) {
  const Mission m = ParseMissionBytes("#Mission Info\r\n$Version: 0.10\r\n$Name: Test\r\n$Author: Me\r\n");
  EXPECT_EQ(Lines(m, kSlotMissionInfo), (Texts{u"$Version: 0.10", u"$Name: Test", u"$Author: Me"}));
  EXPECT_EQ(Outline(m.Tree()),
            (Strings{"Mission Info [8]", "  Name: Test [8,1]", "    Version: 0.10 [8,1]", "    Author: Me [8,1]"}));
}

// How single lines of a section are stored.
TEST(LoaderTest, LineCleaning) {
  struct Case {
    std::string line;
    Texts stored;  // what slot 4 holds after "#Events" and this line
  };
  const Case cases[] = {
      {"$Name: Alpha 1 ; escort", {u"$Name: Alpha 1 "}},
      {";; saved by the editor", {u""}},
      {"\t\t$Formula: ( when", {u"$Formula: ( when"}},
      {"a\tb\tc", {u"abc"}},
      {"  #Events", {u"  #Events"}},
      {"$Name: \"a;b\"", {u"$Name: \"a"}},
      {"", {u""}},
      {"#Events", {}},
      {"#End", {}},
  };
  for (const Case& c : cases) {
    const Mission m = ParseMissionBytes("#Events\n" + c.line + "\n");
    EXPECT_EQ(Lines(m, kSlotEvents), c.stored) << c.line;
  }
}

TEST(LoaderTest, SectionHeaders) {
  struct Case {
    std::string file;
    int slot;
    Texts stored;
  };
  const Case cases[] = {
      {"#OBJECTS\n$Name: A\n", kSlotObjects, {u"$Name: A"}},
      {"#Objects\n$Name: A\n", kSlotObjects, {u"$Name: A"}},
      // "Events " with its trailing space is not a known section.
      {"#Events ;comment\n$Formula: x\n", kSlotEvents, {}},
      {"#Events\nx\n#End\ny\n", kSlotEvents, {u"x"}},
      {";; saved by the editor\n#Events\nx\n", kSlotEvents, {u"x"}},
      {"#Events\na\n#Goals\nb\n#Events\nc\n", kSlotEvents, {u"a", u"c"}},
      {"#Reinforcements\nr\n", kSlotReinforcements, {u"r"}},
      {"#Players\np\n", kSlotPlayers, {u"p"}},
      {"#Music\nm\n", kSlotMusic, {u"m"}},
      {"#Wings\nw\n", kSlotWings, {u"w"}},
      {"#Messages\nm\n", kSlotMessages, {u"m"}},
      {"#Goals\ng\n", kSlotGoals, {u"g"}},
  };
  for (const Case& c : cases) {
    const Mission m = ParseMissionBytes(c.file);
    EXPECT_EQ(Lines(m, c.slot), c.stored) << c.file;
  }
}

TEST(LoaderTest, LineEnds) {
  const std::pair<std::string, Texts> cases[] = {
      {"#Events\r\na\r\nb\r\n", {u"a", u"b"}},
      {"#Events\ra\rb", {u"a", u"b"}},
      {"#Events\na\nb\n", {u"a", u"b"}},
      {"#Events\r\na\r\r\nb\n\rc", {u"a", u"", u"b", u"", u"c"}},
      {"#Events\n\n", {u""}},
      {"#Events", {}},
  };
  for (const auto& [file, stored] : cases) EXPECT_EQ(Lines(ParseMissionBytes(file), kSlotEvents), stored);
}

// The file's own lines, numbered as an editor numbers them: every line, also
// those before the first header, headers and lines of sections the store
// does not keep, with comments cut and tabs removed as in the store.
TEST(LoaderTest, FileLinesKeepEveryLineWithItsNumber) {
  const std::pair<std::string, Texts> cases[] = {
      {"a ; note\r\n#Sexp_variables\r\n\t\t0\t\t\"V\"\r\n\r\n#Events\r\n$Formula: ( true )\r\n",
       {u"a ", u"#Sexp_variables", u"0\"V\"", u"", u"#Events", u"$Formula: ( true )"}},
      {"x\ry\n\nz", {u"x", u"y", u"", u"z"}},
      {"#Events\r\n", {u"#Events"}},
      {"", {}},
  };
  for (const auto& [file, lines] : cases) {
    const Mission m = ParseMissionBytes(file);
    Texts got;
    for (std::size_t n = 1; n <= m.FileLineCount(); ++n) got.emplace_back(m.FileLine(n));
    EXPECT_EQ(got, lines);
  }
}

// Every header opens a section, also one the store does not keep; a section
// ends where the next begins, the last one past the file's last line.
TEST(LoaderTest, SectionBlocksAndTheirLines) {
  const struct {
    std::string file;
    std::vector<std::string> blocks;  // "name header end"
  } cases[] = {
      {"a\r\n#Briefing\r\n$start_stage\r\n#Events ; c\r\n+Name: E\r\n#\r\n",
       {"Briefing 2 4", "Events  4 6", " 6 7"}},
      {"#Sexp_variables\r\n(\r\n", {"Sexp_variables 1 3"}},
      {"no header\r\n", {}},
      {"", {}},
  };
  for (const auto& c : cases) {
    const Mission m = ParseMissionBytes(c.file);
    std::vector<std::string> got;
    for (const SectionBlock& b : m.Blocks())
      got.push_back(ToUtf8(m.BlockName(b)) + " " + std::to_string(b.header) + " " + std::to_string(b.end));
    EXPECT_EQ(got, c.blocks) << c.file;
  }
  // A formula outside the store is read from a list of the file's lines,
  // which never runs past the file.
  const Mission m = ParseMissionBytes("#Briefing\r\n$Formula: ( true\r\n  )\r\n");
  const LineList lines = m.FileLines(2, 10);
  ASSERT_EQ(lines.Count(), 2u);
  EXPECT_EQ(lines.Line(1), u"$Formula: ( true");
  EXPECT_EQ(lines.Line(2), u"  )");
  EXPECT_TRUE(m.FileLines(5, 9).Empty());
  EXPECT_TRUE(m.FileLines(0, 1).Empty());
}

// Text is counted in 16-bit characters: cutting a key off a line removes
// characters, not bytes, whichever encoding the file had.
TEST(LoaderTest, CountsCharactersNotBytes) {
  for (const std::string& file : {std::string("#Events\n+Name:\xC3\xA9\xE2\x80\xA6\n"),   // UTF-8
                                 std::string("#Events\n+Name:\xE9\x85\n")}) {            // Windows-1252
    const Mission m = ParseMissionBytes(file);
    EXPECT_EQ(Lines(m, kSlotEvents), (Texts{u"+Name:é…"}));
    EXPECT_EQ(Outline(m.Tree()), (Strings{"Events [4]", "  Name:é… [4,1]"}));
    EXPECT_EQ(m.Sections().Slot(kSlotEvents)[0].substr(7), u"…");
  }
  const Mission m = ParseMissionBytes("#Messages\n$MessageNew: \xC3\x84\xE2\x80\xA6\n");
  EXPECT_EQ(m.Sections().Slot(kSlotMessages)[0].substr(13), u"Ä…");
}

TEST(LoaderTest, TreeEntriesAndFields) {
  const Mission m = ParseMissionBytes(
      "#Objects\n$Name: Alpha 1\n$Class: X\n  indented\n$Name: Alpha 2\n+Initial Hull: 5\n"
      "#Events\n$Formula: ( true )\n+Name: E1\n$Formula: ( false )\n+Name: E2\n"
      "#Briefing\n$start_briefing\n$Name: odd\n$x: 1\n"
      "#Objects\n$Name: Alpha 3\n");
  EXPECT_EQ(Outline(m.Tree()), (Strings{
                                   "Objects [3]",
                                   "  Name: Alpha 1 [3,1]",
                                   "    Class: X [3,1]",
                                   "  Name: Alpha 2 [3,2]",
                                   "    Initial Hull: 5 [3,2]",
                                   // A repeated section reuses its node and counts afresh.
                                   "  Name: Alpha 3 [3,1]",
                                   // Fields before an entry's name hang under that name.
                                   "Events [4]",
                                   "  Name: E1 [4,1]",
                                   "    Formula: ( true ) [4,1]",
                                   "  Name: E2 [4,2]",
                                   "    Formula: ( false ) [4,2]",
                                   "Briefing [0]",
                                   "  Name: odd [0,1]",
                                   "    start_briefing [0,1]",
                                   "    x: 1 [0,1]",
                               }));
  // Nodes are numbered in the order they were added.
  EXPECT_EQ(ToUtf8(m.Tree().NodeText(m.Tree().Size() - 1)), "Name: Alpha 3");
}

// Entries that open with another field than their name (an event's formula,
// a goal's type): the block's first field line gives the opening key, and the
// fields from a line with that key up to the next name hang under that name.
TEST(LoaderTest, LeadingFieldsHangUnderTheirOwnName) {
  struct Case {
    std::string name, file;
    Strings outline;
  };
  const Case cases[] = {
      {"events", "#Events\n$Formula: ( when\n( true )\n( do-nothing ) )\n+Name: A\n+Repeat Count: 1\n"
                 "$Formula: ( true )\n+Name: B\n",
       {"Events [4]", "  Name: A [4,1]", "    Formula: ( when [4,1]", "    Repeat Count: 1 [4,1]",
        "  Name: B [4,2]", "    Formula: ( true ) [4,2]"}},
      {"goals", "#Goals\n$Type: Primary\n+Name: G1\n$MessageNew: m\n$Type: Secondary\n+Name: G2\n",
       {"Goals [1]", "  Name: G1 [1,1]", "    Type: Primary [1,1]", "    MessageNew: m [1,1]", "  Name: G2 [1,2]",
        "    Type: Secondary [1,2]"}},
      // Every field from the opening one to the name joins the run, a second
      // line with the opening key too; a name without leading fields has none.
      {"run", "#Events\n$Formula: a\n+Extra: x\n$Formula: b\n+Name: E\n+Name: F\n",
       {"Events [4]", "  Name: E [4,1]", "    Formula: a [4,1]", "    Extra: x [4,1]", "    Formula: b [4,1]",
        "  Name: F [4,2]"}},
      // A run left at the end of a block goes under the block's latest name.
      {"run at the end", "#Events\n$Formula: a\n+Name: E\n+Interval: 1\n$Formula: b\n#End\n",
       {"Events [4]", "  Name: E [4,1]", "    Formula: a [4,1]", "    Interval: 1 [4,1]", "    Formula: b [4,1]",
        "End [0]"}},
      {"run at the end of the file", "#Events\n$Formula: a\n+Name: E\n$Formula: b",
       {"Events [4]", "  Name: E [4,1]", "    Formula: a [4,1]", "    Formula: b [4,1]"}},
      // Without any name in the block, the run makes no node.
      {"no name", "#Players\n$Starting Shipname: Alpha 1\n$Ship Choices: (\n", {"Players [2]"}},
      // Each block decides its own opening key, a repeated section's too.
      {"repeated", "#Events\n+Name: A\n$Formula: a\n#Goals\n#Events\n$Formula: b\n+Name: B\n",
       {"Events [4]", "  Name: A [4,1]", "    Formula: a [4,1]", "  Name: B [4,1]", "    Formula: b [4,1]",
        "Goals [1]"}},
      // Blocks that open with a name are unchanged: later fields go under it.
      {"name first", "#Objects\n$Name: S\n$Class: x\n$Name: T\n$Class: y\n",
       {"Objects [3]", "  Name: S [3,1]", "    Class: x [3,1]", "  Name: T [3,2]", "    Class: y [3,2]"}},
      // Before any header and under a bare "#" nothing makes a node.
      {"no section", "$Formula: a\n+Name: E\n#\n$Formula: b\n+Name: F\n", {" [0]"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Outline(ParseMissionBytes(c.file).Tree()), c.outline) << c.name;
}

TEST(LoaderTest, NameMatchIsCaseInsensitiveOnFourLetters) {
  const Mission m = ParseMissionBytes("#Wings\n+NAME: W\n$Named: V\n$Nam: no\n");
  EXPECT_EQ(Outline(m.Tree()), (Strings{"Wings [6]", "  NAME: W [6,1]", "  Named: V [6,2]", "    Nam: no [6,2]"}));
}

TEST(LoaderTest, LinesBeforeAnyHeaderAndBareHash) {
  // A name line before any header makes no node; a bare "#" gets an empty
  // root of slot 0 and its entries make no node.
  const Mission m = ParseMissionBytes("$Name: early\n$Class: x\n#\n$Name: lost\n+Field: y\n#Music\n$Name: M\n");
  EXPECT_EQ(Outline(m.Tree()), (Strings{" [0]", "Music [7]", "  Name: M [7,1]"}));
  EXPECT_EQ(Lines(m, kSlotMusic), (Texts{u"$Name: M"}));
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    if (slot != kSlotMusic) {
      EXPECT_TRUE(m.Sections().Slot(slot).Empty()) << slot;
    }
  }
  EXPECT_TRUE(m.Sections().Slot(0).Empty());
  EXPECT_TRUE(m.Sections().Slot(21).Empty());
  // Each bare "#" gets a root of its own.
  EXPECT_EQ(ParseMissionBytes("#\n#\n").Tree().Roots().size(), 2u);
}

// Hostile input loads without a crash and gives a defined result.
TEST(LoaderTest, BadInput) {
  std::mt19937 rng(7);
  std::string garbage(64 * 1024, '\0');
  for (char& c : garbage) c = static_cast<char>(rng());
  const std::string long_line = "#Events\n$Formula: " + std::string(2 * 1024 * 1024, 'x') + "\n";
  struct Case {
    std::string name, bytes;
    std::size_t events_lines;
  };
  const Case cases[] = {
      {"empty", "", 0},
      {"no header", "$Name: x\n+Field: y\nplain\n", 0},
      {"garbage", garbage, 0},
      {"NUL bytes", std::string("#Events\n\0\0\n+Name:\0x\n", 19), 2},
      {"invalid UTF-8", "#Events\n\xFF\xFE\xC3\n", 1},
      {"2 MB line", long_line, 1},
      {"lone CR", "#Events\ra\rb\r", 2},
      {"bare #", "#\n#\n$Name: x\n", 0},
      {"+Name: alone", "#Events\n+Name:\n", 1},
  };
  for (const Case& c : cases) {
    const Mission m = ParseMissionBytes(c.bytes);
    if (c.name != "garbage") {
      EXPECT_EQ(m.Sections().Slot(kSlotEvents).Count(), c.events_lines) << c.name;
    }
  }
  const Mission big = ParseMissionBytes(long_line);
  EXPECT_EQ(big.Sections().Slot(kSlotEvents)[0].size(), 2u * 1024 * 1024 + 10);
}

TEST(LoaderTest, WhatLooksLikeAMission) {
  std::string utf16 = "\xFF\xFE";
  for (const char c : std::string_view("#Mission Info\r\n$Name: x\r\n")) utf16 += {c, '\0'};
  struct Case {
    const char* name;
    std::string bytes;
    bool mission;
  };
  const Case cases[] = {
      {"mission info", "#Mission Info\r\n$Name: x\r\n", true},
      {"any stored section, any case", "; notes\n#EVENTS\n", true},
      {"Windows-1252 text", "#Messages\n$Name: Caf\xE9\n", true},
      {"a kept section after others", "#Briefing\n$Name: b\n#Goals\n", true},
      {"empty", "", false},
      {"only blank lines", "\r\n\r\n", false},
      {"plain text", "Dear diary,\nno sections here.\n", false},
      {"only sections the store does not keep", "#Briefing\n#Command Briefing\n#End\n", false},
      {"a header with a blank", "#Events \n", false},
      {"a NUL character", std::string("#Mission Info\n$Name: x\0\n", 24), false},
      {"a NUL character in a comment", std::string("#Mission Info\n; \0\n", 18), false},
      {"UTF-16 with a byte-order mark", utf16, true},
  };
  for (const Case& c : cases) EXPECT_EQ(LooksLikeMission(ParseMissionBytes(c.bytes)), c.mission) << c.name;

  // A program, read as any file is.
  Mission program;
  if (LoadFile("/bin/ls", program).ok) {
    EXPECT_FALSE(LooksLikeMission(program));
  }
}

class LoadFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("torvek_load_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                        "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path Write(const std::string& name, const std::string& bytes) {
    const fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
  }
  fs::path dir_;
};

TEST_F(LoadFileTest, SecondLoadReplacesTheFirst) {
  Mission m;
  ASSERT_TRUE(LoadFile(Write("a.fs2", "#Objects\n$Name: A\n#Events\n+Name: E\n"), m).ok);
  ASSERT_TRUE(LoadFile(Write("b.fs2", "#Goals\n$Type: Primary\n"), m).ok);
  EXPECT_TRUE(m.Sections().Slot(kSlotObjects).Empty());
  EXPECT_TRUE(m.Sections().Slot(kSlotEvents).Empty());
  EXPECT_EQ(Lines(m, kSlotGoals), (Texts{u"$Type: Primary"}));
  EXPECT_EQ(Outline(m.Tree()), (Strings{"Goals [1]"}));
}

// Kills the test program when a step takes longer than it may: a load that
// blocks must fail the test, not hang it.
class Deadline {
 public:
  explicit Deadline(unsigned seconds) { ::alarm(seconds); }
  ~Deadline() { ::alarm(0); }
};

// Only regular files are read by name; anything else is refused from its
// status at once, without a read (a pipe without a writer would block, a
// device would never end).
TEST_F(LoadFileTest, FailureKeepsThePreviousMission) {
  Mission m;
  ASSERT_TRUE(LoadFile(Write("a.fs2", "#Objects\n$Name: A\n"), m).ok);
  const fs::path fifo = dir_ / "pipe.fs2";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_symlink(fifo, dir_ / "to-pipe.fs2");
  fs::create_symlink(dir_ / "gone.fs2", dir_ / "dangling.fs2");
  const fs::path socket_path = dir_ / "socket.fs2";
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(sock, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(socket_path.string().size(), sizeof address.sun_path);
  std::strcpy(address.sun_path, socket_path.c_str());
  ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);

  const std::pair<fs::path, std::string> failures[] = {
      {dir_ / "missing.fs2", "No such file or directory"},
      {dir_, "Is a directory"},
      {fifo, "Not a regular file (a named pipe)"},
      {dir_ / "to-pipe.fs2", "Not a regular file (a named pipe)"},
      {dir_ / "dangling.fs2", "Broken symbolic link (the file it points to does not exist)"},
      {socket_path, "Not a regular file (a socket)"},
      {"/dev/zero", "Not a regular file (a character device)"},
      {"/dev/urandom", "Not a regular file (a character device)"},
  };
  for (const auto& [path, reason] : failures) {
    if (path.string().starts_with("/dev/") && !fs::exists(path)) continue;
    const Deadline deadline(10);
    const auto started = std::chrono::steady_clock::now();
    const LoadResult r = LoadFile(path, m);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5)) << path;
    EXPECT_FALSE(r.ok) << path;
    EXPECT_EQ(r.error, reason) << path;
    EXPECT_EQ(Lines(m, kSlotObjects), (Texts{u"$Name: A"}));
    EXPECT_EQ(Outline(m.Tree()), (Strings{"Objects [3]", "  Name: A [3,1]"}));
  }
  ::close(sock);
}

TEST_F(LoadFileTest, ALinkToAFileIsRead) {
  fs::create_symlink(Write("m.fs2", "#Events\n+Name: E\n"), dir_ / "link.fs2");
  Mission m;
  ASSERT_TRUE(LoadFile(dir_ / "link.fs2", m).ok);
  EXPECT_EQ(Lines(m, kSlotEvents), (Texts{u"+Name: E"}));
}

// Files are decoded a megabyte at a time, each megabyte given back once it
// is done: characters, line ends and the encoding decision must not depend
// on where a slice ends.
TEST_F(LoadFileTest, PieceBoundariesDoNotMatter) {
  constexpr std::size_t kPiece = 1 << 20;
  struct Case {
    std::string name;
    std::string tail;      // placed so that it straddles the first piece boundary
    std::string late;      // appended far behind the boundary
    Texts stored_tail;     // what the straddling line and the next one hold
  };
  const Case cases[] = {
      {"UTF-8 sequence", "x\xE2\x82\xAC\xF0\x9F\x9A\x80y\r\nz", "", {u"x€\U0001F680y", u"z"}},
      {"CR LF pair", "ab\r\ncd", "", {u"ab", u"cd"}},
      // Valid UTF-8 for the first megabyte, then a byte that is not: the
      // whole file is Windows-1252.
      {"late invalid byte", "x\xC3\xA9y\r\nz", "\r\n\xE9", {u"xÃ©y", u"z"}},
  };
  for (const Case& c : cases) {
    for (std::size_t shift = 0; shift < 8; ++shift) {
      std::string bytes = "#Events\r\n";
      bytes += std::string(kPiece - bytes.size() - 4 + shift, 'a') + "\r\n";
      bytes += c.tail + c.late;
      Mission m;
      ASSERT_TRUE(LoadFile(Write("p.fs2", bytes), m).ok);
      const Texts lines = Lines(m, kSlotEvents);
      ASSERT_GE(lines.size(), 3u) << c.name;
      EXPECT_EQ((Texts{lines[1], lines[2]}), c.stored_tail) << c.name << " shifted by " << shift;
    }
  }
}

// The progress callback hears of every megabyte decoded, up to the whole
// file, whatever its encoding, and a false answer stops the load with the
// previous mission kept.
TEST_F(LoadFileTest, ProgressCountsThePiecesAndCanStop) {
  constexpr std::size_t kPiece = 1 << 20;
  constexpr std::uint64_t kSize = 2 * kPiece + 121;
  const std::vector<std::uint64_t> pieces{kPiece, 2 * kPiece, kSize};
  const std::pair<std::string, std::vector<std::uint64_t>> cases[] = {
      {"+Name: E\r\n", pieces},
      {"+Name: \xE9\r\n", pieces},  // Windows-1252
  };
  for (const auto& [last_line, expected] : cases) {
    const std::string bytes = "#Events\r\n" + std::string(2 * kPiece + 100, 'a') + "\r\n" + last_line;
    ASSERT_EQ(bytes.size(), kSize);
    const fs::path p = Write("big.fs2", bytes);
    std::vector<std::uint64_t> seen;
    Mission m;
    const LoadResult r = LoadFile(p, m, [&](std::uint64_t done, std::uint64_t total) {
      EXPECT_EQ(total, kSize);
      seen.push_back(done);
      return true;
    });
    ASSERT_TRUE(r.ok);
    EXPECT_FALSE(r.stopped);
    EXPECT_EQ(seen, expected) << last_line;
  }

  Mission m;
  ASSERT_TRUE(LoadFile(Write("small.fs2", "#Objects\n$Name: A\n"), m).ok);
  int calls = 0;
  const LoadResult r = LoadFile(Write("big.fs2", "#Goals\n" + std::string(3 * kPiece, 'b') + "\n"), m,
                                [&](std::uint64_t, std::uint64_t) { return ++calls < 2; });
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.stopped);
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(Lines(m, kSlotObjects), (Texts{u"$Name: A"}));
  EXPECT_TRUE(m.Sections().Slot(kSlotGoals).Empty());
}

TEST_F(LoadFileTest, LeavesTheFileUntouched) {
  const std::string bytes = "#Events\r\n$Formula: ( true )\r\n+Name: E\r\n";
  const fs::path p = Write("m.fs2", bytes);
  const auto old_time = fs::file_time_type::clock::now() - std::chrono::hours(24);
  fs::last_write_time(p, old_time);
  Mission m;
  ASSERT_TRUE(LoadFile(p, m).ok);
  EXPECT_EQ(fs::last_write_time(p), old_time);
  std::ifstream in(p, std::ios::binary);
  const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(after, bytes);
}

}  // namespace
}  // namespace mission
