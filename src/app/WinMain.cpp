#include <windows.h>

#include <commctrl.h>

#include <string>

#include "data/CategoryTable.h"
#include "history/HistoryStore.h"
#include "platform/Dispatcher.h"
#include "platform/Palette.h"
#include "platform/win32/MessageLoop.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32ProfileStorage.h"
#include "platform/win32/Win32Services.h"
#include "ui/Application.h"
#include "ui/calcMain.h"

namespace {

// Before every other initialiser of the program, so that no library is ever
// looked for beside it. The program imports no library lazily: until here
// only the system's own libraries and those they import are loaded.
__attribute__((constructor(101))) void RestrictLibrarySearchFirst() { hk::RestrictLibrarySearch(); }

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS | ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controls);

  hk::Application().Title = "はかり丸";
  // The main window puts the full path beside the program in its place.
  hk::Application().HelpFile = L"ZOVEZA.HLP";

  // The settings file is locked, flushed and replaced through the system.
  hk::Win32ProfileStorage settingsStorage;
  hk::InstallProfileStorage(&settingsStorage);

  hk::Win32Services services;
  hk::ThePalette().setHighContrastSource([&services] { return services.highContrast(); });
  hk::SetErrorReport([&services](const std::string& text) {
    services.messageBox(text, hk::Application().Title, hk::kMbOk | hk::kMbIconStop);
  });

  // Program-wide: every window works on this one table and this one history.
  hk::CategoryTable table = hk::CategoryTable::BuiltIn();
  hk::HistoryStore history;

  int exitCode = 0;
  {
    hk::TCalcMainForm mainForm(services, table, history);
    exitCode = hk::RunMessageLoop(services, mainForm);
  }
  hk::SetErrorReport({});
  hk::InstallProfileStorage(nullptr);
  return exitCode;
}
