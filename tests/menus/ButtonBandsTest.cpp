// Where the menus' buttons are drawn: a finger on a button swaps in its highlighted image, and the
// pixels that change must lie in the band that the touch code hit-tests for that button. Also the
// game menu's panel with and without "Resume Game" and which image each button shows.
#include <gtest/gtest.h>

#include <string>

#include "MenuScreenTest.h"
#include "MenuWords.h"
#include "RenderHarness.h"

namespace {

// The normal picture of the menu button of entry `name`.
Texture* optionImage(const std::string& name) {
  return new Texture("MenuOption_01_200x52.png", 0, 0, {{LabelPainter::MENU_OPTION, MenuWords::label(name)}});
}

const int BUTTON_LEFT = 60;   // a 200-pixel button centred on x = 160
const int BUTTON_RIGHT = 259;
const int BUTTON_HEIGHT = 52;
const int CHANGE_TOLERANCE = 6;

// The band a button image may draw into, with its top at `top`.
PixelBox buttonBand(int top) { return PixelBox{BUTTON_LEFT, top, BUTTON_RIGHT, top + BUTTON_HEIGHT - 1}; }

class ButtonBandsTest : public MenuScreenTest {
 protected:
  // The pixels that change when the finger goes down at (x, y), then the finger leaves
  // elsewhere without activating anything.
  PixelBox highlightChange(int x, int y, const std::string& name) {
    // A press beside every button lights none (the game menu lights its first entry otherwise).
    game->handleMouseDown(5, 5);
    const ScreenImage normal = render();
    game->handleMouseUp(5, 5);
    game->handleMouseDown(x, y);
    const ScreenImage pressed = render(name);
    game->handleMouseUp(5, 5);
    return pressed.differenceBox(normal, CHANGE_TOLERANCE);
  }

  // Whether the frame stays exactly the same when button `index`'s normal image is replaced
  // by the button of menu entry `name` (its words painted on the button picture).
  bool buttonShows(int index, const std::string& name) {
    const ScreenImage before = render();
    MenuCommon::MenuButton& button = game->gameScreens().menuButtons[index];
    Texture* shown = button.normalTexture;
    button.normalTexture =
        game->gameScreens().addMenuTexture(optionImage(name));
    const ScreenImage after = render();
    button.normalTexture = shown;
    return after.countDifferences(before) == 0;
  }
};

TEST_F(ButtonBandsTest, GameMenuHighlightsTheButtonInTheBandThatIsHitTested) {
  emptyBoardInPlay();
  put(0, 0, STONE_RED);
  game->switchGameState(GameController::STATE_GAME_MENU);
  render("game-menu");
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    const int top = (480 - 53 * 7) / 2 + 53 * i;  // the column that the touch code hit-tests
    const PixelBox changed = highlightChange(160, top + 26, i == 2 ? "game-menu-pressed-2" : "");
    EXPECT_TRUE(buttonBand(top).contains(changed)) << changed;
    EXPECT_GE(changed.height(), 30) << changed;
    EXPECT_GE(changed.width(), 150) << changed;
  }
  EXPECT_EQ(GameController::STATE_GAME_MENU, game->state());
}

TEST_F(ButtonBandsTest, GameMenuPanelHoldsSevenButtonsWithAGameToResumeAndSixWithout) {
  emptyBoardInPlay();
  put(0, 0, STONE_RED);
  game->switchGameState(GameController::STATE_GAME_MENU);
  render();
  // The panel is asked for 53 x n + 50 rows.
  struct Case {
    bool canResume;
    int panelHeight;
    const char* name;
  } cases[] = {{true, 421, "game-menu-seven"}, {false, 368, "game-menu-six"}};
  const char* const entries[] = {"ResumeGame", "NewGame", "GameSettings", "HighScores", "Instructions", "About", "Quit"};
  RenderHarness& harness = *RenderHarness::instance();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto drawMenu = [&](bool switched, int highlighted) {
      harness.clear(0, 0, 0);
      if (switched) game->gameScreens().justSwitchedMenu = true;
      game->gameScreens().drawGameMenu(highlighted, c.canResume);
      harness.readBack();
      return ScreenImage(harness.pixels());
    };
    const ScreenImage menu = drawMenu(true, -1);
    EXPECT_TRUE(harness.savePng(screenshotPath(c.name)));
    ASSERT_TRUE(game->gameScreens().popBackground);
    EXPECT_EQ(c.panelHeight, game->gameScreens().popBackground->height);

    // The panel's top and bottom edges, seen in a column beside the buttons.
    const int top = (480 - c.panelHeight) / 2;
    const int bottom = top + c.panelHeight - 1;
    EXPECT_GT(menu.brightness(40, top + 4), menu.brightness(40, top - 3) + 8);
    EXPECT_GT(menu.brightness(40, bottom - 4), menu.brightness(40, bottom + 3) + 8);

    const int buttons = c.canResume ? 7 : 6;
    for (int i = 0; i < buttons; ++i) {
      SCOPED_TRACE(i);
      // The button sits in its band below the panel's top, 53 pixels apart.
      const PixelBox changed = drawMenu(false, i).differenceBox(menu, CHANGE_TOLERANCE);
      EXPECT_TRUE(buttonBand(top + 25 + 53 * i).contains(changed)) << changed;
      EXPECT_GE(changed.height(), 30) << changed;

      // It shows its entry (the list starts at "NewGame" without a game to resume): replacing
      // its image by that entry's image changes nothing, by another entry's image it does.
      const std::string entry = entries[i + (c.canResume ? 0 : 1)];
      const std::string other = entries[(i + 2) % 7];
      MenuCommon::MenuButton& button = game->gameScreens().menuButtons[i];
      Texture* original = button.normalTexture;
      const auto drawnWith = [&](const std::string& image) {
        button.normalTexture = game->gameScreens().addMenuTexture(
            optionImage(image));
        const ScreenImage shot = drawMenu(false, -1);
        button.normalTexture = original;
        return shot;
      };
      EXPECT_EQ(0, drawnWith(entry).countDifferences(menu)) << entry;
      EXPECT_NE(0, drawnWith(other).countDifferences(menu)) << other;
    }
  }
}

TEST_F(ButtonBandsTest, BottomButtonOfEachScreenIsDrawnWhereItIsHitTested) {
  // The button's top is yOffset - (480 - panel height) / 2 + 402: instructions 440 rows, settings
  // 490, high scores 400, name entry 340 raised by 20.
  struct Case {
    GameController::GameState state;
    int buttonTop;
    const char* name;
  } cases[] = {
      {GameController::STATE_INSTRUCTIONS, 382, "instructions-pressed"},
      {GameController::STATE_SETTINGS, 407, "settings-pressed"},
      {GameController::STATE_HISCORES, 362, "hiscores-pressed"},
      {GameController::STATE_NEW_HISCORE, 312, "name-entry-pressed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    openFromGameMenu(c.state);
    put(0, 0, STONE_RED);
    render();
    EXPECT_EQ(c.buttonTop, game->bottomButtonTop());
    const PixelBox changed = highlightChange(160, c.buttonTop + 26, c.name);
    EXPECT_TRUE(buttonBand(c.buttonTop).contains(changed)) << changed;
    EXPECT_GE(changed.height(), 30) << changed;
    EXPECT_GE(changed.width(), 150) << changed;
    EXPECT_EQ(c.state, game->state());
    game->switchGameState(GameController::STATE_PLAYING);
  }
}

TEST_F(ButtonBandsTest, InstructionPagesEndWithCloseAndOtherwiseShowNext) {
  openFromGameMenu(GameController::STATE_INSTRUCTIONS);
    const int last = GameScreens::INSTRUCTION_PAGES;
  for (int page = 1; page <= last; ++page) {
    SCOPED_TRACE(page);
    ASSERT_EQ(page, game->instructionsPageShown());
    render("instructions-page-" + std::to_string(page));
    EXPECT_TRUE(buttonShows(0, page == last ? "Close" : "Next"));
    EXPECT_FALSE(buttonShows(0, page == last ? "Next" : "Close"));
    tapScreen(160, game->bottomButtonTop() + 26);
  }
  EXPECT_EQ(GameController::STATE_GAME_MENU, game->state());
}

}  // namespace
