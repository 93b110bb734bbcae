// The real game's window at the sizes a player gives it: it opens at 85 % of the display's
// height in the screen's 2:3 shape, draws at its own resolution when resized (sharper than the
// small picture blown up, with the same layout), and letterboxes a window of another shape.
// Screenshots of the whole window are read through X; PELLIX_E2E_SCREENSHOTS keeps them.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <cstdlib>
#include <string>

#include "GameSession.h"
#include "GreyImage.h"
#include "PngWriter.h"
#include "SavedFiles.h"
#include "TestEnvironment.h"

// After GoogleTest's headers, whose names (None) Xlib's macros would replace.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

class WindowSizeTest : public ::testing::Test {
 protected:
  // A display on which the window opens at exactly 640 x 960 (85 % of 1130 rows).
  void SetUp() override {
    session.reset(new GameSession(1000, 1130));
    if (!session->displayReady()) PELLIX_MISSING_PREREQUISITE("Xvfb could not be started: " << session->setupProblem());
    writeBytes(session->dataFolder() + "/settings.dat", settingsRecord(0, false, false, 0.5f));
    ASSERT_TRUE(session->launch());
    ASSERT_TRUE(session->waitForFirstFrame(30000)) << session->errorOutput();
  }

  // Resizes the window and waits for the game's first whole frame at the new size.
  void resizeAndWaitForFrame(int width, int height) {
    ASSERT_TRUE(session->resizeWindow(width, height));
    ASSERT_TRUE(session->waitForFrameAfterResize(width, height, 20000))
        << "no frame at " << width << " x " << height << "; " << session->errorOutput();
  }

  // The window once the game has drawn all it has to draw (it draws nothing at rest).
  GreyImage settledWindow(const std::string& name) {
    EXPECT_TRUE(session->waitForRest(250, 10000)) << "the window kept changing (" << name << ")";
    int width = 0, height = 0;
    const std::vector<uint8_t> rgb = session->windowPixels(width, height);
    if (const char* folder = std::getenv("PELLIX_E2E_SCREENSHOTS"))
      writeRgbPng(std::string(folder) + "/window-" + name + ".png", width, height, rgb);
    return GreyImage(rgb, width, height, 3);
  }

  std::unique_ptr<GameSession> session;
};

TEST_F(WindowSizeTest, AResizedWindowDrawsTheStartScreenSharplyInTheSameLayout) {
  int width = 0, height = 0;
  ASSERT_TRUE(session->windowSize(width, height));
  EXPECT_EQ(640, width);
  EXPECT_EQ(960, height);
  const GreyImage large = settledWindow("640x960");

  ASSERT_NO_FATAL_FAILURE(resizeAndWaitForFrame(320, 480));
  const GreyImage small = settledWindow("320x480");
  ASSERT_EQ(320, small.width());

  // The same layout: the large picture scaled down agrees with the small one within a few
  // grey levels; and it is a picture of its own, not the small one blown up.
  EXPECT_LT(large.scaledDownByArea(320, 480).meanAbsoluteDifference(small), 3.0);
  const double sharpening = large.meanSquaredGradient() / small.scaledBilinear(640, 960).meanSquaredGradient();
  std::printf("640 x 960 window: mean squared gradient %.2f times that of the 320 x 480 picture blown up\n",
              sharpening);
  EXPECT_GE(sharpening, 1.5);
}

TEST_F(WindowSizeTest, AWindowOfAnotherShapeIsLetterboxedAndCentred) {
  ASSERT_NO_FATAL_FAILURE(resizeAndWaitForFrame(320, 480));
  const GreyImage reference = settledWindow("320x480");

  // 700 x 1000: the screen fills the height at 2.08x, 666 pixels wide, centred between black bars.
  ASSERT_NO_FATAL_FAILURE(resizeAndWaitForFrame(700, 1000));
  const GreyImage wide = settledWindow("700x1000");
  for (int y = 0; y < 1000; y += 50) {
    EXPECT_LT(wide.at(5, y), 1.0f) << "left bar, row " << y;
    EXPECT_LT(wide.at(694, y), 1.0f) << "right bar, row " << y;
  }
  // The frame inside the bars shows the screen in the same layout.
  std::vector<uint8_t> inner;
  for (int y = 0; y < 1000; ++y) {
    for (int x = 17; x < 17 + 666; ++x) {
      const uint8_t v = static_cast<uint8_t>(wide.at(x, y));
      inner.insert(inner.end(), {v, v, v});
    }
  }
  const GreyImage frame(inner, 666, 1000, 3);
  EXPECT_LT(frame.scaledDownByArea(320, 480).meanAbsoluteDifference(reference), 3.0);

  // And the game still plays in it: a tap on the start screen starts a game.
  session->tap(160, 240);
  EXPECT_TRUE(session->waitForScreen(
      [&](const ScreenImage&) {
        int w = 0, h = 0;
        const GreyImage now(session->windowPixels(w, h), w, h, 3);
        return now.meanAbsoluteDifference(wide) > 2.0;
      },
      5000));
}

// The window tells the window manager how small it may be made: 268 x 400, where the board's
// squares are still 32 pixels. (Xvfb has no window manager to hold a resize to it, so the
// request itself is what can be seen.)
TEST_F(WindowSizeTest, TheWindowAsksForAPlayableMinimumSize) {
  Display* display = XOpenDisplay(session->xDisplayName().c_str());
  ASSERT_NE(nullptr, display);
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  ASSERT_NE(0, XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count));
  int found = 0;
  for (unsigned i = 0; i < count; ++i) {
    char* name = nullptr;
    if (XFetchName(display, children[i], &name) == 0 || name == nullptr) continue;
    const bool game = std::string(name) == "Pellix";
    XFree(name);
    if (!game) continue;
    ++found;
    XSizeHints hints;
    long supplied = 0;
    ASSERT_NE(0, XGetWMNormalHints(display, children[i], &hints, &supplied));
    EXPECT_NE(0, hints.flags & PMinSize);
    EXPECT_EQ(268, hints.min_width);
    EXPECT_EQ(400, hints.min_height);
  }
  if (children != nullptr) XFree(children);
  XCloseDisplay(display);
  EXPECT_EQ(1, found);
}

TEST_F(WindowSizeTest, FullscreenKeysLeaveTheGameRunning) {
  // Without a window manager the request may not change the window; the game must take the key
  // and go on drawing either way.
  ASSERT_TRUE(session->pressKey(XK_F11));
  ASSERT_TRUE(session->pressKey(XK_F11));
  // Handled in order after both keys: Return on the start screen starts a game. (A key, not a
  // click: the keys gave the window the focus, and a click handled together with the focus
  // event is dropped.)
  const ScreenImage start = session->screen();
  ASSERT_TRUE(session->pressKey(XK_Return));
  EXPECT_TRUE(session->waitForScreen(
      [&](const ScreenImage& now) { return now.fractionDifferent(start, 8) > 0.2; }, 5000))
      << "the game took no key after the fullscreen keys";
  int width = 0, height = 0;
  ASSERT_TRUE(session->windowSize(width, height));
  const GreyImage now = settledWindow("after-F11");
  EXPECT_GT(now.meanSquaredGradient(), 10.0);
  session->closeWindow();
  EXPECT_EQ(0, session->waitForExit(10000));
}

}  // namespace
