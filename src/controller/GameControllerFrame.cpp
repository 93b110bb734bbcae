// The frame tick: timed events, the penalty clock and the idle ball, then the whole frame in a
// fixed order: the cached board image (rebuilt when the board changed), the announced balls,
// the timer strip, score and level, highlights, animated squares, the drag target and the
// screen of the current state. Also the frame schedule: when the picture next needs drawing.
#include <cmath>

#include "AnimationHandler.h"
#include "BlendMode.h"
#include "DisplayScale.h"
#include "DoubleClickHandler.h"
#include "Lock.h"
#include "ScreenGeometry.h"
#include "Texture.h"
#include "GameController.h"

namespace {

const int GAME_ENDING_PAUSE_MS = 2000;
const int TARGET_FLASH_MS = 200;

}  // namespace

void GameController::drawPendingStones(int first, int cap) {
  const int count = board.pendingStones.size();
  if (count == 0) return;
  const float spacing = count < 10 ? (72.0f / static_cast<float>(count) < 14.0f ? 72.0f / static_cast<float>(count) : 14.0f)
                                   : 8.0f;
  const int shown = count < 9 ? count : 9;
  const int limit = cap == -1 ? shown : (shown < 3 ? shown : 3);
  for (int i = first; i < limit; ++i) {
    const float x = 303.0f - spacing * static_cast<float>(i + 1);
    // A freshly announced ball flares up and fades within 1.2 s of game time.
    float glow = -1.0f;
    if (i < board.pendingStoneTimes.size() && board.pendingStoneTimes[i].ms != -1) {
      float age = static_cast<float>(clock.gameTime() - board.pendingStoneTimes[i].ms);
      if (age < 1200.0f) {
        if (age > 600.0f) age = 1200.0f - age;
        glow = (age + 100.0f) / 100.0f < 4.0f ? (age + 100.0f) / 100.0f : 4.0f;
      }
    }
    for (int k = 0; static_cast<float>(k) < glow; ++k) graphics.addVerySoftGlowCenteredAtPoint(x + 10.83f, 22.83f, 0.33f);
    graphics.drawStoneAtCoords(board.pendingStones[i], ScreenPoint(x, 12.0f), 0.57f, false, true, false, true);
    for (int k = 0; static_cast<float>(k) < 2.0f * glow / 3.0f; ++k)
      graphics.addVerySoftGlowCenteredAtPoint(x + 10.83f, 22.83f, 0.33f);
  }
}

void GameController::followDisplayScale() {
  displayGeneration = DisplayScale::generation();
  if (!graphics.isComplete()) {
    // Only the start picture may exist yet; the rest is made later, at the scale of that moment.
    graphics.dropStartScreenArt();
  } else if (graphics.generatedScale != DisplayScale::artScale()) {
    graphics.regenerate();
    followRegeneratedArt();
  }
  forgetBoardImage();
}

void GameController::followRegeneratedArt() {
  screens.sunOverlay = graphics.sunOverlay;
  screens.menuDivider = graphics.menuDivider;
  screens.followArtScale();
  keyboardCursor.followArtScale();
}

void GameController::drawBoard() {
  MyTl::Lock lock(gameMutex);
  if (advanceFrame()) drawFrame();
}

bool GameController::advanceFrame() {
  MyTl::Lock lock(gameMutex);
  const int scoreBeforeCredits = board.score;
  board.fireDueEvents();
  // A move's points land a little after its balls vanished: save again so that a saved game
  // never holds the removed balls without their points.
  if (board.score != scoreBeforeCredits) saveGameNow();
  tellPlayerOfSaveFailure();
  if (hiScoresMenu.tellPlayerOfDeliveries(screens)) pictureChanged = true;
  if (gameState == STATE_HISCORES && hiScoresMenu.followWorkers(screens)) pictureChanged = true;
  if (gameState == STATE_PLAYING) menuStripTaps.tick(clock.nowMs());
  clock.refresh();
  if (gameState == STATE_GAME_ENDING && clock.nowMs() - static_cast<int>(gameEndTime) > GAME_ENDING_PAUSE_MS)
    handleGameFinish(true, false);
  if (gameState == STATE_PLAYING && !dropIdleBall()) return false;
  // A board is never left without a ball.
  if (board.freeSquares.size() == board.width * board.height) board.addBallAtRandomPos();
  dropSelectionOfVanishedBall();
  // A due penalty ball is announced whether or not this tick draws; drawing only shows the clock.
  if (gameState != STATE_SPLASH) announceDuePenaltyBall();
  // The path to the target the pointer or the cursor names, as the next frame shows it.
  if (board.selected.x != -1) board.calculateReachability(board.selected, currentMouseSquare);
  if (gameState != STATE_SPLASH) followDragTarget();
  settleAnimations();
  return true;
}

void GameController::drawFrame() {
  MyTl::Lock lock(gameMutex);
  pictureChanged = false;
  drawnAtMs = clock.nowMs();
  graphics.setMoment(clock.nowMs(), clock.gameTime());
  graphics.setTwoTapMoves(settings.twoTapMoves);
  if (displayGeneration != DisplayScale::generation()) followDisplayScale();
  if (gameState == STATE_SPLASH) {
    graphics.setStartBarContinues(savedGameResumes);
    graphics.generateStartScreenArt();
    screens.drawSplashScreen(pressedButton == 1);
    screens.doneDrawing();
    return;
  }
  completeStartUp();

  if (boardImageIsStale()) {
    rebuildBoardSnapshot();
  } else {
    boardSnapshot->drawToScreen(0.0f, -32.0f, Scaling(1.0f, -1.0f), BLEND_OPAQUE, false);
  }
  drawPendingStones(3, -1);
  const float shownFraction = penaltyFraction();
  shownTimerFrame = shownFraction != -1.0f ? BallGraphics::timerFrame(shownFraction) : -1;
  if (shownFraction != -1.0f) graphics.drawTimer(shownFraction, 201, 15);
  graphics.drawNumber(scoreNumber.getNumberToShow(board.score, clock.nowMs()), 10000, 42.5f, 12.5f);
  graphics.drawNumber(levelNumber.getNumberToShow(board.level, clock.nowMs()), 100, 156.5f, 12.5f);

  drawSquareHighlights();
  drawAnimatedSquares();
  drawDragTarget();
  drawStateScreen();
  drawKeyboardFocus();
  screens.doneDrawing();
}

void GameController::tellPlayerOfSaveFailure() {
  std::string folder, reason;
  if (screens.parent && saveFailures.take(folder, reason)) {
    screens.showSaveFailure(folder, reason);
    pictureChanged = true;  // the notice comes up over the screen
  }
}

FrameSchedule GameController::frameSchedule() {
  MyTl::Lock lock(gameMutex);
  FrameSchedule schedule(clock.wallClockSinceStart());
  if (pictureChanged) schedule.drawNow();
  // Timed board events fire once their time has passed.
  for (int i = 0; i < board.timedEvents.size(); ++i) {
    if (board.timedEvents[i].time != -1) schedule.wakeAt(board.timedEvents[i].time + 1);
  }
  if (gameState == STATE_PLAYING && menuStripTaps.expiryTime() != -1)
    schedule.wakeAt(menuStripTaps.expiryTime());
  if (gameState == STATE_GAME_ENDING) schedule.wakeAt(static_cast<int>(gameEndTime) + GAME_ENDING_PAUSE_MS + 1);
  schedulePenaltyClock(schedule);
  schedulePicture(schedule);
  return schedule;
}

void GameController::schedulePicture(FrameSchedule& schedule) const {
  // The start screen is a still picture; everything else shows the board.
  if (gameState == STATE_SPLASH) return;
  const bool gameTimeRuns = !clock.isPaused();
  if (boardImageIsStale()) schedule.drawNow();
  // Rolling digits, or numbers not shown yet.
  if (scoreNumber.value != board.score || levelNumber.value != board.level) schedule.drawNow();

  for (int y = 0; y < board.height; ++y) {
    for (int x = 0; x < board.width; ++x) {
      const AnimationInfo& animation = board.animations[y][x];
      // Every running animation except a cleared square changes the picture frame by frame.
      if (animation.active && animation.kind != ANIM_CLEARED) schedule.drawNow();
      // Bombs turn.
      if (board.stones[y][x] == STONE_BOMB) schedule.drawNow();
      // The square of a move's target or landing stays lit for a moment after its start.
      if ((animation.kind == ANIM_MOVE_TARGET || animation.kind == ANIM_MOVE_LANDED) &&
          drawnAtMs - static_cast<int>(animation.startTime) < TARGET_FLASH_MS)
        schedule.changesAt(static_cast<int>(animation.startTime) + TARGET_FLASH_MS);
    }
  }

  // Announced balls drawn every frame (beyond the third): turning bombs and fresh glows.
  const int shown = board.pendingStones.size() < 9 ? board.pendingStones.size() : 9;
  for (int i = 3; i < shown; ++i) {
    if (board.pendingStones[i] == STONE_BOMB) schedule.drawNow();
    if (gameTimeRuns && i < board.pendingStoneTimes.size() && board.pendingStoneTimes[i].ms != -1 &&
        clock.gameTime() - board.pendingStoneTimes[i].ms < 1200)
      schedule.drawNow();
  }

  // The dragged ball's target swings on game time.
  const Square t = currentMouseSquare;
  if (gameTimeRuns && t.x != -1 && board.selected.x != -1 && board.stoneAt(board.selected) != SQUARE_EMPTY &&
      board.isInBoard(t))
    schedule.drawNow();

  if (gameState == STATE_INSTRUCTIONS) {
    if (instructionsPage == 1) schedule.changesAt(GameScreens::nextInstructionsAnimationChange(drawnAtMs));
    // The special balls' page shows a turning bomb.
    if (instructionsPage == 3) schedule.drawNow();
  }
}

void GameController::rebuildBoardSnapshot() {
  graphics.drawBoard(board.height < 10, ScreenGeometry::boardScale(board.width));
  if (gameState == STATE_PLAYING) screens.drawMenuButton(menuStripTaps.pressed, board.height < 10);
  for (int y = 0; y < board.height; ++y) {
    for (int x = 0; x < board.width; ++x) {
      const int stone = board.stones[y][x];
      // Bombs turn, so they are drawn every frame instead.
      if (stone != SQUARE_EMPTY && stone != STONE_BOMB && !board.animations[y][x].active && !(Square(x, y) == board.selected))
        graphics.drawStone(stone, x, y, 1.0f, false);
    }
  }
  drawPendingStones(0, 3);
  Texture* snapshot = new Texture(512, 512);
  delete boardSnapshot;
  boardSnapshot = snapshot;
  boardImageShows = boardImageKey();
}

GameController::BoardImageKey GameController::boardImageKey() const {
  return {board.pictureRevision(), gameState == STATE_PLAYING, menuStripTaps.pressed};
}

bool GameController::boardImageIsStale() const {
  return boardSnapshot == nullptr || !(boardImageKey() == boardImageShows);
}

void GameController::forgetBoardImage() {
  graphics.boardSnapshotTexture.reset();
  delete boardSnapshot;
  boardSnapshot = nullptr;
}

void GameController::drawSquareHighlights() {
  const bool skipSelected = !settings.twoTapMoves;
  const bool ballSelected = board.selected.x != -1;
  for (int y = 0; y < board.height; ++y) {
    for (int x = 0; x < board.width; ++x) {
      if (skipSelected && Square(x, y) == board.selected) continue;
      if (ballSelected && board.reachability[y][x].distance == -1 && board.stones[y][x] == SQUARE_EMPTY)
        graphics.drawABitDarkenedSquare(x, y);
      const AnimationInfo& animation = board.animations[y][x];
      const bool moving = animation.active && (animation.kind == ANIM_PATH_TRAIL || animation.kind == ANIM_PATH_PREVIEW ||
                                               animation.kind == ANIM_SELECTED);
      const bool justArrived = (animation.kind == ANIM_MOVE_TARGET || animation.kind == ANIM_MOVE_LANDED) &&
                               clock.nowMs() - static_cast<int>(animation.startTime) < TARGET_FLASH_MS;
      if (moving || justArrived) graphics.drawLightenedSquare(x, y);
    }
  }
}

void GameController::settleAnimations() {
  for (int y = 0; y < board.height; ++y) {
    for (int x = 0; x < board.width; ++x) {
      AnimationInfo& animation = board.animations[y][x];
      // The square under the drag target shows the ghost instead, and waits.
      if (!animation.active || Square(x, y) == currentMouseSquare) continue;
      // A grow that ended leaves its ball to the board image.
      if (AnimationHandler::settle(animation, clock.nowMs(), drawnAtMs, board.stones[y][x], settings.twoTapMoves))
        board.notePictureChange();
    }
  }
}

void GameController::drawAnimatedSquares() {
  for (int y = 0; y < board.height; ++y) {
    for (int x = 0; x < board.width; ++x) {
      const int stone = board.stones[y][x];
      const AnimationInfo& animation = board.animations[y][x];
      if (stone == SQUARE_EMPTY || animation.active) {
        if (animation.active && !(Square(x, y) == currentMouseSquare)) {
          AnimationHandler::draw(graphics, animation, x, y, stone);
        }
      } else if (stone == STONE_BOMB) {
        graphics.drawStone(STONE_BOMB, x, y, 1.0f, false);
      }
    }
  }
}

bool GameController::dragTargetShown() const {
  const Square t = currentMouseSquare;
  return t.x != -1 && board.selected.x != -1 && board.stoneAt(board.selected) != SQUARE_EMPTY && board.isInBoard(t);
}

bool GameController::dragTargetIsBad() const {
  const Square t = currentMouseSquare;
  return !board.reachability[t.y][t.x].onPath && !(t == board.selected);
}

int GameController::dragTargetHoverMs() const {
  const bool hoverGoesOn = hoverStartTime != -1 && currentMouseSquare == hoverSquare;
  return hoverGoesOn ? clock.gameTime() - hoverStartTime : 0;
}

float GameController::dragTargetSize(int elapsed) const {
  if (dragTargetIsBad()) return 0.6f * static_cast<float>((std::sin(elapsed / -155.0 + 270.0) + 1.0) / 13.5 + static_cast<double>(1.55f));
  // Between 1.7 and 1.9, one swing about every 974 ms.
  float size = static_cast<float>((std::sin(elapsed / -155.0 + 270.0) + 1.0) / 10.0 + static_cast<double>(1.7f));
  if (settings.twoTapMoves) {
    float growIn = static_cast<float>(elapsed / 1500.0) + 0.4f;
    if (growIn > 1.0f) growIn = 1.0f;
    size *= growIn;
  }
  return size;
}

void GameController::followDragTarget() {
  if (!dragTargetShown()) {
    hoverStartTime = -1;
    return;
  }
  const Square t = currentMouseSquare;
  const int elapsed = dragTargetHoverMs();
  if (elapsed == 0) hoverStartTime = clock.gameTime();
  hoverSquare = t;
  // A selection animation on the target square starts from the ghost's size and shrinks back.
  board.animations[t.y][t.x].shrinkSize = 2.0f * dragTargetSize(elapsed);
}

void GameController::drawDragTarget() {
  if (!dragTargetShown()) return;
  const Square t = currentMouseSquare;
  const bool bad = dragTargetIsBad();
  const float size = dragTargetSize(dragTargetHoverMs());
  if (bad) graphics.addRedGlow(t.x, t.y, size * 2.7f, false);
  graphics.drawBigTransparentStone(board.stoneAt(board.selected), t.x, t.y, size, !bad);
}

void GameController::drawStateScreen() {
  switch (gameState) {
    case STATE_GAME_MENU:
      screens.drawGameMenu(pressedButton, true);
      break;
    case STATE_HISCORES: {
      MyTl::FixedArray<HiScore>& table = hiScores.tables[tableIndex()];
      hiScoresMenu.drawHighScoresMenu(screens, pressedButton != -1, &table[0]);
      break;
    }
    case STATE_NEW_HISCORE:
      screens.drawNewHiScoreMenu(pressedButton != -1, hiScores.lastName.c_str(), board.score);
      break;
    case STATE_INSTRUCTIONS:
      screens.drawInstructions(pressedButton, instructionsPage);
      break;
    case STATE_SETTINGS:
    case STATE_SETTINGS_CONFIRM:
      settingsMenu.drawSettings(screens, pressedButton != -1);
      break;
    case STATE_GAME_OVER:
      screens.drawGameOver();
      break;
    default:
      break;
  }
}
