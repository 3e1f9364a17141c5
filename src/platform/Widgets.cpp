// The component base and the form.
#include "platform/Widgets.h"

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "platform/Dispatcher.h"

namespace hk {

Control::Control(Control* parent) : parent_(parent) {
  if (parent_) parent_->children_.push_back(this);
}

Control::~Control() {
  // A form keeps plain pointers to its focused control and default button;
  // neither may outlive the component.
  if (Form* owner = form(); owner && owner != this) {
    if (owner->focused() == this) owner->setFocused(nullptr);
    if (owner->defaultButton() && static_cast<Control*>(owner->defaultButton()) == this) {
      owner->setDefaultButton(nullptr);
    }
  }
  for (Control* child : children_) child->parent_ = nullptr;
  if (parent_) {
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
}

Form* Control::form() {
  Control* root = this;
  while (root->parent_) root = root->parent_;
  // dynamic_cast rather than kind(): this also runs from ~Control, when a
  // component is no longer what it was.
  return dynamic_cast<Form*>(root);
}

void Control::setBounds(const Rect& bounds) {
  if (bounds == bounds_) return;
  bounds_ = bounds;
  notify(Change::Bounds);
}

void Control::setLeft(int left) { setBounds({left, bounds_.top, bounds_.width, bounds_.height}); }
void Control::setTop(int top) { setBounds({bounds_.left, top, bounds_.width, bounds_.height}); }
void Control::setHeight(int height) {
  setBounds({bounds_.left, bounds_.top, bounds_.width, height});
}

void Control::setWidth(int width) {
  int left = bounds_.left;
  // The peer reports an auto-sized label's measured width this way; a
  // right-aligned one grows to the left.
  if (kind() == ControlKind::Label) {
    const auto* label = static_cast<const Label*>(this);
    if (label->autoSize() && label->alignment() == Alignment::Right) {
      left = bounds_.right() - width;
    }
  }
  setBounds({left, bounds_.top, width, bounds_.height});
}

void Control::setVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  notify(Change::Visible);
  if (Form* owner = form(); !visible && owner && owner != this) owner->controlWithdrawn(*this);
}

void Control::setEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  notify(Change::Enabled);
  if (Form* owner = form(); !enabled && owner && owner != this) owner->controlWithdrawn(*this);
}

bool Control::takesFocus() const {
  switch (kind()) {
    case ControlKind::Edit:
    case ControlKind::Button:
    case ControlKind::BitBtn:
    case ControlKind::ComboBox:
    case ControlKind::ListBox:
    case ControlKind::StringGrid:
      return true;
    case ControlKind::SpeedButton:
      return static_cast<const SpeedButton*>(this)->tabStop();
    default:
      return false;
  }
}

void Control::focus() { takeFocusBack(); }

void Control::takeFocusBack() {
  Form* owner = form();
  if (!owner || owner == this || !takesFocus() || !usable() || owner->focused() == this) return;
  owner->setFocused(this);
  notify(Change::Focus);
}

bool Control::usable() const {
  for (const Control* c = this; c && c->parent_; c = c->parent_) {
    if (!c->visible_ || !c->enabled_) return false;
  }
  return true;
}

void Control::setText(std::string_view text) {
  if (storeText(text)) notify(Change::Text);
}

bool Control::storeText(std::string_view text) {
  if (text == text_) return false;
  text_.assign(text);
  return true;
}

bool Control::storeBounds(const Rect& bounds) {
  if (bounds == bounds_) return false;
  bounds_ = bounds;
  return true;
}

const Font& Control::font() const {
  if (parentFont_ && parent_) return parent_->font();
  return font_;
}

void Control::setFont(const Font& font) {
  const bool differs = font != this->font();
  font_ = font;
  parentFont_ = false;
  if (differs) notifyFontChanged();
}

void Control::setParentFont(bool follow) {
  if (follow == parentFont_) return;
  if (!follow) {
    // Keeps what it shows: the parent's font becomes its own.
    font_ = font();
    parentFont_ = false;
    return;
  }
  const bool differs = parent_ && parent_->font() != font_;
  parentFont_ = true;
  if (differs) notifyFontChanged();
}

void Control::notifyFontChanged() {
  notify(Change::Font);
  for (Control* child : children_) {
    if (child->parentFont_) child->notifyFontChanged();
  }
}

void Control::setColour(Colour colour) {
  if (colour == colour_) return;
  colour_ = colour;
  notify(Change::Colour);
}

Control* Control::childAt(Point p) {
  // The last child lies on top.
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    Control* child = *it;
    if (!child->visible_ || !child->bounds_.contains(p)) continue;
    Control* deeper = child->childAt({p.x - child->bounds_.left, p.y - child->bounds_.top});
    return deeper ? deeper : child;
  }
  return nullptr;
}

Point Control::clientOrigin() const {
  Point origin;
  // Each window up to the form adds its place and its edge.
  for (const Control* c = this; c->parent_; c = c->parent_) {
    origin.x += c->bounds_.left + c->clientEdge();
    origin.y += c->bounds_.top + c->clientEdge();
  }
  return origin;
}

void Control::mouseDown(MouseButton button, int x, int y) {
  // The system gives a disabled window no mouse input.
  if (!enabled_) return;
  Fire(OnMouseDown, button, x, y);
}

void Control::setPeer(std::unique_ptr<Peer> peer) { peer_ = std::move(peer); }

void Control::notify(Change what) {
  if (peer_) peer_->changed(what);
  if (what == Change::Text && parent_ && parent_->AccessibleValue) parent_->notify(Change::Value);
}

std::string SpokenCaption(std::string_view caption) {
  // Byte by byte: no second byte of a double-byte character is an "&" or a
  // blank.
  std::string spoken;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    spoken.push_back(caption[i]);
  }
  const std::size_t first = spoken.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return spoken.substr(first, spoken.find_last_not_of(' ') - first + 1);
}

std::string Control::accessibleName() const {
  if (AccessibleName) return AccessibleName();
  // An edit's text is its value; its label names it.
  if (kind() == ControlKind::Edit) return {};
  std::string name = SpokenCaption(text_);
  return name.empty() ? hint_ : name;
}

void Control::setAccessibleName(std::string name) {
  AccessibleName = [name = std::move(name)] { return name; };
}

std::string Control::accessibleShortcut() const {
  if (!shortcut_.empty() || kind() != ControlKind::SpeedButton) return shortcut_;
  const char letter = static_cast<const SpeedButton*>(this)->accelerator();
  return letter ? std::string("Alt+") + letter : std::string();
}

// Form ------------------------------------------------------------------

namespace {
int DefaultFrame(FormStyle style) { return style == FormStyle::BorderlessPopup ? 2 : 0; }

char AcceleratorOf(const Control& control) {
  if (control.kind() == ControlKind::SpeedButton) {
    return static_cast<const SpeedButton&>(control).accelerator();
  }
  if (control.isPushButton()) {
    return static_cast<const Button&>(control).accelerator();
  }
  return 0;
}

void FindAccelerated(Control& parent, char letter, std::vector<Control*>& found) {
  for (Control* child : parent.children()) {
    if (!child->visible() || !child->enabled()) continue;
    if (AcceleratorOf(*child) == letter) found.push_back(child);
    FindAccelerated(*child, letter, found);
  }
}

bool ReadingOrder(const Control* a, const Control* b) {
  const Point pa = a->clientOrigin();
  const Point pb = b->clientOrigin();
  return pa.y != pb.y ? pa.y < pb.y : pa.x < pb.x;
}

bool IsDown(const Control* control) {
  return control->kind() == ControlKind::SpeedButton &&
         static_cast<const SpeedButton*>(control)->down();
}

void Press(Control& control) {
  if (control.kind() == ControlKind::SpeedButton) {
    static_cast<SpeedButton&>(control).pressAccessKey();
  } else {
    static_cast<Button&>(control).click();
  }
}
}  // namespace

Form::Form(FormStyle style, Form* owner)
    : Control(nullptr),
      style_(style),
      owner_(owner),
      frameWidth_(DefaultFrame(style)),
      frameHeight_(DefaultFrame(style)) {
  // A form is its own font's origin and stays hidden until shown.
  setParentFont(false);
  setVisible(false);
}

int Form::clientWidth() const { return std::max(0, bounds().width - frameWidth_); }
int Form::clientHeight() const { return std::max(0, bounds().height - frameHeight_); }

void Form::setClientSize(int width, int height) {
  setBounds({bounds().left, bounds().top, width + frameWidth_, height + frameHeight_});
}

void Form::setFrameExtent(int width, int height) {
  const int client = clientWidth();
  const int clientH = clientHeight();
  frameWidth_ = width;
  frameHeight_ = height;
  if (!outerSizeFixed()) setClientSize(client, clientH);
}

void Form::setOuterSize(int width, int height) {
  minimumWidth_ = width;
  minimumHeight_ = height;
  setBounds({bounds().left, bounds().top, width, height});
}

void Form::setModalResult(int result) { modalResult_ = result; }

void Form::show() { setVisible(true); }
void Form::hide() { setVisible(false); }

void Form::close() {
  Fire(OnClose);
  if (modal_) {
    // The modal run sees the result, ends and hides the form.
    if (modalResult_ == kModalNone) setModalResult(kModalCancel);
  } else {
    hide();
  }
}

void Form::minimize() {
  if (minimized_) return;
  minimized_ = true;
  notify(Change::Minimize);
}

void Form::restored() { minimized_ = false; }

void Form::setTopmost(bool topmost) {
  if (topmost_ == topmost) return;
  topmost_ = topmost;
  notify(Change::Topmost);
}

void Form::beginDrag() { notify(Change::Drag); }

void Form::paint(Canvas& canvas) { Fire(OnPaint, canvas); }

void Form::pressEnter() {
  if (focused_ && focused_->isPushButton()) {
    if (focused_->usable()) static_cast<Button*>(focused_)->click();
    return;
  }
  if (defaultButton_ && defaultButton_->usable()) defaultButton_->click();
}

bool Form::pressAccelerator(char letter) {
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  if (letter == 0) return false;
  std::vector<Control*> found;
  FindAccelerated(*this, letter, found);
  if (found.empty()) return false;
  std::stable_sort(found.begin(), found.end(), ReadingOrder);
  // After the one that is down, or else the one pressed last; the first
  // when neither is among them.
  auto current = std::find_if(found.begin(), found.end(), IsDown);
  if (current == found.end()) current = std::find(found.begin(), found.end(), lastAccelerated_);
  Control* next =
      current == found.end() || current + 1 == found.end() ? found.front() : *(current + 1);
  lastAccelerated_ = next;
  Press(*next);
  return true;
}

void Form::receiveMessage(unsigned message) { Fire(OnMessage, message); }

void Form::resized(const Rect& outer) {
  const bool sized = outer.width != bounds().width || outer.height != bounds().height;
  storeBounds(outer);
  if (sized) Fire(OnResize);
}

void Form::destroyed() {
  if (destroyed_) return;
  destroyed_ = true;
  Fire(OnDestroy);
}

namespace {
void Left(Control* control) {
  if (control && control->kind() == ControlKind::ListBox) {
    Fire(static_cast<ListBox*>(control)->OnExit);
  }
}
}  // namespace

void Form::setFocused(Control* control) {
  Control* left = std::exchange(focused_, control);
  // Forgetting the focus (a control that goes) tells nobody.
  if (!control || left == control) return;
  // A painted control shows the focus itself.
  if (left && left->kind() == ControlKind::SpeedButton) left->notify(Change::Repaint);
  Left(left);
}

void Form::returnFocusHome() {
  Control* left = focused_;
  moveFocusHome();
  if (left != focused_) Left(left);
}

namespace {
Control* FirstFocusable(Control& parent) {
  for (Control* child : parent.children()) {
    if (child->takesFocus() && child->usable()) return child;
    if (Control* found = FirstFocusable(*child)) return found;
  }
  return nullptr;
}

bool Within(const Control* control, const Control& ancestor) {
  for (; control; control = control->parent()) {
    if (control == &ancestor) return true;
  }
  return false;
}
}  // namespace

namespace {
// The buttons of a Tab-stop group that the keyboard can reach now, in
// reading order.
std::vector<Control*> GroupOf(const SpeedButton& button) {
  std::vector<Control*> members;
  if (!button.parent()) return members;
  for (Control* sibling : button.parent()->children()) {
    if (sibling->kind() != ControlKind::SpeedButton || !sibling->usable()) continue;
    const auto* other = static_cast<const SpeedButton*>(sibling);
    if (other->tabStop() && other->groupIndex() == button.groupIndex()) members.push_back(sibling);
  }
  std::stable_sort(members.begin(), members.end(), ReadingOrder);
  return members;
}

// The one button of its group where Tab stops.
bool IsGroupStop(const Control& control, const Form& form) {
  if (control.kind() != ControlKind::SpeedButton) return true;
  const auto& button = static_cast<const SpeedButton&>(control);
  if (button.groupIndex() == 0) return true;
  const std::vector<Control*> members = GroupOf(button);
  const Control* focused = form.focused();
  if (focused && std::find(members.begin(), members.end(), focused) != members.end()) {
    return focused == &control;
  }
  const auto down = std::find_if(members.begin(), members.end(), IsDown);
  if (down != members.end()) return *down == &control;
  return !members.empty() && members.front() == &control;
}

bool IsTabStop(Control& control, const Form& form) {
  if (!control.takesFocus() || !control.usable() || !IsGroupStop(control, form)) return false;
  // A control placed beyond the client area (a hidden default button) is
  // never one the user could see take the focus.
  const Point at = control.clientOrigin();
  return at.x >= 0 && at.y >= 0 && at.x < form.clientWidth() && at.y < form.clientHeight();
}

void CollectTabStops(Control& parent, const Form& form, std::vector<Control*>& stops) {
  std::vector<Control*> own;
  for (Control* child : parent.children()) {
    if (child->takesFocus()) own.push_back(child);
  }
  std::stable_sort(own.begin(), own.end(), ReadingOrder);
  bool ownPlaced = false;
  for (Control* child : parent.children()) {
    if (child->takesFocus()) {
      if (ownPlaced) continue;
      for (Control* stop : own) {
        if (IsTabStop(*stop, form)) stops.push_back(stop);
      }
      ownPlaced = true;
    } else if (child->visible() && child->enabled()) {
      CollectTabStops(*child, form, stops);
    }
  }
}
}  // namespace

std::vector<Control*> Form::tabOrder() {
  std::vector<Control*> stops;
  CollectTabStops(*this, *this, stops);
  return stops;
}

void Form::focusNext(bool backwards) {
  const std::vector<Control*> stops = tabOrder();
  if (stops.empty()) return;
  const auto current = std::find(stops.begin(), stops.end(), focused_);
  std::size_t next = backwards ? stops.size() - 1 : 0;
  if (current != stops.end()) {
    const std::size_t index = static_cast<std::size_t>(current - stops.begin());
    next = (index + (backwards ? stops.size() - 1 : 1)) % stops.size();
  }
  stops[next]->focus();
}

void Form::addShortcut(unsigned key, unsigned modifiers, std::function<void()> command,
                       Control* whileFocused) {
  shortcuts_.push_back({key, modifiers, whileFocused, std::move(command), false});
}

void Form::addProgramShortcut(unsigned key, unsigned modifiers, std::function<void()> command) {
  shortcuts_.push_back({key, modifiers, nullptr, std::move(command), true});
}

bool Form::pressShortcut(unsigned key, unsigned modifiers) { return press(key, modifiers, false); }

bool Form::pressProgramShortcut(unsigned key, unsigned modifiers) {
  return press(key, modifiers, true);
}

namespace {
void CollectLetters(const Control& parent, std::vector<Form::KeyBinding>& keys) {
  for (const Control* child : parent.children()) {
    if (const char letter = AcceleratorOf(*child)) {
      keys.push_back({key::Char(letter), kAltHeld, nullptr, child, false});
    }
    CollectLetters(*child, keys);
  }
}
}  // namespace

std::vector<Form::KeyBinding> Form::keyBindings() {
  std::vector<KeyBinding> keys;
  for (const Shortcut& s : shortcuts_) {
    keys.push_back({s.key, s.modifiers, s.whileFocused, nullptr, s.program});
  }
  CollectLetters(*this, keys);
  return keys;
}

namespace {
// The arrows in a group: left and right along the reading order, up and
// down to the button in the same column of the row above or below, round
// at the ends.
Control* Neighbour(const std::vector<Control*>& members, const Control& from, unsigned key) {
  const auto at = std::find(members.begin(), members.end(), &from);
  if (at == members.end()) return nullptr;
  const std::size_t count = members.size();
  const std::size_t index = static_cast<std::size_t>(at - members.begin());
  if (key == key::kUp || key == key::kDown) {
    std::vector<Control*> column;
    for (Control* member : members) {
      if (member->clientOrigin().x == from.clientOrigin().x) column.push_back(member);
    }
    const std::size_t row =
        static_cast<std::size_t>(std::find(column.begin(), column.end(), &from) - column.begin());
    const std::size_t step = key == key::kDown ? 1 : column.size() - 1;
    return column[(row + step) % column.size()];
  }
  if (key == key::kRight) return members[(index + 1) % count];
  if (key == key::kLeft) return members[(index + count - 1) % count];
  return nullptr;
}
}  // namespace

bool Form::pressGroupKey(unsigned key) {
  if (!focused_ || focused_->kind() != ControlKind::SpeedButton) return false;
  auto& button = static_cast<SpeedButton&>(*focused_);
  if (!button.tabStop()) return false;
  if (key == key::kSpace || key == key::kReturn) {
    button.click();
    return true;
  }
  Control* next = Neighbour(GroupOf(button), button, key);
  if (!next) return false;
  next->focus();
  return true;
}

bool Form::press(unsigned key, unsigned modifiers, bool programOnly) {
  for (const Shortcut& shortcut : shortcuts_) {
    if (shortcut.key != key || shortcut.modifiers != modifiers) continue;
    if (programOnly && !shortcut.program) continue;
    if (shortcut.whileFocused && shortcut.whileFocused != focused_) continue;
    Fire(shortcut.command);
    return true;
  }
  return !programOnly && modifiers == kNoModifiers && pressGroupKey(key);
}

void Form::moveFocusHome() {
  Control* home = focusHome_ && focusHome_->takesFocus() && focusHome_->usable()
                      ? focusHome_
                      : FirstFocusable(*this);
  focused_ = nullptr;
  if (home) {
    home->takeFocusBack();
  } else {
    // The form itself takes the keys then, which go nowhere.
    notify(Change::Focus);
  }
}

void Form::controlWithdrawn(const Control& control) {
  if (focused_ && Within(focused_, control)) moveFocusHome();
}

}  // namespace hk
