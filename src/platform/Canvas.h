#pragma once

#include <string_view>

#include "platform/Geometry.h"
#include "platform/Graphics.h"

namespace hk {

// DrawText flags, with the values of the system's.
constexpr unsigned kDtLeft = 0x0000;
constexpr unsigned kDtCenter = 0x0001;
constexpr unsigned kDtRight = 0x0002;
constexpr unsigned kDtVCenter = 0x0004;
constexpr unsigned kDtSingleLine = 0x0020;
// Text too wide for its rectangle ends in an ellipsis rather than being cut.
constexpr unsigned kDtEndEllipsis = 0x8000;

// What owner drawing paints with. The Win32 canvas wraps a device context
// (every object it selects is restored and freed when the canvas goes); the
// tests record the calls.
class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual void setPen(Colour colour, int width = 1) = 0;
  virtual void setBrush(Colour colour) = 0;
  virtual void setFont(const Font& font) = 0;
  virtual void fillRect(const Rect& rect) = 0;  // with the brush
  virtual void moveTo(Point p) = 0;
  virtual void lineTo(Point p) = 0;  // with the pen, the end point not drawn
  // Text (Shift-JIS) in the rectangle with DrawText flags, in the font's
  // colour, the background left as it is.
  virtual void drawText(std::string_view text, const Rect& rect, unsigned flags) = 0;
  virtual void drawFocusRect(const Rect& rect) = 0;
};

}  // namespace hk
