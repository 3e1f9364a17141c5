#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "data/ProfileStorage.h"

namespace hk {

// The built-in storage, with reads of files that are there refused while
// held is set, as a scanner or a backup holding the file open alone does.
class HeldStorage : public ProfileStorage {
 public:
  bool held = false;
  int patientReads = 0;

  std::unique_ptr<Lock> lock(const FilePath& file) override {
    return BuiltInProfileStorage().lock(file);
  }
  bool read(const FilePath& file, std::string& bytes) override {
    if (held && std::filesystem::exists(std::filesystem::path(file))) return false;
    return BuiltInProfileStorage().read(file, bytes);
  }
  bool readPatiently(const FilePath& file, std::string& bytes) override {
    ++patientReads;
    return read(file, bytes);
  }
  bool replace(const FilePath& file, std::string_view bytes,
               const BeforeReplace& beforeReplace) override {
    return BuiltInProfileStorage().replace(file, bytes, beforeReplace);
  }
  std::string displayName(const FilePath& file) const override {
    return BuiltInProfileStorage().displayName(file);
  }
};

}  // namespace hk
