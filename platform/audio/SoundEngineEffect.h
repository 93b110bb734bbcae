// SoundEngineEffect: one loaded effect, an OpenAL source with one buffer holding the samples
// of a sound file. Created and owned by the effect map of the engine (SoundEngine.cpp); needs
// the engine's OpenAL context to be current for its whole life.
#pragma once

#include <AL/al.h>

#include <cstdint>
#include <string>
#include <vector>

class SoundEngineEffect {
 public:
  explicit SoundEngineEffect(const char* path);
  // Deletes the source, then the buffer, then the sample memory the buffer may read in place.
  ~SoundEngineEffect();
  SoundEngineEffect(const SoundEngineEffect&) = delete;
  SoundEngineEffect& operator=(const SoundEngineEffect&) = delete;

  // Creates the source and loads the file into its buffer. Returns 0 or the failing step's
  // status (already printed).
  int load();
  // The OpenAL source name, which is also the effect's id; 0 before load succeeds.
  uint32_t sourceName() const { return source_; }

  // Stops the source and plays it from the start.
  int start();
  // Sets the source's gain.
  int setGain(float gain);

 private:
  int loadBuffer();

  std::string path_;
  ALuint source_ = 0;
  ALuint buffer_ = 0;
  // Kept only while a static buffer reads the samples in place; OpenAL copies them otherwise.
  std::vector<char> staticSamples_;
};
