// The look as a player meets it in the real game: chosen with the keys on the settings screen,
// drawn at once, written to the preferences file in the configuration folder and drawn again
// from the start screen on at the next launch; a damaged preferences file starts the default
// look and is left as it was, as are the game's own files.
#include <cstdio>
#include <filesystem>
#include <string>

#include <X11/keysym.h>

#include "GameTestFixture.h"
#include "TestEnvironment.h"
#include "WholeFile.h"

namespace {

// Share of the start screen's pixels that must change with the look (the colour-blind start
// picture changes its balls, about a tenth of the screen), and that two launches in one look
// may differ by (nothing but the text's rasterisation, which is the same).
const double LOOK_CHANGES_AT_LEAST = 0.03;
const double SAME_LOOK_AT_MOST = 0.001;

class LookTest : public GameTestFixture {
 protected:
  // The game's settings (Easy, clock off) and no saved game: each launch opens on the start
  // screen, which is then at rest.
  ScreenImage launchToStartScreen() {
    if (!std::filesystem::exists(dataFile("settings.dat"))) {
      EXPECT_TRUE(writeBytes(dataFile("settings.dat"), settingsRecord(0, true, false, 0.5f)));
    }
    EXPECT_TRUE(session.launch());
    EXPECT_TRUE(session.waitForFirstFrame(testenv::scaledMs(20000))) << session.errorOutput();
    // Only a game that has finished starting shows its whole start screen.
    waitUntilReadyForInput();
    return session.screen();
  }

  // The preferences file as the game finds it: $XDG_CONFIG_HOME/pellix/preferences, which the
  // session puts beside the data files.
  std::string preferencesFile() const { return dataFile("preferences"); }

  // Polls the preferences file until it holds `text`; false after a scaled deadline.
  bool waitForPreferencesHolding(const std::string& text) {
    return testenv::waitUntil([&] { return testfiles::readText(preferencesFile()).find(text) != std::string::npos; }, 5000);
  }
};

TEST_F(LookTest, ALookChosenWithTheKeysIsDrawnAtOnceAndAgainAtTheNextLaunch) {
  const ScreenImage glossyStart = launchToStartScreen();
  EXPECT_FALSE(std::filesystem::exists(preferencesFile())) << "nothing was chosen, so nothing is written";

  // Return starts a game, Escape opens the game menu with its first entry lit, two steps down is
  // the settings; there the third control is the look, and Right steps to the colour-blind look.
  // The keys queue up in order, so nothing needs to wait between them.
  for (unsigned long keysym : {XK_Return, XK_Escape, XK_Down, XK_Down, XK_Return, XK_Down, XK_Down, XK_Down}) {
    ASSERT_TRUE(session.pressKey(keysym));
  }
  ASSERT_TRUE(session.waitForRest(300, testenv::scaledMs(10000)));
  const ScreenImage settingsGlossy = session.screen();
  ASSERT_TRUE(session.pressKey(XK_Right));
  ASSERT_TRUE(waitForPreferencesHolding("look = colour-blind")) << testfiles::readText(preferencesFile());
  EXPECT_TRUE(session.waitForScreen([&](const ScreenImage& now) { return now.fractionDifferent(settingsGlossy, 30) > 0.005; },
                                    testenv::scaledMs(5000)))
      << "the settings screen was not redrawn in the new look";
  const std::vector<uint8_t> settingsBefore = dataBytes("settings.dat");
  closeAndExpectNormalExit();
  EXPECT_EQ(settingsBefore, dataBytes("settings.dat")) << "settings.dat is not where the look goes";

  const ScreenImage colourBlindStart = launchToStartScreen();
  std::printf("the colour-blind start screen differs from the glossy one in %.3f of its pixels\n",
              colourBlindStart.fractionDifferent(glossyStart, 30));
  EXPECT_GT(colourBlindStart.fractionDifferent(glossyStart, 30), LOOK_CHANGES_AT_LEAST);
  closeAndExpectNormalExit();
  EXPECT_NE(std::string::npos, testfiles::readText(preferencesFile()).find("look = colour-blind"));
}

TEST_F(LookTest, ADamagedPreferencesFileStartsTheGlossyLookAndIsLeftAsItWas) {
  // The first launch leaves a saved game, so every later start screen offers to continue it.
  launchToStartScreen();
  closeAndExpectNormalExit();
  const ScreenImage glossyStart = launchToStartScreen();
  closeAndExpectNormalExit();
  const std::vector<uint8_t> savedGame = dataBytes("gameState.dat");
  const std::vector<uint8_t> savedScores = dataBytes("hiScores.dat");

  const std::string damaged = std::string("look = high-contrast\x01\xff\n#\n", 25) + std::string(300, '\0');
  ASSERT_TRUE(testfiles::writeFile(preferencesFile(), damaged));
  const ScreenImage start = launchToStartScreen();
  std::printf("with the damaged file the start screen differs from the glossy one in %.4f of its pixels\n",
              start.fractionDifferent(glossyStart, 30));
  EXPECT_LT(start.fractionDifferent(glossyStart, 30), SAME_LOOK_AT_MOST);
  closeAndExpectNormalExit();
  EXPECT_EQ(damaged, testfiles::readText(preferencesFile()));
  EXPECT_EQ(savedGame, dataBytes("gameState.dat"));
  EXPECT_EQ(savedScores, dataBytes("hiScores.dat"));
}

}  // namespace
