// ViewStyle: the look shared by all controls: the font and the tones of the game's generated art
// (calm dark panels, light text, the blue accent of buttons and selectors). Constants only.
#pragma once

#include "ViewColour.h"

namespace Ui {

struct ViewStyle {
  // The game's text font; fontconfig resolves it to a Helvetica-metric face.
  static constexpr const char* FONT_NAME = "Helvetica";

  // Tones of the game's art (panel, board edge, accent, text), so controls sit in its menus.
  static ViewColour panelFill() { return {0.090f, 0.115f, 0.165f, 0.97f}; }
  static ViewColour panelEdge() { return {0.300f, 0.360f, 0.460f, 1.0f}; }
  static ViewColour controlFill() { return {0.160f, 0.195f, 0.260f, 1.0f}; }
  static ViewColour controlPressed() { return {0.230f, 0.280f, 0.370f, 1.0f}; }
  static ViewColour accent() { return {0.32f, 0.62f, 1.00f, 1.0f}; }
  static ViewColour accentDark() { return {0.14f, 0.32f, 0.66f, 1.0f}; }
  static ViewColour textLight() { return {0.93f, 0.95f, 0.98f, 1.0f}; }
  static ViewColour textDim() { return {0.58f, 0.64f, 0.74f, 1.0f}; }
  // What an alert lays over the whole screen behind its panel.
  static ViewColour dimming() { return {0.0f, 0.0f, 0.0f, 0.55f}; }
};

}  // namespace Ui
