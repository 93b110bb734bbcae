// GameController: the game controller. It owns the board, the local high scores, the high-score and
// settings screens and the renderer, runs the state machine that decides which screen is shown
// and which input is accepted, and has two kinds of entry: the frame tick and the touch
// handlers. The shell runs the frame tick's time step whenever it wakes, draws only when the
// game's frame schedule asks for a frame, and sleeps until the moment the schedule names.
// The shell owns the one controller; tests make their own. Everything runs on the main thread.
#pragma once

#include "BallGraphics.h"
#include "Board.h"
#include "ControlsDelegate.h"
#include "DoubleClickHandler.h"
#include "DrawState.h"
#include "GameClock.h"
#include "FrameSchedule.h"
#include "GameAction.h"
#include "GameKey.h"
#include "GameScreens.h"
#include "GameStates.h"
#include "HiScores.h"
#include "HiScoresMenu.h"
#include "KeyboardCursor.h"
#include "MoveGesture.h"
#include "PartialFrame.h"
#include "Mutex.h"
#include "PenaltyClock.h"
#include "Preferences.h"
#include "RandomSource.h"
#include "SaveFailureNotice.h"
#include "ScreenFlow.h"
#include "Settings.h"
#include "SettingsMenu.h"
#include "SoundPlayer.h"
#include "Square.h"
#include "String.h"

class Texture;

class GameController : public GameStates {
 public:

  // `liveSettings` (the player's settings), `preferences` (the desktop's choices, such as the
  // look, read before the controller is made) and `saveFailures` (where every failed save of the
  // run is noted, shown to the player once) are the shell's and outlive the controller; the
  // high-score screen's network workers get their HTTP transports from `makeTransport`; time
  // comes from `wallClock`, chance from an engine seeded with `seed`. With ALL_ART it needs a
  // current GL context (the renderer builds its textures). With NO_ART it needs no GL context and
  // may be made on another thread while the window opens; the start screen's art then follows in
  // drawFrame, the rest in completeStartUp.
  GameController(Settings& liveSettings, Preferences& preferences, MyTl::SaveFailureNotice& saveFailures,
                 const HttpTransportFactory& makeTransport, GameClock::WallClock wallClock, uint32_t seed,
                 BallGraphics::Art art = BallGraphics::ALL_ART);
  // Saves the game in progress; destroying the members then writes the high scores.
  ~GameController();
  GameController(const GameController&) = delete;
  GameController& operator=(const GameController&) = delete;

  // --- Game states ---
  void switchGameState(GameState state);
  // A new game on the same objects; chance goes on from the game's random source.
  void resetGame();
  // Places the announced balls after a move that removed nothing; ends the game when full.
  void addPendingBalls();
  // Ends a game: the full-board pause, the name entry, the game-over screen or a new game.
  void handleGameFinish(bool showGameOver, bool boardFull);
  // The two answers of the "Game Mode Change" question.
  void confirmSettingsChange();
  void cancelSettingsChange();

  // --- Saved game ---
  // Writes gameState.dat at `path` (replacing it in one step).
  void saveState(const char* path);
  // Loads the high scores from hiScoresFile, remembers stateFile and loads the game from it.
  // Called once at launch, on the start screen, which does not count as play: the game clock
  // is paused afterwards.
  void loadState(const char* stateFile, const char* hiScoresFile);
  void loadState();

  // --- Shell ---
  // The controls that the screens put over the frame (switches, name field, alerts) go into
  // `views`, which the shell draws over each frame and which gets touches first.
  void attachViews(const std::shared_ptr<Ui::View>& views);
  // What the network workers call from their threads when they end, so that the shell's loop
  // wakes and shows their result (must be safe to call from any thread). Set before play.
  void setWorkerWakeUp(const std::function<void()>& wake) { hiScoresMenu.setWorkerWakeUp(wake); }
  // The window went to the background: game time stands still until becomeActive.
  void resignActive();
  void becomeActive();

  // --- Frame ---
  // The whole frame tick: advanceFrame, then drawFrame unless the tick ended early.
  void drawBoard();
  // The frame tick's time step, without drawing: timed board events, the clock, the end of a
  // game, the idle ball and the penalty balls. False when the idle ball has just ended the game:
  // that tick draws nothing. The shell calls it every time its loop wakes.
  bool advanceFrame();
  // Draws the whole frame for the moment of the last time step (the shell presents it).
  // Called after advanceFrame when the schedule asks for a frame, and by the shell to draw the
  // last moment again at a new window size.
  void drawFrame();
  // What the shell's loop must do next: draw a frame now (something visible changed since the
  // last drawn frame, or something moves), or sleep until the next timed event or the next
  // moment the picture changes by itself (see FrameSchedule). Measured from the wall clock now.
  FrameSchedule frameSchedule();
  // Something visible changed outside the game's own bookkeeping (input reached the screen, a
  // network worker finished, the window needs a new picture): the next schedule asks for a frame.
  void markPictureChanged() { drawState.owePicture(); }
  // The shell draws every frame over the last one (its framebuffer keeps it): a frame of play
  // in which only animated squares change is then drawn only over their area.
  void allowPartialFrames(bool allowed) { partialFrame.allow(allowed); }
  // Whether the last frame drawn was drawn only over its animated squares.
  bool lastFrameWasPartial() const { return lastFramePartial; }
  // The area (screen units) that last partial frame was drawn over; only that part of the
  // frame changed, so only that part needs showing again.
  const PartialFrame::Area& lastFrameArea() const { return lastPartialArea; }
  // Generates the art that a NO_ART start left for later. The shell calls it right after the
  // start screen's first frame; drawing anything but the start screen calls it too.
  void completeStartUp();

  // --- Touches (screen pixels) ---
  void handleMouseDown(int x, int y);
  void handleMouseDrag(int x, int y);
  void handleMouseUp(int x, int y);
  // The square the finger means, snapped to a better neighbour when that helps; (-1, -1) if none.
  Square getCurrentMouseSquare(int x, int y, bool pickingBall);
  void setCurrentMouseSquare(Square& s);
  // Drops the selection (with the bad-move sound when asked).
  void deselectAsBadMove(bool playSound);
  // Ends a selection or drag whose ball left the board by anything but its own move (a line
  // that a dropped ball completed, a bomb's sweep): cleared as a deselection, silently. Called
  // after every step of the frame tick that drops balls and before every touch.
  void dropSelectionOfVanishedBall();

  // --- Actions (GameControllerActions.cpp) ---
  // Carries out what the player asked for, whichever device asked (see GameAction).
  void apply(const GameAction& action);
  // The top of the current screen's bottom button (instructions, settings, high scores, name
  // entry), where it is drawn and hit; -1 on other screens.
  int bottomButtonTop() const;

  // --- Keyboard (GameControllerKeyboard.cpp) ---
  // A key from the shell, after the controls over the frame had their turn: play on the board
  // through the keyboard cursor, the highlight of the menus, start and leave screens.
  void handleKey(GameKey key);
  // The mouse moved: the cursor's ring hides until the next key.
  void hideKeyboardCursor();

  // --- Penalty clock ---
  // Announces a penalty ball when a period has ended (the frame tick's time step does this);
  // returns the fraction of the current period that has elapsed, -1 when the clock is off.
  float announceDuePenaltyBall();
  // The fraction of the current period that has elapsed, as the strip shows it; -1 without clock.
  float penaltyFraction() const;

  // --- What the screens show (for the shell's devices and the tests) ---
  GameState state() const { return flow.current(); }
  // The screen before the current one.
  GameState previousScreen() const { return flow.previous(); }
  // The instructions page on screen, 1 to GameScreens::INSTRUCTION_PAGES.
  int instructionsPageShown() const { return flow.instructionsPage(); }
  // The button of the current screen drawn pressed, -1 for none.
  int highlightedButton() const { return flow.pressedButton(); }
  // No ball is held: the next click (or key) picks one up.
  bool waitingForFirstTap() const { return gesture.waitingForFirstTap(); }
  // The player chose "Quit" in the game menu: the shell ends the game as closing its window does.
  bool quitChosen() const { return quitWanted; }
  // Leaving the high-score screen starts a new game (the game it followed has ended).
  bool newGameAfterHiScores() const { return flow.newGameAfterHiScores(); }
  // The volume knob follows the pointer.
  bool draggingVolume() const { return flow.draggingVolume(); }
  // The squares the last completed lines took off the board.
  const SquareSet& lastRemovedSquares() const { return removedSquares; }
  // The cached board image of the last frame; null before the first frame in play.
  const Texture* boardImage() const { return drawState.boardImage(); }
  // The timer strip's frame in the last drawn frame; -1 when it was not drawn.
  int timerFrameShown() const { return drawState.timerFrameShown(); }

  // --- The parts the controller owns, for the shell's devices and the tests' set-up ---
  Settings& playerSettings() { return settings; }
  const Settings& playerSettings() const { return settings; }
  GameClock& gameClock() { return clock; }
  const GameClock& gameClock() const { return clock; }
  RandomSource& randomSource() { return random; }
  Board& gameBoard() { return board; }
  const Board& gameBoard() const { return board; }
  DoubleClickHandler& menuStrip() { return menuStripTaps; }
  HiScoresMenu& hiScoresScreen() { return hiScoresMenu; }
  SettingsMenu& settingsScreen() { return settingsMenu; }
  PenaltyClock& penaltyClock() { return penalty; }
  const PenaltyClock& penaltyClock() const { return penalty; }
  HiScores& localHiScores() { return hiScores; }
  const HiScores& localHiScores() const { return hiScores; }
  BallGraphics& renderer() { return graphics; }
  GameScreens& gameScreens() { return screens; }
  KeyboardCursor& cursor() { return keyboardCursor; }

  // High-score table of the running game: mode + 6 when the clock is off, at most 11.
  int tableIndex() const;
  // True when (x, y) lies in the menu strip below the board.
  bool isInMenuStrip(int y) const;

 private:
  // The controller's own state, declared before the parts it owns so that the controls'
  // delegate outlives the screens whose controls point to it.
  // Which screen shows and how the player got there.
  ScreenFlow flow;
  // The pointer's move in progress on the board.
  MoveGesture gesture;
  // What drawing keeps from frame to frame.
  DrawState drawState;
  bool quitWanted = false;
  // Whether the next frame of play may be drawn only where its squares move.
  PartialFrame partialFrame;
  bool lastFramePartial = false;
  PartialFrame::Area lastPartialArea;
  SquareSet removedSquares;
  Preferences& preferences;
  MyTl::SaveFailureNotice& saveFailures;
  // The sound effects of the board's events and of the controller's own moments.
  SoundPlayer sounds;
  MyTl::Mutex gameMutex;
  MyTl::BasicString<char> stateFileName;
  // The delegate of the controls the screens put over the frame; declared before the screens,
  // whose controls point to it, so that it outlives them.
  ControlsDelegate controlsDelegate;

 private:
  Settings& settings;
  GameClock clock;
  RandomSource random;
  Board board;
  // The taps on the menu strip below the board that open the game menu.
  DoubleClickHandler menuStripTaps;
  HiScoresMenu hiScoresMenu;
  SettingsMenu settingsMenu;
  // The penalty clock of the game in progress.
  PenaltyClock penalty;
  HiScores hiScores;
  BallGraphics graphics;
  // The screens drawn over the board (start screen, menus, name entry, game over).
  GameScreens screens;
  // The keyboard's square on the board; back on (0, 0) for each new game, kept across menus.
  KeyboardCursor keyboardCursor;

 private:
  // Whether the start screen leads back into a game read from the saved file (it then says
  // "Click to continue").
  bool savedGameResumes = false;
  // Whether game time ran when the window went to the background.
  bool clockWasRunning = false;
  // Plays the sound of something that happened on the board.
  void playSoundOf(BoardEvent event);
  // The score of the game in progress would take a place in its mode's local table.
  bool scoreEarnsAPlace() const;
  // Saves the game as it stands, so that a killed process loses nothing.
  void saveGameNow();
  // The move from the selected square to t, with its animations, row check and new balls.
  void makeMove(Square t);
  // The move credit of the penalty clock.
  void creditMove();
  // The idle-ball rule; false when it ended the game.
  bool dropIdleBall();
  // Penalty period in ms for the board's clock speed and level; 0 when the clock is off.
  float penaltyPeriod() const;
  // The penalty clock's moments for the frame schedule: the idle ball, the next penalty ball and
  // the next change of the timer strip.
  void schedulePenaltyClock(FrameSchedule& schedule) const;
  // The picture's own moments for the frame schedule: what moves, and when a still picture
  // changes next.
  void schedulePicture(FrameSchedule& schedule) const;
  // Every input starts here: the picture will change, the clock reads the moment, and a
  // selection whose ball has gone ends.
  void startInput();
  void handleScreenRelease(int x, int y, bool& consumed);
  void handlePlayRelease(int x, int y);
  // The square under screen point (x, y), without snapping; (-1, -1) off the board.
  Square squareUnder(int x, int y) const;
  void pressOnBoard(int x, int y);
  // On the game menu with nothing highlighted: the first entry is.
  void showMenuFocus();
  void releaseClick(Square pressed, bool onHeldBall);
  // Forgets the selection, its pulse, trail preview and reachable marks.
  void clearSelection();
  void startSelectionAnimation(const Square& q);
  void leaveSettings();
  // No board image yet, or what it shows differs from what the board image would show now.
  bool boardImageIsStale() const;
  // The board image is made afresh in the next frame (new art, another scale or look).
  void forgetBoardImage();
  // Shows, once per run, the first save that failed (which folder, why).
  void tellPlayerOfSaveFailure();
  // After the window moved to another resolution: textures of the new art scale when that
  // changed, and the pixel copies of the frame (board images) made afresh.
  void followDisplayScale();
  // After the renderer made its art again (another scale or look): the menus take its shared
  // overlay and divider and remake their own textures, as does the keyboard cursor.
  void followRegeneratedArt();
  // Draws with `look` from the next frame on, everywhere, and remembers it in the preferences.
  void chooseLook(Look look);
  // The look `step` places after (or before, when negative) the one in use, wrapping around.
  void stepLook(int step);
  // The time step of every square's animation (see AnimationHandler::settle).
  void settleAnimations();
  // The time step's part of the held ball's ghost (DragGhost): when its hover began, and the
  // size a selection shrinks back from when the ball is let go on its own square.
  void followDragTarget();
  // Keyboard play (GameControllerKeyboard.cpp).
  void handleBoardKey(GameKey key);
  // What a frame of play shows outside its animated squares, and where those squares are.
  PartialFrame::StillKey stillPictureKey() const;
  PartialFrame::Area animatedArea() const;
  // A frame of play shows something that changes by itself outside its animated squares.
  bool picturesMoveOutsideSquares() const;
  void handleHiScoresKey(GameKey key);
  void handleSettingsKey(GameKey key);
  void moveButtonHighlight(GameKey key, int count);
  // A key's press of button `index` of the current screen, shown highlighted while it acts.
  void pressMenuButton(int index);
  // The actions (GameControllerActions.cpp).
  void pickUp(Square q);
  // `missPutsBack`: an unreachable target puts the ball back instead of keeping it held.
  void dropAt(Square target, bool missPutsBack);
  // Button `index` of the current screen was pressed; true when that used up the touch (the
  // board beneath must not see its release).
  bool pressButton(int index);
};
