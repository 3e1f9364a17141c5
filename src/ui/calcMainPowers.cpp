// The powers list under the menu button, and the menu button that puts it
// away.
#include <string>

#include "engine/PowersList.h"
#include "ui/calcMain.h"

namespace hk {

namespace {

constexpr const char* kValueMask = "ZZ,ZZZ,ZZZ,ZZ9";

void PutAway(ListBox& list) {
  list.setEnabled(false);
  list.setVisible(false);
}

}  // namespace

void TCalcMainForm::PutAwayPowersList() { PutAway(ListBox1); }

void TCalcMainForm::MenuButtonClick() {
  // The list is enabled exactly while it shows.
  if (ListBox1.enabled()) PutAway(ListBox1);
  if (PopupMenuOpen) PopupMenuOpen();
}

void TCalcMainForm::Rui2MenuClick(int base) {
  PowerBase = base == 2 || base == 8 ? base : 16;
  ListBox1.clear();

  // The menu button's own position on the title panel, as the menu's is: the
  // panel's offset is not added, so the list's top edge covers the foot of
  // the title panel.
  const Rect& button = MenuButton.bounds();
  const int h = ListBox1.font().characterHeight();
  const int rows = PowerBase == 2 ? 16 : PowerBase == 8 ? 12 : 10;
  ListBox1.setBounds(
      {button.left, button.top + button.height + 2, 12 * h + services_.scrollBarWidth(), rows * h});

  for (std::string& row : PowersListRows(PowerBase)) ListBox1.addItem(std::move(row));
  ListBox1.setItemIndex(0);
  ListBox1.setEnabled(true);
  ListBox1.setVisible(true);
  // Chosen with the mouse, the list leaves the keys with the input: Enter
  // still converts. Chosen from the keyboard, its keys reach it at once, and
  // picking or putting it away hands the focus back to the input quietly.
  if (MenuByKeyboard) ListBox1.focus();
}

void TCalcMainForm::ListBox1Exit() {
  // As a drop-down: the list goes with the focus.
  if (ListBox1.enabled()) PutAway(ListBox1);
}

void TCalcMainForm::ListBox1Click() {
  const int k = ListBox1.itemIndex();
  // The header row shows nothing.
  if (k >= 1) ResultValueLabel.setText(FormatMask(PowerOf(PowerBase, k), kValueMask));
  PutAway(ListBox1);
}

}  // namespace hk
