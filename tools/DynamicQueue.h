// MyTl::DynamicQueue: an unbounded-looking first-in first-out queue made of a linked list of
// StaticQueueSRSW chunks, for one reader thread and one writer thread at a time. The object
// pool keeps its free objects in one. Appending writes into the last chunk; when it is full
// the writer, under the writer lock, tries again and otherwise links a new chunk. Taking reads
// from the first chunk; when that is empty and another follows, the reader, under the reader
// lock, drops it. Dropped chunks are kept as spares and reused by the writer, so a queue that
// goes up and down within sizes it has reached before allocates nothing.
// `maxSize` bounds the slots of the linked chunks: linking a chunk beyond it is a broken
// contract ("currentSize <= maxSize"); tryPush reports it instead.
#pragma once

#include <atomic>
#include <mutex>

#include "Assert.h"
#include "StaticQueueSRSW.h"

namespace MyTl {

template <class T>
class DynamicQueue {
 public:
  // `chunkSize`: slots per chunk (a power of two); `maxSize`: most slots in linked chunks.
  DynamicQueue(int chunkSize, int maxSize) : chunkSize(chunkSize), maxSize(maxSize) {
    MYTL_ASSERT(chunkSize <= maxSize, "DynamicQueue");
    first = last = new Chunk(chunkSize);
    currentSize.store(chunkSize);
  }

  ~DynamicQueue() {
    deleteChain(first);
    deleteChain(spares);
  }

  DynamicQueue(const DynamicQueue&) = delete;
  DynamicQueue& operator=(const DynamicQueue&) = delete;

  // Writer side: appends `item`, linking a chunk when the last one is full.
  void push(const T& item) { pushImpl(item, true); }
  // Writer side: like push, but returns false (and changes nothing) where push would break
  // the size bound.
  bool tryPush(const T& item) { return pushImpl(item, false); }

  // Reader side: takes the first element into `item`; false when the queue is empty.
  bool pop(T& item) {
    for (;;) {
      Chunk* head = first;
      if (head->queue.pop(item)) return true;
      Chunk* next = head->next.load(std::memory_order_acquire);
      if (next == nullptr) return false;
      std::lock_guard<std::mutex> guard(readerLock);
      // Once a successor is linked the writer never touches this chunk again, so this second
      // look is final: anything written before the link is seen here.
      if (head->queue.pop(item)) return true;
      first = next;
      currentSize.fetch_sub(chunkSize);
      keepSpare(head);
    }
  }

  // Number of elements (exact when neither side is busy).
  int count() const {
    int n = 0;
    for (Chunk* c = first; c != nullptr; c = c->next.load(std::memory_order_acquire)) n += c->queue.count();
    return n;
  }
  bool empty() const { return count() == 0; }
  // Slots in the linked chunks (chunk count x chunk size).
  int size() const { return currentSize.load(); }
  int chunkCount() const { return size() / chunkSize; }

 private:
  struct Chunk {
    explicit Chunk(int slots) : queue(slots) {}
    StaticQueueSRSW<T> queue;
    std::atomic<Chunk*> next{nullptr};
  };

  bool pushImpl(const T& item, bool assertBound) {
    if (last->queue.push(item)) return true;
    std::lock_guard<std::mutex> guard(writerLock);
    if (last->queue.push(item)) return true;
    if (!assertBound && currentSize.load() + chunkSize > maxSize) return false;
    currentSize.fetch_add(chunkSize);
    MYTL_ASSERT(currentSize <= maxSize, "DynamicQueue");
    Chunk* chunk = takeSpare();
    chunk->queue.push(item);
    // Publish the chunk only after its first element is in it.
    last->next.store(chunk, std::memory_order_release);
    last = chunk;
    return true;
  }

  // A dropped chunk is empty and no longer linked; the writer may reuse it as it is.
  void keepSpare(Chunk* chunk) {
    std::lock_guard<std::mutex> guard(spareLock);
    chunk->next.store(spares, std::memory_order_relaxed);
    spares = chunk;
  }

  Chunk* takeSpare() {
    {
      std::lock_guard<std::mutex> guard(spareLock);
      if (spares != nullptr) {
        Chunk* chunk = spares;
        spares = chunk->next.load(std::memory_order_relaxed);
        chunk->next.store(nullptr, std::memory_order_relaxed);
        return chunk;
      }
    }
    return new Chunk(chunkSize);
  }

  static void deleteChain(Chunk* chunk) {
    while (chunk != nullptr) {
      Chunk* next = chunk->next.load();
      delete chunk;
      chunk = next;
    }
  }

  const int chunkSize;
  const int maxSize;
  std::atomic<int> currentSize{0};
  Chunk* first = nullptr;  // reader's end
  Chunk* last = nullptr;   // writer's end
  Chunk* spares = nullptr; // dropped chunks waiting for reuse, linked through `next`
  std::mutex writerLock;
  std::mutex readerLock;
  std::mutex spareLock;
};

}  // namespace MyTl
