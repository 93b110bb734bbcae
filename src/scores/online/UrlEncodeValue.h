// Percent-escaping of one value of a form body (the uploader's player name).
// Characters that may stand in a URL as they are (letters, digits, - _ . ! ~ * ' ( ) and the
// separators ; / : @ $ ,) stay; '?', '=', '&' and '+' (which would change the meaning of a
// form field), every other character and every byte of a multi-byte UTF-8 letter become %XX
// with upper-case hex digits. Works byte by byte, so any input gives a result.
#pragma once

#include "String.h"

// `value` is a NUL-terminated text (null gives an empty result); the result is the caller's.
MyTl::BasicString<char> urlEncodeValue(const char* value);
