#include "platform/win32/WindowPeer.h"

#include <windows.h>

// These need windows.h first.
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <utility>

#include "platform/Dispatcher.h"
#include "platform/Palette.h"
#include "platform/Screen.h"
#include "platform/win32/Dpi.h"
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

RECT DeviceRect(const Rect& bounds, int dpi) {
  const Rect pixels = ScaleRect(bounds, dpi);
  return RECT{pixels.left, pixels.top, pixels.right(), pixels.bottom()};
}

namespace {
// The DPI of a window about to be made: a child's is its parent's, a
// top-level window's that of the monitor it opens on.
int DpiOfNew(const Control& control, HWND parent) {
  if (control.kind() != ControlKind::Form) return WindowDpi(parent);
  const Rect& bounds = control.bounds();
  return MonitorDpi(MonitorFromPoint(POINT{bounds.left, bounds.top}, MONITOR_DEFAULTTONEAREST));
}
}  // namespace

int WindowPeer::dpi() const { return WindowDpi(hwnd_); }

WindowPeer::~WindowPeer() {
  if (!hwnd_) return;
  // The component is going: its window must not call back into it while it
  // is destroyed.
  const HWND window = hwnd_;
  forget();
  DestroyWindow(window);
}

void WindowPeer::forget() {
  toolTip_.dismiss();
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

WindowPeer* WindowPeer::OfWindow(HWND window) {
  if (!window || !IsWindow(window)) return nullptr;
  DWORD_PTR data = 0;
  if (GetWindowSubclass(window, SubclassProc, kSubclassId, &data)) {
    return reinterpret_cast<WindowPeer*>(data);
  }
  const auto procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
  if (procedure != OwnClassProc) return nullptr;
  return reinterpret_cast<WindowPeer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
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
  // The icon's own small picture: the system would otherwise shrink the
  // large one for the taskbar and the title, before the window first shows.
  info.hIconSm = static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
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
    case WM_GETOBJECT:
      return accessible(wParam, lParam);
    default:
      break;
  }
  if (subclassed_) return defaultHandle(message, wParam, lParam);
  if (mouse(message, lParam)) return 0;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      const MouseButton button = message == WM_LBUTTONDOWN   ? MouseButton::Left
                                 : message == WM_RBUTTONDOWN ? MouseButton::Right
                                                             : MouseButton::Middle;
      const int at = dpi();
      control_.mouseDown(button, LayoutCoordinate(GET_X_LPARAM(lParam), at),
                         LayoutCoordinate(GET_Y_LPARAM(lParam), at));
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // paint() covers every pixel
    case WM_PAINT:
      paintBuffered();
      return 0;
    case WM_PRINTCLIENT: {
      RECT client{};
      GetClientRect(hwnd_, &client);
      paintAll(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case kAccessibleClick:
      clickPosted(reinterpret_cast<const GraphicPeer*>(lParam));
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
  const Ink ink = ThePalette().ink(control_.colour(), control_.font().colour,
                                   control_.enabled() ? Look::Normal : Look::Disabled);
  SetTextColor(dc, ToColorRef(ink.text));
  SetBkColor(dc, ToColorRef(ink.back));
  result = reinterpret_cast<LRESULT>(SharedBrush(ink.back));
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
    case Change::Font:
      SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font()), TRUE);
      InvalidateRect(hwnd_, nullptr, TRUE);
      break;
    case Change::Colour:
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
  const RECT r = devicePlace(DpiOfNew(control_, parent));
  const std::wstring text = SjisToWide(control_.text());
  CreateWindowExW(exStyle, className, text.c_str(), style, r.left, r.top, r.right - r.left,
                  r.bottom - r.top, parent, nullptr, GetModuleHandleW(nullptr), this);
  if (!hwnd_) throw std::runtime_error("window not created");
}

void WindowPeer::createStandard(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent) {
  const RECT r = devicePlace(DpiOfNew(control_, parent));
  const std::wstring text = SjisToWide(control_.text());
  const HWND window =
      CreateWindowExW(exStyle, className, text.c_str(), style, r.left, r.top, r.right - r.left,
                      r.bottom - r.top, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
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
  const RECT r = devicePlace(dpi());
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT WindowPeer::font() { return SharedFont(FontAtDpi(control_.font(), dpi())); }

HBRUSH WindowPeer::background() { return SharedBrush(ThePalette().background(control_.colour())); }

void WindowPeer::focused() {
  Form* form = control_.form();
  if (form && form != &control_) form->setFocused(&control_);
}

namespace {
// A graphic panel before the controls on it: the order they are painted in.
void CollectGraphics(const Control& parent, std::vector<GraphicPeer*>& found) {
  for (Control* child : parent.children()) {
    if (GraphicPeer* graphic = GraphicPeerOf(*child)) {
      found.push_back(graphic);
      CollectGraphics(*child, found);
    }
  }
}
}  // namespace

std::vector<GraphicPeer*> WindowPeer::graphics() const {
  std::vector<GraphicPeer*> found;
  CollectGraphics(control_, found);
  return found;
}

GraphicPeer* WindowPeer::graphicAt(POINT at, bool disabledToo) const {
  const std::vector<GraphicPeer*> all = graphics();
  for (auto it = all.rbegin(); it != all.rend(); ++it) {
    if (!(*it)->showing() || (!disabledToo && !(*it)->usable())) continue;
    const RECT place = (*it)->visiblePlace();
    if (PtInRect(&place, at)) return *it;
  }
  return nullptr;
}

void WindowPeer::forget(const GraphicPeer& graphic) {
  if (hot_ == &graphic) hot_ = nullptr;
  if (tracked_ == &graphic) {
    tracked_ = nullptr;
    if (hwnd_ && GetCapture() == hwnd_) ReleaseCapture();
  }
}

void WindowPeer::paintAll(HDC dc, const RECT& area) {
  paint(dc);
  for (GraphicPeer* graphic : graphics()) {
    if (!graphic->showing()) continue;
    const RECT place = graphic->place();
    const RECT visible = graphic->visiblePlace();
    RECT overlap;
    if (!IntersectRect(&overlap, &visible, &area)) continue;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, visible.left, visible.top, visible.right, visible.bottom);
    OffsetViewportOrgEx(dc, place.left, place.top, nullptr);
    graphic->paint(dc, SIZE{place.right - place.left, place.bottom - place.top});
    RestoreDC(dc, saved);
  }
}

void WindowPeer::paintBuffered() {
  PaintDc screen(hwnd_);
  const RECT area = screen.area();
  if (IsRectEmpty(&area)) return;
  // One buffer for every window, as large as the largest painted yet: each
  // paint is composed off the screen and shown in one copy, so a page change
  // never shows a half-painted window.
  static MemoryDc buffer(nullptr);
  static BitmapObject bitmap;
  static SIZE size{0, 0};
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (client.right > size.cx || client.bottom > size.cy) {
    size = SIZE{std::max(size.cx, client.right), std::max(size.cy, client.bottom)};
    BitmapObject larger(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    if (!larger) {
      paintAll(screen.get(), area);
      return;
    }
    // The smaller one leaves the DC before it is freed.
    SelectObject(buffer.get(), larger.get());
    bitmap = std::move(larger);
  }
  const int saved = SaveDC(buffer.get());
  IntersectClipRect(buffer.get(), area.left, area.top, area.right, area.bottom);
  paintAll(buffer.get(), area);
  RestoreDC(buffer.get(), saved);
  BitBlt(screen.get(), area.left, area.top, area.right - area.left, area.bottom - area.top,
         buffer.get(), area.left, area.top, SRCCOPY);
}

void WindowPeer::invalidate(const GraphicPeer& graphic) {
  const RECT place = graphic.place();
  InvalidateRect(hwnd_, &place, FALSE);
}

void WindowPeer::setHot(GraphicPeer* graphic) {
  if (graphic == hot_) return;
  if (hot_) invalidate(*hot_);
  hot_ = graphic;
  toolTip_.follow(hwnd_, hot_ ? hot_->control().toolTip() : std::string(),
                  hot_ ? hot_->visiblePlace() : RECT{});
  if (!hot_) return;
  invalidate(*hot_);
  TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, hwnd_, 0};
  TrackMouseEvent(&leave);
}

void WindowPeer::stopTracking() {
  GraphicPeer* released = std::exchange(tracked_, nullptr);
  inside_ = false;
  if (GetCapture() == hwnd_) ReleaseCapture();
  if (released) invalidate(*released);
}

bool WindowPeer::mouse(UINT message, LPARAM lParam) {
  const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      GraphicPeer* graphic = graphicAt(at);
      if (!graphic) return false;
      if (message == WM_LBUTTONDOWN && graphic->pushable()) {
        tracked_ = graphic;
        inside_ = true;
        SetCapture(hwnd_);
        invalidate(*graphic);
      }
      const MouseButton button = message == WM_LBUTTONDOWN   ? MouseButton::Left
                                 : message == WM_RBUTTONDOWN ? MouseButton::Right
                                                             : MouseButton::Middle;
      // In the client area of what the control sits on, as a window there
      // would have heard it.
      POINT local = at;
      if (const GraphicPeer* parent = graphic->graphicParent()) {
        const RECT origin = parent->place();
        local.x -= origin.left;
        local.y -= origin.top;
      }
      const Rect& bounds = graphic->control().bounds();
      const int scale = dpi();
      graphic->control().mouseDown(button, LayoutCoordinate(local.x, scale) - bounds.left,
                                   LayoutCoordinate(local.y, scale) - bounds.top);
      return true;
    }
    case WM_MOUSEMOVE:
      if (tracked_) {
        const RECT place = tracked_->visiblePlace();
        const bool inside = PtInRect(&place, at) != FALSE;
        if (inside != inside_) {
          inside_ = inside;
          InvalidateRect(hwnd_, &place, FALSE);
        }
        setHot(inside ? tracked_ : nullptr);
      } else {
        setHot(graphicAt(at, true));
      }
      return false;
    case WM_MOUSELEAVE:
      setHot(nullptr);
      return false;
    case WM_LBUTTONUP:
      if (tracked_) {
        GraphicPeer* released = tracked_;
        const RECT place = released->visiblePlace();
        const bool clicked = PtInRect(&place, at) != FALSE;
        stopTracking();
        if (clicked) released->click();
        return true;
      }
      return false;
    case WM_CAPTURECHANGED:
      if (tracked_ && reinterpret_cast<HWND>(lParam) != hwnd_) {
        invalidate(*tracked_);
        tracked_ = nullptr;
        inside_ = false;
      }
      return false;
    default:
      return false;
  }
}

}  // namespace hk
