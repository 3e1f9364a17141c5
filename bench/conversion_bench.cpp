// How long a conversion takes, against snprintf of the same value as a
// double in the same run: the ratio is what counts, not the nanoseconds.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "data/DecimalFormat.h"
#include "data/Real48.h"
#include "engine/Conversion.h"
#include "engine/FormatResult.h"
#include "engine/Rates.h"
#include "history/HistoryStore.h"

namespace hk {
namespace {

const long double kValues[] = {Real48(100.0L),   Real48(0.94L),       Real48(39.3701L),
                               Real48(-273.15L), Real48(123456.789L), Real48(0.0006215L)};
constexpr int kValueCount = sizeof kValues / sizeof kValues[0];

void BM_SnprintfBaseline(benchmark::State& state) {
  char buffer[64];
  int i = 0;
  for (auto _ : state) {
    std::snprintf(buffer, sizeof buffer, "%15.5f", static_cast<double>(kValues[i]));
    benchmark::DoNotOptimize(buffer);
    i = (i + 1) % kValueCount;
  }
}
BENCHMARK(BM_SnprintfBaseline);

void BM_FormatResult(benchmark::State& state) {
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FormatResult(kValues[i], 5));
    i = (i + 1) % kValueCount;
  }
}
BENCHMARK(BM_FormatResult);

// The shortest exact text of a factor, as a value box left alone is saved.
void BM_ShortestRealText(benchmark::State& state) {
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ShortestRealText(Real48(kValues[i])));
    i = (i + 1) % kValueCount;
  }
}
BENCHMARK(BM_ShortestRealText);

// One row of the rate panel, shown from its factor with two decimals.
void BM_RateRow(benchmark::State& state) {
  UnitRecord units[kValueCount];
  for (int k = 0; k < kValueCount; ++k) {
    units[k].Factor = Real48(kValues[k]);
    units[k].Decimals = 2;
  }
  int i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(RateRowOf(units[i]));
    i = (i + 1) % kValueCount;
  }
}
BENCHMARK(BM_RateRow);

// Parse, convert, format and append, as one press of Enter does.
void BM_WholeConversion(benchmark::State& state) {
  const CategoryTable table = CategoryTable::BuiltIn();
  SelectionState selection;
  selection.FromUnit = 3;
  selection.ToUnit = 5;
  HistoryStore history;
  for (auto _ : state) {
    const ConversionOutcome out = RunConversion(table, selection, "1,234.5");
    HistoryRecord record{out.targetText,  out.targetTanni, out.resultText, out.resultTanni,
                         out.targetValue, out.resultValue, kSignNone};
    history.AppendHistory(std::move(record));
    benchmark::DoNotOptimize(history.HistoryCount());
  }
}
BENCHMARK(BM_WholeConversion);

}  // namespace
}  // namespace hk
