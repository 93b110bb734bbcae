// The drawing scale of a textured quad, passed by value.
#pragma once

struct Scaling {
  float scaleX = 1.0f;
  float scaleY = -1.0f;  // -1: scaleX applies to both directions

  Scaling() = default;
  Scaling(float x, float y = -1.0f) : scaleX(x), scaleY(y) {}  // NOLINT: implicit from a float on purpose

  float vertical() const { return scaleY == -1.0f ? scaleX : scaleY; }
};
