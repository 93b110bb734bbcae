// Signed-distance rendering of the control shapes into coverage bytes.
#include "ShapeMask.h"

#include <algorithm>
#include <cmath>

#include "MonoBitmap.h"
#include "PowerOfTwo.h"

namespace Ui {

namespace {

// Distance from (px, py) to a rounded rectangle centred at (cx, cy) with half sizes (hw, hh)
// and corner radius r; negative inside.
float roundedRectDistance(float px, float py, float cx, float cy, float hw, float hh, float r) {
  const float qx = std::fabs(px - cx) - (hw - r);
  const float qy = std::fabs(py - cy) - (hh - r);
  const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  const float inside = std::min(std::max(qx, qy), 0.0f);
  return outside + inside - r;
}

// Distance from (px, py) to the segment (ax, ay)-(bx, by).
float segmentDistance(float px, float py, float ax, float ay, float bx, float by) {
  const float dx = bx - ax;
  const float dy = by - ay;
  const float lengthSquared = dx * dx + dy * dy;
  float t = lengthSquared > 0.0f ? ((px - ax) * dx + (py - ay) * dy) / lengthSquared : 0.0f;
  t = std::clamp(t, 0.0f, 1.0f);
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

// Coverage of a pixel whose centre lies at signed distance d from an edge.
float coverage(float d) { return std::clamp(0.5f - d, 0.0f, 1.0f); }

uint8_t toByte(float c) { return static_cast<uint8_t>(std::lround(std::clamp(c, 0.0f, 1.0f) * 255.0f)); }

}  // namespace

MonoBitmap* ShapeMask::roundedRect(int w, int h, float radius, float lineWidth, int scale) {
  if (w < 1 || h < 1) return new MonoBitmap(1, 1);
  if (scale < 1) scale = 1;
  MonoBitmap* mask = new MonoBitmap(nextPowerOfTwo(w + 2 * MARGIN) * scale, nextPowerOfTwo(h + 2 * MARGIN) * scale);
  mask->scale = scale;
  const float hw = static_cast<float>(w) / 2.0f;
  const float hh = static_cast<float>(h) / 2.0f;
  const float r = std::clamp(radius, 0.0f, std::min(hw, hh));
  const float innerR = std::max(0.0f, r - lineWidth);
  const float unit = static_cast<float>(scale);
  // Distances in screen units; the edge is one buffer pixel soft at every scale.
  for (int y = 0; y < h * scale; ++y) {
    for (int x = 0; x < w * scale; ++x) {
      const float px = (static_cast<float>(x) + 0.5f) / unit;
      const float py = (static_cast<float>(y) + 0.5f) / unit;
      float c = coverage(roundedRectDistance(px, py, hw, hh, hw, hh, r) * unit);
      if (lineWidth > 0.0f && hw > lineWidth && hh > lineWidth) {
        c -= coverage(roundedRectDistance(px, py, hw, hh, hw - lineWidth, hh - lineWidth, innerR) * unit);
      }
      mask->pixels[static_cast<size_t>(y + MARGIN * scale) * mask->w + x + MARGIN * scale] = toByte(c);
    }
  }
  return mask;
}

MonoBitmap* ShapeMask::spinner(int size, int scale) {
  if (size < 4) size = 4;
  if (scale < 1) scale = 1;
  MonoBitmap* mask =
      new MonoBitmap(nextPowerOfTwo(size + 2 * MARGIN) * scale, nextPowerOfTwo(size + 2 * MARGIN) * scale);
  mask->scale = scale;
  const float unit = static_cast<float>(scale);
  const float centre = static_cast<float>(size) / 2.0f;
  const float thickness = std::max(1.5f, static_cast<float>(size) * 0.095f);
  const float inner = static_cast<float>(size) * 0.25f;
  const float outer = centre - thickness / 2.0f - 0.5f;
  const float pi = 3.14159265f;
  for (int y = 0; y < size * scale; ++y) {
    for (int x = 0; x < size * scale; ++x) {
      const float px = (static_cast<float>(x) + 0.5f) / unit;
      const float py = (static_cast<float>(y) + 0.5f) / unit;
      float best = 0.0f;
      for (int k = 0; k < 12; ++k) {
        // Spoke k points k x 30 degrees counter-clockwise from straight up (y grows downwards).
        const float angle = -static_cast<float>(k) * pi / 6.0f;
        const float sx = std::sin(angle);
        const float sy = -std::cos(angle);
        const float d = segmentDistance(px, py, centre + sx * inner, centre + sy * inner, centre + sx * outer,
                                        centre + sy * outer) - thickness / 2.0f;
        const float opacity = 1.0f - 0.8f * static_cast<float>(k) / 11.0f;
        best = std::max(best, coverage(d * unit) * opacity);
      }
      mask->pixels[static_cast<size_t>(y + MARGIN * scale) * mask->w + x + MARGIN * scale] = toByte(best);
    }
  }
  return mask;
}

MonoBitmap* ShapeMask::solid() {
  MonoBitmap* mask = new MonoBitmap(1, 1);
  mask->pixels[0] = 255;
  return mask;
}

}  // namespace Ui
