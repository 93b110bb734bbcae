// MyTl::MemoryStreamOut: an output stream into a growable memory buffer. Used through
// StringStream to assemble text, and by tests to capture what a saver writes.
// Constructed with an initial size n, the buffer holds n bytes from the start (its length is n)
// and the write position is 0; writing past the end grows the buffer to exactly the end of the
// write. The stream owns its buffer; getBuffer's pointer is valid until the next write.
#pragma once

#include "SmartArray.h"
#include "Stream.h"

namespace MyTl {

class MemoryStreamOut : public StreamOut {
 public:
  explicit MemoryStreamOut(int initialSize = 0);

  bool isSeekable() const override { return true; }
  // Sets the write position (a negative one is a broken contract).
  void seekBegin(long position) override;
  // Moves the write position; the new position must lie strictly inside the buffer.
  void seek(long offset) override;
  long tell() const override { return position; }
  // Copies `count` bytes at the write position, growing the buffer as needed. Returns 1.
  unsigned long write(const char* data, unsigned long count) override;
  void flush() override {}
  // The buffer's first byte (null while the buffer is empty).
  virtual const char* getBuffer() const { return memory.data(); }

  // The buffer's length in bytes (at least the initial size).
  int bufferSize() const { return memory.size(); }

 protected:
  FixedArray<char> memory;
  int position = 0;
};

}  // namespace MyTl
