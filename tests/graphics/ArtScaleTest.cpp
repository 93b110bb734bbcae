// The art scales: which image set a display scale uses, images loaded from "name@2x.png" with
// their logical sizes kept (and the 1x file when the scaled one is missing), generated glows and
// text of the same logical size with finer pixels. No GL needed.
#include <gtest/gtest.h>

#include <memory>

#include "BallGraphics.h"
#include "Bitmap.h"
#include "DisplayScale.h"
#include "Resources.h"
#include "TestImageFiles.h"

namespace {

class ArtScaleTest : public ::testing::Test {
 protected:
  void SetUp() override { Resources::setDirectory(files.folder()); }
  void TearDown() override { DisplayScale::reset(); }
  TestImageFiles files;
};

TEST_F(ArtScaleTest, TheSetAtOrJustAboveTheScaleIsUsed) {
  struct Case {
    float pixelsPerUnit;
    bool nonPowerOfTwo;
    int artScale;
  } cases[] = {
      {0.5f, true, 1},  {1.0f, true, 1},  {1.004f, true, 1},  // rounding of the frame size
      {1.2f, true, 2},  {1.5f, true, 2},  {2.0f, true, 2},   {2.5f, true, 3},
      {3.0f, true, 3},  {3.0f, false, 4}, {4.0f, true, 4},   {6.0f, true, 4},
      {0.0f, true, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.artScale, DisplayScale::artScaleFor(c.pixelsPerUnit, c.nonPowerOfTwo)) << c.pixelsPerUnit;
  }
}

TEST_F(ArtScaleTest, EveryChangeOfResolutionIsANewGeneration) {
  DisplayScale::reset();
  const int start = DisplayScale::generation();
  DisplayScale::set(320, 480, 1);
  EXPECT_EQ(start, DisplayScale::generation()) << "nothing changed";
  DisplayScale::set(480, 720, 2);
  EXPECT_EQ(start + 1, DisplayScale::generation());
  EXPECT_FLOAT_EQ(1.5f, DisplayScale::pixelsPerUnitX());
  EXPECT_FLOAT_EQ(1.5f, DisplayScale::pixelsPerUnitY());
  DisplayScale::set(481, 720, 2);
  EXPECT_EQ(start + 2, DisplayScale::generation());
  DisplayScale::set(481, 720, 9);
  EXPECT_EQ(4, DisplayScale::artScale()) << "clamped to the largest set";
}

TEST_F(ArtScaleTest, AScaledImageKeepsItsLogicalSizeWithFinerPixels) {
  // The 2x file of a 224 x 24 strip: 448 x 48 pixels; a marker pixel at logical (100, 10).
  files.writeRgba("Strip_224x24.png", 224, 24, [](int, int) { return 0xFF000000u; });
  files.writeRgba("Strip_224x24@2x.png", 448, 48,
                  [](int x, int y) { return x / 2 == 100 && y / 2 == 10 ? 0xFFFF0000u : 0xFF0000FFu; });
  DisplayScale::set(640, 960, 2);
  int w = 0, h = 0;
  Bitmap bitmap("Strip_224x24.png", &w, &h, 1.0f);
  EXPECT_EQ(224, w);
  EXPECT_EQ(24, h);
  EXPECT_EQ(2, bitmap.scale);
  EXPECT_EQ(512, bitmap.w) << "the logical power-of-two buffer, 256, at twice the pixels";
  EXPECT_EQ(64, bitmap.h);
  EXPECT_EQ(0xFF0000FFu, bitmap.getPixel(201, 21)) << "the marker, red";
  EXPECT_EQ(0u, bitmap.getPixel(448, 0)) << "right of the image stays transparent";
  // The ten-row exception holds in logical rows: 203 x 10 at 3x gets 256 x 32 units.
  files.writeRgba("Bar_203x10@3x.png", 609, 30, [](int, int) { return 0xFF00FF00u; });
  DisplayScale::set(960, 1440, 3);
  Bitmap bar("Bar_203x10.png", &w, &h, 1.0f);
  EXPECT_EQ(203, w);
  EXPECT_EQ(10, h);
  EXPECT_EQ(768, bar.w);
  EXPECT_EQ(96, bar.h);
}

TEST_F(ArtScaleTest, AMissingScaledImageFallsBackToTheNextSetDown) {
  files.writeRgba("Only_4x4.png", 4, 4, [](int, int) { return 0xFF102030u; });
  files.writeRgba("Only_4x4@2x.png", 8, 8, [](int, int) { return 0xFF102030u; });
  DisplayScale::set(1280, 1920, 4);
  int w = 0, h = 0;
  Bitmap bitmap("Only_4x4.png", &w, &h, 1.0f);
  EXPECT_EQ(2, bitmap.scale);
  EXPECT_EQ(8, bitmap.w);
  EXPECT_EQ(4, w);
  // Shrinking and copying keep the pixels-per-unit scale.
  std::unique_ptr<Bitmap> half(bitmap.scaleDownAccurately(2));
  EXPECT_EQ(2, half->scale);
  EXPECT_EQ(4, half->w);
  std::unique_ptr<Bitmap> copy(bitmap.clone());
  EXPECT_EQ(2, copy->scale);
}

TEST_F(ArtScaleTest, AScaledGlowHasTheSameProfileAtFinerPixels) {
  // The white glow at 2x: radius 128 pixels, flat core to 2 x 24.8 pixels, alpha 55 in the
  // middle, the 1x value at twice the distance.
  std::unique_ptr<Bitmap> small(BallGraphics::generateGlow(false, true, 64, 0, 0, 0, false, false, 92.0f, 255));
  std::unique_ptr<Bitmap> large(BallGraphics::generateGlow(false, true, 128, 0, 0, 0, false, false, 92.0f, 255, 2));
  ASSERT_EQ(256, large->w);
  for (int distance : {0, 20, 30, 40, 50, 60, 63}) {
    const unsigned expected = small->getPixel(64 + distance, 64) >> 24;
    const unsigned actual = large->getPixel(128 + 2 * distance, 128) >> 24;
    EXPECT_NEAR(static_cast<double>(expected), static_cast<double>(actual), 1.0) << "at distance " << distance;
  }
}

}  // namespace
