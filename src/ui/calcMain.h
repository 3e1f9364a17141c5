#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "data/CategoryTable.h"
#include "data/Selection.h"
#include "data/SettingsFile.h"
#include "engine/Rates.h"
#include "history/HistoryStore.h"
#include "platform/Services.h"
#include "platform/Widgets.h"

namespace hk {

// The main window: a borderless pop-up with a title panel of its own, the
// category buttons of one page, the input, the two unit panels, the result
// and, on the money page, the rate panel on the right.
class TCalcMainForm : public Form {
 public:
  // The table and the history belong to the program and outlive the window.
  TCalcMainForm(Services& services, CategoryTable& table, HistoryStore& history);
  ~TCalcMainForm() override;

  // The two widths the window ever has; the height never changes.
  static constexpr int kPlainWidth = 404;
  static constexpr int kMoneyWidth = 554;
  static constexpr int kHeight = 513;

  // Title panel.
  Panel Panel1{this};
  SpeedButton MenuButton{&Panel1};
  SpeedButton PageButton1{&Panel1};
  SpeedButton PageButton2{&Panel1};
  SpeedButton PageButton3{&Panel1};
  SpeedButton HistoryButton{&Panel1};
  SpeedButton HelpButton{&Panel1};
  SpeedButton MINIButton{&Panel1};
  SpeedButton ExitButton{&Panel1};

  // Category buttons: 5..10 across the upper row, 16 down to 11 across the lower.
  SpeedButton SpeedButton5{this};
  SpeedButton SpeedButton6{this};
  SpeedButton SpeedButton7{this};
  SpeedButton SpeedButton8{this};
  SpeedButton SpeedButton9{this};
  SpeedButton SpeedButton10{this};
  SpeedButton SpeedButton11{this};
  SpeedButton SpeedButton12{this};
  SpeedButton SpeedButton13{this};
  SpeedButton SpeedButton14{this};
  SpeedButton SpeedButton15{this};
  SpeedButton SpeedButton16{this};

  Label Label1{this};
  Edit TargetEdit{this};
  Panel TargetTanniPanel{this};

  // "From" units.
  Panel Panel2{this};
  SpeedButton TFButton1{&Panel2};
  SpeedButton TFButton2{&Panel2};
  SpeedButton TFButton3{&Panel2};
  SpeedButton TFButton4{&Panel2};
  SpeedButton TFButton5{&Panel2};
  SpeedButton TFButton6{&Panel2};
  SpeedButton TFButton7{&Panel2};
  SpeedButton TFButton8{&Panel2};
  SpeedButton TFButton9{&Panel2};
  Image F1Image{&Panel2};
  Image F2Image{&Panel2};
  Image F3Image{&Panel2};
  Image F4Image{&Panel2};
  Image F5Image{&Panel2};
  Image F6Image{&Panel2};
  Image F7Image{&Panel2};
  Image F8Image{&Panel2};
  Image F9Image{&Panel2};

  Image Image10{this};

  // "To" units.
  Panel Panel3{this};
  SpeedButton TTButton1{&Panel3};
  SpeedButton TTButton2{&Panel3};
  SpeedButton TTButton3{&Panel3};
  SpeedButton TTButton4{&Panel3};
  SpeedButton TTButton5{&Panel3};
  SpeedButton TTButton6{&Panel3};
  SpeedButton TTButton7{&Panel3};
  SpeedButton TTButton8{&Panel3};
  SpeedButton TTButton9{&Panel3};
  Image SF1Image{&Panel3};
  Image SF2Image{&Panel3};
  Image SF3Image{&Panel3};
  Image SF4Image{&Panel3};
  Image SF5Image{&Panel3};
  Image SF6Image{&Panel3};
  Image SF7Image{&Panel3};
  Image SF8Image{&Panel3};
  Image SF9Image{&Panel3};

  Label Label2{this};
  Panel ResultPanel{this};
  Label ResultValueLabel{&ResultPanel};
  Label ResultTanniLabel{&ResultPanel};

  // Rate panel of the money page: row i has MoneyLabel i, the integer part in
  // Edit i and the decimal part in Edit 9+i, each with its spinner.
  Panel MoneyPanel{this};
  Panel Panel4{&MoneyPanel};
  Label Label3{&MoneyPanel};
  Label Label4{&MoneyPanel};
  // Under the heading: the day a saved rate of the category last changed.
  Label RateDateLabel{&MoneyPanel};
  Label MoneyLabel1{&MoneyPanel};
  Label MoneyLabel2{&MoneyPanel};
  Label MoneyLabel3{&MoneyPanel};
  Label MoneyLabel4{&MoneyPanel};
  Label MoneyLabel5{&MoneyPanel};
  Label MoneyLabel6{&MoneyPanel};
  Label MoneyLabel7{&MoneyPanel};
  Label MoneyLabel8{&MoneyPanel};
  Label MoneyLabel9{&MoneyPanel};
  Edit Edit1{&MoneyPanel};
  Edit Edit2{&MoneyPanel};
  Edit Edit3{&MoneyPanel};
  Edit Edit4{&MoneyPanel};
  Edit Edit5{&MoneyPanel};
  Edit Edit6{&MoneyPanel};
  Edit Edit7{&MoneyPanel};
  Edit Edit8{&MoneyPanel};
  Edit Edit9{&MoneyPanel};
  Edit Edit10{&MoneyPanel};
  Edit Edit11{&MoneyPanel};
  Edit Edit12{&MoneyPanel};
  Edit Edit13{&MoneyPanel};
  Edit Edit14{&MoneyPanel};
  Edit Edit15{&MoneyPanel};
  Edit Edit16{&MoneyPanel};
  Edit Edit17{&MoneyPanel};
  Edit Edit18{&MoneyPanel};
  UpDown UpDown1{&MoneyPanel, &Edit1};
  UpDown UpDown2{&MoneyPanel, &Edit2};
  UpDown UpDown3{&MoneyPanel, &Edit3};
  UpDown UpDown4{&MoneyPanel, &Edit4};
  UpDown UpDown5{&MoneyPanel, &Edit5};
  UpDown UpDown6{&MoneyPanel, &Edit6};
  UpDown UpDown7{&MoneyPanel, &Edit7};
  UpDown UpDown8{&MoneyPanel, &Edit8};
  UpDown UpDown9{&MoneyPanel, &Edit9};
  UpDown UpDown10{&MoneyPanel, &Edit10};
  UpDown UpDown11{&MoneyPanel, &Edit11};
  UpDown UpDown12{&MoneyPanel, &Edit12};
  UpDown UpDown13{&MoneyPanel, &Edit13};
  UpDown UpDown14{&MoneyPanel, &Edit14};
  UpDown UpDown15{&MoneyPanel, &Edit15};
  UpDown UpDown16{&MoneyPanel, &Edit16};
  UpDown UpDown17{&MoneyPanel, &Edit17};
  UpDown UpDown18{&MoneyPanel, &Edit18};

  ListBox ListBox1{this};
  Button Button1{this};

  // The groups, filled once at creation. Storage is 0-based; the accessors
  // take the 1-based numbers everything else uses and throw std::out_of_range
  // for a number outside the group or a slot nobody filled.
  std::array<SpeedButton*, kCategoryCount> CategoryButtons{};
  std::array<SpeedButton*, kUnitsPerCategory> FromButtons{};
  std::array<SpeedButton*, kUnitsPerCategory> ToButtons{};
  std::array<Label*, kUnitsPerCategory> MoneyLabels{};
  std::array<Edit*, 2 * kUnitsPerCategory> RateEdits{};
  std::array<UpDown*, 2 * kUnitsPerCategory> RateUpDowns{};

  SpeedButton& CategoryButton(int position) const;
  SpeedButton& FromButton(int unit) const;
  SpeedButton& ToButton(int unit) const;
  Label& MoneyLabel(int row) const;
  Edit& RateEdit(int number) const;  // 1..9 integer parts, 10..18 decimal parts
  UpDown& RateUpDown(int number) const;

  SelectionState Selection;

  // Nothing while the window is being destroyed or after.
  SettingsFile* Settings() const { return settings_.get(); }
  Services& services() const { return services_; }
  CategoryTable& table() const { return table_; }
  HistoryStore& history() const { return history_; }

  // What ShowRates wrote into each row of the rate panel: a row that still
  // holds it stands for its unit's factor as it is.
  RatePanelTexts FilledRates{};
  // The rows whose texts have been read into their factors since ShowRates:
  // their factor is whatever they show, so they are read again every time,
  // even once they show the filled texts again, and a save does not undo it.
  RateRows RatesRead{};
  // What each row showed when a save last wrote its rate since ShowRates;
  // nothing for a row not written from its texts since. Such a row has
  // nothing left to save until its texts change: whether it was read says
  // how to read it, not whether the file lacks it.
  std::array<std::optional<RateRowTexts>, kUnitsPerCategory> SavedRates{};
  // Money categories whose factors hold rates that the settings file
  // refused: saved again when the category is next left, or at exit.
  std::set<std::int32_t> UnsavedRates;
  // Set once a refused rate save was reported, until a rate save succeeds.
  bool RateSaveFailureTold = false;

  // The result text last shown by a conversion, held whole: the clipboard
  // copy is made from it.
  std::string LastResultText;
  // The base of the powers list last opened: 2, 8 or 16.
  int PowerBase = 2;
  // Set while the menu runs that the keyboard opened.
  bool MenuByKeyboard = false;

  // Connections to the history window and the popup menu, which other parts
  // of the program set up; each does nothing while it is empty.
  // Set while a history window exists: refills its grid and totals after a
  // conversion has been appended.
  std::function<void()> HistoryWindowRefresh;
  // Set while a history window exists: releases it when the main window goes.
  std::function<void()> HistoryWindowRelease;
  // Opens PopupMenu1 beside the menu button.
  std::function<void()> PopupMenuOpen;

  // The menu button's popup menu, made with the window, and its items.
  std::unique_ptr<PopupMenu> PopupMenu1;
  MenuItem* Rui2Menu = nullptr;
  MenuItem* Rui8Menu = nullptr;
  MenuItem* Rui16Menu = nullptr;
  MenuItem* FontMenu = nullptr;
  MenuItem* ResultClipMenu = nullptr;
  MenuItem* TopmostMenu = nullptr;
  MenuItem* CustomizeMenu = nullptr;
  MenuItem* HistoryMenu = nullptr;
  MenuItem* AboutMenu = nullptr;
  MenuItem* HekpMenu = nullptr;
  MenuItem* ExitMenu = nullptr;
  // The font dialog's choice, kept for its next opening; never stored.
  Font FontDialog1;

  // Event handlers.
  void FormCreate();
  void FormDestroy();
  void FormClose();
  void FormPaint(Canvas& canvas);
  void FormMouseDown(MouseButton button, int x, int y);
  void MINIButtonClick();
  void ExitButtonClick();
  void MenuButtonClick();

  // Pages, categories and units; each group shares its first member's handler.
  void PageButton1Click(SpeedButton& sender);
  void SpeedButton5Click(SpeedButton& sender);
  void TFButton1Click(SpeedButton& sender);
  void TTButton1Click(SpeedButton& sender);
  // The application-wide key hook: F1 to F9 choose the "from" unit, with
  // Shift the "to" unit. True swallows the key.
  bool HandleFunctionKeys(unsigned virtualKey, bool shift);

  // The one place that changes the unit named beside the result: it names
  // ToUnit (no name while none is chosen) and shows the input converted to
  // it, or no value when that conversion shows none.
  void NameResultUnit();

  // The page's category buttons: the table's pictures and names.
  void ShowPageButtons();
  // The units of CurrentCategory on the unit buttons (and the rate panel on
  // the money page); no unit stays selected.
  void ShowCategoryUnits();

  // The rate panel.
  void ShowRates(int row);
  // The shown category's date under the heading; the rows move down to
  // make room for it once any money category has one.
  void ShowRateDate();
  void Edit1Change();
  // The silent refresh: every row's rate text that reads as a number becomes
  // its unit's factor. Returns the rows it read.
  RateRows ApplyRateTexts();
  // Reads the edits of the shown rows into the factors; an edit that is not a
  // whole number is reported and gets the focus. True when all were read.
  bool ReadRatesFromPanel();
  // Puts the rows into the factors and writes their rates to the section of
  // the category whose rates the panel holds, and only while that money
  // category is the current one. A failed write throws ProfileWriteError,
  // with the factors already set.
  void SaveRates();
  // Whether the panel holds the rows of the current category, on the money page.
  bool RatesShown() const;
  // Whether a row of the money category shown has been edited or read since
  // the panel was filled, or edited since a save wrote it: browsing alone
  // changes no rate, and a saved rate is not written again.
  bool RatesEdited() const;
  // RatesEdited, or the category shown still holds rates a save could not write.
  bool RatesToSave() const;
  // Before the panel shows another category or page, or the customisation
  // dialog opens: saves the rates when RatesToSave. A file that refuses them
  // is reported once until a save succeeds, and never stops the way on: the
  // category is kept in UnsavedRates with its factors.
  void SaveRatesOnLeaving();
  // At exit: the category shown when RatesToSave, then every category in
  // UnsavedRates from its factors. A failed write throws.
  void SaveRatesAtExit();

  // The conversion and its triggers.
  void TargetEditKeyPress(char& key);
  void TargetEditChange();  // TargetEdit received the focus
  void Button1Click();
  // shown, when given, becomes true once a new value is in the display.
  void RunConversion(bool* shown = nullptr);
  void CopyResultToClipboard(const std::string& text);

  // The powers list: base 2, 8 or 16 (any other number is 16).
  void Rui2MenuClick(int base);
  void ListBox1Click();
  void ListBox1Exit();

  // The popup menu's commands and the title panel's help button.
  void FontMenuClick();
  void ResultClipMenuClick();
  void TopmostMenuClick();
  void CustomizeMenuClick();
  void HistoryMenuClick();
  void AboutMenuClick();
  void HelpButtonClick();
  void ExitMenuClick();
  void HistoryButtonClick();

  // Keys: the page before or after the current one (round at the ends), and
  // the "from" and "to" units exchanged, converting once.
  void StepPage(int step);
  void SwapUnits();
  void PutAwayPowersList();
  // F10 or Alt alone: the menu, whose powers list then takes the focus.
  void OpenMenuFromKeyboard();

 private:
  void layOut();
  // The column captions and the nine rate rows, `down` units below their
  // designed places.
  void placeRateRows(int down);
  // After the category's rates were written: its date, when one of them
  // changed.
  void writeRateDate(std::int32_t category);
  void buildMenu();
  void bindEvents();
  void bindKeys();
  void fillArrays();
  // The settings file where the system lets it be kept, and anything the
  // user must know about it said once.
  void openSettings(const FilePath& executable);
  void showMoneyPanel(bool shown);

  int rateRowsDown_ = 0;
  Services& services_;
  CategoryTable& table_;
  HistoryStore& history_;
  std::unique_ptr<SettingsFile> settings_;
};

// Names the main window's controls for screen readers; once, at creation.
void NameMainWindowForReaders(TCalcMainForm& form);

}  // namespace hk
