// The message loop: the key hook, Enter, Alt+letter, Tab, and how the
// program ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>
#include <utility>
#include <vector>

#include "platform/Widgets.h"
#include "platform/win32/MessageLoop.h"
#include "platform/win32/Peers.h"
#include "platform/win32/Win32Services.h"
#include "win32/WindowTestSupport.h"

namespace hk {
namespace {

using test::Later;
using test::Pump;

// Holds Shift down in the thread's key state while it lives.
class ShiftHeld {
 public:
  ShiftHeld() { set(0x80); }
  ~ShiftHeld() { set(0); }

 private:
  static void set(BYTE state) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = state;
    SetKeyboardState(keys);
  }
};

// Most tests leave the form hidden: the loop treats hidden windows alike, and
// Wine without a window manager takes seconds over hiding a shown one.
class Loop : public ::testing::Test {
 protected:
  Loop() {
    form.setBounds({100, 100, 302, 202});
    edit.setBounds({10, 10, 80, 24});
    upDown.setBounds({90, 10, 16, 24});
    upDown.setPosition(5);
  }

  test::Reported reported;
  Win32Services services;
  Form form{FormStyle::BorderlessPopup};
  Edit edit{&form};
  UpDown upDown{&form, &edit};
};

TEST_F(Loop, TheKeyHookSeesKeysFirstAndMaySwallowThem) {
  std::vector<std::pair<unsigned, bool>> seen;
  services.setKeyHook([&](unsigned key, bool shift) {
    seen.push_back({key, shift});
    return key == VK_F3 || (key == VK_UP && shift);
  });
  Realize(form);
  const HWND window = WindowOf(edit);

  PostMessageW(window, WM_KEYDOWN, VK_UP, 0);
  Pump(services);
  EXPECT_EQ(upDown.position(), 6);  // passed on: the spinner stepped
  {
    ShiftHeld shift;
    PostMessageW(window, WM_KEYDOWN, VK_UP, 0);
    Pump(services);
  }
  EXPECT_EQ(upDown.position(), 6);  // swallowed
  PostMessageW(window, WM_KEYDOWN, VK_F3, 0);
  Pump(services);
  // A form that waits for a modal one takes no keys.
  EnableWindow(WindowOf(form), FALSE);
  PostMessageW(window, WM_KEYDOWN, VK_F4, 0);
  Pump(services);
  EXPECT_EQ(seen, (std::vector<std::pair<unsigned, bool>>{
                      {VK_UP, false}, {VK_UP, true}, {VK_F3, false}}));
  EXPECT_TRUE(reported.texts.empty());
}

TEST_F(Loop, AnErrorInTheKeyHookIsReportedAndTheKeyGoesOn) {
  services.setKeyHook([](unsigned, bool) -> bool { throw std::runtime_error("hook failed"); });
  Realize(form);
  PostMessageW(WindowOf(edit), WM_KEYDOWN, VK_UP, 0);
  Pump(services);
  EXPECT_EQ(reported.texts, std::vector<std::string>{"hook failed"});
  EXPECT_EQ(upDown.position(), 6);
}

TEST_F(Loop, EnterPressesTheDefaultButtonAndNothingElse) {
  Button ok(&form);
  ok.setBounds({10, 50, 80, 24});
  int clicks = 0;
  ok.OnClick = [&] { ++clicks; };
  std::string keys;
  edit.OnKeyPress = [&](char& key) { keys += key; };
  form.setDefaultButton(&ok);
  Realize(form);
  const LPARAM enterScan = 0x001C0001;

  PostMessageW(WindowOf(edit), WM_KEYDOWN, VK_RETURN, enterScan);
  Pump(services);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(keys, "");

  // A disabled default button leaves Enter to the edit.
  ok.setEnabled(false);
  PostMessageW(WindowOf(edit), WM_KEYDOWN, VK_RETURN, enterScan);
  Pump(services);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(keys, "\r");
  EXPECT_TRUE(reported.texts.empty());
}

TEST_F(Loop, AltAndALetterPressTheSpeedButtonItNames) {
  SpeedButton menu(&form);
  menu.setText("ﾒﾆｭｰ(&M)");
  int clicks = 0;
  menu.OnClick = [&] { ++clicks; };
  Realize(form);

  PostMessageW(WindowOf(form), WM_SYSCHAR, 'm', 0x20000000);
  Pump(services);
  EXPECT_EQ(clicks, 1);
  const MSG unnamed{WindowOf(edit), WM_SYSCHAR, 'q', 0x20000000, 0, {}};
  EXPECT_FALSE(PreTranslate(services, unnamed));
  EXPECT_EQ(clicks, 1);
}

// An Alt let go after another key goes no further, however the system
// sends its release (a plain key-up after Alt+F6 under Wine): the system's
// menu mode would take the keys that follow.
TEST_F(Loop, AnAltLetGoAfterAnotherKeyGoesNoFurther) {
  Realize(form);
  const HWND window = WindowOf(edit);
  for (const UINT release : {WM_SYSKEYUP, WM_KEYUP}) {
    EXPECT_FALSE(PreTranslate(services, MSG{window, WM_SYSKEYDOWN, VK_MENU, 0, 0, {}}));
    PreTranslate(services, MSG{window, WM_SYSKEYDOWN, 'Q', 0, 0, {}});
    EXPECT_TRUE(PreTranslate(services, MSG{window, release, VK_MENU, 0, 0, {}}))
        << std::hex << release;
  }
}

TEST_F(Loop, TabMovesTheFocusInTheOrderTheComponentsWereMade) {
  Edit second(&form);
  second.setBounds({10, 40, 80, 24});
  second.setText("abc");
  Label between(&form);
  Button last(&form);
  last.setBounds({10, 70, 80, 24});
  int entered = 0;
  second.OnEnter = [&] { ++entered; };
  services.showModeless(form);
  SetForegroundWindow(WindowOf(form));
  SetFocus(WindowOf(edit));
  ASSERT_EQ(GetFocus(), WindowOf(edit));

  PostMessageW(WindowOf(edit), WM_KEYDOWN, VK_TAB, 0);
  Pump(services);
  EXPECT_EQ(GetFocus(), WindowOf(second));
  EXPECT_EQ(form.focused(), &second);
  EXPECT_EQ(entered, 1);
  DWORD selStart = 0;
  DWORD selEnd = 0;
  SendMessageW(WindowOf(second), EM_GETSEL, reinterpret_cast<WPARAM>(&selStart),
               reinterpret_cast<LPARAM>(&selEnd));
  EXPECT_EQ(selStart, 0u);  // the text is selected, so typing replaces it
  EXPECT_EQ(selEnd, 3u);
  PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
  Pump(services);
  EXPECT_EQ(GetFocus(), WindowOf(last));
  {
    ShiftHeld shift;
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
    Pump(services);
  }
  EXPECT_EQ(GetFocus(), WindowOf(second));
}

TEST_F(Loop, ClosingTheMainFormEndsTheProgram) {
  int closes = 0;
  int destroys = 0;
  form.OnClose = [&] { ++closes; };
  form.OnDestroy = [&] { ++destroys; };
  // Should the loop not end, the quit message ends it with another code.
  Later safety(5000, [] { PostQuitMessage(7); });
  bool shown = false;
  Later close(50, [&] {
    shown = IsWindowVisible(WindowOf(form)) && form.visible();
    PostMessageW(WindowOf(form), WM_CLOSE, 0, 0);
  });

  EXPECT_EQ(RunMessageLoop(services, form), 0);
  EXPECT_TRUE(shown);
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(destroys, 1);
  EXPECT_EQ(WindowOf(form), nullptr);
}

TEST_F(Loop, ClosingTheMainFormFromTheProgramEndsItToo) {
  int destroys = 0;
  form.OnDestroy = [&] { ++destroys; };
  Later safety(5000, [] { PostQuitMessage(7); });
  Later close(50, [&] { form.close(); });

  EXPECT_EQ(RunMessageLoop(services, form), 0);
  EXPECT_EQ(destroys, 1);
}

}  // namespace
}  // namespace hk
