// 16-bit PCM WAV output through libsndfile.
#include "WaveFileWriter.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>

bool WaveFileWriter::write(const std::string& path, const std::vector<float>& samples, int sampleRate,
                           std::string& error) {
  // Our own rounding, so the bytes do not depend on the library's float conversion.
  std::vector<short> pcm(samples.size());
  for (size_t i = 0; i < samples.size(); ++i) {
    const double clamped = std::min(1.0, std::max(-1.0, static_cast<double>(samples[i])));
    pcm[i] = static_cast<short>(std::lround(clamped * 32767.0));
  }

  SF_INFO info = {};
  info.samplerate = sampleRate;
  info.channels = 1;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16 | SF_ENDIAN_LITTLE;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) {
    error = sf_strerror(nullptr);
    return false;
  }
  const sf_count_t written = sf_write_short(file, pcm.data(), static_cast<sf_count_t>(pcm.size()));
  const bool complete = written == static_cast<sf_count_t>(pcm.size());
  if (!complete) error = sf_strerror(file);
  if (sf_close(file) != 0 && complete) {
    error = "closing failed";
    return false;
  }
  return complete;
}
