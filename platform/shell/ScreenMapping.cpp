// Window-to-screen mapping of the scaled, centred game screen.
#include "ScreenMapping.h"

#include <algorithm>

ScreenMapping::ScreenMapping(int windowWidth, int windowHeight) {
  const float width = static_cast<float>(windowWidth > 0 ? windowWidth : 1);
  const float height = static_cast<float>(windowHeight > 0 ? windowHeight : 1);
  factor = std::min(width / SCREEN_WIDTH, height / SCREEN_HEIGHT);
  left = (width - SCREEN_WIDTH * factor) / 2.0f;
  top = (height - SCREEN_HEIGHT * factor) / 2.0f;
}

void ScreenMapping::windowToScreen(float windowX, float windowY, int& screenX, int& screenY) const {
  screenX = static_cast<int>((windowX - left) / factor);
  screenY = static_cast<int>((windowY - top) / factor);
}

int ScreenMapping::initialScale(int usableWidth, int usableHeight) {
  const int byWidth = usableWidth * 9 / 10 / SCREEN_WIDTH;
  const int byHeight = usableHeight * 9 / 10 / SCREEN_HEIGHT;
  return std::max(1, std::min(byWidth, byHeight));
}
