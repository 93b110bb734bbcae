// Test image files written with cairo into a temporary folder.
#include "TestImageFiles.h"

#include <cairo.h>
#include <png.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

TestImageFiles::TestImageFiles() : files("pellix-graphics"), path(files.str()) {}

TestImageFiles::~TestImageFiles() = default;

void TestImageFiles::writeRgba(const std::string& name, int w, int h,
                               const std::function<unsigned(int, int)>& paint) const {
  // libpng keeps the alpha channel even of a fully opaque picture (cairo would drop it).
  std::vector<uint8_t> rgba(static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const unsigned c = paint(x, y);
      uint8_t* out = &rgba[(static_cast<size_t>(y) * w + x) * 4];
      out[0] = static_cast<uint8_t>(c >> 16);
      out[1] = static_cast<uint8_t>(c >> 8);
      out[2] = static_cast<uint8_t>(c);
      out[3] = static_cast<uint8_t>(c >> 24);
    }
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(w);
  image.height = static_cast<png_uint_32>(h);
  image.format = PNG_FORMAT_RGBA;
  png_image_write_to_file(&image, (path + "/" + name).c_str(), 0, rgba.data(), 0, nullptr);
}

void TestImageFiles::writeRgb(const std::string& name, int w, int h) const {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 0.2, 0.5, 0.8);
  cairo_paint(cr);
  cairo_destroy(cr);
  cairo_surface_write_to_png(surface, (path + "/" + name).c_str());
  cairo_surface_destroy(surface);
}

void TestImageFiles::writeBytes(const std::string& name, const std::string& bytes) const {
  std::ofstream out(path + "/" + name, std::ios::binary);
  out << bytes;
}

void TestImageFiles::copyFrom(const std::string& source) const {
  for (const auto& entry : std::filesystem::directory_iterator(source)) {
    if (entry.is_regular_file()) {
      std::filesystem::copy_file(entry.path(), path + "/" + entry.path().filename().string(),
                                 std::filesystem::copy_options::overwrite_existing);
    }
  }
}
