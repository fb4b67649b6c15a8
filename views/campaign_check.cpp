#include "views/campaign_check.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "views/check_names.h"
#include "views/modes.h"

namespace views {

using mission::Text;
using mission::TextView;

namespace {

bool StartsWithFolded(TextView text, TextView prefix) {
  return text.size() >= prefix.size() && FoldEqual{}(text.substr(0, prefix.size()), prefix);
}

std::uint32_t Column(TextView line, TextView part) {
  return static_cast<std::uint32_t>(part.data() - line.data()) + 1;
}

// A variable that a mission declares in "#Sexp_variables".
struct Variable {
  TextView name, value, type;
  std::uint32_t line = 0;
  bool persistent = false;  // kept from mission to mission of the campaign
};

// The quoted texts of a line, in order.
std::vector<TextView> QuotedTexts(TextView line) {
  std::vector<TextView> texts;
  for (std::size_t at = line.find(u'"'); at != TextView::npos; at = line.find(u'"', at + 1)) {
    const std::size_t end = line.find(u'"', at + 1);
    if (end == TextView::npos) break;
    texts.push_back(line.substr(at + 1, end - at - 1));
    at = end;
  }
  return texts;
}

// What the campaign check needs of a mission: the names of its goals and
// events, its variables, and the is-previous-* operators of its formulas.
// One pass over the file's lines.
struct MissionFacts {
  NameSet goals, events;
  std::vector<Variable> variables;
  std::vector<CampaignRef> previous;

  explicit MissionFacts(const mission::Mission& mission) {
    enum class Section { kOther, kGoals, kEvents, kVariables } section = Section::kOther;
    const std::size_t count = mission.FileLineCount();
    for (std::size_t n = 1; n <= count; ++n) {
      const TextView line = mission.FileLine(n);
      const auto number = static_cast<std::uint32_t>(n);
      if (line.empty()) continue;
      if (line.front() == u'#') {
        const TextView name = mission::TrimBlankView(line.substr(1));
        section = FoldEqual{}(name, u"goals")            ? Section::kGoals
                  : FoldEqual{}(name, u"events")         ? Section::kEvents
                  : FoldEqual{}(name, u"sexp_variables") ? Section::kVariables
                                                         : Section::kOther;
        continue;
      }
      if (section == Section::kVariables) Declare(number, line);
      if ((section == Section::kGoals || section == Section::kEvents) && line.starts_with(u"+Name:")) {
        (section == Section::kGoals ? goals : events).Add(mission::TrimBlankView(line.substr(6)), number);
      }
      for (std::size_t at = line.find(u"is-previous-"); at != TextView::npos; at = line.find(u"is-previous-", at + 1)) {
        Previous(mission, n, at);
      }
    }
  }

  void Declare(std::uint32_t n, TextView line) {
    const TextView text = mission::TrimBlankView(line);
    if (text.empty() || text.front() < u'0' || text.front() > u'9') return;
    const std::vector<TextView> quoted = QuotedTexts(text);
    if (quoted.size() < 3) return;
    Variable v{quoted[0], quoted[1], quoted[2], n, false};
    for (std::size_t i = 3; i < quoted.size(); ++i) {
      if (FoldEqual{}(quoted[i], u"campaign-persistent") || FoldEqual{}(quoted[i], u"save-on-mission-progress")) {
        v.persistent = true;
      }
    }
    variables.push_back(v);
  }

  // The operator at `at` of line `n` and its first two quoted arguments,
  // which may stand on the lines after it, up to the list's first bracket.
  void Previous(const mission::Mission& mission, std::size_t n, std::size_t at) {
    const TextView first = mission.FileLine(n);
    std::size_t end = at;
    while (end < first.size() && first[end] != u' ' && first[end] != u'(' && first[end] != u')' && first[end] != u'"') {
      ++end;
    }
    CampaignRef ref;
    ref.op = first.substr(at, end - at);
    ref.kind = StartsWithFolded(ref.op, u"is-previous-goal-") ? CampaignRefKind::kPreviousGoal
                                                                 : CampaignRefKind::kPreviousEvent;
    if (!StartsWithFolded(ref.op, u"is-previous-goal-") && !StartsWithFolded(ref.op, u"is-previous-event-")) return;
    int found = 0;
    for (std::size_t line_number = n; line_number <= mission.FileLineCount() && found < 2; ++line_number) {
      const TextView line = mission.FileLine(line_number);
      if (line_number > n && !line.empty() && (line.front() == u'$' || line.front() == u'+' || line.front() == u'#')) {
        return;  // the formula ended before its arguments
      }
      for (std::size_t i = line_number == n ? end : 0; i < line.size() && found < 2; ++i) {
        if (line[i] == u'(' || line[i] == u')') return;
        if (line[i] != u'"') continue;
        const std::size_t close = line.find(u'"', i + 1);
        if (close == TextView::npos) return;
        const TextView text = line.substr(i + 1, close - i - 1);
        const auto number = static_cast<std::uint32_t>(line_number);
        if (found++ == 0) {
          ref.mission = text;
          ref.line = number;
          ref.column = Column(line, text);
        } else {
          ref.name = text;
          ref.nameLine = number;
          ref.nameColumn = Column(line, text);
        }
        i = close;
      }
    }
    if (found == 2) previous.push_back(ref);
  }
};

class Checker {
 public:
  Checker(const Campaign& campaign, std::span<const CampaignMissionFile> files, CampaignCheck& out)
      : campaign_(campaign), files_(files), out_(out), index_(campaign) {
    out_.missions.resize(campaign.missions.size());
    facts_.resize(campaign.missions.size());
    for (std::size_t i = 0; i < files.size() && i < facts_.size(); ++i) {
      if (files[i].mission != nullptr) facts_[i].emplace(*files[i].mission);
    }
  }

  void Run() {
    for (std::size_t i = 0; i < campaign_.missions.size(); ++i) Entry(i);
    const std::vector<bool> reached = ReachedMissions(campaign_, index_);
    for (std::size_t i = 1; i < reached.size(); ++i) {
      if (!reached[i]) out_.campaign.push_back(At(i, campaign_.missions[i].line, 1, Rule::kUnreachedMission));
    }
    Variables();
  }

 private:
  void Entry(std::size_t i) {
    const CampaignMission& entry = campaign_.missions[i];
    const std::size_t first = index_.Find(entry.file).value_or(i);
    if (first != i) {
      Problem p = At(i, entry.line, 1, Rule::kDuplicateName);
      p.kind = NameKind::kMission;
      p.name = entry.file;
      p.count = campaign_.missions[first].line;
      out_.campaign.push_back(p);
    } else if (i < files_.size()) {
      File(i);
    }
    for (const CampaignFormula* formula : {&entry.branch, &entry.loopFormula}) {
      if (formula->line == 0) continue;
      if (formula->openBrackets > 0 || formula->extraClosing) {
        Problem p = At(i, formula->line, 1, Rule::kBrackets);
        p.name = u"+Formula";
        p.count = formula->openBrackets;
        out_.campaign.push_back(p);
      }
      for (const CampaignRef& ref : formula->refs) Reference(i, ref, out_.campaign);
    }
    if (i < facts_.size() && facts_[i]) {
      for (const CampaignRef& ref : facts_[i]->previous) Reference(i, ref, out_.missions[i]);
    }
  }

  // The entry's file: missing, unreadable, or found only ignoring case.
  void File(std::size_t i) {
    const CampaignMission& entry = campaign_.missions[i];
    const CampaignMissionFile& file = files_[i];
    if (!file.location.fileName || file.mission == nullptr) {
      Problem p = At(i, entry.line, 1, Rule::kMissingMission);
      p.name = entry.file;
      p.match = Own(file.location.fileName ? mission::FromUtf8(file.reason) : Text());
      out_.campaign.push_back(p);
      return;
    }
    if (file.location.caseOnly) {
      Problem p = At(i, entry.line, 1, Rule::kCaseOnlyName);
      p.kind = NameKind::kFile;
      p.name = entry.file;
      p.match = Own(mission::FromUtf8(*file.location.fileName));
      out_.campaign.push_back(p);
    }
  }

  // A mission named in a formula of entry `i`, and for is-previous-* its
  // goal or event.
  void Reference(std::size_t i, const CampaignRef& ref, std::vector<Problem>& problems) {
    NameMatch how = NameMatch::kNone;
    const std::optional<std::size_t> named = index_.Find(ref.mission, &how);
    if (!named) {
      Problem p = At(i, ref.line, ref.column, Rule::kUnknownName, ref.op);
      p.kind = NameKind::kMission;
      p.name = ref.mission;
      problems.push_back(p);
      return;
    }
    if (how == NameMatch::kIgnoringCase) {
      Problem p = At(i, ref.line, ref.column, Rule::kCaseOnlyName, ref.op);
      p.kind = NameKind::kMission;
      p.name = ref.mission;
      p.match = campaign_.missions[*named].file;
      problems.push_back(p);
    }
    if (ref.kind == CampaignRefKind::kNextMission || *named >= facts_.size() || !facts_[*named]) return;
    const bool goal = ref.kind == CampaignRefKind::kPreviousGoal;
    const NameSet& names = goal ? facts_[*named]->goals : facts_[*named]->events;
    const NameSet::Match match = names.Find(ref.name);
    if (match.how == NameSet::How::kExact) return;
    const bool ignoring_case = match.how == NameSet::How::kIgnoringCase;
    Problem p = At(i, ref.nameLine, ref.nameColumn, ignoring_case ? Rule::kCaseOnlyName : Rule::kUnknownName, ref.op);
    p.kind = goal ? NameKind::kGoal : NameKind::kEvent;
    p.name = ref.name;
    p.match = ignoring_case ? match.name : campaign_.missions[*named].file;
    problems.push_back(p);
  }

  // Variables kept across the campaign: each later declaration that differs
  // in type or default from the first is reported in its own mission.
  void Variables() {
    struct First {
      const Variable* variable;
      std::size_t entry;
    };
    std::unordered_map<TextView, First, FoldHash, FoldEqual> first;
    for (std::size_t i = 0; i < facts_.size(); ++i) {
      if (!facts_[i]) continue;
      for (const Variable& v : facts_[i]->variables) {
        if (!v.persistent) continue;
        const auto [at, fresh] = first.try_emplace(v.name, First{&v, i});
        if (fresh) continue;
        const Variable& f = *at->second.variable;
        if (FoldEqual{}(f.type, v.type) && f.value == v.value) continue;
        Problem p = At(i, v.line, 1, Rule::kPersistentVariable);
        p.kind = NameKind::kVariable;
        p.name = v.name;
        Text text = u"declared " + Text(v.type) + u" \"" + Text(v.value) + u"\" here, " + Text(f.type) + u" \"" +
                    Text(f.value) + u"\" in \"" + Text(campaign_.missions[at->second.entry].file) + u"\"";
        p.match = Own(std::move(text));
        out_.missions[i].push_back(p);
      }
    }
  }

  Problem At(std::size_t entry, std::uint32_t line, std::uint32_t column, Rule rule, TextView op = {}) const {
    Problem p;
    p.line = line;
    p.column = column;
    p.rule = rule;
    p.op = op;
    p.mode = kModeCampaign;
    p.row = static_cast<std::uint32_t>(entry + 1);
    return p;
  }

  TextView Own(Text text) {
    out_.texts.push_back(std::make_unique<Text>(std::move(text)));
    return *out_.texts.back();
  }

  const Campaign& campaign_;
  std::span<const CampaignMissionFile> files_;
  CampaignCheck& out_;
  CampaignIndex index_;
  std::vector<std::optional<MissionFacts>> facts_;
};

}  // namespace

CampaignCheck CheckCampaign(const Campaign& campaign, std::span<const CampaignMissionFile> files,
                            const CheckSettings& settings) {
  CampaignCheck out;
  Checker(campaign, files, out).Run();
  const auto tidy = [&](std::vector<Problem>& problems) {
    if (settings.ignored.any()) std::erase_if(problems, [&](const Problem& p) { return Holds(settings.ignored, p.rule); });
    std::stable_sort(problems.begin(), problems.end(), [](const Problem& a, const Problem& b) {
      return a.line != b.line ? a.line < b.line : a.column < b.column;
    });
  };
  tidy(out.campaign);
  for (std::size_t i = 0; i < out.missions.size(); ++i) {
    std::vector<Problem>& problems = out.missions[i];
    // The campaign's problems in a mission have no row there: the mission
    // has no Campaign view.
    for (Problem& p : problems) p.mode = 0, p.row = 0;
    if (i < files.size() && files[i].mission != nullptr) {
      std::vector<Problem> own = CheckMission(*files[i].mission, settings);
      own.insert(own.end(), problems.begin(), problems.end());
      problems = std::move(own);
    }
    tidy(problems);
  }
  return out;
}

}  // namespace views
