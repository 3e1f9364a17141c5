#include <gtest/gtest.h>

#include <cstdint>

#include "platform/ErrorLog.h"
#include "platform/RecordingServices.h"
#include "platform/Widgets.h"

namespace hk {
namespace {

TEST(Edit, TypingStopsAtTheByteLimitWithoutSplittingACharacter) {
  struct Case {
    int maxBytes;
    std::string before, typed, after;
  };
  const Case cases[] = {
      {0, "12", "345", "12345"},   {4, "12", "345", "1234"},
      {4, "12", "長", "12長"},     {4, "123", "長", "123"},  // half of 長 does not fit
      {5, "1", "長さ", "1長さ"},   {5, "12", "長さ", "12長"},
      {3, "12345", "6", "12345"},  // already over the limit: nothing more
      {6, "", "ﾒｰﾄﾙ表", "ﾒｰﾄﾙ表"},
  };
  for (const Case& c : cases) {
    Form form(FormStyle::Dialog);
    Edit edit(&form);
    edit.setText(c.before);
    edit.setMaxBytes(c.maxBytes);
    edit.typeText(c.typed);
    EXPECT_EQ(edit.text(), c.after) << c.before << " + " << c.typed;
  }
}

TEST(Edit, TheUsersTextIsCutAtTheLimitAndTheControlShowsTheCut) {
  struct Case {
    std::string before, entered, kept;
    bool textNotified, changed;
  };
  const Case cases[] = {
      {"", "1234", "1234", false, true},
      {"", "12345長", "12345", true, true},
      {"12345", "12345長", "12345", true, false},
      {"123", "123", "123", false, false},
  };
  for (const Case& c : cases) {
    Form form(FormStyle::Dialog);
    Edit edit(&form);
    edit.setText(c.before);
    edit.setMaxBytes(6);
    int changes = 0;
    edit.OnChange = [&] { ++changes; };
    RecordingPeer& peer = AttachRecordingPeer(edit);
    edit.userChanged(c.entered);
    EXPECT_EQ(edit.text(), c.kept) << c.entered;
    EXPECT_EQ(peer.count(Change::Text), c.textNotified ? 1u : 0u) << c.entered;
    EXPECT_EQ(changes, c.changed ? 1 : 0) << c.entered;
  }
}

TEST(Edit, SetTextFiresOnChangeOnlyForADifferentText) {
  Form form(FormStyle::Dialog);
  Edit edit(&form);
  int changes = 0;
  edit.OnChange = [&] { ++changes; };
  edit.setText("1");
  edit.setText("1");
  edit.setText("");
  EXPECT_EQ(changes, 2);
}

TEST(Edit, ADisabledEditTakesNoKeys) {
  Form form(FormStyle::Dialog);
  Edit edit(&form);
  edit.setText("1");
  edit.setEnabled(false);
  int keys = 0;
  edit.OnKeyPress = [&](char&) { ++keys; };
  edit.typeText("2");
  EXPECT_EQ(edit.pressKey('3'), 0);
  EXPECT_EQ(edit.text(), "1");
  EXPECT_EQ(keys, 0);
}

TEST(Edit, EnterGoesToAUsableDefaultButtonBeforeTheKeyHandler) {
  Form form(FormStyle::Dialog);
  Edit edit(&form);
  Button ok(&form);
  std::string seen;
  int clicks = 0;
  edit.OnKeyPress = [&](char& key) {
    seen += key == '\r' ? 'E' : key;
    if (key == 'x') key = 0;
  };
  ok.OnClick = [&] { ++clicks; };
  EXPECT_EQ(edit.pressKey('\r'), '\r');  // no default button yet
  form.setDefaultButton(&ok);
  EXPECT_EQ(edit.pressKey('\r'), 0);
  ok.setVisible(false);
  EXPECT_EQ(edit.pressKey('\r'), '\r');
  EXPECT_EQ(edit.pressKey('x'), 0);
  EXPECT_EQ(edit.pressKey('1'), '1');
  EXPECT_EQ(seen, "EEx1");
  EXPECT_EQ(clicks, 1);
}

TEST(Edit, FocusMovesTheFormsFocusAndFiresOnEnterOnce) {
  Form form(FormStyle::Dialog);
  Edit edit(&form);
  Edit disabled(&form);
  disabled.setEnabled(false);
  int enters = 0;
  edit.OnEnter = [&] { ++enters; };
  RecordingPeer& peer = AttachRecordingPeer(edit);
  edit.focus();
  edit.focus();
  disabled.focus();
  EXPECT_EQ(form.focused(), &edit);
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(peer.changes, std::vector<Change>{Change::Focus});
}

TEST(UpDown, LimitsAndPositionHoldEvery32BitValue) {
  for (const std::int32_t value : {0, 32768, -40000, 99999, INT32_MAX, INT32_MIN}) {
    UpDown updown(nullptr, nullptr);
    updown.setMinimum(value);
    updown.setMaximum(value);
    updown.setPosition(value);
    EXPECT_EQ(updown.minimum(), value);
    EXPECT_EQ(updown.maximum(), value);
    EXPECT_EQ(updown.position(), value);
  }
}

TEST(UpDown, StepsStopOrWrapAtTheLimits) {
  struct Case {
    int minimum, maximum, position;
    bool wrap, up;
    int expected;
    const char* typed = "";      // the edit's text before the step
    const char* kept = nullptr;  // the edit's text when the step leaves it
  };
  const Case cases[] = {
      {0, 10, 5, false, true, 6},
      {0, 10, 5, false, false, 4},
      {0, 10, 10, false, true, 10},
      {0, 10, 0, false, false, 0},
      {0, 10, 10, true, true, 0},
      {0, 10, 0, true, false, 10},
      {-5, 5, -5, true, false, 5},
      {10, 0, 5, false, true, 4},  // reversed limits
      {0, 32767, 32767, false, true, 32767},
      {0, 99999, 94000, true, true, 94001},
      {0, 99999, 94001, true, false, 94000},
      {0, INT32_MAX, INT32_MAX - 1, false, true, INT32_MAX},
      {0, INT32_MAX, INT32_MAX, false, true, INT32_MAX},
      // from the number typed in the edit; beyond the range, only toward it
      {53, 212, 107, false, true, 151, "150"},
      {53, 212, 107, false, true, 107, "40000", "40000"},
      {53, 212, 107, false, false, 212, "300"},
      {53, 212, 107, false, false, 107, "7", "7"},
      {0, 99, 5, true, true, 0, "150"},
      {-5, 5, 0, false, false, -5, "  -4"},
      {0, 10, 5, false, true, 6, "1,0"},  // no number: from the position
  };
  for (const Case& c : cases) {
    Edit edit(nullptr);
    edit.setText(c.typed);
    UpDown updown(nullptr, &edit);
    updown.setMinimum(c.minimum);
    updown.setMaximum(c.maximum);
    updown.setPosition(c.position);
    updown.setWrap(c.wrap);
    c.up ? updown.stepUp() : updown.stepDown();
    EXPECT_EQ(updown.position(), c.expected) << c.minimum << ".." << c.maximum << " " << c.position;
    EXPECT_EQ(edit.text(), c.kept ? c.kept : std::to_string(c.expected));
  }
}

TEST(UpDown, OnlyAStepWritesTheEdit) {
  Edit edit(nullptr);
  UpDown updown(nullptr, &edit);
  updown.setMaximum(20000);
  int changes = 0;
  edit.OnChange = [&] { ++changes; };
  updown.setPosition(12344);
  EXPECT_EQ(edit.text(), "");
  updown.stepUp();
  EXPECT_EQ(edit.text(), "12345");  // no thousands separator
  EXPECT_EQ(changes, 1);
}

TEST(SpeedButton, GroupsKeepAtMostOneButtonDown) {
  struct Case {
    bool allowAllUp;
    int clicked;  // 0 or 1, the group is {0, 1}; button 2 has another group
    bool downBefore[3];
    bool downAfter[3];
  };
  const Case cases[] = {
      {false, 0, {false, true, true}, {true, false, true}},
      {false, 0, {true, false, true}, {true, false, true}},  // stays down
      {true, 0, {true, false, true}, {false, false, true}},  // raised
      {true, 1, {true, false, false}, {false, true, false}},
  };
  for (const Case& c : cases) {
    Panel panel(nullptr);
    SpeedButton buttons[] = {SpeedButton(&panel), SpeedButton(&panel), SpeedButton(&panel)};
    Panel elsewhere(nullptr);
    SpeedButton stranger(&elsewhere);  // same index, other parent
    stranger.setGroupIndex(1);
    stranger.setDown(true);
    int clicks = 0;
    for (int i = 0; i < 3; ++i) {
      buttons[i].setGroupIndex(i < 2 ? 1 : 2);
      buttons[i].setAllowAllUp(c.allowAllUp);
      buttons[i].setDown(c.downBefore[i]);
      buttons[i].OnClick = [&] { ++clicks; };
    }
    buttons[c.clicked].click();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(buttons[i].down(), c.downAfter[i]) << i;
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(stranger.down());
  }
}

TEST(SpeedButton, UngroupedAndDisabledClicks) {
  SpeedButton plain(nullptr);
  int clicks = 0;
  plain.OnClick = [&] { ++clicks; };
  plain.click();
  EXPECT_FALSE(plain.down());
  plain.setEnabled(false);
  plain.click();
  EXPECT_EQ(clicks, 1);
}

TEST(SpeedButton, AcceleratorIsTheLetterAfterASingleAmpersand) {
  const std::pair<const char*, char> cases[] = {
      {"&Copy", 'C'}, {"co&py", 'P'}, {"A&&B", 0}, {"A&&&b", 'B'}, {"no marker", 0},
      {"end&", 0},    {"長&1", '1'},  {"&長", 0},  {"ソ&x", 'X'},  {"メ&y", 'Y'},
  };
  for (const auto& [caption, expected] : cases) {
    SpeedButton button(nullptr);
    button.setText(caption);
    EXPECT_EQ(button.accelerator(), expected) << caption;
  }
}

TEST(Button, AModalResultIsSetAfterOnClickEvenWhenItFails) {
  ErrorLog log;
  Form form(FormStyle::Dialog);
  Button ok(&form);
  ok.setModalResult(kModalOk);
  int resultSeenByHandler = -1;
  ok.OnClick = [&] {
    resultSeenByHandler = form.modalResult();
    throw std::runtime_error("failed");
  };
  ok.click();
  EXPECT_EQ(resultSeenByHandler, kModalNone);
  EXPECT_EQ(form.modalResult(), kModalOk);
  EXPECT_EQ(log.texts.size(), 1u);

  form.setModalResult(kModalNone);
  ok.setEnabled(false);
  ok.click();
  EXPECT_EQ(form.modalResult(), kModalNone);
}

TEST(Glyphs, PictureSettersTellThePeer) {
  SpeedButton speed(nullptr);
  BitBtn bit(nullptr);
  Image image(nullptr);
  RecordingPeer& p1 = AttachRecordingPeer(speed);
  RecordingPeer& p2 = AttachRecordingPeer(bit);
  RecordingPeer& p3 = AttachRecordingPeer(image);
  const Picture glyph = Picture::FromResource("BTN_COPY", 64, 16, 4);
  speed.setGlyph(glyph);
  bit.setGlyph(glyph);
  image.setPicture(glyph);
  image.setPicture(glyph);
  for (RecordingPeer* p : {&p1, &p2, &p3})
    EXPECT_EQ(p->changes, std::vector<Change>{Change::Glyph});
}

}  // namespace
}  // namespace hk
