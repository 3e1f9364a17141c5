#pragma once

// The rules that put the layout on a real screen: the components keep their
// coordinates in units of a 96-DPI display, and the Win32 side turns them into
// device pixels at the window's DPI with these; and where a window may go.

#include <string>

#include "platform/Geometry.h"

namespace hk {

// The DPI at which one layout unit is one pixel.
constexpr int kLayoutDpi = 96;
// The largest whole-number version of every picture the program carries.
constexpr int kLargestPictureScale = 3;

// A layout coordinate in device pixels: the nearest pixel, a half rounded
// towards the right and down. The function rises with its argument and takes
// no account of widths, so two controls that share an edge in the layout
// share it in pixels too: no overlap, no gap.
int ScaleCoordinate(int units, int dpi);

// The layout coordinate of a device pixel: the unit whose scaled pixel is
// the last one at or before it, so that a point inside a scaled control
// comes back inside the control.
int LayoutCoordinate(int pixels, int dpi);

// A rectangle by its four edges, each scaled on its own; the width and the
// height are what lies between them.
Rect ScaleRect(const Rect& units, int dpi);

// The thickness of a line drawn pixels wide in the layout: a whole multiple
// of it, never thinner, so frames, bevels and grid lines stay crisp.
int ScaleLineWidth(int pixels, int dpi);

// A picture is drawn at a whole-number version, never stretched: the largest
// one (1 to kLargestPictureScale) that fits its scaled place.
int PictureScale(int dpi);

// The resource name of a picture's version: "NAME" itself at 1, otherwise
// "NAME_2X", "NAME_3X".
std::string PictureResourceName(const std::string& name, int scale);

struct PicturePlacement {
  int scale = 1;  // the version to draw
  Rect pixels;    // where it goes, at exactly that version's size
};

// Where a picture laid out at place (its own size in layout units) is drawn:
// its version for the DPI, centred in the place's scaled rectangle (a spare
// odd pixel goes right and down).
PicturePlacement PlacePicture(const Rect& place, int dpi);

// A font height (pixels, negative for the character height) made at one DPI,
// at another; the nearest pixel, a half away from zero, as the system rounds.
int ScaleFontHeight(int height, int fromDpi, int toDpi);

// The character height of a font of points at the DPI, in the negative form.
int FontHeightForPoints(int points, int dpi);

// The smallest character height (layout units) that a number steps down to
// when it does not fit its place at its own font.
constexpr int kSmallestNumberHeight = 9;

// How a number is shown: all of it, or plainly cut, never cut silently.
struct NumberFit {
  int height = 0;        // the character height it is drawn at
  bool widened = false;  // it takes the room beside its place
  bool cut = false;      // nothing helped: it shows an ellipsis
};

// The first of these that shows the whole number: its own font in its place,
// its own font in the room beside (room is at least place), a smaller font
// there, one pixel of height at a time down to kSmallestNumberHeight.
// Otherwise it is cut in the room at its own font. widthAt gives the
// number's width at a character height, in the unit of place and room.
template <typename WidthAt>
NumberFit FitNumber(int ownHeight, int place, int room, WidthAt widthAt) {
  if (widthAt(ownHeight) <= place) return {ownHeight, false, false};
  for (int height = ownHeight; height >= kSmallestNumberHeight || height == ownHeight; --height) {
    if (widthAt(height) <= room) return {height, true, false};
  }
  return {ownHeight, true, true};
}

// A monitor: all of it, and the part that windows may use (without the task
// bar), in screen pixels; and the DPI that windows on it are drawn at.
struct MonitorArea {
  Rect monitor;
  Rect workArea;
  int dpi = kLayoutDpi;
};

// Where a window restored at window goes on the monitor nearest to it. The
// window is as the settings and the layout give it: its position in screen
// pixels, its size in layout units, which the monitor's DPI makes pixels. It
// stays where it is if the monitor shows all of it; otherwise it makes the
// least move that puts it wholly on the work area (its top-left corner when
// it is larger). The size that comes back is the one given.
Rect KeepOnMonitor(const Rect& window, const MonitorArea& area);

}  // namespace hk
