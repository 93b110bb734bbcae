// MyTl::ReferenceCounter: the shared part behind SharedPointerST: a count of handles and the
// object they share. The counter owns the object and deletes it when the counter is deleted
// (which the last handle does). The count is not atomic: one thread only.
#pragma once

namespace MyTl {

template <class T>
class ReferenceCounter {
 public:
  // A counter for `object` (null allowed) with a count of 1.
  explicit ReferenceCounter(T* object) : target(object) {}
  ~ReferenceCounter() { delete target; }

  ReferenceCounter(const ReferenceCounter&) = delete;
  ReferenceCounter& operator=(const ReferenceCounter&) = delete;

  void addReference() { ++count; }
  // One handle fewer; returns the remaining count (0: delete this counter).
  int removeReference() { return --count; }

  int useCount() const { return count; }
  T* get() const { return target; }

 private:
  T* target;
  int count = 1;
};

}  // namespace MyTl
