// Silent for now: the effect engine and the generated sounds arrive with the sound work, which
// fills these functions in. Until then every event plays nothing.
#include "SoundPlayer.h"

SoundPlayer::SoundPlayer() {}
SoundPlayer::~SoundPlayer() {}

void SoundPlayer::playTrelSound() {}
void SoundPlayer::playMoveSound() {}
void SoundPlayer::playLevelUpSound() {}
void SoundPlayer::playBadMoveSound() {}
void SoundPlayer::playMenuSwitchSound() {}
void SoundPlayer::playNewHiScoreSound() {}
void SoundPlayer::playGameOverSound() {}
void SoundPlayer::playDubiousMoveSound() {}
