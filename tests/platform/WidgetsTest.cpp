#include "platform/Widgets.h"

#include <gtest/gtest.h>

#include "platform/ErrorLog.h"
#include "platform/RecordingServices.h"

namespace hk {
namespace {

TEST(Control, ChildrenRegisterAndLeaveTheirParent) {
  Form form(FormStyle::Dialog);
  Panel panel(&form);
  auto first = std::make_unique<Label>(&panel);
  Label second(&panel);
  EXPECT_EQ(panel.children(), (std::vector<Control*>{first.get(), &second}));
  first.reset();
  EXPECT_EQ(panel.children(), std::vector<Control*>{&second});

  // A parent that goes first leaves no dangling pointer behind.
  auto box = std::make_unique<Panel>(&form);
  Label orphan(box.get());
  box.reset();
  EXPECT_EQ(orphan.parent(), nullptr);
}

TEST(Control, AFormForgetsItsFocusAndDefaultButtonWhenTheyGo) {
  Form form(FormStyle::Dialog);
  auto edit = std::make_unique<Edit>(&form);
  auto ok = std::make_unique<Button>(&form);
  edit->focus();
  form.setDefaultButton(ok.get());
  edit.reset();
  ok.reset();
  EXPECT_EQ(form.focused(), nullptr);
  EXPECT_EQ(form.defaultButton(), nullptr);
  form.pressEnter();  // nothing to press, nothing to crash
}

TEST(Control, AHiddenOrDisabledControlGivesItsFocusHome) {
  for (const bool byPanel : {false, true}) {
    for (const bool hide : {true, false}) {
      Form form(FormStyle::Dialog);
      Button first(&form);
      Edit home(&form);
      Panel panel(&form);
      Edit inside(&panel);
      int enters = 0;
      home.OnEnter = [&] { ++enters; };
      inside.focus();
      Control& gone = byPanel ? static_cast<Control&>(panel) : inside;
      hide ? gone.setVisible(false) : gone.setEnabled(false);
      EXPECT_EQ(form.focused(), &first) << "no home: the first that takes the focus";
      form.setFocusHome(&home);
      gone.setVisible(true), gone.setEnabled(true), inside.focus();
      hide ? gone.setVisible(false) : gone.setEnabled(false);
      EXPECT_EQ(form.focused(), &home);
      EXPECT_EQ(enters, 0) << "handed back, not entered";
    }
  }
}

TEST(Control, SettersTellThePeerOnlyOfRealChanges) {
  struct Case {
    const char* name;
    std::function<void(Label&)> set;
    Change expected;
  };
  const Case cases[] = {
      {"bounds",
       [](Label& c) {
         c.setBounds({1, 2, 3, 4});
       },
       Change::Bounds},
      {"left", [](Label& c) { c.setLeft(7); }, Change::Bounds},
      {"visible", [](Label& c) { c.setVisible(false); }, Change::Visible},
      {"enabled", [](Label& c) { c.setEnabled(false); }, Change::Enabled},
      {"text", [](Label& c) { c.setText("長さ"); }, Change::Text},
      {"colour", [](Label& c) { c.setColour(kWhite); }, Change::Colour},
      {"alignment", [](Label& c) { c.setAlignment(Alignment::Right); }, Change::Repaint},
  };
  for (const Case& c : cases) {
    Form form(FormStyle::Dialog);
    Label label(&form);
    RecordingPeer& peer = AttachRecordingPeer(label);
    c.set(label);
    c.set(label);
    EXPECT_EQ(peer.changes, std::vector<Change>{c.expected}) << c.name;
  }
}

TEST(Control, ScreenReadersHearCaptionsWithoutAccessKeysAndAValueOfChildTexts) {
  const struct {
    const char* caption;
    const char* spoken;
  } captions[] = {
      {"長さ1&L", "長さ1L"}, {"&L", "L"}, {" ﾒｰﾄﾙ  ", "ﾒｰﾄﾙ"}, {"A&&B", "A&B"}, {"  ", ""}};
  for (const auto& c : captions) EXPECT_EQ(SpokenCaption(c.caption), c.spoken) << c.caption;

  Form form(FormStyle::Dialog);
  SpeedButton button(&form);
  button.setText("面積&w");
  button.setHint("ﾋﾝﾄ");
  EXPECT_EQ(button.accessibleShortcut(), "Alt+W");
  button.setText("");
  EXPECT_EQ(button.accessibleName(), "ﾋﾝﾄ");
  Edit edit(&form);
  edit.setText("100");
  EXPECT_EQ(edit.accessibleName(), "");  // its text is its value

  Panel result(&form);
  Label digits(&result);
  result.AccessibleValue = [&digits] { return digits.text(); };
  RecordingPeer& peer = AttachRecordingPeer(result);
  digits.setText("12");
  result.valueShown();
  EXPECT_EQ(peer.changes, (std::vector<Change>{Change::Value, Change::Value}));
}

TEST(Control, FontsFollowTheParentUntilSetAndChangesReachTheFollowers) {
  Form form(FormStyle::Dialog);
  Panel panel(&form);
  Label follower(&panel);
  Label own(&panel);
  Font big;
  big.height = -20;
  own.setFont(big);
  EXPECT_EQ(follower.font().name, "ＭＳ ゴシック");
  EXPECT_EQ(follower.font().height, -13);
  EXPECT_FALSE(form.parentFont());

  RecordingPeer& panelPeer = AttachRecordingPeer(panel);
  RecordingPeer& followerPeer = AttachRecordingPeer(follower);
  RecordingPeer& ownPeer = AttachRecordingPeer(own);
  Font bold;
  bold.bold = true;
  panel.setFont(bold);
  panel.setFont(bold);
  EXPECT_FALSE(panel.parentFont());
  EXPECT_TRUE(follower.font().bold);
  EXPECT_EQ(own.font().height, -20);
  EXPECT_EQ(panelPeer.count(Change::Font), 1u);
  EXPECT_EQ(followerPeer.count(Change::Font), 1u);
  EXPECT_EQ(ownPeer.count(Change::Font), 0u);

  own.setParentFont(true);
  EXPECT_TRUE(own.font().bold);
  EXPECT_EQ(ownPeer.count(Change::Font), 1u);
  follower.setParentFont(false);  // keeps what it shows
  form.setFont(big);
  EXPECT_TRUE(follower.font().bold);
}

TEST(Control, FindsTheDeepestVisibleComponentUnderAPoint) {
  Form form(FormStyle::BorderlessPopup);
  Panel panel(&form);
  panel.setBounds({10, 10, 100, 50});
  Label under(&panel);
  under.setBounds({5, 5, 20, 20});
  SpeedButton above(&panel);
  above.setBounds({5, 5, 20, 20});
  Label hidden(&form);
  hidden.setBounds({0, 0, 200, 200});
  hidden.setVisible(false);

  EXPECT_EQ(form.childAt({16, 16}), &above);
  EXPECT_EQ(form.childAt({80, 40}), &panel);
  EXPECT_EQ(form.childAt({150, 150}), nullptr);
  EXPECT_EQ(above.form(), &form);
  EXPECT_EQ(above.clientOrigin().x, 15);
  EXPECT_EQ(above.clientOrigin().y, 15);
}

TEST(Control, MouseDownReachesAnEnabledControl) {
  ErrorLog log;
  Form form(FormStyle::Dialog);
  Label label(&form);
  std::vector<int> seen;
  label.OnMouseDown = [&](MouseButton, int x, int) {
    seen.push_back(x);
    throw std::runtime_error("handled");
  };
  label.mouseDown(MouseButton::Right, 4, 5);
  label.setEnabled(false);
  label.mouseDown(MouseButton::Right, 6, 5);
  EXPECT_EQ(seen, std::vector<int>{4});
  EXPECT_EQ(log.texts, std::vector<std::string>{"handled"});
}

TEST(Control, AutoSizedRightAlignedLabelKeepsItsRightEdge) {
  Form form(FormStyle::Dialog);
  Label label(&form);
  label.setBounds({100, 0, 50, 13});
  label.setWidth(80);
  EXPECT_EQ(label.bounds(), (Rect{100, 0, 80, 13}));
  label.setAlignment(Alignment::Right);
  label.setWidth(30);
  EXPECT_EQ(label.bounds(), (Rect{150, 0, 30, 13}));
}

TEST(Form, ClientSizeAndFrameByStyle) {
  struct Case {
    FormStyle style;
    int outerWidth, outerHeight;
  };
  const Case cases[] = {
      {FormStyle::BorderlessPopup, 302, 202},
      {FormStyle::Sizable, 300, 200},
      {FormStyle::Dialog, 300, 200},
  };
  for (const Case& c : cases) {
    Form form(c.style);
    form.setClientSize(300, 200);
    EXPECT_EQ(form.bounds().width, c.outerWidth);
    EXPECT_EQ(form.bounds().height, c.outerHeight);
    EXPECT_EQ(form.clientWidth(), 300);
    EXPECT_EQ(form.clientHeight(), 200);
    form.setFrameExtent(8, 30);  // the real frame, measured by the peer
    EXPECT_EQ(form.bounds().width, 308);
    EXPECT_EQ(form.bounds().height, 230);
    EXPECT_EQ(form.clientWidth(), 300);
  }
}

TEST(Form, CloseCancelsAModalRunAndHidesAModelessForm) {
  struct Case {
    bool modal;
    int resultBefore;
    int resultAfter;
    bool visibleAfter;
  };
  const Case cases[] = {
      {false, kModalNone, kModalNone, false},
      {true, kModalNone, kModalCancel, true},
      {true, kModalOk, kModalOk, true},
  };
  for (const Case& c : cases) {
    Form form(FormStyle::Dialog);
    int closes = 0;
    form.OnClose = [&] { ++closes; };
    form.show();
    form.setModal(c.modal);
    form.setModalResult(c.resultBefore);
    form.close();
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(form.modalResult(), c.resultAfter);
    EXPECT_EQ(form.visible(), c.visibleAfter);
  }
}

TEST(Form, WindowRequestsReachThePeer) {
  Form form(FormStyle::BorderlessPopup);
  EXPECT_FALSE(form.visible());
  RecordingPeer& peer = AttachRecordingPeer(form);
  form.show();
  form.minimize();
  form.minimize();
  EXPECT_TRUE(form.minimized());
  form.restored();
  EXPECT_FALSE(form.minimized());
  form.beginDrag();
  form.setTopmost(true);
  form.setTopmost(true);
  EXPECT_EQ(peer.changes, (std::vector<Change>{Change::Visible, Change::Minimize, Change::Drag,
                                               Change::Topmost}));
}

TEST(Form, EnterPressesOnlyAUsableDefaultButton) {
  Form form(FormStyle::Dialog);
  Panel panel(&form);
  Button ok(&panel);
  int clicks = 0;
  ok.OnClick = [&] { ++clicks; };
  form.pressEnter();
  form.setDefaultButton(&ok);
  form.pressEnter();
  ok.setEnabled(false);
  form.pressEnter();
  ok.setEnabled(true);
  panel.setVisible(false);
  form.pressEnter();
  EXPECT_EQ(clicks, 1);
}

TEST(Form, AcceleratorsPressTheFirstUsableSpeedButtonDepthFirst) {
  Form form(FormStyle::BorderlessPopup);
  Panel hiddenPanel(&form);
  SpeedButton onHidden(&hiddenPanel);
  onHidden.setText("&Copy");
  hiddenPanel.setVisible(false);
  Panel panel(&form);
  SpeedButton disabled(&panel);
  disabled.setText("&Copy");
  disabled.setEnabled(false);
  SpeedButton copy(&panel);
  copy.setText("&Copy");
  SpeedButton later(&form);
  later.setText("&Copy");
  SpeedButton clear(&form);
  clear.setText("&&&Delete");
  std::string pressed;
  for (SpeedButton* b : {&onHidden, &disabled, &copy, &later, &clear}) {
    b->OnClick = [&pressed, b, &copy, &clear] {
      pressed += b == &copy ? "copy " : b == &clear ? "clear " : "wrong ";
    };
  }
  EXPECT_TRUE(form.pressAccelerator('c'));
  EXPECT_TRUE(form.pressAccelerator('d'));
  EXPECT_FALSE(form.pressAccelerator('x'));
  EXPECT_FALSE(form.pressAccelerator('\0'));
  EXPECT_EQ(pressed, "copy clear ");
}

TEST(Form, EventsOfTheWindow) {
  ErrorLog log;
  Form form(FormStyle::Sizable);
  std::vector<std::string> events;
  form.OnMessage = [&](unsigned m) { events.push_back("message " + std::to_string(m)); };
  form.OnResize = [&] { events.push_back("resize"); };
  form.OnDestroy = [&] { events.push_back("destroy"); };
  form.receiveMessage(0x401);
  form.resized({10, 10, 200, 100});
  form.resized({30, 30, 200, 100});  // moved only
  form.destroyed();
  form.destroyed();
  EXPECT_EQ(events, (std::vector<std::string>{"message 1025", "resize", "destroy"}));
  EXPECT_EQ(form.bounds(), (Rect{30, 30, 200, 100}));
}

}  // namespace
}  // namespace hk
