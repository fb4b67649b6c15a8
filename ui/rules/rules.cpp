#include "ui/rules/rules.h"

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
