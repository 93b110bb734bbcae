// bench_e2e_startup: the real game on a virtual X server of its own with software GL (Mesa's
// llvmpipe), launched several times. Each round launches the game twice:
//  - with the game clock off and two-tap moves: the time from exec to the first frame shown in
//    the window; then the frames per second and the CPU the game uses on the start screen, on a
//    still board with nothing selected, and while a selected ball pulses; and its peak resident
//    memory at the end;
//  - with the game clock on: frames per second and CPU on a still board, where only the timer
//    strip changes.
// Frames are counted by the X server's damage reports on the window (FrameCounter). Google
// Benchmark reports mean, median and spread over the rounds. Every measure runs twice: on a
// display where the window opens at 320 x 480 (1x art) and on one where it opens at 640 x 960
// (2x art, four times the pixels to generate and draw); the scenes at rest and the pulse also
// run on a 1280 x 1024 display, where the window opens at its default 580 x 870.
//
//   build-dir/bench/e2e/bench_e2e_startup
//
// PELLIX_BENCH_GAME_BINARY=path runs another build of the game instead (to compare with).
//
// settled_start_<display> measures what the player sees, on the whole X screen from before the
// launch (SettledScreenWatch): each round launches the bare SDL2 + GL program bench_e2e_bare_gl
// (one textured frame in a window of the game's size, the floor) and then the game, and counts
// for the game settled_ms (exec to the first moment the screen shows the start screen it keeps),
// first_change_ms, pictures_before (other pictures shown first: an empty or half-drawn window),
// frames_after (the same picture presented again), floor_settled_ms, ratio_to_floor and
// start_peak_rss_MiB (VmHWM once started). Displays: 1x, 2x and 1280 x 1024 (a 580 x 870 window,
// 2x art). About 5 s per round:
//   bench_e2e_startup --benchmark_filter=settled
// game_first_frame launches only to the first frame, more times, for a steadier figure.
// The time column is the time to the first frame; the counters are first_frame_ms, per scene
// <scene>_fps and <scene>_cpu_pct (100 = one core busy) for the scenes start (start screen),
// still (clock off, nothing selected), pulse (a selected ball) and clock (clock on, nothing
// selected), and peak_rss_MiB. About 20 s per round.
#include <benchmark/benchmark.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "GameSession.h"
#include "SavedFiles.h"
#include "SettledScreenWatch.h"
#include "TestBoards.h"

namespace {

const int ROUNDS = 5;
const int FIRST_FRAME_LAUNCHES = 15;
const int SETTLED_LAUNCHES = 9;
// Nothing drawn for this long after the start: the program has come to rest.
const int QUIET_MS = 700;
const int MEASURE_MS = 3000;
// Time for the start of play (first board image, the balls' appearance) to settle.
const int SETTLE_MS = 1500;

// The display size of a run: its arguments.
int displayWidth(const benchmark::State& state) { return static_cast<int>(state.range(0)); }
int displayHeight(const benchmark::State& state) { return static_cast<int>(state.range(1)); }

int squareCentreX(int column) { return 4 + 39 * column + 19; }
int squareCentreY(int row) { return 45 + 39 * row + 19; }

// Frames per second and CPU % of the game over the next MEASURE_MS, as counters `scene`_fps
// and `scene`_cpu_pct.
void measureScene(GameSession& session, benchmark::State& state, const std::string& scene) {
  const double cpuBefore = session.cpuMs();
  const int frames = session.countFrames(MEASURE_MS);
  const double cpuAfter = session.cpuMs();
  state.counters[scene + "_fps"] = frames * 1000.0 / MEASURE_MS;
  state.counters[scene + "_cpu_pct"] = (cpuAfter - cpuBefore) * 100.0 / MEASURE_MS;
}

// Launches the game with `clockOn` and the saved board ready; false (with the reason given to
// `state`) when it shows no frame.
bool launch(GameSession& session, benchmark::State& state, bool clockOn) {
  if (!session.displayReady()) {
    state.SkipWithError(("Xvfb could not be started: " + session.setupProblem()).c_str());
    return false;
  }
  // Settings from an earlier run (so no instructions after the start screen) and a saved game
  // with a few balls, one of which the round selects.
  SavedBoard board = TestBoards::almostALine(5);
  board.clockDisabled = !clockOn;
  writeBytes(session.dataFolder() + "/settings.dat", settingsRecord(0, !clockOn, true, 0.5f));
  writeBytes(session.dataFolder() + "/gameState.dat", savedGame(board));
  session.setEnvironment("LIBGL_ALWAYS_SOFTWARE", "1");
  // Another build of the game to compare with (say, an older one): it must sit in a build
  // folder of its own kind, next to its art.
  const char* binary = std::getenv("PELLIX_BENCH_GAME_BINARY");
  if (binary != nullptr && *binary != '\0') session.setBinary(binary);
  if (!session.launch() || !session.waitForFirstFrame(30000)) {
    state.SkipWithError(("the game did not show a frame: " + session.errorOutput()).c_str());
    return false;
  }
  return true;
}

bool closeNormally(GameSession& session, benchmark::State& state) {
  session.closeWindow();
  if (session.waitForExit(10000) != 0) {
    state.SkipWithError("the game did not exit normally");
    return false;
  }
  return true;
}

void leaveStartScreen(GameSession& session) {
  session.moveTo(160, 240);
  GameSession::pause(300);
  session.tap(160, 240);
  GameSession::pause(SETTLE_MS);
}

void startUpAndRest(benchmark::State& state) {
  for (auto _ : state) {
    double firstFrameMs = 0;
    {
      GameSession session(displayWidth(state), displayHeight(state));
      if (!launch(session, state, false)) break;
      firstFrameMs = session.msToFirstFrame();
      GameSession::pause(1000);
      measureScene(session, state, "start");
      leaveStartScreen(session);
      measureScene(session, state, "still");
      // Two-tap moves: a tap selects the ball, which then pulses until the next tap.
      session.tap(squareCentreX(4), squareCentreY(3));
      GameSession::pause(300);
      measureScene(session, state, "pulse");
      state.counters["peak_rss_MiB"] = static_cast<double>(session.peakResidentKb()) / 1024.0;
      if (!closeNormally(session, state)) break;
    }
    {
      GameSession session(displayWidth(state), displayHeight(state));
      if (!launch(session, state, true)) break;
      leaveStartScreen(session);
      measureScene(session, state, "clock");
      if (!closeNormally(session, state)) break;
    }
    state.SetIterationTime(firstFrameMs / 1000.0);
    state.counters["first_frame_ms"] = firstFrameMs;
  }
}

// Exec to the start screen's first frame alone, over more launches (about 1 s each):
//   bench_e2e_startup --benchmark_filter=first_frame
void firstFrameOnly(benchmark::State& state) {
  for (auto _ : state) {
    GameSession session(displayWidth(state), displayHeight(state));
    if (!launch(session, state, false)) break;
    const double firstFrameMs = session.msToFirstFrame();
    if (!closeNormally(session, state)) break;
    state.SetIterationTime(firstFrameMs / 1000.0);
    state.counters["first_frame_ms"] = firstFrameMs;
  }
}

// The game's window on each display: 85 % of its height in whole thirds, two of them wide.
int windowHeightOn(int displayHeight) { return 3 * static_cast<int>(0.85 * displayHeight / 3.0 + 1e-9); }

// Exec to the settled start screen, for the game and for the floor, in one round on one display.
void settledStart(benchmark::State& state) {
  const char* binary = std::getenv("PELLIX_BENCH_GAME_BINARY");
  const int windowHeight = windowHeightOn(displayHeight(state));
  for (auto _ : state) {
    GameSession session(displayWidth(state), displayHeight(state));
    if (!session.displayReady()) {
      state.SkipWithError(("Xvfb could not be started: " + session.setupProblem()).c_str());
      break;
    }
    session.setEnvironment("LIBGL_ALWAYS_SOFTWARE", "1");

    // The floor: one textured frame in a window of the game's size; it is done when its window
    // shows something and rests.
    SettledScreenWatch floorWatch(session.xDisplayName());
    session.setBinary(BARE_GL_BINARY);
    session.setArguments({std::to_string(windowHeight * 2 / 3), std::to_string(windowHeight)});
    floorWatch.start();
    if (!floorWatch.ready() || !session.launch() || !floorWatch.follow(QUIET_MS, 30000, [&session] { return session.waitForFirstFrame(1000); })) {
      state.SkipWithError(("the bare GL program showed nothing: " + session.errorOutput()).c_str());
      break;
    }
    session.signal(SIGTERM);
    if (session.waitForExit(10000) != 0) {
      state.SkipWithError("the bare GL program did not exit normally");
      break;
    }
    const SettledScreenWatch::Outcome floor = floorWatch.outcome();

    // The game on its start screen, as a player who has played before finds it; it has started
    // when its window has its icon.
    writeBytes(session.dataFolder() + "/settings.dat", settingsRecord(0, false, false, 0.5f));
    session.setBinary(binary != nullptr && *binary != '\0' ? binary : "");
    session.setArguments({});
    SettledScreenWatch gameWatch(session.xDisplayName());
    gameWatch.start();
    const bool started = session.launch() && gameWatch.follow(QUIET_MS, 30000, [&session] {
      return session.waitForFirstFrame(1000) && session.windowIconWidth() > 0;
    });
    if (!started) {
      state.SkipWithError(("the game did not start: " + session.errorOutput()).c_str());
      break;
    }
    const SettledScreenWatch::Outcome game = gameWatch.outcome();
    const double peakMiB = static_cast<double>(session.peakResidentKb()) / 1024.0;
    if (!closeNormally(session, state)) break;

    state.SetIterationTime(game.settledMs / 1000.0);
    state.counters["settled_ms"] = game.settledMs;
    state.counters["first_change_ms"] = game.firstChangeMs;
    state.counters["pictures_before"] = game.picturesBefore;
    state.counters["frames_after"] = game.reportsAfter;
    state.counters["floor_settled_ms"] = floor.settledMs;
    state.counters["ratio_to_floor"] = game.settledMs / floor.settledMs;
    state.counters["start_peak_rss_MiB"] = peakMiB;
  }
}

// Display sizes on which the window opens at exactly 1x and 2x.
const std::vector<std::pair<const char*, std::vector<int64_t>>> DISPLAYS = {{"1x", {800, 565}}, {"2x", {1000, 1130}}};
// The same and a common desktop size, where the window is 580 x 870 (2x art).
const std::vector<std::pair<const char*, std::vector<int64_t>>> SETTLED_DISPLAYS = {
    {"1x", {800, 565}}, {"1280x1024", {1280, 1024}}, {"2x", {1000, 1130}}};

const bool registered = [] {
  for (const auto& display : SETTLED_DISPLAYS) {
    benchmark::RegisterBenchmark((std::string("settled_start_") + display.first).c_str(), settledStart)
        ->Args(display.second)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(SETTLED_LAUNCHES)
        ->DisplayAggregatesOnly(true);
  }
  for (const auto& display : DISPLAYS) {
    benchmark::RegisterBenchmark((std::string("game_first_frame_") + display.first).c_str(), firstFrameOnly)
        ->Args(display.second)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(FIRST_FRAME_LAUNCHES)
        ->DisplayAggregatesOnly(true);
  }
  // At rest and while a ball pulses, also in the default window of a common desktop.
  for (const auto& display : SETTLED_DISPLAYS) {
    benchmark::RegisterBenchmark((std::string("game_start_up_and_rest_") + display.first).c_str(), startUpAndRest)
        ->Args(display.second)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(ROUNDS)
        ->DisplayAggregatesOnly(true);
  }
  return true;
}();

}  // namespace

BENCHMARK_MAIN();
