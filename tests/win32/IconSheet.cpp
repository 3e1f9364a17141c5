// The program's icon as the system draws it, for the screenshot test: first
// the two pictures that the program's window class gets at this DPI (its
// small and its large icon), then the icon loaded at every size it holds,
// each over a light and a dark background. Prints the class's two icon sizes.
// Closes on Escape, or by itself after a minute.
// Usage: hk_icon_sheet.exe
#include <windows.h>

#include <cstdio>
#include <initializer_list>

#include "platform/win32/WindowPeer.h"

namespace {

const wchar_t kTitle[] = L"hakarimaru icon sheet";
const int kSizes[] = {16, 20, 24, 32, 40, 48, 64, 256};
const int kMargin = 8;
const int kBand = 256 + 2 * kMargin;
const COLORREF kBackgrounds[] = {RGB(240, 240, 240), RGB(32, 32, 32)};

HICON classSmall = nullptr;
HICON classLarge = nullptr;

int IconWidth(HICON icon) {
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return 0;
  BITMAP colours{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof colours, &colours);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return colours.bmWidth;
}

int SheetWidth() {
  int width = kMargin + IconWidth(classSmall) + kMargin + IconWidth(classLarge) + 2 * kMargin;
  for (int size : kSizes) width += size + kMargin;
  return width;
}

// One band: the icons on its bottom line, left to right.
void PaintBand(HDC dc, int top, COLORREF background) {
  RECT band{0, top, SheetWidth(), top + kBand};
  const HBRUSH brush = CreateSolidBrush(background);
  FillRect(dc, &band, brush);
  DeleteObject(brush);
  const int bottom = top + kBand - kMargin;
  int x = kMargin;
  for (HICON icon : {classSmall, classLarge}) {
    const int size = IconWidth(icon);
    DrawIconEx(dc, x, bottom - size, icon, 0, 0, 0, nullptr, DI_NORMAL);
    x += size + kMargin;
  }
  x += kMargin;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  for (int size : kSizes) {
    const auto icon = static_cast<HICON>(
        LoadImageW(instance, L"MAINICON", IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    if (icon) {
      DrawIconEx(dc, x, bottom - size, icon, size, size, 0, nullptr, DI_NORMAL);
      DestroyIcon(icon);
    }
    x += size + kMargin;
  }
}

LRESULT CALLBACK SheetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      for (int band = 0; band < 2; ++band) PaintBand(dc, band * kBand, kBackgrounds[band]);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) DestroyWindow(window);
      return 0;
    case WM_TIMER:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int main() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  // The icons exactly as the program's own windows get them.
  WNDCLASSEXW own{};
  own.cbSize = sizeof own;
  GetClassInfoExW(instance, hk::WindowPeer::RegisterOwnClass(L"HakarimaruIconSheetOwn"), &own);
  classSmall = own.hIconSm;
  classLarge = own.hIcon;
  std::printf("small %d large %d\n", IconWidth(classSmall), IconWidth(classLarge));
  std::fflush(stdout);

  WNDCLASSEXW sheet{};
  sheet.cbSize = sizeof sheet;
  sheet.lpfnWndProc = SheetProc;
  sheet.hInstance = instance;
  sheet.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  sheet.lpszClassName = L"HakarimaruIconSheet";
  RegisterClassExW(&sheet);
  RECT frame{0, 0, SheetWidth(), 2 * kBand};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  AdjustWindowRect(&frame, style, FALSE);
  const HWND window = CreateWindowExW(0, sheet.lpszClassName, kTitle, style | WS_VISIBLE, 0, 0,
                                      frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                      nullptr, instance, nullptr);
  if (!window) return 1;
  SetTimer(window, 1, 60000, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
