#include "base/text.h"

#include <gtest/gtest.h>

namespace mission {
namespace {

TEST(TextTest, DropRight) {
  struct Case {
    Text in;
    std::size_t count;
    Text right;
  };
  const Case cases[] = {
      {u"abc", 3, u""}, {u"abc", 7, u""}, {u"abc", 0, u"abc"}, {u"", 1, u""}, {u"abc", 1, u"ab"}, {u"ab", 2, u""},
  };
  for (const Case& c : cases) {
    Text right = c.in;
    DropRight(right, c.count);
    EXPECT_EQ(right, c.right) << ToUtf8(c.in) << " by " << c.count;
  }
}

TEST(TextTest, TrimBlankStripsSpacesAndNulsOnly) {
  const std::pair<Text, Text> cases[] = {
      {u"  a b ", u"a b"},
      {Text(u"  \0 \0", 5), u""},
      {u"\ta ", u"\ta"},
      {u"", u""},
      {Text(u"\0x\0", 3), u"x"},
  };
  for (const auto& [in, want] : cases) {
    Text t = in;
    TrimBlank(t);
    EXPECT_EQ(t, want);
    EXPECT_EQ(TrimBlankView(in), want);
  }
}

TEST(TextTest, SplitCommas) {
  CommaFields f;
  SplitCommas(u"2, 7", f);
  EXPECT_EQ(f[0], u"2");
  EXPECT_EQ(f[1], u"7");
  for (std::size_t i = 2; i < 16; ++i) EXPECT_EQ(f[i], u"");

  SplitCommas(u"", f);
  for (const auto& field : f) EXPECT_EQ(field, u"");

  SplitCommas(u"a,", f);
  EXPECT_EQ(f[0], u"a");
  EXPECT_EQ(f[1], u"");

  Text twenty;
  for (int i = 0; i < 21; ++i) twenty += (i ? u"," : u"") + Decimal(i);
  SplitCommas(twenty, f);
  for (std::size_t i = 0; i < 15; ++i) EXPECT_EQ(f[i], Decimal(static_cast<long long>(i)));
  EXPECT_EQ(f[15], u"15,16,17,18,19,20");
}

TEST(TextTest, IsGiven) {
  const std::pair<Text, bool> cases[] = {
      {u"  n/a ", false}, {u"", false}, {u"   ", false}, {u"N/A", true}, {u"0", true}, {u"n/a!", true},
  };
  for (const auto& [in, want] : cases) EXPECT_EQ(IsGiven(in), want) << ToUtf8(in);
}

TEST(TextTest, LowerAsciiTouchesOnlyAToZ) {
  EXPECT_EQ(LowerAscii(u"Mission Info"), u"mission info");
  EXPECT_EQ(LowerAscii(u"ÄB"), u"Äb");
  EXPECT_EQ(LowerAscii(u"[@Z`"), u"[@z`");
}

TEST(TextTest, ReplaceFirstOneAtATime) {
  Text t = u"a\tb\tc";
  EXPECT_TRUE(ReplaceFirst(t, u"\t", u""));
  EXPECT_EQ(t, u"ab\tc");
  EXPECT_TRUE(ReplaceFirst(t, u"\t", u""));
  EXPECT_EQ(t, u"abc");
  EXPECT_FALSE(ReplaceFirst(t, u"\t", u""));
  EXPECT_EQ(t, u"abc");
  EXPECT_FALSE(ReplaceFirst(t, u"", u"x"));
  EXPECT_EQ(t, u"abc");
}

TEST(TextTest, NumericValue) {
  const std::pair<Text, double> cases[] = {
      {u"0", 0},   {u"0.0", 0},  {u"5", 5},     {u"  12abc", 12}, {u"1.0", 1},   {u"-3", -3},
      {u"+4", 4},  {u"abc", 0},  {u"", 0},      {u"2e3", 2000},   {u"2e", 2},    {u".5", 0.5},
      {u".", 0},   {u"-", 0},    {u"1 2", 1},   {u"\"5\"", 0},
  };
  for (const auto& [in, want] : cases) EXPECT_DOUBLE_EQ(NumericValue(in), want) << ToUtf8(in);
}

}  // namespace
}  // namespace mission
