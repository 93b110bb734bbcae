// The shell's pure parts: window-to-screen mapping at any window size, and the data folder.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "DataDirectory.h"
#include "ScreenMapping.h"

namespace {

TEST(ScreenMappingTest, WindowPointsMapBackToScreenPixels) {
  struct Case {
    int windowWidth, windowHeight;
    float windowX, windowY;
    int screenX, screenY;
  } cases[] = {
      {320, 480, 160.7f, 240.2f, 160, 240},  // truncation toward zero
      {640, 960, 321.0f, 481.0f, 160, 240},  // double size
      {1000, 960, 180.0f + 0.0f, 0.0f, 0, 0}, // wider window: screen centred, 180 px border left
      {1000, 960, 179.0f, 10.0f, 0, 5},       // just inside the left border truncates to 0
      {1000, 960, 819.0f, 959.0f, 319, 479},
      {320, 1000, 0.0f, 260.0f, 0, 0},        // taller window: 260 px border on top
      {333, 517, 332.0f, 508.0f, 319, 479},   // odd sizes: the last row and column stay inside
  };
  for (const Case& c : cases) {
    int x = -9, y = -9;
    ScreenMapping(c.windowWidth, c.windowHeight).windowToScreen(c.windowX, c.windowY, x, y);
    EXPECT_EQ(c.screenX, x) << c.windowWidth << "x" << c.windowHeight << " at " << c.windowX;
    EXPECT_EQ(c.screenY, y) << c.windowWidth << "x" << c.windowHeight << " at " << c.windowY;
  }
  // Points in the borders fall outside the screen, where the game ignores them.
  int x = 0, y = 0;
  ScreenMapping(1000, 960).windowToScreen(50.0f, 100.0f, x, y);
  EXPECT_LT(x, 0);
  // A window squeezed to nothing still maps without dividing by zero.
  ScreenMapping(0, 0).windowToScreen(0.0f, 0.0f, x, y);
}

TEST(ScreenMappingTest, InitialScaleIsTheLargestWholeScaleThatFitsComfortably) {
  EXPECT_EQ(1, ScreenMapping::initialScale(1024, 768));
  EXPECT_EQ(2, ScreenMapping::initialScale(2560, 1080));
  EXPECT_EQ(4, ScreenMapping::initialScale(3840, 2160));
  EXPECT_EQ(1, ScreenMapping::initialScale(200, 200));
}

class DataDirectoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/pellix-shell-XXXXXX";
    base = mkdtemp(pattern);
    savedHome = getenv("HOME") ? getenv("HOME") : "";
    savedDataHome = getenv("XDG_DATA_HOME") ? getenv("XDG_DATA_HOME") : "";
  }
  void TearDown() override {
    setenv("HOME", savedHome.c_str(), 1);
    if (savedDataHome.empty()) {
      unsetenv("XDG_DATA_HOME");
    } else {
      setenv("XDG_DATA_HOME", savedDataHome.c_str(), 1);
    }
    std::filesystem::remove_all(base);
  }
  std::string base, savedHome, savedDataHome;
};

TEST_F(DataDirectoryTest, FollowsXdgDataHomeElseHome) {
  setenv("XDG_DATA_HOME", (base + "/data").c_str(), 1);
  EXPECT_EQ(base + "/data/pellix", DataDirectory::locate());
  EXPECT_TRUE(std::filesystem::is_directory(base + "/data/pellix"));

  // A relative XDG_DATA_HOME is not valid: the home folder's default is used.
  setenv("XDG_DATA_HOME", "relative/data", 1);
  setenv("HOME", base.c_str(), 1);
  EXPECT_EQ(base + "/.local/share/pellix", DataDirectory::locate());
  EXPECT_TRUE(std::filesystem::is_directory(base + "/.local/share/pellix"));

  unsetenv("XDG_DATA_HOME");
  unsetenv("HOME");
  EXPECT_EQ("", DataDirectory::locate());
}

}  // namespace
