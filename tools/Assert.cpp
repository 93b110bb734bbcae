// Reports a broken contract on standard error and stops the program.
#include "Assert.h"

#include <cstdio>
#include <cstdlib>

namespace MyTl {

void assertionFailed(const char* condition, const char* source, int line) {
  std::fflush(stdout);
  std::fprintf(stderr, "Assertion failed: %s (%s, line %d)\n", condition, source, line);
  std::fflush(stderr);
  std::abort();
}

}  // namespace MyTl
