#include "platform/win32/Gdi.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "data/FilePath.h"
#include "platform/Screen.h"
#include "platform/win32/Text.h"

namespace hk {

COLORREF ToColorRef(Colour colour) {
  if (colour & kSystemColourFlag) return GetSysColor(static_cast<int>(colour & 0xFF));
  return colour & 0x00FFFFFF;
}

LOGFONTW ToLogFont(const Font& font) {
  LOGFONTW logFont{};
  logFont.lfHeight = font.height;
  logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = font.italic;
  logFont.lfUnderline = font.underline;
  logFont.lfStrikeOut = font.strikeOut;
  logFont.lfCharSet = SHIFTJIS_CHARSET;
  logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
  logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  logFont.lfQuality = DEFAULT_QUALITY;
  logFont.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  const std::wstring face = SjisToWide(font.name);
  // The face field holds 31 characters and the terminating NUL.
  const std::size_t length = std::min<std::size_t>(face.size(), LF_FACESIZE - 1);
  std::copy_n(face.begin(), length, logFont.lfFaceName);
  return logFont;
}

FontObject MakeFont(const Font& font) {
  const LOGFONTW logFont = ToLogFont(font);
  return FontObject(CreateFontIndirectW(&logFont));
}

BrushObject MakeBrush(Colour colour) { return BrushObject(CreateSolidBrush(ToColorRef(colour))); }

BitmapObject LoadPicture(const Picture& picture) {
  HANDLE image = nullptr;
  if (picture.source == Picture::Source::Resource) {
    const std::wstring name = SjisToWide(picture.resourceName);
    image = LoadImageW(GetModuleHandleW(nullptr), name.c_str(), IMAGE_BITMAP, 0, 0,
                       LR_CREATEDIBSECTION);
  } else if (picture.source == Picture::Source::File) {
    image = LoadImageW(nullptr, picture.file.native().c_str(), IMAGE_BITMAP, 0, 0,
                       LR_LOADFROMFILE | LR_CREATEDIBSECTION);
  }
  return BitmapObject(static_cast<HBITMAP>(image));
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight};
}

namespace {

// A picture made ready to draw: selected into a DC of its own for good, and,
// once it is drawn see-through, a copy whose key colour is fully transparent
// and every other pixel fully opaque. Both are made on the first draw: a
// page's dozens of glyphs then cost one blend each, not a mask and three
// temporary DCs each.
struct Copy {
  HDC dc = nullptr;
  BitmapObject bitmap;
  Copy() = default;
  Copy(const Copy&) = delete;
  Copy& operator=(const Copy&) = delete;
  ~Copy() {
    if (dc) DeleteDC(dc);
  }
};

struct ReadyPicture {
  HDC dc = nullptr;
  HDC keyedDc = nullptr;
  BitmapObject keyed;
  COLORREF key = CLR_INVALID;
  // Its shape in one colour, by key and colour: made again after the
  // system's colours change.
  std::map<std::pair<COLORREF, COLORREF>, Copy> inked;
};

std::map<HBITMAP, ReadyPicture>& ReadyPictures() {
  static std::map<HBITMAP, ReadyPicture> ready;
  return ready;
}

ReadyPicture* Ready(HBITMAP bitmap) {
  ReadyPicture& picture = ReadyPictures()[bitmap];
  if (!picture.dc) {
    picture.dc = CreateCompatibleDC(nullptr);
    if (!picture.dc) return nullptr;
    SelectObject(picture.dc, bitmap);
  }
  return &picture;
}

// The pixels of a picture, 0x00RRGGBB as a DIB holds them, row by row.
using Pixels = std::vector<std::uint32_t>;

// A 32-bit copy of the picture, alpha premultiplied, its pixels made from
// the picture's by recolour; null when it cannot be made.
BitmapObject Recoloured(HDC source, SIZE size, HDC& into,
                        const std::function<void(Pixels& pixels)>& recolour) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  BitmapObject copy(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!copy || !bits) return nullptr;
  if (!into) into = CreateCompatibleDC(nullptr);
  if (!into) return nullptr;
  SelectObject(into, copy.get());
  BitBlt(into, 0, 0, size.cx, size.cy, source, 0, 0, SRCCOPY);
  GdiFlush();
  auto* pixel = static_cast<std::uint32_t*>(bits);
  Pixels pixels(pixel, pixel + static_cast<std::size_t>(size.cx) * size.cy);
  for (std::uint32_t& p : pixels) p &= 0x00FFFFFF;
  recolour(pixels);
  std::copy(pixels.begin(), pixels.end(), pixel);
  return copy;
}

// A DIB pixel is 0x00RRGGBB; a COLORREF is 0x00BBGGRR.
std::uint32_t DibColour(COLORREF colour) {
  return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}

// The see-through copy for this key: blending it over anything gives exactly
// the pixels a colour-keyed copy gives.
HDC Keyed(ReadyPicture& picture, HBITMAP bitmap, COLORREF key) {
  if (picture.keyedDc && picture.key == key) return picture.keyedDc;
  const std::uint32_t transparent = DibColour(key);
  BitmapObject keyed =
      Recoloured(picture.dc, BitmapSize(bitmap), picture.keyedDc, [transparent](Pixels& pixels) {
        for (std::uint32_t& c : pixels) c = c == transparent ? 0u : c | 0xFF000000u;
      });
  if (!keyed) return nullptr;
  picture.keyed = std::move(keyed);
  picture.key = key;
  return picture.keyedDc;
}

bool DarkPixel(std::uint32_t rgb) {
  // The eye's weights of the three channels, roughly: enough to tell ink
  // from paper.
  const unsigned red = (rgb >> 16) & 0xFF;
  const unsigned green = (rgb >> 8) & 0xFF;
  const unsigned blue = rgb & 0xFF;
  return 54 * red + 183 * green + 19 * blue < 256 * 118;
}

// The picture's shape in the one colour: its outline and its dark strokes;
// its light areas (paper, a page, a face) stay open, so that what is drawn
// on them still shows.
void InkShape(Pixels& pixels, SIZE size, std::uint32_t transparent, std::uint32_t ink) {
  const Pixels source = pixels;
  const auto outside = [&](long x, long y) {
    return x < 0 || y < 0 || x >= size.cx || y >= size.cy ||
           source[static_cast<std::size_t>(y * size.cx + x)] == transparent;
  };
  for (long y = 0; y < size.cy; ++y) {
    for (long x = 0; x < size.cx; ++x) {
      std::uint32_t& p = pixels[static_cast<std::size_t>(y * size.cx + x)];
      const bool edge =
          outside(x - 1, y) || outside(x + 1, y) || outside(x, y - 1) || outside(x, y + 1);
      p = !outside(x, y) && (edge || DarkPixel(p)) ? ink : 0u;
    }
  }
}

HDC Inked(ReadyPicture& picture, HBITMAP bitmap, COLORREF key, COLORREF ink) {
  Copy& copy = picture.inked[{key, ink}];
  if (copy.bitmap) return copy.dc;
  const SIZE size = BitmapSize(bitmap);
  const std::uint32_t transparent = DibColour(key);
  const std::uint32_t solid = DibColour(ink) | 0xFF000000u;
  copy.bitmap = Recoloured(picture.dc, size, copy.dc,
                           [&](Pixels& pixels) { InkShape(pixels, size, transparent, solid); });
  return copy.bitmap ? copy.dc : nullptr;
}

void Blend(HDC dc, const RECT& target, HDC from, const RECT& source) {
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  GdiAlphaBlend(dc, target.left, target.top, target.right - target.left, target.bottom - target.top,
                from, source.left, source.top, source.right - source.left,
                source.bottom - source.top, blend);
}

// The key is the bitmap's bottom-left pixel, whichever image is drawn.
COLORREF KeyOf(const ReadyPicture& picture, const RECT& source) {
  return GetPixel(picture.dc, 0, source.bottom - 1);
}

std::map<Colour, BrushObject>& Brushes() {
  static std::map<Colour, BrushObject> brushes;
  return brushes;
}

std::map<std::pair<Colour, int>, PenObject>& Pens() {
  static std::map<std::pair<Colour, int>, PenObject> pens;
  return pens;
}

}  // namespace

void DrawBitmap(HDC dc, HBITMAP bitmap, const RECT& source, const RECT& target, bool transparent) {
  if (!bitmap) return;
  ReadyPicture* picture = Ready(bitmap);
  if (!picture) return;
  const int sourceWidth = source.right - source.left;
  const int sourceHeight = source.bottom - source.top;
  const int targetWidth = target.right - target.left;
  const int targetHeight = target.bottom - target.top;
  SetStretchBltMode(dc, COLORONCOLOR);
  if (transparent) {
    if (const HDC keyed = Keyed(*picture, bitmap, KeyOf(*picture, source))) {
      Blend(dc, target, keyed, source);
    }
    return;
  }
  StretchBlt(dc, target.left, target.top, targetWidth, targetHeight, picture->dc, source.left,
             source.top, sourceWidth, sourceHeight, SRCCOPY);
}

HFONT SharedFont(const Font& font) {
  // The colour is the text's, not the font's.
  using Key = std::tuple<std::string, int, bool, bool, bool, bool>;
  static std::map<Key, FontObject> fonts;
  FontObject& made =
      fonts[Key{font.name, font.height, font.bold, font.italic, font.underline, font.strikeOut}];
  if (!made) made = MakeFont(font);
  return made.get();
}

void DrawInked(HDC dc, HBITMAP bitmap, const RECT& source, const RECT& target, COLORREF ink) {
  if (!bitmap) return;
  ReadyPicture* picture = Ready(bitmap);
  if (!picture) return;
  if (const HDC inked = Inked(*picture, bitmap, KeyOf(*picture, source), ink)) {
    Blend(dc, target, inked, source);
  }
}

void ForgetSharedColours() {
  Brushes().clear();
  Pens().clear();
  for (auto& entry : ReadyPictures()) entry.second.inked.clear();
}

HBRUSH SharedBrush(Colour colour) {
  BrushObject& made = Brushes()[colour];
  if (!made) made = MakeBrush(colour);
  return made.get();
}

HPEN SharedPen(Colour colour, int width) {
  PenObject& made = Pens()[{colour, width}];
  if (!made) made = PenObject(CreatePen(PS_SOLID, width, ToColorRef(colour)));
  return made.get();
}

namespace {
// Zero when the file cannot be asked.
ULONGLONG LastWriteTime(const FilePath& file) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data)) return 0;
  return static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32 |
         data.ftLastWriteTime.dwLowDateTime;
}
}  // namespace

HBITMAP SharedPicture(const Picture& picture) {
  if (picture.empty()) return nullptr;
  // A file is loaded again once it was written since.
  const ULONGLONG written =
      picture.source == Picture::Source::File ? LastWriteTime(picture.file) : 0;
  using Key = std::tuple<int, std::string, FilePath, ULONGLONG>;
  static std::map<Key, BitmapObject> pictures;
  const Key key{static_cast<int>(picture.source), picture.resourceName, picture.file, written};
  const auto found = pictures.find(key);
  if (found != pictures.end()) return found->second.get();
  return pictures.emplace(key, LoadPicture(picture)).first->second.get();
}

}  // namespace hk

namespace hk {

HBITMAP SharedPicture(const Picture& picture, int scale, int& enlarge) {
  enlarge = 1;
  if (scale > 1 && picture.source == Picture::Source::Resource) {
    Picture version = picture;
    version.resourceName = PictureResourceName(picture.resourceName, scale);
    if (const HBITMAP made = SharedPicture(version)) return made;
  }
  enlarge = std::max(scale, 1);
  return SharedPicture(picture);
}

Font FontAtDpi(const Font& font, int dpi) {
  Font scaled = font;
  scaled.height = ScaleFontHeight(font.height, kLayoutDpi, dpi);
  return scaled;
}

void DrawBevelFrame(HDC dc, const RECT& r, Colour light, Colour dark, int width) {
  const HBRUSH lightBrush = SharedBrush(light);
  const HBRUSH darkBrush = SharedBrush(dark);
  const RECT top{r.left, r.top, r.right - width, r.top + width};
  const RECT left{r.left, r.top, r.left + width, r.bottom - width};
  const RECT right{r.right - width, r.top, r.right, r.bottom};
  const RECT bottom{r.left, r.bottom - width, r.right, r.bottom};
  FillRect(dc, &top, lightBrush);
  FillRect(dc, &left, lightBrush);
  FillRect(dc, &right, darkBrush);
  FillRect(dc, &bottom, darkBrush);
}

void DrawThinEdge(HDC dc, const RECT& r, bool raised, int width) {
  if (width <= 1) {
    RECT edge = r;
    DrawEdge(dc, &edge, raised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
    return;
  }
  constexpr Colour kShadow = kSystemColourFlag | COLOR_BTNSHADOW;
  if (raised) {
    DrawBevelFrame(dc, r, kColourButtonHighlight, kShadow, width);
  } else {
    DrawBevelFrame(dc, r, kShadow, kColourButtonHighlight, width);
  }
}

}  // namespace hk
