// The windows of the three buttons: the speed button (our own, never takes
// the focus), and the push buttons, plain and with a glyph.
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

class SpeedButtonPeer : public WindowPeer {
 public:
  explicit SpeedButtonPeer(SpeedButton& button) : WindowPeer(button), button_(button) {}

  void create(HWND parent) override {
    glyph_ = LoadPicture(button_.glyph());
    createOwn(RegisterOwnClass(L"HakarimaruSpeedButton"), childStyle(), 0, parent);
  }

 protected:
  void update(Change what) override {
    if (what == Change::Glyph) glyph_ = LoadPicture(button_.glyph());
    WindowPeer::update(what);
  }

  // The mouse is followed from the press: the button shows pressed while the
  // pointer is over it, and the click happens on a release over it.
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_LBUTTONDOWN:
        SetCapture(hwnd());
        tracking_ = pressed_ = true;
        InvalidateRect(hwnd(), nullptr, FALSE);
        break;  // the component hears the press too
      case WM_MOUSEMOVE:
        follow(lParam);
        return 0;
      case WM_MOUSELEAVE:
        hot_ = false;
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
      case WM_LBUTTONUP:
        if (tracking_) {
          const bool clicked = inside(lParam);
          stopTracking();
          if (clicked) button_.click();
        }
        return 0;
      case WM_CAPTURECHANGED:
        if (tracking_) stopTracking();
        return 0;
      default:
        break;
    }
    return WindowPeer::handle(message, wParam, lParam);
  }

  void paint(HDC dc) override {
    RECT client{};
    GetClientRect(hwnd(), &client);
    FillRect(dc, &client, background());
    const bool sunken = pressed_ || button_.down();
    if (sunken) {
      DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
    } else if (hot_ && button_.enabled()) {
      DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
    }
    const int shift = sunken ? 1 : 0;
    SelectedObject selected(dc, font());
    const std::wstring caption = SjisToWide(button_.text());
    const SIZE text = TextSize(dc, caption);
    const int images = button_.glyph().imageCount;
    SIZE glyph = BitmapSize(glyph_.get());
    if (images > 1) glyph.cx /= images;
    // The glyph above the caption, the two centred together.
    const int gap = glyph.cy > 0 && text.cy > 0 ? kGlyphSpacing : 0;
    const int top = (client.bottom - glyph.cy - gap - text.cy) / 2 + shift;
    if (glyph_) {
      DrawGlyph(dc, glyph_.get(), images, imageIndex(),
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
  int imageIndex() const {
    if (!button_.enabled()) return 1;
    if (pressed_) return 2;
    return button_.down() ? 3 : 0;
  }

  bool inside(LPARAM lParam) const {
    RECT client{};
    GetClientRect(hwnd(), &client);
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    return PtInRect(&client, at) != FALSE;
  }

  void follow(LPARAM lParam) {
    const bool over = inside(lParam);
    if (!hot_ && over) {
      TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, hwnd(), 0};
      TrackMouseEvent(&leave);
    }
    const bool pressed = tracking_ && over;
    if (over == hot_ && pressed == pressed_) return;
    hot_ = over;
    pressed_ = pressed;
    InvalidateRect(hwnd(), nullptr, FALSE);
  }

  void stopTracking() {
    tracking_ = pressed_ = false;
    ReleaseCapture();
    InvalidateRect(hwnd(), nullptr, FALSE);
  }

  SpeedButton& button_;
  BitmapObject glyph_;
  // The mouse's dealings with the button, which the component does not know.
  bool tracking_ = false;
  bool pressed_ = false;
  bool hot_ = false;
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

std::unique_ptr<WindowPeer> MakeSpeedButtonPeer(SpeedButton& button) {
  return std::make_unique<SpeedButtonPeer>(button);
}
std::unique_ptr<WindowPeer> MakeButtonPeer(Button& button) {
  return std::make_unique<ButtonPeer>(button);
}
std::unique_ptr<WindowPeer> MakeBitBtnPeer(BitBtn& button) {
  return std::make_unique<BitBtnPeer>(button);
}

}  // namespace hk
