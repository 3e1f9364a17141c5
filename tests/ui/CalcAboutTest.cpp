#include "ui/CalcUnt3.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Dispatcher.h"
#include "platform/RecordingServices.h"

namespace hk {
namespace {

TEST(CalcAboutTest, LayoutAsDesigned) {
  Form owner(FormStyle::BorderlessPopup);
  TCalcAboutForm box(owner);

  EXPECT_EQ(box.style(), FormStyle::Dialog);
  EXPECT_EQ(box.owner(), &owner);
  EXPECT_EQ(box.text(), "はかり丸について");
  EXPECT_EQ(box.clientWidth(), 298);
  EXPECT_EQ(box.clientHeight(), 213);
  EXPECT_EQ(box.font().name, "MS Sans Serif");
  EXPECT_EQ(box.font().height, -11);

  struct Place {
    const char* name;
    const Control& control;
    Rect bounds;
  };
  const Place places[] = {
      {"Panel1", box.Panel1, {8, 8, 281, 161}},
      {"ProgramIcon", box.ProgramIcon, {12, 8, 65, 57}},
      {"OKButton", box.OKButton, {111, 180, 75, 25}},
  };
  for (const Place& place : places) EXPECT_EQ(place.control.bounds(), place.bounds) << place.name;
  const struct {
    const char* name;
    const Label& label;
    int left;
    int top;
    const char* font;
  } labels[] = {
      {"ProductName", box.ProductName, 88, 24, "ＭＳ ゴシック"},
      {"Version", box.Version, 132, 48, "MS Sans Serif"},
      {"Label2", box.Label2, 36, 92, "ＭＳ ゴシック"},
      {"Label3", box.Label3, 40, 132, "ＭＳ ゴシック"},
      {"Label4", box.Label4, 180, 132, "ＭＳ ゴシック"},
  };
  for (const auto& label : labels) {
    EXPECT_EQ(label.label.parent(), &box.Panel1) << label.name;
    EXPECT_EQ(label.label.bounds().left, label.left) << label.name;
    EXPECT_EQ(label.label.bounds().top, label.top) << label.name;
    EXPECT_EQ(label.label.font().name, label.font) << label.name;
    EXPECT_FALSE(label.label.text().empty()) << label.name;
    // Each line, at half its character height per byte, stays inside the
    // panel's edges: an auto-sized label grows to its text, and the panel
    // cuts what goes beyond.
    const int textWidth =
        static_cast<int>(label.label.text().size()) * label.label.font().characterHeight() / 2;
    EXPECT_LE(label.left + textWidth, box.Panel1.bounds().width - 2) << label.name;
  }
  EXPECT_EQ(box.ProductName.text(), "はかり丸");
  EXPECT_EQ(box.ProductName.font().height, -13);
  EXPECT_EQ(box.Label2.font().height, -13);
  EXPECT_EQ(box.Version.text(), "Version 1.0");
  EXPECT_EQ(box.Panel1.bevelInner(), Bevel::Raised);
  EXPECT_EQ(box.Panel1.bevelOuter(), Bevel::Lowered);
  EXPECT_TRUE(box.ProgramIcon.stretch());
  EXPECT_FALSE(box.ProgramIcon.picture().empty());
  EXPECT_EQ(box.OKButton.text(), "OK");
  EXPECT_EQ(box.defaultButton(), &box.OKButton);
  EXPECT_EQ(box.focused(), &box.OKButton);
}

class ShowAboutBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetErrorReport([this](const std::string& text) { errors.push_back(text); });
  }
  void TearDown() override { SetErrorReport({}); }

  RecordingServices services;
  Form owner{FormStyle::BorderlessPopup};
  std::vector<std::string> errors;
};

TEST_F(ShowAboutBoxTest, ClosesWithOkAndIsReleasedLater) {
  struct Case {
    const char* name;
    void (*act)(TCalcAboutForm&);
    int result;
  };
  const Case cases[] = {
      {"OK button", [](TCalcAboutForm& box) { box.OKButton.click(); }, kModalOk},
      {"Enter", [](TCalcAboutForm& box) { box.pressEnter(); }, kModalOk},
      {"Esc", [](TCalcAboutForm& box) { box.pressShortcut(key::kEscape, kNoModifiers); }, kModalOk},
      {"close box", [](TCalcAboutForm& box) { box.close(); }, kModalCancel},
  };
  for (const Case& c : cases) {
    TCalcAboutForm* seen = nullptr;
    bool globalWasSet = false;
    services.onRunModal = [&](Form& form) {
      seen = dynamic_cast<TCalcAboutForm*>(&form);
      globalWasSet = seen != nullptr && CalcAboutForm == seen;
      if (seen) c.act(*seen);
      return kModalNone;
    };

    EXPECT_EQ(ShowAboutBox(services, owner), c.result) << c.name;

    ASSERT_NE(seen, nullptr) << c.name;
    EXPECT_TRUE(globalWasSet) << c.name;
    EXPECT_EQ(seen->owner(), &owner) << c.name;
    // Never a reference to a box that is about to be destroyed.
    EXPECT_EQ(CalcAboutForm, nullptr) << c.name;
    EXPECT_EQ(services.pending(), 1u) << c.name;
    EXPECT_EQ(services.pump(), 1u) << c.name;
  }
  EXPECT_TRUE(errors.empty());
}

TEST_F(ShowAboutBoxTest, AFailedRunLeavesNoReference) {
  services.onRunModal = [](Form&) -> int { throw std::runtime_error("no window"); };
  EXPECT_THROW(ShowAboutBox(services, owner), std::runtime_error);
  EXPECT_EQ(CalcAboutForm, nullptr);
}

}  // namespace
}  // namespace hk
