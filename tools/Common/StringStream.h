// MyTl::StringStream: the game's text builder. Pieces (C strings, ints, BasicStrings) are
// appended with <<; the stream never writes a terminating zero by itself. Callers either store
// a zero at tell() themselves and read getBuffer() as a C string, or call c_str(), which does
// that for them. A piece that is exactly "\n" calls flush() after it is written (the console
// streams print there).
#pragma once

#include "MemoryStreamOut.h"
#include "String.h"

namespace MyTl {

class StringStream : public MemoryStreamOut {
 public:
  static constexpr int DEFAULT_SIZE = 4096;

  explicit StringStream(int initialSize = DEFAULT_SIZE) : MemoryStreamOut(initialSize) {}

  long tell() const override { return position; }
  void flush() override {}
  const char* getBuffer() const override { return memory.data(); }

  // Writes the characters of `text` without its NUL (null writes nothing); flushes after "\n".
  StringStream& operator<<(const char* text);
  // Writes the decimal text of `value`.
  StringStream& operator<<(int value);
  // Writes the characters of `text`.
  StringStream& operator<<(const BasicString<char>& text);

  // The text written so far as a C string: stores a zero at the write position (growing the
  // buffer by one byte when needed) without moving the position.
  const char* c_str();
};

}  // namespace MyTl
