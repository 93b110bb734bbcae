// SoundPlayer: the game's sound effects, one play function per event, over the effect engine
// (SoundEngine.h) that the program links. The controller owns the one instance (made with it at
// launch, destroyed at exit) and calls the play functions on the main thread. Each play reads
// the player's volume from the live settings it was given, which outlive it. The engine starts
// with the first sound, not with the player: an audio device and its mixer cost several MiB and
// a thread, which a game left on its start screen never needs. Without an audio device the
// player stays silent.
#pragma once

#include <memory>

class Settings;
class SourceLine;

class SoundPlayer {
 public:
  // Nothing starts yet: the first play starts the effect engine and loads the eight effects.
  explicit SoundPlayer(const Settings& liveSettings);
  // Unloads the effects and stops the engine, if it started.
  ~SoundPlayer();
  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;

  void playLineRemovedSound(); // a line was removed
  void playMoveSound();        // a ball was selected or moved
  void playLevelUpSound();     // the level rose
  void playBadMoveSound();     // a selection was dropped as a bad move
  void playMenuSwitchSound();  // the game state or menu changed (played quietly)
  void playNewHiScoreSound();  // a new high score
  void playGameOverSound();    // the game ended
  void playDubiousMoveSound();  // a doubtful drag target: deliberately silent

 private:
  enum Slot {
    SLOT_LINE_REMOVED, SLOT_MOVE, SLOT_MOUSE_MOVE, SLOT_LEVEL_UP,
    SLOT_BAD_MOVE, SLOT_MENU_SELECT, SLOT_NEW_HI_SCORE, SLOT_GAME_OVER,
    SLOT_COUNT
  };

  void play(Slot slot);
  // Starts the engine and loads the effects, once; false when there is no engine.
  bool startEngine();

  const Settings& settings;
  bool engineTried = false;
  bool engineStarted = false;
  // Null until the engine started, and when it could not.
  std::unique_ptr<SourceLine> lines_[SLOT_COUNT];
};
