// ScreenImage: one read-back of the 320 x 480 screen kept for comparison, with the measurements
// the menu tests make: brightness of a region, and where two frames differ.
// Made by the menu test fixture after each rendered frame; a plain value, no GL.
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

// A rectangle of pixels, bounds inclusive. An empty box has right < left.
struct PixelBox {
  int left = 0;
  int top = 0;
  int right = -1;
  int bottom = -1;

  bool empty() const { return right < left || bottom < top; }
  int width() const { return empty() ? 0 : right - left + 1; }
  int height() const { return empty() ? 0 : bottom - top + 1; }
  double centreX() const { return (left + right) / 2.0; }
  double centreY() const { return (top + bottom) / 2.0; }
  bool contains(const PixelBox& inner) const {
    return inner.empty() || (inner.left >= left && inner.right <= right && inner.top >= top && inner.bottom <= bottom);
  }
};

std::ostream& operator<<(std::ostream& out, const PixelBox& box);

class ScreenImage {
 public:
  static constexpr int WIDTH = 320;
  static constexpr int HEIGHT = 480;

  ScreenImage() = default;
  // `rgba` is a read-back of WIDTH x HEIGHT pixels, row 0 at the top.
  explicit ScreenImage(std::vector<uint8_t> rgba);

  struct Colour {
    int r, g, b, a;
  };
  Colour pixel(int x, int y) const;
  // (r + g + b) / 3 of one pixel.
  int brightness(int x, int y) const;
  // Brightest pixel and mean brightness inside `box` (clipped to the screen).
  int maxBrightness(const PixelBox& box) const;
  double meanBrightness(const PixelBox& box) const;

  // The smallest box holding every pixel whose colour differs from `other`'s by more than
  // `tolerance` in some channel, looking only inside `within`.
  PixelBox differenceBox(const ScreenImage& other, int tolerance = 0, const PixelBox& within = wholeScreen()) const;
  // How many pixels inside `within` differ by more than `tolerance`.
  int countDifferences(const ScreenImage& other, int tolerance = 0, const PixelBox& within = wholeScreen()) const;

  static PixelBox wholeScreen() { return PixelBox{0, 0, WIDTH - 1, HEIGHT - 1}; }

 private:
  int difference(const ScreenImage& other, int x, int y) const;
  static PixelBox clipped(const PixelBox& box);

  std::vector<uint8_t> pixels;
};
