#include "platform/win32/HelpWindow.h"

#include <windows.h>

// These need windows.h first.
#include <commctrl.h>

#include <algorithm>

#include "platform/Screen.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/Gdi.h"
#include "platform/win32/Peers.h"
#include "platform/win32/Text.h"
#include "platform/win32/WindowPeer.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace hk {
namespace {

const wchar_t kHelpClass[] = L"HakarimaruHelp";

// The layout in 96-DPI units: the topics on the left, the text beside them,
// each under a line of its own.
constexpr int kWidth = 640;
constexpr int kHeight = 460;
constexpr int kMinimumWidth = 360;
constexpr int kMinimumHeight = 240;
constexpr int kMargin = 8;
constexpr int kLabelHeight = 16;
constexpr int kListWidth = 168;

HINSTANCE Instance() { return GetModuleHandleW(nullptr); }

const wchar_t* RegisterHelpClass(WNDPROC procedure) {
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  if (!GetClassInfoExW(Instance(), kHelpClass, &info)) {
    info.lpfnWndProc = procedure;
    info.hInstance = Instance();
    info.lpszClassName = kHelpClass;
    info.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    // The system's colours, so that high contrast holds here as well.
    info.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    info.hIcon = LoadIconW(Instance(), L"MAINICON");
    RegisterClassExW(&info);
  }
  return kHelpClass;
}

HWND MakeControl(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent) {
  return CreateWindowExW(exStyle, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                         nullptr, Instance(), nullptr);
}

// Where a window of the size goes beside the asking one: on the side with
// more room in the asking window's work area, narrowed down to its minimum
// width so as to leave the asking window in view, and then as near as it fits.
// False, and the place untouched, without an asking window.
bool PlaceBeside(HWND asking, RECT& place) {
  int width = place.right - place.left;
  const int height = place.bottom - place.top;
  RECT owner{};
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!asking || !GetWindowRect(asking, &owner) ||
      !GetMonitorInfoW(MonitorFromWindow(asking, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return false;
  }
  const RECT& work = monitor.rcWork;
  const int dpi = WindowDpi(asking);
  const int gap = ScaleCoordinate(kMargin, dpi);
  const int roomRight = work.right - owner.right - gap;
  const int roomLeft = owner.left - work.left - gap;
  const bool right = roomRight >= roomLeft;
  width =
      std::max(std::min(width, right ? roomRight : roomLeft), ScaleCoordinate(kMinimumWidth, dpi));
  int x = right ? owner.right + gap : owner.left - gap - width;
  x = std::max(static_cast<int>(work.left), std::min(x, static_cast<int>(work.right) - width));
  int y = std::min(static_cast<int>(owner.top), static_cast<int>(work.bottom) - height);
  y = std::max(y, static_cast<int>(work.top));
  place = RECT{x, y, x + width, y + height};
  return true;
}

void SetText(HWND window, const std::string& text) {
  SetWindowTextW(window, SjisToWide(text).c_str());
}

}  // namespace

std::string HelpResourceText() {
  const HRSRC found = FindResourceW(nullptr, L"HELPTEXT", reinterpret_cast<LPCWSTR>(RT_RCDATA));
  const HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return {};
  return std::string(static_cast<const char*>(bytes), SizeofResource(nullptr, found));
}

HelpWindow::~HelpWindow() { close(); }

bool HelpWindow::Is(HWND window) {
  wchar_t name[32] = {};
  return window && GetClassNameW(window, name, 32) && lstrcmpW(name, kHelpClass) == 0;
}

void HelpWindow::show(HWND asking, unsigned context) {
  if (topics_.empty()) topics_ = ParseHelpTopics(HelpResourceText());
  if (!window_) create(asking);
  if (!window_) return;
  select(static_cast<int>(HelpTopicFor(topics_, context)));
  // Asked for from another window, the text is what the user wants to read.
  focus_ = text_;
  ShowWindow(window_, IsIconic(window_) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(window_);
  SetFocus(text_);
}

void HelpWindow::close() {
  if (window_) DestroyWindow(window_);
}

void HelpWindow::create(HWND asking) {
  const wchar_t* className = RegisterHelpClass(WindowProc);
  const std::wstring title = SjisToWide("はかり丸 ヘルプ");
  RECT place = lastPlace_;
  bool placed = place.right > place.left;
  if (!placed) {
    const int dpi = asking ? WindowDpi(asking) : SystemDpi();
    place = RECT{0, 0, ScaleCoordinate(kWidth, dpi), ScaleCoordinate(kHeight, dpi)};
    placed = PlaceBeside(asking, place);
  }
  // Beside a window that stays on top, it comes up above it.
  const HWND main = asking ? GetAncestor(asking, GA_ROOTOWNER) : nullptr;
  const DWORD exStyle = main && IsTopmost(main) ? WS_EX_TOPMOST : 0;
  CreateWindowExW(exStyle, className, title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                  placed ? place.left : CW_USEDEFAULT, placed ? place.top : CW_USEDEFAULT,
                  place.right - place.left, place.bottom - place.top, nullptr, nullptr, Instance(),
                  this);
}

void HelpWindow::createControls() {
  topicsLabel_ = MakeControl(L"STATIC", SS_NOPREFIX, 0, window_);
  SetText(topicsLabel_, "目次");
  list_ = MakeControl(L"LISTBOX", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                      WS_EX_CLIENTEDGE, window_);
  titleLabel_ = MakeControl(L"STATIC", SS_NOPREFIX | SS_ENDELLIPSIS, 0, window_);
  text_ =
      MakeControl(L"EDIT", WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                  WS_EX_CLIENTEDGE, window_);
  for (HWND control : {list_, text_}) {
    SetWindowSubclass(control, KeyProc, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  for (const HelpTopic& topic : topics_) {
    const std::wstring title = SjisToWide(topic.title);
    SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.c_str()));
  }
  applyFont();
  layOut();
}

void HelpWindow::applyFont() {
  // The program's font, at the window's DPI.
  const HFONT font = SharedFont(FontAtDpi(Font{}, WindowDpi(window_)));
  for (HWND control : {topicsLabel_, list_, titleLabel_, text_}) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
}

void HelpWindow::layOut() {
  RECT client{};
  GetClientRect(window_, &client);
  const int dpi = WindowDpi(window_);
  const int width = LayoutCoordinate(client.right, dpi);
  const int height = LayoutCoordinate(client.bottom, dpi);
  const int top = kMargin + kLabelHeight + kMargin / 2;
  const int textLeft = kMargin + kListWidth + kMargin;
  const auto place = [dpi](HWND control, const Rect& units) {
    const RECT r = DeviceRect(units, dpi);
    MoveWindow(control, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  };
  place(topicsLabel_, {kMargin, kMargin, kListWidth, kLabelHeight});
  place(list_, {kMargin, top, kListWidth, height - top - kMargin});
  place(titleLabel_, {textLeft, kMargin, width - textLeft - kMargin, kLabelHeight});
  place(text_, {textLeft, top, width - textLeft - kMargin, height - top - kMargin});
}

void HelpWindow::select(int index) {
  if (index < 0 || index >= static_cast<int>(topics_.size())) return;
  const HelpTopic& topic = topics_[static_cast<std::size_t>(index)];
  SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SetText(titleLabel_, topic.title);
  SetText(text_, topic.text);
}

LRESULT CALLBACK HelpWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* help = static_cast<HelpWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    help->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(help));
  }
  auto* help = reinterpret_cast<HelpWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!help) return DefWindowProcW(window, message, wParam, lParam);
  try {
    return help->handle(message, wParam, lParam);
  } catch (...) {
    ReportCurrentException();
    return 0;
  }
}

LRESULT HelpWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      createControls();
      return 0;
    case WM_SIZE:
      layOut();
      return 0;
    case WM_GETMINMAXINFO: {
      const int dpi = WindowDpi(window_);
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize = {ScaleCoordinate(kMinimumWidth, dpi),
                                ScaleCoordinate(kMinimumHeight, dpi)};
      return 0;
    }
    case WM_DPICHANGED: {
      // On a monitor of another scale: the system's suggested size, the
      // font and the layout at the new DPI.
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                   suggested->right - suggested->left, suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      applyFont();
      layOut();
      return 0;
    }
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(lParam) == list_ && HIWORD(wParam) == LBN_SELCHANGE) {
        select(static_cast<int>(SendMessageW(list_, LB_GETCURSEL, 0, 0)));
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
      // A read-only edit would take the face colour of a label; the text
      // reads better on the window colour, which high contrast sets too.
      if (reinterpret_cast<HWND>(lParam) == text_) {
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focused = GetFocus();
        if (focused == list_ || focused == text_) focus_ = focused;
      } else {
        SetFocus(focus_ ? focus_ : text_);
        return 0;
      }
      break;
    case WM_SETFOCUS:
      SetFocus(focus_ ? focus_ : text_);
      return 0;
    case WM_DESTROY:
      GetWindowRect(window_, &lastPlace_);
      if (IsIconic(window_) || IsZoomed(window_)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (GetWindowPlacement(window_, &placement)) lastPlace_ = placement.rcNormalPosition;
      }
      break;
    case WM_NCDESTROY: {
      const HWND window = window_;
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      window_ = topicsLabel_ = list_ = titleLabel_ = text_ = focus_ = nullptr;
      return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
      break;
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK HelpWindow::KeyProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR data) {
  if (message == WM_NCDESTROY) RemoveWindowSubclass(control, KeyProc, id);
  auto* help = reinterpret_cast<HelpWindow*>(data);
  try {
    if (help->key(control, message, wParam)) return 0;
  } catch (...) {
    ReportCurrentException();
    return 0;
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

// The window's keys, which no dialog manager gives it: Escape closes, Tab
// goes between the topics and the text, Ctrl+A selects the whole text.
bool HelpWindow::key(HWND control, UINT message, WPARAM wParam) {
  if (message == WM_CHAR) {
    // Their characters would only make the controls beep.
    return wParam == VK_ESCAPE || wParam == '\t' || (control == text_ && wParam == 1);
  }
  if (message != WM_KEYDOWN) return false;
  switch (wParam) {
    case VK_ESCAPE:
      PostMessageW(window_, WM_CLOSE, 0, 0);
      return true;
    case VK_TAB:
      if (GetKeyState(VK_CONTROL) < 0) return false;
      SetFocus(control == list_ ? text_ : list_);
      return true;
    case 'A':
      if (control != text_ || GetKeyState(VK_CONTROL) >= 0) return false;
      SendMessageW(text_, EM_SETSEL, 0, -1);
      return true;
    default:
      return false;
  }
}

}  // namespace hk
