#include "history/HistoryExport.h"

#include "data/DecimalFormat.h"

namespace hk {

namespace {

void AppendRecordLine(std::string& text, const HistoryRecord& r) {
  // The 5-byte mark column: the grid's 2-byte mark between 2 blanks and 1.
  text += "  ";
  text += SignText(r.Sign);
  text += ' ';
  text.append(15, ' ');
  text += r.TargetText;
  text += ' ';
  text += r.TargetTanni;
  text += r.ResultText;  // carries its own leading blanks
  text += ' ';
  text += r.ResultTanni;
  text += '\r';
}

}  // namespace

std::string HistoryExportText(const HistoryStore& store, int mode) {
  const std::int32_t count = store.HistoryCount();
  std::string text;
  if (mode == kExportAll || mode == kExportMarked) {
    for (std::int32_t slot = 1; slot <= count; ++slot) {
      const HistoryRecord& r = store.record(slot);
      if (mode == kExportAll || r.Sign != kSignNone) AppendRecordLine(text, r);
    }
  }

  // The units of the newest conversion label the totals, marked or not.
  const std::string noUnit;
  const std::string& targetTanni = count > 0 ? store.record(count).TargetTanni : noUnit;
  const std::string& resultTanni = count > 0 ? store.record(count).ResultTanni : noUnit;
  text += "合計    ";
  text += FormatFixed(store.TargetTotal().value(), 5, 15);
  text += ' ';
  text += targetTanni;
  text += ' ';
  text += FormatFixed(store.ResultTotal().value(), 5, 15);
  text += ' ';
  text += resultTanni;
  return text;
}

}  // namespace hk
