#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/HelpText.h"

namespace hk {

// The program's own help: the topics in a list beside the text of the chosen
// one, which a read-only edit shows, so that it can be selected, copied and
// read by a screen reader. The window is owned by no other and stays usable
// while a modal window runs: help opened from a dialog is read beside it, and
// neither waits for the other.
class HelpWindow {
 public:
  HelpWindow() = default;
  ~HelpWindow();
  HelpWindow(const HelpWindow&) = delete;
  HelpWindow& operator=(const HelpWindow&) = delete;

  // The topic of the context number (the first topic for a number no topic
  // has), in the window made if need be and brought to the front. A new
  // window opens where it was last closed, or else beside the asking one.
  void show(HWND asking, unsigned context);
  void close();
  HWND hwnd() const { return window_; }

  // Whether a top-level window is the help window.
  static bool Is(HWND window);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK KeyProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                  UINT_PTR id, DWORD_PTR data);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  bool key(HWND control, UINT message, WPARAM wParam);
  void create(HWND asking);
  void createControls();
  void applyFont();
  void layOut();
  void select(int index);

  std::vector<HelpTopic> topics_;
  HWND window_ = nullptr;
  HWND topicsLabel_ = nullptr;
  HWND list_ = nullptr;
  HWND titleLabel_ = nullptr;
  HWND text_ = nullptr;
  HWND focus_ = nullptr;  // the control that had the focus when the window lost it
  // Where the window was when it was last closed: it opens there again.
  RECT lastPlace_{};
};

// The help's Markdown text from the program's resources (Shift-JIS); empty
// when it is missing.
std::string HelpResourceText();

}  // namespace hk
