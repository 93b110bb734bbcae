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
  drawState.followDisplay(DisplayScale::generation());
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
  // Return in the name field confirms the name as Return on the name entry does.
  controlsDelegate.nameConfirmed = [this] { handleKey(GameKey::ACTIVATE); };
  switchGameState(STATE_SPLASH);
  flow.release();
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
  // The screens took their handle of the shared menu divider when they were made.
  screens.menuDivider = graphics.menuDivider;
}

GameController::~GameController() {
  saveState(stateFileName.c_str());
  // The board image goes while the renderer it was drawn with still exists.
  drawState.forgetBoardImage();
}

int GameController::tableIndex() const {
  const int index = board.settings.gameMode + 6 * (board.settings.clockDisabled ? 1 : 0);
  return index < HiScores::TABLE_COUNT - 1 ? index : HiScores::TABLE_COUNT - 1;
}

void GameController::switchGameState(GameState state) {
  drawState.owePicture();
  if (flow.current() == STATE_HISCORES) hiScoresMenu.finishedShowingHighScores(hiScores);
  if (state == STATE_NEW_HISCORE) {
    board.queueEvent(Board::TimedEvent::NEW_HIGH_SCORE, clock.nowMs() + NEW_HISCORE_SOUND_DELAY_MS);
  } else if (state != STATE_GAME_OVER && state != STATE_GAME_ENDING && state != STATE_SPLASH) {
    sounds.playMenuSwitchSound();
    if (state == STATE_INSTRUCTIONS) flow.openInstructions();
  }
  // The high-score screen shows every visible row, free ones too.
  if (state == STATE_HISCORES) hiScores.padTableToVisibleLength(tableIndex());
  screens.justSwitchedMenu = true;

  const GameState oldState = flow.current();
  // A highlight belongs to the screen it was shown on.
  flow.release();
  flow.goTo(state);
  showMenuFocus();
  if (state == STATE_HISCORES) hiScoresMenu.beginVisit(screens, hiScores.lastAdded, tableIndex());
  if (state == STATE_SETTINGS || state == STATE_SETTINGS_CONFIRM) settingsMenu.beginVisit(screens);
  if (state == STATE_NEW_HISCORE) screens.beginNameEntry(hiScores.lastName.c_str());
  // Game time runs only in play (resuming also when the clock was not paused).
  if (state == STATE_PLAYING) {
    clock.resume();
  } else if (oldState == STATE_PLAYING) {
    clock.pause();
  }
}

void GameController::showMenuFocus() {
  // The game menu shows its highlight at once, on its first entry, however it was opened (and
  // whatever a press that led elsewhere left).
  if (flow.current() == STATE_GAME_MENU && flow.pressedButton() == -1) flow.press(0);
}

void GameController::resetGame() {
  clock.reset();
  drawState.restartNumbers();
  const int now = clock.gameTime();
  penalty.restart(now);
  gesture.restart(now);
  // The ring goes back to the corner of a new board, hidden until a key is pressed.
  keyboardCursor.reset();
  board.reset(true);
  drawState.owePicture();
}

void GameController::addPendingBalls() {
  if (!board.addPendingBalls() || board.freeSquares.empty()) handleGameFinish(true, true);
}

void GameController::handleGameFinish(bool showGameOver, bool boardFull) {
  if (boardFull) {
    switchGameState(STATE_GAME_ENDING);
    board.queueEvent(Board::TimedEvent::GAME_OVER, clock.nowMs() + GAME_OVER_SOUND_DELAY_MS);
    flow.markGameEnding(clock.nowMs());
    clock.pause();
    // The full board is saved too: loading it starts a new game, so a finished game is
    // never resumed, even if the process is killed now.
    saveGameNow();
    return;
  }
  if (scoreEarnsAPlace()) {
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

bool GameController::scoreEarnsAPlace() const {
  return board.score != 0 && hiScores.getScorePosition(tableIndex(), board.score) <= HiScores::VISIBLE_ENTRIES;
}

void GameController::confirmSettingsChange() {
  settings.setValues();
  settings.save();
  switchGameState(STATE_PLAYING);
  settingsMenu.finishedShowing();
  // The game played so far ends as "New Game" ends it: a score with a place goes into the
  // table of the mode it was played in, and leaving the high scores starts the new mode.
  handleGameFinish(false, false);
}

void GameController::cancelSettingsChange() {
  // Only the mode is put back; the switches keep what the player set.
  settings.gameMode = board.settings.gameMode;
  settings.setValues();
  settings.save();
  switchGameState(flow.twoBack());
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
  // Game time stands still from before the read: a game loaded and saved again untouched keeps
  // its clock intervals to the millisecond, however long the start-up took.
  clock.pause();
  loadState();
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
