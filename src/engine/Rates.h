#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "data/CategoryTable.h"
#include "data/Real48.h"

namespace hk {

// The rules of the money page's rate panel: one row per unit of the shown
// category, an integer edit I and a decimal edit D whose rate is
// I + D x 10^-d with d the unit's decimals. The window keeps the widgets and
// calls these.
//
// Negative decimals count as 0; decimals above kMaxFixedDecimals count as that
// many, as the result display does, so that D and every text built from it
// stay bounded.

// An up-down control's range and position, all three signed 32-bit values.
// A row whose value or range does not fit them has its spinner switched off
// (usable false): a clamped spinner would step the rate somewhere else.
struct SpinnerSetting {
  std::int32_t minimum = 0;
  std::int32_t maximum = 0;
  std::int32_t position = 0;
  bool usable = true;
};

struct RateRowDisplay {
  bool enabled = false;
  std::string label;
  std::string integerText;
  std::string decimalText;
  SpinnerSetting integerSpinner;
  SpinnerSetting decimalSpinner;
};

// How the row of `unit` shows its factor. An empty unit gives a disabled row
// with empty texts. A factor that holds a rate of at most d decimals (to a
// few units of its last bit) shows that rate's digits, so 0.94, stored a
// little below, shows 0 and 94, and saving the row writes the rate's text
// again; any other factor shows the first d decimals of its shortest exact
// text, cut. The texts always show every digit: an integer part beyond 32
// bits is written in full, and its spinner is switched off, as is the decimal
// spinner of a unit whose 10^d - 1 is beyond 32 bits. A negative factor (only a hand-edited file
// has one) shows I truncated toward zero and a negative D ("-2" and "-50" for -2.5 with two
// decimals), which the panel reads back as the factor; its decimal spinner
// runs from -(10^d - 1) to 0.
RateRowDisplay RateRowOf(const UnitRecord& unit);

// What the two edits of a row hold now.
struct RateRowTexts {
  std::string integerText;
  std::string decimalText;
};
using RatePanelTexts = std::array<RateRowTexts, kUnitsPerCategory>;  // units 1..9 at [0..8]

// The rows that still hold what RateRowOf filled them with. Such a row stands
// for its unit's factor as it is, to the last bit: a rate finer than its
// decimals, shown cut, must not be cut in the table or the file merely
// because it was shown. All false means every row is read from its texts.
using UntouchedRows = std::array<bool, kUnitsPerCategory>;
UntouchedRows UntouchedRowsOf(const RatePanelTexts& now, const RatePanelTexts& filled);

// The integer text, ".", and the decimal text with zeros in front up to d
// characters (a longer one is kept whole); with d = 0 the part after the
// point is "0".
std::string RateText(const RateRowTexts& row, std::int32_t decimals);

// The first refresh after the rates changed, silent: every row whose RateText
// reads as a real sets its unit's factor. A row with both edits empty holds no
// rate, and a value that does not fit a Real48 is left out as well. Returns
// the rows whose factor it set.
using RateRows = std::array<bool, kUnitsPerCategory>;
RateRows ApplyRateTexts(CategoryRecord& category, const RatePanelTexts& rows,
                        const UntouchedRows& untouched = {});

// D scaled down by 0.1 d times, each product stored as Real48, then I added.
Real48 RateFromParts(std::int32_t integerPart, std::int32_t decimalPart, std::int32_t decimals);

struct RateReadError {
  int row;             // 1..9
  bool inDecimalPart;  // otherwise the integer edit
};

// Reads the edits of the shown rows as whole numbers into the factors, in row
// order. Stops at the first edit that is not a whole number and tells which;
// the rows before it are already updated and the rest are untouched. An
// untouched row keeps its factor.
std::optional<RateReadError> ReadRatesFromPanel(CategoryRecord& category,
                                                const RatePanelTexts& rows,
                                                const std::array<bool, kUnitsPerCategory>& rowShown,
                                                const UntouchedRows& untouched = {});

// The text a row's rate is saved as: when both edits hold plain decimal
// digits, the exact value I + D x 10^-d with d digits after the point ("0"
// when d = 0). Nothing for any other edit text, nor for a value beyond what a
// Real48 holds, which the program could not load back.
std::optional<std::string> SavedRateText(const RateRowTexts& row, std::int32_t decimals);

// Saves every row that has a SavedRateText: writeData(unit, text) first, then
// the factor becomes that text's value. An untouched row of a unit that is
// there keeps its factor and writes its SavedRateText when that reads back as
// the factor bit for bit, otherwise the shortest text that does.
// When writeData throws, that row and the later ones keep their factors.
void SaveRates(CategoryRecord& category, const RatePanelTexts& rows,
               const std::function<void(int unit, const std::string& text)>& writeData,
               const UntouchedRows& untouched = {});

}  // namespace hk
