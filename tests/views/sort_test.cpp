#include "views/sort.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>

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

}  // namespace
}  // namespace views
