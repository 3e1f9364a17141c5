#include "platform/win32/WindowPeer.h"

#include <windows.h>

// These need windows.h first.
#include <commctrl.h>
#include <windowsx.h>

#include <exception>
#include <stdexcept>
#include <utility>

#include "platform/Dispatcher.h"
#include "platform/win32/Text.h"

namespace hk {

constexpr UINT_PTR kSubclassId = 1;

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  const int length = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

void ReportCurrentException() {
  // Fire shows what its handler throws; handing it the exception in flight
  // gives every failure the one report.
  const std::exception_ptr error = std::current_exception();
  Fire(std::function<void()>([error] { std::rethrow_exception(error); }));
}

WindowPeer* WindowPeerOf(const Control& control) {
  return dynamic_cast<WindowPeer*>(control.peer());
}

WindowPeer::~WindowPeer() {
  if (!hwnd_) return;
  // The component is going: its window must not call back into it while it
  // is destroyed.
  const HWND window = hwnd_;
  forget();
  DestroyWindow(window);
}

void WindowPeer::forget() {
  if (subclassed_) {
    RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
  } else {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  }
  hwnd_ = nullptr;
}

void WindowPeer::changed(Change what) {
  if (hwnd_) update(what);
}

LRESULT WindowPeer::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    return handle(message, wParam, lParam);
  } catch (...) {
    ReportCurrentException();
    return 0;
  }
}

LRESULT CALLBACK WindowPeer::OwnClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* creating =
        static_cast<WindowPeer*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    creating->hwnd_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
  }
  auto* peer = reinterpret_cast<WindowPeer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!peer) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    peer->forget();
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return peer->dispatch(message, wParam, lParam);
}

LRESULT CALLBACK WindowPeer::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR, DWORD_PTR data) {
  auto* peer = reinterpret_cast<WindowPeer*>(data);
  if (message == WM_NCDESTROY) {
    peer->forget();
    return DefSubclassProc(window, message, wParam, lParam);
  }
  return peer->dispatch(message, wParam, lParam);
}

const wchar_t* WindowPeer::RegisterOwnClass(const wchar_t* name) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  if (GetClassInfoExW(instance, name, &info)) return name;
  info.style = CS_HREDRAW | CS_VREDRAW;
  info.lpfnWndProc = OwnClassProc;
  info.hInstance = instance;
  info.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  info.hIcon = LoadIconW(instance, L"MAINICON");
  if (!info.hIcon) info.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  info.lpszClassName = name;
  if (!RegisterClassExW(&info)) throw std::runtime_error("window class not registered");
  return name;
}

LRESULT WindowPeer::defaultHandle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (!hwnd_) return 0;  // destroyed while the message was handled
  if (subclassed_) return DefSubclassProc(hwnd_, message, wParam, lParam);
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT WindowPeer::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (lParam &&
          reflectToChild(reinterpret_cast<HWND>(lParam), message, wParam, lParam, result)) {
        return result;
      }
      break;
    case WM_NOTIFY:
      if (reflectToChild(reinterpret_cast<NMHDR*>(lParam)->hwndFrom, message, wParam, lParam,
                         result)) {
        return result;
      }
      break;
    case WM_DRAWITEM: {
      // Every control has the id 0, so the item's type, not wParam, tells a
      // control's drawing from a menu's.
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlType != ODT_MENU &&
          reflectToChild(item->hwndItem, message, wParam, lParam, result)) {
        return result;
      }
      break;
    }
    case WM_SETFOCUS:
      focused();
      break;
    default:
      break;
  }
  if (subclassed_) return defaultHandle(message, wParam, lParam);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      const MouseButton button = message == WM_LBUTTONDOWN   ? MouseButton::Left
                                 : message == WM_RBUTTONDOWN ? MouseButton::Right
                                                             : MouseButton::Middle;
      control_.mouseDown(button, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // paint() covers every pixel
    case WM_PAINT: {
      PaintDc dc(hwnd_);
      paint(dc.get());
      return 0;
    }
    case WM_PRINTCLIENT:
      paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ENABLE:
      InvalidateRect(hwnd_, nullptr, FALSE);
      break;
    default:
      break;
  }
  return defaultHandle(message, wParam, lParam);
}

bool WindowPeer::reflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message < WM_CTLCOLORMSGBOX || message > WM_CTLCOLORSTATIC) return false;
  const HDC dc = reinterpret_cast<HDC>(wParam);
  SetTextColor(dc, ToColorRef(control_.font().colour));
  SetBkColor(dc, ToColorRef(control_.colour()));
  result = reinterpret_cast<LRESULT>(background());
  return true;
}

bool WindowPeer::reflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT& result) {
  for (Control* component : control_.children()) {
    WindowPeer* peer = WindowPeerOf(*component);
    if (peer && peer->hwnd_ == child) return peer->reflected(message, wParam, lParam, result);
  }
  return false;
}

void WindowPeer::update(Change what) {
  switch (what) {
    case Change::Bounds:
      moveWindow();
      break;
    case Change::Visible:
      if (control_.visible() && createChildren_) std::exchange(createChildren_, nullptr)();
      ShowWindow(hwnd_, control_.visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case Change::Enabled:
      EnableWindow(hwnd_, control_.enabled());
      break;
    case Change::Text: {
      const std::wstring text = SjisToWide(control_.text());
      if (WindowText(hwnd_) != text) SetWindowTextW(hwnd_, text.c_str());
      InvalidateRect(hwnd_, nullptr, TRUE);
      break;
    }
    case Change::Font: {
      // The window lets go of the old font before it is freed.
      const FontObject previous = std::move(font_);
      SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font()), TRUE);
      InvalidateRect(hwnd_, nullptr, TRUE);
      break;
    }
    case Change::Colour:
      background_.reset();
      InvalidateRect(hwnd_, nullptr, TRUE);
      break;
    case Change::Focus:
      if (GetFocus() != hwnd_) SetFocus(hwnd_);
      break;
    default:
      InvalidateRect(hwnd_, nullptr, TRUE);
      break;
  }
}

void WindowPeer::createOwn(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent) {
  const Rect r = windowBounds();
  const std::wstring text = SjisToWide(control_.text());
  CreateWindowExW(exStyle, className, text.c_str(), style, r.left, r.top, r.width, r.height, parent,
                  nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) throw std::runtime_error("window not created");
}

void WindowPeer::createStandard(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent) {
  const Rect r = windowBounds();
  const std::wstring text = SjisToWide(control_.text());
  const HWND window =
      CreateWindowExW(exStyle, className, text.c_str(), style, r.left, r.top, r.width, r.height,
                      parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window) throw std::runtime_error("control not created");
  hwnd_ = window;
  subclassed_ = true;
  SetWindowSubclass(window, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
}

DWORD WindowPeer::childStyle() const {
  return WS_CHILD | WS_CLIPSIBLINGS | (control_.visible() ? WS_VISIBLE : 0) |
         (control_.enabled() ? 0 : WS_DISABLED);
}

void WindowPeer::moveWindow() {
  const Rect r = windowBounds();
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT WindowPeer::font() {
  if (!font_) font_ = MakeFont(control_.font());
  return font_.get();
}

HBRUSH WindowPeer::background() {
  if (!background_) background_ = MakeBrush(control_.colour());
  return background_.get();
}

void WindowPeer::focused() {
  Form* form = control_.form();
  if (form && form != &control_) form->setFocused(&control_);
}

void WindowPeer::paintUnderneath(HDC dc) {
  const HWND parent = GetParent(hwnd_);
  Control* parentControl = control_.parent();
  if (!parent || !parentControl) return;
  RECT mine;
  GetWindowRect(hwnd_, &mine);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&mine), 2);
  // Each source paints at its own origin, shifted so that its pixels land
  // where this window covers them.
  const auto paintFrom = [&](HWND source, POINT origin) {
    POINT previous;
    OffsetWindowOrgEx(dc, origin.x, origin.y, &previous);
    SendMessageW(source, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetWindowOrgEx(dc, previous.x, previous.y, nullptr);
  };
  paintFrom(parent, POINT{mine.left, mine.top});
  for (Control* sibling : parentControl->children()) {
    if (sibling == &control_) break;  // the later ones lie on top
    const WindowPeer* peer = WindowPeerOf(*sibling);
    if (!peer || !peer->hwnd_ || peer->subclassed_ ||
        !(GetWindowLongW(peer->hwnd_, GWL_STYLE) & WS_VISIBLE)) {
      continue;
    }
    RECT theirs;
    GetWindowRect(peer->hwnd_, &theirs);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&theirs), 2);
    RECT overlap;
    if (!IntersectRect(&overlap, &mine, &theirs)) continue;
    paintFrom(peer->hwnd_, POINT{mine.left - theirs.left, mine.top - theirs.top});
  }
}

}  // namespace hk
