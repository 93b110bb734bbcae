// Where the game keeps its files: $XDG_DATA_HOME/pellix/, else ~/.local/share/pellix/.
// Called once by the shell at launch, before the settings are read.
#pragma once

#include <string>

class DataDirectory {
 public:
  // The folder (without a trailing slash), created with its parents when missing. Empty when
  // neither XDG_DATA_HOME nor HOME is set; the game then runs but saves nothing.
  static std::string locate();
};
