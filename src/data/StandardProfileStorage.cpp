// The built-in storage where no POSIX calls exist: the standard library can
// neither lock a file between programs nor flush one to the disk, so the
// program installs the system's own storage in their place. Only the tests
// of the portable core run on this one.
#include <atomic>
#include <fstream>
#include <random>
#include <system_error>

#include "data/ProfileStorage.h"

namespace hk {

namespace {

namespace fs = std::filesystem;

// Offsets into the file are 32-bit, which no settings file comes near.
constexpr std::uintmax_t kMaxFileBytes = 0xFFFFFFF0u;

class NoLock : public ProfileStorage::Lock {};

void Discard(const fs::path& temp) {
  std::error_code ignored;
  fs::remove(temp, ignored);
}

class StandardProfileStorage : public ProfileStorage {
 public:
  std::unique_ptr<Lock> lock(const fs::path&) override { return std::make_unique<NoLock>(); }

  bool read(const fs::path& file, std::string& bytes) override {
    bytes.clear();
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (status.type() == fs::file_type::not_found) return true;
    if (ec || fs::is_directory(status)) return false;
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    char chunk[4096];
    while (in.read(chunk, sizeof chunk), in.gcount() > 0) {
      bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
      if (bytes.size() > kMaxFileBytes) return false;
    }
    return !in.bad();
  }

  bool replace(const fs::path& file, std::string_view bytes,
               const BeforeReplace& beforeReplace) override {
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (status.type() != fs::file_type::not_found &&
        (ec || (status.permissions() & fs::perms::owner_write) == fs::perms::none)) {
      return false;
    }
    static std::atomic<unsigned> counter{0};
    fs::path temp = file;
    temp += "." + std::to_string(std::random_device()()) + "-" + std::to_string(counter++) + ".tmp";
    {
      std::ofstream out(temp, std::ios::binary | std::ios::trunc);
      if (!out) return false;
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      out.close();
      if (!out) {
        Discard(temp);
        return false;
      }
    }
    try {
      if (beforeReplace) beforeReplace(temp);
    } catch (...) {
      Discard(temp);
      return false;
    }
    fs::rename(temp, file, ec);
    if (ec) Discard(temp);
    return !ec;
  }

  std::string displayName(const fs::path& file) const override { return file.string(); }
};

}  // namespace

ProfileStorage& BuiltInProfileStorage() {
  static StandardProfileStorage storage;
  return storage;
}

}  // namespace hk
