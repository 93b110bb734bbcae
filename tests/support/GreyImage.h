// GreyImage: a picture reduced to its brightness (0-255 floats), for the tests that compare how
// sharp two renderings of one screen are and whether they show the same layout: bilinear
// scaling up, area-averaged scaling down, the mean squared gradient, and the mean difference.
// A plain value made from read-back or screenshot pixels; no GL, no X.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class GreyImage {
 public:
  GreyImage() = default;
  // From `pixels` bytes per pixel (3: RGB, 4: RGBA) of a width x height picture, row 0 first.
  GreyImage(const std::vector<uint8_t>& bytes, int width, int height, int pixelBytes);

  int width() const { return w; }
  int height() const { return h; }
  float at(int x, int y) const { return grey[static_cast<size_t>(y) * w + x]; }

  // The picture blown up (or shrunk) to width x height by bilinear interpolation between pixel
  // centres, as a GPU's linear filter stretches a texture.
  GreyImage scaledBilinear(int width, int height) const;
  // The picture shrunk to width x height, each pixel the area-weighted mean of what it covers.
  GreyImage scaledDownByArea(int width, int height) const;
  // Mean over the picture of the squared brightness steps to the right and downwards neighbour.
  double meanSquaredGradient() const;
  // Mean absolute brightness difference to a picture of the same size.
  double meanAbsoluteDifference(const GreyImage& other) const;
  // The fraction of pixels whose brightness differs from `other`'s by more than `levels`.
  double fractionDifferingBy(const GreyImage& other, float levels) const;

 private:
  int w = 0;
  int h = 0;
  std::vector<float> grey;
};
