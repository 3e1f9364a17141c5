#pragma once

#include <windows.h>

#include <functional>

#include "platform/Widgets.h"

namespace hk {

class Win32Services;

// The program's message loop. Shows the main form and runs until it is
// closed; returns the exit code.
//
// Before a message is dispatched, by this loop and by the modal runs, when it
// is aimed at an enabled form of ours (not at a message box, a menu, the font
// dialog, or a form disabled while a modal one runs):
//  - a key press (WM_KEYDOWN) goes to the key hook first, with the Shift
//    state, and goes no further when the hook swallows it;
//  - Alt+letter (WM_SYSCHAR) presses the speed button whose "&" names the
//    letter on the form that has the keyboard;
//  - in a window beside the main form (a modeless form it owns, the help
//    window), the main form's program keys and Alt+letters act on it first;
//  - Alt+F6 and Alt+Shift+F6 go between the main form and those windows;
//  - Alt pressed and released alone is the form's key::kAlt, unless a key,
//    a mouse button or another active window came between; released after
//    them, in a form or the help window, it goes no further, so that no
//    menu mode of the system's takes the keys that follow;
//  - a mouse press in a form away from its focused list closes the list;
//  - Enter on a form with a usable default button presses that button and
//    reaches nothing else (unless a drop-down list is open);
//  - Tab and Shift+Tab move the focus through the form's edits, buttons and
//    lists in the order the components were made.
// Posted messages and deferred releases arrive as messages of their own.
//
// How the program ends: closing the main form (its close box, Alt+F4, or
// close() from the program) runs OnClose and leaves it hidden. Once the main
// form is hidden the loop destroys its window, the form hears destroyed()
// (OnDestroy), the forms waiting for release are released, and the loop
// returns. So hiding the main form ends the program, as closing it does.
int RunMessageLoop(Win32Services& services, Form& mainForm);

// Runs messages until done() holds, checked after each one. False when the
// program is ending (WM_QUIT, which is posted again for the outer loop).
bool RunMessagesUntil(Win32Services& services, const std::function<bool()>& done);

// The active window changed: an Alt held meanwhile opens no menu.
void ForgetAltPress();

// What the loops do with a message before dispatching it; true when the
// message was consumed.
bool PreTranslate(Win32Services& services, const MSG& message);

}  // namespace hk
