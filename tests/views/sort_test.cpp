#include "views/sort.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "base/utf8.h"

namespace views {
namespace {

using ::testing::ElementsAre;

TEST(SortTest, CellsThatReadAsNumbers) {
  const struct {
    const char16_t* cell;
    std::optional<double> number;
  } cases[] = {
      {u"0", 0},          {u" 0", 0},        {u"12", 12},       {u"-1", -1},     {u"+3", 3},
      {u"2.5", 2.5},      {u".5", 0.5},      {u"5.", 5},        {u"  7  ", 7},   {u"\t8", 8},
      {u"007", 7},        {u"-0", 0},
      // Not numbers: the column then sorts by text.
      {u"", std::nullopt}, {u"  ", std::nullopt}, {u"-", std::nullopt},  {u".", std::nullopt},
      {u"1,5", std::nullopt}, {u"1.2.3", std::nullopt}, {u"1e5", std::nullopt}, {u"12a", std::nullopt},
      {u"- 1", std::nullopt}, {u"+-1", std::nullopt}, {u"1 2", std::nullopt}, {u"0x10", std::nullopt},
      {u"inf", std::nullopt}, {u"nan", std::nullopt}, {u"\uFF11", std::nullopt},  // a full-width digit
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(mission::ToUtf8(c.cell));
    EXPECT_EQ(CellNumber(c.cell), c.number);
  }
  // Hundreds of digits: beyond every double, or next to nothing.
  const Text huge = u"9" + Text(400, u'9');
  EXPECT_EQ(CellNumber(huge), std::numeric_limits<double>::max());
  EXPECT_EQ(CellNumber(u"-" + huge), -std::numeric_limits<double>::max());
  EXPECT_EQ(CellNumber(u"0." + Text(400, u'0') + u"1"), 0.0);
}

ListData Column(std::initializer_list<const char16_t*> cells) {
  ListData list;
  list.columns = {{u"Name", 1000}, {u"Waves", 700}};
  for (const char16_t* cell : cells) list.rows.push_back({{u"x", cell}, u""});
  return list;
}

TEST(SortTest, ColumnsOfNumbersSortByValueWithBlanksFirst) {
  const double blank = -std::numeric_limits<double>::infinity();
  EXPECT_THAT(*NumericSortKeys(Column({u"10", u"-1", u" 0", u"", u"2", u"  "}), 1),
              ElementsAre(10, -1, 0, blank, 2, blank));
  // A row shorter than the list (never written by a filler) counts as blank.
  ListData shortRow = Column({u"3"});
  shortRow.rows.push_back({{u"y"}, u""});
  EXPECT_THAT(*NumericSortKeys(shortRow, 1), ElementsAre(3, blank));

  // Text columns: one cell that is no number is enough; blanks only, or no
  // rows at all, give nothing to sort by value either.
  EXPECT_EQ(NumericSortKeys(Column({u"1", u"2", u"two"}), 1), std::nullopt);
  EXPECT_EQ(NumericSortKeys(Column({u"1", u"2"}), 0), std::nullopt);
  EXPECT_EQ(NumericSortKeys(Column({u"", u" "}), 1), std::nullopt);
  EXPECT_EQ(NumericSortKeys(Column({}), 1), std::nullopt);
  EXPECT_EQ(NumericSortKeys(Column({u"1"}), 5), std::nullopt);
}

struct TextPair {
  const char16_t* first;
  const char16_t* second;
};

// Natural order: each pair is strictly ordered, the first before the second,
// and never the other way round.
TEST(SortTest, NaturalOrderOfTexts) {
  const TextPair cases[] = {
      // Digits by value, whatever their length.
      {u"Alpha 2", u"Alpha 10"},
      {u"Actium 106", u"Actium 1048"},
      {u"Alpha 9", u"Alpha 10"},
      {u"Ship 4294967295", u"Ship 4294967296"},  // 2^32 - 1 and 2^32
      {u"Ship 4294967296", u"Ship 4294967297"},
      {u"Ship 18446744073709551615", u"Ship 18446744073709551616"},  // past 2^64
      {u"Ship 99999999999999999999", u"Ship 100000000000000000000"},
      {u"007", u"10"},
      {u"a1b2", u"a1b10"},
      {u"a1", u"a1b"},
      {u"x", u"x1"},
      {u"1 Alpha", u"Alpha"},  // digits before letters
      {u"Alpha", u"Alpha 0"},
      {u"2.5", u"2.10"},  // a point parts two numbers
      // Case and accents do not count.
      {u"alpha", u"Beta"},
      {u"Echo", u"Éclair"},
      {u"Éclair", u"Eden"},
      {u"Zulu", u"zz"},
      {u"Ölfeld", u"Paris"},
      {u"naïve", u"nazi"},
      {u"Straße", u"Strasz"},  // ß reads ss
      {u"Æther", u"Afar"},
      {u"Łódź", u"Lyon"},
      {u"Šamac", u"Tango"},
      {u"Ωmega", u"ωz"},  // Greek by its small letters
      {u"Ёлка", u"Жук"},   // Cyrillic: Ё with е, before ж
      // Other characters by their code, a pair beyond the first plane as its
      // whole character.
      {u"a-b", u"a_b"},
      {u"\uFFFD", u"\U00010400"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(mission::ToUtf8(c.first) + " < " + mission::ToUtf8(c.second));
    EXPECT_TRUE(NaturalLess(c.first, c.second));
    EXPECT_FALSE(NaturalLess(c.second, c.first));
  }
  // Texts that differ in case, accents or leading zeros only sort as one.
  const TextPair same[] = {
      {u"alpha 1", u"ALPHA 1"}, {u"Élan", u"elan"}, {u"Alpha 01", u"Alpha 1"}, {u"ship 0", u"ship 000"},
      {u"STRASSE", u"straße"},  {u"ΣΟΦΙΑ", u"σοφια"}, {u"\uFF21", u"\uFF41"},
  };
  for (const auto& c : same) {
    SCOPED_TRACE(mission::ToUtf8(c.first) + " = " + mission::ToUtf8(c.second));
    EXPECT_EQ(NaturalKey(c.first), NaturalKey(c.second));
  }
}

TEST(SortTest, HeaderClicksCycleAscendingDescendingAndFileOrder) {
  using enum SortOrder;
  const struct {
    ColumnSort now;
    int clicked;
    ColumnSort next;
  } cases[] = {
      {{}, 2, {2, kAscending}},
      {{2, kAscending}, 2, {2, kDescending}},
      {{2, kDescending}, 2, {2, kNone}},
      {{2, kNone}, 2, {2, kAscending}},
      {{2, kDescending}, 0, {0, kAscending}},  // another column starts ascending
      {{2, kAscending}, 1, {1, kAscending}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.clicked);
    EXPECT_EQ(NextSort(c.now, c.clicked), c.next);
  }
}

TEST(SortTest, RowsSortedEitherWayKeepEqualRowsInFileOrder) {
  using enum SortOrder;
  ListData list;
  list.columns = {{u"Name", 1000}, {u"Waves", 700}};
  const char16_t* rows[][2] = {
      {u"Alpha 10", u"3"}, {u"alpha 2", u""}, {u"Beta", u"-1"}, {u"ALPHA 2", u"3"}, {u"Alpha 9", u"10"},
  };
  for (const auto& r : rows) list.rows.push_back({{r[0], r[1]}, u""});
  const struct {
    ColumnSort sort;
    std::vector<int> order;
  } cases[] = {
      {{0, kAscending}, {1, 3, 4, 0, 2}},   // alpha 2, ALPHA 2, Alpha 9, Alpha 10, Beta
      {{0, kDescending}, {2, 0, 4, 1, 3}},  // the two «alpha 2» still in file order
      {{1, kAscending}, {1, 2, 0, 3, 4}},   // by value, the blank first
      {{1, kDescending}, {4, 0, 3, 2, 1}},
      {{0, kNone}, {0, 1, 2, 3, 4}},
      {{}, {0, 1, 2, 3, 4}},
      {{2, kAscending}, {0, 1, 2, 3, 4}},  // no such column
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.sort.column) + "/" + std::to_string(static_cast<int>(c.sort.order)));
    EXPECT_EQ(SortedRows(list, c.sort), c.order);
  }
}

}  // namespace
}  // namespace views
