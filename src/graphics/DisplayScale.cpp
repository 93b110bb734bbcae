// The process's frame resolution and art set.
#include "DisplayScale.h"

#include <cmath>

namespace {

struct State {
  int width = DisplayScale::SCREEN_WIDTH;
  int height = DisplayScale::SCREEN_HEIGHT;
  int art = 1;
  int generation = 0;
};

State& state() {
  static State current;
  return current;
}

}  // namespace

void DisplayScale::set(int framePixelWidth, int framePixelHeight, int artScale) {
  State& s = state();
  const int width = framePixelWidth > 0 ? framePixelWidth : 1;
  const int height = framePixelHeight > 0 ? framePixelHeight : 1;
  const int art = artScale < 1 ? 1 : (artScale > MAX_ART_SCALE ? MAX_ART_SCALE : artScale);
  if (width == s.width && height == s.height && art == s.art) return;
  s.width = width;
  s.height = height;
  s.art = art;
  ++s.generation;
}

int DisplayScale::framePixelWidth() { return state().width; }
int DisplayScale::framePixelHeight() { return state().height; }
float DisplayScale::pixelsPerUnitX() { return static_cast<float>(state().width) / SCREEN_WIDTH; }
float DisplayScale::pixelsPerUnitY() { return static_cast<float>(state().height) / SCREEN_HEIGHT; }
int DisplayScale::artScale() { return state().art; }
int DisplayScale::generation() { return state().generation; }

int DisplayScale::artScaleFor(float pixelsPerUnit, bool nonPowerOfTwoTextures) {
  // A hair above a whole scale (rounding of the frame size) still uses that scale's art.
  if (!(pixelsPerUnit > 0.0f)) return 1;
  int scale = static_cast<int>(std::ceil(pixelsPerUnit - 0.01f));
  if (scale < 1) scale = 1;
  if (scale > MAX_ART_SCALE) scale = MAX_ART_SCALE;
  if (scale == 3 && !nonPowerOfTwoTextures) scale = 4;
  return scale;
}
