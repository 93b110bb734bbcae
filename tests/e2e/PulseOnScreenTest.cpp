// A pulsing selection on the real game's window, as the X server shows it: the game shows only
// the changed part of each frame where it can, so the pulse must be seen, and nothing outside
// the ball's surroundings may change while it pulses.
#include "GameTestFixture.h"
#include "TestBoards.h"
#include "TestEnvironment.h"

namespace {

using namespace ScreenLayout;

class PulseOnScreenTest : public GameTestFixture {};

TEST_F(PulseOnScreenTest, APulsingBallChangesTheWindowOnlyAroundItsSquare) {
  ASSERT_NO_FATAL_FAILURE(launchWith(settingsRecord(0, true, true, 0.5f), savedGame(TestBoards::almostALine(5))));
  leaveStartScreen();
  const ScreenImage atRest = session.screen();
  // The fifth ball of the line, at (4, 3), picked up with a click: it pulses until the next one.
  session.tap(squareCentreX(4), squareCentreY(3));
  ASSERT_TRUE(session.waitForChange(atRest, testenv::scaledMs(5000))) << "the click on the ball showed nothing";
  const ScreenImage selected = session.screen();

  // The square's surroundings: a square's pitch around it, and a pixel of rounding.
  const int left = 4 + 39 * 4 - 39 - 1, right = 4 + 39 * 5 + 39 + 1;
  const int top = 45 + 39 * 3 - 39 - 1, bottom = 45 + 39 * 4 + 39 + 1;
  ScreenImage previous = selected;
  for (int picture = 0; picture < 6; ++picture) {
    SCOPED_TRACE(picture);
    ASSERT_TRUE(session.waitForChange(previous, testenv::scaledMs(5000))) << "the selected ball does not pulse";
    const ScreenImage now = session.screen();
    int changedOutside = 0, changedInside = 0;
    for (int y = 0; y < ScreenImage::HEIGHT; ++y) {
      for (int x = 0; x < ScreenImage::WIDTH; ++x) {
        const bool inside = x >= left && x < right && y >= top && y < bottom;
        const Rgb a = now.at(x, y), b = previous.at(x, y);
        const bool changed = a.r != b.r || a.g != b.g || a.b != b.b;
        if (changed) ++(inside ? changedInside : changedOutside);
        if (!inside) {
          const Rgb first = selected.at(x, y);
          if (a.r != first.r || a.g != first.g || a.b != first.b) ++changedOutside;
        }
      }
    }
    EXPECT_EQ(0, changedOutside) << "pixels away from the pulsing ball changed";
    EXPECT_GT(changedInside, 0);
    previous = now;
  }
  closeAndExpectNormalExit();
}

}  // namespace
