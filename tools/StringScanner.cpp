// Decimal integer reading for MyTl::StringScanner.
#include "StringScanner.h"

#include <cstring>

#include "Assert.h"

namespace MyTl {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

StringScanner::StringScanner(const char* text) : buffer(text) {
  MYTL_ASSERT(text != nullptr, "StringScanner");
}

int StringScanner::seekFirstDigit() {
  int start = pos;
  while (buffer[pos] != '\0' && !isDigit(buffer[pos])) ++pos;
  if (pos > start && isDigit(buffer[pos]) && buffer[pos - 1] == '-') return -1;
  return 1;
}

int StringScanner::scan(int& out) {
  int sign = seekFirstDigit();
  // Unsigned arithmetic: the magnitude of the most negative int does not fit an int.
  unsigned int value = 0;
  while (isDigit(buffer[pos])) {
    value = value * 10u + static_cast<unsigned int>(buffer[pos] - '0');
    ++pos;
  }
  if (sign < 0) value = 0u - value;
  out = static_cast<int>(value);
  return out;
}

bool StringScanner::isType(const char* str, int& out, int len) {
  if (str == nullptr) return false;
  if (len < 0) len = static_cast<int>(std::strlen(str));
  if (len == 0) return false;
  bool negative = str[0] == '-';
  if (len >= 10 && !negative) return false;
  int first = negative ? 1 : 0;
  if (first == len) return false;  // a lone '-'
  // Read the value here over exactly `len` characters (the text may go on past them) and
  // reject what an int cannot hold: only a '-' with 10 or more digits can get that far.
  unsigned long long magnitude = 0;
  const unsigned long long limit = negative ? 2147483648ULL : 2147483647ULL;
  for (int i = first; i < len; ++i) {
    if (!isDigit(str[i])) return false;
    magnitude = magnitude * 10 + static_cast<unsigned long long>(str[i] - '0');
    if (magnitude > limit) return false;
  }
  unsigned int value = static_cast<unsigned int>(magnitude);
  if (negative) value = 0u - value;
  out = static_cast<int>(value);
  return true;
}

}  // namespace MyTl
