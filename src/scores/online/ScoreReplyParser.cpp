// Reply parsing with the tools library's splitting and number reading.
#include "ScoreReplyParser.h"

#include <cstring>

#include "StringProcessor.h"
#include "StringScanner.h"
#include "Utf8Validator.h"

using Text = MyTl::BasicString<char>;
using Processor = MyTl::StringProcessor<char>;

namespace {

// The field as an int, or -1 when it is not a decimal integer. The length is passed on, so a
// field is judged on all of its characters.
int numberOrNone(const Text& field) {
  int value = -1;
  if (!MyTl::StringScanner::isType(field.c_str(), value, field.length())) return -1;
  return value;
}

}  // namespace

bool ScoreReplyParser::isText(const char* body, size_t length) {
  if (length > 0 && body == nullptr) return false;
  // A NUL would cut every later use of the text as a C string short.
  if (length > 0 && std::memchr(body, '\0', length) != nullptr) return false;
  return Utf8Validator::isValid(body, length);
}

bool ScoreReplyParser::parseTopScores(const char* body, size_t length, MyTl::FixedArray<HiScore>& entries) {
  if (!isText(body, length)) return false;
  Text text(body, static_cast<unsigned long>(length));
  MyTl::FixedArray<Text> lines = Processor::getTokenStrings(text, '\n');
  for (int i = 1; i < lines.size(); ++i) {
    MyTl::FixedArray<Text> fields = Processor::getTokenStrings(lines[i], ',');
    if (fields.size() != 2) continue;
    entries.append(HiScore(fields[0], numberOrNone(fields[1])));
  }
  return true;
}

int ScoreReplyParser::parseSubmitRank(const char* body, size_t length) {
  if (!isText(body, length)) return -1;
  Text text(body, static_cast<unsigned long>(length));
  MyTl::FixedArray<Text> lines = Processor::getTokenStrings(text, '\n');
  if (lines.size() == 0) return -1;
  MyTl::FixedArray<Text> fields = Processor::getTokenStrings(lines[0], ',');
  if (fields.size() != 2) return -1;
  // Ranks start at 1: anything below is not a rank.
  int rank = numberOrNone(fields[1]);
  return rank >= 1 ? rank : -1;
}

std::string ScoreReplyParser::refusalReason(const char* body, size_t length, long status) {
  std::string reason;
  if (isText(body, length)) {
    const char* end = static_cast<const char*>(std::memchr(body, '\n', length));
    const size_t lineLength = end != nullptr ? static_cast<size_t>(end - body) : length;
    for (size_t i = 0; i < lineLength; ++i) {
      const unsigned char c = static_cast<unsigned char>(body[i]);
      if (c >= 0x20 && c != 0x7f) reason += static_cast<char>(c);
    }
    const size_t first = reason.find_first_not_of(' ');
    reason = first == std::string::npos ? std::string() : reason.substr(first, reason.find_last_not_of(' ') - first + 1);
    if (reason.size() > MAX_REASON_BYTES) {
      size_t cut = MAX_REASON_BYTES;
      // Back to the start of a character: continuation bytes are 10xxxxxx.
      while (cut > 0 && (static_cast<unsigned char>(reason[cut]) & 0xC0) == 0x80) --cut;
      reason.resize(cut);
    }
  }
  return reason.empty() ? "status " + std::to_string(status) : reason;
}
