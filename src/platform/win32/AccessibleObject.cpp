#include "platform/win32/AccessibleObject.h"

#include <algorithm>

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Text.h"

namespace hk {

std::wstring SpokenText(const std::string& sjis) {
  std::wstring text = SjisToWide(sjis);
  std::replace(text.begin(), text.end(), L'\\', L'\u00A5');
  return text;
}

// Screen-reader support comes from libraries that most sessions never need:
// they are loaded with the first question a reader asks.
BSTR AllocString(const std::wstring& text) {
  static const auto alloc =
      SystemFunction<BSTR(WINAPI*)(const OLECHAR*, UINT)>(L"oleaut32.dll", "SysAllocStringLen");
  return alloc ? alloc(text.data(), static_cast<UINT>(text.size())) : nullptr;
}

HRESULT ObjectOfWindow(HWND window, LONG id, IDispatch** object) {
  static const auto fromWindow = SystemFunction<HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**)>(
      L"oleacc.dll", "AccessibleObjectFromWindow");
  if (!fromWindow) return E_FAIL;
  return fromWindow(window, static_cast<DWORD>(id), IID_IDispatch,
                    reinterpret_cast<void**>(object));
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

namespace {

// Whether a reader hears the control at all.
bool Heard(const Control& control) {
  if (control.accessibleHidden()) return false;
  return control.kind() != ControlKind::Panel || !control.accessibleName().empty();
}

bool CentreWithin(const RECT& a, const RECT& b) {
  const LONG centre = (a.top + a.bottom) / 2;
  return centre >= b.top && centre < b.bottom;
}

bool SameRow(const RECT& a, const RECT& b) { return CentreWithin(a, b) && CentreWithin(b, a); }

void Collect(HWND window, const WindowPeer& peer, std::vector<ReadChild>& found) {
  for (GraphicPeer* graphic : peer.graphics()) {
    if (Heard(graphic->control())) found.push_back({graphic, nullptr, graphic->place()});
  }
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const WindowPeer* owner = WindowPeer::OfWindow(child);
    if (owner && owner->control().accessibleHidden()) continue;
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
    found.push_back({nullptr, child, r});
  }
}

}  // namespace

std::vector<ReadChild> ReadingOrder(HWND window, const WindowPeer& peer) {
  std::vector<ReadChild> all;
  Collect(window, peer, all);
  std::stable_sort(all.begin(), all.end(), [](const ReadChild& a, const ReadChild& b) {
    return a.place.top < b.place.top;
  });
  std::vector<std::vector<ReadChild>> rows;
  for (const ReadChild& child : all) {
    if (rows.empty() || !SameRow(rows.back().front().place, child.place)) rows.emplace_back();
    rows.back().push_back(child);
  }
  std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
    return a.front().place.bottom < b.front().place.bottom;
  });
  std::vector<ReadChild> ordered;
  for (auto& row : rows) {
    std::stable_sort(row.begin(), row.end(), [](const ReadChild& a, const ReadChild& b) {
      return a.place.left < b.place.left;
    });
    ordered.insert(ordered.end(), row.begin(), row.end());
  }
  return ordered;
}

LONG ChildNumber(HWND window, const WindowPeer& peer, const GraphicPeer& graphic) {
  const std::vector<ReadChild> children = ReadingOrder(window, peer);
  for (std::size_t i = 0; i < children.size(); ++i) {
    if (children[i].graphic == &graphic) return static_cast<LONG>(i + 1);
  }
  return 0;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::QueryInterface(REFIID id, void** object) {
  if (!object) return E_POINTER;
  if (id == IID_IUnknown || id == IID_IDispatch || id == IID_IAccessible) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE AccessibleObject::Release() {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::GetTypeInfoCount(UINT* count) {
  if (count) *count = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accParent(IDispatch** parent) {
  if (!parent) return E_POINTER;
  return ObjectOfWindow(window_, OBJID_WINDOW, parent);
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accChildCount(LONG* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accChild(VARIANT, IDispatch** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  return E_INVALIDARG;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accName(VARIANT, BSTR* name) {
  if (name) *name = nullptr;
  return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accValue(VARIANT, BSTR* value) {
  if (value) *value = nullptr;
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accDescription(VARIANT, BSTR* text) {
  if (text) *text = nullptr;
  return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accRole(VARIANT, VARIANT* role) {
  if (!role) return E_POINTER;
  role->vt = VT_I4;
  role->lVal = ROLE_SYSTEM_CLIENT;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accState(VARIANT, VARIANT* state) {
  if (!state) return E_POINTER;
  state->vt = VT_I4;
  state->lVal = 0;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accHelp(VARIANT, BSTR* help) {
  if (help) *help = nullptr;
  return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accHelpTopic(BSTR* file, VARIANT, LONG*) {
  if (file) *file = nullptr;
  return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accKeyboardShortcut(VARIANT, BSTR* shortcut) {
  if (shortcut) *shortcut = nullptr;
  return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accFocus(VARIANT* focus) {
  if (!focus) return E_POINTER;
  focus->vt = VT_EMPTY;
  return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accSelection(VARIANT* selection) {
  if (!selection) return E_POINTER;
  selection->vt = VT_EMPTY;
  return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::get_accDefaultAction(VARIANT, BSTR* action) {
  if (action) *action = nullptr;
  return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::accSelect(LONG, VARIANT) { return E_NOTIMPL; }

HRESULT STDMETHODCALLTYPE AccessibleObject::accLocation(LONG* left, LONG* top, LONG* width,
                                                        LONG* height, VARIANT child) {
  if (!IsSelf(child)) return E_INVALIDARG;
  RECT client{};
  GetClientRect(window_, &client);
  return screenPlace(client, left, top, width, height);
}

HRESULT STDMETHODCALLTYPE AccessibleObject::accNavigate(LONG, VARIANT, VARIANT* end) {
  if (end) end->vt = VT_EMPTY;
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::accHitTest(LONG, LONG, VARIANT* child) {
  if (!child) return E_POINTER;
  child->vt = VT_EMPTY;
  return S_FALSE;
}

HRESULT STDMETHODCALLTYPE AccessibleObject::accDoDefaultAction(VARIANT) {
  return DISP_E_MEMBERNOTFOUND;
}

HRESULT AccessibleObject::screenPlace(RECT r, LONG* left, LONG* top, LONG* width,
                                      LONG* height) const {
  if (!left || !top || !width || !height) return E_POINTER;
  MapWindowPoints(window_, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
  *left = r.left;
  *top = r.top;
  *width = r.right - r.left;
  *height = r.bottom - r.top;
  return S_OK;
}

}  // namespace hk
