#pragma once

#include <windows.h>

#include "platform/Canvas.h"
#include "platform/Screen.h"
#include "platform/win32/Gdi.h"

namespace hk {

RECT ToRECT(const Rect& rect);

// Owner drawing on a device context. The context's state is saved on
// construction and restored on destruction; the pens, brushes and fonts are
// the shared ones. What is drawn comes in layout units and goes onto the
// context at its DPI: rectangles by their scaled edges, fonts at their size,
// and lines along an axis as whole-pixel strips of the scaled pen width. The
// colours are the palette's answers to the design's.
class Win32Canvas : public Canvas {
 public:
  explicit Win32Canvas(HDC dc, int dpi = kLayoutDpi);
  ~Win32Canvas() override;
  Win32Canvas(const Win32Canvas&) = delete;
  Win32Canvas& operator=(const Win32Canvas&) = delete;

  HDC dc() const { return dc_; }

  void setPen(Colour colour, int width = 1) override;
  void setBrush(Colour colour) override;
  void setFont(const Font& font) override;
  void fillRect(const Rect& rect) override;
  void moveTo(Point p) override;
  void lineTo(Point p) override;
  void drawText(std::string_view text, const Rect& rect, unsigned flags) override;
  void drawFocusRect(const Rect& rect) override;

 private:
  RECT device(const Rect& rect) const;

  HDC dc_;
  int dpi_;
  int saved_;
  // The design's colours of the last brush and font: a text's colour is
  // decided by the background it is drawn on.
  Colour brushColour_ = kColourButtonFace;
  Colour textColour_ = kColourWindowText;
  Colour penColour_ = kBlackColour;
  int penWidth_ = 1;
  Point position_;
};

}  // namespace hk
