// Placeholder of the settings screen; the menu screens fill it in.
#include "SettingsMenu.h"

int SettingsMenu::drawSettings(GameScreens&, bool) { return -1; }

void SettingsMenu::finishedShowing() {}
