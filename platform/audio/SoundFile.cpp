// Sound file reading through libsndfile: format checks and the raw sample bytes.
#include "SoundFile.h"

#include <sndfile.h>

#include <memory>

#include "SoundEngine.h"
#include "SoundEngineReport.h"

namespace {

// Effects are short; anything larger than this is a damaged header, not a sound.
const sf_count_t kMaxSampleBytes = sf_count_t(64) << 20;

struct SndfileCloser {
  void operator()(SNDFILE* file) const { sf_close(file); }
};

// Bits per channel of a linear PCM subtype; 0 for every other encoding.
int linearPcmBits(int subtype) {
  switch (subtype) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8: return 8;
    case SF_FORMAT_PCM_16: return 16;
    case SF_FORMAT_PCM_24: return 24;
    case SF_FORMAT_PCM_32: return 32;
    default: return 0;
  }
}

}  // namespace

int SoundFile::load(const char* path) {
  samples_.clear();
  SF_INFO info = {};
  std::unique_ptr<SNDFILE, SndfileCloser> file(sf_open(path, SFM_READ, &info));
  if (!file) {
    SoundEngineReport::decimal("Error opening file", kSoundFileErrorOpen);
    return kSoundFileErrorOpen;
  }

  const int subtype = info.format & SF_FORMAT_SUBMASK;
  const int bits = linearPcmBits(subtype);
  // Multi-byte samples go to OpenAL as they are, so they must already be in the machine's
  // (little-endian) order; 8-bit samples have no byte order.
  const bool foreignByteOrder =
      sf_command(file.get(), SFC_RAW_DATA_NEEDS_ENDSWAP, nullptr, 0) == SF_TRUE;
  if (bits == 0 || (bits > 8 && foreignByteOrder)) {
    SoundEngineReport::decimal("Error loading file info", kSoundEngineErrorUnsupportedFormat);
    return kSoundEngineErrorUnsupportedFormat;
  }

  const sf_count_t frameBytes = sf_count_t(info.channels) * (bits / 8);
  if (info.channels <= 0 || info.frames < 0 || info.frames > kMaxSampleBytes / frameBytes) {
    SoundEngineReport::decimal("Error getting file data size", kSoundFileErrorDataSize);
    return kSoundFileErrorDataSize;
  }
  const sf_count_t byteCount = info.frames * frameBytes;

  samples_.resize(static_cast<size_t>(byteCount));
  if (byteCount > 0 && sf_read_raw(file.get(), samples_.data(), byteCount) != byteCount) {
    samples_.clear();
    SoundEngineReport::decimal("Error reading file data", kSoundFileErrorRead);
    return kSoundFileErrorRead;
  }
  // OpenAL's 8-bit formats are unsigned; signed 8-bit files (AIFF, raw) are shifted by 128.
  if (subtype == SF_FORMAT_PCM_S8) {
    for (char& sample : samples_) sample = static_cast<char>(static_cast<unsigned char>(sample) ^ 0x80u);
  }

  channels_ = info.channels;
  bitsPerChannel_ = bits;
  sampleRate_ = info.samplerate;
  return kSoundEngineNoError;
}
