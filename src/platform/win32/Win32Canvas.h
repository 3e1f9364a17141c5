#pragma once

#include <windows.h>

#include "platform/Canvas.h"
#include "platform/win32/Gdi.h"

namespace hk {

RECT ToRECT(const Rect& rect);

// Owner drawing on a device context. The context's state is saved on
// construction and restored on destruction; the pens, brushes and fonts are
// the shared ones.
class Win32Canvas : public Canvas {
 public:
  explicit Win32Canvas(HDC dc);
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
  HDC dc_;
  int saved_;
  COLORREF textColour_;
};

}  // namespace hk
