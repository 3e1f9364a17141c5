// The simple controls: panels, labels, edits with their spinners, buttons.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>

#include "data/ShiftJis.h"
#include "platform/Dispatcher.h"
#include "platform/Widgets.h"

namespace hk {

Panel::Panel(Control* parent) : Control(parent) {}

void Panel::setBevels(Bevel inner, Bevel outer) {
  if (inner == bevelInner_ && outer == bevelOuter_) return;
  bevelInner_ = inner;
  bevelOuter_ = outer;
  notify(Change::Repaint);
}

void Panel::setAlignment(Alignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  notify(Change::Repaint);
}

Label::Label(Control* parent) : Control(parent) {}

void Label::setAlignment(Alignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  notify(Change::Repaint);
}

void Label::setAutoSize(bool autoSize) {
  if (autoSize == autoSize_) return;
  autoSize_ = autoSize;
  // The peer measures again.
  notify(Change::Text);
}

void Label::setTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  notify(Change::Repaint);
}

void Label::setNumberRoom(const Rect& room, Label* next) {
  numberRoom_ = room;
  numberPlace_ = bounds();
  numberNext_ = next;
  if (next) {
    numberNextLeft_ = next->bounds().left;
    next->numberBefore_ = this;
  }
  measureAgain();
}

// Edit ------------------------------------------------------------------

Edit::Edit(Control* parent) : Control(parent) { setColour(kColourWindow); }

void Edit::setMaxBytes(int bytes) { maxBytes_ = std::max(0, bytes); }

void Edit::setReadOnly(bool readOnly) {
  if (readOnly == readOnly_) return;
  readOnly_ = readOnly;
  notify(Change::ReadOnly);
}

void Edit::setText(std::string_view text) {
  if (text == this->text()) return;
  Control::setText(text);
  Fire(OnChange);
}

void Edit::typeText(std::string_view typed) {
  if (!enabled() || readOnly_) return;
  std::string next = text();
  if (maxBytes_ > 0) {
    const std::size_t room = next.size() < static_cast<std::size_t>(maxBytes_)
                                 ? static_cast<std::size_t>(maxBytes_) - next.size()
                                 : 0;
    typed = SjisCut(typed, room);
  }
  next.append(typed);
  setText(next);
}

void Edit::userChanged(std::string_view text) {
  const std::string_view kept = maxBytes_ > 0 ? SjisCut(text, maxBytes_) : text;
  const bool changed = storeText(kept);
  // The real control still shows the whole text; it must show what was kept.
  if (kept.size() != text.size()) notify(Change::Text);
  if (changed) Fire(OnChange);
}

char Edit::pressKey(char key) {
  if (!enabled()) return 0;
  if (key == '\r') {
    Form* owner = form();
    if (owner && owner->defaultButton() && owner->defaultButton()->usable()) {
      owner->pressEnter();
      return 0;
    }
  }
  if (!Fire(OnKeyPress, key)) return 0;
  return key;
}

void Edit::focus() {
  Form* owner = form();
  // Focusing a hidden or disabled control is refused quietly rather than
  // raised as an error.
  if (!usable() || (owner && owner->focused() == this)) return;
  if (owner) owner->setFocused(this);
  notify(Change::Focus);
  Fire(OnEnter);
}

// UpDown ----------------------------------------------------------------

namespace {
// The whole number typed in a spinner's edit, as the system's spinner reads
// its buddy: blanks before, an optional sign, decimal digits and nothing
// after. Nothing for any other text, an empty one included.
std::optional<std::int64_t> TypedNumber(const std::string& text) {
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) return std::nullopt;
  const bool negative = text[i] == '-';
  if (text[i] == '-' || text[i] == '+') ++i;
  if (i == text.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    // Past any 32-bit limit is as good as far past it.
    if (value < (std::int64_t{1} << 40)) value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}
}  // namespace

UpDown::UpDown(Control* parent, Edit* associate) : Control(parent), associate_(associate) {}

void UpDown::setMinimum(std::int32_t value) {
  if (value == minimum_) return;
  minimum_ = value;
  notify(Change::Range);
}

void UpDown::setMaximum(std::int32_t value) {
  if (value == maximum_) return;
  maximum_ = value;
  notify(Change::Range);
}

void UpDown::setPosition(std::int32_t value) {
  if (value == position_) return;
  position_ = value;
  notify(Change::Position);
}

void UpDown::stepUp() { step(1); }
void UpDown::stepDown() { step(-1); }

void UpDown::step(int delta) {
  if (!enabled()) return;
  const std::int64_t low = std::min(minimum_, maximum_);
  const std::int64_t high = std::max(minimum_, maximum_);
  // The step starts from what the user typed in the edit, as the system's
  // spinner attached to its edit does; from the last position when the edit
  // holds no number.
  std::int64_t current = position_;
  if (associate_) {
    const std::optional<std::int64_t> typed =
        ReadTyped ? ReadTyped(associate_->text()) : TypedNumber(associate_->text());
    if (typed) current = *typed;
  }
  // With the limits reversed, the up arrow counts down, as the system's does.
  const int along = minimum_ <= maximum_ ? delta : -delta;
  std::int64_t next = current + along;
  if (wrap_ && along > 0 && current >= high) {
    next = low;
  } else if (wrap_ && along < 0 && current <= low) {
    next = high;
  } else {
    next = std::clamp(next, low, high);
    // A number beyond the range stays where it is rather than jump the
    // other way to the nearer limit.
    if ((next - current) * along < 0) return;
  }
  setPosition(static_cast<std::int32_t>(next));
  if (associate_) associate_->setText(std::to_string(position_));
}

// SpeedButton -----------------------------------------------------------

SpeedButton::SpeedButton(Control* parent) : Control(parent) {}

void SpeedButton::setDown(bool down) {
  if (down && groupIndex_ != 0 && parent()) {
    for (Control* sibling : parent()->children()) {
      if (sibling == this || sibling->kind() != ControlKind::SpeedButton) continue;
      auto* other = static_cast<SpeedButton*>(sibling);
      if (other->groupIndex_ == groupIndex_) other->setDown(false);
    }
  }
  if (down == down_) return;
  down_ = down;
  notify(Change::Down);
}

void SpeedButton::setGlyph(const Picture& glyph) {
  if (glyph == glyph_) return;
  glyph_ = glyph;
  notify(Change::Glyph);
}

namespace {
char AcceleratorOf(const std::string& caption) {
  // A byte-wise scan is safe: no trail byte of a double-byte character is "&".
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    const char next = caption[i + 1];
    if (next == '&') {  // "&&" is a plain "&"
      ++i;
      continue;
    }
    // Half a double-byte character cannot be pressed with Alt.
    if (IsSjisLeadByte(static_cast<unsigned char>(next))) return 0;
    return next >= 'a' && next <= 'z' ? static_cast<char>(next - 'a' + 'A') : next;
  }
  return 0;
}
}  // namespace

char SpeedButton::accelerator() const {
  const char own = AcceleratorOf(text());
  return own != 0 ? own : accessKey_;
}

void SpeedButton::setAccessKey(char letter) {
  accessKey_ = letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
}

std::string SpeedButton::toolTip() const {
  if (accessKey_ == 0) return hint();
  const std::string key = std::string("Alt+") + accessKey_;
  return hint().empty() ? key : hint() + " (" + key + ")";
}
char Button::accelerator() const { return AcceleratorOf(text()); }

void SpeedButton::click() {
  if (!enabled()) return;
  if (groupIndex_ != 0) {
    if (!down_) {
      setDown(true);
    } else if (allowAllUp_) {
      setDown(false);
    }
  }
  Fire(OnClick);
}

void SpeedButton::pressAccessKey() {
  if (!enabled()) return;
  if (OnAccessKey) {
    Fire(OnAccessKey);
  } else {
    click();
  }
}

// Button ----------------------------------------------------------------

Button::Button(Control* parent) : Control(parent) {}

void Button::click() {
  if (!enabled()) return;
  Fire(OnClick);
  // The result applies even when the handler failed: the error has been
  // reported, and the user asked to leave the dialog.
  if (modalResult_ != kModalNone) {
    if (Form* owner = form()) owner->setModalResult(modalResult_);
  }
}

BitBtn::BitBtn(Control* parent) : Button(parent) {}

void BitBtn::setGlyph(const Picture& glyph) {
  if (glyph == glyph_) return;
  glyph_ = glyph;
  notify(Change::Glyph);
}

}  // namespace hk
