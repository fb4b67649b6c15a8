#include "ui/rules/history.h"

namespace ui {

namespace {

void PushLimited(std::deque<views::Location>& places, const views::Location& place) {
  places.push_back(place);
  if (places.size() > NavigationHistory::kLimit) places.pop_front();
}

}  // namespace

bool SamePlace(const views::Location& a, const views::Location& b) {
  return a.mode == b.mode && a.row == b.row && a.file == b.file;
}

void NavigationHistory::Jumped(const views::Location& from, const views::Location& to) {
  if (SamePlace(from, to)) return;
  PushLimited(back_, from);
  forward_.clear();
}

std::optional<views::Location> NavigationHistory::Step(std::deque<views::Location>& from,
                                                       std::deque<views::Location>& to, const views::Location& here) {
  while (!from.empty() && SamePlace(from.back(), here)) from.pop_back();
  if (from.empty()) return std::nullopt;
  const views::Location there = from.back();
  from.pop_back();
  PushLimited(to, here);
  return there;
}

std::optional<views::Location> NavigationHistory::Back(const views::Location& here) {
  return Step(back_, forward_, here);
}

std::optional<views::Location> NavigationHistory::Forward(const views::Location& here) {
  return Step(forward_, back_, here);
}

void NavigationHistory::Clear() {
  back_.clear();
  forward_.clear();
}

}  // namespace ui
