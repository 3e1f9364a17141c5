#include "platform/win32/MessageLoop.h"

#include <algorithm>
#include <cwctype>
#include <vector>

#include "platform/Dispatcher.h"
#include "platform/win32/HelpWindow.h"
#include "platform/win32/Peers.h"
#include "platform/win32/Win32Services.h"

namespace hk {
namespace {

// Tab and Shift+Tab along the form's order. As in the system's dialogs,
// tabbing into an edit selects its text, so typing replaces it.
void MoveFocus(Form& form, bool backwards) {
  Fire([&] { form.focusNext(backwards); });
  const Control* now = form.focused();
  if (now && now->kind() == ControlKind::Edit) {
    if (const HWND window = WindowOf(*now)) SendMessageW(window, EM_SETSEL, 0, -1);
  }
}

unsigned HeldModifiers() {
  return (GetKeyState(VK_SHIFT) < 0 ? kShift : 0u) | (GetKeyState(VK_CONTROL) < 0 ? kCtrl : 0u) |
         (GetKeyState(VK_MENU) < 0 ? kAltHeld : 0u);
}

// Alt pressed and released alone opens the menu, as the system's menus do:
// no other key, no mouse button and no change of the active window between.
struct AltPress {
  bool alone = false;
  HWND active = nullptr;
} altPress;

bool IsMouseButton(UINT message) {
  return (message >= WM_LBUTTONDOWN && message <= WM_XBUTTONDBLCLK && message != WM_MOUSEWHEEL) ||
         (message >= WM_NCLBUTTONDOWN && message <= WM_NCXBUTTONDBLCLK);
}

void FollowAlt(const MSG& message) {
  const bool down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
  if (down && message.wParam == VK_MENU) {
    if ((message.lParam & (1L << 30)) == 0) altPress = {true, GetActiveWindow()};
  } else if (down || IsMouseButton(message.message)) {
    altPress.alone = false;
  }
}

bool AltReleasedAlone() {
  const bool alone = altPress.alone && altPress.active == GetActiveWindow();
  altPress.alone = false;
  return alone;
}

// Alt let go: alone, it is the form's key::kAlt. An Alt that was not alone
// is swallowed in every window of ours, as either kind of key release: the
// system would start a menu mode of its own on it. Wine does after a click,
// and after Alt+F6, whose F6 its default handling never saw: the release
// comes as a plain key-up to the window switched to, which may be the help
// window.
bool AltReleased(Form* form, const MSG& message) {
  if (!AltReleasedAlone()) return true;
  if (!form || message.message != WM_SYSKEYUP) return false;
  bool taken = false;
  Fire([&] { taken = form->pressShortcut(key::kAlt, kNoModifiers); });
  return taken;
}

bool Shortcut(Form& form, const MSG& message) {
  const bool down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
  if (!down || message.wParam == VK_MENU) return false;
  bool taken = false;
  const unsigned modifiers = HeldModifiers();
  Fire([&] { taken = form.pressShortcut(static_cast<unsigned>(message.wParam), modifiers); });
  return taken;
}

// The main window, whose keys are the program's.
Form* programForm = nullptr;

// The main window's program keys and its categories' Alt+letters, pressed
// in a window that stands beside it (the modeless history window, the help
// window): they do there what they do in the main window, so that no
// window gives them another meaning. A modal window keeps its keys: the
// main window waits for it.
bool ProgramKey(HWND root, Form* form, const MSG& message) {
  Form* main = form ? form->owner() : (HelpWindow::Is(root) ? programForm : nullptr);
  const HWND mainWindow = main ? WindowOf(*main) : nullptr;
  if (!mainWindow || mainWindow == root || (form && form->modal())) return false;
  if (!IsWindowEnabled(mainWindow) || !IsWindowEnabled(root)) return false;
  bool taken = false;
  if ((message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) &&
      message.wParam != VK_MENU) {
    const unsigned modifiers = HeldModifiers();
    Fire([&] {
      taken = main->pressProgramShortcut(static_cast<unsigned>(message.wParam), modifiers);
    });
  } else if (message.message == WM_SYSCHAR) {
    const auto typed = static_cast<wchar_t>(message.wParam);
    if (typed >= 0x80 || !std::iswalpha(typed)) return false;
    Fire([&] { taken = main->pressAccelerator(static_cast<char>(typed)); });
  }
  return taken;
}

// The program's windows that Alt+F6 goes between: the main window and those
// open beside it, shown and not waiting for a modal one.
BOOL CALLBACK CollectSwitchable(HWND window, LPARAM found) {
  if (IsWindowVisible(window) && IsWindowEnabled(window) &&
      (FormOfWindow(window) || HelpWindow::Is(window))) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  }
  return TRUE;
}

// Alt+F6 and Alt+Shift+F6: the next or the previous of them, the main
// window first; each keeps the focus where it was.
bool SwitchWindow(HWND root, const MSG& message) {
  if (message.message != WM_SYSKEYDOWN || message.wParam != VK_F6) return false;
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), CollectSwitchable, reinterpret_cast<LPARAM>(&windows));
  std::sort(windows.begin(), windows.end(), [](HWND a, HWND b) {
    const Form* formA = FormOfWindow(a);
    const Form* formB = FormOfWindow(b);
    const bool mainA = formA && !formA->owner();
    const bool mainB = formB && !formB->owner();
    return mainA != mainB ? mainA : reinterpret_cast<UINT_PTR>(a) < reinterpret_cast<UINT_PTR>(b);
  });
  const auto at = std::find(windows.begin(), windows.end(), root);
  if (at == windows.end() || windows.size() < 2) return true;
  const std::size_t index = static_cast<std::size_t>(at - windows.begin());
  const std::size_t step = GetKeyState(VK_SHIFT) < 0 ? windows.size() - 1 : 1;
  SetForegroundWindow(windows[(index + step) % windows.size()]);
  return true;
}

// A press anywhere else in a form closes its list as a drop-down, the focus
// going home quietly.
void PressedElsewhere(Form& form, const MSG& message) {
  const Control* focused = form.focused();
  if (!focused || focused->kind() != ControlKind::ListBox || !IsMouseButton(message.message)) {
    return;
  }
  if (WindowOf(*focused) == message.hwnd) return;
  Fire([&] { form.returnFocusHome(); });
}

bool IsOpenDropDown(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return lstrcmpiW(name, L"ComboBox") == 0 && SendMessageW(window, CB_GETDROPPEDSTATE, 0, 0);
}

}  // namespace

void ForgetAltPress() { altPress.alone = false; }

bool PreTranslate(Win32Services& services, const MSG& message) {
  FollowAlt(message);
  if (!message.hwnd) return false;
  const HWND root = GetAncestor(message.hwnd, GA_ROOT);
  Form* form = FormOfWindow(root);
  if ((form || HelpWindow::Is(root)) && SwitchWindow(root, message)) return true;
  if (ProgramKey(root, form, message)) return true;
  // Keys typed into a message box, a menu, the font dialog or a form that
  // waits for a modal one are not the program's to take; the help window
  // hands on the F-keys alone.
  if ((!form && !HelpWindow::Is(root)) || !IsWindowEnabled(root)) return false;
  if (message.message == WM_KEYDOWN && services.keyHook()) {
    bool swallowed = false;
    Fire([&] {
      swallowed =
          services.keyHook()(static_cast<unsigned>(message.wParam), GetKeyState(VK_SHIFT) < 0);
    });
    if (swallowed) return true;
  }
  if ((message.message == WM_SYSKEYUP || message.message == WM_KEYUP) &&
      message.wParam == VK_MENU) {
    return AltReleased(form, message);
  }
  if (!form) return false;
  PressedElsewhere(*form, message);
  if ((message.message == WM_KEYDOWN || message.message == WM_CHAR) && message.hwnd != root &&
      IsWindowVisible(root) && !IsWindowVisible(message.hwnd)) {
    // A key meant for a control that is no longer shown: it is dropped, and
    // the focus goes where the user can see it.
    Fire([&] { form->moveFocusHome(); });
    return true;
  }
  if (Shortcut(*form, message)) return true;
  if (message.message == WM_SYSCHAR) {
    const auto typed = static_cast<wchar_t>(message.wParam);
    if (typed >= 0x80 || !std::iswalnum(typed)) return false;
    bool pressed = false;
    Fire([&] { pressed = form->pressAccelerator(static_cast<char>(typed)); });
    return pressed;
  }
  if (message.message != WM_KEYDOWN) return false;
  if (message.wParam == VK_RETURN) {
    const Control* focused = form->focused();
    const bool onButton = focused && focused->isPushButton();
    const Button* button = form->defaultButton();
    if (!onButton && (!button || !button->usable() || IsOpenDropDown(message.hwnd))) return false;
    Fire([&] { form->pressEnter(); });
    return true;
  }
  if (message.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
    MoveFocus(*form, GetKeyState(VK_SHIFT) < 0);
    return true;
  }
  return false;
}

bool RunMessagesUntil(Win32Services& services, const std::function<bool()>& done) {
  MSG message{};
  while (!done()) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    if (got == -1) return false;
    if (PreTranslate(services, message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return true;
}

int RunMessageLoop(Win32Services& services, Form& mainForm) {
  programForm = &mainForm;
  services.showModeless(mainForm);
  const bool closed = RunMessagesUntil(
      services, [&mainForm] { return !mainForm.visible() || !WindowOf(mainForm); });
  DestroyWindows(mainForm);
  programForm = nullptr;
  services.releasePending();
  if (closed) return 0;
  // Ended by WM_QUIT: its code is the program's.
  MSG quit{};
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  return static_cast<int>(quit.wParam);
}

}  // namespace hk
