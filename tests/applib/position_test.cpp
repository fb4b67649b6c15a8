#include "applib/position.h"

#include <gtest/gtest.h>

#include "applib/ini.h"
#include "tests/applib/suite_fixture.h"

namespace applib {
namespace {

using mission::ToUtf8;

constexpr long long kScreenWidth = 19200;
constexpr long long kScreenHeight = 14400;

TEST(PositionTest, RestoreClampsToTheScreen) {
  struct Case {
    Text value;
    std::optional<Placement> want;
  };
  const Case cases[] = {
      {u"0,1200,900,9600,7200", Placement{0, 1200, 900, 9600, 7200}},
      {u"0,30000,900,9600,7200", Placement{0, 0, 900, 9600, 7200}},
      {u"0,15000,900,9600,7200", Placement{0, 15000, 900, 4200, 7200}},
      {u"0,0,0,50,50", Placement{0, 0, 0, 100, 100}},
      {u"2,1200,900,9600,7200", Placement{2, 1200, 900, 9600, 7200}},
      {u"1,1200,900,9600,7200", Placement{1, 1200, 900, 9600, 7200}},
      {u"0,19200,14400,500,500", Placement{0, 19200, 14400, 100, 100}},  // equal is not beyond
      {u"0,-300,-200,9600,7200", Placement{0, -300, -200, 9600, 7200}},
      {u"0,1200,15000,9600,7200", Placement{0, 1200, 0, 9600, 7200}},
      {u"0,0,0,25000,20000", Placement{0, 0, 0, 19200, 14400}},
      {u" 0 , 1200 , 900 , 9600 , 7200 ", Placement{0, 1200, 900, 9600, 7200}},
      {u"0,1200.6,900,9600,7200", Placement{0, 1201, 900, 9600, 7200}},
      // Bad input: missing and non-numeric fields count as 0.
      {u"abc", Placement{0, 0, 0, 100, 100}},
      {u"2,,,,", Placement{2, 0, 0, 100, 100}},
      {u"2", Placement{2, 0, 0, 100, 100}},
      {u"-5,-5,99999999,1", Placement{0, -5, 0, 100, 100}},
      {u"7,1,2,300,400", Placement{0, 1, 2, 300, 400}},
      {u"0,1e300,1e300,1e300,1e300", Placement{0, 0, 0, 19200, 14400}},
      {u"0,-1e300,-1e300,1e300,1e300", Placement{0, -1000000000, -1000000000, 1000000000, 1000000000}},
      {u"0,99999999999999999999999,0,5,5", Placement{0, 0, 0, 100, 100}},
      {u"", std::nullopt},
      {u"   ", std::nullopt},
      {u"n/a", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlacementFromText(c.value, kScreenWidth, kScreenHeight), c.want) << ToUtf8(c.value);
  }
}

TEST(PositionTest, TextRoundTrip) {
  const Placement p{2, -15, 900, 9600, 7200};
  EXPECT_EQ(PlacementText(p), u"2,-15,900,9600,7200");
  EXPECT_EQ(PlacementFromText(PlacementText(p), kScreenWidth, kScreenHeight), p);
}

TEST(PositionTest, SaveAndRestoreThroughBrixIni) {
  testing::Suite suite;
  ASSERT_EQ(suite.Init(), std::nullopt);
  EXPECT_EQ(RestorePosition(suite.lib, u"TORVEK32", kScreenWidth, kScreenHeight), std::nullopt);
  SavePosition(suite.lib, u"TORVEK32", Placement{2, 1200, 900, 9600, 7200});
  EXPECT_EQ(IniRead(suite.lib.ad_brix, u"brix.ini", u"Positions", u"TORVEK32"), u"2,1200,900,9600,7200");
  EXPECT_EQ(RestorePosition(suite.lib, u"torvek32", kScreenWidth, kScreenHeight),
            (Placement{2, 1200, 900, 9600, 7200}));
  // A smaller screen clamps the same entry.
  EXPECT_EQ(RestorePosition(suite.lib, u"TORVEK32", 9600, 7200), (Placement{2, 1200, 900, 8400, 6300}));
}

TEST(PositionTest, TwipsPerPixel) {
  EXPECT_DOUBLE_EQ(TwipsPerPixel(96), 15.0);
  EXPECT_DOUBLE_EQ(TwipsPerPixel(144), 10.0);
  EXPECT_DOUBLE_EQ(TwipsPerPixel(0), 15.0);
}

}  // namespace
}  // namespace applib
