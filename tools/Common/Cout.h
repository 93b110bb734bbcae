// MyTl::Cout: a StringStream whose flush prints the buffered text to standard output.
// Text appears when a line feed is written as a piece of its own ("\n"), or at an explicit
// flush. The process-wide instance is MyTl::cout (StandardStreams.h), used from the main thread.
#pragma once

#include "StringStream.h"

namespace MyTl {

class Cout : public StringStream {
 public:
  Cout() : StringStream(DEFAULT_SIZE) {}
  // Writes the bytes from the buffer start to the position to standard output; position 0.
  void flush() override;
};

}  // namespace MyTl
