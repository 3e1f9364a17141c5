// A standard control (edit, spinner, combo box, list box, push button) as the
// system describes it, with what the system cannot know: the name of the
// label it belongs to, and its texts with the program's yen sign.
#include <string>

#include "platform/win32/AccessibleObject.h"

namespace hk {
namespace {

class WindowAccessible final : public AccessibleObject {
 public:
  WindowAccessible(HWND window, IAccessible* standard)
      : AccessibleObject(window), standard_(standard) {}
  ~WindowAccessible() override { standard_->Release(); }

  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
    return standard_->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    const Control* control = self(child);
    const std::string spoken = control ? control->accessibleName() : std::string();
    if (spoken.empty() || !name) return standard_->get_accName(child, name);
    *name = SpokenBstr(spoken);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    const Control* control = self(child);
    if (!control || !value || control->kind() != ControlKind::Edit) {
      return standard_->get_accValue(child, value);
    }
    *value = SpokenBstr(control->text());
    return S_OK;
  }
  // The hint, where it is not the name already: why a box cannot be
  // changed, for one.
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    const Control* control = self(child);
    if (!control || !text || control->hint().empty() ||
        control->hint() == control->accessibleName()) {
      return standard_->get_accDescription(child, text);
    }
    *text = SpokenBstr(control->hint());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return standard_->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    const HRESULT result = standard_->get_accState(child, state);
    // The default button kept below the window's edge only carries Enter.
    const Control* control = self(child);
    if (SUCCEEDED(result) && control && control->accessibleHidden() && state->vt == VT_I4) {
      state->lVal |= STATE_SYSTEM_INVISIBLE;
    }
    return result;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
    const Control* control = self(child);
    if (!control || !shortcut || control->accessibleShortcut().empty()) {
      return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    *shortcut = SpokenBstr(control->accessibleShortcut());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    return standard_->get_accFocus(focus);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    return standard_->get_accSelection(selection);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    return standard_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
    return standard_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return standard_->accDoDefaultAction(child);
  }

 private:
  // The component, when the question is about the control itself and the
  // window still has one.
  const Control* self(const VARIANT& child) const {
    const WindowPeer* owner = peer();
    return IsSelf(child) && owner ? &owner->control() : nullptr;
  }

  IAccessible* standard_;
};

}  // namespace

AccessibleObject* MakeWindowAccessible(HWND window, IAccessible* standard) {
  return new WindowAccessible(window, standard);
}

}  // namespace hk
