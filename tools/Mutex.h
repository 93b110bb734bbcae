// MyTl::Mutex: a recursive POSIX mutex that sets itself up on its first lock, so that it can
// live in objects constructed before anything else (the game controller's lock). A thread that
// holds it may lock it again; it is free after as many unlocks as locks. Use it through Lock.
#pragma once

#include <atomic>
#include <mutex>
#include <pthread.h>

namespace MyTl {

class Mutex {
 public:
  Mutex() = default;
  // Destroys the POSIX mutex if it was set up; it must not be held.
  ~Mutex();

  Mutex(const Mutex&) = delete;
  Mutex& operator=(const Mutex&) = delete;

  // Sets up the POSIX mutex as recursive. lock() calls it the first time; it runs only once
  // even when two threads lock a fresh mutex at the same moment.
  void init();
  void lock();
  void unlock();

  bool isInited() const { return inited.load(std::memory_order_acquire); }

 private:
  pthread_mutex_t mutex;
  std::atomic<bool> inited{false};
  std::once_flag initOnce;
};

}  // namespace MyTl
