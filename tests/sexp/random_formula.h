// Random formula texts built from the words, brackets, quotes and blanks that
// matter to the reader: mostly well-formed, often not.
#pragma once

#include <random>
#include <string>

#include "base/text.h"

namespace sexp::testing {

// With `modern`, the words also include operators of FreeSpace Open and the
// ways missions write their arguments.
inline mission::Text RandomFormula(std::mt19937& rng, int max_tokens = 40, bool modern = false) {
  static const char* const kTokens[] = {
      "(", "(", "(", ")", ")", ")", " ", " ", "  ", "when", "not", "and", "or", "<", ">", "true", "false",
      "do-nothing", "add-goal", "ai-chase", "ai-dock", "ai-stay-still", "is-destroyed-delay", "has-arrived-delay",
      "hits-left", "mission-time", "is-ship-visible", "send-message", "send-message-list", "send-random-message",
      "ship-vanish", "change-iff", "validate-goal", "add-remove-escort", "has-docked-delay", "sabotage-subsystem",
      "good-secondary-time", "is-event-true-delay", "\"A 1\"", "\"B\"", "\"", "\"x  y\"", "0", "5", "0.0", "n/a",
      "$Formula:", "=", "x", "\t", "" /* a NUL byte, added apart below */};
  static const char* const kModernTokens[] = {
      "every-time", "when-argument", "every-time-argument", "any-of", "number-of", "for-counter", "cond",
      "if-then-else", "perform-actions", "xor", "+", "-", "*", "mod", ">=", "!=", "modify-variable", "@x[0]",
      "\"@Name[v]\"", "\"<argument>\"", "\"<none>\"", "get-object-x", "set-ship-position", "lock-primary-weapon",
      "is-iff", "goals", "ship-vaporize", "do-for-valid-arguments", "WHEN", "Send-Message", "lua-mod-op"};
  constexpr int kCount = sizeof(kTokens) / sizeof(kTokens[0]);
  constexpr int kModernCount = sizeof(kModernTokens) / sizeof(kModernTokens[0]);
  std::uniform_int_distribution<int> pick(0, kCount - 1 + (modern ? kModernCount : 0));
  std::uniform_int_distribution<int> length(0, max_tokens);
  std::string text;
  const int n = length(rng);
  for (int i = 0; i < n; ++i) {
    const int k = pick(rng);
    if (k == kCount - 1) {
      text.push_back('\0');
    } else if (k >= kCount) {
      text += kModernTokens[k - kCount];
    } else {
      text += kTokens[k];
    }
    if (rng() % 3 != 0) text += ' ';
  }
  return mission::FromUtf8(text);
}

}  // namespace sexp::testing
