// The GL library the game draws through on X11: GLX, and EGL where GLX cannot be loaded (SDL is
// pointed at a GL library that does not exist). Either way the player gets the same start
// screen and a normal exit.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "GameSession.h"
#include "SavedFiles.h"
#include "TestEnvironment.h"

namespace {

// The settled start screen of a game launched with `glxLibrary` as SDL's GLX library (empty:
// the system's), and whether the game then exited normally.
std::vector<uint8_t> startScreenWith(const std::string& glxLibrary, bool& exitedNormally) {
  exitedNormally = false;
  GameSession session;
  if (!session.displayReady()) {
    ADD_FAILURE() << "Xvfb could not be started: " << session.setupProblem();
    return {};
  }
  EXPECT_TRUE(writeBytes(session.dataFolder() + "/settings.dat", settingsRecord(0, false, false, 0.5f)));
  if (!glxLibrary.empty()) session.setEnvironment("SDL_OPENGL_LIBRARY", glxLibrary);
  if (!session.launch() || !session.waitForFirstFrame(testenv::scaledMs(30000))) {
    ADD_FAILURE() << "the game showed no start screen: " << session.errorOutput();
    return {};
  }
  EXPECT_TRUE(session.waitForRest(250, testenv::scaledMs(10000))) << session.errorOutput();
  std::vector<uint8_t> pixels = session.screenPixels();
  session.closeWindow();
  exitedNormally = session.waitForExit(testenv::scaledMs(10000)) == 0;
  if (!exitedNormally) ADD_FAILURE() << session.errorOutput();
  return pixels;
}

TEST(GlLoaderTest, WithoutGlxTheGameDrawsTheSameStartScreenThroughEgl) {
  bool normalExit = false;
  const std::vector<uint8_t> throughGlx = startScreenWith("", normalExit);
  ASSERT_TRUE(normalExit);
  const std::vector<uint8_t> throughEgl = startScreenWith("/nonexistent/libGL.so.1", normalExit);
  ASSERT_TRUE(normalExit);
  ASSERT_EQ(throughGlx.size(), throughEgl.size());
  EXPECT_TRUE(throughGlx == throughEgl) << "the start screen drawn through EGL differs from the one drawn through GLX";
}

}  // namespace
