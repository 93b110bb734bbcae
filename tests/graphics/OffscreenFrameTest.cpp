// The offscreen frame shown in a window: scaled uniformly to fit and centred, the right way up.
#include <gtest/gtest.h>

#include "Gl.h"
#include "RenderHarness.h"

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
