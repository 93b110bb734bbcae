// SourceLine: one of the game's sound effects, the engine's effect id and the effect's base
// level. Created and owned by SoundPlayer, which plays it on the main thread.
#pragma once

#include <cstdint>

class SourceLine {
 public:
  // Loads the resource `name` of type "wav" as an engine effect; a file that does not load
  // leaves the effect silent (its id stays 0, which the engine never hands out).
  SourceLine(const char* name, float level);

  // Plays the effect from the start at base level × `volume`.
  void play(float volume) const;

  uint32_t id = 0;
  float level;
};
