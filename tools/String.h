// MyTl::BasicString: the string type of every stored name and path.
// The characters live in a FixedArray that, whenever it has a buffer, holds the characters
// followed by one NUL. An empty string may have no buffer at all; every read then sees a static
// empty string, so c_str() is always a valid C string. Copies are deep; the string owns its buffer.
#pragma once

#include <cstddef>
#include <cstring>
#include <functional>
#include <type_traits>
#include <utility>

#include "SmartArray.h"

namespace MyTl {

template <class CharT>
class BasicString {
 public:
  BasicString() = default;

  // Copies `text` up to its NUL; a null pointer gives an empty string.
  // Implicit on purpose: names and paths are written as literals where a string is expected.
  BasicString(const CharT* text) {
    if (text != nullptr) assign(text, lengthOf(text));
  }

  // Copies exactly `count` characters of `text` (NULs included) and appends a NUL.
  BasicString(const CharT* text, unsigned long count) {
    MYTL_ASSERT(text != nullptr || count == 0, "String");
    assign(text, count);
  }

  // A string of length `count` whose first character is NUL: a buffer of count + 1 characters
  // for the caller to fill through data() or operator[]. 0 gives an empty string.
  explicit BasicString(int count) {
    MYTL_ASSERT(count >= 0, "String");
    if (count > 0) {
      s.resizeQuick(count + 1);
    }
  }

  BasicString(const BasicString&) = default;
  BasicString(BasicString&& other) noexcept : s(std::move(other.s)) { other.s.release(); }
  BasicString& operator=(const BasicString&) = default;
  BasicString& operator=(BasicString&& other) noexcept {
    if (this != &other) {
      s = std::move(other.s);
      other.s.release();
    }
    return *this;
  }

  // Number of characters, the terminating NUL not counted.
  int length() const { return s.size() == 0 ? 0 : s.size() - 1; }
  bool empty() const { return length() == 0; }

  // Always a valid C string: the static empty string when there is no buffer.
  const CharT* c_str() const { return s.size() == 0 ? emptyText : s.data(); }
  // Writable characters of a string that has a buffer (see the length constructor); null otherwise.
  CharT* data() { return s.size() == 0 ? nullptr : s.data(); }

  CharT& operator[](int index) {
    MYTL_ASSERT(index >= 0 && index < length(), "String");
    return s[index];
  }
  CharT operator[](int index) const {
    MYTL_ASSERT(index >= 0 && index <= length(), "String");
    return c_str()[index];
  }

  BasicString& operator+=(const BasicString& other) { return append(other.c_str(), other.length()); }
  BasicString& operator+=(const CharT* text) {
    return text == nullptr ? *this : append(text, lengthOf(text));
  }
  BasicString& operator+=(CharT c) { return append(&c, 1); }

  // Hidden friends, so that a C string on either side converts implicitly.
  friend BasicString operator+(const BasicString& a, const BasicString& b) {
    BasicString result;
    result.s.reserve(a.length() + b.length() + 1);
    result.append(a.c_str(), a.length());
    result.append(b.c_str(), b.length());
    return result;
  }

  // Equal when the characters (all `length` of them) are equal.
  friend bool operator==(const BasicString& a, const BasicString& b) {
    return a.length() == b.length() &&
           std::memcmp(a.c_str(), b.c_str(), static_cast<size_t>(a.length()) * sizeof(CharT)) == 0;
  }
  friend bool operator!=(const BasicString& a, const BasicString& b) { return !(a == b); }
  friend bool operator==(const BasicString& a, const CharT* b) {
    unsigned long n = b == nullptr ? 0 : lengthOf(b);
    return n == static_cast<unsigned long>(a.length()) &&
           (n == 0 || std::memcmp(a.c_str(), b, n * sizeof(CharT)) == 0);
  }
  friend bool operator!=(const BasicString& a, const CharT* b) { return !(a == b); }
  friend bool operator==(const CharT* a, const BasicString& b) { return b == a; }
  friend bool operator!=(const CharT* a, const BasicString& b) { return !(b == a); }

  // Character-wise order (by unsigned code), a prefix first; for sorting and ordered containers.
  friend bool operator<(const BasicString& a, const BasicString& b) {
    int common = a.length() < b.length() ? a.length() : b.length();
    for (int i = 0; i < common; ++i) {
      auto ca = static_cast<std::make_unsigned_t<CharT>>(a.c_str()[i]);
      auto cb = static_cast<std::make_unsigned_t<CharT>>(b.c_str()[i]);
      if (ca != cb) return ca < cb;
    }
    return a.length() < b.length();
  }

 private:
  static unsigned long lengthOf(const CharT* text) {
    unsigned long n = 0;
    while (text[n] != CharT()) ++n;
    return n;
  }

  void assign(const CharT* text, unsigned long count) {
    s.clear();
    if (count == 0) return;
    append(text, count);
  }

  BasicString& append(const CharT* text, unsigned long count) {
    if (count == 0) return *this;
    int oldLength = length();
    MYTL_ASSERT(count <= static_cast<unsigned long>(0x7ffffffe - oldLength), "String");
    int newLength = oldLength + static_cast<int>(count);
    // `text` may point into this string's own buffer (s += s), which resize may move.
    const CharT* oldBuffer = s.data();
    std::less<const CharT*> before;
    bool inside = s.size() > 0 && !before(text, oldBuffer) && before(text, oldBuffer + s.size());
    std::ptrdiff_t offset = inside ? text - oldBuffer : 0;
    s.resize(newLength + 1);
    const CharT* source = inside ? s.data() + offset : text;
    std::memmove(s.data() + oldLength, source, count * sizeof(CharT));
    s[newLength] = CharT();
    return *this;
  }

  inline static const CharT emptyText[1] = {CharT()};

  FixedArray<CharT> s;
};

using String = BasicString<char>;

}  // namespace MyTl
