// Where the high-score server is, in rising order of precedence: the base address the game was
// built with (the CMake cache variable PELLIX_SCORES_URL, empty by default), the player's
// preferences file (key scores_url), and the environment variable PELLIX_SCORES_URL when it is
// set and not empty. The high-score screen makes one from the preferences and hands copies to
// its workers, which read base() at the start of every request, so a changed environment takes
// effect with the next request. A value; safe to copy to other threads.
#pragma once

#include <string>

#include "String.h"

class ScoreServerAddress {
 public:
  // The preferences file's key of the base address.
  static constexpr const char* PREFERENCE_KEY = "scores_url";
  // The environment variable that names the server over everything else.
  static constexpr const char* ENVIRONMENT_VARIABLE = "PELLIX_SCORES_URL";

  // `preferred`: the preferences file's value (empty when the player named none).
  explicit ScoreServerAddress(std::string preferred = std::string());

  // The base address without a trailing '/'; empty when no server is set up anywhere.
  MyTl::BasicString<char> base() const;
  // Whether any base address is set up.
  bool isSet() const { return base().length() > 0; }
  // The top-ten request of one game mode (game_mode = the high-score table index).
  MyTl::BasicString<char> topScoresUrl(int gameMode) const;
  // The address that score submissions are posted to.
  MyTl::BasicString<char> submitScoreUrl() const;

  // The base address the game was built with (may be empty).
  static const char* builtInBase();

 private:
  std::string preferredBase;
};
