#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Geometry.h"
#include "platform/Graphics.h"
#include "platform/Keys.h"

namespace hk {

// What changed in a component, for its peer.
enum class Change {
  Bounds,
  Visible,
  Enabled,
  Text,       // caption or text
  Font,       // font or font colour
  Colour,     // background colour
  Down,       // a speed button's state, a menu check
  Glyph,      // a picture
  Items,      // list and combo items, menu items
  Selection,  // item index, grid selection
  Range,      // up-down limits
  Position,   // up-down position
  Cells,      // grid cells, widths, row and column counts
  Focus,      // the component asks for the keyboard focus
  Repaint,    // paint again
  Value,      // what a screen reader hears as the value (AccessibleValue)
  ReadOnly,   // an edit's read-only state
  Minimize,   // a form asks to be minimized
  Drag,       // a form asks the system to move it with the mouse (the button is down)
  Topmost,    // a form stays above other programs' windows, or no longer
};

class Control;
class Form;

// The real window of a component. The component tells it every change; the
// peer holds no state of its own and reports the user's actions by calling
// the component's action methods (click(), typeText(), ...).
class Peer {
 public:
  virtual ~Peer() = default;
  virtual void changed(Change what) = 0;
};

enum class MouseButton { Left, Right, Middle };

enum class ControlKind {
  Form,
  Panel,
  Label,
  Edit,
  UpDown,
  SpeedButton,
  Button,
  BitBtn,
  ComboBox,
  ListBox,
  StringGrid,
  Image
};

// A component: a plain object that owns its state. Positions are in the
// client area of the parent. Setters that change something tell the peer.
class Control {
 public:
  // The parent does not own its children: forms hold their components as
  // members, declared after the parent they sit on.
  explicit Control(Control* parent);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  virtual ControlKind kind() const = 0;

  Control* parent() const { return parent_; }
  const std::vector<Control*>& children() const { return children_; }
  Form* form();  // the form this component is on (itself for a form)

  const Rect& bounds() const { return bounds_; }
  void setBounds(const Rect& bounds);
  void setLeft(int left);
  void setTop(int top);
  void setWidth(int width);
  void setHeight(int height);

  bool visible() const { return visible_; }
  void setVisible(bool visible);
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  // Visible and enabled, and so are the parents up to the form (the form
  // itself is not asked: the tests drive forms that were never shown).
  bool usable() const;
  // A kind the user can give the keyboard focus: edits, lists, the grid,
  // push buttons and speed buttons made Tab stops.
  bool takesFocus() const;
  // A Button or a BitBtn: a system push button that Enter presses.
  bool isPushButton() const {
    return kind() == ControlKind::Button || kind() == ControlKind::BitBtn;
  }
  // Takes the keyboard focus, when it takes it at all and is usable.
  virtual void focus();
  // The same without the events of a user's entry (an edit's OnEnter): the
  // form hands the focus back after the focused control went away.
  void takeFocusBack();

  // Caption or text, Shift-JIS.
  const std::string& text() const { return text_; }
  virtual void setText(std::string_view text);

  // The font, the parent's while parentFont() holds; setting one ends that.
  const Font& font() const;
  void setFont(const Font& font);
  bool parentFont() const { return parentFont_; }
  void setParentFont(bool follow);

  Colour colour() const { return colour_; }
  void setColour(Colour colour);

  const std::string& hint() const { return hint_; }
  void setHint(std::string hint) { hint_ = std::move(hint); }
  // What shows while the pointer rests on the control: its hint.
  virtual std::string toolTip() const { return hint_; }

  // What a screen reader hears. The name: AccessibleName's when set, else the
  // caption without "&" and its padding blanks, else the hint (a button that
  // shows only a picture). The value: AccessibleValue's, which a component
  // sets when its children's texts make one value (their text changes are
  // then its value's). The shortcut, as a reader says it: the one given, else
  // "Alt+" and a speed button's "&" letter. A hidden component only
  // decorates, or another speaks for it (the label of an edit).
  std::function<std::string()> AccessibleName;
  std::function<std::string()> AccessibleValue;
  std::string accessibleName() const;
  void setAccessibleName(std::string name);
  std::string accessibleShortcut() const;
  void setAccessibleShortcut(std::string keys) { shortcut_ = std::move(keys); }
  bool accessibleHidden() const { return accessibleHidden_; }
  void setAccessibleHidden(bool hidden) { accessibleHidden_ = hidden; }
  // The value is shown again, changed or not (the same result once more).
  void valueShown() { notify(Change::Value); }

  // The component under a point of this one's client area, deepest first.
  Control* childAt(Point p);
  // A point of this component's client area on the screen, given the form's
  // screen position (the form's peer knows its frame).
  Point clientOrigin() const;  // relative to the form's client area
  // The sunken edge between the bounds and the client area, on every side.
  virtual int clientEdge() const { return 0; }

  std::function<void(MouseButton, int x, int y)> OnMouseDown;
  // The user pressed a mouse button on this component.
  void mouseDown(MouseButton button, int x, int y);

  Peer* peer() const { return peer_.get(); }
  void setPeer(std::unique_ptr<Peer> peer);

 protected:
  // A form repaints the control that its focus leaves.
  friend class Form;
  void notify(Change what);
  // Tells the peers of this component and of its children that follow its font.
  void notifyFontChanged();
  // Take a value the peer reported, without telling the peer back; true when
  // it differs from the previous one.
  bool storeText(std::string_view text);
  bool storeBounds(const Rect& bounds);

 private:
  Control* parent_;
  std::vector<Control*> children_;
  Rect bounds_;
  bool visible_ = true;
  bool enabled_ = true;
  std::string text_;
  Font font_;
  bool parentFont_ = true;
  Colour colour_ = kColourButtonFace;
  std::string hint_;
  std::string shortcut_;
  bool accessibleHidden_ = false;
  std::unique_ptr<Peer> peer_;
};

// A caption as a reader says it: without the "&" of its access key (a
// doubled "&&" is one "&") and without blanks at either end.
std::string SpokenCaption(std::string_view caption);

class Button;
class SpeedButton;

enum class FormStyle {
  BorderlessPopup,  // no caption or frame, a one-pixel border
  Sizable,          // caption with the system buttons, sizing frame
  Dialog,           // caption with the close box only, fixed size
  SizableDialog,    // caption with the close box only, sizing frame
};

constexpr int kModalNone = 0;
constexpr int kModalOk = 1;
constexpr int kModalCancel = 2;

// A top-level window. bounds() is the outer rectangle on the screen.
class Form : public Control {
 public:
  explicit Form(FormStyle style, Form* owner = nullptr);
  ControlKind kind() const override { return ControlKind::Form; }

  FormStyle style() const { return style_; }
  Form* owner() const { return owner_; }

  // The client area's size: the outer size less the frame. Until the peer
  // measures the real frame (setFrameExtent), a borderless popup has its
  // one-pixel border and the other styles are taken as frameless: the tests
  // do not measure captions.
  int clientWidth() const;
  int clientHeight() const;
  void setClientSize(int width, int height);
  // The peer's measure of its frame: outer size less client size. The client
  // size stays and the outer size follows, unless the outer size is fixed.
  void setFrameExtent(int width, int height);
  // Fixes the outer size whatever frame the system draws: the client area is
  // what the frame leaves. It is also the smallest size the user can give
  // the form, so every component stays in view.
  void setOuterSize(int width, int height);
  bool outerSizeFixed() const { return minimumWidth_ > 0; }
  int minimumWidth() const { return minimumWidth_; }
  int minimumHeight() const { return minimumHeight_; }

  // Enter anywhere in the form presses this button (and nothing else sees it).
  Button* defaultButton() const { return defaultButton_; }
  void setDefaultButton(Button* button) { defaultButton_ = button; }

  int modalResult() const { return modalResult_; }
  void setModalResult(int result);  // non-zero ends a modal run
  bool modal() const { return modal_; }
  void setModal(bool modal) { modal_ = modal; }

  bool minimized() const { return minimized_; }

  // Above every window that is not topmost, other programs' too; the
  // windows it owns stay above it.
  bool topmost() const { return topmost_; }
  void setTopmost(bool topmost);

  // A dialog placed in the middle of the screen when its window is made.
  bool centredOnScreen() const { return centredOnScreen_; }
  void setCentredOnScreen(bool centred) { centredOnScreen_ = centred; }

  std::function<void(Canvas&)> OnPaint;
  std::function<void()> OnClose;    // before the form closes
  std::function<void()> OnDestroy;  // when the form is released
  std::function<void()> OnResize;
  // A message posted to the form (WM_USER and above).
  std::function<void(unsigned message)> OnMessage;

  // Actions.
  void show();
  void hide();
  void close();  // OnClose, then: modal -> result Cancel unless set; else hidden
  void minimize();
  void restored();   // the user restored the minimized window
  void beginDrag();  // the system's move loop follows the mouse
  void paint(Canvas& canvas);
  // A focused push button, otherwise the default button, if any.
  void pressEnter();
  // Alt+letter: a button whose "&" names it. Where several share the
  // letter, each press takes the next after the one that is down (or had the
  // last press), in reading order.
  bool pressAccelerator(char letter);
  void receiveMessage(unsigned message);
  void resized(const Rect& outer);  // the user sized or moved the window
  void destroyed();                 // fires OnDestroy once

  // The form's focus.
  Control* focused() const { return focused_; }
  // A new focus tells a list that had it that the focus left; null only
  // forgets it.
  void setFocused(Control* control);
  // Where the focus goes when the focused control is hidden or disabled
  // (itself, or a panel it sits on): this control, or while it cannot take
  // the focus, the first that can. No hidden control ever keeps the focus,
  // so no keystroke reaches one. The focus comes back quietly: an edit's
  // OnEnter is the user's entry, and this is none.
  Control* focusHome() const { return focusHome_; }
  void setFocusHome(Control* control) { focusHome_ = control; }
  void moveFocusHome();
  // Told by a control that was hidden or disabled.
  void controlWithdrawn(const Control& control);

  // The controls that Tab visits: those that take the focus, are usable and
  // lie in the client area, a panel's at the panel's place among its
  // siblings, and the controls of one parent in reading order (by rows,
  // then from the left).
  std::vector<Control*> tabOrder();
  // Tab and Shift+Tab: the next or previous stop, round at the ends.
  void focusNext(bool backwards);

  // The focus goes home quietly, and a list that had it closes as a
  // drop-down does (a press elsewhere in the form).
  void returnFocusHome();

  // The form's keys: one command per key and modifiers (KeyModifiers bits),
  // taken before the focused control sees the key; one bound to a control
  // acts only while that control has the focus.
  void addShortcut(unsigned key, unsigned modifiers, std::function<void()> command,
                   Control* whileFocused = nullptr);
  // A key of the whole program rather than of this window: the program's
  // other windows that stand beside this one hand it over.
  void addProgramShortcut(unsigned key, unsigned modifiers, std::function<void()> command);
  // True when a shortcut took the key.
  bool pressShortcut(unsigned key, unsigned modifiers);
  bool pressProgramShortcut(unsigned key, unsigned modifiers);

  // Every key the form binds: its shortcuts, and Alt with the letter of
  // each button that has one (shown or not), for the checks of the
  // program's one namespace of keys.
  struct KeyBinding {
    unsigned key;
    unsigned modifiers;
    const Control* whileFocused;  // the control, or null for the whole form
    const Control* button;        // an Alt+letter's button, else null
    bool program;                 // a program shortcut
  };
  std::vector<KeyBinding> keyBindings();

 private:
  FormStyle style_;
  Form* owner_;
  Button* defaultButton_ = nullptr;
  int modalResult_ = kModalNone;
  bool modal_ = false;
  bool minimized_ = false;
  bool topmost_ = false;
  bool centredOnScreen_ = false;
  bool destroyed_ = false;
  Control* lastAccelerated_ = nullptr;
  Control* focused_ = nullptr;
  Control* focusHome_ = nullptr;
  struct Shortcut {
    unsigned key;
    unsigned modifiers;
    Control* whileFocused;
    std::function<void()> command;
    bool program;
  };
  bool press(unsigned key, unsigned modifiers, bool programOnly);
  // Space, Enter and the arrows on a focused button of a Tab-stop group.
  bool pressGroupKey(unsigned key);
  std::vector<Shortcut> shortcuts_;
  int frameWidth_;
  int frameHeight_;
  int minimumWidth_ = 0;
  int minimumHeight_ = 0;
};

enum class Bevel { None, Lowered, Raised };
enum class Alignment { Left, Right, Center };

class Panel : public Control {
 public:
  explicit Panel(Control* parent);
  ControlKind kind() const override { return ControlKind::Panel; }
  Bevel bevelInner() const { return bevelInner_; }
  Bevel bevelOuter() const { return bevelOuter_; }
  void setBevels(Bevel inner, Bevel outer);
  Alignment alignment() const { return alignment_; }
  void setAlignment(Alignment alignment);

 private:
  Bevel bevelInner_ = Bevel::None;
  Bevel bevelOuter_ = Bevel::Raised;
  Alignment alignment_ = Alignment::Center;
};

class Label : public Control {
 public:
  explicit Label(Control* parent);
  ControlKind kind() const override { return ControlKind::Label; }
  Alignment alignment() const { return alignment_; }
  void setAlignment(Alignment alignment);
  // An auto-sized label fits its width to its text; a right-aligned one keeps
  // its right edge. The peer measures and reports the width (setWidth).
  bool autoSize() const { return autoSize_; }
  void setAutoSize(bool autoSize);
  bool transparent() const { return transparent_; }
  void setTransparent(bool transparent);

  // A right-aligned label that shows a number shows all of it or shows that
  // it is cut. Too wide for its place (its bounds when this is set), it
  // grows into the room (in its parent's client area, around its place):
  // to the left, then to the right, pushing the label that follows it (its
  // unit's name, which keeps its own width) along. Then it is drawn
  // smaller, and only then cut with an ellipsis. An empty room (the
  // default) leaves it a plain label.
  void setNumberRoom(const Rect& room, Label* next = nullptr);
  const Rect& numberRoom() const { return numberRoom_; }
  const Rect& numberPlace() const { return numberPlace_; }
  Label* numberNext() const { return numberNext_; }
  int numberNextLeft() const { return numberNextLeft_; }
  // The number label that this one follows, which fits itself again when
  // this one's width changes.
  Label* numberBefore() const { return numberBefore_; }
  // The peer measures the text again.
  void measureAgain() { notify(Change::Text); }
  // The peer's report that the number is cut; its tooltip then shows all of
  // it (screen readers have the whole text anyway).
  bool cut() const { return cut_; }
  void setCut(bool cut) { cut_ = cut; }
  std::string toolTip() const override { return cut_ ? text() : hint(); }

 private:
  Alignment alignment_ = Alignment::Left;
  bool autoSize_ = true;
  bool transparent_ = false;
  Rect numberRoom_{};
  Rect numberPlace_{};
  Label* numberNext_ = nullptr;
  int numberNextLeft_ = 0;
  Label* numberBefore_ = nullptr;
  bool cut_ = false;
};

class Edit : public Control {
 public:
  explicit Edit(Control* parent);
  ControlKind kind() const override { return ControlKind::Edit; }

  // Limit in Shift-JIS bytes; 0 for none. Typing never cuts a character.
  int maxBytes() const { return maxBytes_; }
  void setMaxBytes(int bytes);

  // A box that holds a number shows it from its first character to its
  // last: too wide for the box, it is drawn smaller, and where that is not
  // enough it shows an ellipsis while the user is not editing it. The peer
  // reports the cut; the tooltip then shows the whole number.
  bool holdsNumber() const { return holdsNumber_; }
  void setHoldsNumber(bool holds) { holdsNumber_ = holds; }
  bool cut() const { return cut_; }
  void setCut(bool cut) { cut_ = cut; }
  std::string toolTip() const override { return cut_ ? text() : hint(); }

  // A box for numbers: the input method is off there, as typed with it on
  // the digits come full-width, which no number syntax takes. Boxes for
  // names leave it to the user. Set before the box's window is made. A box
  // that holds a number is one.
  bool numeric() const { return numeric_ || holdsNumber_; }
  void setNumeric(bool numeric) { numeric_ = numeric; }

  // A read-only box shows its text, takes the focus and lets it be copied,
  // but typing changes nothing.
  bool readOnly() const { return readOnly_; }
  void setReadOnly(bool readOnly);

  // Setting the text fires OnChange when it differs.
  void setText(std::string_view text) override;

  std::function<void()> OnChange;
  std::function<void()> OnEnter;  // the edit received the focus
  std::function<void(char& key)> OnKeyPress;

  // Actions.
  void typeText(std::string_view text);     // appended, within the byte limit
  void userChanged(std::string_view text);  // the whole text as the user left it
  // OnKeyPress, Enter (13) going to a usable default button first. Returns
  // the key as the handlers left it: 0 when one swallowed it, or it failed.
  char pressKey(char key);
  void focus() override;  // takes the focus and fires OnEnter

 private:
  int maxBytes_ = 0;
  bool holdsNumber_ = false;
  bool cut_ = false;
  bool numeric_ = false;
  bool readOnly_ = false;
};

// A spinner attached to an edit. Limits and position are 16-bit signed.
class UpDown : public Control {
 public:
  UpDown(Control* parent, Edit* associate);
  ControlKind kind() const override { return ControlKind::UpDown; }
  Edit* associate() const { return associate_; }

  // Signed 32-bit limits and position, as the system's spinner holds them.
  std::int32_t minimum() const { return minimum_; }
  std::int32_t maximum() const { return maximum_; }
  std::int32_t position() const { return position_; }
  void setMinimum(std::int32_t value);
  void setMaximum(std::int32_t value);
  // Sets the position without writing it into the edit.
  void setPosition(std::int32_t value);
  bool wrap() const { return wrap_; }
  void setWrap(bool wrap) { wrap_ = wrap; }

  // How a step reads the number typed in the edit; nothing for a text that
  // holds none. Unset, blanks, an optional sign and decimal digits, as the
  // system's spinner reads its edit. A form whose edits take other numbers
  // gives its own reading, so that a step starts from the number that counts.
  std::function<std::optional<std::int64_t>(const std::string& text)> ReadTyped;

  // Actions: one step from the number typed in the edit (the position when
  // the edit holds none), wrapping or stopping at the limits; the new
  // position is written into the edit as plain digits (no thousands
  // separators). Outside the range a step only ever moves toward it: up
  // never lowers a typed number and down never raises one, but for the wrap.
  void stepUp();
  void stepDown();

 private:
  void step(int delta);
  Edit* associate_;
  std::int32_t minimum_ = 0;
  std::int32_t maximum_ = 100;
  std::int32_t position_ = 0;
  bool wrap_ = false;
};

class SpeedButton : public Control {
 public:
  explicit SpeedButton(Control* parent);
  ControlKind kind() const override { return ControlKind::SpeedButton; }

  // Buttons with the same parent and the same non-zero group index form a
  // group in which at most one is down; allowAllUp lets a click raise the
  // down button.
  int groupIndex() const { return groupIndex_; }
  void setGroupIndex(int index) { groupIndex_ = index; }
  bool allowAllUp() const { return allowAllUp_; }
  void setAllowAllUp(bool allow) { allowAllUp_ = allow; }
  bool down() const { return down_; }
  void setDown(bool down);  // raises the rest of the group

  // Up to four images side by side (up, disabled, down, held), above the caption.
  const Picture& glyph() const { return glyph_; }
  void setGlyph(const Picture& glyph);

  // The letter after "&" in the caption, upper-cased; 0 for none. A button
  // that shows only a picture has no caption to carry one: it may be given
  // its letter here instead, and its tooltip names it.
  char accelerator() const;
  void setAccessKey(char letter);
  // The hint followed by the access key given apart from the caption.
  std::string toolTip() const override;

  std::function<void()> OnClick;
  // Action: the group's rule, then OnClick.
  void click();
  // What the access key does, when it is not the click: a command that the
  // keyboard confirms first where the mouse needs no question.
  std::function<void()> OnAccessKey;
  void pressAccessKey();

  // A button the keyboard reaches whatever its caption: the group's buttons
  // that are one make one Tab stop (the focused one, else the one down, else
  // the first), the arrows move among them and Space or Enter presses the
  // focused one, as in the system's groups of option buttons. A click never
  // gives one the focus.
  bool tabStop() const { return tabStop_; }
  void setTabStop(bool stop) { tabStop_ = stop; }

 private:
  bool tabStop_ = false;
  int groupIndex_ = 0;
  bool allowAllUp_ = false;
  bool down_ = false;
  char accessKey_ = 0;
  Picture glyph_;
};

class Button : public Control {
 public:
  explicit Button(Control* parent);
  ControlKind kind() const override { return ControlKind::Button; }
  // The letter after "&" in the caption, upper-cased; 0 for none.
  char accelerator() const;
  // A non-zero result closes the form with it after OnClick.
  int modalResult() const { return modalResult_; }
  void setModalResult(int result) { modalResult_ = result; }
  std::function<void()> OnClick;
  void click();

 private:
  int modalResult_ = kModalNone;
};

class BitBtn : public Button {
 public:
  explicit BitBtn(Control* parent);
  ControlKind kind() const override { return ControlKind::BitBtn; }
  const Picture& glyph() const { return glyph_; }
  void setGlyph(const Picture& glyph);

 private:
  Picture glyph_;
};

class ComboBox : public Control {
 public:
  explicit ComboBox(Control* parent);  // a drop-down list: no typing
  ControlKind kind() const override { return ControlKind::ComboBox; }
  const std::vector<std::string>& items() const { return items_; }
  void setItems(std::vector<std::string> items);  // selection cleared
  void addItem(std::string item);
  int itemIndex() const { return itemIndex_; }
  void setItemIndex(int index);  // -1 or out of range: nothing selected
  std::function<void()> OnChange;
  void selectItem(int index);  // the user's choice: setItemIndex, then OnChange

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

class ListBox : public Control {
 public:
  explicit ListBox(Control* parent);
  ControlKind kind() const override { return ControlKind::ListBox; }
  const std::vector<std::string>& items() const { return items_; }
  void clear();
  void addItem(std::string item);
  int itemIndex() const { return itemIndex_; }
  void setItemIndex(int index);
  std::function<void()> OnClick;
  void selectItem(int index);  // the user's click on a row: setItemIndex, then OnClick
  // The focus left the list (for another control of the form, or with
  // leave() for another window).
  std::function<void()> OnExit;
  // The keyboard went to another window: the form's focus, when the list
  // held it, is its home again, for the form's return.
  void leave();

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

struct GridCellState {
  bool selected = false;
  bool focused = false;
  bool fixed = false;
};

// A block of cells, its corners included.
struct GridRect {
  int left = 1;
  int top = 1;
  int right = 1;
  int bottom = 1;
  bool contains(int col, int row) const {
    return col >= left && col <= right && row >= top && row <= bottom;
  }
};

inline bool operator==(const GridRect& a, const GridRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The keys that move a grid's current cell.
enum class GridKey { Left, Right, Up, Down, PageUp, PageDown, Home, End };

// A grid of text cells with one fixed row and column. The current cell and
// the selection around it are the user's; the program paints the cells.
class StringGrid : public Control {
 public:
  explicit StringGrid(Control* parent);
  ControlKind kind() const override { return ControlKind::StringGrid; }
  int clientEdge() const override { return 2; }

  int colCount() const { return static_cast<int>(colWidths_.size()); }
  void setColCount(int count);
  int rowCount() const { return rowCount_; }
  void setRowCount(int count);
  int fixedCols() const { return 1; }
  int fixedRows() const { return 1; }
  int colWidth(int col) const;
  void setColWidth(int col, int width);
  int defaultRowHeight() const { return defaultRowHeight_; }
  void setDefaultRowHeight(int height);
  Colour fixedColour() const { return fixedColour_; }
  void setFixedColour(Colour colour);

  // What the mouse and keys may do beyond moving the current cell: stretch
  // a selection over several cells, and size columns at the header's lines.
  bool rangeSelect() const { return rangeSelect_; }
  void setRangeSelect(bool allowed);
  bool colSizing() const { return colSizing_; }
  void setColSizing(bool allowed) { colSizing_ = allowed; }

  const std::string& cell(int col, int row) const;
  void setCell(int col, int row, std::string text);

  // The client area inside the edge and the scroll bars, as the peer
  // measures it; until then the bounds less the edge.
  int clientWidth() const;
  int clientHeight() const;
  void clientSized(int width, int height);

  // The first scrollable row and column shown (the peer reports scrolling).
  int topRow() const { return topRow_; }
  int leftCol() const { return leftCol_; }
  void scrolled(int topRow, int leftCol);
  // The scrolling rows that fit wholly below the fixed one (at least one),
  // and the farthest the view scrolls: to where the last row and the last
  // column are still shown.
  int rowsShown() const;
  int maxTopRow() const;
  int maxLeftCol() const;

  // The current cell, and the selection: the block between the cell where
  // it was started (the anchor) and the current one.
  int selectedCol() const { return col_; }
  int selectedRow() const { return row_; }
  GridRect selection() const;
  // Makes a cell current and the selection that one cell.
  void select(int col, int row);

  // The cell under a client point, with the grid lines of one pixel; -1 for
  // the parts beyond the last cell.
  void mouseToCell(int x, int y, int& col, int& row) const;
  Rect cellRect(int col, int row) const;
  // The column whose sizing line in the header row lies under a client
  // point; -1 for none (or without column sizing).
  int sizingLineAt(int x, int y) const;

  // Actions. A left press sizes a column on a header line, or moves the
  // current cell, Shift keeping the anchor; a right press selects nothing.
  // Every press then fires OnMouseDown.
  void mousePress(MouseButton button, int x, int y, bool shift);
  // The mouse moved with the left button held: the column follows, or the
  // selection stretches to the cell under the pointer.
  void mouseMove(int x, int y);
  void mouseRelease();
  bool sizingColumn() const { return sizingCol_ >= 0; }
  // A key moves the current cell and keeps it in view; Shift stretches the
  // selection, Control takes Home and End to the grid's corners.
  void pressKey(GridKey key, bool shift, bool control);

  std::function<void(int col, int row, const Rect& rect, GridCellState state, Canvas& canvas)>
      OnDrawCell;
  void drawCell(int col, int row, Canvas& canvas);

 private:
  void moveTo(int col, int row, bool extend);
  void scrollIntoView(int col, int row);

  std::vector<int> colWidths_;
  int rowCount_ = 2;
  int defaultRowHeight_ = 24;
  Colour fixedColour_ = kColourButtonFace;
  bool rangeSelect_ = false;
  bool colSizing_ = false;
  std::vector<std::vector<std::string>> cells_;  // [row][col]
  int clientWidth_ = -1;                         // not measured yet
  int clientHeight_ = -1;
  int topRow_ = 1;
  int leftCol_ = 1;
  int col_ = 1;
  int row_ = 1;
  int anchorCol_ = 1;
  int anchorRow_ = 1;
  // A drag in progress: the column being sized and how far the pointer was
  // from its right edge, or the selection being stretched.
  int sizingCol_ = -1;
  int sizingOffset_ = 0;
  bool selecting_ = false;
};

class Image : public Control {
 public:
  explicit Image(Control* parent);
  ControlKind kind() const override { return ControlKind::Image; }
  const Picture& picture() const { return picture_; }
  void setPicture(const Picture& picture);
  bool stretch() const { return stretch_; }
  void setStretch(bool stretch);
  // A sign or a key's name rather than a picture of something: in high
  // contrast it is drawn as its shape in the text colour. Set before showing.
  bool sign() const { return sign_; }
  void setSign(bool sign) { sign_ = sign; }

 private:
  Picture picture_;
  bool stretch_ = false;
  bool sign_ = false;
};

class MenuItem {
 public:
  MenuItem(std::string caption, std::function<void()> onClick = {});
  const std::string& caption() const { return caption_; }
  bool separator() const { return caption_ == "-"; }
  bool checked() const { return checked_; }
  void setChecked(bool checked) { checked_ = checked; }
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled) { enabled_ = enabled; }
  std::function<void()> OnClick;
  void click();

 private:
  std::string caption_;
  bool checked_ = false;
  bool enabled_ = true;
};

class Services;

// A popup menu: a list of items tracked at a screen point by the services.
class PopupMenu {
 public:
  explicit PopupMenu(Services& services);
  MenuItem& add(std::string caption, std::function<void()> onClick = {});
  const std::vector<std::unique_ptr<MenuItem>>& items() const { return items_; }
  // Tracks the menu with its top-left corner at the screen point and fires
  // the chosen item's OnClick.
  void popup(Form& owner, Point screen);

 private:
  Services& services_;
  std::vector<std::unique_ptr<MenuItem>> items_;
};

}  // namespace hk
