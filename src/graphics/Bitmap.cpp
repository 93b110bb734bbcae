// RGBA pixel buffer: resource loading, bounds-checked access, copies, reduction and fading.
#include "Bitmap.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Assert.h"
#include "DisplayScale.h"
#include "ImagePrefetcher.h"
#include "PngDecoder.h"
#include "PowerOfTwo.h"
#include "Resources.h"

namespace {

uint32_t alphaOf(uint32_t p) { return p >> 24; }
uint32_t withAlpha(uint32_t p, int alpha) {
  const uint32_t a = static_cast<uint32_t>(std::clamp(alpha, 0, 255));
  return (p & 0x00FFFFFFu) | (a << 24);
}

// "BallBlue_64x64.png" -> ("BallBlue_64x64", "png"); a name without extension is a PNG.
void splitResourceName(const std::string& name, std::string& stem, std::string& type) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) {
    stem = name;
    type = "png";
  } else {
    stem = name.substr(0, dot);
    type = name.substr(dot + 1);
  }
}

// The file of resource `name` in the art set `scale`: "BallBlue_64x64@2x.png".
std::string pathAtScale(const std::string& name, int scale) {
  std::string stem;
  std::string type;
  splitResourceName(name, stem, type);
  return Resources::pathFor(scale > 1 ? stem + "@" + std::to_string(scale) + "x" : stem, type);
}

}  // namespace

void Bitmap::prefetch(const char* const* resourceNames, int count, int artScale) {
  const int scale = artScale > 0 ? artScale : DisplayScale::artScale();
  std::vector<std::string> paths;
  for (int i = 0; i < count; ++i) {
    if (resourceNames[i] != nullptr) paths.push_back(pathAtScale(resourceNames[i], scale));
  }
  ImagePrefetcher::start(paths);
}

void Bitmap::endPrefetch() { ImagePrefetcher::finish(); }

Bitmap::Bitmap(int width, int height) : w(width), h(height) {
  MYTL_ASSERT(width >= 0 && height >= 0, "Bitmap");
  pixels.reset(new uint32_t[static_cast<size_t>(w) * static_cast<size_t>(h)]());
}

Bitmap::Image Bitmap::loadImage(const char* resourceName, float alphaScale) {
  const std::string name = resourceName != nullptr ? resourceName : "";
  // The art set of the display's scale, else the next lower one that is there.
  std::string path = pathAtScale(name, 1);
  PngDecoder::Image decoded;
  PngDecoder::Status status = PngDecoder::UNREADABLE;
  int fileScale = 1;
  for (fileScale = name.empty() ? 1 : DisplayScale::artScale(); fileScale >= 1; --fileScale) {
    path = pathAtScale(name, fileScale);
    if (name.empty()) break;
    if (!ImagePrefetcher::take(path, decoded, status)) status = PngDecoder::decode(path, decoded);
    if (status != PngDecoder::UNREADABLE || fileScale == 1) break;
  }
  const bool image = status != PngDecoder::UNREADABLE;
  if (!image) std::fprintf(stderr, "Cannot load the image resource \"%s\" (%s)\n", name.c_str(), path.c_str());
  MYTL_ASSERT(image, "Bitmap");
  if (status == PngDecoder::NO_ALPHA) {
    std::fprintf(stderr, "The image resource \"%s\" has no alpha channel (%s)\n", name.c_str(), path.c_str());
    MyTl::assertionFailed("hasAlpha && CGImageGetColorSpace(image)", "Bitmap", __LINE__);
  }

  Image loaded;
  loaded.pixelWidth = decoded.width;
  loaded.pixelHeight = decoded.height;
  loaded.scale = fileScale;
  // The image's logical size; a scaled file of a size its scale does not divide rounds up.
  const int iw = (loaded.pixelWidth + fileScale - 1) / fileScale;
  const int ih = (loaded.pixelHeight + fileScale - 1) / fileScale;
  loaded.imageWidth = iw;
  loaded.imageHeight = ih;
  // Ten-row strips wider than 64 get a 32-row buffer, as the game has always done.
  loaded.bufferWidth = nextPowerOfTwo(iw) * fileScale;
  loaded.bufferHeight = ((ih == 10 && iw > 64) ? 32 : nextPowerOfTwo(ih)) * fileScale;
  loaded.pixels = std::move(decoded.pixels);
  // The buffer's margin is transparent black, which keeps its value at any alpha scale.
  if (alphaScale != 1.0f) {
    for (uint32_t& pixel : loaded.pixels) {
      pixel = withAlpha(pixel, static_cast<int>(static_cast<float>(alphaOf(pixel)) * alphaScale));
    }
  }
  return loaded;
}

Bitmap::Bitmap(const char* resourceName, int* imageWidth, int* imageHeight, float alphaScale) {
  const Image image = loadImage(resourceName, alphaScale);
  scale = image.scale;
  w = image.bufferWidth;
  h = image.bufferHeight;
  pixels.reset(new uint32_t[static_cast<size_t>(w) * static_cast<size_t>(h)]());
  for (int y = 0; y < image.pixelHeight; ++y) {
    std::copy_n(image.pixels.begin() + static_cast<long>(y) * image.pixelWidth, image.pixelWidth,
                pixels.get() + static_cast<long>(y) * w);
  }
  if (imageWidth != nullptr) *imageWidth = image.imageWidth;
  if (imageHeight != nullptr) *imageHeight = image.imageHeight;
}

void Bitmap::checkCoordinates(int x, int y) const {
  MYTL_ASSERT(x>=0, "Bitmap");
  MYTL_ASSERT(y>=0, "Bitmap");
  MYTL_ASSERT(x<w, "Bitmap");
  MYTL_ASSERT(y<h, "Bitmap");
  MYTL_ASSERT(pixels != nullptr, "Bitmap");
}

void Bitmap::putPixel(int x, int y, uint32_t value) {
  checkCoordinates(x, y);
  pixels[static_cast<size_t>(x) + static_cast<size_t>(y) * w] = value;
}

void Bitmap::putPixel(int x, int y, int blue, int green, int red, int alpha) {
  putPixel(x, y,
           (static_cast<uint32_t>(alpha) << 24) | (static_cast<uint32_t>(blue) << 16) |
               (static_cast<uint32_t>(green) << 8) | static_cast<uint32_t>(red));
}

uint32_t Bitmap::getPixel(int x, int y) const {
  checkCoordinates(x, y);
  return pixels[static_cast<size_t>(x) + static_cast<size_t>(y) * w];
}

Bitmap* Bitmap::clone() const {
  MYTL_ASSERT(pixels != nullptr, "Bitmap");
  Bitmap* copy = new Bitmap(w, h);
  copy->scale = scale;
  std::copy_n(pixels.get(), static_cast<size_t>(w) * static_cast<size_t>(h), copy->pixels.get());
  return copy;
}

Bitmap* Bitmap::scaleDownAccurately(int scale) const {
  MYTL_ASSERT(scale > 0, "Bitmap");
  MYTL_ASSERT(!(w%scale), "Bitmap");
  MYTL_ASSERT(!(h%scale), "Bitmap");
  MYTL_ASSERT(w==h, "Bitmap");
  const int side = w / scale;
  const uint32_t area = static_cast<uint32_t>(scale * scale);
  Bitmap* result = new Bitmap(side, side);
  // The reduced picture keeps this bitmap's pixels per screen unit.
  result->scale = this->scale;
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      uint32_t sum[4] = {0, 0, 0, 0};
      for (int by = 0; by < scale; ++by) {
        for (int bx = 0; bx < scale; ++bx) {
          const uint32_t p = getPixel(x * scale + bx, y * scale + by);
          for (int c = 0; c < 4; ++c) sum[c] += (p >> (8 * c)) & 0xFFu;
        }
      }
      uint32_t packed = 0;
      for (int c = 0; c < 4; ++c) packed |= (sum[c] / area) << (8 * c);
      result->putPixel(x, y, packed);
    }
  }
  return result;
}

void Bitmap::makeMoreTransparent(double factor) {
  MYTL_ASSERT(factor > 0.0, "Bitmap");
  const double k = 1.0 / factor;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const uint32_t p = getPixel(x, y);
      putPixel(x, y, withAlpha(p, static_cast<int>(alphaOf(p) * k)));
    }
  }
}
