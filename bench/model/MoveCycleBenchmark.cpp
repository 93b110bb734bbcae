// One whole move cycle: select a ball, search the reachable squares, mark the path, move, check
// the rows and place the announced balls when nothing was removed. Reports ns per move.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdlib>
#include <string>

#include "Board.h"
#include "RandomPlayer.h"

namespace {

void initSettingsInTempFolder() {
  static std::string folder;
  if (!folder.empty()) return;
  char pattern[] = "/tmp/pellix-bench-XXXXXX";
  folder = mkdtemp(pattern);
  Settings::init((folder + "/settings.dat").c_str());
}

void BM_MoveCycle(benchmark::State& state) {
  initSettingsInTempFolder();
  std::srand(42);
  Board board;
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
