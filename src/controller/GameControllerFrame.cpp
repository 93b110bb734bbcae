// The frame tick: timed events, the penalty clock, the idle ball and the animations' time step,
// then the frame (the start screen here, every other screen through FramePainter). Also the
// frame schedule: when the picture next needs drawing.
#include "AnimationHandler.h"
#include "DisplayScale.h"
#include "DoubleClickHandler.h"
#include "FrameClip.h"
#include "DragGhost.h"
#include "FramePainter.h"
#include "Lock.h"
#include "ScreenGeometry.h"
#include "Texture.h"
#include "View.h"
#include "GameController.h"

namespace {

const int GAME_ENDING_PAUSE_MS = 2000;

}  // namespace

void GameController::followDisplayScale() {
  drawState.followDisplay(DisplayScale::generation());
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
  if (hiScoresMenu.tellPlayerOfDeliveries(screens)) drawState.owePicture();
  if (flow.current() == STATE_HISCORES && hiScoresMenu.followWorkers(screens)) drawState.owePicture();
  clock.refresh();
  if (flow.current() == STATE_GAME_ENDING && clock.nowMs() - flow.gameEndingSinceMs() > GAME_ENDING_PAUSE_MS)
    handleGameFinish(true, false);
  if (flow.current() == STATE_PLAYING && !dropIdleBall()) return false;
  // A board is never left without a ball.
  if (board.freeSquares.size() == board.width * board.height) board.addBallAtRandomPos();
  dropSelectionOfVanishedBall();
  // A due penalty ball is announced whether or not this tick draws; drawing only shows the clock.
  if (flow.current() != STATE_SPLASH) announceDuePenaltyBall();
  // The path to the target the pointer or the cursor names, as the next frame shows it.
  if (board.selected.x != -1) board.calculateReachability(board.selected, gesture.target());
  if (flow.current() != STATE_SPLASH) followDragTarget();
  // The cursor stays on the board when a new game makes it smaller.
  keyboardCursor.clampTo(board.width, board.height);
  settleAnimations();
  return true;
}

void GameController::drawFrame() {
  MyTl::Lock lock(gameMutex);
  const bool pictureOwed = drawState.owesPicture();
  lastFramePartial = false;
  drawState.beginFrame(clock.nowMs());
  graphics.setMoment(clock.nowMs(), clock.gameTime());
  if (!drawState.drawnForDisplay(DisplayScale::generation())) followDisplayScale();
  if (flow.current() == STATE_SPLASH) {
    partialFrame.forget();
    graphics.setStartBarContinues(savedGameResumes);
    graphics.generateStartScreenArt();
    screens.drawSplashScreen(flow.pressedButton() == 1);
    screens.doneDrawing();
    return;
  }
  completeStartUp();
  graphics.finishStartScreen();
  // Only the animated squares changed since the last frame: the rest of it stays as drawn.
  PartialFrame::Area area;
  if (partialFrame.allowed()) {
    const bool whole = pictureOwed || boardImageIsStale() || picturesMoveOutsideSquares();
    lastFramePartial = partialFrame.plan(stillPictureKey(), animatedArea(), whole, area);
  }
  if (lastFramePartial) {
    lastPartialArea = area;
    FrameClip::limitTo(area.left, area.top, area.right, area.bottom);
  }
  FramePainter({board, flow, gesture, settings, clock, menuStripTaps, hiScores, tableIndex(), penaltyFraction()},
               {drawState, graphics, screens, hiScoresMenu, settingsMenu, keyboardCursor})
      .paint();
  if (lastFramePartial) FrameClip::lift();
}

PartialFrame::StillKey GameController::stillPictureKey() const {
  const DrawState::BoardImageKey image = FramePainter::boardImageKey(board, flow, menuStripTaps);
  const float fraction = penaltyFraction();
  PartialFrame::StillKey key = {
      flow.current(), flow.pressedButton(), flow.settingsFocus(), flow.scoresViewFocused(),
      image.boardRevision, image.stripShown, image.stripPressed,
      board.score, board.level, drawState.numbersShow(board.score, board.level),
      fraction != -1.0f ? BallGraphics::timerFrame(fraction) : -1,
      keyboardCursor.visible, keyboardCursor.square().x, keyboardCursor.square().y,
      board.selected.x, board.selected.y, gesture.target().x, gesture.target().y,
      DisplayScale::generation(), DisplayScale::framePixelWidth(), DisplayScale::framePixelHeight(),
      board.pendingStones.size()};
  for (int i = 0; i < board.pendingStones.size(); ++i) key.push_back(board.pendingStones[i]);
  return key;
}

PartialFrame::Area GameController::animatedArea() const {
  // A square's animation draws within a square's pitch around it (the largest ball, glows).
  const float scale = ScreenGeometry::boardScale(board.width);
  const float pitch = ScreenGeometry::squareSize(board.width);
  PartialFrame::Area area;
  for (int y = 0; y < board.height; ++y) {
    for (int x = 0; x < board.width; ++x) {
      const AnimationInfo& animation = board.animations[y][x];
      const bool lit = (animation.kind == ANIM_MOVE_TARGET || animation.kind == ANIM_MOVE_LANDED) &&
                       clock.nowMs() - static_cast<int>(animation.startTime) < FramePainter::TARGET_FLASH_MS;
      const bool moving = animation.active && animation.kind != ANIM_CLEARED;
      if (!moving && !lit && board.stones[y][x] != STONE_BOMB) continue;
      const ScreenPoint corner = BallGraphics::squareCorner(x, y, scale);
      area.include({corner.x - pitch, corner.y - pitch, corner.x + 2.0f * pitch, corner.y + 2.0f * pitch});
    }
  }
  return area;
}

bool GameController::picturesMoveOutsideSquares() const {
  if (flow.current() != STATE_PLAYING) return true;
  // Controls over the frame are drawn whole after it, over whatever it kept.
  if (screens.parent && !screens.parent->subviews().empty()) return true;
  // The held ball's ghost swings with game time.
  if (gesture.target().x != -1) return true;
  // Announced balls beyond the board image's three: turning bombs and fresh glows.
  const int shown = board.pendingStones.size() < 9 ? board.pendingStones.size() : 9;
  for (int i = 3; i < shown; ++i) {
    if (board.pendingStones[i] == STONE_BOMB) return true;
    if (i < board.pendingStoneTimes.size() && board.pendingStoneTimes[i].ms != -1 &&
        clock.gameTime() - board.pendingStoneTimes[i].ms < 1200)
      return true;
  }
  return false;
}

void GameController::tellPlayerOfSaveFailure() {
  std::string folder, reason;
  if (screens.parent && saveFailures.take(folder, reason)) {
    screens.showSaveFailure(folder, reason);
    drawState.owePicture();  // the notice comes up over the screen
  }
}

FrameSchedule GameController::frameSchedule() {
  MyTl::Lock lock(gameMutex);
  FrameSchedule schedule(clock.wallClockSinceStart());
  if (drawState.owesPicture()) schedule.drawNow();
  // Timed board events fire once their time has passed.
  for (int i = 0; i < board.timedEvents.size(); ++i) {
    if (board.timedEvents[i].time != -1) schedule.wakeAt(board.timedEvents[i].time + 1);
  }
  if (flow.current() == STATE_GAME_ENDING) schedule.wakeAt(flow.gameEndingSinceMs() + GAME_ENDING_PAUSE_MS + 1);
  schedulePenaltyClock(schedule);
  schedulePicture(schedule);
  return schedule;
}

void GameController::schedulePicture(FrameSchedule& schedule) const {
  // The start screen is a still picture; everything else shows the board.
  if (flow.current() == STATE_SPLASH) return;
  const bool gameTimeRuns = !clock.isPaused();
  if (boardImageIsStale()) schedule.drawNow();
  // Rolling digits, or numbers not shown yet.
  if (!drawState.numbersShow(board.score, board.level)) schedule.drawNow();

  for (int y = 0; y < board.height; ++y) {
    for (int x = 0; x < board.width; ++x) {
      const AnimationInfo& animation = board.animations[y][x];
      // Every running animation except a cleared square changes the picture frame by frame.
      if (animation.active && animation.kind != ANIM_CLEARED) schedule.drawNow();
      // Bombs turn.
      if (board.stones[y][x] == STONE_BOMB) schedule.drawNow();
      // The square of a move's target or landing stays lit for a moment after its start.
      if ((animation.kind == ANIM_MOVE_TARGET || animation.kind == ANIM_MOVE_LANDED) &&
          drawState.drawnAtMs() - static_cast<int>(animation.startTime) < FramePainter::TARGET_FLASH_MS)
        schedule.changesAt(static_cast<int>(animation.startTime) + FramePainter::TARGET_FLASH_MS);
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
  const Square t = gesture.target();
  if (gameTimeRuns && t.x != -1 && board.selected.x != -1 && board.stoneAt(board.selected) != SQUARE_EMPTY &&
      board.isInBoard(t))
    schedule.drawNow();

  if (flow.current() == STATE_INSTRUCTIONS) {
    if (flow.instructionsPage() == 1) schedule.changesAt(GameScreens::nextInstructionsAnimationChange(drawState.drawnAtMs()));
    // The special balls' page shows a turning bomb.
    if (flow.instructionsPage() == 3) schedule.drawNow();
  }
}

bool GameController::boardImageIsStale() const {
  return drawState.boardImageIsStale(FramePainter::boardImageKey(board, flow, menuStripTaps));
}

void GameController::forgetBoardImage() {
  graphics.boardSnapshotTexture.reset();
  drawState.forgetBoardImage();
}

void GameController::settleAnimations() {
  const bool ghostShown = DragGhost(board, gesture, clock.gameTime()).shown();
  for (int y = 0; y < board.height; ++y) {
    for (int x = 0; x < board.width; ++x) {
      AnimationInfo& animation = board.animations[y][x];
      // The square under the drag target shows the ghost instead, and waits.
      if (!animation.active || (ghostShown && Square(x, y) == gesture.target())) continue;
      // A grow that ended leaves its ball to the board image.
      if (AnimationHandler::settle(animation, clock.nowMs(), drawState.drawnAtMs(), board.stones[y][x]))
        board.notePictureChange();
    }
  }
}

void GameController::followDragTarget() {
  const DragGhost ghost(board, gesture, clock.gameTime());
  const bool shown = ghost.shown();
  const int elapsed = ghost.hoverMs();
  gesture.followHover(shown, clock.gameTime());
  if (!shown) return;
  // A selection animation on the target square starts from the ghost's size and shrinks back.
  const Square t = ghost.square();
  board.animations[t.y][t.x].shrinkSize = 2.0f * ghost.size(elapsed);
}

