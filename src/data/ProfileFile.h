#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "data/FilePath.h"
#include "data/ProfileStorage.h"

namespace hk {

// A write of the settings file failed. what() is the text the program shows:
// "Unable to write to " followed by the file's path.
class ProfileWriteError : public std::runtime_error {
 public:
  explicit ProfileWriteError(const FilePath& path);
  // shownPath: the path as the program's Shift-JIS texts show it.
  ProfileWriteError(const FilePath& path, const std::string& shownPath);
  const FilePath& path() const noexcept { return path_; }

 private:
  FilePath path_;
};

// An initialisation file of sections and keys, read and written with the
// behaviour of the Windows private-profile functions, byte for byte the same
// on every build. Reads come from the file as it was when the object was made
// (or as this object last wrote it). Every write takes the file as it is on
// disk at that moment, under the storage's lock, changes its one key and
// replaces the file whole, so neither a crash nor another copy of the
// program writing at the same time loses anything.
//
// A file that is there but could not be read when the object was made is
// never written through it: what it holds is unknown, and writing the
// defaults read in its place would replace it. Its writes then change only
// what this object reads back.
class ProfileFile {
 public:
  explicit ProfileFile(FilePath path, ProfileStorage& storage = InstalledProfileStorage());
  ~ProfileFile();
  ProfileFile(const ProfileFile&) = delete;
  ProfileFile& operator=(const ProfileFile&) = delete;

  const FilePath& path() const { return path_; }
  // The path as the program's Shift-JIS texts show it.
  std::string shownPath() const { return storage_.displayName(path_); }

  // The file was there and could not be read, even after waiting.
  bool unreadable() const { return unreadable_; }
  // From now on writes change only what this object reads back.
  void stopSaving() { saves_ = false; }
  bool saves() const { return saves_; }

  // The value of key in section, or defaultValue when either is absent.
  std::string read(std::string_view section, std::string_view key,
                   std::string_view defaultValue) const;

  // The same without a copy: nothing when the key is absent; the view is
  // valid until the next write.
  std::optional<std::string_view> lookup(std::string_view section, std::string_view key) const;

  // Sets key in section to value, creating the file, the section or the key
  // as needed; the value ends at its first line break or zero byte. Throws
  // ProfileWriteError when the file cannot be written; the file on disk and
  // the values in memory then stay as they were. Without saves(), memory
  // alone takes the value.
  void write(std::string_view section, std::string_view key, std::string_view value);

  // Test seam: see ProfileStorage::BeforeReplace.
  void setBeforeReplaceHookForTesting(ProfileStorage::BeforeReplace hook);

 private:
  struct Content;
  [[noreturn]] void fail() const;

  FilePath path_;
  ProfileStorage& storage_;
  std::unique_ptr<Content> content_;
  bool saves_ = true;
  bool unreadable_ = false;
  ProfileStorage::BeforeReplace beforeReplace_;
};

}  // namespace hk
