// The checks after every step: the program against the model, and the
// settings file against both.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ui/ProgramWalk.h"

namespace hk::walk {

namespace {

// Whether a rate of the section reads back as another value than before.
bool ARateChanged(const IniFile& before, const IniFile& now, const std::string& section) {
  for (int unit = 1; unit <= 9; ++unit) {
    const IniFile::Key key{section, "DATA" + std::to_string(unit)};
    const auto was = before.keys.find(key);
    const auto is = now.keys.find(key);
    if (is == now.keys.end()) continue;
    if (was == before.keys.end()) return true;
    if (ReadReal(was->second.value) != ReadReal(is->second.value)) return true;
  }
  return false;
}

}  // namespace

Told Classify(const std::string& text, const std::string& title) {
  if (text == "数値異常") return Told::RateError;
  if (title == "入力ｴﾗｰ" || title == "ｵｰﾊﾞｰﾌﾛｰ") return Told::BaseError;
  if (text == "浮動小数点数のｵｰﾊﾞｰﾌﾛｰ") return Told::Overflow;
  if (text == "0 による浮動小数点数除算") return Told::DivideByZero;
  if (text == "不正な浮動小数点数演算命令") return Told::InvalidOperation;
  if (text.find("Unable to write to") != std::string::npos) return Told::WriteFailure;
  if (title == "変換値エラー") return Told::RowError;
  if (text == "温度とパソコンはｶｽﾄﾏｲｽﾞ不可") return Told::NotCustomisable;
  if (text == "計算履歴はありません") return Told::NoHistory;
  return Told::Other;
}

const char* NameOf(Told told) {
  const char* names[] = {"the rate error",     "a number-base message", "an overflow",
                         "a division by zero", "an invalid operation",  "a write failure",
                         "a row error",        "no customising",        "an empty history",
                         "something else"};
  return names[static_cast<int>(told)];
}

void ProgramWalk::beginStep() {
  e = StepExpect{};
  services->messageBoxes.clear();
  services->beeps.clear();
  services->clipboard.clear();
  errors.clear();
  if (refusalLeft > 0 && --refusalLeft == 0) storage.refusing = false;
  for (int k = 1; k <= 2 * kUnitsPerCategory; ++k) {
    ratesBefore[static_cast<std::size_t>(k - 1)] = form->RateEdit(k).text();
  }
}

void ProgramWalk::endStep() {
  checkMessages();
  checkFileChanges();
  checkSaved();
  checkScreen();
  checkTable();
  checkFileAgrees();
  if (e.historyTouched || stepNumber % 64 == 0) checkHistory();
  checkCopy();
}

void ProgramWalk::checkMessages() {
  std::vector<std::pair<std::string, std::string>> told;
  for (const RecordedMessageBox& box : services->messageBoxes) {
    told.push_back({box.text, box.title});
  }
  for (const std::string& error : errors) told.push_back({error, ""});
  std::vector<bool> matched(e.required.size(), false);
  for (const auto& [text, title] : told) {
    const Told kind = Classify(text, title);
    bool expected = false;
    for (std::size_t k = 0; k < e.required.size() && !expected; ++k) {
      if (!matched[k] && e.required[k] == kind) expected = matched[k] = true;
    }
    if (!expected) {
      expected =
          e.anyTold || std::find(e.allowed.begin(), e.allowed.end(), kind) != e.allowed.end();
    }
    if (!expected) return fail("the user was told " + Quoted(text) + " " + Quoted(title));
  }
  for (std::size_t k = 0; k < matched.size(); ++k) {
    if (!matched[k]) return fail(std::string("the user was not told of ") + NameOf(e.required[k]));
  }
  if (e.mustTell && told.empty()) return fail("the user was told nothing");
  const long writeFailures = std::count_if(told.begin(), told.end(), [](const auto& t) {
    return Classify(t.first, t.second) == Told::WriteFailure;
  });
  // Once for each write that was refused, never once for each key.
  const long writesDue = std::count(e.required.begin(), e.required.end(), Told::WriteFailure) +
                         std::count(e.allowed.begin(), e.allowed.end(), Told::WriteFailure);
  if (writeFailures > writesDue) {
    return fail("one refused write was told " + std::to_string(writeFailures) + " times");
  }
  if (!e.beepsLoose && services->beeps != e.beeps) {
    std::string heard;
    for (unsigned beep : services->beeps) heard += " " + std::to_string(beep);
    fail("the beeps were [" + heard + " ] and " + std::to_string(e.beeps.size()) + " were due");
  }
}

void ProgramWalk::checkFileChanges() {
  if (fileBeforeVersion == storage.writes) return;
  const IniFile& now = file();
  // Both maps in key order, side by side.
  auto was = fileBefore.keys.begin();
  auto is = now.keys.begin();
  while (was != fileBefore.keys.end() || is != now.keys.end()) {
    const bool onlyBefore =
        is == now.keys.end() || (was != fileBefore.keys.end() && was->first < is->first);
    const bool onlyNow = !onlyBefore && (was == fileBefore.keys.end() || is->first < was->first);
    const IniFile::Key& key = onlyBefore ? was->first : is->first;
    const std::string wasLine = onlyNow ? "(none)" : was->second.line;
    const std::string isLine = onlyBefore ? "(none)" : is->second.line;
    if (!onlyNow) ++was;
    if (!onlyBefore) ++is;
    if (wasLine == isLine) continue;
    bool mayChange = e.keysMayChange.count(key) != 0;
    const std::string& section = key.first;
    if (!mayChange && key.second.rfind("DATA", 0) == 0 && section.rfind("BUNRUI", 0) == 0) {
      const int n = std::atoi(section.c_str() + 6);
      mayChange = e.ratesMayChange.count(n) != 0;
    }
    // A money category's date moves only with a saved rate that changed.
    if (!mayChange && key.second == "DATE" && section.rfind("BUNRUI", 0) == 0) {
      const bool written =
          e.ratesMayChange.count(std::atoi(section.c_str() + 6)) != 0 ||
          e.keysMayChange.count(IniFile::Key{section, "DATA1"}) != 0;  // the dialog's OK
      mayChange = written && ARateChanged(fileBefore, now, section);
    }
    if (!mayChange) {
      return fail("[" + section + "] " + key.second + " changed from " + Quoted(wasLine) + " to " +
                  Quoted(isLine) + " in a step that does not write it");
    }
    if (key == IniFile::Key{"ZOVA", "AUTOCLIP"} && !onlyBefore &&
        now.keys.at(key).value != (m.autoClip ? "1" : "0")) {
      return fail("AUTOCLIP was written as " + Quoted(isLine));
    }
  }
  fileBefore = now;
  fileBeforeVersion = storage.writes;
}

void ProgramWalk::checkSaved() {
  // A save that went through reads back as the factors it leaves.
  if (e.saved.empty()) return;
  const CategoryTable& expected = expectedTable();
  for (const int n : e.saved) {
    m.unsaved.erase(n);
    for (int u = 1; u <= kUnitsPerCategory; ++u) {
      const Real48& inFile = expected[n].unit(u).Factor;
      const Real48& inMemory = table[n].unit(u).Factor;
      ModelUnit& unit = m.table[n].unit(u);
      if (inFile.bytes() == inMemory.bytes()) {
        // Known to the last bit from here on.
        if (Near(unit.factor, inMemory.value(), unit.slack)) {
          unit.bits = inMemory.bytes();
          unit.slack = 0;
        }
        continue;
      }
      std::ostringstream what;
      what.precision(18);
      what << "after a save the file reads back " << inFile.value() << " for unit " << u
           << " of category " << n << ", which converts with " << inMemory.value();
      return fail(what.str());
    }
  }
}

void ProgramWalk::checkScreen() {
  const SelectionState& s = form->Selection;
  if (s.CurrentPage != m.page || s.CurrentCategory != m.category) {
    return fail("the window shows page " + std::to_string(s.CurrentPage) + ", category " +
                std::to_string(s.CurrentCategory) + "; the user chose page " +
                std::to_string(m.page) + ", category " + std::to_string(m.category));
  }
  if (s.FromUnit != m.from || s.ToUnit != m.to) {
    return fail("the units chosen are " + std::to_string(s.FromUnit) + " and " +
                std::to_string(s.ToUnit) + "; the user chose " + std::to_string(m.from) + " and " +
                std::to_string(m.to));
  }
  if (form->TargetEdit.text() != m.input) {
    return fail("the input holds " + Quoted(form->TargetEdit.text()));
  }
  if (form->TargetTanniPanel.text() != m.fromName) {
    return fail("the \"from\" name is " + Quoted(form->TargetTanniPanel.text()) + ", not " +
                Quoted(m.fromName));
  }
  if (form->ResultTanniLabel.text() != m.toName) {
    return fail("the result's unit is " + Quoted(form->ResultTanniLabel.text()) + ", not " +
                Quoted(m.toName));
  }
  const Control* focused = form->focused();
  const Control* expected =
      m.focus == 0 ? static_cast<Control*>(&form->TargetEdit) : &form->RateEdit(m.focus);
  if (focused != expected) {
    return fail("the focus is not where the user left it (" + std::to_string(m.focus) + ")");
  }
  if (s.AutoClip != m.autoClip || form->ResultClipMenu->checked() != m.autoClip) {
    return fail("the automatic copy is not as the user set it");
  }
  if (form->topmost() != m.topmost || form->TopmostMenu->checked() != m.topmost) {
    return fail("keeping on top is not as the user set it");
  }
  for (int u = 1; u <= kUnitsPerCategory; ++u) {
    if (form->FromButton(u).enabled() != m.unitEnabled[static_cast<std::size_t>(u)] ||
        form->ToButton(u).enabled() != m.unitEnabled[static_cast<std::size_t>(u)]) {
      return fail("unit button " + std::to_string(u) + " is not as its unit");
    }
  }
  if (form->MoneyPanel.visible() != m.panelShown) return fail("the rate panel is not as its page");
  if ((CalcHistoryForm != nullptr) != m.historyOpen ||
      form->HistoryButton.down() != m.historyOpen) {
    return fail("the history window is not as the user left it");
  }
  checkResult();
}

void ProgramWalk::checkResult() {
  const std::string& shown = form->ResultValueLabel.text();
  if (m.result.kind == ShownResult::Kind::Text) {
    if (shown != m.result.text) {
      fail("beside " + Quoted(m.toName) + " stands " + Quoted(shown) + " where " +
           Quoted(m.result.text) + " is due");
    }
    return;
  }
  const long double x = m.result.value;
  const std::optional<ShownNumber> number = ReadShownNumber(shown);
  const bool exponent = number && number->decimals == -1;
  const long double room = exponent ? std::fabs(x) * 6e-7L
                                    : 0.5L * std::pow(10.0L, -m.result.decimals) * (1 + 1e-9L) +
                                          (std::fabs(x) + m.result.slack) * 0x1p-33L;
  const bool decimalsRight = exponent
                                 ? std::fabs(x) >= 9.9e35L
                                 : number && number->decimals == std::max(0, m.result.decimals);
  if (!number || !decimalsRight || std::fabs(number->value - x) > room) {
    std::ostringstream due;
    due.precision(18);
    due << x;
    fail("beside " + Quoted(m.toName) + " stands " + Quoted(shown) + " where " + due.str() +
         " to " + std::to_string(m.result.decimals) + " decimals is due");
  }
}

void ProgramWalk::checkTable() {
  for (int c = 1; c <= kCategoryCount; ++c) {
    const ModelCategory& model = m.table[c];
    const CategoryRecord& held = table[c];
    if (model.name != held.CategoryName || model.iconKind != held.IconKind) {
      return fail("category " + std::to_string(c) + " is " + Quoted(held.CategoryName) +
                  " where the user set " + Quoted(model.name));
    }
    for (int u = 1; u <= kUnitsPerCategory; ++u) {
      const ModelUnit& mu = model.unit(u);
      const UnitRecord& hu = held.unit(u);
      const bool factorRight =
          mu.bits ? *mu.bits == hu.Factor.bytes() : Near(mu.factor, hu.Factor.value(), mu.slack);
      if (mu.name != hu.Name || mu.decimals != hu.Decimals || mu.colour != hu.Colour ||
          !factorRight) {
        std::ostringstream what;
        what.precision(18);
        what << "unit " << u << " of category " << c << " holds " << Quoted(hu.Name) << " "
             << hu.Factor.value() << " (" << hu.Decimals << ", " << hu.Colour
             << ") where the user set " << Quoted(mu.name) << " " << mu.factor << " ("
             << mu.decimals << ", " << mu.colour << ")";
        return fail(what.str());
      }
    }
  }
}

void ProgramWalk::checkFileAgrees() {
  // Everything in memory is in the file too, but for the rates the money
  // page has not yet had reason to save and those a refused write kept.
  const CategoryTable& expected = expectedTable();
  for (int c = 1; c <= kCategoryCount; ++c) {
    if (c == kTemperatureCategory || c == kNumberBaseCategory) continue;
    const bool ratesOpen = (m.panelShown && c == m.category) || m.unsaved.count(c) != 0;
    const CategoryRecord& a = table[c];
    const CategoryRecord& b = expected[c];
    if (a.CategoryName != b.CategoryName || a.IconKind != b.IconKind) {
      return fail("category " + std::to_string(c) + " is " + Quoted(a.CategoryName) +
                  " and the file says " + Quoted(b.CategoryName));
    }
    for (int u = 1; u <= kUnitsPerCategory; ++u) {
      const UnitRecord& x = a.unit(u);
      const UnitRecord& y = b.unit(u);
      if (x.Name != y.Name || x.Decimals != y.Decimals || x.Colour != y.Colour ||
          (!ratesOpen && x.Factor.bytes() != y.Factor.bytes())) {
        std::ostringstream what;
        what.precision(18);
        what << "unit " << u << " of category " << c << " holds " << Quoted(x.Name) << " "
             << x.Factor.value() << " (" << x.Decimals << ", " << x.Colour
             << ") and the file reads back " << Quoted(y.Name) << " " << y.Factor.value() << " ("
             << y.Decimals << ", " << y.Colour << ")";
        return fail(what.str());
      }
    }
  }
}

// The marked records of the program's history summed afresh, with how far
// the stored running totals may round away from the sum.
Totals ProgramWalk::sumMarked() const {
  Totals sum;
  for (int i = 1; i <= history.HistoryCount(); ++i) {
    const HistoryRecord& r = history.record(i);
    if (r.Sign == kSignNone) continue;
    const long double sign = r.Sign == kSignAdd ? 1 : -1;
    sum.target += sign * r.TargetValue.value();
    sum.result += sign * r.ResultValue.value();
    sum.room += std::fabs(sum.target) + std::fabs(sum.result) + std::fabs(r.TargetValue.value()) +
                std::fabs(r.ResultValue.value());
  }
  sum.room *= 0x1p-37L;
  return sum;
}

void ProgramWalk::checkHistory() {
  const int count = history.HistoryCount();
  if (e.marksMayClear && count == static_cast<int>(m.records.size())) {
    // The marks that made the totals overflow were cleared; none was set.
    for (int i = 1; i <= count; ++i) {
      std::uint8_t& sign = m.records[static_cast<std::size_t>(i - 1)].sign;
      const std::uint8_t held = history.record(i).Sign;
      if (held != sign && held != kSignNone) {
        return fail("a delete set a mark on history row " + std::to_string(i));
      }
      sign = held;
    }
  }
  if (count != static_cast<int>(m.records.size())) {
    return fail("the history holds " + std::to_string(count) + " records; " +
                std::to_string(m.records.size()) + " are due");
  }
  for (int i = 1; i <= count; ++i) {
    const HistoryRecord& r = history.record(i);
    const ModelRecord& model = m.records[static_cast<std::size_t>(i - 1)];
    if (r.Sign != model.sign || r.TargetText != model.targetText ||
        r.TargetTanni != model.targetTanni || r.ResultTanni != model.resultTanni ||
        !Near(r.TargetValue.value(), model.targetValue) ||
        !Near(r.ResultValue.value(), model.resultValue, model.resultSlack)) {
      return fail("history row " + std::to_string(i) + " is " + Quoted(r.TargetText) + " " +
                  Quoted(r.TargetTanni) + " mark " + std::to_string(r.Sign) +
                  "; due: " + Quoted(model.targetText) + " " + Quoted(model.targetTanni) +
                  " mark " + std::to_string(model.sign));
    }
  }
  if (e.appended && count > 0 &&
      history.record(count).ResultText != form->ResultValueLabel.text()) {
    return fail("the newest history row says " + Quoted(history.record(count).ResultText) +
                " and the result " + Quoted(form->ResultValueLabel.text()));
  }
  const auto [target, result, room] = sumMarked();
  const long double heldTarget = history.TargetTotal().value();
  const long double heldResult = history.ResultTotal().value();
  if (std::fabs(heldTarget - target) > room || std::fabs(heldResult - result) > room) {
    std::ostringstream what;
    what.precision(18);
    what << "the totals are " << heldTarget << " and " << heldResult
         << "; the marked records sum to " << target << " and " << result;
    return fail(what.str());
  }
  if (!m.historyOpen || !CalcHistoryForm) return;
  const StringGrid& grid = CalcHistoryForm->StringGrid1;
  if (grid.rowCount() != count + 2) {
    return fail("the grid has " + std::to_string(grid.rowCount()) + " rows");
  }
  for (int i = 1; i <= count; ++i) {
    if (grid.cell(1, i) != SignText(history.record(i).Sign)) {
      return fail("the grid shows the mark of row " + std::to_string(i) + " as " +
                  Quoted(grid.cell(1, i)));
    }
  }
  for (const auto& [col, sum] : {std::pair<int, long double>{2, target}, {4, result}}) {
    const std::string& cell = grid.cell(col, count + 1);
    if (cell.empty()) continue;
    const std::optional<ShownNumber> shown = ReadShownNumber(cell);
    if (!shown || std::fabs(shown->value - sum) > room + 0.5e-5L) {
      std::ostringstream what;
      what.precision(18);
      what << "the total row shows " << Quoted(cell) << " for a sum of " << sum;
      return fail(what.str());
    }
  }
}

void ProgramWalk::checkCopy() {
  const std::vector<std::string>& clipboard = services->clipboard;
  if (!e.clipboardLoose && static_cast<int>(clipboard.size()) != e.clipboardSets) {
    return fail("the clipboard was set " + std::to_string(clipboard.size()) + " times; " +
                std::to_string(e.clipboardSets) + " were due");
  }
  if (e.clipboardFromResult && !e.copyMode && !clipboard.empty() &&
      clipboard.back() != WithoutBlanks(form->ResultValueLabel.text())) {
    return fail("the clipboard got " + Quoted(clipboard.back()) + " for the result " +
                Quoted(form->ResultValueLabel.text()));
  }
  if (!e.copyMode || e.copyUnits[0].empty() || clipboard.empty()) return;
  // The records chosen, each ended by a CR, then the total line with the
  // totals of the marked records and the newest record's units.
  const std::string& text = clipboard.back();
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\r', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  const std::string total = text.substr(start);
  const std::size_t due = e.copyLines;
  if (lines.size() != due) {
    return fail("the copy has " + std::to_string(lines.size()) + " record lines; " +
                std::to_string(due) + " are due");
  }
  const Totals& totals = copiedTotals;
  const std::string head = "合計    ";
  char* end = nullptr;
  const long double target =
      total.rfind(head, 0) == 0 ? std::strtold(total.c_str() + head.size(), &end) : 0;
  const std::string middle = " " + e.copyUnits[0] + " ";
  long double result = 0;
  bool shaped = end != nullptr && std::string(end).rfind(middle, 0) == 0;
  if (shaped) {
    const char* rest = end + middle.size();
    result = std::strtold(rest, &end);
    shaped = std::string(end) == " " + e.copyUnits[1];
  }
  if (!shaped || std::fabs(target - totals.target) > totals.room + 0.5e-5L ||
      std::fabs(result - totals.result) > totals.room + 0.5e-5L) {
    std::ostringstream what;
    what.precision(18);
    what << "the copy's total line is " << Quoted(total) << " where the marked records sum to "
         << totals.target << " and " << totals.result;
    fail(what.str());
  }
}

void ProgramWalk::checkRestart(const CategoryTable& before, int page, int category, bool writesGo) {
  checkRestartTable(before, writesGo);
  const IniFile& f = file();
  const int savedPage = ReadWhole(f.value("ZOVA", "PAGE").value_or("")).value_or(1);
  const int expectedPage = savedPage == 1 || savedPage == 2 ? savedPage : 3;
  int expectedCategory = ReadWhole(f.value("ZOVA", "INDEX").value_or("")).value_or(1);
  if (expectedCategory < 12 * (expectedPage - 1) + 1 || expectedCategory > 12 * expectedPage) {
    expectedCategory = 12 * (expectedPage - 1) + 1;
  }
  const bool autoClip = ReadWhole(f.value("ZOVA", "AUTOCLIP").value_or("")).value_or(1) != 0;
  const bool topmost = ReadWhole(f.value("ZOVA", "TOPMOST").value_or("")).value_or(0) != 0;
  if (writesGo && (expectedPage != page || expectedCategory != category)) {
    fail("the exit left page " + std::to_string(page) + ", category " + std::to_string(category) +
         "; the file says " + std::to_string(expectedPage) + ", " +
         std::to_string(expectedCategory));
  }
  if (form->Selection.CurrentPage != expectedPage ||
      form->Selection.CurrentCategory != expectedCategory || form->Selection.AutoClip != autoClip) {
    fail("the new start shows page " + std::to_string(form->Selection.CurrentPage) + ", category " +
         std::to_string(form->Selection.CurrentCategory));
  }
  m = Model{};
  takeModelFromProgram();
  m.page = expectedPage;
  m.category = expectedCategory;
  m.autoClip = autoClip;
  m.topmost = topmost;
  expectUnitsShown();
  e.historyTouched = true;
}

// The table a new start loaded is the file's, and, unless the exit could
// not write, the one the program held before it.
void ProgramWalk::checkRestartTable(const CategoryTable& before, bool writesGo) {
  const CategoryTable expected = expectedFromFile();
  const auto describe = [](const UnitRecord& u) {
    return Quoted(u.Name) + " " + std::to_string(static_cast<double>(u.Factor.value())) + " (" +
           std::to_string(u.Decimals) + ", " + std::to_string(u.Colour) + ")";
  };
  for (int c = 1; c <= kCategoryCount; ++c) {
    if (c == kTemperatureCategory || c == kNumberBaseCategory) continue;
    // A refused exit loses what only memory held.
    const bool memoryOnly = m.unsaved.count(c) != 0 || (m.panelShown && c == m.category);
    for (const auto& [other, what] :
         {std::pair<const CategoryTable*, const char*>{&expected, "the file holds"},
          {&before, "before the exit it was"}}) {
      if (other == &before && !writesGo && memoryOnly) continue;
      const CategoryRecord& a = table[c];
      const CategoryRecord& b = (*other)[c];
      if (a.CategoryName != b.CategoryName || a.IconKind != b.IconKind) {
        fail("after a new start category " + std::to_string(c) + " is " + Quoted(a.CategoryName) +
             "; " + what + " " + Quoted(b.CategoryName));
      }
      for (int u = 1; u <= kUnitsPerCategory; ++u) {
        const UnitRecord& x = a.unit(u);
        const UnitRecord& y = b.unit(u);
        if (x.Name != y.Name || x.Factor.bytes() != y.Factor.bytes() || x.Decimals != y.Decimals ||
            x.Colour != y.Colour) {
          fail("after a new start unit " + std::to_string(u) + " of category " + std::to_string(c) +
               " is " + describe(x) + "; " + what + " " + describe(y));
        }
      }
    }
  }
}

// What a new start would load: the built-in table with the file over it.
CategoryTable ProgramWalk::expectedFromFile() {
  CategoryTable t = builtIn;
  // Every unit name outside the two fixed categories is read, and padded.
  for (int c = 1; c <= kCategoryCount; ++c) {
    if (c == kTemperatureCategory || c == kNumberBaseCategory) continue;
    t[c].IconKind = 0;
    for (UnitRecord& unit : t[c].Units) unit.Name = PaddedName(unit.Name);
  }
  for (const auto& [key, entry] : file().keys) {
    const auto& [section, name] = key;
    if (section.rfind("BUNRUI", 0) != 0) continue;
    const int c = std::atoi(section.c_str() + 6);
    if (section != "BUNRUI" + std::to_string(c) || c < 1 || c > kCategoryCount ||
        c == kTemperatureCategory || c == kNumberBaseCategory) {
      continue;
    }
    CategoryRecord& category = t[c];
    const std::string& value = entry.value;
    if (name == "NAME") {
      category.CategoryName = CutToBytes(value, 12);
      continue;
    }
    if (name == "ICON") {
      const std::optional<std::int32_t> icon = ReadWhole(value);
      category.IconKind = static_cast<std::uint8_t>(icon && *icon >= 0 && *icon <= 255 ? *icon : 0);
      continue;
    }
    const std::size_t digit = name.size() - 1;
    const int u = name[digit] - '0';
    if (u < 1 || u > kUnitsPerCategory) continue;
    UnitRecord& unit = category.unit(u);
    const std::string field = name.substr(0, digit);
    if (field == "BUTTON") {
      unit.Name = PaddedName(value);
    } else if (field == "DATA" && value != "*" && value.size() <= 80) {
      const std::optional<long double> factor = ReadReal(value);
      if (factor && FitsStore(*factor) == Fits::Yes) unit.Factor = Real48(*factor);
    } else if (field == "POINT") {
      if (const auto point = ReadWhole(value)) unit.Decimals = *point;
    } else if (field == "COLOR") {
      const auto colour = ReadWhole(value);
      if (colour && *colour >= 0 && *colour <= 3) unit.Colour = ColourOfIndex(*colour);
    }
  }
  return t;
}

const IniFile& ProgramWalk::file() {
  if (fileVersion != storage.writes) {
    fileNow = ReadIni(storage.bytesOf(settingsPath));
    fileVersion = storage.writes;
    expectedNow.reset();
  }
  return fileNow;
}

const CategoryTable& ProgramWalk::expectedTable() {
  file();
  if (!expectedNow) expectedNow = expectedFromFile();
  return *expectedNow;
}

}  // namespace hk::walk
