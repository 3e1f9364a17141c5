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

  std::unique_ptr<Lock> lock(const FilePath& file) override;
  bool read(const FilePath& file, std::string& bytes) override;
  bool replace(const FilePath& file, std::string_view bytes,
               const BeforeReplace& beforeReplace) override;
  // In code page 932, a character it lacks as "?".
  std::string displayName(const FilePath& file) const override;

 private:
  std::uint32_t lockWait_;
};

// Whether writes of the file belong where the file is: its folder takes a
// new file, or the file is there and opens for writing (to be rewritten in
// place). A file marked read-only in a folder that takes files stays there:
// the mark is someone's wish to keep it as it is, and each write says that
// it failed.
bool TakesWrites(const FilePath& file);

}  // namespace hk
