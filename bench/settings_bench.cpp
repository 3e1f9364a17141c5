// Start-up reads the whole settings file: every customisable section with all
// of its keys. Measured against merely reading the same file and splitting it
// into lines, in the same run. One key's write reads the file as it is on
// disk, changes the key and replaces the file: measured against reading the
// file and replacing it with the same bytes through the same storage, so the
// difference is the lock and the search for the key.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "data/CategoryTable.h"
#include "data/ProfileStorage.h"
#include "data/SettingsFile.h"

namespace hk {
namespace {

class FullSettingsFile {
 public:
  FullSettingsFile() {
    path_ = std::filesystem::temp_directory_path() / "hakarimaru-bench.KZN";
    std::ofstream out(path_, std::ios::binary);
    out << "[ZOVA]\r\nWinPosX=120\r\nWinPosY=80\r\nINDEX=25\r\nPAGE=3\r\nAUTOCLIP=1\r\n";
    for (int n = 1; n <= kCategoryCount; ++n) {
      if (n == kTemperatureCategory || n == kNumberBaseCategory) continue;
      out << "[BUNRUI" << n << "]\r\nNAME=分類" << n << "&L\r\nICON=0\r\n";
      for (int u = 1; u <= kUnitsPerCategory; ++u) {
        out << "Button" << u << "=\" 単位" << u << " \"\r\nDATA" << u << "=" << u * 1.25
            << "\r\nPOINT" << u << "=2\r\nCOLOR" << u << "=1\r\n";
      }
    }
  }
  ~FullSettingsFile() { std::filesystem::remove(path_); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

const FullSettingsFile& File() {
  static const FullSettingsFile file;
  return file;
}

void BM_ReadAndSplitBaseline(benchmark::State& state) {
  for (auto _ : state) {
    std::ifstream in(File().path(), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n') {
        lines.emplace_back(text, start, i - start);
        start = i + 1;
      }
    }
    benchmark::DoNotOptimize(lines.data());
  }
}
BENCHMARK(BM_ReadAndSplitBaseline);

void BM_StartUpLoading(benchmark::State& state) {
  // Loading over the same table each time is the same work as loading once.
  CategoryTable table = CategoryTable::BuiltIn();
  for (auto _ : state) {
    const SettingsFile settings(File().path());
    benchmark::DoNotOptimize(settings.readWindowSettings());
    settings.loadCategories(table);
    benchmark::DoNotOptimize(table[1].CategoryName.data());
  }
}
BENCHMARK(BM_StartUpLoading);

// A copy of the full file that the writes may change.
class WrittenCopy {
 public:
  WrittenCopy() : path_(std::filesystem::temp_directory_path() / "hakarimaru-bench-write.KZN") {
    std::filesystem::copy_file(File().path(), path_,
                               std::filesystem::copy_options::overwrite_existing);
  }
  ~WrittenCopy() { std::filesystem::remove(path_); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

void BM_ReadAndReplaceBaseline(benchmark::State& state) {
  const WrittenCopy copy;
  ProfileStorage& storage = InstalledProfileStorage();
  std::string bytes;
  for (auto _ : state) {
    if (!storage.read(copy.path(), bytes) || !storage.replace(copy.path(), bytes, nullptr)) {
      state.SkipWithError("the copy could not be rewritten");
      break;
    }
  }
}
BENCHMARK(BM_ReadAndReplaceBaseline)->UseRealTime();

void BM_OneKeyWrite(benchmark::State& state) {
  const WrittenCopy copy;
  SettingsFile settings(copy.path());
  int rate = 0;
  for (auto _ : state) {
    // A key in the middle of the file, as the rate panel writes it.
    settings.writeRate(20, 5, std::to_string(rate++ % 10) + ".25");
  }
}
BENCHMARK(BM_OneKeyWrite)->UseRealTime();

}  // namespace
}  // namespace hk
