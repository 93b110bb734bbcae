// The installed wake-up function, read atomically by the workers.
#include "WorkerWakeUp.h"

#include <atomic>

namespace {

std::atomic<void (*)()> installedWake{nullptr};

}  // namespace

void WorkerWakeUp::install(void (*wake)()) { installedWake.store(wake, std::memory_order_release); }

void WorkerWakeUp::notify() {
  void (*wake)() = installedWake.load(std::memory_order_acquire);
  if (wake != nullptr) wake();
}
