// Top-scores query checks.
#include "TopScoresQuery.h"

#include "FormFields.h"
#include "SubmissionValidator.h"

bool TopScoresQuery::parse(const std::string& query, std::string& reason) {
  FormFields fields;
  if (!FormFields::parse(query, fields, reason)) return false;
  if (!fields.hasExactly({"game_id", "game_mode", "max_res"}, reason)) return false;
  int gameId = 0, mode = 0, count = 0;
  if (!fields.integer("game_id", gameId) || gameId != 0) {
    reason = "unknown game_id";
    return false;
  }
  if (!fields.integer("game_mode", mode) || mode < 0 || mode >= SubmissionValidator::MODE_COUNT) {
    reason = "game_mode must be 0 to 11";
    return false;
  }
  if (!fields.integer("max_res", count) || count < 1 || count > MAX_RESULTS) {
    reason = "max_res must be 1 to 100";
    return false;
  }
  gameMode = mode;
  maxResults = count;
  return true;
}
