// Start-up reads the whole settings file: every customisable section with all
// of its keys. Measured against merely reading the same file and splitting it
// into lines, in the same run.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "data/CategoryTable.h"
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

}  // namespace
}  // namespace hk
