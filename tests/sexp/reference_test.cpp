// The translator against a plain transcription of its rules, on many random
// formulas: the fast paths (groups stepped over, parts read in place, words
// read once) must not change a single character.
#include <gtest/gtest.h>

#include <random>

#include "sexp/formula.h"
#include "tests/sexp/helpers.h"
#include "tests/sexp/random_formula.h"
#include "tests/sexp/reference.h"

namespace sexp {
namespace {

using testing::U8;

TEST(ReferenceTest, RandomFormulasTranslateAsTheRulesSay) {
  std::mt19937 rng(20261210);
  const Text indents[] = {u"", u" ", u"--"};
  int compared = 0;
  for (int i = 0; i < 20000; ++i) {
    const Text formula = testing::RandomFormula(rng);
    const Text& indent = indents[i % 3];
    const std::optional<Text> want = reference::ParseIt(formula, indent, u"Ev");
    if (!want) continue;  // too much work for the plain transcription
    ++compared;
    ASSERT_EQ(U8(ParseIt(formula, indent, u"Ev")), U8(*want)) << "formula: " << U8(formula) << "\nindent: '" << U8(indent)
                                                       << "'";
  }
  EXPECT_GT(compared, 19000);
}

// The FreeSpace Open translation differs from the original only where the
// original writes "#UnknownCommand" or its error texts, for a "when" among
// actions, for "<" and ">" it cannot read, for an operator where the
// original takes a word, for variables and for the delays of message
// lists. On everything else it must give the same text, character for
// character.
TEST(ReferenceTest, RandomFormulasKeepTheOriginalTextWhereItReadsThemRight) {
  std::mt19937 rng(14);
  const Text indents[] = {u"", u" ", u"--"};
  int compared = 0;
  for (int i = 0; i < 30000; ++i) {
    const Text formula = testing::RandomFormula(rng, 24, true);
    const Text& indent = indents[i % 3];
    const Text modern = ParseIt(formula, indent, u"Ev", OperatorSet::kFreeSpaceOpen);
    const Text original = ParseIt(formula, indent, u"Ev");
    if (reference::ModernMayDiffer(formula, original)) continue;
    ++compared;
    ASSERT_EQ(U8(modern), U8(original)) << "formula: " << U8(formula) << "\nindent: '" << U8(indent) << "'";
  }
  EXPECT_GT(compared, 3000);
}

TEST(ReferenceTest, RandomFormulasReadAsTheRulesSay) {
  std::mt19937 rng(7);
  for (int i = 0; i < 5000; ++i) {
    // A formula line and some continuation lines, stored as the loader
    // stores them (the loader removes tabs and cuts comments; these have
    // neither).
    std::vector<std::string> lines = {"$Formula: ( " + U8(testing::RandomFormula(rng, 10))};
    const int more = static_cast<int>(rng() % 4);
    for (int k = 0; k < more; ++k) lines.push_back(U8(testing::RandomFormula(rng, 10)));
    for (std::string& line : lines) std::erase(line, '\t');
    const mission::Mission m = testing::EventsSection(lines);
    const mission::LineList& stored = testing::Events(m);
    std::vector<Text> texts;
    for (std::size_t k = 0; k < stored.Count(); ++k) texts.emplace_back(stored[k]);
    std::int32_t next = 0, want_next = 0;
    const Text got = ReadFormula(u"Ev", stored, 1, next);
    const std::optional<Text> want = reference::ReadFormula(u"Ev", texts, want_next);
    if (!want) continue;
    ASSERT_EQ(U8(got), U8(*want)) << "first line: " << lines[0];
    ASSERT_EQ(next, want_next) << "first line: " << lines[0];
  }
}

}  // namespace
}  // namespace sexp
