// Cairo surface and PNG output of one generated picture.
#include "ArtCanvas.h"

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

int& artScale() {
  static int scale = 1;
  return scale;
}

std::string& baselineFolder() {
  static std::string folder;
  return folder;
}

std::vector<char> fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// "Ball_64x64.png" at scale 2: "Ball_64x64@2x.png".
std::string scaledName(const std::string& name, int scale) {
  if (scale == 1) return name;
  const size_t dot = name.rfind('.');
  const std::string suffix = "@" + std::to_string(scale) + "x";
  return dot == std::string::npos ? name + suffix : name.substr(0, dot) + suffix + name.substr(dot);
}

}  // namespace

void ArtCanvas::setBaselineFolder(const std::string& folder) { baselineFolder() = folder; }

void ArtCanvas::setScale(int scale) { artScale() = scale < 1 ? 1 : scale; }
int ArtCanvas::scale() { return artScale(); }

ArtCanvas::ArtCanvas(int width, int height)
    : pixels(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width * artScale(), height * artScale())),
      context(cairo_create(pixels)),
      w(width * artScale()),
      h(height * artScale()) {
  cairo_set_antialias(context, CAIRO_ANTIALIAS_BEST);
  if (artScale() != 1) cairo_scale(context, artScale(), artScale());
}

ArtCanvas::~ArtCanvas() {
  cairo_destroy(context);
  cairo_surface_destroy(pixels);
}

bool ArtCanvas::save(const std::string& folder, const std::string& name) const {
  // Written with libpng rather than cairo: cairo drops the alpha channel of pictures that happen
  // to be fully opaque, and the game refuses images without one.
  cairo_surface_flush(pixels);
  const unsigned char* data = cairo_image_surface_get_data(pixels);
  const int stride = cairo_image_surface_get_stride(pixels);
  std::vector<uint8_t> rgba(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
  for (int y = 0; y < h; ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < w; ++x) {
      const uint32_t p = row[x];
      const uint32_t a = p >> 24;
      uint8_t* out = &rgba[(static_cast<size_t>(y) * w + x) * 4];
      // cairo keeps premultiplied colour; PNG wants straight colour.
      for (int c = 0; c < 3; ++c) {
        const uint32_t premultiplied = (p >> (16 - 8 * c)) & 0xFF;
        out[c] = a == 0 ? 0 : static_cast<uint8_t>((premultiplied * 255 + a / 2) / a);
      }
      out[3] = static_cast<uint8_t>(a);
    }
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(w);
  image.height = static_cast<png_uint_32>(h);
  image.format = PNG_FORMAT_RGBA;
  const std::string path = folder + "/" + scaledName(name, artScale());
  png_alloc_size_t size = 0;
  if (!png_image_write_get_memory_size(image, size, 0, rgba.data(), 0, nullptr)) {
    std::fprintf(stderr, "cannot encode %s: %s\n", path.c_str(), image.message);
    return false;
  }
  std::vector<char> encoded(size);
  if (!png_image_write_to_memory(&image, encoded.data(), &size, 0, rgba.data(), 0, nullptr)) {
    std::fprintf(stderr, "cannot encode %s: %s\n", path.c_str(), image.message);
    return false;
  }
  encoded.resize(size);
  if (!baselineFolder().empty() && fileBytes(baselineFolder() + "/" + scaledName(name, artScale())) == encoded) {
    std::remove(path.c_str());  // a copy left from an earlier painting would shadow the baseline
    return true;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(encoded.data(), static_cast<std::streamsize>(encoded.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}
