// The texts of briefings, command briefings and debriefings as the game
// shows them: without their XSTR wrapping, with the words the game replaces
// ("$semicolon" is ";"), and with colour tags.
//
// A colour tag is "$" and a letter ("$f Alpha" draws Alpha in the friendly
// colour), "$|" (back to the text's own colour, "$f Aquitaine$|."), or the
// span marks "$c{" and "$}" (a run of words in colour c). The game colours
// the word after a tag, up to the next blank or line end, drops the tag with
// the blanks after it, and draws every other word in the text's own colour:
// white for briefing texts, red for a debriefing's recommendation.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "base/text.h"
#include "views/formula_display.h"

namespace views {

using mission::Text;
using mission::TextView;

// The colour the game draws for the tag letter `letter` ($f, $h, $w, ...),
// as 0xBBGGRR; nothing for a letter the game does not know.
std::optional<std::uint32_t> TagColor(char16_t letter);

// The letters of the texts' own colours.
inline constexpr char16_t kBriefingTextTag = u'w';
inline constexpr char16_t kRecommendationTag = u'r';

// "$semicolon", "$quote", "$slash" and "$backslash" as the characters they
// stand for (the file cannot hold ";" in a text: it starts a comment).
// "$callsign" and "$rank", which the game fills in for the player, stay.
Text ReplaceTextWords(TextView text);

// The text with every colour tag removed together with the one blank after
// it, as a list cell shows it.
Text WithoutColorTags(TextView text);

// A text in the game's colours: the text without its tags, and its runs of
// one colour, in order, covering the whole text.
struct ColoredText {
  Text text;
  std::vector<ColorSpan> spans;
};
// The text's own colour is that of tag `own` (kBriefingTextTag,
// kRecommendationTag). Line ends stay; each line starts in the colour of
// the span open there.
ColoredText ColorTags(TextView text, char16_t own = kBriefingTextTag);

// A stage text as a list cell shows it: its lines joined with one blank
// each, without its XSTR wrapping, the replaced words, and without its
// colour tags.
Text StageCellText(TextView text);

}  // namespace views
