// SoundPlayer: the game's sound effects, one play function per event.
// The board owns the one instance (constructed with it at launch, destroyed at exit); the board
// and the controller call the play functions on the main thread.
#pragma once

class SoundPlayer {
 public:
  SoundPlayer();
  ~SoundPlayer();
  SoundPlayer(const SoundPlayer&) = delete;
  SoundPlayer& operator=(const SoundPlayer&) = delete;

  void playTrelSound();
  void playMoveSound();
  void playLevelUpSound();
  void playBadMoveSound();
  void playMenuSwitchSound();
  void playNewHiScoreSound();
  void playGameOverSound();
  void playDubiousMoveSound();
};
