#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "data/CategoryTable.h"
#include "data/FilePath.h"
#include "data/SettingsFile.h"
#include "platform/Services.h"
#include "platform/Widgets.h"

namespace hk {

// The customisation dialog: one category's name, button picture and nine
// units, written to the settings file at once when the user confirms.
class TCalcCustomForm : public Form {
 public:
  // The table and the settings file belong to the program and outlive the
  // dialog. The user bitmaps are looked for in exeFolder.
  TCalcCustomForm(Services& services, Form& owner, CategoryTable& table, SettingsFile& settings,
                  FilePath exeFolder, FilePath helpFile);

  // Where the dialog opens and how large it is, frame included, whatever
  // frame the system draws.
  static constexpr int kLeft = 470;
  static constexpr int kTop = 405;
  static constexpr int kOuterWidth = 345;
  static constexpr int kOuterHeight = 437;
  // The unit-name, value and category-name boxes take this many bytes.
  static constexpr int kBoxBytes = 12;

  // Components, in the order the Tab key visits them.
  Label Label1{this};
  Edit NameEdit{this};
  Label Label6{this};
  ComboBox IconComboBox{this};
  Button ImageDisplayButton{this};
  Label BMPNameLabel{this};
  Panel ICONPanel{this};
  Image ICONImage{&ICONPanel};
  Label Label2{this};
  Label Label3{this};
  Label Label4{this};
  Label Label5{this};

  Edit TANNIEdit1{this};
  Edit ValueEdit1{this};
  ComboBox ShoSuCombo1{this};
  ComboBox ColorCombo1{this};
  Edit TANNIEdit2{this};
  Edit ValueEdit2{this};
  ComboBox ShosuCombo2{this};
  ComboBox ColorCombo2{this};
  Edit TANNIEdit3{this};
  Edit ValueEdit3{this};
  ComboBox ShosuCombo3{this};
  ComboBox ColorCombo3{this};
  Edit TANNIEdit4{this};
  Edit ValueEdit4{this};
  ComboBox ShosuCombo4{this};
  ComboBox ColorCombo4{this};
  Edit TANNIEdit5{this};
  Edit ValueEdit5{this};
  ComboBox ShosuCombo5{this};
  ComboBox ColorCombo5{this};
  Edit TANNIEdit6{this};
  Edit ValueEdit6{this};
  ComboBox ShosuCombo6{this};
  ComboBox ColorCombo6{this};
  Edit TANNIEdit7{this};
  Edit ValueEdit7{this};
  ComboBox ShosuCombo7{this};
  ComboBox ColorCombo7{this};
  Edit TANNIEdit8{this};
  Edit ValueEdit8{this};
  ComboBox ShosuCombo8{this};
  ComboBox ColorCombo8{this};
  Edit TANNIEdit9{this};
  Edit ValueEdit9{this};
  ComboBox ShosuCombo9{this};
  ComboBox ColorCombo9{this};

  BitBtn OKButton{this};
  BitBtn HelpButton{this};
  BitBtn ExitButton{this};

  // The rows' boxes, filled once at creation. Storage is 0-based; the
  // accessors take the row numbers 1 to 9 and throw std::out_of_range for
  // anything else.
  std::array<Edit*, kUnitsPerCategory> TanniEdits{};
  std::array<Edit*, kUnitsPerCategory> ValueEdits{};
  std::array<ComboBox*, kUnitsPerCategory> ShosuCombos{};
  std::array<ComboBox*, kUnitsPerCategory> ColorCombos{};

  Edit& TanniEdit(int row) const;
  Edit& ValueEdit(int row) const;
  ComboBox& ShosuCombo(int row) const;
  ComboBox& ColorCombo(int row) const;

  // The user bitmap of the category ("ZOVEZA05.BMP") and the category's number.
  std::string BitmapFileName;
  std::int32_t EditedCategory = 0;

  // Event handlers.
  void FormCreate();
  // Fills every box from the table; once, before the dialog is shown.
  void SetCategory(std::int32_t category);
  void ImageDisplayButtonClick();
  void OKButtonClick();
  void ExitButtonClick();
  void HelpButtonClick();
  // A wider dialog gives its extra width to the value boxes.
  void FormResize();

 private:
  void layOut();
  void bindEvents();
  FilePath userBitmapPath() const;
  void showStandardIcon();
  void centreIcon();

  // What each value box showed when the dialog was filled, and the factor it
  // stood for: a box the user left alone keeps the factor itself, not the
  // rounded digits it shows.
  struct ShownValue {
    std::string text;
    Real48 factor;
  };
  std::array<ShownValue, kUnitsPerCategory> shownValues_{};

  Services& services_;
  CategoryTable& table_;
  SettingsFile& settings_;
  FilePath exeFolder_;
  FilePath helpFile_;
};

// The dialog while it is open; nothing otherwise.
extern TCalcCustomForm* CalcCustomForm;

// The customisation command up to the redraw of the main window: refuses the
// temperature and number-base categories, otherwise lets the user edit the
// category in the dialog, run modally over the owner and then handed to the
// services to be destroyed. True when the user confirmed: the table and the
// settings file then hold the edited category, and the page's buttons and
// the units need showing again.
bool CustomizeCategory(Services& services, Form& owner, CategoryTable& table,
                       SettingsFile& settings, int currentCategory, const FilePath& exeFolder,
                       const FilePath& helpFile);

}  // namespace hk
