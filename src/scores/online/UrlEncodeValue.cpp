// Form-value percent-escaping.
#include "UrlEncodeValue.h"

#include <cstring>

namespace {

bool staysAsItIs(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return c != 0 && std::strchr("-_.!~*'();/:@$,", c) != nullptr;
}

}  // namespace

MyTl::BasicString<char> urlEncodeValue(const char* value) {
  MyTl::BasicString<char> result;
  if (value == nullptr) return result;
  static const char hexDigits[] = "0123456789ABCDEF";
  for (const char* p = value; *p != '\0'; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (staysAsItIs(c)) {
      result += *p;
    } else {
      char escape[4] = {'%', hexDigits[c >> 4], hexDigits[c & 15], '\0'};
      result += escape;
    }
  }
  return result;
}
