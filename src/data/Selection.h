#pragma once

#include <cstdint>

namespace hk {

constexpr int kPageCount = 3;
constexpr int kCategoriesPerPage = 12;

// The categories a page shows: page 1 is 1..12, page 2 is 13..24, and any
// other page number is page 3, 25..36.
struct PageRange {
  std::int32_t first;
  std::int32_t last;
};
PageRange PageRangeOf(std::int32_t page);

// Button position k (1..12) of a page shows category first + k - 1; the
// upper row is 1..6 left to right, the lower row 7..12 left to right.
constexpr std::int32_t CategoryAtPosition(std::int32_t pageFirst, int position) {
  return pageFirst + position - 1;
}
constexpr int PositionOfCategory(std::int32_t pageFirst, std::int32_t category) {
  return category - pageFirst + 1;
}

// The number of the SpeedButton at each position: SpeedButton5..10 across the
// upper row, SpeedButton16 down to SpeedButton11 across the lower row.
int CategoryButtonNumber(int position);

// Where the button at a position sits in the main window's client area.
struct ButtonOrigin {
  int left;
  int top;
};
ButtonOrigin CategoryButtonOrigin(int position);

// The main window's selection state.
struct SelectionState {
  std::int32_t CurrentCategory = 1;
  std::int32_t CurrentPage = 1;
  std::int32_t FromUnit = -1;  // 1..9, or -1 when no "from" unit is selected
  std::int32_t ToUnit = -1;
  std::int32_t UnitCount = 0;
  bool AutoClip = true;
  bool RatesChanged = false;
  // The money category whose rates the rate panel holds, 0 while it holds
  // none: RatesChanged speaks of this category's rates only.
  std::int32_t RatesCategory = 0;
  std::int32_t PageFirst = 1;
  std::int32_t PageLast = 12;

  // Sets PageFirst and PageLast for a page.
  void choosePageRange(std::int32_t page);
};

}  // namespace hk
