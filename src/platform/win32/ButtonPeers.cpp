// The three buttons: the speed button (a graphic control, never takes the
// focus), and the push buttons, windows plain and with a glyph.
#include <string>

#include "platform/Palette.h"
#include "platform/Screen.h"
#include "platform/win32/Text.h"
#include "platform/win32/WindowPeer.h"

namespace hk {
namespace {

constexpr int kGlyphSpacing = 4;

SIZE TextSize(HDC dc, const std::wstring& text) {
  RECT measured{0, 0, 0, 0};
  if (!text.empty()) {
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
              DT_CALCRECT | DT_SINGLELINE);
  }
  return SIZE{measured.right, measured.bottom};
}

// A glyph's bitmap at the DPI: a whole-number version, and how many times
// more it is drawn (pixel for pixel) when there is none made at its scale.
struct Glyph {
  HBITMAP bitmap = nullptr;
  int enlarge = 1;
  int count = 1;    // images side by side
  SIZE size{0, 0};  // of one image as drawn

  Glyph(const Picture& picture, int dpi) {
    bitmap = SharedPicture(picture, PictureScale(dpi), enlarge);
    count = picture.imageCount < 1 ? 1 : picture.imageCount;
    const SIZE whole = BitmapSize(bitmap);
    size = SIZE{whole.cx / count * enlarge, whole.cy * enlarge};
  }
};

// One image of a glyph; the image asked for when there is one, the first
// otherwise. When the palette inks pictures, the first image's shape in the
// ink stands for every state.
void DrawGlyph(HDC dc, const Glyph& glyph, int index, POINT at, Colour ink) {
  const bool inked = ThePalette().inkPictures();
  if (index >= glyph.count || inked) index = 0;
  const int width = glyph.size.cx / glyph.enlarge;
  const int height = glyph.size.cy / glyph.enlarge;
  const RECT source{index * width, 0, (index + 1) * width, height};
  const RECT target{at.x, at.y, at.x + glyph.size.cx, at.y + glyph.size.cy};
  if (inked) {
    DrawInked(dc, glyph.bitmap, source, target, ToColorRef(ink));
  } else {
    DrawBitmap(dc, glyph.bitmap, source, target, true);
  }
}

// What a button's face and caption are painted with: its caption's colour,
// or with only a glyph, the glyph's fixed colours, set against its face.
Ink ButtonInk(const Control& button, bool hasCaption, Look look) {
  const Colour text = hasCaption ? button.font().colour : kBlackColour;
  return ThePalette().ink(button.colour(), text, look);
}

// A caption with its "&" underlined; a disabled one embossed by a line's
// width, or in high contrast in the grey text colour.
void DrawCaption(HDC dc, const std::wstring& text, RECT r, const Ink& ink, Look look, int line) {
  SetBkMode(dc, TRANSPARENT);
  const int length = static_cast<int>(text.size());
  COLORREF colour = ToColorRef(ink.text);
  if (look == Look::Disabled && !ThePalette().highContrast()) {
    RECT shifted{r.left + line, r.top + line, r.right + line, r.bottom + line};
    SetTextColor(dc, ToColorRef(ThePalette().ink(ink.back, kColourButtonHighlight).text));
    DrawTextW(dc, text.c_str(), length, &shifted, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    colour = ToColorRef(ThePalette().ink(ink.back, kColourButtonShadow).text);
  }
  SetTextColor(dc, colour);
  DrawTextW(dc, text.c_str(), length, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

class SpeedButtonPeer : public GraphicPeer {
 public:
  explicit SpeedButtonPeer(SpeedButton& button) : GraphicPeer(button), button_(button) {}

  bool pushable() const override { return true; }
  void click() override { button_.click(); }

  void paint(HDC dc, SIZE size) override {
    const WindowPeer* window = host();
    const bool pressed = window && window->pressed(*this);
    const bool hot = window && window->hot(*this);
    const int scale = dpi();
    const int line = ScaleLineWidth(1, scale);
    RECT client{0, 0, size.cx, size.cy};
    const bool sunken = pressed || button_.down();
    const Look look = !button_.enabled() ? Look::Disabled : sunken ? Look::Selected : Look::Normal;
    const Ink ink = ButtonInk(button_, !button_.text().empty(), look);
    FillRect(dc, &client, SharedBrush(ink.back));
    if (sunken) {
      DrawThinEdge(dc, client, false, line);
    } else if (hot && button_.enabled()) {
      DrawThinEdge(dc, client, true, line);
    }
    const int shift = sunken ? line : 0;
    SelectedObject selected(dc, SharedFont(FontAtDpi(button_.font(), scale)));
    const std::wstring caption = SjisToWide(button_.text());
    const SIZE text = TextSize(dc, caption);
    const Glyph glyph(button_.glyph(), scale);
    // The glyph above the caption, the two centred together.
    const int gap = glyph.size.cy > 0 && text.cy > 0 ? ScaleCoordinate(kGlyphSpacing, scale) : 0;
    const int top = (client.bottom - glyph.size.cy - gap - text.cy) / 2 + shift;
    if (glyph.bitmap) {
      DrawGlyph(dc, glyph, imageIndex(pressed),
                POINT{(client.right - glyph.size.cx) / 2 + shift, top}, ink.text);
    }
    if (!caption.empty()) {
      const int textTop = top + glyph.size.cy + gap;
      DrawCaption(dc, caption, RECT{shift, textTop, client.right + shift, textTop + text.cy}, ink,
                  look, line);
    }
    if (focusShown()) {
      RECT focus = client;
      InflateRect(&focus, -3 * line, -3 * line);
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkColor(dc, RGB(255, 255, 255));
      DrawFocusRect(dc, &focus);
    }
  }

 private:
  // Up, disabled, down (pressed now), held (down and staying so).
  int imageIndex(bool pressed) const {
    if (!button_.enabled()) return 1;
    if (pressed) return 2;
    return button_.down() ? 3 : 0;
  }

  SpeedButton& button_;
};

class ButtonPeer : public WindowPeer {
 public:
  explicit ButtonPeer(Button& button) : WindowPeer(button), button_(button) {}

  void create(HWND parent) override {
    createStandard(L"BUTTON", childStyle() | WS_TABSTOP | buttonStyle(), 0, parent);
  }

  bool reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
      button_.click();
      result = 0;
      return true;
    }
    return WindowPeer::reflected(message, wParam, lParam, result);
  }

 protected:
  virtual DWORD buttonStyle() const { return isDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON; }
  bool isDefault() const {
    const Form* form = button_.form();
    return form && form->defaultButton() == &button_;
  }

  Button& button_;
};

class BitBtnPeer : public ButtonPeer {
 public:
  explicit BitBtnPeer(BitBtn& button) : ButtonPeer(button), bitBtn_(button) {}

  bool reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message != WM_DRAWITEM) return ButtonPeer::reflected(message, wParam, lParam, result);
    draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
  }

 protected:
  DWORD buttonStyle() const override { return BS_OWNERDRAW; }

 private:
  void draw(const DRAWITEMSTRUCT& item) {
    const HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool pressed = item.itemState & ODS_SELECTED;
    const bool hasFocus = item.itemState & ODS_FOCUS;
    const bool enabled = !(item.itemState & ODS_DISABLED);
    const int scale = dpi();
    const int line = ScaleLineWidth(1, scale);
    // The default button, or the one with the focus, wears a dark frame.
    if (isDefault() || hasFocus) {
      for (int i = 0; i < line; ++i) {
        FrameRect(dc, &r, SharedBrush(ThePalette().line(kBlackColour)));
        InflateRect(&r, -1, -1);
      }
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    const int shift = pressed ? line : 0;
    SelectedObject selected(dc, font());
    const std::wstring caption = SjisToWide(bitBtn_.text());
    const SIZE text = TextSize(dc, caption);
    const Glyph glyph(bitBtn_.glyph(), scale);
    // The glyph left of the caption, the two centred together.
    const int gap = glyph.size.cx > 0 && text.cx > 0 ? ScaleCoordinate(kGlyphSpacing, scale) : 0;
    const int left = (r.left + r.right - glyph.size.cx - gap - text.cx) / 2 + shift;
    // The system draws the face in its own colour.
    const Look look = enabled ? Look::Normal : Look::Disabled;
    const Ink ink = ThePalette().ink(kColourButtonFace, bitBtn_.font().colour, look);
    if (glyph.bitmap) {
      DrawGlyph(dc, glyph, enabled ? 0 : 1,
                POINT{left, (r.top + r.bottom - glyph.size.cy) / 2 + shift}, ink.text);
    }
    const int textLeft = left + glyph.size.cx + gap;
    DrawCaption(dc, caption, RECT{textLeft, r.top + shift, textLeft + text.cx, r.bottom + shift},
                ink, look, line);
    if (hasFocus) {
      const int inset = ScaleCoordinate(3, scale);
      InflateRect(&r, -inset, -inset);
      DrawFocusRect(dc, &r);
    }
  }

  BitBtn& bitBtn_;
};

}  // namespace

std::unique_ptr<GraphicPeer> MakeSpeedButtonPeer(SpeedButton& button) {
  return std::make_unique<SpeedButtonPeer>(button);
}
std::unique_ptr<WindowPeer> MakeButtonPeer(Button& button) {
  return std::make_unique<ButtonPeer>(button);
}
std::unique_ptr<WindowPeer> MakeBitBtnPeer(BitBtn& button) {
  return std::make_unique<BitBtnPeer>(button);
}

}  // namespace hk
