// The square set: the red-black tree, its node pool and the pool's chunked queue.
#include <atomic>
#include <cstdio>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "DynamicQueue.h"
#include "ObjectPool.h"
#include "RBTree.h"
#include "StaticQueueSRSW.h"
#include "Thread.h"

namespace {

// The game's key: a board square, (-1, -1) when none, ordered by x * 16 + y.
struct Square {
  int x = -1;
  int y = -1;
};
struct SquareOrder {
  bool operator()(const Square& a, const Square& b) const { return a.x * 16 + a.y < b.x * 16 + b.y; }
};
using SquareSet = MyTl::RBTree<Square, int, SquareOrder>;

std::vector<std::pair<int, int>> inOrder(const SquareSet& set) {
  std::vector<std::pair<int, int>> keys;
  for (const auto& node : set) keys.emplace_back(node.key.x, node.key.y);
  return keys;
}

}  // namespace

TEST(SquareSet, KeepsEachSquareOnceAndVisitsThemByColumnThenRow) {
  SquareSet set;
  EXPECT_TRUE(set.empty());
  EXPECT_TRUE(set.begin() == set.end());
  EXPECT_TRUE(set.insert({2, 5}, 1));
  EXPECT_TRUE(set.insert({1, 9}, 2));
  EXPECT_TRUE(set.insert({2, 0}, 3));
  EXPECT_FALSE(set.insert({2, 5}, 99)) << "a present key reports that it existed";
  EXPECT_EQ(set.count(), 3);
  ASSERT_NE(set.find({2, 5}), nullptr);
  EXPECT_EQ(*set.find({2, 5}), 1) << "and keeps its value";

  const std::vector<std::pair<int, int>> expected = {{1, 9}, {2, 0}, {2, 5}};
  EXPECT_EQ(inOrder(set), expected);
  std::vector<std::pair<int, int>> visited;
  std::vector<int> values;
  set.forEachInOrder([&](const Square& key, const int& value) {
    visited.emplace_back(key.x, key.y);
    values.push_back(value);
  });
  EXPECT_EQ(visited, expected);
  EXPECT_EQ(values, (std::vector<int>{2, 3, 1}));

  EXPECT_TRUE(set.hasKey({1, 9}));
  EXPECT_FALSE(set.hasKey({9, 1}));
  EXPECT_FALSE(set.hasKey({-1, -1}));
  EXPECT_TRUE(set.isValid());
}

TEST(SquareSet, ClearEmptiesTheSetForAFreshFill) {
  SquareSet set;
  for (int x = 0; x < 8; ++x) set.insert({x, x}, x);
  set.clear();
  EXPECT_EQ(set.count(), 0);
  EXPECT_TRUE(set.begin() == set.end());
  EXPECT_FALSE(set.hasKey({3, 3}));
  int calls = 0;
  set.forEachInOrder([&](const Square&, const int&) { ++calls; });
  EXPECT_EQ(calls, 0);
  set.clear();  // clearing an empty set is fine

  EXPECT_TRUE(set.insert({3, 3}, 7));
  EXPECT_TRUE(set.insert({0, 1}, 8));
  EXPECT_EQ(inOrder(set), (std::vector<std::pair<int, int>>{{0, 1}, {3, 3}}));
  EXPECT_EQ(*set.find({3, 3}), 7) << "a recycled node carries the new value";
  EXPECT_TRUE(set.isValid());
}

TEST(SquareSet, StaysBalancedAndOrderedUnderRandomFills) {
  const unsigned seed = std::random_device{}();
  std::printf("SquareSet random fills: seed %u\n", seed);
  std::mt19937 random(seed);
  SquareSet set;
  for (int round = 0; round < 30; ++round) {
    std::set<int> reference;
    int inserts = static_cast<int>(random() % 300);
    for (int i = 0; i < inserts; ++i) {
      Square square{static_cast<int>(random() % 16), static_cast<int>(random() % 16)};
      bool fresh = reference.insert(square.x * 16 + square.y).second;
      ASSERT_EQ(set.insert(square, i), fresh) << "seed " << seed;
      ASSERT_TRUE(set.isValid()) << "seed " << seed << " round " << round << " insert " << i;
    }
    ASSERT_EQ(set.count(), static_cast<int>(reference.size())) << "seed " << seed;
    std::vector<int> keys;
    for (const auto& node : set) keys.push_back(node.key.x * 16 + node.key.y);
    ASSERT_EQ(keys, std::vector<int>(reference.begin(), reference.end())) << "seed " << seed;
    for (int k = 0; k < 256; ++k) {
      ASSERT_EQ(set.hasKey({k / 16, k % 16}), reference.count(k) == 1) << "seed " << seed;
    }
    set.clear();
  }
}

TEST(SquareSet, AscendingAndDescendingFillsStayBalanced) {
  SquareSet ascending;
  SquareSet descending;
  for (int k = 0; k < 256; ++k) {
    ascending.insert({k / 16, k % 16}, k);
    descending.insert({(255 - k) / 16, (255 - k) % 16}, k);
  }
  EXPECT_TRUE(ascending.isValid());
  EXPECT_TRUE(descending.isValid());
  EXPECT_EQ(inOrder(ascending), inOrder(descending));
}

TEST(ObjectPool, FreshObjectsAreDefaultAndFreedOnesComeBackFirstInFirstOut) {
  MyTl::ObjectPool<SquareSet::Node> pool(32, 8192);
  SquareSet::Node* fresh = pool.acquire();
  EXPECT_EQ(fresh->key.x, -1);
  EXPECT_EQ(fresh->key.y, -1);
  EXPECT_EQ(fresh->colour, SquareSet::BLACK);
  EXPECT_EQ(fresh->parent, nullptr);
  EXPECT_EQ(fresh->left, nullptr);
  EXPECT_EQ(fresh->right, nullptr);

  SquareSet::Node* second = pool.acquire();
  pool.release(fresh);
  pool.release(second);
  EXPECT_EQ(pool.freeCount(), 2);
  EXPECT_EQ(pool.acquire(), fresh);
  EXPECT_EQ(pool.acquire(), second);
  EXPECT_EQ(pool.freeCount(), 0);
  pool.release(fresh);
  pool.release(second);
  pool.release(nullptr);
  EXPECT_EQ(pool.freeCount(), 2);
}  // the pool deletes what it holds

TEST(StaticQueueSRSW, OneSlotAlwaysStaysEmpty) {
  MyTl::StaticQueueSRSW<int> queue(4);
  EXPECT_EQ(queue.capacity(), 3);
  EXPECT_TRUE(queue.push(1));
  EXPECT_TRUE(queue.push(2));
  EXPECT_TRUE(queue.push(3));
  EXPECT_FALSE(queue.push(4));
  int value = 0;
  for (int expected = 1; expected <= 3; ++expected) {
    ASSERT_TRUE(queue.pop(value));
    EXPECT_EQ(value, expected);
    EXPECT_TRUE(queue.push(expected + 10));  // wraps around the ring
  }
  EXPECT_EQ(queue.count(), 3);
  for (int expected = 11; expected <= 13; ++expected) {
    ASSERT_TRUE(queue.pop(value));
    EXPECT_EQ(value, expected);
  }
  EXPECT_FALSE(queue.pop(value));
  EXPECT_TRUE(queue.empty());
}

TEST(DynamicQueue, GrowsByChunksAndDropsThemWhenEmptied) {
  MyTl::DynamicQueue<int> queue(32, 8192);
  EXPECT_EQ(queue.chunkCount(), 1);
  for (int i = 0; i < 31; ++i) queue.push(i);
  EXPECT_EQ(queue.chunkCount(), 1) << "a chunk of 32 slots holds 31";
  queue.push(31);
  EXPECT_EQ(queue.chunkCount(), 2);
  EXPECT_EQ(queue.size(), 64);
  for (int i = 32; i < 100; ++i) queue.push(i);
  EXPECT_EQ(queue.chunkCount(), 4);
  EXPECT_EQ(queue.count(), 100);

  int value = -1;
  for (int i = 0; i < 100; ++i) {
    ASSERT_TRUE(queue.pop(value));
    ASSERT_EQ(value, i) << "first in, first out across chunks";
  }
  EXPECT_FALSE(queue.pop(value));
  EXPECT_EQ(queue.chunkCount(), 1);
  EXPECT_TRUE(queue.empty());

  queue.push(7);  // and grows again from there
  EXPECT_TRUE(queue.pop(value));
  EXPECT_EQ(value, 7);
}

TEST(DynamicQueue, TryPushRefusesWhereThePushWouldBreakTheBound) {
  MyTl::DynamicQueue<int> queue(4, 8);
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(queue.tryPush(i));
  EXPECT_FALSE(queue.tryPush(6));
  EXPECT_EQ(queue.count(), 6);
  EXPECT_EQ(queue.size(), 8);
}

TEST(DynamicQueueDeathTest, GrowingBeyondTheMaximumSizeStopsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  MyTl::DynamicQueue<int> queue(32, 64);
  for (int i = 0; i < 62; ++i) queue.push(i);  // two full chunks
  EXPECT_DEATH(queue.push(62), "currentSize <= maxSize \\(DynamicQueue");

  MyTl::DynamicQueue<int> large(32, 8192);
  EXPECT_DEATH(
      {
        for (int i = 0; i < 8192; ++i) large.push(i);
      },
      "currentSize <= maxSize \\(DynamicQueue");
}

namespace {

// Pushes 0 .. count-1 from its own thread.
class Producer : public MyTl::Thread {
 public:
  Producer(MyTl::DynamicQueue<int>& queue, int count, const std::atomic<int>& consumed)
      : Thread("Producer"), queue(queue), count(count), consumed(consumed) {}
  ~Producer() override { WaitForStop(); }

 protected:
  void run() override {
    for (int i = 0; i < count; ++i) {
      while (i - consumed > 1000 && !stopPending) sleep(0);  // stay well inside the bound
      queue.push(i);
    }
  }

 private:
  MyTl::DynamicQueue<int>& queue;
  int count;
  const std::atomic<int>& consumed;
};

}  // namespace

TEST(DynamicQueue, OneReaderAndOneWriterThreadKeepTheOrder) {
  // Small chunks, so that chunks are linked and dropped all the time.
  MyTl::DynamicQueue<int> queue(4, 8192);
  const int total = 200000;
  std::atomic<int> consumed{0};
  Producer producer(queue, total, consumed);
  producer.start(MyTl::Thread::P_NORMAL, true);
  int value = -1;
  while (consumed < total) {
    if (queue.pop(value)) {
      ASSERT_EQ(value, consumed.load());
      ++consumed;
    }
  }
  EXPECT_FALSE(queue.pop(value));
}
