// The controls that hold lists: combo and list boxes, the grid, menus; and
// the image.
#include <algorithm>
#include <cstdlib>

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

void ListBox::leave() {
  Form* owner = form();
  // No window of the form is asked for the focus: another window has it.
  if (!owner || owner->focused() != this) return;
  owner->setFocused(owner->focusHome());
  if (!owner->focusHome()) Fire(OnExit);
}

// StringGrid ------------------------------------------------------------

namespace {
constexpr int kDefaultColWidth = 64;
constexpr int kGridLine = 1;
// A grid keeps its fixed row and column and at least one cell beside them.
constexpr int kMinimumCount = 2;
// How near a header line the mouse must be to size its column; a sized
// column keeps room for its own line to be taken again.
constexpr int kSizingReach = 2;
constexpr int kMinimumSizedWidth = 2 * kSizingReach + 1;

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

// The scrolling cell nearest to a coordinate in view (up to `limit`): the
// first one over the fixed cell, the last one beyond the end.
int NearestScrolling(int coordinate, int limit, int first, int count,
                     const std::function<int(int)>& extent) {
  const int cell =
      CellAt(limit > 0 ? std::min(coordinate, limit - 1) : coordinate, first, count, extent);
  if (cell > 0) return cell;
  return coordinate < extent(0) + kGridLine ? first : count - 1;
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
  if (sizingCol_ >= count) sizingCol_ = -1;
  notify(Change::Cells);
  if (col_ >= count || anchorCol_ >= count) {
    anchorCol_ = std::min(anchorCol_, count - 1);
    col_ = std::min(col_, count - 1);
    notify(Change::Selection);
  }
}

void StringGrid::setRowCount(int count) {
  count = std::max(count, kMinimumCount);
  if (count == rowCount_) return;
  rowCount_ = count;
  cells_.resize(count, std::vector<std::string>(colWidths_.size()));
  topRow_ = std::min(topRow_, maxTopRow());
  notify(Change::Cells);
  if (row_ >= count || anchorRow_ >= count) {
    anchorRow_ = std::min(anchorRow_, count - 1);
    row_ = std::min(row_, count - 1);
    notify(Change::Selection);
  }
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
  topRow_ = std::min(topRow_, maxTopRow());
  notify(Change::Cells);
}

void StringGrid::setFixedColour(Colour colour) {
  if (colour == fixedColour_) return;
  fixedColour_ = colour;
  notify(Change::Repaint);
}

void StringGrid::setRangeSelect(bool allowed) {
  rangeSelect_ = allowed;
  if (allowed || (anchorCol_ == col_ && anchorRow_ == row_)) return;
  anchorCol_ = col_;
  anchorRow_ = row_;
  notify(Change::Selection);
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

int StringGrid::clientWidth() const {
  return clientWidth_ >= 0 ? clientWidth_ : std::max(0, bounds().width - 2 * clientEdge());
}

int StringGrid::clientHeight() const {
  return clientHeight_ >= 0 ? clientHeight_ : std::max(0, bounds().height - 2 * clientEdge());
}

void StringGrid::clientSized(int width, int height) {
  clientWidth_ = std::max(0, width);
  clientHeight_ = std::max(0, height);
  // Taller, the view never leaves room below its last row.
  const int top = std::min(topRow_, maxTopRow());
  if (top == topRow_) return;
  topRow_ = top;
  notify(Change::Repaint);
}

void StringGrid::scrolled(int topRow, int leftCol) {
  topRow = std::clamp(topRow, 1, rowCount_ - 1);
  leftCol = std::clamp(leftCol, 1, colCount() - 1);
  if (topRow == topRow_ && leftCol == leftCol_) return;
  topRow_ = topRow;
  leftCol_ = leftCol;
  notify(Change::Repaint);
}

int StringGrid::rowsShown() const {
  const int extent = std::max(1, defaultRowHeight_ + kGridLine);
  return std::max(1, (clientHeight() - extent) / extent);
}

int StringGrid::maxTopRow() const { return std::max(1, rowCount_ - rowsShown()); }

int StringGrid::maxLeftCol() const {
  const int room = clientWidth() - colWidths_[0] - kGridLine;
  int col = colCount() - 1;
  int used = colWidths_[col] + kGridLine;
  while (col > 1 && used + colWidths_[col - 1] + kGridLine <= room) {
    --col;
    used += colWidths_[col] + kGridLine;
  }
  return std::max(1, col);
}

GridRect StringGrid::selection() const {
  return {std::min(anchorCol_, col_), std::min(anchorRow_, row_), std::max(anchorCol_, col_),
          std::max(anchorRow_, row_)};
}

void StringGrid::select(int col, int row) {
  // Only the scrolling cells can be selected.
  if (col < 1 || col >= colCount() || row < 1 || row >= rowCount_) return;
  moveTo(col, row, false);
}

void StringGrid::moveTo(int col, int row, bool extend) {
  col = std::clamp(col, 1, colCount() - 1);
  row = std::clamp(row, 1, rowCount_ - 1);
  const int anchorCol = extend ? anchorCol_ : col;
  const int anchorRow = extend ? anchorRow_ : row;
  if (col == col_ && row == row_ && anchorCol == anchorCol_ && anchorRow == anchorRow_) return;
  col_ = col;
  row_ = row;
  anchorCol_ = anchorCol;
  anchorRow_ = anchorRow;
  notify(Change::Selection);
}

void StringGrid::scrollIntoView(int col, int row) {
  int top = topRow_;
  if (row < top) {
    top = row;
  } else if (row >= top + rowsShown()) {
    top = row - rowsShown() + 1;
  }
  int left = std::min(leftCol_, col);
  // Further on while the column ends beyond the window, unless it is the
  // first one shown: a column wider than the window shows its start.
  const auto end = [&] {
    return CellStart(col, left, colWidths_[0], [this](int c) { return colWidths_[c]; }) +
           colWidths_[col];
  };
  while (left < col && end() > clientWidth()) ++left;
  scrolled(top, left);
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

int StringGrid::sizingLineAt(int x, int y) const {
  if (!colSizing_ || y < 0 || y >= defaultRowHeight_ + kGridLine) return -1;
  // The nearest line in reach; of two as near, the later column's, which
  // is the one that can grow back.
  int found = -1;
  int distance = kSizingReach;
  const auto width = [this](int c) { return colWidths_[c]; };
  for (int col = 0; col < colCount(); ++col) {
    const int start = CellStart(col, leftCol_, colWidths_[0], width);
    if (start < 0) continue;
    const int line = start + colWidths_[col];
    if (std::abs(x - line) <= distance) {
      found = col;
      distance = std::abs(x - line);
    }
  }
  return found;
}

void StringGrid::mousePress(MouseButton button, int x, int y, bool shift) {
  if (!enabled()) return;
  if (button == MouseButton::Left) {
    if (const int line = sizingLineAt(x, y); line >= 0) {
      sizingCol_ = line;
      sizingOffset_ = x - cellRect(line, 0).right();
    } else {
      int col = -1;
      int row = -1;
      mouseToCell(x, y, col, row);
      // The fixed cells are not selected.
      if (col >= 1 && row >= 1) {
        moveTo(col, row, shift && rangeSelect_);
        selecting_ = true;
      }
    }
  }
  mouseDown(button, x, y);
}

void StringGrid::mouseMove(int x, int y) {
  if (sizingCol_ >= 0) {
    const int left =
        CellStart(sizingCol_, leftCol_, colWidths_[0], [this](int c) { return colWidths_[c]; });
    if (left < 0) return;  // scrolled away meanwhile
    setColWidth(sizingCol_, std::max(kMinimumSizedWidth, x - sizingOffset_ - left));
    return;
  }
  if (!selecting_ || !rangeSelect_) return;
  const int col = NearestScrolling(x, clientWidth(), leftCol_, colCount(),
                                   [this](int c) { return colWidths_[c]; });
  const int row = NearestScrolling(y, clientHeight(), topRow_, rowCount_,
                                   [this](int) { return defaultRowHeight_; });
  moveTo(col, row, true);
}

void StringGrid::mouseRelease() {
  sizingCol_ = -1;
  selecting_ = false;
}

void StringGrid::pressKey(GridKey key, bool shift, bool control) {
  if (!enabled()) return;
  int col = col_;
  int row = row_;
  switch (key) {
    case GridKey::Left:
      --col;
      break;
    case GridKey::Right:
      ++col;
      break;
    case GridKey::Up:
      --row;
      break;
    case GridKey::Down:
      ++row;
      break;
    case GridKey::PageUp:
      row -= rowsShown();
      break;
    case GridKey::PageDown:
      row += rowsShown();
      break;
    case GridKey::Home:
      col = 1;
      if (control) row = 1;
      break;
    case GridKey::End:
      col = colCount() - 1;
      if (control) row = rowCount_ - 1;
      break;
  }
  moveTo(col, row, shift && rangeSelect_);
  scrollIntoView(col_, row_);
}

void StringGrid::drawCell(int col, int row, Canvas& canvas) {
  const Rect rect = cellRect(col, row);
  if (rect.width == 0 && rect.height == 0) return;
  GridCellState state;
  state.fixed = col == 0 || row == 0;
  state.selected = !state.fixed && selection().contains(col, row);
  state.focused = col == col_ && row == row_;
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
