#include "platform/RecordingServices.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/ErrorLog.h"
#include "support/TempFolder.h"

namespace hk {
namespace {

TEST(RecordingServices, PumpDeliversInOrderAndDropsMessagesOfReleasedForms) {
  RecordingServices services;
  Form stays(FormStyle::Dialog);
  auto released = std::make_unique<Form>(FormStyle::Dialog);
  Form* goes = released.get();
  std::vector<std::string> log;
  stays.OnMessage = [&](unsigned m) {
    log.push_back("stays " + std::to_string(m));
    if (m == 1) services.postMessage(stays, 3);  // posted while pumping
  };
  goes->OnMessage = [&](unsigned m) { log.push_back("goes " + std::to_string(m)); };
  goes->OnDestroy = [&] { log.push_back("destroyed"); };

  services.postMessage(stays, 1);
  services.postMessage(*goes, 2);
  services.releaseLater(std::move(released));
  services.postMessage(*goes, 4);
  EXPECT_TRUE(log.empty());  // nothing before the pump
  EXPECT_EQ(services.pump(), 4u);
  EXPECT_EQ(log, (std::vector<std::string>{"stays 1", "goes 2", "destroyed", "stays 3"}));
  EXPECT_EQ(services.pending(), 0u);
}

TEST(RecordingServices, ModalRunsEndWithTheFormsOwnResultFirst) {
  struct Case {
    std::function<int(Form&)> script;
    int expected;
  };
  const Case cases[] = {
      {{}, kModalCancel},
      {[](Form&) { return kModalOk; }, kModalOk},
      {[](Form& f) {
         f.close();
         return kModalOk;
       },
       kModalCancel},
  };
  for (const Case& c : cases) {
    RecordingServices services;
    Form dialog(FormStyle::Dialog);
    bool visibleInside = false;
    services.onRunModal = [&](Form& f) {
      visibleInside = f.visible() && f.modal();
      return c.script ? c.script(f) : kModalCancel;
    };
    EXPECT_EQ(services.runModal(dialog), c.expected);
    EXPECT_TRUE(visibleInside);
    EXPECT_FALSE(dialog.visible());
    EXPECT_FALSE(dialog.modal());
    EXPECT_EQ(services.modalRuns, std::vector<Form*>{&dialog});
  }
}

TEST(RecordingServices, TheKeyHookSeesKeysAndItsErrorsAreReported) {
  ErrorLog log;
  RecordingServices services;
  EXPECT_FALSE(services.pressKey(0x70));
  std::vector<std::pair<unsigned, bool>> seen;
  services.setKeyHook([&](unsigned key, bool shift) {
    seen.push_back({key, shift});
    if (key == 0x71) throw std::runtime_error("hook failed");
    return key == 0x70;
  });
  EXPECT_TRUE(services.pressKey(0x70, true));
  EXPECT_FALSE(services.pressKey(0x41));
  EXPECT_FALSE(services.pressKey(0x71));
  EXPECT_EQ(seen.size(), 3u);
  EXPECT_EQ(log.texts, std::vector<std::string>{"hook failed"});
}

std::string Le(std::uint32_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  return out;
}

// A file header and an info header of infoSize bytes, then a few pixel bytes.
std::string Bitmap(std::uint32_t infoSize, std::int32_t width, std::int32_t height,
                   int bitCount = 24, std::uint32_t offset = 0) {
  if (offset == 0) offset = 14 + infoSize;
  std::string info = Le(infoSize, 4);
  if (infoSize == 12) {
    info += Le(width, 2) + Le(height, 2) + Le(1, 2) + Le(bitCount, 2);
  } else {
    info += Le(width, 4) + Le(static_cast<std::uint32_t>(height), 4) + Le(1, 2) + Le(bitCount, 2);
    info.resize(infoSize, '\0');
  }
  return "BM" + Le(0, 4) + Le(0, 4) + Le(offset, 4) + info + std::string(16, '\x7F');
}

TEST(RecordingServices, BitmapFilesAreRecognisedByTheirHeader) {
  struct Case {
    std::string bytes;
    int width, height;  // 0: not a bitmap
  };
  const Case cases[] = {
      {Bitmap(40, 48, 16), 48, 16},
      {Bitmap(40, 48, -16), 48, 16},  // top-down rows
      {Bitmap(124, 10, 5, 32), 10, 5},
      {Bitmap(12, 7, 3, 8), 7, 3},
      {Bitmap(40, 48, 16, 7), 0, 0},
      {Bitmap(40, 0, 16), 0, 0},
      {Bitmap(40, 48, 16, 24, 5000), 0, 0},  // pixels beyond the end
      {Bitmap(40, 48, 16).substr(0, 30), 0, 0},
      {"PK" + Bitmap(40, 48, 16).substr(2), 0, 0},
      {"", 0, 0},
  };
  TempFolder folder;
  RecordingServices services;
  int n = 0;
  for (const Case& c : cases) {
    const auto file = folder.path() / ("p" + std::to_string(n++) + ".bmp");
    std::ofstream(file, std::ios::binary) << c.bytes;
    const std::optional<Picture> picture = services.loadBitmapFile(file);
    EXPECT_EQ(picture.has_value(), c.width != 0) << n;
    if (!picture) continue;
    EXPECT_EQ(picture->width, c.width) << n;
    EXPECT_EQ(picture->height, c.height) << n;
    EXPECT_EQ(picture->source, Picture::Source::File);
    EXPECT_EQ(picture->file, file);
  }
  EXPECT_FALSE(services.loadBitmapFile(folder.path() / "missing.bmp"));
  EXPECT_TRUE(services.fileExists(folder.path() / "p0.bmp"));
  EXPECT_FALSE(services.fileExists(folder.path()));
  EXPECT_FALSE(services.fileExists(services.executablePath()));
}

}  // namespace
}  // namespace hk
