// NavigationHistory: where View > "Back" (Alt+Left) and "Forward"
// (Alt+Right) go. Every jump the user makes to another place of the mission
// (a link of a code window followed, a reference or a problem activated)
// remembers the place it left; Back returns there and Forward comes back
// again. As in a web browser, a new jump forgets the places ahead, and
// places are the view and its row. Plain C++, without a window.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>

#include "views/location.h"

namespace ui {

class NavigationHistory {
 public:
  // The oldest places are forgotten beyond this many.
  static constexpr std::size_t kLimit = 100;

  // A jump from `from` to `to`. A jump to the place itself is no jump.
  void Jumped(const views::Location& from, const views::Location& to);

  // Where Back goes from `here`, which Forward then comes back to; nothing
  // when no place lies behind. Places equal to `here` are passed over.
  std::optional<views::Location> Back(const views::Location& here);
  // Where Forward goes from `here`, the other way round.
  std::optional<views::Location> Forward(const views::Location& here);

  bool CanGoBack() const { return !back_.empty(); }
  bool CanGoForward() const { return !forward_.empty(); }

  // Forgets every place (another mission was loaded).
  void Clear();

 private:
  static std::optional<views::Location> Step(std::deque<views::Location>& from, std::deque<views::Location>& to,
                                             const views::Location& here);

  std::deque<views::Location> back_;     // the latest at the back
  std::deque<views::Location> forward_;  // the nearest at the back
};

// Two places are the same when they are the same row of the same view of
// the same file.
bool SamePlace(const views::Location& a, const views::Location& b);

}  // namespace ui
