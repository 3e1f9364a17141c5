#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/Real48.h"

namespace hk {

// Marks of a record: not counted, added, subtracted.
constexpr std::uint8_t kSignNone = 0;
constexpr std::uint8_t kSignAdd = 1;
constexpr std::uint8_t kSignSubtract = 2;

// One conversion of the history. Texts are held whole, however long.
struct HistoryRecord {
  std::string TargetText;   // the input, without commas
  std::string TargetTanni;  // the "from" unit's name, blanks included
  std::string ResultText;   // the result exactly as shown, leading blanks included
  std::string ResultTanni;  // the "to" unit's name
  Real48 TargetValue;       // 0 where no number is computed (number bases)
  Real48 ResultValue;
  std::uint8_t Sign = kSignNone;
};

// The history keeps at most this many conversions; one more starts it afresh.
constexpr std::int32_t kHistoryCapacity = 999;

// The mark as the grid shows it: two blanks, "＋" or "－" (Shift-JIS). A value
// other than the three marks shows as blanks.
const char* SignText(std::uint8_t sign);

// The conversions of this session, slot 1 the oldest, with the signed sums
// over the marked ones. The program holds one; tests make their own.
class HistoryStore {
 public:
  std::int32_t HistoryCount() const { return static_cast<std::int32_t>(records_.size()); }

  // Slots run 1..HistoryCount(); any other throws std::out_of_range.
  HistoryRecord& record(std::int32_t slot);
  const HistoryRecord& record(std::int32_t slot) const;

  // As last computed by ComputeTotals; appending and removing leave them be.
  Real48 TargetTotal() const { return targetTotal_; }
  Real48 ResultTotal() const { return resultTotal_; }

  // Stores a conversion unmarked in the next slot. When the history is full
  // it is emptied first, totals included, and the new record becomes slot 1.
  void AppendHistory(HistoryRecord record);

  // Sums the marked records' values, oldest first, each step stored as Real48
  // the way the totals always have been. A sum beyond the Real48 range throws
  // FloatFault(Overflow) and keeps the previous totals.
  void ComputeTotals();
  // The totals however the marks stand: oldest first, a mark that would carry
  // either running total beyond the Real48 range is cleared and its record
  // left out of both. Returns the slots whose marks were cleared, in order.
  std::vector<std::int32_t> ComputeTotalsClearingOverflow();

  // Later records move up one. A slot outside 1..HistoryCount() is ignored.
  void RemoveHistory(std::int32_t slot);
  // No records, totals 0.
  void ClearHistory();

 private:
  std::vector<HistoryRecord> records_;
  Real48 targetTotal_;
  Real48 resultTotal_;
};

}  // namespace hk
