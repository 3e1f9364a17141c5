// The windows of the edit and its spinner: standard controls, subclassed to
// report typing, changes and the focus to their components.
#include <windows.h>

// These need windows.h first.
#include <commctrl.h>
#include <imm.h>

#include <string>

#include "platform/Screen.h"
#include "platform/win32/Gdi.h"
#include "platform/win32/Peers.h"
#include "platform/win32/Text.h"
#include "platform/win32/WindowPeer.h"

namespace hk {
namespace {

// The typed character as the one byte the key handlers see: ASCII or a
// half-width katakana. Nothing (0) for a character of two bytes or none.
char KeyByte(wchar_t typed) {
  if (typed < 0x80) return static_cast<char>(typed);
  const std::string bytes = WideToSjis(std::wstring_view(&typed, 1));
  return bytes.size() == 1 && bytes[0] != '?' ? bytes[0] : 0;
}

class EditPeer : public WindowPeer {
 public:
  explicit EditPeer(Edit& edit) : WindowPeer(edit), edit_(edit) {}

  void create(HWND parent) override {
    createStandard(L"EDIT", childStyle() | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, parent);
    // Without an input context the input method cannot switch on here.
    if (edit_.numeric()) ImmAssociateContextEx(hwnd(), nullptr, 0);
    fitNumber();
  }

  bool reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
      if (!writing_) edit_.userChanged(WideToSjis(WindowText(hwnd())));
      fitNumber();
      result = 0;
      return true;
    }
    return WindowPeer::reflected(message, wParam, lParam, result);
  }

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_CHAR:
        return typed(wParam, lParam);
      case WM_PAINT:
        if (!edit_.cut() || GetFocus() == hwnd()) break;
        paintCut();
        return 0;
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
        // Edited, a cut number shows as the system shows it; left, with its ellipsis.
        if (edit_.cut()) InvalidateRect(hwnd(), nullptr, TRUE);
        break;
      case WM_MOUSEMOVE:
        hover();
        break;
      case WM_MOUSELEAVE:
        hovering_ = false;
        tip_.follow(hwnd(), std::string(), RECT{});
        break;
      default:
        break;
    }
    return WindowPeer::handle(message, wParam, lParam);
  }

  void update(Change what) override {
    if (what == Change::Font || what == Change::Bounds) {
      WindowPeer::update(what);
      fitNumber();
      return;
    }
    if (what != Change::Text) return WindowPeer::update(what);
    const std::wstring text = SjisToWide(edit_.text());
    if (WindowText(hwnd()) == text) return;
    // The control's EN_CHANGE would hand the component its own text back.
    writing_ = true;
    SetWindowTextW(hwnd(), text.c_str());
    writing_ = false;
    fitNumber();
    // Text cut to the byte limit while typing keeps the caret at its end.
    SendMessageW(hwnd(), EM_SETSEL, text.size(), text.size());
  }

  void focused() override { edit_.focus(); }

  HFONT font() override {
    return SharedFont(FontAtDpi(edit_.font().ofHeight(shownHeight()), dpi()));
  }

 private:
  int shownHeight() const { return shownHeight_ ? shownHeight_ : edit_.font().characterHeight(); }

  // A number too wide for the box is drawn smaller, or shows that it is cut.
  void fitNumber() {
    if (!edit_.holdsNumber() || !hwnd()) return;
    const std::wstring text = WindowText(hwnd());
    RECT room{};
    SendMessageW(hwnd(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
    WindowDc dc(hwnd());
    const auto widthAt = [&](int height) {
      SelectedObject selected(dc.get(),
                              SharedFont(FontAtDpi(edit_.font().ofHeight(height), dpi())));
      SIZE size{};
      GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
      return static_cast<int>(size.cx);
    };
    const int width = room.right - room.left;
    const NumberFit fit = FitNumber(edit_.font().characterHeight(), width, width, widthAt);
    const bool refont = fit.height != shownHeight();
    shownHeight_ = fit.height;
    edit_.setCut(fit.cut);
    if (refont) SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font()), TRUE);
    InvalidateRect(hwnd(), nullptr, TRUE);
  }

  // The number's start and an ellipsis, in the colours the system would use.
  void paintCut() {
    PaintDc paint(hwnd());
    const HDC dc = paint.get();
    RECT client{};
    GetClientRect(hwnd(), &client);
    const UINT ask = IsWindowEnabled(hwnd()) ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
    const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(
        GetParent(hwnd()), ask, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd())));
    FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_WINDOW));
    RECT room{};
    SendMessageW(hwnd(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
    SelectedObject selected(dc, font());
    SetBkMode(dc, TRANSPARENT);
    const std::wstring text = WindowText(hwnd());
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &room,
              DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }

  // The pointer came onto the box: a cut number shows whole in its tooltip.
  void hover() {
    if (hovering_) return;
    hovering_ = true;
    TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, hwnd(), 0};
    TrackMouseEvent(&leave);
    RECT client{};
    GetClientRect(hwnd(), &client);
    tip_.follow(hwnd(), edit_.toolTip(), client);
  }

  // The key handlers see the character first and may change or drop it.
  LRESULT typed(WPARAM wParam, LPARAM lParam) {
    const char key = KeyByte(static_cast<wchar_t>(wParam));
    if (key == 0) return defaultHandle(WM_CHAR, wParam, lParam);
    const char kept = edit_.pressKey(key);
    // Enter never reaches the control, which would only beep at it.
    if (kept == 0 || key == '\r') return 0;
    if (kept == key) return defaultHandle(WM_CHAR, wParam, lParam);
    const std::wstring replaced = SjisToWide(std::string(1, kept));
    if (replaced.empty()) return 0;
    return defaultHandle(WM_CHAR, replaced[0], lParam);
  }

  Edit& edit_;
  bool writing_ = false;
  int shownHeight_ = 0;  // the font's own until a number is fitted
  bool hovering_ = false;
  ToolTip tip_;
};

class UpDownPeer : public WindowPeer {
 public:
  explicit UpDownPeer(UpDown& upDown) : WindowPeer(upDown), upDown_(upDown) {}

  // No UDS_SETBUDDYINT: the component writes the edit, the control never does.
  void create(HWND parent) override {
    createStandard(UPDOWN_CLASSW,
                   childStyle() | UDS_ARROWKEYS | UDS_NOTHOUSANDS | (upDown_.wrap() ? UDS_WRAP : 0),
                   0, parent);
    showRange();
    showPosition();
  }

  void realized() override {
    const Edit* associate = upDown_.associate();
    const HWND buddy = associate ? WindowOf(*associate) : nullptr;
    // The buddy brings the arrow keys of the edit to the spinner.
    if (buddy) SendMessageW(hwnd(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
  }

  bool reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == UDN_DELTAPOS) {
      const auto* step = reinterpret_cast<const NMUPDOWN*>(lParam);
      // The control's delta runs along its range, which may be reversed; the
      // component wants the arrow that was pressed.
      const bool reversed = upDown_.maximum() < upDown_.minimum();
      if (step->iDelta != 0) {
        if ((step->iDelta > 0) != reversed) {
          upDown_.stepUp();
        } else {
          upDown_.stepDown();
        }
      }
      result = 1;  // the control leaves its position to the component
      return true;
    }
    if (message == WM_VSCROLL || message == WM_HSCROLL) {
      result = 0;
      return true;
    }
    return WindowPeer::reflected(message, wParam, lParam, result);
  }

 protected:
  void update(Change what) override {
    if (what == Change::Range) {
      showRange();
    } else if (what == Change::Position) {
      showPosition();
    } else {
      WindowPeer::update(what);
    }
  }

 private:
  void showRange() {
    SendMessageW(hwnd(), UDM_SETRANGE32, static_cast<WPARAM>(upDown_.minimum()),
                 static_cast<LPARAM>(upDown_.maximum()));
  }
  void showPosition() {
    SendMessageW(hwnd(), UDM_SETPOS32, 0, static_cast<LPARAM>(upDown_.position()));
  }

  UpDown& upDown_;
};

}  // namespace

std::unique_ptr<WindowPeer> MakeEditPeer(Edit& edit) { return std::make_unique<EditPeer>(edit); }
std::unique_ptr<WindowPeer> MakeUpDownPeer(UpDown& upDown) {
  return std::make_unique<UpDownPeer>(upDown);
}

}  // namespace hk
