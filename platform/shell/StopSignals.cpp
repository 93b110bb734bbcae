// The signal-waiting thread.
#include "StopSignals.h"

#include <pthread.h>
#include <signal.h>

#include <system_error>

namespace {

sigset_t stopSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGHUP);
  return set;
}

}  // namespace

StopSignals::~StopSignals() { stop(); }

bool StopSignals::start(void (*wake)()) {
  if (waiter.joinable()) return true;
  wakeLoop = wake;
  const sigset_t set = stopSignalSet();
  if (pthread_sigmask(SIG_BLOCK, &set, nullptr) != 0) return false;
  try {
    waiter = std::thread(&StopSignals::waitForSignals, this);
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void StopSignals::waitForSignals() {
  const sigset_t set = stopSignalSet();
  for (;;) {
    int number = 0;
    if (sigwait(&set, &number) != 0) continue;
    if (stopping.load()) return;
    arrived.store(true);
    if (wakeLoop != nullptr) wakeLoop();
  }
}

void StopSignals::stop() {
  if (!waiter.joinable()) return;
  stopping.store(true);
  // The thread sleeps in sigwait: one of its own signals, sent to it alone, lets it see the flag.
  pthread_kill(waiter.native_handle(), SIGHUP);
  waiter.join();
}
