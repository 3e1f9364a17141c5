#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace hk {

// A write of the settings file failed. what() is the text the program shows:
// "Unable to write to " followed by the file's path.
class ProfileWriteError : public std::runtime_error {
 public:
  explicit ProfileWriteError(const std::filesystem::path& path);
  const std::filesystem::path& path() const noexcept { return path_; }

 private:
  std::filesystem::path path_;
};

// An initialisation file of sections and keys, read and written with the
// behaviour of the Windows private-profile functions, byte for byte the same
// on every build. The file is parsed once, when the object is made; every
// write updates memory and replaces the file on disk at once (a temporary
// file beside it, then a rename), so no crash ever leaves half a file.
class ProfileFile {
 public:
  explicit ProfileFile(std::filesystem::path path);
  ~ProfileFile();
  ProfileFile(const ProfileFile&) = delete;
  ProfileFile& operator=(const ProfileFile&) = delete;

  const std::filesystem::path& path() const { return path_; }

  // The value of key in section, or defaultValue when either is absent.
  std::string read(std::string_view section, std::string_view key,
                   std::string_view defaultValue) const;

  // The same without a copy: nothing when the key is absent; the view is
  // valid until the next write.
  std::optional<std::string_view> lookup(std::string_view section, std::string_view key) const;

  // Sets key in section to value, creating the file, the section or the key
  // as needed. Throws ProfileWriteError when the file cannot be written; the
  // file on disk and the values in memory then stay as they were.
  void write(std::string_view section, std::string_view key, std::string_view value);

  // Test seam: called with the temporary file's path right before it
  // replaces the file; throwing from it is a failed write.
  void setBeforeReplaceHookForTesting(std::function<void(const std::filesystem::path&)> hook);

 private:
  struct Content;
  std::filesystem::path path_;
  std::unique_ptr<Content> content_;
  std::function<void(const std::filesystem::path&)> beforeReplace_;
};

}  // namespace hk
