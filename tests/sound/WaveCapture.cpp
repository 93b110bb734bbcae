// OpenAL Soft wave-file capture for the sound tests.
#include "WaveCapture.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <sndfile.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "SoundEngine.h"
#include "TempFolder.h"

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

bool WaveCapture::waitUntilQuiet() {
  if (alcGetCurrentContext() == nullptr) return true;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < deadline) {
    bool playing = false;
    for (ALuint source = 1; source <= kHighestSourceName && !playing; ++source) {
      if (!alIsSource(source)) continue;
      ALint state = AL_STOPPED;
      alGetSourcei(source, AL_SOURCE_STATE, &state);
      playing = state == AL_PLAYING;
    }
    if (!playing) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

std::vector<float> WaveCapture::finish() {
  waitUntilQuiet();
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
