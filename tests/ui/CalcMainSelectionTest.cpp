// The main window's pages, categories and units: what the buttons show, what
// choosing one does, and the function keys.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ui/CalcMainFixture.h"
#include "ui/CalcUnt2.h"

namespace hk {
namespace {

// A 24-bit Windows bitmap of the given size, every pixel grey.
std::string BitmapBytes(int width, int height) {
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  const std::uint32_t pixels = static_cast<std::uint32_t>(rowBytes * height);
  std::string bytes;
  auto put = [&bytes](std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  };
  bytes += "BM";
  put(54 + pixels, 4);
  put(0, 4);
  put(54, 4);
  put(40, 4);
  put(static_cast<std::uint32_t>(width), 4);
  put(static_cast<std::uint32_t>(height), 4);
  put(1, 2);
  put(24, 2);
  put(0, 4);
  put(pixels, 4);
  bytes.append(16, '\0');  // resolution and palette counts
  bytes.append(pixels, '\x80');
  return bytes;
}

// The DATE of a category's section in the file's bytes, or nothing.
std::string DateOf(const std::string& bytes, int category) {
  const std::size_t section = bytes.find("[BUNRUI" + std::to_string(category) + "]");
  if (section == std::string::npos) return {};
  const std::size_t end = bytes.find("\r\n[", section);
  const std::size_t key = bytes.find("\r\nDATE=", section);
  if (key == std::string::npos || key > end) return {};
  return bytes.substr(key + 7, 10);
}

using UnitDisplay = CalcMainTest;

TEST_F(UnitDisplay, EveryCategoryShowsItsUnitsOnBothRows) {
  // Units with a factor of 0 are blank and inert, whatever their name.
  table[6].unit(2).Factor = Real48();
  table[6].unit(2).Name = "消えた  ";
  table[7].unit(3).Colour = kGreen;
  writeSettings("[ZOVA]\r\nPAGE=1\r\n");
  auto form = start();

  for (int position = 1; position <= kCategoriesPerPage; ++position) {
    form->CategoryButton(position).click();
    const CategoryRecord& category = table[position];
    int present = 0;
    for (int u = 1; u <= kUnitsPerCategory; ++u) {
      const UnitRecord& unit = category.unit(u);
      for (const SpeedButton* button : {&form->FromButton(u), &form->ToButton(u)}) {
        if (unit.isEmpty()) {
          EXPECT_EQ(button->text(), "") << position << "/" << u;
          EXPECT_FALSE(button->enabled()) << position << "/" << u;
        } else {
          EXPECT_EQ(button->text(), unit.Name) << position << "/" << u;
          EXPECT_EQ(button->font().colour, unit.Colour) << position << "/" << u;
          EXPECT_TRUE(button->enabled()) << position << "/" << u;
        }
        // The unit buttons keep their own font, only coloured by the unit.
        EXPECT_EQ(button->font().height, -13);
      }
      if (!unit.isEmpty()) ++present;
    }
    EXPECT_EQ(form->Selection.UnitCount, present) << position;
  }
  form->CategoryButton(6).click();
  EXPECT_FALSE(form->FromButton(2).enabled());
  EXPECT_TRUE(form->FromButton(3).enabled());
  form->CategoryButton(7).click();
  EXPECT_EQ(form->ToButton(3).font().colour, kGreen);
}

TEST_F(UnitDisplay, EveryUnitButtonButTheFirstToButtonShowsTheFirstFromGlyph) {
  auto form = start();
  form->CategoryButton(6).click();  // speed: five units, four empty
  const Picture first = form->TFButton1.glyph();
  ASSERT_FALSE(first.empty());
  for (int u = 2; u <= kUnitsPerCategory; ++u) {
    EXPECT_EQ(form->FromButton(u).glyph(), first) << u;
    EXPECT_EQ(form->ToButton(u).glyph(), first) << u;
  }
  EXPECT_NE(form->TTButton1.glyph(), first);
}

TEST_F(UnitDisplay, ChangingTheCategoryClearsTheNamesAndResultButKeepsTheInput) {
  auto form = start();
  typeInput(*form, "3");
  chooseUnits(*form, 1, 2);

  // The button already down changes nothing.
  form->CategoryButton(1).click();
  EXPECT_EQ(form->Selection.FromUnit, 1);
  EXPECT_EQ(form->ResultValueLabel.text(), "      300.00000");

  form->CategoryButton(9).click();  // the lower row: category 9

  EXPECT_EQ(form->Selection.CurrentCategory, 9);
  EXPECT_TRUE(form->CategoryButton(9).down());
  EXPECT_EQ(downCategoryButtons(*form).size(), 1u);
  EXPECT_EQ(form->TargetTanniPanel.text(), "");
  EXPECT_EQ(form->ResultValueLabel.text(), "");
  EXPECT_EQ(form->ResultTanniLabel.text(), "");
  EXPECT_EQ(form->TargetEdit.text(), "3");
  EXPECT_EQ(form->Selection.FromUnit, -1);
  EXPECT_EQ(form->Selection.ToUnit, -1);
  EXPECT_EQ(history.HistoryCount(), 1);
}

struct BitmapCase {
  const char* name;
  const char* fileBytes;  // nullptr: no file
  bool valid;
};

class UserBitmaps : public CalcMainTest, public ::testing::WithParamInterface<BitmapCase> {};

TEST_P(UserBitmaps, AreShownOrReplacedByTheStandardPictureForTheRun) {
  const BitmapCase& c = GetParam();
  writeSettings("[BUNRUI2]\r\nICON=1\r\n");
  if (c.fileBytes) writeFile("ZOVEZA02.BMP", c.valid ? BitmapBytes(24, 18) : c.fileBytes);
  const std::string before = settingsBytes();

  auto form = start();
  const SpeedButton& button = form->CategoryButton(2);
  if (c.valid) {
    EXPECT_TRUE(services.messageBoxes.empty());
    EXPECT_EQ(button.glyph().source, Picture::Source::File);
    EXPECT_EQ(button.glyph().file, folder.path() / "ZOVEZA02.BMP");
    EXPECT_EQ(button.glyph().width, 24);
    EXPECT_EQ(table[2].IconKind, 1);
  } else {
    ASSERT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_EQ(services.messageBoxes[0].text, "ﾋﾞｯﾄﾏｯﾌﾟﾌｧｲﾙが見つからないので標準に戻します");
    EXPECT_EQ(services.messageBoxes[0].title, "ZOVEZA02.BMP");
    EXPECT_EQ(services.messageBoxes[0].flags, kMbOk);
    EXPECT_EQ(button.glyph(), Picture::FromResource("BM_LEN"));
    EXPECT_EQ(table[2].IconKind, 0);
  }
  EXPECT_EQ(button.text(), "長さ2&V");

  // Shown again, the page asks no more: the standard picture stays for the
  // run, while the file still names the user's bitmap for the next start.
  form->PageButton2.click();
  form->PageButton1.click();
  EXPECT_EQ(services.messageBoxes.size(), c.valid ? 0u : 1u);
  EXPECT_EQ(settingsBytes(), before);
  EXPECT_TRUE(errors.empty());
}

INSTANTIATE_TEST_SUITE_P(Files, UserBitmaps,
                         ::testing::Values(BitmapCase{"Missing", nullptr, false},
                                           BitmapCase{"NotABitmap", "GIF89a, not a bitmap", false},
                                           BitmapCase{"Valid", "", true}),
                         [](const ::testing::TestParamInfo<BitmapCase>& info) {
                           return std::string(info.param.name);
                         });

using PageChange = CalcMainTest;

TEST_F(PageChange, ThePageButtonAlreadyDownChangesNothing) {
  writeSettings("[ZOVA]\r\nPAGE=2\r\nINDEX=17\r\n");
  auto form = start();
  form->CategoryButton(8).click();
  form->FromButton(1).setDown(true);

  form->PageButton2.click();

  EXPECT_EQ(form->Selection.CurrentCategory, 20);
  EXPECT_TRUE(form->CategoryButton(8).down());
  EXPECT_TRUE(form->PageButton2.down());
}

TEST_F(PageChange, ShowsTheNewPageFromItsFirstCategoryAndKeepsTheTexts) {
  auto form = start();
  typeInput(*form, "4");
  chooseUnits(*form, 1, 2);

  form->PageButton2.click();

  EXPECT_EQ(form->Selection.CurrentPage, 2);
  EXPECT_EQ(form->Selection.PageFirst, 13);
  EXPECT_EQ(form->Selection.PageLast, 24);
  EXPECT_EQ(form->Selection.CurrentCategory, 13);
  EXPECT_EQ(downCategoryButtons(*form), std::vector<SpeedButton*>{&form->CategoryButton(1)});
  for (int position = 1; position <= kCategoriesPerPage; ++position) {
    EXPECT_EQ(form->CategoryButton(position).text(), table[12 + position].CategoryName);
  }
  EXPECT_EQ(form->Selection.FromUnit, -1);
  EXPECT_FALSE(form->FromButton(1).down());
  EXPECT_EQ(form->Selection.UnitCount, 0);
  EXPECT_EQ(form->TargetEdit.text(), "4");
  EXPECT_EQ(form->TargetTanniPanel.text(), table[1].unit(1).Name);
  EXPECT_EQ(form->ResultValueLabel.text(), "      400.00000");
  EXPECT_EQ(form->ResultTanniLabel.text(), table[1].unit(2).Name);
}

TEST_F(PageChange, TheMoneyPageWidensTheWindowForTheRatePanel) {
  auto form = start();

  struct Step {
    SpeedButton& button;
    int width;
    bool panel;
  };
  const Step steps[] = {{form->PageButton3, 554, true},
                        {form->PageButton1, 404, false},
                        {form->PageButton3, 554, true},
                        {form->PageButton2, 404, false}};
  for (const Step& step : steps) {
    step.button.click();
    EXPECT_EQ(form->bounds().width, step.width);
    EXPECT_EQ(form->bounds().height, 513);
    EXPECT_EQ(form->MoneyPanel.visible(), step.panel);
    EXPECT_EQ(form->MoneyPanel.enabled(), step.panel);
  }
  EXPECT_EQ(form->MoneyPanel.bounds(), (Rect{404, 2, 148, 507}));
}

TEST_F(PageChange, LeavingTheMoneyPageSavesItsRatesBeforeTheNewButtonsAreShown) {
  // Page 1's second category asks for a user bitmap that is not there, so
  // its message comes while the new page's buttons are being shown.
  writeSettings("[ZOVA]\r\nPAGE=3\r\nINDEX=25\r\n[BUNRUI2]\r\nICON=1\r\n");
  auto form = start();
  form->RateEdit(2).userChanged("1");  // 米ドル becomes 1.94
  std::string fileWhenShown;
  services.onMessageBox = [&](const RecordedMessageBox&) {
    fileWhenShown = settingsBytes();
    return kIdOk;
  };

  form->PageButton1.click();

  EXPECT_NE(fileWhenShown.find("[BUNRUI25]\r\nDATA1=100.00\r\nDATA2=1.94\r\nDATA3=0.90\r\n"),
            std::string::npos)
      << fileWhenShown;
  EXPECT_FALSE(form->Selection.RatesChanged);
  EXPECT_EQ(table[25].unit(2).Factor, Real48(1.94L));
}

TEST_F(PageChange, ChangingMoneyCategoriesSavesTheRatesOfTheOneLeft) {
  writeSettings("[ZOVA]\r\nPAGE=3\r\nINDEX=25\r\n");
  auto form = start();
  form->RateEdit(2).userChanged("3");

  form->CategoryButton(2).click();  // 26

  // No conversion read the edit of 25: it is saved all the same.
  EXPECT_NE(settingsBytes().find("[BUNRUI25]\r\nDATA1=100.00\r\nDATA2=3.94\r\n"), std::string::npos)
      << settingsBytes();
  EXPECT_EQ(table[25].unit(2).Factor, Real48(3.94L));
  EXPECT_TRUE(form->Selection.RatesChanged);
  EXPECT_EQ(form->RateEdit(2).text(), "10");

  // 26 was only looked at: leaving it writes nothing.
  const std::string before = settingsBytes();
  form->PageButton1.click();
  EXPECT_EQ(settingsBytes(), before);
}

// Looking through the money categories, the dialog cancelled and the pages
// write nothing, also at exit beyond the window's keys.
TEST_F(PageChange, BrowsingTheMoneyCategoriesWritesNothing) {
  const std::string file = "[ZOVA]\r\nPAGE=3\r\nINDEX=25\r\n[BUNRUI32]\r\nDATA4=1.4\r\n";
  writeSettings(file);
  auto form = start();
  for (int position = 12; position >= 1; --position) form->CategoryButton(position).click();
  form->RateUpDown(9 + 2).stepUp();
  form->RateUpDown(9 + 2).stepDown();  // back to what it showed
  form->CustomizeMenuClick();          // cancelled
  form->PageButton2.click();
  form->PageButton3.click();
  ASSERT_EQ(services.modalRuns.size(), 1u);
  EXPECT_EQ(settingsBytes(), file);

  form.reset();
  EXPECT_EQ(settingsBytes(),
            "[ZOVA]\r\nPAGE=3\r\nINDEX=25\r\nWinPosX=0\r\nWinPosY=0\r\n"
            "[BUNRUI32]\r\nDATA4=1.4\r\n");
  EXPECT_TRUE(errors.empty());
}

// A file that refuses the rates is reported once and blocks nothing: the
// rates stay in the factors until a save of their category, or the exit,
// finds the file writable again.
TEST_F(PageChange, AFailedSaveIsToldOnceAndKeepsTheRatesUntilALaterSave) {
  writeSettings("[ZOVA]\r\nPAGE=3\r\nINDEX=25\r\n");
  auto form = start();
  refuseWrites();
  form->RateEdit(2).userChanged("+1");  // 1.94

  form->CategoryButton(2).click();  // 26

  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Unable to write to " + settingsPath().string());
  EXPECT_EQ(form->Selection.CurrentCategory, 26);
  EXPECT_EQ(downCategoryButtons(*form), std::vector<SpeedButton*>{&form->CategoryButton(2)});
  EXPECT_EQ(table[25].unit(2).Factor, Real48(1.94L));

  // Neither another category, nor the dialog, nor another page is held up
  // or told again.
  form->RateEdit(1).userChanged("3");  // 26's 円: 3.00
  form->CategoryButton(3).click();
  form->RateEdit(1).userChanged("4");  // 27's
  form->CustomizeMenuClick();
  form->PageButton1.click();
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_EQ(form->Selection.CurrentPage, 1);
  EXPECT_EQ(services.modalRuns.size(), 1u);
  EXPECT_EQ(table[27].unit(1).Factor, Real48(4));

  // Back on the money page, 25 shows what was kept, and leaving it saves it.
  allowWrites();
  form->PageButton3.click();
  EXPECT_EQ(form->RateEdit(2).text(), "1");
  form->CategoryButton(4).click();
  EXPECT_NE(settingsBytes().find("[BUNRUI25]\r\nDATA1=100.00\r\nDATA2=1.94\r\n"), std::string::npos)
      << settingsBytes();
  EXPECT_EQ(settingsBytes().find("[BUNRUI26]"), std::string::npos);

  // 26 and 27 were never shown again: the exit writes them from their factors.
  form.reset();
  for (const char* section : {"[BUNRUI26]\r\nDATA1=3.00\r\n", "[BUNRUI27]\r\nDATA1=4.00\r\n"}) {
    EXPECT_NE(settingsBytes().find(section), std::string::npos) << settingsBytes();
  }
  // Each with the date of its new rates.
  for (const int category : {25, 26, 27})
    EXPECT_EQ(DateOf(settingsBytes(), category), "2026-12-08");
  EXPECT_EQ(errors.size(), 1u);
}

// A rate saved is not saved again until its row changes, though the row is
// still read from its texts: the next switch writes nothing, and a file
// that has since become read-only goes untold.
TEST_F(PageChange, ASavedRateIsNotWrittenAgain) {
  writeSettings("[ZOVA]\r\nPAGE=3\r\nINDEX=25\r\n");
  auto form = start();
  form->RateEdit(2).userChanged("+1");
  typeInput(*form, "100");
  chooseUnits(*form, 2, 1);    // read: 1.94
  form->CustomizeMenuClick();  // saves, then cancelled
  form->RateEdit(2).userChanged("2");
  form->Button1Click();                 // converts with 2.94
  form->RateEdit(2).userChanged("+1");  // back to the saved text
  const std::string saved = settingsBytes();
  ASSERT_NE(saved.find("[BUNRUI25]\r\nDATA1=100.00\r\nDATA2=1.94\r\n"), std::string::npos) << saved;

  refuseWrites();
  form->CategoryButton(2).click();
  allowWrites();
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(settingsBytes(), saved);
  form->CategoryButton(1).click();
  EXPECT_EQ(form->RateEdit(2).text(), "1");
  EXPECT_EQ(table[25].unit(2).Factor, Real48(1.94L));
}

// A row refused after it converted still converts with its earlier rate:
// that is what a save writes, once the file takes it, and only once.
TEST_F(PageChange, ARefusedRowSavesTheRateItConvertsWith) {
  writeSettings("[ZOVA]\r\nPAGE=3\r\nINDEX=25\r\n");
  auto form = start();
  form->RateEdit(2).userChanged("1");
  typeInput(*form, "100");
  chooseUnits(*form, 2, 1);  // 1.94
  form->RateEdit(2).userChanged("1a");
  form->RateEdit(3).userChanged("x");  // never read: its rate stays 0.90
  refuseWrites();
  form->CustomizeMenuClick();  // told; cancelled
  allowWrites();
  form->CustomizeMenuClick();
  const std::string saved = settingsBytes();
  EXPECT_NE(saved.find("[BUNRUI25]\r\nDATA1=100.00\r\nDATA2=1.94\r\nDATA3=0.90\r\n"),
            std::string::npos)
      << saved;

  refuseWrites();
  form->CategoryButton(2).click();
  allowWrites();
  EXPECT_EQ(errors.size(), 1u);
  EXPECT_EQ(settingsBytes(), saved);
}

// A category's date changes exactly when a saved rate does: rates read and
// saved as they were, or typed another way, keep it. It shows under the
// heading, heard with the panel, and every money category's rows make room
// for it.
TEST_F(PageChange, TheRatesDateChangesExactlyWithASavedRate) {
  writeSettings("[ZOVA]\r\nPAGE=3\r\nINDEX=25\r\n");
  auto form = start();
  form->RateEdit(1).userChanged("0100");  // 円, as it was
  form->CategoryButton(2).click();        // 26
  ASSERT_NE(settingsBytes().find("[BUNRUI25]"), std::string::npos);
  EXPECT_EQ(DateOf(settingsBytes(), 25), "");
  EXPECT_FALSE(form->RateDateLabel.visible());
  EXPECT_EQ(form->Label3.bounds().top, 32);

  services.date = {2027, 1, 2};
  form->RateEdit(2).userChanged("11");  // 独ﾏﾙｸ
  form->CustomizeMenuClick();           // saved, then cancelled
  EXPECT_EQ(DateOf(settingsBytes(), 26), "2027-01-02");
  EXPECT_TRUE(form->RateDateLabel.visible());
  EXPECT_EQ(form->RateDateLabel.text(), "2027-01-02 更新");
  EXPECT_EQ(form->MoneyPanel.accessibleName(), "為替レート 2027-01-02 更新");
  EXPECT_EQ(form->Label3.bounds().top, 46);
  EXPECT_EQ(form->RateEdit(1).bounds().top, 80);
  form->CategoryButton(1).click();  // 25
  EXPECT_FALSE(form->RateDateLabel.visible());
  EXPECT_EQ(form->Label3.bounds().top, 46);
  form->CategoryButton(2).click();

  services.date = {2027, 1, 3};
  form->RateEdit(2).userChanged("011");
  form->PageButton1.click();
  EXPECT_NE(settingsBytes().find("DATA2=11.00"), std::string::npos);
  EXPECT_EQ(DateOf(settingsBytes(), 26), "2027-01-02");
}

// The twelve category buttons are one Tab stop: a category whose name lost
// its letter is reached by the arrows and picked by Space or Enter; the
// mouse never moves the focus, and the letters still work.
TEST_F(PageChange, TheCategoryButtonsAreOneTabStopMovedByTheArrows) {
  writeSettings("[BUNRUI2]\r\nNAME=ABCDEFGHIJKL\r\n");
  auto form = start();
  ASSERT_EQ(form->CategoryButton(2).accelerator(), 0);
  form->CategoryButton(3).click();  // the mouse leaves the focus in the input
  EXPECT_EQ(form->focused(), &form->TargetEdit);
  form->focusNext(true);
  EXPECT_EQ(form->focused(), &form->CategoryButton(3));  // the one down
  const struct {
    unsigned key;
    int focusedPosition;
    int category;
  } steps[] = {
      {key::kLeft, 2, 3},  {key::kSpace, 2, 2},  {key::kDown, 8, 2},   {key::kDown, 2, 2},
      {key::kUp, 8, 2},    {key::kRight, 9, 2},  {key::kLeft, 8, 2},   {key::kReturn, 8, 8},
      {key::kRight, 9, 8}, {key::kRight, 10, 8}, {key::kRight, 11, 8}, {key::kRight, 12, 8},
      {key::kRight, 1, 8}, {key::kLeft, 12, 8},
  };
  for (const auto& step : steps) {
    EXPECT_TRUE(form->pressShortcut(step.key, kNoModifiers)) << step.key;
    EXPECT_EQ(form->focused(), &form->CategoryButton(step.focusedPosition)) << step.key;
    EXPECT_EQ(form->Selection.CurrentCategory, step.category) << step.key;
  }
  std::vector<Control*> stops = form->tabOrder();
  EXPECT_EQ(stops, (std::vector<Control*>{&form->CategoryButton(12), &form->TargetEdit}));
  form->focusNext(false);
  EXPECT_EQ(form->focused(), &form->TargetEdit);
  EXPECT_EQ(form->tabOrder().front(), &form->CategoryButton(8));  // the one down again
  EXPECT_TRUE(form->pressAccelerator('l'));
  EXPECT_EQ(form->Selection.CurrentCategory, 1);
}

using UnitChoice = CalcMainTest;

TEST_F(UnitChoice, ANewUnitNamesItselfAndConvertsOnlyWhenItChanged) {
  auto form = start();
  typeInput(*form, "1");

  form->FromButton(1).click();
  EXPECT_EQ(form->TargetTanniPanel.text(), table[1].unit(1).Name);
  EXPECT_EQ(history.HistoryCount(), 0);  // no "to" unit yet

  form->ToButton(3).click();
  EXPECT_EQ(form->ResultTanniLabel.text(), table[1].unit(3).Name);
  EXPECT_EQ(history.HistoryCount(), 1);

  form->FromButton(2).click();
  EXPECT_EQ(form->Selection.FromUnit, 2);
  EXPECT_FALSE(form->FromButton(1).down());
  EXPECT_EQ(history.HistoryCount(), 2);

  // Released with the mouse: nothing converts and the texts stay.
  const std::string result = form->ResultValueLabel.text();
  form->FromButton(2).click();
  EXPECT_EQ(form->Selection.FromUnit, -1);
  EXPECT_EQ(form->TargetTanniPanel.text(), table[1].unit(2).Name);
  EXPECT_EQ(form->ResultValueLabel.text(), result);
  EXPECT_EQ(history.HistoryCount(), 2);

  // A button put down without a click is still a new choice for the handler.
  form->FromButton(2).setDown(true);
  form->TFButton1Click(form->FromButton(2));
  EXPECT_EQ(history.HistoryCount(), 3);
  form->TFButton1Click(form->FromButton(2));
  EXPECT_EQ(history.HistoryCount(), 3);

  // A "to" unit with no "from" unit converts nothing: no value is shown
  // beside a unit it was not converted to.
  form->FromButton(2).click();
  form->ToButton(4).click();
  EXPECT_EQ(form->ResultTanniLabel.text(), table[1].unit(4).Name);
  EXPECT_EQ(form->ResultValueLabel.text(), "");
  EXPECT_EQ(history.HistoryCount(), 3);
}

struct KeyCase {
  const char* name;
  std::vector<std::pair<unsigned, bool>> keys;  // virtual key, Shift
  int fromUnit;
  int toUnit;
  int conversions;
};

class FunctionKeys : public CalcMainTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(FunctionKeys, ChooseUnitsAndAreAlwaysSwallowed) {
  const KeyCase& c = GetParam();
  auto form = start();
  form->CategoryButton(6).click();  // speed: units 1 to 5
  typeInput(*form, "36");

  for (const auto& [key, shift] : c.keys) EXPECT_TRUE(services.pressKey(key, shift)) << key;

  EXPECT_EQ(form->Selection.FromUnit, c.fromUnit);
  EXPECT_EQ(form->Selection.ToUnit, c.toUnit);
  for (int u = 1; u <= kUnitsPerCategory; ++u) {
    EXPECT_EQ(form->FromButton(u).down(), u == c.fromUnit) << u;
    EXPECT_EQ(form->ToButton(u).down(), u == c.toUnit) << u;
  }
  EXPECT_EQ(history.HistoryCount(), c.conversions);
  EXPECT_TRUE(errors.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, FunctionKeys,
    ::testing::Values(KeyCase{"F1ChoosesTheFirstFromUnit", {{0x70, false}}, 1, -1, 0},
                      KeyCase{"ShiftF9OnAnEmptyUnitDoesNothing", {{0x78, true}}, -1, -1, 0},
                      KeyCase{
                          "F7OnAnEmptyUnitDoesNothing", {{0x70, false}, {0x76, false}}, 1, -1, 0},
                      KeyCase{"BothRowsConvert", {{0x70, false}, {0x72, true}}, 1, 3, 1},
                      KeyCase{"ShiftF2TwiceConvertsOnceAndNeverReleases",
                              {{0x70, false}, {0x71, true}, {0x71, true}},
                              1,
                              2,
                              1},
                      KeyCase{"AnotherKeyMovesTheChoice",
                              {{0x70, false}, {0x71, true}, {0x74, false}, {0x73, true}},
                              5,
                              4,
                              3}),
    [](const ::testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

// Every way of naming another unit beside the result, after 1 m in cm: the
// value beside the new name is its conversion, or none. A "from" unit
// changed alone keeps the value, as a failed Enter does.
enum class Beside { Converted, Empty, Kept };

struct ResultUnitCase {
  const char* name;
  const char* text;  // typed after the first result
  std::function<void(TCalcMainForm&, RecordingServices&)> act;
  int toUnit;
  Beside value;
  int records;  // added by the act
  std::vector<unsigned> beeps;
  std::size_t errors;
};

class ResultUnits : public CalcMainTest, public ::testing::WithParamInterface<ResultUnitCase> {};

void CtrlR(TCalcMainForm& form, RecordingServices&) {
  form.pressProgramShortcut(key::Char('R'), kCtrl);
}

TEST_P(ResultUnits, ShowBesideTheNewNameItsConversionOrNothing) {
  const ResultUnitCase& c = GetParam();
  auto form = start();
  typeInput(*form, "1");
  services.pressKey(0x70);
  services.pressKey(0x71, true);
  ASSERT_EQ(form->ResultValueLabel.text(), "      100.00000");
  typeInput(*form, c.text);

  c.act(*form, services);

  EXPECT_EQ(form->Selection.ToUnit, c.toUnit);
  EXPECT_EQ(form->ResultTanniLabel.text(), table[1].unit(c.toUnit).Name);
  ASSERT_EQ(history.HistoryCount(), 1 + c.records);
  const HistoryRecord& last = history.record(history.HistoryCount());
  const std::string expected[] = {last.ResultText, "", "      100.00000"};
  EXPECT_EQ(form->ResultValueLabel.text(), expected[static_cast<int>(c.value)]);
  if (c.value == Beside::Converted) {
    EXPECT_EQ(last.ResultTanni, form->ResultTanniLabel.text());
  }
  EXPECT_EQ(services.beeps, c.beeps);
  EXPECT_EQ(errors.size(), c.errors);
  ReleaseHistoryWindow(services);
  services.pump();
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ResultUnits,
    ::testing::Values(
        ResultUnitCase{"CtrlRConverts", "2", CtrlR, 1, Beside::Converted, 1, {}, 0},
        ResultUnitCase{"CtrlRWithAnEmptyInput", "", CtrlR, 1, Beside::Empty, 0, {}, 0},
        ResultUnitCase{"CtrlRWithAnInvalidInput", "5.", CtrlR, 1, Beside::Empty, 0, {1}, 0},
        // 1e37 cm is 1e35 m, and back it does not fit.
        ResultUnitCase{"CtrlRThatOverflows",
                       "1e37",
                       [](TCalcMainForm& form, RecordingServices& services) {
                         CtrlR(form, services);
                         CtrlR(form, services);
                       },
                       2,
                       Beside::Empty,
                       1,
                       {},
                       1},
        ResultUnitCase{"CtrlRInTheHistoryWindow",
                       "",
                       [](TCalcMainForm& form, RecordingServices& services) {
                         form.HistoryButton.click();
                         CtrlR(form, services);
                       },
                       1,
                       Beside::Empty,
                       0,
                       {},
                       0},
        ResultUnitCase{
            "ShiftF3WithAnEmptyInput",
            "",
            [](TCalcMainForm&, RecordingServices& services) { services.pressKey(0x72, true); },
            3,
            Beside::Empty,
            0,
            {},
            0},
        ResultUnitCase{"F3KeepsTheValue",
                       "",
                       [](TCalcMainForm&, RecordingServices& services) { services.pressKey(0x72); },
                       2,
                       Beside::Kept,
                       0,
                       {},
                       0}),
    [](const ::testing::TestParamInfo<ResultUnitCase>& info) {
      return std::string(info.param.name);
    });

TEST_F(UnitChoice, OtherKeysPassAndAFailedConversionStillSwallowsTheKey) {
  auto form = start();
  EXPECT_FALSE(services.pressKey(0x6F));  // just below F1
  EXPECT_FALSE(services.pressKey(0x79));  // F10
  EXPECT_FALSE(services.pressKey(0x0D));

  typeInput(*form, "1e38");
  form->FromButton(1).click();
  EXPECT_TRUE(services.pressKey(0x71, true));  // 1e40 cm does not fit
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "浮動小数点数のｵｰﾊﾞｰﾌﾛｰ");
  EXPECT_TRUE(form->ToButton(2).down());
}

}  // namespace
}  // namespace hk
