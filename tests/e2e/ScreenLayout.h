// Where things are on the game's 320 x 480 screen, for the tests' pointer events: board squares
// of the 8-wide board, the menu strip, the game menu's buttons, the settings controls, the name
// entry, the high-score screen and the alerts' colours. Constants only.
#pragma once

#include "ScreenImage.h"

namespace ScreenLayout {

// Board square centres (8 x 10 board, squares 39 pixels from (4, 45)).
inline int squareCentreX(int column) { return 4 + 39 * column + 19; }
inline int squareCentreY(int row) { return 45 + 39 * row + 19; }

// The strip below the board: a double tap opens the game menu.
const int MENU_STRIP_X = 160;
const int MENU_STRIP_Y = 460;

// Game menu: seven 53-pixel bands from y = 54, x 51 to 269.
enum GameMenuButton { RESUME = 0, NEW_GAME = 1, SETTINGS = 2, HIGH_SCORES = 3, INSTRUCTIONS = 4, ABOUT = 5, QUIT = 6 };
const int MENU_BUTTON_X = 160;
inline int gameMenuButtonY(GameMenuButton button) { return 54 + 53 * static_cast<int>(button) + 26; }

// Settings screen: the mode columns by display position, and the "Done" button (top 406).
enum ModeColumn { EASY = 0, MEDIUM = 1, HARD = 2, QUICK = 3 };
inline int modeColumnX(ModeColumn column) { return 70 + 60 * static_cast<int>(column); }
const int MODE_TAP_Y = 150;
const int SETTINGS_DONE_Y = 430;

// Name entry: the text field (77, 235, 166, 28) and "Okay" (top 311).
const int NAME_FIELD_X = 160;
const int NAME_FIELD_Y = 249;
const int NAME_OKAY_Y = 335;

// High-score screen: Local / Global control at (80, 124, 160, 28) under the title, "Back" (top
// 362), ten rows 18 pixels apart from y = 160, names from x = 77 and scores up to x = 243.
const int LOCAL_SEGMENT_X = 120;
const int GLOBAL_SEGMENT_X = 200;
const int SEGMENT_Y = 138;
const int HISCORES_BACK_Y = 387;
inline PixelRect hiScoreRow(int row) { return PixelRect{77, 160 + 18 * row, 166, 18}; }

// The controls' tones: the accent worn by an alert's default button and by a selected
// segment, and the fill of other buttons.
const Rgb ACCENT_DARK{36, 82, 168};
const Rgb CONTROL_FILL{41, 50, 66};

}  // namespace ScreenLayout
