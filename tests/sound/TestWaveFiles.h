// TestWaveFiles: writes the sound files the sound tests load: sine tones in any container and
// sample encoding libsndfile can write, and raw byte files for damaged input.
#pragma once

#include <string>
#include <vector>

class TestWaveFiles {
 public:
  struct Tone {
    double frequency = 600.0;
    double seconds = 0.12;
    double amplitude = 0.5;
    // Amplitude falls linearly to zero over the tone instead of staying level.
    bool decaying = false;
    int channels = 1;
    int sampleRate = 44100;
    // libsndfile format: container | encoding | byte order.
    int format = 0;  // 0 = 16-bit PCM WAV, little-endian
  };

  // The tone's samples per channel as written (before any file quantisation).
  static std::vector<float> samples(const Tone& tone);
  // Writes the tone; false when libsndfile refuses.
  static bool write(const std::string& path, const Tone& tone);
  static void writeBytes(const std::string& path, const std::string& bytes);
  static std::string readBytes(const std::string& path);
};
