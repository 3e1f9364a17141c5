#pragma once

#include <string>

#include "history/HistoryStore.h"

namespace hk {

// Which records the export writes; the total line is written in every mode.
constexpr int kExportAll = 0;
constexpr int kExportMarked = 1;
constexpr int kExportNone = 2;

// The history as text for the clipboard: one line per record, each ended by a
// lone CR, then the total line without a line end. The totals are the stored
// ones; call ComputeTotals first if the marks have changed. An unknown mode
// writes no records.
std::string HistoryExportText(const HistoryStore& store, int mode);

}  // namespace hk
