// The tooltip of the painted controls: they have no windows of their own, so
// their host's one tooltip changes its place and text as the pointer moves
// from one to the next.
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include "platform/win32/Text.h"
#include "platform/win32/WindowPeer.h"

namespace hk {
namespace {

constexpr UINT_PTR kToolId = 1;

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
  if (!tip) tip = MakeToolTip(host);
  if (!tip) return;
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

}  // namespace hk
