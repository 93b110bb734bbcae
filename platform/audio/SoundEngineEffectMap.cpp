// The ordered map of loaded effects.
#include "SoundEngineEffectMap.h"

#include <iterator>
#include <utility>

#include "Assert.h"

void SoundEngineEffectMap::Add(std::unique_ptr<SoundEngineEffect> effect) {
  MYTL_ASSERT(effect && effect->sourceName() != 0, "SoundEngineEffectMap");
  const uint32_t id = effect->sourceName();
  const bool inserted = effects_.emplace(id, std::move(effect)).second;
  MYTL_ASSERT(inserted, "SoundEngineEffectMap");
}

SoundEngineEffect* SoundEngineEffectMap::Get(uint32_t id) const {
  auto found = effects_.find(id);
  return found == effects_.end() ? nullptr : found->second.get();
}

bool SoundEngineEffectMap::Remove(uint32_t id) { return effects_.erase(id) > 0; }

SoundEngineEffect* SoundEngineEffectMap::GetEffectByIndex(size_t index) const {
  if (index >= effects_.size()) return nullptr;
  return std::next(effects_.begin(), static_cast<std::ptrdiff_t>(index))->second.get();
}
