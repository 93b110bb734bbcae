// SoundEngineEffectMap: the engine's loaded effects, ordered by id (their OpenAL source names).
// Owned by OpenALObject; owns its effects. Used on the main thread by the engine functions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>

#include "SoundEngineEffect.h"

class SoundEngineEffectMap {
 public:
  // Registers a loaded effect under its source name, which OpenAL never gives out twice.
  void Add(std::unique_ptr<SoundEngineEffect> effect);
  // The effect registered under `id`, or null.
  SoundEngineEffect* Get(uint32_t id) const;
  // Releases the effect registered under `id`; false when there is none.
  bool Remove(uint32_t id);
  // The effect at `index` in id order, or null past the end.
  SoundEngineEffect* GetEffectByIndex(size_t index) const;
  size_t Size() const { return effects_.size(); }
  // Releases every effect (the context must still be current).
  void Clear() { effects_.clear(); }

 private:
  std::map<uint32_t, std::unique_ptr<SoundEngineEffect>> effects_;
};
