// MyTl::StringProcessor: the text functions the game relies on: decimal text of integers,
// trimming, and splitting a text (a server reply) into lines and fields. All static; callers are
// the string stream (numbers) and the online high scores (reply parsing). Results are returned
// by value and owned by the caller.
#pragma once

#include "SmartArray.h"
#include "String.h"

namespace MyTl {

template <class CharT>
class StringProcessor {
 public:
  // A piece of a source string: `start` index and `length` in characters.
  struct Token {
    int start = 0;
    int length = 0;
  };

  // Decimal digits of v without leading zeros ("0" for 0). At most 15 digits fit; a longer
  // number is a broken contract (no int ever gets there).
  static BasicString<CharT> toString(unsigned long v) {
    CharT digits[16];
    int i = 15;
    digits[i] = CharT();
    do {
      MYTL_ASSERT(i > 0, "String");
      digits[--i] = static_cast<CharT>('0' + static_cast<int>(v % 10));
      v /= 10;
    } while (v != 0);
    return BasicString<CharT>(digits + i);
  }

  // "-" and the digits of -v for a negative v, else the digits of v. The magnitude is taken in
  // unsigned arithmetic so that the most negative int converts too.
  static BasicString<CharT> toString(long v) {
    if (v >= 0) return toString(static_cast<unsigned long>(v));
    const CharT minus[2] = {static_cast<CharT>('-'), CharT()};
    return BasicString<CharT>(minus) + toString(0UL - static_cast<unsigned long>(v));
  }
  static BasicString<CharT> toString(int v) { return toString(static_cast<long>(v)); }
  static BasicString<CharT> toString(unsigned int v) { return toString(static_cast<unsigned long>(v)); }

  // Whether a character is removed by trim: code 32 (space) or below (control characters).
  static bool isTrimmed(CharT c) { return static_cast<std::make_unsigned_t<CharT>>(c) <= 32; }

  // s without its leading and trailing characters of code 32 or less; inner ones stay.
  static BasicString<CharT> trim(const BasicString<CharT>& s) {
    const CharT* text = s.c_str();
    int first = 0;
    int end = s.length();
    while (first < end && isTrimmed(text[first])) ++first;
    while (end > first && isTrimmed(text[end - 1])) --end;
    return BasicString<CharT>(text + first, static_cast<unsigned long>(end - first));
  }

  // Splits s at every `separator`: n separators give n + 1 tokens, empty ones included.
  // An empty s gives no tokens.
  static CopyableArray<Token> tokenize(const BasicString<CharT>& s, CharT separator) {
    CopyableArray<Token> tokens;
    if (s.empty()) return tokens;
    const CharT* text = s.c_str();
    int start = 0;
    for (int i = 0; i <= s.length(); ++i) {
      if (i == s.length() || text[i] == separator) {
        Token token;
        token.start = start;
        token.length = i - start;
        tokens.append(token);
        start = i + 1;
      }
    }
    return tokens;
  }

  // tokenize, then every token copied out and trimmed, in order.
  static FixedArray<BasicString<CharT>> getTokenStrings(const BasicString<CharT>& s, CharT separator) {
    CopyableArray<Token> tokens = tokenize(s, separator);
    FixedArray<BasicString<CharT>> strings;
    strings.reserve(tokens.size());
    for (const Token& token : tokens) {
      strings.append(trim(BasicString<CharT>(s.c_str() + token.start, static_cast<unsigned long>(token.length))));
    }
    return strings;
  }
};

}  // namespace MyTl
