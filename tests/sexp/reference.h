// A word-for-word transcription of the reader and translator rules, written
// for clarity and not for speed: repeated replacement loops, words read by
// number, texts copied at every level. The tests and the fuzz target compare
// the real translator with it on small formulas.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base/text.h"

namespace sexp::reference {

using mission::Text;
using mission::TextView;

// The translation of `lines` (the formula starting at the first line), or
// nothing when it would take more than `max_calls` translation calls.
std::optional<Text> ReadFormula(TextView owner, const std::vector<Text>& lines, std::int32_t& next,
                                long max_calls = 20000);
std::optional<Text> ParseIt(TextView formula, TextView indent, TextView event, long max_calls = 20000);

// Whether the FreeSpace Open translation of `formula` may differ from its
// original translation `original` by design: where the original writes
// "#UnknownCommand" or its error texts, for a "when" among actions, "<" and
// ">" it cannot read, an operator where the original takes a word, variables
// (which read as variables), and message lists (whose delays add up).
// Everywhere else it must give the same text.
bool ModernMayDiffer(TextView formula, TextView original);

}  // namespace sexp::reference
