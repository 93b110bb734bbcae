// Where the game keeps its files: $XDG_DATA_HOME/pellix/, else ~/.local/share/pellix/; and its
// preferences file: $XDG_CONFIG_HOME/pellix/preferences, else ~/.config/pellix/preferences.
// Called once each by the shell at launch, before the settings and preferences are read.
#pragma once

#include <string>

class DataDirectory {
 public:
  // The folder (without a trailing slash), created with its parents when missing. Empty when
  // neither XDG_DATA_HOME nor HOME is set; the game then runs but saves nothing.
  static std::string locate();
  // The preferences file's path, its folder created with its parents when missing. Empty when
  // neither XDG_CONFIG_HOME nor HOME is set; the game then keeps its preferences for the session.
  static std::string preferencesFile();
};
