// MyTl::SharedPointerST: a single-threaded shared handle (textures and menu panels). Handles
// share one counter object (`Counter`, by default ReferenceCounter<T>) that holds the count and
// the object. Copying a handle adds a reference; assigning lets go of the old target; the last
// handle to let go deletes the counter and with it the object. reset(p) always starts a fresh
// counter with count 1, also for a null p. An empty (default) handle has no counter.
// The count is not atomic: use the handles of one object from one thread.
#pragma once

#include <utility>

#include "Assert.h"
#include "ReferenceCounter.h"

namespace MyTl {

template <class T, class Counter = ReferenceCounter<T>>
class SharedPointerST {
 public:
  SharedPointerST() = default;
  // Takes ownership of `object` (null allowed) with a fresh counter.
  explicit SharedPointerST(T* object) : counter(new Counter(object)) {}

  SharedPointerST(const SharedPointerST& other) : counter(other.counter) {
    if (counter != nullptr) counter->addReference();
  }
  SharedPointerST(SharedPointerST&& other) noexcept : counter(other.counter) { other.counter = nullptr; }

  // Takes the other's target. The new reference is counted before the old target is let go,
  // so assigning a handle to itself (or one that the old target owns) is safe.
  SharedPointerST& operator=(const SharedPointerST& other) {
    Counter* incoming = other.counter;
    if (incoming != nullptr) incoming->addReference();
    releaseTarget();
    counter = incoming;
    return *this;
  }
  SharedPointerST& operator=(SharedPointerST&& other) noexcept {
    if (this != &other) {
      Counter* incoming = other.counter;
      other.counter = nullptr;
      releaseTarget();
      counter = incoming;
    }
    return *this;
  }

  ~SharedPointerST() { releaseTarget(); }

  // Lets go of the current target and takes `object` with a fresh counter of count 1.
  void reset(T* object = nullptr) {
    Counter* fresh = new Counter(object);
    releaseTarget();
    counter = fresh;
  }

  T* get() const { return counter == nullptr ? nullptr : counter->get(); }
  T* operator->() const {
    MYTL_ASSERT(get() != nullptr, "SharedPointerST");
    return get();
  }
  T& operator*() const {
    MYTL_ASSERT(get() != nullptr, "SharedPointerST");
    return *get();
  }
  explicit operator bool() const { return get() != nullptr; }

  // Handles sharing this handle's counter (0 for an empty handle).
  int useCount() const { return counter == nullptr ? 0 : counter->useCount(); }

  friend bool operator==(const SharedPointerST& a, const SharedPointerST& b) { return a.get() == b.get(); }
  friend bool operator!=(const SharedPointerST& a, const SharedPointerST& b) { return a.get() != b.get(); }

 private:
  void releaseTarget() {
    Counter* old = counter;
    counter = nullptr;
    if (old != nullptr && old->removeReference() == 0) destroy(old);
  }

  // Kept out of line: when T itself holds handles, inlining the destruction into the release
  // of those handles makes the compiler see a use after free that cannot happen (the last
  // reference of a counter is never held inside its own object).
  [[gnu::noinline]] static void destroy(Counter* old) { delete old; }

  Counter* counter = nullptr;
};

}  // namespace MyTl
