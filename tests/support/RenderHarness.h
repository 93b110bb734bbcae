// Headless rendering harness of the graphics tests and benchmarks: an EGL surfaceless context on
// Mesa (OpenGL ES 1.1 or desktop OpenGL 2.1), the game's offscreen frame and its fixed GL state,
// and pixel read-back. The frame is 320 x 480 pixels unless a test draws it at another
// resolution (setResolution), as a window of another size would. One harness per process (GL
// state is process-wide): the first call of instance() creates it. A test program compiled with
// PELLIX_TEST_GL_API_DESKTOP=1 gets desktop OpenGL, any other OpenGL ES 1.1.
#pragma once

#ifndef PELLIX_TEST_GL_API_DESKTOP
#define PELLIX_TEST_GL_API_DESKTOP 0
#endif

#include <cstdint>
#include <string>
#include <vector>

#include "OffscreenFrame.h"
#include "OffscreenGlContext.h"

struct Rgba {
  int r, g, b, a;
};

class RenderHarness {
 public:
  // The process's harness; null (with the reason in failure()) when no context could be made.
  // Inline so that the test program's own choice of GL decides.
  static RenderHarness* instance() {
    return instanceFor(PELLIX_TEST_GL_API_DESKTOP ? OffscreenGlContext::OPENGL_2 : OffscreenGlContext::OPENGL_ES_1);
  }
  // The process's harness, created on `api` by the first call.
  static RenderHarness* instanceFor(OffscreenGlContext::Api api);
  static const std::string& failure();

  // Draws the frame at pixelWidth x pixelHeight device pixels from now on, with the art set of
  // that scale (DisplayScale), as the window does; false when GL cannot. 320 x 480 is scale 1.
  bool setResolution(int pixelWidth, int pixelHeight);
  int pixelWidth() const { return frame.pixelWidth(); }
  int pixelHeight() const { return frame.pixelHeight(); }

  // Fills the screen with one opaque colour (0-255 channels).
  void clear(int r, int g, int b);
  // Reads the whole screen back (y down), at the frame's resolution.
  void readBack();
  // A pixel of the last read-back, in the frame's pixels.
  Rgba pixel(int x, int y) const;
  // Saves the last read-back as a PNG.
  bool savePng(const std::string& path) const;
  const std::vector<uint8_t>& pixels() const { return screen; }
  OffscreenGlContext::Api api() const { return context.api(); }
  OffscreenFrame& screenFrame() { return frame; }

  static constexpr int WIDTH = 320;
  static constexpr int HEIGHT = 480;

 private:
  RenderHarness() = default;
  bool create(OffscreenGlContext::Api api);

  OffscreenGlContext context;
  OffscreenFrame frame;
  std::vector<uint8_t> screen;
};

// The generated resource folder of the build.
std::string generatedResourceFolder();
