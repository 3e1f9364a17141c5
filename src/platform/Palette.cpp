#include "platform/Palette.h"

#include <cmath>
#include <utility>

namespace hk {

namespace {

// The system colours as the default scheme has them, by index, 0x00BBGGRR:
// what the design's pictures and fixed colours were drawn against.
constexpr Colour kDefaultScheme[] = {
    0xFFFFFF, 0x956F25, 0xFA9632, 0x808080, 0xFFFFFF, 0xFFFFFF, 0x9E9E9E, 0x000000,
    0x000000, 0x000000, 0xFFFFFF, 0xFFFFFF, 0x808080, 0xFA9630, 0xFFFFFF, 0xF5F5F5,
    0xA6A6A6, 0xA6A6A6, 0x000000, 0xC8C8C8, 0xFFFFFF, 0x6A6A6A, 0xE3E3E3, 0x000000,
    0xFFFFFF, 0xFFFFFF, 0xE0E0E0, 0xFA9632, 0x808080, 0xFA9630, 0xFFFFFF,
};
constexpr int kSchemeSize = sizeof kDefaultScheme / sizeof kDefaultScheme[0];

int IndexOf(Colour colour) { return static_cast<int>(colour & 0xFF); }

double Channel(unsigned value) {
  const double c = value / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(Colour rgb) {
  return 0.2126 * Channel(rgb & 0xFF) + 0.7152 * Channel((rgb >> 8) & 0xFF) +
         0.0722 * Channel((rgb >> 16) & 0xFF);
}

// Lighter than the grey that black and white text read equally well on.
bool Light(Colour rgb) { return Luminance(rgb) > 0.179; }

enum class Role { Face, Field, Chosen };

// The design's light fixed backgrounds are wells of the window colour; its
// dark ones (the black title) are faces.
Role RoleOf(Colour back) {
  if (back == kColourWindow) return Role::Field;
  if (back == kColourHighlight) return Role::Chosen;
  if (IsSystemColour(back)) return Role::Face;
  return Light(back) ? Role::Field : Role::Face;
}

}  // namespace

Colour Palette::DefaultSchemeColour(Colour colour) {
  const int index = IndexOf(colour);
  return index < kSchemeSize ? kDefaultScheme[index] : kBlackColour;
}

void Palette::setHighContrastSource(std::function<bool()> source) {
  source_ = std::move(source);
  refresh();
}

void Palette::setSystemColours(std::function<Colour(int index)> lookup) {
  system_ = std::move(lookup);
}

void Palette::refresh() { highContrast_ = source_ && source_(); }

Ink Palette::systemInk(Colour back, Colour text, Look look) const {
  const Role role = look == Look::Selected ? Role::Chosen : RoleOf(back);
  Ink ink{kColourButtonFace, kColourButtonText};
  if (role == Role::Field) ink = {kColourWindow, kColourWindowText};
  if (role == Role::Chosen) ink = {kColourHighlight, kColourHighlightText};
  if (look == Look::Disabled || text == kColourGrayText) ink.text = kColourGrayText;
  return ink;
}

Colour Palette::besideFixed(Colour colour, Colour partner) const {
  const Colour design = DefaultSchemeColour(colour);
  const Colour now = system_ ? system_(IndexOf(colour)) : design;
  if (Light(now) == Light(design)) return colour;
  // Turned: its value now or in the default scheme, whichever reads better
  // with the fixed colour, fixed from here on.
  return Contrast(now, partner) > Contrast(design, partner) ? now : design;
}

Ink Palette::ink(Colour back, Colour text, Look look) const {
  if (highContrast_) return systemInk(back, text, look);
  if (IsSystemColour(back) == IsSystemColour(text)) return {back, text};
  if (IsSystemColour(back)) return {besideFixed(back, text), text};
  return {back, besideFixed(text, back)};
}

Colour Palette::background(Colour back, Look look) const {
  return highContrast_ ? systemInk(back, kColourWindowText, look).back : back;
}

Colour Palette::line(Colour pen) const {
  return highContrast_ && !IsSystemColour(pen) ? kColourWindowText : pen;
}

double Contrast(Colour a, Colour b) {
  const double la = Luminance(a) + 0.05;
  const double lb = Luminance(b) + 0.05;
  return la > lb ? la / lb : lb / la;
}

Palette& ThePalette() {
  static Palette palette;
  return palette;
}

}  // namespace hk
