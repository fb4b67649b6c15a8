// Links in the code windows: which names in a formula's text name an event,
// goal, message, ship or wing of the loaded mission, and which row of which
// view each one goes to.
//
// A variable, «@Name[value]» in the SEXP text and «Variable("Name")» (or
// «@Name[value]» as written) in the translated text, goes to its row of the
// Variables view.
//
// In the SEXP text a quoted argument is a link when the operator takes that
// kind of name at that place (is-event-true-delay takes an event, send-message
// a message, is-destroyed-delay ships and wings), looked up among those kinds
// only; an argument of any kind (a string, the list of an any-of) or one of
// an operator the table does not know is looked up among all five kinds, in
// the order ships, wings, events, goals, messages. In the translated text the
// quoted names link where the same name links in the SEXP text; a name the
// SEXP text does not hold (the event's own name in "when") is looked up among
// all kinds. Names compare as the engine compares them: the case of A-Z is
// ignored, blanks at the ends do not count, and of several entries with the
// same name the first is the one named.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/text.h"
#include "mission/mission.h"
#include "views/check.h"
#include "views/check_names.h"
#include "views/location.h"

namespace views {

using mission::Text;
using mission::TextView;

// The named entries of a mission by name: for each kind (events, goals,
// messages, ships, wings) the row of the view that lists it. Built once per
// loaded mission; it refers to the mission's texts and is valid as long as
// the mission.
class NameRows {
 public:
  static NameRows Build(const mission::Mission& mission);

  // Where the entry of `kind` named `name` is listed: its view and its row
  // (1-based, in file order); a variable is listed by the Variables view.
  // Nothing (mode 0) when no entry has that name, and for ship-or-wing.
  Location Find(NameKind kind, TextView name) const;
  // The names of one kind from kEvent to kWing, each with its row.
  const NameSet& Names(NameKind kind) const { return sets_[static_cast<std::size_t>(kind)]; }

 private:
  // By NameKind from kEvent to kWing; each entry keeps its row where the
  // check keeps a line.
  std::array<NameSet, 5> sets_;
  NameSet variables_;
};

// One link: the characters [start, start + length) of a text name `target`.
struct CodeLink {
  std::size_t start = 0;
  std::size_t length = 0;
  Location target;  // mode and row
  friend bool operator==(const CodeLink&, const CodeLink&) = default;
};

struct CodeLinks {
  std::vector<CodeLink> sexp;    // in the SEXP text, in text order
  std::vector<CodeLink> parsed;  // in the translated text, in text order
};

// The links of a formula's two texts, as the code windows show them (the
// SEXP text may hold several formulas, each after its key, such as a ship's
// cues). A link covers the name between its quotes, without blanks at its
// ends. Linear in the length of the texts.
CodeLinks FindCodeLinks(TextView sexp, TextView parsed, const NameRows& names);

// The link at character `position` of a text, or nullptr; `links` in text
// order, as FindCodeLinks gives them.
const CodeLink* LinkAt(const std::vector<CodeLink>& links, std::size_t position);

}  // namespace views
