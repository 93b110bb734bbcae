// The OpenAL Soft effect engine: the SoundEngine_* functions over the one OpenALObject.
#include "SoundEngine.h"

#include <AL/al.h>

#include <memory>
#include <utility>

#include "OpenALObject.h"
#include "SoundEngineEffect.h"

namespace {

// The engine of the process. Constant-initialised, so it is released at exit after any
// owner that was created later has torn its effects down.
std::unique_ptr<OpenALObject> gEngine;

// Scales every level handed to OpenAL.
const float gMasterVolumeGain = 1.0f;

}  // namespace

int SoundEngine_Initialize(float mixerOutputRate) {
  gEngine.reset();
  auto engine = std::make_unique<OpenALObject>(mixerOutputRate);
  const int status = engine->initialize();
  if (status != kSoundEngineNoError) return status;  // no half-made engine is kept
  gEngine = std::move(engine);
  return kSoundEngineNoError;
}

int SoundEngine_Teardown() {
  if (!gEngine) return kSoundEngineErrorNoEngine;
  gEngine.reset();
  return kSoundEngineNoError;
}

int SoundEngine_LoadEffect(const char* path, uint32_t* outEffectId) {
  if (!gEngine) {
    const int status = SoundEngine_Initialize(0.0f);
    if (status != kSoundEngineNoError) return status;
  }
  auto effect = std::make_unique<SoundEngineEffect>(path);
  const int status = effect->load();
  if (status != kSoundEngineNoError) return status;  // the effect frees what it had made
  *outEffectId = effect->sourceName();
  gEngine->effects().Add(std::move(effect));
  return kSoundEngineNoError;
}

int SoundEngine_UnloadEffect(uint32_t effectId) {
  if (!gEngine) return kSoundEngineErrorNoEngine;
  return gEngine->effects().Remove(effectId) ? kSoundEngineNoError : kSoundEngineErrorNoEffect;
}

int SoundEngine_StartEffect(uint32_t effectId) {
  if (!gEngine) return kSoundEngineErrorNoEngine;
  SoundEngineEffect* effect = gEngine->effects().Get(effectId);
  if (effect == nullptr) return kSoundEngineErrorNoEffect;
  return effect->start();
}

int SoundEngine_SetEffectLevel(uint32_t effectId, float level) {
  if (!gEngine) return kSoundEngineErrorNoEngine;
  SoundEngineEffect* effect = gEngine->effects().Get(effectId);
  if (effect == nullptr) return kSoundEngineErrorNoEffect;
  return effect->setGain(level * gMasterVolumeGain);
}

int SoundEngine_SetEffectsVolume(float volume) {
  if (!gEngine) return kSoundEngineErrorNoEngine;
  const SoundEngineEffectMap& effects = gEngine->effects();
  for (size_t index = 0; index < effects.Size(); ++index) {
    const int status = effects.GetEffectByIndex(index)->setGain(volume * gMasterVolumeGain);
    if (status != kSoundEngineNoError) return status;
  }
  return kSoundEngineNoError;
}

int SoundEngine_SetListenerPosition(float x, float y, float z) {
  if (!gEngine) return kSoundEngineErrorNoEngine;
  alGetError();
  alListener3f(AL_POSITION, x, y, z);
  return alGetError();
}
