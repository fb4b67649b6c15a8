#include "views/links.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/views/fixture.h"
#include "views/formula_display.h"
#include "views/modes.h"

namespace views {
namespace {

using testing::Lines;
using testing::Load;

// A mission whose names clash across kinds: "Intro" is an event and a
// message, "Alpha" a ship and a wing.
const std::string kLinksMission = Lines({
    "#Objects",
    "$Name: Alpha",
    "$Name: Beta 1",
    "$Name: beta 1",  // a second entry of the same name: the first one is named
    "#Wings",
    "$Name: Gamma",
    "$Name: Alpha",
    "#Events",
    "$Formula: ( true )",
    "+Name: Intro",
    "+Name:   Second   ",
    "#Goals",
    "$Type: Primary",
    "+Name: Guard",
    "$Type: Secondary",
    "+Name: Escort",
    "#Messages",
    "$Name: Hello",
    "$Name: Intro",
});

// Each link as «name -> mode,row», in text order.
std::vector<std::string> Describe(TextView text, const std::vector<CodeLink>& links) {
  std::vector<std::string> described;
  for (const CodeLink& link : links) {
    described.push_back(mission::ToUtf8(text.substr(link.start, link.length)) + " -> " +
                        std::to_string(link.target.mode) + "," + std::to_string(link.target.row));
  }
  return described;
}

TEST(NameRowsTest, FindsEachKindByItsRowIgnoringCase) {
  const mission::Mission m = Load(kLinksMission);
  const NameRows names = NameRows::Build(m);
  struct Case {
    NameKind kind;
    std::u16string name;
    int mode;
    std::size_t row;
  };
  const Case cases[] = {
      {NameKind::kShip, u"Alpha", kModeShips, 1},
      {NameKind::kShip, u"BETA 1", kModeShips, 2},  // the first of two entries
      {NameKind::kShip, u"Beta 2", 0, 0},
      {NameKind::kShip, u"Gamma", 0, 0},  // a wing, not a ship
      {NameKind::kWing, u"Alpha", kModeWings, 2},
      {NameKind::kEvent, u"Second", kModeEvents, 2},  // trimmed
      {NameKind::kEvent, u" intro ", kModeEvents, 1},
      {NameKind::kGoal, u"Escort", kModeGoals, 2},
      {NameKind::kMessage, u"Intro", kModeMessages, 2},
      {NameKind::kShipOrWing, u"Alpha", 0, 0},  // no view lists this kind
      {NameKind::kMessage, u"", 0, 0},
  };
  for (const Case& c : cases) {
    const Location found = names.Find(c.kind, c.name);
    EXPECT_EQ(found.mode, c.mode) << mission::ToUtf8(c.name);
    EXPECT_EQ(found.row, c.row) << mission::ToUtf8(c.name);
  }
}

TEST(CodeLinksTest, TheArgumentsKindChoosesWhereANameGoes) {
  const mission::Mission m = Load(kLinksMission);
  const NameRows names = NameRows::Build(m);
  struct Case {
    std::u16string sexp;
    std::vector<std::string> links;
  };
  const Case cases[] = {
      // An event, and a message of the same name.
      {u"( when ( is-event-true-delay \"Intro\" 0 ) ( send-message \"#Command\" \"High\" \"Intro\" ) )",
       {"Intro -> 4,1", "Intro -> 5,2"}},
      // Ships before wings where either may be named; a wing-only place.
      {u"( is-destroyed-delay 0 \"Alpha\" \"Gamma\" ) ( ai-chase-wing \"Alpha\" 89 )",
       {"Alpha -> 6,1", "Gamma -> 7,1", "Alpha -> 7,2"}},
      // A place that takes no such name (a subsystem), a number, a name
      // nobody has, and a goal compared ignoring case.
      {u"( is-subsystem-destroyed \"Beta 1\" \"alpha\" ) ( is-goal-true-delay \"GUARD\" 0 ) ( has-arrived-delay 0 "
       u"\"Nobody\" )",
       {"Beta 1 -> 6,2", "GUARD -> 2,1"}},
      // Arguments of an operator the table does not know, and strings: any
      // kind, ships first, then wings, events, goals, messages.
      {u"( lua-mod-op \"Gamma\" \"Hello\" \"Intro\" ) ( string-equals \"Escort\" \"x\" )",
       {"Gamma -> 7,1", "Hello -> 5,1", "Intro -> 4,1", "Escort -> 2,2"}},
      // The events of the previous mission are not this mission's.
      {u"( is-previous-event-true \"m.fs2\" \"Intro\" )", {}},
      // Blanks inside the quotes are not part of the link; over several
      // lines, and after a cue's key.
      {u"$Arrival Cue: ( has-arrived-delay\r\n   0\r\n   \"  Beta 1 \" )\r\n$Departure Cue: ( false )",
       {"Beta 1 -> 6,2"}},
      // A quoted operator, quotes outside any list, a quote left open at its
      // line's end, an empty name, extra closing brackets.
      {u"\"Alpha\" ( \"Alpha\" \"Beta 1\" ) ) ) ( has-arrived-delay 0 \"Alpha\r\n \"\" \"Alpha\" )",
       {"Beta 1 -> 6,2", "Alpha -> 6,1", "Alpha -> 6,1"}},
  };
  for (const Case& c : cases) {
    const CodeLinks links = FindCodeLinks(c.sexp, u"", names);
    EXPECT_EQ(Describe(c.sexp, links.sexp), c.links) << mission::ToUtf8(c.sexp);
  }
}

TEST(CodeLinksTest, TheTranslationLinksNamesAsTheSexpDoes) {
  const mission::Mission m = Load(kLinksMission);
  const NameRows names = NameRows::Build(m);
  // The SEXP uses "Intro" as a message, and "Alpha" (a ship's name) where
  // no link goes: as a subsystem.
  const std::u16string sexp =
      u"( when ( is-subsystem-destroyed \"Beta 1\" \"Alpha\" ) ( send-message \"#Command\" \"High\" \"intro\" ) )";
  const std::u16string parsed =
      u"If\r\n Ship(\"Beta 1\").Subsystem(\"Alpha\").Destroyed\r\nThen\r\n"
      u" SendMessage(\"#Command\",\"INTRO\",\"High\")\r\n MissionStatus.Event(\"Second\")=True\r\n \"Gamma\r\n\"";
  const CodeLinks links = FindCodeLinks(sexp, parsed, names);
  EXPECT_EQ(Describe(parsed, links.parsed),
            (std::vector<std::string>{"Beta 1 -> 6,2", "INTRO -> 5,2", "Second -> 4,2"}));
  // Without a SEXP text, every quoted name is looked up among all kinds.
  EXPECT_EQ(Describe(parsed, FindCodeLinks(u"", parsed, names).parsed),
            (std::vector<std::string>{"Beta 1 -> 6,2", "Alpha -> 6,1", "INTRO -> 4,1", "Second -> 4,2"}));
}

TEST(CodeLinksTest, LinkAtFindsTheLinkUnderAPosition) {
  const std::vector<CodeLink> links = {{2, 3, {kModeShips, 1}}, {8, 1, {kModeWings, 2}}};
  const std::pair<std::size_t, const CodeLink*> cases[] = {
      {0, nullptr}, {2, &links[0]}, {4, &links[0]}, {5, nullptr}, {8, &links[1]}, {9, nullptr}, {100, nullptr},
  };
  for (const auto& [position, link] : cases) EXPECT_EQ(LinkAt(links, position), link) << position;
  EXPECT_EQ(LinkAt({}, 0), nullptr);
}

TEST(CodeLinksTest, LargeFormulasTakeLinearTime) {
  // 200,000 quoted names in one formula, each a ship of the mission: every
  // one is a link, and the work grows with the text only.
  std::string mission = "#Objects\r\n";
  std::u16string sexp = u"( is-destroyed-delay 0";
  std::u16string parsed;
  constexpr int kShips = 200000;
  for (int i = 0; i < kShips; ++i) {
    const std::string name = "Ship " + std::to_string(i);
    mission += "$Name: " + name + "\r\n";
    sexp += u" \"" + mission::FromUtf8(name) + u"\"";
    parsed += u" Ship(\"" + mission::FromUtf8(name) + u"\").DestroyedSince>=0\r\n";
  }
  sexp += u" )";
  const mission::Mission m = Load(mission);
  const NameRows names = NameRows::Build(m);
  const CodeLinks links = FindCodeLinks(sexp, parsed, names);
  ASSERT_EQ(links.sexp.size(), static_cast<std::size_t>(kShips));
  ASSERT_EQ(links.parsed.size(), static_cast<std::size_t>(kShips));
  EXPECT_EQ(links.sexp.back().target.row, static_cast<std::size_t>(kShips));
  EXPECT_EQ(links.parsed[1234].target.row, 1235u);
}

}  // namespace
}  // namespace views
