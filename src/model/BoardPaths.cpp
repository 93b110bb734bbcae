// Reachability: one breadth-first search from the selected ball over the whole board, and the
// marking of the shortest path to a hovered target.
#include "Board.h"
#include "GameClock.h"

void Board::calculateReachabilities() {
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) reachability[y][x] = ReachabilityInfo();
  }
  if (!isInBoard(selected)) return;

  searchQueue.clear();
  searchQueueHead = 0;
  searchQueue.append(Stone(selected.x, selected.y, 0));
  reachability[selected.y][selected.x].distance = 0;
  reachability[selected.y][selected.x].direction = ReachabilityInfo::DIR_NONE;

  // First-in first-out expansion with neighbours tried left, right, up, down fixes which of
  // several shortest paths is recorded.
  while (searchQueueHead < searchQueue.size()) {
    const Stone record = searchQueue[searchQueueHead++];
    const int next = record.colour + 1;
    trySquare(record.x - 1, record.y, next, ReachabilityInfo::DIR_RIGHT);
    trySquare(record.x + 1, record.y, next, ReachabilityInfo::DIR_LEFT);
    trySquare(record.x, record.y - 1, next, ReachabilityInfo::DIR_DOWN);
    trySquare(record.x, record.y + 1, next, ReachabilityInfo::DIR_UP);
  }
}

void Board::trySquare(int x, int y, int distance, ReachabilityInfo::Direction direction) {
  if (!isInBoard(Square(x, y))) return;
  ReachabilityInfo& info = reachability[y][x];
  if (info.distance != -1) return;
  info.distance = distance;
  info.direction = direction;
  // Occupied squares get a distance (they border the reached region) but are never expanded.
  if (stones[y][x] == SQUARE_EMPTY) searchQueue.append(Stone(x, y, distance));
}

void Board::navigatePath(ReachabilityInfo::Direction direction, Square& s) {
  switch (direction) {
    case ReachabilityInfo::DIR_LEFT: --s.x; break;
    case ReachabilityInfo::DIR_RIGHT: ++s.x; break;
    case ReachabilityInfo::DIR_UP: --s.y; break;
    case ReachabilityInfo::DIR_DOWN: ++s.y; break;
    default: break;
  }
}

void Board::calculateReachability(const Square& from, const Square& to) {
  const double now = clock.nowMs();
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      reachability[y][x].onPath = false;
      AnimationInfo& animation = animations[y][x];
      if (animation.kind == ANIM_PATH_PREVIEW) animation.kind = ANIM_CLEARED;
      // The selected ball keeps bouncing; a selection left on any other square is stopped.
      if (animation.kind == ANIM_SELECTED && !(Square(x, y) == selected)) {
        if (animation.active) notePictureChange();
        animation.active = false;
        animation.startTime = now;
      }
    }
  }
  if (!isInBoard(to) || stones[to.y][to.x] != SQUARE_EMPTY) return;
  if (reachability[to.y][to.x].distance == -1) return;

  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (animations[y][x].kind == ANIM_CLEARED) animations[y][x].active = false;
    }
  }
  if (to == from || !isInBoard(from)) return;

  const int movingStone = stones[from.y][from.x];
  Square t = to;
  // The walk ends at the search origin, whose direction is DIR_NONE, even if `from` is not it.
  while (t != from && reachability[t.y][t.x].distance != -1 &&
         reachability[t.y][t.x].direction != ReachabilityInfo::DIR_NONE) {
    ReachabilityInfo& info = reachability[t.y][t.x];
    info.onPath = true;
    AnimationInfo& animation = animations[t.y][t.x];
    if (!animation.active) {
      animation.active = true;
      animation.kind = ANIM_PATH_PREVIEW;
      animation.stone = movingStone;
    }
    navigatePath(info.direction, t);
  }
}
