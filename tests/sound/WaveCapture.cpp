// OpenAL Soft wave-file capture for the sound tests.
#include "WaveCapture.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <gtest/gtest.h>
#include <sndfile.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "SoundEngine.h"
#include "TempFolder.h"
#include "TestEnvironment.h"

namespace {

// The process's folder: the OpenAL Soft configuration and the captured output.
std::unique_ptr<TempFolder>& processFiles() {
  static std::unique_ptr<TempFolder> files;
  return files;
}

std::string& processFolder() {
  static std::string folder;
  return folder;
}

std::string outputFolder() { return processFolder() + "/output"; }
std::string outputFile() { return outputFolder() + "/out.wav"; }

// OpenAL Soft hands out small source names; the tests never have more than a few.
const ALuint kHighestSourceName = 256;

}  // namespace

void WaveCapture::setUpProcess() {
  processFiles().reset(new TempFolder("pellix-sound-test"));
  processFolder() = processFiles()->str();
  std::filesystem::create_directory(outputFolder());

  const std::string config = processFolder() + "/alsoft.conf";
  std::ofstream out(config);
  out << "[general]\n"
         "drivers = wave\n"
         "channels = mono\n"
         "sample-type = float32\n"
         "frequency = 44100\n"
         "period_size = 512\n"
         "output-limiter = false\n"
         "dither = false\n"
         "volume-adjust = 0\n"
         "hrtf = false\n"
         "[wave]\n"
         "file = " << outputFile() << "\n"
         "bformat = false\n";
  out.close();
  // Read by OpenAL Soft after the system and user files, so these settings win; the driver
  // list in the environment would override the file, so it is set too.
  setenv("ALSOFT_CONF", config.c_str(), 1);
  setenv("ALSOFT_DRIVERS", "wave", 1);
}

void WaveCapture::tearDownProcess() { processFiles().reset(); }

const std::string& WaveCapture::folder() { return processFolder(); }

std::string WaveCapture::makeFolder(const std::string& name) {
  const std::string path = processFolder() + "/" + name;
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path);
  return path;
}

void WaveCapture::setOutputAvailable(bool available) {
  if (available) {
    std::filesystem::create_directories(outputFolder());
  } else {
    std::filesystem::remove_all(outputFolder());
  }
}

namespace {

// The furthest a playing source of the current context has been mixed into its sound, in
// seconds; -1 when none plays.
double furthestPlayingOffset() {
  double furthest = -1;
  for (ALuint source = 1; source <= kHighestSourceName; ++source) {
    if (!alIsSource(source)) continue;
    ALint state = AL_STOPPED;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    if (state != AL_PLAYING) continue;
    ALfloat offset = 0;
    alGetSourcef(source, AL_SEC_OFFSET, &offset);
    furthest = std::max(furthest, static_cast<double>(offset));
  }
  return furthest;
}

}  // namespace

bool WaveCapture::waitUntilQuiet() {
  if (alcGetCurrentContext() == nullptr) return true;
  return testenv::waitUntil([] { return furthestPlayingOffset() < 0; }, 5000);
}

bool WaveCapture::waitUntilPlayedInto(double seconds) {
  if (alcGetCurrentContext() == nullptr) return false;
  return testenv::waitUntil([&] { return furthestPlayingOffset() >= seconds; }, 5000);
}

bool WaveCapture::waitUntilMixed(double seconds) {
  ALCcontext* context = alcGetCurrentContext();
  if (context == nullptr) return false;
  ALCdevice* device = alcGetContextsDevice(context);
  if (!alcIsExtensionPresent(device, "ALC_SOFT_device_clock")) return false;
  const auto getInteger64 =
      reinterpret_cast<LPALCGETINTEGER64VSOFT>(alcGetProcAddress(device, "alcGetInteger64vSOFT"));
  if (getInteger64 == nullptr) return false;
  // The device clock counts the output mixed so far, in nanoseconds.
  const auto clock = [device, getInteger64] {
    ALCint64SOFT nanoseconds = 0;
    getInteger64(device, ALC_DEVICE_CLOCK_SOFT, 1, &nanoseconds);
    return nanoseconds;
  };
  const ALCint64SOFT start = clock();
  return testenv::waitUntil([&] { return static_cast<double>(clock() - start) >= seconds * 1e9; }, 5000);
}

std::vector<float> WaveCapture::finish() {
  // Torn down while a sound plays, the file would end early and a test would misread it.
  if (!waitUntilQuiet()) ADD_FAILURE() << "a sound was still playing at the deadline";
  // The mixer marks a source stopped in the same update that mixes its last samples and
  // writes that update before it looks for the stop request, so closing now loses nothing.
  SoundEngine_Teardown();
  return read();
}

std::vector<float> WaveCapture::read() {
  SF_INFO info = {};
  SNDFILE* file = sf_open(outputFile().c_str(), SFM_READ, &info);
  if (file == nullptr) return {};
  std::vector<float> samples(static_cast<size_t>(info.frames * info.channels));
  const sf_count_t frames = sf_readf_float(file, samples.data(), info.frames);
  sf_close(file);
  samples.resize(static_cast<size_t>(frames * info.channels));
  // Gone once read, so a later test whose device never opened cannot read this one's sound.
  std::filesystem::remove(outputFile());
  return samples;
}
