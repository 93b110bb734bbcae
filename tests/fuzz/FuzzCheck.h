// FUZZ_CHECK: the fuzz targets' check of what a reader left behind. A broken invariant prints
// what was expected and aborts, which libFuzzer reports as a crash and saves the input for.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, what)                                                             \
  do {                                                                                          \
    if (!(condition)) {                                                                         \
      std::fflush(stdout);                                                                      \
      std::fprintf(stderr, "Fuzz check failed: %s: %s (%s, line %d)\n", #condition, what,       \
                   __FILE__, __LINE__);                                                         \
      std::abort();                                                                             \
    }                                                                                           \
  } while (false)
