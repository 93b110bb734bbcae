// OpenALObject: the engine itself, the output device, its context and the loaded effects.
// Created by SoundEngine_Initialize (or the first SoundEngine_LoadEffect) and destroyed by
// SoundEngine_Teardown; the engine functions in SoundEngine.cpp hold the one instance.
#pragma once

#include <AL/alc.h>

#include "SoundEngineEffectMap.h"

class OpenALObject {
 public:
  explicit OpenALObject(float mixerOutputRate);
  // Releases the effects, then the context, then the device.
  ~OpenALObject();
  OpenALObject(const OpenALObject&) = delete;
  OpenALObject& operator=(const OpenALObject&) = delete;

  // Opens the default output device, applies the mixer rate where the extension exists, and
  // makes a new context current. Returns 0 or the failing step's status (already printed).
  int initialize();

  SoundEngineEffectMap& effects() { return effects_; }

 private:
  float mixerOutputRate_;
  ALCdevice* device_ = nullptr;
  ALCcontext* context_ = nullptr;
  SoundEngineEffectMap effects_;
};
