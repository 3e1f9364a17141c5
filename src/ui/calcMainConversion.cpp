// The main window's conversion: its triggers, the result display, the
// clipboard copy, the history, and the money page's rate panel that feeds
// the factors.
#include <array>
#include <cstddef>
#include <exception>
#include <optional>
#include <string>
#include <utility>

#include "data/ProfileFile.h"
#include "engine/Conversion.h"
#include "engine/FormatResult.h"
#include "engine/Rates.h"
#include "platform/Dispatcher.h"
#include "ui/calcMain.h"

namespace hk {

namespace {

constexpr char kEnter = '\r';
constexpr const char* kFixedRateHint =
    "桁が多く、ここでは直せません。ﾒﾆｭｰの「変換ﾃﾞｰﾀをｶｽﾄﾏｲｽﾞ」で直します";
// How far the rows go down when the date line takes its place under the
// heading.
constexpr int kRateDateRoom = 14;

RatePanelTexts RateTextsOf(const TCalcMainForm& form) {
  RatePanelTexts rows;
  for (int row = 1; row <= kUnitsPerCategory; ++row) {
    RateRowTexts& texts = rows[static_cast<std::size_t>(row - 1)];
    texts.integerText = form.RateEdit(row).text();
    texts.decimalText = form.RateEdit(kUnitsPerCategory + row).text();
  }
  return rows;
}

// The rows that still stand for their factors as they are: those that show
// what ShowRates filled them with and have not been read since.
UntouchedRows LeftAlone(const TCalcMainForm& form, const RatePanelTexts& rows) {
  UntouchedRows untouched = UntouchedRowsOf(rows, form.FilledRates);
  for (std::size_t k = 0; k < untouched.size(); ++k) {
    if (form.RatesRead[k]) untouched[k] = false;
  }
  return untouched;
}

bool SameTexts(const RateRowTexts& a, const RateRowTexts& b) {
  return a.integerText == b.integerText && a.decimalText == b.decimalText;
}

void ApplySpinner(UpDown& spinner, const SpinnerSetting& setting) {
  spinner.setMaximum(setting.maximum);
  spinner.setMinimum(setting.minimum);
  spinner.setPosition(setting.position);
}

}  // namespace

// The rate panel ----------------------------------------------------------

void TCalcMainForm::ShowRates(int row) {
  const RateRowDisplay shown = RateRowOf(table_[Selection.CurrentCategory].unit(row));
  Edit& integerEdit = RateEdit(row);
  Edit& decimalEdit = RateEdit(kUnitsPerCategory + row);
  UpDown& integerSpinner = RateUpDown(row);
  UpDown& decimalSpinner = RateUpDown(kUnitsPerCategory + row);

  MoneyLabel(row).setText(shown.label);
  integerEdit.setText(shown.integerText);
  if (shown.enabled) ApplySpinner(integerSpinner, shown.integerSpinner);
  decimalEdit.setText(shown.decimalText);
  if (shown.enabled) ApplySpinner(decimalSpinner, shown.decimalSpinner);
  // A rate with more digits than the row takes is shown as it is and kept
  // to the last bit; the customisation dialog is where it changes.
  const bool fixed = shown.enabled && !shown.editable;
  const std::string hint = fixed ? kFixedRateHint : std::string();
  MoneyLabel(row).setHint(hint);
  for (Edit* edit : {&integerEdit, &decimalEdit}) {
    edit->setEnabled(shown.enabled);
    edit->setReadOnly(fixed);
    edit->setColour(fixed ? kColourButtonFace : kColourWindow);
    edit->setHint(hint);
  }
  integerSpinner.setEnabled(shown.enabled && !fixed && shown.integerSpinner.usable);
  decimalSpinner.setEnabled(shown.enabled && !fixed && shown.decimalSpinner.usable);
  FilledRates[static_cast<std::size_t>(row - 1)] = {shown.integerText, shown.decimalText};
  RatesRead[static_cast<std::size_t>(row - 1)] = false;
  SavedRates[static_cast<std::size_t>(row - 1)].reset();
  Selection.RatesCategory = Selection.CurrentCategory;
}

void TCalcMainForm::ShowRateDate() {
  const std::string& date = table_[Selection.CurrentCategory].RateDate;
  RateDateLabel.setText(date.empty() ? std::string() : date + " 更新");
  RateDateLabel.setVisible(!date.empty());
  bool anyDate = false;
  for (int c = kFirstMoneyCategory; c <= kCategoryCount; ++c) {
    anyDate = anyDate || !table_[c].RateDate.empty();
  }
  // The rows stay where they are while the categories are gone through.
  const int down = anyDate ? kRateDateRoom : 0;
  if (down != rateRowsDown_) placeRateRows(down);
}

void TCalcMainForm::writeRateDate(std::int32_t category) {
  const std::string date = DateText(services_.today());
  if (settings_->writeRateDateIfChanged(category, date)) table_[category].RateDate = date;
}

void TCalcMainForm::Edit1Change() {
  // Only the panel of a shown money category has rates to change.
  if (Selection.RatesCategory != 0) Selection.RatesChanged = true;
}

RateRows TCalcMainForm::ApplyRateTexts() {
  const RatePanelTexts rows = RateTextsOf(*this);
  const RateRows read =
      hk::ApplyRateTexts(table_[Selection.CurrentCategory], rows, LeftAlone(*this, rows));
  for (std::size_t k = 0; k < read.size(); ++k) RatesRead[k] = RatesRead[k] || read[k];
  return read;
}

bool TCalcMainForm::ReadRatesFromPanel() {
  // The rows ShowRates filled: those of the units that are there, wherever a
  // customised category leaves a gap.
  std::array<bool, kUnitsPerCategory> shown{};
  for (int row = 1; row <= kUnitsPerCategory; ++row) {
    shown[static_cast<std::size_t>(row - 1)] = RateEdit(row).enabled();
  }
  const RatePanelTexts rows = RateTextsOf(*this);
  const UntouchedRows untouched = LeftAlone(*this, rows);
  const std::optional<RateReadError> error =
      hk::ReadRatesFromPanel(table_[Selection.CurrentCategory], rows, shown, untouched);
  // The rows before the one it stopped at were read.
  const int readUpTo = error ? error->row - 1 : kUnitsPerCategory;
  for (int row = 1; row <= readUpTo; ++row) {
    const std::size_t k = static_cast<std::size_t>(row - 1);
    if (shown[k] && !untouched[k]) RatesRead[k] = true;
  }
  if (!error) return true;
  services_.beep(0);
  services_.messageBox("数値異常", "ｴﾗｰ", kMbOk);
  RateEdit(error->inDecimalPart ? kUnitsPerCategory + error->row : error->row).focus();
  return false;
}

void TCalcMainForm::SaveRates() {
  const std::int32_t category = Selection.CurrentCategory;
  // Rates belong to a money category, and to the one whose rows the panel
  // holds: nothing typed anywhere may reach another category's section.
  if (!settings_ || category < kFirstMoneyCategory || category > kCategoryCount ||
      category != Selection.RatesCategory) {
    return;
  }
  // The rows go into the factors before anything is written: a file that
  // refuses the rates must not take them from the program as well.
  ApplyRateTexts();
  SettingsFile& settings = *settings_;
  const RatePanelTexts rows = RateTextsOf(*this);
  const UntouchedRows untouched = LeftAlone(*this, rows);
  hk::WriteRates(
      table_[category], rows,
      [&](int unit, const std::string& text) { settings.writeRate(category, unit, text); },
      untouched);
  writeRateDate(category);
  // Every row not left alone is in the file with the factor it converts
  // with, a refused one too: nothing is left to save until its texts change.
  for (std::size_t k = 0; k < rows.size(); ++k) {
    if (!untouched[k]) SavedRates[k] = rows[k];
  }
}

bool TCalcMainForm::RatesShown() const {
  return Selection.CurrentPage == 3 && Selection.RatesCategory == Selection.CurrentCategory;
}

bool TCalcMainForm::RatesEdited() const {
  if (!RatesShown()) return false;
  const RatePanelTexts rows = RateTextsOf(*this);
  const UntouchedRows untouched = LeftAlone(*this, rows);
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const bool edited = SavedRates[k] ? !SameTexts(rows[k], *SavedRates[k]) : !untouched[k];
    if (edited) return true;
  }
  return false;
}

bool TCalcMainForm::RatesToSave() const {
  return RatesShown() && (UnsavedRates.count(Selection.CurrentCategory) != 0 || RatesEdited());
}

void TCalcMainForm::SaveRatesOnLeaving() {
  if (!RatesToSave()) {
    // A saved row may have converted with other texts before going back to
    // its saved ones: its factor takes them again, as the file has them.
    if (RatesShown()) ApplyRateTexts();
    return;
  }
  const std::int32_t category = Selection.CurrentCategory;
  try {
    SaveRates();
  } catch (const ProfileWriteError& error) {
    // The way on stays open: the factors keep the rates for the rest of the
    // run, and the next save of this category or the exit writes them. The
    // user hears of the file once, not at every click that meets it.
    UnsavedRates.insert(category);
    if (!RateSaveFailureTold) ReportError(error);
    RateSaveFailureTold = true;
    return;
  }
  UnsavedRates.erase(category);
  RateSaveFailureTold = false;
  // The panel may stay on the category: the customisation dialog cancelled.
  ShowRateDate();
}

void TCalcMainForm::SaveRatesAtExit() {
  if (!settings_) return;
  if (RatesToSave()) {
    SaveRates();
    UnsavedRates.erase(Selection.CurrentCategory);
  }
  // The categories left while the file refused them, from their factors.
  UntouchedRows everyRowAlone;
  everyRowAlone.fill(true);
  while (!UnsavedRates.empty()) {
    const std::int32_t category = *UnsavedRates.begin();
    CategoryRecord& record = table_[category];
    hk::WriteRates(
        record, RateTextsOfFactors(record),
        [&](int unit, const std::string& text) { settings_->writeRate(category, unit, text); },
        everyRowAlone);
    UnsavedRates.erase(category);
  }
  // Every date still owed, also one whose rates went in before a failed
  // write stopped their save.
  for (std::int32_t category = kFirstMoneyCategory; category <= kCategoryCount; ++category) {
    writeRateDate(category);
  }
}

// The conversion ---------------------------------------------------------

void TCalcMainForm::TargetEditKeyPress(char& key) {
  if (key == kEnter) RunConversion();
}

void TCalcMainForm::TargetEditChange() { RunConversion(); }

void TCalcMainForm::Button1Click() {
  // Enter anywhere in the window lands here, and only here.
  char key = kEnter;
  TargetEditKeyPress(key);
}

void TCalcMainForm::RunConversion(bool* shown) {
  RatePanelHooks hooks;
  hooks.firstRefresh = [this] { ApplyRateTexts(); };
  hooks.readRatesFromPanel = [this] { ReadRatesFromPanel(); };
  // Floating-point faults go on to the general error report with nothing
  // shown or recorded.
  const ConversionOutcome outcome = hk::RunConversion(table_, Selection, TargetEdit.text(), hooks);
  switch (outcome.end) {
    case ConversionEnd::Silent:
      return;
    case ConversionEnd::InvalidText:
      services_.beep(1);
      return;
    case ConversionEnd::BaseError:
      services_.messageBox(outcome.messageText, outcome.messageTitle, kMbOk);
      services_.beep(0);
      return;
    case ConversionEnd::Converted:
      break;
  }

  const bool repeated = ResultValueLabel.text() == outcome.resultText;
  ResultValueLabel.setText(outcome.resultText);
  if (shown) *shown = true;
  // The same result again changes no text, but a listener waits for it.
  if (repeated) ResultPanel.valueShown();
  LastResultText = outcome.resultText;
  // A clipboard that cannot be had costs the history nothing: the record goes
  // in first, and the failure then reaches the general error report.
  std::exception_ptr clipboardFailure;
  if (Selection.AutoClip) {
    try {
      CopyResultToClipboard(LastResultText);
    } catch (...) {
      clipboardFailure = std::current_exception();
    }
  }

  HistoryRecord record;
  record.TargetText = outcome.targetText;
  record.TargetTanni = outcome.targetTanni;
  record.ResultText = outcome.resultText;
  record.ResultTanni = outcome.resultTanni;
  record.TargetValue = outcome.targetValue;
  record.ResultValue = outcome.resultValue;
  history_.AppendHistory(std::move(record));
  if (HistoryWindowRefresh) HistoryWindowRefresh();
  if (clipboardFailure) std::rethrow_exception(clipboardFailure);
}

void TCalcMainForm::CopyResultToClipboard(const std::string& text) {
  const std::string copy = ClipboardTextOf(text);
  if (Selection.AutoClip && !copy.empty()) services_.setClipboardText(copy);
}

}  // namespace hk
