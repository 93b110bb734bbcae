// ShapeMask: the coverage images that the controls are painted from: rounded rectangles (filled
// or as outlines), the activity indicator's spokes and a plain square. Anti-aliased, anchored at
// MARGIN pixels in from the top-left of a power-of-two buffer (the size a GL ES 1 texture needs);
// the empty margin keeps filtered drawing at fractional positions from wrapping round the edges.
// Sizes are screen units; with a scale above 1 the mask has that many pixels per unit (the art
// scale) and keeps its logical size. Called by ViewPainter; every function returns a new bitmap
// that the caller owns.
#pragma once

class MonoBitmap;

namespace Ui {

class ShapeMask {
 public:
  static constexpr int MARGIN = 1;

  // A w x h rectangle with corners of `radius` (at most half the shorter side). lineWidth 0
  // fills it; a positive lineWidth gives only an outline that wide, drawn inside the edge.
  // Sizes below 1 give a 1 x 1 empty mask.
  static MonoBitmap* roundedRect(int w, int h, float radius, float lineWidth, int scale = 1);
  // The spinner of an activity indicator in a size x size box: 12 spokes around the centre, the
  // one pointing up fully opaque and each next one counter-clockwise fainter, so that turning the
  // picture clockwise in steps of 30 degrees makes the bright spoke run round.
  static MonoBitmap* spinner(int size, int scale = 1);
  // A single fully covered pixel, stretched to draw plain rectangles.
  static MonoBitmap* solid();
};

}  // namespace Ui
