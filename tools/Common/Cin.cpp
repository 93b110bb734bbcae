// MyTl::Cin: reading standard input.
#include "Cin.h"

#include <cstdio>
#include <cstring>

namespace MyTl {

unsigned long Cin::read(char* buffer, unsigned long count) {
  if (buffer == nullptr || count == 0) return count;
  size_t got = std::fread(buffer, 1, count, stdin);
  if (got < count) std::memset(buffer + got, 0, count - got);
  return count;
}

}  // namespace MyTl
