// Input through the view root without drawing: which touches the views take and which reach
// the game, the controls' reactions, text editing in a field and the modal alert.
#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <string>
#include <vector>

#include "ActivityIndicator.h"
#include "Alert.h"
#include "AlertDelegate.h"
#include "SegmentedControl.h"
#include "Switch.h"
#include "TextField.h"
#include "TextFieldDelegate.h"
#include "ViewRoot.h"

namespace {

using namespace Ui;

// A plain view that notes the touch events it receives.
class RecordingView : public View {
 public:
  explicit RecordingView(const ViewRect& frame) : View(frame) {}
  void touchDown(int x, int y) override { events.push_back("down " + std::to_string(x) + "," + std::to_string(y)); }
  void touchDrag(int x, int y) override { events.push_back("drag " + std::to_string(x) + "," + std::to_string(y)); }
  void touchUp(int x, int y) override { events.push_back("up " + std::to_string(x) + "," + std::to_string(y)); }
  void touchCancelled() override { events.push_back("cancelled"); }
  std::vector<std::string> events;
};

class RecordingAlertDelegate : public AlertDelegate {
 public:
  void alertClickedButtonAtIndex(Alert& alert, int index) override {
    answers.push_back(index);
    visibleDuringAnswer = alert.isVisible();
    if (showAgainOn != nullptr) {
      View* screen = showAgainOn;
      showAgainOn = nullptr;
      alert.show(*screen);
    }
  }
  std::vector<int> answers;
  bool visibleDuringAnswer = true;
  View* showAgainOn = nullptr;
};

class RecordingFieldDelegate : public TextFieldDelegate {
 public:
  bool textFieldShouldReturn(TextField& field) override {
    events.push_back("return:" + field.text());
    return allowReturn;
  }
  void textFieldDidBeginEditing(TextField&) override { events.push_back("begin"); }
  void textFieldDidEndEditing(TextField& field) override { events.push_back("end:" + field.text()); }
  std::vector<std::string> events;
  bool allowReturn = true;
};

int fakeNow = 0;

class ViewInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Installing the handler reports the current state at once: off.
    root.setTextInputHandler([this](bool on) { textInput.push_back(on); });
  }

  // A whole tap; returns whether the views took it (down and up must agree).
  bool tap(int x, int y) {
    const bool down = root.handleTouchDown(x, y);
    const bool up = root.handleTouchUp(x, y);
    EXPECT_EQ(down, up) << "at " << x << "," << y;
    return down;
  }
  bool tapCentre(const ViewRect& r) { return tap(static_cast<int>(r.centerX()), static_cast<int>(r.centerY())); }

  std::shared_ptr<Alert> makeAlert(AlertDelegate* delegate, const char* cancel, std::vector<std::string> others) {
    return std::make_shared<Alert>("Game Mode Change",
                                   "Changing the game mode requires you to end your current game. Are you sure "
                                   "you want to restart your game?",
                                   delegate, cancel, others);
  }

  ViewRoot root{320, 480, [] { return fakeNow; }};
  std::vector<bool> textInput;
};

TEST_F(ViewInputTest, TouchesOnAViewAreTakenWithTheirWholeSequenceAndOthersReachTheGame) {
  auto view = std::make_shared<RecordingView>(ViewRect(100, 100, 50, 40));
  root.addSubview(view);
  struct Case {
    int x, y;
    bool taken;
  };
  // Edges: the frame holds x 100..149 and y 100..139.
  const std::vector<Case> cases = {{100, 100, true}, {149, 139, true}, {125, 120, true}, {99, 120, false},
                                   {150, 120, false}, {125, 140, false}, {0, 0, false},  {319, 479, false}};
  for (const Case& c : cases) {
    view->events.clear();
    EXPECT_EQ(root.handleTouchDown(c.x, c.y), c.taken) << c.x << "," << c.y;
    // The drag and the lift go wherever the touch-down went, even far away.
    EXPECT_EQ(root.handleTouchDrag(300, 10), c.taken) << c.x << "," << c.y;
    EXPECT_EQ(root.handleTouchUp(300, 10), c.taken) << c.x << "," << c.y;
    const std::vector<std::string> expected =
        c.taken ? std::vector<std::string>{"down " + std::to_string(c.x) + "," + std::to_string(c.y), "drag 300,10",
                                           "up 300,10"}
                : std::vector<std::string>{};
    EXPECT_EQ(view->events, expected) << c.x << "," << c.y;
  }
  // A touch of the game that slides over the view stays the game's.
  EXPECT_FALSE(root.handleTouchDown(10, 10));
  EXPECT_FALSE(root.handleTouchDrag(125, 120));
  EXPECT_FALSE(root.handleTouchUp(125, 120));
}

TEST_F(ViewInputTest, FrontmostDeepestVisibleTouchableViewGetsTheTouch) {
  auto back = std::make_shared<RecordingView>(ViewRect(0, 0, 200, 200));
  auto front = std::make_shared<RecordingView>(ViewRect(50, 50, 100, 100));
  auto inner = std::make_shared<RecordingView>(ViewRect(10, 10, 20, 20));  // at 60..79 on screen
  root.addSubview(back);
  root.addSubview(front);
  front->addSubview(inner);
  tap(65, 65);
  EXPECT_EQ(inner->events.size(), 2u);
  EXPECT_TRUE(front->events.empty());
  tap(100, 100);
  EXPECT_EQ(front->events.size(), 2u);
  EXPECT_TRUE(back->events.empty());

  front->setHidden(true);  // hidden: neither it nor its subview takes touches
  tap(65, 65);
  EXPECT_EQ(back->events.size(), 2u);
  EXPECT_EQ(inner->events.size(), 2u);

  // The spinner lets touches through to the game.
  auto spinner = std::make_shared<ActivityIndicator>(ActivityIndicator::STYLE_WHITE, ViewRect(140, 200, 40, 40));
  spinner->startAnimating();
  root.addSubview(spinner);
  EXPECT_FALSE(tap(160, 220));
}

TEST_F(ViewInputTest, AViewLeavingTheScreenMidTouchIsCancelledAndTheRestOfTheTouchStaysAway) {
  auto view = std::make_shared<RecordingView>(ViewRect(10, 10, 50, 50));
  root.addSubview(view);
  EXPECT_TRUE(root.handleTouchDown(20, 20));
  view->removeFromSuperview();
  // The game never saw the touch-down, so it must not get half of the touch either.
  EXPECT_TRUE(root.handleTouchDrag(30, 30));
  EXPECT_TRUE(root.handleTouchUp(30, 30));
  EXPECT_EQ(view->events, (std::vector<std::string>{"down 20,20", "cancelled"}));
  // The next touch there reaches the game.
  EXPECT_FALSE(tap(20, 20));
}

TEST_F(ViewInputTest, ViewsOwnedByAScreenSurviveRemovalAndCanComeBack) {
  auto view = std::make_shared<RecordingView>(ViewRect(0, 0, 10, 10));
  std::weak_ptr<View> watch = view;
  root.addSubview(view);
  view->removeFromSuperview();
  view->removeFromSuperview();  // twice is harmless
  EXPECT_EQ(view->superview(), nullptr);
  EXPECT_TRUE(root.subviews().empty());
  root.addSubview(view);
  root.addSubview(view);  // adding again brings it to the front, once
  EXPECT_EQ(root.subviews().size(), 1u);

  // Moving it to another superview takes it from the first.
  auto holder = std::make_shared<View>(ViewRect(100, 100, 50, 50));
  root.addSubview(holder);
  holder->addSubview(view);
  EXPECT_EQ(root.subviews().size(), 1u);
  EXPECT_EQ(view->superview(), holder.get());
  EXPECT_EQ(view->screenFrame().x, 100.0f);
  EXPECT_EQ(view->root(), &root);

  // Once nobody holds it, removing it frees it.
  view.reset();
  EXPECT_FALSE(watch.expired());  // the holder still has it
  holder->subviews().front()->removeFromSuperview();
  EXPECT_TRUE(watch.expired());
}

TEST_F(ViewInputTest, ViewsOutliveTheirRootWithoutPointingBackAtIt) {
  auto field = std::make_shared<TextField>(ViewRect(10, 10, 100, 28));
  {
    ViewRoot screen(320, 480, [] { return 0; });
    screen.addSubview(field);
    ASSERT_TRUE(field->becomeFirstResponder());
  }
  EXPECT_EQ(field->superview(), nullptr);
  EXPECT_EQ(field->root(), nullptr);
  EXPECT_FALSE(field->isEditing());
}

TEST(ViewThreadDeathTest, ChangingAnOnScreenTreeFromAnotherThreadStopsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        ViewRoot screen(320, 480, [] { return 0; });
        auto view = std::make_shared<View>(ViewRect(0, 0, 10, 10));
        screen.addSubview(view);
        // A worker must queue the removal for the drawing thread instead.
        std::thread worker([&] { view->removeFromSuperview(); });
        worker.join();
      },
      "isOwnerThread");
}

TEST_F(ViewInputTest, SwitchFlipsOnATapAndCallsItsActionOnlyForTaps) {
  auto toggle = std::make_shared<Switch>(187, 238);
  int actions = 0;
  bool seen = false;
  toggle->setAction([&](Switch& s) {
    ++actions;
    seen = s.isOn();
  });
  root.addSubview(toggle);
  EXPECT_TRUE(tapCentre(toggle->frame()));
  EXPECT_TRUE(toggle->isOn());
  EXPECT_EQ(actions, 1);
  EXPECT_TRUE(seen);
  EXPECT_TRUE(tapCentre(toggle->frame()));
  EXPECT_FALSE(toggle->isOn());
  EXPECT_EQ(actions, 2);

  // Sliding off before lifting changes nothing.
  EXPECT_TRUE(root.handleTouchDown(200, 250));
  EXPECT_TRUE(root.handleTouchDrag(10, 10));
  EXPECT_TRUE(root.handleTouchUp(10, 10));
  EXPECT_FALSE(toggle->isOn());
  EXPECT_EQ(actions, 2);

  // Values set by the screen call no action.
  toggle->setOn(true);
  toggle->setOn(true, true);
  EXPECT_TRUE(toggle->isOn());
  EXPECT_EQ(actions, 2);
}

TEST_F(ViewInputTest, SegmentedControlSelectsTheTappedSegmentOnce) {
  auto control = std::make_shared<SegmentedControl>(std::vector<std::string>{"Local", "Global"},
                                                    ViewRect(80, 400, 160, 30));
  std::vector<int> changes;
  control->setAction([&](SegmentedControl& c) { changes.push_back(c.selectedSegmentIndex()); });
  control->setSelectedSegmentIndex(0);
  root.addSubview(control);
  EXPECT_TRUE(tap(200, 415));  // the right half: segment 1
  EXPECT_EQ(control->selectedSegmentIndex(), 1);
  EXPECT_TRUE(tap(230, 415));  // already selected: no action
  EXPECT_TRUE(tap(100, 415));
  EXPECT_EQ(changes, (std::vector<int>{1, 0}));
  control->setSelectedSegmentIndex(1);  // from code: no action
  EXPECT_EQ(changes.size(), 2u);
  // A touch that starts on one segment and ends on the other selects nothing.
  EXPECT_TRUE(root.handleTouchDown(100, 415));
  EXPECT_TRUE(root.handleTouchUp(200, 415));
  EXPECT_EQ(control->selectedSegmentIndex(), 1);
}

class TextFieldInputTest : public ViewInputTest {
 protected:
  void SetUp() override {
    ViewInputTest::SetUp();
    field = std::make_shared<TextField>(ViewRect(77, 235, 166, 28));
    field->setDelegate(&delegate);
    field->setPlaceholder("Tap to enter name");
    root.addSubview(field);
  }
  void type(const char* text) { EXPECT_TRUE(root.handleTextInput(text)) << text; }

  std::shared_ptr<TextField> field;
  RecordingFieldDelegate delegate;
};

TEST_F(TextFieldInputTest, TapStartsEditingAndReturnEndsIt) {
  EXPECT_FALSE(root.handleTextInput("x"));  // no field is editing: nothing takes text
  EXPECT_FALSE(root.handleKey(ViewKey::BACKSPACE));
  EXPECT_TRUE(field->text().empty());

  EXPECT_TRUE(tap(100, 245));
  EXPECT_TRUE(field->isEditing());
  EXPECT_EQ(textInput, (std::vector<bool>{false, true}));  // state at installation, then on
  type("Zo");
  type("\xC3\xAB");  // ë
  EXPECT_TRUE(root.handleKey(ViewKey::BACKSPACE));
  EXPECT_EQ(field->text(), "Zo");
  type("\xC3\xAB");
  EXPECT_TRUE(root.handleKey(ViewKey::RETURN));
  EXPECT_FALSE(field->isEditing());
  EXPECT_EQ(textInput, (std::vector<bool>{false, true, false}));
  EXPECT_EQ(delegate.events, (std::vector<std::string>{"begin", "return:Zo\xC3\xAB", "end:Zo\xC3\xAB"}));
  EXPECT_EQ(field->text(), "Zo\xC3\xAB");
  // After editing, typing goes nowhere.
  EXPECT_FALSE(root.handleTextInput("!"));
  EXPECT_EQ(field->text(), "Zo\xC3\xAB");
}

TEST_F(TextFieldInputTest, DelegateCanKeepTheFieldEditingOnReturn) {
  delegate.allowReturn = false;
  ASSERT_TRUE(field->becomeFirstResponder());
  EXPECT_TRUE(root.handleKey(ViewKey::RETURN));
  EXPECT_TRUE(field->isEditing());
}

TEST_F(TextFieldInputTest, EmptyNameIsEmptyAndThePlaceholderIsNeverTheText) {
  ASSERT_TRUE(field->becomeFirstResponder());
  type("a");
  EXPECT_TRUE(root.handleKey(ViewKey::BACKSPACE));
  EXPECT_TRUE(root.handleKey(ViewKey::BACKSPACE));  // on an empty field: nothing happens
  field->endEditing();
  EXPECT_EQ(field->text(), "");
  EXPECT_EQ(field->placeholder(), "Tap to enter name");
}

TEST_F(TextFieldInputTest, KeysWithoutTextDoNothingToTheText) {
  field->setText("ab");
  ASSERT_TRUE(field->becomeFirstResponder());
  for (ViewKey key : {ViewKey::LEFT, ViewKey::RIGHT, ViewKey::HOME, ViewKey::END, ViewKey::LEFT}) {
    EXPECT_TRUE(root.handleKey(key));
  }
  EXPECT_FALSE(root.handleKey(ViewKey::ESCAPE));
  type("");
  type("\n");
  EXPECT_EQ(field->text(), "ab");
  type("X");  // the caret was left one step from the end
  EXPECT_EQ(field->text(), "aXb");
  EXPECT_TRUE(root.handleKey(ViewKey::DELETE));
  EXPECT_EQ(field->text(), "aX");
}

TEST_F(TextFieldInputTest, RemovingTheFieldWhileEditingEndsEditingAndKeyboardInput) {
  ASSERT_TRUE(field->becomeFirstResponder());
  type("Bo");
  field->removeFromSuperview();
  EXPECT_FALSE(field->isEditing());
  EXPECT_EQ(textInput.back(), false);
  EXPECT_EQ(delegate.events.back(), "end:Bo");
  EXPECT_FALSE(root.handleTextInput("b"));
  EXPECT_EQ(field->text(), "Bo");  // the field keeps its text for its next showing
  // A field that is not on screen cannot start editing.
  EXPECT_FALSE(field->becomeFirstResponder());
  root.addSubview(field);
  EXPECT_TRUE(field->becomeFirstResponder());
  EXPECT_EQ(field->caret(), 2u);
}

TEST_F(TextFieldInputTest, SecondFieldTakesOverEditingWithoutFlickeringKeyboardInput) {
  auto other = std::make_shared<TextField>(ViewRect(77, 300, 166, 28));
  root.addSubview(other);
  ASSERT_TRUE(field->becomeFirstResponder());
  ASSERT_TRUE(tap(100, 310));
  EXPECT_TRUE(other->isEditing());
  EXPECT_FALSE(field->isEditing());
  EXPECT_EQ(delegate.events, (std::vector<std::string>{"begin", "end:"}));
  EXPECT_EQ(textInput, (std::vector<bool>{false, true}));
  type("q");
  EXPECT_EQ(other->text(), "q");
  EXPECT_EQ(field->text(), "");
}

TEST_F(TextFieldInputTest, TapInTheTextMovesTheCaretToTheNearestCharacter) {
  field->setText("WWWW");
  ASSERT_TRUE(field->becomeFirstResponder());
  EXPECT_EQ(field->caret(), 4u);
  // Just right of the text's left edge: before the first letter.
  EXPECT_TRUE(tap(static_cast<int>(77 + TextField::TEXT_INSET + 2), 245));
  EXPECT_EQ(field->caret(), 0u);
  type("\xE2\x82\xAC");
  EXPECT_EQ(field->text(), "\xE2\x82\xAC" "WWWW");
}

class AlertInputTest : public ViewInputTest {
 protected:
  RecordingAlertDelegate delegate;
};

TEST_F(AlertInputTest, ButtonsAnswerWithTheirIndexCancelFirst) {
  auto alert = makeAlert(&delegate, "Cancel", {"OK"});
  EXPECT_EQ(alert->numberOfButtons(), 2);
  EXPECT_EQ(alert->cancelButtonIndex(), 0);
  EXPECT_EQ(alert->buttonTitleAtIndex(1), "OK");
  for (int index : {1, 0}) {
    alert->show(root);
    ASSERT_TRUE(alert->isVisible());
    EXPECT_TRUE(tapCentre(alert->buttonFrame(index)));
    EXPECT_FALSE(alert->isVisible());
  }
  EXPECT_EQ(delegate.answers, (std::vector<int>{1, 0}));
  EXPECT_FALSE(delegate.visibleDuringAnswer);  // gone from the screen before the answer
}

TEST_F(AlertInputTest, ModalAlertTakesEveryTouchAndOnlyItsButtonsAnswer) {
  auto underneath = std::make_shared<RecordingView>(ViewRect(0, 0, 320, 480));
  root.addSubview(underneath);
  auto alert = makeAlert(&delegate, "Cancel", {"OK"});
  alert->show(*underneath);  // any view of the screen will do
  const ViewRect panel = alert->panelFrame();
  const ViewRect ok = alert->buttonFrame(1);
  const int points[][2] = {{0, 0}, {319, 479}, {static_cast<int>(panel.x) + 3, static_cast<int>(panel.y) + 3},
                           {static_cast<int>(ok.x) - 3, static_cast<int>(ok.centerY())}};
  for (const auto& p : points) EXPECT_TRUE(tap(p[0], p[1])) << p[0] << "," << p[1];
  // Pressed on one button, lifted on the other: no answer.
  const ViewRect cancel = alert->buttonFrame(0);
  EXPECT_TRUE(root.handleTouchDown(static_cast<int>(ok.centerX()), static_cast<int>(ok.centerY())));
  EXPECT_TRUE(root.handleTouchDrag(static_cast<int>(cancel.centerX()), static_cast<int>(cancel.centerY())));
  EXPECT_TRUE(root.handleTouchUp(static_cast<int>(cancel.centerX()), static_cast<int>(cancel.centerY())));
  EXPECT_TRUE(delegate.answers.empty());
  EXPECT_TRUE(alert->isVisible());
  EXPECT_TRUE(underneath->events.empty());
  // A view's touch that was down when the alert came up is cancelled, and its rest taken.
  alert->dismiss();
  EXPECT_TRUE(root.handleTouchDown(5, 5));
  alert->show(root);
  EXPECT_TRUE(root.handleTouchDrag(6, 6));
  EXPECT_TRUE(root.handleTouchUp(6, 6));
  EXPECT_EQ(underneath->events, (std::vector<std::string>{"down 5,5", "cancelled"}));
  // So is the rest of a touch of the game.
  alert->dismiss();
  underneath->removeFromSuperview();
  EXPECT_FALSE(root.handleTouchDown(5, 5));
  alert->show(root);
  EXPECT_TRUE(root.handleTouchDrag(6, 6));
  EXPECT_TRUE(root.handleTouchUp(6, 6));
  EXPECT_TRUE(delegate.answers.empty());
}

TEST_F(AlertInputTest, ReturnAnswersWithTheDefaultButtonAndEscapeWithCancel) {
  struct Case {
    const char* label;
    const char* cancel;
    std::vector<std::string> others;
    ViewKey key;
    int expected;  // -1: no answer, the alert stays
    int defaultButton = -1;  // -1: left as it is (the last button)
  };
  const std::vector<Case> cases = {
      {"return, cancel and OK", "Cancel", {"OK"}, ViewKey::RETURN, 1},
      {"escape, cancel and OK", "Cancel", {"OK"}, ViewKey::ESCAPE, 0},
      {"return, three buttons", "Cancel", {"A", "B"}, ViewKey::RETURN, 2},
      {"return, single Ok", nullptr, {"Ok"}, ViewKey::RETURN, 0},
      {"escape without cancel button", nullptr, {"Ok"}, ViewKey::ESCAPE, -1},
      {"backspace", "Cancel", {"OK"}, ViewKey::BACKSPACE, -1},
      // A question whose last button destroys something makes the safe one the default.
      {"return, cancel made the default", "Keep", {"End"}, ViewKey::RETURN, 0, 0},
      {"escape, cancel made the default", "Keep", {"End"}, ViewKey::ESCAPE, 0, 0},
      {"return, middle made the default", "Cancel", {"A", "B"}, ViewKey::RETURN, 1, 1},
  };
  for (const Case& c : cases) {
    delegate.answers.clear();
    auto alert = makeAlert(&delegate, c.cancel, c.others);
    if (c.defaultButton >= 0) alert->setDefaultButtonIndex(c.defaultButton);
    EXPECT_EQ(c.defaultButton >= 0 ? c.defaultButton : alert->numberOfButtons() - 1, alert->defaultButtonIndex()) << c.label;
    alert->show(root);
    EXPECT_TRUE(root.handleKey(c.key)) << c.label;  // a modal alert takes every key
    if (c.expected < 0) {
      EXPECT_TRUE(delegate.answers.empty()) << c.label;
      EXPECT_TRUE(alert->isVisible()) << c.label;
      alert->dismiss();
    } else {
      EXPECT_EQ(delegate.answers, std::vector<int>{c.expected}) << c.label;
      EXPECT_FALSE(alert->isVisible()) << c.label;
    }
    EXPECT_EQ(root.activeModal(), nullptr) << c.label;
  }
}

// Left and Right move the focus between the buttons (stopping at either end); Return answers
// with the focused one; each showing starts on the default button again.
TEST_F(AlertInputTest, LeftAndRightMoveTheFocusThatReturnAnswers) {
  auto alert = makeAlert(&delegate, "Keep", {"End"});
  alert->setDefaultButtonIndex(0);
  struct Case {
    const char* label;
    std::vector<ViewKey> keys;
    int answer;
  } cases[] = {
      {"right", {ViewKey::RIGHT}, 1},
      {"right twice stops at the end", {ViewKey::RIGHT, ViewKey::RIGHT}, 1},
      {"left stops at the start", {ViewKey::LEFT}, 0},
      {"right then left", {ViewKey::RIGHT, ViewKey::LEFT}, 0},
      {"nothing: the default again", {}, 0},
  };
  for (const Case& c : cases) {
    delegate.answers.clear();
    alert->show(root);
    for (ViewKey key : c.keys) EXPECT_TRUE(root.handleKey(key)) << c.label;
    EXPECT_TRUE(alert->isVisible()) << c.label;
    EXPECT_EQ(c.answer, alert->focusedButtonIndex()) << c.label;
    EXPECT_TRUE(root.handleKey(ViewKey::RETURN));
    EXPECT_EQ(delegate.answers, std::vector<int>{c.answer}) << c.label;
  }
}

TEST_F(AlertInputTest, TextFieldUnderAnAlertGetsNoTypingUntilTheAlertIsAnswered) {
  auto field = std::make_shared<TextField>(ViewRect(77, 235, 166, 28));
  root.addSubview(field);
  ASSERT_TRUE(field->becomeFirstResponder());
  auto alert = makeAlert(&delegate, "Cancel", {"OK"});
  alert->show(root);
  EXPECT_TRUE(root.handleTextInput("x"));  // swallowed by the alert
  EXPECT_TRUE(root.handleKey(ViewKey::ESCAPE));
  EXPECT_EQ(field->text(), "");
  EXPECT_TRUE(root.handleTextInput("y"));
  EXPECT_EQ(field->text(), "y");
}

TEST_F(AlertInputTest, AlertStaysOnTopOfViewsAddedAfterItAndCanBeShownAgainFromItsAnswer) {
  auto alert = makeAlert(&delegate, "Cancel", {"OK"});
  alert->show(root);
  alert->show(root);  // already shown: once
  auto later = std::make_shared<Switch>(187, 238);
  root.addSubview(later);
  ASSERT_EQ(root.subviews().size(), 2u);
  EXPECT_EQ(root.subviews().back().get(), alert.get());
  EXPECT_EQ(root.activeModal(), alert.get());

  delegate.showAgainOn = &root;
  EXPECT_TRUE(root.handleKey(ViewKey::RETURN));
  EXPECT_EQ(delegate.answers, std::vector<int>{1});
  EXPECT_TRUE(alert->isVisible());
  EXPECT_TRUE(root.handleKey(ViewKey::RETURN));
  EXPECT_FALSE(alert->isVisible());
  EXPECT_TRUE(tapCentre(later->frame()));
  EXPECT_TRUE(later->isOn());
}

TEST_F(AlertInputTest, ButtonsLieInsideThePanelAndThePanelInsideTheScreen) {
  std::string longMessage;
  for (int i = 0; i < 400; ++i) longMessage += "A very long message. ";
  struct Case {
    const char* label;
    std::string message;
    const char* cancel;
    std::vector<std::string> others;
  };
  const std::vector<Case> cases = {
      {"single button", "There was an error uploading your high score.\n\nPlease check your internet connection.",
       nullptr, {"Ok"}},
      {"two buttons", "Are you sure?", "Cancel", {"OK"}},
      {"four stacked buttons", "Pick one", "Cancel", {"A", "B", "C"}},
      {"message longer than the screen", longMessage, "Cancel", {"OK"}},
      {"empty texts", "", nullptr, {""}},
  };
  for (const Case& c : cases) {
    auto alert = std::make_shared<Alert>("Title", c.message, &delegate, c.cancel, c.others);
    alert->show(root);
    const ViewRect panel = alert->panelFrame();
    EXPECT_GE(panel.y, 0.0f) << c.label;
    EXPECT_LE(panel.bottom(), 480.0f) << c.label;
    EXPECT_GE(panel.x, 0.0f) << c.label;
    EXPECT_LE(panel.right(), 320.0f) << c.label;
    for (int i = 0; i < alert->numberOfButtons(); ++i) {
      const ViewRect b = alert->buttonFrame(i);
      EXPECT_TRUE(b.x >= panel.x && b.right() <= panel.right() && b.y >= panel.y && b.bottom() <= panel.bottom())
          << c.label << " button " << i;
      EXPECT_GE(b.h, 30.0f) << c.label;
      for (int j = 0; j < i; ++j) {
        const ViewRect o = alert->buttonFrame(j);
        const bool apart = b.x >= o.right() || o.x >= b.right() || b.y >= o.bottom() || o.y >= b.bottom();
        EXPECT_TRUE(apart) << c.label << " buttons " << j << " and " << i;
      }
    }
    // Every button can be clicked.
    const int last = alert->numberOfButtons() - 1;
    delegate.answers.clear();
    EXPECT_TRUE(tapCentre(alert->buttonFrame(last)));
    EXPECT_EQ(delegate.answers, std::vector<int>{last}) << c.label;
  }
}

}  // namespace
