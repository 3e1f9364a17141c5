#pragma once

// What every peer has in common: its window, the two window procedures (our
// own classes and subclassed standard controls), and the notifications a
// parent window passes on to the child they concern. The peer kinds build on
// this; Peers.h is the outside view.

#include <windows.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Widgets.h"
#include "platform/win32/Gdi.h"

namespace hk {

// A window's text as it is now.
std::wstring WindowText(HWND window);

// Reports the exception being handled through the general error report; only
// valid inside a catch block.
void ReportCurrentException();

// Where a component's bounds (layout units) lie in device pixels at a DPI.
// Every window and every graphic control is placed through this one mapping.
RECT DeviceRect(const Rect& bounds, int dpi);

class GraphicPeer;
class AccessibleObject;

// A screen reader's default action on a painted control, posted to its host
// as the mouse's click would come; lParam is the control's peer.
constexpr UINT kAccessibleClick = WM_APP + 2;

// The tooltip of a window's painted controls, or of an edit's cut number:
// made on first use, and gone with its owner, which takes it off the list
// that DismissAll() goes through.
class ToolTip {
 public:
  ToolTip() = default;
  ~ToolTip() { dismiss(); }
  ToolTip(const ToolTip&) = delete;
  ToolTip& operator=(const ToolTip&) = delete;

  // The text of the control under the pointer, for its place in the host;
  // an empty text shows none.
  void follow(HWND host, const std::string& text, const RECT& place);
  // Destroys this one, or every one the program holds: no hint shows, nor
  // comes up later, over a menu.
  void dismiss();
  static void DismissAll();
  // How many the program holds.
  static std::size_t Live();

 private:
  HWND tip_ = nullptr;
};

class WindowPeer : public Peer {
 public:
  explicit WindowPeer(Control& control) : control_(control) {}
  ~WindowPeer() override;
  WindowPeer(const WindowPeer&) = delete;
  WindowPeer& operator=(const WindowPeer&) = delete;

  HWND hwnd() const { return hwnd_; }
  Control& control() const { return control_; }
  // The DPI that the window's contents are laid out at.
  int dpi() const;

  // Makes the window: a child of parent, or for a form a top-level window
  // owned by it.
  virtual void create(HWND parent) = 0;
  // Once every window of the form exists (an up-down finds its edit).
  virtual void realized() {}

  // A changed component is shown again; nothing happens without a window.
  void changed(Change what) final;

  // A notification the parent window received from this child (WM_COMMAND,
  // WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLOR*, WM_VSCROLL/WM_HSCROLL); true when
  // handled, with the result.
  virtual bool reflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // Runs one message through handle(); nothing thrown gets out.
  LRESULT dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  // The graphic controls this window paints and hit-tests: its components
  // without a window, bottom first.
  std::vector<GraphicPeer*> graphics() const;
  // The topmost visible one under a client point; a disabled one lets the
  // mouse through to what lies under it unless asked for.
  GraphicPeer* graphicAt(POINT at, bool disabledToo = false) const;
  // The mouse over a graphic control, and a press on one followed until the
  // button comes up.
  bool hot(const GraphicPeer& graphic) const { return hot_ == &graphic; }
  bool pressed(const GraphicPeer& graphic) const { return tracked_ == &graphic && inside_; }
  void forget(const GraphicPeer& graphic);

  // The peer of one of our windows, of our own class or subclassed; null
  // for any other window and once the window is gone.
  static WindowPeer* OfWindow(HWND window);

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
  // The same in device pixels at the DPI.
  virtual RECT devicePlace(int dpi) const { return DeviceRect(windowBounds(), dpi); }
  void moveWindow();

  // The component's font and background as GDI objects, made on first use
  // and again after a change.
  virtual HFONT font();
  HBRUSH background();
  // Asks a parent's child peer about a notification it received.
  bool reflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // Our own windows paint their own face in paint(), and then their graphic
  // controls over it; WM_PAINT does both in a buffer off the screen.
  virtual void paint(HDC) {}
  // The keyboard focus went to this window: the form remembers it.
  virtual void focused();
  // What the window tells a screen reader about its client area: the
  // painted controls and the windows among them, or a standard control as
  // the system describes it, named as the component says; null leaves it to
  // the system.
  virtual AccessibleObject* accessibleObject();

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data);
  void forget();
  void paintAll(HDC dc, const RECT& area);
  void paintBuffered();
  // The graphic controls' share of the mouse; true when one took it.
  bool mouse(UINT message, LPARAM lParam);
  void setHot(GraphicPeer* graphic);
  void invalidate(const GraphicPeer& graphic);
  void stopTracking();
  LRESULT accessible(WPARAM wParam, LPARAM lParam);
  // A posted default action reaches a control that is still there.
  void clickPosted(const GraphicPeer* graphic);

  Control& control_;
  HWND hwnd_ = nullptr;
  bool subclassed_ = false;
  // The mouse's dealings with the graphic controls, which the components do
  // not know.
  GraphicPeer* hot_ = nullptr;
  GraphicPeer* tracked_ = nullptr;
  bool inside_ = false;
  ToolTip toolTip_;
};

// A component without a window: the nearest window among its parents (its
// host) paints it in its own paint pass and hands it the mouse. It takes no
// focus. A panel that holds only graphic controls is one too: its controls
// are painted inside it and clipped to it, as its window would have done.
class GraphicPeer : public Peer {
 public:
  explicit GraphicPeer(Control& control) : control_(control) {}
  ~GraphicPeer() override;
  GraphicPeer(const GraphicPeer&) = delete;
  GraphicPeer& operator=(const GraphicPeer&) = delete;

  Control& control() const { return control_; }
  WindowPeer* host() const;
  // The component's rectangle in the host's client area.
  RECT place() const;
  // The part of it that shows: its place within its graphic parents'.
  RECT visiblePlace() const;
  // The graphic panel it sits on, or null when it sits on its host.
  GraphicPeer* graphicParent() const;
  // Visible, and so are the graphic panels it sits on.
  bool showing() const;
  // Enabled, and so are the graphic panels it sits on.
  bool usable() const;
  // Its form's focus is on it, and the keys are its host's.
  bool focusShown() const;
  // The DPI it is painted at: its host's.
  int dpi() const;

  void changed(Change what) final;
  // Once every window of the form exists.
  virtual void realized() {}
  // Paints the control; dc's origin is its top-left corner.
  virtual void paint(HDC dc, SIZE size) = 0;

  // Speed buttons show a press while the mouse holds it and click on a
  // release over them; the others only hear the press.
  virtual bool pushable() const { return false; }
  virtual void click() {}

 protected:
  virtual void update(Change) {}
  void invalidate();
  // Screen readers hear that the name, value or state changed.
  void announce(Change what);
  HWND hostWindow() const;

 private:
  Control& control_;
  // Where it was last shown, so that a move repaints the place it left.
  RECT shown_{};
};

// The peer of a component without a window, or null.
GraphicPeer* GraphicPeerOf(const Control& control);

// The peer of a component, when it is one of ours.
WindowPeer* WindowPeerOf(const Control& control);
// The peer of the nearest of its parents that has a window, or null: what
// paints a graphic control, and what a new window goes into.
WindowPeer* HostOf(const Control& control);

std::unique_ptr<WindowPeer> MakeFormPeer(Form& form);
std::unique_ptr<WindowPeer> MakePanelPeer(Panel& panel);
std::unique_ptr<GraphicPeer> MakeBevelPeer(Panel& panel);
std::unique_ptr<GraphicPeer> MakeLabelPeer(Label& label);
std::unique_ptr<GraphicPeer> MakeImagePeer(Image& image);
std::unique_ptr<WindowPeer> MakeEditPeer(Edit& edit);
std::unique_ptr<WindowPeer> MakeUpDownPeer(UpDown& upDown);
std::unique_ptr<GraphicPeer> MakeSpeedButtonPeer(SpeedButton& button);
std::unique_ptr<WindowPeer> MakeButtonPeer(Button& button);
std::unique_ptr<WindowPeer> MakeBitBtnPeer(BitBtn& button);
std::unique_ptr<WindowPeer> MakeComboBoxPeer(ComboBox& combo);
std::unique_ptr<WindowPeer> MakeListBoxPeer(ListBox& list);
std::unique_ptr<WindowPeer> MakeStringGridPeer(StringGrid& grid);

}  // namespace hk
