// The menu button's popup menu with the commands that belong to no other
// part of the window, and the main window's ends of the history window and
// the customisation dialog.
#include "ui/Application.h"
#include "ui/CalcUnt1.h"
#include "ui/CalcUnt2.h"
#include "ui/CalcUnt3.h"
#include "ui/calcMain.h"

namespace hk {

namespace {

constexpr unsigned kMainHelpContext = 256;

}  // namespace

void TCalcMainForm::buildMenu() {
  PopupMenu1 = std::make_unique<PopupMenu>(services_);
  PopupMenu& menu = *PopupMenu1;
  Rui2Menu = &menu.add("&2の累乗", [this] { Rui2MenuClick(2); });
  Rui8Menu = &menu.add("&8の累乗", [this] { Rui2MenuClick(8); });
  Rui16Menu = &menu.add("1&6の累乗", [this] { Rui2MenuClick(16); });
  menu.add("-");
  FontMenu = &menu.add("ﾌｫﾝﾄ設定(&F)...", [this] { FontMenuClick(); });
  ResultClipMenu = &menu.add("結果を自動的にｸﾘｯﾌﾟﾎﾞｰﾄﾞへｺﾋﾟｰ", [this] { ResultClipMenuClick(); });
  TopmostMenu = &menu.add("常に手前に表示(&T)", [this] { TopmostMenuClick(); });
  menu.add("-");
  CustomizeMenu = &menu.add("変換ﾃﾞｰﾀをｶｽﾄﾏｲｽﾞ(&C)...", [this] { CustomizeMenuClick(); });
  menu.add("-");
  HistoryMenu = &menu.add("変換ﾃﾞｰﾀ履歴表示", [this] { HistoryMenuClick(); });
  menu.add("-");
  AboutMenu = &menu.add("はかり丸について(&A)...", [this] { AboutMenuClick(); });
  HekpMenu = &menu.add("&HELP...", [this] { HelpButtonClick(); });
  menu.add("-");
  ExitMenu = &menu.add("終了(&X)", [this] { ExitMenuClick(); });

  // Beside the menu button: the window has no caption, and the button's own
  // position inside the title panel counts, not the panel's offset.
  PopupMenuOpen = [this] {
    const Rect& button = MenuButton.bounds();
    PopupMenu1->popup(*this, {bounds().left + button.left + button.width,
                              bounds().top + button.top + button.height});
  };

  HelpButton.OnClick = [this] { HelpButtonClick(); };
  HistoryButton.OnClick = [this] { HistoryButtonClick(); };
  OnMessage = [this](unsigned message) {
    if (message == WM_HISTORYCLOSE) HistoryCloseMessage(services_, HistoryButton);
  };
  // Both do nothing while no history window exists.
  HistoryWindowRefresh = [] { RefreshHistoryWindow(); };
  HistoryWindowRelease = [this] { ReleaseHistoryWindow(services_); };
}

void TCalcMainForm::FontMenuClick() {
  Font chosen = FontDialog1;
  if (!services_.chooseFont(*this, chosen)) return;
  FontDialog1 = chosen;
  // The unit buttons, the title panel and the rate heading keep fonts of
  // their own; everything else follows the window's.
  setFont(chosen);
  notify(Change::Repaint);
}

void TCalcMainForm::ResultClipMenuClick() {
  Selection.AutoClip = !Selection.AutoClip;
  ResultClipMenu->setChecked(Selection.AutoClip);
  if (SettingsFile* settings = Settings()) settings->writeAutoClip(Selection.AutoClip);
}

void TCalcMainForm::TopmostMenuClick() {
  setTopmost(!topmost());
  TopmostMenu->setChecked(topmost());
  if (SettingsFile* settings = Settings()) settings->writeTopmost(topmost());
}

void TCalcMainForm::CustomizeMenuClick() {
  SettingsFile* settings = Settings();
  if (!settings) return;
  // The dialog starts from the category's factors, and its OK refills the
  // rate panel from them: the panel's edits go into them first, and into
  // the file only when there are any.
  SaveRatesOnLeaving();
  if (!CustomizeCategory(services_, *this, table_, *settings, Selection.CurrentCategory,
                         services_.executablePath().parent_path(), Application().HelpFile)) {
    return;
  }
  // Its OK wrote every unit's value.
  UnsavedRates.erase(Selection.CurrentCategory);
  // Unlike a change of category, the input, the "from" name and the result
  // keep their texts.
  ShowPageButtons();
  ShowCategoryUnits();
}

void TCalcMainForm::HistoryMenuClick() {
  hk::HistoryMenuClick(services_, history_, *this, Application().HelpFile);
}

void TCalcMainForm::HistoryButtonClick() {
  hk::HistoryButtonClick(services_, history_, *this, HistoryButton, Application().HelpFile);
}

void TCalcMainForm::AboutMenuClick() { ShowAboutBox(services_, *this); }

void TCalcMainForm::HelpButtonClick() {
  services_.help(*this, Application().HelpFile, HelpCommand::Context, kMainHelpContext);
}

void TCalcMainForm::ExitMenuClick() { close(); }

}  // namespace hk
