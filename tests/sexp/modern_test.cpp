// The FreeSpace Open translation: the hand-written operators family by
// family, the generic form of every other operator of the table, what stays
// unknown, and the original translation kept where it reads its formula
// right.
#include <gtest/gtest.h>

#include "sexp/formula.h"
#include "sexp/operators.h"
#include "tests/sexp/helpers.h"

namespace sexp {
namespace {

using testing::EventsSection;
using testing::Lines;
using testing::U16;
using testing::U8;

struct ModernCase {
  std::string formula;  // one "$Formula:" line of the event "Ev", without the key
  std::string result;
};

std::string TranslateModern(const std::string& formula, OperatorSet operators = OperatorSet::kFreeSpaceOpen) {
  const mission::Mission m = EventsSection({"$Formula: " + formula});
  std::int32_t next = 0;
  return U8(ReadFormula(u"Ev", testing::Events(m), 1, next, operators));
}

void ExpectModernTranslations(const std::vector<ModernCase>& cases) {
  for (const ModernCase& c : cases) EXPECT_EQ(TranslateModern(c.formula), c.result) << c.formula;
}

// The lines of a "when" whose condition is ( true ), for actions.
std::string WhenTrue(const std::vector<std::string>& actions) {
  std::vector<std::string> lines = {"If", " True", "Then", " MissionStatus.Event(\"Ev\")=True"};
  lines.insert(lines.end(), actions.begin(), actions.end());
  return Lines(lines);
}

TEST(ModernOperatorsTest, ArithmeticIsInfixWithBracketsOnlyWhereNeeded) {
  ExpectModernTranslations({
      {"( + 1 2 3 )", "1 + 2 + 3"},
      {"( - @Count[5] 1 )", "Variable(\"Count\") - 1"},
      {"( * ( + 1 2 ) 3 )", "(1 + 2) * 3"},
      {"( + ( * 2 3 ) 4 )", "2 * 3 + 4"},
      {"( + 1 ( + 2 3 ) )", "1 + 2 + 3"},
      {"( - 1 ( - 2 3 ) )", "1 - (2 - 3)"},
      {"( - ( - 1 2 ) 3 )", "1 - 2 - 3"},
      {"( / 10 ( / 4 2 ) )", "10 / (4 / 2)"},
      {"( * 2 ( * 3 4 ) )", "2 * 3 * 4"},
      {"( mod 7 ( + 1 2 ) )", "7 Mod (1 + 2)"},
      {"( * 2 ( mod 7 3 ) )", "2 * (7 Mod 3)"},
      {"( + ( hits-left \"A\" ) 10 )", "Ship(\"A\").Hull + 10"},
      {"( rand 1 10 )", "RandomOnce(1,10)"},
      {"( rand 1 10 5 )", "RandomOnce(1,10,5)"},
      {"( rand-multiple 1 10 )", "Random(1,10)"},
      {"( min 1 ( hits-left \"A\" ) )", "Min(1,Ship(\"A\").Hull)"},
      {"( max 1 2 3 )", "Max(1,2,3)"},
      {"( abs -5 )", "Abs(-5)"},
  });
}

TEST(ModernOperatorsTest, ComparisonsTakeAnyNumberOfOperands) {
  ExpectModernTranslations({
      {"( = @Count[0] 3 )", " Variable(\"Count\") = 3"},
      {"( = 1 2 3 )", " 1 = 2 And 1 = 3"},
      {"( != ( hits-left \"A\" ) 0 )", " Ship(\"A\").Hull != 0"},
      {"( >= ( mission-time ) 30 )", " MissionStatus.MissionTime >= 30"},
      {"( <= ( distance \"A\" \"B\" ) 1000 )", " Distance(\"A\",\"B\") <= 1000"},
      {"( string-equals \"@Name[Bob]\" \"Bob\" )", " Variable(\"Name\") = \"Bob\""},
      {"( >= ( + @a[1] @b[2] ) ( * 2 @c[3] ) )", " Variable(\"a\") + Variable(\"b\") >= 2 * Variable(\"c\")"},
      // The two forms of "<" and ">" that the original cannot read.
      {"( < ( hits-left \"A\" ) ( hits-left \"B\" ) )", " Ship(\"A\").Hull < Ship(\"B\").Hull"},
      {"( > @shots[0] 5 )", " Variable(\"shots\") > 5"},
      {"( > ( mission-time ) 10 20 )", " MissionStatus.MissionTime > 10 And MissionStatus.MissionTime > 20"},
      // A form it reads right keeps its form, a variable read as one.
      {"( < ( hits-left \"A\" ) @limit[50] )", " Ship(\"A\").Hull < Variable(\"limit\")"},
      {"( < ( hits-left \"A\" ) 50 )", " Ship(\"A\").Hull < 50"},
      {"( xor ( true ) ( is-destroyed-delay 0 \"A\" ) )",
       Lines({"(", "  True", "Xor", "  Ship(\"A\").DestroyedSince>=0", ")", ""})},
  });
}

TEST(ModernOperatorsTest, Variables) {
  ExpectModernTranslations({
      {"( modify-variable @Count[0] ( + @Count[0] 1 ) )", " Variable(\"Count\") = Variable(\"Count\") + 1"},
      {"( modify-variable \"@Fastest-Name[None]\" \"Alpha 1\" )", " Variable(\"Fastest-Name\") = \"Alpha 1\""},
      {"( modify-variable @Speed[0] ( get-object-x \"A\" ) )", " Variable(\"Speed\") = Object(\"A\").X"},
  });
}

TEST(ModernOperatorsTest, ConditionalsAndArgumentLoops) {
  ExpectModernTranslations({
      {"( every-time ( has-arrived-delay 0 \"A\" ) ( ship-invulnerable \"A\" ) ( modify-variable @n[0] 1 ) )",
       Lines({"Every time", " Ship(\"A\").ArrivedSince>=0", "Then", " Ship(\"A\").MakeInvulnerable()",
              " Variable(\"n\") = 1"})},
      {"( when-argument ( any-of \"A\" \"B\" ) ( is-destroyed-delay 0 \"<argument>\" ) "
       "( send-message \"#Cmd\" \"High\" \"M\" ) ( modify-variable \"@Last[None]\" \"<argument>\" ) )",
       Lines({"For any Argument in (\"A\",\"B\")", "If", " Ship(Argument).DestroyedSince>=0", "Then",
              " MissionStatus.Event(\"Ev\")=True", " SendMessage(\"#Cmd\",\"M\",\"High\")",
              " Variable(\"Last\") = Argument"})},
      {"( every-time-argument ( every-of \"A\" \"B\" ) ( is-destroyed-delay 0 \"<argument>\" ) "
       "( invalidate-argument \"<argument>\" ) )",
       Lines({"For every Argument in (\"A\",\"B\")", "Every time", " Ship(Argument).DestroyedSince>=0", "Then",
              " Arguments.Invalidate(Argument)"})},
      {"( when-argument ( random-of \"A\" \"B\" ) ( true ) ( ship-vanish \"<argument>\" ) )",
       Lines({"For one random Argument in (\"A\",\"B\")", "If", " True", "Then", " MissionStatus.Event(\"Ev\")=True",
              " Ship(Argument).VanishWithoutTrace()"})},
      {"( every-time-argument ( random-multiple-of \"A\" \"B\" ) ( true ) ( validate-argument \"A\" \"B\" ) )",
       Lines({"For a new random Argument in (\"A\",\"B\")", "Every time", " True", "Then",
              " Arguments.Validate(\"A\",\"B\")"})},
      {"( when-argument ( number-of 2 \"A\" \"B\" \"C\" ) ( is-destroyed-delay 0 \"<argument>\" ) ( do-nothing ) )",
       Lines({"For at least 2 Arguments in (\"A\",\"B\",\"C\")", "If", " Ship(Argument).DestroyedSince>=0",
              "Then", " MissionStatus.Event(\"Ev\")=True"})},
      {"( when-argument ( first-of 1 \"A\" \"B\" ) ( true ) ( do-nothing ) )",
       Lines({"For the first 1 Arguments in (\"A\",\"B\")", "If", " True", "Then", " MissionStatus.Event(\"Ev\")=True"})},
      {"( when-argument ( in-sequence \"A\" \"B\" ) ( true ) ( do-nothing ) )",
       Lines({"For the next Argument in (\"A\",\"B\")", "If", " True", "Then", " MissionStatus.Event(\"Ev\")=True"})},
      {"( every-time-argument ( for-counter 1 10 2 ) ( true ) ( modify-variable @sum[0] ( + @sum[0] \"<argument>\" ) ) )",
       Lines({"For Argument = 1 To 10 Step 2", "Every time", " True", "Then",
              " Variable(\"sum\") = Variable(\"sum\") + Argument"})},
      {"( when-argument ( for-counter 1 3 ) ( true ) ( do-nothing ) )",
       Lines({"For Argument = 1 To 3", "If", " True", "Then", " MissionStatus.Event(\"Ev\")=True"})},
      // Blocks among actions stand at an action's indent, their content one deeper.
      {"( when ( true ) ( if-then-else ( is-destroyed-delay 0 \"A\" ) ( send-message \"#Cmd\" \"High\" \"Yes\" ) "
       "( send-message \"#Cmd\" \"High\" \"No\" ) ( ship-vanish \"B\" ) ) )",
       WhenTrue({" If", "  Ship(\"A\").DestroyedSince>=0", " Then", "  SendMessage(\"#Cmd\",\"Yes\",\"High\")",
                 " Else", "  SendMessage(\"#Cmd\",\"No\",\"High\")", "  Ship(\"B\").VanishWithoutTrace()"})},
      {"( when ( true ) ( if-then-else ( true ) ( ship-vanish \"A\" ) ( do-nothing ) ) )",
       WhenTrue({" If", "  True", " Then", "  Ship(\"A\").VanishWithoutTrace()"})},
      {"( when ( true ) ( when ( is-destroyed-delay 0 \"A\" ) ( send-message \"#Cmd\" \"High\" \"M\" ) ) "
       "( ship-vanish \"B\" ) )",
       WhenTrue({" If", "  Ship(\"A\").DestroyedSince>=0", " Then", "  SendMessage(\"#Cmd\",\"M\",\"High\")",
                 " Ship(\"B\").VanishWithoutTrace()"})},
      {"( when ( true ) ( every-time ( true ) ( when ( false ) ( red-alert ) ) ) )",
       WhenTrue({" Every time", "  True", " Then", "  If", "   False", "  Then", "   MissionStatus.DoRedAlert()"})},
      {"( when ( true ) ( cond ( ( is-destroyed-delay 0 \"A\" ) ( send-message \"#Cmd\" \"High\" \"A\" ) "
       "( ship-vanish \"C\" ) ) ( ( true ) ( send-message \"#Cmd\" \"High\" \"B\" ) ) ) )",
       WhenTrue({" If", "  Ship(\"A\").DestroyedSince>=0", " Then", "  SendMessage(\"#Cmd\",\"A\",\"High\")",
                 "  Ship(\"C\").VanishWithoutTrace()", " Else If", "  True", " Then",
                 "  SendMessage(\"#Cmd\",\"B\",\"High\")"})},
      {"( if-then-else ( true ) ( red-alert ) ( end-campaign ) )",
       Lines({"If", " True", "Then", " MissionStatus.DoRedAlert()", "Else", " MissionStatus.EndCampaign()"})},
      {"( when ( perform-actions ( true ) ( ship-vanish \"A\" ) ) ( do-nothing ) )",
       Lines({"If", " Result True", " Do", "  Ship(\"A\").VanishWithoutTrace()", "Then",
              " MissionStatus.Event(\"Ev\")=True"})},
      {"( when ( perform-actions-bool-last ( false ) ( red-alert ) ) ( do-nothing ) )",
       Lines({"If", " Do", "  MissionStatus.DoRedAlert()", " Result False", "Then",
              " MissionStatus.Event(\"Ev\")=True"})},
      {"( any-of \"A\" ( hits-left \"B\" ) )", "AnyOf(\"A\",Ship(\"B\").Hull)"},
  });
}

TEST(ModernOperatorsTest, ObjectsAndCoordinates) {
  ExpectModernTranslations({
      {"( get-object-x \"A\" )", "Object(\"A\").X"},
      {"( get-object-y \"A\" \"engine\" )", "Object(\"A\").Subsystem(\"engine\").Y"},
      {"( get-object-z \"A\" \"<none>\" 0 0 100 )", "Object(\"A\").Offset(0,0,100).Z"},
      {"( get-object-pitch \"A\" )", "Object(\"A\").Pitch"},
      {"( get-object-bank \"A\" )", "Object(\"A\").Bank"},
      {"( get-object-heading \"A\" )", "Object(\"A\").Heading"},
      {"( distance-ship-subsystem \"A\" \"B\" \"engine\" )", "Distance(\"A\",Ship(\"B\").Subsystem(\"engine\"))"},
      {"( is-in-box \"A\" -10 10 -20 20 -30 30 )", " Object(\"A\").IsInBox(-10,10,-20,20,-30,30)"},
      {"( is-in-box \"A\" -10 10 -20 20 -30 30 \"B\" )", " Object(\"A\").IsInBox(-10,10,-20,20,-30,30,Ship(\"B\"))"},
      {"( set-object-position \"A\" 1 ( get-object-y \"B\" ) -3 )", " Object(\"A\").Position = (1,Object(\"B\").Y,-3)"},
      {"( set-ship-position \"A\" 1 2 3 )", " Object(\"A\").Position = (1,2,3)"},
      {"( set-object-facing \"A\" 1 2 3 )", " Ship(\"A\").FacePoint(1,2,3)"},
      {"( set-object-facing \"A\" 1 2 3 4 5 )", " Ship(\"A\").FacePoint(1,2,3,4,5)"},
      {"( set-object-facing-object \"A\" \"B\" )", " Ship(\"A\").FaceObject(\"B\")"},
      {"( set-object-speed-x \"A\" 50 )", " Ship(\"A\").SetSpeedX(50)"},
      {"( set-object-speed-y \"A\" 50 ( true ) )", " Ship(\"A\").SetSpeedY(50,True)"},
      {"( set-object-speed-z \"A\" -5 )", " Ship(\"A\").SetSpeedZ(-5)"},
  });
}

TEST(ModernOperatorsTest, Ships) {
  ExpectModernTranslations({
      {"( ship-guardian-threshold 50 \"A\" \"B\" )",
       Lines({" Ship(\"A\").GuardianThreshold = 50", " Ship(\"B\").GuardianThreshold = 50"})},
      {"( ship-subsys-guardian-threshold 30 \"A\" \"engine\" \"weapons\" )",
       Lines({" Ship(\"A\").Subsystem(\"engine\").GuardianThreshold = 30",
              " Ship(\"A\").Subsystem(\"weapons\").GuardianThreshold = 30"})},
      {"( ship-copy-damage \"A\" \"B\" \"C\" )",
       Lines({" Ship(\"B\").CopyDamageFrom(\"A\")", " Ship(\"C\").CopyDamageFrom(\"A\")"})},
      {"( set-shield-energy 50 \"A\" )", " Ship(\"A\").ShieldEnergy = 50"},
      {"( set-afterburner-energy 20 \"A\" )", " Ship(\"A\").AfterburnerEnergy = 20"},
      {"( change-ship-class \"GTF Ulysses\" \"A\" \"B\" )",
       Lines({" Ship(\"A\").ChangeClass(\"GTF Ulysses\")", " Ship(\"B\").ChangeClass(\"GTF Ulysses\")"})},
      {"( change-iff-color \"Friendly\" \"Hostile\" 255 0 0 \"A\" )",
       " Ship(\"A\").IffColor(\"Friendly\",\"Hostile\") = (255,0,0)"},
      {"( set-armor-type \"A\" ( true ) \"Heavy\" \"Hull\" \"engine\" )",
       Lines({" Ship(\"A\").Subsystem(\"Hull\").SetArmorType(True,\"Heavy\")",
              " Ship(\"A\").Subsystem(\"engine\").SetArmorType(True,\"Heavy\")"})},
      {"( subsys-set-random \"A\" 10 50 )", " Ship(\"A\").SetSubsystemsRandom(10,50)"},
      {"( subsys-set-random \"A\" 10 50 \"engine\" \"radar\" )",
       " Ship(\"A\").SetSubsystemsRandom(10,50,Except(\"engine\",\"radar\"))"},
      {"( ship-stealthy \"A\" \"B\" )", Lines({" Ship(\"A\").MakeStealthy()", " Ship(\"B\").MakeStealthy()"})},
      {"( ship-unstealthy \"A\" )", " Ship(\"A\").MakeUnstealthy()"},
      {"( shields-off \"A\" )", " Ship(\"A\").ShieldsOff()"},
      {"( shields-on \"A\" )", " Ship(\"A\").ShieldsOn()"},
      {"( lock-primary-weapon \"A\" \"B\" )",
       Lines({" Ship(\"A\").LockPrimaryWeapons()", " Ship(\"B\").LockPrimaryWeapons()"})},
      {"( unlock-primary-weapon \"A\" )", " Ship(\"A\").UnlockPrimaryWeapons()"},
      {"( lock-secondary-weapon \"A\" )", " Ship(\"A\").LockSecondaryWeapons()"},
      {"( unlock-secondary-weapon \"A\" )", " Ship(\"A\").UnlockSecondaryWeapons()"},
      {"( lock-afterburner \"A\" )", " Ship(\"A\").LockAfterburner()"},
      {"( unlock-afterburner \"A\" )", " Ship(\"A\").UnlockAfterburner()"},
      {"( get-secondary-ammo \"A\" 0 )", "Ship(\"A\").SecondaryBank(0).Ammo"},
      {"( set-secondary-ammo \"A\" 0 10 )", " Ship(\"A\").SecondaryBank(0).SetAmmo(10)"},
      {"( set-secondary-ammo \"A\" 0 10 20 )", " Ship(\"A\").SecondaryBank(0).SetAmmo(10,20)"},
      {"( get-ets-value \"Shields\" \"A\" )", "Ship(\"A\").ETS(\"Shields\")"},
      {"( num_class_kills \"Alpha 1\" \"GTF Ulysses\" )", "Ship(\"Alpha 1\").KillsOfClass(\"GTF Ulysses\")"},
      {"( is-iff \"Hostile\" \"A\" \"B\" )", Lines({" Ship(\"A\").Iff=\"Hostile\"", " And Ship(\"B\").Iff=\"Hostile\""})},
      {"( is-ship-class \"GTF Ulysses\" \"A\" )", " Ship(\"A\").Class=\"GTF Ulysses\""},
      {"( is-cargo-known-delay 5 \"A\" \"B\" )",
       Lines({" Ship(\"A\").CargoKnownSince>=5", " And Ship(\"B\").CargoKnownSince>=5"})},
      {"( cap-subsys-cargo-known-delay 0 \"A\" \"engine\" )", " Ship(\"A\").Subsystem(\"engine\").CargoKnownSince>=0"},
      {"( was-destroyed-by-delay 0 \"Alpha 1\" \"B\" )", " Ship(\"B\").DestroyedBy(\"Alpha 1\").Since>=0"},
      {"( percent-ships-destroyed 50 \"A\" \"B\" )", " Ships(\"A\",\"B\").DestroyedPercentage>=50"},
      {"( shield-quad-low \"A\" 25 )", " Ship(\"A\").AnyShieldQuadrantBelow(25)"},
      {"( primary-fired-since \"A\" 0 1000 )", " Ship(\"A\").PrimaryBank(0).FiredWithin(1000)"},
      {"( secondary-fired-since \"A\" 1 500 )", " Ship(\"A\").SecondaryBank(1).FiredWithin(500)"},
  });
}

TEST(ModernOperatorsTest, TurretsAndBeams) {
  ExpectModernTranslations({
      {"( turret-lock \"A\" \"turret01\" \"turret02\" )",
       Lines({" Ship(\"A\").Turret(\"turret01\").Lock()", " Ship(\"A\").Turret(\"turret02\").Lock()"})},
      {"( turret-free \"A\" \"turret01\" )", " Ship(\"A\").Turret(\"turret01\").Free()"},
      {"( beam-lock \"A\" \"turret01\" )", " Ship(\"A\").BeamTurret(\"turret01\").Lock()"},
      {"( beam-free \"A\" \"turret01\" )", " Ship(\"A\").BeamTurret(\"turret01\").Free()"},
      {"( fire-beam \"A\" \"turret01\" \"B\" )", " Ship(\"A\").Turret(\"turret01\").FireBeamAt(\"B\")"},
      {"( fire-beam \"A\" \"turret01\" \"B\" \"engine\" )",
       " Ship(\"A\").Turret(\"turret01\").FireBeamAt(\"B\",\"engine\")"},
      {"( turret-change-weapon \"A\" \"turret01\" \"Subach HL-7\" 1 0 )",
       " Ship(\"A\").Turret(\"turret01\").ChangeWeapon(\"Subach HL-7\",1,0)"},
      {"( ship-turret-target-order \"A\" \"Bombers\" \"Fighters\" )",
       " Ship(\"A\").TurretTargetOrder(\"Bombers\",\"Fighters\")"},
  });
}

TEST(ModernOperatorsTest, AiGoalsAndOrders) {
  ExpectModernTranslations({
      {"( goals ( ai-chase \"B\" 89 ) ( ai-guard \"C\" 50 ) )",
       Lines({" Goal(AI_CHASE,\"B\",89)", " Goal(AI_GUARD,\"C\",50)"})},
      {"( when ( true ) ( add-goal \"A\" ( ai-chase-wing \"Beta\" 50 ) ) )",
       WhenTrue({" Ship(\"A\").AddGoal(AI_CHASE_WING,\"Beta\",50)"})},
      {"( when ( true ) ( add-goal \"A\" ( ai-guard-wing \"Beta\" 40 ) ) )",
       WhenTrue({" Ship(\"A\").AddGoal(AI_GUARD_WING,\"Beta\",40)"})},
      {"( when ( true ) ( add-goal \"A\" ( ai-stay-near-ship \"B\" 30 ) ) )",
       WhenTrue({" Ship(\"A\").AddGoal(AI_STAY_NEAR_SHIP,\"B\",30)"})},
      {"( remove-goal \"A\" ( ai-chase \"B\" 89 ) )", " Ship(\"A\").RemoveGoal(AI_CHASE,\"B\",89)"},
      {"( player-use-ai )", " Player.UseAI()"},
      {"( player-not-use-ai )", " Player.StopUsingAI()"},
      {"( query-orders \"Alpha 1\" \"Attack my target\" 10 )",
       " Player.GaveOrder(\"Alpha 1\",\"Attack my target\").Since>=10"},
      {"( query-orders \"Alpha 1\" \"Attack my target\" 10 \"B\" )",
       " Player.GaveOrder(\"Alpha 1\",\"Attack my target\",\"B\").Since>=10"},
      {"( reset-orders )", " Player.ResetOrders()"},
  });
}

TEST(ModernOperatorsTest, MissionTrainingAndMessages) {
  ExpectModernTranslations({
      {"( end-mission )", " MissionStatus.EndMission()"},
      {"( end-mission ( true ) )", " MissionStatus.EndMission(True)"},
      {"( reset-time-compression )", " MissionStatus.ResetTimeCompression()"},
      {"( grant-medal \"Distinguished Flying Cross\" )", " Player.GrantMedal(\"Distinguished Flying Cross\")"},
      {"( tech-add-intel \"Shivans\" \"Vasudans\" )",
       Lines({" Intel(\"Shivans\").AddToTechRoom()", " Intel(\"Vasudans\").AddToTechRoom()"})},
      {"( training-msg \"Msg\" \"Voice\" 5 )", " TrainingMessage(\"Msg\",\"Voice\",5)"},
      {"( key-pressed \"Alt-J\" )", " Key(\"Alt-J\").Pressed"},
      {"( key-pressed \"Alt-J\" 5 )", " Key(\"Alt-J\").PressedSince>=5"},
      {"( key-reset \"A\" \"B\" )", Lines({" Key(\"A\").Reset()", " Key(\"B\").Reset()"})},
      {"( key-reset-multiple \"Q\" )", " Key(\"Q\").Reset()"},
      {"( disable-builtin-messages \"Alpha 1\" )", " BuiltinMessages.Disable(\"Alpha 1\")"},
      {"( disable-builtin-messages )", " BuiltinMessages.Disable()"},
      {"( enable-builtin-messages )", " BuiltinMessages.Enable()"},
  });
}

TEST(ModernOperatorsTest, NavigationAndJumpNodes) {
  ExpectModernTranslations({
      {"( restrict-nav \"Nav 1\" )", " Nav(\"Nav 1\").Restrict()"},
      {"( unrestrict-nav \"Nav 1\" )", " Nav(\"Nav 1\").Unrestrict()"},
      {"( select-nav \"Nav 1\" )", " Nav(\"Nav 1\").Select()"},
      {"( unset-nav-visited \"Nav 1\" )", " Nav(\"Nav 1\").MarkNotVisited()"},
      {"( add-nav-waypoint \"Nav 1\" \"Path\" 1 )", " Nav(\"Nav 1\").Create(\"Path\",1)"},
      {"( add-nav-waypoint \"Nav 1\" \"Path\" 1 \"Alpha 1\" )", " Nav(\"Nav 1\").Create(\"Path\",1,\"Alpha 1\")"},
      {"( distance-to-nav \"Nav 1\" )", "Distance(Player,Nav(\"Nav 1\"))"},
      {"( hide-jumpnode \"Node 1\" \"Node 2\" )", Lines({" JumpNode(\"Node 1\").Hide()", " JumpNode(\"Node 2\").Hide()"})},
      {"( show-jumpnode \"Node 1\" )", " JumpNode(\"Node 1\").Show()"},
  });
}

TEST(ModernOperatorsTest, HudCameraSoundAndBackground) {
  ExpectModernTranslations({
      {"( hud-set-frame \"Radar\" 2 )", " HUD.Gauge(\"Radar\").Frame = 2"},
      {"( hud-set-message \"Gauge\" \"Msg\" )", " HUD.Gauge(\"Gauge\").Message = \"Msg\""},
      {"( hud-set-max-targeting-range 5000 )", " HUD.MaxTargetingRange = 5000"},
      {"( radar-set-max-range 5000 )", " HUD.MaxTargetingRange = 5000"},
      {"( set-camera-position 1 2 3 )", " Camera.MoveTo(1,2,3)"},
      {"( set-camera-position 1 2 3 4 5 6 )", " Camera.MoveTo(1,2,3,4,5,6)"},
      {"( set-camera-target \"A\" )", " Camera.Target = Object(\"A\")"},
      {"( set-camera-target \"A\" \"engine\" )", " Camera.Target = Object(\"A\").Subsystem(\"engine\")"},
      {"( set-camera-facing-object \"A\" 2000 )", " Camera.FaceObject(\"A\",2000)"},
      {"( reset-camera )", " Camera.Reset()"},
      {"( set-cutscene-bars 1000 )", " Cutscene.ShowBars(1000)"},
      {"( unset-cutscene-bars )", " Cutscene.HideBars()"},
      {"( fade-out 500 )", " Screen.FadeOut(500)"},
      {"( fade-in )", " Screen.FadeIn()"},
      {"( show-subtitle 10 20 \"Hello\" 3000 )", " Subtitle.Show(10,20,\"Hello\",3000)"},
      {"( play-sound-from-table 0 10 0 50 )", " Sound(50).PlayAt(0,10,0)"},
      {"( play-sound-from-file \"music.ogg\" 1 )", " SoundFile(\"music.ogg\").Play(1)"},
      {"( change-soundtrack \"Track 1\" )", " Music.Soundtrack = \"Track 1\""},
      {"( add-background-bitmap \"nebula01\" 0 0 0 100 100 1 1 )",
       " Background.AddBitmap(\"nebula01\",0,0,0,100,100,1,1)"},
      {"( remove-background-bitmap 0 )", " Background.RemoveBitmap(0)"},
      {"( add-sun-bitmap \"SunWhite\" 0 0 0 100 )", " Background.AddSun(\"SunWhite\",0,0,0,100)"},
      {"( remove-sun-bitmap 1 )", " Background.RemoveSun(1)"},
      {"( set-skybox-model \"sky.pof\" )", " Background.SetSkybox(\"sky.pof\")"},
      {"( set-ambient-light 10 20 30 )", " Background.AmbientLight = (10,20,30)"},
      {"( explosion-effect 1 2 3 10 50 100 5 5 5 1 20 )", " Effects.Explosion(1,2,3,10,50,100,5,5,5,1,20)"},
      {"( warp-effect 1 2 3 4 5 6 100 1 20 21 3 )", " Effects.Warp(1,2,3,4,5,6,100,1,20,21,3)"},
      {"( weapon-create \"A\" \"Subach HL-7\" 0 0 0 0 0 0 )",
       " CreateWeapon(\"A\",\"Subach HL-7\",0,0,0,0,0,0)"},
      {"( set-post-effect \"lightshafts\" 100 )", " PostEffect(\"lightshafts\").Set(100)"},
  });
}

TEST(ModernOperatorsTest, EveryOtherOperatorGetsAGenericFormFromItsTableRow) {
  ExpectModernTranslations({
      // By return kind: an action and a condition begin a line, a number
      // and an argument list stand as operands, an AI goal as in AddGoal.
      {"( ship-vaporize \"A\" \"B\" )", " ShipVaporize(\"A\",\"B\")"},
      {"( is-in-mission \"A\" )", " IsInMission(\"A\")"},
      {"( shields-left \"A\" )", "ShieldsLeft(\"A\")"},
      {"( < ( shields-left \"A\" ) 50 )", " ShieldsLeft(\"A\") < 50"},
      {"( when ( true ) ( add-goal \"A\" ( ai-keep-safe-distance 50 ) ) )",
       WhenTrue({" Ship(\"A\").AddGoal(AI_KEEP_SAFE_DISTANCE,50)"})},
      {"( when-argument ( for-ship-class \"GTF Ulysses\" ) ( true ) ( ship-vanish \"<argument>\" ) )",
       Lines({"For each Argument in ForShipClass(\"GTF Ulysses\")", "If", " True", "Then",
              " MissionStatus.Event(\"Ev\")=True", " Ship(Argument).VanishWithoutTrace()"})},
      {"( num_kills \"Alpha 1\" )", "NumKills(\"Alpha 1\")"},
      {"( mission-time-msecs )", "MissionTimeMsecs()"},
      {"( don't-collide-invisible \"A\" )", " DontCollideInvisible(\"A\")"},
      // Arguments that are actions follow as a block.
      {"( when ( true ) ( do-for-valid-arguments ( ship-vanish \"<argument>\" ) ) )",
       WhenTrue({" DoForValidArguments()", "  Ship(\"<argument>\").VanishWithoutTrace()"})},
  });
}

TEST(ModernOperatorsTest, WordsMatchCaseInsensitivelyAndOldNamesAreRenamed) {
  ExpectModernTranslations({
      {"( WHEN ( TRUE ) ( Send-Message \"#Cmd\" \"High\" \"M\" ) )",
       WhenTrue({" SendMessage(\"#Cmd\",\"M\",\"High\")"})},
      {"( Modify-Variable @x[0] 1 )", " Variable(\"x\") = 1"},
      {"( ai-chase-any-except \"A\" )", "AI_CHASE_ANY,\"A\""},
      {"( change-ship-model \"GTF Ulysses\" \"A\" )", " Ship(\"A\").ChangeClass(\"GTF Ulysses\")"},
  });
}

// An operator in neither table (a mod's own) keeps the marker and shows its
// arguments as a call; the original translation hid them.
TEST(ModernOperatorsTest, OperatorsOutsideTheTableStayUnknownWithTheirArguments) {
  ExpectModernTranslations({
      {"( when ( true ) ( lua-set-cloak-ability ( true ) \"default\" \"Gemini 1\" ) )",
       WhenTrue({" #UnknownCommand lua-set-cloak-ability(True,\"default\",\"Gemini 1\")"})},
      {"( my-mod-operator 1 2 )", " #UnknownCommand my-mod-operator(1,2)"},
      {"( when ( true ) ( lua-jump-to \"Nav 1\" ) ( ship-vanish \"A\" ) )",
       WhenTrue({" #UnknownCommand lua-jump-to(\"Nav 1\")", " Ship(\"A\").VanishWithoutTrace()"})},
      {"( = ( lua-get-value ) 2 )", " #UnknownCommand lua-get-value() = 2"},
      {"( lua-a ( lua-b 1 ) @v[2] \"<argument>\" )",
       " #UnknownCommand lua-a(#UnknownCommand lua-b(1),Variable(\"v\"),Argument)"},
      {"( x ( ) )", " #UnknownCommand x()"},
      // A part without an operator word stays a bare marker.
      {"( ( ) )", " #UnknownCommand "},
  });
  // The original translation keeps its line.
  EXPECT_EQ(TranslateModern("( my-mod-operator 1 2 )", OperatorSet::kOriginal), " #UnknownCommand my-mod-operator");
}

// Where an original template takes a word, the FreeSpace Open translation
// takes any argument, operators included, and shows it as its value. The
// original read the operator's pieces as words (« Subsystem("Hull")= -(»)
// or as lines of their own.
TEST(ModernOperatorsTest, AnOperatorMayStandWhereTheOriginalTakesAWord) {
  ExpectModernTranslations({
      {"( when ( true ) ( sabotage-subsystem \"Polydeuces# 1\" \"Hull\" ( rand-multiple 0 1 ) ) )",
       WhenTrue({" Ship(\"Polydeuces# 1\").Subsystem(\"Hull\")= -Random(0,1)"})},
      {"( sabotage-subsystem \"A\" \"Hull\" ( rand-multiple 0 1 ) )", " Ship(\"A\").Subsystem(\"Hull\")= -Random(0,1)"},
      {"( when ( true ) ( set-subsystem-strength \"A\" \"engine\" ( + 10 @x[5] ) ) )",
       WhenTrue({" Ship(\"A\").Subsystem(\"engine\")=10 + Variable(\"x\")"})},
      {"( when ( true ) ( ship-guardian-threshold ( rand 10 20 ) \"A\" ) )",
       WhenTrue({" Ship(\"A\").GuardianThreshold = RandomOnce(10,20)"})},
      {"( when ( is-destroyed-delay ( rand 0 5 ) \"A\" \"B\" ) ( do-nothing ) )",
       Lines({"If", " Ship(\"A\").DestroyedSince>=RandomOnce(0,5)", " And Ship(\"B\").DestroyedSince>=RandomOnce(0,5)",
              "Then", " MissionStatus.Event(\"Ev\")=True"})},
      {"( when ( has-time-elapsed ( * 60 2 ) ) ( ship-vanish \"A\" ( script-eval-num \"Ship()\" ) ) )",
       Lines({"If", " MissionStatus.MissionTime=60 * 2", "Then", " MissionStatus.Event(\"Ev\")=True",
              " Ship(\"A\").VanishWithoutTrace()", " Ship(ScriptEvalNum(\"Ship()\")).VanishWithoutTrace()"})},
      {"( when ( true ) ( add-remove-escort \"A\" ( rand 0 1 ) ) )",
       WhenTrue({" Ship(\"A\").EscortList.AddOrRemove(RandomOnce(0,1))"})},
      // The goal of an add-goal that is a whole formula is its argument too.
      {"( add-goal \"A\" ( ai-chase \"B\" 89 ) )", " Ship(\"A\").AddGoal(AI_CHASE,\"B\",89)"},
  });
  // The original translation keeps its readings.
  EXPECT_EQ(TranslateModern("( when ( true ) ( sabotage-subsystem \"A\" \"Hull\" ( rand-multiple 0 1 ) ) )",
                            OperatorSet::kOriginal),
            WhenTrue({" Ship(\"A\").Subsystem(\"Hull\")= -("}));
  EXPECT_EQ(TranslateModern("( add-goal \"A\" ( ai-chase \"B\" 89 ) )", OperatorSet::kOriginal),
            Lines({" Ship(\"A\").AddGoal()", "AI_CHASE,\"B\",89"}));
}

// The game adds the delays of a message list up ("all times are
// accumulated"): shown as written, 5500 then 5000 read as if the second
// message came first. With FreeSpace Open operators each line shows the time
// from the event's firing.
TEST(ModernOperatorsTest, MessageListsShowTheTimeFromTheEventsFiring) {
  ExpectModernTranslations({
      {"( send-message-list \"#A\" \"High\" \"M1\" 5500 \"#B\" \"Normal\" \"M2\" 5000 )",
       Lines({" InXMilliSeconds(5500).SendMessage(\"#A\",\"M1\",\"High\")",
              " InXMilliSeconds(10500).SendMessage(\"#B\",\"M2\",\"Normal\")"})},
      {"( when ( true ) ( send-message-list \"Magellan\" \"High\" \"Another wing!\" 0 \"#Tactical\" \"High\" "
       "\"War on 2 fronts\" 5000 \"Magellan\" \"High\" \"31st ready\" 5000 ) )",
       WhenTrue({" InXMilliSeconds(0).SendMessage(\"Magellan\",\"Another wing!\",\"High\")",
                 " InXMilliSeconds(5000).SendMessage(\"#Tactical\",\"War on 2 fronts\",\"High\")",
                 " InXMilliSeconds(10000).SendMessage(\"Magellan\",\"31st ready\",\"High\")"})},
      // Delays known only when the mission runs stand as terms of the sum.
      {"( send-message-list \"#A\" \"High\" \"M1\" @wait[1000] \"#A\" \"High\" \"M2\" 2000 \"#A\" \"High\" \"M3\" "
       "( * 2 100 ) )",
       Lines({" InXMilliSeconds(Variable(\"wait\")).SendMessage(\"#A\",\"M1\",\"High\")",
              " InXMilliSeconds(Variable(\"wait\") + 2000).SendMessage(\"#A\",\"M2\",\"High\")",
              " InXMilliSeconds(Variable(\"wait\") + 2 * 100 + 2000).SendMessage(\"#A\",\"M3\",\"High\")"})},
      {"( send-message-list \"#A\" \"High\" \"M1\" 9000000000000000000 \"#A\" \"High\" \"M2\" 9000000000000000000 )",
       Lines({" InXMilliSeconds(9000000000000000000).SendMessage(\"#A\",\"M1\",\"High\")",
              " InXMilliSeconds(9000000000000000000 + 9000000000000000000).SendMessage(\"#A\",\"M2\",\"High\")"})},
      {"( send-message-chain \"Stop\" \"#A\" \"High\" \"M1\" 1000 \"#B\" \"Low\" \"M2\" 2000 )",
       Lines({" SendMessageChain(\"Stop\")", "  InXMilliSeconds(1000).SendMessage(\"#A\",\"M1\",\"High\")",
              "  InXMilliSeconds(3000).SendMessage(\"#B\",\"M2\",\"Low\")"})},
  });
  // The original translation shows the delays as written.
  EXPECT_EQ(TranslateModern("( send-message-list \"#A\" \"High\" \"M1\" 5500 \"#B\" \"Normal\" \"M2\" 5000 )",
                            OperatorSet::kOriginal),
            Lines({" InXMilliSeconds(5500).SendMessage(\"#A\",\"M1\",\"High\")",
                   " InXMilliSeconds(5000).SendMessage(\"#B\",\"M2\",\"Normal\")"}));
}

// A variable reads Variable("Name") wherever it stands, also where an
// original template takes a word.
TEST(ModernOperatorsTest, VariablesReadAsVariablesEverywhere) {
  ExpectModernTranslations({
      {"( when ( true ) ( good-secondary-time \"Hostile\" 60 \"Piranha\" \"@target-destroyers[None]\" ) )",
       WhenTrue({" Team(\"Hostile\").Enemy(Variable(\"target-destroyers\")).PreferSecondaryWeapon(\"Piranha\",60)"})},
      {"( send-message \"#Cmd\" \"High\" \"@msg[Hi]\" )", " SendMessage(\"#Cmd\",Variable(\"msg\"),\"High\")"},
      {"( is-destroyed-delay @d[0] \"A\" )", " Ship(\"A\").DestroyedSince>=Variable(\"d\")"},
      {"( ship-vanish \"@victim[Alpha 1]\" \"B\" )",
       Lines({" Ship(Variable(\"victim\")).VanishWithoutTrace()", " Ship(\"B\").VanishWithoutTrace()"})},
      {"( when ( has-time-elapsed @T[30] ) ( change-iff \"Hostile\" \"A\" \"<argument>\" ) )",
       Lines({"If", " MissionStatus.MissionTime=Variable(\"T\")", "Then", " MissionStatus.Event(\"Ev\")=True",
              " Ship(\"A\").ChangeIff(\"Hostile\")", " Ship(\"<argument>\").ChangeIff(\"Hostile\")"})},
      {"( when ( true ) ( add-goal \"@ship[A]\" ( ai-chase \"@t[B]\" 89 ) ) )",
       WhenTrue({" Ship(Variable(\"ship\")).AddGoal(AI_CHASE,Variable(\"t\"),89)"})},
      // The priority of a variable may add or remove the ship.
      {"( add-remove-escort \"A\" @p[0] )", " Ship(\"A\").EscortList.AddOrRemove(Variable(\"p\"))"},
      {"( add-remove-escort \"A\" 0 )", " Ship(\"A\").EscortList.Remove()"},
      // Not variables: a lone "@", a name that merely holds one.
      {"( send-message \"@\" \"High\" \"Mail a@b\" )", " SendMessage(\"@\",\"Mail a@b\",\"High\")"},
  });
  EXPECT_EQ(TranslateModern("( send-message \"#Cmd\" \"High\" \"@msg[Hi]\" )", OperatorSet::kOriginal),
            " SendMessage(\"#Cmd\",\"@msg[Hi]\",\"High\")");
}

// Everything the original translates as the rules say keeps its text.
TEST(ModernOperatorsTest, TheOriginalTranslationIsKept) {
  const std::vector<std::string> formulas = {
      "( true )",
      "( is-destroyed-delay 0 \"A\" \"B\" )",
      "( when ( and ( is-destroyed-delay 0 \"A\" ) ( has-arrived-delay 5 \"B\" \"C\" ) ) "
      "( send-message \"#Cmd\" \"High\" \"M1\" ) ( ship-invulnerable \"D\" \"E\" ) )",
      "( when ( not ( is-event-true-delay \"E1\" 0 ) ) ( do-nothing ) )",
      "( < ( hits-left \"A\" ) 50 )",
      "( not ( is-ship-visible \"A\" ) )",
      "( or ( true ) ( false ) ( true ) )",
      "( and ( or ( true ) ( is-destroyed-delay 0 \"A\" ) ) ( false ) )",
      "( when ( true ) ( add-goal \"A\" ( ai-chase \"B\" 89 ) ) )",
      "( send-random-message \"#Cmd\" \"High\" \"M1\" \"M2\" )",
      "( send-message-list \"#Cmd\" \"High\" \"M1\" 0 \"#Cmd\" \"Low\" \"M2\" 2000 )",
      "( when ( has-time-elapsed 30 ) ( change-iff \"Hostile\" \"A\" \"<argument>\" ) )",
      "( when ( true ) ( validate-goal \"G1\" ) ( sabotage-subsystem \"A\" \"engine\" 50 ) )",
      "( when )",
      "( > )",
  };
  for (const std::string& formula : formulas) {
    EXPECT_EQ(TranslateModern(formula), TranslateModern(formula, OperatorSet::kOriginal)) << formula;
  }
}

}  // namespace
}  // namespace sexp
