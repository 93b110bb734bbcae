// Where the high-score server is: a built-in base address, replaced by the environment
// variable PELLIX_SCORES_URL when that is set and not empty. Read by the high-score workers at
// the start of every request, so a changed environment takes effect with the next request.
#pragma once

#include "String.h"

class ScoreServerAddress {
 public:
  // The built-in base: a server run on this machine with its default port.
  static constexpr const char* BUILT_IN_BASE = "http://127.0.0.1:8642";

  // The base address without a trailing '/'.
  static MyTl::BasicString<char> base();
  // The top-ten request of one game mode (game_mode = the high-score table index).
  static MyTl::BasicString<char> topScoresUrl(int gameMode);
  // The address that score submissions are posted to.
  static MyTl::BasicString<char> submitScoreUrl();
};
