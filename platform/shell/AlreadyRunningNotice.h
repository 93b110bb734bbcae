// AlreadyRunningNotice: the small window a second launch shows when a game already runs with
// the same data folder: it says so, and either that the running game was brought to the front
// or that the player should switch to it, with an OK button. Drawn with cairo and Pango into
// the window's own surface (no GL), so that it opens wherever SDL can open a window. Shown by
// the shell after SDL's video has started; it owns its window for the time it is shown.
#pragma once

#include <functional>
#include <string>

class AlreadyRunningNotice {
 public:
  // The window's title, which names it among the desktop's windows.
  static const char* const TITLE;

  // Shows the notice until the player dismisses it (OK, Return, Space, Escape or closing the
  // window) or `stopRequested` turns true (checked whenever an event arrives). False when the
  // window could not be opened.
  static bool show(const std::string& dataFolder, bool runningGameRaised, const std::function<bool()>& stopRequested);
};
