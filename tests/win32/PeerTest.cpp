// Each kind of real window shows its component's state and brings the user's
// actions back to the component.
#include <gtest/gtest.h>
#include <windows.h>

// These need windows.h first.
#include <commctrl.h>
#include <imm.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Widgets.h"
#include "platform/win32/Peers.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/WindowPeer.h"
#include "win32/WindowTestSupport.h"

namespace hk {
namespace {

using test::At;
using test::PaintedPixel;
using test::PlaceOf;
using test::TextOf;

constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kGreen = RGB(0, 160, 0);
constexpr COLORREF kBlue = RGB(0, 0, 200);
constexpr COLORREF kYellow = RGB(220, 220, 0);

class Peers : public ::testing::Test {
 protected:
  Peers() { form.setBounds({80, 60, 402, 302}); }  // a 400 x 300 client area
  void TearDown() override { EXPECT_TRUE(reported.texts.empty()) << reported.texts.front(); }

  static Picture FilePicture(const std::filesystem::path& file, int images = 1) {
    Picture picture;
    picture.source = Picture::Source::File;
    picture.file = file;
    picture.imageCount = images;
    return picture;
  }

  static int TextWidth(const wchar_t* text) {
    const HFONT font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                                   L"ＭＳ ゴシック");
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, font);
    RECT r{0, 0, 0, 0};
    DrawTextW(dc, text, -1, &r, DT_CALCRECT | DT_EXPANDTABS);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return r.right;
  }

  test::Reported reported;
  Win32Services services;
  Form form{FormStyle::BorderlessPopup};
  test::TempFolder folder;
};

TEST_F(Peers, FormsTakeTheirFrameFromTheirStyleAndKeepTheirClientSize) {
  Form dialog(FormStyle::Dialog, &form);
  dialog.setText("単位の設定");
  dialog.setBounds({50, 40, 0, 0});
  dialog.setClientSize(320, 200);
  Form sizable(FormStyle::Sizable);
  Realize(form);
  Realize(dialog);
  Realize(sizable);

  const HWND window = WindowOf(dialog);
  EXPECT_EQ(TextOf(window), L"単位の設定");
  EXPECT_EQ(GetWindow(window, GW_OWNER), WindowOf(form));
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 320);
  EXPECT_EQ(client.bottom, 200);
  EXPECT_EQ(dialog.clientWidth(), 320);
  RECT outer{};
  GetWindowRect(window, &outer);
  EXPECT_EQ(dialog.bounds(),
            (Rect{outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top}));
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(GetWindowLongW(WindowOf(sizable), GWL_STYLE) & WS_THICKFRAME);

  // The borderless form: a one-pixel border around the client area.
  GetClientRect(WindowOf(form), &client);
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 300);
  EXPECT_NE(GetWindowLongW(WindowOf(form), GWL_STYLE) & WS_CAPTION, WS_CAPTION);

  EXPECT_FALSE(IsWindowVisible(window));
  dialog.setBounds({70, 45, 300, 150});
  GetWindowRect(window, &outer);
  EXPECT_EQ(outer.left, 70);
  EXPECT_EQ(outer.bottom - outer.top, 150);

  // Moved onto a monitor of another scale, a form takes the rectangle that
  // the system suggests (the DPI stays 96 here: the size is in units too).
  constexpr UINT kDpiChanged = 0x02E0;
  RECT suggested{120, 90, 120 + 330, 90 + 180};
  SendMessageW(window, kDpiChanged, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(dialog.bounds(), (Rect{120, 90, 330, 180}));
}

TEST_F(Peers, FormsMinimizeWhenAskedAndHearTheirRestore) {
  Realize(form);
  form.minimize();
  EXPECT_TRUE(IsIconic(WindowOf(form)));
  ShowWindow(WindowOf(form), SW_RESTORE);
  EXPECT_FALSE(form.minimized());
}

TEST_F(Peers, ControlsShowTheStateOfTheirComponents) {
  Panel panel(&form);
  panel.setBounds({10, 20, 200, 100});
  Button button(&panel);
  button.setBounds({5, 6, 80, 24});
  button.setText("計算(&C)");
  Edit hidden(&panel);
  hidden.setVisible(false);
  hidden.setEnabled(false);
  Realize(form);

  const HWND window = WindowOf(button);
  EXPECT_EQ(GetParent(window), WindowOf(panel));
  EXPECT_EQ(TextOf(window), L"計算(&C)");
  RECT place = PlaceOf(window);
  EXPECT_EQ(place.left, 5);
  EXPECT_EQ(place.top, 6);
  EXPECT_EQ(place.right, 85);
  // A hidden control's window is made when it is first shown, in its place
  // among its siblings and with what its component holds by then.
  EXPECT_EQ(WindowOf(hidden), nullptr);
  hidden.setText("後で");
  hidden.setVisible(true);
  ASSERT_NE(WindowOf(hidden), nullptr);
  EXPECT_EQ(GetParent(WindowOf(hidden)), WindowOf(panel));
  EXPECT_EQ(GetWindow(WindowOf(hidden), GW_HWNDFIRST), WindowOf(hidden));
  EXPECT_EQ(TextOf(WindowOf(hidden)), L"後で");
  EXPECT_FALSE(IsWindowEnabled(WindowOf(hidden)));

  button.setText("戻る");
  EXPECT_EQ(TextOf(window), L"戻る");
  button.setEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(window));
  button.setVisible(false);
  EXPECT_FALSE(GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE);
  button.setBounds({7, 8, 60, 20});
  place = PlaceOf(window);
  EXPECT_EQ(place.left, 7);
  EXPECT_EQ(place.bottom, 28);
}

TEST_F(Peers, FontsAreJapaneseAndFollowTheParent) {
  Edit edit(&form);
  Realize(form);
  const auto shownFont = [&] {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(WindowOf(edit), WM_GETFONT, 0, 0)), sizeof font,
               &font);
    return font;
  };
  EXPECT_EQ(std::wstring(shownFont().lfFaceName), L"ＭＳ ゴシック");
  EXPECT_EQ(shownFont().lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(shownFont().lfHeight, -13);

  Font bigger = form.font();
  bigger.height = -20;
  bigger.bold = true;
  form.setFont(bigger);
  EXPECT_EQ(shownFont().lfHeight, -20);
  EXPECT_EQ(shownFont().lfWeight, FW_BOLD);
}

TEST_F(Peers, ButtonsClickOnReleaseAndOnlyWhenEnabled) {
  Button button(&form);
  button.setBounds({10, 10, 80, 24});
  int clicks = 0;
  button.OnClick = [&] { ++clicks; };
  BitBtn ok(&form);
  ok.setBounds({10, 40, 80, 24});
  ok.setText("OK");
  int okClicks = 0;
  ok.OnClick = [&] { ++okClicks; };
  form.setDefaultButton(&button);
  Realize(form);

  const HWND window = WindowOf(button);
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  EXPECT_EQ(clicks, 0);
  SendMessageW(window, WM_LBUTTONUP, 0, At(5, 5));
  EXPECT_EQ(clicks, 1);
  SendMessageW(window, BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 2);
  button.setEnabled(false);
  SendMessageW(window, BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 2);

  EXPECT_EQ(GetWindowLongW(WindowOf(ok), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
  SendMessageW(WindowOf(ok), BM_CLICK, 0, 0);
  EXPECT_EQ(okClicks, 1);
}

TEST_F(Peers, EditsReportTypingAndLetTheKeyHandlersChangeIt) {
  Edit edit(&form);
  edit.setBounds({10, 10, 160, 24});
  std::string keys;
  int changes = 0;
  edit.OnKeyPress = [&](char& key) {
    keys += key;
    if (key == 'x') key = 0;
    if (key == '1') key = '2';
  };
  edit.OnChange = [&] { ++changes; };
  Realize(form);
  const HWND window = WindowOf(edit);
  const auto type = [window](const std::wstring& text) {
    for (const wchar_t c : text) SendMessageW(window, WM_CHAR, c, 1);
  };

  type(L"ax1");
  EXPECT_EQ(keys, "ax1");
  EXPECT_EQ(edit.text(), "a2");
  EXPECT_EQ(TextOf(window), L"a2");
  EXPECT_EQ(changes, 2);
  type(L"\r");
  EXPECT_EQ(keys, "ax1\r");
  EXPECT_EQ(edit.text(), "a2");

  // A double-byte character is typed in without a key press; a half-width
  // one is a key like any other.
  keys.clear();
  type(L"重ｶ");
  EXPECT_EQ(keys, "ｶ");
  EXPECT_EQ(edit.text(), "a2重ｶ");
}

TEST_F(Peers, EditsKeepTheirByteLimitAndShowTheProgramsText) {
  Edit edit(&form);
  edit.setBounds({10, 10, 160, 24});
  edit.setMaxBytes(4);
  int changes = 0;
  edit.OnChange = [&] { ++changes; };
  Realize(form);
  const HWND window = WindowOf(edit);

  for (const wchar_t c : std::wstring(L"あいう")) SendMessageW(window, WM_CHAR, c, 1);
  EXPECT_EQ(edit.text(), "あい");
  EXPECT_EQ(TextOf(window), L"あい");
  EXPECT_EQ(changes, 2);

  // The window's own echo of a text the program set is no second change.
  edit.setText("１２");
  EXPECT_EQ(TextOf(window), L"１２");
  EXPECT_EQ(changes, 3);
}

// A number box too narrow for its number draws it smaller, and shows an
// ellipsis, with the number whole in its tooltip, only when that fails.
TEST_F(Peers, NumberEditsDrawTheirNumberSmallerOrShowThatItIsCut) {
  Edit number(&form);
  number.setBounds({10, 40, 52, 21});
  number.setHoldsNumber(true);
  Realize(form);
  const auto fontHeight = [&] {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(WindowOf(number), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    return font.lfHeight;
  };
  const struct {
    const char* text;
    bool smaller;
    bool cut;
  } cases[] = {{"123", false, false},
               {"12345678", true, false},
               {"12345678901234", false, true},
               {"12345678", true, false}};  // filled again after a longer one
  // The character at the box's left edge: a whole number shows its first.
  const auto firstShown = [&] {
    RECT room{};
    SendMessageW(WindowOf(number), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
    return LOWORD(SendMessageW(WindowOf(number), EM_CHARFROMPOS, 0,
                               MAKELPARAM(room.left + 1, (room.top + room.bottom) / 2)));
  };
  for (const auto& c : cases) {
    number.setText(c.text);
    EXPECT_EQ(TextOf(WindowOf(number)), SjisToWide(c.text));
    if (!c.cut) {
      EXPECT_EQ(firstShown(), 0) << c.text;
    }
    EXPECT_EQ(fontHeight() != -13, c.smaller) << c.text;
    EXPECT_EQ(number.cut(), c.cut) << c.text;
    EXPECT_EQ(number.toolTip(), c.cut ? c.text : "") << c.text;
  }
}

// A tooltip goes with the peer that made it, a cut number's with its edit
// and a painted control's with its host window: the menu that takes every
// tooltip away never reaches one that is gone.
TEST_F(Peers, TooltipsGoWithThePeersThatMadeThem) {
  Realize(form);
  const std::size_t before = ToolTip::Live();
  {
    Form dialog(FormStyle::Dialog, &form);
    dialog.setClientSize(200, 100);
    Edit number(&dialog);
    number.setBounds({10, 10, 52, 21});
    number.setHoldsNumber(true);
    Label hinted(&dialog);
    hinted.setAutoSize(false);
    hinted.setBounds({10, 50, 60, 16});
    hinted.setText("abc");
    hinted.setHint("ヒント");
    Realize(dialog);
    number.setText("12345678901234");
    ASSERT_TRUE(number.cut());
    SendMessageW(WindowOf(number), WM_MOUSEMOVE, 0, At(5, 5));
    const test::Spot spot = test::SpotOf(hinted, 5, 5);
    SendMessageW(spot.window, WM_MOUSEMOVE, 0, At(spot.x, spot.y));
    EXPECT_EQ(ToolTip::Live(), before + 2);
  }
  EXPECT_EQ(ToolTip::Live(), before);
  ToolTip::DismissAll();  // as a menu does before it opens
}

TEST_F(Peers, BoxesForNumbersHaveNoInputMethod) {
  Edit number(&form);
  number.setNumeric(true);
  Edit name(&form);
  Realize(form);
  const HIMC context = ImmGetContext(WindowOf(name));
  EXPECT_NE(context, nullptr);
  ImmReleaseContext(WindowOf(name), context);
  EXPECT_EQ(ImmGetContext(WindowOf(number)), nullptr);
}

TEST_F(Peers, ControlColoursComeFromTheComponent) {
  Edit edit(&form);
  edit.setColour(kLightYellow);
  Font font = edit.font();
  font.colour = kBlue;
  edit.setFont(font);
  Realize(form);

  const HDC dc = CreateCompatibleDC(nullptr);
  const auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(WindowOf(form), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(WindowOf(edit))));
  LOGBRUSH shown{};
  GetObjectW(brush, sizeof shown, &shown);
  EXPECT_EQ(shown.lbColor, kLightYellow);
  EXPECT_EQ(GetBkColor(dc), kLightYellow);
  EXPECT_EQ(GetTextColor(dc), kBlue);
  DeleteDC(dc);
}

TEST_F(Peers, UpDownsStepThroughTheirComponentWhichWritesTheEdit) {
  Edit edit(&form);
  edit.setBounds({10, 10, 60, 24});
  UpDown upDown(&form, &edit);
  upDown.setBounds({70, 10, 16, 24});
  upDown.setMaximum(30000);
  upDown.setPosition(29999);
  Realize(form);
  const HWND window = WindowOf(upDown);
  const auto click = [window](bool up) {
    const LPARAM at = At(8, up ? 3 : 20);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(window, WM_LBUTTONUP, 0, at);
  };

  EXPECT_EQ(SendMessageW(window, UDM_GETPOS32, 0, 0), 29999);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(window, UDM_GETBUDDY, 0, 0)), WindowOf(edit));
  click(true);
  EXPECT_EQ(upDown.position(), 30000);
  EXPECT_EQ(TextOf(WindowOf(edit)), L"30000");  // no thousands separator
  click(true);
  EXPECT_EQ(upDown.position(), 30000);
  upDown.setWrap(true);
  click(true);
  EXPECT_EQ(edit.text(), "0");
  click(false);
  EXPECT_EQ(edit.text(), "30000");
  EXPECT_EQ(SendMessageW(window, UDM_GETPOS32, 0, 0), 30000);

  // The arrow keys in the edit step too.
  SendMessageW(WindowOf(edit), WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(edit.text(), "29999");

  // A step starts from the number typed in the edit.
  SendMessageW(WindowOf(edit), EM_SETSEL, 0, -1);
  for (const wchar_t typed : std::wstring(L"150")) {
    SendMessageW(WindowOf(edit), WM_CHAR, typed, 1);
  }
  ASSERT_EQ(edit.text(), "150");
  SendMessageW(WindowOf(edit), WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(TextOf(WindowOf(edit)), L"151");
  EXPECT_EQ(upDown.position(), 151);

  // With the limits reversed the up arrow counts down.
  upDown.setMinimum(10);
  upDown.setMaximum(0);
  upDown.setPosition(5);
  edit.setText("5");
  click(true);
  EXPECT_EQ(upDown.position(), 4);
}

TEST_F(Peers, SpeedButtonsClickOnAReleaseOverThem) {
  SpeedButton first(&form);
  SpeedButton second(&form);
  SpeedButton over(&form);  // later, so on top of first where they overlap
  Panel panel(&form);
  SpeedButton inPanel(&panel);  // reaches past the panel's right edge
  first.setBounds({10, 10, 40, 40});
  second.setBounds({60, 10, 40, 40});
  over.setBounds({40, 10, 15, 40});
  panel.setBounds({120, 10, 50, 40});
  inPanel.setBounds({30, 5, 40, 20});
  first.setGroupIndex(1);
  second.setGroupIndex(1);
  int firstClicks = 0;
  int secondClicks = 0;
  int overClicks = 0;
  int formPresses = 0;
  first.OnClick = [&] { ++firstClicks; };
  second.OnClick = [&] { ++secondClicks; };
  over.OnClick = [&] { ++overClicks; };
  form.OnMouseDown = [&](MouseButton, int, int) { ++formPresses; };
  Realize(form);
  // The buttons have no windows: the form takes the mouse for them.
  EXPECT_EQ(WindowOf(first), nullptr);
  const HWND window = WindowOf(form);
  const auto press = [window](int x, int y) {
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
  };
  const auto release = [window](int x, int y) { SendMessageW(window, WM_LBUTTONUP, 0, At(x, y)); };

  press(15, 15);
  EXPECT_EQ(firstClicks, 0);
  EXPECT_EQ(GetCapture(), window);
  release(15, 15);
  EXPECT_EQ(firstClicks, 1);
  EXPECT_TRUE(first.down());
  EXPECT_EQ(GetCapture(), nullptr);

  // Pressed, then released away from it, over another button: nothing.
  press(65, 15);
  SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, At(20, 15));
  release(20, 15);
  EXPECT_EQ(secondClicks, 0);
  EXPECT_EQ(firstClicks, 1);
  EXPECT_TRUE(first.down());

  // Slid off and back on before the release: a click.
  press(65, 15);
  SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, At(20, 15));
  SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, At(66, 16));
  release(66, 16);
  EXPECT_EQ(secondClicks, 1);
  EXPECT_TRUE(second.down());
  EXPECT_FALSE(first.down());

  // Where two overlap the later one takes the click; disabled, it lets the
  // mouse through to the one under it, and a disabled one alone to the form.
  press(45, 15);
  release(45, 15);
  EXPECT_EQ(overClicks, 1);
  EXPECT_EQ(firstClicks, 1);
  over.setEnabled(false);
  press(45, 15);
  release(45, 15);
  EXPECT_EQ(overClicks, 1);
  EXPECT_EQ(firstClicks, 2);
  second.setEnabled(false);
  press(65, 15);
  release(65, 15);
  EXPECT_EQ(secondClicks, 1);
  EXPECT_EQ(formPresses, 1);

  // A panel of painted controls is painted too, and clips what it holds: its
  // button takes a click only where the panel shows it, the panel hears a
  // press in its own coordinates, and hidden it hides its button.
  int inPanelClicks = 0;
  int panelX = -1;
  int panelY = -1;
  inPanel.OnClick = [&] { ++inPanelClicks; };
  panel.OnMouseDown = [&](MouseButton, int x, int y) { panelX = x, panelY = y; };
  EXPECT_EQ(WindowOf(panel), nullptr);
  press(155, 20);
  release(155, 20);
  EXPECT_EQ(inPanelClicks, 1);
  press(180, 20);
  release(180, 20);
  EXPECT_EQ(inPanelClicks, 1);
  EXPECT_EQ(formPresses, 2);
  press(125, 45);
  EXPECT_EQ(panelX, 5);
  EXPECT_EQ(panelY, 35);
  panel.setVisible(false);
  press(155, 20);
  release(155, 20);
  EXPECT_EQ(inPanelClicks, 1);
  EXPECT_EQ(formPresses, 3);
}

TEST_F(Peers, SpeedButtonsDrawTheGlyphImageOfTheirState) {
  const COLORREF images[] = {kRed, kGreen, kBlue, kYellow};
  const COLORREF key = RGB(255, 0, 255);
  const auto file = folder.path() / "glyph.bmp";
  test::WriteBitmap(file, 32, 8,
                    [&](int x, int y) { return x == 0 && y == 7 ? key : images[x / 8]; });
  SpeedButton button(&form);
  button.setBounds({10, 10, 40, 40});
  button.setGlyph(FilePicture(file, 4));
  Realize(form);
  const HWND window = WindowOf(form);

  // With no caption the glyph sits in the middle: (16, 16) to (24, 24).
  EXPECT_EQ(PaintedPixel(button, 20, 20), kRed);
  EXPECT_EQ(PaintedPixel(button, 16, 23), GetSysColor(COLOR_BTNFACE));  // the key shows the face
  button.setEnabled(false);
  EXPECT_EQ(PaintedPixel(button, 20, 20), kGreen);
  button.setEnabled(true);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(15, 15));
  EXPECT_EQ(PaintedPixel(button, 20, 20), kBlue);
  SendMessageW(window, WM_LBUTTONUP, 0, At(5, 5));
  button.setDown(true);
  EXPECT_EQ(PaintedPixel(button, 20, 20), kYellow);
}

TEST_F(Peers, AutoSizedLabelsFitTheirTextAndRightAlignedOnesKeepTheirRightEdge) {
  Label right(&form);
  right.setAlignment(Alignment::Right);
  right.setBounds({100, 10, 10, 16});
  right.setText("12345.678");
  Label left(&form);
  left.setBounds({20, 40, 10, 16});
  left.setText("重さ");
  Label fixed(&form);
  fixed.setAutoSize(false);
  fixed.setBounds({20, 70, 10, 16});
  fixed.setText("長い長いテキスト");
  Realize(form);

  EXPECT_EQ(right.bounds().width, TextWidth(L"12345.678"));
  EXPECT_EQ(right.bounds().right(), 110);
  EXPECT_EQ(left.bounds().left, 20);
  EXPECT_EQ(left.bounds().width, TextWidth(L"重さ"));
  EXPECT_EQ(fixed.bounds().width, 10);

  right.setText("1");
  EXPECT_EQ(right.bounds().width, TextWidth(L"1"));
  EXPECT_EQ(right.bounds().right(), 110);

  // A larger font makes the label taller, not cut at its foot.
  Font large = left.font();
  large.height = -16;
  left.setFont(large);
  EXPECT_GE(left.bounds().height, 16);
}

// A number wider than its place takes the room to its left, then to its
// right, pushing its unit's name along; then it is drawn smaller; where even
// that is not enough it is cut at the room's edge and its tooltip holds all
// of it.
TEST_F(Peers, NumberLabelsShowTheirNumberWholeOrPlainlyCut) {
  Label number(&form);
  number.setAlignment(Alignment::Right);
  number.setBounds({150, 10, 10, 16});
  Label unit(&form);
  unit.setBounds({171, 10, 10, 16});
  unit.setText("cm");
  number.setNumberRoom({100, 10, 140, 16}, &unit);
  Realize(form);
  const int roomRight = 240 - TextWidth(L"cm") - 11;
  const struct {
    const wchar_t* text;
    int left;   // -1: smaller than its own width, anywhere from the room's left
    int right;  // -1: its own width on from the room's left
    bool cut;
  } cases[] = {
      {L"123.45", 160 - TextWidth(L"123.45"), 160, false},
      {L"12345678901.5", 100, -1, false},
      {L"123456789012345678901.5", -1, -1, false},
      {L"99999999999935027400000000000000.00000000", 100, roomRight, true},
      {L"1", 160 - TextWidth(L"1"), 160, false},
  };
  for (const auto& c : cases) {
    number.setText(WideToSjis(c.text));
    const Rect& shown = number.bounds();
    if (c.left >= 0) {
      EXPECT_EQ(shown.left, c.left) << number.text();
    } else {
      EXPECT_LT(shown.width, TextWidth(c.text)) << number.text();
    }
    EXPECT_EQ(shown.right(), c.right >= 0 ? c.right : shown.left + shown.width);
    if (c.right < 0 && c.left >= 0) {
      EXPECT_EQ(shown.width, TextWidth(c.text)) << number.text();
    }
    EXPECT_GE(shown.left, 100) << number.text();
    EXPECT_LE(shown.right(), roomRight) << number.text();
    EXPECT_EQ(unit.bounds().left, std::max(171, shown.right() + 11)) << number.text();
    EXPECT_EQ(number.cut(), c.cut) << number.text();
    EXPECT_EQ(number.toolTip(), c.cut ? number.text() : "") << number.text();
  }
}

TEST_F(Peers, SeeThroughLabelsShowWhatLiesUnderThem) {
  form.setColour(kRed);
  const auto file = folder.path() / "green.bmp";
  test::WriteBitmap(file, 100, 50, [](int, int) { return kGreen; });
  Image image(&form);
  image.setBounds({0, 0, 100, 50});
  image.setPicture(FilePicture(file));
  Label over(&form);
  over.setAutoSize(false);
  over.setTransparent(true);
  over.setBounds({50, 10, 100, 30});
  Label solid(&form);
  solid.setAutoSize(false);
  solid.setColour(kBlue);
  solid.setBounds({50, 60, 50, 20});
  Realize(form);

  EXPECT_EQ(PaintedPixel(over, 10, 10), kGreen);  // over the picture
  EXPECT_EQ(PaintedPixel(over, 80, 10), kRed);    // over the form
  EXPECT_EQ(PaintedPixel(solid, 5, 5), kBlue);
}

TEST_F(Peers, PanelsDrawTheirBevelsAndCaption) {
  Panel raised(&form);
  raised.setBounds({10, 10, 60, 40});
  Panel lowered(&form);
  lowered.setBounds({80, 10, 60, 40});
  lowered.setBevels(Bevel::None, Bevel::Lowered);
  lowered.setText("ページ");
  Realize(form);

  EXPECT_EQ(PaintedPixel(raised, 0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(PaintedPixel(raised, 59, 39), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(PaintedPixel(raised, 3, 3), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(PaintedPixel(lowered, 0, 0), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(PaintedPixel(lowered, 59, 39), GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST_F(Peers, ImagesDrawTheirPictureStretchedOrNot) {
  form.setColour(kBlue);
  const auto file = folder.path() / "four.bmp";
  test::WriteBitmap(file, 2, 2,
                    [](int x, int y) { return y == 0 ? (x == 0 ? kRed : kGreen) : kYellow; });
  Image plain(&form);
  plain.setBounds({0, 0, 20, 20});
  plain.setPicture(FilePicture(file));
  Image stretched(&form);
  stretched.setBounds({30, 0, 20, 20});
  stretched.setStretch(true);
  stretched.setPicture(FilePicture(file));
  Image missing(&form);
  missing.setBounds({60, 0, 20, 20});
  missing.setPicture(Picture::FromResource("NO_SUCH_BITMAP"));
  Realize(form);

  EXPECT_EQ(PaintedPixel(plain, 0, 0), kRed);
  EXPECT_EQ(PaintedPixel(plain, 15, 15), kBlue);  // beyond the picture: the form
  EXPECT_EQ(PaintedPixel(stretched, 15, 2), kGreen);
  EXPECT_EQ(PaintedPixel(stretched, 15, 15), kYellow);
  EXPECT_EQ(PaintedPixel(missing, 10, 10), kBlue);
}

TEST_F(Peers, ListsShowTheirItemsAndReportTheUsersChoice) {
  ComboBox combo(&form);
  combo.setBounds({10, 10, 120, 24});
  combo.setItems({"メートル", "尺", "寸"});
  combo.setItemIndex(0);
  int changes = 0;
  combo.OnChange = [&] { ++changes; };
  ListBox list(&form);
  list.setBounds({10, 50, 120, 100});
  list.addItem("一");
  list.addItem("二");
  int clicks = 0;
  list.OnClick = [&] { ++clicks; };
  Realize(form);

  const HWND box = WindowOf(combo);
  EXPECT_EQ(SendMessageW(box, CB_GETCOUNT, 0, 0), 3);
  wchar_t item[32] = {};
  SendMessageW(box, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(item));
  EXPECT_EQ(std::wstring(item), L"尺");
  EXPECT_EQ(SendMessageW(box, CB_GETCURSEL, 0, 0), 0);
  SendMessageW(box, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(combo.itemIndex(), 1);
  EXPECT_EQ(changes, 1);
  combo.setItemIndex(2);
  EXPECT_EQ(SendMessageW(box, CB_GETCURSEL, 0, 0), 2);

  const HWND rows = WindowOf(list);
  RECT second{};
  SendMessageW(rows, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
  SendMessageW(rows, WM_LBUTTONDOWN, MK_LBUTTON, At(second.left + 2, second.top + 2));
  SendMessageW(rows, WM_LBUTTONUP, 0, At(second.left + 2, second.top + 2));
  EXPECT_EQ(list.itemIndex(), 1);
  EXPECT_EQ(clicks, 1);
  list.addItem("三");
  EXPECT_EQ(SendMessageW(rows, LB_GETCOUNT, 0, 0), 3);
  list.clear();
  EXPECT_EQ(SendMessageW(rows, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(Peers, GridsPaintThroughTheirComponentAndReportMouseAndScrolling) {
  StringGrid grid(&form);
  grid.setBounds({10, 10, 200, 100});
  grid.setColCount(3);
  grid.setRowCount(20);
  grid.setDefaultRowHeight(18);
  for (int col = 0; col < 3; ++col) grid.setColWidth(col, 50);
  std::set<std::pair<int, int>> drawn;
  grid.OnDrawCell = [&](int col, int row, const Rect&, GridCellState, Canvas&) {
    drawn.insert({col, row});
  };
  std::vector<std::pair<MouseButton, Point>> presses;
  grid.OnMouseDown = [&](MouseButton button, int x, int y) { presses.push_back({button, {x, y}}); };
  Realize(form);
  const HWND window = WindowOf(grid);
  RECT client{};
  GetClientRect(window, &client);
  const int lastShown = (client.bottom - 1) / 19;  // rows of 18 pixels and a line

  PaintedPixel(window, 0, 0);
  EXPECT_TRUE(drawn.count({0, 0}));
  EXPECT_TRUE(drawn.count({2, lastShown}));
  EXPECT_FALSE(drawn.count({1, lastShown + 1}));

  const Rect cell = grid.cellRect(2, 3);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(cell.left + 3, cell.top + 3));
  SendMessageW(window, WM_LBUTTONUP, 0, At(cell.left + 3, cell.top + 3));
  EXPECT_EQ(grid.selectedCol(), 2);
  EXPECT_EQ(grid.selectedRow(), 3);
  const Rect other = grid.cellRect(1, 2);
  SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, At(other.left + 1, other.top + 1));
  EXPECT_EQ(grid.selectedRow(), 3);  // the right button does not select
  ASSERT_EQ(presses.size(), 2u);
  EXPECT_EQ(presses[0].first, MouseButton::Left);
  EXPECT_EQ(presses[0].second.x, cell.left + 3);
  EXPECT_EQ(presses[1].first, MouseButton::Right);

  SendMessageW(window, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(grid.topRow(), 2);
  SendMessageW(window, WM_VSCROLL, SB_BOTTOM, 0);
  const int rowsShown = (client.bottom - 19) / 19;
  EXPECT_EQ(grid.topRow(), 20 - rowsShown);
  SCROLLINFO bar{};
  bar.cbSize = sizeof bar;
  bar.fMask = SIF_ALL;
  GetScrollInfo(window, SB_VERT, &bar);
  EXPECT_EQ(bar.nPos, grid.topRow());
  EXPECT_EQ(bar.nMax, 19);
  drawn.clear();
  PaintedPixel(window, 0, 0);
  EXPECT_TRUE(drawn.count({1, 19}));
  EXPECT_FALSE(drawn.count({1, grid.topRow() - 1}));
}

}  // namespace
}  // namespace hk
