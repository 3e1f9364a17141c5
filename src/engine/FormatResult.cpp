#include "engine/FormatResult.h"

#include <cmath>

#include "data/DecimalFormat.h"
#include "data/ShiftJis.h"

namespace hk {

std::string FormatResult(long double value, int decimals, int width) {
  if (std::isnan(value) || std::isinf(value)) {
    std::string text = std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF");
    if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), ' ');
    return text;
  }
  if (decimals < 0) return FormatExponent(value, width);
  const DecimalDigits digits = ToDecimalDigits(value);
  if (digits.count > 0 && digits.pointPosition > 36) return FormatExponent(value, width);
  return FormatFixed(digits, decimals, width);
}

std::string ClipboardTextOf(const std::string& resultText) { return RemoveByte(resultText, ' '); }

}  // namespace hk
