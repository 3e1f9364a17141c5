#include "platform/win32/MessageLoop.h"

#include <algorithm>
#include <cwctype>

#include "platform/Dispatcher.h"
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

// Alt pressed and released with no key between: the form's key::kAlt.
bool altAlone = false;

bool Shortcut(Form& form, const MSG& message) {
  const bool down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
  if (down) {
    const bool repeat = (message.lParam & (1L << 30)) != 0;
    if (message.wParam == VK_MENU) {
      if (!repeat) altAlone = true;
      return false;
    }
    altAlone = false;
    unsigned modifiers = HeldModifiers();
    bool taken = false;
    Fire([&] { taken = form.pressShortcut(static_cast<unsigned>(message.wParam), modifiers); });
    return taken;
  }
  if (message.message == WM_SYSKEYUP && message.wParam == VK_MENU && altAlone) {
    altAlone = false;
    bool taken = false;
    Fire([&] { taken = form.pressShortcut(key::kAlt, kNoModifiers); });
    return taken;
  }
  return false;
}

bool IsOpenDropDown(HWND window) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  return lstrcmpiW(name, L"ComboBox") == 0 && SendMessageW(window, CB_GETDROPPEDSTATE, 0, 0);
}

}  // namespace

bool PreTranslate(Win32Services& services, const MSG& message) {
  if (!message.hwnd) return false;
  const HWND root = GetAncestor(message.hwnd, GA_ROOT);
  Form* form = FormOfWindow(root);
  // Keys typed into a message box, a menu, the font dialog or a form that
  // waits for a modal one are not the program's to take.
  if (!form || !IsWindowEnabled(root)) return false;
  if (message.message == WM_KEYDOWN && services.keyHook()) {
    bool swallowed = false;
    Fire([&] {
      swallowed =
          services.keyHook()(static_cast<unsigned>(message.wParam), GetKeyState(VK_SHIFT) < 0);
    });
    if (swallowed) return true;
  }
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
  services.showModeless(mainForm);
  const bool closed = RunMessagesUntil(
      services, [&mainForm] { return !mainForm.visible() || !WindowOf(mainForm); });
  DestroyWindows(mainForm);
  services.releasePending();
  if (closed) return 0;
  // Ended by WM_QUIT: its code is the program's.
  MSG quit{};
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  return static_cast<int>(quit.wParam);
}

}  // namespace hk
