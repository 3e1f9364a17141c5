// The controls that hold lists: combo and list boxes, the grid, menus; and
// the image.
#include <algorithm>

#include "platform/Dispatcher.h"
#include "platform/Services.h"
#include "platform/Widgets.h"

namespace hk {

namespace {
int IndexIn(int index, std::size_t count) {
  return index >= 0 && static_cast<std::size_t>(index) < count ? index : -1;
}
}  // namespace

// ComboBox --------------------------------------------------------------

ComboBox::ComboBox(Control* parent) : Control(parent) { setColour(kColourWindow); }

void ComboBox::setItems(std::vector<std::string> items) {
  const bool hadSelection = itemIndex_ != -1;
  itemIndex_ = -1;
  if (items != items_) {
    items_ = std::move(items);
    notify(Change::Items);
  }
  if (hadSelection) notify(Change::Selection);
}

void ComboBox::addItem(std::string item) {
  items_.push_back(std::move(item));
  notify(Change::Items);
}

void ComboBox::setItemIndex(int index) {
  index = IndexIn(index, items_.size());
  if (index == itemIndex_) return;
  itemIndex_ = index;
  notify(Change::Selection);
}

void ComboBox::selectItem(int index) {
  if (!enabled()) return;
  setItemIndex(index);
  Fire(OnChange);
}

// ListBox ---------------------------------------------------------------

ListBox::ListBox(Control* parent) : Control(parent) { setColour(kColourWindow); }

void ListBox::clear() {
  if (items_.empty() && itemIndex_ == -1) return;
  items_.clear();
  itemIndex_ = -1;
  notify(Change::Items);
}

void ListBox::addItem(std::string item) {
  items_.push_back(std::move(item));
  notify(Change::Items);
}

void ListBox::setItemIndex(int index) {
  index = IndexIn(index, items_.size());
  if (index == itemIndex_) return;
  itemIndex_ = index;
  notify(Change::Selection);
}

void ListBox::selectItem(int index) {
  if (!enabled()) return;
  setItemIndex(index);
  Fire(OnClick);
}

// StringGrid ------------------------------------------------------------

namespace {
constexpr int kDefaultColWidth = 64;
constexpr int kGridLine = 1;
// A grid keeps its fixed row and column and at least one cell beside them.
constexpr int kMinimumCount = 2;

// Where a cell starts along one axis: the fixed one first, then the
// scrolled ones from `first` on, each followed by its grid line. -1 for
// a cell scrolled out of view.
int CellStart(int index, int first, int fixedExtent, const std::function<int(int)>& extent) {
  if (index == 0) return 0;
  if (index < first) return -1;
  int start = fixedExtent + kGridLine;
  for (int i = first; i < index; ++i) start += extent(i) + kGridLine;
  return start;
}

// The inverse: the cell whose extent (with its line) holds the coordinate.
int CellAt(int coordinate, int first, int count, const std::function<int(int)>& extent) {
  if (coordinate < 0) return -1;
  int end = extent(0) + kGridLine;
  if (coordinate < end) return 0;
  for (int i = first; i < count; ++i) {
    end += extent(i) + kGridLine;
    if (coordinate < end) return i;
  }
  return -1;
}
}  // namespace

StringGrid::StringGrid(Control* parent)
    : Control(parent),
      colWidths_(kMinimumCount, kDefaultColWidth),
      cells_(rowCount_, std::vector<std::string>(kMinimumCount)) {
  setColour(kColourWindow);
}

void StringGrid::setColCount(int count) {
  count = std::max(count, kMinimumCount);
  if (count == colCount()) return;
  colWidths_.resize(count, kDefaultColWidth);
  for (auto& row : cells_) row.resize(count);
  leftCol_ = std::min(leftCol_, count - 1);
  notify(Change::Cells);
  if (col_ >= count) select(count - 1, row_);
}

void StringGrid::setRowCount(int count) {
  count = std::max(count, kMinimumCount);
  if (count == rowCount_) return;
  rowCount_ = count;
  cells_.resize(count, std::vector<std::string>(colWidths_.size()));
  topRow_ = std::min(topRow_, count - 1);
  notify(Change::Cells);
  if (row_ >= count) select(col_, count - 1);
}

int StringGrid::colWidth(int col) const {
  return IndexIn(col, colWidths_.size()) < 0 ? 0 : colWidths_[col];
}

void StringGrid::setColWidth(int col, int width) {
  if (IndexIn(col, colWidths_.size()) < 0) return;
  width = std::max(width, 0);
  if (colWidths_[col] == width) return;
  colWidths_[col] = width;
  notify(Change::Cells);
}

void StringGrid::setDefaultRowHeight(int height) {
  height = std::max(height, 0);
  if (height == defaultRowHeight_) return;
  defaultRowHeight_ = height;
  notify(Change::Cells);
}

void StringGrid::setFixedColour(Colour colour) {
  if (colour == fixedColour_) return;
  fixedColour_ = colour;
  notify(Change::Repaint);
}

const std::string& StringGrid::cell(int col, int row) const {
  static const std::string kNone;
  if (IndexIn(row, cells_.size()) < 0 || IndexIn(col, colWidths_.size()) < 0) return kNone;
  return cells_[row][col];
}

void StringGrid::setCell(int col, int row, std::string text) {
  // Cells outside the grid are not kept.
  if (IndexIn(row, cells_.size()) < 0 || IndexIn(col, colWidths_.size()) < 0) return;
  if (cells_[row][col] == text) return;
  cells_[row][col] = std::move(text);
  notify(Change::Cells);
}

void StringGrid::scrolled(int topRow, int leftCol) {
  topRow = std::clamp(topRow, 1, rowCount_ - 1);
  leftCol = std::clamp(leftCol, 1, colCount() - 1);
  if (topRow == topRow_ && leftCol == leftCol_) return;
  topRow_ = topRow;
  leftCol_ = leftCol;
  notify(Change::Repaint);
}

void StringGrid::select(int col, int row) {
  // Only the scrolling cells can be selected.
  if (col < 1 || col >= colCount() || row < 1 || row >= rowCount_) return;
  if (col == col_ && row == row_) return;
  col_ = col;
  row_ = row;
  notify(Change::Selection);
}

Rect StringGrid::cellRect(int col, int row) const {
  if (IndexIn(col, colWidths_.size()) < 0 || IndexIn(row, cells_.size()) < 0) return {};
  const auto width = [this](int c) { return colWidths_[c]; };
  const auto height = [this](int) { return defaultRowHeight_; };
  const int left = CellStart(col, leftCol_, colWidths_[0], width);
  const int top = CellStart(row, topRow_, defaultRowHeight_, height);
  if (left < 0 || top < 0) return {};
  return {left, top, colWidths_[col], defaultRowHeight_};
}

void StringGrid::mouseToCell(int x, int y, int& col, int& row) const {
  col = CellAt(x, leftCol_, colCount(), [this](int c) { return colWidths_[c]; });
  row = CellAt(y, topRow_, rowCount_, [this](int) { return defaultRowHeight_; });
}

void StringGrid::drawCell(int col, int row, Canvas& canvas) {
  const Rect rect = cellRect(col, row);
  if (rect.width == 0 && rect.height == 0) return;
  GridCellState state;
  state.fixed = col == 0 || row == 0;
  state.selected = state.focused = col == col_ && row == row_;
  if (OnDrawCell) {
    Fire(OnDrawCell, col, row, rect, state, canvas);
    return;
  }
  // Without a handler: the background and the text, a little inset.
  canvas.setBrush(state.fixed ? fixedColour_ : colour());
  canvas.fillRect(rect);
  canvas.setFont(font());
  const Rect inner{rect.left + 2, rect.top, std::max(0, rect.width - 2), rect.height};
  canvas.drawText(cell(col, row), inner, kDtLeft | kDtVCenter | kDtSingleLine);
}

// Image -----------------------------------------------------------------

Image::Image(Control* parent) : Control(parent) {}

void Image::setPicture(const Picture& picture) {
  if (picture == picture_) return;
  picture_ = picture;
  notify(Change::Glyph);
}

void Image::setStretch(bool stretch) {
  if (stretch == stretch_) return;
  stretch_ = stretch;
  notify(Change::Repaint);
}

// Menus -----------------------------------------------------------------

MenuItem::MenuItem(std::string caption, std::function<void()> onClick)
    : OnClick(std::move(onClick)), caption_(std::move(caption)) {}

void MenuItem::click() {
  if (!enabled_ || separator()) return;
  Fire(OnClick);
}

PopupMenu::PopupMenu(Services& services) : services_(services) {}

MenuItem& PopupMenu::add(std::string caption, std::function<void()> onClick) {
  items_.push_back(std::make_unique<MenuItem>(std::move(caption), std::move(onClick)));
  return *items_.back();
}

void PopupMenu::popup(Form& owner, Point screen) {
  const int chosen = IndexIn(services_.trackPopupMenu(owner, *this, screen), items_.size());
  if (chosen >= 0) items_[chosen]->click();
}

}  // namespace hk
