// One whole move cycle: select a ball, search the reachable squares, mark the path, move, check
// the rows and place the announced balls when nothing was removed. Reports ns per move.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>

#include "Board.h"
#include "GameClock.h"
#include "RandomSource.h"
#include "Settings.h"
#include "RandomPlayer.h"
#include "TempFolder.h"

namespace {

// The settings live in a folder of their own, removed when the program ends.
Settings& liveSettings() {
  static TempFolder folder("pellix-bench");
  static Settings settings(folder.path("settings.dat").c_str());
  return settings;
}

void BM_MoveCycle(benchmark::State& state) {
  GameClock clock([] { return 0; });
  RandomSource random(42);
  Board board(clock, random, liveSettings());
  board.reset(true);
  RandomPlayer player(board, 42);
  for (auto _ : state) {
    const RandomPlayer::MoveResult result = player.playOneMove();
    benchmark::DoNotOptimize(result);
    if (result.boardFull || (!result.moved && board.freeSquares.empty())) {
      state.PauseTiming();
      board.reset(true);
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_MoveCycle);

}  // namespace

BENCHMARK_MAIN();
