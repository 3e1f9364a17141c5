// The windows of the list controls: the drop-down list and the list box
// (standard controls), and the grid (our own, painted through its component).
#include <windows.h>

// These need windows.h first.
#include <windowsx.h>

#include <algorithm>
#include <string>

#include "platform/Dispatcher.h"
#include "platform/Screen.h"
#include "platform/win32/AccessibleObject.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Canvas.h"
#include "platform/win32/WindowPeer.h"

namespace hk {
namespace {

constexpr int kDroppedRows = 8;
constexpr Colour kGridLineColour = 0x00C0C0C0;
constexpr int kWheelRows = 3;

// Fills a list or combo box from the component, the selection last.
template <typename List>
void ShowItems(HWND window, const List& list, UINT reset, UINT add, UINT select) {
  SendMessageW(window, WM_SETREDRAW, FALSE, 0);
  SendMessageW(window, reset, 0, 0);
  for (const std::string& item : list.items()) {
    const std::wstring text = SjisToWide(item);
    SendMessageW(window, add, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  SendMessageW(window, select, static_cast<WPARAM>(list.itemIndex()), 0);
  SendMessageW(window, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(window, nullptr, TRUE);
}

class ComboBoxPeer : public WindowPeer {
 public:
  explicit ComboBoxPeer(ComboBox& combo) : WindowPeer(combo), combo_(combo) {}

  void create(HWND parent) override {
    createStandard(L"COMBOBOX", childStyle() | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0,
                   parent);
    ShowItems(hwnd(), combo_, CB_RESETCONTENT, CB_ADDSTRING, CB_SETCURSEL);
  }

  bool reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_COMMAND && HIWORD(wParam) == CBN_SELCHANGE) {
      combo_.selectItem(static_cast<int>(SendMessageW(hwnd(), CB_GETCURSEL, 0, 0)));
      result = 0;
      return true;
    }
    return WindowPeer::reflected(message, wParam, lParam, result);
  }

 protected:
  // A combo box's window is as tall as its dropped-down list.
  Rect windowBounds() const override {
    Rect r = combo_.bounds();
    r.height += kDroppedRows * (combo_.font().characterHeight() + 4) + 2;
    return r;
  }

  void update(Change what) override {
    if (what == Change::Items) {
      ShowItems(hwnd(), combo_, CB_RESETCONTENT, CB_ADDSTRING, CB_SETCURSEL);
    } else if (what == Change::Selection) {
      SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(combo_.itemIndex()), 0);
    } else {
      WindowPeer::update(what);
    }
  }

 private:
  ComboBox& combo_;
};

class ListBoxPeer : public WindowPeer {
 public:
  explicit ListBoxPeer(ListBox& list) : WindowPeer(list), list_(list) {}

  void create(HWND parent) override {
    createStandard(L"LISTBOX",
                   childStyle() | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                   WS_EX_CLIENTEDGE, parent);
    ShowItems(hwnd(), list_, LB_RESETCONTENT, LB_ADDSTRING, LB_SETCURSEL);
  }

  // The selection follows the keys and the mouse; a row is picked only by a
  // click, on the button's release over it (or by the form's Enter).
  bool reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_COMMAND && HIWORD(wParam) == LBN_SELCHANGE) {
      list_.setItemIndex(static_cast<int>(SendMessageW(hwnd(), LB_GETCURSEL, 0, 0)));
      result = 0;
      return true;
    }
    return WindowPeer::reflected(message, wParam, lParam, result);
  }

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_KILLFOCUS) {
      // The keyboard went to another window: the list closes as a
      // drop-down does, and its form gives the focus to its home on return.
      const HWND to = reinterpret_cast<HWND>(wParam);
      if (!to || GetAncestor(to, GA_ROOT) != GetAncestor(hwnd(), GA_ROOT)) {
        Fire([this] { list_.leave(); });
      }
    }
    if (message != WM_LBUTTONUP) return WindowPeer::handle(message, wParam, lParam);
    const LRESULT result = WindowPeer::handle(message, wParam, lParam);
    const LRESULT hit = SendMessageW(hwnd(), LB_ITEMFROMPOINT, 0, lParam);
    if (HIWORD(hit) == 0) list_.selectItem(LOWORD(hit));
    return result;
  }

  void update(Change what) override {
    if (what == Change::Items) {
      ShowItems(hwnd(), list_, LB_RESETCONTENT, LB_ADDSTRING, LB_SETCURSEL);
    } else if (what == Change::Selection) {
      SendMessageW(hwnd(), LB_SETCURSEL, static_cast<WPARAM>(list_.itemIndex()), 0);
    } else {
      WindowPeer::update(what);
    }
  }

 private:
  ListBox& list_;
};

// The keys that move the grid's current cell.
bool GridKeyOf(WPARAM virtualKey, GridKey& key) {
  switch (virtualKey) {
    case VK_LEFT:
      key = GridKey::Left;
      return true;
    case VK_RIGHT:
      key = GridKey::Right;
      return true;
    case VK_UP:
      key = GridKey::Up;
      return true;
    case VK_DOWN:
      key = GridKey::Down;
      return true;
    case VK_PRIOR:
      key = GridKey::PageUp;
      return true;
    case VK_NEXT:
      key = GridKey::PageDown;
      return true;
    case VK_HOME:
      key = GridKey::Home;
      return true;
    case VK_END:
      key = GridKey::End;
      return true;
    default:
      return false;
  }
}

bool KeyHeld(int virtualKey) { return GetKeyState(virtualKey) < 0; }

// The grid's scroll bars, which show where the component's view lies and
// move it.
class GridScrollBars {
 public:
  explicit GridScrollBars(StringGrid& grid) : grid_(grid) {}

  // Only a bar whose range, page or position differs is set: a refill of
  // a long history changes thousands of cells, and every redrawn scroll bar
  // costs milliseconds.
  void show(HWND window) const {
    show(window, SB_VERT, grid_.rowCount() - 1, grid_.rowCount() - grid_.maxTopRow(),
         grid_.topRow());
    show(window, SB_HORZ, grid_.colCount() - 1, grid_.colCount() - grid_.maxLeftCol(),
         grid_.leftCol());
  }

  // A scroll message, a bar's or the wheel's; true when it was one.
  bool scrolled(HWND window, UINT message, WPARAM wParam) {
    switch (message) {
      case WM_VSCROLL:
        scrollTo(target(window, SB_VERT, LOWORD(wParam), grid_.topRow(), grid_.rowsShown(),
                        grid_.maxTopRow()),
                 grid_.leftCol());
        return true;
      case WM_HSCROLL:
        scrollTo(grid_.topRow(),
                 target(window, SB_HORZ, LOWORD(wParam), grid_.leftCol(), 1, grid_.maxLeftCol()));
        return true;
      case WM_MOUSEWHEEL:
        scrollTo(grid_.topRow() - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * kWheelRows,
                 grid_.leftCol());
        return true;
      default:
        return false;
    }
  }

 private:
  static void show(HWND window, int bar, int last, int page, int position) {
    SCROLLINFO current{};
    current.cbSize = sizeof current;
    current.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    const bool known = GetScrollInfo(window, bar, &current) != FALSE;
    if (known && current.nMin == 1 && current.nMax == last &&
        current.nPage == static_cast<UINT>(page) && current.nPos == position) {
      return;
    }
    SCROLLINFO wanted{};
    wanted.cbSize = sizeof wanted;
    wanted.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    wanted.nMin = 1;
    wanted.nMax = last;
    wanted.nPage = static_cast<UINT>(page);
    wanted.nPos = position;
    SetScrollInfo(window, bar, &wanted, TRUE);
  }

  static int target(HWND window, int bar, int code, int current, int page, int last) {
    switch (code) {
      case SB_LINEUP:
        return current - 1;
      case SB_LINEDOWN:
        return current + 1;
      case SB_PAGEUP:
        return current - page;
      case SB_PAGEDOWN:
        return current + page;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        GetScrollInfo(window, bar, &info);
        return info.nTrackPos;
      }
      case SB_TOP:
        return 1;
      case SB_BOTTOM:
        return last;
      default:
        return current;
    }
  }

  void scrollTo(int topRow, int leftCol) {
    // The component's Repaint brings the scroll bars along.
    grid_.scrolled(std::clamp(topRow, 1, grid_.maxTopRow()),
                   std::clamp(leftCol, 1, grid_.maxLeftCol()));
  }

  StringGrid& grid_;
};

// The cells in view along one axis: the fixed one, then from the first
// scrolled one until the window ends.
template <typename StartOf>
std::vector<int> InView(int first, int count, int limit, StartOf startOf) {
  std::vector<int> shown{0};
  for (int i = first; i < count && startOf(i) < limit; ++i) shown.push_back(i);
  return shown;
}

// Every cell in view, with the fixed cells' raised edges and the grid lines.
void DrawCells(StringGrid& grid, HDC dc, const RECT& client, int scale) {
  const int width = LayoutCoordinate(client.right - 1, scale) + 1;
  const int height = LayoutCoordinate(client.bottom - 1, scale) + 1;
  const std::vector<int> cols = InView(grid.leftCol(), grid.colCount(), width,
                                       [&grid](int c) { return grid.cellRect(c, 0).left; });
  const std::vector<int> rows = InView(grid.topRow(), grid.rowCount(), height,
                                       [&grid](int r) { return grid.cellRect(0, r).top; });
  Win32Canvas canvas(dc, scale);
  const int line = ScaleLineWidth(1, scale);
  for (const int row : rows) {
    for (const int col : cols) {
      grid.drawCell(col, row, canvas);
      if (col == 0 || row == 0) {
        DrawThinEdge(dc, DeviceRect(grid.cellRect(col, row), scale), true, line);
      }
    }
  }
  // The one-pixel lines after each cell, as far as the cells go.
  const int right = grid.cellRect(cols.back(), 0).right() + 1;
  const int bottom = grid.cellRect(0, rows.back()).bottom() + 1;
  canvas.setPen(kGridLineColour);
  for (const int col : cols) {
    const int x = grid.cellRect(col, 0).right();
    canvas.moveTo({x, 0});
    canvas.lineTo({x, bottom});
  }
  for (const int row : rows) {
    const int y = grid.cellRect(0, row).bottom();
    canvas.moveTo({0, y});
    canvas.lineTo({right, y});
  }
}

class StringGridPeer : public WindowPeer {
 public:
  explicit StringGridPeer(StringGrid& grid) : WindowPeer(grid), grid_(grid), scrollBars_(grid) {}

  void create(HWND parent) override {
    createOwn(RegisterOwnClass(L"HakarimaruGrid"),
              childStyle() | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL,
              grid_.clientEdge() > 0 ? WS_EX_CLIENTEDGE : 0, parent);
    RECT client{};
    GetClientRect(hwnd(), &client);
    reportClientSize(client.right, client.bottom);
    scrollBars_.show(hwnd());
  }

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (scrollBars_.scrolled(hwnd(), message, wParam)) return 0;
    if (mouse(message, wParam, lParam)) return 0;
    switch (message) {
      case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && overSizingLine()) {
          SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
          return TRUE;
        }
        break;
      case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
      case WM_KEYDOWN: {
        GridKey key{};
        if (!GridKeyOf(wParam, key)) break;
        grid_.pressKey(key, KeyHeld(VK_SHIFT), KeyHeld(VK_CONTROL));
        return 0;
      }
      case WM_SETFOCUS:
        announceCurrentCell(EVENT_OBJECT_FOCUS);
        break;
      case WM_SIZE:
        reportClientSize(LOWORD(lParam), HIWORD(lParam));
        scrollBars_.show(hwnd());
        break;
      default:
        break;
    }
    return WindowPeer::handle(message, wParam, lParam);
  }

  void update(Change what) override {
    // The component scrolls itself to keep the current cell in view.
    if (what == Change::Cells || what == Change::Repaint) scrollBars_.show(hwnd());
    if (what == Change::Selection) {
      announceCurrentCell(EVENT_OBJECT_SELECTION);
      if (GetFocus() == hwnd()) announceCurrentCell(EVENT_OBJECT_FOCUS);
    }
    WindowPeer::update(what);
  }

  AccessibleObject* accessibleObject() override { return MakeGridAccessible(hwnd()); }

  void paint(HDC target) override {
    RECT client{};
    GetClientRect(hwnd(), &client);
    // Drawn off screen and copied at once: every cell is painted each time.
    MemoryDc memory(target);
    const BitmapObject bitmap(CreateCompatibleBitmap(target, client.right, client.bottom));
    if (!memory.get() || !bitmap) return;
    SelectedObject selected(memory.get(), bitmap.get());
    FillRect(memory.get(), &client, background());
    DrawCells(grid_, memory.get(), client, dpi());
    BitBlt(target, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
  }

 private:
  // The mouse's messages, in the component's layout units; true when handled.
  bool mouse(UINT message, WPARAM wParam, LPARAM lParam) {
    const int scale = dpi();
    const int x = LayoutCoordinate(GET_X_LPARAM(lParam), scale);
    const int y = LayoutCoordinate(GET_Y_LPARAM(lParam), scale);
    switch (message) {
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
        SetFocus(hwnd());
        // A drag goes on outside the window.
        if (message == WM_LBUTTONDOWN) SetCapture(hwnd());
        grid_.mousePress(message == WM_LBUTTONDOWN ? MouseButton::Left : MouseButton::Right, x, y,
                         (wParam & MK_SHIFT) != 0);
        return true;
      case WM_MOUSEMOVE:
        if (wParam & MK_LBUTTON) grid_.mouseMove(x, y);
        if (grid_.sizingColumn()) SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
        return true;
      case WM_LBUTTONUP:
        if (GetCapture() == hwnd()) ReleaseCapture();
        grid_.mouseRelease();
        return true;
      case WM_CAPTURECHANGED:
        grid_.mouseRelease();
        return true;
      default:
        return false;
    }
  }

  // A reader hears which cell is current now.
  void announceCurrentCell(DWORD event) const {
    if (!IsWinEventHookInstalled(event)) return;
    NotifyWinEvent(event, hwnd(), OBJID_CLIENT,
                   GridCellNumber(grid_, grid_.selectedCol(), grid_.selectedRow()));
  }

  bool overSizingLine() const {
    POINT at{};
    GetCursorPos(&at);
    ScreenToClient(hwnd(), &at);
    const int scale = dpi();
    return grid_.sizingLineAt(LayoutCoordinate(at.x, scale), LayoutCoordinate(at.y, scale)) >= 0;
  }

  // The client area in the fewest units whose pixels cover it.
  void reportClientSize(int width, int height) {
    const int scale = dpi();
    grid_.clientSized(LayoutCoordinate(width - 1, scale) + 1,
                      LayoutCoordinate(height - 1, scale) + 1);
  }

  StringGrid& grid_;
  GridScrollBars scrollBars_;
};

}  // namespace

std::unique_ptr<WindowPeer> MakeComboBoxPeer(ComboBox& combo) {
  return std::make_unique<ComboBoxPeer>(combo);
}
std::unique_ptr<WindowPeer> MakeListBoxPeer(ListBox& list) {
  return std::make_unique<ListBoxPeer>(list);
}
std::unique_ptr<WindowPeer> MakeStringGridPeer(StringGrid& grid) {
  return std::make_unique<StringGridPeer>(grid);
}

}  // namespace hk
