#include "ui/CalcUnt1.h"
#include "ui/Place.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <utility>
#include <vector>

#include "data/DecimalFormat.h"
#include "data/FloatFault.h"
#include "data/NumberSyntax.h"
#include "engine/FormatResult.h"

namespace hk {

TCalcCustomForm* CalcCustomForm = nullptr;

namespace {

constexpr unsigned kHelpContext = 265;

// Value boxes show a factor in ten characters, as results show it in fifteen.
constexpr int kValueWidth = 10;

// The built-in button pictures.
constexpr int kIconWidth = 24;
constexpr int kIconHeight = 18;

// Pictures on the dialog's buttons: up and disabled side by side.
constexpr int kButtonImages = 2;

constexpr int kRowTop = 108;
constexpr int kRowPitch = 28;
constexpr int kBoxHeight = 21;
constexpr int kValueBoxWidth = 89;
constexpr int kShosuLeft = 200;
constexpr int kColourLeft = 260;

constexpr std::string_view kStandard = "標準";
constexpr std::string_view kUserMade = "ﾕｰｻﾞｰ作成";
constexpr std::string_view kIconFallback = "ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙが見つからないので標準に戻します";

// The colour list's items; the index is what the settings file keeps.
const char* const kColourItems[] = {"黒", "青", "赤", "緑"};
constexpr int kGreenIndex = 3;

// A label sized for its text in the dialog's font; the peer measures again.
void PlaceLabel(Label& label, int left, int top, std::string_view text) {
  label.setText(text);
  const int width = (static_cast<int>(text.size()) * 13 + 1) / 2;
  Place(label, left, top, width, 13);
}

template <typename T, std::size_t N>
T& Slot(const std::array<T*, N>& slots, int number, const char* what) {
  if (number < 1 || number > static_cast<int>(N) || slots[number - 1] == nullptr) {
    throw std::out_of_range(what);
  }
  return *slots[number - 1];
}

Picture StandardIcon(const CategoryRecord& category) {
  return Picture::FromResource(category.IconResource, kIconWidth, kIconHeight);
}

// The decimals the box shows: its chosen entry, or the unit's own when none is.
int ChosenDecimals(const ComboBox& box, int unitDecimals) {
  const int index = box.itemIndex();
  if (index < 0 || index >= static_cast<int>(box.items().size())) return unitDecimals;
  return ParseWholeNumber(box.items()[static_cast<std::size_t>(index)]).value_or(unitDecimals);
}

int ColourIndexOf(std::uint32_t colour) {
  switch (colour) {
    case kBlack:
      return 0;
    case kBlue:
      return 1;
    case kRed:
      return 2;
    default:
      // Whatever a hand-edited file left there shows, and is kept, as green.
      return kGreenIndex;
  }
}

// The factor a value box stands for: its text in the number syntax, within
// what a factor can hold. Trying the store is the one exact test of the range.
std::optional<Real48> FactorOf(std::string_view text) {
  const std::optional<long double> value = ParseReal(text);
  if (!value) return std::nullopt;
  try {
    return Real48(*value);
  } catch (const FloatFault&) {
    return std::nullopt;
  }
}

Font DialogFont() {
  Font font;
  font.name = "ＭＳ ゴシック";
  font.height = -13;
  return font;
}

// Readers hear each box by the label beside it or the column above it, the
// labels themselves left out; the picture by the category it stands for.
void NameForReaders(TCalcCustomForm& form) {
  for (Label* label :
       {&form.Label1, &form.Label6, &form.Label2, &form.Label3, &form.Label4, &form.Label5}) {
    label->setAccessibleHidden(true);
  }
  form.NameEdit.setAccessibleName("分類名");
  form.IconComboBox.setAccessibleName("ﾎﾞﾀﾝｱｲｺﾝ");
  form.ICONImage.AccessibleName = [&form] {
    return SpokenCaption(form.NameEdit.text()) + " のｱｲｺﾝ";
  };
  for (int row = 1; row <= kUnitsPerCategory; ++row) {
    const std::string heading = std::to_string(row) + " 行目 ";
    form.TanniEdit(row).setAccessibleName(heading + "単位名");
    form.ValueEdit(row).setAccessibleName(heading + "換算値");
    form.ShosuCombo(row).setAccessibleName(heading + "小数桁");
    form.ColorCombo(row).setAccessibleName(heading + "色");
  }
}

}  // namespace

TCalcCustomForm::TCalcCustomForm(Services& services, Form& owner, CategoryTable& table,
                                 SettingsFile& settings, FilePath exeFolder, FilePath helpFile)
    : Form(FormStyle::SizableDialog, &owner),
      services_(services),
      table_(table),
      settings_(settings),
      exeFolder_(std::move(exeFolder)),
      helpFile_(std::move(helpFile)) {
  FormCreate();
  layOut();
  bindEvents();
  NameForReaders(*this);
}

void TCalcCustomForm::FormCreate() {
  TanniEdits = {&TANNIEdit1, &TANNIEdit2, &TANNIEdit3, &TANNIEdit4, &TANNIEdit5,
                &TANNIEdit6, &TANNIEdit7, &TANNIEdit8, &TANNIEdit9};
  ValueEdits = {&ValueEdit1, &ValueEdit2, &ValueEdit3, &ValueEdit4, &ValueEdit5,
                &ValueEdit6, &ValueEdit7, &ValueEdit8, &ValueEdit9};
  ShosuCombos = {&ShoSuCombo1, &ShosuCombo2, &ShosuCombo3, &ShosuCombo4, &ShosuCombo5,
                 &ShosuCombo6, &ShosuCombo7, &ShosuCombo8, &ShosuCombo9};
  ColorCombos = {&ColorCombo1, &ColorCombo2, &ColorCombo3, &ColorCombo4, &ColorCombo5,
                 &ColorCombo6, &ColorCombo7, &ColorCombo8, &ColorCombo9};
}

void TCalcCustomForm::layOut() {
  setText("変換データカストマイズ");
  setFont(DialogFont());
  // The components keep their places when the user makes the dialog larger;
  // it never gets smaller than this.
  Place(*this, kLeft, kTop, kOuterWidth, kOuterHeight);
  setOuterSize(kOuterWidth, kOuterHeight);
  // Enlarged on a scaled display, the dialog may reach past the screen from
  // its designed place: it comes wholly onto it, as the main window does.
  setBounds(KeepOnMonitor(bounds(), services_.nearestMonitor(bounds())));

  PlaceLabel(Label1, 12, 16, "分 類 名");
  Place(NameEdit, 84, 12, 89, kBoxHeight);
  // The table holds twelve bytes of a name; the box refuses more as it is
  // typed, never in the middle of a character.
  NameEdit.setMaxBytes(kBoxBytes);

  PlaceLabel(Label6, 12, 56, "ﾎﾞﾀﾝｱｲｺﾝ");
  Place(IconComboBox, 84, 52, 93, kBoxHeight);
  IconComboBox.setItems({std::string(kStandard), std::string(kUserMade)});
  Place(ImageDisplayButton, 200, 52, 51, 25);
  ImageDisplayButton.setText("表示");

  PlaceLabel(BMPNameLabel, 248, 12, "(CALCxx.BMP)");
  Place(ICONPanel, 256, 28, 69, 53);
  ICONPanel.setBevels(Bevel::Lowered, Bevel::Raised);
  Place(ICONImage, 8, 8, 53, 37);

  PlaceLabel(Label2, 40, 88, "単位名");
  PlaceLabel(Label3, 124, 88, "換算値");
  PlaceLabel(Label4, kShosuLeft + 4, 88, "小数桁");
  PlaceLabel(Label5, kColourLeft + 12, 88, "色");

  for (int row = 1; row <= kUnitsPerCategory; ++row) {
    const int top = kRowTop + kRowPitch * (row - 1);
    Place(TanniEdit(row), 12, top, 93, kBoxHeight);
    TanniEdit(row).setMaxBytes(kBoxBytes);
    Place(ValueEdit(row), 108, top, kValueBoxWidth, kBoxHeight);
    ValueEdit(row).setMaxBytes(kBoxBytes);
    ValueEdit(row).setHoldsNumber(true);
    Place(ShosuCombo(row), kShosuLeft, top, 57, kBoxHeight);
    Place(ColorCombo(row), kColourLeft, top, 65, kBoxHeight);
  }

  Place(OKButton, 12, 376, 137, 25);
  OKButton.setText("&OK");
  OKButton.setGlyph(Picture::FromResource("GL_OK", 16 * kButtonImages, 16, kButtonImages));
  Place(HelpButton, 152, 376, 75, 25);
  HelpButton.setText("&Help");
  HelpButton.setGlyph(Picture::FromResource("GL_HELP2", 16 * kButtonImages, 16, kButtonImages));
  Place(ExitButton, 232, 376, 93, 25);
  ExitButton.setText("E&xit");
  ExitButton.setGlyph(Picture::FromResource("GL_EXIT2", 16 * kButtonImages, 16, kButtonImages));

  // Typing starts in the name, as in any dialog that opens on its first box.
  setFocused(&NameEdit);
}

void TCalcCustomForm::bindEvents() {
  OnResize = [this] { FormResize(); };
  ImageDisplayButton.OnClick = [this] { ImageDisplayButtonClick(); };
  OKButton.OnClick = [this] { OKButtonClick(); };
  HelpButton.OnClick = [this] { HelpButtonClick(); };
  ExitButton.OnClick = [this] { ExitButtonClick(); };
}

void TCalcCustomForm::FormResize() {
  // A factor of many digits is the one text that may not fit its box: the
  // values take what the user widened the dialog by, and the decimals and
  // colours move along. The rest keeps its place.
  const int extra = std::max(0, bounds().width - kOuterWidth);
  Label4.setLeft(kShosuLeft + 4 + extra);
  Label5.setLeft(kColourLeft + 12 + extra);
  for (int row = 1; row <= kUnitsPerCategory; ++row) {
    ValueEdit(row).setWidth(kValueBoxWidth + extra);
    ShosuCombo(row).setLeft(kShosuLeft + extra);
    ColorCombo(row).setLeft(kColourLeft + extra);
  }
}

Edit& TCalcCustomForm::TanniEdit(int row) const { return Slot(TanniEdits, row, "TanniEdits"); }
Edit& TCalcCustomForm::ValueEdit(int row) const { return Slot(ValueEdits, row, "ValueEdits"); }
ComboBox& TCalcCustomForm::ShosuCombo(int row) const {
  return Slot(ShosuCombos, row, "ShosuCombos");
}
ComboBox& TCalcCustomForm::ColorCombo(int row) const {
  return Slot(ColorCombos, row, "ColorCombos");
}

FilePath TCalcCustomForm::userBitmapPath() const { return exeFolder_ / FilePath(BitmapFileName); }

void TCalcCustomForm::showStandardIcon() {
  ICONImage.setPicture(StandardIcon(table_[EditedCategory]));
}

void TCalcCustomForm::centreIcon() {
  // Integer division toward zero, also for a picture larger than the panel.
  const Picture& picture = ICONImage.picture();
  ICONImage.setLeft((ICONPanel.bounds().width - 4 - picture.width) / 2);
  ICONImage.setTop((ICONPanel.bounds().height - 4 - picture.height) / 2);
}

void TCalcCustomForm::SetCategory(std::int32_t category) {
  const CategoryRecord& record = table_[category];
  EditedCategory = category;
  // Every kind but 0 means the user's file, however a hand-edited file put it.
  IconComboBox.setItemIndex(record.IconKind == 0 ? 0 : 1);
  BitmapFileName = UserBitmapFileName(category);

  std::string labelText(kStandard);
  if (IconComboBox.itemIndex() == 0) {
    showStandardIcon();
  } else if (const std::optional<Picture> picture = services_.loadBitmapFile(userBitmapPath())) {
    ICONImage.setPicture(*picture);
    labelText = BitmapFileName;
  } else {
    services_.messageBox(kIconFallback, BitmapFileName, kMbOk);
    showStandardIcon();
    IconComboBox.setItemIndex(0);
  }
  centreIcon();
  BMPNameLabel.setText(labelText);
  NameEdit.setText(record.CategoryName);

  std::vector<std::string> decimals;
  for (int d = 0; d <= 5; ++d) decimals.push_back(std::to_string(d));
  const std::vector<std::string> colours(std::begin(kColourItems), std::end(kColourItems));
  for (int row = 1; row <= kUnitsPerCategory; ++row) {
    const UnitRecord& unit = record.unit(row);
    // A text longer than the boxes take (a name from a hand-edited file, a
    // factor of many digits) must survive being edited: the box's limit
    // would otherwise cut it at the first keystroke.
    const int nameBytes = static_cast<int>(unit.Name.size());
    TanniEdit(row).setMaxBytes(std::max(kBoxBytes, nameBytes));
    TanniEdit(row).setText(unit.Name);
    const std::string value = FormatResult(unit.Factor.value(), unit.Decimals, kValueWidth);
    ValueEdit(row).setMaxBytes(std::max(kBoxBytes, static_cast<int>(value.size())));
    ValueEdit(row).setText(value);
    shownValues_[static_cast<std::size_t>(row - 1)] = {value, unit.Factor};
    // Decimals from a hand-edited file beyond the list show as an entry of
    // their own, so that the box left alone keeps them.
    std::vector<std::string> items = decimals;
    const bool listed = unit.Decimals >= 0 && unit.Decimals < static_cast<int>(items.size());
    if (!listed) items.push_back(std::to_string(unit.Decimals));
    ShosuCombo(row).setItems(std::move(items));
    ShosuCombo(row).setItemIndex(listed ? unit.Decimals : static_cast<int>(decimals.size()));
    ColorCombo(row).setItems(colours);
    ColorCombo(row).setItemIndex(ColourIndexOf(unit.Colour));
  }
}

void TCalcCustomForm::ImageDisplayButtonClick() {
  if (IconComboBox.itemIndex() == 0) {
    BMPNameLabel.setText(kStandard);
    showStandardIcon();
    return;
  }
  if (IconComboBox.itemIndex() != 1) return;
  if (!services_.fileExists(userBitmapPath())) {
    services_.beep(kMbOk);
    services_.messageBox("ﾌｧｲﾙが見つからない", BitmapFileName, kMbOk);
    BMPNameLabel.setText(kStandard);
    IconComboBox.setItemIndex(0);
    return;
  }
  BMPNameLabel.setText(BitmapFileName);
  const std::optional<Picture> picture = services_.loadBitmapFile(userBitmapPath());
  // A file that is there but is no bitmap goes to the general error report.
  if (!picture) throw std::runtime_error("ﾋﾞｯﾄﾏｯﾌﾟとして読めない " + BitmapFileName);
  ICONImage.setPicture(*picture);
  centreIcon();
}

void TCalcCustomForm::OKButtonClick() {
  const int iconKind = IconComboBox.itemIndex();
  if (iconKind == 1 && !services_.fileExists(userBitmapPath())) {
    services_.beep(kMbOk);
    services_.messageBox(".BMPﾌｧｲﾙが見つからない", BitmapFileName, kMbOk);
    return;
  }

  CategoryRecord& record = table_[EditedCategory];
  settings_.writeCategoryName(EditedCategory, NameEdit.text());
  SetCategoryName(record, NameEdit.text());
  settings_.writeIconKind(EditedCategory, iconKind);
  record.IconKind = static_cast<std::uint8_t>(iconKind);

  // Every row is checked before any is stored, the range of a factor too. A
  // box left as it was filled keeps its unit's factor bit for bit: the box
  // shows it rounded to the unit's decimals, and storing that would move
  // every later conversion (or empty a small factor altogether).
  std::array<Real48, kUnitsPerCategory> factors;
  std::array<std::string, kUnitsPerCategory> dataTexts;
  for (int row = 1; row <= kUnitsPerCategory; ++row) {
    const std::size_t k = static_cast<std::size_t>(row - 1);
    const std::string& text = ValueEdit(row).text();
    // (An empty box is never one the dialog filled.)
    if (!text.empty() && text == shownValues_[k].text) {
      factors[k] = shownValues_[k].factor;
      const std::optional<Real48> shown = FactorOf(text);
      const bool exact = shown && shown->bytes() == factors[k].bytes();
      dataTexts[k] = exact ? text : ShortestRealText(factors[k]);
      continue;
    }
    const std::optional<Real48> factor = FactorOf(text);
    if (!factor) {
      services_.messageBox(std::to_string(row) + " 行目エラー", "変換値エラー", kMbOk);
      return;
    }
    factors[k] = *factor;
    dataTexts[k] = text;
  }

  // Memory follows the file key by key, so a failed write leaves both as far
  // as they got.
  for (int row = 1; row <= kUnitsPerCategory; ++row) {
    const std::size_t k = static_cast<std::size_t>(row - 1);
    UnitRecord& unit = record.unit(row);
    settings_.writeUnitName(EditedCategory, row, TanniEdit(row).text());
    SetUnitName(unit, TanniEdit(row).text());
    unit.Factor = factors[k];
    settings_.writeUnitValue(EditedCategory, row, dataTexts[k]);
    const int decimals = ChosenDecimals(ShosuCombo(row), unit.Decimals);
    settings_.writeUnitDecimals(EditedCategory, row, decimals);
    unit.Decimals = decimals;
    const int colourIndex = ColorCombo(row).itemIndex();
    if (const std::optional<std::uint32_t> colour = ColourOfIndex(colourIndex)) {
      unit.Colour = *colour;
    }
    settings_.writeUnitColour(EditedCategory, row, colourIndex);
  }
  // A money category's date follows its rates, as when the rate panel saves
  // them.
  const std::string date = DateText(services_.today());
  if (settings_.writeRateDateIfChanged(EditedCategory, date)) record.RateDate = date;
  setModalResult(kModalOk);
}

void TCalcCustomForm::ExitButtonClick() { setModalResult(kModalCancel); }

void TCalcCustomForm::HelpButtonClick() {
  services_.help(owner() ? *owner() : *this, helpFile_, HelpCommand::Context, kHelpContext);
}

bool CustomizeCategory(Services& services, Form& owner, CategoryTable& table,
                       SettingsFile& settings, int currentCategory, const FilePath& exeFolder,
                       const FilePath& helpFile) {
  if (currentCategory == kTemperatureCategory || currentCategory == kNumberBaseCategory) {
    services.messageBox("温度とパソコンはｶｽﾄﾏｲｽﾞ不可", "処理中断", kMbOk);
    return false;
  }
  auto dialog =
      std::make_unique<TCalcCustomForm>(services, owner, table, settings, exeFolder, helpFile);
  CalcCustomForm = dialog.get();
  // The global must never outlive the dialog, also when filling or running fails.
  struct Forget {
    ~Forget() { CalcCustomForm = nullptr; }
  } forget;
  dialog->SetCategory(currentCategory);
  const int result = services.runModal(*dialog);
  CalcCustomForm = nullptr;
  services.releaseLater(std::move(dialog));
  return result == kModalOk;
}

}  // namespace hk
