// The special balls' instruction page names the keys under the balls and, while a pad is plugged
// in, the pad's buttons in the words printed on it (one line per family of pads); with no pad it
// shows the keys alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GamepadStyle.h"
#include "MenuScreenTest.h"

namespace {

// The keys' block without a pad, word for word.
const char* const KEYS_ONLY = "Keyboard: the arrow keys move the ring, Space picks up and drops a ball, Escape opens the menu.";

// Where the keys' block is drawn, and its box.
const PixelBox TEXT_BOX{40, 282, 40 + 239, 282 + 95};

class KeysPageTest : public MenuScreenTest {
 protected:
  void openKeysPage() {
    openFromGameMenu(GameController::STATE_INSTRUCTIONS);
    game->handleKey(GameKey::ACTIVATE);
    game->handleKey(GameKey::ACTIVATE);
    ASSERT_EQ(3, game->instructionsPageShown());
  }
  // The keys' block of the page.
  static constexpr int KEYS_TEXT = 2;
  // Whether the frame stays the same when the page's text is replaced by `text` rendered as the
  // page renders its text.
  bool pageTextIs(const std::string& text) {
    const ScreenImage before = render();
    Texture* shown = game->gameScreens().menuTexts[KEYS_TEXT];
    game->gameScreens().menuTexts[KEYS_TEXT] = game->gameScreens().addMenuTexture(
        new Texture(text.c_str(), 240, 96, Texture::ALIGN_LEFT, "Helvetica", 12, 1.0f, false, true));
    const ScreenImage after = render();
    game->gameScreens().menuTexts[KEYS_TEXT] = shown;
    return after.countDifferences(before) == 0;
  }
};

TEST_F(KeysPageTest, WithoutAPadThePageShowsTheKeysAsBefore) {
  openKeysPage();
  render("instructions-keys");
  EXPECT_EQ(GamepadStyle::NONE, game->gameScreens().gamepadStyle());
  EXPECT_TRUE(pageTextIs(KEYS_ONLY));
  // The comparison sees a line more.
  EXPECT_FALSE(pageTextIs(std::string(KEYS_ONLY) + "\nGamepad: d-pad or stick to move, A to pick up, B to go back, Start for the menu."));
}

TEST_F(KeysPageTest, EachFamilyOfPadsIsNamedInItsOwnWordsUnderTheKeys) {
  openKeysPage();
  const ScreenImage keysOnly = render();
  const struct {
    GamepadStyle style;
    const char* line;
    const char* shot;
  } families[] = {
      {GamepadStyle::XBOX, "Gamepad: d-pad or stick to move, A to pick up, B to go back, Start for the menu.",
       "instructions-keys-xbox"},
      {GamepadStyle::PLAYSTATION,
       "Gamepad: d-pad or stick to move, Cross to pick up, Circle to go back, Options for the menu.",
       "instructions-keys-playstation"},
      {GamepadStyle::NINTENDO, "Gamepad: d-pad or stick to move, A to pick up, B to go back, + for the menu.",
       "instructions-keys-nintendo"},
      {GamepadStyle::NINTENDO_BY_POSITION, "Gamepad: d-pad or stick to move, B to pick up, A to go back, + for the menu.",
       "instructions-keys-nintendo-by-position"},
  };
  std::vector<ScreenImage> pages;
  for (const auto& family : families) {
    // The pad changes while the page is open: the next frame names it, on the same page.
    game->gameScreens().setGamepadStyle(family.style);
    const ScreenImage page = render(family.shot);
    EXPECT_EQ(3, game->instructionsPageShown());
    EXPECT_TRUE(pageTextIs(std::string(KEYS_ONLY) + "\n" + family.line)) << family.line;
    // Only the text changed, inside its box and above the page's button; the line is there.
    const PixelBox changed = page.differenceBox(keysOnly);
    EXPECT_FALSE(changed.empty()) << family.line;
    EXPECT_TRUE(TEXT_BOX.contains(changed)) << family.line << ": " << changed;
    EXPECT_LT(changed.bottom, game->bottomButtonTop()) << family.line << ": " << changed;
    for (const ScreenImage& other : pages) EXPECT_NE(0, page.countDifferences(other)) << family.line;
    pages.push_back(page);
  }
  // Every pad gone: the keys alone again.
  game->gameScreens().setGamepadStyle(GamepadStyle::NONE);
  EXPECT_EQ(0, render().countDifferences(keysOnly));
}

}  // namespace
