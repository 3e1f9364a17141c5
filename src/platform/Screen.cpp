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

int LayoutCoordinate(int pixels, int dpi) {
  // The largest units with (2 units dpi + 96) / 192 below pixels + 1, that
  // is units below 96 (2 pixels + 1) / (2 dpi).
  const long long numerator = kLayoutDpi * (2LL * pixels + 1);
  const long long denominator = 2LL * dpi;
  long long ceiling = numerator / denominator;
  if (numerator % denominator != 0 && numerator > 0) ++ceiling;
  return static_cast<int>(ceiling - 1);
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
  const Rect shown{window.left, window.top, ScaleCoordinate(window.width, area.dpi),
                   ScaleCoordinate(window.height, area.dpi)};
  const Rect& monitor = area.monitor;
  if (shown.left >= monitor.left && shown.top >= monitor.top && shown.right() <= monitor.right() &&
      shown.bottom() <= monitor.bottom()) {
    return window;
  }
  const Rect& work = area.workArea;
  // Pushed back from the far edge first, so a window larger than the area
  // keeps its top-left corner, caption and all, in view.
  Rect moved = window;
  moved.left = std::max(std::min(shown.left, work.right() - shown.width), work.left);
  moved.top = std::max(std::min(shown.top, work.bottom() - shown.height), work.top);
  return moved;
}

}  // namespace hk
