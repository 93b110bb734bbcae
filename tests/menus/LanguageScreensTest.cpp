// Every screen of the game in every language of po/LINGUAS and in the pseudo-locale (every
// message accented and about 40 % longer), drawn by the real controller and read back: no text
// may stick out of its box, be cut with an ellipsis, or hold characters no font can show. The
// fit of each text is recorded by the text textures and the label painter (TextFitLog). The
// frames are saved as screens/language-<code>-<screen>.png for reviewing the wording.
#include <gtest/gtest.h>
#include <libintl.h>

#include <cctype>
#include <clocale>
#include <ostream>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "Alert.h"
#include "GameKey.h"
#include "MenuScreenTest.h"
#include "MenuWords.h"
#include "TextField.h"
#include "TextFitLog.h"
#include "TextMeasurer.h"
#include "Translation.h"

namespace {

struct Language {
  std::string code;
  std::string folder;
};

void PrintTo(const Language& language, std::ostream* out) { *out << language.code; }

std::vector<Language> languages() {
  std::vector<Language> all;
  std::istringstream codes(PELLIX_TEST_LANGUAGES);
  std::string code;
  while (std::getline(codes, code, ','))
    if (!code.empty()) all.push_back({code, PELLIX_TEST_LOCALE_DIR});
  all.push_back({"en@pseudo", PELLIX_TEST_PSEUDO_LOCALE_DIR});
  return all;
}

// Chooses the catalogue the way the game does when the locale itself is not generated: C.UTF-8
// with LANGUAGE (setting the locale also makes gettext forget what it looked up before).
void useLanguage(const Language& language) {
  setenv("LANGUAGE", language.code.c_str(), 1);
  std::setlocale(LC_ALL, "C.UTF-8");
  bindtextdomain(Translation::DOMAIN, language.folder.c_str());
  bind_textdomain_codeset(Translation::DOMAIN, "UTF-8");
}

void useEnglish() {
  unsetenv("LANGUAGE");
  std::setlocale(LC_ALL, "C");
  bindtextdomain(Translation::DOMAIN, "/nonexistent");
}

class LanguageScreensTest : public MenuScreenTest, public ::testing::WithParamInterface<Language> {
 protected:
  void SetUp() override {
    // The bars and the board's captions are painted when the game makes its art.
    useLanguage(GetParam());
    TextFitLog::setRecording(true);
    TextFitLog::take();
    MenuScreenTest::SetUp();
  }
  void TearDown() override {
    MenuScreenTest::TearDown();
    TextFitLog::setRecording(false);
    TextFitLog::take();
    useEnglish();
  }

  // Draws the screen shown now (with its controls), saves it and checks every text made since the
  // last check; returns how many texts were checked.
  size_t check(const std::string& screen) {
    render("language-" + GetParam().code + "-" + screen, true);
    const std::vector<TextFitLog::Entry> entries = TextFitLog::take();
    for (const TextFitLog::Entry& entry : entries) {
      SCOPED_TRACE(screen + ": \"" + entry.text + "\"");
      EXPECT_EQ(0, entry.unknownGlyphs);
      EXPECT_FALSE(entry.ellipsized);
      EXPECT_FALSE(entry.overflows) << entry.boxWidth << " x " << entry.boxHeight << " at " << entry.usedSize << " px";
    }
    return entries.size();
  }
};

TEST_P(LanguageScreensTest, EveryScreenFitsItsWordsWithoutCutsOrMissingGlyphs) {
  // The catalogue is the one in use: the menu's words are not the English ones.
  ASSERT_NE("New Game", MenuWords::label("NewGame"));

  game->switchGameState(GameController::STATE_SPLASH);
  EXPECT_GT(check("start"), 0u);

  game->switchGameState(GameController::STATE_PLAYING);
  emptyBoardInPlay();
  put(1, 2, STONE_RAINBOW);
  put(2, 3, STONE_BOMB);
  game->gameBoard().score = 1234;
  check("play");

  game->switchGameState(GameController::STATE_GAME_MENU);
  EXPECT_GT(check("game-menu"), 0u);

  game->switchGameState(GameController::STATE_INSTRUCTIONS);
  for (int page = 1; page <= GameScreens::INSTRUCTION_PAGES; ++page) {
    ASSERT_EQ(page, game->instructionsPageShown());
    EXPECT_GT(check("instructions-" + std::to_string(page)), 0u);
    game->handleKey(GameKey::ACTIVATE);
  }

  game->switchGameState(GameController::STATE_PLAYING);
  openFromGameMenu(GameController::STATE_HISCORES);
  EXPECT_GT(check("high-scores"), 0u);

  game->switchGameState(GameController::STATE_PLAYING);
  emptyBoardInPlay();
  put(0, 0, STONE_RED);
  game->gameBoard().score = 501;
  game->handleGameFinish(false, false);
  ASSERT_EQ(GameController::STATE_NEW_HISCORE, game->state());
  EXPECT_GT(check("name-entry"), 0u);
  {
    // The hint in the empty name field fits the field.
    const std::shared_ptr<Ui::TextField>& field = game->gameScreens().nameField;
    ASSERT_NE(nullptr, field);
    EXPECT_LE(Ui::TextMeasurer::measure(field->placeholder(), "Helvetica", field->textPixelSize(), 0).width, 166 - 12)
        << field->placeholder();
    EXPECT_EQ(0u, game->gameScreens().getNameEnteredForNewHiScore().length());
  }

  game->switchGameState(GameController::STATE_PLAYING);
  emptyBoardInPlay();
  put(0, 0, STONE_RED);
  game->switchGameState(GameController::STATE_GAME_OVER);
  EXPECT_GT(check("game-over"), 0u);

  game->switchGameState(GameController::STATE_PLAYING);
  openFromGameMenu(GameController::STATE_SETTINGS);
  game->gameBoard().moveCount = 3;
  EXPECT_GT(check("settings"), 0u);
  // Another mode, then "Done": the question whether to end the running game.
  tapScreen(250, 200);
  tapScreen(160, game->bottomButtonTop() + 26);
  ASSERT_EQ(GameController::STATE_SETTINGS_CONFIRM, game->state());
  check("mode-change-question");
  ASSERT_NE(nullptr, game->gameScreens().settingsAlert);
  EXPECT_NE("Change the Game Mode?", game->gameScreens().settingsAlert->title());

  game->gameScreens().showSaveFailure("~/.local/share/pellix", "No space left on device");
  check("save-failure");
}

INSTANTIATE_TEST_SUITE_P(EveryLanguage, LanguageScreensTest, ::testing::ValuesIn(languages()),
                         [](const ::testing::TestParamInfo<Language>& info) {
                           std::string name;
                           for (char c : info.param.code) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

}  // namespace
