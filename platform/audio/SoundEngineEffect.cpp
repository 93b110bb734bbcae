// A loaded effect: source and buffer management on OpenAL.
#include "SoundEngineEffect.h"

#include <utility>

#include "OpenALExtensions.h"
#include "SoundEngine.h"
#include "SoundEngineReport.h"
#include "SoundFile.h"

namespace {

// OpenAL's buffer format for linear PCM; 0 (which OpenAL refuses) for any other layout.
ALenum bufferFormat(int channels, int bitsPerChannel) {
  if (channels == 1 && bitsPerChannel == 8) return AL_FORMAT_MONO8;
  if (channels == 2 && bitsPerChannel == 8) return AL_FORMAT_STEREO8;
  if (channels == 1 && bitsPerChannel == 16) return AL_FORMAT_MONO16;
  if (channels == 2 && bitsPerChannel == 16) return AL_FORMAT_STEREO16;
  return 0;
}

}  // namespace

SoundEngineEffect::SoundEngineEffect(const char* path) : path_(path) {}

SoundEngineEffect::~SoundEngineEffect() {
  // A buffer cannot be deleted while a source still holds it.
  if (source_ != 0) {
    alSourceStop(source_);
    alDeleteSources(1, &source_);
  }
  if (buffer_ != 0) alDeleteBuffers(1, &buffer_);
  alGetError();  // nothing left to report for an object that is going away
}

int SoundEngineEffect::load() {
  alGetError();
  ALuint source = 0;
  alGenSources(1, &source);
  ALenum error = alGetError();
  if (error != AL_NO_ERROR) {
    SoundEngineReport::hex("Error attaching file data to effect", error);
    return error;
  }
  source_ = source;

  const int status = loadBuffer();
  if (status != kSoundEngineNoError) return status;

  alSourcei(source_, AL_BUFFER, static_cast<ALint>(buffer_));
  error = alGetError();
  if (error != AL_NO_ERROR) {
    SoundEngineReport::hex("Error attaching file data to effect", error);
    return error;
  }
  return kSoundEngineNoError;
}

int SoundEngineEffect::loadBuffer() {
  SoundFile file;
  const int status = file.load(path_.c_str());
  if (status != kSoundEngineNoError) return status;

  alGetError();
  ALuint buffer = 0;
  alGenBuffers(1, &buffer);
  ALenum error = alGetError();
  if (error != AL_NO_ERROR) {
    SoundEngineReport::hex("Error generating buffer\n", error);
    return error;
  }
  buffer_ = buffer;

  const ALenum format = bufferFormat(file.channels(), file.bitsPerChannel());
  std::vector<char>& samples = file.samples();
  const ALsizei size = static_cast<ALsizei>(samples.size());
  if (OpenALExtensions::BufferDataStaticProc bufferDataStatic = OpenALExtensions::bufferDataStatic()) {
    // OpenAL reads this memory for as long as the buffer exists, so the effect keeps it.
    staticSamples_ = std::move(samples);
    bufferDataStatic(static_cast<ALint>(buffer_), format, staticSamples_.data(), size, file.sampleRate());
  } else {
    alBufferData(buffer_, format, samples.data(), size, file.sampleRate());
  }
  error = alGetError();
  if (error != AL_NO_ERROR) {
    SoundEngineReport::hex("Error attaching data to buffer\n", error);
    return error;
  }
  return kSoundEngineNoError;
}

int SoundEngineEffect::start() {
  alGetError();
  // Stopping first rewinds an effect that is still playing, so it starts again from the top.
  alSourceStop(source_);
  ALenum error = alGetError();
  if (error != AL_NO_ERROR) {
    SoundEngineReport::hex("Error stopping source", error);
    return error;
  }
  alSourcePlay(source_);
  error = alGetError();
  if (error != AL_NO_ERROR) {
    SoundEngineReport::hex("Error starting effect playback", error);
    return error;
  }
  return kSoundEngineNoError;
}

int SoundEngineEffect::setGain(float gain) {
  alGetError();
  alSourcef(source_, AL_GAIN, gain);
  return alGetError();
}
