#include "views/campaign.h"

#include <algorithm>
#include <cstddef>
#include <unordered_map>
#include <unordered_set>

#include "sexp/formula.h"
#include "views/modes.h"

namespace views {

using mission::Text;
using mission::TextView;

namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFFu;

char16_t Fold(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool StartsWithFolded(TextView text, TextView prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (Fold(text[i]) != Fold(prefix[i])) return false;
  }
  return true;
}

bool EqualFolded(TextView a, TextView b) { return a.size() == b.size() && StartsWithFolded(a, b); }

bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// A field line: "$" or "+", then a key of words before a colon
// ("$Mission:", "+Mission Loop Text:"), or a section ("#End"). A formula
// or a text never runs on into one.
bool IsFieldLine(TextView line) {
  if (line.empty()) return false;
  if (line.front() == u'#') return true;
  if (line.front() != u'$' && line.front() != u'+') return false;
  const std::size_t colon = line.find(u':');
  if (colon == TextView::npos || colon < 2 || !IsLetter(line[1])) return false;
  return std::all_of(line.begin() + 1, line.begin() + static_cast<std::ptrdiff_t>(colon), [](char16_t c) {
    return IsLetter(c) || (c >= u'0' && c <= u'9') || c == u' ' || c == u'_' || c == u'-';
  });
}

// A line of the file without the blanks around it (tabs are already gone).
TextView LineAt(const mission::Mission& file, std::size_t n) { return mission::TrimBlankView(file.FileLine(n)); }

// The value after a field's key, trimmed.
TextView ValueAfter(TextView line, TextView key) { return mission::TrimBlankView(line.substr(key.size())); }

// --- Formulas ---

// An element of a formula: a word, a quoted text (without its quotes) or a
// bracketed list, with its children in order.
struct Node {
  TextView text;
  bool quoted = false;
  bool list = false;
  std::uint32_t line = 0, column = 0;
  std::uint32_t first = kNone, last = kNone, next = kNone;  // children; the next sibling
};

class FormulaReader {
 public:
  FormulaReader(const mission::Mission& file, TextView owner) : file_(file), owner_(owner) {}

  // Reads the formula after `key` on line `n`.
  CampaignFormula Read(std::size_t n, TextView key) {
    CampaignFormula f;
    f.line = static_cast<std::uint32_t>(n);
    const std::size_t count = file_.FileLineCount();
    std::size_t last = n;
    for (std::size_t at = n; at <= count; ++at) {
      const TextView raw = file_.FileLine(at);
      const TextView trimmed = mission::TrimBlankView(raw);
      if (at > n && IsFieldLine(trimmed)) break;  // cut off: the next field begins
      last = at;
      const TextView text = at == n ? trimmed.substr(std::min(key.size(), trimmed.size())) : trimmed;
      Scan(static_cast<std::uint32_t>(at), raw, text);
      if (extra_ || (started_ && open_.empty())) break;
    }
    f.lastLine = static_cast<std::uint32_t>(last);
    f.openBrackets = static_cast<std::uint32_t>(open_.size());
    f.extraClosing = extra_;
    f.sexp = SexpText(n, last, key);
    if (extra_) {
      f.parsed = Text(sexp::kTooManyClosing);
    } else if (!open_.empty()) {
      f.parsed = Text(sexp::kMissingClosing);
    } else if (started_) {
      f.parsed = Translate(root_);
    }
    if (started_) Walk(f);
    return f;
  }

 private:
  void Scan(std::uint32_t n, TextView raw, TextView text) {
    std::size_t i = 0;
    while (i < text.size() && !extra_) {
      const char16_t c = text[i];
      const auto column = static_cast<std::uint32_t>(text.data() + i - raw.data()) + 1;
      if (c == u' ' || c == u'\0') {
        ++i;
      } else if (c == u'(') {
        if (started_ && open_.empty()) return;  // text after the formula
        Node node;
        node.list = true;
        node.line = n;
        node.column = column;
        const std::uint32_t index = Add(node);
        if (!started_) root_ = index;
        started_ = true;
        open_.push_back(index);
        ++i;
      } else if (c == u')') {
        if (open_.empty()) {
          extra_ = true;
          return;
        }
        open_.pop_back();
        ++i;
        if (open_.empty()) return;
      } else if (c == u'"') {
        // A quoted text runs to the next quote; one left open ends with its line.
        const std::size_t end = text.find(u'"', i + 1);
        const std::size_t stop = end == TextView::npos ? text.size() : end;
        Leaf(n, column + 1, text.substr(i + 1, stop - i - 1), true);
        i = end == TextView::npos ? text.size() : end + 1;
      } else {
        std::size_t end = i;
        while (end < text.size() && text[end] != u' ' && text[end] != u'(' && text[end] != u')' &&
               text[end] != u'"') {
          ++end;
        }
        Leaf(n, column, text.substr(i, end - i), false);
        i = end;
      }
    }
  }

  void Leaf(std::uint32_t n, std::uint32_t column, TextView text, bool quoted) {
    if (open_.empty()) return;  // outside the formula's brackets
    Node node;
    node.text = text;
    node.quoted = quoted;
    node.line = n;
    node.column = column;
    Add(node);
  }

  std::uint32_t Add(const Node& node) {
    const auto index = static_cast<std::uint32_t>(nodes_.size());
    nodes_.push_back(node);
    if (!open_.empty()) {
      Node& parent = nodes_[open_.back()];
      if (parent.first == kNone) {
        parent.first = index;
      } else {
        nodes_[parent.last].next = index;
      }
      parent.last = index;
    }
    return index;
  }

  // The lines as the SEXP code window shows them.
  Text SexpText(std::size_t from, std::size_t to, TextView key) const {
    Text text;
    for (std::size_t at = from; at <= to; ++at) {
      TextView line = file_.FileLine(at);
      if (at == from) line = mission::TrimBlankView(mission::TrimBlankView(line).substr(key.size()));
      if (at > from) text += u"\r\n";
      text += line;
    }
    return text;
  }

  // A list's operator: its first child, when that is a word.
  TextView OperatorOf(std::uint32_t list) const {
    const Node& node = nodes_[list];
    if (!node.list || node.first == kNone) return {};
    const Node& first = nodes_[node.first];
    return first.list || first.quoted ? TextView() : first.text;
  }

  // The element written out again, as one line with single blanks.
  Text Render(std::uint32_t index) const {
    Text out;
    struct Step {
      std::uint32_t node;
      bool close;
    };
    std::vector<Step> stack{{index, false}};
    while (!stack.empty()) {
      const Step step = stack.back();
      stack.pop_back();
      if (!out.empty() && out.back() != u'(') out += u' ';
      if (step.close) {
        out += u')';
        continue;
      }
      const Node& node = nodes_[step.node];
      if (!node.list) {
        if (node.quoted) out += u'"';
        out += node.text;
        if (node.quoted) out += u'"';
        continue;
      }
      out += u'(';
      stack.push_back({step.node, true});
      std::vector<std::uint32_t> children;
      for (std::uint32_t c = node.first; c != kNone; c = nodes_[c].next) children.push_back(c);
      for (auto c = children.rbegin(); c != children.rend(); ++c) stack.push_back({*c, false});
    }
    return out;
  }

  Text Translate(std::uint32_t index) const {
    return sexp::ParseIt(Render(index), TextView(), owner_, sexp::OperatorSet::kFreeSpaceOpen);
  }

  // A condition in a few words for an arrow's label: its translation on one
  // line, cut; nothing for `( true )`.
  Text Condition(std::uint32_t index) const {
    const Node& node = nodes_[index];
    if (node.list && OperatorOf(index) == u"true" && nodes_[node.first].next == kNone) return Text();
    if (!node.list && node.text == u"true") return Text();
    Text line;
    for (const char16_t c : Translate(index)) {
      const bool blank = c == u' ' || c == u'\r' || c == u'\n';
      if (blank && (line.empty() || line.back() == u' ')) continue;
      line += blank ? u' ' : c;
    }
    mission::TrimBlank(line);
    // The branch's own mission, which is-previous-* names, goes without
    // saying on its arrow.
    for (const TextView name : {owner_, WithoutMissionExtension(owner_)}) {
      const Text argument = u"\"" + Text(name) + u"\",";
      for (std::size_t at = line.find(argument); !name.empty() && at != Text::npos; at = line.find(argument, at)) {
        line.erase(at, argument.size());
      }
    }
    constexpr std::size_t kLongest = 40;
    if (line.size() > kLongest) line = line.substr(0, kLongest - 1) + u"\u2026";
    return line;
  }

  // The references and targets of the formula, with the condition of the
  // `cond` clause each target stands in.
  void Walk(CampaignFormula& f) {
    struct Visit {
      std::uint32_t node;
      std::uint32_t clause;  // the condition node of the clause around it, or kNone
    };
    std::vector<Visit> stack{{root_, kNone}};
    const bool cond = OperatorOf(root_) == u"cond";
    while (!stack.empty()) {
      const Visit visit = stack.back();
      stack.pop_back();
      const Node& node = nodes_[visit.node];
      if (!node.list) continue;
      Reference(visit, f);
      std::vector<Visit> children;
      for (std::uint32_t c = node.first; c != kNone; c = nodes_[c].next) {
        std::uint32_t clause = visit.clause;
        // A clause of the top `cond`: its first element is its condition.
        if (cond && visit.node == root_ && nodes_[c].list && nodes_[c].first != kNone) clause = nodes_[c].first;
        children.push_back({c, clause});
      }
      for (auto c = children.rbegin(); c != children.rend(); ++c) stack.push_back(*c);
    }
  }

  // The argument `n` (1-based) of a list, when it is a word or a quoted text.
  const Node* Argument(const Node& list, int n) const {
    std::uint32_t c = list.first;
    for (int i = 0; i < n && c != kNone; ++i) c = nodes_[c].next;
    if (c == kNone || nodes_[c].list) return nullptr;
    return &nodes_[c];
  }

  template <typename V>
  void Reference(const V& visit, CampaignFormula& f) {
    const TextView op = OperatorOf(visit.node);
    if (op.empty()) return;
    const Node& list = nodes_[visit.node];
    CampaignRef ref;
    ref.op = op;
    if (EqualFolded(op, u"next-mission")) {
      ref.kind = CampaignRefKind::kNextMission;
    } else if (StartsWithFolded(op, u"is-previous-goal-")) {
      ref.kind = CampaignRefKind::kPreviousGoal;
    } else if (StartsWithFolded(op, u"is-previous-event-")) {
      ref.kind = CampaignRefKind::kPreviousEvent;
    } else {
      return;
    }
    const Node* mission = Argument(list, 1);
    if (mission == nullptr) return;
    ref.mission = mission->text;
    ref.line = mission->line;
    ref.column = mission->column;
    if (ref.kind != CampaignRefKind::kNextMission) {
      const Node* name = Argument(list, 2);
      if (name == nullptr) return;
      ref.name = name->text;
      ref.nameLine = name->line;
      ref.nameColumn = name->column;
    } else {
      if (targets_.insert(MissionKey(ref.mission)).second) f.targets.push_back({ref.mission, visit.clause == kNone ? Text() : Condition(visit.clause)});
    }
    f.refs.push_back(ref);
  }

  const mission::Mission& file_;
  TextView owner_;
  std::vector<Node> nodes_;
  std::vector<std::uint32_t> open_;
  std::uint32_t root_ = 0;
  bool started_ = false;
  bool extra_ = false;
  std::unordered_set<Text> targets_;  // the missions already among the targets
};

// A text written over lines after its key, up to `$end_multi_text` (or the
// next field, when that line is missing): the lines joined by one blank,
// its XSTR wrapping removed. `n` moves to the last line read.
Text MultiText(const mission::Mission& file, std::size_t& n, TextView key) {
  Text text(ValueAfter(LineAt(file, n), key));
  const std::size_t count = file.FileLineCount();
  while (n < count) {
    const TextView line = LineAt(file, n + 1);
    if (StartsWithFolded(line, u"$end_multi_text")) {
      ++n;
      break;
    }
    if (IsFieldLine(line)) break;
    ++n;
    if (!text.empty() && !line.empty()) text += u' ';
    text += line;
  }
  MinusOneStrip(text);
  return text;
}

// The quoted names of a list such as `( "GTF Ulysses" "GTF Apollo" )`,
// which may go on over further lines until its ")". `n` moves to the last
// line read.
std::vector<TextView> NameList(const mission::Mission& file, std::size_t& n, TextView key) {
  std::vector<TextView> names;
  TextView line = ValueAfter(LineAt(file, n), key);
  const std::size_t count = file.FileLineCount();
  for (;;) {
    bool closed = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (line[i] == u')') {
        closed = true;
        break;
      }
      if (line[i] != u'"') continue;
      const std::size_t end = line.find(u'"', i + 1);
      if (end == TextView::npos) break;
      names.push_back(line.substr(i + 1, end - i - 1));
      i = end;
    }
    if (closed || n >= count || IsFieldLine(LineAt(file, n + 1))) return names;
    line = LineAt(file, ++n);
  }
}

// The key of a field line, with its colon: "+Mission Loop Text:".
TextView KeyOf(TextView line) {
  if (!IsFieldLine(line) || line.front() == u'#') return {};
  return line.substr(0, line.find(u':') + 1);
}

}  // namespace

bool LooksLikeCampaign(const mission::Mission& file) {
  if (file.HasNul()) return false;
  bool entries = false;
  for (std::size_t n = 1; n <= file.FileLineCount(); ++n) {
    const TextView line = LineAt(file, n);
    if (line.empty()) continue;
    if (line.front() == u'#' && StartsWithFolded(mission::TrimBlankView(line.substr(1)), u"mission info")) return false;
    if (!entries && StartsWithFolded(line, u"$Mission:")) entries = true;
  }
  return entries;
}

Campaign ReadCampaign(const mission::Mission& file) {
  Campaign campaign;
  const std::size_t count = file.FileLineCount();
  for (std::size_t n = 1; n <= count; ++n) {
    const TextView line = LineAt(file, n);
    if (line.empty()) continue;
    if (line.front() == u'#') {
      if (StartsWithFolded(line, u"#End")) break;
      continue;
    }
    const TextView key = KeyOf(line);
    if (key.empty()) continue;
    const auto is = [&](TextView name) { return EqualFolded(key, name); };
    if (is(u"$Mission:")) {
      CampaignMission entry;
      entry.line = static_cast<std::uint32_t>(n);
      entry.file = ValueAfter(line, key);
      campaign.missions.push_back(entry);
      continue;
    }
    if (campaign.missions.empty()) {
      if (is(u"$Name:")) {
        campaign.name = ValueAfter(line, key);
      } else if (is(u"$Type:")) {
        campaign.type = ValueAfter(line, key);
      } else if (is(u"$Flags:")) {
        campaign.flags = ValueAfter(line, key);
      } else if (is(u"+Description:")) {
        campaign.description = MultiText(file, n, key);
      } else if (is(u"+Starting Ships:")) {
        campaign.startingShips = NameList(file, n, key);
      } else if (is(u"+Starting Weapons:")) {
        campaign.startingWeapons = NameList(file, n, key);
      } else {
        campaign.otherFields.emplace_back(key, ValueAfter(line, key));
      }
      continue;
    }
    CampaignMission& entry = campaign.missions.back();
    if (is(u"+Formula:")) {
      // The first formula of an entry is its branch; one after the loop's
      // or fork's field is the loop's.
      const bool loop = entry.loop != LoopKind::kNone && entry.loopFormula.line == 0;
      if (!loop && entry.branch.line != 0) continue;
      CampaignFormula formula = FormulaReader(file, entry.file).Read(n, key);
      n = formula.lastLine;
      (loop ? entry.loopFormula : entry.branch) = std::move(formula);
    } else if (is(u"+Level:")) {
      entry.level = ValueAfter(line, key);
    } else if (is(u"+Position:")) {
      entry.position = ValueAfter(line, key);
    } else if (is(u"+Flags:")) {
      entry.flags = ValueAfter(line, key);
    } else if (is(u"+Main Hall:")) {
      entry.mainHall = ValueAfter(line, key);
    } else if (is(u"+Mission Loop:")) {
      entry.loop = LoopKind::kLoop;
    } else if (is(u"+Mission Fork:")) {
      entry.loop = LoopKind::kFork;
    } else if (is(u"+Mission Loop Text:")) {
      entry.loopText = MultiText(file, n, key);
    }
  }
  return campaign;
}

// --- Mission names ---

TextView WithoutMissionExtension(TextView name) {
  name = mission::TrimBlankView(name);
  if (name.size() >= 4) {
    const TextView tail = name.substr(name.size() - 4);
    if (EqualFolded(tail, u".fs2") || EqualFolded(tail, u".fsm")) name.remove_suffix(4);
  }
  return name;
}

Text MissionKey(TextView name) { return mission::LowerAscii(WithoutMissionExtension(name)); }

std::vector<MissionLocation> LocateMissions(const Campaign& campaign, std::span<const std::string> folderFiles) {
  const auto lower = [](std::string text) {
    for (char& c : text) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    }
    return text;
  };
  std::unordered_set<std::string> exact(folderFiles.begin(), folderFiles.end());
  std::unordered_map<std::string, std::string> folded;
  for (const std::string& file : folderFiles) folded.try_emplace(lower(file), file);

  std::vector<MissionLocation> locations;
  locations.reserve(campaign.missions.size());
  for (const CampaignMission& entry : campaign.missions) {
    const std::string written = mission::ToUtf8(entry.file);
    std::vector<std::string> candidates{written};
    if (WithoutMissionExtension(entry.file).size() == mission::TrimBlankView(entry.file).size()) {
      candidates = campaign.freeSpace1 ? std::vector<std::string>{written + ".fsm", written + ".fs2"}
                                       : std::vector<std::string>{written + ".fs2", written + ".fsm"};
    }
    MissionLocation location;
    for (const std::string& name : candidates) {
      if (!written.empty() && exact.contains(name)) {
        location.fileName = name;
        break;
      }
    }
    for (std::size_t i = 0; !location.fileName && !written.empty() && i < candidates.size(); ++i) {
      const auto found = folded.find(lower(candidates[i]));
      if (found == folded.end()) continue;
      location.fileName = found->second;
      location.caseOnly = true;
    }
    locations.push_back(std::move(location));
  }
  return locations;
}

CampaignIndex::CampaignIndex(const Campaign& campaign) : campaign_(campaign) {
  for (std::size_t i = 0; i < campaign.missions.size(); ++i) sorted_.emplace_back(MissionKey(campaign.missions[i].file), i);
  // Stable: of two entries of one name, the first is found.
  std::stable_sort(sorted_.begin(), sorted_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
}

std::optional<std::size_t> CampaignIndex::Find(TextView name, NameMatch* how) const {
  const Text key = MissionKey(name);
  const auto found = std::lower_bound(sorted_.begin(), sorted_.end(), key,
                                      [](const auto& entry, const Text& k) { return entry.first < k; });
  if (found == sorted_.end() || found->first != key) {
    if (how != nullptr) *how = NameMatch::kNone;
    return std::nullopt;
  }
  if (how != nullptr) {
    const bool same = WithoutMissionExtension(campaign_.missions[found->second].file) == WithoutMissionExtension(name);
    *how = same ? NameMatch::kExact : NameMatch::kIgnoringCase;
  }
  return found->second;
}

std::vector<bool> ReachedMissions(const Campaign& campaign, const CampaignIndex& index) {
  const std::size_t count = campaign.missions.size();
  std::vector<bool> reached(count, false);
  if (count == 0) return reached;
  std::vector<std::size_t> queue{0};
  reached[0] = true;
  for (std::size_t at = 0; at < queue.size(); ++at) {
    const CampaignMission& entry = campaign.missions[queue[at]];
    for (const CampaignFormula* formula : {&entry.branch, &entry.loopFormula}) {
      for (const CampaignFormula::Target& target : formula->targets) {
        const std::optional<std::size_t> row = index.Find(target.mission);
        if (!row || reached[*row]) continue;
        reached[*row] = true;
        queue.push_back(*row);
      }
    }
  }
  // A later entry of a name is the same mission as its first.
  for (std::size_t i = 0; i < count; ++i) {
    const std::optional<std::size_t> first = index.Find(campaign.missions[i].file);
    if (first && reached[*first]) reached[i] = true;
  }
  return reached;
}

// --- Views ---

namespace {

Text Joined(std::span<const TextView> names) {
  Text text;
  for (const TextView name : names) {
    if (!text.empty()) text += u", ";
    text += name;
  }
  return text;
}

}  // namespace

ListData CampaignGeneral(const Campaign& campaign) {
  ListData list;
  list.columns = {{u"Attribute", 4000}, {u"Value", 4000}};
  const auto add = [&](TextView attribute, Text value) { list.rows.push_back({{Text(attribute), std::move(value)}, {}}); };
  add(u"Campaign Name", Text(campaign.name));
  add(u"Type", Text(campaign.type));
  add(u"Description", campaign.description);
  add(u"Flags", Text(campaign.flags));
  add(u"Starting Ships", Joined(campaign.startingShips));
  add(u"Starting Weapons", Joined(campaign.startingWeapons));
  for (const auto& [key, value] : campaign.otherFields) {
    // "+Begin Intro Cutscene:" shows as "Begin Intro Cutscene".
    add(key.substr(1, key.size() - 2), Text(value));
  }
  add(u"Missions", mission::Decimal(static_cast<long long>(campaign.missions.size())));
  return list;
}

Text NextCell(const CampaignMission& entry) {
  if (entry.branch.targets.empty()) return u"end of campaign";
  Text text;
  for (const CampaignFormula::Target& target : entry.branch.targets) {
    if (!text.empty()) text += u", ";
    text += target.mission;
  }
  return text;
}

ListData CampaignList(const Campaign& campaign, std::span<const CampaignMissionInfo> infos) {
  ListData list;
  list.columns = {{u"#", 400}, {u"Mission", 2600}, {u"Title", 2600}, {u"Level", 600}, {u"Next", 2600}, {u"Found", 800}};
  list.rows.reserve(campaign.missions.size());
  for (std::size_t i = 0; i < campaign.missions.size(); ++i) {
    const CampaignMission& entry = campaign.missions[i];
    const CampaignMissionInfo* info = i < infos.size() ? &infos[i] : nullptr;
    Row row;
    row.cells = {mission::Decimal(static_cast<long long>(i + 1)),
                 Text(entry.file),
                 info != nullptr ? info->title : Text(),
                 Text(entry.level),
                 NextCell(entry),
                 info == nullptr ? Text() : info->found ? Text(u"Yes") : Text(u"missing")};
    row.tag = mission::Decimal(kModeCampaign) + u"," + mission::Decimal(static_cast<long long>(i + 1));
    list.rows.push_back(std::move(row));
  }
  return list;
}

Text MissionTitle(const mission::Mission& mission) {
  // As the General view shows the mission's name: the last `$Name:`, its
  // XSTR wrapping cut.
  const mission::LineList& info = mission.Sections().Slot(mission::kSlotMissionInfo);
  for (std::size_t i = info.Count(); i-- > 0;) {
    if (!info[i].starts_with(u"$Name:")) continue;
    Text title(info[i].substr(6));
    QuoteCommaCut(title);
    mission::TrimBlank(title);
    return title;
  }
  return Text();
}

FlowGraph CampaignGraph(const Campaign& campaign) {
  FlowGraph graph;
  const CampaignIndex index(campaign);
  for (std::size_t i = 0; i < campaign.missions.size(); ++i) {
    graph.nodes.push_back({FlowNodeKind::kMission, kModeCampaign, static_cast<std::uint32_t>(i + 1),
                           Text(campaign.missions[i].file)});
  }
  std::unordered_set<std::uint64_t> drawn;  // one edge per source, target and kind
  const auto add = [&](std::uint32_t source, std::uint32_t target, FlowEdgeKind kind, const Text& label) {
    const std::uint64_t key = (std::uint64_t{source} << 33) | (std::uint64_t{target} << 1) | (kind == FlowEdgeKind::kLoop);
    if (drawn.insert(key).second) graph.edges.push_back({source, target, kind, label});
  };
  for (std::size_t i = 0; i < campaign.missions.size(); ++i) {
    const CampaignMission& entry = campaign.missions[i];
    const auto source = static_cast<std::uint32_t>(i);
    for (const bool loop : {false, true}) {
      for (const CampaignFormula::Target& target : (loop ? entry.loopFormula : entry.branch).targets) {
        const std::optional<std::size_t> row = index.Find(target.mission);
        if (!row) continue;
        const bool again = *row == i || index.Find(entry.file) == row;
        add(source, static_cast<std::uint32_t>(*row), loop || again ? FlowEdgeKind::kLoop : FlowEdgeKind::kBranch,
            target.condition);
      }
    }
  }
  return graph;
}

std::size_t CampaignRowOfTag(TextView tag) {
  const Text prefix = mission::Decimal(kModeCampaign) + u",";
  if (!tag.starts_with(prefix)) return 0;
  std::size_t row = 0;
  for (const char16_t c : tag.substr(prefix.size())) {
    if (c < u'0' || c > u'9' || row > 100000000) return 0;
    row = row * 10 + static_cast<std::size_t>(c - u'0');
  }
  return row;
}

}  // namespace views
