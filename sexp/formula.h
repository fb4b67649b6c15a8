// The formula reader and translator: a SEXP formula of an event or goal,
// gathered from the stored lines of its section and turned into readable
// pseudo-code.
#pragma once

#include <cstdint>

#include "mission/mission.h"
#include "mission/text.h"

namespace sexp {

using mission::Text;
using mission::TextView;

// Gathers the formula that begins at line `start` (1-based) of `lines` until
// its brackets balance and translates it. `next` receives the position one
// past the last line read. Sets CurrentEventName to `ownerName`.
Text ReadFormula(TextView ownerName, const mission::LineList& lines, std::int32_t start, std::int32_t& next);

// Translates a formula (or a part of one) with the given indent.
Text ParseIt(TextView formula, TextView indent);

// How often `find` occurs in `text`; 0 for an empty `find`.
std::int32_t CountOccurrences(TextView text, TextView find);

// Word n (1-based) of a formula part; quoted names keep their quotes and
// spaces. Empty when there is no such word.
Text NthWord(std::int32_t n, TextView text);

// One line prefix + "Ship(" + word + ")." + action per ship word (from word
// 2 on) of `arguments`, separated by CR LF.
Text ShipActionList(TextView prefix, TextView arguments, TextView action);

// The owner name of the formula read last; the "when" template writes it.
const Text& CurrentEventName();

}  // namespace sexp
