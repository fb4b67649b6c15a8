#include "applib/position.h"

#include <algorithm>
#include <cmath>

#include "applib/ini.h"

namespace applib {

using mission::Decimal;

namespace {

// Stored numbers are limited before any arithmetic, so that no value in the
// file can overflow the sums below.
constexpr double kLimit = 1e9;

long long Field(const mission::CommaFields& fields, std::size_t index) {
  return std::llround(std::clamp(mission::NumericValue(fields[index]), -kLimit, kLimit));
}

}  // namespace

std::optional<Placement> PlacementFromText(TextView value, long long screen_width, long long screen_height) {
  if (!mission::IsGiven(value)) return std::nullopt;
  mission::CommaFields fields;
  mission::SplitCommas(value, fields);
  Placement p;
  p.left = Field(fields, 1);
  p.top = Field(fields, 2);
  p.width = Field(fields, 3);
  p.height = Field(fields, 4);
  if (p.left > screen_width) p.left = 0;
  if (p.top > screen_height) p.top = 0;
  if (p.left + p.width > screen_width) p.width = screen_width - p.left;
  if (p.top + p.height > screen_height) p.height = screen_height - p.top;
  p.width = std::max(p.width, 100LL);
  p.height = std::max(p.height, 100LL);
  const long long state = Field(fields, 0);
  p.state = state >= kWindowNormal && state <= kWindowMaximised ? static_cast<int>(state) : kWindowNormal;
  return p;
}

Text PlacementText(const Placement& p) {
  return Decimal(p.state) + u"," + Decimal(p.left) + u"," + Decimal(p.top) + u"," + Decimal(p.width) + u"," +
         Decimal(p.height);
}

double TwipsPerPixel(double dots_per_inch) { return dots_per_inch > 0 ? 1440.0 / dots_per_inch : 15.0; }

std::optional<Placement> RestorePosition(const Library& lib, TextView key, long long screen_width,
                                         long long screen_height) {
  return PlacementFromText(IniRead(lib.ad_brix, kBrixIni, u"Positions", key), screen_width, screen_height);
}

void SavePosition(const Library& lib, TextView key, const Placement& placement) {
  IniWrite(lib.ad_brix, kBrixIni, u"Positions", key, PlacementText(placement));
}

}  // namespace applib
