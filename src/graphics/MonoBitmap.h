// MonoBitmap: an 8-bit single-channel (coverage) buffer, the sibling of Bitmap used for text and
// digit images; uploaded as an alpha-only texture. Owns its bytes; a Texture given one owns it
// and may free the bytes after upload (w and h stay valid).
#pragma once

#include <cstdint>
#include <memory>

class MonoBitmap {
 public:
  // A w x h buffer of zeros.
  MonoBitmap(int w, int h);

  MonoBitmap(const MonoBitmap&) = delete;
  MonoBitmap& operator=(const MonoBitmap&) = delete;

  uint8_t getPixel(int x, int y) const;
  void putPixel(int x, int y, uint8_t value);
  void freePixels() { pixels.reset(); }

  std::unique_ptr<uint8_t[]> pixels;
  int w = 0;
  int h = 0;
  int scale = 1;  // pixels per screen unit (text rasterised at the art scale)

 private:
  void checkCoordinates(int x, int y) const;
};
