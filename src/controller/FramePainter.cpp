// One frame of play, drawn from the state it is shown.
#include "FramePainter.h"

#include <memory>

#include "AnimationHandler.h"
#include "BlendMode.h"
#include "DragGhost.h"
#include "ScreenGeometry.h"
#include "SettingsFocus.h"
#include "Texture.h"

void FramePainter::paint() {
  const Board& board = scene.board;
  DrawState& drawState = canvas.drawState;
  BallGraphics& graphics = canvas.graphics;
  if (drawState.boardImageIsStale(boardImageKey(board, scene.flow, scene.menuStrip))) {
    makeBoardImage();
  } else {
    drawState.boardImage()->drawToScreen(0.0f, -32.0f, Scaling(1.0f, -1.0f), BLEND_OPAQUE, false);
  }
  drawPendingBalls(3, -1);
  const float shownFraction = scene.penaltyFraction;
  drawState.showTimerFrame(shownFraction != -1.0f ? BallGraphics::timerFrame(shownFraction) : -1);
  if (shownFraction != -1.0f) graphics.drawTimer(shownFraction, 201, 15);
  graphics.drawNumber(drawState.score().numberToShow(board.score, scene.clock.nowMs()), 10000, 42.5f, 12.5f);
  graphics.drawNumber(drawState.level().numberToShow(board.level, scene.clock.nowMs()), 100, 156.5f, 12.5f);

  drawSquareHighlights();
  drawAnimatedSquares();
  drawDragGhost();
  drawStateScreen();
  drawKeyboardFocus();
  canvas.screens.doneDrawing();
}

DrawState::BoardImageKey FramePainter::boardImageKey(const Board& board, const ScreenFlow& flow,
                                                     const DoubleClickHandler& menuStrip) {
  return {board.pictureRevision(), flow.current() == ScreenFlow::STATE_PLAYING, menuStrip.pressed};
}

void FramePainter::makeBoardImage() {
  const Board& board = scene.board;
  BallGraphics& graphics = canvas.graphics;
  graphics.drawBoard(board.height < 10, ScreenGeometry::boardScale(board.width));
  if (scene.flow.current() == ScreenFlow::STATE_PLAYING)
    canvas.screens.drawMenuButton(scene.menuStrip.pressed, board.height < 10);
  for (int y = 0; y < board.height; ++y) {
    for (int x = 0; x < board.width; ++x) {
      const int stone = board.stones[y][x];
      // Bombs turn, so they are drawn every frame instead.
      if (stone != SQUARE_EMPTY && stone != STONE_BOMB && !board.animations[y][x].active && !(Square(x, y) == board.selected))
        graphics.drawStone(stone, x, y, 1.0f, false);
    }
  }
  drawPendingBalls(0, 3);
  canvas.drawState.keepBoardImage(std::make_unique<Texture>(512, 512), boardImageKey(board, scene.flow, scene.menuStrip));
}

void FramePainter::drawPendingBalls(int first, int cap) {
  const Board& board = scene.board;
  BallGraphics& graphics = canvas.graphics;
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
      float age = static_cast<float>(scene.clock.gameTime() - board.pendingStoneTimes[i].ms);
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

void FramePainter::drawSquareHighlights() {
  const Board& board = scene.board;
  const bool ballSelected = board.selected.x != -1;
  for (int y = 0; y < board.height; ++y) {
    for (int x = 0; x < board.width; ++x) {
      if (Square(x, y) == board.selected) continue;
      if (ballSelected && board.reachability[y][x].distance == -1 && board.stones[y][x] == SQUARE_EMPTY)
        canvas.graphics.drawABitDarkenedSquare(x, y);
      const AnimationInfo& animation = board.animations[y][x];
      const bool moving = animation.active && (animation.kind == ANIM_PATH_TRAIL || animation.kind == ANIM_PATH_PREVIEW ||
                                               animation.kind == ANIM_SELECTED);
      const bool justArrived = (animation.kind == ANIM_MOVE_TARGET || animation.kind == ANIM_MOVE_LANDED) &&
                               scene.clock.nowMs() - static_cast<int>(animation.startTime) < TARGET_FLASH_MS;
      if (moving || justArrived) canvas.graphics.drawLightenedSquare(x, y);
    }
  }
}

void FramePainter::drawAnimatedSquares() {
  const Board& board = scene.board;
  const bool ghostShown = DragGhost(board, scene.gesture, scene.clock.gameTime()).shown();
  for (int y = 0; y < board.height; ++y) {
    for (int x = 0; x < board.width; ++x) {
      const int stone = board.stones[y][x];
      const AnimationInfo& animation = board.animations[y][x];
      if (stone == SQUARE_EMPTY || animation.active) {
        // The square under the ghost shows the ghost instead.
        if (animation.active && !(ghostShown && Square(x, y) == scene.gesture.target()))
          AnimationHandler::draw(canvas.graphics, animation, x, y, stone);
      } else if (stone == STONE_BOMB) {
        canvas.graphics.drawStone(STONE_BOMB, x, y, 1.0f, false);
      }
    }
  }
}

void FramePainter::drawDragGhost() {
  const DragGhost ghost(scene.board, scene.gesture, scene.clock.gameTime());
  if (!ghost.shown()) return;
  const int colour = scene.board.stoneAt(scene.board.selected);
  // The lifted ball first, at its own size: the destination drawn after it always shows.
  const float square = ScreenGeometry::squareSize(scene.board.width);
  const ScreenPoint centre = ghost.liftedBallCentre();
  canvas.graphics.drawStoneAtCoords(colour, ScreenPoint(centre.x - square / 2.0f, centre.y - square / 2.0f), 1.0f, false,
                                    false, true, true);
  const Square t = ghost.square();
  const bool bad = ghost.isBad();
  const float size = ghost.size(ghost.hoverMs());
  if (bad) canvas.graphics.addRedGlow(t.x, t.y, size * 2.7f, false);
  canvas.graphics.drawBigTransparentStone(colour, t.x, t.y, size, !bad);
}

void FramePainter::drawStateScreen() {
  const ScreenFlow& flow = scene.flow;
  GameScreens& screens = canvas.screens;
  switch (flow.current()) {
    case ScreenFlow::STATE_GAME_MENU:
      screens.drawGameMenu(flow.pressedButton(), true);
      break;
    case ScreenFlow::STATE_HISCORES:
      canvas.hiScoresMenu.drawHighScoresMenu(screens, flow.pressedButton() != -1,
                                             &scene.hiScores.table(scene.tableIndex)[0]);
      break;
    case ScreenFlow::STATE_NEW_HISCORE:
      screens.drawNewHiScoreMenu(flow.pressedButton() != -1, scene.board.score);
      break;
    case ScreenFlow::STATE_INSTRUCTIONS:
      screens.drawInstructions(flow.pressedButton(), flow.instructionsPage());
      break;
    case ScreenFlow::STATE_SETTINGS:
    case ScreenFlow::STATE_SETTINGS_CONFIRM:
      canvas.settingsMenu.drawSettings(screens, flow.pressedButton() != -1);
      break;
    case ScreenFlow::STATE_GAME_OVER:
      screens.drawGameOver();
      break;
    default:
      break;
  }
}

void FramePainter::drawKeyboardFocus() {
  const ScreenFlow& flow = scene.flow;
  const int focus = flow.settingsFocus();
  if (flow.current() == ScreenFlow::STATE_PLAYING && canvas.cursor.visible) {
    canvas.cursor.drawOnBoard(ScreenGeometry::boardScale(scene.board.width));
  } else if (flow.current() == ScreenFlow::STATE_SETTINGS && focus >= 0 && focus < FOCUS_DONE) {
    const FocusFrame frame = settingsFocusFrame(static_cast<SettingsFocus>(focus));
    canvas.cursor.drawAround(frame.x, frame.y, frame.width, frame.height);
  } else if (flow.current() == ScreenFlow::STATE_HISCORES && flow.scoresViewFocused()) {
    using namespace ScreenGeometry;
    canvas.cursor.drawAround(static_cast<float>(LOCAL_GLOBAL_LEFT - 4), static_cast<float>(LOCAL_GLOBAL_TOP - 4),
                             static_cast<float>(LOCAL_GLOBAL_WIDTH + 8), static_cast<float>(LOCAL_GLOBAL_HEIGHT + 8));
  }
}
