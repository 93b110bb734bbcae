// Bitmap and MonoBitmap: loading image files into power-of-two buffers, pixel packing, the
// reductions and fades of the ball generation, and the contract checks.
#include <gtest/gtest.h>

#include "Bitmap.h"
#include "MonoBitmap.h"
#include "PowerOfTwo.h"
#include "Resources.h"
#include "TestImageFiles.h"

namespace {

unsigned alphaOf(uint32_t p) { return p >> 24; }
unsigned redOf(uint32_t p) { return p & 0xFF; }

class BitmapLoadTest : public ::testing::Test {
 protected:
  void SetUp() override { Resources::setDirectory(files.folder()); }
  TestImageFiles files;
};

TEST(PowerOfTwoTest, RoundsUpAndKeepsPowers) {
  const int cases[][2] = {{0, 1}, {1, 1}, {2, 2}, {3, 4}, {10, 16}, {24, 32}, {64, 64}, {203, 256}, {480, 512}};
  for (const auto& c : cases) EXPECT_EQ(nextPowerOfTwo(c[0]), c[1]) << c[0];
}

TEST_F(BitmapLoadTest, BufferIsPowerOfTwoWithTenRowStripException) {
  struct Case {
    int w, h, bufferW, bufferH;
  };
  const Case cases[] = {{64, 64, 64, 64}, {224, 24, 256, 32}, {203, 10, 256, 32}, {40, 10, 64, 16}, {320, 480, 512, 512}};
  for (const Case& c : cases) {
    const std::string name = "Img" + std::to_string(c.w) + "_" + std::to_string(c.h) + ".png";
    files.writeRgba(name, c.w, c.h, [](int, int) { return 0xFF204060u; });
    int w = -1;
    int h = -1;
    Bitmap bitmap(name.c_str(), &w, &h, 1.0f);
    EXPECT_EQ(bitmap.w, c.bufferW) << name;
    EXPECT_EQ(bitmap.h, c.bufferH) << name;
    EXPECT_EQ(w, c.w) << name;
    EXPECT_EQ(h, c.h) << name;
    // The image sits top-left; everything right of and below it is transparent.
    EXPECT_EQ(bitmap.getPixel(c.w - 1, c.h - 1), 0xFF604020u) << name;
    if (c.bufferW > c.w) {
      EXPECT_EQ(bitmap.getPixel(c.w, 0), 0u) << name;
    }
    if (c.bufferH > c.h) {
      EXPECT_EQ(bitmap.getPixel(0, c.h), 0u) << name;
    }
  }
}

TEST_F(BitmapLoadTest, PixelsArePremultipliedInRedGreenBlueAlphaByteOrder) {
  // Straight (255, 128, 0) at alpha 128, next to an opaque pixel.
  files.writeRgba("Two_2x1.png", 2, 1, [](int x, int) { return x == 0 ? 0x80FF8000u : 0xFF0010FFu; });
  Bitmap bitmap("Two_2x1.png", nullptr, nullptr, 1.0f);
  const uint32_t half = bitmap.getPixel(0, 0);
  EXPECT_EQ(redOf(half), 128u);
  EXPECT_EQ((half >> 8) & 0xFF, 64u);
  EXPECT_EQ((half >> 16) & 0xFF, 0u);
  EXPECT_EQ(alphaOf(half), 128u);
  const uint32_t opaque = bitmap.getPixel(1, 0);
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&bitmap.pixels[1]);
  EXPECT_EQ(opaque, 0xFFFF1000u);
  EXPECT_EQ(bytes[0], 0x00);  // red
  EXPECT_EQ(bytes[1], 0x10);  // green
  EXPECT_EQ(bytes[2], 0xFF);  // blue
  EXPECT_EQ(bytes[3], 0xFF);  // alpha
}

TEST_F(BitmapLoadTest, AlphaScaleTruncatesEveryAlphaAndKeepsColour) {
  files.writeRgba("Solid_4x4.png", 3, 3, [](int, int) { return 0xFF336699u; });
  Bitmap scaled("Solid_4x4.png", nullptr, nullptr, 0.5f);
  EXPECT_EQ(alphaOf(scaled.getPixel(1, 1)), 127u);
  EXPECT_EQ(scaled.getPixel(1, 1) & 0xFFFFFF, 0x996633u);
  // Outside the image (the transparent remainder) alpha stays 0.
  EXPECT_EQ(scaled.getPixel(3, 3), 0u);
}

TEST_F(BitmapLoadTest, MissingResourceStopsWithItsName) {
  EXPECT_DEATH(Bitmap("Nowhere_64x64.png", nullptr, nullptr, 1.0f), "Nowhere_64x64.png(.|\n)*image");
}

TEST_F(BitmapLoadTest, DamagedFileStopsLikeAMissingOne) {
  files.writeBytes("Broken_8x8.png", std::string("\x89PNG\r\n\x1a\n garbage that is no image", 33));
  EXPECT_DEATH(Bitmap("Broken_8x8.png", nullptr, nullptr, 1.0f), "Broken_8x8.png(.|\n)*image");
}

TEST_F(BitmapLoadTest, ImageWithoutAlphaStopsWithItsName) {
  files.writeRgb("Opaque_8x8.png", 8, 8);
  EXPECT_DEATH(Bitmap("Opaque_8x8.png", nullptr, nullptr, 1.0f),
               "Opaque_8x8.png(.|\n)*hasAlpha && CGImageGetColorSpace\\(image\\)");
}

TEST(BitmapTest, NewBitmapIsTransparentBlack) {
  Bitmap bitmap(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(bitmap.getPixel(x, y), 0u);
}

TEST(BitmapTest, ChannelFormTakesBlueGreenRedAlpha) {
  Bitmap bitmap(2, 2);
  bitmap.putPixel(1, 1, 0, 0, 255, 128);
  const uint8_t* bytes = reinterpret_cast<const uint8_t*>(&bitmap.pixels[3]);
  EXPECT_EQ(bytes[0], 255);
  EXPECT_EQ(bytes[1], 0);
  EXPECT_EQ(bytes[2], 0);
  EXPECT_EQ(bytes[3], 128);
}

TEST(BitmapTest, ScaleDownAveragesEachChannelOfTheBlock) {
  Bitmap bitmap(64, 64);
  bitmap.putPixel(0, 0, 0, 0, 200, 255);
  bitmap.putPixel(1, 0, 0, 0, 100, 255);
  // (0, 1) and (1, 1) stay transparent: alphas 255, 255, 0, 0.
  bitmap.putPixel(62, 62, 9, 9, 9, 9);
  std::unique_ptr<Bitmap> small(bitmap.scaleDownAccurately(2));
  EXPECT_EQ(small->w, 32);
  EXPECT_EQ(small->h, 32);
  EXPECT_EQ(alphaOf(small->getPixel(0, 0)), 127u);
  EXPECT_EQ(redOf(small->getPixel(0, 0)), 75u);
  EXPECT_EQ(small->getPixel(31, 31), 0x02020202u);
}

TEST(BitmapTest, MakeMoreTransparentDividesAlphaOnly) {
  Bitmap bitmap(2, 1);
  bitmap.putPixel(0, 0, 10, 20, 30, 255);
  bitmap.putPixel(1, 0, 10, 20, 30, 1);
  bitmap.makeMoreTransparent(1.5);
  EXPECT_EQ(alphaOf(bitmap.getPixel(0, 0)), 170u);
  EXPECT_EQ(alphaOf(bitmap.getPixel(1, 0)), 0u);
  EXPECT_EQ(bitmap.getPixel(0, 0) & 0xFFFFFF, 0x0A141Eu);
  Bitmap other(1, 1);
  other.putPixel(0, 0, 0, 0, 0, 255);
  other.makeMoreTransparent(1.65);
  EXPECT_EQ(alphaOf(other.getPixel(0, 0)), 154u);
}

TEST(BitmapTest, CloneIsADeepCopy) {
  Bitmap bitmap(4, 2);
  bitmap.putPixel(3, 1, 0x12345678u);
  std::unique_ptr<Bitmap> copy(bitmap.clone());
  bitmap.putPixel(3, 1, 0u);
  EXPECT_EQ(copy->w, 4);
  EXPECT_EQ(copy->h, 2);
  EXPECT_EQ(copy->getPixel(3, 1), 0x12345678u);
}

TEST(BitmapDeathTest, CoordinateChecksNameTheBrokenCondition) {
  Bitmap bitmap(4, 4);
  EXPECT_DEATH(bitmap.getPixel(-1, 0), "x>=0");
  EXPECT_DEATH(bitmap.getPixel(0, -1), "y>=0");
  EXPECT_DEATH(bitmap.putPixel(4, 0, 0u), "x<w");
  EXPECT_DEATH(bitmap.putPixel(0, 4, 1, 2, 3, 4), "y<h");
  MonoBitmap mono(2, 2);
  EXPECT_DEATH(mono.getPixel(2, 0), "x<w");
  EXPECT_DEATH(mono.getPixel(0, -3), "y>=0");
}

TEST(BitmapDeathTest, ScaleDownPreconditions) {
  Bitmap odd(6, 6);
  EXPECT_DEATH(odd.scaleDownAccurately(4), "!\\(w%scale\\)");
  Bitmap tall(4, 6);
  EXPECT_DEATH(tall.scaleDownAccurately(4), "!\\(h%scale\\)");
  Bitmap wide(8, 4);
  EXPECT_DEATH(wide.scaleDownAccurately(4), "w==h");
}

}  // namespace
