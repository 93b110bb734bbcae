// ViewColour: a non-premultiplied RGBA colour with channels from 0 to 1, as the controls are
// tinted with. A plain value.
#pragma once

namespace Ui {

struct ViewColour {
  float r = 1.0f;
  float g = 1.0f;
  float b = 1.0f;
  float a = 1.0f;

  ViewColour() = default;
  ViewColour(float red, float green, float blue, float alpha = 1.0f) : r(red), g(green), b(blue), a(alpha) {}

  // A grey of the given brightness (0 black, 1 white) and opacity.
  static ViewColour white(float brightness, float alpha) { return {brightness, brightness, brightness, alpha}; }
  ViewColour withAlpha(float alpha) const { return {r, g, b, alpha}; }
};

}  // namespace Ui
