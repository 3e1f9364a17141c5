#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

#include "platform/Graphics.h"

namespace hk {

// Scoped owners of GDI objects and device contexts: whatever is created or
// selected here is freed or put back when the holder goes, on every path.

struct GdiObjectDeleter {
  void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
template <typename Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;
using FontObject = GdiObject<HFONT>;
using BrushObject = GdiObject<HBRUSH>;
using PenObject = GdiObject<HPEN>;
using BitmapObject = GdiObject<HBITMAP>;

// Selects an object into a device context and puts the previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, previous_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// BeginPaint and EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintDc() { EndPaint(window_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC get() const { return dc_; }
  const RECT& area() const { return paint_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// A window's client DC (or the screen's, for a null window).
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A memory DC compatible with another.
class MemoryDc {
 public:
  explicit MemoryDc(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// A colour of the program as the system's COLORREF, system colours looked up.
COLORREF ToColorRef(Colour colour);
// The font in the program's terms as a GDI font (face from Shift-JIS, the
// Japanese character set).
FontObject MakeFont(const Font& font);
LOGFONTW ToLogFont(const Font& font);
BrushObject MakeBrush(Colour colour);
// The picture's bitmap: a resource of the module by name, or a file; null when
// it cannot be loaded.
BitmapObject LoadPicture(const Picture& picture);
SIZE BitmapSize(HBITMAP bitmap);

// GDI objects made once for the whole program and shared by everything that
// paints with the same: fonts by face and size, brushes and pens by colour,
// pictures by name (a file's again once it was written since). They live as
// long as the program and are never freed by their users.
HFONT SharedFont(const Font& font);
HBRUSH SharedBrush(Colour colour);
HPEN SharedPen(Colour colour, int width);
HBITMAP SharedPicture(const Picture& picture);
// A picture's bitmap for drawing it scale times its size: the program's own
// version made at that scale when there is one (enlarge 1), otherwise the
// picture itself (enlarge scale), which DrawBitmap then enlarges pixel for
// pixel, as the made versions are.
HBITMAP SharedPicture(const Picture& picture, int scale, int& enlarge);
// The font at a DPI: the component's height is in layout units.
Font FontAtDpi(const Font& font, int dpi);
// A one-pixel 3-D edge along the rectangle's inside, raised (light at the top
// and left) or sunken, as the system's inner raised and outer sunken edges
// are; width pixels thick.
void DrawThinEdge(HDC dc, const RECT& r, bool raised, int width);
// A frame of the colour along the rectangle's inside: width pixels thick,
// light at the top and left, dark at the right and bottom, the dark one
// taking the top-right and bottom-left corners.
void DrawBevelFrame(HDC dc, const RECT& r, Colour light, Colour dark, int width);
// Copies the source rectangle of the bitmap to the destination, stretched to
// its size; with transparent, the bottom-left pixel's colour is left out, as
// button glyphs are drawn. Only for shared pictures: the bitmap stays
// selected in a DC of its own for as long as the program runs.
void DrawBitmap(HDC dc, HBITMAP bitmap, const RECT& source, const RECT& target, bool transparent);
// The same picture as its shape alone, in the ink: its outline against the
// key colour (the bottom-left pixel's) and its dark strokes, as pictures are
// drawn in high contrast.
void DrawInked(HDC dc, HBITMAP bitmap, const RECT& source, const RECT& target, COLORREF ink);
// The system's colours changed: the shared brushes, pens and inked pictures
// are made again when next asked for.
void ForgetSharedColours();

}  // namespace hk
