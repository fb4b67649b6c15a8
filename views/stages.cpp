#include "views/stages.h"

#include <algorithm>
#include <span>

#include "views/details.h"
#include "views/modes.h"
#include "views/sections.h"

namespace views {
namespace {

using namespace std::string_view_literals;

// The keys of a stage's fields, as the files write them. A text ends before
// any of them when its "$end_multi_text" is missing.
constexpr TextView kBriefingKeys[] = {
    u"$start_stage", u"$end_stage",   u"$multi_text",   u"$end_multi_text", u"$voice:",     u"$camera_pos:",
    u"$camera_orient:", u"$camera_time:", u"$num_lines:", u"$line_start:",   u"$line_end:",  u"$num_icons:",
    u"$Flags:",      u"$Formula:",    u"$start_icon",   u"$end_icon",       u"$end_briefing", u"$start_briefing",
    u"$num_stages:"};
constexpr TextView kCommandBriefingKeys[] = {u"$Stage Text:", u"$end_multi_text", u"$Ani Filename:",
                                             u"+Wave Filename:", u"$Num stages:"};
constexpr TextView kDebriefingKeys[] = {u"$Formula:", u"$Multi text", u"$end_multi_text", u"$Voice:",
                                        u"$Recommendation text:", u"$Num stages:"};

struct KindInfo {
  SectionKind section;
  std::span<const TextView> keys;
  TextView text;  // the key of the stage's text
  TextView absent;
};

KindInfo InfoOf(StageKind kind) {
  switch (kind) {
    case StageKind::kBriefing:
      return {SectionKind::kBriefing, kBriefingKeys, u"$multi_text", u"This mission has no briefing."};
    case StageKind::kCommandBriefing:
      return {SectionKind::kCommandBriefing, kCommandBriefingKeys, u"$Stage Text:",
              u"This mission has no command briefing."};
    case StageKind::kDebriefing:
      return {SectionKind::kDebriefing, kDebriefingKeys, u"$Multi text", u"This mission has no debriefing."};
  }
  return {};
}

bool IsFieldKey(std::span<const TextView> keys, TextView line) {
  return std::any_of(keys.begin(), keys.end(), [line](TextView key) { return StartsWithKey(line, key); });
}

// Reads a text that begins after `key` on line `at`; returns the line after
// it (after its "$end_multi_text", or the field that ends it).
std::uint32_t ReadText(const mission::Mission& mission, std::span<const TextView> keys, std::uint32_t at,
                       std::size_t key, std::uint32_t end, Text& text) {
  text.clear();
  const TextView first = mission::TrimBlankView(mission.FileLine(at).substr(key));
  bool any = !first.empty();
  text = first;
  std::uint32_t n = at + 1;
  for (; n < end; ++n) {
    const TextView line = mission.FileLine(n);
    if (StartsWithKey(line, u"$end_multi_text")) return n + 1;
    if (IsFieldKey(keys, line)) return n;
    if (any) text += u"\r\n";
    text += line;
    any = true;
  }
  return n;
}

// A field's value: what follows its key, trimmed.
Text ValueAfter(TextView line, TextView key) { return Text(mission::TrimBlankView(line.substr(key.size()))); }

// Appends `text` in `color` to a coloured text.
void Append(ColoredText& to, TextView text, std::uint32_t color) {
  if (text.empty()) return;
  if (to.spans.empty() || to.spans.back().color != color) to.spans.push_back({to.text.size(), 0, color});
  to.spans.back().length += text.size();
  to.text += text;
}

void Append(ColoredText& to, const ColoredText& more) {
  const std::size_t offset = to.text.size();
  for (ColorSpan span : more.spans) {
    if (!to.spans.empty() && to.spans.back().color == span.color &&
        to.spans.back().start + to.spans.back().length == offset + span.start) {
      to.spans.back().length += span.length;
    } else {
      span.start += offset;
      to.spans.push_back(span);
    }
  }
  to.text += more.text;
}

// The cleaned text of a stage in the game's colours.
ColoredText Colored(TextView text, char16_t own) { return ColorTags(ReplaceTextWords(WithoutXstr(text)), own); }

// A debriefing stage's condition in one line: the first line of its
// translation; when that opens a block of several lines (a lone "(", as an
// "and" translates), the whole translation with its lines joined by blanks.
Text ConditionText(TextView parsed) {
  const std::size_t lineEnd = parsed.find(u"\r\n");
  const TextView first = mission::TrimBlankView(parsed.substr(0, lineEnd));
  if (first != u"("sv) return Text(first);
  Text joined;
  for (std::size_t from = 0; from < parsed.size();) {
    const std::size_t end = std::min(parsed.find(u"\r\n", from), parsed.size());
    const TextView line = mission::TrimBlankView(parsed.substr(from, end - from));
    if (!line.empty()) {
      if (!joined.empty()) joined += u' ';
      joined += line;
    }
    from = end + 2;
  }
  return joined;
}

Text RowTag(int mode, std::size_t row) { return mission::Decimal(mode) + u',' + mission::Decimal(static_cast<long long>(row)); }

// The rows of one stage view: a row per stage, with its lines, and the
// cells `cells` gives for it.
template <typename Cells>
void FillStages(const mission::Mission& mission, StageKind kind, int mode, bool formulas,
                std::initializer_list<Column> columns, ListData& list, Cells cells) {
  list.rows.clear();
  list.rowLines.clear();
  list.columns.assign(columns);
  list.absent.clear();
  if (!HasStageSections(mission, kind)) {
    list.absent = InfoOf(kind).absent;
    return;
  }
  for (const StagePlace& place : FindStages(mission, kind)) {
    const StageFields stage = ReadStage(mission, kind, place.lines);
    Row row;
    row.cells = cells(place, stage);
    row.cells.resize(list.columns.size());
    if (formulas) row.tag = RowTag(mode, list.rows.size() + 1);
    list.rows.push_back(std::move(row));
    list.rowLines.push_back(place.lines);
  }
}

}  // namespace

bool HasStageSections(const mission::Mission& mission, StageKind kind) {
  return !SectionsOf(mission, InfoOf(kind).section).empty();
}

std::vector<StagePlace> FindStages(const mission::Mission& mission, StageKind kind) {
  std::vector<StagePlace> stages;
  std::uint32_t team = 0;
  for (const mission::SectionBlock& block : SectionsOf(mission, InfoOf(kind).section)) {
    ++team;
    std::uint32_t number = 0;
    bool open = false;     // the last stage has not ended yet
    bool hasText = false;  // a debriefing stage has its text
    const auto close = [&](std::uint32_t end) {
      if (open) stages.back().lines.end = end;
      open = false;
    };
    const auto begin = [&](std::uint32_t line) {
      close(line);
      stages.push_back({team, ++number, {line, line + 1}});
      open = true;
      hasText = false;
    };
    for (std::uint32_t n = block.header + 1; n < block.end; ++n) {
      const TextView line = mission.FileLine(n);
      switch (kind) {
        case StageKind::kBriefing:
          if (StartsWithKey(line, u"$start_stage")) begin(n);
          else if (StartsWithKey(line, u"$end_stage")) close(n + 1);
          else if (StartsWithKey(line, u"$end_briefing")) close(n);
          break;
        case StageKind::kCommandBriefing:
          if (StartsWithKey(line, u"$Stage Text:")) begin(n);
          break;
        case StageKind::kDebriefing:
          if (StartsWithKey(line, u"$Formula:")) {
            begin(n);
          } else if (StartsWithKey(line, u"$Multi text")) {
            // A stage without a formula still has a text of its own.
            if (!open || hasText) begin(n);
            hasText = true;
          }
          break;
      }
    }
    close(block.end);
  }
  return stages;
}

StageFields ReadStage(const mission::Mission& mission, StageKind kind, FileLines lines) {
  StageFields stage;
  const KindInfo info = InfoOf(kind);
  const std::uint32_t end = static_cast<std::uint32_t>(std::min<std::size_t>(lines.end, mission.FileLineCount() + 1));
  bool inIcon = false;
  bool hasText = false;
  for (std::uint32_t n = std::max<std::uint32_t>(lines.first, 1); n < end;) {
    const TextView line = mission.FileLine(n);
    if (kind == StageKind::kBriefing) {
      if (StartsWithKey(line, u"$start_icon")) inIcon = true;
      if (StartsWithKey(line, u"$end_icon")) inIcon = false;
      if (inIcon) {
        ++n;
        continue;
      }
    }
    if (!hasText && StartsWithKey(line, info.text)) {
      hasText = true;
      n = ReadText(mission, info.keys, n, info.text.size(), end, stage.text);
      continue;
    }
    if (kind == StageKind::kDebriefing && StartsWithKey(line, u"$Recommendation text:")) {
      n = ReadText(mission, info.keys, n, TextView(u"$Recommendation text:").size(), end, stage.recommendation);
      continue;
    }
    if (StartsWithKey(line, u"$Formula:") && stage.formula == 0) {
      stage.formula = n;
      // A formula's further lines are its brackets, names and numbers; the
      // stage's next field ends it.
      std::uint32_t next = n + 1;
      while (next < end) {
        const TextView more = mission.FileLine(next);
        if (!more.empty() && (more.front() == u'$' || more.front() == u'+' || more.front() == u'#')) break;
        ++next;
      }
      stage.formulaEnd = next;
      n = next;
      continue;
    }
    switch (kind) {
      case StageKind::kBriefing:
        if (StartsWithKey(line, u"$voice:")) stage.voice = ValueAfter(line, u"$voice:");
        if (StartsWithKey(line, u"$num_icons:")) stage.icons = ValueAfter(line, u"$num_icons:");
        break;
      case StageKind::kCommandBriefing:
        if (StartsWithKey(line, u"$Ani Filename:")) stage.animation = ValueAfter(line, u"$Ani Filename:");
        if (StartsWithKey(line, u"+Wave Filename:")) stage.voice = ValueAfter(line, u"+Wave Filename:");
        break;
      case StageKind::kDebriefing:
        if (StartsWithKey(line, u"$Voice:")) stage.voice = ValueAfter(line, u"$Voice:");
        break;
    }
    ++n;
  }
  return stage;
}

FormulaTexts StageFormula(const mission::Mission& mission, const StageFields& stage, TextView name,
                          sexp::OperatorSet operators) {
  if (stage.formula == 0) return {};
  return ReadFormulaTexts(mission.FileLines(stage.formula, stage.formulaEnd), 1, name, operators);
}

ColoredText StagePaneText(StageKind kind, const StageFields& stage) {
  ColoredText pane = Colored(stage.text, kBriefingTextTag);
  const std::uint32_t own = *TagColor(kBriefingTextTag);
  const auto paragraph = [&pane, own] {
    if (!pane.text.empty()) Append(pane, u"\r\n\r\n", own);
  };
  if (kind == StageKind::kDebriefing) {
    const ColoredText recommendation = Colored(stage.recommendation, kRecommendationTag);
    if (!recommendation.text.empty()) {
      paragraph();
      Append(pane, u"Recommendation: ", own);
      Append(pane, recommendation);
    }
  }
  bool first = true;
  for (const auto& [label, value] : {std::pair<TextView, const Text*>{u"Voice: ", &stage.voice},
                                     std::pair<TextView, const Text*>{u"Animation: ", &stage.animation}}) {
    if (value->empty()) continue;
    if (first) {
      paragraph();
    } else {
      Append(pane, u"\r\n", own);
    }
    first = false;
    Append(pane, label, own);
    Append(pane, *value, own);
  }
  return pane;
}

void ModeBriefing(const mission::Mission& mission, ListData& list) {
  FillStages(mission, StageKind::kBriefing, kModeBriefing, true,
             {{u"Team", 600}, {u"Stage", 600}, {u"Text", 6000}, {u"Voice", 1500}, {u"Icons", 600}}, list,
             [](const StagePlace& place, const StageFields& stage) {
               return std::vector<Text>{mission::Decimal(place.team), mission::Decimal(place.number),
                                        StageCellText(stage.text), stage.voice, stage.icons};
             });
}

void ModeCommandBriefing(const mission::Mission& mission, ListData& list) {
  FillStages(mission, StageKind::kCommandBriefing, kModeCommandBriefing, false,
             {{u"Team", 600}, {u"Stage", 600}, {u"Text", 6000}, {u"Animation", 1500}, {u"Voice", 1500}}, list,
             [](const StagePlace& place, const StageFields& stage) {
               return std::vector<Text>{mission::Decimal(place.team), mission::Decimal(place.number),
                                        StageCellText(stage.text), stage.animation, stage.voice};
             });
}

void ModeDebriefing(const mission::Mission& mission, ListData& list) {
  FillStages(mission, StageKind::kDebriefing, kModeDebriefing, true,
             {{u"Team", 600}, {u"Stage", 600}, {u"Condition", 2500}, {u"Text", 4500}, {u"Recommendation", 2500},
              {u"Voice", 1500}},
             list, [&mission](const StagePlace& place, const StageFields& stage) {
               const Text number = mission::Decimal(place.number);
               // The condition reads the same whatever translation the window uses.
               const Text condition =
                   ConditionText(StageFormula(mission, stage, number, sexp::OperatorSet::kOriginal).parsed);
               return std::vector<Text>{mission::Decimal(place.team), number, condition, StageCellText(stage.text),
                                        StageCellText(stage.recommendation), stage.voice};
             });
}

std::optional<StageKind> StageKindOfMode(int mode) {
  switch (mode) {
    case kModeBriefing: return StageKind::kBriefing;
    case kModeCommandBriefing: return StageKind::kCommandBriefing;
    case kModeDebriefing: return StageKind::kDebriefing;
    default: return std::nullopt;
  }
}

}  // namespace views
