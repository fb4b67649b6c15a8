// The mission's variables: their declarations in «#Sexp_variables» and the
// places that read or change them.
//
// A declaration line holds the variable's index, then its name, default
// value and type in quotes, then optional flags, each in quotes:
// «0 "Heat" "0" "number" "campaign-persistent"» (the tabs between them are
// gone). The declarations stand between "$Variables:" and the ")" that ends
// its list, or the section's end when that is missing.
//
// A formula changes a variable where "@Name[...]" is an argument of kind
// variable-name of an action (an operator that returns nothing, such as
// modify-variable); it reads it wherever else "@Name[...]" stands. A message
// whose text holds "$Name" reads it too. The formulas are those of the
// events and goals, the arrival and departure cues of ships and wings, and
// the stages of briefings and debriefings. Names compare ignoring the case
// of A-Z; of two declarations with the same name the first is the one named.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base/text.h"
#include "mission/mission.h"
#include "views/list.h"
#include "views/references.h"

namespace views {

struct VariableDeclaration {
  TextView index;  // as written
  TextView name;
  TextView value;
  TextView type;
  std::vector<TextView> flags;
  std::uint32_t line = 0;  // the file's line
};

// The fields of a declaration line; what a short line lacks stays empty.
// Nothing for a line that is no declaration (it must begin with its index
// or its name).
std::optional<VariableDeclaration> ReadVariableLine(TextView line);

// Every declaration of the mission, in file order.
std::vector<VariableDeclaration> DeclaredVariables(const mission::Mission& mission);

// "Number", "String" or "Block" for the type word (any case); another word
// as written.
Text VariableTypeText(TextView type);
// "Campaign" (campaign-persistent, save-on-mission-progress) or "Player"
// (player-persistent, save-on-mission-close), then the other flags as
// written, separated by blanks.
Text PersistenceText(const std::vector<TextView>& flags);

enum class VariableAccess : std::uint8_t { kRead, kWrite };

// Every place that reads or changes a declared variable. Built once per
// mission; it refers to the mission's text.
class VariableUses {
 public:
  static VariableUses Build(const mission::Mission& mission);

  const std::vector<VariableDeclaration>& Declarations() const { return declarations_; }
  // How many formulas (and messages) read, and how many change, declaration
  // `variable` (0-based).
  std::uint32_t Readers(std::size_t variable) const { return counts_[variable].readers; }
  std::uint32_t Writers(std::size_t variable) const { return counts_[variable].writers; }

  // The places that use the variable named `name`: each line that reads or
  // changes it, with its access, in the order events, goals, ship cues, wing
  // cues, messages, briefing and debriefing stages, each in file order.
  std::vector<Reference> Find(TextView name) const;

 private:
  friend class VariableScanner;

  struct Use {
    std::uint32_t variable = 0;
    Reference reference;
  };
  struct Counts {
    std::uint32_t readers = 0;
    std::uint32_t writers = 0;
  };

  std::vector<VariableDeclaration> declarations_;
  std::vector<Counts> counts_;
  std::vector<Use> uses_;
};

// The filler of the Variables view: a row per declaration, its lines kept
// in the list's rowLines.
void ModeVariables(const mission::Mission& mission, ListData& list);

}  // namespace views
