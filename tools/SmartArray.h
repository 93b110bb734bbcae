// MyTl::FixedArray: the growable array behind every list of the game.
// Capacity starts at 1 and doubles until it covers the requested length; slots beyond the length
// always hold T's default value, so growing an array exposes default values only.
// The array owns its elements; copies are deep. Storage comes from std::vector, whose capacity
// this class steers explicitly so that the growth pattern stays as described.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "Assert.h"

namespace MyTl {

template <class T>
class FixedArray {
 public:
  FixedArray() = default;
  explicit FixedArray(int length) { resize(length); }

  int size() const { return static_cast<int>(items.size()); }
  bool empty() const { return items.empty(); }
  int capacity() const { return static_cast<int>(items.capacity()); }

  // Sets the length; existing elements up to the new length are kept, new slots hold T().
  void resize(int length) {
    MYTL_ASSERT(length != -1, "SmartArray");
    MYTL_ASSERT(length >= 0, "SmartArray");
    growCapacityTo(length);
    items.resize(static_cast<size_t>(length));
  }

  // Sets the length and discards the content: every slot holds T() afterwards.
  void resizeQuick(int length) {
    MYTL_ASSERT(length != -1, "SmartArray");
    MYTL_ASSERT(length >= 0, "SmartArray");
    items.clear();
    growCapacityTo(length);
    items.resize(static_cast<size_t>(length));
  }

  // Makes room for at least `count` elements without changing the length.
  void reserve(int count) {
    MYTL_ASSERT(count >= 0, "SmartArray");
    growCapacityTo(count);
  }

  void append(const T& item) {
    if (size() == capacity()) {
      // `item` may be an element of this array, which growing moves: copy it first.
      T copy(item);
      growCapacityTo(size() + 1);
      items.push_back(std::move(copy));
      return;
    }
    items.push_back(item);
  }
  // The same as append, under the name the handle arrays use.
  void push_back(const T& item) { append(item); }

  // Removes the last element.
  void removeLast() {
    MYTL_ASSERT(!items.empty(), "SmartArray");
    items.pop_back();
  }

  // Length 0, capacity kept.
  void clear() { items.clear(); }

  // Length 0 and the storage given back.
  void release() { std::vector<T>().swap(items); }

  T& operator[](int index) {
    MYTL_ASSERT(index >= 0 && index < size(), "SmartArray");
    return items[static_cast<size_t>(index)];
  }
  const T& operator[](int index) const {
    MYTL_ASSERT(index >= 0 && index < size(), "SmartArray");
    return items[static_cast<size_t>(index)];
  }

  T& last() { return (*this)[size() - 1]; }
  const T& last() const { return (*this)[size() - 1]; }

  T* data() { return items.data(); }
  const T* data() const { return items.data(); }
  T* begin() { return items.data(); }
  T* end() { return items.data() + items.size(); }
  const T* begin() const { return items.data(); }
  const T* end() const { return items.data() + items.size(); }

 private:
  void growCapacityTo(int length) {
    int newCapacity = items.capacity() == 0 ? 1 : capacity();
    while (newCapacity < length) newCapacity *= 2;
    if (newCapacity > capacity()) items.reserve(static_cast<size_t>(newCapacity));
  }

  std::vector<T> items;
};

// The array type that functions return by value; copies are deep like every FixedArray.
template <class T>
using CopyableArray = FixedArray<T>;

}  // namespace MyTl
