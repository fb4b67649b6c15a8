// Reading a formula's text element by element, with the operator and the
// argument place of each element: what the code windows' links and the
// Variables view need to know of a name ("is-event-true-delay" takes an
// event first, "modify-variable" sets the variable it is given first).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "base/text.h"
#include "sexp/operators.h"

namespace views {

// One element of a list: a word or a quoted text (without its quotes).
struct SexpElement {
  const sexp::Operator* op = nullptr;  // the list's operator; nullptr when the table does not know it
  std::uint32_t position = 0;          // 1-based argument place; 0: the operator's own place
  mission::TextView text;              // the word, or the quoted text between its quotes
  std::size_t start = 0;               // where `text` begins in the formula's text
  bool quoted = false;
};

// Calls `visit(const SexpElement&)` for every word and quoted text that
// stands inside a list, in text order. Text outside every list (a key before
// the formula) is skipped; a quoted text left open runs to its line's end. A
// variable «@Name[value]» is one word, blanks in its value included.
// Linear in the length of the text.
template <typename Visit>
void WalkSexp(mission::TextView text, Visit visit);

// The variable an element names: «@Name[value]» (quoted or not) names
// Name, without blanks at its ends; nothing for any other element.
inline std::optional<mission::TextView> VariableOf(mission::TextView element) {
  if (element.empty() || element.front() != u'@') return std::nullopt;
  const std::size_t bracket = element.find(u'[');
  const mission::TextView name =
      mission::TrimBlankView(element.substr(1, bracket == mission::TextView::npos ? mission::TextView::npos : bracket - 1));
  if (name.empty()) return std::nullopt;
  return name;
}

namespace detail {

inline bool IsSexpBlank(char16_t c) { return c <= u' '; }
inline bool IsSexpLineEnd(char16_t c) { return c == u'\r' || c == u'\n'; }

}  // namespace detail

template <typename Visit>
void WalkSexp(mission::TextView text, Visit visit) {
  struct List {
    const sexp::Operator* op = nullptr;
    std::uint32_t elements = 0;  // seen so far, the operator's place included
  };
  std::vector<List> open;
  std::size_t stop = 0;  // the first "]", quote or line end at or after the word being read
  // Counts an element of the innermost list and reports it.
  const auto element = [&](mission::TextView piece, std::size_t start, bool quoted) {
    List& list = open.back();
    const std::uint32_t position = list.elements++;
    if (position == 0 && !quoted) list.op = sexp::FindOperator(piece);
    visit(SexpElement{list.op, position, piece, start, quoted});
  };
  std::size_t i = 0;
  while (i < text.size()) {
    const char16_t c = text[i];
    if (detail::IsSexpBlank(c)) {
      ++i;
    } else if (c == u'(') {
      if (!open.empty()) ++open.back().elements;  // a nested list is an argument
      open.push_back({});
      ++i;
    } else if (c == u')') {
      if (!open.empty()) open.pop_back();
      ++i;
    } else if (c == u'"') {
      std::size_t close = i + 1;
      while (close < text.size() && text[close] != u'"' && !detail::IsSexpLineEnd(text[close])) ++close;
      if (!open.empty()) element(text.substr(i + 1, close - i - 1), i + 1, true);
      i = close < text.size() && text[close] == u'"' ? close + 1 : close;
    } else {
      std::size_t end = i;
      while (end < text.size() && !detail::IsSexpBlank(text[end]) && text[end] != u'(' && text[end] != u')' &&
             text[end] != u'"') {
        ++end;
      }
      // A variable's value may hold blanks: «@Target[Alpha 1]» is one word.
      if (c == u'@' && text.substr(i, end - i).find(u']') == mission::TextView::npos) {
        // The stop found for an earlier word serves while it lies ahead: a
        // line of many "@" words is read once, not once per word.
        if (stop < end) stop = std::min(text.find_first_of(u"]\"\r\n", end), text.size());
        if (stop < text.size() && text[stop] == u']') end = stop + 1;
      }
      if (!open.empty()) element(text.substr(i, end - i), i, false);
      i = end;
    }
  }
}

}  // namespace views
