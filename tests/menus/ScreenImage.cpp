// Measurements on a read-back screen.
#include "ScreenImage.h"

#include <algorithm>
#include <cstdlib>

#include "Assert.h"

std::ostream& operator<<(std::ostream& out, const PixelBox& box) {
  if (box.empty()) return out << "(empty)";
  return out << "(" << box.left << "," << box.top << ")-(" << box.right << "," << box.bottom << ")";
}

ScreenImage::ScreenImage(std::vector<uint8_t> rgba) : pixels(std::move(rgba)) {
  MYTL_ASSERT(pixels.size() == static_cast<size_t>(WIDTH) * HEIGHT * 4, "ScreenImage");
}

ScreenImage::Colour ScreenImage::pixel(int x, int y) const {
  MYTL_ASSERT(x >= 0 && y >= 0 && x < WIDTH && y < HEIGHT && !pixels.empty(), "ScreenImage");
  const size_t at = (static_cast<size_t>(y) * WIDTH + static_cast<size_t>(x)) * 4;
  return {pixels[at], pixels[at + 1], pixels[at + 2], pixels[at + 3]};
}

int ScreenImage::brightness(int x, int y) const {
  const Colour c = pixel(x, y);
  return (c.r + c.g + c.b) / 3;
}

PixelBox ScreenImage::clipped(const PixelBox& box) {
  return PixelBox{std::max(box.left, 0), std::max(box.top, 0), std::min(box.right, WIDTH - 1),
                  std::min(box.bottom, HEIGHT - 1)};
}

int ScreenImage::maxBrightness(const PixelBox& box) const {
  const PixelBox area = clipped(box);
  int brightest = 0;
  for (int y = area.top; y <= area.bottom; ++y)
    for (int x = area.left; x <= area.right; ++x) brightest = std::max(brightest, brightness(x, y));
  return brightest;
}

double ScreenImage::meanBrightness(const PixelBox& box) const {
  const PixelBox area = clipped(box);
  if (area.empty()) return 0.0;
  double sum = 0.0;
  for (int y = area.top; y <= area.bottom; ++y)
    for (int x = area.left; x <= area.right; ++x) sum += brightness(x, y);
  return sum / (static_cast<double>(area.width()) * area.height());
}

int ScreenImage::difference(const ScreenImage& other, int x, int y) const {
  const Colour a = pixel(x, y);
  const Colour b = other.pixel(x, y);
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

PixelBox ScreenImage::differenceBox(const ScreenImage& other, int tolerance, const PixelBox& within) const {
  const PixelBox area = clipped(within);
  PixelBox box{WIDTH, HEIGHT, -1, -1};
  for (int y = area.top; y <= area.bottom; ++y) {
    for (int x = area.left; x <= area.right; ++x) {
      if (difference(other, x, y) <= tolerance) continue;
      box.left = std::min(box.left, x);
      box.top = std::min(box.top, y);
      box.right = std::max(box.right, x);
      box.bottom = std::max(box.bottom, y);
    }
  }
  return box.right < 0 ? PixelBox() : box;
}

int ScreenImage::countDifferences(const ScreenImage& other, int tolerance, const PixelBox& within) const {
  const PixelBox area = clipped(within);
  int count = 0;
  for (int y = area.top; y <= area.bottom; ++y)
    for (int x = area.left; x <= area.right; ++x) count += difference(other, x, y) > tolerance ? 1 : 0;
  return count;
}
