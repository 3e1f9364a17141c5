// The peers' side of screen-reader support: the objects a window hands out,
// the events that tell a reader what changed, and the posted default action.
#include <vector>

#include "platform/win32/AccessibleObject.h"
#include "platform/win32/SystemLibrary.h"

namespace hk {

AccessibleObject* WindowPeer::accessibleObject() {
  if (!subclassed_) return graphics().empty() ? nullptr : MakePaintedAccessible(hwnd_);
  static const auto standardObject = SystemFunction<HRESULT(WINAPI*)(HWND, LONG, REFIID, void**)>(
      L"oleacc.dll", "CreateStdAccessibleObject");
  IAccessible* standard = nullptr;
  if (!standardObject || FAILED(standardObject(hwnd_, OBJID_CLIENT, IID_IAccessible,
                                               reinterpret_cast<void**>(&standard)))) {
    return nullptr;
  }
  return MakeWindowAccessible(hwnd_, standard);
}

LRESULT WindowPeer::accessible(WPARAM wParam, LPARAM lParam) {
  if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT)) {
    return defaultHandle(WM_GETOBJECT, wParam, lParam);
  }
  // Handing the object to another process needs COM on this thread; most
  // sessions never meet a screen reader, so it starts with the first one.
  static const auto startCom =
      SystemFunction<HRESULT(WINAPI*)(void*, DWORD)>(L"ole32.dll", "CoInitializeEx");
  static const auto toResult = SystemFunction<LRESULT(WINAPI*)(REFIID, WPARAM, IUnknown*)>(
      L"oleacc.dll", "LresultFromObject");
  static const HRESULT com = startCom ? startCom(nullptr, COINIT_APARTMENTTHREADED) : E_FAIL;
  if ((FAILED(com) && com != RPC_E_CHANGED_MODE) || !toResult) {
    return defaultHandle(WM_GETOBJECT, wParam, lParam);
  }
  AccessibleObject* object = accessibleObject();
  if (!object) return defaultHandle(WM_GETOBJECT, wParam, lParam);
  const LRESULT result = toResult(IID_IAccessible, wParam, object);
  object->Release();
  return result;
}

void WindowPeer::clickPosted(const GraphicPeer* graphic) {
  for (GraphicPeer* known : graphics()) {
    // A control that became unusable meanwhile ignores it, as it would a click.
    if (known == graphic && known->pushable() && known->control().usable()) {
      known->click();
      return;
    }
  }
}

namespace {
void Raise(DWORD event, HWND window, LONG child) {
  NotifyWinEvent(event, window, OBJID_CLIENT, child);
}
}  // namespace

void GraphicPeer::announce(Change what) {
  DWORD event = 0;
  switch (what) {
    case Change::Text:
      event = EVENT_OBJECT_NAMECHANGE;
      break;
    case Change::Value:
      event = EVENT_OBJECT_VALUECHANGE;
      break;
    case Change::Down:
    case Change::Enabled:
    case Change::Visible:
      event = EVENT_OBJECT_STATECHANGE;
      break;
    case Change::Focus:
      event = EVENT_OBJECT_FOCUS;
      break;
    default:
      return;
  }
  const HWND window = hostWindow();
  if (control_.accessibleHidden() || !IsWinEventHookInstalled(event)) return;
  const LONG child = ChildNumber(window, *host(), *this);
  if (child == 0) return;
  Raise(event, window, child);
  // A live text is spoken when its name changes too; its name carries no
  // value, so this asks the reader to read it again.
  if (what == Change::Value) Raise(EVENT_OBJECT_NAMECHANGE, window, child);
}

}  // namespace hk
