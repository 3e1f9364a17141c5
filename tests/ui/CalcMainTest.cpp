#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ui/Application.h"
#include "ui/CalcMainFixture.h"

namespace hk {
namespace {

TEST_F(CalcMainTest, FirstStartWithoutSettingsFile) {
  HistoryRecord leftOver;
  leftOver.TargetText = "1";
  history.AppendHistory(leftOver);

  auto form = start();

  EXPECT_EQ(form->bounds(), (Rect{0, 0, 404, 513}));
  EXPECT_EQ(form->Selection.CurrentPage, 1);
  EXPECT_EQ(form->Selection.CurrentCategory, 1);
  EXPECT_EQ(form->Selection.PageFirst, 1);
  EXPECT_EQ(form->Selection.PageLast, 12);
  EXPECT_TRUE(form->PageButton1.down());
  EXPECT_FALSE(form->PageButton2.down());
  EXPECT_FALSE(form->PageButton3.down());
  EXPECT_EQ(downCategoryButtons(*form), std::vector<SpeedButton*>{&form->SpeedButton5});
  EXPECT_EQ(form->SpeedButton5.text(), "長さ1&L");
  EXPECT_EQ(form->Selection.FromUnit, -1);
  EXPECT_EQ(form->Selection.ToUnit, -1);
  for (int unit = 1; unit <= kUnitsPerCategory; ++unit) {
    EXPECT_FALSE(form->FromButton(unit).down()) << unit;
    EXPECT_FALSE(form->ToButton(unit).down()) << unit;
  }
  EXPECT_EQ(form->ResultValueLabel.text(), "0");
  EXPECT_EQ(form->ResultTanniLabel.text(), "---");
  EXPECT_EQ(form->focused(), &form->TargetEdit);
  EXPECT_TRUE(form->Selection.AutoClip);
  EXPECT_FALSE(form->Selection.RatesChanged);
  EXPECT_FALSE(form->MoneyPanel.visible());
  EXPECT_FALSE(form->MoneyPanel.enabled());
  EXPECT_EQ(history.HistoryCount(), 0);
  EXPECT_EQ(Application().HelpFile, folder.path() / "ZO_VEZA.HLP");
  ASSERT_NE(form->Settings(), nullptr);
  EXPECT_EQ(form->Settings()->path(), settingsPath());
  // Reading alone never creates the file.
  EXPECT_FALSE(std::filesystem::exists(settingsPath()));
  EXPECT_TRUE(errors.empty());
}

struct StartCase {
  const char* name;
  const char* zova;  // the lines of the window's section
  int page;
  int category;
  int positionDown;
  Rect bounds;
  bool autoClip;
};

class StartFromSettings : public CalcMainTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartFromSettings, RestoresWindowPageAndCategory) {
  const StartCase& c = GetParam();
  writeSettings(std::string("[ZOVA]\r\n") + c.zova);

  auto form = start();

  EXPECT_EQ(form->Selection.CurrentPage, c.page);
  EXPECT_EQ(form->Selection.CurrentCategory, c.category);
  EXPECT_EQ(form->Selection.PageFirst, PageRangeOf(c.page).first);
  EXPECT_EQ(form->bounds(), c.bounds);
  EXPECT_EQ(form->Selection.AutoClip, c.autoClip);
  SpeedButton* pageButtons[] = {&form->PageButton1, &form->PageButton2, &form->PageButton3};
  for (int page = 1; page <= kPageCount; ++page) {
    EXPECT_EQ(pageButtons[page - 1]->down(), page == c.page) << page;
  }
  EXPECT_EQ(downCategoryButtons(*form),
            std::vector<SpeedButton*>{&form->CategoryButton(c.positionDown)});
  // The money page, and only it, shows the rate panel over the window's height.
  EXPECT_EQ(form->MoneyPanel.visible(), c.page == 3);
  EXPECT_EQ(form->MoneyPanel.enabled(), c.page == 3);
  if (c.page == 3) {
    EXPECT_EQ(form->MoneyPanel.bounds(), (Rect{404, 2, 148, 507}));
  }
  EXPECT_TRUE(errors.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StartFromSettings,
    ::testing::Values(
        StartCase{"MoneyPage", "PAGE=3\r\nINDEX=25\r\n", 3, 25, 1, {0, 0, 554, 513}, true},
        StartCase{"LastMoneyCategory", "PAGE=3\r\nINDEX=36\r\n", 3, 36, 12, {0, 0, 554, 513}, true},
        StartCase{"SecondPageLowerRow", "INDEX=20\r\nPAGE=2\r\n", 2, 20, 8, {0, 0, 404, 513}, true},
        StartCase{"IndexOfAnotherPage", "INDEX=5\r\nPAGE=2\r\n", 2, 13, 1, {0, 0, 404, 513}, true},
        StartCase{"IndexBeyondTable", "INDEX=99\r\n", 1, 1, 1, {0, 0, 404, 513}, true},
        StartCase{"IndexZero", "INDEX=0\r\n", 1, 1, 1, {0, 0, 404, 513}, true},
        StartCase{"PageOutOfRange", "INDEX=-4\r\nPAGE=7\r\n", 3, 25, 1, {0, 0, 554, 513}, true},
        StartCase{"MalformedPage", "PAGE=zwei\r\nINDEX=12\r\n", 1, 12, 12, {0, 0, 404, 513}, true},
        StartCase{
            "Position", "WinPosX=120\r\nWinPosY=0x40\r\n", 1, 1, 1, {120, 64, 404, 513}, true},
        StartCase{"NegativePositionComesOnScreen",
                  "WinPosX=-30\r\nWinPosY=$10\r\n",
                  1,
                  1,
                  1,
                  {0, 16, 404, 513},
                  true},
        StartCase{"FarOffPositionComesOnScreenAtItsWidth",
                  "WinPosX=5000\r\nWinPosY=2000\r\nPAGE=3\r\n",
                  3,
                  25,
                  1,
                  {726, 471, 554, 513},
                  true},
        StartCase{"ClipboardOff", "AUTOCLIP=0\r\n", 1, 1, 1, {0, 0, 404, 513}, false}),
    [](const ::testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

TEST_F(CalcMainTest, CategoryButtonsShowTheSettingsOverTheTable) {
  writeSettings("[ZOVA]\r\nPAGE=2\r\nINDEX=14\r\n[BUNRUI13]\r\nNAME=寸法&K\r\nICON=0\r\n");

  auto form = start();

  EXPECT_EQ(table[13].CategoryName, "寸法&K");
  for (int position = 1; position <= kCategoriesPerPage; ++position) {
    const CategoryRecord& category = table[12 + position];
    EXPECT_EQ(form->CategoryButton(position).text(), category.CategoryName) << position;
    EXPECT_EQ(form->CategoryButton(position).glyph(), Picture::FromResource(category.IconResource))
        << position;
  }
  EXPECT_EQ(form->SpeedButton5.text(), "寸法&K");
  EXPECT_TRUE(form->SpeedButton6.down());
}

TEST_F(CalcMainTest, DestroyWritesTheWindowKeysInOrder) {
  auto form = start();
  form->resized({130, 45, 404, 513});

  form->destroyed();

  EXPECT_EQ(settingsBytes(), "[ZOVA]\r\nWinPosX=130\r\nWinPosY=45\r\nINDEX=1\r\nPAGE=1\r\n");
  EXPECT_EQ(form->Settings(), nullptr);
  EXPECT_FALSE(services.hasKeyHook());
  // The window's own destruction later does not write a second time.
  std::filesystem::remove(settingsPath());
  form.reset();
  EXPECT_FALSE(std::filesystem::exists(settingsPath()));
  EXPECT_TRUE(errors.empty());
}

TEST_F(CalcMainTest, DestroyKeepsTheRestOfTheFile) {
  writeSettings("[ZOVA]\r\nAUTOCLIP=0\r\nPAGE=3\r\nINDEX=30\r\n[BUNRUI30]\r\nDATA1=2.5\r\n");
  start().reset();

  // Rates only looked at are not written again.
  EXPECT_EQ(settingsBytes(),
            "[ZOVA]\r\nAUTOCLIP=0\r\nPAGE=3\r\nINDEX=30\r\nWinPosX=0\r\nWinPosY=0\r\n"
            "[BUNRUI30]\r\nDATA1=2.5\r\n");
}

TEST_F(CalcMainTest, RestartRestoresPositionPageAndCategoryButNoUnit) {
  writeSettings("[ZOVA]\r\nPAGE=2\r\nINDEX=17\r\n");
  {
    auto form = start();
    form->resized({300, 200, 404, 513});
    form->TFButton2.setDown(true);
    form->Selection.FromUnit = 2;
    form->TargetEdit.setText("12");
  }

  auto form = start();

  EXPECT_EQ(form->bounds(), (Rect{300, 200, 404, 513}));
  EXPECT_EQ(form->Selection.CurrentPage, 2);
  EXPECT_EQ(form->Selection.CurrentCategory, 17);
  EXPECT_TRUE(form->CategoryButton(5).down());
  EXPECT_EQ(form->Selection.FromUnit, -1);
  EXPECT_FALSE(form->TFButton2.down());
  EXPECT_EQ(form->TargetEdit.text(), "");
  EXPECT_EQ(form->ResultValueLabel.text(), "0");
}

TEST_F(CalcMainTest, FailedWriteAtExitIsReportedOnce) {
  auto form = start();
  // A folder where the file should be: every replacement of the file fails.
  std::filesystem::create_directory(settingsPath());
  std::ofstream(settingsPath() / "keep") << "x";

  form.reset();

  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Unable to write to " + settingsPath().string());
  EXPECT_TRUE(std::filesystem::is_directory(settingsPath()));
}

TEST_F(CalcMainTest, StartsWhenTheSettingsCannotBeWrittenLater) {
  // A start-up only reads: an unwritable place is found out at exit, not before.
  services.executable = folder.path() / "missing" / "hakarimaru.exe";
  auto form = start();
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(form->bounds(), (Rect{0, 0, 404, 513}));
  form.reset();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0].rfind("Unable to write to ", 0), 0u);
}

struct PaintCase {
  const char* zova;
  int width;
};

class FormPaintTest : public CalcMainTest, public ::testing::WithParamInterface<PaintCase> {};

TEST_P(FormPaintTest, DrawsTheRaisedEdge) {
  writeSettings(GetParam().zova);
  auto form = start();
  ASSERT_EQ(form->bounds().width, GetParam().width);
  RecordingCanvas canvas;

  form->paint(canvas);

  using Op = RecordingCanvas::Op;
  const int w = GetParam().width;
  const int h = 513;
  struct Expected {
    Op op;
    Colour colour;
    Point point;
  };
  const std::vector<Expected> expected = {
      {Op::Pen, kWhite, {}},           {Op::MoveTo, 0, {w, 0}},     {Op::LineTo, 0, {0, 0}},
      {Op::LineTo, 0, {0, h - 3}},     {Op::MoveTo, 0, {w, 1}},     {Op::LineTo, 0, {1, 1}},
      {Op::LineTo, 0, {1, h - 3}},     {Op::Pen, kBlackColour, {}}, {Op::MoveTo, 0, {w - 3, 0}},
      {Op::LineTo, 0, {w - 3, h - 3}}, {Op::LineTo, 0, {0, h - 3}}, {Op::MoveTo, 0, {w - 4, 0}},
      {Op::LineTo, 0, {w - 4, h - 4}}, {Op::LineTo, 0, {0, h - 4}},
  };
  ASSERT_EQ(canvas.calls.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const auto& call = canvas.calls[i];
    EXPECT_EQ(call.op, expected[i].op) << i;
    if (call.op == Op::Pen) {
      EXPECT_EQ(call.colour, expected[i].colour) << i;
      EXPECT_EQ(call.width, 1) << i;
    } else {
      EXPECT_EQ(call.point.x, expected[i].point.x) << i;
      EXPECT_EQ(call.point.y, expected[i].point.y) << i;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Widths, FormPaintTest,
                         ::testing::Values(PaintCase{"", 404},
                                           PaintCase{"[ZOVA]\r\nPAGE=3\r\nINDEX=25\r\n", 554}));

TEST_F(CalcMainTest, AnyMouseButtonOnTheWindowOrTitleDragsIt) {
  auto form = start();
  RecordingPeer& peer = AttachRecordingPeer(*form);

  for (MouseButton button : {MouseButton::Left, MouseButton::Right, MouseButton::Middle}) {
    form->mouseDown(button, 3, 300);
    form->Panel1.mouseDown(button, 150, 10);
  }

  EXPECT_EQ(peer.count(Change::Drag), 6u);
}

TEST_F(CalcMainTest, TitleButtonsMinimizeAndClose) {
  auto form = start();
  form->show();

  form->MINIButton.click();
  EXPECT_TRUE(form->minimized());
  EXPECT_TRUE(services.helpCalls.empty());

  form->ExitButton.click();
  EXPECT_FALSE(form->visible());
  ASSERT_EQ(services.helpCalls.size(), 1u);
  EXPECT_EQ(services.helpCalls[0].owner, form.get());
  EXPECT_EQ(services.helpCalls[0].command, HelpCommand::Quit);
  EXPECT_EQ(services.helpCalls[0].context, 0u);
  EXPECT_EQ(services.helpCalls[0].file, folder.path() / "ZO_VEZA.HLP");
}

TEST_F(CalcMainTest, FunctionKeysAreSwallowedUntilTheWindowGoes) {
  auto form = start();
  for (unsigned key = 0x70; key <= 0x78; ++key) {
    EXPECT_TRUE(services.pressKey(key, false)) << key;
    EXPECT_TRUE(services.pressKey(key, true)) << key;
  }
  EXPECT_FALSE(services.pressKey(0x79));  // F10
  EXPECT_FALSE(services.pressKey(0x0D));  // Enter
  EXPECT_FALSE(services.pressKey(0x41));  // A

  form.reset();
  EXPECT_FALSE(services.hasKeyHook());
  EXPECT_FALSE(services.pressKey(0x70));
}

TEST_F(CalcMainTest, LayoutAsDesigned) {
  auto form = start();
  struct Place {
    const char* name;
    const Control& control;
    Rect bounds;
  };
  const Place places[] = {
      {"Panel1", form->Panel1, {8, 4, 385, 33}},
      {"MenuButton", form->MenuButton, {3, 4, 25, 25}},
      {"PageButton1", form->PageButton1, {29, 4, 25, 25}},
      {"PageButton3", form->PageButton3, {81, 4, 25, 25}},
      {"HistoryButton", form->HistoryButton, {279, 4, 25, 25}},
      {"HelpButton", form->HelpButton, {305, 4, 25, 25}},
      {"MINIButton", form->MINIButton, {331, 4, 25, 25}},
      {"ExitButton", form->ExitButton, {357, 4, 25, 25}},
      {"SpeedButton5", form->SpeedButton5, {8, 48, 64, 54}},
      {"SpeedButton10", form->SpeedButton10, {328, 48, 64, 54}},
      {"SpeedButton16", form->SpeedButton16, {8, 102, 64, 54}},
      {"SpeedButton11", form->SpeedButton11, {328, 102, 64, 54}},
      {"TargetEdit", form->TargetEdit, {60, 164, 217, 21}},
      {"TargetTanniPanel", form->TargetTanniPanel, {284, 164, 105, 25}},
      {"Panel2", form->Panel2, {8, 196, 385, 117}},
      {"TFButton1", form->TFButton1, {12, 12, 120, 25}},
      {"TFButton6", form->TFButton6, {252, 48, 120, 25}},
      {"TFButton8", form->TFButton8, {132, 84, 120, 25}},
      {"F3Image", form->F3Image, {304, 4, 28, 6}},
      {"F7Image", form->F7Image, {56, 76, 28, 6}},
      {"Image10", form->Image10, {188, 316, 16, 16}},
      {"Panel3", form->Panel3, {8, 336, 385, 117}},
      {"TTButton9", form->TTButton9, {252, 84, 120, 25}},
      {"SF5Image", form->SF5Image, {176, 40, 28, 6}},
      {"ResultPanel", form->ResultPanel, {56, 464, 333, 29}},
      {"ListBox1", form->ListBox1, {28, 516, 121, 97}},
      {"Button1", form->Button1, {156, 520, 75, 25}},
  };
  for (const Place& place : places) EXPECT_EQ(place.control.bounds(), place.bounds) << place.name;

  EXPECT_EQ(form->style(), FormStyle::BorderlessPopup);
  EXPECT_EQ(form->text(), "はかり丸");
  EXPECT_EQ(form->font().name, "ＭＳ ゴシック");
  EXPECT_EQ(form->font().height, -13);
  EXPECT_EQ(form->Panel1.colour(), kBlackColour);
  EXPECT_EQ(form->Panel1.font().colour, kWhite);
  EXPECT_EQ(form->Panel1.font().height, -12);
  EXPECT_EQ(form->Panel1.bevelInner(), Bevel::Lowered);
  EXPECT_EQ(form->Panel1.bevelOuter(), Bevel::Lowered);
  EXPECT_EQ(form->Panel3.colour(), kWhite);
  EXPECT_EQ(form->Panel3.bevelOuter(), Bevel::Lowered);
  EXPECT_EQ(form->ResultPanel.colour(), kLightYellow);
  EXPECT_EQ(form->ResultPanel.bevelOuter(), Bevel::Lowered);
  EXPECT_EQ(form->ResultValueLabel.alignment(), Alignment::Right);
  EXPECT_EQ(form->ResultValueLabel.bounds().right(), 209);
  EXPECT_EQ(form->ResultTanniLabel.bounds().left, 220);
  EXPECT_EQ(form->TargetEdit.maxBytes(), 30);
  EXPECT_TRUE(form->TargetEdit.numeric());
  for (int edit = 1; edit <= 2 * kUnitsPerCategory; ++edit) {
    EXPECT_TRUE(form->RateEdit(edit).numeric()) << edit;
  }
  EXPECT_EQ(form->defaultButton(), &form->Button1);
  EXPECT_FALSE(form->ListBox1.visible());
  EXPECT_FALSE(form->ListBox1.enabled());
  EXPECT_EQ(form->MenuButton.hint(), "ﾒﾆｭｰ表示");
  EXPECT_EQ(form->PageButton2.hint(), "ﾍﾟｰｼﾞの切替え");
  EXPECT_EQ(form->HistoryButton.hint(), "変換履歴表示");
  // Everything the window shows lies inside it and below the title panel's
  // edge; the hidden parts lie outside on purpose.
  EXPECT_LE(form->ResultPanel.bounds().bottom(), form->clientHeight());
  EXPECT_GT(form->Button1.bounds().top, form->bounds().height);
}

TEST_F(CalcMainTest, ButtonGroups) {
  writeSettings("[ZOVA]\r\nPAGE=3\r\nINDEX=25\r\n");
  auto form = start();
  // The array follows the screen: the upper row left to right, then the lower.
  for (int position = 1; position <= kCategoriesPerPage; ++position) {
    const ButtonOrigin origin = CategoryButtonOrigin(position);
    EXPECT_EQ(form->CategoryButton(position).bounds().left, origin.left) << position;
    EXPECT_EQ(form->CategoryButton(position).bounds().top, origin.top) << position;
  }
  EXPECT_EQ(&form->CategoryButton(7), &form->SpeedButton16);
  EXPECT_EQ(&form->CategoryButton(12), &form->SpeedButton11);
  // Room for 36, of which only the first page's twelve slots are filled.
  EXPECT_EQ(form->CategoryButtons.size(), 36u);
  EXPECT_THROW(form->CategoryButton(13), std::out_of_range);
  EXPECT_THROW(form->CategoryButton(0), std::out_of_range);
  EXPECT_THROW(form->FromButton(10), std::out_of_range);
  EXPECT_THROW(form->RateEdit(19), std::out_of_range);

  struct Group {
    const char* name;
    SpeedButton& first;
    SpeedButton& last;
    bool mayAllBeUp;
  };
  // The money category shown has all nine units (an empty unit's buttons
  // cannot be pressed); the last category of its page has one.
  const Group groups[] = {
      {"from units", form->FromButton(1), form->FromButton(9), true},
      {"to units", form->ToButton(1), form->ToButton(9), true},
      {"categories", form->CategoryButton(1), form->CategoryButton(12), false},
      {"pages", form->PageButton1, form->PageButton3, false},
  };
  for (const Group& group : groups) {
    group.first.setDown(true);
    group.last.click();
    EXPECT_TRUE(group.last.down()) << group.name;
    EXPECT_FALSE(group.first.down()) << group.name;
    group.last.click();
    EXPECT_EQ(group.last.down(), !group.mayAllBeUp) << group.name;
  }
  // Each group keeps to itself.
  form->FromButton(1).click();
  form->ToButton(1).click();
  EXPECT_TRUE(form->FromButton(1).down());
  EXPECT_TRUE(form->ToButton(1).down());
  EXPECT_TRUE(form->PageButton3.down());
  EXPECT_TRUE(form->CategoryButton(12).down());
}

TEST_F(CalcMainTest, PicturesOfTheWindow) {
  auto form = start();
  const Image* fromHints[] = {&form->F1Image, &form->F2Image, &form->F3Image,
                              &form->F4Image, &form->F5Image, &form->F6Image,
                              &form->F7Image, &form->F8Image, &form->F9Image};
  const Image* toHints[] = {&form->SF1Image, &form->SF2Image, &form->SF3Image,
                            &form->SF4Image, &form->SF5Image, &form->SF6Image,
                            &form->SF7Image, &form->SF8Image, &form->SF9Image};
  for (int key = 1; key <= 9; ++key) {
    EXPECT_EQ(fromHints[key - 1]->picture().resourceName, "PF_" + std::to_string(key));
    EXPECT_EQ(toHints[key - 1]->picture().resourceName, "SF_" + std::to_string(key));
  }
  EXPECT_EQ(form->MINIButton.glyph().resourceName, "SYSMINI");
  EXPECT_EQ(form->HelpButton.glyph().resourceName, "SYSHELP");
  EXPECT_EQ(form->SpeedButton5.glyph().resourceName, "BM_LEN");
}

TEST_F(CalcMainTest, RatePanelRowsFitTheirPanel) {
  auto form = start();
  const Rect panel = form->MoneyPanel.bounds();
  EXPECT_EQ(form->Panel4.text(), "為替レート");
  EXPECT_EQ(form->Panel4.font().colour, kWhite);
  EXPECT_EQ(form->Panel4.font().height, -13);
  EXPECT_EQ(form->Label3.text(), "整数部");
  EXPECT_EQ(form->Label4.text(), "小数部");
  int previousTop = form->Label3.bounds().bottom();
  for (int row = 1; row <= kUnitsPerCategory; ++row) {
    const Control* parts[] = {&form->MoneyLabel(row), &form->RateEdit(row), &form->RateUpDown(row),
                              &form->RateEdit(9 + row), &form->RateUpDown(9 + row)};
    for (const Control* part : parts) {
      EXPECT_EQ(part->parent(), &form->MoneyPanel) << row;
      EXPECT_GE(part->bounds().left, 0) << row;
      EXPECT_LE(part->bounds().right(), panel.width) << row;
      EXPECT_LE(part->bounds().bottom(), panel.height) << row;
    }
    // Rows go down the panel without overlapping.
    EXPECT_GE(form->MoneyLabel(row).bounds().top, previousTop) << row;
    previousTop = form->RateEdit(row).bounds().bottom();
    EXPECT_EQ(form->RateUpDown(row).associate(), &form->RateEdit(row)) << row;
    EXPECT_EQ(form->RateUpDown(9 + row).associate(), &form->RateEdit(9 + row)) << row;
    EXPECT_FALSE(form->RateUpDown(row).wrap()) << row;
    EXPECT_TRUE(form->RateUpDown(9 + row).wrap()) << row;
    EXPECT_EQ(form->RateEdit(row).text(), "0") << row;
    EXPECT_EQ(form->RateEdit(9 + row).text(), "0") << row;
  }
}

}  // namespace
}  // namespace hk
