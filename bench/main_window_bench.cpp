// One conversion through the main window, driven headless as Enter drives it
// (the input read, the result shown, the clipboard copy, the history record),
// against the core conversion alone in the same run: the ratio is what
// counts.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "engine/Conversion.h"
#include "history/HistoryStore.h"
#include "platform/RecordingServices.h"
#include "ui/calcMain.h"

namespace hk {
namespace {

// Keeps only what the clipboard holds now, so a long run does not pile up
// every copy.
class BenchServices : public RecordingServices {
 public:
  void setClipboardText(std::string_view text) override { held_.assign(text); }

 private:
  std::string held_;
};

constexpr const char* kInput = "1,234.5";

void BM_CoreConversion(benchmark::State& state) {
  const CategoryTable table = CategoryTable::BuiltIn();
  SelectionState selection;
  selection.FromUnit = 3;
  selection.ToUnit = 5;
  for (auto _ : state) {
    const ConversionOutcome out = RunConversion(table, selection, kInput);
    benchmark::DoNotOptimize(out.resultText.data());
  }
}
BENCHMARK(BM_CoreConversion);

void BM_ConversionThroughTheWindow(benchmark::State& state) {
  // The settings file the window writes at its end goes to a folder of its own.
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "hakarimaru-main-window-bench";
  std::filesystem::create_directories(folder);
  BenchServices services;
  services.executable = folder / "hakarimaru.exe";
  CategoryTable table = CategoryTable::BuiltIn();
  HistoryStore history;
  {
    TCalcMainForm form(services, table, history);
    form.TargetEdit.setText(kInput);
    form.FromButton(3).click();
    form.ToButton(5).click();
    for (auto _ : state) {
      form.Button1.click();
      benchmark::DoNotOptimize(form.LastResultText.data());
    }
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ConversionThroughTheWindow);

}  // namespace
}  // namespace hk
