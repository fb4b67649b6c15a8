// The operator table: every built-in operator of the FreeSpace Open engine
// with the facts a reader of mission formulas needs about it. For each
// operator word: how many arguments it takes (minimum, maximum or unlimited),
// the kind of each argument position ("ship", "number>=0", "action", ...)
// with the rule by which the last kinds repeat for further arguments, what it
// returns (a boolean, a number, nothing for an action, an AI goal, or the
// argument list of a when-argument), the mission editor's category and
// submenu, and whether the 2002 game already had it. Also the old names that
// the engine reads as the new ones (set-ship-position is set-object-position).
//
// Look-ups match operator words case-insensitively, as the engine does, and
// resolve old names. Operators that mods add are not in the table. The rows
// are generated into operator_table.inc by scripts/generate-operators.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace sexp {

enum class ReturnKind : std::uint8_t { kBoolean, kNumber, kNothing, kAiGoal, kArgumentList };

struct Operator {
  static constexpr int kUnlimited = -1;

  std::string_view name;  // in lower case, as the engine writes it
  int min_args = 0;
  int max_args = 0;  // kUnlimited: no upper limit
  std::string_view category;
  std::string_view subcategory;  // may be empty
  ReturnKind return_kind = ReturnKind::kNothing;
  bool in_retail = false;  // the 2002 game already had it
  // Where the operator's argument kinds lie in the shared list, how many
  // there are, and how many of the last ones repeat for further arguments
  // (only for unlimited arguments; send-message-list repeats groups of 4).
  std::uint16_t first_kind = 0;
  std::uint8_t kind_count = 0;
  std::uint8_t repeat_last = 0;

  // The kinds of argument positions 1..kind_count as listed.
  std::span<const std::string_view> ArgKinds() const;
  // The kind of argument `position` (1-based), with the repeat rule applied;
  // empty for a position the operator does not take.
  std::string_view ArgKind(int position) const;
  // Whether `count` arguments lie within the operator's limits.
  bool TakesArgCount(int count) const {
    return count >= min_args && (max_args == kUnlimited || count <= max_args);
  }
};

struct OperatorAlias {
  std::string_view old_name;
  std::string_view name;  // the operator the engine reads it as
};

// Every operator, sorted by name.
std::span<const Operator> AllOperators();
// Every old name, sorted.
std::span<const OperatorAlias> OperatorAliases();

// The operator that a word of a formula names, matched case-insensitively;
// an old name gives the operator it stands for. nullptr for any other word.
const Operator* FindOperator(std::string_view word);
const Operator* FindOperator(std::u16string_view word);

// "boolean", "number", "nothing", "ai-goal", "argument-list".
std::string_view ReturnKindName(ReturnKind kind);

}  // namespace sexp
