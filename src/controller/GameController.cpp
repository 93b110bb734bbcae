// The controller's state machine, new games, the end of a game, the settings answers, the look
// and the saved game.
#include "GameController.h"

#include <iterator>
#include <utility>

#include "DisplayScale.h"
#include "GameStateFile.h"
#include "Lock.h"
#include "Texture.h"

namespace {

const int NEW_HISCORE_SOUND_DELAY_MS = 300;
const int GAME_OVER_SOUND_DELAY_MS = 500;

}  // namespace

GameController::GameController(Settings& liveSettings, Preferences& desktopPreferences, MyTl::SaveFailureNotice& failures,
                               const HttpTransportFactory& makeTransport, GameClock::WallClock wallClock, uint32_t seed,
                               BallGraphics::Art art)
    : preferences(desktopPreferences),
      saveFailures(failures),
      sounds(liveSettings),
      settings(liveSettings),
      clock(std::move(wallClock)),
      random(seed),
      board(clock, random, liveSettings),
      hiScoresMenu(makeTransport),
      settingsMenu(liveSettings),
      graphics(art, desktopPreferences.look()),
      screens(graphics) {
  // The renderer's textures (made now, or later at the scale of that moment) follow the display
  // as it is.
  displayGeneration = DisplayScale::generation();
  board.setEventHandler([this](BoardEvent event) { playSoundOf(event); });
  hiScores.reportSaveFailuresTo(&saveFailures);
  hiScoresMenu.setServerAddress(ScoreServerAddress(preferences.value(ScoreServerAddress::PREFERENCE_KEY)),
                                preferences.path());
  controlsDelegate.hiScoresMenu = &hiScoresMenu;
  controlsDelegate.screens = &screens;
  screens.setControlsDelegate(&controlsDelegate);
  controlsDelegate.settingsAnswer = [this](bool confirmed) {
    if (confirmed) {
      confirmSettingsChange();
    } else {
      cancelSettingsChange();
    }
  };
  switchGameState(STATE_SPLASH);
  pressedButton = -1;
  menuStripTaps.reset();
  resetGame();
}

void GameController::playSoundOf(BoardEvent event) {
  switch (event) {
    case BoardEvent::BALL_MOVED: sounds.playMoveSound(); break;
    case BoardEvent::LINE_REMOVED: sounds.playLineRemovedSound(); break;
    case BoardEvent::LEVEL_REACHED: sounds.playLevelUpSound(); break;
    case BoardEvent::GAME_OVER: sounds.playGameOverSound(); break;
    case BoardEvent::NEW_HIGH_SCORE: sounds.playNewHiScoreSound(); break;
  }
}

void GameController::completeStartUp() {
  if (graphics.isComplete()) return;
  graphics.generateBalls();
  // The screens took their handles of the shared menu art when they were made.
  screens.sunOverlay = graphics.sunOverlay;
  screens.menuDivider = graphics.menuDivider;
}

GameController::~GameController() {
  saveState(stateFileName.c_str());
  delete boardSnapshot;
}

int GameController::tableIndex() const {
  const int index = board.settings.gameMode + 6 * (board.settings.clockDisabled ? 1 : 0);
  return index < HiScores::TABLE_COUNT - 1 ? index : HiScores::TABLE_COUNT - 1;
}

void GameController::switchGameState(GameState state) {
  pictureChanged = true;
  if (gameState == STATE_HISCORES) hiScoresMenu.finishedShowingHighScores(hiScores);
  if (state == STATE_NEW_HISCORE) {
    board.queueEvent(Board::TimedEvent::NEW_HIGH_SCORE, clock.nowMs() + NEW_HISCORE_SOUND_DELAY_MS);
  } else if (state != STATE_GAME_OVER && state != STATE_GAME_ENDING && state != STATE_SPLASH) {
    sounds.playMenuSwitchSound();
    if (state == STATE_INSTRUCTIONS) instructionsPage = 1;
  }
  // The high-score screen shows every visible row, free ones too.
  if (state == STATE_HISCORES) hiScores.padTableToVisibleLength(tableIndex());
  screens.justSwitchedMenu = true;

  const GameState oldState = gameState;
  stateBeforePrevious = previousState;
  previousState = gameState;
  gameState = state;
  settingsFocus = -1;
  if (state == STATE_PLAYING && oldState != STATE_PLAYING) keyboardCursor.reset();
  if (state == STATE_HISCORES) hiScoresMenu.beginVisit(screens, hiScores.lastAdded, tableIndex());
  if (state == STATE_SETTINGS || state == STATE_SETTINGS_CONFIRM) settingsMenu.beginVisit(screens);
  // Game time runs only in play (resuming also when the clock was not paused).
  if (state == STATE_PLAYING) {
    clock.resume();
  } else if (oldState == STATE_PLAYING) {
    clock.pause();
  }
}

void GameController::resetGame() {
  clock.reset();
  scoreNumber.value = -1;
  levelNumber.value = -1;
  const int now = clock.gameTime();
  penalty.restart(now);
  mouseSquareTime = previousMouseSquareTime = now;
  hoverStartTime = -1;
  currentMouseSquare = previousMouseSquare = Square();
  awaitingFirstTap = true;
  board.reset(true);
  pictureChanged = true;
}

void GameController::addPendingBalls() {
  if (!board.addPendingBalls() || board.freeSquares.empty()) handleGameFinish(true, true);
}

void GameController::handleGameFinish(bool showGameOver, bool boardFull) {
  if (boardFull) {
    switchGameState(STATE_GAME_ENDING);
    board.queueEvent(Board::TimedEvent::GAME_OVER, clock.nowMs() + GAME_OVER_SOUND_DELAY_MS);
    gameEndTime = clock.nowMs();
    clock.pause();
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
    resetGame();
    saveGameNow();
  }
}

void GameController::confirmSettingsChange() {
  settings.setValues();
  settings.save();
  switchGameState(STATE_PLAYING);
  settingsMenu.finishedShowing();
  resetGame();
  saveGameNow();
}

void GameController::cancelSettingsChange() {
  // Only the mode is put back; the switches keep what the player set.
  settings.gameMode = board.settings.gameMode;
  settings.setValues();
  settings.save();
  switchGameState(stateBeforePrevious);
  settingsMenu.finishedShowing();
}

void GameController::saveState(const char* path) {
  GameStateFile::ClockIntervals intervals;
  const int now = clock.gameTime();
  intervals.sinceLastMove = static_cast<double>(penalty.sinceLastMove(now));
  intervals.sinceLastPenalty = static_cast<double>(penalty.sinceLastPenalty(now));
  GameStateFile::save(path, board, intervals, &saveFailures);
}

void GameController::saveGameNow() {
  if (!stateFileName.empty()) saveState(stateFileName.c_str());
}

void GameController::loadState(const char* stateFile, const char* hiScoresFile) {
  hiScores.loadHiScores(hiScoresFile);
  stateFileName = MyTl::BasicString<char>(stateFile);
  loadState();
  clock.pause();
}

void GameController::attachViews(const std::shared_ptr<Ui::View>& views) { screens.parent = views; }

void GameController::resignActive() {
  MyTl::Lock lock(gameMutex);
  clockWasRunning = !clock.isPaused();
  clock.pause();
}

void GameController::becomeActive() {
  MyTl::Lock lock(gameMutex);
  if (clockWasRunning) clock.resume();
}

void GameController::loadState() {
  GameStateFile::ClockIntervals intervals;
  // The board stamps its squares with the moment it was read.
  clock.refresh();
  savedGameResumes = GameStateFile::load(stateFileName.c_str(), board, intervals);
  if (!savedGameResumes) {
    resetGame();
    return;
  }
  penalty.resumeFrom(clock.gameTime(), static_cast<int>(intervals.sinceLastMove),
                     static_cast<int>(intervals.sinceLastPenalty));
}

float GameController::SpinningNumber::getNumberToShow(int target, int nowMs) {
  if (value == -1 || value == target) {
    value = target;
    changeTime = -1.0;
    return static_cast<float>(target);
  }
  if (changeTime == -1.0) changeTime = nowMs;
  // The number climbs by one every 300 ms from the last value reached.
  const float shown = static_cast<float>(static_cast<double>(static_cast<float>(value)) +
                                         (nowMs - static_cast<int>(changeTime)) / 300.0);
  if (shown >= static_cast<float>(target)) {
    value = target;
    changeTime = -1.0;
  }
  return shown;
}

void GameController::chooseLook(Look look) {
  MyTl::Lock lock(gameMutex);
  if (look == graphics.look()) return;
  graphics.setLook(look);
  if (graphics.isComplete()) followRegeneratedArt();
  forgetBoardImage();
  preferences.setLook(look);
  // Without a configuration folder the choice lasts for this session only.
  if (!preferences.path().empty()) preferences.save(&saveFailures);
}

void GameController::stepLook(int step) {
  chooseLook(Looks::stepped(graphics.look(), step));
}
