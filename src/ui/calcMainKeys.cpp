// The main window's keys beyond the F-keys and the categories' letters: one
// table of key and command, each command the one that a click runs, so that
// the keyboard reaches everything the mouse does.
#include <utility>

#include "ui/calcMain.h"

namespace hk {

void TCalcMainForm::bindKeys() {
  SpeedButton* pages[] = {&PageButton1, &PageButton2, &PageButton3};
  for (int page = 1; page <= 3; ++page) {
    SpeedButton* button = pages[page - 1];
    addProgramShortcut(key::Char(static_cast<char>('0' + page)), kCtrl,
                       [button] { button->click(); });
  }
  addShortcut(key::kTab, kCtrl, [this] { StepPage(1); });
  addShortcut(key::kPageDown, kCtrl, [this] { StepPage(1); });
  addShortcut(key::kTab, kCtrl | kShift, [this] { StepPage(-1); });
  addShortcut(key::kPageUp, kCtrl, [this] { StepPage(-1); });
  addShortcut(key::kF10, kNoModifiers, [this] { OpenMenuFromKeyboard(); });
  addShortcut(key::kAlt, kNoModifiers, [this] { OpenMenuFromKeyboard(); });
  addProgramShortcut(key::Char('H'), kCtrl, [this] { HistoryButton.click(); });
  addProgramShortcut(key::Char('R'), kCtrl, [this] { SwapUnits(); });
  addProgramShortcut(key::Char('T'), kCtrl, [this] { TopmostMenuClick(); });

  // The powers list moves its selection by the list's own keys; these two
  // pick or put it away.
  addShortcut(
      key::kReturn, kNoModifiers, [this] { ListBox1.selectItem(ListBox1.itemIndex()); }, &ListBox1);
  addShortcut(
      key::kEscape, kNoModifiers, [this] { PutAwayPowersList(); }, &ListBox1);
}

void TCalcMainForm::OpenMenuFromKeyboard() {
  // A list opened from this menu takes the keys, for a user without a mouse.
  MenuByKeyboard = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{MenuByKeyboard};
  MenuButton.click();
}

void TCalcMainForm::StepPage(int step) {
  SpeedButton* pages[] = {&PageButton1, &PageButton2, &PageButton3};
  const int next = (Selection.CurrentPage - 1 + step + 3) % 3;
  pages[next]->click();
}

void TCalcMainForm::SwapUnits() {
  const std::int32_t from = Selection.FromUnit;
  const std::int32_t to = Selection.ToUnit;
  if (from < 1 || to < 1) return;
  // The same unit both ways exchanges nothing: it converts as Enter does.
  if (from == to) return RunConversion();
  FromButton(to).setDown(true);
  ToButton(from).setDown(true);
  Selection.FromUnit = to;
  Selection.ToUnit = from;
  TargetTanniPanel.setText(table_[Selection.CurrentCategory].unit(to).Name);
  NameResultUnit();
}

}  // namespace hk
