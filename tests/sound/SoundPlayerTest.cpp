// The sound player on OpenAL Soft's wave-file output: which sound each event plays, at which
// level, how the volume setting applies, and a player with missing files or no device.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>

#include "Resources.h"
#include "Settings.h"
#include "SignalAnalysis.h"
#include "SoundPlayer.h"
#include "TestWaveFiles.h"
#include "WaveCapture.h"

namespace {

const int kRate = WaveCapture::kSampleRate;
const float kSilence = 1e-6f;

// Every resource gets a tone of its own pitch, so the capture tells which file played.
struct Resource {
  const char* name;
  double frequency;
};
const Resource kResources[] = {{"trel", 400.0},    {"move", 600.0},       {"mouseMove", 800.0},
                               {"yay", 1000.0},    {"badMove", 1200.0},   {"MenuSelect", 1400.0},
                               {"GameOver", 1600.0}};
const double kToneAmplitude = 0.5;
const double kToneSeconds = 0.12;

using PlayFunction = void (SoundPlayer::*)();

class SoundPlayerTest : public testing::Test {
 protected:
  // The settings whose volume the players read, in the capture folder.
  static Settings& liveSettings() {
    static Settings settings((WaveCapture::folder() + "/settings.dat").c_str());
    return settings;
  }

  void SetUp() override {
    folder = WaveCapture::makeFolder("player");
    for (const Resource& resource : kResources) {
      TestWaveFiles::Tone tone;
      tone.frequency = resource.frequency;
      tone.amplitude = kToneAmplitude;
      tone.seconds = kToneSeconds;
      ASSERT_TRUE(TestWaveFiles::write(folder + "/" + resource.name + ".wav", tone));
    }
    Resources::setDirectory(folder);
    liveSettings().volume = 0.5f;
  }

  void TearDown() override { WaveCapture::setOutputAvailable(true); }

  // Amplitude of each resource's pitch early in the first sound of the capture.
  static std::vector<double> pitchAmplitudes(const std::vector<float>& out) {
    std::vector<double> amplitudes;
    const long first = SignalAnalysis::firstAbove(out, 0.005f);
    for (const Resource& resource : kResources) {
      amplitudes.push_back(first < 0 ? 0.0
                                     : SignalAnalysis::toneAmplitude(out, first + kRate / 100, kRate / 20,
                                                                     resource.frequency, kRate));
    }
    return amplitudes;
  }

  static double amplitudeOf(const std::vector<float>& out, const char* name) {
    const std::vector<double> amplitudes = pitchAmplitudes(out);
    for (size_t i = 0; i < amplitudes.size(); ++i) {
      if (std::string(kResources[i].name) == name) return amplitudes[i];
    }
    return -1.0;
  }

  std::string folder;
};

struct EventCase {
  const char* event;
  PlayFunction play;
  const char* resource;
  float level;
};

TEST_F(SoundPlayerTest, EachEventPlaysItsOwnSoundAtItsLevel) {
  const EventCase cases[] = {
      {"trel", &SoundPlayer::playLineRemovedSound, "trel", 1.0f},
      {"move", &SoundPlayer::playMoveSound, "move", 1.0f},
      {"levelUp", &SoundPlayer::playLevelUpSound, "yay", 1.0f},
      {"badMove", &SoundPlayer::playBadMoveSound, "badMove", 1.0f},
      {"menuSwitch", &SoundPlayer::playMenuSwitchSound, "MenuSelect", 0.2f},  // a fifth of move's
      {"newHiScore", &SoundPlayer::playNewHiScoreSound, "yay", 1.0f},
      {"gameOver", &SoundPlayer::playGameOverSound, "GameOver", 1.0f},
  };
  for (const EventCase& event : cases) {
    SCOPED_TRACE(event.event);
    SoundPlayer player(liveSettings());
    (player.*event.play)();
    const std::vector<float> out = WaveCapture::finish();
    const double expected = kToneAmplitude * event.level * 0.5;  // volume 0.5
    const std::vector<double> amplitudes = pitchAmplitudes(out);
    for (size_t i = 0; i < amplitudes.size(); ++i) {
      const bool played = std::string(kResources[i].name) == event.resource;
      EXPECT_NEAR(played ? expected : 0.0, amplitudes[i], 0.02 * expected) << kResources[i].name;
    }
  }
}

TEST_F(SoundPlayerTest, VolumeIsReadAtEveryPlay) {
  SoundPlayer player(liveSettings());
  liveSettings().volume = 1.0f;
  player.playMoveSound();
  ASSERT_TRUE(WaveCapture::waitUntilQuiet());
  liveSettings().volume = 0.25f;
  player.playMoveSound();
  const std::vector<float> out = WaveCapture::finish();

  const long first = SignalAnalysis::firstAbove(out, 0.01f);
  ASSERT_GE(first, 0);
  // The first playing has ended before the second starts.
  const size_t split = static_cast<size_t>(first) + static_cast<size_t>(kToneSeconds * kRate) + 8;
  EXPECT_NEAR(0.5f, SignalAnalysis::peak(out, 0, split), 0.01f);
  EXPECT_NEAR(0.125f, SignalAnalysis::peak(out, split), 0.005f);
}

TEST_F(SoundPlayerTest, VolumeOutsideItsRangeIsHeldWithinIt) {
  const struct {
    float volume;
    float peak;
  } cases[] = {
      {0.0f, 0.0f},
      {0.3f, 0.15f},
      {1.0f, 0.5f},
      {2.5f, 0.5f},  // louder than full is full
      {-1.0f, 0.0f},
      {std::numeric_limits<float>::quiet_NaN(), 0.0f},  // OpenAL would keep its last gain
  };
  for (const auto& item : cases) {
    SCOPED_TRACE(item.volume);
    liveSettings().volume = item.volume;
    SoundPlayer player(liveSettings());
    player.playMoveSound();
    const std::vector<float> out = WaveCapture::finish();
    ASSERT_FALSE(out.empty());
    EXPECT_NEAR(item.peak, SignalAnalysis::peak(out), 0.01f * item.peak + kSilence);
  }
}

TEST_F(SoundPlayerTest, MissingFileSilencesOnlyItsEffect) {
  std::filesystem::remove(folder + "/badMove.wav");
  testing::internal::CaptureStdout();
  SoundPlayer player(liveSettings());
  EXPECT_EQ("", testing::internal::GetCapturedStdout());  // nothing is loaded before the first sound

  testing::internal::CaptureStdout();
  player.playBadMoveSound();
  player.playBadMoveSound();
  player.playLineRemovedSound();
  const std::vector<float> out = WaveCapture::finish();
  EXPECT_EQ("Error opening file: 6\n", testing::internal::GetCapturedStdout());  // once, at loading
  EXPECT_NEAR(0.25, amplitudeOf(out, "trel"), 0.005);
  EXPECT_NEAR(0.0, amplitudeOf(out, "badMove"), 0.005);
}

TEST_F(SoundPlayerTest, WithoutAnOutputDeviceThePlayerIsSilentAndTriesTheDeviceOnce) {
  WaveCapture::setOutputAvailable(false);
  testing::internal::CaptureStdout();
  {
    // A player that plays nothing never opens the device.
    SoundPlayer player(liveSettings());
  }
  EXPECT_EQ("", testing::internal::GetCapturedStdout());
  testing::internal::CaptureStdout();
  {
    SoundPlayer player(liveSettings());
    player.playLineRemovedSound();
    player.playMoveSound();
    player.playLevelUpSound();
    player.playBadMoveSound();
    player.playMenuSwitchSound();
    player.playNewHiScoreSound();
    player.playGameOverSound();
    player.playDubiousMoveSound();
  }
  EXPECT_EQ("Error opening output device: 5\n", testing::internal::GetCapturedStdout());
}

// The generated sounds, played by the player: each loads and is heard at the file's own peak
// times its level.
TEST_F(SoundPlayerTest, GeneratedSoundsAreHeard) {
  Resources::setDirectory(PELLIX_RESOURCE_DIR);
  liveSettings().volume = 1.0f;
  const EventCase cases[] = {
      {"trel", &SoundPlayer::playLineRemovedSound, "trel", 1.0f},
      {"move", &SoundPlayer::playMoveSound, "move", 1.0f},
      {"levelUp", &SoundPlayer::playLevelUpSound, "yay", 1.0f},
      {"badMove", &SoundPlayer::playBadMoveSound, "badMove", 1.0f},
      {"menuSwitch", &SoundPlayer::playMenuSwitchSound, "MenuSelect", 0.2f},
      {"newHiScore", &SoundPlayer::playNewHiScoreSound, "yay", 1.0f},
      {"gameOver", &SoundPlayer::playGameOverSound, "GameOver", 1.0f},
  };
  for (const EventCase& event : cases) {
    SCOPED_TRACE(event.event);
    SF_INFO info = {};
    const std::string path = Resources::pathFor(event.resource, "wav");
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    ASSERT_NE(nullptr, file) << path;
    std::vector<float> samples(static_cast<size_t>(info.frames * info.channels));
    sf_readf_float(file, samples.data(), info.frames);
    sf_close(file);

    testing::internal::CaptureStdout();
    SoundPlayer player(liveSettings());
    EXPECT_EQ("", testing::internal::GetCapturedStdout());
    (player.*event.play)();
    const std::vector<float> out = WaveCapture::finish();
    const float expected = SignalAnalysis::peak(samples) * event.level;
    EXPECT_NEAR(expected, SignalAnalysis::peak(out), 0.01f * expected);
  }
}

}  // namespace
