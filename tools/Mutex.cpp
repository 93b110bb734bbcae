// MyTl::Mutex over a recursive pthread mutex.
#include "Mutex.h"

#include "Assert.h"

namespace MyTl {

Mutex::~Mutex() {
  if (inited.load(std::memory_order_acquire)) pthread_mutex_destroy(&mutex);
}

void Mutex::init() {
  std::call_once(initOnce, [this] {
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    int result = pthread_mutex_init(&mutex, &attributes);
    pthread_mutexattr_destroy(&attributes);
    MYTL_ASSERT(result == 0, "Mutex");
    inited.store(true, std::memory_order_release);
  });
}

void Mutex::lock() {
  if (!inited.load(std::memory_order_acquire)) init();
  int result = pthread_mutex_lock(&mutex);
  MYTL_ASSERT(result == 0, "Mutex");
}

void Mutex::unlock() {
  // Unlocking a mutex this thread does not hold is a broken contract.
  MYTL_ASSERT(inited.load(std::memory_order_acquire), "Mutex");
  int result = pthread_mutex_unlock(&mutex);
  MYTL_ASSERT(result == 0, "Mutex");
}

}  // namespace MyTl
