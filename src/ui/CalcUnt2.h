#pragma once

#include <cstdint>
#include <vector>

#include "data/FilePath.h"
#include "history/HistoryStore.h"
#include "platform/Services.h"
#include "platform/Widgets.h"

namespace hk {

// Posted to the main window when a modeless history window wants to go (its
// close button) or has gone: the main window releases it and raises its
// history button.
constexpr unsigned WM_HISTORYCLOSE = 0x0400 + 101;

// The conversion history in a grid: marks for adding and subtracting rows,
// the signed totals in the last row, row deletion, clearing, and copying
// to the clipboard.
class TCalcHistoryForm : public Form {
 private:
  // First, so that the menus below can be made with them.
  Services& services_;
  HistoryStore& history_;
  FilePath helpFile_;

 public:
  // modalMode: opened from the main window's menu and run modally; otherwise
  // modeless from the history button. The main window is the owner, and the
  // one told with WM_HISTORYCLOSE.
  TCalcHistoryForm(Services& services, HistoryStore& history, Form& mainForm, bool modalMode,
                   FilePath helpFile);
  ~TCalcHistoryForm() override;

  static constexpr Rect kDesignBounds{371, 117, 403, 367};

  Panel Panel1{this};
  SpeedButton ClipButton{&Panel1};
  SpeedButton ClearButton{&Panel1};
  SpeedButton HelpButton{&Panel1};
  SpeedButton SpeedButton4{&Panel1};  // the window's own close button
  StringGrid StringGrid1{this};

  // The copy menu, opened by ClipButton.
  PopupMenu PopupMenu1{services_};
  MenuItem& ALLCLIPMENU;
  MenuItem& SIGNCLIPMENU;
  MenuItem& TOTALCLIPMENU;

  // The row menu, opened by a right click on a data row.
  PopupMenu PopupMenu2{services_};
  MenuItem& DeleteMenu;
  MenuItem& N1;
  MenuItem& AddMenu;
  MenuItem& SubMenu;
  MenuItem& ClearMenu;

  // Refills the grid from the store; the total cells are left empty.
  void RefreshGrid();
  // Recomputes the store's totals and shows them in the total row; marks
  // that would carry them beyond their range are cleared, and the user told.
  void RecalcTotals();

  // Event handlers.
  void FormCreate();
  void FormDestroy();
  void FormResize();
  void StringGrid1DrawCell(int col, int row, const Rect& rect, GridCellState state, Canvas& canvas);
  void StringGrid1MouseDown(MouseButton button, int x, int y);
  void ClearButtonClick();
  // The clear button's key: the same after a question whose default is No.
  void ClearAfterAsking();
  void HelpButtonClick();
  void SpeedButton4Click();
  void DeleteMenuClick();
  void AddMenuClick();
  void SubMenuClick();
  void ClearMenuClick();
  void ClipButtonClick();
  void ALLCLIPMENUClick();
  void SIGNCLIPMENUClick();
  void TOTALCLIPMENUClick();
  // Puts the history on the clipboard: 0 every record, 1 the marked ones,
  // 2 none; the total line always.
  void CLIP_COPY(std::int32_t mode);

  std::int32_t clickCol() const { return ClickCol; }
  std::int32_t clickRow() const { return ClickRow; }
  bool modalMode() const { return ModalMode; }
  Form* mainForm() const { return MainHandle; }

  // The main window is going: nothing may be posted to it any more.
  void forgetMainForm() { MainHandle = nullptr; }

 private:
  void layOut();
  void bindEvents();
  void bindKeys();
  void layOutGrid();
  // The grid's current cell and the view on the newest rows, as the window opens.
  void showNewestRow();
  // The keys act on the grid's current cell as the mouse acts on the cell
  // under it: it becomes the clicked one. False when it is no data row.
  bool takeFocusedCell();
  // Marks a row when the totals can be computed with the mark; otherwise
  // the mark stays as it was and the fault goes on.
  void setSign(std::int32_t row, std::uint8_t sign);
  // The next mark of the cycle that the totals can take.
  void cycleMark(std::int32_t row);
  // Says which rows lost their marks so that the totals could be had.
  void tellClearedMarks(const std::vector<std::int32_t>& rows);
  void cycleClickedMark();
  void openRowMenu(Point screen);
  void openRowMenuAtCell();
  // Sets the mark of a data row and shows the result; nothing outside the rows.
  void mark(std::int32_t row, std::uint8_t sign);
  bool isDataRow(std::int32_t row) const;
  // A point of this window's client area on the screen.
  Point clientToScreen(Point p) const;

  std::int32_t ClickCol = 0;
  std::int32_t ClickRow = 0;
  Form* MainHandle;
  bool ModalMode;
};

// The history window while one exists (shown or hidden, modeless or modal);
// nothing otherwise.
extern TCalcHistoryForm* CalcHistoryForm;

// The main window's hooks. mainForm stands for the main window: the owner of
// the history window and the receiver of WM_HISTORYCLOSE.

// The history button: opens the window modeless and puts the button down, or,
// when a window exists (also a hidden one), releases it and raises the button.
void HistoryButtonClick(Services& services, HistoryStore& history, Form& mainForm,
                        SpeedButton& historyButton, const FilePath& helpFile);
// The menu entry: the window run modally, or a message on an empty history.
// An open modeless window is shown and brought forward instead of a second one.
void HistoryMenuClick(Services& services, HistoryStore& history, Form& mainForm,
                      const FilePath& helpFile);
// WM_HISTORYCLOSE: releases the window if there is one, and raises the button
// in every case.
void HistoryCloseMessage(Services& services, SpeedButton& historyButton);
// The main window's destruction: releases a window that still exists.
void ReleaseHistoryWindow(Services& services);
// After a conversion was appended: a window that exists, shown or hidden,
// shows the new record and the recomputed totals.
void RefreshHistoryWindow();

}  // namespace hk
