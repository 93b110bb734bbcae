// A point on the 320 x 480 screen, in pixels, y growing downwards.
#pragma once

struct MyPoint {
  float x = 0.0f;
  float y = 0.0f;

  MyPoint() = default;
  MyPoint(float px, float py) : x(px), y(py) {}
};
