// A point on the 320 x 480 screen, in pixels, y growing downwards.
#pragma once

struct ScreenPoint {
  float x = 0.0f;
  float y = 0.0f;

  ScreenPoint() = default;
  ScreenPoint(float px, float py) : x(px), y(py) {}
};
