// The game's sound effects over the effect engine.
#include "SoundPlayer.h"

#include "Settings.h"
#include "SoundEngine.h"
#include "SourceLine.h"

namespace {

struct EffectSlot {
  const char* name;
  float level;
};

// In slot order. "mouseMove" is loaded but no event plays it; "yay" serves both the level rise
// and a new high score; the menu sound is kept quiet because menus change often.
const EffectSlot kEffects[] = {
    {"trel", 1.0f}, {"move", 1.0f},       {"mouseMove", 1.0f}, {"yay", 1.0f},
    {"badMove", 1.0f}, {"MenuSelect", 0.2f}, {"yay", 1.0f},    {"GameOver", 1.0f},
};

// The settings file is read without a range check on the volume; a damaged value must neither
// play louder than full nor leave a source at a stale gain (OpenAL refuses negative or NaN).
float usableVolume(float volume) {
  if (!(volume >= 0.0f)) return 0.0f;
  return volume > 1.0f ? 1.0f : volume;
}

}  // namespace

SoundPlayer::SoundPlayer(const Settings& liveSettings) : settings(liveSettings) {
  static_assert(sizeof(kEffects) / sizeof(kEffects[0]) == SLOT_COUNT, "one effect per slot");
}

bool SoundPlayer::startEngine() {
  if (engineTried) return engineStarted;
  engineTried = true;
  // Without an engine (no output device) the player stays silent: no effect is loaded, and no
  // later sound tries the device again.
  if (SoundEngine_Initialize(44100.0f) != kSoundEngineNoError) return false;
  engineStarted = true;
  SoundEngine_SetListenerPosition(0.0f, 0.0f, 1.0f);
  SoundEngine_SetEffectsVolume(1.0f);
  for (int slot = 0; slot < SLOT_COUNT; ++slot) {
    lines_[slot] = std::make_unique<SourceLine>(kEffects[slot].name, kEffects[slot].level);
  }
  return true;
}

SoundPlayer::~SoundPlayer() {
  if (!engineStarted) return;
  for (std::unique_ptr<SourceLine>& line : lines_) {
    if (line) SoundEngine_UnloadEffect(line->id);
  }
  SoundEngine_Teardown();
}

void SoundPlayer::play(Slot slot) {
  if (!startEngine()) return;
  lines_[slot]->play(usableVolume(settings.volume));
}

void SoundPlayer::playLineRemovedSound() { play(SLOT_LINE_REMOVED); }
void SoundPlayer::playMoveSound() { play(SLOT_MOVE); }
void SoundPlayer::playLevelUpSound() { play(SLOT_LEVEL_UP); }
void SoundPlayer::playBadMoveSound() { play(SLOT_BAD_MOVE); }
void SoundPlayer::playMenuSwitchSound() { play(SLOT_MENU_SELECT); }
void SoundPlayer::playNewHiScoreSound() { play(SLOT_NEW_HI_SCORE); }
void SoundPlayer::playGameOverSound() { play(SLOT_GAME_OVER); }
void SoundPlayer::playDubiousMoveSound() {}
