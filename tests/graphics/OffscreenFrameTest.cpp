// The offscreen frame shown in a window: scaled uniformly to fit and centred, the right way up;
// and drawn at a resolution of its own.
#include <gtest/gtest.h>

#include "BlendMode.h"
#include "Gl.h"
#include "RenderHarness.h"
#include "Texture.h"
#include "TestEnvironment.h"

namespace {

TEST(OffscreenFrameTest, PresentScalesToFitAndCentres) {
  RenderHarness* harness = RenderHarness::instance();
  ASSERT_NE(harness, nullptr) << RenderHarness::failure();
  OffscreenFrame& screen = harness->screenFrame();
  // Screen: red top half, green bottom half (scissored clears).
  screen.bind();
  gl.Enable(GL_SCISSOR_TEST);
  gl.Scissor(0, 240, 320, 240);  // GL rows 240-479: the top of the screen
  gl.ClearColor(1, 0, 0, 1);
  gl.Clear(GL_COLOR_BUFFER_BIT);
  gl.Scissor(0, 0, 320, 240);
  gl.ClearColor(0, 1, 0, 1);
  gl.Clear(GL_COLOR_BUFFER_BIT);
  gl.Disable(GL_SCISSOR_TEST);

  // A 400 x 300 "window": scale 300 / 480 = 0.625, so a 200 x 300 picture from x = 100.
  OffscreenFrame window;
  ASSERT_TRUE(window.create(400, 300));
  screen.presentScaled(400, 300, window.framebufferId());
  const std::vector<uint8_t> shown = window.readPixels();
  auto at = [&](int x, int y) { return &shown[(static_cast<size_t>(y) * 400 + x) * 4]; };
  EXPECT_EQ(at(200, 20)[0], 255);   // red on top
  EXPECT_EQ(at(200, 280)[1], 255);  // green below
  EXPECT_EQ(at(200, 280)[0], 0);
  EXPECT_EQ(at(50, 150)[0] + at(50, 150)[1], 0);    // black margin left
  EXPECT_EQ(at(350, 150)[0] + at(350, 150)[1], 0);  // and right
  EXPECT_GT(at(102, 150)[0] + at(102, 150)[1], 200);
  EXPECT_GT(at(297, 150)[0] + at(297, 150)[1], 200);
  screen.bind();
}

}  // namespace

namespace {

// The frame drawn at 1.5x: the game's screen units still span it, a 512 x 512 unit snapshot of
// it (as the board images are taken) comes back pixel for pixel, and presented into a window
// rectangle of its own size it is copied unchanged.
class ScaledFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    harness = RenderHarness::instance();
    if (harness == nullptr) PELLIX_MISSING_PREREQUISITE(RenderHarness::failure());
    ASSERT_TRUE(harness->setResolution(480, 720));
  }
  void TearDown() override {
    if (harness != nullptr) harness->setResolution(RenderHarness::WIDTH, RenderHarness::HEIGHT);
  }
  // Detail at every pixel: fixed noise, so that any blur or shift of a copy shows.
  void paint() {
    harness->clear(0, 0, 0);
    Bitmap* noise = new Bitmap(256, 256);
    uint32_t state = 12345u;
    for (int y = 0; y < 256; ++y) {
      for (int x = 0; x < 256; ++x) {
        state = state * 1664525u + 1013904223u;
        noise->putPixel(x, y, 0xFF000000u | (state >> 8));
      }
    }
    Texture texture;
    texture.init(noise);
    texture.drawToScreen(10.0f, 20.0f, Scaling(1.2f), BLEND_OPAQUE, true);
  }
  RenderHarness* harness = nullptr;
};

TEST_F(ScaledFrameTest, ScreenUnitsSpanTheWholeFrame) {
  harness->clear(0, 0, 0);
  Bitmap* white = new Bitmap(1, 1);
  white->putPixel(0, 0, 0xFFFFFFFFu);
  Texture texture;
  texture.init(white);
  // Screen units (100, 200)-(200, 300) are frame pixels (150, 300)-(300, 450).
  texture.drawToScreen(100.0f, 200.0f, Scaling(100.0f), BLEND_OPAQUE, true);
  harness->readBack();
  EXPECT_EQ(480, harness->pixelWidth());
  EXPECT_EQ(255, harness->pixel(150, 300).r);
  EXPECT_EQ(255, harness->pixel(299, 449).r);
  EXPECT_EQ(0, harness->pixel(149, 300).r);
  EXPECT_EQ(0, harness->pixel(300, 449).r);
  EXPECT_EQ(0, harness->pixel(150, 450).r);
}

TEST_F(ScaledFrameTest, ASnapshotComesBackPixelForPixel) {
  paint();
  harness->readBack();
  const std::vector<uint8_t> before = harness->pixels();
  Texture snapshot(512, 512);
  harness->clear(255, 0, 255);
  snapshot.drawToScreen(0.0f, -32.0f, Scaling(1.0f), BLEND_OPAQUE, false);
  harness->readBack();
  EXPECT_TRUE(before == harness->pixels()) << "the snapshot must not blur or shift the frame";
}

TEST_F(ScaledFrameTest, PresentedAtItsOwnSizeTheFrameIsCopiedUnchanged) {
  paint();
  harness->readBack();
  const std::vector<uint8_t> frame = harness->pixels();
  // A 500 x 760 window with the frame at (10, 20) in it.
  OffscreenFrame window;
  ASSERT_TRUE(window.create(500, 512, 500, 760));
  harness->screenFrame().presentAt(500, 760, 10, 20, 480, 720, window.framebufferId());
  const std::vector<uint8_t> shown = window.readPixels();
  int differing = 0;
  for (int y = 0; y < 720; ++y) {
    for (int x = 0; x < 480; ++x) {
      for (int c = 0; c < 3; ++c) {
        differing += shown[((static_cast<size_t>(y) + 20) * 500 + x + 10) * 4 + c] !=
                     frame[(static_cast<size_t>(y) * 480 + x) * 4 + c];
      }
    }
  }
  EXPECT_EQ(0, differing);
  EXPECT_EQ(0, shown[(5 * 500 + 5) * 4]) << "black around it";
  harness->screenFrame().bind();
}

}  // namespace
