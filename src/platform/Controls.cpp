// The simple controls: panels, labels, edits with their spinners, buttons.
#include <algorithm>
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

// Edit ------------------------------------------------------------------

Edit::Edit(Control* parent) : Control(parent) { setColour(kColourWindow); }

void Edit::setMaxBytes(int bytes) { maxBytes_ = std::max(0, bytes); }

void Edit::setText(std::string_view text) {
  if (text == this->text()) return;
  Control::setText(text);
  Fire(OnChange);
}

void Edit::typeText(std::string_view typed) {
  if (!enabled()) return;
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
std::int16_t Clamp16(std::int32_t value) {
  return static_cast<std::int16_t>(std::clamp<std::int32_t>(value, INT16_MIN, INT16_MAX));
}

// The whole number typed in a spinner's edit, as the system's spinner reads
// its buddy: blanks before, an optional sign, decimal digits and nothing
// after. Nothing for any other text, an empty one included.
std::optional<long long> TypedNumber(const std::string& text) {
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) return std::nullopt;
  const bool negative = text[i] == '-';
  if (text[i] == '-' || text[i] == '+') ++i;
  if (i == text.size()) return std::nullopt;
  long long value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    // Past any 16-bit limit is as good as far past it.
    if (value < 1000000) value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}
}  // namespace

UpDown::UpDown(Control* parent, Edit* associate) : Control(parent), associate_(associate) {}

void UpDown::setMinimum(std::int32_t value) {
  const std::int16_t clamped = Clamp16(value);
  if (clamped == minimum_) return;
  minimum_ = clamped;
  notify(Change::Range);
}

void UpDown::setMaximum(std::int32_t value) {
  const std::int16_t clamped = Clamp16(value);
  if (clamped == maximum_) return;
  maximum_ = clamped;
  notify(Change::Range);
}

void UpDown::setPosition(std::int32_t value) {
  const std::int16_t clamped = Clamp16(value);
  if (clamped == position_) return;
  position_ = clamped;
  notify(Change::Position);
}

void UpDown::stepUp() { step(1); }
void UpDown::stepDown() { step(-1); }

void UpDown::step(int delta) {
  if (!enabled()) return;
  const int low = std::min(minimum_, maximum_);
  const int high = std::max(minimum_, maximum_);
  // The step starts from what the user typed in the edit, brought into the
  // range, as the system's spinner attached to its edit does; from the last
  // position when the edit holds no number.
  int current = position_;
  if (associate_) {
    if (const std::optional<long long> typed = TypedNumber(associate_->text())) {
      current = static_cast<int>(std::clamp<long long>(*typed, low, high));
    }
  }
  // With the limits reversed, the up arrow counts down, as the system's does.
  int next = current + (minimum_ <= maximum_ ? delta : -delta);
  if (next > high) {
    next = wrap_ ? low : high;
  } else if (next < low) {
    next = wrap_ ? high : low;
  }
  setPosition(next);
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

char SpeedButton::accelerator() const {
  // A byte-wise scan is safe: no trail byte of a double-byte character is "&".
  const std::string& caption = text();
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
