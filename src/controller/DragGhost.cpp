// The held ball's ghost: where it shows and how large it swings.
#include "DragGhost.h"

#include <algorithm>
#include <cmath>

#include "ScreenGeometry.h"

namespace {

// The lifted ball's centre sits this many squares above and left of the pointer's tip.
const float LIFTED_BALL_LEAD = 0.3f;

}  // namespace

bool DragGhost::shown() const {
  const Square t = gesture.target();
  return gesture.dragged() && t.x != -1 && board.selected.x != -1 && board.stoneAt(board.selected) != SQUARE_EMPTY && board.isInBoard(t);
}

bool DragGhost::isBad() const {
  const Square t = gesture.target();
  return !board.reachability[t.y][t.x].onPath && !(t == board.selected);
}

float DragGhost::size(int elapsed) const {
  // One swing about every 974 ms.
  const double swing = (std::sin(elapsed / -155.0 + 270.0) + 1.0) / 2.0;
  if (isBad()) return static_cast<float>(0.44 + 0.02 * swing);
  return static_cast<float>(0.46 + 0.04 * swing);
}

ScreenPoint DragGhost::liftedBallCentre() const {
  const float square = ScreenGeometry::squareSize(board.width);
  const float left = ScreenGeometry::BOARD_LEFT;
  const float top = ScreenGeometry::BOARD_TOP;
  const float x = std::clamp(gesture.pointerAtX() - LIFTED_BALL_LEAD * square, left + square / 2.0f,
                             left + static_cast<float>(board.width) * square - square / 2.0f);
  const float y = std::clamp(gesture.pointerAtY() - LIFTED_BALL_LEAD * square, top + square / 2.0f,
                             top + static_cast<float>(board.height) * square - square / 2.0f);
  return ScreenPoint(x, y);
}
