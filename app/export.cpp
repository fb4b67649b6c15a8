#include "app/export.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

#include "app/json_writer.h"
#include "base/utf8.h"
#include "graphviz/graphviz.h"
#include "mission/file.h"
#include "views/campaign.h"
#include "views/campaign_files.h"
#include "views/flow.h"
#include "views/flow_picture.h"
#include "views/formula_display.h"
#include "views/modes.h"
#include "views/stages.h"

namespace app {
namespace {

using mission::IsHighSurrogate;
using mission::IsLowSurrogate;
using mission::Text;
using mission::TextView;

// A list row that refers to a formula, remembered while the views are
// written so that the formulas can follow them without filling a view twice.
struct FormulaRow {
  int mode = 0;
  std::size_t row = 0;  // 1-based
  Text tag;
  Text name;  // the row's second cell
  views::FileLines lines;  // a stage's lines, for the views after the eight
};

// Fills the views in mode order, each as a switch on a freshly loaded
// mission fills it, hands each to `visit` and returns the rows with a
// formula reference. Only one view is held at a time.
template <typename Visit>
std::vector<FormulaRow> ForEachView(const mission::Mission& mission, Visit visit) {
  std::vector<FormulaRow> formulas;
  for (const views::ModeInfo& info : views::Modes()) {
    const views::ListData list = views::FillMode(info.mode, mission);
    visit(info, list);
    for (std::size_t i = 0; i < list.rows.size(); ++i) {
      const views::Row& row = list.rows[i];
      if (!views::HasFormulaReference(row.tag)) continue;
      formulas.push_back({info.mode, i + 1, row.tag, row.cells.size() > 1 ? row.cells[1] : Text(),
                          i < list.rowLines.size() ? list.rowLines[i] : views::FileLines{}});
    }
  }
  return formulas;
}

views::FormulaTexts ReadFormula(const mission::Mission& mission, const FormulaRow& row,
                                sexp::OperatorSet operators) {
  if (const auto kind = views::StageKindOfMode(row.mode)) {
    return views::StageFormula(mission, views::ReadStage(mission, *kind, row.lines), row.name, operators);
  }
  return views::ReadRowFormula(mission.Sections(), row.tag, row.name, operators);
}

// --- JSON ---

void WriteSections(const mission::MissionSections& sections, JsonWriter& json) {
  json.BeginArray();
  for (int slot = 1; slot <= 9; ++slot) {
    const mission::LineList& lines = sections.Slot(slot);
    json.BeginArray();
    for (std::size_t i = 0; i < lines.Count(); ++i) json.String(lines[i]);
    json.EndArray();
  }
  json.EndArray();
}

// The node's tag, «mode» or «mode,entry», as views::NodeTag writes it,
// without building a text for each of a large tree's millions of nodes.
void WriteTag(const mission::OutlineNode& node, JsonWriter& json) {
  char tag[32];
  char* end = std::to_chars(tag, tag + 16, views::ModeOfSlot(node.slot)).ptr;
  if (node.entry > 0) {
    *end++ = ',';
    end = std::to_chars(end, tag + sizeof tag, node.entry).ptr;
  }
  json.String(std::string_view(tag, static_cast<std::size_t>(end - tag)));
}

void WriteNode(const mission::OutlineTree& tree, std::uint32_t index, JsonWriter& json) {
  json.BeginObject();
  json.Key("text");
  json.String(tree.NodeText(index));
  json.Key("tag");
  WriteTag(tree.Node(index), json);
  json.Key("children");
  json.BeginArray();
  // The tree is three levels deep at most (section, entry, field).
  for (const std::uint32_t child : tree.Children(index)) WriteNode(tree, child, json);
  json.EndArray();
  json.EndObject();
}

void WriteTree(const mission::OutlineTree& tree, JsonWriter& json) {
  json.BeginArray();
  for (const std::uint32_t root : tree.Roots()) WriteNode(tree, root, json);
  json.EndArray();
}

void WriteView(const views::ModeInfo& info, const views::ListData& list, JsonWriter& json) {
  json.BeginObject();
  json.Key("mode");
  json.Number(info.mode);
  json.Key("title");
  json.String(info.title);
  json.Key("columns");
  json.BeginArray();
  for (const views::Column& column : list.columns) {
    json.BeginObject();
    json.Key("caption");
    json.String(column.caption);
    json.Key("width");
    json.Number(column.width);
    json.EndObject();
  }
  json.EndArray();
  json.Key("rows");
  json.BeginArray();
  for (const views::Row& row : list.rows) {
    json.BeginObject();
    json.Key("cells");
    json.BeginArray();
    for (const Text& cell : row.cells) json.String(cell);
    json.EndArray();
    json.Key("tag");
    json.String(row.tag);
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
}

void WriteLines(TextView text, JsonWriter& json) {
  json.BeginArray();
  for (const TextView line : SplitAtLineBreaks(text)) json.String(line);
  json.EndArray();
}

void WriteFormula(const mission::Mission& mission, const FormulaRow& row, sexp::OperatorSet operators,
                  JsonWriter& json) {
  const views::FormulaTexts texts = ReadFormula(mission, row, operators);
  json.BeginObject();
  json.Key("mode");
  json.Number(row.mode);
  json.Key("row");
  json.Number(static_cast<std::int64_t>(row.row));
  json.Key("tag");
  json.String(row.tag);
  json.Key("name");
  json.String(row.name);
  json.Key("sexp");
  WriteLines(texts.sexp, json);
  json.Key("parsed");
  WriteLines(texts.parsed, json);
  json.EndObject();
}

// --- Text ---

// Cells wider than this many characters are cut.
constexpr std::size_t kMaxCellWidth = 40;
constexpr char16_t kEllipsis = u'\u2026';

inline bool IsControl(char16_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

// Characters as a terminal counts them: a surrogate pair is one.
std::size_t Width(TextView text) {
  std::size_t width = text.size();
  for (std::size_t i = 1; i < text.size(); ++i)
    if (IsLowSurrogate(text[i]) && IsHighSurrogate(text[i - 1])) --width;
  return width;
}

// How many 16-bit characters the first `width` characters of the text take
// (a surrogate pair counts as one character).
std::size_t PrefixOfWidth(TextView text, std::size_t width) {
  std::size_t counted = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool pairTail = i > 0 && IsLowSurrogate(text[i]) && IsHighSurrogate(text[i - 1]);
    if (pairTail) continue;
    if (counted == width) return i;
    ++counted;
  }
  return text.size();
}

class TextWriter {
 public:
  explicit TextWriter(std::ostream& out) : out_(out) {}
  ~TextWriter() { Flush(); }

  void Append(std::string_view utf8) { buffer_.append(utf8); }
  void Append(TextView text) { mission::AppendUtf8(text, buffer_); }
  // Appends the text made safe for a terminal (control characters, which
  // could steer it, become "?"), cut to at most `limit` characters with an
  // ellipsis; the result is how many characters were written.
  std::size_t AppendForTerminal(TextView text, std::size_t limit = TextView::npos) {
    if (limit == TextView::npos) return AppendWhole(text);
    const std::size_t width = Width(text);
    if (width <= limit) return AppendWhole(text);
    AppendWhole(text.substr(0, PrefixOfWidth(text, limit - 1)));
    Append(TextView(&kEllipsis, 1));
    return limit;
  }
  void Spaces(std::size_t count) { buffer_.append(count, ' '); }
  void EndLine() {
    while (!buffer_.empty() && buffer_.back() == ' ') buffer_.pop_back();
    buffer_.push_back('\n');
    if (buffer_.size() >= (1 << 16)) Flush();
  }
  void Flush() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }

 private:
  // The whole text, control characters as "?", in one pass; the result is
  // its width.
  std::size_t AppendWhole(TextView text) {
    const std::size_t start = buffer_.size();
    buffer_.resize(start + 3 * text.size());  // at most three bytes a 16-bit character
    char* p = buffer_.data() + start;
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size(); ++width) {
      const char16_t c = text[i];
      if (IsControl(c)) {
        *p++ = '?';
        ++i;
      } else if (c < 0x80) {
        *p++ = static_cast<char>(c);
        ++i;
      } else {
        p = mission::EncodeUtf8(mission::NextCodePoint(text, i), p);
      }
    }
    buffer_.resize(static_cast<std::size_t>(p - buffer_.data()));
    return width;
  }

  std::ostream& out_;
  std::string buffer_;
};

void WriteOutline(const mission::OutlineTree& tree, std::uint32_t index, std::size_t depth, TextWriter& text) {
  text.Spaces(2 * depth + 2);
  text.AppendForTerminal(tree.NodeText(index));
  text.Append("  [");
  text.Append(views::NodeTag(tree, index));
  text.Append("]");
  text.EndLine();
  for (const std::uint32_t child : tree.Children(index)) WriteOutline(tree, child, depth + 1, text);
}

void WriteTable(const views::ModeInfo& info, const views::ListData& list, TextWriter& text) {
  text.Append("== ");
  text.Append(mission::Decimal(info.mode));
  text.Append(" ");
  text.Append(info.title);
  text.Append(" ==");
  text.EndLine();
  std::vector<std::size_t> widths;
  for (const views::Column& column : list.columns) widths.push_back(std::min(Width(column.caption), kMaxCellWidth));
  for (const views::Row& row : list.rows)
    for (std::size_t c = 0; c < row.cells.size(); ++c)
      widths[c] = std::max(widths[c], std::min(Width(row.cells[c]), kMaxCellWidth));
  const auto writeRow = [&](auto cellOf) {
    for (std::size_t c = 0; c < widths.size(); ++c) {
      const std::size_t width = text.AppendForTerminal(cellOf(c), kMaxCellWidth);
      if (c + 1 < widths.size()) text.Spaces(widths[c] - width + 2);
    }
    text.EndLine();
  };
  if (list.columns.empty()) {
    text.Append("(no columns)");
    text.EndLine();
  } else {
    writeRow([&](std::size_t c) { return TextView(list.columns[c].caption); });
    for (std::size_t c = 0; c < widths.size(); ++c) {
      text.Append(std::string(std::max<std::size_t>(widths[c], 1), '-'));
      if (c + 1 < widths.size()) text.Spaces(2);
    }
    text.EndLine();
    for (const views::Row& row : list.rows) writeRow([&](std::size_t c) { return TextView(row.cells[c]); });
    if (list.rows.empty()) {
      text.Append("(no rows)");
      text.EndLine();
    }
  }
  text.EndLine();
}

void WriteCode(std::string_view heading, TextView code, TextWriter& text) {
  text.Append(heading);
  text.EndLine();
  for (const TextView line : SplitAtLineBreaks(code)) {
    text.Spaces(4);
    text.AppendForTerminal(line);
    text.EndLine();
  }
}

void WriteFormulaText(const mission::Mission& mission, const FormulaRow& row, sexp::OperatorSet operators,
                      TextWriter& text) {
  const views::FormulaTexts texts = ReadFormula(mission, row, operators);
  text.Append("-- ");
  text.Append(views::ModeOf(row.mode).title);
  text.Append(" row ");
  text.Append(std::to_string(row.row));
  text.Append(" [");
  text.AppendForTerminal(row.tag);
  text.Append("]: ");
  text.AppendForTerminal(row.name);
  text.EndLine();
  WriteCode("SEXP code:", texts.sexp, text);
  WriteCode("Parsed code:", texts.parsed, text);
  text.EndLine();
}

// The file's name without its folder: two copies of one mission export
// alike, wherever they lie (git hands a diff filter a temporary copy).
// Windows separates folders with a backslash as well as "/".
std::string BaseName(const std::string& file) {
  constexpr char kSeparators[] = {'/', static_cast<char>(std::filesystem::path::preferred_separator), '\0'};
  const std::size_t slash = file.find_last_of(kSeparators);
  if (slash == std::string::npos || slash + 1 == file.size()) return file;
  return file.substr(slash + 1);
}

// --- Campaigns ---

constexpr views::ModeInfo kGeneralInfo{views::kModeGeneral, u"&General", u"General", false};
constexpr views::ModeInfo kCampaignInfo{views::kModeCampaign, u"&Campaign", u"Campaign", true};

// A campaign with what its folder holds: the missions found and their titles.
struct CampaignExport {
  views::Campaign campaign;
  std::vector<views::CampaignMissionInfo> infos;
};

CampaignExport ReadCampaignExport(const std::string& file, const mission::Mission& loaded) {
  CampaignExport e;
  e.campaign = views::ReadCampaign(loaded);
  e.campaign.freeSpace1 = views::IsFreeSpace1Campaign(file);
  views::CampaignMissions missions;
  views::ReadCampaignMissions(e.campaign, file == kStandardInput ? std::string() : file, missions);
  const views::CampaignIndex index(e.campaign);
  for (std::size_t i = 0; i < e.campaign.missions.size(); ++i) {
    // A later entry of a mission shows what its first entry found.
    const std::size_t first = index.Find(e.campaign.missions[i].file).value_or(i);
    const mission::Mission* mission = missions.files[first].mission;
    e.infos.push_back({mission != nullptr, mission != nullptr ? views::MissionTitle(*mission) : Text()});
  }
  return e;
}

// The formula name of a Campaign view row: its mission's file name.
Text RowName(const views::ListData& list, std::size_t row) { return list.rows[row].cells[1]; }

void WriteCodeObject(const views::CampaignFormula& formula, JsonWriter& json) {
  json.Key("sexp");
  WriteLines(formula.sexp, json);
  json.Key("parsed");
  WriteLines(formula.parsed, json);
}

void WriteCampaignJson(const std::string& file, const CampaignExport& e, std::ostream& out) {
  const views::Campaign& c = e.campaign;
  JsonWriter json(out);
  json.BeginObject();
  json.Key("file");
  json.String(std::string_view(file));
  json.Key("campaign");
  json.BeginObject();
  json.Key("name");
  json.String(c.name);
  json.Key("type");
  json.String(c.type);
  json.Key("description");
  json.String(c.description);
  for (const auto& [key, names] : {std::pair{"starting_ships", &c.startingShips}, {"starting_weapons", &c.startingWeapons}}) {
    json.Key(key);
    json.BeginArray();
    for (const TextView name : *names) json.String(name);
    json.EndArray();
  }
  json.EndObject();
  json.Key("missions");
  json.BeginArray();
  for (std::size_t i = 0; i < c.missions.size(); ++i) {
    const views::CampaignMission& m = c.missions[i];
    json.BeginObject();
    json.Key("row");
    json.Number(static_cast<std::int64_t>(i + 1));
    json.Key("file");
    json.String(m.file);
    json.Key("found");
    json.Bool(e.infos[i].found);
    json.Key("title");
    json.String(e.infos[i].title);
    json.Key("level");
    json.String(m.level);
    json.Key("position");
    json.String(m.position);
    json.Key("next");
    json.BeginArray();
    for (const auto& target : m.branch.targets) json.String(target.mission);
    json.EndArray();
    json.Key("branch");
    json.BeginObject();
    WriteCodeObject(m.branch, json);
    json.EndObject();
    json.Key("loop");
    if (m.loop == views::LoopKind::kNone) {
      json.Null();
    } else {
      json.BeginObject();
      json.Key("kind");
      json.String(std::string_view(m.loop == views::LoopKind::kLoop ? "loop" : "fork"));
      WriteCodeObject(m.loopFormula, json);
      json.EndObject();
    }
    json.EndObject();
  }
  json.EndArray();
  json.Key("views");
  json.BeginArray();
  WriteView(kGeneralInfo, views::CampaignGeneral(c), json);
  const views::ListData list = views::CampaignList(c, e.infos);
  WriteView(kCampaignInfo, list, json);
  json.EndArray();
  json.Key("formulas");
  json.BeginArray();
  for (std::size_t i = 0; i < c.missions.size(); ++i) {
    json.BeginObject();
    json.Key("mode");
    json.Number(views::kModeCampaign);
    json.Key("row");
    json.Number(static_cast<std::int64_t>(i + 1));
    json.Key("tag");
    json.String(list.rows[i].tag);
    json.Key("name");
    json.String(RowName(list, i));
    WriteCodeObject(c.missions[i].branch, json);
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
  json.Finish();
}

void WriteCampaignText(const std::string& file, const CampaignExport& e, std::ostream& out) {
  const views::Campaign& c = e.campaign;
  TextWriter text(out);
  text.Append("Campaign: ");
  text.AppendForTerminal(mission::FromUtf8(BaseName(file)));
  text.EndLine();
  text.EndLine();
  WriteTable(kGeneralInfo, views::CampaignGeneral(c), text);
  const views::ListData list = views::CampaignList(c, e.infos);
  WriteTable(kCampaignInfo, list, text);
  text.Append("== Formulas ==");
  text.EndLine();
  text.EndLine();
  for (std::size_t i = 0; i < c.missions.size(); ++i) {
    const views::CampaignMission& m = c.missions[i];
    text.Append("-- Campaign row ");
    text.Append(std::to_string(i + 1));
    text.Append(" [");
    text.AppendForTerminal(list.rows[i].tag);
    text.Append("]: ");
    text.AppendForTerminal(RowName(list, i));
    text.EndLine();
    WriteCode("SEXP code:", m.branch.sexp, text);
    WriteCode("Parsed code:", m.branch.parsed, text);
    if (m.loop != views::LoopKind::kNone) {
      WriteCode(m.loop == views::LoopKind::kLoop ? "Loop SEXP code:" : "Fork SEXP code:", m.loopFormula.sexp, text);
      WriteCode(m.loop == views::LoopKind::kLoop ? "Loop Parsed code:" : "Fork Parsed code:", m.loopFormula.parsed, text);
    }
    text.EndLine();
  }
  text.Flush();
  out.flush();
}

bool WriteFlowSvg(const views::FlowGraph& graph, std::ostream& out, std::string& error) {
  const views::DotLayout layout = [](const std::string& dot, std::string& plain, std::string& reason) {
    return graphviz::Render(dot, "plain", plain, reason);
  };
  views::FlowPicture picture;
  if (!views::LayOutFlow(views::WholeFlowPart(graph), layout, picture, error)) return false;
  out << views::FlowSvg(picture);
  return true;
}

// Writes the export of a campaign; false with a reason when its picture
// cannot be drawn.
bool WriteCampaignExport(ExportFormat format, const std::string& file, const mission::Mission& loaded,
                         std::ostream& out, std::string& error) {
  switch (format) {
    case ExportFormat::kJson: WriteCampaignJson(file, ReadCampaignExport(file, loaded), out); break;
    case ExportFormat::kText: WriteCampaignText(file, ReadCampaignExport(file, loaded), out); break;
    case ExportFormat::kDot: out << views::FlowDot(views::CampaignGraph(views::ReadCampaign(loaded)), "campaign"); break;
    case ExportFormat::kSvg: return WriteFlowSvg(views::CampaignGraph(views::ReadCampaign(loaded)), out, error);
  }
  return true;
}

}  // namespace

std::vector<TextView> SplitAtLineBreaks(TextView text) {
  std::vector<TextView> lines;
  if (text.empty()) return lines;
  for (std::size_t from = 0;;) {
    const std::size_t end = text.find(u"\r\n", from);
    if (end == TextView::npos) {
      lines.push_back(text.substr(from));
      return lines;
    }
    lines.push_back(text.substr(from, end - from));
    from = end + 2;
  }
}

void WriteJsonExport(const std::string& file, const mission::Mission& mission, std::ostream& out,
                     sexp::OperatorSet operators) {
  JsonWriter json(out);
  json.BeginObject();
  json.Key("file");
  json.String(std::string_view(file));
  json.Key("sections");
  WriteSections(mission.Sections(), json);
  json.Key("tree");
  WriteTree(mission.Tree(), json);
  json.Key("views");
  json.BeginArray();
  const std::vector<FormulaRow> formulas =
      ForEachView(mission, [&](const views::ModeInfo& info, const views::ListData& list) { WriteView(info, list, json); });
  json.EndArray();
  json.Key("formulas");
  json.BeginArray();
  for (const FormulaRow& row : formulas) WriteFormula(mission, row, operators, json);
  json.EndArray();
  json.EndObject();
  json.Finish();
}

void WriteTextExport(const std::string& file, const mission::Mission& mission, std::ostream& out,
                     sexp::OperatorSet operators) {
  TextWriter text(out);
  text.Append("Mission: ");
  text.AppendForTerminal(mission::FromUtf8(BaseName(file)));
  text.EndLine();
  text.EndLine();
  text.Append("== Outline ==");
  text.EndLine();
  for (const std::uint32_t root : mission.Tree().Roots()) WriteOutline(mission.Tree(), root, 0, text);
  text.EndLine();
  const std::vector<FormulaRow> formulas = ForEachView(
      mission, [&](const views::ModeInfo& info, const views::ListData& list) { WriteTable(info, list, text); });
  text.Append("== Formulas ==");
  text.EndLine();
  text.EndLine();
  for (const FormulaRow& row : formulas) WriteFormulaText(mission, row, operators, text);
  text.Flush();
  out.flush();
}

void WriteDotExport(const mission::Mission& mission, std::ostream& out) {
  out << views::FlowDot(views::BuildFlowGraph(mission));
}

bool WriteSvgExport(const mission::Mission& mission, std::ostream& out, std::string& error) {
  return WriteFlowSvg(views::BuildFlowGraph(mission), out, error);
}

mission::LoadResult LoadMission(const std::string& file, mission::Mission& mission) {
  return file == kStandardInput ? mission::LoadStandardInput(mission)
                                 : mission::LoadFile(mission::PathOfArgument(file), mission);
}

int RunExport(ExportFormat format, const std::string& file, std::ostream& out, std::ostream& err,
              sexp::OperatorSet operators) {
  mission::Mission mission;
  const mission::LoadResult loaded = LoadMission(file, mission);
  if (!loaded.ok) {
    err << "torvk32: cannot open " << file << ": " << loaded.error << '\n';
    return 1;
  }
  std::string error;
  if (views::LooksLikeCampaign(mission)) {
    if (!WriteCampaignExport(format, file, mission, out, error)) {
      err << "torvk32: cannot draw " << file << ": " << error << '\n';
      return 1;
    }
    out.flush();
    return 0;
  }
  switch (format) {
    case ExportFormat::kJson: WriteJsonExport(file, mission, out, operators); break;
    case ExportFormat::kText: WriteTextExport(file, mission, out, operators); break;
    case ExportFormat::kDot: WriteDotExport(mission, out); break;
    case ExportFormat::kSvg:
      if (!WriteSvgExport(mission, out, error)) {
        err << "torvk32: cannot draw " << file << ": " << error << '\n';
        return 1;
      }
      break;
  }
  out.flush();
  return 0;
}

}  // namespace app
