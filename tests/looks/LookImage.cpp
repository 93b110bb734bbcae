// PNG reading for the look tests, with the look folder's fallback to the glossy file.
#include "LookImage.h"

#include <cairo.h>

#include <cstdint>

#include "Palette.h"

#include <png.h>
#include <sys/stat.h>

namespace {

bool exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

}  // namespace

LookImage::LookImage(const std::string& resources, const std::string& look, const std::string& name, int artScale)
    : lookName(look), scale(artScale) {
  const std::string fileName = name + (scale > 1 ? "@" + std::to_string(scale) + "x" : "") + ".png";
  file = resources + "/" + fileName;
  if (!look.empty() && exists(resources + "/looks/" + look + "/" + fileName)) {
    file = resources + "/looks/" + look + "/" + fileName;
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, file.c_str())) return;
  image.format = PNG_FORMAT_RGBA;
  std::vector<unsigned char> buffer(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, buffer.data(), 0, nullptr)) return;
  w = static_cast<int>(image.width);
  h = static_cast<int>(image.height);
  pixels = std::move(buffer);
}

ColourVision::Srgb LookImage::colourAt(int x, int y) const {
  const unsigned char* p = &pixels[(static_cast<size_t>(y) * w + x) * 4];
  return {p[0] / 255.0, p[1] / 255.0, p[2] / 255.0};
}

double LookImage::alphaAt(int x, int y) const { return pixels[(static_cast<size_t>(y) * w + x) * 4 + 3] / 255.0; }

ColourVision::Srgb LookImage::over(int x, int y, const ColourVision::Srgb& background) const {
  const ColourVision::Srgb c = colourAt(x, y);
  const double a = alphaAt(x, y);
  return {c[0] * a + background[0] * (1 - a), c[1] * a + background[1] * (1 - a), c[2] * a + background[2] * (1 - a)};
}

void LookImage::paintLabel(LabelArt::Kind kind, const char* words) {
  if (!ok()) return;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  // Straight RGBA to cairo's premultiplied native ARGB, and back after painting.
  for (int y = 0; y < h; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < w; ++x) {
      const unsigned char* p = &pixels[(static_cast<size_t>(y) * w + x) * 4];
      const uint32_t a = p[3];
      row[x] = (a << 24) | ((p[0] * a / 255) << 16) | ((p[1] * a / 255) << 8) | (p[2] * a / 255);
    }
  }
  cairo_surface_mark_dirty(surface);
  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, scale, scale);
  Palette::use(lookName == "high-contrast"  ? Palette::Look::HIGH_CONTRAST
               : lookName == "colour-blind" ? Palette::Look::COLOUR_BLIND
                                            : Palette::Look::GLOSSY);
  LabelArt::paint(cr, kind, words);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  for (int y = 0; y < h; ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < w; ++x) {
      unsigned char* p = &pixels[(static_cast<size_t>(y) * w + x) * 4];
      const uint32_t a = row[x] >> 24;
      p[3] = static_cast<unsigned char>(a);
      for (int c = 0; c < 3; ++c) {
        const uint32_t v = (row[x] >> (16 - 8 * c)) & 0xFFu;
        p[c] = static_cast<unsigned char>(a == 0 ? 0 : (v * 255 + a / 2) / a > 255 ? 255 : (v * 255 + a / 2) / a);
      }
    }
  }
  cairo_surface_destroy(surface);
}
