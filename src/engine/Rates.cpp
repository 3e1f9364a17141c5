#include "engine/Rates.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <limits>
#include <utility>

#include "data/DecimalFormat.h"
#include "data/NumberSyntax.h"

namespace hk {

namespace {

constexpr std::int64_t kSpinnerMinimum = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kSpinnerMaximum = std::numeric_limits<std::int32_t>::max();

int EffectiveDecimals(std::int32_t decimals) {
  return std::clamp(decimals, std::int32_t{0}, std::int32_t{kMaxFixedDecimals});
}

std::int32_t ToSpinner(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp(value, kSpinnerMinimum, kSpinnerMaximum));
}

// The value of a digit string, saturating at `limit`.
std::int64_t SaturatedValue(const std::string& digits, std::int64_t limit) {
  std::int64_t value = 0;
  for (char c : digits) {
    value = value * 10 + (c - '0');
    if (value >= limit) return limit;
  }
  return value;
}

// The rate a factor stands for, split at the point: the digits of its
// integer part and its first d decimals, and its sign.
struct RateDigits {
  bool negative = false;
  std::string integer;   // "0" when there is none
  std::string decimals;  // exactly d digits
};

// A factor within a few units of its last bit of a rate with d decimals
// shows that rate: the store of the rate's text puts it within half a unit,
// the panel's reading (D scaled by tenths, each step stored, then I added)
// within one or two more. Any other factor shows the first d decimals of its
// shortest exact text.
RateDigits RateDigitsOf(const Real48& factor, int d) {
  RateDigits r;
  const long double value = factor.value();
  r.negative = value < 0;
  std::string text = FormatFixed(value, d, 0);
  int exponent = 0;
  std::frexp(value, &exponent);
  const long double tolerance = (d + 2) * std::ldexp(1.0L, exponent - 40);
  if (std::fabs(value - *ParseReal(text)) > tolerance) {
    DecimalDigits digits = ShortestDigits(factor);
    digits.negative = false;
    text = FormatFixed(digits, kMaxFixedDecimals, 0);  // to the fortieth decimal
    const std::size_t point = text.find('.');
    text.erase(d == 0 ? point : point + 1 + static_cast<std::size_t>(d));
  }
  if (!text.empty() && text[0] == '-') text.erase(0, 1);
  const std::size_t point = text.find('.');
  r.integer = text.substr(0, point);
  if (point != std::string::npos) r.decimals = text.substr(point + 1);
  return r;
}

std::string WithoutLeadingZeros(const std::string& digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string::npos ? std::string() : digits.substr(first);
}

// Sum of two unsigned decimal digit strings.
std::string AddDigits(const std::string& a, const std::string& b) {
  std::string sum;
  int carry = 0;
  for (std::size_t k = 0; k < a.size() || k < b.size() || carry != 0; ++k) {
    int digit = carry;
    if (k < a.size()) digit += a[a.size() - 1 - k] - '0';
    if (k < b.size()) digit += b[b.size() - 1 - k] - '0';
    sum.push_back(static_cast<char>('0' + digit % 10));
    carry = digit / 10;
  }
  std::reverse(sum.begin(), sum.end());
  return sum;
}

// a - b for unsigned decimal digit strings without leading zeros, a >= b.
std::string SubtractDigits(const std::string& a, const std::string& b) {
  std::string difference;
  int borrow = 0;
  for (std::size_t k = 0; k < a.size(); ++k) {
    int digit = a[a.size() - 1 - k] - '0' - borrow;
    if (k < b.size()) digit -= b[b.size() - 1 - k] - '0';
    borrow = digit < 0 ? 1 : 0;
    difference.push_back(static_cast<char>('0' + digit + 10 * borrow));
  }
  std::reverse(difference.begin(), difference.end());
  return difference;
}

// For digit strings without leading zeros.
bool LessDigits(const std::string& a, const std::string& b) {
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

std::string MagnitudeDigits(std::int32_t value) {
  return WithoutLeadingZeros(std::to_string(std::llabs(static_cast<long long>(value))));
}

// I + D x 10^-d exactly, with d digits after the point ("0" after it when
// d = 0): in units of 10^-d it is I x 10^d + D, each part with its sign.
std::string ExactRateText(std::int32_t integerPart, std::int32_t decimalPart, std::size_t d) {
  const std::string whole = MagnitudeDigits(integerPart);
  const std::string scaled = whole.empty() ? whole : whole + std::string(d, '0');
  const std::string part = MagnitudeDigits(decimalPart);
  const bool integerNegative = integerPart < 0;
  const bool decimalNegative = decimalPart < 0;
  std::string units;
  bool negative = false;
  if (scaled.empty() || part.empty() || integerNegative == decimalNegative) {
    units = AddDigits(scaled, part);
    negative = scaled.empty() ? decimalNegative : integerNegative;
  } else if (LessDigits(scaled, part)) {
    units = SubtractDigits(part, scaled);
    negative = decimalNegative;
  } else {
    units = SubtractDigits(scaled, part);
    negative = integerNegative;
  }
  units = WithoutLeadingZeros(units);
  if (units.empty()) negative = false;  // never "-0.00"
  if (units.size() <= d) units.insert(0, d + 1 - units.size(), '0');
  const std::size_t point = units.size() - d;
  return (negative ? "-" : "") + units.substr(0, point) + "." +
         (d == 0 ? std::string("0") : units.substr(point));
}

}  // namespace

RateRowDisplay RateRowOf(const UnitRecord& unit) {
  RateRowDisplay row;
  if (unit.isEmpty()) return row;

  const int d = EffectiveDecimals(unit.Decimals);
  const RateDigits digits = RateDigitsOf(unit.Factor, d);
  const std::string decimals = WithoutLeadingZeros(digits.decimals);
  const bool negativeDecimals = digits.negative && !decimals.empty();

  row.enabled = true;
  row.label = unit.Name;
  // I is the factor truncated toward zero and D carries its sign, so that
  // I + D x 10^-d reads back as a negative factor too (-2.5 is -2 and -50).
  const bool negativeInteger = digits.negative && digits.integer != "0";
  row.integerText = (negativeInteger ? "-" : "") + digits.integer;
  row.decimalText = decimals.empty() ? "0" : (negativeDecimals ? "-" : "") + decimals;

  // The integer part as a 32-bit spinner value; beyond it the spinner is off.
  const std::int64_t magnitude = SaturatedValue(digits.integer, kSpinnerMaximum + 1);
  const std::int64_t i = negativeInteger ? -magnitude : magnitude;
  row.integerSpinner.usable = magnitude <= kSpinnerMaximum;
  row.integerSpinner.maximum = ToSpinner(i > 1 ? 2 * i : 10);
  row.integerSpinner.minimum = ToSpinner(i / 2);
  row.integerSpinner.position = ToSpinner(i);

  // A negative D steps through the negative decimals, up toward zero. The
  // spinner wraps at 10^d - 1, so it is off where that does not fit.
  std::int64_t scale = 1;
  for (int k = 0; k < d && scale <= kSpinnerMaximum; ++k) scale *= 10;
  const std::int64_t decimalPart = SaturatedValue(decimals, kSpinnerMaximum + 1);
  row.decimalSpinner.usable = scale - 1 <= kSpinnerMaximum;
  row.decimalSpinner.minimum = digits.negative ? ToSpinner(1 - scale) : 0;
  row.decimalSpinner.maximum = digits.negative ? 0 : ToSpinner(scale - 1);
  row.decimalSpinner.position = ToSpinner(negativeDecimals ? -decimalPart : decimalPart);
  return row;
}

RowReading ReadRateRow(const RateRowTexts& row, std::int32_t decimals) {
  RowReading reading;
  const std::optional<std::int32_t> integerPart = ParseWholeNumber(row.integerText);
  if (!integerPart) return reading;
  const std::optional<std::int32_t> decimalPart = ParseWholeNumber(row.decimalText);
  if (!decimalPart) {
    reading.inDecimalPart = true;
    return reading;
  }
  RowRate rate;
  rate.text = ExactRateText(*integerPart, *decimalPart,
                            static_cast<std::size_t>(EffectiveDecimals(decimals)));
  // At most about 2^32 in magnitude: always a Real48, if perhaps 0.
  rate.factor = Real48(*ParseReal(rate.text));
  // A factor of 0 divides by zero, and the file keeps it as an empty unit:
  // the row is refused at its integer edit, as a letter is.
  if (rate.factor.isZero()) return reading;
  reading.rate = std::move(rate);
  return reading;
}

UntouchedRows UntouchedRowsOf(const RatePanelTexts& now, const RatePanelTexts& filled) {
  UntouchedRows untouched{};
  for (std::size_t k = 0; k < untouched.size(); ++k) {
    untouched[k] =
        now[k].integerText == filled[k].integerText && now[k].decimalText == filled[k].decimalText;
  }
  return untouched;
}

RateRows ApplyRateTexts(CategoryRecord& category, const RatePanelTexts& rows,
                        const UntouchedRows& untouched) {
  RateRows read{};
  for (int u = 1; u <= kUnitsPerCategory; ++u) {
    const std::size_t k = static_cast<std::size_t>(u - 1);
    if (untouched[k]) continue;
    UnitRecord& unit = category.unit(u);
    const RowReading reading = ReadRateRow(rows[k], unit.Decimals);
    if (!reading.rate) continue;
    unit.Factor = reading.rate->factor;
    read[k] = true;
  }
  return read;
}

std::optional<RateReadError> ReadRatesFromPanel(CategoryRecord& category,
                                                const RatePanelTexts& rows,
                                                const std::array<bool, kUnitsPerCategory>& rowShown,
                                                const UntouchedRows& untouched) {
  for (int u = 1; u <= kUnitsPerCategory; ++u) {
    const std::size_t k = static_cast<std::size_t>(u - 1);
    if (!rowShown[k] || untouched[k]) continue;
    UnitRecord& unit = category.unit(u);
    const RowReading reading = ReadRateRow(rows[k], unit.Decimals);
    if (!reading.rate) return RateReadError{u, reading.inDecimalPart};
    unit.Factor = reading.rate->factor;
  }
  return std::nullopt;
}

void WriteRates(const CategoryRecord& category, const RatePanelTexts& rows,
                const std::function<void(int unit, const std::string& text)>& writeData,
                const UntouchedRows& untouched) {
  for (int u = 1; u <= kUnitsPerCategory; ++u) {
    const UnitRecord& unit = category.unit(u);
    const std::size_t k = static_cast<std::size_t>(u - 1);
    const RowReading reading = ReadRateRow(rows[k], unit.Decimals);
    if (untouched[k]) {
      if (unit.isEmpty()) continue;
      // The row's own text where it reads back as the factor, as it was
      // always saved; the factor's shortest text where the row shows it cut.
      const bool exact = reading.rate && reading.rate->factor.bytes() == unit.Factor.bytes();
      writeData(u, exact ? reading.rate->text : ShortestRealText(unit.Factor));
    } else if (reading.rate) {
      writeData(u, reading.rate->text);
    }
  }
}

RatePanelTexts RateTextsOfFactors(const CategoryRecord& category) {
  RatePanelTexts rows;
  for (int u = 1; u <= kUnitsPerCategory; ++u) {
    const RateRowDisplay shown = RateRowOf(category.unit(u));
    rows[static_cast<std::size_t>(u - 1)] = {shown.integerText, shown.decimalText};
  }
  return rows;
}

}  // namespace hk
