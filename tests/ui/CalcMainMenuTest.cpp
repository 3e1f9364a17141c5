// The menu button's popup menu and its commands, and the main window's ends
// of the history window and the customisation dialog.
#include <string>
#include <vector>

#include "support/HeldStorage.h"
#include "ui/CalcMainFixture.h"
#include "ui/CalcUnt1.h"
#include "ui/CalcUnt2.h"

namespace hk {
namespace {

class CalcMainMenuTest : public CalcMainTest {
 protected:
  // Opens the menu with the button and picks the item with this caption.
  void choose(TCalcMainForm& form, const std::string& caption) {
    services.onTrackPopupMenu = [&, caption](const PopupMenu& menu, Point at) {
      menuPoints.push_back(at);
      for (std::size_t i = 0; i < menu.items().size(); ++i) {
        if (menu.items()[i]->caption() == caption) return static_cast<int>(i);
      }
      ADD_FAILURE() << "no item " << caption;
      return -1;
    };
    form.MenuButton.click();
  }

  std::vector<Point> menuPoints;
};

TEST_F(CalcMainMenuTest, HoldsItsSixteenItemsInOrder) {
  auto form = start();
  std::vector<std::string> captions;
  for (const auto& item : form->PopupMenu1->items()) captions.push_back(item->caption());
  EXPECT_EQ(captions,
            (std::vector<std::string>{"&2の累乗", "&8の累乗", "1&6の累乗", "-", "ﾌｫﾝﾄ設定(&F)...",
                                      "結果を自動的にｸﾘｯﾌﾟﾎﾞｰﾄﾞへｺﾋﾟｰ", "常に手前に表示(&T)", "-",
                                      "変換ﾃﾞｰﾀをｶｽﾄﾏｲｽﾞ(&C)...", "-", "変換ﾃﾞｰﾀ履歴表示", "-",
                                      "はかり丸について(&A)...", "&HELP...", "-", "終了(&X)"}));
  EXPECT_TRUE(form->ResultClipMenu->checked());
  EXPECT_FALSE(form->TopmostMenu->checked());
}

TEST_F(CalcMainMenuTest, OpensBesideTheMenuButtonAndPutsThePowersListAway) {
  writeSettings("[ZOVA]\r\nWinPosX=100\r\nWinPosY=50\r\n");
  auto form = start();
  choose(*form, "&2の累乗");
  ASSERT_TRUE(form->ListBox1.visible());
  EXPECT_EQ(form->ListBox1.items().size(), 31u);
  choose(*form, "1&6の累乗");  // the list goes away before the menu opens
  ASSERT_EQ(menuPoints.size(), 2u);
  EXPECT_EQ(menuPoints[0].x, 100 + 28);  // the window's point (28, 29)
  EXPECT_EQ(menuPoints[0].y, 50 + 29);
  EXPECT_EQ(form->ListBox1.items().size(), 8u);
  services.onTrackPopupMenu = [](const PopupMenu&, Point) { return -1; };
  form->MenuButton.click();
  EXPECT_FALSE(form->ListBox1.visible());
  EXPECT_FALSE(form->ListBox1.enabled());
}

// The powers list takes the keys only when the keyboard opened the menu;
// however it goes, the focus goes on without a conversion: to the input, or
// with Tab to the next stop, the category buttons.
TEST_F(CalcMainMenuTest, ThePowersListTakesTheFocusOnlyFromTheKeyboard) {
  enum Focus { Input, List, Categories };
  const struct {
    const char* how;
    bool byKeyboard;
    void (*leave)(TCalcMainForm&);  // null: the list stays
    Focus focus;
  } cases[] = {
      {"mouse", false, nullptr, Input},
      {"F10", true, nullptr, List},
      {"F10, Enter", true, [](TCalcMainForm& f) { f.pressShortcut(key::kReturn, 0); }, Input},
      {"F10, Esc", true, [](TCalcMainForm& f) { f.pressShortcut(key::kEscape, 0); }, Input},
      {"F10, Tab", true, [](TCalcMainForm& f) { f.focusNext(false); }, Categories},
      {"F10, a press", true, [](TCalcMainForm& f) { f.returnFocusHome(); }, Input},
      {"F10, another window", true, [](TCalcMainForm& f) { f.ListBox1.leave(); }, Input},
  };
  for (const auto& c : cases) {
    auto form = start();
    typeInput(*form, "5");
    chooseUnits(*form, 1, 2);
    const int records = history.HistoryCount();
    services.onTrackPopupMenu = [](const PopupMenu&, Point) { return 0; };  // "&2の累乗"
    if (c.byKeyboard) {
      form->pressShortcut(key::kF10, kNoModifiers);
    } else {
      form->MenuButton.click();
    }
    ASSERT_TRUE(form->ListBox1.visible()) << c.how;
    if (c.leave) c.leave(*form);
    EXPECT_EQ(form->ListBox1.visible(), c.leave == nullptr) << c.how;
    const Control* expected[] = {&form->TargetEdit, &form->ListBox1, &form->CategoryButton(1)};
    EXPECT_EQ(form->focused(), expected[c.focus]) << c.how;
    EXPECT_EQ(history.HistoryCount(), records) << c.how;
    EXPECT_FALSE(form->MenuByKeyboard) << c.how;
  }
}

TEST_F(CalcMainMenuTest, TheClipboardOptionIsWrittenAtOnce) {
  auto form = start();
  choose(*form, "結果を自動的にｸﾘｯﾌﾟﾎﾞｰﾄﾞへｺﾋﾟｰ");
  EXPECT_FALSE(form->Selection.AutoClip);
  EXPECT_FALSE(form->ResultClipMenu->checked());
  EXPECT_EQ(settingsBytes(), "[ZOVA]\r\nAUTOCLIP=0\r\n");
  choose(*form, "結果を自動的にｸﾘｯﾌﾟﾎﾞｰﾄﾞへｺﾋﾟｰ");
  EXPECT_TRUE(form->ResultClipMenu->checked());
  EXPECT_EQ(settingsBytes(), "[ZOVA]\r\nAUTOCLIP=1\r\n");
}

// On every page, by the menu and by its key: the window, the check mark and
// the file change together, the file at once; a start brings it back, and a
// file without the key (every file from before) keeps nothing on top.
TEST_F(CalcMainMenuTest, KeepOnTopIsWrittenAtOnceAndComesBack) {
  for (const std::string page : {"1", "2", "3"}) {
    SCOPED_TRACE("page " + page);
    writeSettings("[ZOVA]\r\nPAGE=" + page + "\r\n");
    auto form = start();
    EXPECT_FALSE(form->topmost());
    EXPECT_TRUE(form->pressShortcut(key::Char('T'), kCtrl));
    EXPECT_EQ(settingsBytes(), "[ZOVA]\r\nPAGE=" + page + "\r\nTOPMOST=1\r\n");
    form = start();
    RecordingPeer& peer = AttachRecordingPeer(*form);
    EXPECT_TRUE(form->topmost());
    EXPECT_TRUE(form->TopmostMenu->checked());
    choose(*form, "常に手前に表示(&T)");
    EXPECT_FALSE(form->topmost());
    EXPECT_FALSE(form->TopmostMenu->checked());
    EXPECT_EQ(peer.count(Change::Topmost), 1u);
    // The first window's exit wrote its keys after it.
    EXPECT_EQ(settingsBytes().rfind("[ZOVA]\r\nPAGE=" + page + "\r\nTOPMOST=0\r\nWinPosX=", 0), 0u);
  }
}

TEST_F(CalcMainMenuTest, AChosenFontReachesTheControlsThatFollowTheWindow) {
  auto form = start();
  const Font unitFont = form->TFButton1.font();
  const Font titleFont = form->Panel1.font();
  const Font headingFont = form->Panel4.font();
  Font big;
  big.height = -20;
  services.onChooseFont = [&](Font& font) {
    font = big;
    return true;
  };
  choose(*form, "ﾌｫﾝﾄ設定(&F)...");
  for (const Control* follows : std::vector<const Control*>{
           &form->SpeedButton5, &form->TargetEdit, &form->TargetTanniPanel, &form->ResultValueLabel,
           &form->ListBox1, &form->MoneyLabel1, &form->Edit1}) {
    EXPECT_EQ(follows->font().height, -20);
  }
  EXPECT_EQ(form->TFButton1.font(), unitFont);
  EXPECT_EQ(form->MenuButton.font(), titleFont);
  EXPECT_EQ(form->Panel4.font(), headingFont);

  // Cancelled: nothing changes, and the next dialog starts from the last choice.
  services.onChooseFont = [](Font&) { return false; };
  choose(*form, "ﾌｫﾝﾄ設定(&F)...");
  EXPECT_EQ(form->TargetEdit.font().height, -20);
  ASSERT_EQ(services.fontDialogs.size(), 2u);
  EXPECT_EQ(services.fontDialogs[0].height, -13);
  EXPECT_EQ(services.fontDialogs[1].height, -20);
  EXPECT_EQ(settingsBytes(), "");  // never stored
}

TEST_F(CalcMainMenuTest, HelpFromTheMenuAndTheTitlePanelOpensContext256) {
  auto form = start();
  choose(*form, "&HELP...");
  form->HelpButton.click();
  ASSERT_EQ(services.helpCalls.size(), 2u);
  for (const RecordedHelp& call : services.helpCalls) {
    EXPECT_EQ(call.command, HelpCommand::Context);
    EXPECT_EQ(call.context, 256u);
    EXPECT_EQ(call.file, folder.path() / "ZO_VEZA.HLP");
  }
}

TEST_F(CalcMainMenuTest, TheHistoryEntryOnAnEmptyHistoryOnlySaysSo) {
  auto form = start();
  choose(*form, "変換ﾃﾞｰﾀ履歴表示");
  ASSERT_EQ(services.messageBoxes.size(), 1u);
  EXPECT_EQ(services.messageBoxes[0].text, "計算履歴はありません");
  EXPECT_EQ(services.messageBoxes[0].title, "履歴表示");
  EXPECT_TRUE(services.modalRuns.empty());
}

TEST_F(CalcMainMenuTest, TheHistoryButtonTogglesAWindowThatFollowsEveryConversion) {
  auto form = start();
  form->HistoryButton.click();
  ASSERT_NE(CalcHistoryForm, nullptr);
  EXPECT_TRUE(form->HistoryButton.down());

  typeInput(*form, "1");
  chooseUnits(*form, 1, 2);
  EXPECT_EQ(CalcHistoryForm->StringGrid1.cell(4, 1), "      100.00000");

  form->HistoryButton.click();  // the second click releases it
  services.pump();
  EXPECT_EQ(CalcHistoryForm, nullptr);
  EXPECT_FALSE(form->HistoryButton.down());
}

TEST_F(CalcMainMenuTest, TheHistoryWindowsCloseButtonRaisesTheHistoryButton) {
  auto form = start();
  form->HistoryButton.click();
  ASSERT_NE(CalcHistoryForm, nullptr);
  CalcHistoryForm->SpeedButton4.click();
  services.pump();
  EXPECT_EQ(CalcHistoryForm, nullptr);
  EXPECT_FALSE(form->HistoryButton.down());
}

TEST_F(CalcMainMenuTest, CustomisingRefreshesTheButtonsButKeepsTheTexts) {
  auto form = start();
  typeInput(*form, "1");
  chooseUnits(*form, 1, 2);
  services.onRunModal = [](Form& dialog) {
    auto& custom = static_cast<TCalcCustomForm&>(dialog);
    custom.NameEdit.userChanged("距離&L");
    custom.OKButton.click();
    return custom.modalResult();
  };
  choose(*form, "変換ﾃﾞｰﾀをｶｽﾄﾏｲｽﾞ(&C)...");
  EXPECT_EQ(form->CategoryButton(1).text(), "距離&L");
  EXPECT_EQ(form->Selection.FromUnit, -1);
  EXPECT_EQ(form->TargetEdit.text(), "1");
  EXPECT_EQ(form->ResultValueLabel.text(), "      100.00000");
  EXPECT_NE(settingsBytes().find("NAME=距離&L\r\n"), std::string::npos);
}

TEST_F(CalcMainMenuTest, CustomisingAMoneyCategoryStartsFromThePanelsRates) {
  writeSettings("[ZOVA]\r\nPAGE=3\r\nINDEX=25\r\n");
  auto form = start();
  form->RateEdit(9 + 2).userChanged("95");  // 米ドル 0.95, read by no conversion
  std::string shown;
  services.onRunModal = [&shown](Form& dialog) {
    auto& custom = static_cast<TCalcCustomForm&>(dialog);
    shown = custom.ValueEdit(2).text();
    custom.OKButton.click();
    return custom.modalResult();
  };
  choose(*form, "変換ﾃﾞｰﾀをｶｽﾄﾏｲｽﾞ(&C)...");
  EXPECT_EQ(shown, "      0.95");
  EXPECT_EQ(form->RateEdit(9 + 2).text(), "95");
  EXPECT_EQ(table[25].unit(2).Factor, Real48(0.95L));
  EXPECT_NE(settingsBytes().find("DATA2=      0.95\r\n"), std::string::npos) << settingsBytes();
}

// Settings that this run cannot save are said once, at start-up; then the
// money page, a rate typed there, the clipboard option, the dialog's OK and
// the exit leave the file as it was, and the window works on all the same.
TEST_F(CalcMainMenuTest, SettingsThatCannotBeSavedAreSaidOnceAndLeftAlone) {
  const std::string mine = "[ZOVA]\r\nINDEX=4\r\n[BUNRUI25]\r\nDATA2=1.23\r\n";
  struct Case {
    const char* what;
    bool held;           // another program holds the file through the start-up
    const char* folder;  // the user's folder that took no copy, if any
    std::string said;    // in the one message
    int category;        // selected at start
  };
  const Case cases[] = {
      {"held at start-up", true, "", "設定ファイルを読めませんでした。\n" + settingsPath().string(),
       1},
      {"no copy in the user's folder", false, "C:\\u\\はかり丸",
       "C:\\u\\はかり丸\nディスクがいっぱい (112)\n今回の変更は保存されません。", 4},
  };
  HeldStorage storage;
  InstallProfileStorage(&storage);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    writeSettings(mine);
    table = CategoryTable::BuiltIn();
    services.messageBoxes.clear();
    services.settingsPlace.unusableFolder = c.folder;
    services.settingsPlace.reason = "ディスクがいっぱい (112)";
    storage.held = c.held;
    auto form = start();
    storage.held = false;
    ASSERT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_NE(services.messageBoxes[0].text.find(c.said), std::string::npos)
        << services.messageBoxes[0].text;
    EXPECT_EQ(services.messageBoxes[0].flags, kMbOk | kMbIconWarning);
    EXPECT_EQ(form->Selection.CurrentCategory, c.category);

    form->PageButton3.click();
    form->RateEdit(2).userChanged("2");
    choose(*form, "結果を自動的にｸﾘｯﾌﾟﾎﾞｰﾄﾞへｺﾋﾟｰ");
    services.onRunModal = [](Form& dialog) {
      auto& custom = static_cast<TCalcCustomForm&>(dialog);
      custom.NameEdit.userChanged("ﾄﾞﾙ&D");
      custom.OKButton.click();
      return custom.modalResult();
    };
    choose(*form, "変換ﾃﾞｰﾀをｶｽﾄﾏｲｽﾞ(&C)...");
    EXPECT_EQ(form->CategoryButton(1).text(), "ﾄﾞﾙ&D");
    form.reset();
    EXPECT_EQ(services.messageBoxes.size(), 1u);
    EXPECT_EQ(errors, std::vector<std::string>{});
    EXPECT_EQ(settingsBytes(), mine);
  }
  InstallProfileStorage(nullptr);
}

TEST_F(CalcMainMenuTest, TemperatureCannotBeCustomised) {
  writeSettings("[ZOVA]\r\nINDEX=9\r\n");
  auto form = start();
  choose(*form, "変換ﾃﾞｰﾀをｶｽﾄﾏｲｽﾞ(&C)...");
  ASSERT_EQ(services.messageBoxes.size(), 1u);
  EXPECT_EQ(services.messageBoxes[0].text, "温度とパソコンはｶｽﾄﾏｲｽﾞ不可");
  EXPECT_EQ(services.messageBoxes[0].title, "処理中断");
}

TEST_F(CalcMainMenuTest, TheAboutBoxRunsModallyAndIsReleased) {
  auto form = start();
  choose(*form, "はかり丸について(&A)...");
  ASSERT_EQ(services.modalRuns.size(), 1u);
  services.pump();
}

TEST_F(CalcMainMenuTest, ExitClosesTheWindow) {
  auto form = start();
  choose(*form, "終了(&X)");
  EXPECT_FALSE(form->visible());
}

}  // namespace
}  // namespace hk
