// The walk's steps: what the user does to the program, each followed by
// what the model expects of it.
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "ui/ProgramWalk.h"

namespace hk::walk {

void ProgramWalk::typeInput() {
  const std::string text = inputText();
  note("type " + Quoted(text) + " into the input");
  const bool entering = m.focus != 0;
  form->TargetEdit.focus();
  if (entering) {
    m.focus = 0;
    expectConversion();
  }
  form->TargetEdit.userChanged(text);
  m.input = CutToBytes(text, 30);
  if (chance(0.35)) {
    note("Enter");
    form->pressEnter();
    expectConversion();
  }
}

void ProgramWalk::pressEnter() {
  note("Enter");
  form->pressEnter();
  expectConversion();
}

void ProgramWalk::functionKey() {
  const int n = pick(1, kUnitsPerCategory);
  const bool shift = chance(0.5);
  note(std::string(shift ? "Shift+" : "") + "F" + std::to_string(n));
  services->pressKey(key::kF1 + static_cast<unsigned>(n - 1), shift);
  if (m.unitEnabled[static_cast<std::size_t>(n)]) expectUnitChosen(shift, n);
}

void ProgramWalk::clickUnit() {
  const int n = pick(1, kUnitsPerCategory);
  const bool toSide = chance(0.5);
  note(std::string("click ") + (toSide ? "to" : "from") + " unit " + std::to_string(n));
  SpeedButton& button = toSide ? form->ToButton(n) : form->FromButton(n);
  button.click();
  if (!m.unitEnabled[static_cast<std::size_t>(n)]) return;
  int& chosen = toSide ? m.to : m.from;
  if (chosen == n) {
    // Released: nothing else changes.
    chosen = -1;
    return;
  }
  expectUnitChosen(toSide, n);
}

void ProgramWalk::swapUnits() {
  const bool inHistory = m.historyOpen && chance(0.5);
  note(inHistory ? "Ctrl+R in the history window" : "Ctrl+R");
  form->pressProgramShortcut(key::Char('R'), kCtrl);
  if (m.from < 1 || m.to < 1) return;
  const bool sameUnit = m.from == m.to;
  std::swap(m.from, m.to);
  m.fromName = unitName(m.from);
  m.toName = unitName(m.to);
  if (expectConversion()) return;
  // The unit beside the value is another: the value goes with its unit.
  // Swapping a unit with itself may keep it.
  if (!sameUnit || form->ResultValueLabel.text().empty()) m.result = {ShownResult::Kind::Text, ""};
}

void ProgramWalk::changePage() {
  const int page = pick(1, 3);
  const int how = pick(0, 2);
  if (how == 0) {
    note("page button " + std::to_string(page));
    SpeedButton* buttons[] = {&form->PageButton1, &form->PageButton2, &form->PageButton3};
    buttons[page - 1]->click();
  } else if (how == 1) {
    note("Ctrl+" + std::to_string(page));
    form->pressProgramShortcut(key::Char(static_cast<char>('0' + page)), kCtrl);
  } else {
    note("Ctrl+Tab");
    form->pressShortcut(key::kTab, kCtrl);
  }
  const int target = how == 2 ? m.page % 3 + 1 : page;
  if (target == m.page) return;
  if (m.page == 3) {
    expectSavePoint(false);
    m.panelShown = false;
    if (m.focus != 0) m.focus = 0;  // the focus leaves the hidden panel quietly
  }
  m.page = target;
  m.category = 12 * (target - 1) + 1;
  expectUnitsShown();
}

void ProgramWalk::clickCategory() {
  const int position = pick(1, kCategoriesPerPage);
  const int category = 12 * (m.page - 1) + position;
  note("click category " + std::to_string(category));
  form->CategoryButton(position).click();
  if (category == m.category) return;
  if (m.page == 3) expectSavePoint(false);
  m.category = category;
  expectUnitsShown();
  m.fromName.clear();
  m.toName.clear();
  m.result = {ShownResult::Kind::Text, ""};
}

void ProgramWalk::typeRate() {
  const int row = shownRow();
  if (row == 0) return clickInput();
  const int edit = row + (chance(0.5) ? kUnitsPerCategory : 0);
  const std::string text = rateText();
  note("type " + Quoted(text) + " into rate edit " + std::to_string(edit) + " (row " +
       std::to_string(row) + " was " + rowTexts(row) + ")");
  form->RateEdit(edit).focus();
  form->RateEdit(edit).userChanged(text);
  m.focus = edit;
  m.panelTouched = true;
}

void ProgramWalk::stepSpinner() {
  const int row = shownRow();
  if (row == 0) return clickInput();
  const int spinner = row + (chance(0.5) ? kUnitsPerCategory : 0);
  const bool up = chance(0.5);
  note(std::string("spinner ") + std::to_string(spinner) + (up ? " up" : " down") + " (row " +
       std::to_string(row) + " was " + rowTexts(row) + ")");
  if (up) {
    form->RateUpDown(spinner).stepUp();
  } else {
    form->RateUpDown(spinner).stepDown();
  }
  m.panelTouched = true;
}

void ProgramWalk::clickInput() {
  note("click into the input");
  form->TargetEdit.focus();
  if (m.focus == 0) return;
  m.focus = 0;
  expectConversion();
}

void ProgramWalk::toggleHistory() {
  const bool byKey = chance(0.5);
  note(byKey ? "Ctrl+H" : "history button");
  if (byKey) {
    form->pressProgramShortcut(key::Char('H'), kCtrl);
  } else {
    form->HistoryButton.click();
  }
  services->pump();
  m.historyOpen = !m.historyOpen;
  e.historyTouched = true;
}

void ProgramWalk::historyStep() {
  if (!CalcHistoryForm) return fail("the history window has gone");
  historyAction(*CalcHistoryForm);
  services->pump();
}

void ProgramWalk::modalHistory() {
  note("menu: history");
  const bool mayRun = !m.records.empty() && !m.historyOpen;
  bool ran = false;
  services->onRunModal = [this, &ran](Form& window) {
    ran = true;
    auto& history = static_cast<TCalcHistoryForm&>(window);
    for (int k = pick(1, 3); k > 0; --k) historyAction(history);
    note("close the history window");
    history.SpeedButton4.click();
    return kModalCancel;
  };
  form->HistoryMenu->click();
  services->onRunModal = nullptr;
  services->pump();
  if (m.records.empty() && !ran) tell(Told::NoHistory);
  if (ran != mayRun) {
    fail(ran ? "the history menu ran a window of its own" : "the history menu showed nothing");
  }
  e.historyTouched = true;
}

void ProgramWalk::toggleAutoClip() {
  note("menu: automatic copy");
  form->ResultClipMenu->click();
  m.autoClip = !m.autoClip;
  if (storage.refusing) {
    tell(Told::WriteFailure);
  } else {
    mayWrite("ZOVA", "AUTOCLIP");
  }
}

// Kept on top by the menu or by Ctrl+T, and remembered at once.
void ProgramWalk::toggleTopmost() {
  if (pick(0, 1) == 0) {
    note("menu: keep on top");
    form->TopmostMenu->click();
  } else {
    note("Ctrl+T");
    form->pressProgramShortcut(key::Char('T'), kCtrl);
  }
  m.topmost = !m.topmost;
  if (storage.refusing) {
    tell(Told::WriteFailure);
  } else {
    mayWrite("ZOVA", "TOPMOST");
  }
}

void ProgramWalk::refuseWrites() {
  refusalLeft = pick(1, 40);
  note("the settings file takes no writes for " + std::to_string(refusalLeft) + " steps");
  storage.refusing = true;
}

void ProgramWalk::exitAndStart() {
  note("exit, and start again");
  const int page = m.page;
  const int category = m.category;
  const bool writesGo = !storage.refusing;
  if (m.page == 3) expectSavePoint(true);
  if (writesGo) {
    // And the rates that refused saves left in memory.
    e.ratesMayChange.insert(m.unsaved.begin(), m.unsaved.end());
    for (const char* key : {"WinPosX", "WinPosY", "INDEX", "PAGE"}) {
      mayWrite("ZOVA", key);
    }
  } else {
    // One refused write ends the exit's writes, and the user hears of it once.
    tell(Told::WriteFailure);
  }
  form->ExitButton.click();
  form->destroyed();
  services->pump();
  const CategoryTable before = table;
  form.reset();
  table = CategoryTable::BuiltIn();
  start();
  checkRestart(before, page, category, writesGo);
}

void ProgramWalk::customise() {
  note("menu: customise category " + std::to_string(m.category));
  const bool refused = m.category == kTemperatureCategory || m.category == kNumberBaseCategory;
  // The panel's rates go into the factors first: the dialog starts from them.
  if (!refused && m.page == 3) expectSavePoint(false);
  bool opened = false;
  bool confirmed = false;
  services->onRunModal = [&](Form& dialog) {
    opened = true;
    const int result = dialogScript(static_cast<TCalcCustomForm&>(dialog));
    confirmed = result == kModalOk;
    return result;
  };
  form->CustomizeMenu->click();
  services->onRunModal = nullptr;
  services->pump();
  if (refused) {
    tell(Told::NotCustomisable);
    if (opened) fail("the dialog opened on a category that cannot be customised");
    return;
  }
  if (!opened) return fail("the customisation dialog did not open");
  // The buttons and the units are shown afresh; the texts stay.
  if (confirmed) expectUnitsShown();
}

int ProgramWalk::dialogScript(TCalcCustomForm& dialog) {
  const std::array<std::string, kUnitsPerCategory> shown = checkDialogShows(dialog);
  editDialog(dialog);
  if (chance(0.25)) {
    note("  Exit");
    dialog.ExitButton.click();
    return kModalCancel;
  }
  return confirmDialog(dialog, shown);
}

// What each value box shows is its unit's factor, to the unit's decimals.
std::array<std::string, kUnitsPerCategory> ProgramWalk::checkDialogShows(
    const TCalcCustomForm& dialog) {
  const int n = m.category;
  if (dialog.EditedCategory != n) {
    fail("the dialog edits category " + std::to_string(dialog.EditedCategory));
  }
  std::array<std::string, kUnitsPerCategory> shown;
  for (int row = 1; row <= kUnitsPerCategory; ++row) {
    const ModelUnit& unit = m.table[n].unit(row);
    const std::string& text = dialog.ValueEdit(row).text();
    shown[static_cast<std::size_t>(row - 1)] = text;
    const std::optional<long double> value = ReadReal(text);
    const long double room = std::fabs(unit.factor) >= 1e36L
                                 ? std::fabs(unit.factor) * 6e-7L
                                 : 0.5L * std::pow(10.0L, -unit.decimals) * (1 + 1e-9L);
    if (!value ||
        std::fabs(*value - unit.factor) > room + (std::fabs(unit.factor) + unit.slack) * 0x1p-33L) {
      fail("value box " + std::to_string(row) + " shows " + Quoted(text) + " for a factor of " +
           std::to_string(static_cast<double>(unit.factor)));
    }
  }
  return shown;
}

void ProgramWalk::editDialog(TCalcCustomForm& dialog) {
  if (chance(0.3)) {
    const std::string name =
        oneOf<std::string>({"距離&L", "ﾃｽﾄ&Q", "Abc&Z", "名前なし", "ﾄﾞﾙ&Y", "とても長い名前&W"});
    note("  name " + Quoted(name));
    dialog.NameEdit.userChanged(name);
    if (dialog.NameEdit.text() != CutToBytes(name, 12)) {
      fail("the name box holds " + Quoted(dialog.NameEdit.text()));
    }
  }
  for (int edits = pick(0, 3); edits > 0; --edits) {
    const int row = pick(1, kUnitsPerCategory);
    const std::string at = "  row " + std::to_string(row);
    switch (pick(0, 3)) {
      case 0: {
        const std::string name =
            oneOf<std::string>({"ｍ", " ﾒｰﾄﾙ  ", "円", "ﾕｰﾛ", "unit", "長い単位名です", ""});
        note(at + " name " + Quoted(name));
        // A box takes twelve bytes, or the whole of a longer name it was filled with.
        const std::size_t room =
            std::max<std::size_t>(12, m.table[dialog.EditedCategory].unit(row).name.size());
        dialog.TanniEdit(row).userChanged(name);
        if (dialog.TanniEdit(row).text() != CutToBytes(name, room)) {
          fail("unit name box " + std::to_string(row) + " holds " +
               Quoted(dialog.TanniEdit(row).text()));
        }
        break;
      }
      case 1: {
        const std::string value = oneOf<std::string>(
            {"1", "0.5", "100", "1e3", " 2.54", ".5", "5.e3", "e5", "0", "-2.5", "abc", "5.", "",
             "1e39", "0.123456", "1e-40", "106.3", "3000000000"});
        note(at + " value " + Quoted(value));
        dialog.ValueEdit(row).userChanged(value);
        break;
      }
      case 2: {
        const int decimals = pick(0, 5);
        note(at + " decimals " + std::to_string(decimals));
        dialog.ShosuCombo(row).selectItem(decimals);
        break;
      }
      default: {
        const int colour = pick(0, 3);
        note(at + " colour " + std::to_string(colour));
        dialog.ColorCombo(row).selectItem(colour);
        break;
      }
    }
  }
}

// OK, and when it is refused, once or twice more: after the file takes
// writes again, or with the rows that cannot be stored typed afresh.
int ProgramWalk::confirmDialog(TCalcCustomForm& dialog,
                               const std::array<std::string, kUnitsPerCategory>& shown) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    note("  OK");
    const bool refused = storage.refusing;
    dialog.OKButton.click();
    const bool ok = expectDialogOk(dialog, shown);
    if (dialog.modalResult() != (ok ? kModalOk : kModalNone)) {
      fail("OK left the dialog with result " + std::to_string(dialog.modalResult()));
    }
    if (ok) return kModalOk;
    if (refused && chance(0.5)) {
      note("  the file takes writes again");
      storage.refusing = false;
      refusalLeft = 0;
    } else if (!refused && chance(0.5)) {
      for (int row = 1; row <= kUnitsPerCategory; ++row) {
        const std::optional<long double> value = ReadReal(dialog.ValueEdit(row).text());
        if (!value || FitsStore(*value) != Fits::Yes) {
          note("  row " + std::to_string(row) + " value \"2\"");
          dialog.ValueEdit(row).userChanged("2");
        }
      }
    } else {
      break;
    }
  }
  note("  Exit");
  dialog.ExitButton.click();
  return kModalCancel;
}

void ProgramWalk::historyAction(TCalcHistoryForm& window) {
  if (m.records.empty()) return pick(0, 2) == 0 ? clearHistory(window) : copyHistory(window);
  const int row = historyRow();
  switch (pick(0, 10)) {
    case 0:
    case 1:
    case 2:
      note("click the mark of history row " + std::to_string(row));
      pressRow(window, row, 1, MouseButton::Left);
      expectMark(row, 0, true);
      break;
    case 3:
      note("Space on history row " + std::to_string(row));
      window.StringGrid1.select(2, row);
      window.pressShortcut(key::kSpace, kNoModifiers);
      expectMark(row, 0, true);
      break;
    case 4:
    case 5: {
      const int item = pick(2, 4);  // add, subtract, leave out
      const char* names[] = {"", "", "add", "subtract", "leave out"};
      note(std::string("row menu: ") + names[item] + " history row " + std::to_string(row));
      menuChoice = item;
      pressRow(window, row, 3, MouseButton::Right);
      const std::uint8_t signs[] = {0, 0, kSignAdd, kSignSubtract, kSignNone};
      expectMark(row, signs[item], false);
      break;
    }
    case 6:
    case 7:
      note("row menu: delete history row " + std::to_string(row));
      menuChoice = 0;
      pressRow(window, row, 4, MouseButton::Right);
      expectDelete(row);
      break;
    case 8:
      if (chance(0.3)) return clearHistory(window);
      return copyHistory(window);
    default:
      return copyHistory(window);
  }
  menuChoice = -1;
}

void ProgramWalk::pressRow(TCalcHistoryForm& window, int row, int col, MouseButton button) {
  StringGrid& grid = window.StringGrid1;
  grid.scrolled(std::max(1, row - 1), grid.leftCol());
  const Rect cell = grid.cellRect(col, row);
  grid.mouseDown(button, cell.left + 3, cell.top + 3);
}

void ProgramWalk::clearHistory(TCalcHistoryForm& window) {
  note("clear the history");
  window.ClearButton.click();
  m.records.clear();
  e.historyTouched = true;
}

void ProgramWalk::copyHistory(TCalcHistoryForm& window) {
  const int mode = pick(0, 2);
  note("copy the history, mode " + std::to_string(mode));
  menuChoice = mode;
  window.ClipButton.click();
  menuChoice = -1;
  e.copyMode = mode;
  e.historyTouched = true;
  e.copyLines = 0;
  for (const ModelRecord& r : m.records) {
    if (mode == 0 || (mode == 1 && r.sign != kSignNone)) ++e.copyLines;
  }
  e.copyUnits[0].clear();
  if (m.records.empty()) {
    // What an empty history copies is the program's own choice.
    e.clipboardLoose = true;
    return;
  }
  e.copyUnits[0] = m.records.back().targetTanni;
  e.copyUnits[1] = m.records.back().resultTanni;
  copiedTotals = sumMarked();
  ++e.clipboardSets;
}

}  // namespace hk::walk
