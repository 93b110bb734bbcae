// Test sound files written through libsndfile.
#include "TestWaveFiles.h"

#include <sndfile.h>

#include <cmath>
#include <fstream>
#include <iterator>

#include "WholeFile.h"

std::vector<float> TestWaveFiles::samples(const Tone& tone) {
  const size_t count = static_cast<size_t>(std::lround(tone.seconds * tone.sampleRate));
  std::vector<float> out(count);
  for (size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / tone.sampleRate;
    const double envelope = tone.decaying ? 1.0 - static_cast<double>(i) / count : 1.0;
    out[i] = static_cast<float>(tone.amplitude * envelope * std::sin(2.0 * M_PI * tone.frequency * t));
  }
  return out;
}

bool TestWaveFiles::write(const std::string& path, const Tone& tone) {
  SF_INFO info = {};
  info.samplerate = tone.sampleRate;
  info.channels = tone.channels;
  info.format = tone.format != 0 ? tone.format : (SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) return false;
  const std::vector<float> mono = samples(tone);
  std::vector<float> interleaved;
  for (float sample : mono) interleaved.insert(interleaved.end(), static_cast<size_t>(tone.channels), sample);
  const sf_count_t frames = static_cast<sf_count_t>(mono.size());
  const bool complete = sf_writef_float(file, interleaved.data(), frames) == frames;
  return sf_close(file) == 0 && complete;
}

void TestWaveFiles::writeBytes(const std::string& path, const std::string& bytes) { testfiles::writeFile(path, bytes); }

std::string TestWaveFiles::readBytes(const std::string& path) { return testfiles::readText(path); }
