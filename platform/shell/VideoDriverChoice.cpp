// The video driver decided from the environment and the compositor's answer.
#include "VideoDriverChoice.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

namespace {

bool isSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

// Long enough for a compositor busy starting up, short enough not to hold a launch up.
const int SEAT_PROBE_TIMEOUT_MS = 3000;

bool startsWithWayland(const std::string& drivers) {
  return drivers.compare(0, 7, "wayland") == 0 && (drivers.size() == 7 || drivers[7] == ',');
}

}  // namespace

bool VideoDriverChoice::Situation::needsSeatProbe() const {
  return chosenDrivers.empty() ? waylandDisplay : startsWithWayland(chosenDrivers);
}

VideoDriverChoice::Choice VideoDriverChoice::choose(const Situation& situation) {
  Choice choice;
  if (!situation.chosenDrivers.empty()) {
    // The player's choice stands; SDL reports a Wayland display it cannot reach by itself.
    if (startsWithWayland(situation.chosenDrivers) && situation.seat == WaylandSeatProbe::NO_SEAT) {
      choice.canRun = false;
      choice.note = "Pellix cannot be played here: SDL_VIDEODRIVER asks for Wayland and the Wayland display has "
                    "no seat (no keyboard, pointer or touch); SDL_VIDEODRIVER=x11 uses X11 instead.";
    }
    return choice;
  }
  if (!situation.waylandDisplay) return choice;
  if (situation.seat == WaylandSeatProbe::HAS_SEAT) {
    // SDL tries the next driver in the list when the first cannot start.
    choice.drivers = "wayland,x11";
    return choice;
  }
  const std::string why = situation.seat == WaylandSeatProbe::NO_SEAT
                              ? "the Wayland display has no seat (no keyboard, pointer or touch)"
                              : "the Wayland display named by WAYLAND_DISPLAY does not answer";
  if (situation.x11Display) {
    choice.drivers = "x11";
    choice.note = "Pellix uses X11: " + why + ".";
  } else {
    choice.canRun = false;
    choice.note = "Pellix cannot be played here: " + why + " and there is no X11 display (DISPLAY).";
  }
  return choice;
}

bool VideoDriverChoice::apply() {
  Situation situation;
  if (isSet("SDL_VIDEODRIVER")) situation.chosenDrivers = std::getenv("SDL_VIDEODRIVER");
  situation.waylandDisplay = isSet("WAYLAND_DISPLAY");
  situation.x11Display = isSet("DISPLAY");
  if (situation.needsSeatProbe()) situation.seat = WaylandSeatProbe::probe(SEAT_PROBE_TIMEOUT_MS);
  const Choice choice = choose(situation);
  if (!choice.note.empty()) std::fprintf(stderr, "%s\n", choice.note.c_str());
  if (!choice.drivers.empty()) SDL_SetHint(SDL_HINT_VIDEODRIVER, choice.drivers.c_str());
  return choice.canRun;
}
