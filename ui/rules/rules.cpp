#include "ui/rules/rules.h"

#include <algorithm>

#include "base/utf8.h"
#include "ui/rules/layout.h"

namespace ui {

HoverFrame PlaceHoverFrame(double iconLeft, double iconTop, double iconWidth, double iconHeight, double tx,
                           double ty) {
  const int top = RoundHalfEven(iconTop - ty);
  const int bottom = RoundHalfEven(iconTop + iconHeight + ty);
  const int left = RoundHalfEven(iconLeft - tx);
  const int right = RoundHalfEven(iconLeft + iconWidth + tx);
  HoverFrame f;
  f.top = {left, top, right, top};
  f.bottom = {left + 8, bottom, right + 8, bottom};
  f.left = {left, top, left, bottom};
  f.right = {right, top, right, bottom};
  return f;
}

const TextView kFilterFS1 =
    u"FreeSpace 1 mission files (*.FSM)|*.fsm|FreeSpace 2 mission files (*.FS2)|*.fs2|All Files (*.*)|*.*";
const TextView kFilterFS2 =
    u"FreeSpace 2 mission files (*.FS2)|*.fs2|FreeSpace 1 mission files (*.FSM)|*.fsm|All Files (*.*)|*.*";
const TextView kFilterCampaign =
    u"Campaign files (*.FC2, *.FSC)|*.fc2;*.fsc|All Files (*.*)|*.*";

std::vector<FileFilter> SplitDialogFilter(TextView filter) {
  std::vector<Text> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t bar = filter.find(u'|', start);
    parts.emplace_back(filter.substr(start, bar == TextView::npos ? TextView::npos : bar - start));
    if (bar == TextView::npos) break;
    start = bar + 1;
  }
  std::vector<FileFilter> result;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) result.push_back({parts[i], parts[i + 1]});
  return result;
}

int StepRow(int current, int count, bool backwards) {
  if (count <= 0) return -1;
  if (current < 0 || current >= count) return backwards ? count - 1 : 0;
  return backwards ? (current + count - 1) % count : (current + 1) % count;
}

Text RowCountText(long long shown, long long total) {
  return mission::Decimal(shown) + u" of " + mission::Decimal(total) + u" rows";
}

Text MissionCaption(TextView path) {
  Text caption(kDesignCaption);
  caption += u" - [";
  caption += path;
  caption += u"]";
  return caption;
}

Text CodeWindowText(TextView text, std::size_t limit) {
  if (text.size() <= limit) return Text(text);
  std::size_t cut = limit;
  const std::size_t line_end = text.rfind(u"\r\n", limit);
  if (line_end != TextView::npos && line_end >= limit / 2) {
    cut = line_end;
  } else if (cut > 0 && mission::IsHighSurrogate(text[cut - 1])) {
    --cut;  // keep a surrogate pair whole
  }
  Text shown(text.substr(0, cut));
  shown += u"\r\n\u2026 ";
  shown += mission::Decimal(static_cast<long long>(text.size() - cut));
  shown += u" more characters not shown (torvk32 --export text prints the whole formula)";
  return shown;
}

Text UnknownCommandNotice(std::size_t lines) {
  if (lines == 0) return Text();
  return mission::Decimal(static_cast<long long>(lines)) +
         (lines == 1 ? u" line reads #UnknownCommand: View > Translate FreeSpace Open operators translates it"
                     : u" lines read #UnknownCommand: View > Translate FreeSpace Open operators translates them");
}

std::optional<Text> NotAFileReason(std::filesystem::file_type type) {
  using std::filesystem::file_type;
  switch (type) {
    case file_type::regular:
      return std::nullopt;
    case file_type::not_found:
    case file_type::none:
      return Text(u"No such file or directory");
    case file_type::directory:
      return Text(u"Is a directory");
    default:
      return Text(u"Not a regular file");
  }
}

Text NotAMissionQuestion(TextView name) {
  Text question(name);
  question += u" does not look like a FreeSpace mission. Open it anyway?";
  return question;
}

Text ListHint(bool shown, bool holdsSections, TextView name) {
  if (!shown) return Text(kNoMissionHint);
  if (holdsSections) return {};
  Text hint(name);
  hint += u" holds none of the sections of a mission.";
  return hint;
}

namespace {

bool IsKeyCharacter(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
}
char16_t KeyOf(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

// Where the access key of a caption stands (the character after a single
// "&"; "&&" is an ampersand), or npos.
std::size_t AccessKeyAt(TextView caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] != u'&') return i + 1;
    ++i;
  }
  return TextView::npos;
}

}  // namespace

std::vector<Text> WithAccessKeys(const std::vector<Text>& captions) {
  std::vector<Text> result = captions;
  std::u16string taken;
  const auto free = [&taken](char16_t c) { return IsKeyCharacter(c) && taken.find(KeyOf(c)) == Text::npos; };
  // First the keys the captions have, the earliest one of a key keeping it.
  std::vector<std::size_t> without;
  for (std::size_t i = 0; i < result.size(); ++i) {
    if (result[i] == u"-") continue;
    const std::size_t at = AccessKeyAt(result[i]);
    if (at != TextView::npos && free(result[i][at])) {
      taken += KeyOf(result[i][at]);
    } else {
      without.push_back(i);
    }
  }
  // Then a free key for each of the others, in the menu's order.
  for (const std::size_t i : without) {
    Text& caption = result[i];
    if (const std::size_t at = AccessKeyAt(caption); at != TextView::npos) caption.erase(at - 1, 1);
    std::size_t chosen = Text::npos;
    for (std::size_t c = 0; c < caption.size() && chosen == Text::npos; ++c) {
      const bool wordStart = c == 0 || !IsKeyCharacter(caption[c - 1]);
      if (wordStart && free(caption[c])) chosen = c;
    }
    for (std::size_t c = 0; c < caption.size() && chosen == Text::npos; ++c) {
      if (free(caption[c])) chosen = c;
    }
    if (chosen == Text::npos) continue;
    taken += KeyOf(caption[chosen]);
    caption.insert(chosen, 1, u'&');
  }
  return result;
}

Bounds FirstWindowBounds(const Bounds& available, int designWidth, int designHeight) {
  const auto side = [](int room, int design) { return std::max(room * 2 / 3, std::min(design, room)); };
  Bounds b;
  b.width = side(available.width, designWidth);
  b.height = side(available.height, designHeight);
  b.left = available.left + (available.width - b.width) / 2;
  b.top = available.top + (available.height - b.height) / 2;
  return b;
}

std::optional<Text> NumberToFit(const views::ListData& list, std::size_t column) {
  const auto numberLike = [](char16_t c) {
    return (c >= u'0' && c <= u'9') || c == u' ' || c == u'-' || c == u'+' || c == u'.';
  };
  const Text* longest = nullptr;
  bool digits = false;
  for (const views::Row& row : list.rows) {
    if (column >= row.cells.size()) continue;
    const Text& cell = row.cells[column];
    for (const char16_t c : cell) {
      if (!numberLike(c)) return std::nullopt;
      digits = digits || (c >= u'0' && c <= u'9');
    }
    if (!longest || cell.size() > longest->size()) longest = &cell;
  }
  if (!digits) return std::nullopt;
  const Text threeDigits = u"999";
  return longest->size() < threeDigits.size() ? threeDigits : *longest;
}

Text ListRowsText(const views::ListData& list, const std::vector<std::size_t>& rows) {
  Text text;
  const auto line = [&](const auto& cells, const auto& cellText) {
    for (std::size_t c = 0; c < list.columns.size(); ++c) {
      if (c > 0) text += u'\t';
      if (c < cells.size()) text += cellText(cells[c]);
    }
    text += u'\n';
  };
  line(list.columns, [](const views::Column& column) -> TextView { return column.caption; });
  for (const std::size_t row : rows) {
    if (row < list.rows.size()) line(list.rows[row].cells, [](const Text& cell) -> TextView { return cell; });
  }
  return text;
}

CopySource CtrlCSource(const CopyState& state) {
  switch (state.focus) {
    case FocusPane::kSexpCode:
      if (state.sexpSelected) return CopySource::kSexpSelection;
      break;
    case FocusPane::kParsedCode:
      if (state.parsedSelected) return CopySource::kParsedSelection;
      break;
    case FocusPane::kList:
      if (state.rowsSelected) return CopySource::kListRows;
      break;
    case FocusPane::kOther:
      break;
  }
  if (state.sexpSelected) return CopySource::kSexpSelection;
  if (state.parsedSelected) return CopySource::kParsedSelection;
  return CopySource::kNothing;
}

Text CellToolTip(TextView cell, std::size_t limit) {
  if (cell.size() <= limit) return Text(cell);
  std::size_t cut = limit;
  if (cut > 0 && mission::IsHighSurrogate(cell[cut - 1])) --cut;
  Text tip(cell.substr(0, cut));
  tip += u"\u2026";
  return tip;
}

}  // namespace ui
