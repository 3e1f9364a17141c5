#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "data/CategoryTable.h"
#include "data/Real48.h"
#include "data/Selection.h"

namespace hk {

// How one conversion run ends.
enum class ConversionEnd {
  Silent,       // no unit selected or no text: nothing changes
  InvalidText,  // not a number: MessageBeep(1), nothing changes
  BaseError,    // number bases: message box (messageText, messageTitle), then MessageBeep(0)
  Converted,    // show resultText, copy it, append the record below
};

struct ConversionOutcome {
  ConversionEnd end = ConversionEnd::Silent;
  std::string messageText;
  std::string messageTitle;

  // For Converted: the result text and what the history record receives.
  std::string resultText;
  std::string targetText;   // the input without its commas
  std::string targetTanni;  // the "from" unit's name as stored
  std::string resultTanni;  // the "to" unit's name as stored
  Real48 targetValue;       // 0 for the number-base category
  Real48 resultValue;
};

// The money page's rate panel takes part in a run in two places; the window
// provides both, and a run off page 3 calls neither.
struct RatePanelHooks {
  // Before anything is parsed, when page 3 is shown and RatesChanged is set:
  // the panel's rate texts become the category's factors.
  std::function<void()> firstRefresh;
  // Right before the factor formula on page 3: the panel's edits are read as
  // whole numbers into the factors (it may report "数値異常" itself).
  std::function<void()> readRatesFromPanel;
};

// One conversion of `text` from the selected "from" unit to the selected "to"
// unit of the current category. The table is read after each hook has run,
// so the hooks may change its factors. Floating-point faults (a zero factor,
// a result beyond the Real48 range) throw FloatFault and leave nothing
// half-done for the caller.
ConversionOutcome RunConversion(const CategoryTable& table, const SelectionState& selection,
                                std::string_view text, const RatePanelHooks& hooks = {});

}  // namespace hk
