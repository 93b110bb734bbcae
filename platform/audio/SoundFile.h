// SoundFile: reads one sound file (WAV or any other container libsndfile knows) into raw linear
// PCM bytes that OpenAL can take as they are: 8-bit samples unsigned, wider samples
// little-endian. Used by SoundEngineEffect while it loads an effect; the object owns the bytes
// until the caller takes them.
#pragma once

#include <vector>

class SoundFile {
 public:
  // Reads the file at `path`. Returns 0, or a SoundEngineStatus after printing the failing
  // step's message: missing or unrecognised file, a format that is not linear PCM or whose
  // multi-byte samples are not little-endian (4), an absurd size, a short read.
  int load(const char* path);

  int channels() const { return channels_; }
  int bitsPerChannel() const { return bitsPerChannel_; }
  int sampleRate() const { return sampleRate_; }
  // The interleaved sample bytes; the caller may move them out.
  std::vector<char>& samples() { return samples_; }

 private:
  int channels_ = 0;
  int bitsPerChannel_ = 0;
  int sampleRate_ = 0;
  std::vector<char> samples_;
};
