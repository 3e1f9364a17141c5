#include "data/Selection.h"

#include <gtest/gtest.h>

namespace hk {
namespace {

TEST(Selection, PagesShowTwelveCategoriesAndUnknownPagesArePage3) {
  struct Case {
    std::int32_t page, first, last;
  };
  const Case cases[] = {{1, 1, 12},  {2, 13, 24}, {3, 25, 36},
                        {0, 25, 36}, {4, 25, 36}, {-1, 25, 36}};
  for (const Case& c : cases) {
    SelectionState state;
    state.choosePageRange(c.page);
    EXPECT_EQ(state.PageFirst, c.first) << c.page;
    EXPECT_EQ(state.PageLast, c.last) << c.page;
  }
}

TEST(Selection, ButtonPositionsFollowTheScreen) {
  EXPECT_EQ(CategoryAtPosition(13, 1), 13);
  EXPECT_EQ(CategoryAtPosition(25, 12), 36);
  EXPECT_EQ(PositionOfCategory(25, 31), 7);
  struct Case {
    int position, button, left, top;
  };
  const Case cases[] = {
      {1, 5, 8, 48}, {6, 10, 328, 48}, {7, 16, 8, 102}, {8, 15, 72, 102}, {12, 11, 328, 102}};
  for (const Case& c : cases) {
    EXPECT_EQ(CategoryButtonNumber(c.position), c.button);
    EXPECT_EQ(CategoryButtonOrigin(c.position).left, c.left);
    EXPECT_EQ(CategoryButtonOrigin(c.position).top, c.top);
  }
  EXPECT_THROW(CategoryButtonNumber(13), std::out_of_range);
}

TEST(Selection, StartsWithNothingSelected) {
  const SelectionState state;
  EXPECT_EQ(state.FromUnit, -1);
  EXPECT_EQ(state.ToUnit, -1);
  EXPECT_TRUE(state.AutoClip);
  EXPECT_FALSE(state.RatesChanged);
}

}  // namespace
}  // namespace hk
