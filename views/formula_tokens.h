// The pieces of one line of a formula, as the check and the event flow graph
// walk it: brackets, quoted texts and words.
#pragma once

#include <cstddef>

#include "base/text.h"

namespace views {

enum class TokenKind { kOpen, kClose, kQuoted, kWord };

struct FormulaToken {
  TokenKind kind;
  mission::TextView text;  // a quoted text without its quotes
  std::size_t at;          // where the token begins in the line scanned (a quoted text: its quote)
};

// Calls `visit(token)` for each piece of `text` in order while it returns
// true. Anything up to a blank is a blank; a quoted text runs to the next
// quote, and one left open ends with its line.
template <class Visit>
void ForEachFormulaToken(mission::TextView text, Visit&& visit) {
  const auto blank = [](char16_t c) { return c <= u' '; };
  std::size_t i = 0;
  while (i < text.size()) {
    const char16_t c = text[i];
    if (blank(c)) {
      ++i;
      continue;
    }
    FormulaToken token{TokenKind::kWord, {}, i};
    if (c == u'(' || c == u')') {
      token.kind = c == u'(' ? TokenKind::kOpen : TokenKind::kClose;
      token.text = text.substr(i, 1);
      ++i;
    } else if (c == u'"') {
      const std::size_t close = text.find(u'"', i + 1);
      const std::size_t end = close == mission::TextView::npos ? text.size() : close;
      token.kind = TokenKind::kQuoted;
      token.text = text.substr(i + 1, end - i - 1);
      i = close == mission::TextView::npos ? text.size() : close + 1;
    } else {
      std::size_t end = i;
      while (end < text.size() && !blank(text[end]) && text[end] != u'(' && text[end] != u')' && text[end] != u'"') {
        ++end;
      }
      token.text = text.substr(i, end - i);
      i = end;
    }
    if (!visit(token)) return;
  }
}

}  // namespace views
