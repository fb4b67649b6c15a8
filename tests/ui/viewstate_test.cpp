#include "ui/rules/viewstate.h"

#include <gtest/gtest.h>

#include "views/modes.h"

namespace ui {
namespace {

using views::ColumnSort;
using enum views::SortOrder;

TEST(ViewState, EachViewKeepsItsOwnSort) {
  ViewSorts sorts;
  EXPECT_EQ(sorts.Of(views::kModeEvents), ColumnSort{});  // never sorted: file order
  EXPECT_EQ(sorts.Click(views::kModeEvents, 2), (ColumnSort{2, kAscending}));
  // Column 2 of Ships is another column: it starts ascending, and Events
  // keeps its own.
  EXPECT_EQ(sorts.Click(views::kModeShips, 2), (ColumnSort{2, kAscending}));
  EXPECT_EQ(sorts.Click(views::kModeEvents, 2), (ColumnSort{2, kDescending}));
  EXPECT_EQ(sorts.Of(views::kModeShips), (ColumnSort{2, kAscending}));
  EXPECT_EQ(sorts.Click(views::kModeEvents, 2), (ColumnSort{2, kNone}));
  EXPECT_EQ(sorts.Of(views::kModeEvents), (ColumnSort{2, kNone}));
  EXPECT_EQ(sorts.Click(views::kModeShips, 0), (ColumnSort{0, kAscending}));
  // Any number of views.
  EXPECT_EQ(sorts.Click(13, 1), (ColumnSort{1, kAscending}));
  EXPECT_EQ(sorts.Of(12), ColumnSort{});
}

views::ListData Names(std::initializer_list<const char16_t*> names) {
  views::ListData list;
  list.columns = {{u"Name", 2000}};
  for (const char16_t* name : names) list.rows.push_back({{name}, u""});
  return list;
}

TEST(ViewState, EachViewReturnsToTheRowItWasLeftAt) {
  const views::ListData events = Names({u"Intro", u"Picket down", u"Waiting", u"Broken brackets"});
  ViewPlaces places;
  EXPECT_EQ(places.Return(views::kModeEvents, events), std::nullopt);  // never left
  places.Leave(views::kModeEvents, 2, u"Waiting");
  places.Leave(views::kModeShips, 0, u"Alpha 1");
  EXPECT_EQ(places.Return(views::kModeEvents, events), 2u);
  places.Leave(views::kModeEvents, 1, u"Picket down");  // left again, elsewhere
  EXPECT_EQ(places.Return(views::kModeEvents, events), 1u);

  // The mission read again: found by its first cell, else at its position.
  EXPECT_EQ(places.Return(views::kModeEvents, Names({u"New", u"Intro", u"Waiting", u"Picket down"})), 3u);
  EXPECT_EQ(places.Return(views::kModeEvents, Names({u"One", u"Two", u"Three"})), 1u);
  EXPECT_EQ(places.Return(views::kModeEvents, Names({u"One"})), 0u);  // shorter: the last row
  EXPECT_EQ(places.Return(views::kModeEvents, Names({})), std::nullopt);

  places.Forget();  // another mission
  EXPECT_EQ(places.Return(views::kModeEvents, events), std::nullopt);
  EXPECT_EQ(places.Return(views::kModeShips, Names({u"Alpha 1"})), std::nullopt);
}

TEST(ViewState, ALoadShowsTheViewShownWhenTheMissionHasItsRows) {
  const struct {
    int shown;
    bool shownHasRows;
    int after;
  } cases[] = {
      {0, false, views::kModeGeneral},  // the first load
      {views::kModeEvents, true, views::kModeEvents},
      {views::kModeEvents, false, views::kModeGeneral},  // the new mission has no events
      {views::kModeGeneral, false, views::kModeGeneral},
      {views::kModeReinforcements, true, views::kModeReinforcements},
  };
  for (const auto& c : cases) EXPECT_EQ(ViewAfterLoad(c.shown, c.shownHasRows), c.after) << c.shown;
}

}  // namespace
}  // namespace ui
