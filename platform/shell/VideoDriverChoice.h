// VideoDriverChoice: which of SDL's video drivers the game asks for. SDL 2.26 tries X11 before
// Wayland, so on a Wayland desktop the game would run through XWayland (blurred when scaled);
// it asks for Wayland first, X11 after it, unless the player named a driver (SDL_VIDEODRIVER).
// A compositor without a seat would crash SDL, so it is asked first and skipped when it has
// none; a player who asked for Wayland on such a compositor is told why the game cannot start
// rather than see it crash. Called by PellixApp at launch, before SDL_Init.
#pragma once

#include <string>

#include "WaylandSeatProbe.h"

class VideoDriverChoice {
 public:
  struct Situation {
    std::string chosenDrivers;    // SDL_VIDEODRIVER: the player's own choice, empty for none
    bool waylandDisplay = false;  // WAYLAND_DISPLAY is set
    bool x11Display = false;      // DISPLAY is set
    // Asked only when Wayland would be tried first (needsSeatProbe).
    WaylandSeatProbe::Answer seat = WaylandSeatProbe::UNREACHABLE;
    bool needsSeatProbe() const;
  };
  struct Choice {
    // The drivers for SDL_HINT_VIDEODRIVER, in order; empty leaves the choice to SDL.
    std::string drivers;
    // Why the game does not use the Wayland display it was given (for standard error); empty when
    // there is nothing to say.
    std::string note;
    // False when no display the game can use is left: `note` says why.
    bool canRun = true;
  };

  static Choice choose(const Situation& situation);
  // Reads the environment, asks the compositor when it matters, sets SDL's hint and prints the
  // note. False when the game cannot run.
  static bool apply();
};
