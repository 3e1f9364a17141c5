// The customisation dialog as real windows: its frame, the keyboard's way
// through it, the byte limit of the name box and how it closes.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "data/CategoryTable.h"
#include "data/SettingsFile.h"
#include "platform/win32/Peers.h"
#include "platform/win32/Win32Services.h"
#include "ui/CalcUnt1.h"
#include "win32/WindowTestSupport.h"

namespace hk {
namespace {

using test::Later;
using test::Pump;
using test::TextOf;

class CustomDialog : public ::testing::Test {
 protected:
  CustomDialog() {
    owner.setBounds({10, 10, 402, 302});
    Realize(owner);
  }

  std::string settingsText() const {
    std::ifstream in(folder.path() / "hakarimaru.KZN", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  test::Reported reported;
  Win32Services services;
  Form owner{FormStyle::BorderlessPopup};
  test::TempFolder folder;
  CategoryTable table = CategoryTable::BuiltIn();
  SettingsFile settings{folder.path() / "hakarimaru.KZN"};
  TCalcCustomForm dialog{services, owner, table, settings, folder.path(), FilePath("ZO_VEZA.HLP")};
};

TEST_F(CustomDialog, KeyboardFrameAndConfirming) {
  dialog.SetCategory(1);
  std::vector<HWND> expectedStops;
  std::vector<HWND> visited;
  std::wstring typedName;
  bool stillOpen = false;
  HWND firstFocus = nullptr;
  COLORREF buttonFace = 0;
  Later safety(8000, [&] { dialog.ExitButton.click(); });
  Later act(100, [&] {
    const HWND window = WindowOf(dialog);
    firstFocus = GetFocus();
    // The buttons are drawn by the program: their face shows they were.
    buttonFace = test::PaintedPixel(WindowOf(dialog.OKButton), 4, 4);
    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.left, 470);
    EXPECT_EQ(outer.top, 405);
    // The designed outer size whatever frame the system draws; the client
    // area is what the frame leaves.
    EXPECT_EQ(outer.right - outer.left, TCalcCustomForm::kOuterWidth);
    EXPECT_EQ(outer.bottom - outer.top, TCalcCustomForm::kOuterHeight);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    RECT frame{};
    AdjustWindowRectEx(&frame, style, FALSE, GetWindowLongW(window, GWL_EXSTYLE));
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, TCalcCustomForm::kOuterWidth - (frame.right - frame.left));
    EXPECT_EQ(client.bottom, TCalcCustomForm::kOuterHeight - (frame.bottom - frame.top));
    EXPECT_EQ(dialog.clientWidth(), client.right);
    // Only the close box on the caption, and a border that sizes the dialog:
    // larger at will, never smaller than designed.
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(outer.right - 2, outer.bottom - 2)),
              HTBOTTOMRIGHT);
    SetWindowPos(window, nullptr, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER);
    RECT shrunk{};
    GetWindowRect(window, &shrunk);
    EXPECT_EQ(shrunk.right - shrunk.left, TCalcCustomForm::kOuterWidth);
    EXPECT_EQ(shrunk.bottom - shrunk.top, TCalcCustomForm::kOuterHeight);
    SetWindowPos(window, nullptr, 0, 0, 400, 480, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(dialog.bounds().width, 400);
    EXPECT_EQ(dialog.bounds().height, 480);
    SetWindowPos(window, nullptr, 0, 0, TCalcCustomForm::kOuterWidth, TCalcCustomForm::kOuterHeight,
                 SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(TextOf(window), L"変換データカストマイズ");

    SetForegroundWindow(window);
    SetFocus(WindowOf(dialog.NameEdit));
    expectedStops = {WindowOf(dialog.NameEdit), WindowOf(dialog.IconComboBox),
                     WindowOf(dialog.ImageDisplayButton)};
    for (int row = 1; row <= kUnitsPerCategory; ++row) {
      expectedStops.insert(expectedStops.end(),
                           {WindowOf(dialog.TanniEdit(row)), WindowOf(dialog.ValueEdit(row)),
                            WindowOf(dialog.ShosuCombo(row)), WindowOf(dialog.ColorCombo(row))});
    }
    expectedStops.insert(
        expectedStops.end(),
        {WindowOf(dialog.OKButton), WindowOf(dialog.HelpButton), WindowOf(dialog.ExitButton)});
    for (std::size_t i = 0; i < expectedStops.size(); ++i) {
      visited.push_back(GetFocus());
      PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
      Pump(services);
    }
    visited.push_back(GetFocus());  // round to the start

    // Enter and Escape in a box leave the dialog open.
    for (const WPARAM key : {WPARAM{VK_RETURN}, WPARAM{VK_ESCAPE}}) {
      PostMessageW(WindowOf(dialog.NameEdit), WM_KEYDOWN, key, 0);
      PostMessageW(WindowOf(dialog.NameEdit), WM_CHAR, key == VK_RETURN ? L'\r' : L'\x1B', 0);
      Pump(services);
    }
    stillOpen = IsWindowVisible(window) && dialog.modalResult() == kModalNone;

    // Typing stops at twelve bytes, before a character that would not fit.
    const HWND name = WindowOf(dialog.NameEdit);
    SendMessageW(name, EM_SETSEL, 0, -1);
    for (const wchar_t c : std::wstring(L"長さ1&Lﾒｰﾄﾙ漢字")) SendMessageW(name, WM_CHAR, c, 1);
    typedName = TextOf(name);

    SendMessageW(WindowOf(dialog.OKButton), BM_CLICK, 0, 0);
  });

  EXPECT_EQ(services.runModal(dialog), kModalOk);

  EXPECT_EQ(firstFocus, WindowOf(dialog.NameEdit));
  EXPECT_EQ(buttonFace, GetSysColor(COLOR_BTNFACE));
  expectedStops.push_back(WindowOf(dialog.NameEdit));
  EXPECT_EQ(visited, expectedStops);
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(typedName, L"長さ1&Lﾒｰﾄﾙ");
  EXPECT_EQ(dialog.NameEdit.text(), "長さ1&Lﾒｰﾄﾙ");
  EXPECT_EQ(table[1].CategoryName, "長さ1&Lﾒｰﾄﾙ");
  EXPECT_NE(settingsText().find("NAME=長さ1&Lﾒｰﾄﾙ\r\n"), std::string::npos);
  EXPECT_TRUE(reported.texts.empty());
}

TEST_F(CustomDialog, TheCloseBoxCancels) {
  dialog.SetCategory(2);
  Later safety(5000, [&] { dialog.ExitButton.click(); });
  Later close(100, [&] { SendMessageW(WindowOf(dialog), WM_SYSCOMMAND, SC_CLOSE, 0); });

  EXPECT_EQ(services.runModal(dialog), kModalCancel);
  EXPECT_EQ(settingsText(), "");
  EXPECT_TRUE(reported.texts.empty());
}

}  // namespace
}  // namespace hk
