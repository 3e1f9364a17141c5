// One conversion appended to a nearly full history, with the history window
// open (the grid refilled, the totals over every marked row recomputed)
// against the same append with no window: the ratio is what counts.
#include <benchmark/benchmark.h>

#include <string>

#include "history/HistoryStore.h"
#include "platform/RecordingServices.h"
#include "ui/CalcUnt2.h"

namespace hk {
namespace {

// One short of full, so that the measured append makes the largest history
// there is rather than starting it afresh.
constexpr int kKept = kHistoryCapacity - 1;

HistoryRecord Conversion(int i) {
  const std::string target = std::to_string(i % 1000);
  return {target,   "ﾒｰﾄﾙ", "       " + target + ".00000", "ﾌｨｰﾄ", i % 1000, (i % 1000) * 3.28L,
          kSignNone};
}

// The history as a long session leaves it: every row marked, so the totals
// add all of them.
void Fill(HistoryStore& history) {
  for (int i = 1; i <= kKept; ++i) {
    history.AppendHistory(Conversion(i));
    history.record(i).Sign = i % 2 ? kSignAdd : kSignSubtract;
  }
}

void Append(HistoryStore& history, int i) {
  history.AppendHistory(Conversion(i));
  RefreshHistoryWindow();
}

void BM_AppendWithoutWindow(benchmark::State& state) {
  HistoryStore history;
  Fill(history);
  int i = 0;
  for (auto _ : state) {
    Append(history, ++i);
    state.PauseTiming();
    history.RemoveHistory(history.HistoryCount());
    state.ResumeTiming();
  }
}
BENCHMARK(BM_AppendWithoutWindow)->Unit(benchmark::kMicrosecond);

void BM_AppendWithWindow(benchmark::State& state) {
  RecordingServices services;
  HistoryStore history;
  Fill(history);
  Form mainForm(FormStyle::BorderlessPopup);
  SpeedButton historyButton(&mainForm);
  HistoryButtonClick(services, history, mainForm, historyButton, "ZO_VEZA.HLP");
  RefreshHistoryWindow();
  int i = 0;
  for (auto _ : state) {
    Append(history, ++i);
    state.PauseTiming();
    history.RemoveHistory(history.HistoryCount());
    state.ResumeTiming();
  }
  state.counters["rows"] = static_cast<double>(CalcHistoryForm->StringGrid1.rowCount());
  ReleaseHistoryWindow(services);
  services.pump();
}
BENCHMARK(BM_AppendWithWindow)->Unit(benchmark::kMicrosecond);

// The grid's worst refill: deleting the first row renumbers every other one.
void BM_DeleteFirstRowWithWindow(benchmark::State& state) {
  RecordingServices services;
  HistoryStore history;
  Fill(history);
  Form mainForm(FormStyle::BorderlessPopup);
  SpeedButton historyButton(&mainForm);
  HistoryButtonClick(services, history, mainForm, historyButton, "ZO_VEZA.HLP");
  TCalcHistoryForm& window = *CalcHistoryForm;
  const Rect first = window.StringGrid1.cellRect(0, 1);
  int i = 0;
  for (auto _ : state) {
    // A press on row 1's number chooses the row, as before its menu opens.
    window.StringGrid1.mouseDown(MouseButton::Left, first.left + 1, first.top + 1);
    window.DeleteMenuClick();
    state.PauseTiming();
    history.AppendHistory(Conversion(++i));
    history.record(history.HistoryCount()).Sign = kSignAdd;
    state.ResumeTiming();
  }
  ReleaseHistoryWindow(services);
  services.pump();
}
BENCHMARK(BM_DeleteFirstRowWithWindow)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace hk
