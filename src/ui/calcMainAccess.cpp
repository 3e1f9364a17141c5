// What a screen reader hears of the main window: names for the controls that
// show only a picture or whose label sits beside them, the result as one
// value, and the pictures that only decorate left out.
#include <algorithm>
#include <string>

#include "ui/calcMain.h"

namespace hk {

namespace {

std::string Joined(const std::string& first, const std::string& second) {
  return second.empty() ? first : first + " " + second;
}

// Unit names are spaced out with blanks to look even (" ｲ ﾝ ﾁ "); a reader
// would spell them letter by letter.
std::string UnitName(const std::string& caption) {
  std::string name = SpokenCaption(caption);
  name.erase(std::remove(name.begin(), name.end(), ' '), name.end());
  return name;
}

// A category is heard by its caption. One that repeats another's on the page
// ("運動" twice) or is nothing but its access letter (a category not named
// yet) is told apart by its number.
std::string CategoryName(const TCalcMainForm& form, const SpeedButton& button) {
  int position = 0;
  int twins = 0;
  const std::string name = SpokenCaption(button.text());
  for (int k = 1; k <= kCategoriesPerPage; ++k) {
    const SpeedButton* other = form.CategoryButtons[k - 1];
    if (other == &button) position = k;
    if (other && SpokenCaption(other->text()) == name) ++twins;
  }
  if (twins <= 1 && name.size() > 1) return name;
  return Joined("分類 " + std::to_string(form.Selection.PageFirst + position - 1), name);
}

// "変換元 メートル", and for an empty unit slot its number.
void NameUnitButtons(std::array<SpeedButton*, kUnitsPerCategory> buttons, const char* side,
                     const char* shift) {
  for (int unit = 1; unit <= kUnitsPerCategory; ++unit) {
    SpeedButton& button = *buttons[unit - 1];
    button.AccessibleName = [&button, side, unit] {
      const std::string name = UnitName(button.text());
      return Joined(side, name.empty() ? "空き " + std::to_string(unit) : name);
    };
    button.setAccessibleShortcut(shift + std::string("F") + std::to_string(unit));
  }
}

// The rate boxes are named by their row's currency and their column.
void NameRateRows(TCalcMainForm& form, const std::array<Label*, kUnitsPerCategory>& labels,
                  const std::array<Edit*, 2 * kUnitsPerCategory>& edits,
                  const std::array<UpDown*, 2 * kUnitsPerCategory>& spinners) {
  form.Label3.setAccessibleHidden(true);
  form.Label4.setAccessibleHidden(true);
  for (int row = 1; row <= kUnitsPerCategory; ++row) {
    Label* label = labels[row - 1];
    label->setAccessibleHidden(true);
    for (int part = 0; part < 2; ++part) {
      const char* column = part == 0 ? "整数部" : "小数部";
      const auto name = [label, row, column] {
        const std::string currency = UnitName(label->text());
        return Joined(currency.empty() ? std::to_string(row) + " 行目" : currency, column);
      };
      const int number = row + part * kUnitsPerCategory;
      edits[number - 1]->AccessibleName = name;
      spinners[number - 1]->AccessibleName = [name] { return name() + " 増減"; };
    }
  }
}

}  // namespace

void NameMainWindowForReaders(TCalcMainForm& form) {
  const char* pageNames[] = {"ページ 1", "ページ 2", "ページ 3"};
  SpeedButton* pages[] = {&form.PageButton1, &form.PageButton2, &form.PageButton3};
  for (int page = 0; page < 3; ++page) {
    pages[page]->setAccessibleName(pageNames[page]);
    pages[page]->setAccessibleShortcut("Ctrl+" + std::to_string(page + 1));
  }
  form.MenuButton.setAccessibleShortcut("F10");
  form.HistoryButton.setAccessibleShortcut("Ctrl+H");
  form.HelpButton.setAccessibleName("ヘルプ");
  form.MINIButton.setAccessibleName("最小化");
  form.ExitButton.setAccessibleName("終了");
  for (SpeedButton* button :
       {&form.SpeedButton5, &form.SpeedButton6, &form.SpeedButton7, &form.SpeedButton8,
        &form.SpeedButton9, &form.SpeedButton10, &form.SpeedButton11, &form.SpeedButton12,
        &form.SpeedButton13, &form.SpeedButton14, &form.SpeedButton15, &form.SpeedButton16}) {
    button->AccessibleName = [&form, button] { return CategoryName(form, *button); };
  }

  form.Label1.setAccessibleHidden(true);
  form.TargetEdit.setAccessibleName("変換値");
  form.TargetTanniPanel.AccessibleName = [&form] {
    return Joined("変換値の単位", UnitName(form.TargetTanniPanel.text()));
  };
  NameUnitButtons(
      {&form.TFButton1, &form.TFButton2, &form.TFButton3, &form.TFButton4, &form.TFButton5,
       &form.TFButton6, &form.TFButton7, &form.TFButton8, &form.TFButton9},
      "変換元", "");
  NameUnitButtons(
      {&form.TTButton1, &form.TTButton2, &form.TTButton3, &form.TTButton4, &form.TTButton5,
       &form.TTButton6, &form.TTButton7, &form.TTButton8, &form.TTButton9},
      "変換先", "Shift+");
  // The key hints say what the unit buttons' shortcuts say; the arrow only
  // decorates.
  for (Image* picture :
       {&form.F1Image, &form.F2Image, &form.F3Image, &form.F4Image, &form.F5Image, &form.F6Image,
        &form.F7Image, &form.F8Image, &form.F9Image, &form.SF1Image, &form.SF2Image, &form.SF3Image,
        &form.SF4Image, &form.SF5Image, &form.SF6Image, &form.SF7Image, &form.SF8Image,
        &form.SF9Image, &form.Image10}) {
    picture->setAccessibleHidden(true);
  }

  // The result is one value: the number and its unit.
  form.Label2.setAccessibleHidden(true);
  form.ResultPanel.setAccessibleName("結果");
  form.ResultPanel.AccessibleValue = [&form] {
    return Joined(SpokenCaption(form.ResultValueLabel.text()),
                  UnitName(form.ResultTanniLabel.text()));
  };
  form.ResultValueLabel.setAccessibleHidden(true);
  form.ResultTanniLabel.setAccessibleHidden(true);

  NameRateRows(form,
               {&form.MoneyLabel1, &form.MoneyLabel2, &form.MoneyLabel3, &form.MoneyLabel4,
                &form.MoneyLabel5, &form.MoneyLabel6, &form.MoneyLabel7, &form.MoneyLabel8,
                &form.MoneyLabel9},
               {&form.Edit1, &form.Edit2, &form.Edit3, &form.Edit4, &form.Edit5, &form.Edit6,
                &form.Edit7, &form.Edit8, &form.Edit9, &form.Edit10, &form.Edit11, &form.Edit12,
                &form.Edit13, &form.Edit14, &form.Edit15, &form.Edit16, &form.Edit17, &form.Edit18},
               {&form.UpDown1, &form.UpDown2, &form.UpDown3, &form.UpDown4, &form.UpDown5,
                &form.UpDown6, &form.UpDown7, &form.UpDown8, &form.UpDown9, &form.UpDown10,
                &form.UpDown11, &form.UpDown12, &form.UpDown13, &form.UpDown14, &form.UpDown15,
                &form.UpDown16, &form.UpDown17, &form.UpDown18});
  // The rates are heard with their date.
  form.MoneyPanel.AccessibleName = [&form] {
    return Joined(form.Panel4.text(), form.RateDateLabel.text());
  };
  form.ListBox1.setAccessibleName("累乗の一覧");
  // Kept below the window's edge, it only carries Enter to the input.
  form.Button1.setAccessibleHidden(true);
}

}  // namespace hk
