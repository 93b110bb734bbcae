// A loaded effect and its base level.
#include "SourceLine.h"

#include <string>

#include "Resources.h"
#include "SoundEngine.h"

SourceLine::SourceLine(const char* name, float baseLevel) : level(baseLevel) {
  const std::string path = Resources::pathFor(name, "wav");
  SoundEngine_LoadEffect(path.c_str(), &id);  // a failure is printed by the engine; stays silent
}

void SourceLine::play(float volume) const {
  // An effect that failed to load answers "no such effect" here and plays nothing.
  SoundEngine_SetEffectLevel(id, level * volume);
  SoundEngine_StartEffect(id);
}
