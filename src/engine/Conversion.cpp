#include "engine/Conversion.h"

#include <optional>

#include "data/FloatFault.h"
#include "data/NumberSyntax.h"
#include "data/ShiftJis.h"
#include "engine/FormatResult.h"
#include "engine/NumberBase.h"
#include "engine/Temperature.h"

namespace hk {

ConversionOutcome RunConversion(const CategoryTable& table, const SelectionState& selection,
                                std::string_view text, const RatePanelHooks& hooks) {
  ConversionOutcome outcome;
  if (selection.FromUnit < 1 || selection.ToUnit < 1 || text.empty()) return outcome;

  const std::string cleaned = RemoveByte(text, ',');
  const bool moneyPage = selection.CurrentPage == 3;
  if (moneyPage && selection.RatesChanged && hooks.firstRefresh) hooks.firstRefresh();

  const int category = selection.CurrentCategory;
  const int from = selection.FromUnit;
  const int to = selection.ToUnit;

  if (category == kNumberBaseCategory) {
    if (from == to) {
      outcome.resultText = cleaned;
    } else {
      NumberBaseResult converted = ConvertNumberBase(cleaned, from, to);
      if (!converted.ok) {
        outcome.end = ConversionEnd::BaseError;
        outcome.messageText = std::move(converted.messageText);
        outcome.messageTitle = std::move(converted.messageTitle);
        return outcome;
      }
      outcome.resultText = std::move(converted.text);
    }
  } else {
    const std::optional<long double> parsed = ParseReal(cleaned);
    if (!parsed) {
      outcome.end = ConversionEnd::InvalidText;
      return outcome;
    }
    outcome.targetValue = Real48(*parsed);
    if (category == kTemperatureCategory) {
      outcome.resultValue = ConvertTemperature(from, to, outcome.targetValue);
    } else {
      if (moneyPage && hooks.readRatesFromPanel) hooks.readRatesFromPanel();
      const CategoryRecord& units = table[category];
      const long double product = outcome.targetValue * units.unit(to).Factor.value();
      outcome.resultValue = Real48(CheckedDivide(product, units.unit(from).Factor));
    }
    outcome.resultText = FormatResult(outcome.resultValue, table[category].unit(to).Decimals);
  }

  outcome.end = ConversionEnd::Converted;
  outcome.targetText = cleaned;
  outcome.targetTanni = table[category].unit(from).Name;
  outcome.resultTanni = table[category].unit(to).Name;
  return outcome;
}

}  // namespace hk
