// GameAction: what the player asks of the game, whichever device asked. The input translators
// (the pointer's gestures in GameControllerInput.cpp, the keys in GameControllerKeyboard.cpp, and a gamepad
// later) turn events into actions; GameController::apply carries them out, so that every rule (sounds,
// saving, the mode-change question) lives in one place. A plain value.
#pragma once

#include "Square.h"

struct GameAction {
  enum Kind {
    PICK_UP,         // pick up the ball on `square` (instead of the one held, if any)
    DROP,            // drop the held ball on the empty `square`: a move when the ball can get there
    DESELECT,        // put the held ball back, with the bad-move sound when `withSound`
    PRESS_BUTTON,    // press button `index` of the current screen (start, menu entries, Done...)
    OPEN_GAME_MENU,  // from play, the game menu
    LEAVE_SCREEN,    // leave the instructions for the screen they were opened from
  };

  Kind kind = DESELECT;
  Square square;
  int index = -1;
  // DESELECT: with the bad-move sound.
  bool withSound = false;
  // DROP: a square the ball cannot reach puts it back (pointer) instead of keeping it held (keys).
  bool missPutsBack = false;

  static GameAction pickUp(Square at) { return {PICK_UP, at, -1, false, false}; }
  static GameAction drop(Square at, bool missPutsBack) { return {DROP, at, -1, false, missPutsBack}; }
  static GameAction deselect(bool withSound) { return {DESELECT, Square(), -1, withSound, false}; }
  static GameAction pressButton(int button) { return {PRESS_BUTTON, Square(), button, false, false}; }
  static GameAction openGameMenu() { return {OPEN_GAME_MENU, Square(), -1, false, false}; }
  static GameAction leaveScreen() { return {LEAVE_SCREEN, Square(), -1, false, false}; }
};
