// DisplayScale: the resolution the game's 320 x 480 screen is drawn at. The frame has
// framePixelWidth x framePixelHeight device pixels (the window's own pixels, HiDPI included),
// and the images are made from the art set of one whole scale, 1x to 4x ("name@2x.png").
// Everything the game lays out stays in screen units; textures keep their logical size and only
// their pixels follow the scale.
// Set by the window shell (or a test harness) before the frame it applies to is drawn, on the
// rendering thread; read by the texture code and by whoever keeps pixel copies of the frame.
#pragma once

class DisplayScale {
 public:
  static constexpr int SCREEN_WIDTH = 320;
  static constexpr int SCREEN_HEIGHT = 480;
  static constexpr int MAX_ART_SCALE = 4;

  // The frame is now framePixelWidth x framePixelHeight pixels (both > 0) and new images come
  // from the art set `artScale` (1 to 4; clamped).
  static void set(int framePixelWidth, int framePixelHeight, int artScale);
  // Back to the unscaled 320 x 480 frame with 1x art.
  static void reset() { set(SCREEN_WIDTH, SCREEN_HEIGHT, 1); }

  static int framePixelWidth();
  static int framePixelHeight();
  // Device pixels per screen unit across and down (equal up to the rounding of the frame size).
  static float pixelsPerUnitX();
  static float pixelsPerUnitY();
  static int artScale();
  // Changes whenever set() changes the frame size or the art set: frame snapshots and textures
  // made before belong to the old resolution.
  static int generation();

  // The art set for a frame of `pixelsPerUnit`: the smallest whole scale at or above it, from 1 to
  // 4. Without non-power-of-two textures only 1, 2 and 4 can be used (3 becomes 4).
  static int artScaleFor(float pixelsPerUnit, bool nonPowerOfTwoTextures);
};
