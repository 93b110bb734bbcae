// FramePainter: draws one frame of play (every screen but the start screen) in its fixed order:
// the board image (made again when what it shows changed), the announced balls, the timer strip,
// score and level, the square highlights, the animated squares, the held ball's ghost, the screen
// of the current state and the keyboard's focus. It reads the rules, the screen flow and the move
// gesture through const references and writes only what drawing owns: the draw state and the
// pictures of the renderer, the screens and the cursor. The controller makes one for each frame,
// after the frame's time step.
#pragma once

#include "BallGraphics.h"
#include "Board.h"
#include "DoubleClickHandler.h"
#include "DrawState.h"
#include "GameClock.h"
#include "GameScreens.h"
#include "HiScores.h"
#include "HiScoresMenu.h"
#include "KeyboardCursor.h"
#include "MoveGesture.h"
#include "ScreenFlow.h"
#include "Settings.h"
#include "SettingsMenu.h"

class FramePainter {
 public:
  // What the frame shows, read only.
  struct Scene {
    const Board& board;
    const ScreenFlow& flow;
    const MoveGesture& gesture;
    const Settings& settings;
    const GameClock& clock;
    const DoubleClickHandler& menuStrip;
    const HiScores& hiScores;
    int tableIndex;         // the high-score table of the running game
    float penaltyFraction;  // the part of the penalty period gone; -1 without the clock
  };
  // What drawing writes.
  struct Canvas {
    DrawState& drawState;
    BallGraphics& graphics;
    GameScreens& screens;
    HiScoresMenu& hiScoresMenu;
    SettingsMenu& settingsMenu;
    KeyboardCursor& cursor;
  };

  FramePainter(const Scene& scene, const Canvas& canvas) : scene(scene), canvas(canvas) {}
  void paint();

  // What a board image made now would show.
  static DrawState::BoardImageKey boardImageKey(const Board& board, const ScreenFlow& flow,
                                                const DoubleClickHandler& menuStrip);

  // How long a move's target and landing square stay lit after the move began.
  static constexpr int TARGET_FLASH_MS = 200;

 private:
  void makeBoardImage();
  // The announced balls from index `first`; cap -1 draws all shown, else at most three.
  void drawPendingBalls(int first, int cap);
  void drawSquareHighlights();
  void drawAnimatedSquares();
  void drawDragGhost();
  void drawStateScreen();
  // The cursor's ring on the board, or the focus ring on the settings screen.
  void drawKeyboardFocus();

  Scene scene;
  Canvas canvas;
};
