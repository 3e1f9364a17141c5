#include "platform/Screen.h"

#include <algorithm>

namespace hk {

namespace {
// value * numerator / denominator to the nearest whole number, a half taken
// towards plus infinity. Floor division keeps it rising for negative values.
long long RoundHalfUp(long long value, long long numerator, long long denominator) {
  const long long twice = 2 * value * numerator + denominator;
  const long long divisor = 2 * denominator;
  long long quotient = twice / divisor;
  if (twice % divisor != 0 && (twice < 0) != (divisor < 0)) --quotient;
  return quotient;
}

// The same, a half taken away from zero, as the system's MulDiv does.
long long RoundHalfAway(long long value, long long numerator, long long denominator) {
  const long long magnitude = RoundHalfUp(value < 0 ? -value : value, numerator, denominator);
  return value < 0 ? -magnitude : magnitude;
}
}  // namespace

int ScaleCoordinate(int units, int dpi) {
  return static_cast<int>(RoundHalfUp(units, dpi, kLayoutDpi));
}

Rect ScaleRect(const Rect& units, int dpi) {
  const int left = ScaleCoordinate(units.left, dpi);
  const int top = ScaleCoordinate(units.top, dpi);
  return {left, top, ScaleCoordinate(units.right(), dpi) - left,
          ScaleCoordinate(units.bottom(), dpi) - top};
}

int ScaleLineWidth(int pixels, int dpi) {
  return pixels * std::max(1, static_cast<int>(RoundHalfUp(1, dpi, kLayoutDpi)));
}

int PictureScale(int dpi) { return std::clamp(dpi / kLayoutDpi, 1, kLargestPictureScale); }

std::string PictureResourceName(const std::string& name, int scale) {
  return scale <= 1 ? name : name + "_" + std::to_string(scale) + "X";
}

PicturePlacement PlacePicture(const Rect& place, int dpi) {
  const int scale = PictureScale(dpi);
  const Rect scaled = ScaleRect(place, dpi);
  const int width = place.width * scale;
  const int height = place.height * scale;
  return {scale,
          {scaled.left + (scaled.width - width) / 2, scaled.top + (scaled.height - height) / 2,
           width, height}};
}

int ScaleFontHeight(int height, int fromDpi, int toDpi) {
  return static_cast<int>(RoundHalfAway(height, toDpi, fromDpi));
}

int FontHeightForPoints(int points, int dpi) {
  return -static_cast<int>(RoundHalfAway(points, dpi, 72));
}

Rect KeepOnMonitor(const Rect& window, const MonitorArea& area) {
  const Rect& monitor = area.monitor;
  if (window.left >= monitor.left && window.top >= monitor.top &&
      window.right() <= monitor.right() && window.bottom() <= monitor.bottom()) {
    return window;
  }
  const Rect& work = area.workArea;
  // Pushed back from the far edge first, so a window larger than the area
  // keeps its top-left corner, caption and all, in view.
  Rect moved = window;
  moved.left = std::max(std::min(window.left, work.right() - window.width), work.left);
  moved.top = std::max(std::min(window.top, work.bottom() - window.height), work.top);
  return moved;
}

}  // namespace hk
