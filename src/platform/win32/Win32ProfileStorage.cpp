#include "platform/win32/Win32ProfileStorage.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "platform/win32/Text.h"

namespace hk {

namespace {

constexpr ULONGLONG kMaxFileBytes = 0xFFFFFFF0u;
// Attributes the file keeps when it is replaced; read-only never gets here.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() { close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  bool close() {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    return handle == INVALID_HANDLE_VALUE || handle == nullptr || CloseHandle(handle) != FALSE;
  }

 private:
  HANDLE handle_;
};

class MutexLock : public ProfileStorage::Lock {
 public:
  explicit MutexLock(HANDLE mutex) : mutex_(mutex) {}
  ~MutexLock() override { ReleaseMutex(mutex_.get()); }

 private:
  Handle mutex_;
};

std::wstring FullPath(const std::wstring& path) {
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return path;
  std::wstring full(needed, L'\0');
  const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed) return path;
  full.resize(length);
  return full;
}

// The file a path ends at, through any symbolic links; the path itself when
// there is no such file yet.
std::wstring FinalPath(const std::wstring& path) {
  Handle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.valid()) return path;
  std::wstring final(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    const DWORD length =
        GetFinalPathNameByHandleW(file.get(), final.data(), static_cast<DWORD>(final.size()),
                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return path;
    if (length < final.size()) {
      final.resize(length);
      return final;
    }
    final.resize(length + 1);
  }
  return path;
}

// One writer's name never meets another's: the process, a count within it
// and the clock.
std::wstring TemporaryName(const std::wstring& target) {
  static std::atomic<unsigned> counter{0};
  return target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
         std::to_wstring(counter++) + L"-" + std::to_wstring(GetTickCount()) + L".tmp";
}

bool IsTemporaryOf(const std::wstring& name, const std::wstring& targetName) {
  // targetName "." digits "-" digits "-" digits ".tmp", as TemporaryName makes them.
  const std::wstring suffix = L".tmp";
  if (name.size() <= targetName.size() + 1 + suffix.size() ||
      CompareStringOrdinal(name.c_str(), static_cast<int>(targetName.size()), targetName.c_str(),
                           static_cast<int>(targetName.size()), TRUE) != CSTR_EQUAL ||
      name[targetName.size()] != L'.' ||
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
    return false;
  }
  const std::wstring middle =
      name.substr(targetName.size() + 1, name.size() - targetName.size() - 1 - suffix.size());
  int numbers = 0;
  bool inNumber = false;
  for (const wchar_t c : middle) {
    if (c >= L'0' && c <= L'9') {
      if (!inNumber) ++numbers;
      inNumber = true;
    } else if (c == L'-' && inNumber) {
      inNumber = false;
    } else {
      return false;
    }
  }
  return numbers == 3 && inNumber;
}

// Under the lock no other write is under way, so every temporary file of ours
// beside the target is what a writer killed before its rename left behind.
void RemoveLeftovers(const std::wstring& target) {
  const std::size_t slash = target.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
  const std::wstring targetName = target.substr(folder.size());
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW((target + L".*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        IsTemporaryOf(found.cFileName, targetName)) {
      DeleteFileW((folder + found.cFileName).c_str());
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

// An indexer, a virus scanner or a copy of the program reading the file at
// start-up may hold it open for a moment: the rename is tried again until the
// lock's wait has run out.
bool RenameOver(const std::wstring& temp, const std::wstring& target, std::uint32_t wait) {
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    if (MoveFileExW(temp.c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    const DWORD error = GetLastError();
    const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
                      error == ERROR_LOCK_VIOLATION;
    if (!held || GetTickCount64() - start >= wait) return false;
    Sleep(15);
  }
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(bytes.size() > (1u << 20) ? (1u << 20) : bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// The whole file in one try: ERROR_SUCCESS, or why not.
DWORD ReadAll(const std::wstring& path, std::string& bytes) {
  bytes.clear();
  Handle in(CreateFileW(path.c_str(), GENERIC_READ,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!in.valid()) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? ERROR_SUCCESS : error;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(in.get(), &size)) return GetLastError();
  if (static_cast<ULONGLONG>(size.QuadPart) > kMaxFileBytes) return ERROR_FILE_TOO_LARGE;
  bytes.reserve(static_cast<std::size_t>(size.QuadPart));
  char chunk[16384];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(in.get(), chunk, sizeof chunk, &got, nullptr)) return GetLastError();
    if (got == 0) return ERROR_SUCCESS;
    bytes.append(chunk, got);
    if (bytes.size() > kMaxFileBytes) return ERROR_FILE_TOO_LARGE;
  }
}

// Another program that opened the file alone, or locked a part of it.
bool HeldByAnother(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

}  // namespace

std::unique_ptr<ProfileStorage::Lock> Win32ProfileStorage::lock(const FilePath& file) {
  // One name per file, however its path is spelt: the case of a path does
  // not matter on Windows.
  std::wstring full = FullPath(file.native());
  CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
  std::uint64_t hash = 14695981039346656037ull;
  for (const wchar_t c : full) hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
  const std::wstring name = L"Local\\hakarimaru-settings-" + std::to_wstring(hash);
  HANDLE mutex = CreateMutexW(nullptr, FALSE, name.c_str());
  if (!mutex) return nullptr;
  const DWORD waited = WaitForSingleObject(mutex, lockWait_);
  // An abandoned mutex belonged to a program that died: its write never
  // replaced the file, so the file is whole.
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    CloseHandle(mutex);
    return nullptr;
  }
  return std::make_unique<MutexLock>(mutex);
}

bool Win32ProfileStorage::read(const FilePath& file, std::string& bytes) {
  const DWORD error = ReadAll(file.native(), bytes);
  SetLastError(error);
  return error == ERROR_SUCCESS;
}

bool Win32ProfileStorage::readPatiently(const FilePath& file, std::string& bytes) {
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    const DWORD error = ReadAll(file.native(), bytes);
    if (!HeldByAnother(error) || GetTickCount64() - start >= lockWait_) {
      SetLastError(error);
      return error == ERROR_SUCCESS;
    }
    Sleep(15);
  }
}

bool Win32ProfileStorage::replace(const FilePath& file, std::string_view bytes,
                                  const BeforeReplace& beforeReplace) {
  const std::wstring target = FinalPath(file.native());
  const DWORD attributes = GetFileAttributesW(target.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND) return false;
  if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  const DWORD kept = exists ? attributes & kKeptAttributes : 0;

  RemoveLeftovers(target);
  std::wstring temp;
  HANDLE created = INVALID_HANDLE_VALUE;
  DWORD error = ERROR_FILE_EXISTS;
  for (int attempt = 0; attempt < 16 && error == ERROR_FILE_EXISTS; ++attempt) {
    temp = TemporaryName(target);
    created = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          kept ? kept : FILE_ATTRIBUTE_NORMAL, nullptr);
    error = created == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
  }
  // A folder that takes no new file takes no write: rewriting the file in
  // place instead could be cut short, and leave half a file to the next
  // reader.
  if (created == INVALID_HANDLE_VALUE) {
    SetLastError(error);
    return false;
  }
  Handle out(created);
  bool ok = WriteAll(out.get(), bytes) && FlushFileBuffers(out.get());
  ok = out.close() && ok;
  if (ok) {
    try {
      if (beforeReplace) beforeReplace(FilePath(temp));
    } catch (...) {
      ok = false;
    }
  }
  if (ok) ok = RenameOver(temp, target, lockWait_);
  if (!ok) {
    // The caller may tell the user why (a full disk).
    const DWORD why = GetLastError();
    DeleteFileW(temp.c_str());
    SetLastError(why);
  }
  return ok;
}

// Asked at every start: a look at the file and a probe of its folder.
bool TakesWrites(const FilePath& file) {
  // Writes go beside the file a link ends at.
  const std::wstring target = FinalPath(file.native());
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == 0) {
    // Refused by its permissions, it refuses every write, whatever its folder
    // takes; a program holding it (a scanner, a backup) lets go in a moment.
    Handle existing(CreateFileW(target.c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!existing.valid() && !HeldByAnother(GetLastError())) return false;
  }
  // A probe of the writers' own pattern: should it outlive even its delete on
  // close, the next write removes it.
  Handle probe(CreateFileW(TemporaryName(target).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  return probe.valid();
}

std::wstring ResolvedPath(const std::wstring& path) {
  std::wstring resolved = FinalPath(FullPath(path));
  if (resolved.rfind(L"\\\\?\\UNC\\", 0) == 0) return L"\\" + resolved.substr(7);
  if (resolved.rfind(L"\\\\?\\", 0) == 0) resolved.erase(0, 4);
  return resolved;
}

std::string Win32ProfileStorage::displayName(const FilePath& file) const {
  return WideToSjis(file.native());
}

}  // namespace hk
