// SoundRecipes: the design of each of the game's seven sound effects, by resource name.
// The sound generator renders every recipe and writes it as "<name>.wav".
#pragma once

#include <string>
#include <vector>

class SoundRecipes {
 public:
  struct Sound {
    std::string name;
    std::vector<float> samples;  // mono, ToneSynth::kSampleRate, within -1..1
  };

  // All seven sounds, rendered; the same samples on every call.
  static std::vector<Sound> renderAll();
};
