#include "engine/Rates.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <utility>

#include "data/DecimalFormat.h"
#include "data/FloatFault.h"
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

bool IsPlainDigits(const std::string& text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
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

// The value stored as Real48, or nothing when it is beyond the Real48 range.
std::optional<Real48> Stored(long double value) {
  try {
    return Real48(value);
  } catch (const FloatFault&) {
    return std::nullopt;
  }
}

struct SavedRate {
  std::string text;
  Real48 value;
};

std::optional<SavedRate> SavedRateOf(const RateRowTexts& row, std::int32_t decimals) {
  if (!IsPlainDigits(row.integerText) || !IsPlainDigits(row.decimalText)) return std::nullopt;
  const std::size_t d = static_cast<std::size_t>(EffectiveDecimals(decimals));

  // D x 10^-d: the digits above the d-th decimal carry into the integer part.
  std::string carried;
  std::string fraction = row.decimalText;
  if (fraction.size() > d) {
    carried = fraction.substr(0, fraction.size() - d);
    fraction.erase(0, fraction.size() - d);
  } else {
    fraction.insert(0, d - fraction.size(), '0');
  }
  std::string integer =
      WithoutLeadingZeros(AddDigits(WithoutLeadingZeros(row.integerText), carried));
  if (integer.empty()) integer = "0";

  SavedRate saved;
  saved.text = integer + "." + (d == 0 ? std::string("0") : fraction);
  const std::optional<Real48> value = Stored(*ParseReal(saved.text));
  if (!value) return std::nullopt;
  saved.value = *value;
  return saved;
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

std::string RateText(const RateRowTexts& row, std::int32_t decimals) {
  const std::size_t d = static_cast<std::size_t>(EffectiveDecimals(decimals));
  std::string fraction = row.decimalText;
  if (d == 0) {
    fraction = "0";
  } else if (fraction.size() < d) {
    fraction.insert(0, d - fraction.size(), '0');
  }
  return row.integerText + "." + fraction;
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
    const RateRowTexts& row = rows[k];
    if (untouched[k] || (row.integerText.empty() && row.decimalText.empty())) continue;
    UnitRecord& unit = category.unit(u);
    const std::optional<long double> parsed = ParseReal(RateText(row, unit.Decimals));
    if (!parsed) continue;
    if (const std::optional<Real48> value = Stored(*parsed)) {
      unit.Factor = *value;
      read[k] = true;
    }
  }
  return read;
}

Real48 RateFromParts(std::int32_t integerPart, std::int32_t decimalPart, std::int32_t decimals) {
  Real48 r(static_cast<long double>(decimalPart));
  const int d = EffectiveDecimals(decimals);
  for (int k = 0; k < d; ++k) r = Real48(r.value() * 0.1L);
  return Real48(r.value() + static_cast<long double>(integerPart));
}

std::optional<RateReadError> ReadRatesFromPanel(CategoryRecord& category,
                                                const RatePanelTexts& rows,
                                                const std::array<bool, kUnitsPerCategory>& rowShown,
                                                const UntouchedRows& untouched) {
  for (int u = 1; u <= kUnitsPerCategory; ++u) {
    const std::size_t k = static_cast<std::size_t>(u - 1);
    if (!rowShown[k] || untouched[k]) continue;
    const std::optional<std::int32_t> integerPart = ParseWholeNumber(rows[k].integerText);
    if (!integerPart) return RateReadError{u, false};
    const std::optional<std::int32_t> decimalPart = ParseWholeNumber(rows[k].decimalText);
    if (!decimalPart) return RateReadError{u, true};
    UnitRecord& unit = category.unit(u);
    unit.Factor = RateFromParts(*integerPart, *decimalPart, unit.Decimals);
  }
  return std::nullopt;
}

std::optional<std::string> SavedRateText(const RateRowTexts& row, std::int32_t decimals) {
  std::optional<SavedRate> saved = SavedRateOf(row, decimals);
  if (!saved) return std::nullopt;
  return std::move(saved->text);
}

void SaveRates(CategoryRecord& category, const RatePanelTexts& rows,
               const std::function<void(int unit, const std::string& text)>& writeData,
               const UntouchedRows& untouched) {
  for (int u = 1; u <= kUnitsPerCategory; ++u) {
    UnitRecord& unit = category.unit(u);
    const std::size_t k = static_cast<std::size_t>(u - 1);
    if (untouched[k]) {
      if (unit.isEmpty()) continue;
      // The row's own text where it reads back as the factor, as it was
      // always saved; the factor's shortest text where the row shows it cut.
      const std::optional<SavedRate> shown = SavedRateOf(rows[k], unit.Decimals);
      const bool exact = shown && shown->value.bytes() == unit.Factor.bytes();
      writeData(u, exact ? shown->text : ShortestRealText(unit.Factor));
      continue;
    }
    const std::optional<SavedRate> saved = SavedRateOf(rows[k], unit.Decimals);
    if (!saved) continue;
    // The file first: a failed write leaves this factor as it was.
    writeData(u, saved->text);
    unit.Factor = saved->value;
  }
}

}  // namespace hk
