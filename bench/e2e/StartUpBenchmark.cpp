// bench_e2e_startup: the real game on a virtual X server of its own with software GL (Mesa's
// llvmpipe), launched several times. Each launch measures the time from exec to the first frame
// shown in the window, then leaves the start screen and lets the game sit idle in play for a
// few seconds, measuring the CPU time it uses per second and, at the end, its peak resident
// memory. Google Benchmark reports mean, median and spread over the launches. It runs twice:
// on a display where the window opens at 320 x 480 (1x art) and on one where it opens at
// 640 x 960 (2x art, four times the pixels to generate and draw).
//
//   build-dir/bench/e2e/bench_e2e_startup
//
// The time column is the time to the first frame; the counters are first_frame_ms,
// idle_cpu_ms_per_s (1000 = one core busy) and peak_rss_MiB. About 10 s per launch.
#include <benchmark/benchmark.h>

#include "GameSession.h"
#include "SavedFiles.h"

namespace {

const int LAUNCHES = 7;
const int IDLE_MS = 4000;

void startUpAndIdlePlay(benchmark::State& state) {
  for (auto _ : state) {
    GameSession session(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    if (!session.displayReady()) {
      state.SkipWithError("Xvfb could not be started");
      break;
    }
    // Default settings from an earlier run (so no instructions after the start screen), no
    // saved game: a fresh board with the game clock on.
    writeBytes(session.dataFolder() + "/settings.dat", settingsRecord(0, false, false, 0.5f));
    session.setEnvironment("LIBGL_ALWAYS_SOFTWARE", "1");
    if (!session.launch() || !session.waitForFirstFrame(30000)) {
      state.SkipWithError(("the game did not show a frame: " + session.errorOutput()).c_str());
      break;
    }
    const double firstFrameMs = session.msToFirstFrame();

    session.moveTo(160, 240);
    GameSession::pause(500);
    session.tap(160, 240);
    // Let the start of play (first board image, animations) settle before measuring.
    GameSession::pause(1500);
    const double cpuBefore = session.cpuMs();
    GameSession::pause(IDLE_MS);
    const double cpuAfter = session.cpuMs();
    const long peakKb = session.peakResidentKb();
    session.closeWindow();
    if (session.waitForExit(10000) != 0) {
      state.SkipWithError("the game did not exit normally");
      break;
    }

    state.SetIterationTime(firstFrameMs / 1000.0);
    state.counters["first_frame_ms"] = firstFrameMs;
    state.counters["idle_cpu_ms_per_s"] = (cpuAfter - cpuBefore) * 1000.0 / IDLE_MS;
    state.counters["peak_rss_MiB"] = static_cast<double>(peakKb) / 1024.0;
  }
}

// Display sizes on which the window opens at exactly 1x and 2x.
BENCHMARK(startUpAndIdlePlay)
    ->Name("game_start_up_and_idle_play_1x")
    ->Args({800, 565})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(LAUNCHES)
    ->DisplayAggregatesOnly(true);

BENCHMARK(startUpAndIdlePlay)
    ->Name("game_start_up_and_idle_play_2x")
    ->Args({1000, 1130})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(LAUNCHES)
    ->DisplayAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
