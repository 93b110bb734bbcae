// The animation record of one board square: written by the board and the controller, drawn by
// the animation handler each frame while `active`.
#pragma once

enum AnimationKind {
  ANIM_APPEAR = 0,        // a stone was put on the square
  ANIM_REMOVE = 1,        // a stone was taken off
  ANIM_PATH_TRAIL = 2,    // a moving stone passes this square
  ANIM_PATH_PREVIEW = 3,  // the square lies on the previewed path
  ANIM_CLEARED = 4,       // was on the previewed path, no longer is
  ANIM_SELECTED = 5,      // the stone picked up by the player
  ANIM_MOVE_TARGET = 6,   // the destination of a move
  ANIM_MOVE_LANDED = 7,   // the destination of a move that completed a line
  ANIM_IDLE = 8,          // nothing to draw
};

struct AnimationInfo {
  double startTime = 0.0;    // clock time (nowMs) at which the animation starts
  int stone = 0;             // colour to draw (for a removal, the colour removed)
  bool active = false;       // the record is running
  float shrinkSize = -1.0f;  // selection start size, -1 for none
  int kind = ANIM_IDLE;      // an AnimationKind
  int pathIndex = -1;        // 1-based step along the move's path for ANIM_PATH_TRAIL
};
