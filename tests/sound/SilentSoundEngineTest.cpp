// The silent effect engine of the tests and tools: the same statuses as the OpenAL Soft engine
// for every call, and a sound player that plays over it without an audio device.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

#include "Resources.h"
#include "Settings.h"
#include "SoundEngine.h"
#include "SoundPlayer.h"
#include "TempFolder.h"

namespace {

class SilentSoundEngineTest : public testing::Test {
 protected:
  void SetUp() override {
    SoundEngine_Teardown();
    TempFolder::writeFile(folder.path("tone.wav"), "RIFF");
  }
  void TearDown() override { SoundEngine_Teardown(); }

  uint32_t loadTone() {
    uint32_t id = 0;
    EXPECT_EQ(kSoundEngineNoError, SoundEngine_LoadEffect(folder.path("tone.wav").c_str(), &id));
    EXPECT_NE(0u, id);
    return id;
  }

  TempFolder folder;
};

TEST_F(SilentSoundEngineTest, EveryCallWithoutAnEngineSaysSo) {
  const struct {
    const char* name;
    std::function<int()> call;
  } cases[] = {
      {"Teardown", [] { return SoundEngine_Teardown(); }},
      {"UnloadEffect", [] { return SoundEngine_UnloadEffect(1); }},
      {"StartEffect", [] { return SoundEngine_StartEffect(1); }},
      {"SetEffectLevel", [] { return SoundEngine_SetEffectLevel(1, 0.5f); }},
      {"SetEffectsVolume", [] { return SoundEngine_SetEffectsVolume(0.5f); }},
      {"SetListenerPosition", [] { return SoundEngine_SetListenerPosition(0.0f, 0.0f, 1.0f); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(kSoundEngineErrorNoEngine, c.call());
  }
}

TEST_F(SilentSoundEngineTest, LoadedEffectsPlayUntilUnloadedOrTornDown) {
  const uint32_t first = loadTone();  // creates the engine
  const uint32_t second = loadTone();
  EXPECT_NE(first, second);
  EXPECT_EQ(kSoundEngineNoError, SoundEngine_SetListenerPosition(0.0f, 0.0f, 1.0f));
  EXPECT_EQ(kSoundEngineNoError, SoundEngine_SetEffectsVolume(1.0f));
  EXPECT_EQ(kSoundEngineNoError, SoundEngine_SetEffectLevel(first, 0.2f));
  EXPECT_EQ(kSoundEngineNoError, SoundEngine_StartEffect(first));

  EXPECT_EQ(kSoundEngineNoError, SoundEngine_UnloadEffect(first));
  EXPECT_EQ(kSoundEngineErrorNoEffect, SoundEngine_UnloadEffect(first));
  EXPECT_EQ(kSoundEngineErrorNoEffect, SoundEngine_StartEffect(first));
  EXPECT_EQ(kSoundEngineErrorNoEffect, SoundEngine_SetEffectLevel(0, 1.0f));
  EXPECT_EQ(kSoundEngineNoError, SoundEngine_StartEffect(second));

  // A new engine starts without the old one's effects.
  EXPECT_EQ(kSoundEngineNoError, SoundEngine_Initialize(44100.0f));
  EXPECT_EQ(kSoundEngineErrorNoEffect, SoundEngine_StartEffect(second));
  const uint32_t third = loadTone();
  EXPECT_EQ(kSoundEngineNoError, SoundEngine_Teardown());
  EXPECT_EQ(kSoundEngineErrorNoEngine, SoundEngine_StartEffect(third));
}

TEST_F(SilentSoundEngineTest, MissingFileLoadsNoEffectAndLeavesTheIdAlone) {
  uint32_t id = 77;
  EXPECT_EQ(kSoundFileErrorOpen, SoundEngine_LoadEffect(folder.path("missing.wav").c_str(), &id));
  EXPECT_EQ(77u, id);
  EXPECT_EQ(kSoundFileErrorOpen, SoundEngine_LoadEffect(nullptr, &id));
  EXPECT_EQ(77u, id);
}

// The game's sound player, as the controller tests use it: every event plays without
// a device, with its sound files present or missing.
TEST_F(SilentSoundEngineTest, SoundPlayerPlaysEveryEventSilently) {
  Settings settings(folder.path("settings.dat").c_str());
  for (const bool filesPresent : {true, false}) {
    SCOPED_TRACE(filesPresent ? "sound files present" : "sound files missing");
    TempFolder resources;
    if (filesPresent) {
      for (const char* name : {"trel", "move", "mouseMove", "yay", "badMove", "MenuSelect", "GameOver"}) {
        TempFolder::writeFile(resources.path(std::string(name) + ".wav"), "RIFF");
      }
    }
    Resources::setDirectory(resources.root().string());
    {
      SoundPlayer player(settings);
      player.playLineRemovedSound();
      player.playMoveSound();
      player.playLevelUpSound();
      player.playBadMoveSound();
      player.playMenuSwitchSound();
      player.playNewHiScoreSound();
      player.playGameOverSound();
      player.playDubiousMoveSound();
    }
    // The player tore its engine down when it went.
    EXPECT_EQ(kSoundEngineErrorNoEngine, SoundEngine_Teardown());
  }
}

}  // namespace
