// The pointer's translator: touches (and the mouse) on menu buttons and the settings controls,
// the double tap on the menu strip, and on the board the selection, the snapped target,
// drag-and-drop and two-tap moves, turned into the game's actions.
#include <cstdlib>

#include "DoubleClickHandler.h"
#include "Lock.h"
#include "MenuHitTesting.h"
#include "ScreenGeometry.h"
#include "GameController.h"

namespace {

const int SNAP_DISTANCE = 7;
const int QUICK_SWIPE_MS = 175;
const int SLID_OFF_TARGET_MS = 325;
const int GAME_MENU_BUTTONS = GameScreens::GAME_MENU_ENTRIES;

// The square of a board-relative point, truncating toward zero.
Square squareOfBoardPoint(int boardX, int boardY, float size) {
  return Square(static_cast<int>(static_cast<float>(boardX) / size), static_cast<int>(static_cast<float>(boardY) / size));
}

}  // namespace

bool GameController::isInMenuStrip(int y) const { return y > ScreenGeometry::menuStripTop(board.height); }

void GameController::setCurrentMouseSquare(Square& s) {
  if (s == currentMouseSquare) return;
  previousMouseSquare = currentMouseSquare;
  previousMouseSquareTime = mouseSquareTime;
  mouseSquareTime = clock.gameTime();
  currentMouseSquare = s;
}

Square GameController::getCurrentMouseSquare(int x, int y, bool pickingBall) {
  if (settings.twoTapMoves) pickingBall = awaitingFirstTap;
  const float size = ScreenGeometry::squareSize(board.width);
  const int left = static_cast<int>(ScreenGeometry::BOARD_LEFT);
  const int top = static_cast<int>(ScreenGeometry::BOARD_TOP);
  Square q = squareOfBoardPoint(x - left, y - top, size);
  if (x < left || y < top || !board.isInBoard(q)) q = Square();

  const bool qInBoard = board.isInBoard(q);
  const bool qEmpty = qInBoard && board.stoneAt(q) == SQUARE_EMPTY;
  const bool direct = !pickingBall && qEmpty && board.reachability[q.y][q.x].distance != -1;

  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if (dx == 0 && dy == 0) continue;
      const Square p =
          squareOfBoardPoint(x - left + SNAP_DISTANCE * dx, y - top + SNAP_DISTANCE * dy, size);
      if (p == q || !board.isInBoard(p)) continue;
      const bool pEmpty = board.stoneAt(p) == SQUARE_EMPTY;
      if (pickingBall) {
        // A touch on an empty square or on a boxed-in ball next to a movable ball picks that ball.
        if (!pEmpty && !board.isSurrounded(p) && (!qInBoard || qEmpty || board.isSurrounded(q))) {
          sounds.playDubiousMoveSound();
          return p;
        }
        continue;
      }
      if (!pEmpty || board.reachability[p.y][p.x].distance == -1) continue;
      if ((!qInBoard || !qEmpty || !direct) && q != board.selected) {
        sounds.playDubiousMoveSound();
        return p;
      }
      // A drop next to a square that would complete a row, on one that would not, goes there.
      const int colour = board.stoneAt(board.selected);
      const int atTouched = qEmpty ? board.checkForConnectionsButDoNothing(q, colour) : 0;
      if (board.checkForConnectionsButDoNothing(p, colour) != 0 && atTouched == 0) {
        sounds.playDubiousMoveSound();
        return p;
      }
    }
  }
  return q;
}

void GameController::deselectAsBadMove(bool playSound) {
  if (board.selected.x == -1) return;
  if (board.isInBoard(board.selected)) board.animations[board.selected.y][board.selected.x].active = false;
  if (playSound) sounds.playBadMoveSound();
  clearSelection();
}

void GameController::dropSelectionOfVanishedBall() {
  const bool ballGone = board.selected.x != -1 && board.stoneAt(board.selected) == SQUARE_EMPTY;
  if (!board.selectedBallRemoved && !ballGone) return;
  board.selectedBallRemoved = false;
  // The square's own animation is the ball vanishing now: the selection pulse must not end it.
  if (board.selected.x != -1) clearSelection();
}

void GameController::clearSelection() {
  board.selected = Square();
  awaitingFirstTap = true;
  currentMouseSquare = previousMouseSquare = Square();
  for (int y = 0; y < board.height; ++y) {
    for (int x = 0; x < board.width; ++x) {
      AnimationInfo& animation = board.animations[y][x];
      if (animation.kind == ANIM_PATH_PREVIEW || animation.kind == ANIM_CLEARED || animation.kind == ANIM_SELECTED) {
        animation.active = false;
        animation.startTime = clock.nowMs();
      }
    }
  }
  board.notePictureChange();
}

void GameController::startSelectionAnimation(const Square& q) {
  AnimationInfo& animation = board.animations[q.y][q.x];
  animation.stone = board.stoneAt(q);
  animation.active = true;
  animation.startTime = clock.nowMs();
  animation.kind = ANIM_SELECTED;
  animation.pathIndex = -1;
}

void GameController::startInput() {
  pictureChanged = true;
  clock.refresh();
  dropSelectionOfVanishedBall();
}

void GameController::handleMouseDown(int x, int y) {
  MyTl::Lock lock(gameMutex);
  startInput();
  switch (gameState) {
    case STATE_PLAYING:
      if (isInMenuStrip(y)) {
        if (++menuStripTaps.clickCount == 2) menuStripTaps.pressed = true;
      } else if (settings.twoTapMoves) {
        handleMouseDrag(x, y);
        return;
      } else {
        Square q = getCurrentMouseSquare(x, y, board.selected.x == -1);
        if (board.stoneAt(q) != SQUARE_EMPTY) apply(GameAction::pickUp(q));
        setCurrentMouseSquare(q);
      }
      break;
    case STATE_SPLASH:
    case STATE_GAME_OVER:
      if (pressedButton == -1) pressedButton = 1;
      break;
    case STATE_GAME_MENU:
      pressedButton = getButtonIndex(x, y, GAME_MENU_BUTTONS);
      break;
    case STATE_INSTRUCTIONS:
      pressedButton = isOnButton(x, y, bottomButtonTop()) ? 0 : -1;
      break;
    case STATE_NEW_HISCORE:
    case STATE_HISCORES:
    case STATE_SETTINGS:
      pressedButton = isOnButton(x, y, bottomButtonTop()) ? 1 : -1;
      if (gameState == STATE_SETTINGS && setSettingsVolume(settings, x, y)) volumeDragActive = true;
      break;
    default:
      break;
  }
}

void GameController::handleMouseDrag(int x, int y) {
  pictureChanged = true;
  if (gameState == STATE_SETTINGS) {
    if (volumeDragActive) setSettingsVolume(settings, x, y);
    return;
  }
  if (gameState != STATE_PLAYING) return;

  clock.refresh();
  dropSelectionOfVanishedBall();
  Square q = getCurrentMouseSquare(x, y, board.selected.x == -1);
  if (q != board.selected) {
    MyTl::Lock lock(gameMutex);
    setCurrentMouseSquare(q);
  }
  if (settings.twoTapMoves && awaitingFirstTap && q != board.selected) selectForTwoTap(q);
}

// Two-tap moves: the finger is choosing the ball of the first tap.
void GameController::selectForTwoTap(Square q) {
  const bool hadNone = board.selected.x == -1;
  const bool wasBall = !hadNone && board.stoneAt(board.selected) != SQUARE_EMPTY;
  if (board.isInBoard(board.selected)) {
    AnimationInfo& old = board.animations[board.selected.y][board.selected.x];
    old.active = false;
    old.startTime = clock.nowMs();
  }
  if (board.stoneAt(q) == SQUARE_EMPTY) {
    deselectAsBadMove(wasBall);
    return;
  }
  board.selected = q;
  board.calculateReachabilities();
  if (!hadNone) sounds.playMenuSwitchSound();
  startSelectionAnimation(q);
  board.notePictureChange();
}

void GameController::handleMouseUp(int x, int y) {
  MyTl::Lock lock(gameMutex);
  startInput();
  bool consumed = false;
  handleScreenRelease(x, y, consumed);
  if (gameState == STATE_PLAYING && !consumed) handlePlayRelease(x, y);
}

void GameController::handleScreenRelease(int x, int y, bool& consumed) {
  const GameState state = gameState;
  switch (state) {
    case STATE_GAME_MENU: {
      const int index = getButtonIndex(x, y, GAME_MENU_BUTTONS);
      const bool activated = index != -1 && index == pressedButton;
      pressedButton = index;
      if (activated) consumed = pressButton(index);
      pressedButton = -1;
      return;
    }
    case STATE_HISCORES:
    case STATE_NEW_HISCORE:
    case STATE_INSTRUCTIONS:
    case STATE_SETTINGS: {
      const int buttonIndex = state == STATE_INSTRUCTIONS ? 0 : 1;
      const int index = isOnButton(x, y, bottomButtonTop()) ? buttonIndex : -1;
      const bool activated = index != -1 && index == pressedButton;
      pressedButton = index;
      if (activated) {
        consumed = pressButton(index);
      } else if (state == STATE_SETTINGS) {
        if (y >= ScreenGeometry::MODE_COLUMNS_TOP && y <= ScreenGeometry::MODE_COLUMNS_BOTTOM) {
          const int position = ScreenGeometry::modeColumnAt(x);
          if (position >= 0 && position <= 3) settings.gameMode = Settings::mapDisplayPositionsToSettingsIds[position];
        }
        if (setSettingsVolume(settings, x, y)) sounds.playMoveSound();
        if (const int step = ScreenGeometry::lookStepAt(x, y)) stepLook(step);
      }
      if (state == STATE_SETTINGS) volumeDragActive = false;
      if (activated) pressedButton = -1;
      return;
    }
    default:
      break;
  }

  const bool stripTap = isInMenuStrip(y) && state == STATE_PLAYING;
  const bool anywhereTap = (state == STATE_SPLASH || state == STATE_GAME_OVER) && pressedButton != -1;
  if (anywhereTap) {
    consumed = pressButton(0);
  } else if (stripTap) {
    if (menuStripTaps.clickCount == 1) menuStripTaps.firstClickTime = clock.nowMs();
    if (menuStripTaps.clickCount >= 2) apply(GameAction::openGameMenu());
  }
}

// The settings screen's Done button: apply, or ask before a change of mode ends a game.
void GameController::leaveSettings() {
  const Settings& live = settings;
  const bool modeChanged = live.gameMode != board.settings.gameMode || live.clockDisabled != board.settings.clockDisabled;
  if (modeChanged && board.moveCount >= 3) {
    switchGameState(STATE_SETTINGS_CONFIRM);
    screens.drawSettingsAlertMenu();
    return;
  }
  settings.setValues();
  settings.save();
  settingsMenu.finishedShowing();
  if (modeChanged && scoreEarnsAPlace()) {
    // Even a short game's score is offered before the new mode starts.
    switchGameState(STATE_PLAYING);
    handleGameFinish(false, false);
    return;
  }
  if (modeChanged) {
    resetGame();
    saveGameNow();
  }
  switchGameState(previousState);
}

void GameController::handlePlayRelease(int x, int y) {
  Square q = getCurrentMouseSquare(x, y, board.selected.x == -1);
  setCurrentMouseSquare(q);
  Square target = q;
  const bool twoTap = settings.twoTapMoves;

  if (!twoTap && mouseSquareTime != -1 && clock.gameTime() - mouseSquareTime < QUICK_SWIPE_MS) {
    // The finger arrived here just before lifting: either it slid off its target while
    // lifting (drop on the previous square) or it was a quick swipe (deselect).
    const bool slidOff = previousMouseSquare.x != -1 && clock.gameTime() - previousMouseSquareTime <= SLID_OFF_TARGET_MS &&
                         std::abs(previousMouseSquare.x - currentMouseSquare.x) <= 1 &&
                         std::abs(previousMouseSquare.y - currentMouseSquare.y) <= 1;
    if (!slidOff) {
      deselectAsBadMove(true);
      return;
    }
    Square previous = previousMouseSquare;
    setCurrentMouseSquare(previous);
    target = previous;
  }

  if (twoTap && q.x != -1) {
    if (awaitingFirstTap) {
      if (board.stoneAt(q) == SQUARE_EMPTY) {
        deselectAsBadMove(true);
        currentMouseSquare = Square();
        awaitingFirstTap = true;
      } else if (!(q == board.selected)) {
        // The press of this touch picked no ball here (it began on the strip below the board):
        // no first tap, or the game would wait for a second one without a selection.
        currentMouseSquare = Square();
      } else {
        awaitingFirstTap = false;
        currentMouseSquare = Square();
        sounds.playMoveSound();
        startSelectionAnimation(q);
      }
      return;
    }
    awaitingFirstTap = true;
  }

  if (!board.isInBoard(target) || board.stoneAt(target) != SQUARE_EMPTY) {
    if (twoTap && board.isInBoard(board.selected)) {
      board.animations[board.selected.y][board.selected.x].active = false;
      board.notePictureChange();
    }
    apply(GameAction::deselect(true));
  } else if (board.selected.x != -1) {
    apply(GameAction::drop(target, true));
  }
  currentMouseSquare = Square();
}
