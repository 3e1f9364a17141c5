#include "platform/win32/Dpi.h"

#include "platform/Screen.h"
#include "platform/win32/Gdi.h"
#include "platform/win32/SystemLibrary.h"

namespace hk {

int SystemDpi() {
  static const int dpi = [] {
    WindowDc screen(nullptr);
    const int found = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSX) : 0;
    return found > 0 ? found : kLayoutDpi;
  }();
  return dpi;
}

int WindowDpi(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow =
      SystemFunction<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
  if (window && getDpiForWindow) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  return SystemDpi();
}

int MonitorDpi(HMONITOR monitor) {
  // The effective DPI, the one windows on the monitor are drawn at.
  constexpr int kEffectiveDpi = 0;
  using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static const auto getDpiForMonitor =
      SystemFunction<GetDpiForMonitorFunction>(L"shcore.dll", "GetDpiForMonitor");
  if (monitor && getDpiForMonitor) {
    UINT x = 0;
    UINT y = 0;
    if (SUCCEEDED(getDpiForMonitor(monitor, kEffectiveDpi, &x, &y)) && x > 0) {
      return static_cast<int>(x);
    }
  }
  return SystemDpi();
}

}  // namespace hk
