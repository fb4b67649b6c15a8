#include "sexp/operators.h"

#include <algorithm>
#include <array>

namespace sexp {
namespace {

#include "sexp/operator_table.inc"

// The longest operator word is far below this; longer words name nothing.
constexpr std::size_t kLongestWord = 64;

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

const Operator* FindExact(std::string_view lower) {
  const auto* op = std::lower_bound(std::begin(kOperators), std::end(kOperators), lower,
                                    [](const Operator& o, std::string_view name) { return o.name < name; });
  if (op != std::end(kOperators) && op->name == lower) return op;
  const auto* alias =
      std::lower_bound(std::begin(kAliases), std::end(kAliases), lower,
                       [](const OperatorAlias& a, std::string_view name) { return a.old_name < name; });
  if (alias != std::end(kAliases) && alias->old_name == lower) return FindExact(alias->name);
  return nullptr;
}

}  // namespace

std::span<const std::string_view> Operator::ArgKinds() const {
  return std::span<const std::string_view>(kArgKinds).subspan(first_kind, kind_count);
}

std::string_view Operator::ArgKind(int position) const {
  if (position < 1 || (max_args != kUnlimited && position > max_args) || kind_count == 0) return {};
  const auto kinds = ArgKinds();
  auto index = static_cast<std::size_t>(position - 1);
  if (index >= kinds.size()) {
    if (repeat_last == 0) return {};
    // The last `repeat_last` kinds repeat in turn.
    const std::size_t first_repeated = kinds.size() - repeat_last;
    index = first_repeated + (index - first_repeated) % repeat_last;
  }
  return kinds[index];
}

std::span<const Operator> AllOperators() { return kOperators; }

std::span<const OperatorAlias> OperatorAliases() { return kAliases; }

const Operator* FindOperator(std::string_view word) {
  if (word.empty() || word.size() > kLongestWord) return nullptr;
  std::array<char, kLongestWord> lower;
  std::transform(word.begin(), word.end(), lower.begin(), LowerAscii);
  return FindExact(std::string_view(lower.data(), word.size()));
}

const Operator* FindOperator(std::u16string_view word) {
  if (word.empty() || word.size() > kLongestWord) return nullptr;
  std::array<char, kLongestWord> lower;
  for (std::size_t i = 0; i < word.size(); ++i) {
    // Operator words are plain ASCII; any other character names nothing.
    if (word[i] >= 0x80) return nullptr;
    lower[i] = LowerAscii(static_cast<char>(word[i]));
  }
  return FindExact(std::string_view(lower.data(), word.size()));
}

std::string_view ReturnKindName(ReturnKind kind) {
  switch (kind) {
    case ReturnKind::kBoolean:
      return "boolean";
    case ReturnKind::kNumber:
      return "number";
    case ReturnKind::kNothing:
      return "nothing";
    case ReturnKind::kAiGoal:
      return "ai-goal";
    case ReturnKind::kArgumentList:
      return "argument-list";
  }
  return {};
}

}  // namespace sexp
