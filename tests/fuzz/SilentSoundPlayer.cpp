// The sound player of the fuzz builds: every play call does nothing. Loading a saved game never
// plays a sound, and leaving the audio library out keeps the fuzzers independent of an audio
// device and keeps the leak checker to the game's own allocations.
#include "SoundPlayer.h"

#include "SourceLine.h"  // the complete type, for the members' destructor

SoundPlayer::SoundPlayer() = default;
SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::play(Slot) {}

void SoundPlayer::playTrelSound() {}
void SoundPlayer::playMoveSound() {}
void SoundPlayer::playLevelUpSound() {}
void SoundPlayer::playBadMoveSound() {}
void SoundPlayer::playMenuSwitchSound() {}
void SoundPlayer::playNewHiScoreSound() {}
void SoundPlayer::playGameOverSound() {}
void SoundPlayer::playDubiousMoveSound() {}
