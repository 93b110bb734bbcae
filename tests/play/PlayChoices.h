// PlayChoices: where the play driver's decisions come from. Either a seeded generator (the short
// run in the test suite and the long run), which never runs out, or the bytes of a fuzzer's
// input, read front to back, which run out at their end. Owned by whoever runs the driver.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>

class PlayChoices {
 public:
  explicit PlayChoices(uint64_t seed) : generator(seed) {}
  PlayChoices(const uint8_t* data, size_t size) : bytes(data), remaining(size) {}

  // A number from 0 to bound - 1 (bound at least 1); 0 once the bytes have run out.
  int pick(int bound) {
    if (bound <= 1) return 0;
    if (bytes == nullptr) return static_cast<int>(generator() % static_cast<uint64_t>(bound));
    // Two bytes are plenty for every bound the driver uses (at most a few thousand).
    unsigned value = 0;
    for (int i = 0; i < 2 && remaining > 0; ++i, --remaining) value = value << 8 | *bytes++;
    return static_cast<int>(value % static_cast<unsigned>(bound));
  }
  // True with the chance `percent` in 100.
  bool chance(int percent) { return pick(100) < percent; }
  // Whether a fuzzer's input has been used up (never for a seeded generator).
  bool exhausted() const { return bytes != nullptr && remaining == 0; }

 private:
  std::mt19937_64 generator;
  const uint8_t* bytes = nullptr;
  size_t remaining = 0;
};
