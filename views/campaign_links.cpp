#include "views/campaign_links.h"

#include <optional>

#include "views/sexp_walk.h"

namespace views {

using mission::TextView;

namespace {

bool IsBlank(char16_t c) { return c <= u' '; }

// The span [start, start + length) of `text` without blanks at its ends.
CodeLink TrimmedLink(TextView text, std::size_t start, std::size_t length) {
  std::size_t end = start + length;
  while (start < end && IsBlank(text[start])) ++start;
  while (end > start && IsBlank(text[end - 1])) --end;
  return {start, end - start, {}};
}

enum class Place { kNone, kMission, kGoal, kEvent };

// What argument `position` of `op` names in a branch formula.
Place PlaceOf(const sexp::Operator* op, std::uint32_t position) {
  if (op == nullptr) return Place::kNone;
  if (op->name == "next-mission") return position == 1 ? Place::kMission : Place::kNone;
  const bool goal = op->name.starts_with("is-previous-goal-");
  if (!goal && !op->name.starts_with("is-previous-event-")) return Place::kNone;
  if (position == 1) return Place::kMission;
  if (position == 2) return goal ? Place::kGoal : Place::kEvent;
  return Place::kNone;
}

struct FoldedHash {
  std::size_t operator()(TextView text) const { return FoldHash{}(text); }
};

}  // namespace

MissionGoalsAndEvents MissionGoalsAndEvents::Of(const mission::Mission& mission) {
  MissionGoalsAndEvents out;
  const NameRows rows = NameRows::Build(mission);
  const auto take = [&rows](NameKind kind, Rows& into) {
    const NameSet& names = rows.Names(kind);
    into.reserve(names.Size());
    for (std::size_t i = 0; i < names.Size(); ++i) into.try_emplace(Text(names.At(i).name), names.At(i).line);
  };
  take(NameKind::kGoal, out.goals_);
  take(NameKind::kEvent, out.events_);
  return out;
}

Location MissionGoalsAndEvents::Find(NameKind kind, TextView name) const {
  const Rows& rows = kind == NameKind::kGoal ? goals_ : events_;
  const auto found = rows.find(Text(mission::TrimBlankView(name)));
  if (found == rows.end()) return {};
  return {ModeOfNameKind(kind), found->second, 0, 0, 0};
}

CodeLinks FindCampaignLinks(TextView sexp, TextView parsed, const CampaignIndex& index,
                            std::span<const MissionGoalsAndEvents> names) {
  CodeLinks links;
  // The target of each name's first link, for the translated text.
  std::unordered_map<TextView, Location, FoldedHash, FoldEqual> seen;
  // The mission that the is-previous-* being read names first.
  std::optional<std::size_t> named;
  WalkSexp(sexp, [&](const SexpElement& element) {
    const Place place = element.quoted ? PlaceOf(element.op, element.position) : Place::kNone;
    if (element.position == 1) named.reset();
    if (place == Place::kNone) return;
    CodeLink link = TrimmedLink(sexp, element.start, element.text.size());
    const TextView name = sexp.substr(link.start, link.length);
    if (name.empty()) return;
    if (place == Place::kMission) {
      named = index.Find(name);
      if (!named) return;
      link.target = {kModeCampaign, *named + 1, 0, 0, 0};
    } else {
      if (!named || *named >= names.size()) return;
      link.target = names[*named].Find(place == Place::kGoal ? NameKind::kGoal : NameKind::kEvent, name);
      if (link.target.mode == 0) return;
      link.target.file = static_cast<int>(*named + 1);
    }
    seen.try_emplace(name, link.target);
    links.sexp.push_back(link);
  });
  // The translation keeps the quoted names: each links where the SEXP text
  // linked it first.
  for (std::size_t i = parsed.find(u'"'); i != TextView::npos; i = parsed.find(u'"', i)) {
    std::size_t close = i + 1;
    while (close < parsed.size() && parsed[close] != u'"' && parsed[close] != u'\r' && parsed[close] != u'\n') ++close;
    if (close >= parsed.size() || parsed[close] != u'"') {
      i = close;
      continue;
    }
    const CodeLink link = TrimmedLink(parsed, i + 1, close - i - 1);
    if (const auto it = seen.find(parsed.substr(link.start, link.length)); link.length > 0 && it != seen.end()) {
      links.parsed.push_back({link.start, link.length, it->second});
    }
    i = close + 1;
  }
  return links;
}

}  // namespace views
