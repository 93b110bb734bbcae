// The byte-stream interfaces of MyTl: Stream (position), StreamIn (reading), StreamOut
// (writing) and StreamIo (both). Values travel as the bytes of their in-memory image, in the
// machine's (little-endian) byte order; nothing marks a value's type or length. Savers and
// loaders take a StreamOut& / StreamIn& so that they work on files and memory buffers alike.
// Stream is a virtual base, so a StreamIo has a single position.
#pragma once

#include <cstdint>

#include "SmartArray.h"

namespace MyTl {

class Stream {
 public:
  virtual ~Stream() = default;
  virtual bool isSeekable() const = 0;
  // Moves to `position` bytes from the start.
  virtual void seekBegin(long position) = 0;
  // Moves by `offset` bytes relative to the current position.
  virtual void seek(long offset) = 0;
  virtual long tell() const = 0;
};

class StreamIn : public virtual Stream {
 public:
  // Reads up to `count` bytes into `buffer`; returns how many came. Fewer than asked (at the
  // end of the data, or on an error) is not an error here: callers compare with their count.
  virtual unsigned long read(char* buffer, unsigned long count) = 0;

  // Reads an array stored as an int32 count and then `count` elements, each through the
  // element's `bool deserialize(StreamIn&)`. Fails when the count is short, negative or above
  // maxCount, or at the first element that fails (the elements after it stay default).
  // The array's previous content is discarded once the count has been accepted.
  template <class T>
  bool readArr(FixedArray<T>& array, int maxCount) {
    std::int32_t count = 0;
    if (read(reinterpret_cast<char*>(&count), sizeof count) != sizeof count) return false;
    if (count < 0 || count > maxCount) return false;
    array.resizeQuick(count);
    for (int i = 0; i < count; ++i) {
      if (!array[i].deserialize(*this)) return false;
    }
    return true;
  }
};

class StreamOut : public virtual Stream {
 public:
  // Writes `count` bytes of `data`; see each stream for what it returns.
  virtual unsigned long write(const char* data, unsigned long count) = 0;
  virtual void flush() = 0;
};

class StreamIo : public StreamIn, public StreamOut {};

}  // namespace MyTl
