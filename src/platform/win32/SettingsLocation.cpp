#include "platform/win32/SettingsLocation.h"

#include <windows.h>

// These need windows.h first.
#include <shlobj.h>

#include <string>

#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Text.h"
#include "platform/win32/Win32ProfileStorage.h"

namespace hk {
namespace {

// The user's roaming application-data folder; empty, with the reason in
// error, when the system names none. The shell is loaded only here: a
// program in a folder it may write never pays for it at start-up.
FilePath ApplicationDataFolder(DWORD& error) {
  using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
  const auto getFolderPath = SystemFunction<GetFolderPath>(L"shell32.dll", "SHGetFolderPathW");
  if (!getFolderPath) {
    error = GetLastError();
    return {};
  }
  wchar_t folder[MAX_PATH] = {};
  const HRESULT result = getFolderPath(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                       SHGFP_TYPE_CURRENT, folder);
  if (FAILED(result)) {
    error = HRESULT_FACILITY(result) == FACILITY_WIN32 ? HRESULT_CODE(result)
                                                       : static_cast<DWORD>(result);
    return {};
  }
  return FilePath(folder);
}

// made tells whether it was not there before.
bool MakeFolder(const FilePath& folder, bool& made) {
  made = CreateDirectoryW(folder.c_str(), nullptr) != FALSE;
  return made || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// "C:", "\\server\share" and the like, without a last separator.
bool IsRoot(const std::wstring& folder) {
  std::size_t separators = 0;
  for (const wchar_t c : folder) separators += IsSeparator(c) ? 1 : 0;
  const bool share = folder.size() > 2 && IsSeparator(folder[0]) && IsSeparator(folder[1]);
  return share ? separators <= 3 : separators == 0;
}

bool InTemporaryFolder(const FilePath& programFolder) {
  wchar_t temporary[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, temporary);
  if (length == 0 || length > MAX_PATH) return false;
  return LiesInside(ResolvedPath(programFolder.native()), ResolvedPath(temporary));
}

// The system's words for an error, in the user's language, and its number.
std::string Reason(DWORD error) {
  wchar_t words[512] = {};
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                error, 0, words, 512, nullptr);
  while (length > 0 &&
         (words[length - 1] == L'\r' || words[length - 1] == L'\n' || words[length - 1] == L' ')) {
    --length;
  }
  const std::string number = "(エラー " + std::to_string(error) + ")";
  if (length == 0) return number;
  return WideToSjis(std::wstring(words, length)) + " " + number;
}

}  // namespace

bool LiesInside(const std::wstring& path, const std::wstring& folder) {
  std::size_t size = folder.size();
  while (size > 0 && IsSeparator(folder[size - 1])) --size;
  const std::wstring trimmed = folder.substr(0, size);
  if (trimmed.empty() || IsRoot(trimmed) || path.size() < size) return false;
  if (CompareStringOrdinal(path.c_str(), static_cast<int>(size), trimmed.c_str(),
                           static_cast<int>(size), TRUE) != CSTR_EQUAL) {
    return false;
  }
  return path.size() == size || IsSeparator(path[size]);
}

UserCopyOutcome UserCopy(const FilePath& besideProgram, const FilePath& userFolder,
                         ProfileStorage& storage) {
  const FilePath copy = userFolder / besideProgram.filename();
  if (GetFileAttributesW(copy.c_str()) != INVALID_FILE_ATTRIBUTES) return {copy};
  const DWORD missing = GetLastError();
  if (missing != ERROR_FILE_NOT_FOUND && missing != ERROR_PATH_NOT_FOUND) return {{}, missing};
  bool made = false;
  if (!MakeFolder(userFolder, made)) return {{}, GetLastError()};
  // A folder made for a copy that then failed goes again, if still empty.
  const auto failed = [&](DWORD error) {
    if (made) RemoveDirectoryW(userFolder.c_str());
    return UserCopyOutcome{{}, error};
  };
  std::string bytes;
  if (!storage.readPatiently(besideProgram, bytes)) return failed(GetLastError());
  if (bytes.empty()) return {copy};
  const std::unique_ptr<ProfileStorage::Lock> lock = storage.lock(copy);
  if (!lock) return failed(ERROR_TIMEOUT);
  // Another copy of the program may have made it meanwhile.
  if (GetFileAttributesW(copy.c_str()) != INVALID_FILE_ATTRIBUTES) return {copy};
  if (!storage.replace(copy, bytes, nullptr)) return failed(GetLastError());
  return {copy};
}

SettingsPlace SettingsLocation(const FilePath& besideProgram, const std::wstring& programName,
                               ProfileStorage& storage) {
  SettingsPlace place;
  place.file = besideProgram;
  place.fromTemporaryFolder = InTemporaryFolder(besideProgram.parent_path());
  if (!place.fromTemporaryFolder && TakesWrites(besideProgram)) return place;
  DWORD error = ERROR_SUCCESS;
  const FilePath applicationData = ApplicationDataFolder(error);
  const FilePath userFolder =
      (applicationData.empty() ? FilePath(L"%APPDATA%") : applicationData) / programName;
  if (!applicationData.empty()) {
    const UserCopyOutcome copy = UserCopy(besideProgram, userFolder, storage);
    if (!copy.file.empty()) {
      place.file = copy.file;
      return place;
    }
    error = copy.error;
  }
  place.unusableFolder = WideToSjis(userFolder.native());
  place.reason = Reason(error);
  return place;
}

}  // namespace hk
