// The controller's state machine, new games, the end of a game, the settings answers and the
// saved game.
#include "TrelGame.h"

#include <cstdlib>
#include <ctime>

#include "DisplayScale.h"
#include "DoubleClickHandler.h"
#include "GameClock.h"
#include "GameStateFile.h"
#include "Lock.h"
#include "MenuDelegate.h"
#include "Texture.h"

TrelGame* TrelGame::instance = nullptr;

namespace {

const int NEW_HISCORE_SOUND_DELAY_MS = 300;
const int GAME_OVER_SOUND_DELAY_MS = 500;

}  // namespace

TrelGame::TrelGame(BallGraphics::Art art) : graphics(art), screens(graphics) {
  // The renderer's textures (made now, or later at the scale of that moment) follow the display
  // as it is.
  displayGeneration = DisplayScale::generation();
  MenuDelegate::initMyDelegateIfNeccessary(&hiScoresMenu, &screens);
  MenuDelegate::myDelegate->settingsAnswer = [this](bool confirmed) {
    if (confirmed) {
      confirmSettingsChange();
    } else {
      cancelSettingsChange();
    }
  };
  switchGameState(STATE_SPLASH);
  pressedButton = -1;
  mainMenuButtonClickHandler.reset();
  resetGame(true);
}

void TrelGame::completeStartUp() {
  if (graphics.isComplete()) return;
  graphics.generateBalls();
  // The screens took their handles of the shared menu art when they were made.
  screens.sunOverlay = graphics.sunOverlay;
  screens.menuDivider = graphics.menuDivider;
}

TrelGame::~TrelGame() {
  if (MenuDelegate::myDelegate != nullptr) MenuDelegate::myDelegate->settingsAnswer = nullptr;
  saveState(stateFileName.c_str());
  delete boardSnapshot;
}

int TrelGame::tableIndex() const {
  const int index = board.settings.gameMode + 6 * (board.settings.clockDisabled ? 1 : 0);
  return index < HiScores::TABLE_COUNT - 1 ? index : HiScores::TABLE_COUNT - 1;
}

void TrelGame::switchGameState(GameState state) {
  board.dirty = true;
  pictureChanged = true;
  if (gameState == STATE_HISCORES) hiScoresMenu.finishedShowingHighScores(hiScores);
  if (state == STATE_NEW_HISCORE) {
    board.pendingSounds.append(Board::PendingSound(Board::PendingSound::NEW_HISCORE_SOUND,
                                                   GameClock::instance.nowMs + NEW_HISCORE_SOUND_DELAY_MS, -1));
  } else if (state != STATE_GAME_OVER && state != STATE_GAME_ENDING && state != STATE_SPLASH) {
    board.soundPlayer.playMenuSwitchSound();
    if (state == STATE_INSTRUCTIONS) instructionsPage = 1;
  }
  screens.justSwitchedMenu = true;

  const GameState oldState = gameState;
  stateBeforePrevious = previousState;
  previousState = gameState;
  gameState = state;
  settingsFocus = -1;
  if (state == STATE_PLAYING && oldState != STATE_PLAYING) keyboardCursor.reset();
  // Game time runs only in play (resuming also when the clock was not paused).
  if (state == STATE_PLAYING) {
    GameClock::instance.resume();
  } else if (oldState == STATE_PLAYING) {
    GameClock::instance.pause();
  }
}

void TrelGame::resetGame(bool reseed) {
  if (reseed) std::srand(static_cast<unsigned>(std::time(nullptr)));
  GameClock::instance.reset();
  scoreNumber.value = -1;
  levelNumber.value = -1;
  const int now = GameClock::instance.gameTime();
  lastPenaltyTime = lastMoveTime = mouseSquareTime = previousMouseSquareTime = now;
  hoverStartTime = -1;
  currentMouseSquare = previousMouseSquare = Square();
  awaitingFirstTap = true;
  board.reset(true);
  pictureChanged = true;
}

void TrelGame::addPendingBalls() {
  if (!board.addPendingBalls() || board.freeSquares.empty()) handleGameFinish(true, true);
}

void TrelGame::handleGameFinish(bool showGameOver, bool boardFull) {
  if (boardFull) {
    switchGameState(STATE_GAME_ENDING);
    board.pendingSounds.append(Board::PendingSound(Board::PendingSound::GAME_OVER_SOUND,
                                                   GameClock::instance.nowMs + GAME_OVER_SOUND_DELAY_MS, -1));
    gameEndTime = GameClock::instance.nowMs;
    GameClock::instance.pause();
    // The full board is saved too: loading it starts a new game, so a finished game is
    // never resumed, even if the process is killed now.
    saveGameNow();
    return;
  }
  if (board.score != 0 && hiScores.getScorePosition(tableIndex(), board.score) <= HiScores::VISIBLE_ENTRIES) {
    switchGameState(STATE_NEW_HISCORE);
    return;
  }
  if (showGameOver) {
    switchGameState(STATE_GAME_OVER);
  } else {
    resetGame(true);
    saveGameNow();
  }
}

void TrelGame::confirmSettingsChange() {
  Settings::instance->setValues();
  Settings::instance->save();
  switchGameState(STATE_PLAYING);
  settingsMenu.finishedShowing();
  resetGame(true);
  saveGameNow();
}

void TrelGame::cancelSettingsChange() {
  // Only the mode is put back; the switches keep what the player set.
  Settings::instance->gameMode = board.settings.gameMode;
  Settings::instance->setValues();
  Settings::instance->save();
  switchGameState(stateBeforePrevious);
  settingsMenu.finishedShowing();
}

void TrelGame::saveState(const char* path) {
  GameStateFile::ClockIntervals intervals;
  const int now = GameClock::instance.gameTime();
  intervals.sinceLastMove = static_cast<double>(now - lastMoveTime);
  intervals.sinceLastPenalty = static_cast<double>(now - lastPenaltyTime);
  GameStateFile::save(path, board, intervals);
}

void TrelGame::saveGameNow() {
  if (!stateFileName.empty()) saveState(stateFileName.c_str());
}

void TrelGame::loadState(const char* stateFile, const char* hiScoresFile) {
  hiScores.loadHiScores(hiScoresFile);
  stateFileName = MyTl::BasicString<char>(stateFile);
  loadState();
}

void TrelGame::loadState() {
  GameStateFile::ClockIntervals intervals;
  if (!GameStateFile::load(stateFileName.c_str(), board, intervals)) {
    resetGame(true);
    return;
  }
  const int now = GameClock::instance.gameTime();
  lastMoveTime = now - static_cast<int>(intervals.sinceLastMove);
  lastPenaltyTime = now - static_cast<int>(intervals.sinceLastPenalty);
}

float TrelGame::SpinningNumber::getNumberToShow(int target) {
  if (value == -1 || value == target) {
    value = target;
    changeTime = -1.0;
    return static_cast<float>(target);
  }
  if (changeTime == -1.0) changeTime = GameClock::instance.nowMs;
  // The number climbs by one every 300 ms from the last value reached.
  const float shown = static_cast<float>(static_cast<double>(static_cast<float>(value)) +
                                         (GameClock::instance.nowMs - static_cast<int>(changeTime)) / 300.0);
  if (shown >= static_cast<float>(target)) {
    value = target;
    changeTime = -1.0;
  }
  return shown;
}
