#pragma once

// What every peer has in common: its window, the two window procedures (our
// own classes and subclassed standard controls), and the notifications a
// parent window passes on to the child they concern. The peer kinds build on
// this; Peers.h is the outside view.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/Widgets.h"
#include "platform/win32/Gdi.h"

namespace hk {

// A window's text as it is now.
std::wstring WindowText(HWND window);

// Reports the exception being handled through the general error report; only
// valid inside a catch block.
void ReportCurrentException();

class WindowPeer : public Peer {
 public:
  explicit WindowPeer(Control& control) : control_(control) {}
  ~WindowPeer() override;
  WindowPeer(const WindowPeer&) = delete;
  WindowPeer& operator=(const WindowPeer&) = delete;

  HWND hwnd() const { return hwnd_; }
  Control& control() const { return control_; }

  // Makes the window: a child of parent, or for a form a top-level window
  // owned by it.
  virtual void create(HWND parent) = 0;
  // Once every window of the form exists (an up-down finds its edit).
  virtual void realized() {}

  // A changed component is shown again; nothing happens without a window.
  void changed(Change what) final;

  // The windows of a hidden panel's components are made when it is first
  // shown: the money page's rate panel alone holds some ninety windows, and
  // most sessions never show it.
  void deferChildren(std::function<void()> create) { createChildren_ = std::move(create); }

  // A notification the parent window received from this child (WM_COMMAND,
  // WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLOR*, WM_VSCROLL/WM_HSCROLL); true when
  // handled, with the result.
  virtual bool reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // Runs one message through handle(); nothing thrown gets out.
  LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  // A window of our own classes: the peer is the creation parameter.
  static LRESULT CALLBACK OwnClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Registers the class of our own windows once; returns its name.
  static const wchar_t* RegisterOwnClass(const wchar_t* name);

 protected:
  // The message, for the peer kinds to handle before the default.
  virtual LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT defaultHandle(UINT message, WPARAM wParam, LPARAM lParam);
  // What a change does to the window; the base knows the common ones.
  virtual void update(Change what);

  // A window of our own class, child of parent, at the component's bounds.
  void createOwn(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent);
  // A standard control, subclassed to report to the component.
  void createStandard(const wchar_t* className, DWORD style, DWORD exStyle, HWND parent);
  // The style bits every child window has: child, clipped siblings, and the
  // component's visible and enabled states.
  DWORD childStyle() const;
  // Where the window goes in its parent's client area; the component's bounds.
  virtual Rect windowBounds() const { return control_.bounds(); }
  void moveWindow();

  // The component's font and background as GDI objects, made on first use
  // and again after a change.
  HFONT font();
  HBRUSH background();
  // Asks a parent's child peer about a notification it received.
  bool reflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Our own windows paint everything in paint(); WM_PRINTCLIENT paints into
  // the DC it brings, which is how see-through children get their background.
  virtual void paint(HDC) {}
  // Paints what lies under this window (the parent and the earlier siblings)
  // into dc, for see-through windows.
  void paintUnderneath(HDC dc);
  // The keyboard focus went to this window: the form remembers it.
  virtual void focused();

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data);
  void forget();

  Control& control_;
  HWND hwnd_ = nullptr;
  bool subclassed_ = false;
  std::function<void()> createChildren_;
  FontObject font_;
  BrushObject background_;
};

// The peer of a component, when it is one of ours.
WindowPeer* WindowPeerOf(const Control& control);

std::unique_ptr<WindowPeer> MakeFormPeer(Form& form);
std::unique_ptr<WindowPeer> MakePanelPeer(Panel& panel);
std::unique_ptr<WindowPeer> MakeLabelPeer(Label& label);
std::unique_ptr<WindowPeer> MakeImagePeer(Image& image);
std::unique_ptr<WindowPeer> MakeEditPeer(Edit& edit);
std::unique_ptr<WindowPeer> MakeUpDownPeer(UpDown& upDown);
std::unique_ptr<WindowPeer> MakeSpeedButtonPeer(SpeedButton& button);
std::unique_ptr<WindowPeer> MakeButtonPeer(Button& button);
std::unique_ptr<WindowPeer> MakeBitBtnPeer(BitBtn& button);
std::unique_ptr<WindowPeer> MakeComboBoxPeer(ComboBox& combo);
std::unique_ptr<WindowPeer> MakeListBoxPeer(ListBox& list);
std::unique_ptr<WindowPeer> MakeStringGridPeer(StringGrid& grid);

}  // namespace hk
