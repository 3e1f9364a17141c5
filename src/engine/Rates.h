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

// The one reading of a row, behind the conversion, the first refresh and the
// save alike: each edit in the whole-number syntax, then the rate
// I + D x 10^-d, each part with its own sign (so "-1" and "50" is -0.50,
// "1" and "-5" is 0.95, and "-2" and "-50", as a negative factor shows, is
// -2.50). The rate is written as its exact decimal text with d digits after
// the point ("0" after it when d = 0), and the factor is that text read as
// the settings file reads it: what converts is what the file gives back.
// A rate whose factor is 0 (0 itself, "1" and "-100" with two decimals, or
// one below the smallest Real48) is refused at the integer edit: the file
// would give it back as an empty unit.
struct RowRate {
  std::string text;
  Real48 factor;
};
struct RowReading {
  std::optional<RowRate> rate;  // nothing when an edit is refused
  bool inDecimalPart = false;   // the refused edit: otherwise the integer one
};
RowReading ReadRateRow(const RateRowTexts& row, std::int32_t decimals);

// The first refresh after the rates changed, silent: every row that is not
// left alone and that ReadRateRow reads sets its unit's factor. Returns the
// rows whose factor it set.
using RateRows = std::array<bool, kUnitsPerCategory>;
RateRows ApplyRateTexts(CategoryRecord& category, const RatePanelTexts& rows,
                        const UntouchedRows& untouched = {});

struct RateReadError {
  int row;             // 1..9
  bool inDecimalPart;  // otherwise the integer edit
};

// Reads the shown rows into the factors, in row order. Stops at the first
// row that ReadRateRow refuses and tells which edit; the rows before it are
// already updated and the rest are untouched. An untouched row keeps its
// factor.
std::optional<RateReadError> ReadRatesFromPanel(CategoryRecord& category,
                                                const RatePanelTexts& rows,
                                                const std::array<bool, kUnitsPerCategory>& rowShown,
                                                const UntouchedRows& untouched = {});

// Writes the rows' rates, writeData(unit, text) in unit order, without
// touching a factor: the window puts the rows into the factors first
// (ApplyRateTexts), so that a write that fails loses nothing the user set
// while the program runs. A row that ReadRateRow reads writes its text; one
// it refuses writes nothing. An untouched row of a unit that is there writes
// its own text when that reads back as the factor bit for bit, otherwise the
// shortest text that does. A write that throws stops the rest.
void WriteRates(const CategoryRecord& category, const RatePanelTexts& rows,
                const std::function<void(int unit, const std::string& text)>& writeData,
                const UntouchedRows& untouched = {});

// The rows a category's factors show: what the panel is filled with.
RatePanelTexts RateTextsOfFactors(const CategoryRecord& category);

}  // namespace hk
