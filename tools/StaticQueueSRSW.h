// MyTl::StaticQueueSRSW: a fixed-size first-in first-out ring buffer for one reader thread and
// one writer thread (no locks). It has a power-of-two number of slots, one of which always stays
// empty so that "full" and "empty" differ: a queue of n slots holds n - 1 elements.
// DynamicQueue chains these as its chunks. The queue owns copies of its elements.
#pragma once

#include <atomic>
#include <memory>

#include "Assert.h"

namespace MyTl {

template <class T>
class StaticQueueSRSW {
 public:
  // `slotCount` must be a power of two, at least 2.
  explicit StaticQueueSRSW(int slotCount)
      : slots(new T[static_cast<size_t>(slotCount)]), mask(slotCount - 1) {
    MYTL_ASSERT(slotCount >= 2 && (slotCount & (slotCount - 1)) == 0, "StaticQueueSRSW");
  }

  StaticQueueSRSW(const StaticQueueSRSW&) = delete;
  StaticQueueSRSW& operator=(const StaticQueueSRSW&) = delete;

  // Writer side: appends `item`; false when the queue is full.
  bool push(const T& item) {
    int write = writeIndex.load(std::memory_order_relaxed);
    int next = (write + 1) & mask;
    if (next == readIndex.load(std::memory_order_acquire)) return false;
    slots[write] = item;
    writeIndex.store(next, std::memory_order_release);
    return true;
  }

  // Reader side: takes the first element into `item`; false when the queue is empty.
  bool pop(T& item) {
    int read = readIndex.load(std::memory_order_relaxed);
    if (read == writeIndex.load(std::memory_order_acquire)) return false;
    item = slots[read];
    readIndex.store((read + 1) & mask, std::memory_order_release);
    return true;
  }

  bool empty() const {
    return readIndex.load(std::memory_order_acquire) == writeIndex.load(std::memory_order_acquire);
  }
  // Number of elements (exact when neither side is busy).
  int count() const {
    return (writeIndex.load(std::memory_order_acquire) - readIndex.load(std::memory_order_acquire)) & mask;
  }
  int slotCount() const { return mask + 1; }
  int capacity() const { return mask; }

 private:
  std::unique_ptr<T[]> slots;
  const int mask;
  std::atomic<int> readIndex{0};
  std::atomic<int> writeIndex{0};
};

}  // namespace MyTl
