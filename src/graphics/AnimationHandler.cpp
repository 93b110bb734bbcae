// Per-square animation drawing: appear, remove, path trail and preview, selection, move target
// and landing.
#include "AnimationHandler.h"

#include <cmath>

#include "Assert.h"
#include "BallGraphics.h"
#include "Stone.h"

namespace {

// Animations start at most a few seconds ahead (a landing after a long path); one further ahead
// means the clock went back.
const double FURTHEST_START_AHEAD_MS = 5000.0;

double msSinceStart(const AnimationInfo& animInfo, int momentMs) {
  const double t = static_cast<double>(momentMs - static_cast<int>(animInfo.startTime));
  return t <= -FURTHEST_START_AHEAD_MS ? 0.0 : t;
}

bool isGrow(const AnimationInfo& animInfo, double t) {
  switch (animInfo.kind) {
    case ANIM_CLEARED:
    case ANIM_PATH_TRAIL:
    case ANIM_PATH_PREVIEW:
    case ANIM_SELECTED:
      return false;
    case ANIM_MOVE_TARGET:
      return t >= 200.0;
    case ANIM_MOVE_LANDED:
    case ANIM_REMOVE:
      return t >= 0.0;
    default:
      return true;
  }
}

// The ghost of a drag target left on a selected ball: 0.01 square per ms smaller than it began.
float shrinkingGhostSize(const AnimationInfo& animInfo, double t) {
  return animInfo.shrinkSize * 0.8f + static_cast<float>(t) / -100.0f;
}

void pulse(BallGraphics& graphics, const AnimationInfo& animInfo, int x, int y) {
  graphics.drawVTrans64Stone(animInfo.stone, x, y, AnimationHandler::pulseSize(graphics.momentGameTime()));
}

void selection(BallGraphics& graphics, const AnimationInfo& animInfo, int x, int y, double t) {
  const float v = AnimationHandler::selectionSize(t);
  if (v < animInfo.shrinkSize) {
    // The big ghost shrinks back onto the ball until the bounce overtakes it.
    const float ghost = shrinkingGhostSize(animInfo, t);
    graphics.drawBigTransparentStone(animInfo.stone, x, y, (v > ghost ? v : ghost) * 0.5f, true);
    return;
  }
  graphics.drawStone(animInfo.stone, x, y, v, false);
}

void grow(BallGraphics& graphics, const AnimationInfo& animInfo, int x, int y, int stoneNow, double t) {
  const float s = AnimationHandler::growSize(t, stoneNow, nullptr);
  const bool whiteGlow = animInfo.kind == ANIM_REMOVE || animInfo.kind == ANIM_MOVE_LANDED;
  const float softGlow = 0.6f * s * (0.9f * s + 0.3f);
  if (whiteGlow) {
    graphics.addGlow(x, y, 0.85f * s * s * s);
  } else {
    graphics.addSoftGlow(x, y, softGlow);
  }
  graphics.drawStone(animInfo.stone, x, y, s, false);
  if (whiteGlow) {
    graphics.addGlow(x, y, 0.9f * s * s);
  } else {
    graphics.addSoftGlow(x, y, softGlow);
  }
}

}  // namespace

float AnimationHandler::growSize(double t, int stoneNow, bool* finished) {
  // A stone arriving comes in quickly; one leaving an emptied square goes slowly.
  const float k = stoneNow != 0 ? 1.3f : 4.0f;
  const float t1 = 270.0f * k;
  const float t2 = 120.0f * k;
  const float t3 = t1 + 80.0f * k;
  const float total = t2 + t3;
  float tf = static_cast<float>(t);
  const bool over = t >= total;
  if (over) tf = total;
  if (finished != nullptr) *finished = over;
  if (stoneNow == 0) tf = total - tf;
  float s;
  if (tf < t1) {
    s = 1.05f * tf / t1;
  } else if (tf < t3) {
    s = 1.05f;
  } else {
    s = 1.05f - (tf - t3) / t2 * 0.05f;
  }
  return s < 0.0f ? 0.0f : s;
}

float AnimationHandler::pulseSize(int gameTime) {
  const float angle = static_cast<float>(gameTime) / 155.0f + 270.0f;
  return static_cast<float>((std::sin(static_cast<double>(angle)) + 1.0) / 15.0 + 0.52);
}

float AnimationHandler::selectionSize(double t) {
  return static_cast<float>((std::sin(t / 155.0 + 270.0) + 1.0) / 5.0 + 0.7);
}

bool AnimationHandler::settle(AnimationInfo& animInfo, int nowMs, int lastDrawnMs, int stoneNow) {
  if (!animInfo.active) return false;
  if (static_cast<double>(nowMs) - animInfo.startTime <= -FURTHEST_START_AHEAD_MS) animInfo.startTime = nowMs;
  const double drawnT = msSinceStart(animInfo, lastDrawnMs);
  // A trail's square was last drawn lit and empty: the ball has passed.
  if (animInfo.kind == ANIM_PATH_TRAIL) {
    if (drawnT >= 90.0 * animInfo.pathIndex) animInfo.active = false;
    return false;
  }
  if (animInfo.kind == ANIM_SELECTED) {
    const float v = selectionSize(drawnT);
    if (v < animInfo.shrinkSize && v > shrinkingGhostSize(animInfo, drawnT)) animInfo.shrinkSize = -1.0f;
    return false;
  }
  if (!isGrow(animInfo, drawnT)) return false;
  bool finished = false;
  growSize(drawnT, stoneNow, &finished);
  if (finished) animInfo.active = false;
  return finished;
}

void AnimationHandler::draw(BallGraphics& graphics, const AnimationInfo& animInfo, int x, int y, int stoneNow) {
  const double t = msSinceStart(animInfo, graphics.momentMs());
  switch (animInfo.kind) {
    case ANIM_CLEARED:
      return;
    case ANIM_PATH_TRAIL: {
      const int n = animInfo.pathIndex;
      if (t >= 90.0 * n) return;
      if (t >= 90.0 * (n - 1)) {
        MYTL_ASSERT(animInfo.stone != SQUARE_EMPTY, "AnimationHandler");
        graphics.drawStone(animInfo.stone, x, y, 0.76666665f, true);
      } else {
        pulse(graphics, animInfo, x, y);
      }
      return;
    }
    case ANIM_PATH_PREVIEW:
      pulse(graphics, animInfo, x, y);
      return;
    case ANIM_SELECTED:
      selection(graphics, animInfo, x, y, t);
      return;
    default:
      break;
  }
  if (isGrow(animInfo, t)) {
    grow(graphics, animInfo, x, y, stoneNow, t);
  } else if (animInfo.kind == ANIM_REMOVE) {
    graphics.drawStone(animInfo.stone, x, y, 1.0f, false);
  } else {
    if (animInfo.kind == ANIM_MOVE_TARGET && t >= 0.0) graphics.addSoftGlow(x, y, 0.6f);
    pulse(graphics, animInfo, x, y);
  }
}
