// Another program at the settings file, for the tests:
//   hold FILE UNTIL   opens FILE alone, as a scanner or a backup does, says
//                     "held" on its output, and lets go once the file UNTIL
//                     exists (or after two minutes);
//   write FILE KEY N  writes KEY0=v0 to KEY(N-1)=v(N-1) into section [s] of
//                     FILE one at a time, as the program writes its settings.
// Exit status 0 when done, 1 when a write failed, 2 on wrong usage.
#include <windows.h>

// These need windows.h first.
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "data/ProfileFile.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32ProfileStorage.h"

namespace {

int Hold(const std::wstring& file, const std::wstring& until) {
  const HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (held == INVALID_HANDLE_VALUE) return 1;
  std::puts("held");
  std::fflush(stdout);
  for (int waited = 0; waited < 120000; waited += 20) {
    if (GetFileAttributesW(until.c_str()) != INVALID_FILE_ATTRIBUTES) break;
    Sleep(20);
  }
  CloseHandle(held);
  return 0;
}

int Write(const std::wstring& file, const std::wstring& key, int count) {
  hk::Win32ProfileStorage storage;
  hk::ProfileFile settings{hk::FilePath(file), storage};
  const std::string name = hk::WideToSjis(key);
  try {
    for (int i = 0; i < count; ++i) {
      settings.write("s", name + std::to_string(i), "v" + std::to_string(i));
    }
  } catch (const hk::ProfileWriteError&) {
    return 1;
  }
  return 0;
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count < 2) return 2;
  const std::wstring mode = arguments[1];
  if (mode == L"hold" && count == 4) return Hold(arguments[2], arguments[3]);
  if (mode == L"write" && count == 5) return Write(arguments[2], arguments[3], _wtoi(arguments[4]));
  return 2;
}
