#pragma once

// What the tests of the real windows share: running the message loop for a
// while, acting later from inside a modal loop, reading back painted pixels,
// and writing small bitmap files.

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/Dispatcher.h"
#include "platform/Widgets.h"
#include "platform/win32/MessageLoop.h"
#include "platform/win32/Peers.h"
#include "platform/win32/Win32Services.h"
#include "support/TempFolder.h"

namespace hk::test {

// Collects what the general error report shows while it lives.
struct Reported {
  std::vector<std::string> texts;
  Reported() {
    SetErrorReport([this](const std::string& text) { texts.push_back(text); });
  }
  ~Reported() { SetErrorReport({}); }
  Reported(const Reported&) = delete;
  Reported& operator=(const Reported&) = delete;
};

// Runs an action once, from whichever message loop is running after the
// delay (a modal run's, a message box's): thread timers reach them all.
class Later {
 public:
  Later(UINT milliseconds, std::function<void()> action)
      : id_(SetTimer(nullptr, 0, milliseconds, Ring)) {
    Actions()[id_] = std::move(action);
  }
  ~Later() {
    KillTimer(nullptr, id_);
    Actions().erase(id_);
  }
  Later(const Later&) = delete;
  Later& operator=(const Later&) = delete;

 private:
  static std::map<UINT_PTR, std::function<void()>>& Actions() {
    static std::map<UINT_PTR, std::function<void()>> actions;
    return actions;
  }
  static void CALLBACK Ring(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    const auto found = Actions().find(id);
    if (found == Actions().end()) return;
    const std::function<void()> action = std::move(found->second);
    Actions().erase(found);
    action();
  }

  UINT_PTR id_;
};

// Handles every message already queued, as the program's loop would.
inline void Pump(Win32Services& services) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (PreTranslate(services, message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Runs the loop until done() or the time is up; true when done.
inline bool RunUntil(Win32Services& services, const std::function<bool()>& done,
                     UINT milliseconds = 2000) {
  bool late = false;
  Later timeout(milliseconds, [&late] { late = true; });
  RunMessagesUntil(services, [&] { return late || done(); });
  return done();
}

inline std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

// A window's rectangle in its parent's client area.
inline RECT PlaceOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

inline LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

// What the window paints (WM_PRINTCLIENT) at a point of its client area.
inline COLORREF PaintedPixel(HWND window, int x, int y) {
  RECT client{};
  GetClientRect(window, &client);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = client.right;
  info.bmiHeader.biHeight = -client.bottom;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const HDC screen = GetDC(nullptr);
  const HDC dc = CreateCompatibleDC(screen);
  const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  const HGDIOBJ previous = SelectObject(dc, bitmap);
  SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  const COLORREF pixel = GetPixel(dc, x, y);
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixel;
}

// The window that gets the mouse and paints for a control, with a point
// (x, y) of the control in that window's client area: a graphic control's
// parent does both for it.
struct Spot {
  HWND window;
  int x;
  int y;
};
// A painted control is found in the window that paints it: the nearest of
// its parents that has one.
inline Spot SpotOf(const Control& control, int x, int y) {
  const Control* at = &control;
  while (!WindowOf(*at) && at->parent()) {
    x += at->bounds().left;
    y += at->bounds().top;
    at = at->parent();
  }
  return {WindowOf(*at), x, y};
}

inline void Press(const Control& control, int x, int y) {
  const Spot spot = SpotOf(control, x, y);
  SendMessageW(spot.window, WM_LBUTTONDOWN, MK_LBUTTON, At(spot.x, spot.y));
  SendMessageW(spot.window, WM_LBUTTONUP, 0, At(spot.x, spot.y));
}

inline COLORREF PaintedPixel(const Control& control, int x, int y) {
  const Spot spot = SpotOf(control, x, y);
  return PaintedPixel(spot.window, spot.x, spot.y);
}

// A 24-bit bitmap file; pixel(x, y) counts rows from the top.
inline void WriteBitmap(const std::filesystem::path& file, int width, int height,
                        const std::function<COLORREF(int, int)>& pixel) {
  const int stride = (width * 3 + 3) / 4 * 4;
  std::vector<unsigned char> bytes(54 + static_cast<std::size_t>(stride) * height);
  const auto put32 = [&bytes](std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, static_cast<std::uint32_t>(bytes.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  bytes[26] = 1;
  bytes[28] = 24;
  for (int y = 0; y < height; ++y) {
    unsigned char* row = &bytes[54 + static_cast<std::size_t>(height - 1 - y) * stride];
    for (int x = 0; x < width; ++x) {
      const COLORREF colour = pixel(x, y);
      row[x * 3] = GetBValue(colour);
      row[x * 3 + 1] = GetGValue(colour);
      row[x * 3 + 2] = GetRValue(colour);
    }
  }
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// One temporary folder class for every test.
using hk::TempFolder;

}  // namespace hk::test
