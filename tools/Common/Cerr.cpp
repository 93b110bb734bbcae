// MyTl::Cerr: printing the buffered text.
#include "Cerr.h"

#include <cstdio>

namespace MyTl {

void Cerr::flush() {
  if (position > 0) std::fwrite(memory.data(), 1, static_cast<size_t>(position), stderr);
  std::fflush(stderr);
  position = 0;
}

}  // namespace MyTl
