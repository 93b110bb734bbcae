// PNG reading for the look tests, with the look folder's fallback to the glossy file.
#include "LookImage.h"

#include <png.h>
#include <sys/stat.h>

namespace {

bool exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

}  // namespace

LookImage::LookImage(const std::string& resources, const std::string& look, const std::string& name, int scale) {
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
