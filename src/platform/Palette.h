#pragma once

#include <functional>

#include "platform/Graphics.h"

namespace hk {

constexpr Colour kColourHighlight = kSystemColourFlag | 13;
constexpr Colour kColourHighlightText = kSystemColourFlag | 14;
constexpr Colour kColourButtonShadow = kSystemColourFlag | 16;
constexpr Colour kColourGrayText = kSystemColourFlag | 17;
constexpr Colour kColourButtonText = kSystemColourFlag | 18;

inline bool IsSystemColour(Colour colour) { return (colour & kSystemColourFlag) != 0; }

// How a painted thing stands: as it is, chosen (a button held down, a
// selected cell) or disabled.
enum class Look { Normal, Selected, Disabled };

// A background and the text on it.
struct Ink {
  Colour back;
  Colour text;
};

inline bool operator==(const Ink& a, const Ink& b) { return a.back == b.back && a.text == b.text; }

// Where every painted colour is decided. The windows name the design's
// colours; the palette answers what to paint.
//
// With high contrast on, every background and text is a system colour: the
// window colours for the fields (edits, the result, the grid and the light
// wells the design paints white or yellow), the button colours for
// everything else, the highlight colours for what is chosen and the grey
// text for what is disabled. The design's fixed colours and the units' own
// colours step aside, and pictures are drawn as their shape in the text
// colour of their background.
//
// With it off the design stands, but a fixed colour is never paired with a
// system colour that the scheme has turned to the other side of light and
// dark: such a system colour gives way to a fixed one, its value in the
// default scheme or the scheme's, whichever reads better with its partner.
// So a dark scheme never puts white system text on the light-yellow result
// nor blue unit names on a black face.
class Palette {
 public:
  // Where the palette learns whether high contrast is on, and the system's
  // value (0x00BBGGRR) of a system colour index; asked again by refresh().
  void setHighContrastSource(std::function<bool()> source);
  void setSystemColours(std::function<Colour(int index)> lookup);
  void refresh();
  bool highContrast() const { return highContrast_; }

  // What to paint a text of the colour on the background with.
  Ink ink(Colour back, Colour text, Look look = Look::Normal) const;
  // A background with nothing on it.
  Colour background(Colour back, Look look = Look::Normal) const;
  // A line of the design's (grid lines, the window's edge).
  Colour line(Colour pen) const;
  // True when pictures of signs and glyphs are drawn as their shape in the
  // text colour; otherwise they show as drawn.
  bool inkPictures() const { return highContrast_; }

  // The value of a system colour in the scheme the design was drawn on.
  static Colour DefaultSchemeColour(Colour colour);

 private:
  Ink systemInk(Colour back, Colour text, Look look) const;
  // A system colour that stands beside a fixed one: itself while the scheme
  // keeps it on the side of light and dark the design expects.
  Colour besideFixed(Colour colour, Colour partner) const;

  std::function<bool()> source_;
  std::function<Colour(int)> system_;
  bool highContrast_ = false;
};

// How far apart two colours (0x00BBGGRR) stand for the eye, from 1:1 to
// 21:1, as readability guidelines measure text against its background.
double Contrast(Colour a, Colour b);

// The program's one palette.
Palette& ThePalette();

}  // namespace hk
