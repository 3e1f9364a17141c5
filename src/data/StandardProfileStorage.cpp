// The built-in storage where no POSIX calls exist: the C library can neither
// lock a file between programs nor flush one to the disk, so the program
// installs the system's own storage in their place. Only the tests of the
// portable core run on this one. The C runtime's own file calls, not the
// stream library, which alone would make up much of the program's size.
#include <stdio.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <random>

#include "data/ProfileStorage.h"

namespace hk {

namespace {

// Offsets into the file are 32-bit, which no settings file comes near.
constexpr std::size_t kMaxFileBytes = 0xFFFFFFF0u;

class NoLock : public ProfileStorage::Lock {};

struct FileCloser {
  void operator()(FILE* file) const { fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

FILE* Open(const FilePath& path, const wchar_t* mode) { return _wfopen(path.c_str(), mode); }

// Nothing when the file is not there; errno tells the rest.
bool Status(const FilePath& path, struct _stat64& status) {
  return _wstat64(path.c_str(), &status) == 0;
}

void Discard(const FilePath& temp) { _wremove(temp.c_str()); }

bool WriteFile(const FilePath& path, std::string_view bytes) {
  File out(Open(path, L"wb"));
  if (!out) return false;
  const bool written = fwrite(bytes.data(), 1, bytes.size(), out.get()) == bytes.size();
  return fclose(out.release()) == 0 && written;
}

class StandardProfileStorage : public ProfileStorage {
 public:
  std::unique_ptr<Lock> lock(const FilePath&) override { return std::make_unique<NoLock>(); }

  bool read(const FilePath& file, std::string& bytes) override {
    bytes.clear();
    struct _stat64 status;
    if (!Status(file, status)) return errno == ENOENT;
    if (status.st_mode & _S_IFDIR) return false;
    File in(Open(file, L"rb"));
    if (!in) return false;
    char chunk[4096];
    std::size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, in.get())) > 0) {
      bytes.append(chunk, n);
      if (bytes.size() > kMaxFileBytes) return false;
    }
    return !ferror(in.get());
  }

  bool replace(const FilePath& file, std::string_view bytes,
               const BeforeReplace& beforeReplace) override {
    struct _stat64 status;
    if (Status(file, status) ? !(status.st_mode & _S_IWRITE) : errno != ENOENT) return false;
    static std::atomic<unsigned> counter{0};
    FilePath temp = file;
    temp += FilePath("." + std::to_string(std::random_device()()) + "-" +
                     std::to_string(counter++) + ".tmp");
    if (!WriteFile(temp, bytes)) {
      Discard(temp);
      return false;
    }
    try {
      if (beforeReplace) beforeReplace(temp);
    } catch (...) {
      Discard(temp);
      return false;
    }
    // The C library's rename does not replace a file that is there.
    if (!MoveFileReplacing(temp, file)) {
      Discard(temp);
      return false;
    }
    return true;
  }

  std::string displayName(const FilePath& file) const override { return file.string(); }

 private:
  static bool MoveFileReplacing(const FilePath& from, const FilePath& to) {
    if (_wrename(from.c_str(), to.c_str()) == 0) return true;
    // The old file makes way only once the new one is complete.
    if (errno != EEXIST && errno != EACCES) return false;
    return _wremove(to.c_str()) == 0 && _wrename(from.c_str(), to.c_str()) == 0;
  }
};

}  // namespace

ProfileStorage& BuiltInProfileStorage() {
  static StandardProfileStorage storage;
  return storage;
}

}  // namespace hk
