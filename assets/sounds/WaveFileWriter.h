// WaveFileWriter: writes mono float samples as a 16-bit little-endian PCM WAV file through
// libsndfile. Used by the sound generator once per sound.
#pragma once

#include <string>
#include <vector>

class WaveFileWriter {
 public:
  // Writes `samples` (within -1..1, rounded to 16 bits) at `sampleRate`; returns false and
  // fills `error` when the file cannot be written.
  static bool write(const std::string& path, const std::vector<float>& samples, int sampleRate,
                    std::string& error);
};
