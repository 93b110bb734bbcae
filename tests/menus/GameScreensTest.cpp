// The instruction pages' animation, the name entry for a new high score (its text, and its name
// field driven through the view root as the shell drives it) and the plain full-screen screens.
#include <gtest/gtest.h>

#include <string>

#include <filesystem>

#include "Alert.h"
#include "ViewKey.h"
#include "MenuScreenTest.h"
#include "RenderHarness.h"
#include "SyntheticResources.h"
#include "TextField.h"

namespace {

const char* const ANIMATION_STRIP = "Instructions-Page1Animation_1568x98-16.png";
const int CELL = 98;
const int CELL_LEFT = 111;  // where a frame is drawn
const int CELL_TOP = 111;

// Frame k of the coded strip is one flat colour whose red channel says k.
unsigned codedCell(int x, int) {
  const unsigned k = static_cast<unsigned>(x / CELL);
  return 0xFF000000u | ((20u + 14u * k) << 16) | ((240u - 14u * k) << 8) | 90u;
}

int decodeCell(const ScreenImage::Colour& c) { return (c.r - 20 + 7) / 14; }

class GameScreensTest : public MenuScreenTest {
 protected:
  // The name-entry screen after a game that scored `score` points.
  void openNameEntry(int score) {
    emptyBoardInPlay();
    put(0, 0, STONE_RED);
    game->gameBoard().score = score;
    game->handleGameFinish(false, false);
    ASSERT_EQ(GameController::STATE_NEW_HISCORE, game->state());
  }
  void tapOkay() { tapScreen(160, game->bottomButtonTop() + 26); }
  // Whether the frame stays the same when the screen's text is replaced by `text` rendered as
  // the name entry renders its text.
  bool nameEntryTextIs(const std::string& text) {
    const ScreenImage before = render();
    Texture* shown = game->gameScreens().menuTexts[0];
    game->gameScreens().menuTexts[0] = game->gameScreens().addMenuTexture(
        new Texture(text.c_str(), 160, 75, Texture::ALIGN_LEFT, "Helvetica", 14, 1.0f, false, true));
    const ScreenImage after = render();
    game->gameScreens().menuTexts[0] = shown;
    return after.countDifferences(before) == 0;
  }
  Ui::TextField& nameField() { return *game->gameScreens().nameField; }
};

TEST_F(GameScreensTest, PageOneAnimationShowsTheFrameOfTheClockTime) {
  openFromGameMenu(GameController::STATE_INSTRUCTIONS);
  {
    // The strip is cut into frames on the page's first frame.
    SyntheticResources resources;
    resources.replace(ANIMATION_STRIP, 16 * CELL, CELL, codedCell);
    render();
  }
  struct Case {
    int nowMs, frame;
  } cases[] = {{0, 0},     {2549, 0},  {2550, 1},  {2699, 1},  {2700, 2},  {2850, 3},   {2999, 3},
               {3000, 4},  {5549, 4},  {5550, 5},  {11999, 15}, {12000, 0}, {45000, 12}, {47999, 15},
               {48000, 0}, {50550, 1}};
  for (const Case& c : cases) {
    setClockNow(c.nowMs);
    const ScreenImage shot = render();
    EXPECT_EQ(c.nowMs, game->gameClock().nowMs());
    // The frame covers its whole 98 x 98 cell and nothing beside it.
    EXPECT_EQ(c.frame, decodeCell(shot.pixel(CELL_LEFT + CELL / 2, CELL_TOP + CELL / 2))) << c.nowMs << " ms";
    EXPECT_EQ(c.frame, decodeCell(shot.pixel(CELL_LEFT, CELL_TOP))) << c.nowMs << " ms";
    EXPECT_EQ(c.frame, decodeCell(shot.pixel(CELL_LEFT + CELL - 1, CELL_TOP + CELL - 1))) << c.nowMs << " ms";
    EXPECT_NE(shot.pixel(CELL_LEFT + CELL, CELL_TOP + 10).g, shot.pixel(CELL_LEFT + CELL - 1, CELL_TOP + 10).g);
  }
}

TEST_F(GameScreensTest, PageOneAnimationOfTheGamesArtChangesOnlyInsideItsCell) {
  openFromGameMenu(GameController::STATE_INSTRUCTIONS);
  setClockNow(2549);
  const ScreenImage first = render("instructions-animation-2549ms");
  setClockNow(2550);
  const ScreenImage second = render("instructions-animation-2550ms");
  const PixelBox changed = second.differenceBox(first);
  EXPECT_FALSE(changed.empty());
  EXPECT_TRUE((PixelBox{CELL_LEFT, CELL_TOP, CELL_LEFT + CELL - 1, CELL_TOP + CELL - 1}.contains(changed))) << changed;
}

TEST_F(GameScreensTest, NameEntryTextNamesTheScoreAndNothingElse) {
  openNameEntry(1250);
  render("name-entry");
  EXPECT_TRUE(nameEntryTextIs("You scored 1250 points! Enter your name for the high scores:"));
  // The comparison sees single characters.
  EXPECT_FALSE(nameEntryTextIs("You scored 1250 points ! Enter your name for the high scores:"));
  EXPECT_FALSE(nameEntryTextIs("You scored 1,250 points! Enter your name for the high scores:"));
  // It is drawn at (77, 158) in its 160 x 75 box.
  const ScreenImage withText = render();
  game->gameScreens().menuTexts[0] = game->gameScreens().addMenuTexture(
      new Texture("", 160, 75, Texture::ALIGN_LEFT, "Helvetica", 14, 1.0f, false, true));
  const PixelBox text = render().differenceBox(withText);
  EXPECT_TRUE((PixelBox{77, 158, 77 + 159, 158 + 74}.contains(text))) << text;
  EXPECT_LE(text.left, 80) << text;
  EXPECT_LE(text.top, 162) << text;
}

TEST_F(GameScreensTest, EmptyNameFieldGivesAnEmptyNameNeverThePlaceholder) {
  openNameEntry(1250);
  render("name-entry-empty-field", true);
  ASSERT_TRUE(game->gameScreens().nameField);
  EXPECT_EQ(views.get(), nameField().superview());
  EXPECT_TRUE(nameField().isEditing());
  EXPECT_EQ("Type your name", nameField().placeholder());
  EXPECT_EQ("", nameField().text());

  tapOkay();
  EXPECT_EQ(GameController::STATE_HISCORES, game->state());
  EXPECT_EQ(nullptr, nameField().superview());
  const HiScore& entry = game->localHiScores().table(game->tableIndex())[0];
  EXPECT_EQ(1250, entry.score);
  EXPECT_STREQ("", entry.name.c_str());
  EXPECT_STREQ("", game->gameScreens().getNameEnteredForNewHiScore().c_str());
}

// The field has the focus at once: typing goes in without a click, and one Return takes the name.
TEST_F(GameScreensTest, TypedNameIsTakenAsUtf8WithOneReturnAndOfferedAgainNextTime) {
  openNameEntry(1250);
  render();
  ASSERT_TRUE(nameField().isEditing());
  EXPECT_TRUE(views->isTextInputActive());
  EXPECT_TRUE(views->handleTextInput("Zo\xC3\xAB"));
  EXPECT_TRUE(views->handleTextInput(" \xF0\x9F\x8E\xB2"));
  render("name-entry-typed", true);
  EXPECT_TRUE(views->handleKey(Ui::ViewKey::RETURN));

  const std::string typed = "Zo\xC3\xAB \xF0\x9F\x8E\xB2";
  EXPECT_EQ(GameController::STATE_HISCORES, game->state());
  EXPECT_EQ(typed, game->localHiScores().table(game->tableIndex())[0].name.c_str());
  EXPECT_EQ(typed, game->localHiScores().lastName.c_str());
  EXPECT_FALSE(views->isTextInputActive());
  EXPECT_EQ(nullptr, nameField().superview());

  // The next name entry offers the same name, selected: Return keeps it, typing replaces it.
  views->handleKey(Ui::ViewKey::ESCAPE);  // the offer to submit the score, if any
  for (const bool replace : {false, true}) {
    SCOPED_TRACE(replace);
    game->switchGameState(GameController::STATE_PLAYING);
    game->gameBoard().score = replace ? 2100 : 2000;
    game->handleGameFinish(false, false);
    ASSERT_EQ(GameController::STATE_NEW_HISCORE, game->state());
    render();
    EXPECT_EQ(views.get(), nameField().superview());
    EXPECT_TRUE(nameField().isEditing());
    EXPECT_TRUE(nameField().isAllSelected());
    EXPECT_EQ(typed, nameField().text());
    if (replace) {
      EXPECT_TRUE(views->handleTextInput("Bo"));
    }
    EXPECT_TRUE(views->handleKey(Ui::ViewKey::RETURN));
    ASSERT_EQ(GameController::STATE_HISCORES, game->state());
    EXPECT_EQ(replace ? "Bo" : typed, game->localHiScores().table(game->tableIndex())[0].name.c_str());
    views->handleKey(Ui::ViewKey::ESCAPE);
  }
}

// Before any name was entered the field offers the account's real name; once a name was
// entered, that one.
TEST_F(GameScreensTest, FirstNameEntryOffersTheAccountsName) {
  game->gameScreens().setAccountName("Ann Smith");
  openNameEntry(300);
  render();
  EXPECT_EQ("Ann Smith", nameField().text());
  EXPECT_TRUE(nameField().isAllSelected());
  EXPECT_TRUE(views->handleKey(Ui::ViewKey::RETURN));
  EXPECT_STREQ("Ann Smith", game->localHiScores().table(game->tableIndex())[0].name.c_str());

  views->handleKey(Ui::ViewKey::ESCAPE);  // the offer to submit the score, if any
  game->localHiScores().lastName = MyTl::BasicString<char>("Kim");
  game->switchGameState(GameController::STATE_PLAYING);
  game->gameBoard().score = 400;
  game->handleGameFinish(false, false);
  ASSERT_EQ(GameController::STATE_NEW_HISCORE, game->state());
  EXPECT_EQ("Kim", nameField().text());
}

TEST_F(GameScreensTest, NameTypedWhileEditingIsTakenWhenOkayIsTappedWithoutReturn) {
  openNameEntry(700);
  render();
  tapScreen(160, 249);
  views->handleTextInput("Ann");
  tapOkay();
  EXPECT_EQ(GameController::STATE_HISCORES, game->state());
  EXPECT_STREQ("Ann", game->localHiScores().table(game->tableIndex())[0].name.c_str());
  EXPECT_FALSE(views->isTextInputActive());
}

// The game menu's About panel tells the version and where the player's files are kept, and
// leaves the menu as it was; Quit asks the shell to end the game.
TEST_F(GameScreensTest, AboutTellsTheVersionAndTheFoldersAndQuitAsksTheShellToEnd) {
  const int menuTop = (480 - 53 * 7) / 2;
  game->gameScreens().setAboutFacts(
      GameScreens::AboutFacts{"9.8.7", "/home/ann/.local/share/pellix", "/home/ann/.config/pellix/preferences"});
  emptyBoardInPlay();
  put(0, 0, STONE_RED);
  game->switchGameState(GameController::STATE_GAME_MENU);
  render("game-menu-seven-entries");
  tapScreen(160, menuTop + 53 * GameScreens::MENU_ABOUT + 26);
  Ui::Alert* about = game->gameScreens().aboutAlert.get();
  ASSERT_NE(nullptr, about);
  EXPECT_EQ(about, views->activeModal());
  EXPECT_EQ("About Pellix", about->title());
  for (const char* part : {"Version 9.8.7", "/home/ann/.local/share/pellix/", "/home/ann/.config/pellix/preferences"})
    EXPECT_NE(std::string::npos, about->message().find(part)) << about->message();
  ASSERT_EQ(1, about->numberOfButtons());
  EXPECT_EQ("OK", about->buttonTitleAtIndex(0));
  render("about", true);
  EXPECT_TRUE(views->handleKey(Ui::ViewKey::RETURN));
  EXPECT_FALSE(about->isVisible());
  EXPECT_EQ(GameController::STATE_GAME_MENU, game->state());

  EXPECT_FALSE(game->quitChosen());
  tapScreen(160, menuTop + 53 * GameScreens::MENU_QUIT + 26);
  EXPECT_TRUE(game->quitChosen());

  // With nowhere to keep the files, the panel says so.
  game->gameScreens().setAboutFacts(GameScreens::AboutFacts{"9.8.7", "", ""});
  EXPECT_NE(std::string::npos, game->gameScreens().aboutText().find("nothing is saved"));
  EXPECT_EQ(std::string::npos, game->gameScreens().aboutText().find("preferences"));
}

TEST_F(GameScreensTest, FullScreenPicturesOfStartAndGameOver) {
  const ScreenImage splash = render("splash");
  // The start picture is opaque: the black screen does not show through.
  EXPECT_GT(splash.meanBrightness(PixelBox{0, 0, 319, 435}), 10.0);
  emptyBoardInPlay();
  put(0, 0, STONE_RED);
  game->switchGameState(GameController::STATE_GAME_OVER);
  const ScreenImage over = render("game-over");
  // The new-game bar sits at the bottom from y = 436.
  EXPECT_NE(0, over.countDifferences(splash, 8, PixelBox{0, 436, 319, 479}));
}

TEST_F(GameScreensTest, TwoSwitchesBeforeAFrameReleaseTheOldMenuOnceAndTheNewOneStays) {
  emptyBoardInPlay();
  put(0, 0, STONE_RED);
  game->switchGameState(GameController::STATE_GAME_MENU);
  render();
  ASSERT_FALSE(game->gameScreens().menuElements.empty());
  const TexturePtr oldMenu = game->gameScreens().menuElements[0];
  game->switchGameState(GameController::STATE_SETTINGS);
  game->switchGameState(GameController::STATE_INSTRUCTIONS);
  EXPECT_EQ(2, oldMenu.useCount());  // nothing goes before the next draw
  render();
  EXPECT_EQ(1, oldMenu.useCount());

  // The instruction page built in that frame stays for the frames after it.
  const TexturePtr newMenu = game->gameScreens().menuElements[0];
  const int count = game->gameScreens().menuElements.size();
  Texture* title = game->gameScreens().titleTexture;
  render();
  render();
  EXPECT_EQ(2, newMenu.useCount());
  EXPECT_EQ(count, game->gameScreens().menuElements.size());
  EXPECT_EQ(title, game->gameScreens().titleTexture);
}

TEST_F(GameScreensTest, PageNumbersOtherThanOneToThreeShowTheLastPagesContent) {
  openFromGameMenu(GameController::STATE_INSTRUCTIONS);
  render();
  RenderHarness& harness = *RenderHarness::instance();
  const auto page = [&](int number) {
    harness.clear(0, 0, 0);
    game->gameScreens().justSwitchedMenu = true;
    game->gameScreens().drawInstructions(-1, number);
    harness.readBack();
    return ScreenImage(harness.pixels());
  };
  const ScreenImage last = page(GameScreens::INSTRUCTION_PAGES);
  const PixelBox aboveTheButton{0, 0, 319, 381};
  for (int number : {0, 5, -1}) EXPECT_EQ(0, page(number).countDifferences(last, 0, aboveTheButton)) << number;
  for (int number : {2, 3}) EXPECT_NE(0, page(number).countDifferences(last, 0, aboveTheButton)) << number;
}

// A save that fails (here a folder stands where the saved game goes) is told once, with the
// folder and the reason; play goes on and the folder is left as it was.
TEST_F(GameScreensTest, AFailedSaveIsToldOnceAndPlayGoesOn) {
  emptyBoardInPlay();
  ASSERT_TRUE(std::filesystem::create_directory(statePath()));
  put(0, 0, STONE_BLUE);
  // No announced balls: nothing falls onto the squares the moves use.
  game->gameBoard().pendingStones.clear();
  game->gameBoard().pendingStoneTimes.clear();
  dragBall(Square(0, 0), Square(2, 0));  // every move saves the game
  render();
  ASSERT_TRUE(game->gameScreens().saveFailureAlert != nullptr);
  Ui::Alert& alert = *game->gameScreens().saveFailureAlert;
  EXPECT_TRUE(alert.isVisible());
  EXPECT_EQ("Cannot Save", alert.title());
  EXPECT_NE(std::string::npos, alert.message().find(folder)) << alert.message();
  EXPECT_NE(std::string::npos, alert.message().find("not a regular file")) << alert.message();
  EXPECT_TRUE(views->handleKey(Ui::ViewKey::RETURN));
  EXPECT_FALSE(alert.isVisible());

  dragBall(Square(2, 0), Square(4, 0));
  render();
  EXPECT_EQ(STONE_BLUE, game->gameBoard().stones[0][4]);
  EXPECT_FALSE(alert.isVisible());
  EXPECT_TRUE(std::filesystem::is_directory(statePath()));
  std::filesystem::remove(statePath());
}

}  // namespace
