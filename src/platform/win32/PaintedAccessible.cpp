// A window's client area as a reader sees it when the window paints controls
// of its own: they are its simple children, numbered in reading order among
// its child windows, which answer for themselves.
#include <string>
#include <vector>

#include "platform/win32/AccessibleObject.h"

namespace hk {
namespace {

LONG RoleOf(const Control& control) {
  switch (control.kind()) {
    case ControlKind::SpeedButton:
      return ROLE_SYSTEM_PUSHBUTTON;
    case ControlKind::Image:
      return ROLE_SYSTEM_GRAPHIC;
    default:
      // A value made of texts reads as read-only text, the rest as labels.
      return control.AccessibleValue ? ROLE_SYSTEM_TEXT : ROLE_SYSTEM_STATICTEXT;
  }
}

LONG StateOf(const GraphicPeer& graphic, const WindowPeer& host) {
  const Control& control = graphic.control();
  LONG state = 0;
  if (!graphic.showing()) state |= STATE_SYSTEM_INVISIBLE;
  if (!graphic.usable()) state |= STATE_SYSTEM_UNAVAILABLE;
  const bool down =
      control.kind() == ControlKind::SpeedButton && static_cast<const SpeedButton&>(control).down();
  if (down || host.pressed(graphic)) state |= STATE_SYSTEM_PRESSED;
  if (host.hot(graphic)) state |= STATE_SYSTEM_HOTTRACKED;
  if (control.AccessibleValue) state |= STATE_SYSTEM_READONLY;
  if (control.takesFocus()) state |= STATE_SYSTEM_FOCUSABLE;
  if (graphic.focusShown()) state |= STATE_SYSTEM_FOCUSED;
  return state;
}

class PaintedAccessible final : public AccessibleObject {
 public:
  explicit PaintedAccessible(HWND window) : AccessibleObject(window) {}

  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    if (!count) return E_POINTER;
    *count = static_cast<LONG>(children().size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    const ReadChild found = at(child);
    if (found.window) return ObjectOfWindow(found.window, OBJID_WINDOW, object);
    // The painted controls are simple elements, known by their number.
    return found.graphic ? S_FALSE : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!name) return E_POINTER;
    *name = nullptr;
    if (IsSelf(child)) {
      *name = AllocString(WindowText(window()));
      return S_OK;
    }
    const GraphicPeer* found = at(child).graphic;
    if (!found) return E_INVALIDARG;
    *name = SpokenBstr(found->control().accessibleName());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    if (!value) return E_POINTER;
    *value = nullptr;
    const GraphicPeer* found = at(child).graphic;
    if (!found || !found->control().AccessibleValue) return DISP_E_MEMBERNOTFOUND;
    *value = SpokenBstr(found->control().AccessibleValue());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    if (!role || IsSelf(child)) return AccessibleObject::get_accRole(child, role);
    const GraphicPeer* found = at(child).graphic;
    if (!found) return E_INVALIDARG;
    role->vt = VT_I4;
    role->lVal = RoleOf(found->control());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    if (!state || IsSelf(child)) return AccessibleObject::get_accState(child, state);
    const GraphicPeer* found = at(child).graphic;
    const WindowPeer* host = peer();
    if (!found || !host) return E_INVALIDARG;
    state->vt = VT_I4;
    state->lVal = StateOf(*found, *host);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    if (!shortcut) return E_POINTER;
    *shortcut = nullptr;
    const GraphicPeer* found = at(child).graphic;
    if (!found) return IsSelf(child) ? S_FALSE : E_INVALIDARG;
    const std::string keys = found->control().accessibleShortcut();
    if (keys.empty()) return S_FALSE;
    *shortcut = SpokenBstr(keys);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    if (!action) return E_POINTER;
    *action = nullptr;
    const GraphicPeer* found = at(child).graphic;
    if (!found || !found->pushable()) return S_FALSE;
    *action = AllocString(L"押す");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    if (IsSelf(child)) return AccessibleObject::accLocation(left, top, width, height, child);
    const ReadChild found = at(child);
    if (!found.graphic) return E_INVALIDARG;
    return screenPlace(found.place, left, top, width, height);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    focus->vt = VT_EMPTY;
    const WindowPeer* host = peer();
    if (!host) return S_FALSE;
    for (const GraphicPeer* graphic : host->graphics()) {
      if (!graphic->focusShown()) continue;
      focus->vt = VT_I4;
      focus->lVal = ChildNumber(window(), *host, *graphic);
      return S_OK;
    }
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    GraphicPeer* found = at(child).graphic;
    if (!found || !found->pushable()) return DISP_E_MEMBERNOTFOUND;
    // Posted, as the mouse's click would come: what the click opens (a modal
    // window) must not hold the reader that asked.
    PostMessageW(window(), kAccessibleClick, 0, reinterpret_cast<LPARAM>(found));
    return S_OK;
  }

 private:
  std::vector<ReadChild> children() const {
    const WindowPeer* host = peer();
    return host ? ReadingOrder(window(), *host) : std::vector<ReadChild>{};
  }
  ReadChild at(const VARIANT& child) const {
    if (child.vt != VT_I4 || child.lVal < 1) return {};
    const std::vector<ReadChild> all = children();
    const auto index = static_cast<std::size_t>(child.lVal - 1);
    return index < all.size() ? all[index] : ReadChild{};
  }
};

HRESULT STDMETHODCALLTYPE PaintedAccessible::accHitTest(LONG x, LONG y, VARIANT* child) {
  if (!child) return E_POINTER;
  child->vt = VT_EMPTY;
  const WindowPeer* host = peer();
  if (!host) return S_FALSE;
  POINT at{x, y};
  ScreenToClient(window(), &at);
  RECT client{};
  GetClientRect(window(), &client);
  if (!PtInRect(&client, at)) return S_FALSE;
  // A child window lies over the painted controls.
  const HWND over = ChildWindowFromPointEx(window(), at, CWP_SKIPINVISIBLE);
  if (over && over != window()) {
    child->vt = VT_DISPATCH;
    return ObjectOfWindow(over, OBJID_WINDOW, &child->pdispVal);
  }
  child->vt = VT_I4;
  child->lVal = CHILDID_SELF;
  // What lies under the point, or the panel it sits on if the reader skips it.
  for (const GraphicPeer* found = host->graphicAt(at, true); found;
       found = found->graphicParent()) {
    if (const LONG number = ChildNumber(window(), *host, *found)) {
      child->lVal = number;
      break;
    }
  }
  return S_OK;
}

}  // namespace

AccessibleObject* MakePaintedAccessible(HWND window) { return new PaintedAccessible(window); }

}  // namespace hk
