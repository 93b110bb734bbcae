// The real game on Weston: a native Wayland window with the launcher's app id at buffer scale 2,
// its start screen drawn at twice the logical size, clicks and keys through the compositor,
// fullscreen and back, and SIGTERM saving; and a compositor without a seat, which the game must
// leave for X11 (or explain) instead of crashing.
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <regex>
#include <string>
#include <thread>

#include "GreyImage.h"
#include "SavedFiles.h"
#include "TestEnvironment.h"
#include "WestonSession.h"

namespace {

// Weston's output in logical pixels; Xvfb holds it at twice the size.
const int OUTPUT_WIDTH = 480;
const int OUTPUT_HEIGHT = 600;
const int SCALE = 2;

// The game's surface and the size of the last buffer it drew into it (its pixels), from the
// protocol log: EGL damages the whole buffer on every swap.
struct DrawnBuffer {
  std::string surface;  // "wl_surface@N"
  int width = 0, height = 0;
};

bool lastDrawnBuffer(const std::string& log, DrawnBuffer& drawn) {
  static const std::regex damage(R"((wl_surface@\d+)\.damage_buffer\(0, 0, (\d+), (\d+)\))");
  bool found = false;
  for (auto it = std::sregex_iterator(log.begin(), log.end(), damage); it != std::sregex_iterator(); ++it) {
    drawn.surface = (*it)[1];
    drawn.width = std::stoi((*it)[2]);
    drawn.height = std::stoi((*it)[3]);
    found = true;
  }
  return found;
}

// The share of the box's pixels that differ between two pictures of the same screen.
double fractionChanged(const WestonSession::Picture& a, const WestonSession::Picture& b, const WestonSession::Box& box) {
  if (a.rgb.size() != b.rgb.size() || box.width <= 0 || box.height <= 0) return 0;
  long changed = 0;
  for (int y = box.y; y < box.y + box.height; ++y) {
    for (int x = box.x; x < box.x + box.width; ++x) {
      const size_t at = (static_cast<size_t>(y) * a.width + x) * 3;
      for (int channel = 0; channel < 3; ++channel) {
        if (std::abs(a.rgb[at + channel] - b.rgb[at + channel]) > 8) {
          ++changed;
          break;
        }
      }
    }
  }
  return static_cast<double>(changed) / (static_cast<double>(box.width) * box.height);
}

// The share of the box's pixels brighter than near-black: a drawn screen, not an empty surface.
double fractionLit(const WestonSession::Picture& picture, const WestonSession::Box& box) {
  long lit = 0;
  for (int y = box.y; y < box.y + box.height; ++y) {
    for (int x = box.x; x < box.x + box.width; ++x) {
      const uint8_t* p = &picture.rgb[(static_cast<size_t>(y) * picture.width + x) * 3];
      if (p[0] + p[1] + p[2] > 3 * 24) ++lit;
    }
  }
  return static_cast<double>(lit) / (static_cast<double>(box.width) * box.height);
}

bool sameSize(const WestonSession::Box& box, int width, int height) {
  return box.width == width && box.height == height;
}

TEST(WaylandTest, OpensNativelyAtScaleTwoPlaysGoesFullscreenAndBackAndSavesOnSigterm) {
  WestonSession session(WestonSession::X11_WINDOW, OUTPUT_WIDTH, OUTPUT_HEIGHT, SCALE);
  if (!session.ready()) PELLIX_MISSING_PREREQUISITE("Weston inside Xvfb could not be started: " << session.setupProblem());
  // The pointer waits in a corner, so that the game's window gets it when it moves over it.
  session.moveTo(0, 0);
  // The size on screen is measured from the game's own surface: no title bar drawn around it.
  ASSERT_TRUE(session.launch({{"SDL_VIDEO_WAYLAND_ALLOW_LIBDECOR", "0"}}));

  // A Wayland window (though X11 is there too) with the launcher's app id.
  const std::regex appIdRequest(std::string(R"(-> xdg_toplevel@\d+\.set_app_id\(")") + PELLIX_APP_ID + "\"\\)");
  DrawnBuffer drawn;
  ASSERT_TRUE(WestonSession::waitFor(
      [&] {
        const std::string log = session.errorOutput();
        return std::regex_search(log, appIdRequest) && lastDrawnBuffer(log, drawn);
      },
      20000))
      << session.errorOutput().substr(session.errorOutput().size() > 3000 ? session.errorOutput().size() - 3000 : 0);
  const std::string log = session.errorOutput();
  EXPECT_EQ(std::string::npos, log.find("Pellix uses X11"));
  // The surface the game draws into holds two buffer pixels per logical pixel...
  EXPECT_NE(std::string::npos, log.find(drawn.surface + ".set_buffer_scale(2)")) << drawn.surface;

  // ...so on the output of scale 2 the start screen shows pixel for pixel, at twice the window's
  // logical size (a surface drawn at scale 1 would show at twice its buffer's size), taller than
  // the whole output is logically.
  WestonSession::Box box;
  ASSERT_TRUE(WestonSession::waitFor(
      [&] {
        lastDrawnBuffer(session.errorOutput(), drawn);
        box = session.windowBox();
        return sameSize(box, drawn.width, drawn.height) && fractionLit(session.screen(), box) > 0.5;
      },
      20000))
      << "window " << box.width << " x " << box.height << " at (" << box.x << ", " << box.y << "), buffer "
      << drawn.width << " x " << drawn.height;
  EXPECT_GT(box.height, OUTPUT_HEIGHT);
  const int windowWidth = box.width, windowHeight = box.height;
  const std::regex pointerEnter(R"(wl_pointer@\d+\.enter\(\d+, )" + drawn.surface + ",");
  const std::regex keyboardEnter(R"(wl_keyboard@\d+\.enter\(\d+, )" + drawn.surface + ",");
  session.saveScreenshot("wayland-start");

  // A click starts a game: most of the picture changes. The compositor gives the game the
  // pointer (and the keyboard) once the pointer is over its window.
  session.moveTo(box.x + box.width / 2, box.y + box.height / 2);
  ASSERT_TRUE(WestonSession::waitFor([&] { return std::regex_search(session.errorOutput(), pointerEnter); }, 10000))
      << "the pointer did not enter the game's window";
  ASSERT_TRUE(WestonSession::waitFor([&] { return std::regex_search(session.errorOutput(), keyboardEnter); }, 10000))
      << "the game's window did not get the keyboard";
  const WestonSession::Picture start = session.screen();
  session.click(box.x + box.width / 2, box.y + box.height / 2);
  EXPECT_TRUE(WestonSession::waitFor([&] { return fractionChanged(start, session.screen(), box) > 0.2; }, 10000))
      << "the start screen stayed";
  session.saveScreenshot("wayland-playing");

  // A key reaches the game through the compositor: the arrow shows the keyboard's cursor.
  ASSERT_TRUE(WestonSession::waitFor([&] { return session.windowBox().width == box.width; }, 5000));
  const WestonSession::Picture board = session.screen();
  ASSERT_TRUE(session.pressKey(XK_Right));
  EXPECT_TRUE(WestonSession::waitFor([&] { return fractionChanged(board, session.screen(), box) > 0.0005; }, 10000))
      << "the arrow key changed nothing";

  // F11 fills the output, drawn anew at its size; F11 again gives the window back.
  ASSERT_TRUE(session.pressKey(XK_F11));
  EXPECT_TRUE(WestonSession::waitFor(
      [&] {
        const WestonSession::Box full = session.windowBox();
        return sameSize(full, SCALE * OUTPUT_WIDTH, SCALE * OUTPUT_HEIGHT);
      },
      10000))
      << "not fullscreen";
  session.saveScreenshot("wayland-fullscreen");
  ASSERT_TRUE(session.pressKey(XK_F11));
  EXPECT_TRUE(WestonSession::waitFor(
      [&] { return sameSize(session.windowBox(), windowWidth, windowHeight); }, 10000))
      << "the window did not come back";

  // SIGTERM ends the game normally, saving the game in progress.
  const std::string saved = session.dataFolder() + "/gameState.dat";
  std::filesystem::remove(saved);
  session.signal(SIGTERM);
  EXPECT_EQ(0, session.waitForExit(10000));
  EXPECT_TRUE(std::filesystem::exists(saved)) << "the game was not saved";
}

// How many times the protocol log shows `event` (a regular expression).
int occurrences(const std::string& log, const std::regex& event) {
  return static_cast<int>(std::distance(std::sregex_iterator(log.begin(), log.end(), event), std::sregex_iterator()));
}

// The keyboard's comings and goings in the protocol log, for a failure's message.
std::string keyboardEvents(const std::string& log) {
  static const std::regex event(R"(wl_keyboard@\d+\.(enter|leave)\([^\n]*)");
  std::string events;
  for (auto it = std::sregex_iterator(log.begin(), log.end(), event); it != std::sregex_iterator(); ++it)
    events += "\n  " + it->str();
  return events;
}

double elapsedMs(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

// The game started on Weston with the Quick mode's settings (its clock the fastest), its window
// shown whole and given the pointer and the keyboard: where the window is and what it draws into.
void launchAndEnter(WestonSession& session, WestonSession::Box& box, DrawnBuffer& drawn) {
  writeBytes(session.dataFolder() + "/settings.dat", settingsRecord(2, false, false, 0.5f));
  session.moveTo(0, 0);
  // The size on screen is measured from the game's own surface: no title bar drawn around it.
  ASSERT_TRUE(session.launch({{"SDL_VIDEO_WAYLAND_ALLOW_LIBDECOR", "0"}}));
  ASSERT_TRUE(WestonSession::waitFor(
      [&] {
        if (!lastDrawnBuffer(session.errorOutput(), drawn)) return false;
        box = session.windowBox();
        return sameSize(box, drawn.width, drawn.height) && fractionLit(session.screen(), box) > 0.5;
      },
      20000))
      << "window " << box.width << " x " << box.height << ", buffer " << drawn.width << " x " << drawn.height;
  session.moveTo(box.x + box.width / 2, box.y + box.height / 2);
  const std::regex keyboardEnter(R"(wl_keyboard@\d+\.enter\(\d+, )" + drawn.surface + ",");
  ASSERT_TRUE(WestonSession::waitFor([&] { return std::regex_search(session.errorOutput(), keyboardEnter); }, 10000))
      << "the game's window did not get the keyboard";
}

// The penalty clock's strip on the board (22 x 24 screen pixels at (201, 15)), inside its edge,
// in X pixels of a window showing the 320 x 480 screen at `box`.
WestonSession::Box timerStrip(const WestonSession::Box& box) {
  const double scale = box.width / 320.0;
  return WestonSession::Box{box.x + static_cast<int>(203 * scale), box.y + static_cast<int>(17 * scale),
                            static_cast<int>(18 * scale), static_cast<int>(20 * scale)};
}

// The game pauses when the compositor takes the keyboard away, as it does on X11: its clock
// stands still (the timer strip, which moves on by itself in play, stays where it was), and runs
// on once the keyboard is back. The keyboard is taken the way a nested compositor loses it:
// Xvfb's focus moves away from Weston's window, and Weston tells the game (wl_keyboard.leave);
// a click on the window gives it back (wl_keyboard.enter).
TEST(WaylandTest, LosingTheKeyboardPausesTheGameAndGettingItBackResumesIt) {
  WestonSession session(WestonSession::X11_WINDOW, OUTPUT_WIDTH, OUTPUT_HEIGHT, SCALE);
  if (!session.ready()) PELLIX_MISSING_PREREQUISITE("Weston inside Xvfb could not be started: " << session.setupProblem());
  WestonSession::Box box;
  DrawnBuffer drawn;
  ASSERT_NO_FATAL_FAILURE(launchAndEnter(session, box, drawn));
  const WestonSession::Picture start = session.screen();
  session.click(box.x + box.width / 2, box.y + box.height / 2);
  ASSERT_TRUE(WestonSession::waitFor([&] { return fractionChanged(start, session.screen(), box) > 0.2; }, 10000))
      << "the start screen stayed";

  // In play the strip moves on by itself: the time between two of its steps is one step.
  const WestonSession::Box strip = timerStrip(box);
  const auto stripMoved = [&](const WestonSession::Picture& since) {
    return fractionChanged(since, session.screen(), strip) > 0.05;
  };
  WestonSession::Picture before = session.screen();
  ASSERT_TRUE(WestonSession::waitFor([&] { return stripMoved(before); }, 30000)) << "the strip stood still in play";
  auto stepStart = std::chrono::steady_clock::now();
  before = session.screen();
  ASSERT_TRUE(WestonSession::waitFor([&] { return stripMoved(before); }, 30000)) << "the strip stood still in play";
  const double stepMs = elapsedMs(stepStart);
  std::printf("one step of the timer strip: %.0f ms\n", stepMs);
  session.saveScreenshot("wayland-focused");

  // The keyboard goes: for three steps' time nothing in the window changes.
  const std::regex keyboardLeave(R"(wl_keyboard@\d+\.leave\(\d+, )" + drawn.surface + R"(\))");
  const std::regex keyboardEnter(R"(wl_keyboard@\d+\.enter\(\d+, )" + drawn.surface + ",");
  const int leaves = occurrences(session.errorOutput(), keyboardLeave);
  const int enters = occurrences(session.errorOutput(), keyboardEnter);
  ASSERT_TRUE(session.unfocusCompositor());
  ASSERT_TRUE(WestonSession::waitFor([&] { return occurrences(session.errorOutput(), keyboardLeave) > leaves; }, 10000))
      << "Weston did not take the keyboard from the game";
  const WestonSession::Picture paused = session.screen();
  const auto pauseStart = std::chrono::steady_clock::now();
  while (elapsedMs(pauseStart) < 3 * stepMs) {
    const double changed = fractionChanged(paused, session.screen(), box);
    ASSERT_EQ(0.0, changed) << "the window changed " << elapsedMs(pauseStart) << " ms after the keyboard went";
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  session.saveScreenshot("wayland-unfocused");

  // The keyboard comes back: Xvfb's focus returns to Weston, and the player clicks the game's
  // window where a click does nothing in play (the score), which gives it the keyboard (Weston
  // gives it back on its own, too, though not always before the click). The strip moves on.
  const std::regex frameDrawn(drawn.surface + R"(\.damage_buffer\()");
  const int frames = occurrences(session.errorOutput(), frameDrawn);
  ASSERT_TRUE(session.focusCompositor());
  session.click(box.x + box.width / 8, box.y + box.height / 24);
  ASSERT_TRUE(WestonSession::waitFor([&] { return occurrences(session.errorOutput(), keyboardEnter) > enters; }, 10000))
      << "Weston did not give the keyboard back to the game: " << keyboardEvents(session.errorOutput());
  // The frame drawn for the click shows the strip where it stood: the clock did not run on
  // unseen while the window was not drawn (it had three steps' time for that).
  ASSERT_TRUE(WestonSession::waitFor([&] { return occurrences(session.errorOutput(), frameDrawn) > frames; }, 10000))
      << "no frame after the click";
  EXPECT_EQ(0.0, fractionChanged(paused, session.screen(), strip)) << "the clock ran on while the keyboard was away";
  EXPECT_TRUE(WestonSession::waitFor([&] { return stripMoved(paused); }, static_cast<int>(3 * stepMs) + 10000))
      << "the clock did not run on";
  session.signal(SIGTERM);
  EXPECT_EQ(0, session.waitForExit(10000));
}

// A window resized by the compositor's own binding (Super and the right button) is drawn anew at
// its new size: the whole buffer, the 2:3 screen as large as fits, centred between black bars,
// in the same layout as before.
TEST(WaylandTest, AWindowResizedThroughTheCompositorIsDrawnAtItsNewSizeLetterboxed) {
  WestonSession session(WestonSession::X11_WINDOW, OUTPUT_WIDTH, OUTPUT_HEIGHT, SCALE);
  if (!session.ready()) PELLIX_MISSING_PREREQUISITE("Weston inside Xvfb could not be started: " << session.setupProblem());
  WestonSession::Box box;
  DrawnBuffer drawn;
  ASSERT_NO_FATAL_FAILURE(launchAndEnter(session, box, drawn));
  // The start screen, with the pointer out of the way.
  session.moveTo(OUTPUT_WIDTH * SCALE - 1, OUTPUT_HEIGHT * SCALE - 1);
  ASSERT_TRUE(WestonSession::waitFor([&] { return sameSize(session.windowBox(), box.width, box.height); }, 5000));
  const WestonSession::Picture before = session.screen();
  const GreyImage reference =
      GreyImage(session.pixelsOf(before, box), box.width, box.height, 3).scaledDownByArea(320, 480);
  session.saveScreenshot("wayland-before-resize");

  // From the lower right part of the window: narrower by 30 logical pixels and much shorter,
  // still above the smallest window (268 x 400).
  ASSERT_TRUE(session.dragResize(box.x + box.width * 5 / 6, box.y + box.height * 5 / 6, -60, -200));
  session.moveTo(OUTPUT_WIDTH * SCALE - 1, OUTPUT_HEIGHT * SCALE - 1);
  // The window follows the pointer, drawn anew at each size on the way; the last is the size
  // the pointer ended at.
  const int width = box.width - 60, height = box.height - 200;
  WestonSession::Box resized;
  ASSERT_TRUE(WestonSession::waitFor(
      [&] {
        if (!lastDrawnBuffer(session.errorOutput(), drawn) || drawn.width != width || drawn.height != height) return false;
        resized = session.windowBox();
        return sameSize(resized, width, height);
      },
      20000))
      << "no frame at " << width << " x " << height << ": last buffer " << drawn.width << " x " << drawn.height
      << ", window " << resized.width << " x " << resized.height;
  session.saveScreenshot("wayland-resized");
  ASSERT_GT(resized.width * 3, resized.height * 2) << "not wider than the screen's shape";

  // Black bars left and right of the screen drawn as high as the window.
  const WestonSession::Picture after = session.screen();
  const int frameWidth = resized.height * 320 / 480;
  const int left = (resized.width - frameWidth) / 2;
  for (int y = resized.y; y < resized.y + resized.height; y += 20) {
    for (const int x : {resized.x + 1, resized.x + left - 3, resized.x + left + frameWidth + 2, resized.x + resized.width - 2}) {
      const uint8_t* p = &after.rgb[(static_cast<size_t>(y) * after.width + x) * 3];
      EXPECT_LT(p[0] + p[1] + p[2], 3 * 8) << "bar at (" << x - resized.x << ", " << y - resized.y << ")";
    }
  }
  const WestonSession::Box frame{resized.x + left, resized.y, frameWidth, resized.height};
  EXPECT_GT(fractionLit(after, frame), 0.5);
  const GreyImage shown = GreyImage(session.pixelsOf(after, frame), frame.width, frame.height, 3).scaledDownByArea(320, 480);
  EXPECT_LT(shown.meanAbsoluteDifference(reference), 4.0) << "not the same picture";

  // Dragged far smaller, the window stops at the smallest size the game allows.
  ASSERT_TRUE(session.dragResize(resized.x + resized.width * 5 / 6, resized.y + resized.height * 5 / 6, -300, -400));
  session.moveTo(OUTPUT_WIDTH * SCALE - 1, OUTPUT_HEIGHT * SCALE - 1);
  EXPECT_TRUE(WestonSession::waitFor(
      [&] {
        resized = session.windowBox();
        return lastDrawnBuffer(session.errorOutput(), drawn) && drawn.width == 268 * SCALE &&
               drawn.height == 400 * SCALE && sameSize(resized, drawn.width, drawn.height);
      },
      20000))
      << "last buffer " << drawn.width << " x " << drawn.height << ", window " << resized.width << " x " << resized.height;
  session.signal(SIGTERM);
  EXPECT_EQ(0, session.waitForExit(10000));
}

TEST(WaylandTest, SdlVideodriverX11KeepsTheGameOnX11BesideAWorkingCompositor) {
  WestonSession session(WestonSession::X11_WINDOW, OUTPUT_WIDTH, OUTPUT_HEIGHT, SCALE);
  if (!session.ready()) PELLIX_MISSING_PREREQUISITE("Weston inside Xvfb could not be started: " << session.setupProblem());
  ASSERT_TRUE(session.launch({{"SDL_VIDEODRIVER", "x11"}}));
  EXPECT_TRUE(WestonSession::waitFor([&] { return session.x11WindowShown(); }, 20000)) << session.errorOutput();
  EXPECT_EQ(std::string::npos, session.errorOutput().find("set_app_id")) << "the game spoke Wayland";
  session.signal(SIGTERM);
  EXPECT_EQ(0, session.waitForExit(10000));
}

TEST(WaylandTest, ACompositorWithoutASeatIsLeftForX11OrExplained) {
  WestonSession session(WestonSession::HEADLESS, OUTPUT_WIDTH, OUTPUT_HEIGHT, 1);
  if (!session.ready()) PELLIX_MISSING_PREREQUISITE("headless Weston could not be started: " << session.setupProblem());

  // With X11 beside it the game plays there.
  ASSERT_TRUE(session.launch());
  EXPECT_TRUE(WestonSession::waitFor([&] { return session.x11WindowShown(); }, 20000)) << session.errorOutput();
  EXPECT_NE(std::string::npos, session.errorOutput().find("no seat"));
  EXPECT_EQ(std::string::npos, session.errorOutput().find("set_app_id")) << "the game spoke Wayland";
  session.signal(SIGTERM);
  EXPECT_EQ(0, session.waitForExit(10000));

  // Alone, or where the player asked for Wayland, it says why it cannot run, and does not crash.
  for (const bool withX11 : {false, true}) {
    ASSERT_TRUE(withX11 ? session.launch({{"SDL_VIDEODRIVER", "wayland"}}) : session.launch({}, false));
    EXPECT_EQ(1, session.waitForExit(20000)) << session.errorOutput();
    EXPECT_NE(std::string::npos, session.errorOutput().find("cannot be played here")) << session.errorOutput();
  }
}

}  // namespace
