// Submission checks.
#include "SubmissionValidator.h"

#include "FormFields.h"
#include "ScoreChecksum.h"
#include "Utf8Validator.h"

bool SubmissionValidator::isAcceptableName(const std::string& name, std::string& reason) {
  if (name.empty()) {
    reason = "empty user_name";
    return false;
  }
  if (name.size() > static_cast<size_t>(MAX_NAME_BYTES)) {
    reason = "user_name longer than 255 bytes";
    return false;
  }
  if (!Utf8Validator::isValid(name.data(), name.size())) {
    reason = "user_name is not UTF-8";
    return false;
  }
  for (char c : name) {
    if (c == ',') {
      reason = "user_name holds a comma";
      return false;
    }
    if (c == '\n' || c == '\r') {
      reason = "user_name holds a line break";
      return false;
    }
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
      reason = "user_name holds a control character";
      return false;
    }
  }
  return true;
}

bool SubmissionValidator::isSubmissionId(const std::string& id) {
  if (id.size() != SUBMISSION_ID_DIGITS) return false;
  for (char c : id) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

bool SubmissionValidator::validate(const std::string& body, Submission& submission, std::string& reason) {
  FormFields fields;
  if (!FormFields::parse(body, fields, reason)) return false;
  if (!fields.hasExactly({"game_id", "game_mode", "device_id", "user_name", "score", "hash"}, {"submission_id"},
                         reason)) {
    return false;
  }
  int gameId = 0, gameMode = 0, deviceId = 0, score = 0, hash = 0;
  if (!fields.integer("game_id", gameId) || gameId != 0) {
    reason = "unknown game_id";
    return false;
  }
  if (!fields.integer("game_mode", gameMode) || gameMode < 0 || gameMode >= MODE_COUNT) {
    reason = "game_mode must be 0 to 11";
    return false;
  }
  if (!fields.integer("device_id", deviceId)) {
    reason = "device_id must be a number";
    return false;
  }
  if (!fields.integer("score", score) || score < 0 || score > MAX_SCORE) {
    reason = "score must be 0 to 999999";
    return false;
  }
  const std::string& name = fields.value("user_name");
  if (!isAcceptableName(name, reason)) return false;
  if (!fields.integer("hash", hash) ||
      hash != ScoreChecksum::ofSubmission(gameId, gameMode, deviceId, name.data(), name.size(), score)) {
    reason = "bad checksum";
    return false;
  }
  // Present means well-formed: an empty or odd id is a client fault, not a submission without one.
  if (fields.has("submission_id") && !isSubmissionId(fields.value("submission_id"))) {
    reason = "submission_id must be 32 lowercase hexadecimal digits";
    return false;
  }
  submission.submissionId = fields.value("submission_id");
  submission.gameMode = gameMode;
  submission.name = name;
  submission.score = score;
  return true;
}
