// Run-time label painting on a cairo surface over the picture's pixels.
#include "LabelPainter.h"

#include <cairo.h>

#include <cstring>

#include "LabelArt.h"
#include "Palette.h"
#include "Resources.h"
#include "TextFitLog.h"
#include "Translation.h"

namespace {

Palette::Look lookInUse() {
  const std::string folder = Resources::lookFolder();
  if (folder.find("colour-blind") != std::string::npos) return Palette::Look::COLOUR_BLIND;
  if (folder.find("high-contrast") != std::string::npos) return Palette::Look::HIGH_CONTRAST;
  return Palette::Look::GLOSSY;
}

// The game's 0xAABBGGRR and cairo's native 0xAARRGGBB differ by red and blue.
static_assert(static_cast<int>(LabelArt::Kind::COMPACT_BAR_PRESSED) == LabelPainter::COMPACT_BAR_PRESSED, "LabelPainter::Kind follows LabelArt::Kind");

uint32_t swapRedBlue(uint32_t p) { return (p & 0xFF00FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16); }

}  // namespace

void LabelPainter::paint(uint32_t* pixels, int width, int height, int scale, Kind kind, const std::string& words) {
  if (pixels == nullptr || width <= 0 || height <= 0 || scale <= 0 || words.empty()) return;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return;
  }
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < height; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * static_cast<size_t>(stride));
    for (int x = 0; x < width; ++x) row[x] = swapRedBlue(pixels[static_cast<size_t>(y) * width + x]);
  }
  cairo_surface_mark_dirty(surface);

  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, scale, scale);
  Palette::use(lookInUse());
  const std::string language = Translation::catalogueLanguage();
  TextArt::setLanguage(language.c_str());
  const TextArt::Fitted fitted = LabelArt::paint(cr, static_cast<LabelArt::Kind>(kind), words.c_str());
  cairo_destroy(cr);
  cairo_surface_flush(surface);

  for (int y = 0; y < height; ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * static_cast<size_t>(stride));
    for (int x = 0; x < width; ++x) pixels[static_cast<size_t>(y) * width + x] = swapRedBlue(row[x]);
  }
  cairo_surface_destroy(surface);

  if (TextFitLog::recording()) {
    TextFitLog::Entry entry;
    entry.text = words;
    entry.usedSize = fitted.pixelSize;
    entry.shrunk = fitted.shrunk;
    entry.wrapped = fitted.wrapped;
    entry.ellipsized = fitted.ellipsized;
    entry.unknownGlyphs = fitted.unknownGlyphs;
    TextFitLog::record(entry);
  }
}
