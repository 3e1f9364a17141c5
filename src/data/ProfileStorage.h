#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "data/FilePath.h"

namespace hk {

// What a profile file needs of the file system: the file's bytes, a lock that
// keeps other writers (other copies of the program too) out while a write
// reads, changes and replaces the file, and a replace that either puts the
// new bytes on disk whole or leaves the old file as it was. The program
// installs the operating system's own; without one the build's built-in
// storage serves.
class ProfileStorage {
 public:
  virtual ~ProfileStorage() = default;

  // Held until destroyed.
  class Lock {
   public:
    virtual ~Lock() = default;
  };

  // Called with the temporary file's path once it is complete and flushed,
  // right before it replaces the file; throwing from it fails the replace.
  using BeforeReplace = std::function<void(const FilePath&)>;

  // Nothing when the lock could not be had within the storage's wait.
  virtual std::unique_ptr<Lock> lock(const FilePath& file) = 0;

  // The whole file into bytes, in one try. A file that is not there reads as
  // empty; false when it is there but cannot be read.
  virtual bool read(const FilePath& file, std::string& bytes) = 0;

  // The same, tried again while the system refuses the read as one of the
  // moment (another program holding the file open alone, as scanners and
  // backups do) for as long as lock() would wait.
  virtual bool readPatiently(const FilePath& file, std::string& bytes) { return read(file, bytes); }

  // Puts bytes in the file's place, creating it when it is not there: a
  // flushed temporary file renamed over it, so that the file is never seen
  // half written. A folder that takes no new file takes no write. False on
  // any failure, with the file on disk as it was and no temporary file left
  // behind.
  virtual bool replace(const FilePath& file, std::string_view bytes,
                       const BeforeReplace& beforeReplace) = 0;

  // The path as the program's Shift-JIS texts show it.
  virtual std::string displayName(const FilePath& file) const = 0;
};

// The storage that profile files made from now on use.
ProfileStorage& InstalledProfileStorage();
// Installs storage, which must outlive every profile file made with it; null
// goes back to the built-in one.
void InstallProfileStorage(ProfileStorage* storage);
// The build's own: POSIX calls on the native build, the standard library alone
// elsewhere (no lock between programs there).
ProfileStorage& BuiltInProfileStorage();

}  // namespace hk
