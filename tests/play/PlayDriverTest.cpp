// The play driver's short run in the test suite: random play in every mode, in both move modes,
// with the clock on and off, checking the game's invariants after every event. The seed is
// printed; PELLIX_PLAY_SEED=<seed> replays a run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "PlayDriver.h"
#include "TestEnvironment.h"

namespace {

const int EVENTS_PER_GAME = 600;

uint64_t runSeed() {
  if (const char* given = std::getenv("PELLIX_PLAY_SEED")) return std::strtoull(given, nullptr, 10);
  return std::random_device()();
}

TEST(PlayDriverTest, RandomPlayKeepsEveryInvariant) {
  const uint64_t seed = runSeed();
  std::cout << "play driver seed " << seed << " (replay with PELLIX_PLAY_SEED=" << seed << ")" << std::endl;
  // Eight games: each mode once with two-tap moves and once by dragging, the clock on in two of
  // every three, all from the one seed.
  for (int game = 0; game < 8; ++game) {
    PlayChoices choices(seed + static_cast<uint64_t>(game));
    PlaySession::Options options;
    options.resourceFolder = PELLIX_PLAY_RESOURCE_DIR;
    options.seed = static_cast<uint32_t>(seed + static_cast<uint64_t>(game));
    options.gameMode = game % 4;
    options.twoTapMoves = game >= 4;
    options.clockDisabled = choices.pick(3) == 0;
    std::string error;
    std::unique_ptr<PlaySession> session = PlaySession::start(options, error);
    if (!session) PELLIX_MISSING_PREREQUISITE(error);
    PlayDriver driver(*session, choices);
    while (driver.eventCount() < EVENTS_PER_GAME && driver.step()) {
    }
    ASSERT_EQ("", driver.fault()) << "seed " << seed << ", game " << game << ", event " << driver.eventCount()
                                  << "; the last events:\n"
                                  << driver.recentEvents();
  }
}

}  // namespace
