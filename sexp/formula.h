// The formula reader and translator: a SEXP formula of an event or goal,
// gathered from the stored lines of its section and turned into readable
// pseudo-code.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/text.h"
#include "mission/mission.h"

namespace sexp {

using mission::Text;
using mission::TextView;

// The texts the reader gives instead of a translation.
inline constexpr TextView kTooManyClosing = u"<Error in formular: too many ')' brackets>";
inline constexpr TextView kMissingClosing = u"<Error in formular: missing ')' brackets>";
// Written in place of a translation more than 1000 levels deep.
inline constexpr TextView kNestedTooDeeply = u"<Error in formular: nested too deeply>";
// The whole result of a formula whose translation would grow beyond all
// reason (its parts used again and again at every level).
inline constexpr TextView kTooComplex = u"<Error in formular: too complex>";

// Which operators the translator knows: the original set, or also those of
// the FreeSpace Open engine. The FreeSpace Open translation is a superset:
// everything the original translates right keeps its exact text. What the
// original mangles it translates instead: a "when" among actions, a "<" or
// ">" whose operands the original cannot read, an operator where an original
// template takes a word; and it reads a variable as Variable("Name") and a
// message list's delays as times from the event's firing. Operators that
// neither knows (a mod's own) still give the "#UnknownCommand" marker, with
// their arguments as a call.
enum class OperatorSet { kOriginal, kFreeSpaceOpen };

// Gathers the formula that begins at line `start` (1-based) of `lines` until
// its brackets balance and translates it. `next` receives the position one
// past the last line read (`start` when no line could be read). `ownerName`
// is the name the "when" template writes (an event's name, a goal's message).
//
// The lines are joined with a space between them, and every run of spaces in
// the gathered text becomes one space. Brackets inside a quoted text (between
// two «"», which may span lines) are part of the name and count neither here
// nor when the formula is split. More ")" than "(" gives kTooManyClosing. Brackets still open give kMissingClosing, the
// formula ending before the next line whose key (first six characters) is
// "$Formu", or at the last line of the list when none follows. A start
// outside the list gives the empty text.
Text ReadFormula(TextView ownerName, const mission::LineList& lines, std::int32_t start, std::int32_t& next,
                 OperatorSet operators = OperatorSet::kOriginal);
// The same for a formula written after a key of its own on its first line,
// such as a ship's «$Arrival Cue: ( true )»: the first `skip` characters of
// line `start` are not part of the formula, and a formula left open ends
// before the next line that begins with "$" or "+" (the entry's next field),
// so that a damaged cue never swallows the rest of its section.
Text ReadCue(TextView ownerName, const mission::LineList& lines, std::int32_t start, std::int32_t& next,
             std::size_t skip, OperatorSet operators = OperatorSet::kOriginal);

// Translates a formula (or a part of one) with the given indent; the "when"
// template writes `ownerName`. ReadFormula hands its gathered text to the
// same translation. Lines are separated by CR LF.
Text ParseIt(TextView formula, TextView indent, TextView ownerName, OperatorSet operators = OperatorSet::kOriginal);

// How often `find` occurs in `text`, counted left to right without overlap;
// 0 for an empty `find`.
std::int32_t CountOccurrences(TextView text, TextView find);

// Word n (1-based) of a formula part; quoted names keep their quotes and
// spaces. Empty when there is no such word.
Text NthWord(std::int32_t n, TextView text);

// One line prefix + "Ship(" + word + ")." + action per ship word (from word
// 2 on) of `arguments`, separated by CR LF.
Text ShipActionList(TextView prefix, TextView arguments, TextView action);

}  // namespace sexp
