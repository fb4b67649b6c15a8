#include "tests/sexp/reference.h"

#include <algorithm>
#include <map>
#include <set>

namespace sexp::reference {
namespace {

using namespace mission;

struct Context {
  Text event;
  long calls = 0;
  long max_calls = 0;
  bool gave_up = false;
};

Text Nth(std::int32_t n, Text t) {
  TrimBlank(t);
  std::int32_t word = 1;
  bool quoted = false;
  Text result;
  for (char16_t c : t) {
    if (c == u'"') quoted = !quoted;
    if (c == u' ') {
      if (!quoted) {
        ++word;
      } else if (word == n) {
        result += u' ';
      }
    }
    if (c != u' ' && word == n) result += c;
  }
  return result;
}

// Brackets between two double quotes belong to a name.
std::vector<Text> Split(const Text& f) {
  int depth = 0;
  bool quoted = false;
  Text tok;
  std::vector<Text> parts;
  for (char16_t c : f) {
    if (c == u'"') quoted = !quoted;
    if (quoted || c == u'"') {
      tok += c;
    } else if (c == u'(') {
      if (IsGiven(tok) && depth == 0) {
        parts.push_back(tok);
        tok.clear();
      }
      if (depth > 0) tok += u'(';
      ++depth;
    } else if (c == u')') {
      --depth;
      if (depth == 0) {
        parts.push_back(tok);
        tok.clear();
      } else {
        tok += u')';
      }
    } else {
      tok += c;
    }
  }
  if (IsGiven(tok)) parts.push_back(tok);
  return parts;
}

Text ShipList(const Text& prefix, const Text& arguments, const Text& action) {
  Text result;
  for (std::int32_t k = 2;; ++k) {
    const Text w = Nth(k, arguments);
    if (!IsGiven(w)) break;
    result += prefix + u"Ship(" + w + u")." + action + u"\r\n";
  }
  DropRight(result, 2);
  return result;
}

const std::map<Text, Text>& Formats() {
  static const std::map<Text, Text> formats = {
      {u"true", u"I1True"},
      {u"false", u"I1False"},
      {u"hits-left", u"Ship(%2).Hull"},
      {u"hits-left-subsystem", u"Ship(%2).Subsystem(%3).Hits"},
      {u"distance", u"Distance(%2,%3)"},
      {u"mission-time", u"MissionStatus.MissionTime"},
      {u"is-ship-visible", u"Ship(%2).VisibleOnPlayersRadar"},
      {u"is-subsystem-destroyed-delay", u"I1Ship(%2).Subsystem(%3).DestroyedSince>=%4"},
      {u"is-goal-true-delay", u"I1MissionStatus.Goal(%2).TrueSince>=%3"},
      {u"is-goal-false-delay", u"I1MissionStatus.Goal(%2).FalseSince>=%3"},
      {u"is-event-true-delay", u"I1MissionStatus.Event(%2).TrueSince>=%3"},
      {u"is-event-false-delay", u"I1MissionStatus.Event(%2).FalseSince>=%3"},
      {u"is-event-incomplete", u"I1MissionStatus.Event(%2).Incomplete"},
      {u"skill-level-at-least", u"I1SkillLevel >= %2"},
      {u"ship-type-destroyed", u"I1ShipType(%3).DestroyedPercentageGreaterThan(%2)"},
      {u"has-time-elapsed", u"I1MissionStatus.MissionTime=%2"},
      {u"are-waypoints-done-delay", u"I1Ship(%2).Waypoints(%3).PassedSince>=%4"},
      {u"has-undocked-delay", u" Ship(%2).DockWithShip(%3).NumberOfTimes(%4).UndockedSince>=%5"},
      {u"has-docked-delay", u" Ship(%2).DockWithShip(%3).NumberOfTimes(%4).DockedSince>=%5"},
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
  };
  return formats;
}

const std::map<Text, Text> kShipConditions = {
    {u"has-arrived-delay", u").ArrivedSince>="},   {u"has-departed-delay", u").DepartedSince>="},
    {u"is-destroyed-delay", u").DestroyedSince>="}, {u"destroyed-or-departed-delay", u").DestroyedOrDepartedSince>="},
    {u"is-disabled-delay", u").DisabledSince>="},   {u"is-disarmed-delay", u").DisarmedSince>="},
};

const std::map<Text, Text> kShipActions = {
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
};

// `lead`: what the caller writes on the line before the part's text.
Text Parse(Context& ctx, Text formula, const Text& indent, int level, const Text& lead = Text());

Text Fill(const Text& format, const Text& part, const Text& i1) {
  Text s;
  for (std::size_t j = 0; j < format.size(); ++j) {
    if (format.compare(j, 2, u"I1") == 0) {
      s += i1;
      ++j;
    } else if (format[j] == u'%') {
      s += Nth(format[++j] - u'0', part);
    } else {
      s += format[j];
    }
  }
  return s;
}

Text Parse(Context& ctx, Text f, const Text& indent, int level, const Text& lead) {
  if (++ctx.calls > ctx.max_calls) ctx.gave_up = true;
  if (ctx.gave_up) return Text();
  if (level > 1000) return u"<Error in formular: nested too deeply>";
  ReplaceFirst(f, u"$Formula:", u"");
  TrimBlank(f);
  if (!f.empty() && f.front() == u'(') f.erase(0, 1);
  // A last ")" inside a quoted text left open is part of the name.
  if (!f.empty() && f.back() == u')' && std::count(f.begin(), f.end(), u'"') % 2 == 0) DropRight(f, 1);
  const std::vector<Text> p = Split(f);
  const auto P = [&](std::size_t k) { return k >= 1 && k <= p.size() ? p[k - 1] : Text(); };
  const std::size_t n = p.size();
  const Text i1 = indent + u" ";
  std::vector<Text> lines;
  bool given = false;
  for (std::size_t i = 1; i <= n; ++i) {
    const Text part = P(i);
    const Text op = Nth(1, part);
    const auto w = [&](std::int32_t k) { return Nth(k, part); };
    // The caller's lead stands before the first line given only.
    const Text line_lead = given ? Text() : lead;
    Text s;
    if (op == u"when") {
      s = u"If\r\n" + Parse(ctx, P(i + 1), u"", level + 1) + u"\r\nThen\r\n MissionStatus.Event(\"" + ctx.event +
          u"\")=True";
      ++i;
    } else if (op == u"not") {
      const Text operand = Parse(ctx, P(i + 1), u"", level + 1);
      const std::size_t first_end = operand.find(u"\r\n");
      if (first_end == Text::npos || operand.substr(0, first_end) == u"(") {
        s = i1 + u"Not" + operand;
      } else {
        // An operand of several lines in brackets, each line behind all
        // the blanks before "Not" on its line.
        Text blanks = line_lead + i1;
        blanks.erase(0, blanks.find_last_not_of(u' ') + 1);
        s = i1 + u"Not (";
        Text rest = operand;
        for (std::size_t end; (end = rest.find(u"\r\n")) != Text::npos; rest.erase(0, end + 2)) {
          s += u"\r\n" + blanks + rest.substr(0, end);
        }
        s += u"\r\n" + blanks + rest + u"\r\n" + blanks + u")";
      }
      ++i;
    } else if (op == u"and" || op == u"or") {
      s = indent + u"(\r\n";
      for (std::size_t k = 2; k <= n; ++k) {
        s += indent + Parse(ctx, P(k), indent + u" ", level + 1, indent) + u"\r\n";
        if (k < n) s += indent + (op == u"and" ? u"And" : u"Or") + u"\r\n";
      }
      s += indent + u")\r\n";
      i = n;
    } else if (op == u"<" || op == u">") {
      s = i1 + Parse(ctx, P(2), u"", level + 1, line_lead + i1) + u" " + Nth(1, P(1)) + u" " + Nth(1, P(3));
      i = n;
    } else if (kShipConditions.count(op)) {
      Text c;
      for (std::int32_t k = 3; IsGiven(w(k)); ++k) {
        s += i1 + c + u"Ship(" + w(k) + kShipConditions.at(op) + w(2) + u"\r\n";
        c = u"And ";
      }
      DropRight(s, 2);
    } else if (kShipActions.count(op)) {
      s = ShipList(i1, part, kShipActions.at(op));
    } else if (Formats().count(op)) {
      s = Fill(Formats().at(op), part, i1);
    } else if (op == u"add-goal") {
      Text r = part;
      ReplaceFirst(r, w(1), u"");
      ReplaceFirst(r, w(2), u"");
      s = i1 + u"Ship(" + w(2) + u").AddGoal(" + Parse(ctx, r, u"", level + 1) + u")";
    } else if (op == u"add-remove-escort") {
      s = NumericValue(w(3)) == 0 ? u" Ship(" + w(2) + u").EscortList.Remove()"
                                  : u" Ship(" + w(2) + u").EscortList.Add(" + w(3) + u")";
    } else if (op == u"send-random-message") {
      s = u" InXMilliSeconds(0).SendMessage(" + w(2) + u",ChooseRandomFromList(";
      for (std::int32_t k = 4; IsGiven(w(k)); ++k) s += w(k) + u",";
      if (s.back() == u',') DropRight(s, 1);
      s += u")," + w(3) + u")";
    } else if (op == u"validate-goal" || op == u"invalidate-goal" || op == u"tech-add-weapons" ||
               op == u"tech-add-ships" || op == u"change-iff" || op == u"send-message-list") {
      const std::int32_t first = op == u"change-iff" ? 3 : 2;
      const std::int32_t step = op == u"send-message-list" ? 4 : 1;
      for (std::int32_t k = first; IsGiven(w(k)); k += step) {
        if (op == u"validate-goal") s += u" MissionStatus.Goal(" + w(k) + u").Show()";
        if (op == u"invalidate-goal") s += u" MissionStatus.Goal(" + w(k) + u").Hide()";
        if (op == u"tech-add-weapons") s += u" WeaponType(" + w(k) + u").AddToTechRoom()";
        if (op == u"tech-add-ships") s += u" ShipType(" + w(k) + u").AddToTechRoom()";
        if (op == u"change-iff") s += u" Ship(" + w(k) + u").ChangeIff(" + w(2) + u")";
        if (op == u"send-message-list")
          s += u" InXMilliSeconds(" + w(k + 3) + u").SendMessage(" + w(k) + u"," + w(k + 2) + u"," + w(k + 1) + u")";
        s += u"\r\n";
      }
      DropRight(s, 2);
    } else {
      s = u" #UnknownCommand " + op;
    }
    given = given || IsGiven(s);
    lines.push_back(s);
  }
  Text result;
  for (const Text& line : lines) {
    if (IsGiven(line)) result += line + u"\r\n";
  }
  DropRight(result, 2);
  return result;
}

// Whether an operator other than the structural ones (which take bracketed
// operands by design) has a bracket among its arguments: there the original
// templates read an operator's pieces as words, and the FreeSpace Open
// translation reads the operator.
bool OperatorAmongWords(TextView formula) {
  static const std::set<Text> structural = {u"when", u"not", u"and", u"or", u"<", u">"};
  std::vector<Text> ops = {Text()};  // the operator of each open list
  bool quoted = false;
  bool first = true;  // the next word is the operator of the latest list
  Text word;
  const auto end_word = [&] {
    if (!word.empty() && first) ops.back() = word;
    if (!word.empty()) first = false;
    word.clear();
  };
  for (const char16_t c : formula) {
    if (c == u'"') quoted = !quoted;
    if (!quoted && (c == u'(' || c == u')')) {
      end_word();
      if (c == u')') {
        if (ops.size() > 1) ops.pop_back();
        continue;
      }
      if (!ops.back().empty() && !structural.count(ops.back())) return true;
      ops.push_back(Text());
      first = true;
    } else if (!quoted && (c == u' ' || c == u'\0' || c == u'\t')) {
      end_word();
    } else {
      word += c;
    }
  }
  return false;
}

}  // namespace

std::optional<Text> ParseIt(TextView formula, TextView indent, TextView event, long max_calls) {
  Context ctx{Text(event), 0, max_calls, false};
  Text result = Parse(ctx, Text(formula), Text(indent), 1);
  if (ctx.gave_up) return std::nullopt;
  return result;
}

std::optional<Text> ReadFormula(TextView owner, const std::vector<Text>& lines, std::int32_t& next, long max_calls) {
  next = 1;
  if (lines.empty()) return Text();
  Text acc;
  std::int32_t d = 0;
  do {
    if (next > static_cast<std::int32_t>(lines.size())) return Text(u"<Error in formular: missing ')' brackets>");
    // An open formula ends before the next formula's line.
    if (next > 1 && lines[static_cast<std::size_t>(next - 1)].substr(0, 6) == u"$Formu") {
      return Text(u"<Error in formular: missing ')' brackets>");
    }
    // A line end counts as a blank.
    if (next > 1) acc += u" ";
    acc += lines[static_cast<std::size_t>(next - 1)];
    while (ReplaceFirst(acc, u"  ", u" ")) {
    }
    ++next;
    // Brackets count outside quoted texts only; a quoted text may span lines.
    std::int32_t open = 0, close = 0;
    bool quoted = false;
    for (const char16_t c : acc) {
      if (c == u'"') quoted = !quoted;
      if (!quoted && c == u'(') ++open;
      if (!quoted && c == u')') ++close;
    }
    d = open - close;
  } while (d > 0);
  if (d < 0) return Text(u"<Error in formular: too many ')' brackets>");
  return ParseIt(acc, u"", owner, max_calls);
}

bool ModernMayDiffer(TextView formula, TextView original) {
  return original.find(u"#UnknownCommand") != TextView::npos || original.find(u"<Error in formular") != TextView::npos ||
         formula.find(u"when") != TextView::npos || formula.find_first_of(u"<>@") != TextView::npos ||
         formula.find(u"send-message-list") != TextView::npos || OperatorAmongWords(formula);
}

}  // namespace sexp::reference
