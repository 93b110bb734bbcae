// End-to-end harness: a virtual X server (Xvfb) of its own, the real game binary started on it
// with its own data folder, real pointer events through the XTest extension, the window's
// pixels, and a normal close through the window manager's delete message.
// Also the keyboard (keys and typed text through XTest) and pictures of the screen.
// Used by the end-to-end tests and the start-up benchmark; one session per test.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ScreenImage.h"
#include "TempFolder.h"

class FrameCounter;
class XTestKeyboard;
class XvfbProcess;

class GameSession {
 public:
  // Starts Xvfb with a screen of the given size; the game is started separately so that tests
  // can prepare its files first. The game's window opens at 85 % of the screen's height (or
  // width): the default 800 x 565 gives the 320 x 480 window the tests' pixel checks were made
  // for, 1000 x 1130 one of 640 x 960, 1024 x 768 one of 434 x 651.
  explicit GameSession(int screenWidth = 800, int screenHeight = 565);
  // Kills whatever is still running and removes the data folder.
  ~GameSession();
  GameSession(const GameSession&) = delete;
  GameSession& operator=(const GameSession&) = delete;

  bool displayReady() const { return display != nullptr; }
  // Why the display is not ready (with what Xvfb said), empty when it is.
  std::string setupProblem() const;
  // The folder the game keeps its files in (XDG_DATA_HOME/pellix).
  const std::string& dataFolder() const { return gameFolder; }

  // An environment variable for the game, set at the next launch (e.g. PELLIX_SCORES_URL).
  void setEnvironment(const std::string& name, const std::string& value);
  // The game program the next launch starts instead of build/pellix (an installed copy).
  void setBinary(const std::string& path) { binary = path; }
  // Command-line arguments for the next launch's program (none by default).
  void setArguments(std::vector<std::string> arguments) { programArguments = std::move(arguments); }
  // The X display the session's programs run on (":N").
  const std::string& xDisplayName() const { return displayName; }
  // Starts build/pellix; `withDisplay` false starts it with no DISPLAY at all.
  bool launch(bool withDisplay = true);
  // Waits until the window named "Pellix" is mapped and shows something other than black.
  bool waitForFirstFrame(int timeoutMs);
  // The game window's class (WM_CLASS), and the width of its icon (_NET_WM_ICON), 0 for none.
  std::string windowClass();
  int windowIconWidth();
  // Milliseconds from launch to the first frame seen by waitForFirstFrame.
  double msToFirstFrame() const { return firstFrameMs; }

  // Pointer at game screen pixel (x, y) (320 x 480 space), pressed, moved, released.
  void press(int x, int y);
  void moveTo(int x, int y);
  void release(int x, int y);
  // Moves with the button held from one screen point to another in steps, like a hand.
  void drag(int fromX, int fromY, int toX, int toY, int steps);
  // A click: press, a short hold, release at the same point.
  void tap(int x, int y);
  // A click of the right mouse button at (x, y).
  void rightClick(int x, int y);
  // A pause that is part of a gesture's shape (a hold, the gap of a double tap) or of a
  // benchmark's pacing; tests wait for what they can see instead.
  static void pause(int ms);

  // Keys go to the game's window, which gets the keyboard focus first. `keysym` is an X KeySym
  // (XK_Return, XK_Escape...). False when the key or a character cannot be typed.
  bool pressKey(unsigned long keysym);
  bool typeText(const std::string& utf8);
  // The key with Control held (Ctrl+Q).
  bool pressKeyWithControl(unsigned long keysym);

  // The game screen's pixels (RGB, 320 x 480, y down), read from the window.
  std::vector<uint8_t> screenPixels();
  ScreenImage screen() { return ScreenImage(screenPixels()); }
  // The whole window's pixels (RGB, y down) at its own size.
  std::vector<uint8_t> windowPixels(int& width, int& height);
  // The window's size now; false when there is no window.
  bool windowSize(int& width, int& height);
  // Resizes the window (there is no window manager to refuse) and waits until X reports the
  // new size; false after `timeoutMs`.
  bool resizeWindow(int width, int height, int timeoutMs = 3000);
  // After resizeWindow: waits until the game has presented a whole frame at the new size;
  // false after `timeoutMs` or when frames cannot be followed.
  bool waitForFrameAfterResize(int width, int height, int timeoutMs);
  // Waits until the game has drawn nothing for `quietMs` (it draws nothing at rest, so its
  // animations have ended); false after `timeoutMs` or when frames cannot be followed.
  bool waitForRest(int quietMs, int timeoutMs);
  // Polls the screen until it differs from `before` in any pixel; false after `timeoutMs`.
  bool waitForChange(const ScreenImage& before, int timeoutMs);
  // Polls the screen until `condition` holds; false after `timeoutMs`.
  bool waitForScreen(const std::function<bool(const ScreenImage&)>& condition, int timeoutMs);
  // When PELLIX_E2E_SCREENSHOTS names a folder, saves the screen there as `name`.png (for a
  // person to look at what a test saw); otherwise does nothing.
  void saveScreenshot(const std::string& name);

  // Asks the window to close as a window manager would.
  void closeWindow();
  // Sends a signal to the game.
  void signal(int number);
  // Waits for the game to exit; its exit status, or -1 on time-out or a crash (signal).
  int waitForExit(int timeoutMs);
  // Peak resident memory (kB) and CPU time used (ms) of the running game.
  long peakResidentKb() const;
  double cpuMs() const;
  // Frames the game's window showed during the next `ms` (counted by the X server's damage
  // reports); -1 when they cannot be counted.
  int countFrames(int ms);
  // Everything the game wrote to standard error so far.
  std::string errorOutput() const;

 private:
  bool findWindow();
  // Whether the mapped window shows anything but black (sampled along a few rows).
  bool showsAnything();
  void windowToRoot(int x, int y, int& rootX, int& rootY);
  void focusWindow();

  std::unique_ptr<XvfbProcess> xvfb;
  pid_t gamePid = -1;
  void* display = nullptr;  // Display*
  unsigned long window = 0;
  std::string displayName;
  TempFolder base{"pellix-e2e"};  // the game's data home, its error log and Xvfb's output
  std::string baseFolder = base.str();
  std::string gameFolder;
  std::string errorLog;
  double launchTime = 0;
  double firstFrameMs = -1;
  std::vector<std::pair<std::string, std::string>> environment;
  std::unique_ptr<XTestKeyboard> keyboard;
  std::unique_ptr<FrameCounter> frameCounter;
  bool focused = false;
  std::string problem;
  std::string binary;
  std::vector<std::string> programArguments;
};
