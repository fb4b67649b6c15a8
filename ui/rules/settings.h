// ViewerSettings: the program's own settings file, torvk32.ini in the
// program directory. It owns the file's name and its whole key table: each
// key's section and name, what a missing or unexpected value means, and the
// text written for a value. Every read and write of the file goes through
// here, by typed getters and setters, one pair per key.
//
// Nothing here fails: the ini layer reads a missing file or key as the empty
// text (which every rule below maps to the key's default) and gives up a
// write it cannot make without a word, so a settings folder that cannot be
// written leaves the program working with the values it already holds.
//
// Plain C++ without Qt, so that the start-up sequence reads its key from
// the same table the window does.
#pragma once

#include <optional>
#include <vector>

#include "base/text.h"
#include "views/flow.h"

namespace ui {

using mission::Text;
using mission::TextView;

inline constexpr TextView kSettingsFile = u"torvk32.ini";

// The two open dialogs each remember their own directory.
enum class MissionKind { kFS1, kFS2 };

// "Startup"/"AssociateFileTypes": whether start-up makes this program the
// one that opens mission files, or asks the user first.
enum class Association { kYes, kNo, kAsk };

class ViewerSettings {
 public:
  // `directory` holds the settings file.
  explicit ViewerSettings(Text directory);

  // "Display"/"TreeView": "1" the outline tree is shown, "0" hidden; read by
  // TreeViewFromSetting, so a missing key hides the tree.
  bool TreeViewShown() const;
  void SetTreeViewShown(bool shown);

  // "Display"/"LeftCodeWindow" (SEXP code) and "RightCodeWindow" (Parsed
  // code): "1" wanted, "0" switched off; only the exact text "0" switches a
  // window off.
  bool LeftCodeHidden() const;
  void SetLeftCodeHidden(bool hidden);
  bool RightCodeHidden() const;
  void SetRightCodeHidden(bool hidden);

  // "Display"/"TreeWidth" and "ListHeight": where the user dragged the
  // boundary right of the outline tree (the tree's width) and the one under
  // the mission list (the list's height), in whole twips. Nothing when the
  // key is missing or holds anything else: the design layout. Writing
  // nothing empties the key.
  std::optional<double> TreeWidth() const;
  void SetTreeWidth(std::optional<double> twips);
  std::optional<double> ListHeight() const;
  void SetListHeight(std::optional<double> twips);

  // "Columns"/<the view's title> ("Events", "Ships", ...): the widths of the
  // view's columns in twips, "300,2000,800"; empty when the key is missing
  // or unreadable.
  std::vector<int> ColumnWidths(int mode) const;
  void SetColumnWidths(int mode, const std::vector<int>& twips);

  // "Display"/"ModernOperators": "1" the Parsed code window translates the
  // operators of FreeSpace Open too; anything else, missing included, keeps
  // the original translation.
  bool ModernOperators() const;
  void SetModernOperators(bool on);

  // "Display"/"EventFlow": "1" the Event Flow pane is shown; anything else,
  // missing included, hides it.
  bool EventFlowShown() const;
  void SetEventFlowShown(bool shown);
  // "Display"/"EventFlowMode": "whole" the whole mission, "neighbourhood"
  // the selected entry's neighbourhood; anything else, missing included,
  // chooses by the mission's size. Automatic is stored as the empty text.
  views::FlowChoice EventFlowMode() const;
  void SetEventFlowMode(views::FlowChoice choice);
  // "Display"/"EventFlowSteps": how many steps the neighbourhood reaches,
  // 1 to kMaxFlowSteps; anything else reads as kDefaultFlowSteps.
  int EventFlowSteps() const;
  void SetEventFlowSteps(int steps);

  // "Dirs"/"LastOpenDirFS1" and "LastOpenDirFS2": the directory of the file
  // last chosen in that open dialog, with its trailing separator; empty when
  // none was chosen yet.
  Text LastOpenDir(MissionKind kind) const;
  void SetLastOpenDir(MissionKind kind, TextView directory);

  // "Startup"/"AssociateFileTypes": "1" yes, "0" no; anything else, missing
  // included, means the user has not been asked yet. Stored as "1" or "0".
  Association AssociateFileTypes() const;
  void SetAssociateFileTypes(bool associate);
  // As above; "ask at the next start" is stored as the empty text.
  void SetAssociateFileTypes(Association association);

  // "Recent"/"File1".."File8": the missions opened last, most recent first.
  // Empty keys are skipped; a list shorter than eight leaves the keys after
  // it empty.
  std::vector<Text> RecentMissions() const;
  void SetRecentMissions(const std::vector<Text>& paths);

 private:
  Text Read(TextView section, TextView key) const;
  void Write(TextView section, TextView key, TextView value);

  Text directory_;
};

// The rules that turn a stored text into a value, as pure functions.

// "TreeView": the numeric value of the text as a 16-bit integer; anything
// but 0 and 1 (a missing key, a value out of range) counts as 0.
int TreeViewFromSetting(TextView value);

// "LeftCodeWindow", "RightCodeWindow": only the exact text "0" switches the
// window off.
bool CodeHiddenFromSetting(TextView value);

// "AssociateFileTypes".
Association AssociationFromSetting(TextView value);

// "TreeWidth", "ListHeight": a whole number of twips from 1 to 1,000,000,
// written with digits only; anything else is nothing.
std::optional<double> TwipsFromSetting(TextView value);

// "Columns": whole numbers of twips (0 to 1,000,000) separated by commas,
// blanks around them allowed; anything else reads as no widths at all.
std::vector<int> ColumnWidthsFromSetting(TextView value);
Text ColumnWidthsSetting(const std::vector<int>& twips);

// "ModernOperators": only the exact text "1" switches it on.
bool ModernOperatorsFromSetting(TextView value);

// "EventFlowMode" and "EventFlowSteps".
views::FlowChoice FlowChoiceFromSetting(TextView value);
TextView FlowChoiceSetting(views::FlowChoice choice);
inline constexpr int kDefaultFlowSteps = 2;
inline constexpr int kMaxFlowSteps = 9;
int FlowStepsFromSetting(TextView value);

}  // namespace ui
