// GameStates: the names of the game's screens, shared by the controller and its screen flow
// (both derive from it, so `GameController::STATE_PLAYING` and `ScreenFlow::STATE_PLAYING` name
// the same screen).
#pragma once

struct GameStates {
  enum GameState {
    STATE_SPLASH = 0,            // start screen; any tap starts play
    STATE_PLAYING = 1,           // the board; moves are accepted; the clock runs
    STATE_GAME_MENU = 2,         // in-game menu with five buttons over the board
    STATE_SETTINGS = 3,          // settings screen
    STATE_SETTINGS_CONFIRM = 4,  // settings screen with the "Game Mode Change" alert open
    STATE_INSTRUCTIONS = 5,      // three pages of instructions
    STATE_GAME_OVER = 6,         // game-over screen; any tap starts a new game
    STATE_NEW_HISCORE = 7,       // name entry for a score that earned a place
    STATE_HISCORES = 8,          // high-score tables
    STATE_GAME_ENDING = 9,       // the full board stays visible for two seconds
  };
};
