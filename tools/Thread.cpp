// MyTl::Thread over POSIX threads.
#include "Thread.h"

#include <cerrno>

#include "LinuxTimerPolicy.h"
#include "PolicyBasedTimer.h"

namespace MyTl {

Thread::Thread(const char* threadName) : name(threadName) {}

Thread::~Thread() { WaitForStop(); }

bool Thread::start(int priority, bool) {
  bool wasStarted = false;
  if (!started.compare_exchange_strong(wasStarted, true)) return false;
  pthread_t handle;
  if (pthread_create(&handle, nullptr, &Thread::entry, this) != 0) {
    // Nothing would ever clear the flag: WaitForStop would wait 30 s for nothing.
    started = false;
    return false;
  }
  // The handle stays valid until it is detached, even if run() has already ended.
  int policy = 0;
  sched_param parameters;
  if (pthread_getschedparam(handle, &policy, &parameters) == 0) {
    parameters.sched_priority = priority;
    pthread_setschedparam(handle, policy, &parameters);
  }
  pthread_detach(handle);
  thrd = handle;
  return true;
}

void* Thread::entry(void* self) {
  Thread* thread = static_cast<Thread*>(self);
  thread->run();
  // The last touch of the object: after this the owner may destroy it.
  thread->started = false;
  return nullptr;
}

timespec Thread::sleepDuration(long ms) {
  if (ms < 0) ms = 0;
  timespec duration;
  duration.tv_sec = ms / 1000;
  duration.tv_nsec = (ms % 1000) * 1000000L;
  return duration;
}

void Thread::sleep(long ms) {
  timespec remaining = sleepDuration(ms);
  // A signal cuts nanosleep short; sleep the rest.
  while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
  }
}

void Thread::WaitForStop() {
  stopPending = true;
  PolicyBasedTimer<LinuxTimerPolicy> timer;
  long pause = 2;
  while (started) {
    sleep(pause);
    double elapsed = timer.TimePassedInMs();
    if (elapsed > 30000.0 && pause + 1 > 250) break;
    ++pause;
  }
  if (!started) stopPending = false;
}

}  // namespace MyTl
