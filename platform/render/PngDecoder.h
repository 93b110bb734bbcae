// Decodes a PNG file into premultiplied 32-bit pixels through cairo's PNG loader.
// Called by the game's Bitmap when it loads an image resource; the caller owns the pixel buffer
// it passes in and keeps the result.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class PngDecoder {
 public:
  enum Status {
    DECODED,     // pixels filled
    UNREADABLE,  // missing, unreadable or not a valid PNG
    NO_ALPHA,    // the image declares no alpha channel, or alpha alone (no colour)
  };

  struct Image {
    int width = 0;
    int height = 0;
    // width x height values, row 0 first; red in bits 0-7, green 8-15, blue 16-23, alpha 24-31,
    // colour premultiplied by alpha.
    std::vector<uint32_t> pixels;
  };

  static Status decode(const std::string& path, Image& image);
};
