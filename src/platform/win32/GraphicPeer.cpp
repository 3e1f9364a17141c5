// The graphic controls' side of their host window: telling it what to paint
// again, and telling screen readers what it paints (an accessible object for
// the host's client area whose children are the graphic controls).
#include <windows.h>

// These need windows.h first.
#include <oleacc.h>

#include <string>
#include <vector>

#include "platform/Screen.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Text.h"
#include "platform/win32/WindowPeer.h"

namespace hk {

GraphicPeer* GraphicPeerOf(const Control& control) {
  return dynamic_cast<GraphicPeer*>(control.peer());
}

GraphicPeer::~GraphicPeer() {
  if (WindowPeer* window = host()) {
    window->forget(*this);
    if (window->hwnd() && !IsRectEmpty(&shown_)) InvalidateRect(window->hwnd(), &shown_, FALSE);
  }
}

WindowPeer* HostOf(const Control& control) {
  for (const Control* parent = control.parent(); parent; parent = parent->parent()) {
    if (WindowPeer* window = WindowPeerOf(*parent)) return window;
  }
  return nullptr;
}

WindowPeer* GraphicPeer::host() const { return HostOf(control_); }

int GraphicPeer::dpi() const {
  const WindowPeer* window = host();
  return window && window->hwnd() ? window->dpi() : kLayoutDpi;
}

GraphicPeer* GraphicPeer::graphicParent() const {
  return control_.parent() ? GraphicPeerOf(*control_.parent()) : nullptr;
}

RECT GraphicPeer::place() const {
  RECT r = DeviceRect(control_.bounds(), dpi());
  // Inside a graphic panel the bounds are in the panel's client area, which
  // starts where the panel's own place does.
  if (const GraphicPeer* parent = graphicParent()) {
    const RECT origin = parent->place();
    OffsetRect(&r, origin.left, origin.top);
  }
  return r;
}

RECT GraphicPeer::visiblePlace() const {
  RECT r = place();
  if (const GraphicPeer* parent = graphicParent()) {
    const RECT outer = parent->visiblePlace();
    if (!IntersectRect(&r, &r, &outer)) return RECT{};
  }
  return r;
}

bool GraphicPeer::showing() const {
  const GraphicPeer* parent = graphicParent();
  return control_.visible() && (!parent || parent->showing());
}

bool GraphicPeer::usable() const {
  const GraphicPeer* parent = graphicParent();
  return control_.enabled() && (!parent || parent->usable());
}

HWND GraphicPeer::hostWindow() const {
  const WindowPeer* window = host();
  return window ? window->hwnd() : nullptr;
}

void GraphicPeer::changed(Change what) {
  if (!hostWindow() || what == Change::Focus) return;
  update(what);
  invalidate();
}

void GraphicPeer::invalidate() {
  const HWND window = hostWindow();
  if (!window) return;
  const RECT now = place();
  if (!EqualRect(&now, &shown_) && !IsRectEmpty(&shown_)) InvalidateRect(window, &shown_, FALSE);
  InvalidateRect(window, &now, FALSE);
  shown_ = now;
}

namespace {

// Screen-reader support comes from libraries that most sessions never need:
// they are loaded with the first question a reader asks.
BSTR AllocString(const std::wstring& text) {
  static const auto alloc =
      SystemFunction<BSTR(WINAPI*)(const OLECHAR*, UINT)>(L"oleaut32.dll", "SysAllocStringLen");
  return alloc ? alloc(text.data(), static_cast<UINT>(text.size())) : nullptr;
}

BSTR ToBstr(const std::string& sjis) { return AllocString(SjisToWide(sjis)); }

HRESULT ObjectOfWindow(HWND window, LONG id, IDispatch** object) {
  static const auto fromWindow = SystemFunction<HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**)>(
      L"oleacc.dll", "AccessibleObjectFromWindow");
  if (!fromWindow) return E_FAIL;
  return fromWindow(window, static_cast<DWORD>(id), IID_IDispatch,
                    reinterpret_cast<void**>(object));
}

// The host's client area for screen readers. It holds the window, not the
// peer: a reader may keep the object after the window is gone.
class GraphicsAccessible final : public IAccessible {
 public:
  explicit GraphicsAccessible(HWND window) : window_(window) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (!object) return E_POINTER;
    if (id == IID_IUnknown || id == IID_IDispatch || id == IID_IAccessible) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch: not offered; readers use the IAccessible methods.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    return ObjectOfWindow(window_, OBJID_WINDOW, parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    if (!count) return E_POINTER;
    const WindowPeer* peer = host();
    *count = peer ? static_cast<LONG>(peer->graphics().size()) : 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    // The graphic controls are simple elements, known by their number.
    return child.vt == VT_I4 && (child.lVal == CHILDID_SELF || graphic(child)) ? S_FALSE
                                                                               : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!name) return E_POINTER;
    *name = nullptr;
    if (isSelf(child)) {
      *name = AllocString(WindowText(window_));
      return S_OK;
    }
    const GraphicPeer* found = graphic(child);
    if (!found) return E_INVALIDARG;
    // Title-panel buttons show only a picture; their hint names them.
    const Control& control = found->control();
    *name = ToBstr(control.text().empty() ? control.hint() : control.text());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT, BSTR* value) override {
    if (value) *value = nullptr;
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR* text) override {
    if (text) *text = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role) return E_POINTER;
    role->vt = VT_I4;
    if (isSelf(child)) {
      role->lVal = ROLE_SYSTEM_CLIENT;
      return S_OK;
    }
    const GraphicPeer* found = graphic(child);
    if (!found) return E_INVALIDARG;
    switch (found->control().kind()) {
      case ControlKind::SpeedButton:
        role->lVal = ROLE_SYSTEM_PUSHBUTTON;
        break;
      case ControlKind::Image:
        role->lVal = ROLE_SYSTEM_GRAPHIC;
        break;
      default:
        role->lVal = ROLE_SYSTEM_STATICTEXT;
        break;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state) return E_POINTER;
    state->vt = VT_I4;
    state->lVal = 0;
    if (isSelf(child)) return S_OK;
    const WindowPeer* peer = host();
    const GraphicPeer* found = graphic(child);
    if (!found) return E_INVALIDARG;
    const Control& control = found->control();
    if (!found->showing()) state->lVal |= STATE_SYSTEM_INVISIBLE;
    if (!found->usable()) state->lVal |= STATE_SYSTEM_UNAVAILABLE;
    const bool down = control.kind() == ControlKind::SpeedButton &&
                      static_cast<const SpeedButton&>(control).down();
    if (down || peer->pressed(*found)) state->lVal |= STATE_SYSTEM_PRESSED;
    if (peer->hot(*found)) state->lVal |= STATE_SYSTEM_HOTTRACKED;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override {
    if (help) *help = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG*) override {
    if (file) *file = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* shortcut) override {
    if (shortcut) *shortcut = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    focus->vt = VT_EMPTY;  // graphic controls never take the focus
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    selection->vt = VT_EMPTY;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (!action) return E_POINTER;
    *action = nullptr;
    const GraphicPeer* found = graphic(child);
    if (!found || !found->pushable()) return S_FALSE;
    *action = AllocString(L"押す");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    RECT r{};
    if (isSelf(child)) {
      GetClientRect(window_, &r);
    } else if (const GraphicPeer* found = graphic(child)) {
      r = found->place();
    } else {
      return E_INVALIDARG;
    }
    MapWindowPoints(window_, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG, VARIANT, VARIANT* end) override {
    if (end) end->vt = VT_EMPTY;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    if (!child) return E_POINTER;
    child->vt = VT_EMPTY;
    const WindowPeer* peer = host();
    if (!peer) return S_FALSE;
    POINT at{x, y};
    ScreenToClient(window_, &at);
    RECT client{};
    GetClientRect(window_, &client);
    if (!PtInRect(&client, at)) return S_FALSE;
    // A child window lies over the graphic controls.
    const HWND over = ChildWindowFromPointEx(window_, at, CWP_SKIPINVISIBLE);
    if (over && over != window_) {
      child->vt = VT_DISPATCH;
      return ObjectOfWindow(over, OBJID_WINDOW, &child->pdispVal);
    }
    child->vt = VT_I4;
    child->lVal = CHILDID_SELF;
    if (const GraphicPeer* found = peer->graphicAt(at, true)) child->lVal = numberOf(found);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    GraphicPeer* found = graphic(child);
    if (!found || !found->pushable()) return DISP_E_MEMBERNOTFOUND;
    if (!found->control().usable()) return S_OK;  // as a click on it would
    try {
      found->click();
    } catch (...) {
      ReportCurrentException();
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  static bool isSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
  }
  WindowPeer* host() const {
    if (!IsWindow(window_)) return nullptr;
    return reinterpret_cast<WindowPeer*>(GetWindowLongPtrW(window_, GWLP_USERDATA));
  }
  // Children are numbered from 1, bottom first.
  GraphicPeer* graphic(const VARIANT& child) const {
    const WindowPeer* peer = host();
    if (!peer || child.vt != VT_I4 || child.lVal < 1) return nullptr;
    const std::vector<GraphicPeer*> all = peer->graphics();
    const auto index = static_cast<std::size_t>(child.lVal - 1);
    return index < all.size() ? all[index] : nullptr;
  }
  LONG numberOf(const GraphicPeer* found) const {
    const std::vector<GraphicPeer*> all = host()->graphics();
    for (std::size_t i = 0; i < all.size(); ++i) {
      if (all[i] == found) return static_cast<LONG>(i + 1);
    }
    return CHILDID_SELF;
  }

  HWND window_;
  ULONG references_ = 1;
};

}  // namespace

LRESULT WindowPeer::accessible(WPARAM wParam, LPARAM lParam) {
  if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT) || graphics().empty()) {
    return defaultHandle(WM_GETOBJECT, wParam, lParam);
  }
  // Handing the object to another process needs COM on this thread; most
  // sessions never meet a screen reader, so it starts with the first one.
  static const auto startCom =
      SystemFunction<HRESULT(WINAPI*)(void*, DWORD)>(L"ole32.dll", "CoInitializeEx");
  static const auto toResult = SystemFunction<LRESULT(WINAPI*)(REFIID, WPARAM, IUnknown*)>(
      L"oleacc.dll", "LresultFromObject");
  static const HRESULT com = startCom ? startCom(nullptr, COINIT_APARTMENTTHREADED) : E_FAIL;
  if (FAILED(com) && com != RPC_E_CHANGED_MODE) return defaultHandle(WM_GETOBJECT, wParam, lParam);
  if (!toResult) return defaultHandle(WM_GETOBJECT, wParam, lParam);
  auto* object = new GraphicsAccessible(hwnd_);
  const LRESULT result = toResult(IID_IAccessible, wParam, object);
  object->Release();
  return result;
}

}  // namespace hk
