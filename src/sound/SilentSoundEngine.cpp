// The silent effect engine: the SoundEngine_* functions without an audio device, linked by the
// tests and tools instead of the OpenAL Soft engine. It keeps the engine's bookkeeping (an engine
// exists from Initialize to Teardown, effects are loaded from readable files and get ids that
// are never 0, unknown ids are refused) so callers get the same statuses, and it plays nothing.
#include "SoundEngine.h"

#include <fstream>
#include <set>

namespace {

struct SilentEngine {
  bool exists = false;
  uint32_t lastId = 0;
  std::set<uint32_t> effects;
};

SilentEngine& engine() {
  static SilentEngine instance;
  return instance;
}

int statusFor(uint32_t effectId) {
  if (!engine().exists) return kSoundEngineErrorNoEngine;
  return engine().effects.count(effectId) != 0 ? kSoundEngineNoError : kSoundEngineErrorNoEffect;
}

}  // namespace

int SoundEngine_Initialize(float) {
  engine().effects.clear();
  engine().exists = true;
  return kSoundEngineNoError;
}

int SoundEngine_Teardown() {
  if (!engine().exists) return kSoundEngineErrorNoEngine;
  engine().effects.clear();
  engine().exists = false;
  return kSoundEngineNoError;
}

int SoundEngine_LoadEffect(const char* path, uint32_t* outEffectId) {
  if (!engine().exists) SoundEngine_Initialize(0.0f);
  if (path == nullptr || !std::ifstream(path, std::ios::binary).is_open()) return kSoundFileErrorOpen;
  *outEffectId = ++engine().lastId;
  engine().effects.insert(*outEffectId);
  return kSoundEngineNoError;
}

int SoundEngine_UnloadEffect(uint32_t effectId) {
  const int status = statusFor(effectId);
  if (status == kSoundEngineNoError) engine().effects.erase(effectId);
  return status;
}

int SoundEngine_StartEffect(uint32_t effectId) { return statusFor(effectId); }

int SoundEngine_SetEffectLevel(uint32_t effectId, float) { return statusFor(effectId); }

int SoundEngine_SetEffectsVolume(float) {
  return engine().exists ? kSoundEngineNoError : kSoundEngineErrorNoEngine;
}

int SoundEngine_SetListenerPosition(float, float, float) {
  return engine().exists ? kSoundEngineNoError : kSoundEngineErrorNoEngine;
}
