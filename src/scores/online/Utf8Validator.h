// Whether bytes are well-formed UTF-8 text: shared by the game (server replies are decoded as
// UTF-8) and the high-score server (names must be UTF-8). Header only, standard library only.
#pragma once

#include <cstddef>

class Utf8Validator {
 public:
  // Shortest-form sequences only, no surrogates, nothing above U+10FFFF. A NUL byte is valid
  // UTF-8 and accepted here; callers that want text without NULs check for it themselves.
  static bool isValid(const char* text, size_t count) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    size_t i = 0;
    while (i < count) {
      unsigned char c = s[i];
      if (c < 0x80) {
        ++i;
        continue;
      }
      size_t extra;
      unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
      if (c >= 0xC2 && c <= 0xDF) {
        extra = 1;
      } else if (c >= 0xE0 && c <= 0xEF) {
        extra = 2;
        if (c == 0xE0) low = 0xA0;        // no overlong forms
        if (c == 0xED) high = 0x9F;       // no surrogates
      } else if (c >= 0xF0 && c <= 0xF4) {
        extra = 3;
        if (c == 0xF0) low = 0x90;        // no overlong forms
        if (c == 0xF4) high = 0x8F;       // nothing above U+10FFFF
      } else {
        return false;
      }
      if (count - i <= extra) return false;
      if (s[i + 1] < low || s[i + 1] > high) return false;
      for (size_t k = 2; k <= extra; ++k) {
        if ((s[i + k] & 0xC0) != 0x80) return false;
      }
      i += extra + 1;
    }
    return true;
  }
};
