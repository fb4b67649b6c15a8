#include "sexp/formula.h"

#include <algorithm>
#include <array>
#include <vector>

#include "sexp/source.h"

namespace sexp {
namespace {

// A formula being gathered from its lines, with the positions of its
// brackets and "$" characters noted on the way. A bracket inside a quoted
// text (between two «"») is part of a name, not of the formula's structure:
// it is neither counted nor noted. A quoted text left open at the end of a
// line goes on into the next line.
struct Gathered {
  Text text;
  std::vector<std::uint32_t> brackets;
  std::vector<std::uint32_t> dollars;
  bool quoted = false;

  // Appends `line` with every run of spaces, also one that continues the end
  // of the text, shortened to one space; returns the balance of "(" over ")"
  // outside quoted texts in it.
  std::int64_t Append(TextView line) {
    // Characters go through a small buffer, so the text grows by whole
    // pieces and is never filled with anything but the formula.
    std::array<char16_t, 4096> buffer;
    std::size_t used = 0;
    bool space = !text.empty() && text.back() == u' ';
    std::int64_t depth = 0;
    for (const char16_t c : line) {
      if (c == u' ') {
        if (space) continue;
        space = true;
      } else {
        space = false;
        if (c == u'"') {
          quoted = !quoted;
        } else if ((c == u'(' || c == u')') && !quoted) {
          depth += c == u'(' ? 1 : -1;
          brackets.push_back(static_cast<std::uint32_t>(text.size() + used));
        } else if (c == u'$') {
          dollars.push_back(static_cast<std::uint32_t>(text.size() + used));
        }
      }
      buffer[used++] = c;
      if (used == buffer.size()) {
        text.append(buffer.data(), used);
        used = 0;
      }
    }
    text.append(buffer.data(), used);
    return depth;
  }
};

bool IsFormulaKey(TextView line) { return line.substr(0, 6) == u"$Formu"; }
bool IsFieldKey(TextView line) { return !line.empty() && (line.front() == u'$' || line.front() == u'+'); }

// Gathers the formula that begins after the first `skip` characters of line
// `start` until its brackets balance, and translates it. Each line end counts
// as a blank (stored lines have lost their tabs, so a formula indented with
// tabs would otherwise glue the last word of a line to the first of the
// next), and runs of spaces collapse as the lines are joined; the bracket
// balance is checked at the end of each line. A formula left open ends at the end of the slot, or before
// the next line that `ends` tells: reading on into the next formula would
// make every open formula of a damaged section hold the rest of it.
Text Read(TextView ownerName, const mission::LineList& lines, std::int32_t start, std::int32_t& next,
          std::size_t skip, bool (*ends)(TextView), OperatorSet operators) {
  next = start;
  const auto count = static_cast<std::int64_t>(lines.Count());
  if (start < 1 || start > count) return Text();

  Gathered formula;
  std::int64_t depth = 0;
  do {
    if (next > count) return Text(kMissingClosing);
    TextView line = lines.Line(static_cast<std::size_t>(next));
    if (next > start && ends(line)) return Text(kMissingClosing);
    if (next == start) {
      line = line.substr(std::min(skip, line.size()));
    } else {
      formula.Append(u" ");
    }
    depth += formula.Append(line);
    ++next;
  } while (depth > 0);
  if (depth < 0) return Text(kTooManyClosing);
  return detail::Translate(
      std::make_unique<detail::Source>(std::move(formula.text), std::move(formula.brackets), formula.dollars),
      TextView(), ownerName, operators);
}

}  // namespace

Text ReadFormula(TextView ownerName, const mission::LineList& lines, std::int32_t start, std::int32_t& next,
                 OperatorSet operators) {
  return Read(ownerName, lines, start, next, 0, IsFormulaKey, operators);
}

Text ReadCue(TextView ownerName, const mission::LineList& lines, std::int32_t start, std::int32_t& next,
             std::size_t skip, OperatorSet operators) {
  return Read(ownerName, lines, start, next, skip, IsFieldKey, operators);
}

Text ParseIt(TextView formula, TextView indent, TextView ownerName, OperatorSet operators) {
  return detail::Translate(Text(formula), indent, ownerName, operators);
}

std::int32_t CountOccurrences(TextView text, TextView find) {
  if (find.empty()) return 0;
  std::int32_t count = 0;
  for (std::size_t at = text.find(find); at != TextView::npos; at = text.find(find, at + find.size())) ++count;
  return count;
}

Text NthWord(std::int32_t n, TextView text) {
  if (n < 1) return Text();
  detail::Words words(text);
  return Text(words.Get(static_cast<std::size_t>(n)));
}

Text ShipActionList(TextView prefix, TextView arguments, TextView action) {
  detail::Words words(arguments);
  Text result;
  for (std::size_t k = 2; mission::IsGiven(words.Get(k)); ++k) {
    result.append(prefix).append(u"Ship(").append(words.Get(k)).append(u").").append(action).append(u"\r\n");
  }
  mission::DropRight(result, 2);
  return result;
}

}  // namespace sexp
