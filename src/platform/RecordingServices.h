#pragma once

// Stand-ins for the system in the native tests: services that record what
// the windows asked and answer from the test's script, a canvas that records
// the drawing, and a peer that records the changes it was told.

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/FilePath.h"
#include "platform/Canvas.h"
#include "platform/Services.h"
#include "platform/Widgets.h"

namespace hk {

struct RecordedMessageBox {
  std::string text;
  std::string title;
  unsigned flags = 0;
};

struct RecordedHelp {
  Form* owner = nullptr;
  FilePath file;
  HelpCommand command = HelpCommand::Context;
  unsigned context = 0;
};

class RecordingServices : public Services {
 public:
  RecordingServices();

  // What was asked, in order.
  std::vector<RecordedMessageBox> messageBoxes;
  std::vector<unsigned> beeps;
  std::vector<std::string> clipboard;  // every text set; back() is what it holds
  std::vector<RecordedHelp> helpCalls;
  std::vector<Font> fontDialogs;  // the font each dialog started from
  std::vector<Form*> shown;       // forms shown modeless
  std::vector<Form*> modalRuns;   // forms run modally

  // The script. A message box answers kIdOk unless told otherwise.
  std::function<int(const RecordedMessageBox&)> onMessageBox;
  // Plays the user of a modal form. Its return is the result unless the form
  // got one of its own meanwhile (a button's modal result, close()), which
  // ends the real loop first. The default closes the dialog: kModalCancel.
  std::function<int(Form&)> onRunModal;
  // The font dialog: true with the choice in the font for OK. Default: Cancel.
  std::function<bool(Font&)> onChooseFont;
  // The chosen item's index or -1. Default: the menu is dismissed.
  std::function<int(const PopupMenu&, Point)> onTrackPopupMenu;

  // Where the program believes it lives. The default is in a folder that does
  // not exist, so a test that forgot to choose one writes nothing anywhere.
  FilePath executable;

  // What settingsLocation() answers, its file the one beside the program
  // unless one is given.
  SettingsPlace settingsPlace;

  // Makes setClipboardText fail as a clipboard held by another program does.
  bool clipboardBusy = false;

  // What scrollBarWidth() answers.
  int verticalScrollBarWidth = 17;
  // What nearestMonitor() answers: one 1280 x 1024 screen with a 40-pixel
  // task bar at the bottom.
  MonitorArea monitor{{0, 0, 1280, 1024}, {0, 0, 1280, 984}};
  // What today() answers.
  CalendarDate date{2026, 12, 8};

  // Delivers the posted messages and releases in the order they were asked,
  // also those asked meanwhile; a released form is told it is destroyed and
  // deleted, and the messages still queued for it are dropped, as for a
  // window that is gone. Returns how many were handled.
  std::size_t pump();
  std::size_t pending() const { return queue_.size(); }

  // A key press as the system's hook sees it; true when the program
  // swallowed it. An error in the hook is reported, never thrown.
  bool pressKey(unsigned virtualKey, bool shift = false);
  bool hasKeyHook() const { return static_cast<bool>(keyHook_); }

  int messageBox(std::string_view text, std::string_view title, unsigned flags) override;
  void beep(unsigned type) override;
  void setClipboardText(std::string_view text) override;
  void help(Form& owner, const FilePath& helpFile, HelpCommand command, unsigned context) override;
  bool chooseFont(Form& owner, Font& font) override;
  void showModeless(Form& form) override;
  int runModal(Form& form) override;
  void releaseLater(std::unique_ptr<Form> form) override;
  void postMessage(Form& target, unsigned message) override;
  int trackPopupMenu(Form& owner, const PopupMenu& menu, Point screen) override;
  void setKeyHook(KeyHook hook) override;
  FilePath executablePath() override;
  SettingsPlace settingsLocation(const FilePath& besideProgram, std::string_view) override;
  bool fileExists(const FilePath& path) override;
  std::optional<Picture> loadBitmapFile(const FilePath& path) override;
  int scrollBarWidth() override { return verticalScrollBarWidth; }
  MonitorArea nearestMonitor(const Rect&) override { return monitor; }
  CalendarDate today() override { return date; }

 private:
  struct Posted {
    Form* target;
    unsigned message;
    std::unique_ptr<Form> released;  // set for a release
  };
  std::deque<Posted> queue_;
  KeyHook keyHook_;
};

// Reads a bitmap file's header: a picture of the file with its size, or
// nothing when the file is missing, short, or not a Windows bitmap.
std::optional<Picture> ReadBitmapFile(const FilePath& path);

class RecordingCanvas : public Canvas {
 public:
  enum class Op { Pen, Brush, Font, FillRect, MoveTo, LineTo, DrawText, FocusRect };
  struct Call {
    Op op = Op::Pen;
    Colour colour = 0;  // pen, brush; the font's colour for text
    int width = 0;      // pen
    Font font;          // font, text
    Rect rect;          // fill, text, focus
    Point point;        // move, line
    std::string text;
    unsigned flags = 0;
  };

  std::vector<Call> calls;
  // What is selected now.
  Colour pen = kBlackColour;
  int penWidth = 1;
  Colour brush = kWhite;
  Font currentFont;

  // The calls of one kind, in order.
  std::vector<Call> only(Op op) const;
  // The texts drawn, in order.
  std::vector<std::string> texts() const;

  void setPen(Colour colour, int width = 1) override;
  void setBrush(Colour colour) override;
  void setFont(const Font& font) override;
  void fillRect(const Rect& rect) override;
  void moveTo(Point p) override;
  void lineTo(Point p) override;
  void drawText(std::string_view text, const Rect& rect, unsigned flags) override;
  void drawFocusRect(const Rect& rect) override;

 private:
  Call& record(Op op);
};

// A peer that keeps the changes it was told, for tests of the components.
class RecordingPeer : public Peer {
 public:
  std::vector<Change> changes;
  void changed(Change what) override { changes.push_back(what); }
  std::size_t count(Change what) const;
};

// Gives the control a recording peer and returns it.
RecordingPeer& AttachRecordingPeer(Control& control);

}  // namespace hk
