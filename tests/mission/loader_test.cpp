#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>


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

// The tree as indented "text [tag]" lines, for compact comparisons.
std::vector<std::string> Outline(const OutlineTree& tree) {
  std::vector<std::string> out;
  auto walk = [&](auto&& self, std::uint32_t node, int depth) -> void {
    out.push_back(std::string(static_cast<std::size_t>(depth) * 2, ' ') + ToUtf8(tree.NodeText(node)) + " [" +
                  ToUtf8(tree.NodeTag(node)) + "]");
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
  EXPECT_EQ(Outline(m.Tree()), (Strings{"Mission Info [1]", "  Name: Test [1,1]", "    Author: Me [1,1]"}));
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
                                   "Objects [6]",
                                   "  Name: Alpha 1 [6,1]",
                                   "    Class: X [6,1]",
                                   "  Name: Alpha 2 [6,2]",
                                   "    Initial Hull: 5 [6,2]",
                                   // A repeated section reuses its node and counts afresh.
                                   "  Name: Alpha 3 [6,1]",
                                   // Fields before the first name line make no node;
                                   // later ones hang under the previous entry.
                                   "Events [4]",
                                   "  Name: E1 [4,1]",
                                   "    Formula: ( false ) [4,1]",
                                   "  Name: E2 [4,2]",
                                   "Briefing [0]",
                                   "  Name: odd [0,1]",
                                   "    x: 1 [0,1]",
                               }));
  // Nodes are numbered in the order they were added.
  EXPECT_EQ(ToUtf8(m.Tree().NodeText(m.Tree().Size() - 1)), "Name: Alpha 3");
}

TEST(LoaderTest, NameMatchIsCaseInsensitiveOnFourLetters) {
  const Mission m = ParseMissionBytes("#Wings\n+NAME: W\n$Named: V\n$Nam: no\n");
  EXPECT_EQ(Outline(m.Tree()), (Strings{"Wings [7]", "  NAME: W [7,1]", "  Named: V [7,2]", "    Nam: no [7,2]"}));
}

TEST(LoaderTest, LinesBeforeAnyHeaderAndBareHash) {
  // A name line before any header makes no node; a bare "#" gets an empty
  // root tagged 0 and its entries make no node.
  const Mission m = ParseMissionBytes("$Name: early\n$Class: x\n#\n$Name: lost\n+Field: y\n#Music\n$Name: M\n");
  EXPECT_EQ(Outline(m.Tree()), (Strings{" [0]", "Music [1]", "  Name: M [1,1]"}));
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
  EXPECT_EQ(Outline(m.Tree()), (Strings{"Goals [2]"}));
}

TEST_F(LoadFileTest, FailureKeepsThePreviousMission) {
  Mission m;
  ASSERT_TRUE(LoadFile(Write("a.fs2", "#Objects\n$Name: A\n"), m).ok);
  const std::pair<fs::path, std::string> failures[] = {
      {dir_ / "missing.fs2", "No such file or directory"},
      {dir_, "Is a directory"},
  };
  for (const auto& [path, reason] : failures) {
    const LoadResult r = LoadFile(path, m);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error, reason);
    EXPECT_EQ(Lines(m, kSlotObjects), (Texts{u"$Name: A"}));
    EXPECT_EQ(Outline(m.Tree()), (Strings{"Objects [6]", "  Name: A [6,1]"}));
  }
}

// Files are read a megabyte at a time: characters, line ends and the
// encoding decision must not depend on where a piece ends.
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

// The progress callback hears of every piece read, up to the whole file,
// and a false answer stops the load with the previous mission kept. A file
// that is not UTF-8 is read twice, so its count starts again once.
TEST_F(LoadFileTest, ProgressCountsThePiecesAndCanStop) {
  constexpr std::size_t kPiece = 1 << 20;
  constexpr std::uint64_t kSize = 2 * kPiece + 121;
  // The byte that is not UTF-8 stands in the last piece: the first pass ends
  // there, before counting it.
  const std::pair<std::string, std::vector<std::uint64_t>> cases[] = {
      {"+Name: E\r\n", {kPiece, 2 * kPiece, kSize}},
      {"+Name: \xE9\r\n", {kPiece, 2 * kPiece, kPiece, 2 * kPiece, kSize}},
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
