// Reading colours, blocks and brightness off a screen picture.
#include "ScreenImage.h"

#include <algorithm>
#include <cstdlib>

#include "PngWriter.h"

ScreenImage::ScreenImage(std::vector<uint8_t> rgb) {
  if (rgb.size() == static_cast<size_t>(WIDTH * HEIGHT * 3)) pixels = std::move(rgb);
}

Rgb ScreenImage::at(int x, int y) const {
  if (!valid() || x < 0 || y < 0 || x >= WIDTH || y >= HEIGHT) return Rgb();
  const size_t offset = (static_cast<size_t>(y) * WIDTH + static_cast<size_t>(x)) * 3;
  return Rgb{pixels[offset], pixels[offset + 1], pixels[offset + 2]};
}

bool ScreenImage::matches(int x, int y, Rgb colour, int tolerance) const {
  const Rgb p = at(x, y);
  return std::abs(p.r - colour.r) <= tolerance && std::abs(p.g - colour.g) <= tolerance &&
         std::abs(p.b - colour.b) <= tolerance;
}

PixelRect ScreenImage::findBlock(Rgb colour, int tolerance, PixelRect area, int minWidth, int minHeight) const {
  const int left = std::max(0, area.x), right = std::min(WIDTH, area.x + area.w);
  const int top = std::max(0, area.y), bottom = std::min(HEIGHT, area.y + area.h);
  // The rows of the block followed so far and the columns its pixels span.
  int blockTop = -1, spanLeft = WIDTH, spanRight = -1;
  for (int y = top; y <= bottom; ++y) {
    int count = 0, first = WIDTH, last = -1;
    for (int x = left; y < bottom && x < right; ++x) {
      if (!matches(x, y, colour, tolerance)) continue;
      ++count;
      first = std::min(first, x);
      last = x;
    }
    if (count >= minWidth) {
      if (blockTop < 0) {
        blockTop = y;
        spanLeft = first;
        spanRight = last;
      }
      spanLeft = std::min(spanLeft, first);
      spanRight = std::max(spanRight, last);
      continue;
    }
    if (blockTop >= 0 && y - blockTop >= minHeight)
      return PixelRect{spanLeft, blockTop, spanRight - spanLeft + 1, y - blockTop};
    blockTop = -1;
  }
  return PixelRect();
}

int ScreenImage::countBrighterThan(PixelRect area, int level) const {
  const int left = std::max(0, area.x), right = std::min(WIDTH, area.x + area.w);
  const int top = std::max(0, area.y), bottom = std::min(HEIGHT, area.y + area.h);
  int count = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      const Rgb p = at(x, y);
      if ((p.r + p.g + p.b) / 3 > level) ++count;
    }
  }
  return count;
}

double ScreenImage::fractionDifferent(const ScreenImage& other, int tolerance) const {
  if (!valid() || !other.valid()) return 1.0;
  size_t different = 0;
  for (size_t i = 0; i < pixels.size(); i += 3) {
    for (size_t c = 0; c < 3; ++c) {
      if (std::abs(static_cast<int>(pixels[i + c]) - static_cast<int>(other.pixels[i + c])) > tolerance) {
        ++different;
        break;
      }
    }
  }
  return static_cast<double>(different) / static_cast<double>(WIDTH * HEIGHT);
}

bool ScreenImage::savePng(const std::string& path) const { return valid() && writeRgbPng(path, WIDTH, HEIGHT, pixels); }
