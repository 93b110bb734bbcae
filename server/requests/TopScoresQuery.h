// Checks the query of a top-scores request: exactly game_id (0), game_mode (0 to 11) and
// max_res (1 to 100), numbers written as the game writes them. Stateless; called by the request
// handler on server threads.
#pragma once

#include <string>

class TopScoresQuery {
 public:
  static constexpr int MAX_RESULTS = 100;

  int gameMode = 0;
  int maxResults = 10;

  // Reads `query` (the text after '?', still escaped). False with a one-line `reason` when it
  // is not a valid request.
  bool parse(const std::string& query, std::string& reason);
};
