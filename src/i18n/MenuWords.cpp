// The menu art's names and their words.
#include "MenuWords.h"

#include "Translation.h"

namespace {

struct Entry {
  const char* artName;
  const char* context;
  const char* words;
};

const Entry ENTRIES[] = {
    // TRANSLATORS: the menu's titles and buttons are about 180 pixels wide, set in 18-pixel bold;
    // a longer label is set smaller, so keep them short.
    {"ResumeGame", TRC_NOOP("menu button", "Resume Game")},
    {"NewGame", TRC_NOOP("menu button", "New Game")},
    {"GameSettings", TRC_NOOP("menu button", "Settings")},
    {"HighScores", TRC_NOOP("menu button", "High Scores")},
    {"Instructions", TRC_NOOP("menu button", "Instructions")},
    {"About", TRC_NOOP("menu button", "About Pellix")},
    {"Quit", TRC_NOOP("menu button", "Quit")},
    {"Settings", TRC_NOOP("screen title", "Settings")},
    {"Done", TRC_NOOP("menu button", "Done")},
    {"Back", TRC_NOOP("menu button", "Back")},
    {"WellDone", TRC_NOOP("screen title", "Well Done!")},
    // TRANSLATORS: confirms the name entered for a new high score.
    {"Okay", TRC_NOOP("menu button", "OK")},
    {"Next", TRC_NOOP("menu button", "Next")},
    {"Close", TRC_NOOP("menu button", "Close")},
    {"GameLevel", TRC_NOOP("screen title", "Game Mode")},
    {"GameVolume", TRC_NOOP("screen title", "Volume")},
    // TRANSLATORS: the bar under the start screen when no game is saved; about 260 pixels wide
    // in 14-pixel bold.
    {"TapToStartAGame", TRC_NOOP("bar", "Click to start a game")},
    // TRANSLATORS: the bar under the start screen when the saved game will resume.
    {"TapToContinue", TRC_NOOP("bar", "Click to continue")},
    // TRANSLATORS: the bar under "Game Over".
    {"TapToStartNewGame", TRC_NOOP("bar", "Click to start a new game")},
    // TRANSLATORS: the bar under the board; a click on it opens the game menu.
    {"GameMenuBar", TRC_NOOP("bar", "Click for the game menu")},
    // TRANSLATORS: the large heading when the board is full; 46-pixel bold, 270 pixels wide.
    {"GameOver", TRC_NOOP("heading", "Game Over")},
    {"BoardIsFull", TRC_NOOP("heading", "The board is full")},
    // TRANSLATORS: the line under the game's name on the start screen.
    {"Tagline", TRC_NOOP("start screen", "Line up five of a colour")},
    // TRANSLATORS: the small caption over the score at the top left of the board; about 40
    // pixels wide in 8.5-pixel bold capitals.
    {"ScoreCaption", TRC_NOOP("board caption", "SCORE")},
    // TRANSLATORS: the small caption over the level number; about 40 pixels wide.
    {"LevelCaption", TRC_NOOP("board caption", "LEVEL")},
};

}  // namespace

std::string MenuWords::label(const std::string& artName) {
  for (const Entry& entry : ENTRIES) {
    if (artName == entry.artName) return trContext(entry.context, entry.words);
  }
  return artName;
}
