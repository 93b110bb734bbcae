// The offscreen framebuffer the game draws every frame into: a 512 x 512 RGBA texture of which
// the bottom-left width x height pixels (320 x 480) are the screen. The window shell shows it
// scaled to the window; tests read its pixels back. Created and used on the thread whose GL
// context is current; owns its framebuffer object and texture.
#pragma once

#include <cstdint>
#include <vector>

class OffscreenFrame {
 public:
  OffscreenFrame() = default;
  ~OffscreenFrame();
  OffscreenFrame(const OffscreenFrame&) = delete;
  OffscreenFrame& operator=(const OffscreenFrame&) = delete;

  // Creates the framebuffer for a width x height screen (both at most 512). Returns false when
  // the context has no framebuffer objects or the framebuffer is incomplete.
  bool create(int width, int height);
  // Makes it the drawing target with a viewport and scissor box over the screen.
  void bind() const;
  // Screen pixels as bytes red, green, blue, alpha; row 0 is the top of the screen (y down).
  std::vector<uint8_t> readPixels() const;
  // Draws the screen into the window's framebuffer (object 0, or `target`), scaled uniformly to
  // fit a windowWidth x windowHeight client area and centred on black. Leaves the target bound;
  // call bind() before drawing the next frame.
  void presentScaled(int windowWidth, int windowHeight, unsigned target = 0) const;
  unsigned framebufferId() const { return framebuffer; }

  int width() const { return screenWidth; }
  int height() const { return screenHeight; }
  unsigned textureId() const { return texture; }

 private:
  unsigned framebuffer = 0;
  unsigned texture = 0;
  int screenWidth = 0;
  int screenHeight = 0;
  static const int TEXTURE_SIZE = 512;
};
