// Coverage buffer with bounds-checked access.
#include "MonoBitmap.h"

#include "Assert.h"

MonoBitmap::MonoBitmap(int width, int height) : w(width), h(height) {
  MYTL_ASSERT(width >= 0 && height >= 0, "Bitmap");
  pixels.reset(new uint8_t[static_cast<size_t>(w) * static_cast<size_t>(h)]());
}

void MonoBitmap::checkCoordinates(int x, int y) const {
  MYTL_ASSERT(x>=0, "Bitmap");
  MYTL_ASSERT(y>=0, "Bitmap");
  MYTL_ASSERT(x<w, "Bitmap");
  MYTL_ASSERT(y<h, "Bitmap");
  MYTL_ASSERT(pixels != nullptr, "Bitmap");
}

uint8_t MonoBitmap::getPixel(int x, int y) const {
  checkCoordinates(x, y);
  return pixels[static_cast<size_t>(x) + static_cast<size_t>(y) * w];
}

void MonoBitmap::putPixel(int x, int y, uint8_t value) {
  checkCoordinates(x, y);
  pixels[static_cast<size_t>(x) + static_cast<size_t>(y) * w] = value;
}
