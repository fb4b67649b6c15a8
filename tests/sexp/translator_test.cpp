// Translations of whole formulas, read from a section as the formula display
// reads them.
#include <gtest/gtest.h>

#include "sexp/formula.h"
#include "tests/sexp/helpers.h"

namespace sexp {
namespace {

using testing::EventsSection;
using testing::Lines;
using testing::U16;
using testing::U8;

struct TranslationCase {
  std::string event;
  std::vector<std::string> formula;  // the lines of the formula
  std::string result;
};

std::string Translate(const TranslationCase& c, OperatorSet operators = OperatorSet::kOriginal) {
  const mission::Mission m = EventsSection(c.formula);
  std::int32_t next = 0;
  return U8(ReadFormula(U16(c.event), testing::Events(m), 1, next, operators));
}

// A formula on one line, in a "$Formula:" line and its brackets.
std::vector<std::string> F(const std::string& formula) { return {"$Formula: " + formula}; }

void ExpectTranslations(const std::vector<TranslationCase>& cases) {
  for (const TranslationCase& c : cases) EXPECT_EQ(Translate(c), c.result) << c.formula[0];
}

TEST(TranslatorTest, StructureAndConditions) {
  ExpectTranslations({
      {"Ev", F("( true )"), " True"},
      {"Ev", F("( is-destroyed-delay 0 \"A\" \"B\" )"),
       Lines({" Ship(\"A\").DestroyedSince>=0", " And Ship(\"B\").DestroyedSince>=0"})},
      {"Ev1",
       {"$Formula: ( when ", "( and ( is-destroyed-delay 0 \"A\" ) ( has-arrived-delay 5 \"B\" \"C\" ) ) ",
        "( send-message \"#Cmd\" \"High\" \"M1\" ) ", "( ship-invulnerable \"D\" \"E\" ) ", ")"},
       Lines({"If", "(", "  Ship(\"A\").DestroyedSince>=0", "And", "  Ship(\"B\").ArrivedSince>=5",
              "  And Ship(\"C\").ArrivedSince>=5", ")", "", "Then", " MissionStatus.Event(\"Ev1\")=True",
              " SendMessage(\"#Cmd\",\"M1\",\"High\")", " Ship(\"D\").MakeInvulnerable()",
              " Ship(\"E\").MakeInvulnerable()"})},
      {"E2", F("( when ( not ( is-event-true-delay \"E1\" 0 ) ) ( do-nothing ) )"),
       Lines({"If", " Not MissionStatus.Event(\"E1\").TrueSince>=0", "Then", " MissionStatus.Event(\"E2\")=True"})},
      {"Ev", F("( < ( hits-left \"A\" ) 50 )"), " Ship(\"A\").Hull < 50"},
      {"Ev", F("( > ( mission-time ) 60 )"), " MissionStatus.MissionTime > 60"},
      {"Ev", F("( > ( hits-left \"A\" ) ( hits-left \"B\" ) )"), " Ship(\"A\").Hull > hits-left"},
      {"Ev", F("( not ( is-ship-visible \"A\" ) )"), " NotShip(\"A\").VisibleOnPlayersRadar"},
      {"Ev", F("( ship-type-destroyed 50 \"Fighter\" )"), " ShipType(\"Fighter\").DestroyedPercentageGreaterThan(50)"},
      {"Ev", F("( has-docked-delay \"A\" \"B\" 1 0 )"), " Ship(\"A\").DockWithShip(\"B\").NumberOfTimes(1).DockedSince>=0"},
      {"Ev", F("( or ( true ) ( false ) ( true ) )"), Lines({"(", "  True", "Or", "  False", "Or", "  True", ")", ""})},
      {"Ev", F("( and ( or ( true ) ( is-destroyed-delay 0 \"A\" ) ) ( false ) )"),
       Lines({"(", " (", "    True", " Or", "    Ship(\"A\").DestroyedSince>=0", " )", "", "And", "  False", ")", ""})},
      {"Ev", F("( do-nothing )"), ""},
  });
}

TEST(TranslatorTest, Actions) {
  ExpectTranslations({
      {"Ev", F("( when ( true ) ( add-goal \"A\" ( ai-chase \"B\" 89 ) ) )"),
       Lines({"If", " True", "Then", " MissionStatus.Event(\"Ev\")=True", " Ship(\"A\").AddGoal(AI_CHASE,\"B\",89)"})},
      {"Ev", F("( send-random-message \"#Cmd\" \"High\" \"M1\" \"M2\" )"),
       " InXMilliSeconds(0).SendMessage(\"#Cmd\",ChooseRandomFromList(\"M1\",\"M2\"),\"High\")"},
      {"Ev", F("( send-message-list \"#Cmd\" \"High\" \"M1\" 0 \"#Cmd\" \"Low\" \"M2\" 2000 )"),
       Lines({" InXMilliSeconds(0).SendMessage(\"#Cmd\",\"M1\",\"High\")",
              " InXMilliSeconds(2000).SendMessage(\"#Cmd\",\"M2\",\"Low\")"})},
      {"Ev", F("( add-remove-escort \"A\" 0 )"), " Ship(\"A\").EscortList.Remove()"},
      {"Ev", F("( add-remove-escort \"A\" 5 )"), " Ship(\"A\").EscortList.Add(5)"},
      {"Ev", F("( change-iff \"Hostile\" \"A\" \"B\" )"),
       Lines({" Ship(\"A\").ChangeIff(\"Hostile\")", " Ship(\"B\").ChangeIff(\"Hostile\")"})},
      {"Ev", F("( sabotage-subsystem \"A\" \"engine\" 50 )"), " Ship(\"A\").Subsystem(\"engine\")= -50"},
      {"Ev", F("( good-secondary-time \"Hostile\" 60 \"Missile\" \"A\" )"),
       " Team(\"Hostile\").Enemy(\"A\").PreferSecondaryWeapon(\"Missile\",60)"},
      {"Ev", F("( ship-vanish \"A\" \"B\" \"C\" )"),
       Lines({" Ship(\"A\").VanishWithoutTrace()", " Ship(\"B\").VanishWithoutTrace()",
              " Ship(\"C\").VanishWithoutTrace()"})},
      {"Ev", F("( validate-goal \"G1\" \"G2\" )"),
       Lines({" MissionStatus.Goal(\"G1\").Show()", " MissionStatus.Goal(\"G2\").Show()"})},
      {"Ev", F("( = 1 1 )"), " #UnknownCommand ="},
      {"Ev", F("( = ( mission-time ) 5 )"), Lines({" #UnknownCommand =", "MissionStatus.MissionTime", " #UnknownCommand 5"})},
      {"Ev", F("( when ( true ) ( do-nothing ) )"), Lines({"If", " True", "Then", " MissionStatus.Event(\"Ev\")=True"})},
      {"Ev", F("( x ( ) )"), Lines({" #UnknownCommand x", " #UnknownCommand "})},
      {"Ev", F("( add-goal \"A\" ( ai-chase \"B\" 89 ) )"), Lines({" Ship(\"A\").AddGoal()", "AI_CHASE,\"B\",89"})},
  });
}

// Cases that read the same with both operator sets.
void ExpectInBothModes(const std::vector<TranslationCase>& cases) {
  for (const TranslationCase& c : cases) {
    EXPECT_EQ(Translate(c), c.result) << c.formula[0];
    EXPECT_EQ(Translate(c, OperatorSet::kFreeSpaceOpen), c.result) << c.formula[0] << " (FreeSpace Open)";
  }
}

// "Not" glued to the first of several lines read as if it negated that line
// only: «Not Ship("Varaha").ArrivedSince>=0» / «And Ship("Hangzhou")...»
// said "Varaha not arrived, and Hangzhou arrived". An operand of several
// lines is bracketed instead.
TEST(TranslatorTest, NotOverSeveralLinesBracketsThemAll) {
  ExpectInBothModes({
      {"Ev", F("( not ( has-arrived-delay 0 \"Varaha\" \"Hangzhou\" \"Shenzhen\" ) )"),
       Lines({" Not (", "  Ship(\"Varaha\").ArrivedSince>=0", "  And Ship(\"Hangzhou\").ArrivedSince>=0",
              "  And Ship(\"Shenzhen\").ArrivedSince>=0", " )"})},
      {"Ev", F("( when ( not ( is-destroyed-delay 0 \"A\" \"B\" ) ) ( do-nothing ) )"),
       Lines({"If", " Not (", "  Ship(\"A\").DestroyedSince>=0", "  And Ship(\"B\").DestroyedSince>=0", " )", "Then",
              " MissionStatus.Event(\"Ev\")=True"})},
      // Inside "and" the lines stand behind the blanks of the operand.
      {"Ev", F("( and ( not ( is-destroyed-delay 0 \"A\" \"B\" ) ) ( true ) )"),
       Lines({"(", "  Not (", "   Ship(\"A\").DestroyedSince>=0", "   And Ship(\"B\").DestroyedSince>=0", "  )", "And",
              "  True", ")", ""})},
      // In a block inside a block, all the blanks before "Not" count.
      {"Ev", F("( and ( or ( not ( is-destroyed-delay 0 \"A\" \"B\" ) ) ( true ) ) ( true ) )"),
       Lines({"(", " (", "    Not (", "     Ship(\"A\").DestroyedSince>=0", "     And Ship(\"B\").DestroyedSince>=0",
              "    )", " Or", "    True", " )", "", "And", "  True", ")", ""})},
      {"Ev", F("( not ( not ( is-destroyed-delay 0 \"A\" \"B\" ) ) )"),
       Lines({" Not (", "  Not (", "   Ship(\"A\").DestroyedSince>=0", "   And Ship(\"B\").DestroyedSince>=0", "  )",
              " )"})},
      // One line, or an and/or block with brackets of its own: as before.
      {"Ev", F("( not ( is-destroyed-delay 0 \"A\" ) )"), " Not Ship(\"A\").DestroyedSince>=0"},
      {"Ev", F("( not ( or ( true ) ( false ) ) )"), Lines({" Not(", "  True", "Or", "  False", ")", ""})},
      {"Ev", F("( not ( is-ship-visible \"A\" ) )"), " NotShip(\"A\").VisibleOnPlayersRadar"},
      {"Ev", F("( not )"), " Not"},
  });
  // An operator the original does not know, with its arguments.
  EXPECT_EQ(Translate({"Ev", F("( not ( foo ( true ) ) )"), ""}),
            Lines({" Not (", "  #UnknownCommand foo", "  True", " )"}));
}

TEST(TranslatorTest, WarpOutShowsItsPriority) {
  ExpectInBothModes({
      {"Ev", F("( when ( true ) ( add-goal \"Alpha 1\" ( ai-warp-out 89 ) ) )"),
       Lines({"If", " True", "Then", " MissionStatus.Event(\"Ev\")=True", " Ship(\"Alpha 1\").AddGoal(AI_WARP_OUT,89)"})},
      {"Ev", F("( when ( true ) ( add-goal \"A\" ( ai-warp-out ) ) )"),
       Lines({"If", " True", "Then", " MissionStatus.Event(\"Ev\")=True", " Ship(\"A\").AddGoal(AI_WARP_OUT,)"})},
      // ai-stay-still keeps reading its third word.
      {"Ev", F("( when ( true ) ( add-goal \"A\" ( ai-stay-still \"B\" 50 ) ) )"),
       Lines({"If", " True", "Then", " MissionStatus.Event(\"Ev\")=True", " Ship(\"A\").AddGoal(AI_STAY_STILL,50)"})},
  });
}

}  // namespace
}  // namespace sexp
