// The loop's pass: the time step, pacing and drawing.
#include "GameLoop.h"

#include <cmath>
#include <utility>

#include "GameController.h"

namespace {

// The earlier of two delays, where -1 means none.
int earlierDelay(int a, int b) {
  if (a == -1) return b;
  if (b == -1) return a;
  return a < b ? a : b;
}

}  // namespace

GameLoop::GameLoop(GameController& controller, Hooks loopHooks) : game(controller), hooks(std::move(loopHooks)) {}

int GameLoop::step() {
  // The idle ball may just have ended the game: that pass draws nothing, the next one does.
  if (!game.advanceFrame()) return 0;
  FrameSchedule schedule = game.frameSchedule();
  int viewsDelay = hooks.viewsDelay();
  if (schedule.isFrameDue() || viewsDelay == 0) {
    const double now = hooks.nowMs();
    // Never sooner than the frame rate allows; the loop comes back when it is time.
    if (now < nextFrameAt) return static_cast<int>(std::ceil(nextFrameAt - now));
    hooks.drawAndPresent();
    // Frames keep to a steady grid while something moves, catching up after a short stall;
    // after a rest or a long stall the grid starts afresh.
    if (now - nextFrameAt > 4 * FRAME_PERIOD_MS) nextFrameAt = now;
    nextFrameAt += FRAME_PERIOD_MS;
    schedule = game.frameSchedule();
    viewsDelay = hooks.viewsDelay();
    if (schedule.isFrameDue() || viewsDelay == 0) {
      const double left = nextFrameAt - hooks.nowMs();
      return left > 0.0 ? static_cast<int>(std::ceil(left)) : 0;
    }
  }
  return earlierDelay(schedule.msUntilWake(), viewsDelay);
}
