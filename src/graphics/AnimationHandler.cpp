// Per-square animation drawing: appear, remove, path trail and preview, selection, move target
// and landing.
#include "AnimationHandler.h"

#include <cmath>

#include "Assert.h"
#include "BallGraphics.h"
#include "Stone.h"

namespace {

int pulse(BallGraphics& graphics, const AnimationInfo& animInfo, int x, int y) {
  graphics.drawVTrans64Stone(animInfo.stone, x, y, AnimationHandler::pulseSize(graphics.momentGameTime()));
  return 0;
}

int selection(BallGraphics& graphics, AnimationInfo& animInfo, int x, int y, double t) {
  const float v = AnimationHandler::selectionSize(t, graphics.twoTapMoves());
  if (v < animInfo.shrinkSize) {
    // The big ghost of the drag target shrinks back onto the ball, 0.01 square per ms.
    const float s2 = animInfo.shrinkSize * 0.8f + static_cast<float>(t) / -100.0f;
    float u = s2;
    if (v > s2) {
      animInfo.shrinkSize = -1.0f;
      u = v;
    }
    graphics.drawBigTransparentStone(animInfo.stone, x, y, u * 0.5f, true);
    return 0;
  }
  graphics.drawStone(animInfo.stone, x, y, v, false);
  return 0;
}

int grow(BallGraphics& graphics, AnimationInfo& animInfo, int x, int y, int stoneNow, double t) {
  bool finished = false;
  const float s = AnimationHandler::growSize(t, stoneNow, &finished);
  if (finished) animInfo.active = false;
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
  return finished ? 1 : 0;
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

float AnimationHandler::selectionSize(double t, bool twoTapMoves) {
  const double phase = twoTapMoves ? 90.0 : 270.0;
  float v = static_cast<float>((std::sin(t / 155.0 + phase) + 1.0) / 5.0 + 0.7);
  if (twoTapMoves) v *= 1.25f;
  return v;
}

int AnimationHandler::handleAnimation(BallGraphics& graphics, AnimationInfo& animInfo, int x, int y, int stoneNow) {
  double timeAnimating = static_cast<double>(graphics.momentMs() - static_cast<int>(animInfo.startTime));
  // Animations start at most a few seconds ahead (a landing after a long path); one further
  // ahead means the clock went back, so it starts now instead of waiting that long.
  if (timeAnimating <= -5000.0) {
    animInfo.startTime = graphics.momentMs();
    timeAnimating = 0.0;
  }
  const double t = timeAnimating;

  switch (animInfo.kind) {
    case ANIM_CLEARED:
      return 0;
    case ANIM_PATH_TRAIL: {
      const int n = animInfo.pathIndex;
      if (t >= 90.0 * n) {
        animInfo.active = false;
      } else if (t >= 90.0 * (n - 1)) {
        MYTL_ASSERT(animInfo.stone != SQUARE_EMPTY, "AnimationHandler");
        graphics.drawStone(animInfo.stone, x, y, 0.76666665f, true);
      } else {
        pulse(graphics, animInfo, x, y);
      }
      return 0;
    }
    case ANIM_PATH_PREVIEW:
      return pulse(graphics, animInfo, x, y);
    case ANIM_MOVE_TARGET:
      if (t < 200.0) {
        if (t >= 0.0) graphics.addSoftGlow(x, y, 0.6f);
        return pulse(graphics, animInfo, x, y);
      }
      return grow(graphics, animInfo, x, y, stoneNow, t);
    case ANIM_MOVE_LANDED:
      if (t < 0.0) return pulse(graphics, animInfo, x, y);
      return grow(graphics, animInfo, x, y, stoneNow, t);
    case ANIM_SELECTED:
      return selection(graphics, animInfo, x, y, t);
    case ANIM_REMOVE:
      if (t < 0.0) {
        graphics.drawStone(animInfo.stone, x, y, 1.0f, false);
        return 0;
      }
      return grow(graphics, animInfo, x, y, stoneNow, t);
    default:
      return grow(graphics, animInfo, x, y, stoneNow, t);
  }
}
