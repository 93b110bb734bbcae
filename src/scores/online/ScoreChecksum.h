// The checksum sent with a submitted score, shared by the game's uploader and the high-score
// server so that both compute it the same way. Header only, standard library only.
//
// The text "game_id<g>game_mode<m>device_id<d>user_name<name>score<s>" (numbers in decimal,
// the name raw) is folded byte by byte, each byte taken as a signed 8-bit value:
// h = 7, then h = (13 h + 17 c) mod 97 with the sign of the dividend kept, so names with bytes
// of 128 and above can give a negative result.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

class ScoreChecksum {
 public:
  ScoreChecksum& addBytes(const char* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) {
      int c = static_cast<int8_t>(static_cast<unsigned char>(bytes[i]));
      // C++ division truncates toward zero, so % keeps the dividend's sign.
      h = (13 * h + 17 * c) % 97;
    }
    return *this;
  }
  ScoreChecksum& addText(const char* text) { return addBytes(text, std::strlen(text)); }
  ScoreChecksum& addNumber(long value) {
    char digits[24];
    int n = std::snprintf(digits, sizeof digits, "%ld", value);
    return addBytes(digits, static_cast<size_t>(n));
  }

  int value() const { return h; }

  // The checksum of one submission.
  static int ofSubmission(int gameId, int gameMode, int deviceId, const char* name, size_t nameLength,
                          int score) {
    ScoreChecksum sum;
    sum.addText("game_id").addNumber(gameId);
    sum.addText("game_mode").addNumber(gameMode);
    sum.addText("device_id").addNumber(deviceId);
    sum.addText("user_name").addBytes(name, nameLength);
    sum.addText("score").addNumber(score);
    return sum.value();
  }

 private:
  int h = 7;
};
