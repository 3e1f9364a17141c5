// The windows of the containers, forms and panels; the graphic controls they
// paint, empty panels, labels and images; and the making of a form's windows.
#include "platform/win32/Peers.h"

#include <windows.h>

// These need windows.h first.
#include <commctrl.h>

#include <algorithm>
#include <string>

#include "platform/Dispatcher.h"
#include "platform/Palette.h"
#include "platform/Screen.h"
#include "platform/win32/Dpi.h"
#include "platform/win32/HelpWindow.h"
#include "platform/win32/MessageLoop.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Canvas.h"
#include "platform/win32/WindowPeer.h"

namespace hk {
namespace {

const wchar_t kFormClass[] = L"HakarimaruForm";
constexpr Colour kButtonShadow = kSystemColourFlag | COLOR_BTNSHADOW;

// What shows behind a control that paints no background of its own.
Colour BackdropOf(const Control& control) {
  return control.parent() ? control.parent()->colour() : kColourButtonFace;
}

unsigned AlignmentFlag(Alignment alignment) {
  switch (alignment) {
    case Alignment::Right:
      return DT_RIGHT;
    case Alignment::Center:
      return DT_CENTER;
    case Alignment::Left:
      break;
  }
  return DT_LEFT;
}

RECT ClientRect(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return client;
}

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// A bevel along the rectangle's edge, one layout pixel wide, which then
// shrinks inside it.
void DrawBevel(HDC dc, RECT& r, Bevel bevel, int width) {
  if (bevel == Bevel::None) return;
  if (bevel == Bevel::Raised) {
    DrawBevelFrame(dc, r, kColourButtonHighlight, kButtonShadow, width);
  } else {
    DrawBevelFrame(dc, r, kButtonShadow, kColourButtonHighlight, width);
  }
  InflateRect(&r, -width, -width);
}

// A form's frame in layout units: the frame that the system draws at 96 DPI,
// so that the outer size scales as a whole, frame and all.
SIZE FrameExtent(DWORD style, DWORD exStyle, int dpi) {
  using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi =
      SystemFunction<AdjustForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
  RECT frame{};
  if (dpi != kLayoutDpi && adjustForDpi) {
    adjustForDpi(&frame, style, FALSE, exStyle, kLayoutDpi);
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
  }
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  return SIZE{LayoutCoordinate(frame.right - frame.left, dpi),
              LayoutCoordinate(frame.bottom - frame.top, dpi)};
}

// Everything on a form placed and lettered again at its window's DPI.
void Rescale(Control& control) {
  for (Control* child : control.children()) {
    if (WindowPeer* window = WindowPeerOf(*child)) {
      window->changed(Change::Bounds);
      window->changed(Change::Font);
    } else if (GraphicPeer* graphic = GraphicPeerOf(*child)) {
      graphic->changed(Change::Font);
    }
    Rescale(*child);
  }
}

BOOL CALLBACK TellChild(HWND child, LPARAM) {
  SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
  return TRUE;
}

BOOL CALLBACK TellChildren(HWND window, LPARAM) {
  EnumChildWindows(window, TellChild, 0);
  return TRUE;
}

BOOL CALLBACK Repaint(HWND window, LPARAM) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  return TRUE;
}

// The system's colours or its high-contrast setting changed while the
// program runs: the palette asks again, what was made in the old colours is
// made anew, the system's controls hear of it (only top-level windows do),
// and every window of the program is painted again.
void ColoursChanged() {
  ThePalette().refresh();
  ForgetSharedColours();
  EnumThreadWindows(GetCurrentThreadId(), TellChildren, 0);
  EnumThreadWindows(GetCurrentThreadId(), Repaint, 0);
}

struct FrameStyle {
  DWORD style;
  DWORD exStyle;
};

FrameStyle FrameStyleOf(const Form& form) {
  FrameStyle frame{WS_CLIPCHILDREN | (form.enabled() ? 0u : WS_DISABLED), 0};
  switch (form.style()) {
    case FormStyle::BorderlessPopup:
      // The system menu and minimize box show nothing without a caption,
      // but let the taskbar minimize and restore the window.
      frame.style |= WS_POPUP | WS_BORDER | WS_SYSMENU | WS_MINIMIZEBOX;
      break;
    case FormStyle::Sizable:
      frame.style |= WS_OVERLAPPEDWINDOW;
      break;
    case FormStyle::Dialog:
      frame.style |= WS_POPUP | WS_CAPTION | WS_SYSMENU;
      frame.exStyle |= WS_EX_DLGMODALFRAME;
      break;
    case FormStyle::SizableDialog:
      frame.style |= WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
      frame.exStyle |= WS_EX_DLGMODALFRAME;
      break;
  }
  return frame;
}

class FormPeer : public WindowPeer {
 public:
  explicit FormPeer(Form& form) : WindowPeer(form), form_(form) {}

  void create(HWND owner) override {
    FrameStyle frame = FrameStyleOf(form_);
    // A window of a topmost owner would otherwise open below it.
    if (form_.topmost() || (owner && IsTopmost(owner))) frame.exStyle |= WS_EX_TOPMOST;
    // The frame this system draws for the style, before the window is made at
    // its outer size.
    const Rect& bounds = form_.bounds();
    const int dpi =
        MonitorDpi(MonitorFromPoint(POINT{bounds.left, bounds.top}, MONITOR_DEFAULTTONEAREST));
    const SIZE extent = FrameExtent(frame.style, frame.exStyle, dpi);
    form_.setFrameExtent(extent.cx, extent.cy);
    createOwn(RegisterOwnClass(kFormClass), frame.style, frame.exStyle, owner);
  }

  void realized() override {
    RECT outer{};
    GetWindowRect(hwnd(), &outer);
    // At 96 DPI the frame is measured; at any other the layout keeps the
    // 96-DPI frame, and the client area takes what the real one leaves.
    if (dpi() == kLayoutDpi) {
      const RECT client = ClientRect(hwnd());
      form_.setFrameExtent(outer.right - outer.left - client.right,
                           outer.bottom - outer.top - client.bottom);
    }
    if (form_.centredOnScreen()) {
      const int width = outer.right - outer.left;
      const int height = outer.bottom - outer.top;
      SetWindowPos(hwnd(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                   (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    LRESULT result = 0;
    if (lifeMessage(message, wParam) || geometryMessage(message, wParam, lParam, result)) {
      return result;
    }
    if (message == WM_SETFOCUS || message == WM_KILLFOCUS) keysCameOrWent();
    if (message == WM_SYSCOLORCHANGE ||
        (message == WM_SETTINGCHANGE && wParam == SPI_SETHIGHCONTRAST)) {
      ColoursChanged();
    }
    return WindowPeer::handle(message, wParam, lParam);
  }

  void update(Change what) override {
    switch (what) {
      case Change::Visible:
        ShowWindow(hwnd(), form_.visible() ? SW_SHOW : SW_HIDE);
        break;
      case Change::Minimize:
        ShowWindow(hwnd(), SW_MINIMIZE);
        break;
      case Change::Drag:
        // The system's move loop, as a drag on a caption starts it.
        ReleaseCapture();
        SendMessageW(hwnd(), WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
        break;
      case Change::Topmost:
        SetTopmost(hwnd(), form_.topmost());
        break;
      default:
        WindowPeer::update(what);
        break;
    }
  }

  // The position on the screen as it is, the size scaled.
  RECT devicePlace(int dpi) const override {
    const Rect& bounds = form_.bounds();
    return RECT{bounds.left, bounds.top, bounds.left + ScaleCoordinate(bounds.width, dpi),
                bounds.top + ScaleCoordinate(bounds.height, dpi)};
  }

  void paint(HDC dc) override {
    const RECT client = ClientRect(hwnd());
    FillRect(dc, &client, background());
    Win32Canvas canvas(dc, dpi());
    form_.paint(canvas);
  }

  void focused() override {}

 private:
  // Closing, destruction, the form's own messages and activation; true when
  // the message is done with.
  bool lifeMessage(UINT message, WPARAM wParam) {
    // The form's own window class uses none of WM_USER..WM_APP itself.
    if (message >= WM_USER && message < WM_APP) {
      form_.receiveMessage(message);
      return true;
    }
    switch (message) {
      case WM_CLOSE:
        form_.close();
        return true;
      case WM_DESTROY:
        form_.destroyed();
        return false;
      case kFormMessage:
        form_.receiveMessage(static_cast<unsigned>(wParam));
        return true;
      case WM_ACTIVATE:
        // Alt held while the windows change (Alt+Tab) opens no menu.
        ForgetAltPress();
        return LOWORD(wParam) != WA_INACTIVE && restoreFocus();
      default:
        return false;
    }
  }

  // Moves, sizes, minimizing and changes of scale; true when the message is
  // done with, its answer in result.
  bool geometryMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
      case WM_WINDOWPOSCHANGED:
        if (!IsIconic(hwnd())) {
          RECT outer{};
          GetWindowRect(hwnd(), &outer);
          // The position stays in screen pixels; the size goes into units.
          const int scale = dpi();
          form_.resized({outer.left, outer.top, LayoutCoordinate(outer.right - outer.left, scale),
                         LayoutCoordinate(outer.bottom - outer.top, scale)});
        }
        return false;
      case WM_GETMINMAXINFO: {
        if (!form_.outerSizeFixed()) return false;
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        const int scale = dpi();
        limits->ptMinTrackSize = {ScaleCoordinate(form_.minimumWidth(), scale),
                                  ScaleCoordinate(form_.minimumHeight(), scale)};
        result = 0;
        return true;
      }
      case WM_DPICHANGED: {
        // Moved to a monitor of another scale: the system suggests the
        // window's new rectangle, and everything on it is laid out again.
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        Rescale(form_);
        RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        result = 0;
        return true;
      }
      case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) {
          form_.minimize();
        } else if (form_.minimized()) {
          form_.restored();
        }
        return false;
      default:
        return false;
    }
  }

  // A painted control with the form's focus shows it while the keys are here.
  void keysCameOrWent() {
    const Control* focused = form_.focused();
    if (GraphicPeer* graphic = focused ? GraphicPeerOf(*focused) : nullptr) {
      graphic->changed(Change::Repaint);
    }
  }

  // Activation gives the focus back to the control that had it.
  // A form that never had a focus gives it to its first control, as a
  // dialog does, so that the keys reach it from the start.
  bool restoreFocus() {
    const Control* control = form_.focused();
    if (control && GraphicPeerOf(*control) && control->usable()) {
      // A painted control's keys are this window's.
      SetFocus(hwnd());
      return true;
    }
    const HWND window = control ? WindowOf(*control) : nullptr;
    if (!window || !IsWindowVisible(window) || !IsWindowEnabled(window)) {
      Fire([this] { form_.moveFocusHome(); });
      return form_.focused() != nullptr;
    }
    SetFocus(window);
    return true;
  }

  Form& form_;
};

// A panel's face at the DPI: its colour, its two bevels and its caption.
void PaintPanel(HDC dc, const Panel& panel, SIZE size, int dpi) {
  const RECT client{0, 0, size.cx, size.cy};
  const Ink ink = ThePalette().ink(panel.colour(), panel.font().colour);
  FillRect(dc, &client, SharedBrush(ink.back));
  const int line = ScaleLineWidth(1, dpi);
  RECT inner = client;
  DrawBevel(dc, inner, panel.bevelOuter(), line);
  DrawBevel(dc, inner, panel.bevelInner(), line);
  if (panel.text().empty()) return;
  SelectedObject selected(dc, SharedFont(FontAtDpi(panel.font(), dpi)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(ink.text));
  const std::wstring text = SjisToWide(panel.text());
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &inner,
            DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | AlignmentFlag(panel.alignment()));
}

// A panel that holds a control with a window of its own is a window too,
// which clips them.
class PanelPeer : public WindowPeer {
 public:
  explicit PanelPeer(Panel& panel) : WindowPeer(panel), panel_(panel) {}

  void create(HWND parent) override {
    createOwn(RegisterOwnClass(L"HakarimaruPanel"), childStyle() | WS_CLIPCHILDREN, 0, parent);
  }

 protected:
  void paint(HDC dc) override {
    const RECT client = ClientRect(hwnd());
    PaintPanel(dc, panel_, SIZE{client.right, client.bottom}, dpi());
  }

 private:
  Panel& panel_;
};

// A panel holding only graphic controls (or none) is a frame with a bevel and
// maybe a caption, painted by its host with the controls on it.
class BevelPeer : public GraphicPeer {
 public:
  explicit BevelPeer(Panel& panel) : GraphicPeer(panel), panel_(panel) {}
  void paint(HDC dc, SIZE size) override { PaintPanel(dc, panel_, size, dpi()); }

 private:
  Panel& panel_;
};

class LabelPeer : public GraphicPeer {
 public:
  explicit LabelPeer(Label& label) : GraphicPeer(label), label_(label) {}

  void realized() override { fit(); }

  void paint(HDC dc, SIZE size) override {
    RECT client{0, 0, size.cx, size.cy};
    // A see-through label shows what its parent painted before it.
    const Colour back = label_.transparent() ? BackdropOf(label_) : label_.colour();
    const bool enabled = label_.enabled();
    const Ink ink = ThePalette().ink(back, enabled ? label_.font().colour : kColourGrayText,
                                     enabled ? Look::Normal : Look::Disabled);
    if (!label_.transparent()) FillRect(dc, &client, SharedBrush(ink.back));
    SelectedObject selected(dc, SharedFont(FontAtDpi(shownFont(), dpi())));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(ink.text));
    const std::wstring text = SjisToWide(label_.text());
    unsigned flags = DT_EXPANDTABS | AlignmentFlag(label_.alignment());
    // A number drawn smaller keeps to the line of its neighbours' feet.
    if (shownHeight_ != label_.font().characterHeight()) flags |= DT_SINGLELINE | DT_BOTTOM;
    if (label_.cut()) flags |= DT_SINGLELINE | DT_END_ELLIPSIS;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client, flags);
  }

 protected:
  void update(Change what) override {
    if (what == Change::Text || what == Change::Font) fit();
  }

 private:
  // The label's font, at the height a number was fitted to.
  Font shownFont() const { return label_.font().ofHeight(shownHeight_); }

  // The text's size in pixels at the font.
  SIZE measure(HDC dc, const Font& font) const {
    std::wstring text = SjisToWide(label_.text());
    if (text.empty()) text = L" ";  // an empty label keeps the width of a blank
    SelectedObject selected(dc, SharedFont(FontAtDpi(font, dpi())));
    RECT measured{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured,
              DT_CALCRECT | DT_EXPANDTABS);
    return SIZE{measured.right, measured.bottom};
  }

  // An auto-sized label is as wide and at least as high as its text; the
  // component keeps a right-aligned one's right edge.
  void fit() {
    shownHeight_ = label_.font().characterHeight();
    if (!label_.autoSize()) return;
    const int scale = dpi();
    WindowDc dc(hostWindow());
    const SIZE own = measure(dc.get(), label_.font());
    const int height = LayoutCoordinate(own.cy - 1, scale) + 1;
    if (height > label_.bounds().height) label_.setHeight(height);
    if (label_.numberRoom().width > 0) return fitNumber(dc.get());
    // The fewest units whose pixels hold the text.
    label_.setWidth(LayoutCoordinate(own.cx - 1, scale) + 1);
    if (Label* number = label_.numberBefore()) number->measureAgain();
  }

  // A number takes the room beside its place, a smaller font, or shows that
  // it is cut; the label after it follows its right edge.
  void fitNumber(HDC dc) {
    const int scale = dpi();
    const Rect& room = label_.numberRoom();
    const int home = label_.numberPlace().right();
    Label* next = label_.numberNext();
    const int gap = next ? label_.numberNextLeft() - home : 0;
    // A wide name leaves the number no less than its own place.
    const int roomRight =
        std::max(home, next ? room.right() - next->bounds().width - gap : room.right());
    const auto pixels = [&](int from, int to) {
      return ScaleCoordinate(to, scale) - ScaleCoordinate(from, scale);
    };
    const auto widthAt = [&](int height) { return measure(dc, label_.font().ofHeight(height)).cx; };
    const NumberFit fit = FitNumber(label_.font().characterHeight(), pixels(room.left, home),
                                    pixels(room.left, roomRight), widthAt);
    shownHeight_ = fit.height;
    label_.setCut(fit.cut);
    const int width =
        fit.cut ? roomRight - room.left : LayoutCoordinate(widthAt(fit.height) - 1, scale) + 1;
    // Within its place it keeps its right edge; beyond, it starts at the
    // room's left and reaches as far right as it must.
    const int right = width <= home - room.left ? home : room.left + width;
    const Rect& now = label_.bounds();
    label_.setBounds({right - width, now.top, width, now.height});
    if (next) next->setLeft(std::max(label_.numberNextLeft(), right + gap));
  }

  Label& label_;
  int shownHeight_ = 0;
};

class ImagePeer : public GraphicPeer {
 public:
  explicit ImagePeer(Image& image) : GraphicPeer(image), image_(image) {}

  void paint(HDC dc, SIZE size) override {
    // Where the picture does not reach, the parent's painting shows.
    const int scale = dpi();
    int enlarge = 1;
    const HBITMAP bitmap = SharedPicture(image_.picture(), PictureScale(scale), enlarge);
    if (!bitmap) return;  // a missing picture shows nothing
    const SIZE pixels = BitmapSize(bitmap);
    const RECT source{0, 0, pixels.cx, pixels.cy};
    if (image_.stretch()) {
      const RECT client{0, 0, size.cx, size.cy};
      draw(dc, bitmap, source, client);
      return;
    }
    // Never stretched: a whole-number version, centred where the layout puts
    // the picture at its own size.
    const int version = PictureScale(scale);
    const Rect placed =
        PlacePicture({0, 0, pixels.cx * enlarge / version, pixels.cy * enlarge / version}, scale)
            .pixels;
    draw(dc, bitmap, source, RECT{placed.left, placed.top, placed.right(), placed.bottom()});
  }

 private:
  void draw(HDC dc, HBITMAP bitmap, const RECT& source, const RECT& target) const {
    if (image_.sign() && ThePalette().inkPictures()) {
      const Colour ink = ThePalette().ink(BackdropOf(image_), kColourWindowText).text;
      DrawInked(dc, bitmap, source, target, ToColorRef(ink));
    } else {
      DrawBitmap(dc, bitmap, source, target, false);
    }
  }

  Image& image_;
};

// Whether the control can do without a window: the painted kinds, and a
// panel that holds nothing else.
bool Graphic(const Control& control) {
  switch (control.kind()) {
    case ControlKind::Label:
    case ControlKind::SpeedButton:
    case ControlKind::Image:
      return true;
    case ControlKind::Panel:
      for (const Control* child : control.children()) {
        if (!Graphic(*child)) return false;
      }
      return true;
    default:
      return false;
  }
}

// The peer of a component that has no window, or null.
std::unique_ptr<GraphicPeer> MakeGraphicPeer(Control& control) {
  if (!Graphic(control)) return nullptr;
  switch (control.kind()) {
    case ControlKind::Panel:
      return MakeBevelPeer(static_cast<Panel&>(control));
    case ControlKind::Label:
      return MakeLabelPeer(static_cast<Label&>(control));
    case ControlKind::SpeedButton:
      return MakeSpeedButtonPeer(static_cast<SpeedButton&>(control));
    case ControlKind::Image:
      return MakeImagePeer(static_cast<Image&>(control));
    default:
      return nullptr;
  }
}

std::unique_ptr<WindowPeer> MakePeer(Control& control) {
  switch (control.kind()) {
    case ControlKind::Form:
      return MakeFormPeer(static_cast<Form&>(control));
    case ControlKind::Panel:
      return MakePanelPeer(static_cast<Panel&>(control));
    case ControlKind::Edit:
      return MakeEditPeer(static_cast<Edit&>(control));
    case ControlKind::UpDown:
      return MakeUpDownPeer(static_cast<UpDown&>(control));
    case ControlKind::Button:
      return MakeButtonPeer(static_cast<Button&>(control));
    case ControlKind::BitBtn:
      return MakeBitBtnPeer(static_cast<BitBtn&>(control));
    case ControlKind::ComboBox:
      return MakeComboBoxPeer(static_cast<ComboBox&>(control));
    case ControlKind::ListBox:
      return MakeListBoxPeer(static_cast<ListBox&>(control));
    case ControlKind::StringGrid:
      return MakeStringGridPeer(static_cast<StringGrid&>(control));
    default:
      return nullptr;
  }
}

void TellRealized(Control& control);
void CreateWindows(Control& control, HWND parent);

// The components put the later ones on top: a window goes under the first
// later sibling that already has one (the system would put it at the
// bottom).
void Stack(const Control& control, HWND window) {
  HWND above = HWND_TOP;
  bool later = false;
  for (const Control* sibling : control.parent()->children()) {
    if (later && WindowOf(*sibling)) {
      above = WindowOf(*sibling);
      break;
    }
    later = later || sibling == &control;
  }
  SetWindowPos(window, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// A control with a window that is hidden when its form is made waits for its
// window (and those of the controls on it) until it is first shown: the main
// window's rate panel and powers list, and their hundred or so windows, are
// not made at start-up, and most sessions never show them.
class PendingPeer final : public Peer {
 public:
  explicit PendingPeer(Control& control) : control_(control) {}

  void changed(Change what) override {
    if (what != Change::Visible || !control_.visible()) return;
    const WindowPeer* host = HostOf(control_);
    const HWND parent = host ? host->hwnd() : nullptr;
    if (!parent) return;  // the form's window is gone
    Control& control = control_;
    // This replaces the peer: nothing of it may be used after.
    CreateWindows(control, parent);
    TellRealized(control);
    // A spinner made before its edit takes the edit's window now.
    for (Control* sibling : control.parent()->children()) {
      if (sibling->kind() != ControlKind::UpDown) continue;
      if (static_cast<UpDown*>(sibling)->associate() != &control) continue;
      if (WindowPeer* spinner = WindowPeerOf(*sibling)) spinner->realized();
    }
  }

 private:
  Control& control_;
};

void CreateWindows(Control& control, HWND parent) {
  if (std::unique_ptr<GraphicPeer> graphic = MakeGraphicPeer(control)) {
    control.setPeer(std::move(graphic));
    // A graphic panel's controls are graphic too, painted by the same host.
    for (Control* child : control.children()) CreateWindows(*child, parent);
    return;
  }
  if (control.kind() != ControlKind::Form && !control.visible()) {
    control.setPeer(std::make_unique<PendingPeer>(control));
    return;
  }
  std::unique_ptr<WindowPeer> peer = MakePeer(control);
  WindowPeer& made = *peer;
  control.setPeer(std::move(peer));
  made.create(parent);
  if (control.kind() != ControlKind::Form) Stack(control, made.hwnd());
  for (Control* child : control.children()) CreateWindows(*child, made.hwnd());
}

void TellRealized(Control& control) {
  if (WindowPeer* peer = WindowPeerOf(control)) peer->realized();
  if (GraphicPeer* graphic = GraphicPeerOf(control)) graphic->realized();
  for (Control* child : control.children()) TellRealized(*child);
}

}  // namespace

std::unique_ptr<WindowPeer> MakeFormPeer(Form& form) { return std::make_unique<FormPeer>(form); }
std::unique_ptr<WindowPeer> MakePanelPeer(Panel& panel) {
  return std::make_unique<PanelPeer>(panel);
}
std::unique_ptr<GraphicPeer> MakeBevelPeer(Panel& panel) {
  return std::make_unique<BevelPeer>(panel);
}
std::unique_ptr<GraphicPeer> MakeLabelPeer(Label& label) {
  return std::make_unique<LabelPeer>(label);
}
std::unique_ptr<GraphicPeer> MakeImagePeer(Image& image) {
  return std::make_unique<ImagePeer>(image);
}

void Realize(Form& form) {
  if (WindowOf(form)) return;
  static const bool initialized = [] {
    ThePalette().setSystemColours([](int index) { return Colour{GetSysColor(index)}; });
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)initialized;
  const HWND owner = form.owner() ? WindowOf(*form.owner()) : nullptr;
  CreateWindows(form, owner);
  TellRealized(form);
}

bool IsTopmost(HWND window) { return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

BOOL CALLBACK HelpFollows(HWND window, LPARAM topmost) {
  if (HelpWindow::Is(window)) {
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  return TRUE;
}

void SetTopmost(HWND window, bool topmost) {
  const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  if (topmost) {
    // Wine puts an owner that goes into the topmost band right below the
    // windows it owns, and counts it in only when a topmost window comes
    // next: a hidden one stands there for that moment.
    const HWND next = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", nullptr,
                                      WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, flags);
    if (next) DestroyWindow(next);
  } else {
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
  }
  // The system takes the windows it owns along. The help window stands on
  // its own beside the main window, and follows it.
  if (!GetWindow(window, GW_OWNER)) {
    EnumThreadWindows(GetWindowThreadProcessId(window, nullptr), HelpFollows, topmost);
  }
}

HWND WindowOf(const Control& control) {
  const WindowPeer* peer = WindowPeerOf(control);
  return peer ? peer->hwnd() : nullptr;
}

Form* FormOfWindow(HWND window) {
  wchar_t name[32] = {};
  if (!window || !GetClassNameW(window, name, 32) || std::wstring(name) != kFormClass) {
    return nullptr;
  }
  const auto* peer = reinterpret_cast<WindowPeer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return peer ? static_cast<Form*>(&peer->control()) : nullptr;
}

void DestroyWindows(Form& form) {
  if (const HWND window = WindowOf(form)) DestroyWindow(window);
  form.destroyed();
}

}  // namespace hk
