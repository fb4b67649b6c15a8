// The translator: every part of a formula becomes one entry of output, built
// by the template of its operator word. Output is written into one text as it
// is made, so a deep formula never copies the translations of its inner
// levels. This file holds the walk and the original operators' templates;
// modern.cpp the FreeSpace Open operators.
#include "sexp/translator.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <unordered_map>

namespace sexp::detail {
namespace {

constexpr TextView kCrLf = u"\r\n";
using sexp::kNestedTooDeeply;
using sexp::kTooComplex;

// A formula can name a part twice (a "not" and a later "and" both take the
// same operand), so a hostile one can double its work at each level. These
// bounds are far above what any mission formula needs.
constexpr std::size_t kWorkPerCharacter = 16;
constexpr std::size_t kWorkBase = std::size_t{1} << 24;
constexpr std::size_t kOutputPerCharacter = 8;
constexpr std::size_t kOutputBase = std::size_t{1} << 24;

using TemplateTable = std::unordered_map<TextView, Template, WordHash>;

void AddFormats(TemplateTable& table, Lead lead, std::initializer_list<std::pair<TextView, TextView>> formats) {
  for (const auto& [op, format] : formats) table.emplace(op, Template{Kind::kFormat, lead, format});
}

TemplateTable BuildTemplates() {
  TemplateTable t;
  t.emplace(u"when", Template{Kind::kWhen});
  t.emplace(u"not", Template{Kind::kNot});
  t.emplace(u"and", Template{Kind::kAndOr, Lead::kNone, u"And"});
  t.emplace(u"or", Template{Kind::kAndOr, Lead::kNone, u"Or"});
  t.emplace(u"<", Template{Kind::kCompare});
  t.emplace(u">", Template{Kind::kCompare});
  t.emplace(u"add-goal", Template{Kind::kAddGoal});
  t.emplace(u"add-remove-escort", Template{Kind::kEscort});
  t.emplace(u"send-random-message", Template{Kind::kRandomMessage});

  // Conditions and queries.
  AddFormats(t, Lead::kIndent,
             {
                 {u"true", u"True"},
                 {u"false", u"False"},
                 {u"is-subsystem-destroyed-delay", u"Ship(%2).Subsystem(%3).DestroyedSince>=%4"},
                 {u"is-goal-true-delay", u"MissionStatus.Goal(%2).TrueSince>=%3"},
                 {u"is-goal-false-delay", u"MissionStatus.Goal(%2).FalseSince>=%3"},
                 {u"is-event-true-delay", u"MissionStatus.Event(%2).TrueSince>=%3"},
                 {u"is-event-false-delay", u"MissionStatus.Event(%2).FalseSince>=%3"},
                 {u"is-event-incomplete", u"MissionStatus.Event(%2).Incomplete"},
                 {u"skill-level-at-least", u"SkillLevel >= %2"},
                 {u"ship-type-destroyed", u"ShipType(%3).DestroyedPercentageGreaterThan(%2)"},
                 {u"has-time-elapsed", u"MissionStatus.MissionTime=%2"},
                 {u"are-waypoints-done-delay", u"Ship(%2).Waypoints(%3).PassedSince>=%4"},
             });
  AddFormats(t, Lead::kNone,
             {
                 {u"has-undocked-delay", u" Ship(%2).DockWithShip(%3).NumberOfTimes(%4).UndockedSince>=%5"},
                 {u"has-docked-delay", u" Ship(%2).DockWithShip(%3).NumberOfTimes(%4).DockedSince>=%5"},
                 {u"hits-left", u"Ship(%2).Hull"},
                 {u"hits-left-subsystem", u"Ship(%2).Subsystem(%3).Hits"},
                 {u"distance", u"Distance(%2,%3)"},
                 {u"mission-time", u"MissionStatus.MissionTime"},
                 {u"is-ship-visible", u"Ship(%2).VisibleOnPlayersRadar"},
             });
  for (const auto& [op, piece] : std::initializer_list<std::pair<TextView, TextView>>{
           {u"has-arrived-delay", u").ArrivedSince>="},
           {u"has-departed-delay", u").DepartedSince>="},
           {u"is-destroyed-delay", u").DestroyedSince>="},
           {u"destroyed-or-departed-delay", u").DestroyedOrDepartedSince>="},
           {u"is-disabled-delay", u").DisabledSince>="},
           {u"is-disarmed-delay", u").DisarmedSince>="},
       }) {
    t.emplace(op, Template{Kind::kShipCondition, Lead::kIndent, piece});
  }

  // Actions: the format texts begin with their own single space.
  AddFormats(t, Lead::kNone,
             {
                 {u"do-nothing", u""},
                 {u"red-alert", u" MissionStatus.DoRedAlert()"},
                 {u"end-campaign", u" MissionStatus.EndCampaign()"},
                 {u"supernova-start", u" MissionStatus.StartSuperNova(%2)"},
                 {u"good-rearm-time", u" MissionStatus.GoodRearmTime(%2,%3)"},
                 {u"transfer-cargo", u" Ship(%2).TransferCargoTo(%3)"},
                 {u"exchange-cargo", u" Ship(%2).ExchangeTransferWith(%3)"},
                 {u"jettison-cargo-delay", u" Ship(%2).DropCargoIn(%3)"},
                 {u"beam-free-all", u" Ship(%2).EnableAllBeamTurrets()"},
                 {u"beam-lock-all", u" Ship(%2).DisableAllBeamTurrets()"},
                 {u"turret-free-all", u" Ship(%2).EnableAllTurrets()"},
                 {u"turret-lock-all", u" Ship(%2).DisableAllTurrets()"},
                 {u"special-warpout-name", u" Ship(%2).ExitViaKnossosPortal(%3)"},
                 {u"sabotage-subsystem", u" Ship(%2).Subsystem(%3)= -%4"},
                 {u"repair-subsystem", u" Ship(%2).Subsystem(%3)= +%4"},
                 {u"set-subsystem-strength", u" Ship(%2).Subsystem(%3)=%4"},
                 {u"cap-waypoint-speed", u" Ship(%2).MaxSpeedToWaypoints=%3"},
                 {u"awacs-set-radius", u" Ship(%2).Subsystem(%3).SetAWACSRadius(%4)"},
                 {u"send-message", u" SendMessage(%2,%4,%3)"},
                 {u"good-secondary-time", u" Team(%2).Enemy(%5).PreferSecondaryWeapon(%4,%3)"},
                 {u"allow-weapon", u" WeaponType(%2).Allow()"},
                 {u"allow-ship", u" ShipType(%2).Allow()"},
             });
  // AI goals: the argument of the AddGoal call that "add-goal" writes.
  AddFormats(t, Lead::kNone,
             {
                 {u"ai-waypoints", u"AI_WAYPOINTS,%2,%3"},
                 {u"ai-waypoints-once", u"AI_WAYPOINTS_ONCE,%2,%3"},
                 {u"ai-chase", u"AI_CHASE,%2,%3"},
                 {u"ai-guard", u"AI_GUARD,%2,%3"},
                 {u"ai-disable-ship", u"AI_DISABLE_SHIP,%2,%3"},
                 {u"ai-disarm-ship", u"AI_DISARM_SHIP,%2,%3"},
                 {u"ai-evade-ship", u"AI_EVADE_SHIP,%2,%3"},
                 {u"ai-ignore", u"AI_IGNORE,%2,%3"},
                 {u"ai-play-dead", u"AI_PLAY_DEAD,%2"},
                 {u"ai-chase-any", u"AI_CHASE_ANY,%2"},
                 {u"ai-undock", u"AI_UNDOCK,%2"},
                 {u"ai-stay-still", u"AI_STAY_STILL,%3"},
                 {u"ai-warp-out", u"AI_WARP_OUT,%2"},
                 {u"ai-destroy-subsystem", u"AI_DESTROY_SUBSYSTEM,%2,%3,%4"},
                 {u"ai-dock", u"AI_DOCK,%2,%3,%4,%5"},
             });
  for (const auto& [op, action] : std::initializer_list<std::pair<TextView, TextView>>{
           {u"self-destruct", u"SelfDestruct()"},
           {u"ship-invulnerable", u"MakeInvulnerable()"},
           {u"ship-vulnerable", u"MakeVulnerable()"},
           {u"break-warp", u"BreakWarp()"},
           {u"fix-warp", u"FixWarp()"},
           {u"allow-warp", u"AllowWarp()"},
           {u"never-warp", u"DisallowWarp()"},
           {u"ship-guardian", u"MakeInvulnerableAgainstWeaponFire()"},
           {u"ship-no-guardian", u"MakeVulnerableAgainstWeaponFire()"},
           {u"ship-vanish", u"VanishWithoutTrace()"},
           {u"ship-invisible", u"MakeInvisible()"},
           {u"ship-visible", u"MakeVisible()"},
           {u"protect-ship", u"Protect()"},
           {u"unprotect-ship", u"Unprotect()"},
           {u"beam-protect-ship", u"ProtectAgainstBeamWeapons()"},
           {u"beam-unprotect-ship", u"UnprotectAgainstBeamWeapons()"},
           {u"clear-goals", u"ClearGoals()"},
       }) {
    t.emplace(op, Template{Kind::kShipAction, Lead::kIndent, action});
  }
  // Lists: one line per name, from word `first` on in steps of `step`.
  t.emplace(u"validate-goal", Template{Kind::kList, Lead::kNone, u" MissionStatus.Goal(@0).Show()", 2, 1});
  t.emplace(u"invalidate-goal", Template{Kind::kList, Lead::kNone, u" MissionStatus.Goal(@0).Hide()", 2, 1});
  t.emplace(u"change-iff", Template{Kind::kList, Lead::kNone, u" Ship(@0).ChangeIff(%2)", 3, 1});
  t.emplace(u"tech-add-weapons", Template{Kind::kList, Lead::kNone, u" WeaponType(@0).AddToTechRoom()", 2, 1});
  t.emplace(u"tech-add-ships", Template{Kind::kList, Lead::kNone, u" ShipType(@0).AddToTechRoom()", 2, 1});
  t.emplace(u"send-message-list", Template{Kind::kMessageList, Lead::kNone, {}, 2, 4});
  return t;
}

const TemplateTable& Templates() {
  static const TemplateTable table = BuildTemplates();
  return table;
}

}  // namespace

const Template* FindTemplate(TextView word) {
  const auto found = Templates().find(word);
  return found == Templates().end() ? nullptr : &found->second;
}

Translator::Translator(Workspace& work, Scratch& scratch, Text& out, TextView event_name, std::size_t input_size,
                       OperatorSet operators)
    : work_(work),
      scratch_(scratch),
      out_(out),
      event_name_(event_name),
      max_output_(std::max(kOutputBase, input_size * kOutputPerCharacter)),
      modern_(operators == OperatorSet::kFreeSpaceOpen) {
  work_.SetAllowance(input_size * kWorkPerCharacter + kWorkBase);
}

void Translator::Translate(Span text, Indent indent, int level) {
  if (Stop() || !Enter(level)) return;
  // Each level keeps its lists for the next formula at that level.
  std::vector<Span>& parts = Parts(level);
  SplitParts(Prepare(text, work_), work_, parts);
  // The first part is the operator of the level unless the text begins with
  // a bracketed group.
  const bool headed = !parts.empty() && !parts[0].group;
  const std::size_t start = out_.size();
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const std::size_t entry = out_.size();
    i = WriteEntry(parts, i, indent, level, headed && i == 0);
    if (Stop()) return;
    EndEntry(entry);
  }
  if (out_.size() > start) out_.resize(out_.size() - kCrLf.size());
}

bool Translator::Stop() {
  if (!failed_ && (work_.Exhausted() || out_.size() > max_output_)) failed_ = true;
  return failed_;
}

bool Translator::Enter(int level) {
  if (level <= kMaxLevel) return true;
  out_ += kNestedTooDeeply;
  return false;
}

std::vector<Span>& Translator::Parts(int level) {
  const auto index = static_cast<std::size_t>(level) - 1;
  scratch_.used = std::max(scratch_.used, index + 1);
  while (scratch_.parts.size() <= index) scratch_.parts.push_back(std::make_unique<std::vector<Span>>());
  return *scratch_.parts[index];
}

std::vector<Arg>& Translator::Args(int level) {
  const auto index = static_cast<std::size_t>(level) - 1;
  scratch_.used = std::max(scratch_.used, index + 1);
  while (scratch_.args.size() <= index) scratch_.args.push_back(std::make_unique<std::vector<Arg>>());
  return *scratch_.args[index];
}

void Scratch::Trim() {
  constexpr std::size_t kKept = 4096;
  for (std::size_t level = 0; level < used; ++level) {
    if (level < parts.size() && parts[level]->capacity() > kKept) std::vector<Span>().swap(*parts[level]);
    if (level < args.size() && args[level]->capacity() > kKept) std::vector<Arg>().swap(*args[level]);
  }
  used = 0;
}

void Translator::WriteIndent(Indent indent) {
  out_ += indent.base;
  out_.append(indent.extra, u' ');
}

void Translator::WriteLead(Lead lead, Indent indent) {
  if (lead == Lead::kIndent) {
    WriteIndent(indent);
    out_ += u' ';
  }
}

void Translator::WriteBlockIndent(Indent indent) {
  if (indent.block) WriteIndent(indent);
}

void Translator::AppendWord(TextView word) {
  if (argument_loop_ > 0 && IsArgument(word)) {
    out_ += u"Argument";
  } else if (!modern_ || !WriteVariable(word)) {
    out_ += word;
  }
}

void Translator::WriteOperand(Operands& operands, std::size_t k) {
  if (const Arg* arg = operands.At(k); arg != nullptr && arg->group) {
    WriteValue(*arg, operands.Level());
  } else {
    AppendWord(operands.Word(k));
  }
}

void Translator::WriteFormat(TextView format, Operands& operands, std::size_t base) {
  for (std::size_t j = 0; j < format.size(); ++j) {
    const char16_t c = format[j];
    if ((c == u'%' || c == u'@') && j + 1 < format.size()) {
      const std::size_t k = static_cast<std::size_t>(format[++j] - u'0');
      WriteOperand(operands, c == u'%' ? k : base + k);
    } else {
      out_ += c;
    }
  }
}

// Removes the line break after the last line of a list, if any.
void Translator::EndList(std::size_t entry) {
  if (out_.size() > entry) out_.resize(out_.size() - kCrLf.size());
}

void Translator::EndEntry(std::size_t entry) {
  if (mission::IsGiven(TextView(out_).substr(entry))) {
    out_ += kCrLf;
  } else {
    out_.resize(entry);
  }
}

namespace {

Span PartOrEmpty(std::span<const Span> parts, std::size_t i) { return i < parts.size() ? parts[i] : Span{}; }

}  // namespace

std::size_t Translator::WriteEntry(std::span<const Span> parts, std::size_t i, Indent indent, int level, bool head) {
  Words words(parts[i].View());
  const TextView op = words.Get(1);
  const Template* t = nullptr;
  if (modern_) {
    // The original operators (also in other spellings and by old names), the
    // operators the original lacks, and a call of an operator in no table
    // (a word at the head of its level or of a bracketed group).
    const Resolved r = ResolveModern(op);
    const bool call = !op.empty() && op.front() != u'"' && (head || parts[i].group);
    const bool modern_form = r.original != nullptr ? UsesModernForm(*r.original, parts.subspan(i), head)
                                                   : r.op != nullptr || call;
    if (modern_form) {
      WriteModern(r, op, parts, i, indent, level, head);
      work_.Charge(words.Read() + 1);
      return head ? parts.size() - 1 : i;
    }
    t = r.original;
  } else {
    t = FindTemplate(op);
  }
  if (t == nullptr) {
    WriteBlockIndent(indent);
    out_ += u" #UnknownCommand ";
    out_ += op;
    work_.Charge(words.Read() + 1);
    return i;
  }
  std::size_t last = i;
  WriteOriginal(*t, parts, i, words, indent, level, last);
  work_.Charge(words.Read() + 1);
  return last;
}

void Translator::WriteOriginal(const Template& t, std::span<const Span> parts, std::size_t i, Words& words,
                               Indent indent, int level, std::size_t& last) {
  switch (t.kind) {
    case Kind::kFormat:
    case Kind::kShipCondition:
    case Kind::kShipAction:
    case Kind::kList:
    case Kind::kMessageList:
    case Kind::kEscort:
    case Kind::kRandomMessage: {
      Operands operands(words);
      WriteWordTemplate(t, operands, indent);
      break;
    }
    case Kind::kWhen:
      last = WriteWhen(parts, i, level);
      break;
    case Kind::kNot:
      last = WriteNot(parts, i, indent, level);
      break;
    case Kind::kAndOr:
      last = WriteAndOr(t.text, parts, indent, level);
      break;
    case Kind::kCompare:
      last = WriteCompare(parts, indent, level);
      break;
    case Kind::kAddGoal:
      WriteAddGoal(parts[i], words, indent, level);
      break;
  }
}

void Translator::WriteWordTemplate(const Template& t, Operands& operands, Indent indent) {
  switch (t.kind) {
    case Kind::kFormat:
      // In a block, lines that begin with a fixed space or none stand at
      // the block's indent too.
      if (t.lead == Lead::kNone && indent.block) {
        WriteIndent(indent);
        if (!t.text.starts_with(u' ')) out_ += u' ';
      }
      WriteLead(t.lead, indent);
      WriteFormat(t.text, operands);
      break;
    case Kind::kShipCondition:
      WriteShipCondition(t, operands, indent);
      break;
    default:
      WriteAction(t, operands, indent);
      break;
  }
}

// "when": the next part is the condition; the parts after it are the
// actions, translated one by one as entries of their own.
std::size_t Translator::WriteWhen(std::span<const Span> parts, std::size_t i, int level) {
  out_ += u"If\r\n";
  Translate(PartOrEmpty(parts, i + 1), Indent{}, level + 1);
  out_ += u"\r\nThen\r\n MissionStatus.Event(\"";
  out_ += event_name_;
  out_ += u"\")=True";
  return i + 1;
}

// "not": "Not" and the translation of the next part. An operand of several
// lines (a condition over several ships) is bracketed, each of its lines
// indented by the blanks before "Not", so that "Not" plainly covers all of
// it; an and/or block brings its own brackets.
std::size_t Translator::WriteNot(std::span<const Span> parts, std::size_t i, Indent indent, int level) {
  WriteLead(Lead::kIndent, indent);
  const std::size_t word = out_.size();
  out_ += u"Not";
  const std::size_t operand = out_.size();
  Translate(PartOrEmpty(parts, i + 1), Indent{}, level + 1);
  const TextView text = TextView(out_).substr(operand);
  const std::size_t first_end = text.find(kCrLf);
  if (first_end == TextView::npos || text.substr(0, first_end) == u"(") return i + 1;
  // All blanks before "Not" on its line: its own and those an enclosing
  // and/or block wrote, so that the operand and ")" line up under it.
  std::size_t lead = word;
  while (lead > 0 && out_[lead - 1] == u' ') --lead;
  const Text blanks = out_.substr(lead, word - lead);
  Text bracketed(u" (");
  bracketed.reserve(text.size() + 2 * blanks.size() + 8);
  for (std::size_t start = 0;;) {
    const std::size_t end = std::min(text.find(kCrLf, start), text.size());
    bracketed.append(kCrLf).append(blanks).append(text.substr(start, end - start));
    if (end == text.size()) break;
    start = end + kCrLf.size();
  }
  bracketed.append(kCrLf).append(blanks).append(u")");
  work_.Charge(bracketed.size());
  out_.replace(operand, out_.size() - operand, bracketed);
  return i + 1;
}

// "and"/"or": a bracketed block of all the other parts of the formula, one
// level deeper, joined by the operator's word.
std::size_t Translator::WriteAndOr(TextView word, std::span<const Span> parts, Indent indent, int level) {
  WriteIndent(indent);
  out_ += u"(\r\n";
  for (std::size_t k = 1; k < parts.size(); ++k) {
    WriteIndent(indent);
    Translate(parts[k], Indent{indent.base, indent.extra + 1, indent.block}, level + 1);
    out_ += kCrLf;
    if (k + 1 < parts.size()) {
      WriteIndent(indent);
      out_ += word;
      out_ += kCrLf;
    }
  }
  WriteIndent(indent);
  out_ += u")\r\n";
  return parts.size() - 1;
}

// "<"/">": part 2 translated, the operator word, and only the first word of
// part 3.
std::size_t Translator::WriteCompare(std::span<const Span> parts, Indent indent, int level) {
  WriteLead(Lead::kIndent, indent);
  Translate(PartOrEmpty(parts, 1), Indent{}, level + 1);
  out_ += u' ';
  out_ += Words(parts[0].View()).Get(1);
  out_ += u' ';
  AppendWord(Words(PartOrEmpty(parts, 2).View()).Get(1));
  return parts.size() - 1;
}

// One line per ship from word 3 on, all with the delay of word 2; every line
// after the first begins with "And ".
void Translator::WriteShipCondition(const Template& t, Operands& operands, Indent indent) {
  const std::size_t entry = out_.size();
  for (std::size_t k = 3; operands.Given(k); ++k) {
    WriteLead(t.lead, indent);
    if (k > 3) out_ += u"And ";
    out_ += u"Ship(";
    WriteOperand(operands, k);
    out_ += t.text;
    WriteOperand(operands, 2);
    out_ += kCrLf;
  }
  EndList(entry);
}

void Translator::WriteAction(const Template& t, Operands& operands, Indent indent) {
  const std::size_t entry = out_.size();
  switch (t.kind) {
    case Kind::kShipAction: {
      // Every line is the same but for the ship: build its two ends once.
      Text head(indent.base);
      head.append(indent.extra + 1, u' ').append(u"Ship(");
      Text tail(u").");
      tail.append(t.text).append(kCrLf);
      for (std::size_t k = 2; operands.Given(k); ++k) {
        out_ += head;
        WriteOperand(operands, k);
        out_ += tail;
      }
      EndList(entry);
      break;
    }
    case Kind::kList:
      for (std::size_t k = static_cast<std::size_t>(t.first); operands.Given(k);
           k += static_cast<std::size_t>(t.step)) {
        WriteBlockIndent(indent);
        WriteFormat(t.text, operands, k);
        out_ += kCrLf;
      }
      EndList(entry);
      break;
    case Kind::kMessageList:
      // The game adds the delays up; the FreeSpace Open translation says so.
      WriteMessages(operands, static_cast<std::size_t>(t.first), indent, modern_);
      break;
    case Kind::kEscort: {
      // Priority 0 removes the ship. A priority that is known only when the
      // mission runs (a variable, an operator) may do either.
      const bool runtime = modern_ && (operands.IsGroup(3) || !VariableName(operands.Word(3)).empty());
      WriteBlockIndent(indent);
      WriteFormat(runtime                                             ? u" Ship(%2).EscortList.AddOrRemove(%3)"
                  : mission::NumericValue(operands.Word(3)) == 0.0 ? u" Ship(%2).EscortList.Remove()"
                                                                     : u" Ship(%2).EscortList.Add(%3)",
                  operands);
      break;
    }
    case Kind::kRandomMessage:
      WriteBlockIndent(indent);
      WriteFormat(u" InXMilliSeconds(0).SendMessage(%2,ChooseRandomFromList(", operands);
      for (std::size_t k = 4; operands.Given(k); ++k) {
        WriteOperand(operands, k);
        out_ += u',';
      }
      // Only the comma after the last message goes; without messages the
      // list stays an empty pair of brackets.
      if (out_.back() == u',') out_.pop_back();
      WriteFormat(u"),%3)", operands);
      break;
    default:
      break;
  }
}

namespace {

// A delay written as a plain whole number: an optional sign and at most 18
// digits.
bool PlainNumber(TextView word, std::int64_t& value) {
  std::size_t at = !word.empty() && (word[0] == u'-' || word[0] == u'+') ? 1 : 0;
  if (word.size() == at || word.size() - at > 18) return false;
  value = 0;
  for (; at < word.size(); ++at) {
    if (word[at] < u'0' || word[at] > u'9') return false;
    value = value * 10 + (word[at] - u'0');
  }
  if (word[0] == u'-') value = -value;
  return true;
}

}  // namespace

// Each line reads its words in the order sender, priority, message, delay
// and writes delay, sender, message, priority. Added up, the plain numbers
// among the delays make one number and the others (variables, operators)
// stand as terms before it: «InXMilliSeconds(Variable("Wait") + 2000)».
void Translator::WriteMessages(Operands& operands, std::size_t first, Indent indent, bool accumulate) {
  const std::size_t entry = out_.size();
  std::int64_t number = 0;
  Text terms;
  for (std::size_t k = first; operands.Given(k); k += 4) {
    WriteBlockIndent(indent);
    out_ += u" InXMilliSeconds(";
    if (!accumulate) {
      WriteOperand(operands, k + 3);
    } else {
      std::int64_t value = 0;
      std::int64_t sum = 0;
      const TextView delay = operands.Word(k + 3);
      if (!operands.IsGroup(k + 3) && PlainNumber(delay, value) && !__builtin_add_overflow(number, value, &sum)) {
        number = sum;
      } else if (operands.IsGroup(k + 3) || !delay.empty()) {
        const std::size_t at = out_.size();
        if (!terms.empty()) out_ += u" + ";
        WriteOperand(operands, k + 3);
        terms.append(TextView(out_).substr(at));
        out_.resize(at);
      }
      out_ += terms;
      work_.Charge(terms.size());
      if (terms.empty()) {
        out_ += mission::Decimal(number);
      } else if (number != 0) {
        out_ += u" + ";
        out_ += mission::Decimal(number);
      }
    }
    out_ += u").SendMessage(";
    WriteOperand(operands, k);
    out_ += u',';
    WriteOperand(operands, k + 2);
    out_ += u',';
    WriteOperand(operands, k + 1);
    out_ += u')';
    out_ += kCrLf;
    if (Stop()) return;
  }
  EndList(entry);
}

// "add-goal": the rest of the part after the ship (the bracketed goal) is
// translated as a formula of its own and becomes the argument of AddGoal.
void Translator::WriteAddGoal(Span part, Words& words, Indent indent, int level) {
  const TextView op = words.Get(1);
  const TextView ship = words.Get(2);
  Span rest = part;
  rest.bracket = Source::kNone;  // the words may hold brackets
  rest.group = false;
  const char16_t* base = part.source->Text16().data();
  if (ship.empty()) {
    rest.begin = static_cast<std::uint32_t>(op.data() + op.size() - base);
  } else if (ship.front() != u'\0') {
    rest.begin = static_cast<std::uint32_t>(ship.data() + ship.size() - base);
  } else {
    // A ship word that starts with a NUL may also match within the blanks
    // before the operator: remove both words exactly as written.
    Text copy(part.View());
    mission::ReplaceFirst(copy, op, u"");
    mission::ReplaceFirst(copy, ship, u"");
    const Source& source = work_.Add(std::move(copy));
    rest = Span{&source, 0, source.Size()};
  }
  WriteLead(Lead::kIndent, indent);
  out_ += u"Ship(";
  AppendWord(ship);
  out_ += u").AddGoal(";
  Translate(rest, Indent{}, level + 1);
  out_ += u')';
}

Text Translate(Text formula, TextView indent, TextView eventName, OperatorSet operators) {
  return Translate(std::make_unique<Source>(std::move(formula)), indent, eventName, operators);
}

Text Translate(std::unique_ptr<Source> formula, TextView indent, TextView eventName, OperatorSet operators) {
  Workspace work;
  const std::size_t size = formula->Size();
  const Source& source = work.Add(std::move(formula));
  Text out;
  // Room that is never written costs nothing; this saves most of the copying
  // as a long translation grows.
  out.reserve(4 * size + 256);
  // One formula is translated at a time on a thread; its lists serve the next.
  thread_local Scratch scratch;
  Translator translator(work, scratch, out, eventName, size, operators);
  translator.Translate(Span{&source, 0, source.Size()}, Indent{indent, 0}, 1);
  scratch.Trim();
  if (translator.Failed()) return Text(kTooComplex);
  return out;
}

}  // namespace sexp::detail
