// Bitmap: a CPU-side 32-bit RGBA pixel buffer. Image resources are loaded into it, and the
// start-up image generation copies, shrinks, fades and paints it pixel by pixel before it is
// uploaded as a texture. Pixel value: red in bits 0-7, green 8-15, blue 16-23, alpha 24-31, which
// on the little-endian target are the bytes red, green, blue, alpha in memory.
// At an art scale above 1 (DisplayScale) a bitmap holds `scale` pixels per screen unit: w and h
// count pixels, and a loaded image keeps its logical size as w / scale by h / scale.
// Owns its pixel array. A Texture given a bitmap owns the bitmap and may free the pixels after
// upload (pixels becomes null, w and h stay valid).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class Bitmap {
 public:
  // A w x h bitmap of transparent black.
  Bitmap(int w, int h);
  // Loads the image resource `resourceName` ("BallBlue_64x64.png") into a power-of-two buffer,
  // top-left anchored, premultiplied. imageWidth / imageHeight (may be null) receive the image's
  // own size. An alphaScale other than 1 rescales every alpha byte of the buffer.
  // At art scale S (DisplayScale) the image comes from "BallBlue_64x64@Sx.png" (a lower scale's
  // file when that one is missing): the buffer is then the power-of-two logical size times the
  // file's scale, and the sizes received stay logical.
  // A missing or undecodable resource, or one without alpha, stops the program: these are
  // build errors of the game's own resource folder.
  Bitmap(const char* resourceName, int* imageWidth, int* imageHeight, float alphaScale);

  // An image resource as that constructor reads it (the same file, checks and alpha scaling)
  // without its power-of-two buffer: for a texture that uploads the image and keeps no pixels.
  struct Image {
    // pixelWidth x pixelHeight values, rows back to back, in this class's pixel layout.
    std::vector<uint32_t> pixels;
    int pixelWidth = 0;
    int pixelHeight = 0;
    int imageWidth = 0;  // logical size (screen units)
    int imageHeight = 0;
    int bufferWidth = 0;  // the buffer the constructor makes, in pixels
    int bufferHeight = 0;
    int scale = 1;
  };
  static Image loadImage(const char* resourceName, float alphaScale);

  // Start-up help: begins decoding the named image resources (at `artScale`, by default the
  // current art scale) in the background, so that the loads that follow find them ready;
  // endPrefetch drops what was not used. Called around the renderer's generation, on the
  // rendering thread.
  static void prefetch(const char* const* resourceNames, int count, int artScale = 0);
  static void endPrefetch();

  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  void putPixel(int x, int y, uint32_t value);
  // Channel form; the arguments come blue, green, red, alpha. No clamping.
  void putPixel(int x, int y, int blue, int green, int red, int alpha);
  uint32_t getPixel(int x, int y) const;

  // Deep copy, scale included; the caller owns the result.
  Bitmap* clone() const;
  // Box-filtered reduction by `scale` of a square bitmap whose side `scale` divides; the result
  // keeps this bitmap's pixels per screen unit (it shows the picture smaller). The caller owns
  // the result.
  Bitmap* scaleDownAccurately(int scale) const;
  // Divides every alpha byte by `factor` (> 0), truncating; colour bytes stay.
  void makeMoreTransparent(double factor);
  // Gives the pixel array back; w and h keep describing the size.
  void freePixels() { pixels.reset(); }

  std::unique_ptr<uint32_t[]> pixels;
  int w = 0;
  int h = 0;
  int scale = 1;  // pixels per screen unit

 private:
  void checkCoordinates(int x, int y) const;
};
