// MyTl::StringScanner: reads decimal integers out of a C string. The online high scores use
// isType to turn a field of a server reply into a score; scan/seekFirstDigit read numbers that
// are embedded in other text. The scanner does not own the buffer, which must outlive it.
#pragma once

namespace MyTl {

class StringScanner {
 public:
  // Reads `buffer` (a NUL-terminated C string) from its start.
  explicit StringScanner(const char* buffer);

  // Moves `pos` forward to the next decimal digit. Returns -1 when it had to move and the
  // character before that digit is '-', else 1. Text without a further digit leaves `pos` on the
  // terminating NUL (and returns 1), so scanning never runs past the buffer.
  int seekFirstDigit();

  // seekFirstDigit, then reads the run of digits as a decimal number, leaves `pos` on the first
  // non-digit, stores sign x value in `out` and returns it. No digit gives 0. Longer runs than an
  // int holds wrap around (isType rejects such text before it gets here).
  int scan(int& out);

  // Whether str (its first `len` characters; all of it when len is -1) is a decimal integer that
  // fits an int, and if so its value in `out`. Text of up to 9 characters may start with '-';
  // text of 10 or more must start with '-'; everything else must be digits, at least one.
  // Returns false and leaves `out` unchanged otherwise (also for a null str).
  static bool isType(const char* str, int& out, int len = -1);

  int position() const { return pos; }

 private:
  const char* buffer;
  int pos = 0;
};

}  // namespace MyTl
