// WindowIdentity: how the desktop recognises the game's window: its class (X11 WM_CLASS,
// Wayland app id), which is the application id the launcher's StartupWMClass and the icon
// names use, and its icon, painted by the same generator as the launcher's icons.
// Called by PellixApp at launch: nameApplication() before SDL starts its video, setIcon() once
// the window exists. Owns nothing; the window stays the caller's.
#pragma once

#include <string>

struct SDL_Window;

class WindowIdentity {
 public:
  // The reverse-DNS application id.
  static const char* applicationId();
  // Makes SDL give the windows it creates the application id as their class. Must run before
  // SDL_Init; a class the user set in the environment is left alone.
  static void nameApplication();
  // Sets the window icon from the PNG at `path`; false (and the window keeps the default icon)
  // when the picture cannot be read.
  static bool setIcon(SDL_Window* window, const std::string& path);
};
