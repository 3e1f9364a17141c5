#pragma once

#include <windows.h>

#include "platform/Widgets.h"

namespace hk {

// Makes the real windows of a form and of every component on it, once: the
// form's hidden, its components shown as their state says. Each component
// gets its peer, which shows every later change and reports the user's
// actions. The form's frame is measured and given to the form, so its client
// area keeps the size it asked for.
void Realize(Form& form);

// Whether the window stays above every window that is not topmost.
bool IsTopmost(HWND window);
// Makes the window topmost or not, and every window it owns with it, each
// above its owner; a main window takes the help window along.
void SetTopmost(HWND window, bool topmost);

// The window of a component; null before Realize and once the window is gone.
HWND WindowOf(const Control& control);

// The form whose top-level window this is, or null.
Form* FormOfWindow(HWND window);

// A message posted to a form travels as this, the form's own message number
// in wParam: the numbers a program picks from WM_USER up are also used by the
// system's controls (DM_GETDEFID is WM_USER), so they never go out bare.
constexpr UINT kFormMessage = WM_APP + 1;

// Destroys the form's windows (the form hears destroyed()); the components
// stay and could be realized again.
void DestroyWindows(Form& form);

}  // namespace hk
