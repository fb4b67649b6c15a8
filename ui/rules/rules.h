// Small decisions of the main window that need no window: where the icon
// bar's hover frame goes, the open dialogs' filters, what a code window shows
// of a long formula, the find bar's stepping and row count, the caption,
// what opening a file that is none (or no mission) says, what Ctrl+C copies
// and in what form, and cell tooltips.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <vector>

#include "base/text.h"
#include "views/list.h"

namespace ui {

using mission::Text;
using mission::TextView;

// A line in twips, from (x1, y1) to (x2, y2).
struct Line {
  int x1, y1, x2, y2;
  bool operator==(const Line&) const = default;
};

// The hover frame one screen pixel outside an icon (in twips; tx and ty are
// twips per pixel). The bottom line sits 8 twips to the right of the others,
// which gives the frame its slightly raised look.
struct HoverFrame {
  Line left, top, right, bottom;
};
HoverFrame PlaceHoverFrame(double iconLeft, double iconTop, double iconWidth, double iconHeight, double tx,
                           double ty);

// The open dialogs' filters, written as the common dialog takes them:
// "description|pattern|description|pattern...".
extern const TextView kFilterFS1;
extern const TextView kFilterCampaign;
extern const TextView kFilterFS2;

struct FileFilter {
  Text description;
  Text pattern;
  bool operator==(const FileFilter&) const = default;
};
std::vector<FileFilter> SplitDialogFilter(TextView filter);

// A code window shows at most this many characters of a formula text: a
// real formula stays far below it, while a hostile file's multi-megabyte
// formula would keep the text control busy laying it out for seconds.
constexpr std::size_t kCodeWindowMax = 200000;

// The text a code window shows: `text` itself when it is short enough, else
// its beginning (up to the last line break within the limit, when that keeps
// at least half of it; a surrogate pair is never split) followed by a line
// that says how much is not shown and where to see all of it.
Text CodeWindowText(TextView text, std::size_t limit = kCodeWindowMax);

// The status bar's notice while the original translation leaves `lines`
// lines of the shown formula as "#UnknownCommand": how many, and which menu
// entry translates them. Empty for none.
Text UnknownCommandNotice(std::size_t lines);

// The row the find bar's Enter (or Shift+Enter, `backwards`) moves to in a
// list of `count` rows shown, from the row `current` (0-based, -1 for none):
// the next (previous) one, round from the last to the first; the first (last)
// without a current row. -1 for an empty list.
int StepRow(int current, int count, bool backwards);

// The find bar's status-bar text: «N of M rows».
Text RowCountText(long long shown, long long total);

constexpr TextView kDesignCaption = u"Veltrane Suite TORVEK32";
// The caption while a mission is shown.
Text MissionCaption(TextView path);

// --- Opening files ---

// Why a name chosen in an open dialog cannot be read as a mission, by what
// the name is on disk; nothing for a regular file.
std::optional<Text> NotAFileReason(std::filesystem::file_type type);

// The question asked before a file that does not look like a mission
// (mission::LooksLikeMission) replaces the one shown; `name` is the file's
// name.
Text NotAMissionQuestion(TextView name);

// What the list's area says in place of rows: how to open a mission while
// none is shown (`shown` false); that the file shown, named `name`, holds
// none of the sections of a mission (`holdsSections` false: a file opened
// anyway, which shows nothing); nothing otherwise.
Text ListHint(bool shown, bool holdsSections, TextView name);
inline constexpr TextView kNoMissionHint =
    u"No mission is open.\n\nOpen one with File > Open FreeSpace 1 mission (Ctrl+F1) or File > Open FreeSpace 2 "
    u"mission (Ctrl+F2), or drop a mission file (*.fs2, *.fsm) on this window.";

// --- Menus and the window ---

// The captions of one menu's entries, each with an access key ("&" before
// it) of its own. A caption keeps the key it has unless an earlier caption
// has it; one without a key, or whose key was taken, gets the first free
// letter that begins one of its words, else its first free letter or digit
// (none when every one is taken). Keys compare without case; separators
// ("-") stay as they are.
std::vector<Text> WithAccessKeys(const std::vector<Text>& captions);

// A rectangle in pixels.
struct Bounds {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Bounds&) const = default;
};
// Where the window opens when no position of it is kept: two thirds of the
// screen's free area each way, but no smaller than its design size as far
// as the area allows, centred in the area.
Bounds FirstWindowBounds(const Bounds& available, int designWidth, int designHeight);

// The text a list column must have room for at its default width, besides
// its caption: for a column of numbers (every cell digits, with blanks, a
// sign or a point, or blank), its longest cell, and at least three digits
// («999»), so that no number is shown cut; nothing for a column of text,
// whose cut cells have their tooltips. Stops at the first cell of text.
std::optional<Text> NumberToFit(const views::ListData& list, std::size_t column);

// --- Copying and tooltips ---

// What copying rows of the list puts on the clipboard: a line of the column
// captions, then a line per row (`rows` are 0-based rows of the list, in the
// order given), cells separated by tabs, every line ended by a line break.
Text ListRowsText(const views::ListData& list, const std::vector<std::size_t>& rows);

// Where the keyboard focus is, as far as copying is concerned.
enum class FocusPane { kOther, kSexpCode, kParsedCode, kList };
enum class CopySource { kSexpSelection, kParsedSelection, kListRows, kNothing };
struct CopyState {
  FocusPane focus = FocusPane::kOther;
  bool sexpSelected = false;    // the SEXP code window shows selected text
  bool parsedSelected = false;  // the Parsed code window does
  bool rowsSelected = false;    // the list has selected rows
};
// What Ctrl+C copies. The pane with the focus comes first: a code window's
// selected text, or the list's selected rows. With the focus elsewhere a
// code window's selection is still copied (the SEXP code window's first).
// Otherwise nothing: Ctrl+C then collapses the outline tree, as it always did.
CopySource CtrlCSource(const CopyState& state);

// A cell's tooltip: its whole text, or for a text longer than `limit` its
// beginning (a surrogate pair is never split) and "…".
constexpr std::size_t kToolTipMax = 4000;
Text CellToolTip(TextView cell, std::size_t limit = kToolTipMax);

}  // namespace ui
