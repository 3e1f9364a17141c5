#include "platform/win32/SettingsLocation.h"

#include <windows.h>

// These need windows.h first.
#include <shlobj.h>

#include <string>

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32ProfileStorage.h"

namespace hk {
namespace {

// The user's roaming application-data folder; empty when the system names
// none. The shell is loaded only here: a program in a folder it may write
// never pays for it at start-up.
FilePath ApplicationDataFolder() {
  using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
  const auto getFolderPath = SystemFunction<GetFolderPath>(L"shell32.dll", "SHGetFolderPathW");
  wchar_t folder[MAX_PATH] = {};
  if (!getFolderPath || FAILED(getFolderPath(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                             SHGFP_TYPE_CURRENT, folder))) {
    return {};
  }
  return FilePath(folder);
}

bool MakeFolder(const FilePath& folder) {
  return CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace

FilePath UserCopy(const FilePath& besideProgram, const FilePath& userFolder,
                  ProfileStorage& storage) {
  if (!MakeFolder(userFolder)) return {};
  const FilePath copy = userFolder / besideProgram.filename();
  const std::unique_ptr<ProfileStorage::Lock> lock = storage.lock(copy);
  if (!lock) return {};
  if (GetFileAttributesW(copy.c_str()) != INVALID_FILE_ATTRIBUTES) return copy;
  if (GetLastError() != ERROR_FILE_NOT_FOUND) return {};
  // No file beside the program: the first write makes the copy.
  std::string bytes;
  if (!storage.read(besideProgram, bytes)) return {};
  if (!bytes.empty() && !storage.replace(copy, bytes, nullptr)) return {};
  return copy;
}

FilePath SettingsLocation(const FilePath& besideProgram, const std::wstring& programName,
                          ProfileStorage& storage) {
  if (TakesWrites(besideProgram)) return besideProgram;
  const FilePath applicationData = ApplicationDataFolder();
  if (applicationData.empty()) return besideProgram;
  const FilePath copy = UserCopy(besideProgram, applicationData / programName, storage);
  return copy.empty() ? besideProgram : copy;
}

}  // namespace hk
