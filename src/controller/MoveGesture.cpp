// The pointer's move in progress: its squares, the swipe and slide-off timing, and the hover.
#include "MoveGesture.h"

#include <cstdlib>

namespace {

// A release this soon after the pointer reached its square was not aimed there.
const int QUICK_SWIPE_MS = 175;
// A neighbouring square left no longer ago than this is where the release was aimed.
const int SLID_OFF_TARGET_MS = 325;

}  // namespace

void MoveGesture::restart(int nowMs) {
  currentSinceMs = previousSinceMs = nowMs;
  hoverStartMs = -1;
  current = previous = Square();
  firstTapAwaited = true;
}

void MoveGesture::pointTo(Square square, int nowMs) {
  if (square == current) return;
  previous = current;
  previousSinceMs = currentSinceMs;
  currentSinceMs = nowMs;
  current = square;
}

bool MoveGesture::arrivedJustBefore(int nowMs) const {
  return currentSinceMs != -1 && nowMs - currentSinceMs < QUICK_SWIPE_MS;
}

bool MoveGesture::slidOffNeighbour(int nowMs) const {
  return previous.x != -1 && nowMs - previousSinceMs <= SLID_OFF_TARGET_MS && std::abs(previous.x - current.x) <= 1 &&
         std::abs(previous.y - current.y) <= 1;
}

int MoveGesture::hoverMs(int nowMs) const {
  const bool hoverGoesOn = hoverStartMs != -1 && current == hoverSquare;
  return hoverGoesOn ? nowMs - hoverStartMs : 0;
}

void MoveGesture::followHover(bool ghostShown, int nowMs) {
  if (!ghostShown) {
    hoverStartMs = -1;
    return;
  }
  if (hoverMs(nowMs) == 0) hoverStartMs = nowMs;
  hoverSquare = current;
}
