// Textures drawn into the offscreen frame and read back: quad sizes of loaded images, text
// layout, the four blend modes, centring and rotation.
#include <gtest/gtest.h>

#include <vector>

#include "BlendMode.h"
#include "RenderHarness.h"
#include "Resources.h"
#include "TestImageFiles.h"
#include "Texture.h"

namespace {

class TextureRenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    harness = RenderHarness::instance();
    ASSERT_NE(harness, nullptr) << RenderHarness::failure();
    Resources::setDirectory(files.folder());
    harness->clear(0, 0, 0);
  }

  // A bitmap texture of one straight colour (0xAARRGGBB) stored premultiplied like a loaded one.
  static Texture* solid(int w, int h, unsigned argb) {
    Bitmap* bitmap = new Bitmap(w, h);
    const unsigned a = argb >> 24;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        bitmap->putPixel(x, y, (argb & 0xFF) * a / 255, ((argb >> 8) & 0xFF) * a / 255, ((argb >> 16) & 0xFF) * a / 255,
                         a);
    Texture* texture = new Texture();
    texture->init(bitmap);
    return texture;
  }

  // Bounding box of pixels whose red channel exceeds `threshold`.
  struct Box {
    int left = 1000, top = 1000, right = -1, bottom = -1;
  };
  Box litBox(int threshold = 40) const {
    Box box;
    for (int y = 0; y < RenderHarness::HEIGHT; ++y)
      for (int x = 0; x < RenderHarness::WIDTH; ++x)
        if (harness->pixel(x, y).r > threshold) {
          box.left = std::min(box.left, x);
          box.right = std::max(box.right, x);
          box.top = std::min(box.top, y);
          box.bottom = std::max(box.bottom, y);
        }
    return box;
  }

  RenderHarness* harness = nullptr;
  TestImageFiles files;
};

TEST_F(TextureRenderTest, LoadedImageDrawsItsPowerOfTwoQuadAtOneToOne) {
  // Red image, with a white last column, 224 x 24.
  files.writeRgba("Strip_224x24.png", 224, 24, [](int x, int) { return x == 223 ? 0xFFFFFFFFu : 0xFFFF0000u; });
  Texture texture("Strip_224x24.png", 1.0f, false);
  EXPECT_EQ(texture.width, 224);
  EXPECT_EQ(texture.height, 24);
  EXPECT_EQ(texture.bitmap->w, 256);
  EXPECT_EQ(texture.bitmap->h, 32);
  EXPECT_EQ(texture.bitmap->pixels, nullptr);  // freed after upload
  texture.drawToScreen(10, 20, Scaling(1.0f), BLEND_PREMULTIPLIED, true);
  harness->readBack();
  // Not stretched: the white column lands at x = 10 + 223, the transparent rest shows black.
  EXPECT_EQ(harness->pixel(233, 30).g, 255);
  EXPECT_EQ(harness->pixel(232, 30).g, 0);
  EXPECT_EQ(harness->pixel(232, 30).r, 255);
  EXPECT_EQ(harness->pixel(234, 30).r, 0);
  EXPECT_EQ(harness->pixel(10, 20).r, 255);
  EXPECT_EQ(harness->pixel(10, 43).r, 255);
  EXPECT_EQ(harness->pixel(10, 44).r, 0);
}

// An image whose pixels go (uploaded straight from its decoding) draws exactly like one whose
// pixels are kept (uploaded from its power-of-two buffer): same quad, same transparent margin under
// filtering, same alpha scaling, for sizes of every kind.
TEST_F(TextureRenderTest, ImagesDrawTheSameWhetherOrNotTheirPixelsAreKept) {
  const struct {
    const char* name;
    int w, h;
  } images[] = {{"Odd_37x13.png", 37, 13}, {"Square_64x64.png", 64, 64}, {"Strip_100x10.png", 100, 10}};
  for (const auto& image : images) {
    SCOPED_TRACE(image.name);
    files.writeRgba(image.name, image.w, image.h, [](int x, int y) {
      return static_cast<unsigned>((40 + 5 * x) % 256) << 24 | static_cast<unsigned>(7 * y % 256) << 16 | 0x80u << 8 | 0x30u;
    });
    std::vector<Rgba> drawn[2];
    int bufferWidth[2] = {0, 0}, bufferHeight[2] = {0, 0};
    for (int kept = 0; kept < 2; ++kept) {
      harness->clear(20, 90, 160);
      Texture texture(image.name, 0.6f, kept == 1);
      bufferWidth[kept] = texture.bitmap->w;
      bufferHeight[kept] = texture.bitmap->h;
      // Enlarged and off the pixel grid, so that filtering reads the margin beyond the image.
      texture.drawToScreen(3.5f, 7.25f, Scaling(2.3f), BLEND_PREMULTIPLIED, true);
      harness->readBack();
      for (int y = 0; y < RenderHarness::HEIGHT; ++y)
        for (int x = 0; x < RenderHarness::WIDTH; ++x) drawn[kept].push_back(harness->pixel(x, y));
    }
    EXPECT_EQ(bufferWidth[0], bufferWidth[1]);
    EXPECT_EQ(bufferHeight[0], bufferHeight[1]);
    size_t differing = 0;
    for (size_t i = 0; i < drawn[0].size(); ++i) {
      if (drawn[0][i].r != drawn[1][i].r || drawn[0][i].g != drawn[1][i].g || drawn[0][i].b != drawn[1][i].b) ++differing;
    }
    EXPECT_EQ(0u, differing);
  }
}

TEST_F(TextureRenderTest, TextBufferIsPowerOfTwoAndWrapsInsideTheRequestedWidth) {
  Texture small("8", 16, 16, Texture::ALIGN_CENTER, "Helvetica", 15, 1.0f, false);
  EXPECT_EQ(small.width, 16);
  EXPECT_EQ(small.height, 16);

  const char* text = "Line up five balls of one colour to clear them from the board";
  Texture block(text, 200, 30, Texture::ALIGN_LEFT, "Helvetica", 12, 1.0f, false);
  EXPECT_EQ(block.width, 256);
  EXPECT_EQ(block.height, 32);
  block.drawToScreen(0, 0, Scaling(1.0f), BLEND_PREMULTIPLIED, true);
  harness->readBack();
  const Box box = litBox();
  ASSERT_GE(box.right, 0) << "no text drawn";
  EXPECT_LT(box.right, 200);  // wrapped within the requested width
  EXPECT_GT(box.right, 150);  // and the first line uses it
  EXPECT_GT(box.bottom, 16);  // a second line
  // Text is white at its coverage.
  EXPECT_EQ(harness->pixel(box.left, box.top).r, harness->pixel(box.left, box.top).b);
}

TEST_F(TextureRenderTest, TextAlignmentsPlaceTheLineInTheBox) {
  struct Case {
    Texture::TextAlignment alignment;
    int minLeft, maxLeft, minRight, maxRight;
  };
  // "Pellix" is about 30 pixels wide at 12 pixels in a 128-pixel box.
  const Case cases[] = {{Texture::ALIGN_LEFT, 0, 3, 20, 60},
                        {Texture::ALIGN_CENTER, 35, 60, 68, 95},
                        {Texture::ALIGN_RIGHT, 70, 110, 122, 127},
                        {static_cast<Texture::TextAlignment>(7), 0, 3, 20, 60}};
  for (const Case& c : cases) {
    harness->clear(0, 0, 0);
    Texture text("Pellix", 128, 16, c.alignment, "Helvetica", 12, 1.0f, false);
    text.drawToScreen(0, 0, Scaling(1.0f), BLEND_PREMULTIPLIED, true);
    harness->readBack();
    const Box box = litBox();
    EXPECT_GE(box.left, c.minLeft) << c.alignment;
    EXPECT_LE(box.left, c.maxLeft) << c.alignment;
    EXPECT_GE(box.right, c.minRight) << c.alignment;
    EXPECT_LE(box.right, c.maxRight) << c.alignment;
  }
}

TEST_F(TextureRenderTest, TextAlphaScaleDimsCoverage) {
  Texture full("88", 32, 16, Texture::ALIGN_LEFT, "Helvetica", 15, 1.0f, true);
  Texture dim("88", 32, 16, Texture::ALIGN_LEFT, "Helvetica", 15, 0.5f, true);
  int strongest = 0;
  for (int i = 0; i < 32 * 16; ++i) {
    EXPECT_EQ(dim.monoBitmap->pixels[i], static_cast<uint8_t>(full.monoBitmap->pixels[i] * 0.5f));
    strongest = std::max<int>(strongest, full.monoBitmap->pixels[i]);
  }
  EXPECT_GT(strongest, 200);
}

TEST_F(TextureRenderTest, BlendModesGiveTheirColours) {
  // Source: straight (200, 100, 0) at alpha 128, premultiplied (100, 50, 0). Background (40, 80, 120).
  struct Case {
    int mode;
    int r, g, b;
  };
  const double a = 128.0 / 255.0;
  const Case cases[] = {
      {BLEND_ADDITIVE, static_cast<int>(40 + 100 * a), static_cast<int>(80 + 50 * a), 120},
      {BLEND_OPAQUE, 100, 50, 0},
      {BLEND_ALPHA, static_cast<int>(100 * a + 40 * (1 - a)), static_cast<int>(50 * a + 80 * (1 - a)),
       static_cast<int>(120 * (1 - a))},
      {BLEND_PREMULTIPLIED, static_cast<int>(100 + 40 * (1 - a)), static_cast<int>(50 + 80 * (1 - a)),
       static_cast<int>(120 * (1 - a))},
      {0, 40, 80, 120},
      {127, 40, 80, 120},
  };
  std::unique_ptr<Texture> texture(solid(16, 16, 0x80C86400u));
  for (const Case& c : cases) {
    harness->clear(40, 80, 120);
    texture->drawToScreen(100, 100, Scaling(1.0f), c.mode, true);
    harness->readBack();
    const Rgba p = harness->pixel(108, 108);
    EXPECT_NEAR(p.r, c.r, 2) << "mode " << c.mode;
    EXPECT_NEAR(p.g, c.g, 2) << "mode " << c.mode;
    EXPECT_NEAR(p.b, c.b, 2) << "mode " << c.mode;
  }
  // Blending is on again after an opaque quad: a following alpha draw blends.
  harness->clear(40, 80, 120);
  texture->drawToScreen(100, 100, Scaling(1.0f), BLEND_OPAQUE, true);
  texture->drawToScreen(100, 100, Scaling(1.0f), BLEND_PREMULTIPLIED, true);
  harness->readBack();
  EXPECT_NEAR(harness->pixel(108, 108).r, static_cast<int>(100 + 100 * (1 - a)), 2);
}

TEST_F(TextureRenderTest, CoverageTexturesBlendWithPlainAlphaUnderThePremultipliedMode) {
  MonoBitmap* mono = new MonoBitmap(16, 16);
  for (int i = 0; i < 256; ++i) mono->pixels[i] = 128;
  Texture texture;
  texture.init(mono);
  harness->clear(0, 0, 200);
  texture.drawToScreen(0, 0, Scaling(1.0f), BLEND_PREMULTIPLIED, true);
  harness->readBack();
  const Rgba p = harness->pixel(5, 5);
  // White at alpha 0.5 over blue: plain alpha gives (128, 128, 227); premultiplied would be 255.
  EXPECT_NEAR(p.r, 128, 2);
  EXPECT_NEAR(p.b, 228, 2);
}

TEST_F(TextureRenderTest, CentredDrawingUsesTheLogicalSizeAndScale) {
  std::unique_ptr<Texture> texture(solid(64, 64, 0xFFFF0000u));
  texture->drawToScreenCenteredAt(160, 240, Scaling(1.0f), BLEND_PREMULTIPLIED, true);
  harness->readBack();
  Box box = litBox();
  EXPECT_EQ(box.left, 128);
  EXPECT_EQ(box.right, 191);
  EXPECT_EQ(box.top, 208);
  EXPECT_EQ(box.bottom, 271);

  harness->clear(0, 0, 0);
  texture->drawToScreenCenteredOnXAxis(160, 10, Scaling(0.5f, 2.0f), BLEND_PREMULTIPLIED, true);
  harness->readBack();
  box = litBox();
  EXPECT_EQ(box.left, 144);
  EXPECT_EQ(box.right, 175);
  EXPECT_EQ(box.top, 10);
  EXPECT_EQ(box.bottom, 137);
}

TEST_F(TextureRenderTest, RotationTurnsClockwiseAboutTheCentre) {
  // A dark image with a red marker in its top-left quarter.
  Bitmap* bitmap = new Bitmap(32, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) bitmap->putPixel(x, y, 0, 0, (x < 16 && y < 16) ? 255 : 0, 255);
  Texture texture;
  texture.init(bitmap);

  texture.drawToScreenWithRotation(100, 100, 0, Scaling(2.0f), BLEND_PREMULTIPLIED, true);
  harness->readBack();
  const std::vector<uint8_t> straight = harness->pixels();
  harness->clear(0, 0, 0);
  texture.drawToScreen(100, 100, Scaling(2.0f), BLEND_PREMULTIPLIED, true);
  harness->readBack();
  EXPECT_EQ(harness->pixels(), straight);

  harness->clear(0, 0, 0);
  texture.drawToScreenWithRotation(100, 100, 90, Scaling(2.0f), BLEND_PREMULTIPLIED, true);
  harness->readBack();
  // A quarter turn clockwise moves the top-left quarter to the top-right.
  EXPECT_EQ(harness->pixel(148, 116).r, 255);
  EXPECT_EQ(harness->pixel(116, 116).r, 0);
  EXPECT_EQ(harness->pixel(148, 148).r, 0);
}

TEST_F(TextureRenderTest, SnapshotCopiesTheFrameUpsideDown) {
  std::unique_ptr<Texture> texture(solid(32, 32, 0xFF00FF00u));
  texture->drawToScreen(20, 30, Scaling(1.0f), BLEND_PREMULTIPLIED, true);
  harness->readBack();
  const std::vector<uint8_t> drawn = harness->pixels();
  Texture snapshot(512, 512);
  EXPECT_EQ(snapshot.bitmap, nullptr);
  EXPECT_EQ(snapshot.monoBitmap, nullptr);
  harness->clear(90, 0, 0);
  snapshot.drawToScreen(0, -32, Scaling(1.0f), BLEND_OPAQUE, false);
  harness->readBack();
  EXPECT_EQ(harness->pixels(), drawn);
}

}  // namespace
