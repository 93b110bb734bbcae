// Bitmap: a CPU-side 32-bit RGBA pixel buffer. Image resources are loaded into it, and the
// start-up image generation copies, shrinks, fades and paints it pixel by pixel before it is
// uploaded as a texture. Pixel value: red in bits 0-7, green 8-15, blue 16-23, alpha 24-31, which
// on the little-endian target are the bytes red, green, blue, alpha in memory.
// Owns its pixel array. A Texture given a bitmap owns the bitmap and may free the pixels after
// upload (pixels becomes null, w and h stay valid).
#pragma once

#include <cstdint>
#include <memory>

class Bitmap {
 public:
  // A w x h bitmap of transparent black.
  Bitmap(int w, int h);
  // Loads the image resource `resourceName` ("BallBlue_64x64.png") into a power-of-two buffer,
  // top-left anchored, premultiplied. imageWidth / imageHeight (may be null) receive the image's
  // own size. An alphaScale other than 1 rescales every alpha byte of the buffer.
  // A missing or undecodable resource, or one without alpha, stops the program: these are
  // build errors of the game's own resource folder.
  Bitmap(const char* resourceName, int* imageWidth, int* imageHeight, float alphaScale);

  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  void putPixel(int x, int y, uint32_t value);
  // Channel form; the arguments come blue, green, red, alpha. No clamping.
  void putPixel(int x, int y, int blue, int green, int red, int alpha);
  uint32_t getPixel(int x, int y) const;

  // Deep copy; the caller owns the result.
  Bitmap* clone() const;
  // Box-filtered reduction by `scale` of a square bitmap whose side `scale` divides; the caller
  // owns the result.
  Bitmap* scaleDownAccurately(int scale) const;
  // Divides every alpha byte by `factor` (> 0), truncating; colour bytes stay.
  void makeMoreTransparent(double factor);
  // Gives the pixel array back; w and h keep describing the size.
  void freePixels() { pixels.reset(); }

  std::unique_ptr<uint32_t[]> pixels;
  int w = 0;
  int h = 0;

 private:
  void checkCoordinates(int x, int y) const;
};
