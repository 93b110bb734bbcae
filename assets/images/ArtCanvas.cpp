// Cairo surface and PNG output of one generated picture.
#include "ArtCanvas.h"

#include <cstdio>

ArtCanvas::ArtCanvas(int width, int height)
    : pixels(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      context(cairo_create(pixels)),
      w(width),
      h(height) {
  cairo_set_antialias(context, CAIRO_ANTIALIAS_BEST);
}

ArtCanvas::~ArtCanvas() {
  cairo_destroy(context);
  cairo_surface_destroy(pixels);
}

bool ArtCanvas::save(const std::string& folder, const std::string& name) const {
  cairo_surface_flush(pixels);
  const std::string path = folder + "/" + name;
  const cairo_status_t status = cairo_surface_write_to_png(pixels, path.c_str());
  if (status != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), cairo_status_to_string(status));
    return false;
  }
  return true;
}
