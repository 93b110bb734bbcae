// The controls drawn over a frame in the headless GL context and read back: the switch's two
// looks and its slide, the text field's placeholder, caret and clipping, the alert over a
// darkened screen, the spinner, the segmented control, and the game's GL state afterwards.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ActivityIndicator.h"
#include "Alert.h"
#include "ViewStyle.h"
#include "TextMeasurer.h"
#include "AlertDelegate.h"
#include "BlendMode.h"
#include "MonoBitmap.h"
#include "SegmentedControl.h"
#include "Switch.h"
#include "TextField.h"
#include "Texture.h"
#include "RenderHarness.h"
#include "ViewRoot.h"

namespace {

using namespace Ui;

int drawingNow = 1000;

class ViewDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    harness = RenderHarness::instance();
    ASSERT_NE(harness, nullptr) << RenderHarness::failure();
    drawingNow = 1000;
    root.reset(new ViewRoot(320, 480, [] { return drawingNow; }));
  }
  void TearDown() override { root.reset(); }  // its textures go while the context is current

  // One frame: a plain background, then the views, then read back.
  void drawFrame(int r = 60, int g = 60, int b = 60) {
    harness->clear(r, g, b);
    root->draw();
    harness->readBack();
  }
  Rgba at(float x, float y) const { return harness->pixel(static_cast<int>(x), static_cast<int>(y)); }
  int count(const ViewRect& area, const std::function<bool(const Rgba&)>& test) const {
    int n = 0;
    for (int y = static_cast<int>(area.y); y < static_cast<int>(area.bottom()); ++y)
      for (int x = static_cast<int>(area.x); x < static_cast<int>(area.right()); ++x)
        if (test(harness->pixel(x, y))) ++n;
    return n;
  }
  std::vector<uint8_t> region(const ViewRect& area) const {
    std::vector<uint8_t> out;
    for (int y = static_cast<int>(area.y); y < static_cast<int>(area.bottom()); ++y)
      for (int x = static_cast<int>(area.x); x < static_cast<int>(area.right()); ++x) {
        const Rgba p = harness->pixel(x, y);
        out.insert(out.end(), {static_cast<uint8_t>(p.r), static_cast<uint8_t>(p.g), static_cast<uint8_t>(p.b)});
      }
    return out;
  }
  static bool light(const Rgba& p) { return p.r > 190 && p.g > 190 && p.b > 190; }
  // The blue accent (and its darker shade): blue far above red.
  static bool accent(const Rgba& p) { return p.b > 140 && p.b > p.r + 80; }
  static bool background(const Rgba& p) { return p.r == 60 && p.g == 60 && p.b == 60; }

  // Keeps the last read-back as a PNG under the test build folder, for looking at.
  void savePicture(const std::string& name) const {
    const char* api = harness->api() == OffscreenGlContext::OPENGL_2 ? "-gl2" : "-es1";
    harness->savePng(std::string(PELLIX_TEST_OUTPUT_DIR) + "/" + name + api + ".png");
  }

  RenderHarness* harness = nullptr;
  std::unique_ptr<ViewRoot> root;
};

TEST_F(ViewDrawingTest, SwitchShowsItsValueByTrackColourAndKnobSide) {
  auto toggle = std::make_shared<Switch>(128, 225);
  root->addSubview(toggle);
  const ViewRect f = toggle->frame();
  const float middle = f.centerX();  // the knob never covers the middle
  const float leftKnob = f.x + 15;
  const float rightKnob = f.right() - 15;

  drawFrame();
  EXPECT_FALSE(accent(at(middle, f.centerY())));
  EXPECT_TRUE(light(at(leftKnob, f.centerY())));
  EXPECT_FALSE(light(at(rightKnob, f.centerY())));

  toggle->setOn(true);
  drawFrame();
  savePicture("switch-on");
  EXPECT_TRUE(accent(at(middle, f.centerY())));
  EXPECT_TRUE(accent(at(leftKnob, f.centerY())));
  EXPECT_TRUE(light(at(rightKnob, f.centerY())));

  // A tap slides the knob back over SLIDE_MS.
  ASSERT_TRUE(root->handleTouchDown(static_cast<int>(middle), static_cast<int>(f.centerY())));
  ASSERT_TRUE(root->handleTouchUp(static_cast<int>(middle), static_cast<int>(f.centerY())));
  EXPECT_FALSE(toggle->isOn());
  drawFrame();
  EXPECT_TRUE(light(at(rightKnob, f.centerY())));  // the slide starts from where the knob was
  drawingNow += Switch::SLIDE_MS / 4;  // on its way: at neither end
  drawFrame();
  EXPECT_FALSE(light(at(rightKnob, f.centerY())));
  EXPECT_FALSE(light(at(leftKnob, f.centerY())));
  drawingNow += Switch::SLIDE_MS;
  drawFrame();
  EXPECT_TRUE(light(at(leftKnob, f.centerY())));
  EXPECT_FALSE(accent(at(middle, f.centerY())));
}

TEST_F(ViewDrawingTest, PlaceholderShowsOnlyWhileTheFieldIsEmpty) {
  auto field = std::make_shared<TextField>(ViewRect(77, 235, 166, 28));
  field->setBackgroundColour(ViewColour::white(0.0f, 0.9f));
  field->setTextColour(ViewColour::white(1.0f, 1.0f));
  field->setFont("Helvetica", 15);
  field->setBorderStyle(TextField::BORDER_BEZEL);
  root->addSubview(field);
  const ViewRect area = field->frame();
  auto look = [&](const std::string& text, const std::string& placeholder) {
    field->setText(text);
    field->setPlaceholder(placeholder);
    drawFrame();
    return region(area);
  };
  const std::vector<uint8_t> emptyWithout = look("", "");
  const std::vector<uint8_t> emptyWith = look("", "Tap to enter name");
  savePicture("field-placeholder");
  int differing = 0;
  for (size_t i = 0; i < emptyWith.size(); ++i) differing += emptyWith[i] != emptyWithout[i];
  EXPECT_GT(differing, 100);
  EXPECT_EQ(look("Ann", "Tap to enter name"), look("Ann", ""));
  EXPECT_NE(look("Ann", ""), emptyWithout);
}

TEST_F(ViewDrawingTest, CaretBlinksRightAfterTheTextWhileEditing) {
  auto field = std::make_shared<TextField>(ViewRect(77, 235, 166, 28));
  field->setText("Kim");
  root->addSubview(field);
  ASSERT_TRUE(field->becomeFirstResponder());
  const ViewRect inside = field->frame().insetBy(3, 3);
  drawFrame();
  savePicture("field-editing");
  int caretLeft = 1000;
  int textRight = -1;
  for (int y = static_cast<int>(inside.y); y < static_cast<int>(inside.bottom()); ++y)
    for (int x = static_cast<int>(inside.x); x < static_cast<int>(inside.right()); ++x) {
      if (accent(harness->pixel(x, y))) caretLeft = std::min(caretLeft, x);
      if (light(harness->pixel(x, y))) textRight = std::max(textRight, x);
    }
  ASSERT_GT(textRight, 0);
  ASSERT_LT(caretLeft, 1000);
  EXPECT_GE(caretLeft, textRight - 1);
  EXPECT_LE(caretLeft, textRight + 6);

  drawingNow += TextField::CARET_BLINK_MS + 10;
  drawFrame();
  EXPECT_EQ(count(inside, accent), 0);
  // Typing shows the caret again at once.
  ASSERT_TRUE(root->handleTextInput("!"));
  drawFrame();
  EXPECT_GT(count(inside, accent), 0);
}

TEST_F(ViewDrawingTest, LongTextStaysInsideTheFieldAndScrollsToTheCaret) {
  auto field = std::make_shared<TextField>(ViewRect(77, 235, 166, 28));
  field->setText(std::string(300, 'W') + "\xC3\x85");  // ends in Å
  root->addSubview(field);
  const ViewRect frame = field->frame();
  const ViewRect rightPart(frame.x + frame.w / 2, frame.y, frame.w / 2 - TextField::TEXT_INSET, frame.h);
  for (bool editing : {false, true}) {
    if (editing) {
      ASSERT_TRUE(field->becomeFirstResponder());
    }
    drawFrame();
    int outside = 0;
    for (int y = 0; y < RenderHarness::HEIGHT; ++y)
      for (int x = 0; x < RenderHarness::WIDTH; ++x)
        if (!frame.contains(static_cast<float>(x), static_cast<float>(y)) && !background(harness->pixel(x, y))) ++outside;
    EXPECT_EQ(outside, 0) << "editing " << editing;
    EXPECT_GT(count(rightPart, light), 20) << "editing " << editing;
  }
  savePicture("field-long");
}

class RecordingDelegate : public AlertDelegate {
 public:
  void alertClickedButtonAtIndex(Alert&, int index) override { last = index; }
  int last = -1;
};

TEST_F(ViewDrawingTest, AlertDarkensTheScreenAndShowsItsPanelAndButtons) {
  RecordingDelegate delegate;
  auto alert = std::make_shared<Alert>(
      "Game Mode Change",
      "Changing the game mode requires you to end your current game. Are you sure you want to restart your game?",
      &delegate, "Cancel", std::vector<std::string>{"OK"});
  alert->show(*root);
  drawFrame(200, 200, 200);
  savePicture("alert");
  const Rgba corner = at(3, 3);
  EXPECT_LT(corner.r, 110);
  EXPECT_NEAR(corner.r, corner.b, 3);  // darkened, not tinted

  const ViewRect panel = alert->panelFrame();
  const ViewRect title(panel.x + 10, panel.y + 10, panel.w - 20, 20);
  EXPECT_GT(count(title, light), 20);
  const ViewRect cancel = alert->buttonFrame(0);
  const ViewRect ok = alert->buttonFrame(1);
  EXPECT_FALSE(accent(at(cancel.x + 6, cancel.centerY())));
  EXPECT_TRUE(accent(at(ok.x + 6, ok.centerY())));  // the Return button wears the accent
  EXPECT_GT(count(cancel, light), 10);
  EXPECT_GT(count(ok, light), 10);

  // The finger on a button lights it up.
  ASSERT_TRUE(root->handleTouchDown(static_cast<int>(cancel.centerX()), static_cast<int>(cancel.centerY())));
  drawFrame(200, 200, 200);
  const Rgba pressed = at(cancel.x + 6, cancel.centerY());
  ASSERT_TRUE(root->handleTouchUp(static_cast<int>(cancel.centerX()), static_cast<int>(cancel.centerY())));
  EXPECT_GT(pressed.r + pressed.g + pressed.b, 0);
  EXPECT_EQ(delegate.last, 0);

  drawFrame(200, 200, 200);
  EXPECT_EQ(at(3, 3).r, 200);

  // Made the default, the safe button wears the accent instead.
  alert->setDefaultButtonIndex(0);
  alert->show(*root);
  drawFrame(200, 200, 200);
  savePicture("alert-safe-default");
  EXPECT_TRUE(accent(at(cancel.x + 6, cancel.centerY())));
  EXPECT_FALSE(accent(at(ok.x + 6, ok.centerY())));
  alert->dismiss();
}

// Two short titles stand side by side at the usual size; titles too long for half the panel get
// a row each, and one too long even for that is set smaller until it fits.
TEST_F(ViewDrawingTest, AlertButtonTitlesFitTheirButtons) {
  const struct {
    const char* name;
    std::string cancel, other;
    bool sideBySide;
  } cases[] = {
      {"short", "Keep Playing", "Change Mode", true},
      {"too long for half", "Weiterspielen ohne Wechsel", "Spielmodus wechseln", false},
      {"too long for a row", "Continuer la partie sans changer de mode", "Changer", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto alert = std::make_shared<Alert>("Title", "Message", nullptr, c.cancel.c_str(), std::vector<std::string>{c.other});
    alert->show(*root);
    drawFrame(200, 200, 200);
    savePicture(std::string("alert-buttons-") + c.name);
    const ViewRect first = alert->buttonFrame(0);
    const ViewRect second = alert->buttonFrame(1);
    EXPECT_EQ(c.sideBySide, first.y == second.y);
    EXPECT_LE(first.y + first.h, alert->panelFrame().y + alert->panelFrame().h);
    EXPECT_LE(second.y + second.h, alert->panelFrame().y + alert->panelFrame().h);
    for (int i = 0; i < 2; ++i) {
      const ViewRect button = alert->buttonFrame(i);
      const int size = alert->buttonTextSize(i);
      EXPECT_GE(size, 11);
      EXPECT_LE(TextMeasurer::measure(alert->buttonTitleAtIndex(i), ViewStyle::FONT_NAME, size, 0).width, button.w - 8.0f) << i;
      // The title's light pixels are inside the button, not on its ends.
      EXPECT_GT(count(button, light), 10) << i;
      EXPECT_EQ(0, count(ViewRect(button.x, button.y, 3, button.h), light)) << i;
      EXPECT_EQ(0, count(ViewRect(button.x + button.w - 3, button.y, 3, button.h), light)) << i;
    }
    EXPECT_EQ(16, alert->buttonTextSize(1)) << "the short title keeps the usual size";
    alert->dismiss();
  }
}

// A name offered selected shows the selection behind the whole text; a step of the caret (or
// anything typed) ends it.
TEST_F(ViewDrawingTest, SelectedTextShowsItsSelectionWhileEditing) {
  auto field = std::make_shared<TextField>(ViewRect(77, 235, 166, 28));
  field->setText("Kim Lee");
  root->addSubview(field);
  ASSERT_TRUE(field->becomeFirstResponder());
  const ViewRect inside = field->frame().insetBy(3, 3);
  drawFrame();
  const int caretOnly = count(inside, accent);
  field->selectAll();
  drawFrame();
  savePicture("field-selected");
  const int selected = count(inside, accent);
  EXPECT_GT(selected, caretOnly + 150);
  EXPECT_TRUE(root->handleKey(ViewKey::END));
  drawFrame();
  EXPECT_EQ(caretOnly, count(inside, accent));
  // Not shown once editing ends.
  field->selectAll();
  field->resignFirstResponder();
  drawFrame();
  EXPECT_EQ(0, count(inside, accent));
}

TEST_F(ViewDrawingTest, SpinnerTurnsWhileAnimatingAndHidesWhenStopped) {
  auto spinner = std::make_shared<ActivityIndicator>(ActivityIndicator::STYLE_WHITE, ViewRect(140, 200, 40, 40));
  root->addSubview(spinner);
  const ViewRect area = spinner->frame();
  drawFrame();
  EXPECT_EQ(count(area, background), 40 * 40);

  spinner->startAnimating();
  drawFrame();
  const std::vector<uint8_t> first = region(area);
  EXPECT_GT(count(area, light), 10);
  savePicture("spinner");
  drawingNow += ActivityIndicator::STEP_MS;
  drawFrame();
  EXPECT_NE(region(area), first);
  drawingNow += 11 * ActivityIndicator::STEP_MS;  // a whole turn since the first frame
  drawFrame();
  EXPECT_EQ(region(area), first);

  spinner->stopAnimating();
  drawFrame();
  EXPECT_EQ(count(area, background), 40 * 40);
  spinner->setHidesWhenStopped(false);
  drawFrame();
  EXPECT_GT(count(area, light), 10);
}

// The shell sleeps until the views' next change: the spinner's next step, the caret's next
// blink, every frame while a knob slides, and never for still or hidden controls.
TEST_F(ViewDrawingTest, AnimatedControlsSayWhenTheirPictureChangesNext) {
  auto spinner = std::make_shared<ActivityIndicator>(ActivityIndicator::STYLE_WHITE, ViewRect(140, 200, 40, 40));
  auto field = std::make_shared<TextField>(ViewRect(77, 235, 166, 28));
  auto toggle = std::make_shared<Switch>(20.0f, 20.0f);
  root->addSubview(spinner);
  root->addSubview(field);
  root->addSubview(toggle);
  drawFrame();
  EXPECT_EQ(root->msUntilChange(), -1) << "nothing moves";

  spinner->startAnimating();
  EXPECT_EQ(root->msUntilChange(), 0) << "the first turning frame is not drawn yet";
  drawFrame();
  EXPECT_EQ(root->msUntilChange(), ActivityIndicator::STEP_MS);
  drawingNow += 30;
  EXPECT_EQ(root->msUntilChange(), ActivityIndicator::STEP_MS - 30);
  spinner->setHidden(true);
  EXPECT_EQ(root->msUntilChange(), -1) << "a hidden spinner changes nothing on screen";
  spinner->setHidden(false);
  spinner->stopAnimating();
  EXPECT_EQ(root->msUntilChange(), -1);

  ASSERT_TRUE(field->becomeFirstResponder());
  EXPECT_EQ(root->msUntilChange(), 0);
  drawFrame();
  EXPECT_EQ(root->msUntilChange(), TextField::CARET_BLINK_MS);
  drawingNow += TextField::CARET_BLINK_MS + 100;
  EXPECT_EQ(root->msUntilChange(), TextField::CARET_BLINK_MS - 100);
  ASSERT_TRUE(root->handleTextInput("K"));
  EXPECT_EQ(root->msUntilChange(), 0) << "typing shows the caret again at once";
  drawFrame();
  field->resignFirstResponder();
  EXPECT_EQ(root->msUntilChange(), -1);

  toggle->setOn(true, true);
  EXPECT_EQ(root->msUntilChange(), 0);
  drawFrame();
  drawingNow += Switch::SLIDE_MS / 2;
  drawFrame();
  EXPECT_EQ(root->msUntilChange(), 0) << "the knob is still on its way";
  drawingNow += Switch::SLIDE_MS;
  drawFrame();
  EXPECT_EQ(root->msUntilChange(), -1);
}

TEST_F(ViewDrawingTest, SegmentedControlMarksTheSelectedSegment) {
  auto control = std::make_shared<SegmentedControl>(std::vector<std::string>{"Local", "Global"},
                                                    ViewRect(80, 400, 160, 30));
  root->addSubview(control);
  for (int selected : {0, 1}) {
    control->setSelectedSegmentIndex(selected);
    drawFrame();
    for (int i : {0, 1}) {
      const ViewRect s = control->segmentFrame(i);
      EXPECT_EQ(accent(at(s.x + 6, s.centerY())), i == selected) << selected << " " << i;
      EXPECT_GT(count(s, [](const Rgba& p) { return p.r > 120; }), 10) << "title " << i;
    }
  }
  savePicture("segmented");
}

TEST_F(ViewDrawingTest, GameDrawingAfterTheViewsIsNeitherTintedNorClipped) {
  auto field = std::make_shared<TextField>(ViewRect(77, 235, 166, 28));
  field->setText("clipped");
  root->addSubview(field);
  auto toggle = std::make_shared<Switch>(128, 300);
  toggle->setOn(true);
  root->addSubview(toggle);
  auto alert = std::make_shared<Alert>("T", "M", nullptr, "Cancel", std::vector<std::string>{"OK"});
  alert->show(*root);
  harness->clear(0, 0, 0);
  root->draw();
  // A coverage texture of the game (its text), drawn as the game draws: it must come out white
  // and wherever it is put, also far from the clipped field.
  MonoBitmap* mask = new MonoBitmap(8, 8);
  for (int i = 0; i < 64; ++i) mask->pixels[i] = 255;
  Texture texture;
  texture.init(mask);
  texture.drawToScreen(4, 4, Scaling(1.0f), BLEND_PREMULTIPLIED, true);
  harness->readBack();
  const Rgba p = at(7, 7);
  EXPECT_EQ(p.r, 255);
  EXPECT_EQ(p.g, 255);
  EXPECT_EQ(p.b, 255);
}

}  // namespace
