#include "ui/rules/history.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

views::Location At(int mode, std::size_t row) { return {mode, row, 0, 0}; }

// Each step as «mode,row», or «-» when there is nowhere to go.
std::string Went(const std::optional<views::Location>& place) {
  return place ? std::to_string(place->mode) + "," + std::to_string(place->row) : "-";
}

TEST(NavigationHistory, BackAndForwardLikeABrowser) {
  NavigationHistory history;
  EXPECT_FALSE(history.CanGoBack());
  EXPECT_EQ(Went(history.Back(At(4, 1))), "-");
  history.Jumped(At(4, 1), At(6, 7));   // Events row 1 -> Ships row 7
  history.Jumped(At(6, 7), At(5, 2));   // -> Messages row 2
  EXPECT_TRUE(history.CanGoBack());
  EXPECT_FALSE(history.CanGoForward());
  EXPECT_EQ(Went(history.Back(At(5, 2))), "6,7");
  EXPECT_EQ(Went(history.Back(At(6, 7))), "4,1");
  EXPECT_EQ(Went(history.Back(At(4, 1))), "-");
  EXPECT_EQ(Went(history.Forward(At(4, 1))), "6,7");
  EXPECT_EQ(Went(history.Forward(At(6, 7))), "5,2");
  EXPECT_EQ(Went(history.Forward(At(5, 2))), "-");
  // A new jump after going back forgets the places ahead.
  EXPECT_EQ(Went(history.Back(At(5, 2))), "6,7");
  history.Jumped(At(6, 7), At(7, 1));
  EXPECT_FALSE(history.CanGoForward());
  EXPECT_EQ(Went(history.Back(At(7, 1))), "6,7");
}

TEST(NavigationHistory, TheUserMayHaveMovedOnSinceTheJump) {
  NavigationHistory history;
  history.Jumped(At(4, 1), At(6, 7));
  // Back from wherever the user is now returns to the jump's start, and
  // Forward comes back to where Back was pressed.
  EXPECT_EQ(Went(history.Back(At(2, 3))), "4,1");
  EXPECT_EQ(Went(history.Forward(At(4, 1))), "2,3");
  // A jump to the same place is none; the place Back would return to is
  // passed over when the user stands on it already.
  history.Jumped(At(2, 3), At(2, 3));
  EXPECT_EQ(Went(history.Back(At(4, 1))), "-");
  // Only the view and the row make a place.
  history.Jumped({4, 1, 4, 3}, {4, 1, 4, 9});
  EXPECT_FALSE(history.CanGoBack());
}

TEST(NavigationHistory, KeepsTheLatestPlacesAndForgetsOnClear) {
  NavigationHistory history;
  for (std::size_t i = 1; i <= NavigationHistory::kLimit + 20; ++i) history.Jumped(At(6, i), At(6, i + 1));
  std::size_t steps = 0;
  views::Location here = At(6, NavigationHistory::kLimit + 21);
  while (const auto back = history.Back(here)) {
    here = *back;
    ++steps;
  }
  EXPECT_EQ(steps, NavigationHistory::kLimit);
  EXPECT_EQ(here.row, 21u);  // the oldest kept
  EXPECT_TRUE(history.CanGoForward());
  history.Clear();
  EXPECT_FALSE(history.CanGoBack());
  EXPECT_FALSE(history.CanGoForward());
}

}  // namespace
}  // namespace ui
