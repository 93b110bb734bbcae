// Refilling the square set after a clear allocates nothing once the pool has warmed up.
// This program replaces the global operator new to count allocations, so it has no other tests.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

#include <gtest/gtest.h>

#include "RBTree.h"

namespace {

std::atomic<long> allocations{0};

void* allocate(std::size_t size) {
  ++allocations;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}

struct Square {
  int x = -1;
  int y = -1;
};
struct SquareOrder {
  bool operator()(const Square& a, const Square& b) const { return a.x * 16 + a.y < b.x * 16 + b.y; }
};
using SquareSet = MyTl::RBTree<Square, int, SquareOrder>;

void fill(SquareSet& set, int squares, int shift) {
  for (int i = 0; i < squares; ++i) {
    int k = (i * 37 + shift) % 256;  // a different order every time
    set.insert({k / 16, k % 16}, i);
  }
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

TEST(SquareSetAllocation, ClearAndRefillAllocateNothingAfterWarmUp) {
  // 20 squares fit one chunk of the pool's queue; 200 need several, which are recycled too.
  for (int squares : {5, 20, 200, 256}) {
    SquareSet set;
    fill(set, squares, 0);
    set.clear();
    long before = allocations.load();
    for (int round = 1; round <= 50; ++round) {
      fill(set, squares, round);
      set.clear();
      fill(set, squares / 2, round);  // a smaller fill in between
      set.clear();
    }
    long during = allocations.load() - before;
    EXPECT_EQ(during, 0) << squares << " squares";
  }
}

TEST(SquareSetAllocation, TheCounterSeesTheFirstFill) {
  SquareSet set;
  long before = allocations.load();
  fill(set, 20, 0);
  EXPECT_GE(allocations.load() - before, 20) << "a cold pool makes its nodes";
}
