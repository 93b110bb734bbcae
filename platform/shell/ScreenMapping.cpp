// Letterboxed frame rectangle, window-to-screen mapping and the opening window size.
#include "ScreenMapping.h"

#include <algorithm>
#include <cmath>

ScreenMapping::ScreenMapping(int windowWidth, int windowHeight, int drawableWidth, int drawableHeight) {
  const int windowW = windowWidth > 0 ? windowWidth : 1;
  const int windowH = windowHeight > 0 ? windowHeight : 1;
  const int drawableW = drawableWidth > 0 ? drawableWidth : windowW;
  const int drawableH = drawableHeight > 0 ? drawableHeight : windowH;
  pixelsPerWindowX = static_cast<float>(drawableW) / static_cast<float>(windowW);
  pixelsPerWindowY = static_cast<float>(drawableH) / static_cast<float>(windowH);
  const double fit = std::min(static_cast<double>(drawableW) / SCREEN_WIDTH, static_cast<double>(drawableH) / SCREEN_HEIGHT);
  // Whole pixels, never more than the drawable has: the frame is drawn at exactly this size.
  width = std::max(1, static_cast<int>(std::floor(SCREEN_WIDTH * fit + 1e-6)));
  height = std::max(1, static_cast<int>(std::floor(SCREEN_HEIGHT * fit + 1e-6)));
  left = (drawableW - width) / 2;
  top = (drawableH - height) / 2;
}

float ScreenMapping::scale() const { return static_cast<float>(width) / SCREEN_WIDTH; }

void ScreenMapping::windowToScreen(float windowX, float windowY, int& screenX, int& screenY) const {
  const float pixelX = windowX * pixelsPerWindowX - static_cast<float>(left);
  const float pixelY = windowY * pixelsPerWindowY - static_cast<float>(top);
  screenX = static_cast<int>(pixelX * SCREEN_WIDTH / static_cast<float>(width));
  screenY = static_cast<int>(pixelY * SCREEN_HEIGHT / static_cast<float>(height));
}

void ScreenMapping::initialWindowSize(int usableWidth, int usableHeight, int& windowWidth, int& windowHeight) {
  const double roomW = 0.85 * std::max(usableWidth, 0);
  const double roomH = 0.85 * std::max(usableHeight, 0);
  // Height in whole thirds, so that the width is exactly two of them; never below the smallest
  // window, which a display too small for it gets anyway.
  const int fewestThirds = std::max((MINIMUM_WINDOW_WIDTH + 1) / 2, (MINIMUM_WINDOW_HEIGHT + 2) / 3);
  const int thirds = std::max(fewestThirds, static_cast<int>(std::floor(std::min(roomH, roomW * 1.5) / 3.0 + 1e-9)));
  windowWidth = 2 * thirds;
  windowHeight = 3 * thirds;
}
