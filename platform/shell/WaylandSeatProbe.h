// WaylandSeatProbe: asks the Wayland compositor named by the environment (WAYLAND_DISPLAY)
// which globals it offers, before SDL touches it, to learn whether it has a seat (keyboard,
// pointer or touch). SDL 2.26 crashes inside SDL_Init on a compositor without one, so the video
// driver is chosen from this answer. Used once at launch by VideoDriverChoice.
#pragma once

class WaylandSeatProbe {
 public:
  enum Answer {
    HAS_SEAT,
    NO_SEAT,
    // No compositor could be reached, or it did not answer in time.
    UNREACHABLE,
  };
  // Connects, waits at most `timeoutMs` for the list of globals, and disconnects.
  static Answer probe(int timeoutMs);
};
