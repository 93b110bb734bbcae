// Headless drawing for the view tests: an EGL surfaceless context (OpenGL ES 1.1, or desktop
// OpenGL 2.1 when built with PELLIX_UI_TEST_GL_DESKTOP), the game's 320 x 480 offscreen frame
// under its fixed GL state, and pixel read-back. One per process (GL state is process-wide):
// the first call of instance() creates it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "OffscreenFrame.h"
#include "OffscreenGlContext.h"

struct Pixel {
  int r, g, b, a;
};

class UiRenderHarness {
 public:
  static const int WIDTH = 320;
  static const int HEIGHT = 480;

  // Null, with the reason in failure(), when no context could be made.
  static UiRenderHarness* instance();
  static const std::string& failure();

  // Fills the screen with one opaque colour (channels 0-255).
  void clear(int r, int g, int b);
  // Reads the screen back (row 0 at the top).
  void readBack();
  Pixel pixel(int x, int y) const;
  const std::vector<uint8_t>& pixels() const { return screen; }
  // Saves the last read-back as a PNG under the test build folder, for looking at.
  void savePng(const std::string& name) const;

 private:
  UiRenderHarness() = default;
  bool create();

  OffscreenGlContext context;
  OffscreenFrame frame;
  std::vector<uint8_t> screen;
};
