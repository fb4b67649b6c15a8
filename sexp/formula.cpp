#include "sexp/formula.h"

#include <algorithm>

#include "sexp/source.h"

namespace sexp {
namespace {

// Set by ReadFormula only; read by the "when" template.
Text current_event_name;

}  // namespace

const Text& CurrentEventName() { return current_event_name; }

Text ReadFormula(TextView ownerName, const mission::LineList& lines, std::int32_t start, std::int32_t& next) {
  current_event_name = Text(ownerName);
  next = start;
  const auto count = static_cast<std::int64_t>(lines.Count());
  if (start < 1 || start > count) return Text();

  // First find the last line (the bracket balance does not depend on the
  // spaces), then join the lines once, collapsing runs of spaces.
  std::int64_t depth = 0;
  std::size_t size = 0;
  do {
    if (next > count) return Text(kMissingClosing);
    const TextView line = lines.Line(static_cast<std::size_t>(next));
    depth += std::count(line.begin(), line.end(), u'(') - std::count(line.begin(), line.end(), u')');
    size += line.size();
    ++next;
  } while (depth > 0);
  if (depth < 0) return Text(kTooManyClosing);
  Text formula;
  formula.reserve(size);
  for (std::int32_t k = start; k < next; ++k) {
    for (const char16_t c : lines.Line(static_cast<std::size_t>(k))) {
      if (c != u' ' || formula.empty() || formula.back() != u' ') formula.push_back(c);
    }
  }
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
