// The game in the player's language, as launched from a desktop: the start screen's words follow
// LANGUAGE, and a German locale that this machine has not generated (LANG=de_DE.UTF-8) still
// gives the German catalogue, word for word as LANGUAGE=de does. The start screens are saved as
// screens/e2e-language-<name>.png in the test's build folder for looking at.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "GameSession.h"
#include "SavedFiles.h"
#include "TestEnvironment.h"

namespace {

using Environment = std::vector<std::pair<std::string, std::string>>;

// The bar under the start screen, and the line under the balls.
const PixelRect BAR{0, 436, 320, 44};
const PixelRect TAGLINE{0, 372, 320, 30};

int differingPixels(const ScreenImage& a, const ScreenImage& b, const PixelRect& area) {
  int count = 0;
  for (int y = area.y; y < area.y + area.h; ++y)
    for (int x = area.x; x < area.x + area.w; ++x) {
      const Rgb p = a.at(x, y);
      const Rgb q = b.at(x, y);
      if (std::abs(p.r - q.r) > 40 || std::abs(p.g - q.g) > 40 || std::abs(p.b - q.b) > 40) ++count;
    }
  return count;
}

class LanguageTest : public ::testing::Test {
 protected:
  // The settled start screen of a fresh game launched with `environment` (every locale variable
  // not named is empty, as on a desktop that does not set it).
  ScreenImage startScreen(const Environment& environment, const std::string& name) {
    GameSession session;
    if (!session.displayReady()) {
      ADD_FAILURE() << "Xvfb could not be started: " << session.setupProblem();
      return ScreenImage();
    }
    EXPECT_TRUE(writeBytes(session.dataFolder() + "/settings.dat", settingsRecord(0, false, false, 0.5f)));
    for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) session.setEnvironment(variable, "");
    for (const auto& variable : environment) session.setEnvironment(variable.first, variable.second);
    EXPECT_TRUE(session.launch());
    EXPECT_TRUE(session.waitForFirstFrame(testenv::scaledMs(30000))) << session.errorOutput();
    EXPECT_TRUE(session.waitForRest(500, testenv::scaledMs(20000)));
    const ScreenImage screen = session.screen();
    const std::string folder = std::string(PELLIX_TEST_OUTPUT_DIR) + "/screens";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(screen.savePng(folder + "/e2e-language-" + name + ".png"));
    session.closeWindow();
    EXPECT_EQ(0, session.waitForExit(10000)) << session.errorOutput();
    return screen;
  }
};

TEST_F(LanguageTest, TheStartScreenSpeaksGermanWithLanguageAndWithAnUngeneratedGermanLocale) {
  const ScreenImage english = startScreen({{"LANG", "C.UTF-8"}}, "english");
  const ScreenImage german = startScreen({{"LANG", "C.UTF-8"}, {"LANGUAGE", "de"}}, "language-de");
  const ScreenImage germanLocale = startScreen({{"LANG", "de_DE.UTF-8"}}, "lang-de_DE");
  ASSERT_TRUE(english.valid() && german.valid() && germanLocale.valid());
  // Other words on the bar and under the balls, the same picture above them.
  EXPECT_GT(differingPixels(english, german, BAR), 100);
  EXPECT_GT(differingPixels(english, german, TAGLINE), 100);
  EXPECT_EQ(0, differingPixels(english, german, PixelRect{0, 0, 320, 360}));
  // The same German words whichever way the language was chosen.
  EXPECT_EQ(0, differingPixels(german, germanLocale, PixelRect{0, 0, 320, 480}));
}

}  // namespace
