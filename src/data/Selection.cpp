#include "data/Selection.h"

#include <stdexcept>

namespace hk {

PageRange PageRangeOf(std::int32_t page) {
  switch (page) {
    case 1:
      return {1, 12};
    case 2:
      return {13, 24};
    default:
      return {25, 36};
  }
}

int CategoryButtonNumber(int position) {
  static constexpr int kNumbers[kCategoriesPerPage] = {5, 6, 7, 8, 9, 10, 16, 15, 14, 13, 12, 11};
  if (position < 1 || position > kCategoriesPerPage) throw std::out_of_range("button position");
  return kNumbers[position - 1];
}

ButtonOrigin CategoryButtonOrigin(int position) {
  if (position < 1 || position > kCategoriesPerPage) throw std::out_of_range("button position");
  const int column = (position - 1) % 6;
  const int row = (position - 1) / 6;
  return {8 + 64 * column, row == 0 ? 48 : 102};
}

void SelectionState::choosePageRange(std::int32_t page) {
  const PageRange range = PageRangeOf(page);
  PageFirst = range.first;
  PageLast = range.last;
}

}  // namespace hk
