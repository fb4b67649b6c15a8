// Internal pieces of the translator: a formula text with its bracket
// structure worked out once, views into it, word splitting and the splitting
// of a formula into its parts.
//
// Every level of a translation works on a view into the same text, so a part
// is never copied and a bracketed group is stepped over at once instead of
// being read again by each level above it. Only the rare texts that are not a
// plain piece of the original (a part led by "n/a", a level that loses a
// "$Formula:" key from its middle) are copied into a text of their own.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/text.h"

namespace sexp {
enum class OperatorSet;
}

namespace sexp::detail {

using mission::Text;
using mission::TextView;

inline bool IsBlank(char16_t c) { return c == u' ' || c == u'\0'; }

// A formula text with the positions of all its brackets, for every "(" its
// matching ")" (none when the text ends first), and the positions of every
// "$Formula:" key. Only brackets and keys take room. A bracket inside a
// quoted text (from one «"» to the next, or to the end of the text) belongs
// to the name and is not a bracket of the structure.
class Source {
 public:
  static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

  explicit Source(Text text);
  // For a text whose brackets and "$" characters the caller has already
  // found (their positions, in order).
  Source(Text text, std::vector<std::uint32_t> brackets, const std::vector<std::uint32_t>& dollars);

  TextView Text16() const { return text_; }
  std::uint32_t Size() const { return static_cast<std::uint32_t>(text_.size()); }
  char16_t At(std::uint32_t pos) const { return text_[pos]; }

  // Brackets are numbered in text order.
  std::uint32_t BracketCount() const { return static_cast<std::uint32_t>(brackets_.size()); }
  // The number of the first bracket at or after `pos`.
  std::uint32_t FirstBracket(std::uint32_t pos) const;
  std::uint32_t BracketAt(std::uint32_t number) const { return brackets_[number]; }
  // The number of the ")" that matches the "(" with this number, or kNone.
  std::uint32_t Match(std::uint32_t number) const { return match_[number]; }
  // Whether the character at `pos` is a bracket of the structure.
  bool IsBracket(std::uint32_t pos) const;

  // Start of the first "$Formula:" key lying whole within [begin, end), or
  // kNone.
  std::uint32_t FirstKey(std::uint32_t begin, std::uint32_t end) const;

 private:
  void Index(const std::vector<std::uint32_t>& dollars);

  Text text_;
  std::vector<std::uint32_t> brackets_;
  std::vector<std::uint32_t> match_;
  std::vector<std::uint32_t> keys_;
};

// Characters [begin, end) of a source.
struct Span {
  const Source* source = nullptr;
  std::uint32_t begin = 0;
  std::uint32_t end = 0;
  // The number of the first bracket at or after `begin`, when known: a part
  // knows it from the splitting, which saves a search at every level.
  std::uint32_t bracket = Source::kNone;
  // A part that was a bracketed group (a nested operator call), not a
  // stretch of words between groups.
  bool group = false;

  TextView View() const {
    return source ? source->Text16().substr(begin, end - begin) : TextView();
  }
  bool Empty() const { return begin >= end; }
};

// Owns the texts that had to be copied during one translation, and counts
// the characters read so that a hostile formula cannot make the work explode.
class Workspace {
 public:
  const Source& Add(Text text);
  const Source& Add(std::unique_ptr<Source> source);
  // Counts work; false once the allowance is used up.
  bool Charge(std::size_t units) {
    used_ += units;
    return used_ <= allowance_;
  }
  void SetAllowance(std::size_t units) { allowance_ = units; }
  bool Exhausted() const { return used_ > allowance_; }

 private:
  std::vector<std::unique_ptr<Source>> owned_;
  std::size_t used_ = 0;
  std::size_t allowance_ = static_cast<std::size_t>(-1);
};

// Removes the first "$Formula:" key, the blanks at both ends, one leading "("
// and one trailing ")" (brackets of the structure, not of a quoted name).
Span Prepare(Span text, Workspace& work);

// Splits a prepared text into its parts: the stretches of text outside
// brackets that hold a value, and the bracketed groups at the first level
// (without their own brackets). A group may be left open at the end.
//
// A blank stretch before a group, or one holding only "n/a", leads the
// group's part. Nothing that reads a part sees a blank lead, because words
// and translations start by trimming, so only a lead holding "n/a" is kept
// (the part is then copied). Groups are marked as such. `texts`, when given,
// receives every part in full.
void SplitParts(Span text, Workspace& work, std::vector<Span>& parts, std::vector<Text>* texts = nullptr);

// The words of a text, read only as far as they are asked for. Words are
// separated by single spaces outside double quotes; a run of spaces gives
// empty words. Quotes stay in the words.
//
// The first words and a window of the latest ones are kept, which is all the
// templates look at (they walk their lists forward), so a list of any length
// takes no memory of its own.
class Words {
 public:
  explicit Words(TextView text);
  // Word n, 1-based; empty when there is no such word.
  TextView Get(std::size_t n);
  // Characters read so far.
  std::size_t Read() const { return read_; }

 private:
  static constexpr std::size_t kKept = 8;
  void Restart();
  bool ReadNext();

  TextView text_;
  std::size_t pos_ = 0;
  std::size_t read_ = 0;
  bool quoted_ = false;
  bool done_ = false;
  std::size_t count_ = 0;  // words read so far
  std::array<TextView, kKept> first_;
  std::array<TextView, kKept> latest_;  // word n at latest_[n % kKept]
};

}  // namespace sexp::detail

namespace sexp::detail {

// The translation of a whole formula (ParseIt), taking the text over.
// `eventName` is what the "when" template writes.
Text Translate(Text formula, TextView indent, TextView eventName, OperatorSet operators);
Text Translate(std::unique_ptr<Source> formula, TextView indent, TextView eventName, OperatorSet operators);

}  // namespace sexp::detail
