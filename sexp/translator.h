// Internal to the translator: the walk over the parts of a formula that
// writes one entry per part, shared by the original templates
// (translator.cpp) and the FreeSpace Open operators (modern.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "sexp/formula.h"
#include "sexp/operators.h"
#include "sexp/source.h"

namespace sexp::detail {

// --- Templates of the original operators ---

enum class Kind {
  kFormat,         // one line from a format text
  kShipCondition,  // a condition over the ships from word 3 on
  kShipAction,     // an action for each ship from word 2 on
  kList,           // one line per listed name
  kMessageList,    // one line per message of a send-message-list
  kWhen,
  kNot,
  kAndOr,
  kCompare,
  kAddGoal,
  kEscort,
  kRandomMessage,
};

// How an operator's line begins: with nothing (operands, AI goals, and the
// actions whose format text starts with its own space) or with the indent
// and one space.
enum class Lead { kNone, kIndent };

// In format texts "%k" stands for word k of the part and "@k" for word
// (j + k) of a list entry that starts at word j.
struct Template {
  Kind kind;
  Lead lead = Lead::kNone;
  TextView text = {};
  int first = 0;
  int step = 0;
};

// A quick hash for operator words, which are short: four characters at a
// time, and the bits mixed down at the end.
struct WordHash {
  std::size_t operator()(TextView word) const {
    std::uint64_t h = 14695981039346656037u ^ word.size();
    std::size_t i = 0;
    for (; i + 4 <= word.size(); i += 4) {
      std::uint64_t chunk;
      std::memcpy(&chunk, word.data() + i, sizeof chunk);
      h = (h ^ chunk) * 1099511628211u;
    }
    for (; i < word.size(); ++i) h = (h ^ word[i]) * 1099511628211u;
    return static_cast<std::size_t>(h ^ (h >> 29) ^ (h >> 47));
  }
};

// The original template of an operator word, matched exactly; nullptr when
// the word has none.
const Template* FindTemplate(TextView word);

// --- Templates of the FreeSpace Open operators ---

enum class ModernKind {
  kFormat,      // one line from a format text
  kEach,        // one line per argument from `first` on
  kEachAnd,     // the same as a condition: every line after the first begins with "And "
  kArithmetic,  // infix arithmetic
  kCompare,     // a comparison of the first operand with each of the others
  kXor,         // a block like "and"/"or"
  kWhen,        // a "when" among actions
  kEveryTime,
  kWhenArgument,
  kEveryTimeArgument,
  kIfThenElse,
  kCond,
  kPerformFirst,  // actions and a truth value
  kPerformLast,
  kArgumentList,  // any-of, every-of, ...: the arguments of a when-argument
  kGoals,
  kMessageChain,  // send-message-chain: a send-message-list after an event
};

// Format texts: "%k" is argument k as a value, "%*k" arguments k, k+1, ...
// separated by commas, "@" the argument of the current line (kEach), and
// "[...]" a piece written only when the argument of its first "%" is given.
struct ModernTemplate {
  std::string_view name;
  ModernKind kind;
  Lead lead = Lead::kNone;
  TextView text = {};
  int first = 0;
};

// A format text taken apart once: plain text, argument values, and optional
// pieces that are skipped when their argument is not given.
struct Piece {
  enum Kind : std::uint8_t { kText, kArg, kList, kItem, kOptional };
  Kind kind = kText;
  std::uint8_t arg = 0;    // kArg, kList, kOptional: the argument, 1-based
  bool list = false;       // kOptional: its argument is a list ("%*k")
  std::uint16_t skip = 0;  // kOptional: the pieces inside it
  TextView text = {};      // kText
};
using Format = std::vector<Piece>;

// What an operator word stands for when FreeSpace Open operators are
// translated: the original template (also for another spelling or an old
// name), else a hand-written one, else the table row for the generic form.
struct Resolved {
  const Template* original = nullptr;
  const ModernTemplate* modern = nullptr;
  const Operator* op = nullptr;
  TextView generic;  // the generic form's name: "set-weapon-energy" as "SetWeaponEnergy"
  const Format* format = nullptr;  // the hand-written template's text, taken apart
  const Format* loop = nullptr;    // an argument list's head line in a when-argument
};
Resolved ResolveModern(TextView word);

// «<argument>» or «"<argument>"»: the current argument of a when-argument.
inline bool IsArgument(TextView word) { return word == u"\"<argument>\"" || word == u"<argument>"; }

// The name of a variable «@Name[value]» or «"@Name[value]"»; empty for any
// other word.
inline TextView VariableName(TextView word) {
  if (word.size() >= 2 && word.front() == u'"' && word.back() == u'"') word = word.substr(1, word.size() - 2);
  if (word.size() <= 1 || word.front() != u'@') return TextView();
  TextView name = word.substr(1);
  const std::size_t bracket = name.find(u'[');
  if (bracket != TextView::npos && name.back() == u']') name = name.substr(0, bracket);
  return name;
}

// --- The walk ---

struct Indent {
  TextView base;
  std::size_t extra = 0;  // spaces after the base
  // Inside a block of the FreeSpace Open translation (a "when" among
  // actions, a branch of "if-then-else"): lines that begin with a fixed
  // space get the indent in front, so that all lines of the block line up.
  bool block = false;
};

// An argument of an operator call: one word, or a bracketed group.
struct Arg {
  Span span;
  bool group = false;
};

// What an original template reads as its words: the words of its part, or,
// in the FreeSpace Open translation of a part whose arguments hold
// operators, those arguments (word k is argument k - 1, a word or a
// bracketed group that is written as its translation).
class Operands {
 public:
  explicit Operands(Words& words) : words_(&words) {}
  Operands(std::span<const Arg> args, int level) : args_(args), level_(level) {}

  // Word k as written; the empty text for a group or a word beyond the last.
  TextView Word(std::size_t k) {
    if (words_ != nullptr) return words_->Get(k);
    const Arg* arg = At(k);
    return arg != nullptr && !arg->group ? arg->span.View() : TextView();
  }
  // The argument behind word k when the operands are arguments; nullptr
  // for words of a part and beyond the last argument.
  const Arg* At(std::size_t k) const {
    return words_ == nullptr && k >= 2 && k - 2 < args_.size() ? &args_[k - 2] : nullptr;
  }
  bool IsGroup(std::size_t k) const {
    const Arg* arg = At(k);
    return arg != nullptr && arg->group;
  }
  // Whether word k holds a value: an operator always does, a word unless
  // it is empty, blank or "n/a".
  bool Given(std::size_t k) { return IsGroup(k) || mission::IsGiven(Word(k)); }
  int Level() const { return level_; }

 private:
  Words* words_ = nullptr;
  std::span<const Arg> args_;
  int level_ = 0;
};

// The lists a translation fills level by level. One set serves formula after
// formula, so translating a mission's formulas does not allocate them anew.
struct Scratch {
  // One list per level, each in a place of its own: adding a level moves
  // no other.
  std::vector<std::unique_ptr<std::vector<Span>>> parts;
  std::vector<std::unique_ptr<std::vector<Arg>>> args;
  std::size_t used = 0;  // levels used since the last Trim
  // Gives back the room of lists that grew large for one formula.
  void Trim();
};

class Translator {
 public:
  Translator(Workspace& work, Scratch& scratch, Text& out, TextView event_name, std::size_t input_size,
             OperatorSet operators);

  bool Failed() const { return failed_; }

  // Translates a formula or a part of one: one entry per part, joined by
  // line breaks; entries that are empty, blank or "n/a" leave no line.
  void Translate(Span text, Indent indent, int level);

 private:
  static constexpr int kMaxLevel = 1000;

  bool Stop();
  // False, after writing the error text, when `level` is too deep.
  bool Enter(int level);
  std::vector<Span>& Parts(int level);
  std::vector<Arg>& Args(int level);

  void WriteIndent(Indent indent);
  void WriteLead(Lead lead, Indent indent);
  // Inside a block, the indent in front of a line that begins with a fixed space.
  void WriteBlockIndent(Indent indent);
  // A word of a formula as the original templates write it: as written,
  // except, in the FreeSpace Open translation, a variable «@Name[value]»,
  // which is Variable("Name"), and «<argument>» within the loop of a
  // when-argument, which is the loop's name.
  void AppendWord(TextView word);
  // Word k of an original template's operands: a word as AppendWord writes
  // it, an operator as its translation.
  void WriteOperand(Operands& operands, std::size_t k);
  void WriteFormat(TextView format, Operands& operands, std::size_t base = 0);
  void EndList(std::size_t entry);
  // After an entry written from position `entry`: a line break, or nothing
  // at all when the entry holds no value.
  void EndEntry(std::size_t entry);

  // Writes the entry of part i; returns the number of the last part it
  // used. `head`: part i is the operator at the start of its level, whose
  // arguments are the parts after it (else its arguments are inside it).
  std::size_t WriteEntry(std::span<const Span> parts, std::size_t i, Indent indent, int level, bool head);
  void WriteOriginal(const Template& t, std::span<const Span> parts, std::size_t i, Words& words, Indent indent,
                     int level, std::size_t& last);
  // The templates that read words, on the words of a part or on arguments.
  void WriteWordTemplate(const Template& t, Operands& operands, Indent indent);

  // The structural templates return the number of the last part they used.
  std::size_t WriteWhen(std::span<const Span> parts, std::size_t i, int level);
  std::size_t WriteNot(std::span<const Span> parts, std::size_t i, Indent indent, int level);
  std::size_t WriteAndOr(TextView word, std::span<const Span> parts, Indent indent, int level);
  std::size_t WriteCompare(std::span<const Span> parts, Indent indent, int level);
  void WriteShipCondition(const Template& t, Operands& operands, Indent indent);
  void WriteAction(const Template& t, Operands& operands, Indent indent);
  // The messages of a send-message-list (or of a chain) from word `first`
  // on, one line each. `accumulate`: the delays add up, as the game counts
  // them, and each line shows the time from the event's firing.
  void WriteMessages(Operands& operands, std::size_t first, Indent indent, bool accumulate);
  void WriteAddGoal(Span part, Words& words, Indent indent, int level);

  // --- FreeSpace Open operators (modern.cpp) ---

  // Whether an original template must give way to the FreeSpace Open form
  // here: a "when" among actions, a comparison the original reads wrongly,
  // an operator where the template takes a word.
  bool UsesModernForm(const Template& t, std::span<const Span> parts, bool head) const;
  // The call of `r` (or of the unknown operator `word`) at part i: its
  // arguments are the parts after it (head) or the words and groups inside
  // it.
  void WriteModern(const Resolved& r, TextView word, std::span<const Span> parts, std::size_t i, Indent indent,
                   int level, bool head);
  // Collects the arguments of the operator at the start of `parts`.
  void CollectArgs(std::span<const Span> parts, std::vector<Arg>& args);
  void WriteCall(const Resolved& r, std::span<const Arg> args, Indent indent, int level, bool top);
  // An original template whose operands are arguments, some of them operators.
  void WriteOriginalCall(const Template& t, std::span<const Arg> args, Indent indent, int level);
  // An operator in no table: the marker, its word and its arguments as a call.
  void WriteUnknownCall(TextView word, std::span<const Arg> args, Indent indent, int level);
  void WriteMessageChain(std::span<const Arg> args, Indent indent, int level);

  void WriteValue(const Arg& arg, int level);
  void WriteWord(TextView word);
  // Variable("Name") for a variable; false, writing nothing, for any other word.
  bool WriteVariable(TextView word);
  void WriteModernFormat(const Format& format, std::span<const Arg> args, const Arg* item, int level);
  void WriteArgList(std::span<const Arg> args, std::size_t first, int level);
  void WriteEach(const Resolved& r, std::span<const Arg> args, Indent indent, int level);
  void WriteArithmetic(TextView symbol, std::span<const Arg> args, int level);
  void WriteComparison(TextView symbol, std::span<const Arg> args, Indent indent, int level);
  void WriteXor(std::span<const Arg> args, Indent indent, int level);
  void WriteGeneric(const Resolved& r, std::span<const Arg> args, Indent indent, int level);

  // Blocks: conditions and actions of "when"-like operators.
  void WriteBlock(ModernKind kind, std::span<const Arg> args, Indent indent, int level, bool top);
  void WriteBlockBody(ModernKind kind, std::span<const Arg> args, std::size_t a, Indent indent, int level, bool top);
  void WriteCondBlock(std::span<const Arg> args, Indent indent, int level, bool top);
  void WritePerform(ModernKind kind, std::span<const Arg> args, Indent indent, int level);
  void WriteCondition(const Arg& arg, Indent indent, int level);
  void WriteActions(std::span<const Arg> args, Indent indent, int level);
  void WriteKeyword(TextView word, Indent indent, bool top);
  void WriteArgumentHeader(const Arg& list, int level);

  Workspace& work_;
  Scratch& scratch_;
  Text& out_;
  TextView event_name_;
  std::size_t max_output_;
  bool modern_ = false;
  int argument_loop_ = 0;  // when-argument loops around the current part
  bool failed_ = false;
};

}  // namespace sexp::detail
