// Fuzz target for the game's reading of the high-score server's replies, and for the escaping
// of the name it sends. Whatever a server sends, the parsed entries must be what the screen can
// show: names without line breaks or commas and trimmed, no more entries than lines, nothing
// from a body that is not text, and a rank of 1 or more or none. Whatever the name, its escaped
// form holds only form-safe characters and decodes back to the name.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzCheck.h"
#include "ScoreChecksum.h"
#include "ScoreReplyParser.h"
#include "UrlEncodeValue.h"

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void checkTopScores(const char* body, size_t size) {
  MyTl::FixedArray<HiScore> entries;
  const bool text = ScoreReplyParser::parseTopScores(body, size, entries);
  FUZZ_CHECK(text == ScoreReplyParser::isText(body, size), "the text check decides");
  if (!text) FUZZ_CHECK(entries.empty(), "nothing from a body that is not text");
  size_t lineBreaks = 0;
  for (size_t i = 0; i < size; ++i) lineBreaks += body[i] == '\n';
  FUZZ_CHECK(static_cast<size_t>(entries.size()) <= lineBreaks, "the first line is never an entry");
  for (const HiScore& entry : entries) {
    const char* name = entry.name.c_str();
    const int length = entry.name.length();
    FUZZ_CHECK(std::strlen(name) == static_cast<size_t>(length), "no NUL inside a name");
    FUZZ_CHECK(std::strchr(name, '\n') == nullptr && std::strchr(name, ',') == nullptr, "one field of one line");
    if (length > 0) {
      FUZZ_CHECK(static_cast<unsigned char>(name[0]) > 32 && static_cast<unsigned char>(name[length - 1]) > 32,
                 "names are trimmed");
    }
  }
}

void checkRank(const char* body, size_t size) {
  const int rank = ScoreReplyParser::parseSubmitRank(body, size);
  FUZZ_CHECK(rank == -1 || rank >= 1, "a rank or none");
}

void checkEscaping(const uint8_t* data, size_t size) {
  // The name as the game holds it: text up to the first NUL.
  std::string name(reinterpret_cast<const char*>(data), size);
  name = name.c_str();
  const MyTl::BasicString<char> encoded = urlEncodeValue(name.c_str());
  std::string decoded;
  const char* e = encoded.c_str();
  for (int i = 0; i < encoded.length(); ++i) {
    const char c = e[i];
    FUZZ_CHECK(std::strchr("?=&+ \n", c) == nullptr && static_cast<unsigned char>(c) > 32 &&
                   static_cast<unsigned char>(c) < 127,
               "only form-safe ASCII in the body");
    if (c == '%') {
      FUZZ_CHECK(i + 2 <= encoded.length() - 1, "a whole escape");
      const int high = hexValue(e[i + 1]);
      const int low = hexValue(e[i + 2]);
      FUZZ_CHECK(high >= 0 && low >= 0, "upper-case hex escapes");
      decoded += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      decoded += c;
    }
  }
  FUZZ_CHECK(decoded == name, "the escaped name decodes back to the name");
  const int hash = ScoreChecksum::ofSubmission(0, 0, 0, name.data(), name.size(), 0);
  FUZZ_CHECK(hash > -97 && hash < 97, "a checksum is a remainder of 97");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* body = reinterpret_cast<const char*>(data);
  checkTopScores(body, size);
  checkRank(body, size);
  checkEscaping(data, size);
  return 0;
}
