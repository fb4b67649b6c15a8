// The FreeSpace Open operators: what the translator writes for the operators
// that the original templates lack, when the FreeSpace Open translation is
// chosen. The most frequent ones have templates written by hand; every other
// operator of the engine's table gets a generic form from its table row.
//
// Unlike the original templates, which read the words of their own part
// only, these read their arguments as a list of words and bracketed groups:
// a nested operator is translated where it stands, so
// «( modify-variable @Count[0] ( + @Count[0] 1 ) )» becomes
// «Variable("Count") = Variable("Count") + 1».
#include <algorithm>
#include <string_view>
#include <vector>

#include "sexp/translator.h"

namespace sexp::detail {
namespace {

constexpr TextView kCrLf = u"\r\n";

using MK = ModernKind;
constexpr Lead kNone = Lead::kNone;
constexpr Lead kLine = Lead::kIndent;

// Hand-written templates, by family. Values (numbers, argument lists, AI
// goals) have no lead of their own; conditions and actions begin with the
// indent and one space, like the original ones.
constexpr ModernTemplate kTemplates[] = {
    // Arithmetic and numbers.
    {"+", MK::kArithmetic, kNone, u"+"},
    {"-", MK::kArithmetic, kNone, u"-"},
    {"*", MK::kArithmetic, kNone, u"*"},
    {"/", MK::kArithmetic, kNone, u"/"},
    {"mod", MK::kArithmetic, kNone, u"Mod"},
    {"rand", MK::kFormat, kNone, u"RandomOnce(%1,%2[,%3])"},
    {"rand-multiple", MK::kFormat, kNone, u"Random(%1,%2[,%3])"},
    {"min", MK::kFormat, kNone, u"Min(%*1)"},
    {"max", MK::kFormat, kNone, u"Max(%*1)"},
    {"abs", MK::kFormat, kNone, u"Abs(%1)"},

    // Comparisons and logic.
    {"=", MK::kCompare, kLine, u"="},
    {"!=", MK::kCompare, kLine, u"!="},
    {">=", MK::kCompare, kLine, u">="},
    {"<=", MK::kCompare, kLine, u"<="},
    {"string-equals", MK::kCompare, kLine, u"="},
    {"xor", MK::kXor, kNone, u"Xor"},

    // Variables.
    {"modify-variable", MK::kFormat, kLine, u"%1 = %2"},

    // Conditionals and the arguments of when-argument. An argument list's
    // second text is the head line of the loop, after "For ".
    {"every-time", MK::kEveryTime},
    {"when-argument", MK::kWhenArgument},
    {"every-time-argument", MK::kEveryTimeArgument},
    {"if-then-else", MK::kIfThenElse},
    {"cond", MK::kCond},
    {"perform-actions-bool-first", MK::kPerformFirst},
    {"perform-actions-bool-last", MK::kPerformLast},
    {"any-of", MK::kArgumentList, kNone, u"AnyOf(%*1)"},
    {"every-of", MK::kArgumentList, kNone, u"EveryOf(%*1)"},
    {"random-of", MK::kArgumentList, kNone, u"RandomOf(%*1)"},
    {"random-multiple-of", MK::kArgumentList, kNone, u"RandomMultipleOf(%*1)"},
    {"number-of", MK::kArgumentList, kNone, u"NumberOf(%*1)"},
    {"first-of", MK::kArgumentList, kNone, u"FirstOf(%*1)"},
    {"in-sequence", MK::kArgumentList, kNone, u"InSequence(%*1)"},
    {"for-counter", MK::kArgumentList, kNone, u"ForCounter(%*1)"},
    {"invalidate-argument", MK::kFormat, kLine, u"Arguments.Invalidate(%*1)"},
    {"validate-argument", MK::kFormat, kLine, u"Arguments.Validate(%*1)"},

    // Objects: coordinates, orientation, movement.
    {"get-object-x", MK::kFormat, kNone, u"Object(%1)[.Subsystem(%2)][.Offset(%*3)].X"},
    {"get-object-y", MK::kFormat, kNone, u"Object(%1)[.Subsystem(%2)][.Offset(%*3)].Y"},
    {"get-object-z", MK::kFormat, kNone, u"Object(%1)[.Subsystem(%2)][.Offset(%*3)].Z"},
    {"get-object-pitch", MK::kFormat, kNone, u"Object(%1).Pitch"},
    {"get-object-bank", MK::kFormat, kNone, u"Object(%1).Bank"},
    {"get-object-heading", MK::kFormat, kNone, u"Object(%1).Heading"},
    {"distance-center-to-subsystem", MK::kFormat, kNone, u"Distance(%1,Ship(%2).Subsystem(%3))"},
    {"is-in-box", MK::kFormat, kLine, u"Object(%1).IsInBox(%2,%3,%4,%5,%6,%7[,Ship(%8)])"},
    {"set-object-position", MK::kFormat, kLine, u"Object(%1).Position = (%2,%3,%4)"},
    {"set-object-facing", MK::kFormat, kLine, u"Ship(%1).FacePoint(%2,%3,%4[,%5][,%6])"},
    {"set-object-facing-object", MK::kFormat, kLine, u"Ship(%1).FaceObject(%2[,%3][,%4])"},
    {"set-object-speed-x", MK::kFormat, kLine, u"Ship(%1).SetSpeedX(%2[,%3])"},
    {"set-object-speed-y", MK::kFormat, kLine, u"Ship(%1).SetSpeedY(%2[,%3])"},
    {"set-object-speed-z", MK::kFormat, kLine, u"Ship(%1).SetSpeedZ(%2[,%3])"},

    // Ships: status, health, class, weapons.
    {"ship-guardian-threshold", MK::kEach, kLine, u"Ship(@).GuardianThreshold = %1", 2},
    {"ship-subsys-guardian-threshold", MK::kEach, kLine, u"Ship(%2).Subsystem(@).GuardianThreshold = %1", 3},
    {"ship-copy-damage", MK::kEach, kLine, u"Ship(@).CopyDamageFrom(%1)", 2},
    {"set-shield-energy", MK::kEach, kLine, u"Ship(@).ShieldEnergy = %1", 2},
    {"set-afterburner-energy", MK::kEach, kLine, u"Ship(@).AfterburnerEnergy = %1", 2},
    {"change-ship-class", MK::kEach, kLine, u"Ship(@).ChangeClass(%1)", 2},
    {"change-iff-color", MK::kEach, kLine, u"Ship(@).IffColor(%1,%2) = (%3,%4,%5)", 6},
    {"set-armor-type", MK::kEach, kLine, u"Ship(%1).Subsystem(@).SetArmorType(%2,%3)", 4},
    {"subsys-set-random", MK::kFormat, kLine, u"Ship(%1).SetSubsystemsRandom(%2,%3[,Except(%*4)])"},
    {"ship-stealthy", MK::kEach, kLine, u"Ship(@).MakeStealthy()", 1},
    {"ship-unstealthy", MK::kEach, kLine, u"Ship(@).MakeUnstealthy()", 1},
    {"shields-off", MK::kEach, kLine, u"Ship(@).ShieldsOff()", 1},
    {"shields-on", MK::kEach, kLine, u"Ship(@).ShieldsOn()", 1},
    {"lock-primary-weapon", MK::kEach, kLine, u"Ship(@).LockPrimaryWeapons()", 1},
    {"unlock-primary-weapon", MK::kEach, kLine, u"Ship(@).UnlockPrimaryWeapons()", 1},
    {"lock-secondary-weapon", MK::kEach, kLine, u"Ship(@).LockSecondaryWeapons()", 1},
    {"unlock-secondary-weapon", MK::kEach, kLine, u"Ship(@).UnlockSecondaryWeapons()", 1},
    {"lock-afterburner", MK::kEach, kLine, u"Ship(@).LockAfterburner()", 1},
    {"unlock-afterburner", MK::kEach, kLine, u"Ship(@).UnlockAfterburner()", 1},
    {"get-secondary-ammo", MK::kFormat, kNone, u"Ship(%1).SecondaryBank(%2).Ammo"},
    {"set-secondary-ammo", MK::kFormat, kLine, u"Ship(%1).SecondaryBank(%2).SetAmmo(%3[,%4])"},
    {"get-ets-value", MK::kFormat, kNone, u"Ship(%2).ETS(%1)"},
    {"num_class_kills", MK::kFormat, kNone, u"Ship(%1).KillsOfClass(%2)"},
    {"is-iff", MK::kEachAnd, kLine, u"Ship(@).Iff=%1", 2},
    {"is-ship-class", MK::kEachAnd, kLine, u"Ship(@).Class=%1", 2},
    {"is-cargo-known-delay", MK::kEachAnd, kLine, u"Ship(@).CargoKnownSince>=%1", 2},
    {"cap-subsys-cargo-known-delay", MK::kEachAnd, kLine, u"Ship(%2).Subsystem(@).CargoKnownSince>=%1", 3},
    {"was-destroyed-by-delay", MK::kEachAnd, kLine, u"Ship(@).DestroyedBy(%2).Since>=%1", 3},
    {"percent-ships-destroyed", MK::kFormat, kLine, u"Ships(%*2).DestroyedPercentage>=%1"},
    {"shield-quad-low", MK::kFormat, kLine, u"Ship(%1).AnyShieldQuadrantBelow(%2)"},
    {"primary-fired-since", MK::kFormat, kLine, u"Ship(%1).PrimaryBank(%2).FiredWithin(%3)"},
    {"secondary-fired-since", MK::kFormat, kLine, u"Ship(%1).SecondaryBank(%2).FiredWithin(%3)"},

    // Turrets and beams.
    {"turret-lock", MK::kEach, kLine, u"Ship(%1).Turret(@).Lock()", 2},
    {"turret-free", MK::kEach, kLine, u"Ship(%1).Turret(@).Free()", 2},
    {"beam-lock", MK::kEach, kLine, u"Ship(%1).BeamTurret(@).Lock()", 2},
    {"beam-free", MK::kEach, kLine, u"Ship(%1).BeamTurret(@).Free()", 2},
    {"fire-beam", MK::kFormat, kLine, u"Ship(%1).Turret(%2).FireBeamAt(%3[,%4][,%5])"},
    {"turret-change-weapon", MK::kFormat, kLine, u"Ship(%1).Turret(%2).ChangeWeapon(%3,%4,%5)"},
    {"ship-turret-target-order", MK::kFormat, kLine, u"Ship(%1).TurretTargetOrder(%*2)"},

    // AI and orders.
    {"goals", MK::kGoals, kLine},
    {"ai-chase-wing", MK::kFormat, kNone, u"AI_CHASE_WING,%*1"},
    {"ai-guard-wing", MK::kFormat, kNone, u"AI_GUARD_WING,%*1"},
    {"ai-stay-near-ship", MK::kFormat, kNone, u"AI_STAY_NEAR_SHIP,%*1"},
    {"remove-goal", MK::kFormat, kLine, u"Ship(%1).RemoveGoal(%2[,%3][,%4])"},
    {"player-use-ai", MK::kFormat, kLine, u"Player.UseAI()"},
    {"player-not-use-ai", MK::kFormat, kLine, u"Player.StopUsingAI()"},
    {"query-orders", MK::kFormat, kLine, u"Player.GaveOrder(%1,%2[,%4][,%5][,%6]).Since>=%3"},
    {"reset-orders", MK::kFormat, kLine, u"Player.ResetOrders()"},

    // Mission, campaign and training.
    {"end-mission", MK::kFormat, kLine, u"MissionStatus.EndMission(%*1)"},
    {"reset-time-compression", MK::kFormat, kLine, u"MissionStatus.ResetTimeCompression()"},
    {"grant-medal", MK::kFormat, kLine, u"Player.GrantMedal(%1)"},
    {"tech-add-intel", MK::kEach, kLine, u"Intel(@).AddToTechRoom()", 1},
    {"training-msg", MK::kFormat, kLine, u"TrainingMessage(%*1)"},
    {"send-message-chain", MK::kMessageChain, kLine},
    {"key-pressed", MK::kFormat, kLine, u"Key(%1).Pressed[Since>=%2]"},
    {"key-reset", MK::kEach, kLine, u"Key(@).Reset()", 1},
    {"key-reset-multiple", MK::kEach, kLine, u"Key(@).Reset()", 1},
    {"disable-builtin-messages", MK::kFormat, kLine, u"BuiltinMessages.Disable(%*1)"},
    {"enable-builtin-messages", MK::kFormat, kLine, u"BuiltinMessages.Enable(%*1)"},

    // Navigation and jump nodes.
    {"restrict-nav", MK::kFormat, kLine, u"Nav(%1).Restrict()"},
    {"unrestrict-nav", MK::kFormat, kLine, u"Nav(%1).Unrestrict()"},
    {"select-nav", MK::kFormat, kLine, u"Nav(%1).Select()"},
    {"unset-nav-visited", MK::kFormat, kLine, u"Nav(%1).MarkNotVisited()"},
    {"add-nav-waypoint", MK::kFormat, kLine, u"Nav(%1).Create(%2,%3[,%4])"},
    {"distance-to-nav", MK::kFormat, kNone, u"Distance(Player,Nav(%1))"},
    {"hide-jumpnode", MK::kEach, kLine, u"JumpNode(@).Hide()", 1},
    {"show-jumpnode", MK::kEach, kLine, u"JumpNode(@).Show()", 1},

    // HUD.
    {"hud-set-frame", MK::kFormat, kLine, u"HUD.Gauge(%1).Frame = %2"},
    {"hud-set-message", MK::kFormat, kLine, u"HUD.Gauge(%1).Message = %2"},
    {"hud-set-max-targeting-range", MK::kFormat, kLine, u"HUD.MaxTargetingRange = %1"},

    // Camera and cutscenes.
    {"set-camera-position", MK::kFormat, kLine, u"Camera.MoveTo(%1,%2,%3[,%4][,%5][,%6])"},
    {"set-camera-target", MK::kFormat, kLine, u"Camera.Target = Object(%1)[.Subsystem(%2)]"},
    {"set-camera-facing-object", MK::kFormat, kLine, u"Camera.FaceObject(%*1)"},
    {"reset-camera", MK::kFormat, kLine, u"Camera.Reset(%*1)"},
    {"set-cutscene-bars", MK::kFormat, kLine, u"Cutscene.ShowBars(%*1)"},
    {"unset-cutscene-bars", MK::kFormat, kLine, u"Cutscene.HideBars(%*1)"},
    {"fade-in", MK::kFormat, kLine, u"Screen.FadeIn(%*1)"},
    {"fade-out", MK::kFormat, kLine, u"Screen.FadeOut(%*1)"},
    {"show-subtitle", MK::kFormat, kLine, u"Subtitle.Show(%*1)"},

    // Sound and music.
    {"play-sound-from-table", MK::kFormat, kLine, u"Sound(%4).PlayAt(%1,%2,%3)"},
    {"play-sound-from-file", MK::kFormat, kLine, u"SoundFile(%1).Play(%*2)"},
    {"change-soundtrack", MK::kFormat, kLine, u"Music.Soundtrack = %1"},

    // Backgrounds and effects.
    {"add-background-bitmap", MK::kFormat, kLine, u"Background.AddBitmap(%*1)"},
    {"remove-background-bitmap", MK::kFormat, kLine, u"Background.RemoveBitmap(%1)"},
    {"add-sun-bitmap", MK::kFormat, kLine, u"Background.AddSun(%*1)"},
    {"remove-sun-bitmap", MK::kFormat, kLine, u"Background.RemoveSun(%1)"},
    {"set-skybox-model", MK::kFormat, kLine, u"Background.SetSkybox(%*1)"},
    {"set-ambient-light", MK::kFormat, kLine, u"Background.AmbientLight = (%1,%2,%3)"},
    {"explosion-effect", MK::kFormat, kLine, u"Effects.Explosion(%*1)"},
    {"warp-effect", MK::kFormat, kLine, u"Effects.Warp(%*1)"},
    {"weapon-create", MK::kFormat, kLine, u"CreateWeapon(%*1)"},
    {"set-post-effect", MK::kFormat, kLine, u"PostEffect(%1).Set(%*2)"},
};

// The head line of a when-argument loop for each argument list, after "For ".
struct LoopHead {
  std::string_view name;
  TextView text;
};
constexpr LoopHead kLoopHeads[] = {
    {"any-of", u"any Argument in (%*1)"},
    {"every-of", u"every Argument in (%*1)"},
    {"random-of", u"one random Argument in (%*1)"},
    {"random-multiple-of", u"a new random Argument in (%*1)"},
    {"number-of", u"at least %1 Arguments in (%*2)"},
    {"first-of", u"the first %1 Arguments in (%*2)"},
    {"in-sequence", u"the next Argument in (%*1)"},
    {"for-counter", u"Argument = %1 To %2[ Step %3]"},
};

// The word of an operator as a name in pseudo-code: "set-weapon-energy"
// gives "SetWeaponEnergy", "ai-keep-safe-distance" as an AI goal
// "AI_KEEP_SAFE_DISTANCE".
Text CamelName(std::string_view name) {
  Text result;
  bool upper = true;
  for (const char c : name) {
    if (c == '-' || c == '_' || c == '\'') {
      upper = c != '\'' || upper;
      continue;
    }
    result += static_cast<char16_t>(upper && c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    upper = false;
  }
  return result;
}

Text GoalName(std::string_view name) {
  Text result = u"AI_";
  if (name.starts_with("ai-")) name.remove_prefix(3);
  for (const char c : name) {
    result += static_cast<char16_t>(c == '-' ? '_' : (c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
  }
  return result;
}

// Takes a format text apart: "%k" an argument, "%*k" a list of them, "@"
// the argument of the line, "[...]" an optional piece.
Format Compile(TextView text) {
  Format format;
  std::vector<std::size_t> open;  // optional pieces not closed yet
  for (std::size_t j = 0; j < text.size(); ++j) {
    const char16_t c = text[j];
    if (c == u'%' && j + 1 < text.size()) {
      const bool list = text[j + 1] == u'*';
      if (list) ++j;
      const auto k = static_cast<std::uint8_t>(text[++j] - u'0');
      format.push_back(Piece{.kind = list ? Piece::kList : Piece::kArg, .arg = k});
      // An optional piece depends on its first argument.
      if (!open.empty() && format[open.back()].arg == 0) {
        format[open.back()].arg = k;
        format[open.back()].list = list;
      }
    } else if (c == u'@') {
      format.push_back(Piece{.kind = Piece::kItem});
    } else if (c == u'[') {
      open.push_back(format.size());
      format.push_back(Piece{.kind = Piece::kOptional});
    } else if (c == u']' && !open.empty()) {
      format[open.back()].skip = static_cast<std::uint16_t>(format.size() - open.back() - 1);
      open.pop_back();
    } else {
      const std::size_t end = std::min(text.find_first_of(u"%@[]", j + 1), text.size());
      format.push_back(Piece{.kind = Piece::kText, .text = text.substr(j, end - j)});
      j = end - 1;
    }
  }
  return format;
}

// Every operator word of the table, and every old name, with what it
// resolves to. Words are looked up as written first, in a flat table that
// stays in the cache; only a word in another spelling goes through the
// operator table's case-insensitive look-up.
class Resolutions {
 public:
  Resolutions() {
    const std::span<const Operator> all = AllOperators();
    rows_.resize(all.size());
    generic_.reserve(all.size());
    for (std::size_t k = 0; k < all.size(); ++k) {
      const Text name(all[k].name.begin(), all[k].name.end());
      rows_[k].op = &all[k];
      rows_[k].original = FindTemplate(name);
      generic_.push_back(all[k].return_kind == ReturnKind::kAiGoal ? GoalName(all[k].name) : CamelName(all[k].name));
      rows_[k].generic = generic_.back();
      Insert(name, static_cast<std::uint32_t>(k));
    }
    formats_.reserve(std::size(kTemplates) + std::size(kLoopHeads));
    for (const ModernTemplate& t : kTemplates) {
      const Operator* op = FindOperator(t.name);
      if (op == nullptr) continue;
      rows_[Row(op)].modern = &t;
      rows_[Row(op)].format = &formats_.emplace_back(Compile(t.text));
    }
    for (const LoopHead& head : kLoopHeads) {
      const Operator* op = FindOperator(head.name);
      if (op != nullptr) rows_[Row(op)].loop = &formats_.emplace_back(Compile(head.text));
    }
    for (const OperatorAlias& alias : OperatorAliases()) {
      Insert(Text(alias.old_name.begin(), alias.old_name.end()), Row(FindOperator(alias.name)));
    }
  }

  Resolved Find(TextView word) const {
    const std::uint64_t hash = WordHash()(word);
    for (std::size_t i = hash & (kSlots - 1);; i = (i + 1) & (kSlots - 1)) {
      const Slot& slot = slots_[i];
      if (slot.row == kEmpty) break;
      if (slot.hash == hash && TextView(chars_).substr(slot.name, slot.length) == word) return rows_[slot.row];
    }
    const Operator* op = FindOperator(word);
    return op == nullptr ? Resolved{} : rows_[Row(op)];
  }

 private:
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
  static constexpr std::size_t kSlots = 2048;  // a power of two, well above the number of words

  struct Slot {
    std::uint64_t hash = 0;
    std::uint32_t row = kEmpty;
    std::uint32_t name = 0;    // where the word starts in chars_
    std::uint32_t length = 0;
  };

  static std::uint32_t Row(const Operator* op) { return static_cast<std::uint32_t>(op - AllOperators().data()); }

  void Insert(TextView word, std::uint32_t row) {
    const std::uint64_t hash = WordHash()(word);
    std::size_t i = hash & (kSlots - 1);
    while (slots_[i].row != kEmpty) i = (i + 1) & (kSlots - 1);
    slots_[i] = Slot{hash, row, static_cast<std::uint32_t>(chars_.size()), static_cast<std::uint32_t>(word.size())};
    chars_ += word;
  }

  std::vector<Resolved> rows_;  // by operator table row
  std::vector<Text> generic_;   // reserved up front: the views into them stay valid
  std::vector<Format> formats_;  // the same
  std::vector<Slot> slots_ = std::vector<Slot>(kSlots);
  Text chars_;  // every word, one after the other
};

// "<none>": an optional argument left out in the middle of a list.
bool IsNone(TextView word) { return word == u"<none>" || word == u"\"<none>\""; }

// The words of a stretch as arguments, from word `from` on (1-based): split
// at single spaces outside double quotes, as the original templates read
// words.
std::size_t AddWords(Span stretch, std::size_t from, std::vector<Arg>& args) {
  const TextView whole = stretch.View();
  const TextView text = mission::TrimBlankView(whole);
  if (text.empty()) return 0;
  const auto base = static_cast<std::uint32_t>(stretch.begin + (text.data() - whole.data()));
  bool quoted = false;
  std::size_t start = 0;
  std::size_t n = 1;
  for (std::size_t p = 0; p <= text.size(); ++p) {
    if (p < text.size()) {
      if (text[p] == u'"') quoted = !quoted;
      if (text[p] != u' ' || quoted) continue;
    }
    if (n >= from) {
      args.push_back(Arg{Span{stretch.source, base + static_cast<std::uint32_t>(start),
                              base + static_cast<std::uint32_t>(p)}});
    }
    ++n;
    start = p + 1;
  }
  return text.size();
}

int Precedence(TextView symbol) { return symbol == u"+" || symbol == u"-" ? 1 : 2; }

}  // namespace

Resolved ResolveModern(TextView word) {
  static const Resolutions resolutions;
  return resolutions.Find(word);
}

namespace {

// Whether the operator of part 0 has an operator among its arguments: at the
// head of its level, a bracketed group after it; inside a group, a bracket.
bool HoldsOperator(std::span<const Span> parts, bool head) {
  if (head) return std::any_of(parts.begin() + 1, parts.end(), [](const Span& part) { return part.group; });
  const Span& part = parts[0];
  const Source& source = *part.source;
  const std::uint32_t first = part.bracket != Source::kNone ? part.bracket : source.FirstBracket(part.begin);
  return first < source.BracketCount() && source.BracketAt(first) < part.end;
}

}  // namespace

bool Translator::UsesModernForm(const Template& t, std::span<const Span> parts, bool head) const {
  switch (t.kind) {
    case Kind::kWhen:
      // Among actions, where the original takes the next action for its
      // condition and loses its own.
      return !head;
    case Kind::kNot:
    case Kind::kAndOr:
      return false;
    case Kind::kAddGoal:
      // At the head of its level the goal is a part of its own, which the
      // original translates apart from the call.
      return head && parts.size() > 1;
    case Kind::kCompare: {
      // The original reads a translated left operand and the first word of
      // a plain right one; anything else it mangles.
      if (!head || parts.size() != 3 || !parts[1].group || parts[2].group) return true;
      Words op(parts[0].View());
      Words right(parts[2].View());
      return !op.Get(2).empty() || !right.Get(2).empty();
    }
    default:
      // The templates that read words take an operator's pieces for words.
      return HoldsOperator(parts, head);
  }
}

void Translator::WriteModern(const Resolved& r, TextView word, std::span<const Span> parts, std::size_t i,
                             Indent indent, int level, bool head) {
  const auto call = [&](std::span<const Arg> args, int at, bool top) {
    if (r.original == nullptr && r.op == nullptr) {
      WriteUnknownCall(word, args, indent, at);
    } else {
      WriteCall(r, args, indent, at, top);
    }
  };
  if (head) {
    std::vector<Arg>& args = Args(level);
    CollectArgs(parts, args);
    call(args, level, level == 1);
    return;
  }
  // The arguments are inside the part: it is split like a level of its own.
  const int sub = level + 1;
  if (!Enter(sub)) return;
  std::vector<Span>& inner = Parts(sub);
  SplitParts(Prepare(parts[i], work_), work_, inner);
  std::vector<Arg>& args = Args(sub);
  CollectArgs(inner, args);
  call(args, sub, false);
}

void Translator::CollectArgs(std::span<const Span> parts, std::vector<Arg>& args) {
  args.clear();
  if (parts.empty()) return;
  std::size_t read = AddWords(parts[0], 2, args);  // the operator is word 1
  for (std::size_t k = 1; k < parts.size(); ++k) {
    if (parts[k].group) {
      args.push_back(Arg{parts[k], true});
    } else {
      read += AddWords(parts[k], 1, args);
    }
  }
  work_.Charge(read + args.size());
}

void Translator::WriteCall(const Resolved& r, std::span<const Arg> args, Indent indent, int level, bool top) {
  if (r.original != nullptr) {
    if (r.original->kind == Kind::kWhen) {
      WriteBlock(MK::kWhen, args, indent, level, false);
    } else if (r.original->kind == Kind::kCompare) {
      // "<" or ">": the operator's own word is its symbol.
      WriteComparison(r.op->name == "<" ? u"<" : u">", args, indent, level);
    } else {
      WriteOriginalCall(*r.original, args, indent, level);
    }
    return;
  }
  if (r.modern == nullptr) {
    WriteGeneric(r, args, indent, level);
    return;
  }
  const ModernTemplate& t = *r.modern;
  switch (t.kind) {
    case MK::kFormat:
    case MK::kArgumentList:
      WriteLead(t.lead, indent);
      WriteModernFormat(*r.format, args, nullptr, level);
      break;
    case MK::kEach:
    case MK::kEachAnd:
      WriteEach(r, args, indent, level);
      break;
    case MK::kArithmetic:
      WriteArithmetic(t.text, args, level);
      break;
    case MK::kCompare:
      WriteComparison(t.text, args, indent, level);
      break;
    case MK::kXor:
      WriteXor(args, indent, level);
      break;
    case MK::kGoals: {
      const std::size_t entry = out_.size();
      for (const Arg& goal : args) {
        WriteLead(Lead::kIndent, indent);
        out_ += u"Goal(";
        WriteValue(goal, level);
        out_ += u")\r\n";
      }
      EndList(entry);
      break;
    }
    case MK::kCond:
      WriteCondBlock(args, indent, level, top);
      break;
    case MK::kMessageChain:
      WriteMessageChain(args, indent, level);
      break;
    case MK::kPerformFirst:
    case MK::kPerformLast:
      WritePerform(t.kind, args, indent, level);
      break;
    default:
      WriteBlock(t.kind, args, indent, level, top);
      break;
  }
}

// The original template with its words taken from the arguments, so that an
// operator among them shows as its translation: «( sabotage-subsystem "A"
// "Hull" ( rand-multiple 0 1 ) )» gives « Ship("A").Subsystem("Hull")=
// -Random(0,1)».
void Translator::WriteOriginalCall(const Template& t, std::span<const Arg> args, Indent indent, int level) {
  Operands operands(args, level);
  if (t.kind != Kind::kAddGoal) {
    WriteWordTemplate(t, operands, indent);
    return;
  }
  WriteLead(Lead::kIndent, indent);
  out_ += u"Ship(";
  WriteOperand(operands, 2);
  out_ += u").AddGoal(";
  WriteOperand(operands, 3);
  out_ += u')';
}

// «#UnknownCommand lua-set-cloak-ability(True,"default","Gemini 1")»: the
// marker stays, and the arguments show what the call does with them.
void Translator::WriteUnknownCall(TextView word, std::span<const Arg> args, Indent indent, int level) {
  WriteBlockIndent(indent);
  out_ += u" #UnknownCommand ";
  out_ += word;
  out_ += u'(';
  WriteArgList(args, 1, level);
  out_ += u')';
}

// "send-message-chain": the event its first argument names, then its
// messages as in a send-message-list, one step in.
void Translator::WriteMessageChain(std::span<const Arg> args, Indent indent, int level) {
  Operands operands(args, level);
  WriteLead(Lead::kIndent, indent);
  out_ += u"SendMessageChain(";
  WriteOperand(operands, 2);
  out_ += u')';
  const std::size_t at = out_.size();
  out_ += kCrLf;
  WriteMessages(operands, 3, Indent{indent.base, indent.extra + 1, true}, true);
  if (out_.size() == at + kCrLf.size()) out_.resize(at);
}

// --- Values ---

void Translator::WriteValue(const Arg& arg, int level) {
  if (!arg.group) {
    WriteWord(arg.span.View());
    return;
  }
  const std::size_t at = out_.size();
  Translate(arg.span, Indent{}, level + 1);
  // An operand stands inside a line: the space that begins a condition's
  // own line goes.
  std::size_t blanks = 0;
  while (at + blanks < out_.size() && out_[at + blanks] == u' ') ++blanks;
  if (blanks > 0) {
    work_.Charge(out_.size() - at);
    out_.erase(at, blanks);
  }
}

// A word as a value: a variable «@Name[value]» by its name, the argument of
// a when-argument «<argument>» as the loop's name, anything else as written.
void Translator::WriteWord(TextView word) {
  if (word.empty() || (word[0] != u'"' && word[0] != u'<' && word[0] != u'@')) {
    out_ += word;
    return;
  }
  if (IsArgument(word)) {
    out_ += u"Argument";
    return;
  }
  if (!WriteVariable(word)) out_ += word;
}

bool Translator::WriteVariable(TextView word) {
  const TextView name = VariableName(word);
  if (name.empty()) return false;
  out_ += u"Variable(\"";
  out_ += name;
  out_ += u"\")";
  return true;
}

void Translator::WriteModernFormat(const Format& format, std::span<const Arg> args, const Arg* item, int level) {
  for (std::size_t p = 0; p < format.size(); ++p) {
    const Piece& piece = format[p];
    switch (piece.kind) {
      case Piece::kText:
        out_ += piece.text;
        break;
      case Piece::kArg:
        if (piece.arg >= 1 && piece.arg <= args.size()) WriteValue(args[piece.arg - 1], level);
        break;
      case Piece::kList:
        WriteArgList(args, piece.arg, level);
        break;
      case Piece::kItem:
        if (item != nullptr) WriteValue(*item, level);
        break;
      case Piece::kOptional: {
        // Written when its argument is given (and not "<none>").
        const bool given = piece.arg >= 1 && piece.arg <= args.size() &&
                           (piece.list || args[piece.arg - 1].group || !IsNone(args[piece.arg - 1].span.View()));
        if (!given) p += piece.skip;
        break;
      }
    }
  }
}

void Translator::WriteArgList(std::span<const Arg> args, std::size_t first, int level) {
  for (std::size_t k = first; k >= 1 && k <= args.size(); ++k) {
    if (k > first) out_ += u',';
    WriteValue(args[k - 1], level);
  }
}

// One line per argument from the template's first on.
void Translator::WriteEach(const Resolved& r, std::span<const Arg> args, Indent indent, int level) {
  const ModernTemplate& t = *r.modern;
  const std::size_t entry = out_.size();
  for (std::size_t k = static_cast<std::size_t>(t.first); k >= 1 && k <= args.size(); ++k) {
    WriteLead(t.lead, indent);
    if (t.kind == MK::kEachAnd && k > static_cast<std::size_t>(t.first)) out_ += u"And ";
    WriteModernFormat(*r.format, args, &args[k - 1], level);
    out_ += kCrLf;
    if (Stop()) return;
  }
  EndList(entry);
}

// Infix arithmetic with brackets only where the order of operations needs
// them: «( * ( + a b ) c )» gives «(a + b) * c», «( + a ( + b c ) )» gives
// «a + b + c», «( - a ( - b c ) )» gives «a - (b - c)».
void Translator::WriteArithmetic(TextView symbol, std::span<const Arg> args, int level) {
  for (std::size_t k = 0; k < args.size(); ++k) {
    if (k > 0) {
      out_ += u' ';
      out_ += symbol;
      out_ += u' ';
    }
    bool brackets = false;
    if (args[k].group) {
      const Resolved inner = ResolveModern(Words(args[k].span.View()).Get(1));
      if (inner.modern != nullptr && inner.modern->kind == MK::kArithmetic) {
        const TextView child = inner.modern->text;
        const int mine = Precedence(symbol);
        const int theirs = Precedence(child);
        const bool associative = child == symbol && (symbol == u"+" || symbol == u"*");
        brackets = theirs < mine || (theirs == mine && k > 0 && !associative);
      }
    }
    if (brackets) out_ += u'(';
    WriteValue(args[k], level);
    if (brackets) out_ += u')';
    if (Stop()) return;
  }
}

// The first operand against each of the others: «( = a b c )» gives
// «a = b And a = c». With fewer than two operands the missing ones stay
// empty, as in the original comparisons.
void Translator::WriteComparison(TextView symbol, std::span<const Arg> args, Indent indent, int level) {
  WriteLead(Lead::kIndent, indent);
  const std::size_t first_at = out_.size();
  if (!args.empty()) WriteValue(args[0], level);
  const Text first = args.size() > 2 ? out_.substr(first_at) : Text();
  out_ += u' ';
  out_ += symbol;
  out_ += u' ';
  if (args.size() > 1) WriteValue(args[1], level);
  for (std::size_t k = 2; k < args.size(); ++k) {
    out_ += u" And ";
    out_ += first;
    out_ += u' ';
    out_ += symbol;
    out_ += u' ';
    WriteValue(args[k], level);
    work_.Charge(first.size());
    if (Stop()) return;
  }
}

// "xor": a block like "and" and "or".
void Translator::WriteXor(std::span<const Arg> args, Indent indent, int level) {
  WriteIndent(indent);
  out_ += u"(\r\n";
  for (std::size_t k = 0; k < args.size(); ++k) {
    WriteIndent(indent);
    Translate(args[k].span, Indent{indent.base, indent.extra + 1, indent.block}, level + 1);
    out_ += kCrLf;
    if (k + 1 < args.size()) {
      WriteIndent(indent);
      out_ += u"Xor\r\n";
    }
    if (Stop()) return;
  }
  WriteIndent(indent);
  out_ += u")\r\n";
}

// Any other operator of the table: its name as a call with its arguments;
// arguments that are actions follow as a block of their own.
void Translator::WriteGeneric(const Resolved& r, std::span<const Arg> args, Indent indent, int level) {
  const Operator& op = *r.op;
  if (op.return_kind == ReturnKind::kAiGoal) {
    out_ += r.generic;
    for (const Arg& arg : args) {
      out_ += u',';
      WriteValue(arg, level);
    }
    return;
  }
  if (op.return_kind == ReturnKind::kNothing || op.return_kind == ReturnKind::kBoolean) {
    WriteLead(Lead::kIndent, indent);
  }
  out_ += r.generic;
  out_ += u'(';
  bool comma = false;
  bool actions = false;
  for (std::size_t k = 0; k < args.size(); ++k) {
    if (op.ArgKind(static_cast<int>(k + 1)) == "action") {
      actions = true;
      continue;
    }
    if (comma) out_ += u',';
    comma = true;
    WriteValue(args[k], level);
  }
  out_ += u')';
  if (!actions) return;
  const Indent inner{indent.base, indent.extra + 1, true};
  for (std::size_t k = 0; k < args.size(); ++k) {
    if (op.ArgKind(static_cast<int>(k + 1)) != "action") continue;
    const std::size_t at = out_.size();
    out_ += kCrLf;
    WriteActions(args.subspan(k, 1), inner, level);
    if (out_.size() == at + kCrLf.size()) out_.resize(at);
  }
}

// --- Blocks ---

// A keyword line of a block: at the start of the line in a whole formula,
// else at the indent of the block's own line.
void Translator::WriteKeyword(TextView word, Indent indent, bool top) {
  if (!top) WriteLead(Lead::kIndent, indent);
  out_ += word;
}

void Translator::WriteCondition(const Arg& arg, Indent indent, int level) { Translate(arg.span, indent, level + 1); }

// Actions one below the other, each an entry of its own as in a "when".
void Translator::WriteActions(std::span<const Arg> args, Indent indent, int level) {
  const std::size_t start = out_.size();
  for (const Arg& arg : args) {
    const std::size_t entry = out_.size();
    WriteEntry(std::span<const Span>(&arg.span, 1), 0, indent, level + 1, false);
    if (Stop()) return;
    EndEntry(entry);
  }
  if (out_.size() > start) out_.resize(out_.size() - kCrLf.size());
}

// "when" among actions, "every-time", "when-argument",
// "every-time-argument" and "if-then-else". A whole formula's block is laid
// out like the original "when": keywords at the start of the line, the
// condition and actions one space in. A block among actions stands at the
// indent of an action, its condition and actions one step deeper.
void Translator::WriteBlock(ModernKind kind, std::span<const Arg> args, Indent indent, int level, bool top) {
  std::size_t a = 0;
  const bool loop = kind == MK::kWhenArgument || kind == MK::kEveryTimeArgument;
  if (loop) {
    WriteKeyword(u"For ", indent, top);
    if (!args.empty()) WriteArgumentHeader(args[0], level);
    out_ += kCrLf;
    a = 1;
    ++argument_loop_;
  }
  WriteBlockBody(kind, args, a, indent, level, top);
  if (loop) --argument_loop_;
}

void Translator::WriteBlockBody(ModernKind kind, std::span<const Arg> args, std::size_t a, Indent indent, int level,
                                bool top) {
  const Indent inner = top ? Indent{} : Indent{indent.base, indent.extra + 1, true};
  const Indent actions = top ? Indent{indent.base, indent.extra, false} : inner;
  const bool every = kind == MK::kEveryTime || kind == MK::kEveryTimeArgument;
  WriteKeyword(every ? u"Every time" : u"If", indent, top);
  out_ += kCrLf;
  if (a < args.size()) WriteCondition(args[a], inner, level);
  out_ += kCrLf;
  WriteKeyword(u"Then", indent, top);
  // A whole formula's when-argument makes its event true, as "when" does;
  // the repeating ones never do.
  if (top && kind == MK::kWhenArgument) {
    out_ += u"\r\n MissionStatus.Event(\"";
    out_ += event_name_;
    out_ += u"\")=True";
  }
  const std::size_t first = std::min(a + 1, args.size());
  // "if-then-else" runs one action when its condition holds, the rest when not.
  const std::size_t rest = args.size() - first;
  const std::size_t count = kind == MK::kIfThenElse ? std::min<std::size_t>(1, rest) : rest;
  std::size_t at = out_.size();
  out_ += kCrLf;
  WriteActions(args.subspan(first, count), actions, level);
  if (out_.size() == at + kCrLf.size()) out_.resize(at);
  if (kind != MK::kIfThenElse || first + count >= args.size()) return;
  // The "Else" line only when something follows it.
  at = out_.size();
  out_ += kCrLf;
  WriteKeyword(u"Else", indent, top);
  const std::size_t body = out_.size();
  out_ += kCrLf;
  WriteActions(args.subspan(first + count), actions, level);
  if (out_.size() == body + kCrLf.size()) out_.resize(at);
}

// "cond": each argument is a clause, a condition followed by its actions;
// the first clause whose condition holds runs.
void Translator::WriteCondBlock(std::span<const Arg> args, Indent indent, int level, bool top) {
  const Indent inner = top ? Indent{} : Indent{indent.base, indent.extra + 1, true};
  const Indent actions = top ? Indent{indent.base, indent.extra, false} : inner;
  const int sub = level + 1;
  if (!Enter(sub)) return;
  std::vector<Span>& parts = Parts(sub);
  std::vector<Arg>& clause = Args(sub);
  for (std::size_t k = 0; k < args.size(); ++k) {
    if (k > 0) out_ += kCrLf;
    WriteKeyword(k == 0 ? u"If" : u"Else If", indent, top);
    out_ += kCrLf;
    // A clause is a list of groups without an operator of its own.
    clause.clear();
    if (args[k].group) {
      SplitParts(args[k].span, work_, parts);
      for (const Span& part : parts) {
        if (part.group) {
          clause.push_back(Arg{part, true});
        } else {
          AddWords(part, 1, clause);
        }
      }
    } else {
      clause.push_back(args[k]);
    }
    if (!clause.empty()) WriteCondition(clause[0], inner, sub);
    out_ += kCrLf;
    WriteKeyword(u"Then", indent, top);
    const std::size_t at = out_.size();
    out_ += kCrLf;
    if (clause.size() > 1) WriteActions(std::span<const Arg>(clause).subspan(1), actions, sub);
    if (out_.size() == at + kCrLf.size()) out_.resize(at);
    if (Stop()) return;
  }
}

// "perform-actions-bool-first" / "-last": actions, and the truth value the
// operator gives (its first argument), shown before or after them.
void Translator::WritePerform(ModernKind kind, std::span<const Arg> args, Indent indent, int level) {
  const Indent inner{indent.base, indent.extra + 1, true};
  const auto result = [&] {
    WriteLead(Lead::kIndent, indent);
    out_ += u"Result";
    if (!args.empty()) Translate(args[0].span, Indent{}, level + 1);
  };
  if (kind == MK::kPerformFirst) {
    result();
    out_ += kCrLf;
  }
  WriteLead(Lead::kIndent, indent);
  out_ += u"Do";
  const std::size_t at = out_.size();
  out_ += kCrLf;
  if (args.size() > 1) WriteActions(args.subspan(1), inner, level);
  if (out_.size() == at + kCrLf.size()) out_.resize(at);
  if (kind == MK::kPerformLast) {
    out_ += kCrLf;
    result();
  }
}

// The loop of a when-argument over its argument list, after "For ".
void Translator::WriteArgumentHeader(const Arg& list, int level) {
  if (list.group) {
    const Resolved r = ResolveModern(Words(list.span.View()).Get(1));
    if (r.loop != nullptr) {
      const int sub = level + 1;
      if (!Enter(sub)) return;
      std::vector<Span>& parts = Parts(sub);
      SplitParts(Prepare(list.span, work_), work_, parts);
      std::vector<Arg>& args = Args(sub);
      CollectArgs(parts, args);
      WriteModernFormat(*r.loop, args, nullptr, sub);
      return;
    }
  }
  out_ += u"each Argument in ";
  WriteValue(list, level);
}

}  // namespace sexp::detail
