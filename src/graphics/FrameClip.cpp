// The scissor box over the frame, in the frame's own pixels (GL counts rows from the bottom).
#include "FrameClip.h"

#include <algorithm>
#include <cmath>

#include "DisplayScale.h"
#include "Gl.h"

namespace FrameClip {

void limitTo(float left, float top, float right, float bottom) {
  const int frameWidth = DisplayScale::framePixelWidth();
  const int frameHeight = DisplayScale::framePixelHeight();
  const int x0 = std::max(0, static_cast<int>(std::floor(left * DisplayScale::pixelsPerUnitX())));
  const int x1 = std::min(frameWidth, static_cast<int>(std::ceil(right * DisplayScale::pixelsPerUnitX())));
  const int y0 = std::max(0, static_cast<int>(std::floor(top * DisplayScale::pixelsPerUnitY())));
  const int y1 = std::min(frameHeight, static_cast<int>(std::ceil(bottom * DisplayScale::pixelsPerUnitY())));
  gl.Scissor(x0, frameHeight - y1, std::max(0, x1 - x0), std::max(0, y1 - y0));
  gl.Enable(GL_SCISSOR_TEST);
}

void lift() {
  gl.Disable(GL_SCISSOR_TEST);
  gl.Scissor(0, 0, DisplayScale::framePixelWidth(), DisplayScale::framePixelHeight());
}

}  // namespace FrameClip
