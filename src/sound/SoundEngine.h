// The effect engine that the game's sound player needs: a small C-style interface that loads
// short sound files as effects, sets their levels and starts them. The sound player (SourceLine,
// SoundPlayer) calls it on the main thread. Two engines implement it, and each program names the
// one it links: the OpenAL Soft engine (platform/audio, for the game and the engine's own tests)
// or the silent engine (SilentSoundEngine.cpp here, for the other tests and the tools). The engine owns every loaded effect from
// SoundEngine_LoadEffect until SoundEngine_UnloadEffect or SoundEngine_Teardown.
// Every function returns a status: 0 for success, one of the codes below, or an OpenAL / ALC
// error code (0xA001 and up). The OpenAL engine also prints each failure to standard output, once.
#pragma once

#include <cstdint>

enum SoundEngineStatus : int {
  kSoundEngineNoError = 0,
  kSoundEngineErrorNoEngine = 1,           // no engine: not initialised, or torn down
  kSoundEngineErrorNoEffect = 2,           // no effect is registered under the id
  kSoundEngineErrorUnsupportedFormat = 4,  // not linear PCM, or multi-byte samples not little-endian
  kSoundEngineErrorNoDevice = 5,           // the default output device did not open
  // Sound-file failures of our reader.
  kSoundFileErrorOpen = 6,      // missing, unreadable or not a sound file
  kSoundFileErrorDataSize = 7,  // the sample data size is out of range
  kSoundFileErrorRead = 8,      // the file holds fewer samples than its header says
};

// Destroys any previous engine (with its effects), opens the default output device and makes a
// new context current. `mixerOutputRate` is applied only where OpenAL offers a mixer-rate
// extension (0 = keep the default). On failure no engine exists afterwards.
int SoundEngine_Initialize(float mixerOutputRate);

// Releases every effect, the context and the device. 1 when there is no engine.
int SoundEngine_Teardown();

// Creates an effect for the sound file at `path` (creating the engine first if there is none)
// and stores its id, which is its OpenAL source name, in `*outEffectId`. `*outEffectId` is left
// untouched on failure.
int SoundEngine_LoadEffect(const char* path, uint32_t* outEffectId);

// Removes the effect and frees its source and samples.
int SoundEngine_UnloadEffect(uint32_t effectId);

// Starts the effect from its beginning, also when it is still playing.
int SoundEngine_StartEffect(uint32_t effectId);

// Sets the effect's gain (0.0 to 1.0).
int SoundEngine_SetEffectLevel(uint32_t effectId, float level);

// Sets every loaded effect's gain, stopping at the first error.
int SoundEngine_SetEffectsVolume(float volume);

// Places the listener; effects sit at the origin.
int SoundEngine_SetListenerPosition(float x, float y, float z);
