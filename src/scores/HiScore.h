// HiScore: one entry of a local high-score table; a default entry (empty name, score -1) is a
// free slot.
#pragma once

#include "String.h"

struct HiScore {
  MyTl::BasicString<char> name;
  int score = -1;

  HiScore() = default;
  HiScore(const MyTl::BasicString<char>& playerName, int points) : name(playerName), score(points) {}

  bool isPlaceholder() const { return score == -1; }
};
