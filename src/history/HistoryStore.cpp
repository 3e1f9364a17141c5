#include "history/HistoryStore.h"

#include <stdexcept>
#include <utility>

#include "data/FloatFault.h"

namespace hk {

namespace {

// One step of a total, stored as Real48 as every step is.
Real48 Counted(Real48 total, Real48 value, std::uint8_t sign) {
  return sign == kSignAdd ? total.value() + value.value() : total.value() - value.value();
}

bool Counts(std::uint8_t sign) { return sign == kSignAdd || sign == kSignSubtract; }

}  // namespace

const char* SignText(std::uint8_t sign) {
  switch (sign) {
    case kSignAdd:
      return "＋";
    case kSignSubtract:
      return "－";
    default:
      return "  ";
  }
}

HistoryRecord& HistoryStore::record(std::int32_t slot) {
  if (slot < 1 || slot > HistoryCount()) throw std::out_of_range("history slot");
  return records_[static_cast<std::size_t>(slot - 1)];
}

const HistoryRecord& HistoryStore::record(std::int32_t slot) const {
  return const_cast<HistoryStore*>(this)->record(slot);
}

void HistoryStore::AppendHistory(HistoryRecord record) {
  if (HistoryCount() >= kHistoryCapacity) ClearHistory();
  record.Sign = kSignNone;  // a new conversion is never counted until marked
  records_.push_back(std::move(record));
}

void HistoryStore::ComputeTotals() {
  // Locals first: an overflow part-way must not leave half a sum behind.
  Real48 target;
  Real48 result;
  for (const HistoryRecord& r : records_) {
    if (!Counts(r.Sign)) continue;
    target = Counted(target, r.TargetValue, r.Sign);
    result = Counted(result, r.ResultValue, r.Sign);
  }
  targetTotal_ = target;
  resultTotal_ = result;
}

std::vector<std::int32_t> HistoryStore::ComputeTotalsClearingOverflow() {
  Real48 target;
  Real48 result;
  std::vector<std::int32_t> cleared;
  for (std::int32_t slot = 1; slot <= HistoryCount(); ++slot) {
    HistoryRecord& r = record(slot);
    if (!Counts(r.Sign)) continue;
    try {
      // Both columns or neither: a record counts in both totals or in none.
      const Real48 nextTarget = Counted(target, r.TargetValue, r.Sign);
      result = Counted(result, r.ResultValue, r.Sign);
      target = nextTarget;
    } catch (const FloatFault&) {
      r.Sign = kSignNone;
      cleared.push_back(slot);
    }
  }
  targetTotal_ = target;
  resultTotal_ = result;
  return cleared;
}

void HistoryStore::RemoveHistory(std::int32_t slot) {
  if (slot < 1 || slot > HistoryCount()) return;
  records_.erase(records_.begin() + (slot - 1));
}

void HistoryStore::ClearHistory() {
  records_.clear();
  targetTotal_ = Real48();
  resultTotal_ = Real48();
}

}  // namespace hk
