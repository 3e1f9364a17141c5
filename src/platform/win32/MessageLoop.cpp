#include "platform/win32/MessageLoop.h"

#include <algorithm>
#include <cwctype>
#include <vector>

#include "platform/Dispatcher.h"
#include "platform/win32/Peers.h"
#include "platform/win32/Win32Services.h"

namespace hk {
namespace {

bool TakesFocus(ControlKind kind) {
  switch (kind) {
    case ControlKind::Edit:
    case ControlKind::Button:
    case ControlKind::BitBtn:
    case ControlKind::ComboBox:
    case ControlKind::ListBox:
    case ControlKind::StringGrid:
      return true;
    default:
      return false;
  }
}

void CollectTabStops(Control& parent, std::vector<HWND>& stops) {
  for (Control* child : parent.children()) {
    const HWND window = WindowOf(*child);
    if (window && TakesFocus(child->kind()) && child->usable() && IsWindowEnabled(window)) {
      stops.push_back(window);
    }
    CollectTabStops(*child, stops);
  }
}

void MoveFocus(Form& form, HWND from, bool backwards) {
  std::vector<HWND> stops;
  CollectTabStops(form, stops);
  if (stops.empty()) return;
  const auto current = std::find_if(stops.begin(), stops.end(), [from](HWND stop) {
    return stop == from || IsChild(stop, from);
  });
  std::size_t next = 0;
  if (current != stops.end()) {
    const std::size_t index = static_cast<std::size_t>(current - stops.begin());
    next = (index + (backwards ? stops.size() - 1 : 1)) % stops.size();
  }
  SetFocus(stops[next]);
  // As in the system's dialogs, tabbing into an edit selects its text, so
  // typing replaces it.
  wchar_t name[16] = {};
  GetClassNameW(stops[next], name, 16);
  if (lstrcmpiW(name, L"Edit") == 0) SendMessageW(stops[next], EM_SETSEL, 0, -1);
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
  if (message.message == WM_SYSCHAR) {
    const auto typed = static_cast<wchar_t>(message.wParam);
    if (typed >= 0x80 || !std::iswalnum(typed)) return false;
    bool pressed = false;
    Fire([&] { pressed = form->pressAccelerator(static_cast<char>(typed)); });
    return pressed;
  }
  if (message.message != WM_KEYDOWN) return false;
  if (message.wParam == VK_RETURN) {
    const Button* button = form->defaultButton();
    if (!button || !button->usable() || IsOpenDropDown(message.hwnd)) return false;
    Fire([&] { form->pressEnter(); });
    return true;
  }
  if (message.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
    MoveFocus(*form, message.hwnd, GetKeyState(VK_SHIFT) < 0);
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
