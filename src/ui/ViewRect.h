// ViewRect: a rectangle in screen pixels (320 x 480, origin top-left, y down), the frame of a
// view. A plain value; whoever holds one owns it.
#pragma once

namespace Ui {

struct ViewRect {
  float x = 0.0f;
  float y = 0.0f;
  float w = 0.0f;
  float h = 0.0f;

  ViewRect() = default;
  ViewRect(float left, float top, float width, float height) : x(left), y(top), w(width), h(height) {}

  float right() const { return x + w; }
  float bottom() const { return y + h; }
  float centerX() const { return x + w / 2.0f; }
  float centerY() const { return y + h / 2.0f; }
  // Edges are half-open, like pixels: a point on the right or bottom edge is outside.
  bool contains(float px, float py) const { return px >= x && px < x + w && py >= y && py < y + h; }
  ViewRect offsetBy(float dx, float dy) const { return {x + dx, y + dy, w, h}; }
  ViewRect insetBy(float dx, float dy) const { return {x + dx, y + dy, w - 2.0f * dx, h - 2.0f * dy}; }
};

}  // namespace Ui
