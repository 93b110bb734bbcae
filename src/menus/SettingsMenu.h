// SettingsMenu: the settings screen. Placeholder until the menu screens are built: it draws
// nothing and returns no button, but the controller already calls it where the screen goes.
#pragma once

class GameScreens;

class SettingsMenu {
 public:
  // Draws the screen; returns the top of its button (-1 while the screen is not built).
  int drawSettings(GameScreens& screens, bool buttonHighlighted);
  // Called when the controller leaves the screen.
  void finishedShowing();
};
