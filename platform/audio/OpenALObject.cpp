// Device and context set-up and release for the effect engine.
#include "OpenALObject.h"

#include <AL/efx.h>

#include "OpenALExtensions.h"
#include "SoundEngine.h"
#include "SoundEngineReport.h"

namespace {

// ALC may fail without recording an error; the caller still has to see a failure.
int failureCode(ALCenum error, int fallback) { return error != ALC_NO_ERROR ? error : fallback; }

}  // namespace

OpenALObject::OpenALObject(float mixerOutputRate) : mixerOutputRate_(mixerOutputRate) {}

OpenALObject::~OpenALObject() {
  // Sources and buffers are deleted in the context they belong to.
  effects_.Clear();
  if (context_ != nullptr) {
    if (alcGetCurrentContext() == context_) alcMakeContextCurrent(nullptr);
    alcDestroyContext(context_);
  }
  if (device_ != nullptr) alcCloseDevice(device_);
}

int OpenALObject::initialize() {
  device_ = alcOpenDevice(nullptr);
  if (device_ == nullptr) {
    SoundEngineReport::decimal("Error opening output device", kSoundEngineErrorNoDevice);
    return kSoundEngineErrorNoDevice;
  }
  if (mixerOutputRate_ != 0.0f) {
    if (OpenALExtensions::MixerOutputRateProc setRate = OpenALExtensions::mixerOutputRate()) {
      setRate(mixerOutputRate_);
    }
  }
  // The effects play straight to the output, never through auxiliary effect sends; without
  // them every voice OpenAL Soft prepares is smaller (by some 0.7 MiB in all).
  const ALCint attributes[] = {ALC_MAX_AUXILIARY_SENDS, 0, 0};
  context_ = alcCreateContext(device_, attributes);
  if (context_ == nullptr) {
    const int code = failureCode(alcGetError(device_), ALC_INVALID_DEVICE);
    SoundEngineReport::hex("Error creating OpenAL context", code);
    return code;
  }
  if (alcMakeContextCurrent(context_) != ALC_TRUE) {
    const int code = failureCode(alcGetError(device_), ALC_INVALID_CONTEXT);
    SoundEngineReport::hex("Error setting current OpenAL context", code);
    return code;
  }
  return kSoundEngineNoError;
}
