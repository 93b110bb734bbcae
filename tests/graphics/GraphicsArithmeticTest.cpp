// The arithmetic of the renderer that needs no GL: glow bitmaps, digit splitting, the bomb's
// rotation, timer frames and the sizes of the animations over time.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "AnimationHandler.h"
#include "BallGraphics.h"
#include "Stone.h"

namespace {

unsigned alphaAt(const Bitmap& b, int x, int y) { return b.getPixel(x, y) >> 24; }

unsigned maxAlpha(const Bitmap& b) {
  unsigned most = 0;
  for (int y = 0; y < b.h; ++y)
    for (int x = 0; x < b.w; ++x) most = std::max(most, alphaAt(b, x, y));
  return most;
}

TEST(GlowTest, WhiteGlowHasFlatCoreAndLinearFallOff) {
  std::unique_ptr<Bitmap> glow(BallGraphics::generateGlow(false, true, 64, 0, 0, 0, false, false, 92.0f, 255));
  ASSERT_EQ(glow->w, 128);
  ASSERT_EQ(glow->h, 128);
  EXPECT_EQ(glow->getPixel(64, 64), 0x37FFFFFFu);  // white, alpha 55
  EXPECT_EQ(alphaAt(*glow, 64 + 24, 64), 55u);     // still in the flat core
  EXPECT_EQ(alphaAt(*glow, 64 + 40, 64), 39u);     // 55 x (4096 - 1600) / 3481, truncated
  EXPECT_EQ(alphaAt(*glow, 0, 64), 0u);            // 64 from the centre
  EXPECT_EQ(alphaAt(*glow, 10, 10), 0u);
  std::unique_ptr<Bitmap> soft(BallGraphics::generateGlow(true, true, 64, 0, 0, 0, false, false, 92.0f, 255));
  EXPECT_EQ(alphaAt(*soft, 64, 64), 35u);
}

TEST(GlowTest, CubicGlowsStayUnderTheirCaps) {
  struct Case {
    bool soft;
    bool white;
    float gain;
    int cap;
    unsigned expectedMax;
    uint32_t colour;
  };
  const Case cases[] = {
      {true, true, 40.0f, 13, 13, 0xFFFFFF},   // very soft white glow
      {false, false, 255.0f, 112, 168, 0xFF},  // strong red: 1.5 x 112
      {true, false, 192.0f, 112, 112, 0xFF},   // red glow
  };
  for (const Case& c : cases) {
    std::unique_ptr<Bitmap> glow(BallGraphics::generateGlow(c.soft, c.white, 64, 0, 0, 0, false, true, c.gain, c.cap));
    EXPECT_EQ(maxAlpha(*glow), c.expectedMax) << c.gain;
    EXPECT_EQ(glow->getPixel(64, 64) & 0xFFFFFF, c.colour) << c.gain;
    EXPECT_EQ(alphaAt(*glow, 64, 0), 0u);
  }
}

TEST(GlowTest, FrameGlowIsARoundedRectangleInItsPowerOfTwoBuffer) {
  std::unique_ptr<Bitmap> frame(BallGraphics::generateGlow(false, true, 24, 166, 28, 16, false, true, 92.0f, 255));
  EXPECT_EQ(frame->w, 256);
  EXPECT_EQ(frame->h, 64);
  // 198 x 60: the middle of the long side is at full strength, beyond 198 columns nothing.
  EXPECT_EQ(alphaAt(*frame, 99, 30), 92u);
  EXPECT_EQ(alphaAt(*frame, 198, 30), 0u);
  EXPECT_EQ(alphaAt(*frame, 0, 0), 0u);
}

TEST(GetPosesTest, SplitsIntoTheDivisorsDecimalPlaces) {
  struct Case {
    int divisor;
    int value;
    std::vector<int> digits;
  };
  const Case cases[] = {
      {100, 7, {0, 7}},          {100, -5, {0, 0}},         {10000, 12345, {0, 3, 4, 5}},
      {10000, 907, {0, 9, 0, 7}}, {100, 99, {9, 9}},         {1, 5, {}},
  };
  for (const Case& c : cases) {
    int digits[10] = {};
    const int count = BallGraphics::getPoses(digits, c.divisor, c.value);
    ASSERT_EQ(count, static_cast<int>(c.digits.size())) << c.value;
    for (int i = 0; i < count; ++i) EXPECT_EQ(digits[i], c.digits[static_cast<size_t>(i)]) << c.value << " at " << i;
  }
}

TEST(RotationTest, OnlyTheBombTurnsOnceEverySixSeconds) {
  EXPECT_EQ(BallGraphics::getRotation(STONE_BOMB, 1500), 90);
  EXPECT_EQ(BallGraphics::getRotation(STONE_RAINBOW, 1500), 0);
  EXPECT_EQ(BallGraphics::getRotation(STONE_BLUE, 1500), 0);
  EXPECT_EQ(BallGraphics::getRotation(STONE_BOMB, 6500), 30);
}

TEST(TimerFrameTest, FractionPicksOneOfElevenFrames) {
  const std::pair<float, int> cases[] = {{1.0f, 10}, {-0.2f, 0}, {0.5f, 5}, {0.0f, 0},
                                         {0.0909f, 0}, {0.091f, 1}, {0.95f, 10}, {7.0f, 10},
                                         {std::nanf(""), 0}};
  for (const auto& c : cases) EXPECT_EQ(BallGraphics::timerFrame(c.first), c.second) << c.first;
}

TEST(AnimationSizeTest, AppearGrowsHoldsAndSettles) {
  const std::pair<double, float> cases[] = {{0.0, 0.0f},     {175.5, 0.525f}, {351.0, 1.05f},
                                            {455.0, 1.05f},  {533.0, 1.025f}, {611.0, 1.0f}, {5000.0, 1.0f}};
  for (const auto& c : cases) {
    bool finished = false;
    EXPECT_NEAR(AnimationHandler::growSize(c.first, STONE_RED, &finished), c.second, 1e-4) << c.first;
    EXPECT_EQ(finished, c.first >= 611.0) << c.first;
  }
}

TEST(AnimationSizeTest, RemovalRunsBackwardsToNothingAt1880) {
  const std::pair<double, float> cases[] = {{0.0, 1.0f}, {480.0, 1.05f}, {600.0, 1.05f}, {1340.0, 0.525f}, {1880.0, 0.0f}};
  for (const auto& c : cases) {
    bool finished = false;
    EXPECT_NEAR(AnimationHandler::growSize(c.first, SQUARE_EMPTY, &finished), c.second, 1e-4) << c.first;
    EXPECT_EQ(finished, c.first >= 1880.0) << c.first;
  }
}

TEST(AnimationSizeTest, PulseBreathesBetweenItsBounds) {
  float low = 10.0f;
  float high = 0.0f;
  for (int g = 0; g < 2000; g += 7) {
    const float s = AnimationHandler::pulseSize(g);
    low = std::min(low, s);
    high = std::max(high, s);
  }
  EXPECT_NEAR(low, 0.52f, 0.002f);
  EXPECT_NEAR(high, 0.6533f, 0.002f);
}

TEST(AnimationSizeTest, SelectionBouncesFromItsPhase) {
  EXPECT_NEAR(AnimationHandler::selectionSize(0.0), (std::sin(270.0) + 1.0) / 5.0 + 0.7, 1e-6);
  EXPECT_NEAR(AnimationHandler::selectionSize(0.0), 0.865, 0.001);
  // Period 2 pi x 155 ms, about 974 ms.
  EXPECT_NEAR(AnimationHandler::selectionSize(2 * M_PI * 155.0), AnimationHandler::selectionSize(0.0), 1e-5);
}

}  // namespace
