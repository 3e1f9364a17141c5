// The least a Win32 program does to show what a user can read: a class, a
// window of the main window's size, one line of Japanese text in the
// program's font, the message loop. The start-up benchmark of hakarimaru.exe
// measures against it.
//
// Built with HK_COMMON_CONTROLS (and the program's manifest linked in), it
// also does what any program with today's look of edits and buttons must:
// it loads the common controls and makes one edit, as the main window has
// one at start-up. That is the floor for hakarimaru.exe.
#include <windows.h>

#ifdef HK_COMMON_CONTROLS
#include <commctrl.h>
#endif

namespace {

HFONT font = nullptr;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = BeginPaint(window, &paint);
      const HGDIOBJ previous = SelectObject(dc, font);
      SetBkMode(dc, TRANSPARENT);
      const wchar_t text[] = L"はかり丸　長さ　メートル　センチメートル";
      TextOutW(dc, 12, 12, text, static_cast<int>(sizeof text / sizeof text[0] - 1));
      SelectObject(dc, previous);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
#ifdef HK_COMMON_CONTROLS
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
#endif
  font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, L"ＭＳ ゴシック");
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"MinimalWindow";
  RegisterClassW(&windowClass);
  const HWND window = CreateWindowW(L"MinimalWindow", L"minimal-window", WS_POPUP | WS_BORDER, 0, 0,
                                    404, 513, nullptr, nullptr, instance, nullptr);
#ifdef HK_COMMON_CONTROLS
  CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 61, 165, 217, 21, window,
                  nullptr, instance, nullptr);
#endif
  ShowWindow(window, show);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  DeleteObject(font);
  return 0;
}
