// One-time look-up of the optional OpenAL extension functions.
#include "OpenALExtensions.h"

OpenALExtensions::MixerOutputRateProc OpenALExtensions::mixerOutputRate() {
  static const MixerOutputRateProc proc =
      reinterpret_cast<MixerOutputRateProc>(alcGetProcAddress(nullptr, "alcMacOSXMixerOutputRate"));
  return proc;
}

OpenALExtensions::BufferDataStaticProc OpenALExtensions::bufferDataStatic() {
  static const BufferDataStaticProc proc =
      reinterpret_cast<BufferDataStaticProc>(alcGetProcAddress(nullptr, "alBufferDataStatic"));
  return proc;
}
