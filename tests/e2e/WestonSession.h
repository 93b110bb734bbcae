// End-to-end harness for Wayland: a virtual X server (Xvfb) of its own with Weston inside it
// (Weston's X11 back end, so that it has a seat and XTest input on Xvfb reaches it), or Weston's
// headless back end (a compositor without a seat), each on a private XDG_RUNTIME_DIR and socket;
// and the real game binary started on it with WAYLAND_DEBUG=1 and its standard error kept.
// Pictures are taken of the whole Xvfb screen, where Weston's output window shows the game.
// One session per test; everything it starts ends with it and its folder is removed.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "TempFolder.h"

class XTestKeyboard;
class XvfbProcess;

class WestonSession {
 public:
  enum Backend { X11_WINDOW, HEADLESS };
  // A Weston whose output is `width` x `height` logical pixels at buffer scale `scale`. The
  // desktop behind windows is pure green, without a panel, so that the game's window stands out.
  WestonSession(Backend backend, int width, int height, int scale);
  ~WestonSession();
  WestonSession(const WestonSession&) = delete;
  WestonSession& operator=(const WestonSession&) = delete;

  // Whether Xvfb and Weston run and Weston's socket answers; else setupProblem() says why.
  bool ready() const { return problem.empty(); }
  std::string setupProblem() const { return problem; }
  const std::string& dataFolder() const { return gameFolder; }

  using Environment = std::vector<std::pair<std::string, std::string>>;
  // Starts build/pellix with WAYLAND_DISPLAY (and, with `withX11`, DISPLAY) set, and the extra
  // variables of `environment`.
  bool launch(const Environment& environment = {}, bool withX11 = true);
  // Everything the game wrote to standard error (the Wayland protocol log among it).
  std::string errorOutput() const;
  // Polls until `condition` holds; false after `timeoutMs` (scaled for the run).
  static bool waitFor(const std::function<bool()>& condition, int timeoutMs);

  struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;  // y down
    bool isDesktop(int x, int y) const;
  };
  // The whole Xvfb screen.
  Picture screen();
  // The bounding box of what is not Weston's green desktop inside its output window, leaving out
  // the pointer: the game's window once it shows (x, y, width, height in X pixels); empty when
  // only the desktop shows.
  struct Box {
    int x = 0, y = 0, width = 0, height = 0;
  };
  Box windowBox();
  // When PELLIX_E2E_SCREENSHOTS names a folder, saves the Xvfb screen there as `name`.png.
  void saveScreenshot(const std::string& name);
  // Whether the game opened its window on Xvfb itself (a mapped X window named "Pellix").
  bool x11WindowShown();

  // The pointer moved to an Xvfb screen point; a click of the left button there; a key (an X
  // KeySym).
  void moveTo(int x, int y);
  void click(int x, int y);
  bool pressKey(unsigned long keysym);
  // The part of the picture inside `box` (X pixels): its RGB rows, y down.
  std::vector<uint8_t> pixelsOf(const Picture& picture, const Box& box) const;

  // Xvfb's keyboard focus taken away from Weston's output window, as when the player turns to
  // another application beside a nested compositor: Weston then takes the keyboard from the
  // game (wl_keyboard.leave). Given back, Weston gives it back to the window that had it.
  bool unfocusCompositor();
  bool focusCompositor();
  // Weston's own window resizing: Super and the right button held at (x, y) over a window, the
  // pointer moved by (dx, dy) in steps, then both let go (X pixels; the edges nearest the point
  // follow the pointer).
  bool dragResize(int x, int y, int dx, int dy);

  void signal(int number);
  // The game's exit status, or -1 on time-out or when a signal ended it.
  int waitForExit(int timeoutMs);

 private:
  bool startXvfb(int width, int height);
  bool startWeston(Backend backend, int width, int height, int scale);

  TempFolder base{"pellix-weston"};
  std::string baseFolder = base.str();
  std::string runtimeFolder;
  std::string gameFolder;
  std::string errorLog;
  std::string socketName = "pellix-wl";
  std::string displayName;
  void* display = nullptr;  // Display*
  unsigned long compositorWindow = 0;  // Weston's output window on Xvfb, once found
  std::unique_ptr<XTestKeyboard> keyboard;
  std::unique_ptr<XvfbProcess> xvfb;
  pid_t westonPid = -1;
  pid_t gamePid = -1;
  int outputWidth = 0, outputHeight = 0;
  std::string problem;
};
