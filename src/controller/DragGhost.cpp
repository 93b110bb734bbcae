// The held ball's ghost: where it shows and how large it swings.
#include "DragGhost.h"

#include <cmath>

bool DragGhost::shown() const {
  const Square t = gesture.target();
  return t.x != -1 && board.selected.x != -1 && board.stoneAt(board.selected) != SQUARE_EMPTY && board.isInBoard(t);
}

bool DragGhost::isBad() const {
  const Square t = gesture.target();
  return !board.reachability[t.y][t.x].onPath && !(t == board.selected);
}

float DragGhost::size(int elapsed) const {
  if (isBad()) return 0.6f * static_cast<float>((std::sin(elapsed / -155.0 + 270.0) + 1.0) / 13.5 + static_cast<double>(1.55f));
  // Between 1.7 and 1.9, one swing about every 974 ms.
  float size = static_cast<float>((std::sin(elapsed / -155.0 + 270.0) + 1.0) / 10.0 + static_cast<double>(1.7f));
  if (twoTapMoves) {
    float growIn = static_cast<float>(elapsed / 1500.0) + 0.4f;
    if (growIn > 1.0f) growIn = 1.0f;
    size *= growIn;
  }
  return size;
}
