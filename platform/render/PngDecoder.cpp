// cairo-backed PNG decoding into the game's pixel byte order.
#include "PngDecoder.h"

#include <cairo.h>

PngDecoder::Status PngDecoder::decode(const std::string& path, Image& image) {
  cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return UNREADABLE;
  }
  const cairo_format_t format = cairo_image_surface_get_format(surface);
  // cairo loads images with alpha as ARGB32, opaque ones as RGB24; anything else carries no
  // usable colour-with-alpha and is refused like an image without alpha.
  if (format != CAIRO_FORMAT_ARGB32) {
    cairo_surface_destroy(surface);
    return NO_ALPHA;
  }
  cairo_surface_flush(surface);
  const int width = cairo_image_surface_get_width(surface);
  const int height = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  if (data == nullptr || width <= 0 || height <= 0) {
    cairo_surface_destroy(surface);
    return UNREADABLE;
  }
  image.width = width;
  image.height = height;
  image.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
  for (int y = 0; y < height; ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < width; ++x) {
      // cairo: native 0xAARRGGBB, premultiplied. Ours: 0xAABBGGRR.
      const uint32_t p = row[x];
      image.pixels[static_cast<size_t>(y) * width + x] =
          (p & 0xFF00FF00u) | ((p >> 16) & 0xFFu) | ((p & 0xFFu) << 16);
    }
  }
  cairo_surface_destroy(surface);
  return DECODED;
}
