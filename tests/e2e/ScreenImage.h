// One picture of the game screen (320 x 480 RGB, y down) as read back from the game's window,
// with the few questions the end-to-end tests ask of it: the colour of a pixel, where a solid
// block of a colour is (an alert's button, the selected segment), how bright an area is and how
// much two pictures differ. Made by GameSession::screen(); a plain value.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
  int r = 0, g = 0, b = 0;
};

struct PixelRect {
  int x = 0, y = 0, w = 0, h = 0;
  bool empty() const { return w <= 0 || h <= 0; }
  int centreX() const { return x + w / 2; }
  int centreY() const { return y + h / 2; }
};

class ScreenImage {
 public:
  static constexpr int WIDTH = 320;
  static constexpr int HEIGHT = 480;

  ScreenImage() = default;
  // `rgb` is WIDTH x HEIGHT x 3 bytes; anything else makes an invalid (empty) image.
  explicit ScreenImage(std::vector<uint8_t> rgb);

  bool valid() const { return !pixels.empty(); }
  // The pixel at (x, y); black outside the screen or in an invalid image.
  Rgb at(int x, int y) const;
  // Whether (x, y) is within `tolerance` of `colour` in every channel.
  bool matches(int x, int y, Rgb colour, int tolerance) const;
  // The first block, top to bottom, of `colour` (within `tolerance` per channel) inside `area`:
  // at least minHeight consecutive rows that each hold at least minWidth such pixels (a label
  // drawn on a button leaves enough of them). Its frame spans those pixels. Empty when none.
  PixelRect findBlock(Rgb colour, int tolerance, PixelRect area, int minWidth, int minHeight) const;
  // How many pixels of `area` (clipped to the screen) have (r + g + b) / 3 above `level`: text
  // drawn full bright shows many, dimmed text none.
  int countBrighterThan(PixelRect area, int level) const;
  // The share of pixels (0 to 1) that differ by more than `tolerance` in some channel; 1 when
  // either image is invalid.
  double fractionDifferent(const ScreenImage& other, int tolerance) const;
  // Writes the picture as a PNG file.
  bool savePng(const std::string& path) const;

 private:
  std::vector<uint8_t> pixels;
};
