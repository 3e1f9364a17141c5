#pragma once

// Settings files held in memory, for tests that write them many thousand
// times: fast, and able to refuse writes as a read-only file or a full disk
// does, for as long as the test says.

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "data/ProfileStorage.h"

namespace hk {

class MemoryProfileStorage : public ProfileStorage {
 public:
  // While set, every replace fails and the file stays as it was.
  bool refusing = false;
  // How many replaces went through, for a cheap "has anything changed".
  long writes = 0;

  std::string& bytesOf(const FilePath& file) { return files_[file]; }

  std::unique_ptr<Lock> lock(const FilePath&) override { return std::make_unique<Lock>(); }

  bool read(const FilePath& file, std::string& bytes) override {
    const auto found = files_.find(file);
    bytes = found == files_.end() ? std::string() : found->second;
    return true;
  }

  bool replace(const FilePath& file, std::string_view bytes,
               const BeforeReplace& beforeReplace) override {
    if (refusing) return false;
    // No temporary file stands in memory: the hook sees the file's own path.
    if (beforeReplace) beforeReplace(file);
    files_[file] = std::string(bytes);
    ++writes;
    return true;
  }

  std::string displayName(const FilePath& file) const override { return file.string(); }

 private:
  std::map<FilePath, std::string> files_;
};

}  // namespace hk
