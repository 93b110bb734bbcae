// The one place where the player's actions are carried out, whichever device asked for them:
// picking up and dropping balls (with the move itself), putting a ball back, the buttons of
// every screen, opening the game menu and leaving the instructions.
#include "GameAction.h"
#include "GameClock.h"
#include "Lock.h"
#include "ScreenGeometry.h"
#include "GameController.h"

namespace {

const int MS_PER_PATH_STEP = 90;

}  // namespace

void GameController::apply(const GameAction& action) {
  switch (action.kind) {
    case GameAction::PICK_UP:
      pickUp(action.square);
      break;
    case GameAction::DROP:
      dropAt(action.square, action.missPutsBack);
      break;
    case GameAction::DESELECT:
      deselectAsBadMove(action.withSound);
      break;
    case GameAction::PRESS_BUTTON:
      pressButton(action.index);
      break;
    case GameAction::OPEN_GAME_MENU:
      menuStripTaps.reset();
      switchGameState(STATE_GAME_MENU);
      break;
    case GameAction::LEAVE_SCREEN:
      switchGameState(previousState);
      break;
  }
}

int GameController::bottomButtonTop() const {
  switch (gameState) {
    case STATE_INSTRUCTIONS: return ScreenGeometry::panelButtonTop(ScreenGeometry::INSTRUCTIONS_PANEL);
    case STATE_SETTINGS:
    case STATE_SETTINGS_CONFIRM: return ScreenGeometry::panelButtonTop(ScreenGeometry::SETTINGS_PANEL);
    case STATE_HISCORES: return ScreenGeometry::panelButtonTop(ScreenGeometry::HIGH_SCORES_PANEL);
    case STATE_NEW_HISCORE: return ScreenGeometry::panelButtonTop(ScreenGeometry::NAME_ENTRY_PANEL);
    default: return -1;
  }
}

void GameController::pickUp(Square q) {
  if (board.stoneAt(q) == SQUARE_EMPTY) return;
  // A ball picked up instead of another: the other one stops pulsing.
  if (board.isInBoard(board.selected)) board.animations[board.selected.y][board.selected.x].active = false;
  board.selected = q;
  board.calculateReachabilities();
  sounds.playMoveSound();
  startSelectionAnimation(q);
  awaitingFirstTap = false;
  currentMouseSquare = Square();
  board.notePictureChange();
}

void GameController::dropAt(Square target, bool missPutsBack) {
  if (board.selected.x == -1 || !board.isInBoard(target) || board.stoneAt(target) != SQUARE_EMPTY) return;
  if (board.reachability[target.y][target.x].distance == -1) {
    if (!missPutsBack) {
      // Out of reach: say so and keep the ball picked up.
      sounds.playBadMoveSound();
      return;
    }
    deselectAsBadMove(true);
  } else {
    makeMove(target);
  }
  if (board.isInBoard(board.selected)) board.animations[board.selected.y][board.selected.x].active = false;
  board.selected = Square();
  board.notePictureChange();
  awaitingFirstTap = true;
  currentMouseSquare = Square();
}

bool GameController::pressButton(int index) {
  const GameState state = gameState;
  switch (state) {
    case STATE_SPLASH:
      pressedButton = -1;
      switchGameState(STATE_PLAYING);
      if (settings.firstLaunch) switchGameState(STATE_INSTRUCTIONS);
      return true;
    case STATE_GAME_OVER:
      pressedButton = -1;
      resetGame();
      switchGameState(STATE_PLAYING);
      saveGameNow();
      return true;
    case STATE_GAME_MENU:
      switch (index) {
        case 0:
          switchGameState(STATE_PLAYING);
          return true;
        case 1:
          switchGameState(STATE_PLAYING);
          handleGameFinish(false, false);
          return true;
        case 2:
          volumeDragActive = true;
          switchGameState(STATE_SETTINGS);
          return false;
        case 3:
          switchGameState(STATE_HISCORES);
          return false;
        case 4:
          switchGameState(STATE_INSTRUCTIONS);
          return false;
        default:
          return false;
      }
    case STATE_HISCORES:
      if (resetAfterHiScores) {
        resetAfterHiScores = false;
        resetGame();
        saveGameNow();
      }
      if (previousState == STATE_GAME_MENU) {
        switchGameState(STATE_GAME_MENU);
        return false;
      }
      switchGameState(STATE_PLAYING);
      return true;
    case STATE_NEW_HISCORE: {
      const MyTl::BasicString<char> name = screens.getNameEnteredForNewHiScore();
      hiScores.addScore(tableIndex(), board.score, name.c_str());
      // Written at once, so a score is never lost to a crash or a killed process.
      hiScores.saveHiScores();
      switchGameState(STATE_HISCORES);
      resetAfterHiScores = true;
      return false;
    }
    case STATE_INSTRUCTIONS:
      if (instructionsPage < GameScreens::INSTRUCTION_PAGES) {
        ++instructionsPage;
        screens.justSwitchedMenu = true;
        return false;
      }
      switchGameState(previousState);
      // The release closed the instructions: it is no touch on the board beneath.
      return gameState == STATE_PLAYING;
    case STATE_SETTINGS:
      leaveSettings();
      return false;
    default:
      return false;
  }
}

void GameController::makeMove(Square t) {
  Square f = board.selected;
  const int colour = board.stoneAt(f);
  board.doMove(f, t);
  creditMove();
  board.calculateReachability(f, t);

  // Steps from t back to f, then the trail animation along them, 90 ms per square.
  int steps = 0;
  for (Square s = t; s != f && steps < Board::MAX_SIZE * Board::MAX_SIZE; ++steps)
    Board::navigatePath(board.reachability[s.y][s.x].direction, s);
  board.animations[t.y][t.x].kind = ANIM_MOVE_TARGET;
  Square p = t;
  Board::navigatePath(board.reachability[p.y][p.x].direction, p);
  for (int i = 0; p != f && i < steps; ++i) {
    AnimationInfo& trail = board.animations[p.y][p.x];
    trail.active = true;
    trail.stone = colour;
    trail.startTime = clock.nowMs();
    trail.kind = ANIM_PATH_TRAIL;
    trail.pathIndex = steps - i - 1;
    trail.shrinkSize = -1.0f;
    Board::navigatePath(board.reachability[p.y][p.x].direction, p);
  }
  const int squaresBetween = steps - 1;
  const int landingDelay = (squaresBetween - 2) * MS_PER_PATH_STEP;
  if (landingDelay > 0) board.animations[t.y][t.x].startTime += landingDelay;

  board.checkForConnections(t, removedSquares, steps);
  if (removedSquares.empty()) {
    addPendingBalls();
  } else {
    // The removed balls vanish after the moving ball has landed.
    const int vanishDelay = static_cast<int>(static_cast<double>(static_cast<float>(squaresBetween) + 0.7f) * 90.0);
    removedSquares.forEachInOrder([&](const Square& s, const int&) {
      board.animations[s.y][s.x].startTime += vanishDelay > 0 ? vanishDelay : 0;
    });
    board.animations[t.y][t.x].kind = ANIM_MOVE_LANDED;
  }
  saveGameNow();
}
