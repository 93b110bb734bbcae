// MyTl::ObjectPool: recycles heap objects of one type. acquire() hands out a free object (or a
// new default-constructed one when none is free); release() takes it back for later reuse,
// without resetting it. Free objects wait in a first-in first-out DynamicQueue. The pool owns
// the free objects and deletes them when it is destroyed; objects handed out belong to the
// caller until released. The red-black tree takes its nodes from here.
#pragma once

#include "DynamicQueue.h"

namespace MyTl {

template <class T>
class ObjectPool {
 public:
  // `chunkSize` slots per chunk of the free queue (a power of two), at most `maxSize` slots.
  ObjectPool(int chunkSize, int maxSize) : freeObjects(chunkSize, maxSize) {}

  ~ObjectPool() {
    T* object = nullptr;
    while (freeObjects.pop(object)) delete object;
  }

  ObjectPool(const ObjectPool&) = delete;
  ObjectPool& operator=(const ObjectPool&) = delete;

  // The oldest free object, or a new T() when none is free.
  T* acquire() {
    T* object = nullptr;
    if (freeObjects.pop(object)) return object;
    return new T();
  }

  // Takes `object` (from acquire) back. When the free queue is at its size bound the object is
  // deleted instead, so a burst of releases never breaks the bound.
  void release(T* object) {
    if (object == nullptr) return;
    if (!freeObjects.tryPush(object)) delete object;
  }

  // Number of free objects waiting for reuse.
  int freeCount() const { return freeObjects.count(); }

 private:
  DynamicQueue<T*> freeObjects;
};

}  // namespace MyTl
