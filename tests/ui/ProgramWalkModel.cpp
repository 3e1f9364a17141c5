// The model's side of a step: what the program must have done, from the
// rules the user goes by.
#include <cmath>
#include <string>
#include <vector>

#include "ui/ProgramWalk.h"

namespace hk::walk {

bool ProgramWalk::expectConversion() {
  if (m.from < 1 || m.to < 1 || m.input.empty()) return false;
  const std::string cleaned = WithoutCommas(m.input);
  if (m.page == 3) expectPanelRead(false);
  const ModelCategory& category = m.table[m.category];
  if (m.category == kNumberBaseCategory) {
    const BaseResult base = ConvertBase(cleaned, m.from, m.to);
    if (!base.ok) {
      tell(Told::BaseError);
      e.beeps.push_back(0);
      return false;
    }
    m.result = {ShownResult::Kind::Text, base.text};
    appendRecord(cleaned, 0, 0);
    return true;
  }
  const std::optional<long double> parsed = ReadReal(cleaned);
  if (!parsed) {
    e.beeps.push_back(1);
    return false;
  }
  const auto stored = [this](long double value, const std::string& what) {
    const Fits fits = FitsStore(value);
    if (fits == Fits::Unsure) fail("the walk cannot tell whether " + what + " overflows");
    if (fits != Fits::Yes) tell(Told::Overflow);
    return fits == Fits::Yes;
  };
  if (!stored(*parsed, "the input")) return false;
  const long double source = std::fabs(*parsed) < kSmallest ? 0 : *parsed;
  long double result = 0;
  long double slack = 0;
  if (m.category == kTemperatureCategory) {
    result = ConvertTemperature(source, m.from, m.to);
  } else {
    if (m.page == 3) expectPanelRead(true);
    const long double to = category.unit(m.to).factor;
    const long double from = category.unit(m.from).factor;
    if (from == 0) {
      tell(source * to == 0 ? Told::InvalidOperation : Told::DivideByZero);
      return false;
    }
    result = source * to / from;
    const ModelUnit& toUnit = category.unit(m.to);
    const ModelUnit& fromUnit = category.unit(m.from);
    slack = std::fabs(result) *
            ((to == 0 ? 0 : toUnit.slack / std::fabs(to)) + fromUnit.slack / std::fabs(from));
  }
  if (!stored(result, "the result")) return false;
  if (std::fabs(result) < kSmallest) result = 0;
  m.result = {ShownResult::Kind::Value, "", result, slack, category.unit(m.to).decimals};
  appendRecord(cleaned, source, result);
  m.records.back().resultSlack = slack;
  return true;
}

void ProgramWalk::appendRecord(const std::string& cleaned, long double source, long double result) {
  if (m.records.size() == static_cast<std::size_t>(kHistoryCapacity)) m.records.clear();
  m.records.push_back({cleaned, unitName(m.from), unitName(m.to), source, result, 0, kSignNone});
  e.historyTouched = true;
  e.appended = true;
  const bool copied =
      m.result.kind == ShownResult::Kind::Value || !WithoutBlanks(m.result.text).empty();
  if (m.autoClip && copied) {
    ++e.clipboardSets;
    e.clipboardFromResult = true;
  }
}

void ProgramWalk::expectUnitChosen(bool toSide, int unit) {
  int& chosen = toSide ? m.to : m.from;
  const int before = chosen;
  chosen = unit;
  if (before == unit) return;
  if (!toSide) {
    m.fromName = unitName(unit);
    expectConversion();
    return;
  }
  m.toName = unitName(unit);
  // A value converted to another unit never stands beside this one.
  if (!expectConversion()) m.result = {ShownResult::Kind::Text, ""};
}

void ProgramWalk::expectUnitsShown() {
  m.from = -1;
  m.to = -1;
  for (int u = 1; u <= kUnitsPerCategory; ++u) {
    m.unitEnabled[static_cast<std::size_t>(u)] = m.table[m.category].unit(u).factor != 0;
  }
  m.panelShown = m.page == 3;
  if (m.panelShown) expectPanelFilled();
}

void ProgramWalk::expectPanelFilled() {
  m.panelTouched = false;
  for (int row = 1; row <= kUnitsPerCategory; ++row) {
    PanelRow& p = m.panel[static_cast<std::size_t>(row - 1)];
    const ModelUnit& unit = m.table[m.category].unit(row);
    p.shown = unit.factor != 0;
    p.integerText = form->RateEdit(row).text();
    p.decimalText = form->RateEdit(kUnitsPerCategory + row).text();
    p.read = false;
    p.saved.reset();
    if (form->RateEdit(row).enabled() != p.shown) {
      fail("rate row " + std::to_string(row) + (p.shown ? " is off" : " is on") +
           " for a factor of " + std::to_string(static_cast<double>(unit.factor)));
      continue;
    }
    if (!p.shown) continue;
    // The row shows its factor to the unit's decimals, cut toward zero where
    // the factor is finer.
    const std::optional<long double> reading =
        RawRateOfRow(p.integerText, p.decimalText, unit.decimals);
    const long double f = unit.factor;
    const long double step = std::pow(10.0L, -unit.decimals);
    const long double slack = (std::fabs(f) + unit.slack) * 0x1p-34L;
    const bool cut = reading && std::fabs(f - *reading) < step * (1 + 1e-9L) + slack &&
                     std::fabs(*reading) <= std::fabs(f) + slack;
    if (!cut && !(!reading && std::fabs(f) >= 2147483648.0L)) {
      fail("rate row " + std::to_string(row) + " shows " + rowTexts(row) + " for a factor of " +
           std::to_string(static_cast<double>(f)));
    }
  }
  // A focused edit whose row went off gives the focus back to the input.
  if (m.focus != 0 && !m.panel[static_cast<std::size_t>((m.focus - 1) % kUnitsPerCategory)].shown) {
    m.focus = 0;
  }
}

void ProgramWalk::expectPanelRead(bool report) {
  if (!m.panelShown) return;
  m.panelTouched = true;
  int firstBad = 0;
  bool badInteger = false;
  for (int row = 1; row <= kUnitsPerCategory; ++row) {
    PanelRow& p = m.panel[static_cast<std::size_t>(row - 1)];
    if (!p.shown) continue;
    const std::string& i = form->RateEdit(row).text();
    const std::string& d = form->RateEdit(kUnitsPerCategory + row).text();
    // A row as it was filled stands for its factor to the last bit.
    if (!p.read && i == p.integerText && d == p.decimalText) continue;
    ModelUnit& unit = m.table[m.category].unit(row);
    if (const std::optional<long double> reading = RateOfRow(i, d, unit.decimals)) {
      unit.factor = *reading;
      unit.slack = PartsOfRow(i, d, unit.decimals);
      unit.bits.reset();
      p.read = true;
    } else if (report && firstBad == 0) {
      firstBad = row;
      // A row of two whole numbers is refused for its value, told at its
      // integer part.
      badInteger = !ReadWhole(i) || ReadWhole(d);
    }
  }
  if (firstBad == 0) return;
  e.beeps.push_back(0);
  tell(Told::RateError);
  m.focus = firstBad + (badInteger ? 0 : kUnitsPerCategory);
}

void ProgramWalk::expectSavePoint(bool exiting) {
  if (!m.panelShown) return;
  const int n = m.category;
  // A row shows other texts than it was filled with, or a conversion read it.
  bool edited = false;
  for (int row = 1; row <= kUnitsPerCategory; ++row) {
    const PanelRow& p = m.panel[static_cast<std::size_t>(row - 1)];
    const std::size_t k = static_cast<std::size_t>(row - 1);
    const bool retyped =
        ratesBefore[k] != p.integerText || ratesBefore[k + kUnitsPerCategory] != p.decimalText;
    if (!p.shown) continue;
    if (p.saved ? p.saved->first != ratesBefore[k] ||
                      p.saved->second != ratesBefore[k + kUnitsPerCategory]
                : (p.read || retyped)) {
      edited = true;
    }
  }
  // Browsing writes nothing; rates kept from a refused save are due again.
  if (!edited && m.unsaved.count(n) == 0 && !exiting) return;
  e.ratesMayChange.insert(n);
  for (int row = 1; row <= kUnitsPerCategory; ++row) {
    PanelRow& p = m.panel[static_cast<std::size_t>(row - 1)];
    const std::size_t k = static_cast<std::size_t>(row - 1);
    const std::string& i = ratesBefore[k];
    const std::string& d = ratesBefore[k + kUnitsPerCategory];
    if (!p.shown || (!p.read && i == p.integerText && d == p.decimalText)) continue;
    ModelUnit& unit = m.table[n].unit(row);
    if (const std::optional<long double> reading = RateOfRow(i, d, unit.decimals)) {
      unit.factor = *reading;
      unit.slack = PartsOfRow(i, d, unit.decimals);
      unit.bits.reset();
      p.read = true;
    }
  }
  if (!storage.refusing) {
    e.saved.push_back(n);
    m.rateRefusalTold = false;
    for (int row = 1; row <= kUnitsPerCategory; ++row) {
      PanelRow& p = m.panel[static_cast<std::size_t>(row - 1)];
      const std::size_t k = static_cast<std::size_t>(row - 1);
      const bool alone = !p.read && ratesBefore[k] == p.integerText &&
                         ratesBefore[k + kUnitsPerCategory] == p.decimalText;
      if (p.shown && !alone) p.saved = {ratesBefore[k], ratesBefore[k + kUnitsPerCategory]};
    }
    return;
  }
  if (exiting) return;  // the exit's own refusal is told
  // Refused: the rates stay in memory until a later save or the exit, and
  // the user hears of the file once until a save goes through.
  m.unsaved.insert(n);
  if (!m.rateRefusalTold) tell(Told::WriteFailure);
  m.rateRefusalTold = true;
}

Fits TotalsFit(const std::vector<ModelRecord>& records) {
  long double target = 0;
  long double result = 0;
  Fits worst = Fits::Yes;
  for (const ModelRecord& r : records) {
    if (r.sign == kSignNone) continue;
    const long double sign = r.sign == kSignAdd ? 1 : -1;
    target += sign * r.targetValue;
    result += sign * r.resultValue;
    for (const long double partial : {target, result}) {
      const Fits fits = FitsStore(partial);
      if (fits == Fits::No) return Fits::No;
      if (fits == Fits::Unsure) worst = Fits::Unsure;
    }
  }
  return worst;
}

void ProgramWalk::expectMark(int row, std::uint8_t sign, bool cycle) {
  ModelRecord& record = m.records[static_cast<std::size_t>(row - 1)];
  e.historyTouched = true;
  const std::uint8_t before = record.sign;
  // A click that cannot add goes on to subtract, and so round the cycle.
  for (int turn = 1; turn <= (cycle ? 2 : 1); ++turn) {
    record.sign = cycle ? static_cast<std::uint8_t>((before + turn) % 3) : sign;
    const Fits fits = TotalsFit(m.records);
    if (fits == Fits::Unsure) fail("the walk cannot tell whether the totals overflow");
    if (fits == Fits::Yes) return;
    allow(Told::Overflow);
  }
  record.sign = before;
}

void ProgramWalk::expectDelete(int row) {
  m.records.erase(m.records.begin() + (row - 1));
  e.historyTouched = true;
  const Fits fits = TotalsFit(m.records);
  if (fits == Fits::Unsure) fail("the walk cannot tell whether the totals overflow");
  if (fits == Fits::Yes) return;
  // The totals cannot be had: the user is told, and marks go until they can.
  e.mustTell = true;
  e.anyTold = true;
  e.marksMayClear = true;
}

bool ProgramWalk::expectDialogOk(TCalcCustomForm& dialog,
                                 const std::array<std::string, kUnitsPerCategory>& shown) {
  if (storage.refusing) {
    tell(Told::WriteFailure);
    return false;
  }
  const int n = dialog.EditedCategory;
  const std::string section = "BUNRUI" + std::to_string(n);
  ModelCategory& category = m.table[n];
  // The name and the picture go first, whatever the rows hold.
  mayWrite(section, "NAME");
  mayWrite(section, "ICON");
  category.name = dialog.NameEdit.text();
  category.iconKind = dialog.IconComboBox.itemIndex();
  std::array<std::optional<long double>, kUnitsPerCategory> typed;
  for (int row = 1; row <= kUnitsPerCategory; ++row) {
    const std::string& text = dialog.ValueEdit(row).text();
    if (text == shown[static_cast<std::size_t>(row - 1)]) continue;  // left alone: kept
    const std::optional<long double> value = ReadReal(text);
    const Fits fits = value ? FitsStore(*value) : Fits::No;
    if (fits == Fits::Unsure) fail("the walk cannot tell whether " + text + " fits");
    if (fits != Fits::Yes) {
      tell(Told::RowError);
      return false;
    }
    typed[static_cast<std::size_t>(row - 1)] = std::fabs(*value) < kSmallest ? 0 : *value;
  }
  for (int row = 1; row <= kUnitsPerCategory; ++row) {
    for (const char* key : {"Button", "DATA", "POINT", "COLOR"}) {
      mayWrite(section, key + std::to_string(row));
    }
    ModelUnit& unit = category.unit(row);
    unit.name = PaddedName(dialog.TanniEdit(row).text());
    if (const auto& value = typed[static_cast<std::size_t>(row - 1)]) {
      unit.factor = *value;
      unit.bits = Real48(*value).bytes();
      unit.slack = 0;
    }
    unit.decimals = dialog.ShosuCombo(row).itemIndex();
    unit.colour = ColourOfIndex(dialog.ColorCombo(row).itemIndex());
  }
  m.unsaved.erase(n);
  return true;
}

}  // namespace hk::walk
