#include "platform/win32/Win32Canvas.h"

#include <string>

#include "platform/win32/Text.h"

namespace hk {

RECT ToRECT(const Rect& rect) { return RECT{rect.left, rect.top, rect.right(), rect.bottom()}; }

Win32Canvas::Win32Canvas(HDC dc)
    : dc_(dc), saved_(SaveDC(dc)), textColour_(ToColorRef(kColourWindowText)) {
  SetBkMode(dc_, TRANSPARENT);
}

Win32Canvas::~Win32Canvas() {
  if (saved_) RestoreDC(dc_, saved_);
}

void Win32Canvas::setPen(Colour colour, int width) {
  if (const HPEN pen = SharedPen(colour, width)) SelectObject(dc_, pen);
}

void Win32Canvas::setBrush(Colour colour) {
  if (const HBRUSH brush = SharedBrush(colour)) SelectObject(dc_, brush);
}

void Win32Canvas::setFont(const Font& font) {
  textColour_ = ToColorRef(font.colour);
  if (const HFONT made = SharedFont(font)) SelectObject(dc_, made);
}

void Win32Canvas::fillRect(const Rect& rect) {
  const RECT r = ToRECT(rect);
  FillRect(dc_, &r, static_cast<HBRUSH>(GetCurrentObject(dc_, OBJ_BRUSH)));
}

void Win32Canvas::moveTo(Point p) { MoveToEx(dc_, p.x, p.y, nullptr); }

void Win32Canvas::lineTo(Point p) { LineTo(dc_, p.x, p.y); }

void Win32Canvas::drawText(std::string_view text, const Rect& rect, unsigned flags) {
  const std::wstring wide = SjisToWide(text);
  RECT r = ToRECT(rect);
  SetTextColor(dc_, textColour_);
  DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &r, flags);
}

void Win32Canvas::drawFocusRect(const Rect& rect) {
  const RECT r = ToRECT(rect);
  DrawFocusRect(dc_, &r);
}

}  // namespace hk
