// PartialFrame: decides whether a frame of play may be drawn again only where it changed. When
// everything outside the animated squares (a pulsing selection, a growing or vanishing ball, a
// turning bomb) shows what the last frame showed, only the area of those squares in this frame
// and in the last one is drawn, and the rest of the last frame stays; anything else draws the
// whole frame. The controller asks it before every frame of play, once the shell has said that
// its frames stay in the framebuffer from one to the next (allow); it owns one.
#pragma once

#include <cstdint>
#include <vector>

class PartialFrame {
 public:
  // A rectangle in screen units; empty when it has no area.
  struct Area {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
    bool empty() const { return right <= left || bottom <= top; }
    // Grows to hold `other` as well.
    void include(const Area& other);
  };

  // Everything a frame of play shows outside its animated squares, as numbers: two frames with
  // equal keys differ only inside those squares.
  using StillKey = std::vector<int64_t>;

  // Whether frames may be partial at all: the shell draws each frame over the last one.
  void allow(bool allowed);
  bool allowed() const { return enabled; }

  // Plans the next frame of play: `key` and the area of its animated squares; `wholeFrame` when
  // something outside them may have changed (input, a state switch, a moving ghost). True when
  // only `area` needs drawing, filled with the animated area of this frame and the last one.
  bool plan(const StillKey& key, const Area& animated, bool wholeFrame, Area& area);
  // The next frame is drawn whole (the framebuffer no longer holds a frame of play).
  void forget() { haveLast = false; }

 private:
  bool enabled = false;
  bool haveLast = false;
  StillKey lastKey;
  Area lastAnimated;
};
