#include "ui/CalcUnt1.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ErrorLog.h"
#include "platform/RecordingServices.h"
#include "support/TempFolder.h"

namespace hk {
namespace {

// A small 24-bit Windows bitmap, all grey.
void WriteBitmap(const std::filesystem::path& path, int width, int height) {
  const int stride = (width * 3 + 3) / 4 * 4;
  const std::uint32_t bits = 54;
  const std::uint32_t size = bits + static_cast<std::uint32_t>(stride * height);
  std::string bytes = "BM";
  auto put = [&bytes](std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  };
  put(size, 4);
  put(0, 4);
  put(bits, 4);
  put(40, 4);
  put(static_cast<std::uint32_t>(width), 4);
  put(static_cast<std::uint32_t>(height), 4);
  put(1, 2);
  put(24, 2);
  put(0, 4);
  put(size - bits, 4);
  bytes.append(16, '\0');  // resolution and palette counts
  bytes.append(size - bits, '\x80');
  std::ofstream(path, std::ios::binary) << bytes;
}

class CalcCustomTest : public ::testing::Test {
 protected:
  std::filesystem::path settingsPath() const { return folder.path() / "hakarimaru.KZN"; }

  std::unique_ptr<TCalcCustomForm> open(int category) {
    auto dialog = std::make_unique<TCalcCustomForm>(services, owner, table, *settings,
                                                    folder.path(), helpFile);
    dialog->SetCategory(category);
    return dialog;
  }

  std::vector<std::string> settingsLines() const {
    std::ifstream in(settingsPath(), std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }

  bool fileHolds(const std::string& line) const {
    const std::vector<std::string> lines = settingsLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  // Clicks OK; the dialog's result.
  int confirm(TCalcCustomForm& dialog) {
    dialog.OKButton.click();
    return dialog.modalResult();
  }

  // The table as the program holds it after starting without a settings
  // file: the unit names padded to eight bytes.
  CategoryTable startUpTable() const {
    CategoryTable started = CategoryTable::BuiltIn();
    SettingsFile(folder.path() / "none.KZN").loadCategories(started);
    return started;
  }

  TempFolder folder;
  RecordingServices services;
  ErrorLog errors;
  Form owner{FormStyle::BorderlessPopup};
  CategoryTable table = startUpTable();
  std::unique_ptr<SettingsFile> settings = std::make_unique<SettingsFile>(settingsPath());
  std::filesystem::path helpFile = folder.path() / "ZO_VEZA.HLP";
};

TEST_F(CalcCustomTest, FrameAndKeyboard) {
  auto dialog = open(1);

  EXPECT_EQ(dialog->style(), FormStyle::SizableDialog);
  EXPECT_EQ(dialog->owner(), &owner);
  EXPECT_EQ(dialog->text(), "変換データカストマイズ");
  // Any frame leaves the designed outer size; the client area gives way.
  dialog->setFrameExtent(16, 39);
  EXPECT_EQ(dialog->bounds(), (Rect{470, 405, 345, 437}));
  EXPECT_EQ(dialog->clientWidth(), 345 - 16);
  EXPECT_EQ(dialog->focused(), &dialog->NameEdit);
  // Widened, it gives the room to the values; the boxes beside move along.
  for (const int extra : {100, 0}) {
    dialog->resized({470, 405, 345 + extra, 437});
    EXPECT_EQ(dialog->ValueEdit(9).bounds(), (Rect{108, 332, 89 + extra, 21}));
    EXPECT_EQ(dialog->ShosuCombo(9).bounds().left, 200 + extra);
    EXPECT_EQ(dialog->ColorCombo(1).bounds().left, 260 + extra);
    EXPECT_EQ(dialog->Label5.bounds().left, 272 + extra);
  }

  // Enter and Escape press nothing: no default button, no button that closes.
  EXPECT_EQ(dialog->defaultButton(), nullptr);
  for (const Button* button : {&dialog->OKButton, &dialog->HelpButton, &dialog->ExitButton}) {
    EXPECT_EQ(button->modalResult(), kModalNone) << button->text();
  }
  // The underlined letters press their buttons, Enter only a focused one.
  EXPECT_FALSE(dialog->pressShortcut(key::kEscape, kNoModifiers));
  dialog->pressEnter();
  dialog->HelpButton.focus();
  dialog->pressEnter();
  EXPECT_TRUE(dialog->pressAccelerator('h') && dialog->pressAccelerator('x'));
  EXPECT_EQ(services.helpCalls.size(), 2u);
  EXPECT_EQ(dialog->modalResult(), kModalCancel);
  EXPECT_TRUE(open(1)->pressAccelerator('o') && fileHolds("NAME=長さ1&L"));
  // Twelve bytes of a name: what goes beyond is refused, whole characters only.
  dialog->NameEdit.typeText("ﾒｰﾄﾙ漢字");
  EXPECT_EQ(dialog->NameEdit.text(), "長さ1&Lﾒｰﾄﾙ");
  EXPECT_THROW(dialog->TanniEdit(10), std::out_of_range);
  // The input method is off where numbers go and the user's where names go.
  EXPECT_FALSE(dialog->NameEdit.numeric());
  for (int row = 1; row <= kUnitsPerCategory; ++row) {
    EXPECT_TRUE(dialog->ValueEdit(row).numeric() && !dialog->TanniEdit(row).numeric()) << row;
  }
}

TEST_F(CalcCustomTest, FillsTheBoxesFromTheTable) {
  CategoryRecord& sample = table[11];
  sample.IconKind = 0;
  const struct {
    long double factor;
    std::int32_t decimals;
    std::uint32_t colour;
    const char* value;
    int decimalsItem;
    const char* colourItem;
  } rows[] = {
      {1000, 0, kBlack, "      1000", 0, "黒"},       {39.3701L, 5, kBlue, "  39.37010", 5, "青"},
      {0.0006215L, 5, kRed, "   0.00062", 5, "赤"},   {2, 1, kGreen, "       2.0", 1, "緑"},
      {2, 7, 0x00123456, " 2.0000000", 6, "緑"},       // hand-edited decimals and colour
      {1e15L, 0, kBlue, "1000000000000000", 0, "青"},  // longer than the box takes
      {2, -1, kBlue, " 2.000000E+0000", 6, "青"},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    UnitRecord& unit = sample.unit(static_cast<int>(i) + 1);
    unit.Factor = rows[i].factor;
    unit.Decimals = rows[i].decimals;
    unit.Colour = rows[i].colour;
  }

  auto dialog = open(11);

  EXPECT_EQ(dialog->EditedCategory, 11);
  EXPECT_EQ(dialog->BitmapFileName, "ZOVEZA11.BMP");
  EXPECT_EQ(dialog->NameEdit.text(), "運動&Y");
  EXPECT_EQ(dialog->IconComboBox.itemIndex(), 0);
  EXPECT_EQ(dialog->BMPNameLabel.text(), "標準");
  EXPECT_EQ(dialog->ICONImage.picture(), Picture::FromResource("BM_EXER1"));
  EXPECT_EQ(dialog->ICONImage.bounds().left, 20);
  EXPECT_EQ(dialog->ICONImage.bounds().top, 15);
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const int row = static_cast<int>(i) + 1;
    EXPECT_EQ(dialog->TanniEdit(row).text(), sample.unit(row).Name) << row;
    EXPECT_EQ(dialog->ValueEdit(row).text(), rows[i].value) << row;
    // Decimals beyond the list show as an entry of their own.
    std::vector<std::string> decimalsItems{"0", "1", "2", "3", "4", "5"};
    if (rows[i].decimalsItem == 6) decimalsItems.push_back(std::to_string(rows[i].decimals));
    EXPECT_EQ(dialog->ShosuCombo(row).items(), decimalsItems) << row;
    EXPECT_EQ(dialog->ShosuCombo(row).itemIndex(), rows[i].decimalsItem) << row;
    EXPECT_EQ(dialog->ColorCombo(row).items(), (std::vector<std::string>{"黒", "青", "赤", "緑"}));
    EXPECT_EQ(dialog->ColorCombo(row).items()[dialog->ColorCombo(row).itemIndex()],
              rows[i].colourItem)
        << row;
  }
  // The long factor survives an edit of its box.
  dialog->ValueEdit6.userChanged("2000000000000000");
  EXPECT_EQ(dialog->ValueEdit6.text(), "2000000000000000");
  EXPECT_TRUE(services.messageBoxes.empty());
}

TEST_F(CalcCustomTest, UserBitmapWhenFilling) {
  const struct {
    const char* name;
    std::uint8_t iconKind;
    int width;  // 0: no file
    int height;
    int item;
    const char* label;
    Point at;
    bool fallback;
  } cases[] = {
      {"file present", 1, 32, 24, 1, "ZOVEZA05.BMP", {16, 12}, false},
      {"larger than the panel", 1, 80, 60, 1, "ZOVEZA05.BMP", {-7, -5}, false},
      {"any kind but 0", 7, 32, 24, 1, "ZOVEZA05.BMP", {16, 12}, false},
      {"file missing", 1, 0, 0, 0, "標準", {20, 15}, true},
  };
  const std::filesystem::path file = folder.path() / "ZOVEZA05.BMP";
  for (const auto& c : cases) {
    std::filesystem::remove(file);
    if (c.width > 0) WriteBitmap(file, c.width, c.height);
    table[5].IconKind = c.iconKind;
    services.messageBoxes.clear();

    auto dialog = open(5);

    EXPECT_EQ(dialog->IconComboBox.itemIndex(), c.item) << c.name;
    EXPECT_EQ(dialog->BMPNameLabel.text(), c.label) << c.name;
    EXPECT_EQ(dialog->ICONImage.bounds().left, c.at.x) << c.name;
    EXPECT_EQ(dialog->ICONImage.bounds().top, c.at.y) << c.name;
    EXPECT_EQ(dialog->ICONImage.picture().source,
              c.fallback ? Picture::Source::Resource : Picture::Source::File)
        << c.name;
    if (c.fallback) {
      ASSERT_EQ(services.messageBoxes.size(), 1u) << c.name;
      EXPECT_EQ(services.messageBoxes[0].text, "ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙが見つからないので標準に戻します");
      EXPECT_EQ(services.messageBoxes[0].title, "ZOVEZA05.BMP");
      EXPECT_EQ(table[5].IconKind, c.iconKind) << "memory keeps the kind";
    } else {
      EXPECT_TRUE(services.messageBoxes.empty()) << c.name;
    }
  }
  EXPECT_TRUE(services.beeps.empty());
}

TEST_F(CalcCustomTest, Preview) {
  const std::filesystem::path file = folder.path() / "ZOVEZA05.BMP";
  auto dialog = open(5);
  const Picture standard = dialog->ICONImage.picture();

  // Missing file: a beep, a message, and back on the standard picture.
  dialog->IconComboBox.selectItem(1);
  dialog->ImageDisplayButton.click();
  EXPECT_EQ(services.beeps, std::vector<unsigned>{kMbOk});
  ASSERT_EQ(services.messageBoxes.size(), 1u);
  EXPECT_EQ(services.messageBoxes[0].text, "ﾌｧｲﾙが見つからない");
  EXPECT_EQ(services.messageBoxes[0].title, "ZOVEZA05.BMP");
  EXPECT_EQ(dialog->IconComboBox.itemIndex(), 0);
  EXPECT_EQ(dialog->BMPNameLabel.text(), "標準");
  EXPECT_EQ(dialog->ICONImage.picture(), standard);

  WriteBitmap(file, 40, 30);
  dialog->IconComboBox.selectItem(1);
  dialog->ImageDisplayButton.click();
  EXPECT_EQ(dialog->BMPNameLabel.text(), "ZOVEZA05.BMP");
  EXPECT_EQ(dialog->ICONImage.picture().file, file);
  EXPECT_EQ(dialog->ICONImage.bounds().left, 12);
  EXPECT_EQ(dialog->ICONImage.bounds().top, 9);

  // Back to the standard picture, which stays where the user's was.
  dialog->IconComboBox.selectItem(0);
  dialog->ImageDisplayButton.click();
  EXPECT_EQ(dialog->BMPNameLabel.text(), "標準");
  EXPECT_EQ(dialog->ICONImage.picture(), standard);
  EXPECT_EQ(dialog->ICONImage.bounds().left, 12);

  // A file that is no bitmap reaches the error report.
  std::ofstream(file, std::ios::binary) << "not a bitmap";
  dialog->IconComboBox.selectItem(1);
  dialog->ImageDisplayButton.click();
  EXPECT_EQ(errors.texts.size(), 1u);
  EXPECT_EQ(dialog->BMPNameLabel.text(), "ZOVEZA05.BMP");
  EXPECT_EQ(dialog->ICONImage.picture(), standard);
  EXPECT_EQ(services.messageBoxes.size(), 1u);
}

TEST_F(CalcCustomTest, ConfirmingUnchangedKeepsEveryFactor) {
  // A factor below half the last decimal shown, which the box shows as 0.
  table[1].unit(9).Factor = Real48(0.000001L);
  const CategoryRecord started = table[1];
  auto dialog = open(1);
  EXPECT_EQ(confirm(*dialog), kModalOk);

  std::vector<std::string> expected = {"[BUNRUI1]", "NAME=長さ1&L", "ICON=0"};
  for (int row = 1; row <= kUnitsPerCategory; ++row) {
    const std::string number = std::to_string(row);
    // Every name of the category has a blank at one end at least.
    expected.push_back("Button" + number + "=\"" + started.unit(row).Name + "\"");
    // The box's text where it is the factor exactly, else the factor's own.
    const std::string own = row == 6   ? "0.0006215"
                            : row == 8 ? "0.004971"
                            : row == 9 ? "0.000001"
                                       : "";
    expected.push_back("DATA" + number + "=" + (own.empty() ? dialog->ValueEdit(row).text() : own));
    EXPECT_EQ(table[1].unit(row).Factor.bytes(), started.unit(row).Factor.bytes()) << row;
    expected.push_back("POINT" + number + "=5");
    expected.push_back("COLOR" + number + "=1");
  }
  // Names with outer blanks go in quotes, so they read back whole.
  EXPECT_EQ(expected[3], "Button1=\" ﾒｰﾄﾙ   \"");
  EXPECT_EQ(expected[7], "Button2=\"ｾﾝﾁﾒｰﾄﾙ \"");
  EXPECT_EQ(settingsLines(), expected);
  EXPECT_TRUE(services.messageBoxes.empty());
  EXPECT_TRUE(errors.texts.empty());
}

TEST_F(CalcCustomTest, ConfirmedCategoriesReadBackByteForByte) {
  for (int category = 1; category <= kCategoryCount; ++category) {
    if (category == kTemperatureCategory || category == kNumberBaseCategory) continue;
    auto dialog = open(category);
    ASSERT_EQ(confirm(*dialog), kModalOk) << category;
  }
  CategoryTable reloaded = CategoryTable::BuiltIn();
  SettingsFile(settingsPath()).loadCategories(reloaded);
  const CategoryTable started = startUpTable();
  for (int category = 1; category <= kCategoryCount; ++category) {
    EXPECT_EQ(reloaded[category].CategoryName, table[category].CategoryName) << category;
    for (int unit = 1; unit <= kUnitsPerCategory; ++unit) {
      const UnitRecord& read = reloaded[category].unit(unit);
      const UnitRecord& kept = table[category].unit(unit);
      EXPECT_EQ(read.Name, kept.Name) << category << "/" << unit;
      EXPECT_EQ(read.Name, started[category].unit(unit).Name) << category << "/" << unit;
      EXPECT_EQ(read.Factor.bytes(), kept.Factor.bytes()) << category << "/" << unit;
      EXPECT_EQ(read.Factor.bytes(), started[category].unit(unit).Factor.bytes())
          << category << "/" << unit;
      EXPECT_EQ(read.Decimals, kept.Decimals);
      EXPECT_EQ(read.Colour, kept.Colour);
    }
    // No rate changed: no money category has a date.
    EXPECT_EQ(reloaded[category].RateDate, "") << category;
  }
}

// A new rate dates its money category, in memory and in the file; another
// category's values never do.
TEST_F(CalcCustomTest, AChangedRateDatesAMoneyCategory) {
  for (const int category : {25, 11}) {
    auto dialog = open(category);
    dialog->ValueEdit2.setText("0.95");
    EXPECT_EQ(confirm(*dialog), kModalOk);
  }
  EXPECT_EQ(table[25].RateDate, "2026-12-08");
  EXPECT_EQ(table[11].RateDate, "");
  const std::vector<std::string> lines = settingsLines();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), "DATE=2026-12-08"), 1);
  const auto next = std::find(lines.begin(), lines.end(), "[BUNRUI11]");
  ASSERT_NE(next, lines.begin());
  EXPECT_EQ(*(next - 1), "DATE=2026-12-08");  // after BUNRUI25's rates
}

TEST_F(CalcCustomTest, EditedRowsGoToMemoryAndFile) {
  table[12].unit(2).Decimals = 8;
  table[12].unit(4).Colour = 0x00123456;
  table[12].unit(7).Decimals = -1;
  auto dialog = open(12);
  dialog->NameEdit.setText("自作&Q");
  dialog->TANNIEdit3.setText("");
  dialog->TANNIEdit3.typeText("ｍ");
  dialog->TANNIEdit6.setText("m");
  dialog->ValueEdit3.setText("   2.54");
  dialog->ShosuCombo3.selectItem(2);
  dialog->ColorCombo3.selectItem(2);
  dialog->ValueEdit5.setText("e5");

  EXPECT_EQ(confirm(*dialog), kModalOk);

  const CategoryRecord& record = table[12];
  EXPECT_EQ(record.CategoryName, "自作&Q");
  // Eight bytes in memory, the name alone in the file.
  EXPECT_EQ(record.unit(3).Name, "ｍ      ");
  EXPECT_EQ(record.unit(6).Name, "m       ");
  EXPECT_EQ(record.unit(3).Factor.value(), Real48(2.54L).value());
  EXPECT_EQ(record.unit(3).Decimals, 2);
  EXPECT_EQ(record.unit(3).Colour, kRed);
  // Decimals beyond the list, left alone, stay.
  EXPECT_EQ(record.unit(2).Decimals, 8);
  EXPECT_EQ(record.unit(7).Decimals, -1);
  EXPECT_EQ(record.unit(4).Colour, kGreen);
  EXPECT_TRUE(record.unit(5).isEmpty());
  for (const char* line : {"NAME=自作&Q", "Button3=ｍ", "Button6=m", "DATA3=   2.54", "POINT3=2",
                           "COLOR3=2", "POINT2=8", "POINT7=-1", "COLOR4=3", "DATA5=e5"}) {
    EXPECT_TRUE(fileHolds(line)) << line;
  }
}

TEST_F(CalcCustomTest, ABadRowStopsAfterNameAndIcon) {
  const struct {
    int row;
    const char* text;
  } cases[] = {
      {9, ""},
      {1, "   "},
      {2, "5."},
      {3, "1,000"},
      {4, "2.5 "},
      {5, "-"},
      {6, "1e"},
      {7, "１"},
      // Syntax alone would pass these; a factor cannot hold them.
      {8, "1e39"},
      {8, "-2e38"},
      {8, "1e5000"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(settingsPath());
    settings = std::make_unique<SettingsFile>(settingsPath());
    table = startUpTable();
    services.messageBoxes.clear();
    auto dialog = open(2);
    dialog->NameEdit.setText("広さ&W");
    dialog->ValueEdit(c.row).setText(c.text);
    dialog->TANNIEdit1.setText("x");

    EXPECT_EQ(confirm(*dialog), kModalNone) << c.text;

    ASSERT_EQ(services.messageBoxes.size(), 1u) << c.text;
    EXPECT_EQ(services.messageBoxes[0].text, std::to_string(c.row) + " 行目エラー");
    EXPECT_EQ(services.messageBoxes[0].title, "変換値エラー");
    EXPECT_EQ(settingsLines(), (std::vector<std::string>{"[BUNRUI2]", "NAME=広さ&W", "ICON=0"}))
        << c.text;
    EXPECT_EQ(table[2].CategoryName, "広さ&W");
    EXPECT_EQ(table[2].unit(1).Name, startUpTable()[2].unit(1).Name) << c.text;
  }
  EXPECT_TRUE(errors.texts.empty());
}

TEST_F(CalcCustomTest, UserBitmapOnConfirming) {
  auto dialog = open(5);
  dialog->NameEdit.setText("新しい名前");
  dialog->IconComboBox.selectItem(1);

  // Without its file nothing at all is stored.
  EXPECT_EQ(confirm(*dialog), kModalNone);
  EXPECT_EQ(services.beeps, std::vector<unsigned>{kMbOk});
  ASSERT_EQ(services.messageBoxes.size(), 1u);
  EXPECT_EQ(services.messageBoxes[0].text, ".BMPﾌｧｲﾙが見つからない");
  EXPECT_EQ(services.messageBoxes[0].title, "ZOVEZA05.BMP");
  EXPECT_FALSE(std::filesystem::exists(settingsPath()));
  EXPECT_EQ(table[5].CategoryName, "重さ&T");

  WriteBitmap(folder.path() / "ZOVEZA05.BMP", 24, 18);
  EXPECT_EQ(confirm(*dialog), kModalOk);
  EXPECT_TRUE(fileHolds("ICON=1"));
  EXPECT_EQ(table[5].IconKind, 1);
  EXPECT_EQ(table[5].CategoryName, "新しい名前");
}

TEST_F(CalcCustomTest, AFailedWriteAbandonsConfirming) {
  settings = std::make_unique<SettingsFile>(folder.path() / "gone" / "hakarimaru.KZN");
  auto dialog = open(3);
  dialog->NameEdit.setText("体積");

  EXPECT_EQ(confirm(*dialog), kModalNone);

  ASSERT_EQ(errors.texts.size(), 1u);
  EXPECT_EQ(errors.texts[0].rfind("Unable to write to ", 0), 0u);
  EXPECT_EQ(table[3].CategoryName, CategoryTable::BuiltIn()[3].CategoryName);
}

// A write that fails inside a unit row: the keys before it are in the file,
// and memory holds exactly what was stored before the failing key.
TEST_F(CalcCustomTest, AWriteFailingInsideARowLeavesMemoryAsFarAsTheFileGot) {
  auto dialog = open(1);
  dialog->TanniEdit(1).setText("m");
  dialog->ValueEdit(1).setText("2");
  dialog->ShosuCombo(1).setItemIndex(3);
  dialog->ColorCombo(1).setItemIndex(2);
  int writes = 0;
  // NAME, ICON, Button1, then DATA1 fails.
  settings->setBeforeReplaceHookForTesting([&writes](const std::filesystem::path&) {
    if (++writes == 4) throw std::runtime_error("disk full");
  });

  EXPECT_EQ(confirm(*dialog), kModalNone);

  ASSERT_EQ(errors.texts.size(), 1u);
  const UnitRecord& unit = table[1].unit(1);
  EXPECT_EQ(unit.Name, "m       ");      // Button1 was written
  EXPECT_EQ(unit.Factor.value(), 2.0L);  // the factor is stored before DATA1
  EXPECT_EQ(unit.Decimals, 5);           // POINT1 was never reached
  EXPECT_EQ(unit.Colour, kBlue);
  EXPECT_TRUE(fileHolds("Button1=m"));
  for (const std::string& line : settingsLines()) EXPECT_NE(line.rfind("DATA1=", 0), 0u);
}

TEST_F(CalcCustomTest, CustomizeCategoryRunsTheDialog) {
  // The temperature and number-base categories are not the user's to change.
  for (int category : {kTemperatureCategory, kNumberBaseCategory}) {
    services.messageBoxes.clear();
    EXPECT_FALSE(
        CustomizeCategory(services, owner, table, *settings, category, folder.path(), helpFile));
    ASSERT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_EQ(services.messageBoxes[0].text, "温度とパソコンはｶｽﾄﾏｲｽﾞ不可");
    EXPECT_EQ(services.messageBoxes[0].title, "処理中断");
  }
  EXPECT_TRUE(services.modalRuns.empty());

  const struct {
    const char* name;
    void (*act)(TCalcCustomForm&);
    bool confirmed;
  } cases[] = {
      {"OK", [](TCalcCustomForm& d) { d.OKButton.click(); }, true},
      {"Exit", [](TCalcCustomForm& d) { d.ExitButton.click(); }, false},
      {"close box", [](TCalcCustomForm& d) { d.close(); }, false},
      {"help, then close",
       [](TCalcCustomForm& d) {
         d.HelpButton.click();
         d.close();
       },
       false},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(settingsPath());
    settings = std::make_unique<SettingsFile>(settingsPath());
    TCalcCustomForm* seen = nullptr;
    services.onRunModal = [&](Form& form) {
      seen = dynamic_cast<TCalcCustomForm*>(&form);
      if (seen && CalcCustomForm == seen && seen->EditedCategory == 4) c.act(*seen);
      return kModalNone;
    };

    EXPECT_EQ(CustomizeCategory(services, owner, table, *settings, 4, folder.path(), helpFile),
              c.confirmed)
        << c.name;

    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(seen->owner(), &owner);
    EXPECT_EQ(CalcCustomForm, nullptr) << c.name;
    EXPECT_EQ(std::filesystem::exists(settingsPath()), c.confirmed) << c.name;
    EXPECT_EQ(services.pump(), 1u) << c.name;
  }
  ASSERT_EQ(services.helpCalls.size(), 1u);
  EXPECT_EQ(services.helpCalls[0].owner, &owner);
  EXPECT_EQ(services.helpCalls[0].file, helpFile);
  EXPECT_EQ(services.helpCalls[0].command, HelpCommand::Context);
  EXPECT_EQ(services.helpCalls[0].context, 265u);
  EXPECT_TRUE(errors.texts.empty());
}

}  // namespace
}  // namespace hk
