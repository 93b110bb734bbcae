// The last instruction page names the keys and, while a pad is plugged in, the pad's buttons in
// the words printed on it (one look per family of pads); with no pad it is the keys' page alone,
// exactly as it has always been drawn.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GamepadStyle.h"
#include "MenuScreenTest.h"

namespace {

// The page's text as it stood before pads were named, word for word.
const char* const KEYS_ONLY =
    "Rainbow balls work as any color, and can thus be used to complete multiple rows at once.\n\n\n"
    "Bomb balls also work as any color like rainbow stones, plus they remove all stones of the same color(s) from "
    "the board.\n\nKeyboard: arrows, Space, Escape.";

// Where the page's text is drawn, and its box.
const PixelBox TEXT_BOX{131, 130, 131 + 122, 130 + 255};

class KeysPageTest : public MenuScreenTest {
 protected:
  void openKeysPage() {
    openFromGameMenu(GameController::STATE_INSTRUCTIONS);
    game->handleKey(GameKey::ACTIVATE);
    game->handleKey(GameKey::ACTIVATE);
    ASSERT_EQ(3, game->instructionsPageShown());
  }
  // Whether the frame stays the same when the page's text is replaced by `text` rendered as the
  // page renders its text.
  bool pageTextIs(const std::string& text) {
    const ScreenImage before = render();
    Texture* shown = game->gameScreens().menuTexts[0];
    game->gameScreens().menuTexts[0] = game->gameScreens().addMenuTexture(
        new Texture(text.c_str(), 123, 256, Texture::ALIGN_LEFT, "Helvetica", 12, 1.0f, false));
    const ScreenImage after = render();
    game->gameScreens().menuTexts[0] = shown;
    return after.countDifferences(before) == 0;
  }
};

TEST_F(KeysPageTest, WithoutAPadThePageShowsTheKeysAsBefore) {
  openKeysPage();
  render("instructions-keys");
  EXPECT_EQ(GamepadStyle::NONE, game->gameScreens().gamepadStyle());
  EXPECT_TRUE(pageTextIs(KEYS_ONLY));
  // The comparison sees a line more.
  EXPECT_FALSE(pageTextIs(std::string(KEYS_ONLY) + "\nGamepad: d-pad or stick, A, B, Start."));
}

TEST_F(KeysPageTest, EachFamilyOfPadsIsNamedInItsOwnWordsUnderTheKeys) {
  openKeysPage();
  const ScreenImage keysOnly = render();
  const struct {
    GamepadStyle style;
    const char* line;
    const char* shot;
  } families[] = {
      {GamepadStyle::XBOX, "Gamepad: d-pad or stick, A, B, Start.", "instructions-keys-xbox"},
      {GamepadStyle::PLAYSTATION, "Gamepad: d-pad or stick, Cross, Circle, Options.", "instructions-keys-playstation"},
      {GamepadStyle::NINTENDO, "Gamepad: d-pad or stick, A, B, +.", "instructions-keys-nintendo"},
      {GamepadStyle::NINTENDO_BY_POSITION, "Gamepad: d-pad or stick, B, A, +.", "instructions-keys-nintendo-by-position"},
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
