// MyTl::Cerr: a StringStream whose flush prints the buffered text to standard error.
// The process-wide instance is MyTl::cerr (StandardStreams.h), used from the main thread.
#pragma once

#include "StringStream.h"

namespace MyTl {

class Cerr : public StringStream {
 public:
  Cerr() : StringStream(DEFAULT_SIZE) {}
  // Writes the bytes from the buffer start to the position to standard error; position 0.
  void flush() override;
};

}  // namespace MyTl
