#pragma once

#include <atomic>
#include <filesystem>
#include <string>

namespace hk {

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes.
class TempFolder {
 public:
  TempFolder() {
    static std::atomic<int> counter{0};
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0;; ++attempt) {
      path_ = base / ("hakarimaru-test-" + std::to_string(Unique()) + "-" +
                      std::to_string(counter++) + "-" + std::to_string(attempt));
      if (std::filesystem::create_directory(path_)) break;
    }
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  static unsigned long long Unique() {
    return static_cast<unsigned long long>(
        std::filesystem::file_time_type::clock::now().time_since_epoch().count());
  }

  std::filesystem::path path_;
};

}  // namespace hk
