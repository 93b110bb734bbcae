// End-to-end harness: a virtual X server (Xvfb) of its own, the real game binary started on it
// with its own data folder, real pointer events through the XTest extension, the window's
// pixels, and a normal close through the window manager's delete message.
// Used by the end-to-end tests and the start-up benchmark; one session per test.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

class GameSession {
 public:
  // Starts Xvfb; the game is started separately so that tests can prepare its files first.
  GameSession();
  // Kills whatever is still running and removes the data folder.
  ~GameSession();
  GameSession(const GameSession&) = delete;
  GameSession& operator=(const GameSession&) = delete;

  bool displayReady() const { return display != nullptr; }
  // The folder the game keeps its files in (XDG_DATA_HOME/pellix).
  const std::string& dataFolder() const { return gameFolder; }

  // Starts build/pellix; `withDisplay` false starts it with no DISPLAY at all.
  bool launch(bool withDisplay = true);
  // Waits until the window named "Pellix" is mapped and shows something other than black.
  bool waitForFirstFrame(int timeoutMs);
  // Milliseconds from launch to the first frame seen by waitForFirstFrame.
  double msToFirstFrame() const { return firstFrameMs; }

  // Pointer at game screen pixel (x, y) (320 x 480 space), pressed, moved, released.
  void press(int x, int y);
  void moveTo(int x, int y);
  void release(int x, int y);
  // Moves with the button held from one screen point to another in steps, like a hand.
  void drag(int fromX, int fromY, int toX, int toY, int steps);
  static void pause(int ms);

  // The game screen's pixels (RGB, 320 x 480, y down), read from the window.
  std::vector<uint8_t> screenPixels();

  // Asks the window to close as a window manager would.
  void closeWindow();
  // Sends a signal to the game.
  void signal(int number);
  // Waits for the game to exit; its exit status, or -1 on time-out or a crash (signal).
  int waitForExit(int timeoutMs);
  // Peak resident memory (kB) and CPU time used (ms) of the running game.
  long peakResidentKb() const;
  double cpuMs() const;
  // Everything the game wrote to standard error so far.
  std::string errorOutput() const;

 private:
  bool findWindow();
  void windowToRoot(int x, int y, int& rootX, int& rootY);

  pid_t xvfbPid = -1;
  pid_t gamePid = -1;
  void* display = nullptr;  // Display*
  unsigned long window = 0;
  std::string displayName;
  std::string baseFolder;
  std::string gameFolder;
  std::string errorLog;
  double launchTime = 0;
  double firstFrameMs = -1;
};
