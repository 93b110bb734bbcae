// OpenALExtensions: the optional vendor extensions the engine uses where an OpenAL
// implementation offers them: setting the mixer's output rate, and buffers that read the
// caller's sample memory in place instead of copying it. OpenAL Soft offers neither; the engine
// then keeps the default rate and lets OpenAL copy the samples. Each is looked up once per
// process, by OpenALObject and SoundEngineEffect.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

class OpenALExtensions {
 public:
  using MixerOutputRateProc = ALvoid (*)(const ALdouble rate);
  using BufferDataStaticProc = ALvoid (*)(const ALint buffer, ALenum format, ALvoid* data,
                                          ALsizei size, ALsizei frequency);

  // Null when the implementation lacks the extension.
  static MixerOutputRateProc mixerOutputRate();
  static BufferDataStaticProc bufferDataStatic();
};
