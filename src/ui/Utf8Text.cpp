// UTF-8 validation (RFC 3629: no overlongs, no surrogates, nothing above U+10FFFF) and stepping.
#include "Utf8Text.h"

namespace Ui {

namespace {

bool isContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of the valid sequence starting at text[i], or 0 when it is malformed there.
size_t validSequenceLength(const std::string& text, size_t i, unsigned* codePoint) {
  const unsigned char lead = static_cast<unsigned char>(text[i]);
  size_t length = 0;
  unsigned value = 0;
  unsigned minimum = 0;
  if (lead < 0x80) {
    *codePoint = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
    minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
    minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
    minimum = 0x10000;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (size_t k = 1; k < length; ++k) {
    const unsigned char c = static_cast<unsigned char>(text[i + k]);
    if (!isContinuation(c)) return 0;
    value = (value << 6) | (c & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *codePoint = value;
  return length;
}

}  // namespace

std::string Utf8Text::sanitize(const std::string& bytes, bool dropControls) {
  static const char REPLACEMENT[] = "\xEF\xBF\xBD";
  std::string result;
  result.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    unsigned codePoint = 0;
    const size_t length = validSequenceLength(bytes, i, &codePoint);
    if (length == 0) {
      // One replacement for the broken sequence: the bad byte and the continuation bytes that
      // follow it (at most three, the longest tail a sequence can have).
      result += REPLACEMENT;
      ++i;
      for (int k = 0; k < 3 && i < bytes.size() && isContinuation(static_cast<unsigned char>(bytes[i])); ++k) ++i;
      continue;
    }
    const bool control = codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
    if (!(dropControls && control)) result.append(bytes, i, length);
    i += length;
  }
  return result;
}

size_t Utf8Text::previousBoundary(const std::string& text, size_t index) {
  if (index > text.size()) index = text.size();
  if (index == 0) return 0;
  size_t i = index - 1;
  while (i > 0 && isContinuation(static_cast<unsigned char>(text[i]))) --i;
  return i;
}

size_t Utf8Text::nextBoundary(const std::string& text, size_t index) {
  if (index >= text.size()) return text.size();
  size_t i = index + 1;
  while (i < text.size() && isContinuation(static_cast<unsigned char>(text[i]))) ++i;
  return i;
}

bool Utf8Text::isBoundary(const std::string& text, size_t index) {
  if (index >= text.size()) return index == text.size();
  return !isContinuation(static_cast<unsigned char>(text[index]));
}

size_t Utf8Text::length(const std::string& text) {
  size_t count = 0;
  for (char c : text) {
    if (!isContinuation(static_cast<unsigned char>(c))) ++count;
  }
  return count;
}

}  // namespace Ui
