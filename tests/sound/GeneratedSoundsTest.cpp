// The seven generated sound files: their format, that they are clickless and of moderate
// loudness, that they differ from one another, and that the generator repeats itself exactly.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "SignalAnalysis.h"
#include "TestWaveFiles.h"
#include "WaveCapture.h"

namespace {

const char* const kNames[] = {"trel", "move", "mouseMove", "yay", "badMove", "MenuSelect", "GameOver"};
const int kRate = 44100;

struct LoadedSound {
  std::string name;
  SF_INFO info = {};
  std::vector<float> samples;
};

LoadedSound loadSound(const std::string& folder, const std::string& name) {
  LoadedSound sound;
  sound.name = name;
  const std::string path = folder + "/" + name + ".wav";
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &sound.info);
  if (file == nullptr) return sound;
  sound.samples.resize(static_cast<size_t>(sound.info.frames * sound.info.channels));
  sf_readf_float(file, sound.samples.data(), sound.info.frames);
  sf_close(file);
  return sound;
}

// The strongest pitch (10 Hz steps, 60 Hz to 5 kHz) in the sound's loudest 50 ms.
double dominantFrequency(const std::vector<float>& samples) {
  const size_t window = kRate / 20;
  size_t loudestStart = 0;
  double loudest = -1.0;
  for (size_t start = 0; start + window <= samples.size(); start += window / 4) {
    double energy = 0.0;
    for (size_t i = start; i < start + window; ++i) energy += double(samples[i]) * samples[i];
    if (energy > loudest) loudest = energy, loudestStart = start;
  }
  double best = 0.0, bestAmplitude = -1.0;
  for (double frequency = 60.0; frequency <= 5000.0; frequency += 10.0) {
    const double amplitude = SignalAnalysis::toneAmplitude(samples, loudestStart, window, frequency, kRate);
    if (amplitude > bestAmplitude) bestAmplitude = amplitude, best = frequency;
  }
  return best;
}

TEST(GeneratedSoundsTest, AreShortCleanMonoPcmAtModerateLevels) {
  for (const char* name : kNames) {
    SCOPED_TRACE(name);
    const LoadedSound sound = loadSound(PELLIX_RESOURCE_DIR, name);
    ASSERT_FALSE(sound.samples.empty());
    EXPECT_EQ(SF_FORMAT_WAV | SF_FORMAT_PCM_16, sound.info.format);
    EXPECT_EQ(1, sound.info.channels);
    EXPECT_EQ(kRate, sound.info.samplerate);
    const double seconds = double(sound.info.frames) / kRate;
    EXPECT_GE(seconds, 0.03);
    EXPECT_LE(seconds, 1.5);

    // Normalised: clearly audible, far from clipping, and no sustained loud stretch.
    const float peak = SignalAnalysis::peak(sound.samples);
    EXPECT_GE(peak, 0.3f);
    EXPECT_LE(peak, 0.7f);
    EXPECT_LE(SignalAnalysis::loudestWindowRms(sound.samples, kRate / 20), 0.4);

    // No click: silence at both ends, and no jump between neighbouring samples larger than a
    // smooth tone of these levels and pitches makes.
    EXPECT_LE(std::fabs(sound.samples.front()), 2.0f / 32768);
    EXPECT_LE(std::fabs(sound.samples.back()), 2.0f / 32768);
    float largestStep = 0.0f;
    for (size_t i = 1; i < sound.samples.size(); ++i) {
      largestStep = std::max(largestStep, std::fabs(sound.samples[i] - sound.samples[i - 1]));
    }
    EXPECT_LT(largestStep, 0.3f);
  }
}

TEST(GeneratedSoundsTest, DifferFromOneAnother) {
  std::vector<LoadedSound> sounds;
  std::vector<double> pitches;
  for (const char* name : kNames) {
    sounds.push_back(loadSound(PELLIX_RESOURCE_DIR, name));
    pitches.push_back(dominantFrequency(sounds.back().samples));
  }
  for (size_t a = 0; a < sounds.size(); ++a) {
    for (size_t b = a + 1; b < sounds.size(); ++b) {
      SCOPED_TRACE(sounds[a].name + " / " + sounds[b].name);
      // Apart in length by a quarter, or in main pitch by more than a semitone.
      const double lengthRatio = double(std::max(sounds[a].info.frames, sounds[b].info.frames)) /
                                 double(std::min(sounds[a].info.frames, sounds[b].info.frames));
      const double pitchRatio = std::max(pitches[a], pitches[b]) / std::min(pitches[a], pitches[b]);
      EXPECT_TRUE(lengthRatio > 1.25 || pitchRatio > 1.06)
          << "lengths " << sounds[a].info.frames << ", " << sounds[b].info.frames << "; pitches "
          << pitches[a] << ", " << pitches[b];
    }
  }
}

TEST(GeneratedSoundsTest, GeneratorWritesTheSameBytesEveryTime) {
  for (int run = 0; run < 2; ++run) {
    const std::string folder = WaveCapture::makeFolder("generated" + std::to_string(run));
    const std::string command = std::string("\"") + PELLIX_SOUND_GENERATOR + "\" \"" + folder + "\"";
    ASSERT_EQ(0, std::system(command.c_str()));
    for (const char* name : kNames) {
      const std::string file = std::string("/") + name + ".wav";
      EXPECT_EQ(TestWaveFiles::readBytes(PELLIX_RESOURCE_DIR + file), TestWaveFiles::readBytes(folder + file))
          << name;
    }
  }
}

TEST(GeneratedSoundsTest, GeneratorReportsAnUnwritableFolder) {
  const std::string command =
      std::string("\"") + PELLIX_SOUND_GENERATOR + "\" \"" + WaveCapture::folder() + "/no/such/folder\" 2>/dev/null";
  EXPECT_NE(0, std::system(command.c_str()));
}

}  // namespace
