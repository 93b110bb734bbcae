// One generated image of a look, read from the build's resource folder as straight RGBA: the
// look's own file when it has one (looks/<name>/), else the glossy file it falls back to, as
// the game loads them. Used by the look tests.
#pragma once

#include <string>
#include <vector>

#include "ColourVision.h"
#include "LabelArt.h"

class LookImage {
 public:
  // Reads `name` ("BallBlue_64x64") at art scale `scale` of the look folder `look` ("" for the
  // glossy set) from `resources`; ok() tells whether it could be read.
  LookImage(const std::string& resources, const std::string& look, const std::string& name, int scale);

  bool ok() const { return !pixels.empty(); }
  const std::string& path() const { return file; }
  int width() const { return w; }
  int height() const { return h; }
  // Straight colour and alpha (0 to 1) of pixel (x, y).
  ColourVision::Srgb colourAt(int x, int y) const;
  double alphaAt(int x, int y) const;
  // Paints `words` over the image as the game paints a label of `kind` on it at run time, in the
  // look of this image (`look` as given to the constructor).
  void paintLabel(LabelArt::Kind kind, const char* words);
  // The pixel laid over an opaque background colour.
  ColourVision::Srgb over(int x, int y, const ColourVision::Srgb& background) const;

 private:
  std::string file;
  std::string lookName;
  int scale = 1;
  int w = 0;
  int h = 0;
  std::vector<unsigned char> pixels;  // RGBA rows
};
