#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "data/FilePath.h"

namespace hk {

// Windows colour values 0x00BBGGRR, or one of the system colours below.
using Colour = std::uint32_t;
constexpr Colour kWhite = 0x00FFFFFF;
constexpr Colour kBlackColour = 0x00000000;
constexpr Colour kLightYellow = 0x00B3FFFF;
// System colours carry this bit and the COLOR_ index of the system.
constexpr Colour kSystemColourFlag = 0x80000000;
constexpr Colour kColourWindow = kSystemColourFlag | 5;
constexpr Colour kColourWindowText = kSystemColourFlag | 8;
constexpr Colour kColourButtonFace = kSystemColourFlag | 15;
constexpr Colour kColourButtonHighlight = kSystemColourFlag | 20;

// A font as the windows use it; the face name is Shift-JIS. height is in
// pixels: negative for the character height (-13: 13-pixel characters).
struct Font {
  std::string name = "ＭＳ ゴシック";
  int height = -13;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  Colour colour = kColourWindowText;

  int characterHeight() const { return height < 0 ? -height : height; }
  // The same font at another height, given as this one gives its own.
  Font ofHeight(int size) const {
    Font other = *this;
    other.height = height < 0 ? -size : size;
    return other;
  }
};

inline bool operator==(const Font& a, const Font& b) {
  return a.name == b.name && a.height == b.height && a.bold == b.bold && a.italic == b.italic &&
         a.underline == b.underline && a.strikeOut == b.strikeOut && a.colour == b.colour;
}
inline bool operator!=(const Font& a, const Font& b) { return !(a == b); }

// A picture: a bitmap resource of the program, by name, or a bitmap file. It
// is a reference; the peer loads it. imageCount > 1 for button glyphs that
// hold several images side by side (up, disabled, down, held).
struct Picture {
  enum class Source { None, Resource, File };
  Source source = Source::None;
  std::string resourceName;
  FilePath file;
  int width = 0;  // of the whole bitmap, when known
  int height = 0;
  int imageCount = 1;

  static Picture FromResource(std::string name, int width = 0, int height = 0, int images = 1) {
    Picture p;
    p.source = Source::Resource;
    p.resourceName = std::move(name);
    p.width = width;
    p.height = height;
    p.imageCount = images;
    return p;
  }
  bool empty() const { return source == Source::None; }
};

inline bool operator==(const Picture& a, const Picture& b) {
  return a.source == b.source && a.resourceName == b.resourceName && a.file == b.file &&
         a.imageCount == b.imageCount;
}
inline bool operator!=(const Picture& a, const Picture& b) { return !(a == b); }

}  // namespace hk
