// The screen's geometry in the game's 320 x 480 frame: the board, the menu strip below it, the
// column of menu buttons and the settings screen's controls. The drawing code (board, screens,
// settings menu, keyboard focus) and the hit-testing code (touches, keys) both read these, so a
// control is hit where it is drawn. Header only; no state.
#pragma once

namespace ScreenGeometry {

const int SCREEN_WIDTH = 320;
const int SCREEN_HEIGHT = 480;
const int CENTRE_X = SCREEN_WIDTH / 2;

// The board: the top left corner of its first square, and the square pitch of the 8-column
// board. The 7- and 9-column boards scale their squares so that every board is 312 pixels wide.
const float BOARD_LEFT = 4.0f;
const float BOARD_TOP = 45.0f;
const float SQUARE_PITCH = 39.0f;

// The drawing scale of a board `boardWidth` squares wide.
inline float boardScale(int boardWidth) {
  return boardWidth == 7 ? 1.1428572f : (boardWidth == 9 ? 0.8888889f : 1.0f);
}
// The square pitch in pixels of a board `boardWidth` squares wide.
inline float squareSize(int boardWidth) { return SQUARE_PITCH * boardScale(boardWidth); }

// The menu strip ("double tap for game menu", "tap to start") below the board. Its pill sits
// about 5 rows below the board's frame and 5 above the screen's edge: under the ten-row board
// (frame down to row 439) in the full bar from row 436; under the nine-row board of Quick mode,
// whose frame reaches row 449, in the slimmer bar that fills the 31 rows left. Touches below its
// top belong to the strip.
const int MENU_STRIP_TOP = 436;
const int MENU_STRIP_TOP_LOWERED = 449;
inline int menuStripTop(int boardHeight) { return boardHeight < 10 ? MENU_STRIP_TOP_LOWERED : MENU_STRIP_TOP; }

// Every menu button is 53 pixels high and drawn centred on CENTRE_X; its hit area spans x 51 to 269.
const int MENU_BUTTON_HEIGHT = 53;
const int MENU_BUTTON_HIT_LEFT = 51;
const int MENU_BUTTON_HIT_RIGHT = 269;
// The top of the first button of a vertically centred column of `count` buttons.
inline int buttonColumnTop(int count) { return (SCREEN_HEIGHT - MENU_BUTTON_HEIGHT * count) / 2; }

// The panels with one button at their bottom (instructions, settings, high scores, name entry):
// each is centred on the screen, moved down by its offset, and its button's top lies 401 + 1
// pixels below the screen's top plus the offset, less the panel's margin above the centre line.
struct ButtonPanel {
  int height;   // in screen pixels
  int widen;    // how much wider than the panel image
  int yOffset;  // how far the panel sits below the centred position
};
const ButtonPanel INSTRUCTIONS_PANEL = {440, 30, 0};
const ButtonPanel SETTINGS_PANEL = {490, 64, 0};
const ButtonPanel HIGH_SCORES_PANEL = {400, 0, 0};
const ButtonPanel NAME_ENTRY_PANEL = {340, 0, -20};
// The top of a panel's bottom button, where it is drawn and hit.
inline int panelButtonTop(int panelHeight, int yOffset) { return yOffset - (SCREEN_HEIGHT - panelHeight) / 2 + 402; }
inline int panelButtonTop(const ButtonPanel& panel) { return panelButtonTop(panel.height, panel.yOffset); }

// The high-score panel: under its title the local/global control (clear of the score strip at
// the top of the screen), then ten rows of names and scores.
const int HIGH_SCORES_PANEL_TOP = (SCREEN_HEIGHT - HIGH_SCORES_PANEL.height) / 2 + HIGH_SCORES_PANEL.yOffset;
const int LOCAL_GLOBAL_LEFT = 80;
const int LOCAL_GLOBAL_TOP = HIGH_SCORES_PANEL_TOP + 84;
const int LOCAL_GLOBAL_WIDTH = 160;
const int LOCAL_GLOBAL_HEIGHT = 28;
const int HIGH_SCORES_FIRST_ROW_Y = LOCAL_GLOBAL_TOP + LOCAL_GLOBAL_HEIGHT + 8;
const int HIGH_SCORES_ROW_PITCH = 18;

// The settings screen. The four game-mode columns, 60 pixels apart around CENTRE_X; a touch
// between MODE_COLUMNS_TOP and MODE_COLUMNS_BOTTOM picks the column under it.
const int MODE_COLUMN_PITCH = 60;
const int MODE_COLUMNS_TOP = 100;
const int MODE_COLUMNS_BOTTOM = 258;
// Centre x of the mode column at display position 0 to 3.
inline int modeColumnCentreX(int position) {
  return static_cast<int>((static_cast<float>(position) - 1.5f) * static_cast<float>(MODE_COLUMN_PITCH) +
                          static_cast<float>(CENTRE_X));
}
// The display position under x (0 to 3 on the columns; outside that range elsewhere).
inline int modeColumnAt(int x) {
  return static_cast<int>((static_cast<float>(x) - static_cast<float>(CENTRE_X)) / static_cast<float>(MODE_COLUMN_PITCH) +
                          2.0f);
}

// Each mode column shows its sample ball over its name; the chosen one stands in a selector box
// that holds the ball and the name with a few pixels to spare, and no more.
const int MODE_BALL_CENTRE_Y = 152;
const int MODE_NAME_CENTRE_Y = 209;
const int MODE_SELECTOR_CENTRE_Y = 163;
const int MODE_SELECTOR_WIDTH = 69;
const int MODE_SELECTOR_HEIGHT = 72;

// Below the mode columns, three rows 40 pixels apart: "Game clock:", "Look:" and "Volume:", each
// label on the left (all starting at x 32, its text's top 11 pixels above the row's centre line)
// and its control on the right, centred on x 219.
const int ROW_LABEL_LEFT = 32;
const int ROW_CONTROL_CENTRE_X = 219;
const int ROW_LABEL_RISE = 11;

// The "Game clock:" switch, by its centre; a switch is 76 x 38.
const int SWITCH_CENTRE_X = ROW_CONTROL_CENTRE_X;
const int CLOCK_SWITCH_CENTRE_Y = 253;
const int SWITCH_WIDTH = 76;
const int SWITCH_HEIGHT = 38;

// The look chooser: the look's name between two arrows in a 140 x 30 box centred on the row; a
// touch on its left half steps to the previous look, on its right half to the next.
const int LOOK_ROW_CENTRE_Y = 293;
const int LOOK_CHOOSER_WIDTH = 140;
const int LOOK_CHOOSER_HEIGHT = 30;
// The centres of the arrows, either side of the name.
const int LOOK_ARROW_OFFSET = 62;
// -1 or +1 when (x, y) lies on the left or right half of the chooser, else 0.
inline int lookStepAt(int x, int y) {
  if (y < LOOK_ROW_CENTRE_Y - LOOK_CHOOSER_HEIGHT / 2 || y > LOOK_ROW_CENTRE_Y + LOOK_CHOOSER_HEIGHT / 2) return 0;
  if (x < ROW_CONTROL_CENTRE_X - LOOK_CHOOSER_WIDTH / 2 || x > ROW_CONTROL_CENTRE_X + LOOK_CHOOSER_WIDTH / 2) return 0;
  return x < ROW_CONTROL_CENTRE_X ? -1 : 1;
}

// The volume slider: its bar (the 203 x 10 image at 0.6) and knob are centred on (219, 373), the
// knob's x runs over 104 pixels (x 167 to 271); touches between y 354 and 394 move it.
const float VOLUME_SLIDER_Y = 333.0f;
const float VOLUME_SLIDER_CENTRE_X = static_cast<float>(ROW_CONTROL_CENTRE_X);
const float VOLUME_SLIDER_SPAN = 104.0f;
const float VOLUME_BAR_SCALE = 0.6f;
const int VOLUME_SLIDER_HIT_TOP = 314;
const int VOLUME_SLIDER_HIT_BOTTOM = 354;
// The knob's centre x for a volume of 0 to 1.
inline float volumeKnobX(float volume) { return (volume - 0.5f) * VOLUME_SLIDER_SPAN + VOLUME_SLIDER_CENTRE_X; }
// The volume whose knob is centred at x (below 0 or above 1 off the slider's ends).
inline float volumeAtX(int x) { return (static_cast<float>(x) - VOLUME_SLIDER_CENTRE_X) / VOLUME_SLIDER_SPAN + 0.5f; }

}  // namespace ScreenGeometry
