#pragma once

#include <cstdint>
#include <string>

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

}  // namespace hk
