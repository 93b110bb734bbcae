// Hit testing of the menu screens: the column of buttons and the settings screen's volume
// slider. Called by the controller's touch handlers.
#pragma once

class Settings;

// True when (x, y) lies on a button whose top is at `top` (strictly inside it vertically).
bool isOnButton(int x, int y, int top);
// Index of the button under (x, y) in a vertically centred column of `count` buttons, or -1.
int getButtonIndex(int x, int y, int count);
// Moves the volume of `settings` when (x, y) is on the settings screen's slider; true then.
bool setSettingsVolume(Settings& settings, int x, int y);
