// MyTl::Cin: standard input as a byte stream (not seekable). The process-wide instance is
// MyTl::cin (StandardStreams.h).
#pragma once

#include "Stream.h"

namespace MyTl {

class Cin : public StreamIn {
 public:
  bool isSeekable() const override { return false; }
  void seekBegin(long) override {}
  void seek(long) override {}
  long tell() const override { return 0; }
  // Reads `count` bytes from standard input and returns `count` whatever came; the bytes that
  // did not come (end of input) are set to zero rather than left undefined.
  unsigned long read(char* buffer, unsigned long count) override;
};

}  // namespace MyTl
