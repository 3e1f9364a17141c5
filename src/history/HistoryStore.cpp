#include "history/HistoryStore.h"

#include <stdexcept>
#include <utility>

namespace hk {

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
    if (r.Sign == kSignAdd) {
      target = target.value() + r.TargetValue.value();
      result = result.value() + r.ResultValue.value();
    } else if (r.Sign == kSignSubtract) {
      target = target.value() - r.TargetValue.value();
      result = result.value() - r.ResultValue.value();
    }
  }
  targetTotal_ = target;
  resultTotal_ = result;
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
