// The sound generator: synthesises the game's sound effects and writes them as WAV files.
// Run by the build as `pellix_sound_generator <output folder>`; the output is the same bytes on
// every run.
#include <cstdio>
#include <string>

#include "SoundRecipes.h"
#include "ToneSynth.h"
#include "WaveFileWriter.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const std::string folder = argv[1];
  for (const SoundRecipes::Sound& sound : SoundRecipes::renderAll()) {
    const std::string path = folder + "/" + sound.name + ".wav";
    std::string error;
    if (!WaveFileWriter::write(path, sound.samples, ToneSynth::kSampleRate, error)) {
      std::fprintf(stderr, "%s: cannot write: %s\n", path.c_str(), error.c_str());
      return 1;
    }
  }
  return 0;
}
