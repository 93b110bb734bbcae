// The offscreen framebuffer the game draws every frame into: an RGBA texture of which the
// bottom-left pixels are the screen (320 x 480 units), drawn at the window's own resolution:
// pixelWidth x pixelHeight device pixels (320 x 480 at scale 1, in a 512 x 512 texture). The
// texture is large enough for the game's 512 x 512 unit snapshots at that resolution. The window
// shell shows it in the window; tests read its pixels back. Created and used on the thread whose
// GL context is current; owns its framebuffer object and texture.
#pragma once

#include <cstdint>
#include <vector>

class OffscreenFrame {
 public:
  OffscreenFrame() = default;
  ~OffscreenFrame();
  OffscreenFrame(const OffscreenFrame&) = delete;
  OffscreenFrame& operator=(const OffscreenFrame&) = delete;

  // Creates the framebuffer for a width x height screen (both at most 512) drawn at
  // pixelWidth x pixelHeight device pixels (-1: the screen's own size). Called again, it
  // replaces the previous framebuffer. Returns false when the context has no framebuffer
  // objects, the size exceeds what GL allows, or the framebuffer is incomplete.
  bool create(int width, int height, int pixelWidth = -1, int pixelHeight = -1);
  // Makes it the drawing target with a viewport and scissor box over the screen.
  void bind() const;
  // Screen pixels (pixelWidth x pixelHeight) as bytes red, green, blue, alpha; row 0 is the top
  // of the screen (y down).
  std::vector<uint8_t> readPixels() const;
  // Draws the screen into the window's framebuffer (object 0, or `target`), scaled uniformly to
  // fit a windowWidth x windowHeight client area and centred on black. Leaves the target bound;
  // call bind() before drawing the next frame.
  void presentScaled(int windowWidth, int windowHeight, unsigned target = 0) const;
  // Draws the screen into the rectangle (left, top, width, height) of a windowWidth x
  // windowHeight framebuffer (y down), on black; pixel for pixel when the rectangle has the
  // frame's pixel size.
  // With `only` (window pixels, y down, right and bottom exclusive) only the pixels inside it
  // change: the part of the screen that changed, over a window that still shows the rest.
  struct WindowRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
  };
  void presentAt(int windowWidth, int windowHeight, int left, int top, int width, int height,
                 unsigned target = 0, const WindowRect* only = nullptr) const;
  unsigned framebufferId() const { return framebuffer; }

  int width() const { return screenWidth; }
  int height() const { return screenHeight; }
  int pixelWidth() const { return framePixelWidth; }
  int pixelHeight() const { return framePixelHeight; }
  unsigned textureId() const { return texture; }

 private:
  unsigned framebuffer = 0;
  unsigned texture = 0;
  void release();

  int screenWidth = 0;
  int screenHeight = 0;
  int framePixelWidth = 0;
  int framePixelHeight = 0;
  int textureWidth = 0;
  int textureHeight = 0;
  // Screens (and the snapshots that ask for their size) are at most 512 x 512 screen units.
  static constexpr int SNAPSHOT_SIZE = 512;
};
