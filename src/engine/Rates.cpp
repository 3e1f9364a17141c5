#include "engine/Rates.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <utility>

#include "data/DecimalFormat.h"
#include "data/FloatFault.h"
#include "data/NumberSyntax.h"

namespace hk {

namespace {

constexpr std::int64_t kSpinnerMinimum = -32768;
constexpr std::int64_t kSpinnerMaximum = 32767;

// A Real48 of a decimal with at most 11 significant digits gives that decimal
// back at 11 digits; at 12 it may not.
constexpr int kFaithfulDigits = 11;

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

// A magnitude as 0.digits x 10^pointPosition, rounded half up to 11
// significant digits, without trailing zeros.
struct ShortDigits {
  std::string digits;
  int pointPosition = 0;

  char at(int index) const {
    return index >= 0 && index < static_cast<int>(digits.size())
               ? digits[static_cast<std::size_t>(index)]
               : '0';
  }
};

ShortDigits FaithfulDigits(long double value) {
  const DecimalDigits full = ToDecimalDigits(value);
  ShortDigits d;
  d.pointPosition = full.pointPosition;
  d.digits.assign(full.digits, static_cast<std::size_t>(std::min(full.count, kFaithfulDigits)));
  if (full.count > kFaithfulDigits && full.digits[kFaithfulDigits] >= '5') {
    int i = kFaithfulDigits - 1;
    for (; i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9'; --i) {
      d.digits[static_cast<std::size_t>(i)] = '0';
    }
    if (i >= 0) {
      ++d.digits[static_cast<std::size_t>(i)];
    } else {
      d.digits.insert(d.digits.begin(), '1');
      ++d.pointPosition;
    }
  }
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  return d;
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

  const long double factor = unit.Factor.value();
  const bool negative = factor < 0;
  const ShortDigits digits = FaithfulDigits(factor);
  const int d = EffectiveDecimals(unit.Decimals);

  std::string integerDigits;
  for (int i = 0; i < digits.pointPosition; ++i) integerDigits.push_back(digits.at(i));
  if (integerDigits.empty()) integerDigits = "0";
  std::string fractionDigits;
  for (int j = 0; j < d; ++j) fractionDigits.push_back(digits.at(digits.pointPosition + j));

  row.enabled = true;
  row.label = unit.Name;
  row.integerText = (negative ? "-" : "") + integerDigits;
  row.decimalText = WithoutLeadingZeros(fractionDigits);
  if (row.decimalText.empty()) row.decimalText = "0";

  // The integer part as the 32-bit edit value, clamped; the spinner's own
  // clamp to 16 bits follows.
  const std::int64_t magnitude =
      SaturatedValue(integerDigits, std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1);
  std::int64_t i = negative ? -magnitude : magnitude;
  i = std::min<std::int64_t>(i, std::numeric_limits<std::int32_t>::max());
  row.integerSpinner.maximum = ToSpinner(i > 1 ? 2 * i : 10);
  row.integerSpinner.minimum = ToSpinner(i / 2);
  row.integerSpinner.position = ToSpinner(i);

  std::int64_t scale = 1;  // 10^d, as far as the spinner can tell
  for (int k = 0; k < d && scale <= kSpinnerMaximum; ++k) scale *= 10;
  row.decimalSpinner.minimum = 0;
  row.decimalSpinner.maximum = ToSpinner(scale - 1);
  row.decimalSpinner.position = ToSpinner(SaturatedValue(row.decimalText, kSpinnerMaximum));
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

void ApplyRateTexts(CategoryRecord& category, const RatePanelTexts& rows) {
  for (int u = 1; u <= kUnitsPerCategory; ++u) {
    const RateRowTexts& row = rows[static_cast<std::size_t>(u - 1)];
    if (row.integerText.empty() && row.decimalText.empty()) continue;
    UnitRecord& unit = category.unit(u);
    const std::optional<long double> parsed = ParseReal(RateText(row, unit.Decimals));
    if (!parsed) continue;
    if (const std::optional<Real48> value = Stored(*parsed)) unit.Factor = *value;
  }
}

Real48 RateFromParts(std::int32_t integerPart, std::int32_t decimalPart, std::int32_t decimals) {
  Real48 r(static_cast<long double>(decimalPart));
  const int d = EffectiveDecimals(decimals);
  for (int k = 0; k < d; ++k) r = Real48(r.value() * 0.1L);
  return Real48(r.value() + static_cast<long double>(integerPart));
}

std::optional<RateReadError> ReadRatesFromPanel(
    CategoryRecord& category, const RatePanelTexts& rows,
    const std::array<bool, kUnitsPerCategory>& rowShown) {
  for (int u = 1; u <= kUnitsPerCategory; ++u) {
    const std::size_t k = static_cast<std::size_t>(u - 1);
    if (!rowShown[k]) continue;
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
               const std::function<void(int unit, const std::string& text)>& writeData) {
  for (int u = 1; u <= kUnitsPerCategory; ++u) {
    UnitRecord& unit = category.unit(u);
    const std::optional<SavedRate> saved =
        SavedRateOf(rows[static_cast<std::size_t>(u - 1)], unit.Decimals);
    if (!saved) continue;
    // The file first: a failed write leaves this factor as it was.
    writeData(u, saved->text);
    unit.Factor = saved->value;
  }
}

}  // namespace hk
