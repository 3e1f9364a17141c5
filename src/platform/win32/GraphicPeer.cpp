// The graphic controls' side of their host window: where they lie in it, and
// telling it what to paint again and what to tell screen readers.
#include <windows.h>

#include "platform/Screen.h"
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

bool GraphicPeer::focusShown() const {
  const Form* form = const_cast<Control&>(control_).form();
  const HWND window = hostWindow();
  return form && form->focused() == &control_ && window && GetFocus() == window;
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
  const HWND window = hostWindow();
  if (!window) return;
  if (what == Change::Focus) {
    // The host window takes the keys for the control it paints.
    if (GetFocus() != window) SetFocus(window);
    invalidate();
    announce(what);
    return;
  }
  update(what);
  invalidate();
  announce(what);
}

void GraphicPeer::invalidate() {
  const HWND window = hostWindow();
  if (!window) return;
  const RECT now = place();
  if (!EqualRect(&now, &shown_) && !IsRectEmpty(&shown_)) InvalidateRect(window, &shown_, FALSE);
  InvalidateRect(window, &now, FALSE);
  shown_ = now;
}

}  // namespace hk
