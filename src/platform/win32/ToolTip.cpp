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

// The tooltips that hold a window, so that a menu can take them all away.
std::vector<ToolTip*>& Held() {
  static std::vector<ToolTip*> held;
  return held;
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

void ToolTip::follow(HWND host, const std::string& text, const RECT& place) {
  if (text.empty()) {
    if (tip_) SendMessageW(tip_, TTM_ACTIVATE, FALSE, 0);
    return;
  }
  if (!tip_) {
    tip_ = MakeToolTip(host);
    if (!tip_) return;
    Held().push_back(this);
  }
  // A tip shown for the last control goes; this one's comes after the
  // system's delay.
  SendMessageW(tip_, TTM_POP, 0, 0);
  const std::wstring wide = SjisToWide(text);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = host;
  tool.uId = kToolId;
  tool.rect = place;
  SendMessageW(tip_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  tool.lpszText = const_cast<wchar_t*>(wide.c_str());
  SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(tip_, TTM_ACTIVATE, TRUE, 0);
  // The move that found the control is the first the tooltip hears of it:
  // its delay starts now, not at the next move.
  const DWORD at = GetMessagePos();
  POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
  ScreenToClient(host, &point);
  MSG move{host, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y), 0, {}};
  SendMessageW(tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
}

void ToolTip::dismiss() {
  if (!tip_) return;
  // Its owner's window may have taken it along already.
  if (IsWindow(tip_)) DestroyWindow(tip_);
  tip_ = nullptr;
  std::vector<ToolTip*>& held = Held();
  held.erase(std::remove(held.begin(), held.end(), this), held.end());
}

void ToolTip::DismissAll() {
  // Gone with its window, a tip's pending show goes too; the next control
  // the pointer comes to makes a new one.
  const std::vector<ToolTip*> held = Held();
  for (ToolTip* tip : held) tip->dismiss();
}

std::size_t ToolTip::Live() { return Held().size(); }

}  // namespace hk
