// The window's decisions about which mission file to open, kept apart from
// the window: the list of recent missions, the file taken from a drop, the
// folder an open dialog starts in, and the status texts of a reload.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "base/text.h"

namespace ui {

using mission::Text;
using mission::TextView;

// File > "Recent Missions" holds this many files.
constexpr std::size_t kRecentCount = 8;

// The recent list after `path` was opened: `path` first, then the others in
// their order without it, at most kRecentCount.
std::vector<Text> RecentWithFirst(std::span<const Text> recent, TextView path);
// The recent list without `path`.
std::vector<Text> RecentWithout(std::span<const Text> recent, TextView path);

// The menu captions of the recent list: «&1 name.fs2», numbered from 1 (the
// number the access key); a name that two entries share gets its folder
// added, «&2 name.fs2 (/missions/old)». A "&" of a name shows as itself.
std::vector<Text> RecentCaptions(std::span<const Text> recent);

// Whether a path names a mission file: it ends in ".fs2" or ".fsm" (or is
// a campaign, ".fc2" or ".fsc"), in any
// case of the letters.
bool IsMissionFileName(TextView path);

// The file a drop of `paths` opens: the first mission file among them.
std::optional<Text> DroppedMission(std::span<const Text> paths);

// The folder an open dialog starts in: the folder it remembers while that
// still exists; otherwise the folder of the mission shown (when one is
// shown); otherwise the remembered one after all, and the dialog makes of it
// what it can.
Text OpenDialogFolder(TextView remembered, bool rememberedExists, TextView shownMission);

// The status bar after a reload: «Reloaded name.fs2», and for one that
// failed, with the mission shown kept, «Could not reload name.fs2: reason».
Text ReloadedText(TextView path);
Text ReloadFailedText(TextView path, TextView reason);

}  // namespace ui
