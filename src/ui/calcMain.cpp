#include "ui/calcMain.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "data/NumberSyntax.h"
#include "platform/Dispatcher.h"
#include "platform/Screen.h"
#include "ui/Application.h"
#include "ui/Place.h"

namespace hk {

namespace {

constexpr int kPageGroup = 1;
constexpr int kCategoryGroup = 2;
constexpr int kFromGroup = 3;
constexpr int kToGroup = 4;
constexpr int kHistoryGroup = 5;

// Unit buttons and the page and history toggles show four images side by
// side: up, disabled, down, held.
constexpr int kToggleImages = 4;

template <typename T, std::size_t N>
T& Slot(const std::array<T*, N>& slots, int number, const char* what) {
  if (number < 1 || number > static_cast<int>(N) || slots[number - 1] == nullptr) {
    throw std::out_of_range(what);
  }
  return *slots[number - 1];
}

// Runs its action when the scope is left, also by an exception.
class ScopeExit {
 public:
  explicit ScopeExit(std::function<void()> action) : action_(std::move(action)) {}
  ~ScopeExit() {
    if (action_) action_();
  }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  std::function<void()> action_;
};

// What keeps this run's changes from the settings file, or sends them
// elsewhere, said once at start-up: a save that cannot happen then says
// nothing, rather than one box per change. Empty when all is as usual.
std::string SettingsNotice(const SettingsPlace& place, const SettingsFile& settings) {
  std::string text;
  const auto paragraph = [&text](const std::string& more) {
    text += text.empty() ? more : "\n\n" + more;
  };
  if (place.fromTemporaryFolder) {
    paragraph(
        "はかり丸は一時フォルダから起動されています (zip ファイルを展開せずに開いたときなど)。");
    if (place.unusableFolder.empty()) {
      text += "設定は次のファイルに保存します。\n" + settings.shownPath();
    }
    paragraph(
        "zip ファイルを展開してから起動すると、設定はプログラムと同じフォルダに保存されます。");
  }
  if (!place.unusableFolder.empty()) {
    paragraph("設定ファイルの写しを次のフォルダに作れませんでした。\n" + place.unusableFolder +
              "\n" + place.reason + "\n今回の変更は保存されません。");
  }
  if (settings.unreadable()) {
    paragraph("設定ファイルを読めませんでした。\n" + settings.shownPath() +
              "\nほかのプログラムが使っているのかもしれません。最初の状態で起動します。"
              "今回の変更はこのファイルに保存されません。");
  }
  return text;
}

Font TitleFont() {
  Font font;
  font.name = "ＭＳ ゴシック";
  font.height = -12;
  font.colour = kWhite;
  return font;
}

}  // namespace

TCalcMainForm::TCalcMainForm(Services& services, CategoryTable& table, HistoryStore& history)
    : Form(FormStyle::BorderlessPopup), services_(services), table_(table), history_(history) {
  layOut();
  buildMenu();
  bindEvents();
  NameMainWindowForReaders(*this);
  // A failed start-up step is shown like any other error, and the window
  // still comes up with whatever the steps before it set.
  Fire(std::function<void()>([this] { FormCreate(); }));
}

TCalcMainForm::~TCalcMainForm() {
  // The window system normally reports the destruction first; a window that
  // never had one still saves its settings once.
  destroyed();
  services_.setKeyHook({});
}

void TCalcMainForm::layOut() {
  setText("はかり丸");
  Font windowFont;
  windowFont.name = "ＭＳ ゴシック";
  windowFont.height = -13;
  setFont(windowFont);
  // The designed size; start-up sizes the window to what it really shows.
  Place(*this, 0, 0, 552, 654);

  Place(Panel1, 8, 4, 385, 33);
  Panel1.setColour(kBlackColour);
  Panel1.setFont(TitleFont());
  Panel1.setText("はかり丸");
  Panel1.setBevels(Bevel::Lowered, Bevel::Lowered);

  const struct {
    SpeedButton& button;
    int left;
  } titleButtons[] = {
      {MenuButton, 3},      {PageButton1, 29}, {PageButton2, 55}, {PageButton3, 81},
      {HistoryButton, 279}, {HelpButton, 305}, {MINIButton, 331}, {ExitButton, 357},
  };
  for (const auto& entry : titleButtons) Place(entry.button, entry.left, 4, 25, 25);
  MenuButton.setHint("ﾒﾆｭｰ表示");
  MenuButton.setGlyph(Picture::FromResource("GL_MENU", 16, 16));
  SpeedButton* pages[] = {&PageButton1, &PageButton2, &PageButton3};
  const char* pageGlyphs[] = {"GL_PAGE1", "GL_PAGE2", "GL_PAGE3"};
  for (int i = 0; i < 3; ++i) {
    pages[i]->setGroupIndex(kPageGroup);
    pages[i]->setHint("ﾍﾟｰｼﾞの切替え");
    pages[i]->setGlyph(Picture::FromResource(pageGlyphs[i], 16 * kToggleImages, 16, kToggleImages));
  }
  HistoryButton.setHint("変換履歴表示");
  HistoryButton.setGroupIndex(kHistoryGroup);
  HistoryButton.setAllowAllUp(true);
  HistoryButton.setGlyph(
      Picture::FromResource("GL_HISTORY", 16 * kToggleImages, 16, kToggleImages));
  ExitButton.setGlyph(Picture::FromResource("GL_EXIT", 16, 16));

  SpeedButton* categoryButtons[] = {&SpeedButton5,  &SpeedButton6,  &SpeedButton7,  &SpeedButton8,
                                    &SpeedButton9,  &SpeedButton10, &SpeedButton11, &SpeedButton12,
                                    &SpeedButton13, &SpeedButton14, &SpeedButton15, &SpeedButton16};
  for (int position = 1; position <= kCategoriesPerPage; ++position) {
    SpeedButton& button = *categoryButtons[CategoryButtonNumber(position) - 5];
    const ButtonOrigin origin = CategoryButtonOrigin(position);
    Place(button, origin.left, origin.top, 64, 54);
    button.setGroupIndex(kCategoryGroup);
    // One Tab stop for the twelve: a category whose name lost its letter is
    // still reached by the arrows.
    button.setTabStop(true);
  }

  Place(Label1, 12, 170, 39, 13);
  Label1.setText("変換値");
  Place(TargetEdit, 60, 164, 217, 21);
  TargetEdit.setMaxBytes(30);
  TargetEdit.setNumeric(true);
  TargetEdit.setColour(kColourWindow);
  Place(TargetTanniPanel, 284, 164, 105, 25);
  TargetTanniPanel.setBevels(Bevel::None, Bevel::Lowered);

  Place(Panel2, 8, 196, 385, 117);
  Place(Image10, 188, 316, 16, 16);
  Image10.setPicture(Picture::FromResource("GL_ARROW", 16, 16));
  Image10.setSign(true);
  Place(Panel3, 8, 336, 385, 117);
  Panel3.setColour(kWhite);
  Panel3.setBevels(Bevel::None, Bevel::Lowered);

  SpeedButton* fromButtons[] = {&TFButton1, &TFButton2, &TFButton3, &TFButton4, &TFButton5,
                                &TFButton6, &TFButton7, &TFButton8, &TFButton9};
  SpeedButton* toButtons[] = {&TTButton1, &TTButton2, &TTButton3, &TTButton4, &TTButton5,
                              &TTButton6, &TTButton7, &TTButton8, &TTButton9};
  Image* fromHints[] = {&F1Image, &F2Image, &F3Image, &F4Image, &F5Image,
                        &F6Image, &F7Image, &F8Image, &F9Image};
  Image* toHints[] = {&SF1Image, &SF2Image, &SF3Image, &SF4Image, &SF5Image,
                      &SF6Image, &SF7Image, &SF8Image, &SF9Image};
  const int buttonLefts[] = {12, 132, 252};
  const int hintLefts[] = {56, 176, 304};
  const int buttonTops[] = {12, 48, 84};
  const int hintTops[] = {4, 40, 76};
  const Picture fromGlyph = Picture::FromResource("GL_FROM", 12 * kToggleImages, 12, kToggleImages);
  const Picture toGlyph = Picture::FromResource("GL_TO", 12 * kToggleImages, 12, kToggleImages);
  for (int i = 0; i < kUnitsPerCategory; ++i) {
    const int row = i / 3;
    const int column = i % 3;
    Place(*fromButtons[i], buttonLefts[column], buttonTops[row], 120, 25);
    Place(*toButtons[i], buttonLefts[column], buttonTops[row], 120, 25);
    Place(*fromHints[i], hintLefts[column], hintTops[row], 28, 6);
    Place(*toHints[i], hintLefts[column], hintTops[row], 28, 6);
    fromHints[i]->setSign(true);
    toHints[i]->setSign(true);
    fromButtons[i]->setGroupIndex(kFromGroup);
    fromButtons[i]->setAllowAllUp(true);
    toButtons[i]->setGroupIndex(kToGroup);
    toButtons[i]->setAllowAllUp(true);
    fromButtons[i]->setGlyph(fromGlyph);
    // Every unit button but the first "to" button carries the first "from"
    // button's picture, as the unit display leaves them.
    toButtons[i]->setGlyph(i == 0 ? toGlyph : fromGlyph);
  }

  Place(Label2, 16, 472, 26, 13);
  Label2.setText("結果");
  Place(ResultPanel, 56, 464, 333, 29);
  ResultPanel.setColour(kLightYellow);
  ResultPanel.setBevels(Bevel::None, Bevel::Lowered);
  // Right-aligned and auto-sized, the value keeps its right edge at 209 however
  // long the text grows.
  Place(ResultValueLabel, 9, 8, 200, 13);
  ResultValueLabel.setAlignment(Alignment::Right);
  ResultValueLabel.setTransparent(true);
  ResultValueLabel.setText("0");
  Place(ResultTanniLabel, 220, 8, 104, 13);
  ResultTanniLabel.setTransparent(true);
  ResultTanniLabel.setText("---");
  // A long result may take the panel from its bevel to where the unit's name
  // still fits before it is drawn smaller or cut.
  ResultValueLabel.setNumberRoom({4, 8, 320, 13}, &ResultTanniLabel);

  Place(MoneyPanel, 404, 2, 148, 491);
  MoneyPanel.setVisible(false);
  MoneyPanel.setEnabled(false);
  Place(Panel4, 4, 4, 140, 22);
  Panel4.setText("為替レート");
  // The heading keeps its own font, white on black like the title panel.
  Font headingFont = TitleFont();
  headingFont.height = -13;
  Panel4.setFont(headingFont);
  Panel4.setColour(kBlackColour);
  Label3.setText("整数部");
  Label4.setText("小数部");
  Place(RateDateLabel, 10, 29, 128, 13);
  RateDateLabel.setVisible(false);
  Edit* edits[] = {&Edit1,  &Edit2,  &Edit3,  &Edit4,  &Edit5,  &Edit6,  &Edit7,  &Edit8,  &Edit9,
                   &Edit10, &Edit11, &Edit12, &Edit13, &Edit14, &Edit15, &Edit16, &Edit17, &Edit18};
  UpDown* upDowns[] = {&UpDown1,  &UpDown2,  &UpDown3,  &UpDown4,  &UpDown5,  &UpDown6,
                       &UpDown7,  &UpDown8,  &UpDown9,  &UpDown10, &UpDown11, &UpDown12,
                       &UpDown13, &UpDown14, &UpDown15, &UpDown16, &UpDown17, &UpDown18};
  for (int row = 0; row < kUnitsPerCategory; ++row) {
    for (Edit* edit : {edits[row], edits[kUnitsPerCategory + row]}) {
      edit->setColour(kColourWindow);
      edit->setHoldsNumber(true);
      edit->setText("0");
    }
    // The decimal part runs round from its largest value to 0; the integer
    // part stops at its limits.
    upDowns[kUnitsPerCategory + row]->setWrap(true);
    // A step goes on from the number the row reads, "$A" as 10 too.
    for (UpDown* spinner : {upDowns[row], upDowns[kUnitsPerCategory + row]}) {
      spinner->ReadTyped = [](const std::string& text) -> std::optional<std::int64_t> {
        const std::optional<std::int32_t> number = ParseWholeNumber(text);
        if (!number) return std::nullopt;
        return *number;
      };
    }
  }
  placeRateRows(0);

  Place(ListBox1, 28, 516, 121, 97);
  ListBox1.setColour(kColourWindow);
  ListBox1.setVisible(false);
  ListBox1.setEnabled(false);
  // Below the visible area: it exists only so that Enter has a default button.
  Place(Button1, 156, 520, 75, 25);
  Button1.setText("Button1");
  setDefaultButton(&Button1);
  setFocusHome(&TargetEdit);
}

void TCalcMainForm::placeRateRows(int down) {
  rateRowsDown_ = down;
  Place(Label3, 10, 32 + down, 39, 13);
  Place(Label4, 80, 32 + down, 39, 13);
  Label* moneyLabels[] = {&MoneyLabel1, &MoneyLabel2, &MoneyLabel3, &MoneyLabel4, &MoneyLabel5,
                          &MoneyLabel6, &MoneyLabel7, &MoneyLabel8, &MoneyLabel9};
  Edit* edits[] = {&Edit1,  &Edit2,  &Edit3,  &Edit4,  &Edit5,  &Edit6,  &Edit7,  &Edit8,  &Edit9,
                   &Edit10, &Edit11, &Edit12, &Edit13, &Edit14, &Edit15, &Edit16, &Edit17, &Edit18};
  UpDown* upDowns[] = {&UpDown1,  &UpDown2,  &UpDown3,  &UpDown4,  &UpDown5,  &UpDown6,
                       &UpDown7,  &UpDown8,  &UpDown9,  &UpDown10, &UpDown11, &UpDown12,
                       &UpDown13, &UpDown14, &UpDown15, &UpDown16, &UpDown17, &UpDown18};
  // Nine rows of 49 pixels under the column captions: the name, then the
  // integer part and the decimal part side by side, each with its spinner.
  for (int row = 0; row < kUnitsPerCategory; ++row) {
    const int top = 50 + down + 49 * row;
    Place(*moneyLabels[row], 10, top, 128, 13);
    Place(*edits[row], 8, top + 16, 52, 21);
    Place(*upDowns[row], 60, top + 16, 15, 21);
    Place(*edits[kUnitsPerCategory + row], 78, top + 16, 52, 21);
    Place(*upDowns[kUnitsPerCategory + row], 130, top + 16, 15, 21);
  }
}

void TCalcMainForm::bindEvents() {
  OnMouseDown = [this](MouseButton button, int x, int y) { FormMouseDown(button, x, y); };
  Panel1.OnMouseDown = [this](MouseButton button, int x, int y) { FormMouseDown(button, x, y); };
  MINIButton.OnClick = [this] { MINIButtonClick(); };
  ExitButton.OnClick = [this] { ExitButtonClick(); };
  MenuButton.OnClick = [this] { MenuButtonClick(); };
  for (SpeedButton* page : {&PageButton1, &PageButton2, &PageButton3}) {
    page->OnClick = [this, page] { PageButton1Click(*page); };
  }
  for (SpeedButton* category : {&SpeedButton5, &SpeedButton6, &SpeedButton7, &SpeedButton8,
                                &SpeedButton9, &SpeedButton10, &SpeedButton11, &SpeedButton12,
                                &SpeedButton13, &SpeedButton14, &SpeedButton15, &SpeedButton16}) {
    category->OnClick = [this, category] { SpeedButton5Click(*category); };
  }
  for (SpeedButton* from : {&TFButton1, &TFButton2, &TFButton3, &TFButton4, &TFButton5, &TFButton6,
                            &TFButton7, &TFButton8, &TFButton9}) {
    from->OnClick = [this, from] { TFButton1Click(*from); };
  }
  for (SpeedButton* to : {&TTButton1, &TTButton2, &TTButton3, &TTButton4, &TTButton5, &TTButton6,
                          &TTButton7, &TTButton8, &TTButton9}) {
    to->OnClick = [this, to] { TTButton1Click(*to); };
  }
  for (Edit* edit :
       {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5, &Edit6, &Edit7, &Edit8, &Edit9, &Edit10, &Edit11,
        &Edit12, &Edit13, &Edit14, &Edit15, &Edit16, &Edit17, &Edit18}) {
    edit->OnChange = [this] { Edit1Change(); };
  }
  TargetEdit.OnKeyPress = [this](char& key) { TargetEditKeyPress(key); };
  TargetEdit.OnEnter = [this] { TargetEditChange(); };
  Button1.OnClick = [this] { Button1Click(); };
  ListBox1.OnClick = [this] { ListBox1Click(); };
  ListBox1.OnExit = [this] { ListBox1Exit(); };
  OnPaint = [this](Canvas& canvas) { FormPaint(canvas); };
  OnClose = [this] { FormClose(); };
  OnDestroy = [this] { FormDestroy(); };
  bindKeys();
}

void TCalcMainForm::fillArrays() {
  SpeedButton* categoryButtons[] = {&SpeedButton5,  &SpeedButton6,  &SpeedButton7,  &SpeedButton8,
                                    &SpeedButton9,  &SpeedButton10, &SpeedButton16, &SpeedButton15,
                                    &SpeedButton14, &SpeedButton13, &SpeedButton12, &SpeedButton11};
  CategoryButtons.fill(nullptr);
  for (int i = 0; i < kCategoriesPerPage; ++i) CategoryButtons[i] = categoryButtons[i];
  FromButtons = {&TFButton1, &TFButton2, &TFButton3, &TFButton4, &TFButton5,
                 &TFButton6, &TFButton7, &TFButton8, &TFButton9};
  ToButtons = {&TTButton1, &TTButton2, &TTButton3, &TTButton4, &TTButton5,
               &TTButton6, &TTButton7, &TTButton8, &TTButton9};
  MoneyLabels = {&MoneyLabel1, &MoneyLabel2, &MoneyLabel3, &MoneyLabel4, &MoneyLabel5,
                 &MoneyLabel6, &MoneyLabel7, &MoneyLabel8, &MoneyLabel9};
  RateEdits = {&Edit1,  &Edit2,  &Edit3,  &Edit4,  &Edit5,  &Edit6,  &Edit7,  &Edit8,  &Edit9,
               &Edit10, &Edit11, &Edit12, &Edit13, &Edit14, &Edit15, &Edit16, &Edit17, &Edit18};
  RateUpDowns = {&UpDown1,  &UpDown2,  &UpDown3,  &UpDown4,  &UpDown5,  &UpDown6,
                 &UpDown7,  &UpDown8,  &UpDown9,  &UpDown10, &UpDown11, &UpDown12,
                 &UpDown13, &UpDown14, &UpDown15, &UpDown16, &UpDown17, &UpDown18};
}

SpeedButton& TCalcMainForm::CategoryButton(int position) const {
  return Slot(CategoryButtons, position, "category button position");
}
SpeedButton& TCalcMainForm::FromButton(int unit) const {
  return Slot(FromButtons, unit, "from button");
}
SpeedButton& TCalcMainForm::ToButton(int unit) const { return Slot(ToButtons, unit, "to button"); }
Label& TCalcMainForm::MoneyLabel(int row) const { return Slot(MoneyLabels, row, "rate row"); }
Edit& TCalcMainForm::RateEdit(int number) const { return Slot(RateEdits, number, "rate edit"); }
UpDown& TCalcMainForm::RateUpDown(int number) const {
  return Slot(RateUpDowns, number, "rate spinner");
}

void TCalcMainForm::FormCreate() {
  services_.setKeyHook(
      [this](unsigned virtualKey, bool shift) { return HandleFunctionKeys(virtualKey, shift); });
  fillArrays();

  const FilePath executable = services_.executablePath();
  Application().HelpFile = executable.parent_path() / FilePath("ZO_VEZA.HLP");
  openSettings(executable);

  const WindowSettings saved = settings_->readWindowSettings();
  setBounds({saved.WinPosX, saved.WinPosY, bounds().width, bounds().height});
  Selection.CurrentCategory = saved.Index;
  Selection.CurrentPage = saved.Page;

  MINIButton.setGlyph(Picture::FromResource("SYSMINI", 12, 12));
  HelpButton.setGlyph(Picture::FromResource("SYSHELP", 12, 12));

  history_.ClearHistory();
  Selection.FromUnit = -1;
  Selection.ToUnit = -1;
  Selection.RatesChanged = false;
  Selection.AutoClip = saved.AutoClip;
  ResultClipMenu->setChecked(Selection.AutoClip);
  setTopmost(saved.Topmost);
  TopmostMenu->setChecked(saved.Topmost);

  // Every page number but 1 and 2 shows the money page; calling it 3 keeps
  // the rate panel, the page button and the page written at exit in step.
  if (Selection.CurrentPage != 1 && Selection.CurrentPage != 2) Selection.CurrentPage = 3;
  Selection.choosePageRange(Selection.CurrentPage);
  SpeedButton* pageButtons[] = {&PageButton1, &PageButton2, &PageButton3};
  pageButtons[Selection.CurrentPage - 1]->setDown(true);

  settings_->loadCategories(table_);
  ShowPageButtons();

  // A hand-edited INDEX that the page does not show would select a button
  // that is not there: such a start begins on the page's first category.
  if (Selection.CurrentCategory < Selection.PageFirst ||
      Selection.CurrentCategory > Selection.PageLast) {
    Selection.CurrentCategory = Selection.PageFirst;
  }
  CategoryButton(PositionOfCategory(Selection.PageFirst, Selection.CurrentCategory)).setDown(true);

  ShowCategoryUnits();

  Image* fromHints[] = {&F1Image, &F2Image, &F3Image, &F4Image, &F5Image,
                        &F6Image, &F7Image, &F8Image, &F9Image};
  Image* toHints[] = {&SF1Image, &SF2Image, &SF3Image, &SF4Image, &SF5Image,
                      &SF6Image, &SF7Image, &SF8Image, &SF9Image};
  for (int key = 1; key <= kUnitsPerCategory; ++key) {
    fromHints[key - 1]->setPicture(Picture::FromResource("PF_" + std::to_string(key), 28, 6));
    toHints[key - 1]->setPicture(Picture::FromResource("SF_" + std::to_string(key), 28, 6));
  }

  setHeight(ResultPanel.bounds().bottom() + 20);
  setWidth(ResultPanel.bounds().right() + 15);
  if (Selection.CurrentPage == 3) showMoneyPanel(true);
  // Saved on a monitor that is now smaller or gone, the window would open
  // out of reach: it comes onto the nearest screen at its final size.
  setBounds(KeepOnMonitor(bounds(), services_.nearestMonitor(bounds())));

  // The window opens ready for typing, as the input is the first control.
  TargetEdit.focus();
}

void TCalcMainForm::openSettings(const FilePath& executable) {
  const SettingsPlace place =
      services_.settingsLocation(SettingsPathFor(executable), Application().Title);
  settings_ = std::make_unique<SettingsFile>(place.file);
  if (!place.unusableFolder.empty()) settings_->stopSaving();
  const std::string notice = SettingsNotice(place, *settings_);
  if (!notice.empty()) {
    services_.messageBox(notice, Application().Title,
                         kMbOk | (settings_->saves() ? kMbIconInformation : kMbIconWarning));
  }
}

void TCalcMainForm::showMoneyPanel(bool shown) {
  MoneyPanel.setEnabled(shown);
  MoneyPanel.setVisible(shown);
  if (shown) {
    setWidth(MoneyPanel.bounds().right() + 2);
    MoneyPanel.setHeight(bounds().height - MoneyPanel.bounds().top - 4);
  } else {
    setWidth(ResultPanel.bounds().right() + 15);
  }
}

void TCalcMainForm::FormDestroy() {
  services_.setKeyHook({});
  // A failed write skips the writes after it, but the settings go and the
  // history window is released all the same: nothing may write through, or
  // stay behind, a half-closed window.
  const ScopeExit finish([this] {
    settings_.reset();
    // Reported, never thrown: this may run while a failure is on its way.
    if (auto release = std::exchange(HistoryWindowRelease, nullptr)) Fire(release);
  });
  if (!settings_) return;
  SaveRatesAtExit();
  if (auto release = std::exchange(HistoryWindowRelease, nullptr)) release();
  settings_->writeWindowSettings(bounds().left, bounds().top, Selection.CurrentCategory,
                                 Selection.CurrentPage);
}

void TCalcMainForm::FormClose() {
  services_.help(*this, Application().HelpFile, HelpCommand::Quit, 0);
}

void TCalcMainForm::FormPaint(Canvas& canvas) {
  const int w = bounds().width;
  const int h = bounds().height;
  canvas.setPen(kWhite);
  canvas.moveTo({w, 0});
  canvas.lineTo({0, 0});
  canvas.lineTo({0, h - 3});
  canvas.moveTo({w, 1});
  canvas.lineTo({1, 1});
  canvas.lineTo({1, h - 3});
  canvas.setPen(kBlackColour);
  canvas.moveTo({w - 3, 0});
  canvas.lineTo({w - 3, h - 3});
  canvas.lineTo({0, h - 3});
  canvas.moveTo({w - 4, 0});
  canvas.lineTo({w - 4, h - 4});
  canvas.lineTo({0, h - 4});
}

void TCalcMainForm::FormMouseDown(MouseButton /*button*/, int /*x*/, int /*y*/) { beginDrag(); }

void TCalcMainForm::MINIButtonClick() { minimize(); }

void TCalcMainForm::ExitButtonClick() { close(); }

}  // namespace hk
