// Where the start-up of hakarimaru.exe spends its time, phase by phase, in
// one process under the clock: from the process's creation to the entry
// (loading the program and the system's libraries), the common controls,
// the program-wide objects (the services and the built-in table), the main
// window's components with their start-up (the settings read, the table
// loaded over the built-in one, the pictures named), the real windows and
// their fonts, and the first paint. With --floor it does what the floor
// window of bench/wine_startup.sh does instead, timed the same way, so the
// script can print each phase of the program against the floor's.
//
// Prints one line per phase: its name and milliseconds. The settings file
// beside the program is whatever the run's folder holds.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "data/CategoryTable.h"
#include "history/HistoryStore.h"
#include "platform/win32/Peers.h"
#include "platform/win32/Win32ProfileStorage.h"
#include "platform/win32/Win32Services.h"
#include "ui/Application.h"
#include "ui/calcMain.h"

namespace {

double Now() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  ULARGE_INTEGER ticks{{now.dwLowDateTime, now.dwHighDateTime}};
  return static_cast<double>(ticks.QuadPart) / 10000.0;  // 100 ns ticks to ms
}

double ProcessCreation() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  ULARGE_INTEGER ticks{{created.dwLowDateTime, created.dwHighDateTime}};
  return static_cast<double>(ticks.QuadPart) / 10000.0;
}

class Phases {
 public:
  Phases() : last_(ProcessCreation()) { mark("loading"); }
  void mark(const char* phase) {
    const double now = Now();
    std::printf("%s %.2f\n", phase, now - last_);
    last_ = now;
  }

 private:
  double last_;
};

void LoadCommonControls(DWORD classes) {
  INITCOMMONCONTROLSEX controls{sizeof controls, classes};
  InitCommonControlsEx(&controls);
}

// The painting that is still owed, done now, as the message loop would.
void PaintNow(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  GdiFlush();
}

void Program(Phases& phases) {
  LoadCommonControls(ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS | ICC_WIN95_CLASSES);
  phases.mark("common-controls");
  hk::Application().Title = "はかり丸";
  hk::Win32ProfileStorage storage;
  hk::InstallProfileStorage(&storage);
  hk::Win32Services services;
  hk::CategoryTable table = hk::CategoryTable::BuiltIn();
  hk::HistoryStore history;
  phases.mark("program-objects");
  {
    hk::TCalcMainForm form(services, table, history);
    phases.mark("components-settings-table");
    hk::Realize(form);
    form.show();
    ShowWindow(hk::WindowOf(form), SW_SHOW);
    phases.mark("windows-fonts");
    PaintNow(hk::WindowOf(form));
    phases.mark("first-paint");
    hk::DestroyWindows(form);
  }
  hk::InstallProfileStorage(nullptr);
}

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(window, &paint);
  const HFONT font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, L"ＭＳ ゴシック");
  const HGDIOBJ previous = SelectObject(dc, font);
  const wchar_t text[] = L"はかり丸　長さ　メートル　センチメートル";
  TextOutW(dc, 12, 12, text, static_cast<int>(wcslen(text)));
  SelectObject(dc, previous);
  DeleteObject(font);
  EndPaint(window, &paint);
  return 0;
}

void Floor(Phases& phases) {
  LoadCommonControls(ICC_STANDARD_CLASSES);
  phases.mark("common-controls");
  phases.mark("program-objects");
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = FloorProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"FloorWindow";
  RegisterClassW(&windowClass);
  phases.mark("components-settings-table");
  const HWND window = CreateWindowW(L"FloorWindow", L"floor", WS_POPUP | WS_BORDER, 0, 0, 404, 513,
                                    nullptr, nullptr, windowClass.hInstance, nullptr);
  CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 61, 165, 217, 21, window,
                  nullptr, windowClass.hInstance, nullptr);
  ShowWindow(window, SW_SHOW);
  phases.mark("windows-fonts");
  PaintNow(window);
  phases.mark("first-paint");
  DestroyWindow(window);
}

}  // namespace

int main(int argc, char** argv) {
  Phases phases;
  if (argc > 1 && std::strcmp(argv[1], "--floor") == 0) {
    Floor(phases);
  } else {
    Program(phases);
  }
  return 0;
}
