#include "platform/RecordingServices.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

#include "platform/Dispatcher.h"

namespace hk {

namespace {
// A message that posts itself again for ever would hang a test: the pump
// gives up after this many.
constexpr std::size_t kPumpLimit = 100000;

FilePath UnsetExecutable() {
  std::error_code error;
  std::filesystem::path base = std::filesystem::temp_directory_path(error);
  if (error) base = std::filesystem::path("hakarimaru-unset");
  return base / "hakarimaru-executable-folder-not-set" / "hakarimaru.exe";
}

std::uint32_t Read16(const std::string& bytes, std::size_t at) {
  return static_cast<unsigned char>(bytes[at]) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
}

std::uint32_t Read32(const std::string& bytes, std::size_t at) {
  return Read16(bytes, at) | Read16(bytes, at + 2) << 16;
}
}  // namespace

RecordingServices::RecordingServices() : executable(UnsetExecutable()) {}

int RecordingServices::messageBox(std::string_view text, std::string_view title, unsigned flags) {
  messageBoxes.push_back({std::string(text), std::string(title), flags});
  return onMessageBox ? onMessageBox(messageBoxes.back()) : kIdOk;
}

void RecordingServices::beep(unsigned type) { beeps.push_back(type); }

void RecordingServices::setClipboardText(std::string_view text) {
  if (clipboardBusy) throw std::runtime_error("クリップボードを開けません");
  clipboard.emplace_back(text);
}

void RecordingServices::help(Form& owner, const FilePath& helpFile, HelpCommand command,
                             unsigned context) {
  helpCalls.push_back({&owner, helpFile, command, context});
}

bool RecordingServices::chooseFont(Form&, Font& font) {
  fontDialogs.push_back(font);
  return onChooseFont ? onChooseFont(font) : false;
}

void RecordingServices::showModeless(Form& form) {
  shown.push_back(&form);
  form.show();
}

int RecordingServices::runModal(Form& form) {
  modalRuns.push_back(&form);
  form.setModalResult(kModalNone);
  form.setModal(true);
  form.show();
  int result = onRunModal ? onRunModal(form) : kModalCancel;
  if (form.modalResult() != kModalNone) {
    result = form.modalResult();
  } else {
    form.setModalResult(result);
  }
  form.setModal(false);
  form.hide();
  return result;
}

void RecordingServices::releaseLater(std::unique_ptr<Form> form) {
  if (!form) return;
  Form* target = form.get();
  queue_.push_back({target, 0, std::move(form)});
}

void RecordingServices::postMessage(Form& target, unsigned message) {
  queue_.push_back({&target, message, nullptr});
}

std::size_t RecordingServices::pump() {
  std::size_t handled = 0;
  while (!queue_.empty() && handled < kPumpLimit) {
    Posted entry = std::move(queue_.front());
    queue_.pop_front();
    ++handled;
    if (!entry.released) {
      entry.target->receiveMessage(entry.message);
      continue;
    }
    entry.released->destroyed();
    Form* gone = entry.target;
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(),
                                [gone](const Posted& p) { return p.target == gone; }),
                 queue_.end());
    entry.released.reset();
  }
  return handled;
}

int RecordingServices::trackPopupMenu(Form&, const PopupMenu& menu, Point screen) {
  return onTrackPopupMenu ? onTrackPopupMenu(menu, screen) : -1;
}

void RecordingServices::setKeyHook(KeyHook hook) { keyHook_ = std::move(hook); }

bool RecordingServices::pressKey(unsigned virtualKey, bool shift) {
  bool swallowed = false;
  if (keyHook_) Fire([&] { swallowed = keyHook_(virtualKey, shift); });
  return swallowed;
}

FilePath RecordingServices::executablePath() { return executable; }

SettingsPlace RecordingServices::settingsLocation(const FilePath& besideProgram, std::string_view) {
  SettingsPlace place = settingsPlace;
  if (place.file.empty()) place.file = besideProgram;
  return place;
}

bool RecordingServices::fileExists(const FilePath& file) {
  const std::filesystem::path path = file;
  std::error_code error;
  return std::filesystem::exists(path, error) && !std::filesystem::is_directory(path, error);
}

std::optional<Picture> RecordingServices::loadBitmapFile(const FilePath& path) {
  return ReadBitmapFile(path);
}

std::optional<Picture> ReadBitmapFile(const FilePath& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  if (!in) return std::nullopt;
  // The file header and the longest info header are all that is looked at.
  constexpr std::size_t kFileHeader = 14;
  std::string bytes(kFileHeader + 124, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  in.clear();
  in.seekg(0, std::ios::end);
  const auto fileSize = static_cast<std::uint64_t>(in.tellg());

  if (bytes.size() < kFileHeader + 4 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const std::uint32_t bitsOffset = Read32(bytes, 10);
  const std::uint32_t infoSize = Read32(bytes, kFileHeader);
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::uint32_t planes = 0;
  std::uint32_t bitCount = 0;
  if (infoSize == 12) {  // the old core header: 16-bit sizes
    if (bytes.size() < kFileHeader + 12) return std::nullopt;
    width = Read16(bytes, 18);
    height = Read16(bytes, 20);
    planes = Read16(bytes, 22);
    bitCount = Read16(bytes, 24);
  } else if (infoSize >= 40 && infoSize <= 124) {
    if (bytes.size() < kFileHeader + 40) return std::nullopt;
    width = static_cast<std::int32_t>(Read32(bytes, 18));
    height = static_cast<std::int32_t>(Read32(bytes, 22));  // negative: top-down rows
    planes = Read16(bytes, 26);
    bitCount = Read16(bytes, 28);
  } else {
    return std::nullopt;
  }
  const bool knownDepth = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 ||
                          bitCount == 24 || bitCount == 32;
  if (planes != 1 || !knownDepth || width <= 0 || height == 0) return std::nullopt;
  if (bitsOffset < kFileHeader + infoSize || bitsOffset > fileSize) return std::nullopt;

  Picture picture;
  picture.source = Picture::Source::File;
  picture.file = path;
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height < 0 ? -height : height);
  return picture;
}

// RecordingCanvas -------------------------------------------------------

RecordingCanvas::Call& RecordingCanvas::record(Op op) {
  Call call;
  call.op = op;
  calls.push_back(std::move(call));
  return calls.back();
}

std::vector<RecordingCanvas::Call> RecordingCanvas::only(Op op) const {
  std::vector<Call> found;
  std::copy_if(calls.begin(), calls.end(), std::back_inserter(found),
               [op](const Call& c) { return c.op == op; });
  return found;
}

std::vector<std::string> RecordingCanvas::texts() const {
  std::vector<std::string> found;
  for (const Call& c : calls) {
    if (c.op == Op::DrawText) found.push_back(c.text);
  }
  return found;
}

void RecordingCanvas::setPen(Colour colour, int width) {
  pen = colour;
  penWidth = width;
  Call& call = record(Op::Pen);
  call.colour = colour;
  call.width = width;
}

void RecordingCanvas::setBrush(Colour colour) {
  brush = colour;
  record(Op::Brush).colour = colour;
}

void RecordingCanvas::setFont(const Font& font) {
  currentFont = font;
  record(Op::Font).font = font;
}

void RecordingCanvas::fillRect(const Rect& rect) {
  Call& call = record(Op::FillRect);
  call.rect = rect;
  call.colour = brush;
}

void RecordingCanvas::moveTo(Point p) { record(Op::MoveTo).point = p; }

void RecordingCanvas::lineTo(Point p) {
  Call& call = record(Op::LineTo);
  call.point = p;
  call.colour = pen;
  call.width = penWidth;
}

void RecordingCanvas::drawText(std::string_view text, const Rect& rect, unsigned flags) {
  Call& call = record(Op::DrawText);
  call.text.assign(text);
  call.rect = rect;
  call.flags = flags;
  call.font = currentFont;
  call.colour = currentFont.colour;
}

void RecordingCanvas::drawFocusRect(const Rect& rect) { record(Op::FocusRect).rect = rect; }

// RecordingPeer ---------------------------------------------------------

std::size_t RecordingPeer::count(Change what) const {
  return static_cast<std::size_t>(std::count(changes.begin(), changes.end(), what));
}

RecordingPeer& AttachRecordingPeer(Control& control) {
  auto peer = std::make_unique<RecordingPeer>();
  RecordingPeer& ref = *peer;
  control.setPeer(std::move(peer));
  return ref;
}

}  // namespace hk
