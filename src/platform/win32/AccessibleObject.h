#pragma once

// What screen readers are told, through MSAA: the parts every accessible
// object of the program shares, and the kinds of them (a window's painted
// controls, a standard control named by its label, the grid's table).
#include <windows.h>

// These need windows.h first.
#include <oleacc.h>

#include <string>
#include <vector>

#include "platform/win32/WindowPeer.h"

namespace hk {

// A text as a reader is given it. Byte 0x5C of the program's texts shows as
// the yen sign in its fonts, so it is given as one.
std::wstring SpokenText(const std::string& sjis);
BSTR AllocString(const std::wstring& text);
inline BSTR SpokenBstr(const std::string& sjis) { return AllocString(SpokenText(sjis)); }
HRESULT ObjectOfWindow(HWND window, LONG id, IDispatch** object);
bool IsSelf(const VARIANT& child);

// The children of a window's client area as a reader lists them: its painted
// controls and its child windows, in reading order (row by row, left to
// right; a control reaching further down, like a column beside the rows,
// after the rows it spans). Controls that only decorate or that another
// speaks for are left out, and so is a painted panel without a name (its
// controls are listed).
struct ReadChild {
  GraphicPeer* graphic = nullptr;  // or
  HWND window = nullptr;
  RECT place{};  // in the client area
};
std::vector<ReadChild> ReadingOrder(HWND window, const WindowPeer& peer);
// A painted control's number among them (from 1), or 0.
LONG ChildNumber(HWND window, const WindowPeer& peer, const GraphicPeer& graphic);

// IUnknown and IDispatch once, and an answer to every IAccessible question
// that says "nothing here"; the kinds answer what they know.
class AccessibleObject : public IAccessible {
 public:
  virtual ~AccessibleObject() { --live_; }

  // How many of these objects live now: what readers (and the stubs that
  // hand them to another process) still hold, for the tests.
  static long Live() { return live_; }
  // How many were ever made.
  static long Made() { return made_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch is not offered; readers use the IAccessible methods.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return E_NOTIMPL;
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 protected:
  explicit AccessibleObject(HWND window) : window_(window) {
    ++live_;
    ++made_;
  }
  HWND window() const { return window_; }
  // The peer of the window while it lives: a reader may keep the object
  // after the window is gone.
  WindowPeer* peer() const { return WindowPeer::OfWindow(window_); }
  // A rectangle of the client area on the screen.
  HRESULT screenPlace(RECT r, LONG* left, LONG* top, LONG* width, LONG* height) const;

 private:
  // The user-interface thread alone makes and frees them.
  static inline long live_ = 0;
  static inline long made_ = 0;
  HWND window_;
  ULONG references_ = 1;
};

// The objects a window hands a reader for its client area.
AccessibleObject* MakePaintedAccessible(HWND window);
AccessibleObject* MakeWindowAccessible(HWND window, IAccessible* standard);
AccessibleObject* MakeGridAccessible(HWND window);
// A grid cell's number among the table's children.
LONG GridCellNumber(const StringGrid& grid, int col, int row);

}  // namespace hk
