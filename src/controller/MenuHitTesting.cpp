// Button columns and the volume slider of the settings screen.
#include "MenuHitTesting.h"

#include "Settings.h"

namespace {

const int BUTTON_LEFT = 51;
const int BUTTON_RIGHT = 269;
const int SCREEN_HEIGHT = 480;
const int SLIDER_TOP = 355;
const int SLIDER_BOTTOM = 397;

}  // namespace

bool isOnButton(int x, int y, int top) {
  return x >= BUTTON_LEFT && x <= BUTTON_RIGHT && top < y && y < top + MENU_BUTTON_HEIGHT;
}

int getButtonIndex(int x, int y, int count) {
  if (x < BUTTON_LEFT || x > BUTTON_RIGHT) return -1;
  int top = (SCREEN_HEIGHT - MENU_BUTTON_HEIGHT * count) / 2;
  for (int i = 0; i < count; ++i) {
    if (top < y && y < top + MENU_BUTTON_HEIGHT) return i;
    top += MENU_BUTTON_HEIGHT;
  }
  return -1;
}

bool setSettingsVolume(int x, int y) {
  if (y < SLIDER_TOP || y > SLIDER_BOTTOM) return false;
  // The slider spans x 67.5 to 252.5, with a little grace at either end.
  float volume = (static_cast<float>(x) - 160.0f) / 185.0f + 0.5f;
  if (volume < 0) {
    if (static_cast<double>(volume) > -0.1) volume = 0;
    else return false;
  }
  if (volume > 1) {
    if (static_cast<double>(volume) < 1.1) volume = 1;
    else return false;
  }
  Settings::instance->volume = volume;
  return true;
}
