// The fixed GL state the game draws under: a y-down orthographic projection over the 320 x 480
// screen and the blending, texturing and array switches the texture drawing relies on.
// Called by the window shell and the test harness once after the context (and the offscreen
// frame) is ready, before the renderer is constructed.
#pragma once

class GlFixedState {
 public:
  // Projection: left 0, right width, bottom height, top 0, near -1, far 1, so that y grows
  // downwards from the top-left corner; model-view afterwards. Blend function (one,
  // one-minus-source-alpha), 2D texturing, texture environment replace, vertex and
  // texture-coordinate arrays on; dithering, alpha test, stencil test, fog and depth test off.
  static void apply(int width, int height);
};
