// The three buttons: the speed button (a graphic control, never takes the
// focus), and the push buttons, windows plain and with a glyph.
#include <string>

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

// One image of a glyph that holds `count` side by side; the image asked for
// when there is one, the first otherwise.
void DrawGlyph(HDC dc, HBITMAP glyph, int count, int index, POINT at) {
  const SIZE size = BitmapSize(glyph);
  if (count < 1) count = 1;
  if (index >= count) index = 0;
  const int width = size.cx / count;
  const RECT source{index * width, 0, (index + 1) * width, size.cy};
  const RECT target{at.x, at.y, at.x + width, at.y + size.cy};
  DrawBitmap(dc, glyph, source, target, true);
}

// A caption with its "&" underlined; a disabled one embossed.
void DrawCaption(HDC dc, const std::wstring& text, RECT r, COLORREF colour, bool enabled) {
  SetBkMode(dc, TRANSPARENT);
  const int length = static_cast<int>(text.size());
  if (!enabled) {
    RECT shifted{r.left + 1, r.top + 1, r.right + 1, r.bottom + 1};
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextW(dc, text.c_str(), length, &shifted, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    colour = GetSysColor(COLOR_BTNSHADOW);
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
    RECT client{0, 0, size.cx, size.cy};
    FillRect(dc, &client, SharedBrush(button_.colour()));
    const bool sunken = pressed || button_.down();
    if (sunken) {
      DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
    } else if (hot && button_.enabled()) {
      DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
    }
    const int shift = sunken ? 1 : 0;
    SelectedObject selected(dc, SharedFont(button_.font()));
    const std::wstring caption = SjisToWide(button_.text());
    const SIZE text = TextSize(dc, caption);
    const HBITMAP bitmap = SharedPicture(button_.glyph());
    const int images = button_.glyph().imageCount;
    SIZE glyph = BitmapSize(bitmap);
    if (images > 1) glyph.cx /= images;
    // The glyph above the caption, the two centred together.
    const int gap = glyph.cy > 0 && text.cy > 0 ? kGlyphSpacing : 0;
    const int top = (client.bottom - glyph.cy - gap - text.cy) / 2 + shift;
    if (bitmap) {
      DrawGlyph(dc, bitmap, images, imageIndex(pressed),
                POINT{(client.right - glyph.cx) / 2 + shift, top});
    }
    if (!caption.empty()) {
      const int textTop = top + glyph.cy + gap;
      DrawCaption(dc, caption, RECT{shift, textTop, client.right + shift, textTop + text.cy},
                  ToColorRef(button_.font().colour), button_.enabled());
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

  void create(HWND parent) override {
    glyph_ = LoadPicture(bitBtn_.glyph());
    ButtonPeer::create(parent);
  }

  bool reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message != WM_DRAWITEM) return ButtonPeer::reflected(message, wParam, lParam, result);
    draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    result = TRUE;
    return true;
  }

 protected:
  DWORD buttonStyle() const override { return BS_OWNERDRAW; }

  void update(Change what) override {
    if (what == Change::Glyph) glyph_ = LoadPicture(bitBtn_.glyph());
    ButtonPeer::update(what);
  }

 private:
  void draw(const DRAWITEMSTRUCT& item) {
    const HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool pressed = item.itemState & ODS_SELECTED;
    const bool hasFocus = item.itemState & ODS_FOCUS;
    const bool enabled = !(item.itemState & ODS_DISABLED);
    // The default button, or the one with the focus, wears a dark frame.
    if (isDefault() || hasFocus) {
      FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      InflateRect(&r, -1, -1);
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    const int shift = pressed ? 1 : 0;
    SelectedObject selected(dc, font());
    const std::wstring caption = SjisToWide(bitBtn_.text());
    const SIZE text = TextSize(dc, caption);
    const int images = bitBtn_.glyph().imageCount;
    SIZE glyph = BitmapSize(glyph_.get());
    if (images > 1) glyph.cx /= images;
    // The glyph left of the caption, the two centred together.
    const int gap = glyph.cx > 0 && text.cx > 0 ? kGlyphSpacing : 0;
    const int left = (r.left + r.right - glyph.cx - gap - text.cx) / 2 + shift;
    if (glyph_) {
      DrawGlyph(dc, glyph_.get(), images, enabled ? 0 : 1,
                POINT{left, (r.top + r.bottom - glyph.cy) / 2 + shift});
    }
    const int textLeft = left + glyph.cx + gap;
    DrawCaption(dc, caption, RECT{textLeft, r.top + shift, textLeft + text.cx, r.bottom + shift},
                ToColorRef(bitBtn_.font().colour), enabled);
    if (hasFocus) {
      InflateRect(&r, -3, -3);
      DrawFocusRect(dc, &r);
    }
  }

  BitBtn& bitBtn_;
  BitmapObject glyph_;
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
