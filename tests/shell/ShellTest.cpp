// The shell's pure parts: window-to-screen mapping at any window size, the data folder and the
// account's real name.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "AccountName.h"
#include "DataDirectory.h"
#include "ScreenMapping.h"
#include "TempFolder.h"

namespace {

TEST(AccountNameTest, RealNameIsTheFirstGecosFieldTrimmed) {
  struct Case {
    const char* gecos;
    const char* login;
    const char* name;
  } cases[] = {
      {"Ann Smith,Room 12,555-1234,,", "ann", "Ann Smith"},
      {"Zo\xc3\xab Ann", "zoe", "Zo\xc3\xab Ann"},
      {"  Bob  ,", "bob", "Bob"},
      {"& Jones,,,", "mary", "Mary Jones"},  // "&" stands for the login, capitalised
      {",Room 12", "sys", ""},
      {"", "nobody", ""},
      {"&", "", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.name, AccountName::fromGecos(c.gecos, c.login)) << c.gecos;
}

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
      {333, 517, 332.0f, 507.0f, 319, 479},   // odd sizes: the frame's last row and column stay inside
      {333, 517, 332.0f, 508.0f, 319, 480},   // the frame is 499 whole rows high: row 508 is border
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

TEST(ScreenMappingTest, TheWindowOpensAtTheLargestTwoByThreeSizeInEightyFivePercentOfTheDisplay) {
  struct Case {
    int usableWidth, usableHeight;
    int windowWidth, windowHeight;
  } cases[] = {
      {1024, 768, 434, 651},    // no longer the 320 x 480 of whole scales
      {1280, 1024, 580, 870},   // was a postage stamp: 320 x 480
      {1920, 1080, 612, 918},
      {3840, 2160, 1224, 1836},
      {800, 565, 320, 480},     // exactly 1x
      {1000, 1130, 640, 960},   // exactly 2x
      {400, 2000, 340, 510},    // a narrow display limits by width
      {300, 2000, 268, 402},    // never below the smallest window
      {0, 0, 268, 402},
  };
  for (const Case& c : cases) {
    int w = 0, h = 0;
    ScreenMapping::initialWindowSize(c.usableWidth, c.usableHeight, w, h);
    EXPECT_EQ(c.windowWidth, w) << c.usableWidth << "x" << c.usableHeight;
    EXPECT_EQ(c.windowHeight, h) << c.usableWidth << "x" << c.usableHeight;
    EXPECT_EQ(w * 3, h * 2);
  }
}

TEST(ScreenMappingTest, TheFrameIsWholePixelsCentredInTheDrawable) {
  struct Case {
    int windowWidth, windowHeight, drawableWidth, drawableHeight;
    int left, top, width, height;
  } cases[] = {
      {320, 480, -1, -1, 0, 0, 320, 480},
      {480, 720, -1, -1, 0, 0, 480, 720},      // 1.5x
      {1000, 960, -1, -1, 180, 0, 640, 960},   // pillarbox
      {434, 651, -1, -1, 0, 0, 434, 651},      // a fractional scale
      {333, 517, -1, -1, 0, 9, 333, 499},
      {320, 480, 640, 960, 0, 0, 640, 960},    // HiDPI: twice the pixels of the window
  };
  for (const Case& c : cases) {
    const ScreenMapping mapping(c.windowWidth, c.windowHeight, c.drawableWidth, c.drawableHeight);
    EXPECT_EQ(c.left, mapping.frameLeft()) << c.windowWidth << "x" << c.windowHeight;
    EXPECT_EQ(c.top, mapping.frameTop()) << c.windowWidth << "x" << c.windowHeight;
    EXPECT_EQ(c.width, mapping.frameWidth()) << c.windowWidth << "x" << c.windowHeight;
    EXPECT_EQ(c.height, mapping.frameHeight()) << c.windowWidth << "x" << c.windowHeight;
  }
  // On a HiDPI window mouse points (window coordinates) still land on the same screen pixels.
  int x = 0, y = 0;
  ScreenMapping(320, 480, 640, 960).windowToScreen(160.7f, 240.2f, x, y);
  EXPECT_EQ(160, x);
  EXPECT_EQ(240, y);
}

class DataDirectoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files.reset(new TempFolder("pellix-shell"));
    base = files->str();
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
    files.reset();
  }
  std::unique_ptr<TempFolder> files;
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
