// The play driver's long run: one random game after another, each in a child process so that a
// crash ends only its game, until the time is up. Prints every fault with the seed that
// replays it, and at the end the events per second.
//   play_run [--seed first] [--events per-game] [--seconds total]
//   play_run --seed N --events M --once     replays one game in this process
//   --play-on    notes each kind of broken rule once and plays on instead of stopping
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "PlayDriver.h"

namespace {

// Plays one game from `seed`; `events` counts its events as they happen (shared with the
// parent, which reads it after a crash). Returns the exit status: 0 clean, 1 a rule broken,
// 2 no GL.
int playOneGame(uint64_t seed, long long maxEvents, bool playOn, volatile long long* events) {
  PlayChoices choices(seed);
  PlaySession::Options options;
  options.resourceFolder = PELLIX_PLAY_RESOURCE_DIR;
  options.seed = static_cast<uint32_t>(seed);
  options.gameMode = choices.pick(4);
  options.twoTapMoves = choices.chance(50);
  options.clockDisabled = choices.pick(3) == 0;
  std::string error;
  std::unique_ptr<PlaySession> session = PlaySession::start(options, error);
  if (!session) {
    std::fprintf(stderr, "no GL context: %s\n", error.c_str());
    return 2;
  }
  PlayDriver driver(*session, choices);
  if (playOn) driver.playOnAfterFaults();
  while (driver.eventCount() < maxEvents && driver.step()) *events = driver.eventCount();
  *events = driver.eventCount();
  if (!driver.findings().empty()) {
    std::printf("seed %llu: FAULTS\n%s", static_cast<unsigned long long>(seed), driver.findings().c_str());
    std::fflush(stdout);
    return 1;
  }
  if (driver.fault().empty()) return 0;
  std::printf("seed %llu: FAULT at event %lld: %s\nthe last events:\n%s\n", static_cast<unsigned long long>(seed),
              driver.eventCount(), driver.fault().c_str(), driver.recentEvents().c_str());
  std::fflush(stdout);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  uint64_t seed = 1;
  long long eventsPerGame = 20000;
  double seconds = 60;
  bool once = false;
  bool playOn = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--once") {
      once = true;
    } else if (arg == "--play-on") {
      playOn = true;
    } else if (i + 1 < argc && arg == "--seed") {
      seed = std::strtoull(argv[++i], nullptr, 10);
    } else if (i + 1 < argc && arg == "--events") {
      eventsPerGame = std::strtoll(argv[++i], nullptr, 10);
    } else if (i + 1 < argc && arg == "--seconds") {
      seconds = std::strtod(argv[++i], nullptr);
    } else {
      std::fprintf(stderr, "usage: %s [--seed first] [--events per-game] [--seconds total] [--once] [--play-on]\n", argv[0]);
      return 2;
    }
  }
  if (once) {
    long long events = 0;
    return playOneGame(seed, eventsPerGame, playOn, &events);
  }

  auto* shared = static_cast<long long*>(
      mmap(nullptr, sizeof(long long), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
  if (shared == MAP_FAILED) return 2;
  const auto start = std::chrono::steady_clock::now();
  auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
  long long totalEvents = 0;
  int games = 0, faults = 0, crashes = 0;
  for (; elapsed() < seconds; ++seed, ++games) {
    *shared = 0;
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) _exit(playOneGame(seed, eventsPerGame, playOn, shared));
    int status = 0;
    waitpid(child, &status, 0);
    totalEvents += *shared;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2) return 2;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 1) ++faults;
    if (WIFSIGNALED(status)) {
      ++crashes;
      std::printf("seed %llu: CRASH (%s) after event %lld; replay with --seed %llu --events %lld --once\n",
                  static_cast<unsigned long long>(seed), strsignal(WTERMSIG(status)), *shared,
                  static_cast<unsigned long long>(seed), *shared + 1);
    }
  }
  const double total = elapsed();
  std::printf("%d games, %lld events in %.0f s (%.0f events/s): %d broken rules, %d crashes\n", games, totalEvents,
              total, static_cast<double>(totalEvents) / total, faults, crashes);
  return faults + crashes == 0 ? 0 : 1;
}
