// MyTl::Cout: printing the buffered text.
#include "Cout.h"

#include <cstdio>

namespace MyTl {

void Cout::flush() {
  if (position > 0) std::fwrite(memory.data(), 1, static_cast<size_t>(position), stdout);
  std::fflush(stdout);
  position = 0;
}

}  // namespace MyTl
