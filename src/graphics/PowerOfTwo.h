// The power-of-two rounding that every texture buffer size goes through.
#pragma once

// The smallest power of two that is at least n; 1 and every power of two stay unchanged, and
// anything below 1 gives 1.
inline int nextPowerOfTwo(int n) {
  int size = 1;
  while (size < n) size *= 2;
  return size;
}
