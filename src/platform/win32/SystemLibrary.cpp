#include "platform/win32/SystemLibrary.h"

#include <string>

namespace hk {
namespace {

// Whether the system searches its own folder alone when a library is loaded.
bool searchRestricted = false;

}  // namespace

void RestrictLibrarySearch() {
  // Takes the current folder out of the search even where the restriction
  // below is missing (the viewer of old help files, started from here, keeps
  // that).
  SetDllDirectoryW(L"");
  // Windows 7 has the restriction only with an update, so it is asked for by
  // name; kernel32 is in every process.
  using SetDefaultDirectories = BOOL(WINAPI*)(DWORD);
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  const auto setDefaultDirectories =
      kernel ? reinterpret_cast<SetDefaultDirectories>(
                   reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetDefaultDllDirectories")))
             : nullptr;
  searchRestricted =
      setDefaultDirectories && setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
}

HMODULE SystemLibrary(const wchar_t* name) {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, length) + L'\\' + name;
  // Without the restriction, the libraries this one needs are looked for
  // from its own folder rather than from the program's.
  return LoadLibraryExW(path.c_str(), nullptr,
                        searchRestricted ? 0 : LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace hk
