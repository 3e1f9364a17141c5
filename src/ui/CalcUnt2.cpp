#include "ui/CalcUnt2.h"
#include "ui/Place.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "data/DecimalFormat.h"
#include "data/FloatFault.h"
#include "history/HistoryExport.h"
#include "platform/Dispatcher.h"
#include "platform/Palette.h"

namespace hk {

TCalcHistoryForm* CalcHistoryForm = nullptr;

namespace {

// The modeless window, owned here from its opening until it is handed over
// for release. A plain pointer on purpose: a static owner would destroy a
// forgotten window at exit, after the services it talks to are gone.
TCalcHistoryForm* ModelessWindow = nullptr;

// Posted by the hooks to a window they have just shown; see PlaceAsDesigned.
constexpr unsigned kPlaceMessage = 0x0400 + 102;

constexpr int kToolbarHeight = 33;
constexpr int kColumns = 6;
constexpr unsigned kHelpContext = 273;
constexpr Colour kTotalRowColour = 0x00E0E0E0;
// Columns 2 and 4 hold the numbers: they end a little before the grid line.
constexpr int kNumberInset = 5;
// The row cycle of a mark click: blank, "＋", "－", blank again.
constexpr int kMarkCount = 3;

// Moves the window to its designed outer rectangle. The platform keeps a
// form's client size when it first measures the frame, which would make the
// window as much larger as its caption and borders are; this runs from the
// message loop once the frame is known.
void PlaceAsDesigned(TCalcHistoryForm& window) {
  window.setBounds(TCalcHistoryForm::kDesignBounds);
  window.FormResize();
}

// The toolbar's buttons show only pictures and never take the focus: each
// has an Alt+letter instead, which its tooltip names. None is a letter of
// the built-in categories, whose Alt+letters belong to the main window.
constexpr char kClipKey = 'C';
constexpr char kClearKey = 'E';
constexpr char kHelpKey = 'H';
constexpr char kCloseKey = 'X';

void ReleaseModeless(Services& services) {
  TCalcHistoryForm* window = std::exchange(ModelessWindow, nullptr);
  if (!window) return;
  if (CalcHistoryForm == window) CalcHistoryForm = nullptr;
  services.releaseLater(std::unique_ptr<Form>(window));
}

}  // namespace

TCalcHistoryForm::TCalcHistoryForm(Services& services, HistoryStore& history, Form& mainForm,
                                   bool modalMode, FilePath helpFile)
    : Form(FormStyle::Sizable, &mainForm),
      services_(services),
      history_(history),
      helpFile_(std::move(helpFile)),
      ALLCLIPMENU(PopupMenu1.add("表示データ全てコピー")),
      SIGNCLIPMENU(PopupMenu1.add("計算対象と合計行をコピー")),
      TOTALCLIPMENU(PopupMenu1.add("合計行のみコピー")),
      DeleteMenu(PopupMenu2.add("行削除")),
      N1(PopupMenu2.add("-")),
      AddMenu(PopupMenu2.add("この行を加算")),
      SubMenu(PopupMenu2.add("この行を減算")),
      ClearMenu(PopupMenu2.add("この行計算除外")),
      MainHandle(&mainForm),
      ModalMode(modalMode) {
  layOut();
  bindEvents();
  bindKeys();
  Fire(std::function<void()>([this] { FormCreate(); }));
}

TCalcHistoryForm::~TCalcHistoryForm() {
  // A window deleted without the window system's word still says goodbye once.
  destroyed();
  if (CalcHistoryForm == this) CalcHistoryForm = nullptr;
  if (ModelessWindow == this) ModelessWindow = nullptr;
}

void TCalcHistoryForm::layOut() {
  setText("変換履歴");
  Font windowFont;
  windowFont.name = "ＭＳ ゴシック";
  windowFont.height = -13;
  setFont(windowFont);
  setBounds(kDesignBounds);

  const struct {
    SpeedButton& button;
    int left;
    const char* glyph;
    const char* hint;
    char key;
  } tools[] = {
      {ClipButton, 4, "GL_HCLIP", "ｸﾘｯﾌﾟﾎﾞｰﾄﾞへのｺﾋﾟｰ", kClipKey},
      {ClearButton, 32, "GL_HCLEAR", "履歴のｸﾘｱｰ", kClearKey},
      {HelpButton, 60, "GL_HHELP", "", kHelpKey},
      {SpeedButton4, 88, "GL_HCLOSE", "", kCloseKey},
  };
  // Without a hint of their own, readers hear these as named here.
  HelpButton.setAccessibleName("ヘルプ");
  SpeedButton4.setAccessibleName("閉じる");
  StringGrid1.setAccessibleName("変換履歴");
  for (const auto& tool : tools) {
    Place(tool.button, tool.left, 4, 25, 25);
    // Two 16 x 16 images side by side: up and disabled.
    tool.button.setGlyph(Picture::FromResource(tool.glyph, 32, 16, 2));
    tool.button.setHint(tool.hint);
    tool.button.setAccessKey(tool.key);
  }

  StringGrid1.setColCount(kColumns);
  // The user may select blocks of cells and size the columns; nothing edits.
  StringGrid1.setRangeSelect(true);
  StringGrid1.setColSizing(true);
  layOutGrid();
  // The keys start in the grid, and come back to it when nothing holds them.
  setFocusHome(&StringGrid1);
  StringGrid1.focus();
}

void TCalcHistoryForm::layOutGrid() {
  // The toolbar across the top, the grid in all the rest.
  Place(Panel1, 0, 0, clientWidth(), kToolbarHeight);
  Place(StringGrid1, 0, kToolbarHeight, clientWidth(),
        std::max(0, clientHeight() - kToolbarHeight));
}

void TCalcHistoryForm::bindEvents() {
  OnDestroy = [this] { FormDestroy(); };
  OnResize = [this] { FormResize(); };
  OnMessage = [this](unsigned message) {
    if (message != kPlaceMessage) return;
    PlaceAsDesigned(*this);
    // Only now does the grid know how many rows it shows.
    showNewestRow();
  };
  StringGrid1.OnDrawCell = [this](int col, int row, const Rect& rect, GridCellState state,
                                  Canvas& canvas) {
    StringGrid1DrawCell(col, row, rect, state, canvas);
  };
  StringGrid1.OnMouseDown = [this](MouseButton button, int x, int y) {
    StringGrid1MouseDown(button, x, y);
  };
  ClipButton.OnClick = [this] { ClipButtonClick(); };
  ClearButton.OnClick = [this] { ClearButtonClick(); };
  ClearButton.OnAccessKey = [this] { ClearAfterAsking(); };
  HelpButton.OnClick = [this] { HelpButtonClick(); };
  SpeedButton4.OnClick = [this] { SpeedButton4Click(); };
  ALLCLIPMENU.OnClick = [this] { ALLCLIPMENUClick(); };
  SIGNCLIPMENU.OnClick = [this] { SIGNCLIPMENUClick(); };
  TOTALCLIPMENU.OnClick = [this] { TOTALCLIPMENUClick(); };
  DeleteMenu.OnClick = [this] { DeleteMenuClick(); };
  AddMenu.OnClick = [this] { AddMenuClick(); };
  SubMenu.OnClick = [this] { SubMenuClick(); };
  ClearMenu.OnClick = [this] { ClearMenuClick(); };
}

void TCalcHistoryForm::bindKeys() {
  const struct {
    unsigned key;
    unsigned modifiers;
    void (TCalcHistoryForm::*command)();
  } rowKeys[] = {
      {key::kSpace, kNoModifiers, &TCalcHistoryForm::cycleClickedMark},
      // "+" is a shifted key on most layouts, and the same key unshifted is
      // meant as often; "-" is unshifted.
      {key::kPlus, kShift, &TCalcHistoryForm::AddMenuClick},
      {key::kPlus, kNoModifiers, &TCalcHistoryForm::AddMenuClick},
      {key::kNumpadAdd, kNoModifiers, &TCalcHistoryForm::AddMenuClick},
      {key::kMinus, kNoModifiers, &TCalcHistoryForm::SubMenuClick},
      {key::kNumpadSubtract, kNoModifiers, &TCalcHistoryForm::SubMenuClick},
      {key::kDelete, kNoModifiers, &TCalcHistoryForm::DeleteMenuClick},
      {key::kF10, kShift, &TCalcHistoryForm::openRowMenuAtCell},
      {key::kApps, kNoModifiers, &TCalcHistoryForm::openRowMenuAtCell},
  };
  for (const auto& k : rowKeys) {
    const auto command = k.command;
    addShortcut(
        k.key, k.modifiers,
        [this, command] {
          if (takeFocusedCell()) (this->*command)();
        },
        &StringGrid1);
  }
  // The copy modes are a choice, so the copy key offers them.
  addShortcut(key::Char('C'), kCtrl, [this] { ClipButton.click(); });
  // Esc is the window's own close button: a modeless window goes and the
  // history button comes up, so one Ctrl+H opens it again.
  addShortcut(key::kEscape, kNoModifiers, [this] { SpeedButton4.click(); });
}

bool TCalcHistoryForm::takeFocusedCell() {
  if (!isDataRow(StringGrid1.selectedRow())) return false;
  ClickCol = StringGrid1.selectedCol();
  ClickRow = StringGrid1.selectedRow();
  return true;
}

void TCalcHistoryForm::showNewestRow() {
  StringGrid1.select(StringGrid1.selectedCol(), std::max(1, history_.HistoryCount()));
  StringGrid1.scrolled(StringGrid1.maxTopRow(), StringGrid1.leftCol());
}

void TCalcHistoryForm::openRowMenu(Point screen) { PopupMenu2.popup(*this, screen); }

void TCalcHistoryForm::openRowMenuAtCell() {
  // Below the cell, so that its row stays in sight.
  const Rect cell = StringGrid1.cellRect(ClickCol, ClickRow);
  const Point grid = StringGrid1.clientOrigin();
  openRowMenu(clientToScreen({grid.x + cell.left, grid.y + cell.bottom()}));
}

void TCalcHistoryForm::cycleClickedMark() { cycleMark(ClickRow); }

bool TCalcHistoryForm::isDataRow(std::int32_t row) const {
  return row >= 1 && row <= history_.HistoryCount();
}

Point TCalcHistoryForm::clientToScreen(Point p) const {
  // The frame is the caption and borders together; the borders are alike on
  // the left, the right and the bottom, and the caption lies on top.
  const Rect& outer = bounds();
  const int side = (outer.width - clientWidth()) / 2;
  const int top = outer.height - clientHeight() - side;
  return {outer.left + side + p.x, outer.top + top + p.y};
}

void TCalcHistoryForm::RefreshGrid() {
  const int h = StringGrid1.font().characterHeight();
  StringGrid1.setFixedColour(kColourButtonFace);
  StringGrid1.setDefaultRowHeight(h + 5);
  // Widths the user dragged go back to these at every refresh.
  const int widths[kColumns] = {2 * h, 2 * h, 7 * h, 5 * h, 8 * h, 5 * h};
  for (int col = 0; col < kColumns; ++col) StringGrid1.setColWidth(col, widths[col]);

  // The grid keeps only the cells of its rows: its size comes first.
  const std::int32_t count = history_.HistoryCount();
  StringGrid1.setRowCount(count + 2);
  const char* headers[kColumns] = {"No", "+/-", "変換元数値", "単位", "結果数値", "単位"};
  for (int col = 0; col < kColumns; ++col) StringGrid1.setCell(col, 0, headers[col]);
  for (std::int32_t row = 1; row <= count; ++row) {
    const HistoryRecord& r = history_.record(row);
    StringGrid1.setCell(0, row, std::to_string(row));
    StringGrid1.setCell(1, row, SignText(r.Sign));
    StringGrid1.setCell(2, row, r.TargetText);
    StringGrid1.setCell(3, row, r.TargetTanni);
    StringGrid1.setCell(4, row, r.ResultText);
    StringGrid1.setCell(5, row, r.ResultTanni);
  }
  const std::int32_t total = count + 1;
  StringGrid1.setCell(0, total, "計");
  StringGrid1.setCell(1, total, "＝");
  for (int col = 2; col < kColumns; ++col) StringGrid1.setCell(col, total, "");
}

void TCalcHistoryForm::RecalcTotals() {
  // The totals always sum the marks shown: marks that the records left can
  // no longer sum (a deleted row balanced them) go, rather than totals that
  // still count a record that is gone.
  const std::vector<std::int32_t> cleared = history_.ComputeTotalsClearingOverflow();
  for (const std::int32_t row : cleared) StringGrid1.setCell(1, row, SignText(kSignNone));
  const std::int32_t total = history_.HistoryCount() + 1;
  StringGrid1.setCell(2, total, FormatFixed(history_.TargetTotal().value(), 5, 15));
  StringGrid1.setCell(4, total, FormatFixed(history_.ResultTotal().value(), 5, 15));
  if (!cleared.empty()) tellClearedMarks(cleared);
}

void TCalcHistoryForm::tellClearedMarks(const std::vector<std::int32_t>& rows) {
  std::string list;
  for (const std::int32_t row : rows) list += (list.empty() ? "" : ", ") + std::to_string(row);
  services_.messageBox("合計が扱える範囲を超えるので、" + list + " 行目を計算から除外しました",
                       "変換履歴", kMbOk);
}

void TCalcHistoryForm::FormCreate() {
  // The totals stay empty until something changes: opening shows the marks
  // but not their sums.
  RefreshGrid();
  showNewestRow();
}

void TCalcHistoryForm::FormDestroy() {
  if (!ModalMode && MainHandle) services_.postMessage(*MainHandle, WM_HISTORYCLOSE);
  // Only this window's own reference: a window released late must not
  // forget a newer one.
  if (CalcHistoryForm == this) CalcHistoryForm = nullptr;
}

void TCalcHistoryForm::FormResize() {
  // The grid's window is painted afresh whenever its size changes.
  layOutGrid();
}

void TCalcHistoryForm::StringGrid1DrawCell(int col, int row, const Rect& rect, GridCellState state,
                                           Canvas& canvas) {
  Font font = StringGrid1.font();
  const bool fixed = col == 0 || row == 0;
  Colour brush;
  if (fixed) {
    brush = StringGrid1.fixedColour();
  } else if (row == history_.HistoryCount() + 1) {
    font.colour = kBlackColour;
    brush = kTotalRowColour;
  } else {
    brush = col == 2 || col == 4 ? kLightYellow : kWhite;
  }
  // The design shows the selection by no colour; high contrast shows it.
  if (state.selected && ThePalette().highContrast()) brush = kColourHighlight;
  canvas.setFont(font);
  canvas.setBrush(brush);
  canvas.fillRect(rect);

  unsigned flags = kDtSingleLine | kDtVCenter;
  Rect textRect = rect;
  if (row == 0 || col == 0 || col == 1) {
    flags |= kDtCenter;
  } else {
    flags |= kDtRight;
    // A number too wide for its column shows that it is cut: right-aligned,
    // it would otherwise lose its leading digits and read as another number.
    if (col == 2 || col == 4) {
      textRect.width = std::max(0, textRect.width - kNumberInset);
      flags |= kDtEndEllipsis;
    }
  }
  canvas.drawText(StringGrid1.cell(col, row), textRect, flags);

  if (fixed) {
    canvas.setPen(kColourButtonHighlight);
    canvas.moveTo({rect.left, rect.bottom() - 1});
    canvas.lineTo({rect.left, rect.top});
    canvas.lineTo({rect.right(), rect.top});
  }
  if (state.focused) canvas.drawFocusRect(rect);
}

void TCalcHistoryForm::StringGrid1MouseDown(MouseButton button, int x, int y) {
  int col = -1;
  int row = -1;
  StringGrid1.mouseToCell(x, y, col, row);
  ClickCol = col;
  ClickRow = row;
  if (button == MouseButton::Right) {
    if (!isDataRow(ClickRow)) return;
    const Point grid = StringGrid1.clientOrigin();
    openRowMenu(clientToScreen({grid.x + x, grid.y + y}));
    return;
  }
  if (ClickCol != 1 || !isDataRow(ClickRow)) return;
  cycleMark(ClickRow);
}

void TCalcHistoryForm::setSign(std::int32_t row, std::uint8_t sign) {
  HistoryRecord& record = history_.record(row);
  const std::uint8_t before = record.Sign;
  record.Sign = sign;
  // A mark whose totals cannot be had goes back: the mark and the totals
  // shown never disagree.
  try {
    history_.ComputeTotals();
  } catch (...) {
    record.Sign = before;
    throw;
  }
  StringGrid1.setCell(1, row, SignText(sign));
}

void TCalcHistoryForm::cycleMark(std::int32_t row) {
  // A mark whose totals cannot be had is passed over for the next one, so
  // that clicks still reach every mark; the user hears of the overflow all
  // the same. When no other mark can be had, the mark stays.
  const std::uint8_t now = history_.record(row).Sign;
  std::exception_ptr refused;
  for (int step = 1; step < kMarkCount; ++step) {
    try {
      setSign(row, static_cast<std::uint8_t>((now + step) % kMarkCount));
      RecalcTotals();
      break;
    } catch (const FloatFault&) {
      if (!refused) refused = std::current_exception();
    }
  }
  if (refused) std::rethrow_exception(refused);
}

void TCalcHistoryForm::mark(std::int32_t row, std::uint8_t sign) {
  if (!isDataRow(row)) return;
  setSign(row, sign);
  RefreshGrid();
  RecalcTotals();
}

void TCalcHistoryForm::DeleteMenuClick() {
  if (!isDataRow(ClickRow)) return;
  const bool onCurrentRow = StringGrid1.selectedRow() == ClickRow;
  history_.RemoveHistory(ClickRow);
  RefreshGrid();
  RecalcTotals();
  // The last row gone, the current cell stays on a row that the keys act on.
  const std::int32_t count = history_.HistoryCount();
  if (onCurrentRow && ClickRow > count && count > 0) {
    StringGrid1.select(StringGrid1.selectedCol(), count);
  }
}

void TCalcHistoryForm::AddMenuClick() { mark(ClickRow, kSignAdd); }
void TCalcHistoryForm::SubMenuClick() { mark(ClickRow, kSignSubtract); }
void TCalcHistoryForm::ClearMenuClick() { mark(ClickRow, kSignNone); }

void TCalcHistoryForm::ClearButtonClick() {
  history_.ClearHistory();
  RefreshGrid();
}

void TCalcHistoryForm::ClearAfterAsking() {
  // One key must not lose every record: the keyboard asks, and No stands.
  if (history_.HistoryCount() == 0) return ClearButtonClick();
  const int answer = services_.messageBox("変換履歴をすべて消去しますか？", "履歴のｸﾘｱｰ",
                                          kMbYesNo | kMbDefButton2);
  if (answer == kIdYes) ClearButtonClick();
}

void TCalcHistoryForm::HelpButtonClick() {
  services_.help(*this, helpFile_, HelpCommand::Context, kHelpContext);
}

void TCalcHistoryForm::SpeedButton4Click() {
  if (ModalMode) {
    close();  // ends the modal run with Cancel
  } else if (MainHandle) {
    // A modeless window never destroys itself: the main window releases it.
    services_.postMessage(*MainHandle, WM_HISTORYCLOSE);
  }
}

void TCalcHistoryForm::ClipButtonClick() {
  // Below the button's left edge, measured from the window's outer corner.
  const Rect& outer = bounds();
  const Rect& panel = Panel1.bounds();
  const Rect& button = ClipButton.bounds();
  PopupMenu1.popup(*this,
                   {outer.left + panel.left + button.left, outer.top + panel.top + button.height});
}

void TCalcHistoryForm::ALLCLIPMENUClick() { CLIP_COPY(kExportAll); }
void TCalcHistoryForm::SIGNCLIPMENUClick() { CLIP_COPY(kExportMarked); }
void TCalcHistoryForm::TOTALCLIPMENUClick() { CLIP_COPY(kExportNone); }

void TCalcHistoryForm::CLIP_COPY(std::int32_t mode) {
  const std::string text = HistoryExportText(history_, mode);
  try {
    services_.setClipboardText(text);
  } catch (const std::exception&) {
    // A clipboard that cannot be had leaves its contents as they were; the
    // copy is not worth a message.
  }
}

// The main window's hooks --------------------------------------------------

void HistoryButtonClick(Services& services, HistoryStore& history, Form& mainForm,
                        SpeedButton& historyButton, const FilePath& helpFile) {
  if (CalcHistoryForm) {
    ReleaseModeless(services);
    CalcHistoryForm = nullptr;
    historyButton.setDown(false);
    return;
  }
  // A window the system took down with no release yet goes now.
  ReleaseModeless(services);
  auto* window = new TCalcHistoryForm(services, history, mainForm, false, helpFile);
  ModelessWindow = window;
  CalcHistoryForm = window;
  services.showModeless(*window);
  services.postMessage(*window, kPlaceMessage);
  historyButton.setDown(true);
}

void HistoryMenuClick(Services& services, HistoryStore& history, Form& mainForm,
                      const FilePath& helpFile) {
  if (history.HistoryCount() == 0) {
    services.messageBox("計算履歴はありません", "履歴表示", kMbOk);
    return;
  }
  if (ModelessWindow && CalcHistoryForm == ModelessWindow) {
    // One window at a time: the open one (perhaps hidden by its close box)
    // comes back instead.
    ModelessWindow->show();
    return;
  }
  auto window = std::make_unique<TCalcHistoryForm>(services, history, mainForm, true, helpFile);
  CalcHistoryForm = window.get();
  // The reference must not outlive the window, also when the run fails.
  struct Forget {
    TCalcHistoryForm* window;
    ~Forget() {
      if (CalcHistoryForm == window) CalcHistoryForm = nullptr;
    }
  } forget{window.get()};
  services.postMessage(*window, kPlaceMessage);
  services.runModal(*window);
  if (CalcHistoryForm == window.get()) CalcHistoryForm = nullptr;
  services.releaseLater(std::move(window));
}

void HistoryCloseMessage(Services& services, SpeedButton& historyButton) {
  // A modal window is not this message's business: it ends with its run.
  ReleaseModeless(services);
  historyButton.setDown(false);
}

void ReleaseHistoryWindow(Services& services) {
  // The main window is going: the released window must not post to it.
  if (ModelessWindow) ModelessWindow->forgetMainForm();
  ReleaseModeless(services);
}

void RefreshHistoryWindow() {
  if (!CalcHistoryForm) return;
  CalcHistoryForm->RefreshGrid();
  CalcHistoryForm->RecalcTotals();
}

}  // namespace hk
