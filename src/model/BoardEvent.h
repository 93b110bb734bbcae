// BoardEvent: what the board reports to its owner as play goes on, at the moment it happens
// (a timed event at the moment it falls due). The controller turns each into a sound.
#pragma once

enum class BoardEvent {
  BALL_MOVED,      // a ball was moved to its target
  LINE_REMOVED,    // the moving ball arrived and its lines vanish
  LEVEL_REACHED,   // the level rose
  GAME_OVER,       // the game has ended (queued by the controller)
  NEW_HIGH_SCORE,  // the score earned a place in the table (queued by the controller)
};
