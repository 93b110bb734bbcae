// The effect engine on OpenAL Soft's wave-file output: what a started effect sounds like in the
// captured file, the status codes, and every kind of bad sound file.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <filesystem>
#include <algorithm>
#include <cmath>
#include <string>

#include "SignalAnalysis.h"
#include "SoundEngine.h"
#include "TestWaveFiles.h"
#include "WaveCapture.h"

namespace {

using Tone = TestWaveFiles::Tone;

const int kRate = WaveCapture::kSampleRate;
const float kSilence = 1e-6f;
// 16-bit files round each sample to 1/32767.
const double kQuantum16 = 1.0 / 32767.0;

class SoundEngineTest : public testing::Test {
 protected:
  void SetUp() override {
    SoundEngine_Teardown();
    folder = WaveCapture::makeFolder("engine");
  }
  void TearDown() override {
    SoundEngine_Teardown();
    WaveCapture::setOutputAvailable(true);
  }

  // Writes `tone` as `name` in the test folder and returns its path.
  std::string writeTone(const std::string& name, const Tone& tone) {
    const std::string path = folder + "/" + name;
    EXPECT_TRUE(TestWaveFiles::write(path, tone)) << path;
    return path;
  }

  // Loads the file as an effect of a running engine; 0 when it fails.
  uint32_t load(const std::string& path) {
    uint32_t id = 0;
    EXPECT_EQ(kSoundEngineNoError, SoundEngine_LoadEffect(path.c_str(), &id)) << path;
    return id;
  }

  std::string folder;
};

TEST_F(SoundEngineTest, StartedEffectIsHeardOnceAtItsLevel) {
  const Tone tone;  // 0.12 s, amplitude 0.5
  const std::string path = writeTone("tone.wav", tone);
  for (float level : {1.0f, 0.5f, 0.2f, 0.0f}) {
    SCOPED_TRACE(level);
    ASSERT_EQ(kSoundEngineNoError, SoundEngine_Initialize(44100.0f));
    const uint32_t id = load(path);
    EXPECT_EQ(kSoundEngineNoError, SoundEngine_SetEffectLevel(id, level));
    EXPECT_EQ(kSoundEngineNoError, SoundEngine_StartEffect(id));
    const std::vector<float> out = WaveCapture::finish();
    ASSERT_FALSE(out.empty());

    const float expectedPeak = static_cast<float>(level * tone.amplitude);
    EXPECT_NEAR(expectedPeak, SignalAnalysis::peak(out), 0.01 * expectedPeak + 2 * kQuantum16);
    if (level == 0.0f) continue;
    // Played once, whole: it sounds as long as the file lasts.
    const long first = SignalAnalysis::firstAbove(out, 0.02f * expectedPeak);
    const long last = SignalAnalysis::lastAbove(out, 0.02f * expectedPeak);
    EXPECT_NEAR(tone.seconds, double(last - first) / kRate, 0.005);
    EXPECT_NEAR(tone.amplitude * level,
                SignalAnalysis::toneAmplitude(out, first, kRate / 20, tone.frequency, kRate),
                0.02 * expectedPeak);
  }
}

TEST_F(SoundEngineTest, RestartedEffectStartsAgainFromTheBeginning) {
  Tone tone;
  tone.seconds = 0.3;
  tone.amplitude = 0.8;
  tone.decaying = true;  // 0.8 at the start, falling to 0 at the end
  const std::string path = writeTone("decay.wav", tone);
  ASSERT_EQ(kSoundEngineNoError, SoundEngine_Initialize(44100.0f));
  const uint32_t id = load(path);
  SoundEngine_SetEffectLevel(id, 1.0f);
  ASSERT_EQ(kSoundEngineNoError, SoundEngine_StartEffect(id));
  // Restarted once 0.12 s of it have been mixed, however long the mixer took for that.
  ASSERT_TRUE(WaveCapture::waitUntilPlayedInto(0.12)) << "the effect did not play";
  ASSERT_EQ(kSoundEngineNoError, SoundEngine_StartEffect(id));
  const std::vector<float> out = WaveCapture::finish();

  const long first = SignalAnalysis::firstAbove(out, 0.01f);
  const long last = SignalAnalysis::lastAbove(out, 0.01f);
  ASSERT_GE(first, 0);
  // Heard for longer than one playing lasts...
  EXPECT_GT(double(last - first) / kRate, tone.seconds + 0.05);
  // ...and, where a single playing only fades, the level jumps back up to near the start's.
  const size_t window = kRate / 100;
  float jump = 0.0f;
  float previous = SignalAnalysis::peak(out, static_cast<size_t>(first) + 2 * window, window);
  for (size_t start = static_cast<size_t>(first) + 3 * window; start + window <= out.size(); start += window) {
    const float current = SignalAnalysis::peak(out, start, window);
    jump = std::max(jump, current - previous);
    previous = current;
  }
  EXPECT_GT(jump, 0.15f);
}

TEST_F(SoundEngineTest, TwoEffectsPlayAtTheSameTime) {
  Tone low, high;
  low.frequency = 500.0;
  high.frequency = 1230.0;
  low.seconds = high.seconds = 0.3;
  const std::string lowPath = writeTone("low.wav", low);
  const std::string highPath = writeTone("high.wav", high);
  ASSERT_EQ(kSoundEngineNoError, SoundEngine_Initialize(44100.0f));
  const uint32_t lowId = load(lowPath);
  const uint32_t highId = load(highPath);
  ASSERT_NE(lowId, highId);
  SoundEngine_SetEffectLevel(lowId, 0.8f);
  SoundEngine_SetEffectLevel(highId, 0.4f);
  EXPECT_EQ(kSoundEngineNoError, SoundEngine_StartEffect(lowId));
  EXPECT_EQ(kSoundEngineNoError, SoundEngine_StartEffect(highId));
  const std::vector<float> out = WaveCapture::finish();

  const long first = SignalAnalysis::firstAbove(out, 0.01f);
  ASSERT_GE(first, 0);
  // A window well inside both effects (they start within one mixing period of each other).
  const size_t window = static_cast<size_t>(first) + kRate / 10;
  EXPECT_NEAR(0.4, SignalAnalysis::toneAmplitude(out, window, kRate / 10, 500.0, kRate), 0.01);
  EXPECT_NEAR(0.2, SignalAnalysis::toneAmplitude(out, window, kRate / 10, 1230.0, kRate), 0.01);
}

TEST_F(SoundEngineTest, EffectsVolumeSetsEveryEffect) {
  Tone low, high;
  low.frequency = 500.0;
  high.frequency = 1230.0;
  const std::string lowPath = writeTone("low.wav", low);
  const std::string highPath = writeTone("high.wav", high);
  ASSERT_EQ(kSoundEngineNoError, SoundEngine_Initialize(44100.0f));
  const uint32_t lowId = load(lowPath);
  const uint32_t highId = load(highPath);
  SoundEngine_SetEffectLevel(lowId, 1.0f);
  EXPECT_EQ(kSoundEngineNoError, SoundEngine_SetEffectsVolume(0.25f));
  SoundEngine_StartEffect(lowId);
  SoundEngine_StartEffect(highId);
  const std::vector<float> out = WaveCapture::finish();

  const size_t first = static_cast<size_t>(std::max(0L, SignalAnalysis::firstAbove(out, 0.01f)));
  const size_t window = first + kRate / 50;
  EXPECT_NEAR(0.125, SignalAnalysis::toneAmplitude(out, window, kRate / 20, 500.0, kRate), 0.005);
  EXPECT_NEAR(0.125, SignalAnalysis::toneAmplitude(out, window, kRate / 20, 1230.0, kRate), 0.005);
}

TEST_F(SoundEngineTest, UnknownIdReturnsTwoAndPlaysNothing) {
  const std::string path = writeTone("tone.wav", Tone());
  ASSERT_EQ(kSoundEngineNoError, SoundEngine_Initialize(44100.0f));
  const uint32_t id = load(path);
  const uint32_t unknownIds[] = {0, id + 1000};
  for (uint32_t unknown : unknownIds) {
    EXPECT_EQ(kSoundEngineErrorNoEffect, SoundEngine_StartEffect(unknown));
    EXPECT_EQ(kSoundEngineErrorNoEffect, SoundEngine_SetEffectLevel(unknown, 1.0f));
    EXPECT_EQ(kSoundEngineErrorNoEffect, SoundEngine_UnloadEffect(unknown));
  }
  EXPECT_EQ(kSoundEngineNoError, SoundEngine_UnloadEffect(id));
  EXPECT_EQ(kSoundEngineErrorNoEffect, SoundEngine_StartEffect(id));  // unloaded
  EXPECT_EQ(kSoundEngineErrorNoEffect, SoundEngine_UnloadEffect(id));

  // Long enough to hear a sound, had one been started.
  ASSERT_TRUE(WaveCapture::waitUntilMixed(0.1)) << "the device mixed nothing";
  const std::vector<float> out = WaveCapture::finish();
  ASSERT_FALSE(out.empty());
  EXPECT_LT(SignalAnalysis::peak(out), kSilence);
}

TEST_F(SoundEngineTest, WithoutAnEngineEveryCallReturnsOne) {
  EXPECT_EQ(kSoundEngineErrorNoEngine, SoundEngine_StartEffect(1));
  EXPECT_EQ(kSoundEngineErrorNoEngine, SoundEngine_SetEffectLevel(1, 0.5f));
  EXPECT_EQ(kSoundEngineErrorNoEngine, SoundEngine_SetEffectsVolume(0.5f));
  EXPECT_EQ(kSoundEngineErrorNoEngine, SoundEngine_SetListenerPosition(0, 0, 1));
  EXPECT_EQ(kSoundEngineErrorNoEngine, SoundEngine_UnloadEffect(1));
  EXPECT_EQ(kSoundEngineErrorNoEngine, SoundEngine_Teardown());
}

TEST_F(SoundEngineTest, LoadingWithoutAnEngineStartsOne) {
  const std::string path = writeTone("tone.wav", Tone());
  const uint32_t id = load(path);
  ASSERT_NE(0u, id);
  SoundEngine_SetEffectLevel(id, 1.0f);
  EXPECT_EQ(kSoundEngineNoError, SoundEngine_StartEffect(id));
  EXPECT_NEAR(0.5f, SignalAnalysis::peak(WaveCapture::finish()), 0.01f);
}

TEST_F(SoundEngineTest, InitializingAgainReleasesTheEarlierEffects) {
  const std::string path = writeTone("tone.wav", Tone());
  ASSERT_EQ(kSoundEngineNoError, SoundEngine_Initialize(44100.0f));
  const uint32_t id = load(path);
  ASSERT_EQ(kSoundEngineNoError, SoundEngine_Initialize(44100.0f));
  EXPECT_EQ(kSoundEngineErrorNoEffect, SoundEngine_StartEffect(id));
}

TEST_F(SoundEngineTest, MissingOutputDeviceReturnsFiveAndLeavesNoEngine) {
  WaveCapture::setOutputAvailable(false);
  testing::internal::CaptureStdout();
  EXPECT_EQ(kSoundEngineErrorNoDevice, SoundEngine_Initialize(44100.0f));
  EXPECT_EQ("Error opening output device: 5\n", testing::internal::GetCapturedStdout());
  EXPECT_EQ(kSoundEngineErrorNoEngine, SoundEngine_SetListenerPosition(0, 0, 1));

  // The first load would start an engine, and fails the same way.
  const std::string path = writeTone("tone.wav", Tone());
  uint32_t id = 77;
  testing::internal::CaptureStdout();
  EXPECT_EQ(kSoundEngineErrorNoDevice, SoundEngine_LoadEffect(path.c_str(), &id));
  EXPECT_EQ("Error opening output device: 5\n", testing::internal::GetCapturedStdout());
  EXPECT_EQ(77u, id);
}

TEST_F(SoundEngineTest, FileCutShortPlaysTheSamplesItHas) {
  Tone tone;
  tone.seconds = 0.2;
  const std::string path = writeTone("cut.wav", tone);
  const std::string bytes = TestWaveFiles::readBytes(path);
  TestWaveFiles::writeBytes(path, bytes.substr(0, 44 + (bytes.size() - 44) / 2 + 1));  // odd byte
  ASSERT_EQ(kSoundEngineNoError, SoundEngine_Initialize(44100.0f));
  const uint32_t id = load(path);
  SoundEngine_SetEffectLevel(id, 1.0f);
  SoundEngine_StartEffect(id);
  const std::vector<float> out = WaveCapture::finish();
  const long first = SignalAnalysis::firstAbove(out, 0.01f);
  const long last = SignalAnalysis::lastAbove(out, 0.01f);
  ASSERT_GE(first, 0);
  EXPECT_NEAR(tone.seconds / 2, double(last - first) / kRate, 0.005);
  EXPECT_NEAR(tone.amplitude, SignalAnalysis::peak(out), 0.01);
}

// Other sample layouts OpenAL takes: heard at the file's amplitude.
struct AcceptedFile {
  const char* label;
  int format;
  int channels;
  int sampleRate;
  // A mono output device sums a stereo file's two channels.
  double expectedAmplitude;
};

class SoundEngineAcceptedFileTest : public SoundEngineTest,
                                    public testing::WithParamInterface<AcceptedFile> {};

TEST_P(SoundEngineAcceptedFileTest, IsHeard) {
  Tone tone;
  tone.format = GetParam().format;
  tone.channels = GetParam().channels;
  tone.sampleRate = GetParam().sampleRate;
  const std::string path = writeTone("accepted", tone);
  ASSERT_EQ(kSoundEngineNoError, SoundEngine_Initialize(44100.0f));
  testing::internal::CaptureStdout();
  const uint32_t id = load(path);
  EXPECT_EQ("", testing::internal::GetCapturedStdout());
  SoundEngine_SetEffectLevel(id, 1.0f);
  SoundEngine_StartEffect(id);
  const std::vector<float> out = WaveCapture::finish();
  const long first = SignalAnalysis::firstAbove(out, 0.01f);
  ASSERT_GE(first, 0);
  const double amplitude = SignalAnalysis::toneAmplitude(out, first + kRate / 100, kRate / 20, tone.frequency, kRate);
  EXPECT_NEAR(GetParam().expectedAmplitude, amplitude, 0.02);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, SoundEngineAcceptedFileTest,
    testing::Values(AcceptedFile{"WavUnsigned8", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 1, 44100, 0.5},
                    AcceptedFile{"AiffSigned8", SF_FORMAT_AIFF | SF_FORMAT_PCM_S8, 1, 44100, 0.5},
                    AcceptedFile{"WavStereo16", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100, 1.0},
                    AcceptedFile{"Wav22050Hz", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 22050, 0.5}),
    [](const testing::TestParamInfo<AcceptedFile>& info) { return std::string(info.param.label); });

// Files that do not load: the status, the one line printed, and an engine that goes on.
struct RefusedFile {
  const char* label;
  int status;
  const char* message;
  // Writes the file at the given path.
  void (*make)(const std::string& path);
};

void writeToneAs(const std::string& path, int format, int channels = 1) {
  Tone tone;
  tone.format = format;
  tone.channels = channels;
  ASSERT_TRUE(TestWaveFiles::write(path, tone));
}

class SoundEngineRefusedFileTest : public SoundEngineTest,
                                   public testing::WithParamInterface<RefusedFile> {};

TEST_P(SoundEngineRefusedFileTest, LeavesItsEffectOut) {
  const std::string path = folder + "/refused";
  GetParam().make(path);
  ASSERT_EQ(kSoundEngineNoError, SoundEngine_Initialize(44100.0f));
  uint32_t id = 77;
  testing::internal::CaptureStdout();
  EXPECT_EQ(GetParam().status, SoundEngine_LoadEffect(path.c_str(), &id));
  EXPECT_EQ(std::string(GetParam().message), testing::internal::GetCapturedStdout());
  EXPECT_EQ(77u, id);

  // Nothing half-made is registered, and a good file still loads and plays.
  const uint32_t good = load(writeTone("good.wav", Tone()));
  SoundEngine_SetEffectLevel(good, 1.0f);
  EXPECT_EQ(kSoundEngineNoError, SoundEngine_StartEffect(good));
  EXPECT_NEAR(0.5f, SignalAnalysis::peak(WaveCapture::finish()), 0.01f);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SoundEngineRefusedFileTest,
    testing::Values(
        RefusedFile{"Missing", kSoundFileErrorOpen, "Error opening file: 6\n", [](const std::string&) {}},
        RefusedFile{"Folder", kSoundFileErrorOpen, "Error opening file: 6\n",
                    [](const std::string& path) { std::filesystem::create_directory(path); }},
        RefusedFile{"Empty", kSoundFileErrorOpen, "Error opening file: 6\n",
                    [](const std::string& path) { TestWaveFiles::writeBytes(path, ""); }},
        RefusedFile{"NotASoundFile", kSoundFileErrorOpen, "Error opening file: 6\n",
                    [](const std::string& path) { TestWaveFiles::writeBytes(path, "RIFF\x10\0\0\0WAVEjunkjunkjunk"); }},
        RefusedFile{"HeaderCutShort", kSoundFileErrorOpen, "Error opening file: 6\n",
                    [](const std::string& path) {
                      writeToneAs(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
                      TestWaveFiles::writeBytes(path, TestWaveFiles::readBytes(path).substr(0, 30));
                    }},
        RefusedFile{"Float", kSoundEngineErrorUnsupportedFormat, "Error loading file info: 4\n",
                    [](const std::string& path) { writeToneAs(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT); }},
        RefusedFile{"MuLaw", kSoundEngineErrorUnsupportedFormat, "Error loading file info: 4\n",
                    [](const std::string& path) { writeToneAs(path, SF_FORMAT_WAV | SF_FORMAT_ULAW); }},
        RefusedFile{"BigEndianWav", kSoundEngineErrorUnsupportedFormat, "Error loading file info: 4\n",
                    [](const std::string& path) {
                      writeToneAs(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16 | SF_ENDIAN_BIG);
                    }},
        RefusedFile{"BigEndianAiff", kSoundEngineErrorUnsupportedFormat, "Error loading file info: 4\n",
                    [](const std::string& path) { writeToneAs(path, SF_FORMAT_AIFF | SF_FORMAT_PCM_16); }},
        // Linear PCM that OpenAL has no buffer format for fails in OpenAL.
        RefusedFile{"TwentyFourBit", 0xA002, "Error attaching data to buffer\n: a002\n",
                    [](const std::string& path) { writeToneAs(path, SF_FORMAT_WAV | SF_FORMAT_PCM_24); }},
        RefusedFile{"ThreeChannels", 0xA002, "Error attaching data to buffer\n: a002\n",
                    [](const std::string& path) { writeToneAs(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 3); }}),
    [](const testing::TestParamInfo<RefusedFile>& info) { return std::string(info.param.label); });

}  // namespace
