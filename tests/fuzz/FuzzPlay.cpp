// Fuzz target of the play driver: the input's bytes are the random player's choices (the first
// ones pick the mode, the move mode and the clock), played on the real controller and view
// layer from a fresh data folder, with the game's invariants checked after every event. A broken
// rule prints the rule and the last events and aborts, so that libFuzzer keeps the input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "PlayDriver.h"

namespace {

// Enough for a game to fill its board, few enough that one input stays well within the
// fuzzer's time limit for a single input.
const int MAX_EVENTS = 150;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PlayChoices choices(data, size);
  PlaySession::Options options;
  options.resourceFolder = PELLIX_FUZZ_RESOURCE_DIR;
  options.gameMode = choices.pick(4);
  options.twoTapMoves = choices.chance(50);
  options.clockDisabled = choices.pick(3) == 0;
  options.seed = static_cast<uint32_t>(choices.pick(65536));
  std::string error;
  std::unique_ptr<PlaySession> session = PlaySession::start(options, error);
  if (!session) {
    std::fprintf(stderr, "The play fuzz target needs an EGL context: %s\n", error.c_str());
    std::abort();
  }
  PlayDriver driver(*session, choices);
  while (driver.eventCount() < MAX_EVENTS && driver.step()) {
  }
  if (!driver.fault().empty()) {
    std::fflush(stdout);
    std::fprintf(stderr, "Play check failed at event %lld: %s\nThe last events:\n%s", driver.eventCount(),
                 driver.fault().c_str(), driver.recentEvents().c_str());
    std::abort();
  }
  return 0;
}
