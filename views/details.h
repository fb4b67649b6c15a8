// Details of a selected row that its list cuts: a message's whole text with
// its persona and files, and a ship's or wing's arrival and departure cues.
// Pure functions of the section store; the window shows the results in the
// pane under the list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "base/text.h"
#include "mission/mission.h"
#include "views/formula_display.h"

namespace views {

// The lines of a view's row in its slot: [first, end), 1-based.
struct LineRange {
  std::size_t first = 0;
  std::size_t end = 0;
  friend bool operator==(const LineRange&, const LineRange&) = default;
};

// Where the rows of the Messages, Ships or Wings view lie in their slot: a row
// begins at its "$Name:" line and ends where the next row begins (the last at
// the end of the slot), as the fillers open rows. Built once per slot.
class EntryLines {
 public:
  explicit EntryLines(const mission::LineList& lines);

  std::size_t Rows() const { return starts_.size(); }
  // The lines of row `row` (1-based); nothing for a row the view does not have.
  std::optional<LineRange> Row(std::size_t row) const;

 private:
  std::vector<std::uint32_t> starts_;  // the 1-based "$Name:" line of each row
  std::size_t count_ = 0;              // lines in the slot
};

struct MessageDetails {
  Text name;
  Text text;     // the whole text, its lines joined by CR LF, without its XSTR wrapping
  Text persona;  // empty when the message has none; so are the files
  Text avi;
  Text wave;
  friend bool operator==(const MessageDetails&, const MessageDetails&) = default;
};

// The details of the message written in `range` of the messages slot. The
// text begins after the colon of the first line whose key is "$Messa" and
// runs on over the lines below it up to "$end_multi_text" (or the next line
// that begins with "$" or "+"). A text written `XSTR("text", id)` shows as
// «text», whatever its id; any other text shows as written. Values are
// trimmed; a field written twice shows its last value, as the list does.
MessageDetails MessageDetailsOf(const mission::LineList& lines, LineRange range);

// What the message pane shows: the text, then a line each for the persona
// and the animation and wave files the message has, after an empty line
// (none when the message has no text):
// «Persona: Wingman», «AVI: head-a», «WAV: intro.wav». Lines end in CR LF.
Text MessagePaneText(const MessageDetails& details);

// Removes the translation wrapping `XSTR("...", id)` from a text that is
// wrapped whole (blanks around it allowed); any other text stays as it is.
Text WithoutXstr(TextView text);

// The arrival and departure cues of the ship or wing written in `range`, as
// the code windows show an event's formula: the SEXP text is each cue's
// lines as stored, from its "$Arrival Cue:" or "$Departure Cue:" line until
// its brackets balance, joined by CR LF; the translated text is each cue's
// translation under a line "Arrival cue:" or "Departure cue:", with an empty
// line between the cues. `owner` is the name the translator writes into a
// "when". A cue left open ends before the entry's next field. Empty texts
// when the entry has no cue.
FormulaTexts CueTexts(const mission::LineList& lines, LineRange range, TextView owner,
                      sexp::OperatorSet operators = sexp::OperatorSet::kOriginal);

}  // namespace views
