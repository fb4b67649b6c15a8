#include "views/details.h"

#include <algorithm>
#include <string_view>

#include "sexp/formula.h"

namespace views {
namespace {

using namespace std::string_view_literals;

bool IsKeyLine(TextView line) { return !line.empty() && (line.front() == u'$' || line.front() == u'+'); }

// The value of a field line: what follows its first colon, trimmed.
TextView FieldValue(TextView line) {
  const std::size_t colon = line.find(u':');
  return mission::TrimBlankView(colon == TextView::npos ? TextView() : line.substr(colon + 1));
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// True for «", 12)» and the like: the part of an XSTR after its text.
bool IsXstrTail(TextView tail) {
  std::size_t i = 0;
  const auto blanks = [&] {
    while (i < tail.size() && tail[i] <= u' ') ++i;
  };
  if (tail.empty() || tail[i++] != u'"') return false;
  blanks();
  if (i >= tail.size() || tail[i++] != u',') return false;
  blanks();
  if (i < tail.size() && tail[i] == u'-') ++i;
  const std::size_t digits = i;
  while (i < tail.size() && IsDigit(tail[i])) ++i;
  if (i == digits) return false;
  blanks();
  return i + 1 == tail.size() && tail[i] == u')';
}

// Where the text of a message that begins at line `at` ends: at the next
// "$end_multi_text" line, or, when there is none, at the next field line.
// `marker` remembers the "$end_multi_text" line found last (0: none looked
// for yet), so that the lines of a range are searched once however many
// texts it holds.
std::size_t MessageTextEnd(const mission::LineList& lines, std::size_t at, LineRange range, std::size_t& marker) {
  if (marker <= at) {
    marker = std::max(marker, at + 1);
    while (marker < range.end && !lines.Line(marker).starts_with(u"$end_multi_text"sv)) ++marker;
  }
  if (marker < range.end) return marker;
  std::size_t i = at + 1;
  while (i < range.end && !IsKeyLine(lines.Line(i))) ++i;
  return i;
}

}  // namespace

EntryLines::EntryLines(const mission::LineList& lines) : count_(lines.Count()) {
  for (std::size_t i = 0; i < lines.Count(); ++i) {
    if (lines[i].substr(0, 6) == u"$Name:"sv) starts_.push_back(static_cast<std::uint32_t>(i + 1));
  }
}

std::optional<LineRange> EntryLines::Row(std::size_t row) const {
  if (row < 1 || row > starts_.size()) return std::nullopt;
  const std::size_t end = row < starts_.size() ? starts_[row] : count_ + 1;
  return LineRange{starts_[row - 1], end};
}

Text WithoutXstr(TextView text) {
  const TextView trimmed = mission::TrimBlankView(text);
  constexpr TextView kOpen = u"XSTR(\"";
  if (!trimmed.starts_with(kOpen)) return Text(trimmed);
  const TextView body = trimmed.substr(kOpen.size());
  const std::size_t quote = body.rfind(u'"');
  // A text whose tail is cut off (a ";" in it starts a comment) keeps what is left.
  if (quote == TextView::npos || !IsXstrTail(body.substr(quote))) return Text(body);
  return Text(body.substr(0, quote));
}

MessageDetails MessageDetailsOf(const mission::LineList& lines, LineRange range) {
  MessageDetails details;
  range.end = std::min(range.end, lines.Count() + 1);
  std::size_t marker = 0;
  for (std::size_t i = std::max<std::size_t>(range.first, 1); i < range.end; ++i) {
    const TextView line = lines.Line(i);
    const TextView key = line.substr(0, 6);
    if (key == u"$Name:"sv) {
      details.name = FieldValue(line);
    } else if (key == u"$Messa"sv) {
      const std::size_t end = MessageTextEnd(lines, i, range, marker);
      Text text(FieldValue(line));
      for (std::size_t k = i + 1; k < end; ++k) {
        text += u"\r\n";
        text += lines.Line(k);
      }
      details.text = WithoutXstr(text);
      i = end - 1;
    } else if (line.starts_with(u"+Persona:"sv) || line.starts_with(u"$Persona:"sv)) {
      details.persona = FieldValue(line);
    } else if (key == u"+AVI N"sv) {
      details.avi = FieldValue(line);
    } else if (key == u"+Wave "sv) {
      details.wave = FieldValue(line);
    }
  }
  return details;
}

Text MessagePaneText(const MessageDetails& details) {
  Text text = details.text;
  const std::pair<TextView, const Text*> fields[] = {
      {u"Persona: ", &details.persona}, {u"AVI: ", &details.avi}, {u"WAV: ", &details.wave}};
  bool first = true;
  for (const auto& [label, value] : fields) {
    if (value->empty()) continue;
    if (!text.empty()) text += first ? u"\r\n\r\n" : u"\r\n";
    first = false;
    text += label;
    text += *value;
  }
  return text;
}

FormulaTexts CueTexts(const mission::LineList& lines, LineRange range, TextView owner,
                      sexp::OperatorSet operators) {
  static constexpr std::pair<TextView, TextView> kCues[] = {{u"$Arrival Cue:", u"Arrival cue:"},
                                                            {u"$Departure Cue:", u"Departure cue:"}};
  FormulaTexts texts;
  range.end = std::min(range.end, lines.Count() + 1);
  for (std::size_t i = std::max<std::size_t>(range.first, 1); i < range.end;) {
    const TextView line = lines.Line(i);
    const auto cue = std::find_if(std::begin(kCues), std::end(kCues),
                                  [line](const auto& c) { return line.starts_with(c.first); });
    if (cue == std::end(kCues)) {
      ++i;
      continue;
    }
    std::int32_t next = 0;
    const Text parsed = sexp::ReadCue(owner, lines, static_cast<std::int32_t>(i), next, cue->first.size(), operators);
    if (!texts.parsed.empty()) {
      texts.sexp += u"\r\n";
      texts.parsed += u"\r\n\r\n";
    }
    texts.parsed += cue->second;
    texts.parsed += u"\r\n";
    texts.parsed += parsed;
    const std::size_t end = std::max<std::size_t>(static_cast<std::size_t>(next), i + 1);
    for (std::size_t k = i; k < end; ++k) {
      if (k > i) texts.sexp += u"\r\n";
      texts.sexp += lines.Line(k);
    }
    i = end;
  }
  return texts;
}

}  // namespace views
