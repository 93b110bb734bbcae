// MyTl::Thread: a detached POSIX thread whose work is a subclass's run(). The online high
// scores derive their fetcher and uploader from it. start() runs run() once on a new thread;
// nothing joins it: WaitForStop (also called by the destructor) requests a stop through
// `stopPending` and waits up to about 30 s for run() to return. A subclass whose run() may
// still be going must not free what run() uses before this base destructor has waited.
// `started` and `stopPending` are read and written by two threads, hence atomic.
#pragma once

#include <atomic>
#include <ctime>
#include <pthread.h>

namespace MyTl {

class Thread {
 public:
  // The priority callers pass to start.
  static constexpr int P_NORMAL = 15;

  // `threadName` is kept as given (not copied); it must outlive the thread object.
  explicit Thread(const char* threadName);
  // Waits for run() through WaitForStop.
  virtual ~Thread();

  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // Sets `started`, creates the thread (default attributes) running run(), asks for
  // `priority` under the thread's own scheduling policy (refused silently where the policy has
  // no priorities, as for ordinary Linux threads) and detaches it. The bool has no effect.
  // Returns whether a thread was started: false while the previous run() is still going (one
  // object never runs its body twice at once) and when no thread can be created (`started`
  // is then back to false).
  bool start(int priority, bool);

  // Sleeps `ms` milliseconds (a negative value sleeps not at all).
  static void sleep(long ms);
  // The seconds and nanoseconds that sleep(ms) asks nanosleep for.
  static timespec sleepDuration(long ms);

  // Sets `stopPending` and waits for run() to return, polling with pauses that grow from 2 ms
  // by 1 ms per pass, giving up after about 30 s. `stopPending` goes back to false when run()
  // ended and stays true after a time-out.
  void WaitForStop();

  pthread_t thrd{};
  const char* name;
  std::atomic<bool> stopPending{false};
  // True from start() until run() has returned.
  std::atomic<bool> started{false};

 protected:
  // The thread's work. It should return soon once `stopPending` is set.
  virtual void run() = 0;

 private:
  static void* entry(void* self);
};

}  // namespace MyTl
