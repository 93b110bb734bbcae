// One picture being painted: a cairo ARGB32 surface of a fixed size and its drawing context,
// saved as a PNG (with alpha) into the resource folder. Used by every painter of the generator.
#pragma once

#include <cairo.h>

#include <string>

class ArtCanvas {
 public:
  ArtCanvas(int width, int height);
  ~ArtCanvas();
  ArtCanvas(const ArtCanvas&) = delete;
  ArtCanvas& operator=(const ArtCanvas&) = delete;

  cairo_t* cr() const { return context; }
  cairo_surface_t* surface() const { return pixels; }
  int width() const { return w; }
  int height() const { return h; }
  // Writes folder/name; returns false (after printing why) when the file cannot be written.
  bool save(const std::string& folder, const std::string& name) const;

 private:
  cairo_surface_t* pixels;
  cairo_t* context;
  int w;
  int h;
};
