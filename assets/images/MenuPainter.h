// Paints the menu art: the darkening overlay, the divider, the frame panel, titles, menu
// buttons, the wide tap bars, the mode selector, the slider bar and the game-over picture.
#pragma once

#include <string>

class MenuPainter {
 public:
  static bool overlay(const std::string& folder);
  static bool divider(const std::string& folder);
  static bool panel(const std::string& folder);
  // "Title-<name>_200x52.png" showing `words`.
  static bool title(const std::string& folder, const std::string& name, const char* words);
  // "MenuOption-<name>_01_200x52.png" (normal) and "_02_" (highlighted) showing `words`.
  static bool menuOption(const std::string& folder, const std::string& name, const char* words);
  // "Button-<name>_01_320x44.png" and "_02_" showing `words`; with `compact` also the slimmer
  // "Button-<name>Compact_01_320x31.png" and "_02_", for the 31 rows that the Quick mode's
  // taller board leaves below it.
  static bool tapBar(const std::string& folder, const std::string& name, const char* words, bool compact = false);
  static bool selector(const std::string& folder);
  static bool sliderBar(const std::string& folder);
  static bool gameOver(const std::string& folder);
};
