#pragma once

#include <cstdint>

#include "data/ProfileStorage.h"

namespace hk {

// The settings file's storage over the Windows API. Writers of one file, in
// any copy of the program, take turns by a named mutex: the system lets it go
// when a program dies, and it leaves no file behind to clean up. The new
// bytes go to a temporary file of a name no other writer uses, are flushed,
// and replace the file with a write-through rename, which keeps the file's
// hidden and system attributes and writes through a symbolic link.
class Win32ProfileStorage : public ProfileStorage {
 public:
  explicit Win32ProfileStorage(std::uint32_t lockWaitMilliseconds = 5000)
      : lockWait_(lockWaitMilliseconds) {}

  // On failure, GetLastError() tells why: read, readPatiently and replace
  // leave it set so that a caller can name the cause.
  std::unique_ptr<Lock> lock(const FilePath& file) override;
  bool read(const FilePath& file, std::string& bytes) override;
  bool readPatiently(const FilePath& file, std::string& bytes) override;
  bool replace(const FilePath& file, std::string_view bytes,
               const BeforeReplace& beforeReplace) override;
  // In code page 932, a character it lacks as "?".
  std::string displayName(const FilePath& file) const override;

 private:
  std::uint32_t lockWait_;
};

// Whether writes of the file belong where the file is: its folder takes a
// new file (every write is one, renamed over the file), and the file, when
// it is there, does not refuse writes by its permissions. A file marked
// read-only in such a folder stays there: the mark is someone's wish to keep
// it as it is, and each write says that it failed.
bool TakesWrites(const FilePath& file);

// The full path of the file or folder a path ends at, through links, in the
// system's own spelling of its names; the full path itself when it is not
// there.
std::wstring ResolvedPath(const std::wstring& path);

}  // namespace hk
