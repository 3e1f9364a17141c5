#pragma once

// The DPI that windows and monitors are drawn at. The per-monitor functions
// came with later versions of Windows: they are looked up at run time, and
// without them every window has the DPI of the whole screen.

#include <windows.h>

namespace hk {

// The screen's DPI as the system tells a program that knows no better.
int SystemDpi();
// The DPI that the window's contents are laid out at now.
int WindowDpi(HWND window);
// The DPI of a monitor.
int MonitorDpi(HMONITOR monitor);

}  // namespace hk
