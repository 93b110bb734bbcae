// Clear-and-refill of the square set, the way a move fills the set of removed squares: insert
// a handful of squares (a row of five to a bomb's whole colour), visit them, clear. The pool
// makes this allocation-free after the first round; std::set is measured alongside for scale.
#include <set>

#include <benchmark/benchmark.h>

#include "RBTree.h"

namespace {

struct Square {
  int x = -1;
  int y = -1;
};
struct SquareOrder {
  bool operator()(const Square& a, const Square& b) const { return a.x * 16 + a.y < b.x * 16 + b.y; }
};
using SquareSet = MyTl::RBTree<Square, int, SquareOrder>;

// The i-th square of a fill: spread over the board, in no particular order.
Square squareFor(int i) {
  int k = (i * 37 + 11) % 256;
  return Square{k / 16, k % 16};
}

void BM_SquareSetClearAndRefill(benchmark::State& state) {
  const int squares = static_cast<int>(state.range(0));
  SquareSet set;
  for (auto _ : state) {
    for (int i = 0; i < squares; ++i) set.insert(squareFor(i), i);
    int visited = 0;
    set.forEachInOrder([&](const Square&, const int&) { ++visited; });
    benchmark::DoNotOptimize(visited);
    set.clear();
  }
  state.SetItemsProcessed(state.iterations() * squares);
}
BENCHMARK(BM_SquareSetClearAndRefill)->Arg(5)->Arg(20)->Arg(80)->Arg(256);

void BM_StdSetClearAndRefill(benchmark::State& state) {
  const int squares = static_cast<int>(state.range(0));
  std::set<Square, SquareOrder> set;
  for (auto _ : state) {
    for (int i = 0; i < squares; ++i) set.insert(squareFor(i));
    int visited = 0;
    for (const Square& square : set) visited += square.x >= 0 ? 1 : 0;
    benchmark::DoNotOptimize(visited);
    set.clear();
  }
  state.SetItemsProcessed(state.iterations() * squares);
}
BENCHMARK(BM_StdSetClearAndRefill)->Arg(5)->Arg(20)->Arg(80)->Arg(256);

}  // namespace

BENCHMARK_MAIN();
