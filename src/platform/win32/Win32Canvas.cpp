#include "platform/win32/Win32Canvas.h"

#include <string>

#include "platform/Palette.h"
#include "platform/win32/Text.h"

namespace hk {

RECT ToRECT(const Rect& rect) { return RECT{rect.left, rect.top, rect.right(), rect.bottom()}; }

Win32Canvas::Win32Canvas(HDC dc, int dpi) : dc_(dc), dpi_(dpi), saved_(SaveDC(dc)) {
  SetBkMode(dc_, TRANSPARENT);
}

Win32Canvas::~Win32Canvas() {
  if (saved_) RestoreDC(dc_, saved_);
}

RECT Win32Canvas::device(const Rect& rect) const { return ToRECT(ScaleRect(rect, dpi_)); }

void Win32Canvas::setPen(Colour colour, int width) {
  colour = ThePalette().line(colour);
  penColour_ = colour;
  penWidth_ = width;
  if (const HPEN pen = SharedPen(colour, ScaleLineWidth(width, dpi_))) SelectObject(dc_, pen);
}

void Win32Canvas::setBrush(Colour colour) {
  brushColour_ = colour;
  if (const HBRUSH brush = SharedBrush(ThePalette().background(colour))) {
    SelectObject(dc_, brush);
  }
}

void Win32Canvas::setFont(const Font& font) {
  textColour_ = font.colour;
  if (const HFONT made = SharedFont(FontAtDpi(font, dpi_))) SelectObject(dc_, made);
}

void Win32Canvas::fillRect(const Rect& rect) {
  const RECT r = device(rect);
  FillRect(dc_, &r, static_cast<HBRUSH>(GetCurrentObject(dc_, OBJ_BRUSH)));
}

void Win32Canvas::moveTo(Point p) {
  position_ = p;
  MoveToEx(dc_, ScaleCoordinate(p.x, dpi_), ScaleCoordinate(p.y, dpi_), nullptr);
}

void Win32Canvas::lineTo(Point p) {
  if (dpi_ == kLayoutDpi) {
    position_ = p;
    LineTo(dc_, p.x, p.y);
    return;
  }
  const Point from = position_;
  moveTo(p);
  const bool across = from.y == p.y && from.x != p.x;
  const bool down = from.x == p.x && from.y != p.y;
  if (!across && !down) {
    MoveToEx(dc_, ScaleCoordinate(from.x, dpi_), ScaleCoordinate(from.y, dpi_), nullptr);
    LineTo(dc_, ScaleCoordinate(p.x, dpi_), ScaleCoordinate(p.y, dpi_));
    return;
  }
  // A line covers the units from its start up to its end, the end left out,
  // in whichever direction it runs; across them it is the pen's width.
  const auto span = [this](int start, int end, long& low, long& high) {
    low = ScaleCoordinate(start < end ? start : end + 1, dpi_);
    high = ScaleCoordinate(start < end ? end : start + 1, dpi_);
  };
  const int width = ScaleLineWidth(penWidth_, dpi_);
  RECT strip{};
  if (across) {
    span(from.x, p.x, strip.left, strip.right);
    strip.top = ScaleCoordinate(p.y, dpi_);
    strip.bottom = strip.top + width;
  } else {
    span(from.y, p.y, strip.top, strip.bottom);
    strip.left = ScaleCoordinate(p.x, dpi_);
    strip.right = strip.left + width;
  }
  FillRect(dc_, &strip, SharedBrush(penColour_));
}

static_assert(kDtRight == DT_RIGHT && kDtVCenter == DT_VCENTER && kDtSingleLine == DT_SINGLELINE &&
                  kDtEndEllipsis == DT_END_ELLIPSIS,
              "the canvas hands its flags to DrawText as they are");

void Win32Canvas::drawText(std::string_view text, const Rect& rect, unsigned flags) {
  const std::wstring wide = SjisToWide(text);
  RECT r = device(rect);
  SetTextColor(dc_, ToColorRef(ThePalette().ink(brushColour_, textColour_).text));
  DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &r, flags);
}

void Win32Canvas::drawFocusRect(const Rect& rect) {
  const RECT r = device(rect);
  DrawFocusRect(dc_, &r);
}

}  // namespace hk
