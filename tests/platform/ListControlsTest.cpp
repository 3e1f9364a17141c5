#include <gtest/gtest.h>

#include "platform/ErrorLog.h"
#include "platform/RecordingServices.h"
#include "platform/Widgets.h"

namespace hk {
namespace {

TEST(Lists, AnIndexOutsideTheItemsSelectsNothing) {
  const std::pair<int, int> cases[] = {{0, 0}, {2, 2}, {3, -1}, {-1, -1}, {-7, -1}};
  for (const auto& [index, expected] : cases) {
    ComboBox combo(nullptr);
    ListBox list(nullptr);
    combo.setItems({"a", "b", "c"});
    for (const char* item : {"a", "b", "c"}) list.addItem(item);
    combo.setItemIndex(1);
    list.setItemIndex(1);
    combo.setItemIndex(index);
    list.setItemIndex(index);
    EXPECT_EQ(combo.itemIndex(), expected) << index;
    EXPECT_EQ(list.itemIndex(), expected) << index;
  }
}

TEST(Lists, TheUsersChoiceFiresTheEventAndNewItemsClearTheSelection) {
  ComboBox combo(nullptr);
  ListBox list(nullptr);
  std::vector<int> seen;
  combo.OnChange = [&] { seen.push_back(combo.itemIndex()); };
  list.OnClick = [&] { seen.push_back(10 + list.itemIndex()); };
  combo.setItems({"円", "ドル"});
  list.addItem("1");
  RecordingPeer& comboPeer = AttachRecordingPeer(combo);
  RecordingPeer& listPeer = AttachRecordingPeer(list);
  combo.selectItem(1);
  list.selectItem(0);
  EXPECT_EQ(seen, (std::vector<int>{1, 10}));

  combo.setItems({"円", "ユーロ"});
  list.clear();
  EXPECT_EQ(combo.itemIndex(), -1);
  EXPECT_EQ(list.itemIndex(), -1);
  EXPECT_EQ(comboPeer.changes,
            (std::vector<Change>{Change::Selection, Change::Items, Change::Selection}));
  EXPECT_EQ(listPeer.changes, (std::vector<Change>{Change::Selection, Change::Items}));
}

// Columns 30, 40, 50, 60 pixels wide, rows 20 high, lines of one pixel.
void Shape(StringGrid& grid) {
  grid.setColCount(4);
  grid.setRowCount(5);
  for (int col = 0; col < 4; ++col) grid.setColWidth(col, 30 + 10 * col);
  grid.setDefaultRowHeight(20);
}

TEST(StringGrid, ResizingKeepsCellsAndAlwaysLeavesOneScrollingCell) {
  StringGrid grid(nullptr);
  EXPECT_EQ(grid.colWidth(1), 64);
  grid.setColCount(3);
  grid.setRowCount(3);
  grid.setCell(2, 2, "kept");
  grid.setCell(3, 0, "outside");
  grid.select(2, 2);
  grid.setColCount(5);
  grid.setRowCount(4);
  EXPECT_EQ(grid.cell(2, 2), "kept");
  EXPECT_EQ(grid.cell(3, 0), "");
  EXPECT_EQ(grid.colWidth(4), 64);
  grid.setRowCount(0);
  grid.setColCount(-3);
  EXPECT_EQ(grid.rowCount(), 2);
  EXPECT_EQ(grid.colCount(), 2);
  EXPECT_EQ(grid.selectedCol(), 1);
  EXPECT_EQ(grid.selectedRow(), 1);
  EXPECT_EQ(grid.cell(9, 9), "");

  // Scrolled to its end, a grid keeps its last row at the bottom as it gets
  // fewer rows, lower rows or more room.
  grid.setRowCount(40);
  grid.clientSized(200, 100);
  grid.scrolled(grid.maxTopRow(), 1);
  grid.setRowCount(30);
  EXPECT_EQ(grid.topRow(), grid.maxTopRow());
  grid.setDefaultRowHeight(10);
  EXPECT_EQ(grid.topRow(), grid.maxTopRow());
  grid.clientSized(200, 250);
  EXPECT_EQ(grid.topRow(), grid.maxTopRow());
  grid.setRowCount(3);
  EXPECT_EQ(grid.topRow(), 1);
}

TEST(StringGrid, CellRectanglesFollowTheFixedCellsAndTheScrolling) {
  struct Case {
    int topRow, leftCol, col, row;
    Rect expected;
  };
  const Case cases[] = {
      {1, 1, 0, 0, {0, 0, 30, 20}},
      {1, 1, 1, 0, {31, 0, 40, 20}},
      {1, 1, 2, 0, {72, 0, 50, 20}},
      {1, 1, 3, 2, {123, 42, 60, 20}},
      {3, 2, 1, 1, {}},
      {3, 2, 2, 3, {31, 21, 50, 20}},
      {3, 2, 0, 4, {0, 42, 30, 20}},
      {3, 2, 3, 0, {82, 0, 60, 20}},
      {1, 1, 4, 0, {}},
  };
  for (const Case& c : cases) {
    StringGrid grid(nullptr);
    Shape(grid);
    grid.scrolled(c.topRow, c.leftCol);
    EXPECT_EQ(grid.cellRect(c.col, c.row), c.expected) << c.col << "," << c.row;
  }
}

TEST(StringGrid, MouseToCellCountsEachLineWithTheCellBeforeIt) {
  const std::pair<int, int> columns[] = {{0, 0},   {29, 0},  {30, 0},  {31, 1},   {72, 2},
                                         {122, 2}, {123, 3}, {183, 3}, {184, -1}, {-1, -1}};
  const std::pair<int, int> rows[] = {{0, 0}, {20, 0}, {21, 1}, {104, 4}, {105, -1}};
  StringGrid grid(nullptr);
  Shape(grid);
  int col = 0, row = 0;
  for (const auto& [x, expected] : columns) {
    grid.mouseToCell(x, 0, col, row);
    EXPECT_EQ(col, expected) << x;
  }
  for (const auto& [y, expected] : rows) {
    grid.mouseToCell(0, y, col, row);
    EXPECT_EQ(row, expected) << y;
  }
  grid.scrolled(3, 2);
  grid.mouseToCell(40, 30, col, row);
  EXPECT_EQ(col, 2);
  EXPECT_EQ(row, 3);
}

TEST(StringGrid, DrawCellGivesTheHandlerTheRectangleAndState) {
  ErrorLog log;
  StringGrid grid(nullptr);
  Shape(grid);
  grid.select(2, 3);
  struct Drawn {
    int col, row;
    Rect rect;
    GridCellState state;
  };
  std::vector<Drawn> drawn;
  grid.OnDrawCell = [&](int col, int row, const Rect& rect, GridCellState state, Canvas&) {
    drawn.push_back({col, row, rect, state});
    if (col == 3) throw std::runtime_error("draw failed");
  };
  RecordingCanvas canvas;
  for (auto [col, row] : {std::pair{0, 2}, {2, 0}, {2, 3}, {1, 1}, {3, 3}}) {
    grid.drawCell(col, row, canvas);
  }
  ASSERT_EQ(drawn.size(), 5u);
  const bool fixed[] = {true, true, false, false, false};
  const bool selected[] = {false, false, true, false, false};
  for (std::size_t i = 0; i < drawn.size(); ++i) {
    EXPECT_EQ(drawn[i].state.fixed, fixed[i]) << i;
    EXPECT_EQ(drawn[i].state.selected, selected[i]) << i;
    EXPECT_EQ(drawn[i].state.focused, selected[i]) << i;
    EXPECT_EQ(drawn[i].rect, grid.cellRect(drawn[i].col, drawn[i].row));
  }
  EXPECT_EQ(log.texts, std::vector<std::string>{"draw failed"});
}

TEST(StringGrid, WithoutAHandlerTheCellTextIsDrawn) {
  StringGrid grid(nullptr);
  Shape(grid);
  grid.setCell(1, 1, "12.5");
  RecordingCanvas canvas;
  grid.drawCell(1, 1, canvas);
  EXPECT_EQ(canvas.texts(), std::vector<std::string>{"12.5"});
  EXPECT_EQ(canvas.only(RecordingCanvas::Op::FillRect).at(0).rect, grid.cellRect(1, 1));
}

// Keys from the current cell (2, 5) of a 4 x 40 grid that shows 5 rows of
// 20 below its header (a client area 130 high): where the current cell
// goes, the selection, and the first row shown.
TEST(StringGrid, KeysMoveTheCurrentCellAndShiftStretchesTheSelection) {
  struct Case {
    GridKey key;
    bool shift, control;
    int col, row;
    GridRect selection;
    int topRow;
  };
  const Case cases[] = {
      {GridKey::Left, false, false, 1, 5, {1, 5, 1, 5}, 1},
      {GridKey::Right, true, false, 3, 5, {2, 5, 3, 5}, 1},
      {GridKey::Up, true, false, 2, 4, {2, 4, 2, 5}, 1},
      {GridKey::Down, false, false, 2, 6, {2, 6, 2, 6}, 2},
      {GridKey::PageDown, true, false, 2, 10, {2, 5, 2, 10}, 6},
      {GridKey::PageUp, false, false, 2, 1, {2, 1, 2, 1}, 1},
      {GridKey::Home, true, false, 1, 5, {1, 5, 2, 5}, 1},
      {GridKey::End, false, false, 3, 5, {3, 5, 3, 5}, 1},
      {GridKey::Home, false, true, 1, 1, {1, 1, 1, 1}, 1},
      {GridKey::End, true, true, 3, 39, {2, 5, 3, 39}, 35},
  };
  for (const Case& c : cases) {
    StringGrid grid(nullptr);
    Shape(grid);
    grid.setRowCount(40);
    grid.setRangeSelect(true);
    grid.clientSized(400, 130);
    grid.select(2, 5);
    grid.pressKey(c.key, c.shift, c.control);
    const int key = static_cast<int>(c.key);
    EXPECT_EQ(grid.selectedCol(), c.col) << key;
    EXPECT_EQ(grid.selectedRow(), c.row) << key;
    EXPECT_EQ(grid.selection(), c.selection) << key;
    EXPECT_EQ(grid.topRow(), c.topRow) << key;
  }
  // Without range selection Shift only moves.
  StringGrid grid(nullptr);
  Shape(grid);
  grid.pressKey(GridKey::Down, true, false);
  grid.pressKey(GridKey::Right, true, false);
  EXPECT_EQ(grid.selection(), (GridRect{2, 2, 2, 2}));
}

TEST(StringGrid, TheMouseSizesColumnsAtHeaderLinesAndStretchesSelections) {
  ErrorLog log;
  StringGrid grid(nullptr);
  Shape(grid);  // lines after the columns at x = 30, 71, 122, 183
  grid.setRangeSelect(true);
  grid.setColSizing(true);
  grid.clientSized(400, 130);
  std::vector<int> presses;
  grid.OnMouseDown = [&](MouseButton, int x, int) { presses.push_back(x); };
  const struct {
    int x, y, line;
  } lines[] = {{28, 5, 0}, {32, 20, 0}, {33, 5, -1}, {73, 0, 1}, {122, 3, 2}, {71, 21, -1}};
  for (const auto& at : lines) EXPECT_EQ(grid.sizingLineAt(at.x, at.y), at.line) << at.x;

  // Column 1 dragged 15 wider from one pixel right of its line, then far too
  // narrow: it keeps room to be taken again. Nothing is selected meanwhile.
  grid.mousePress(MouseButton::Left, 72, 4, false);
  EXPECT_TRUE(grid.sizingColumn());
  grid.mouseMove(87, 40);
  EXPECT_EQ(grid.colWidth(1), 55);
  grid.mouseMove(-50, 4);
  EXPECT_EQ(grid.colWidth(1), 5);
  grid.mouseRelease();
  grid.mouseMove(100, 4);
  EXPECT_EQ(grid.colWidth(1), 5);
  EXPECT_EQ(grid.selection(), (GridRect{1, 1, 1, 1}));

  // (2, 2) pressed, Shift with (1, 1), then a drag beyond the last cell
  // stretches from the anchor to the last column and row.
  grid.setColWidth(1, 40);
  grid.mousePress(MouseButton::Left, 80, 50, false);
  grid.mouseRelease();
  grid.mousePress(MouseButton::Left, 40, 25, true);
  EXPECT_EQ(grid.selection(), (GridRect{1, 1, 2, 2}));
  grid.mouseMove(500, 500);
  EXPECT_EQ(grid.selection(), (GridRect{2, 2, 3, 4}));
  EXPECT_EQ(grid.selectedCol(), 3);
  grid.mouseRelease();
  // A right press, or one on a fixed cell, leaves the selection.
  grid.mousePress(MouseButton::Right, 80, 50, false);
  grid.mousePress(MouseButton::Left, 5, 50, false);
  EXPECT_EQ(grid.selection(), (GridRect{2, 2, 3, 4}));
  EXPECT_EQ(presses, (std::vector<int>{72, 80, 40, 80, 5}));

  // Without column sizing a header line is only a press on a fixed cell.
  grid.setColSizing(false);
  grid.mousePress(MouseButton::Left, 72, 4, false);
  EXPECT_FALSE(grid.sizingColumn());
  EXPECT_TRUE(log.texts.empty());
}

TEST(PopupMenu, OnlyAnEnabledRealItemChosenFromTheMenuIsClicked) {
  const std::pair<int, std::string> cases[] = {{0, "copy"}, {1, ""}, {2, ""}, {3, ""}, {-1, ""}};
  for (const auto& [chosen, expected] : cases) {
    RecordingServices services;
    Form form(FormStyle::BorderlessPopup);
    PopupMenu menu(services);
    std::string clicked;
    menu.add("コピー", [&] { clicked += "copy"; });
    menu.add("-", [&] { clicked += "separator"; });
    menu.add("削除", [&] { clicked += "delete"; }).setEnabled(false);
    Point where{};
    services.onTrackPopupMenu = [&, chosen = chosen](const PopupMenu&, Point p) {
      where = p;
      return chosen;
    };
    menu.popup(form, {120, 80});
    EXPECT_EQ(clicked, expected) << chosen;
    EXPECT_EQ(where.x, 120);
  }
}

}  // namespace
}  // namespace hk
