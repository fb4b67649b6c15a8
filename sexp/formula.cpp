#include "sexp/formula.h"

#include <algorithm>

#include "sexp/source.h"

namespace sexp {
namespace {

// Set by ReadFormula only; read by the "when" template.
Text current_event_name;

// Appends `line` with every run of spaces, also one that continues the end of
// `text`, shortened to one space; returns the balance of "(" over ")" in it.
std::int64_t AppendCollapsed(Text& text, TextView line) {
  const std::size_t old_size = text.size();
  text.resize(old_size + line.size());
  char16_t* out = text.data() + old_size;
  bool space = old_size > 0 && text[old_size - 1] == u' ';
  std::int64_t depth = 0;
  for (const char16_t c : line) {
    depth += (c == u'(') - (c == u')');
    if (c == u' ' && space) continue;
    space = c == u' ';
    *out++ = c;
  }
  text.resize(static_cast<std::size_t>(out - text.data()));
  return depth;
}

}  // namespace

const Text& CurrentEventName() { return current_event_name; }

Text ReadFormula(TextView ownerName, const mission::LineList& lines, std::int32_t start, std::int32_t& next) {
  current_event_name = Text(ownerName);
  next = start;
  const auto count = static_cast<std::int64_t>(lines.Count());
  if (start < 1 || start > count) return Text();

  // Runs of spaces collapse as the lines are joined; the bracket balance is
  // checked at the end of each line.
  Text formula;
  std::int64_t depth = 0;
  do {
    if (next > count) return Text(kMissingClosing);
    depth += AppendCollapsed(formula, lines.Line(static_cast<std::size_t>(next)));
    ++next;
  } while (depth > 0);
  if (depth < 0) return Text(kTooManyClosing);
  return detail::Translate(std::move(formula), TextView(), current_event_name);
}

Text ParseIt(TextView formula, TextView indent) {
  return detail::Translate(Text(formula), indent, current_event_name);
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

Text PrepareFormula(TextView formula) {
  detail::Workspace work;
  const detail::Source& source = work.Add(Text(formula));
  return Text(detail::Prepare(detail::Span{&source, 0, source.Size()}, work).View());
}

std::vector<Text> SplitFormula(TextView prepared) {
  detail::Workspace work;
  const detail::Source& source = work.Add(Text(prepared));
  std::vector<detail::Part> parts;
  detail::SplitParts(detail::Span{&source, 0, source.Size()}, work, parts);
  std::vector<Text> texts;
  for (const detail::Part& part : parts) texts.push_back(detail::PartText(part));
  return texts;
}

}  // namespace sexp
