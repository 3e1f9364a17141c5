// The tooltip of the painted controls: they have no windows of their own, so
// their host's one tooltip changes its place and text as the pointer moves
// from one to the next.
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "platform/win32/Text.h"
#include "platform/win32/WindowPeer.h"

namespace hk {
namespace {

constexpr UINT_PTR kToolId = 1;

// The places that hold the tooltips made, so that a menu can take them all
// away.
std::vector<HWND*>& ToolTipSlots() {
  static std::vector<HWND*> slots;
  return slots;
}

HWND MakeToolTip(HWND host) {
  const HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, host, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
  if (!tip) return nullptr;
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  // No TTF_SUBCLASS: under Wine the tooltip's subclass of the host keeps
  // screen readers from the host's painted controls. The host relays the
  // one move that matters (below) and takes the tip away itself.
  tool.uFlags = 0;
  tool.hwnd = host;
  tool.uId = kToolId;
  tool.lpszText = const_cast<wchar_t*>(L"");
  SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  return tip;
}

}  // namespace

void FollowToolTip(HWND host, HWND& tip, const std::string& text, const RECT& place) {
  if (text.empty()) {
    if (tip) SendMessageW(tip, TTM_ACTIVATE, FALSE, 0);
    return;
  }
  if (!tip) {
    tip = MakeToolTip(host);
    if (!tip) return;
    ToolTipSlots().push_back(&tip);
  }
  // A tip shown for the last control goes; this one's comes after the
  // system's delay.
  SendMessageW(tip, TTM_POP, 0, 0);
  const std::wstring wide = SjisToWide(text);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = host;
  tool.uId = kToolId;
  tool.rect = place;
  SendMessageW(tip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  tool.lpszText = const_cast<wchar_t*>(wide.c_str());
  SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(tip, TTM_ACTIVATE, TRUE, 0);
  // The move that found the control is the first the tooltip hears of it:
  // its delay starts now, not at the next move.
  const DWORD at = GetMessagePos();
  POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
  ScreenToClient(host, &point);
  MSG move{host, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y), 0, {}};
  SendMessageW(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
}

void DismissToolTip(HWND& tip) {
  if (!tip) return;
  if (IsWindow(tip)) DestroyWindow(tip);
  tip = nullptr;
  std::vector<HWND*>& slots = ToolTipSlots();
  slots.erase(std::remove(slots.begin(), slots.end(), &tip), slots.end());
}

void DismissToolTips() {
  // Gone with its window, a tip's pending show goes too; the next control
  // the pointer comes to makes a new one.
  const std::vector<HWND*> slots = ToolTipSlots();
  for (HWND* slot : slots) DismissToolTip(*slot);
}

}  // namespace hk
