// The built-in storage of the native build, over POSIX calls. The lock is
// taken on the file's folder rather than on a lock file, so nothing is ever
// left behind to be cleaned up, and a folder that has gone fails the write
// at once.
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <system_error>
#include <thread>

#include "data/ProfileStorage.h"

namespace hk {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxFileBytes = 0xFFFFFFF0u;
constexpr std::chrono::milliseconds kLockWait{5000};

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closing is where some file systems report a failed write.
  bool close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

class FolderLock : public ProfileStorage::Lock {
 public:
  explicit FolderLock(int fd) : fd_(fd) {}  // closing the folder lets the lock go

 private:
  Descriptor fd_;
};

fs::path FolderOf(const fs::path& file) {
  const fs::path folder = file.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

bool WriteAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n =
        ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// A link is written through: the file it names is the one replaced.
fs::path ResolvedTarget(const fs::path& file) {
  std::error_code ec;
  if (!fs::is_symlink(fs::symlink_status(file, ec))) return file;
  const fs::path target = fs::weakly_canonical(file, ec);
  return ec ? file : target;
}

class PosixProfileStorage : public ProfileStorage {
 public:
  std::unique_ptr<Lock> lock(const FilePath& path) override {
    const fs::path file = path;
    const int fd = ::open(FolderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    auto held = std::make_unique<FolderLock>(fd);
    const auto deadline = std::chrono::steady_clock::now() + kLockWait;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() > deadline) {
        return nullptr;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return held;
  }

  bool read(const FilePath& path, std::string& bytes) override {
    const fs::path file = path;
    bytes.clear();
    Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) return errno == ENOENT || errno == ENOTDIR;
    struct stat st;
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    if (st.st_size > 0) bytes.reserve(static_cast<std::size_t>(st.st_size));
    char chunk[16384];
    for (;;) {
      const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return false;
      if (n == 0) return true;
      bytes.append(chunk, static_cast<std::size_t>(n));
      if (bytes.size() > kMaxFileBytes) return false;
    }
  }

  bool replace(const FilePath& file, std::string_view bytes,
               const BeforeReplace& beforeReplace) override {
    const fs::path target = ResolvedTarget(file);
    struct stat st;
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (!exists && errno != ENOENT) return false;
    if (exists && (!S_ISREG(st.st_mode) || ::access(target.c_str(), W_OK) != 0)) return false;

    std::string name = target.string() + ".XXXXXX";
    // A folder that takes no new file takes no write: rewriting the file in
    // place instead could be cut short, and leave half a file to the next
    // reader.
    Descriptor fd(::mkstemp(&name[0]));
    if (!fd.valid()) return false;
    const fs::path temp = name;
    // The new file takes the old one's permissions, or those a new file gets.
    mode_t mode = st.st_mode & 07777;
    if (!exists) {
      const mode_t mask = ::umask(0);
      ::umask(mask);
      mode = 0666 & ~mask;
    }
    bool ok = ::fchmod(fd.get(), mode) == 0 && WriteAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
    ok = fd.close() && ok;
    if (ok) {
      try {
        if (beforeReplace) beforeReplace(temp);
      } catch (...) {
        ok = false;
      }
    }
    if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
      ::unlink(temp.c_str());
      return false;
    }
    // The rename itself reaches the disk with the folder.
    Descriptor folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid()) ::fsync(folder.get());
    return true;
  }

  std::string displayName(const FilePath& file) const override { return file.string(); }
};

}  // namespace

ProfileStorage& BuiltInProfileStorage() {
  static PosixProfileStorage storage;
  return storage;
}

}  // namespace hk
