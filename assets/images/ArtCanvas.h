// One picture being painted: a cairo ARGB32 surface of a fixed size and its drawing context,
// saved as a PNG (with alpha) into the resource folder. Used by every painter of the generator.
// Painters always work in the picture's logical units (the size its name states); at an art
// scale above 1 the surface has that many pixels per unit and the file is saved as
// "name@2x.png" (the game picks the set of its window's scale).
#pragma once

#include <cairo.h>

#include <string>

class ArtCanvas {
 public:
  ArtCanvas(int width, int height);
  ~ArtCanvas();
  ArtCanvas(const ArtCanvas&) = delete;
  ArtCanvas& operator=(const ArtCanvas&) = delete;

  // The art scale (1 to 4) of every canvas made afterwards; the generator sets it once.
  static void setScale(int scale);
  static int scale();

  cairo_t* cr() const { return context; }
  cairo_surface_t* surface() const { return pixels; }
  int width() const { return w; }
  int height() const { return h; }
  // A folder whose files a picture is compared with before it is saved: a picture that is
  // byte for byte the same as its namesake there is not written (the game then falls back to
  // that file). Empty (the default) writes every picture.
  static void setBaselineFolder(const std::string& folder);

  // Writes folder/name ("name@2x.png" at scale 2); returns false (after printing why) when the
  // file cannot be written.
  bool save(const std::string& folder, const std::string& name) const;

 private:
  cairo_surface_t* pixels;
  cairo_t* context;
  int w;  // pixels of the surface
  int h;
};
