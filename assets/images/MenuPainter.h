// Paints the menu art: the darkening overlay, the divider, the frame panel, menu buttons, the
// wide bars, the mode selector, the slider bar and the game-over picture. The buttons, bars and
// the game-over picture carry no words: the game paints them at run time (LabelArt).
#pragma once

#include <string>

class MenuPainter {
 public:
  static bool overlay(const std::string& folder);
  static bool divider(const std::string& folder);
  static bool panel(const std::string& folder);
  // "MenuOption_01_200x52.png" (normal) and "_02_" (highlighted): every menu button.
  static bool menuOption(const std::string& folder);
  // "Button-Bar_01_320x44.png" and "_02_" (pressed): the wide bars under the board; and the
  // slimmer "Button-BarCompact_01_320x31.png" and "_02_", for the 31 rows that the Quick mode's
  // taller board leaves below it.
  static bool tapBar(const std::string& folder);
  static bool selector(const std::string& folder);
  static bool sliderBar(const std::string& folder);
  static bool gameOver(const std::string& folder);
};
