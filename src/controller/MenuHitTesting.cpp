// Button columns and the volume slider of the settings screen.
#include "MenuHitTesting.h"

#include "ScreenGeometry.h"
#include "Settings.h"

using namespace ScreenGeometry;

bool isOnButton(int x, int y, int top) {
  return x >= MENU_BUTTON_HIT_LEFT && x <= MENU_BUTTON_HIT_RIGHT && top < y && y < top + MENU_BUTTON_HEIGHT;
}

int getButtonIndex(int x, int y, int count) {
  if (x < MENU_BUTTON_HIT_LEFT || x > MENU_BUTTON_HIT_RIGHT) return -1;
  int top = buttonColumnTop(count);
  for (int i = 0; i < count; ++i) {
    if (top < y && y < top + MENU_BUTTON_HEIGHT) return i;
    top += MENU_BUTTON_HEIGHT;
  }
  return -1;
}

bool setSettingsVolume(Settings& settings, int x, int y) {
  if (y < VOLUME_SLIDER_HIT_TOP || y > VOLUME_SLIDER_HIT_BOTTOM) return false;
  // A little grace at either end of the slider.
  float volume = volumeAtX(x);
  if (volume < 0) {
    if (static_cast<double>(volume) > -0.1) volume = 0;
    else return false;
  }
  if (volume > 1) {
    if (static_cast<double>(volume) < 1.1) volume = 1;
    else return false;
  }
  settings.volume = volume;
  return true;
}
