// The history window's real windows: opened from a stand-in main window's
// history button, marked with the mouse, copied through its menu, painted,
// and closed both ways.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <iterator>
#include <set>
#include <string>

#include "history/HistoryExport.h"
#include "platform/win32/Peers.h"
#include "platform/win32/Win32Services.h"
#include "ui/CalcUnt2.h"
#include "win32/WindowTestSupport.h"

namespace hk {
namespace {

using test::At;

std::string ClipboardBytes() {
  std::string bytes;
  if (!OpenClipboard(nullptr)) return bytes;
  if (const HGLOBAL block = GetClipboardData(CF_TEXT)) {
    if (const auto* text = static_cast<const char*>(GlobalLock(block))) {
      bytes = text;
      GlobalUnlock(block);
    }
  }
  CloseClipboard();
  return bytes;
}

class HistoryWindow : public ::testing::Test {
 protected:
  HistoryWindow() {
    mainForm.setBounds({20, 20, 404, 120});
    historyButton.setBounds({279, 4, 25, 25});
    historyButton.setGroupIndex(5);
    historyButton.setAllowAllUp(true);
    historyButton.OnClick = [this] {
      HistoryButtonClick(services, history, mainForm, historyButton, FilePath("ZO_VEZA.HLP"));
    };
    mainForm.OnMessage = [this](unsigned message) {
      if (message == WM_HISTORYCLOSE) HistoryCloseMessage(services, historyButton);
    };
    Realize(mainForm);
    services.showModeless(mainForm);
  }
  void TearDown() override {
    ReleaseHistoryWindow(services);
    test::Pump(services);
    EXPECT_TRUE(reported.texts.empty()) << reported.texts.front();
  }

  void append(const char* target, long double value, long double result) {
    history.AppendHistory(
        {target, "ﾒｰﾄﾙ", "  " + std::string(target), "ﾌｨｰﾄ", value, result, kSignNone});
    RefreshHistoryWindow();
  }
  TCalcHistoryForm& open() {
    historyButton.click();
    test::Pump(services);
    return *CalcHistoryForm;
  }
  static void press(HWND window, int x, int y) {
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    SendMessageW(window, WM_LBUTTONUP, 0, At(x, y));
  }

  test::Reported reported;
  Win32Services services;
  HistoryStore history;
  Form mainForm{FormStyle::BorderlessPopup};
  SpeedButton historyButton{&mainForm};
};

TEST_F(HistoryWindow, OpensMarksCopiesAndClosesWithItsButton) {
  append("10", 10, 32.8L);
  append("100", 100, 328);
  append("4", 4, 13.1L);
  TCalcHistoryForm& w = open();
  const HWND window = WindowOf(w);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(GetWindow(window, GW_OWNER), WindowOf(mainForm));
  EXPECT_EQ(test::TextOf(window), L"変換履歴");
  RECT outer{};
  GetWindowRect(window, &outer);
  EXPECT_EQ(outer.left, 371);
  EXPECT_EQ(outer.top, 117);
  EXPECT_EQ(outer.right - outer.left, 403);
  EXPECT_EQ(outer.bottom - outer.top, 367);
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(test::PlaceOf(WindowOf(w.StringGrid1)).bottom, client.bottom);

  // The mark column of row 2, pressed twice: subtracted.
  const HWND grid = WindowOf(w.StringGrid1);
  const Rect cell = w.StringGrid1.cellRect(1, 2);
  press(grid, cell.left + 4, cell.top + 4);
  press(grid, cell.left + 4, cell.top + 4);
  EXPECT_EQ(history.record(2).Sign, kSignSubtract);
  EXPECT_EQ(w.StringGrid1.cell(2, 4), std::string(5, ' ') + "-100.00000");

  // Each copy mode through the menu the clip button opens, below the button.
  for (int mode = 0; mode < 3; ++mode) {
    RECT menuAt{};
    test::Later choose(300, [&] {
      const HWND menu = FindWindowW(L"#32768", nullptr);
      if (!menu) return;
      GetWindowRect(menu, &menuAt);
      for (int down = 0; down <= mode; ++down) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
      PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    });
    test::Later giveUp(3000, [] { EndMenu(); });
    test::Press(w.ClipButton, 5, 5);
    EXPECT_EQ(menuAt.left, 371 + 4) << mode;
    EXPECT_EQ(menuAt.top, 117 + 25) << mode;
    EXPECT_EQ(ClipboardBytes(), HistoryExportText(history, mode)) << mode;
  }

  // The close button: the main window releases it and raises its button.
  test::Press(w.SpeedButton4, 5, 5);
  EXPECT_TRUE(test::RunUntil(services, [] { return CalcHistoryForm == nullptr; }));
  test::Pump(services);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(historyButton.down());
}

TEST_F(HistoryWindow, TheHeaderSizesColumnsShiftStretchesRangesAndTheRowMenuOpensAtThePointer) {
  for (const char* t : {"1", "2", "3", "4"}) append(t, std::stold(t), 1);
  TCalcHistoryForm& w = open();
  const HWND grid = WindowOf(w.StringGrid1);
  StringGrid& g = w.StringGrid1;

  // The line after "No" shows the sizing cursor and drags the column wider.
  const int line = g.colWidth(0);
  POINT over{line, 5};
  ClientToScreen(grid, &over);
  SetCursorPos(over.x, over.y);
  SendMessageW(grid, WM_SETCURSOR, reinterpret_cast<WPARAM>(grid), MAKELPARAM(HTCLIENT, 0));
  EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZEWE));
  SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, At(line, 5));
  EXPECT_EQ(GetCapture(), grid);
  SendMessageW(grid, WM_MOUSEMOVE, MK_LBUTTON, At(line + 20, 9));
  SendMessageW(grid, WM_LBUTTONUP, 0, At(line + 20, 9));
  EXPECT_EQ(g.colWidth(0), line + 20);
  EXPECT_EQ(GetCapture(), nullptr);

  // A click, then Shift with a click: the block between; Shift with a key
  // stretches it further.
  const Rect from = g.cellRect(2, 1);
  const Rect to = g.cellRect(4, 3);
  press(grid, from.left + 3, from.top + 3);
  SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, At(to.left + 3, to.top + 3));
  SendMessageW(grid, WM_LBUTTONUP, MK_SHIFT, At(to.left + 3, to.top + 3));
  EXPECT_EQ(g.selection(), (GridRect{2, 1, 4, 3}));
  BYTE keys[256]{};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  SendMessageW(grid, WM_KEYDOWN, VK_DOWN, 0);
  keys[VK_SHIFT] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(g.selection(), (GridRect{2, 1, 4, 4}));
  SendMessageW(grid, WM_KEYDOWN, VK_HOME, 0);
  EXPECT_EQ(g.selection(), (GridRect{1, 4, 1, 4}));
  for (int mark = 1; mark <= 4; ++mark) EXPECT_EQ(history.record(mark).Sign, kSignNone);

  // The row menu's corner is where the right button went down.
  const Rect cell = g.cellRect(3, 2);
  POINT pointer{cell.left + 7, cell.top + 5};
  RECT menuAt{};
  test::Later look(300, [&] {
    if (const HWND menu = FindWindowW(L"#32768", nullptr)) GetWindowRect(menu, &menuAt);
    EndMenu();
  });
  test::Later giveUp(3000, [] { EndMenu(); });
  SendMessageW(grid, WM_RBUTTONDOWN, MK_RBUTTON, At(pointer.x, pointer.y));
  ClientToScreen(grid, &pointer);
  EXPECT_EQ(menuAt.left, pointer.x);
  EXPECT_EQ(menuAt.top, pointer.y);
  EXPECT_EQ(w.clickRow(), 2);
}

TEST_F(HistoryWindow, TheCloseBoxOnlyHidesTheWindow) {
  append("1", 1, 1);
  TCalcHistoryForm& w = open();
  const HWND window = WindowOf(w);
  SendMessageW(window, WM_CLOSE, 0, 0);
  test::Pump(services);
  EXPECT_TRUE(IsWindow(window));
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(CalcHistoryForm, &w);
  EXPECT_TRUE(historyButton.down());
  append("2", 2, 2);
  EXPECT_EQ(w.StringGrid1.cell(2, 2), "2");

  test::Press(historyButton, 5, 5);
  test::Pump(services);
  EXPECT_EQ(CalcHistoryForm, nullptr);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(historyButton.down());
}

TEST_F(HistoryWindow, AFullHistoryPaintsOnlyTheRowsInViewAndAppendsQuickly) {
  for (int i = 1; i < kHistoryCapacity; ++i) {
    history.AppendHistory({std::to_string(i), "m", "  1", "ft", i, 1, kSignAdd});
  }
  TCalcHistoryForm& w = open();
  const HWND grid = WindowOf(w.StringGrid1);
  std::set<int> rows;
  int cells = 0;
  const auto draw = w.StringGrid1.OnDrawCell;
  w.StringGrid1.OnDrawCell = [&](int col, int row, const Rect& rect, GridCellState state,
                                 Canvas& canvas) {
    ++cells;
    rows.insert(row);
    draw(col, row, rect, state, canvas);
  };

  using Clock = std::chrono::steady_clock;
  const auto timed = [&](const std::function<void()>& action) {
    const auto start = Clock::now();
    action();
    RedrawWindow(grid, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  };
  const double appendMs = timed([&] { append("999", 999, 1); });
  RECT client{};
  GetClientRect(grid, &client);
  const int inView = client.bottom / (w.StringGrid1.defaultRowHeight() + 1) + 1;
  EXPECT_EQ(w.StringGrid1.rowCount(), 1001);
  EXPECT_LE(static_cast<int>(rows.size()), inView + 1);
  EXPECT_LE(cells, (inView + 1) * 6);
  EXPECT_GT(*std::next(rows.begin()), 1000 - inView - 2);  // it opened on the newest rows

  // Deleting the first row renumbers every other one: each cell changes.
  w.StringGrid1.scrolled(1, 1);
  const Rect first = w.StringGrid1.cellRect(0, 1);
  w.StringGrid1.mouseDown(MouseButton::Left, first.left + 2, first.top + 2);
  const double renumberMs = timed([&] { w.DeleteMenuClick(); });
  EXPECT_EQ(w.StringGrid1.cell(2, 1), "2");
  RecordProperty("append_ms", std::to_string(appendMs));
  RecordProperty("delete_first_row_ms", std::to_string(renumberMs));
  std::printf("append with the window shown: %.2f ms; deleting row 1: %.2f ms\n", appendMs,
              renumberMs);
}

}  // namespace
}  // namespace hk
