// The services over the Windows API: clipboard, message boxes, modal runs,
// posted messages, deferred releases, menus and files.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Widgets.h"
#include "platform/win32/Peers.h"
#include "platform/win32/Win32Services.h"
#include "win32/WindowTestSupport.h"

namespace hk {
namespace {

using test::Later;
using test::TextOf;

class Services32 : public ::testing::Test {
 protected:
  Services32() { owner.setBounds({100, 100, 302, 202}); }
  void TearDown() override { EXPECT_TRUE(reported.texts.empty()) << reported.texts.front(); }

  // Wine without a window manager takes seconds over hiding a window that
  // was activated; these tests do not need it active.
  static void ShowWithoutActivating(Form& form) {
    Realize(form);
    ShowWindow(WindowOf(form), SW_SHOWNOACTIVATE);
  }

  test::Reported reported;
  Win32Services services;
  Form owner{FormStyle::BorderlessPopup};
};

BOOL CALLBACK CollectText(HWND child, LPARAM texts) {
  const std::wstring text = TextOf(child);
  if (!text.empty()) reinterpret_cast<std::vector<std::wstring>*>(texts)->push_back(text);
  return TRUE;
}

TEST_F(Services32, ClipboardHoldsTheTextInBothEncodingsAndTheJapaneseLocale) {
  const std::string text = "重さ\t1.5 kg\r\nｶﾞﾛﾝ";
  services.setClipboardText(text);

  ASSERT_TRUE(OpenClipboard(nullptr));
  const auto read = [](UINT format) {
    const HGLOBAL block = GetClipboardData(format);
    return block ? std::string(static_cast<const char*>(GlobalLock(block))) : std::string();
  };
  EXPECT_EQ(read(CF_TEXT), text);
  const HGLOBAL wide = GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(GlobalLock(wide))), L"重さ\t1.5 kg\r\nｶﾞﾛﾝ");
  GlobalUnlock(wide);
  const HGLOBAL locale = GetClipboardData(CF_LOCALE);
  ASSERT_NE(locale, nullptr);
  EXPECT_EQ(*static_cast<const LCID*>(GlobalLock(locale)), 0x0411u);
  GlobalUnlock(locale);
  CloseClipboard();

  // A second copy replaces the first entirely.
  services.setClipboardText("");
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_EQ(read(CF_TEXT), "");
  CloseClipboard();
}

TEST_F(Services32, MessageBoxesShowTheirTitleAndTextAndReturnTheButton) {
  std::vector<std::wstring> seen;
  Later answer(100, [&] {
    const HWND box = FindWindowW(nullptr, L"はかり丸");
    if (!box) return;
    EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&seen));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  const int pressed = services.messageBox("0 による浮動小数点数除算", "はかり丸", kMbOk);
  EXPECT_EQ(pressed, kIdOk);
  EXPECT_NE(std::find(seen.begin(), seen.end(), L"0 による浮動小数点数除算"), seen.end());
}

TEST_F(Services32, AModalRunDisablesTheOtherWindowsAndEndsWithTheResult) {
  ShowWithoutActivating(owner);
  Form dialog(FormStyle::Dialog, &owner);
  dialog.setBounds({120, 120, 200, 100});
  Button ok(&dialog);
  ok.setBounds({10, 10, 80, 24});
  ok.setModalResult(kModalOk);
  bool ownerWasEnabled = true;
  bool dialogWasShown = false;
  Later press(100, [&] {
    ownerWasEnabled = IsWindowEnabled(WindowOf(owner)) != FALSE;
    dialogWasShown = IsWindowVisible(WindowOf(dialog)) != FALSE;
    SendMessageW(WindowOf(ok), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(services.runModal(dialog), kModalOk);
  EXPECT_FALSE(ownerWasEnabled);
  EXPECT_TRUE(dialogWasShown);
  EXPECT_TRUE(IsWindowEnabled(WindowOf(owner)));
  EXPECT_FALSE(IsWindowVisible(WindowOf(dialog)));
  EXPECT_FALSE(dialog.visible());
  EXPECT_FALSE(dialog.modal());
}

TEST_F(Services32, AModalRunClosedByItsCloseBoxIsCancelled) {
  Form dialog(FormStyle::Dialog);
  dialog.setBounds({120, 120, 200, 100});
  dialog.setModalResult(kModalOk);  // left from an earlier run
  int closes = 0;
  dialog.OnClose = [&] { ++closes; };
  Later close(50, [&] { PostMessageW(WindowOf(dialog), WM_CLOSE, 0, 0); });
  EXPECT_EQ(services.runModal(dialog), kModalCancel);
  EXPECT_EQ(closes, 1);
}

TEST_F(Services32, PostedMessagesAndReleasesWaitForTheLoop) {
  std::vector<unsigned> messages;
  owner.OnMessage = [&](unsigned message) { messages.push_back(message); };
  services.postMessage(owner, WM_USER + 5);
  services.postMessage(owner, WM_USER);  // a number the dialog manager also uses
  EXPECT_TRUE(messages.empty());

  struct Released : Form {
    Released() : Form(FormStyle::Dialog) {}
    Label label{this};
  };
  auto released = std::make_unique<Released>();
  int destroyed = 0;
  released->OnDestroy = [&] { ++destroyed; };
  Realize(*released);
  const HWND window = WindowOf(*released);
  services.releaseLater(std::move(released));
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(destroyed, 0);

  test::Pump(services);
  EXPECT_EQ(messages, (std::vector<unsigned>{WM_USER + 5, WM_USER}));
  EXPECT_EQ(destroyed, 1);
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(Services32, PopupMenusAnswerTheChosenIndex) {
  Realize(owner);
  PopupMenu menu(services);
  menu.add("コピー");
  menu.add("-");
  menu.add("全て").setChecked(true);
  menu.add("消去").setEnabled(false);
  const auto choose = [&](std::vector<WPARAM> keys) {
    Later press(100, [keys, this] {
      for (const WPARAM key : keys) PostMessageW(WindowOf(owner), WM_KEYDOWN, key, 0);
    });
    return services.trackPopupMenu(owner, menu, {150, 150});
  };
  EXPECT_EQ(choose({VK_DOWN, VK_DOWN, VK_RETURN}), 2);  // the separator is passed over
  EXPECT_EQ(choose({VK_ESCAPE}), -1);
}

// Acts on a window of the class or title once it is there, however long
// the system takes to make it.
class WhenFound {
 public:
  WhenFound(const wchar_t* className, const wchar_t* title, std::function<void(HWND)> act)
      : className_(className), title_(title), act_(std::move(act)) {
    arm();
  }

 private:
  void arm() {
    later_ = std::make_unique<Later>(50, [this] {
      if (const HWND window = FindWindowW(className_, title_)) {
        act_(window);
      } else {
        arm();
      }
    });
  }

  const wchar_t* className_;
  const wchar_t* title_;
  std::function<void(HWND)> act_;
  std::unique_ptr<Later> later_;
};

// Whatever a topmost window asks for comes up above it: the windows it
// owns, made before or after, its message boxes, the font dialog and help.
TEST_F(Services32, ATopmostFormKeepsItsWindowsAndBoxesAboveIt) {
  ShowWithoutActivating(owner);
  Form before(FormStyle::Dialog, &owner);
  before.setBounds({120, 120, 200, 100});
  ShowWithoutActivating(before);
  owner.setTopmost(true);
  EXPECT_TRUE(IsTopmost(WindowOf(owner)));
  EXPECT_TRUE(IsTopmost(WindowOf(before)));
  EXPECT_EQ(GetWindow(WindowOf(owner), GW_HWNDPREV), WindowOf(before));
  Form after(FormStyle::Dialog, &owner);
  Realize(after);
  EXPECT_TRUE(IsTopmost(WindowOf(after)));

  SetActiveWindow(WindowOf(owner));
  HWND boxOwner = nullptr;
  bool boxTopmost = false;
  const WhenFound answer(nullptr, L"上", [&](HWND box) {
    boxOwner = GetWindow(box, GW_OWNER);
    boxTopmost = IsTopmost(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  services.messageBox("箱", "上", kMbOk);
  EXPECT_EQ(boxOwner, WindowOf(owner));
  EXPECT_TRUE(boxTopmost);

  bool fontsTopmost = false;
  const WhenFound cancel(L"#32770", nullptr, [&](HWND fonts) {
    fontsTopmost = IsTopmost(fonts);
    PostMessageW(fonts, WM_COMMAND, IDCANCEL, 0);
  });
  Font font;
  EXPECT_FALSE(services.chooseFont(owner, font));
  EXPECT_TRUE(fontsTopmost);

  // The help window, which no window owns, comes and goes with it.
  services.help(owner, FilePath("missing.hlp"), HelpCommand::Context, 256);
  const HWND help = FindWindowW(nullptr, L"はかり丸 ヘルプ");
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(IsTopmost(help));

  owner.setTopmost(false);
  EXPECT_FALSE(IsTopmost(WindowOf(owner)));
  EXPECT_FALSE(IsTopmost(help));
  Form later(FormStyle::Dialog, &owner);
  Realize(later);
  EXPECT_FALSE(IsTopmost(WindowOf(later)));
}

TEST_F(Services32, FilesAndBitmapsAreReadFromTheDisk) {
  test::TempFolder folder;
  const auto bitmap = folder.path() / "絵.bmp";
  test::WriteBitmap(bitmap, 7, 3, [](int, int) { return RGB(1, 2, 3); });
  const auto text = folder.path() / "not-a-bitmap.bmp";
  std::ofstream(text) << "BM but not really";

  const std::optional<Picture> picture = services.loadBitmapFile(bitmap);
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->source, Picture::Source::File);
  EXPECT_EQ(picture->file, bitmap);
  EXPECT_EQ(picture->width, 7);
  EXPECT_EQ(picture->height, 3);
  EXPECT_FALSE(services.loadBitmapFile(text).has_value());
  EXPECT_FALSE(services.loadBitmapFile(folder.path() / "missing.bmp").has_value());

  EXPECT_TRUE(services.fileExists(bitmap));
  EXPECT_FALSE(services.fileExists(folder.path()));
  EXPECT_FALSE(services.fileExists(folder.path() / "missing.bmp"));
  EXPECT_EQ(services.executablePath().filename(), FilePath(L"hk_peer_tests.exe"));
  EXPECT_TRUE(std::filesystem::path(services.executablePath()).is_absolute());
}

}  // namespace
}  // namespace hk
