// Checks a score submission (the form body the game posts) before anything is stored: exactly
// the fields game_id, game_mode, device_id, user_name, score and hash; game_id 0; numbers
// written as the game writes them; a mode from 0 to 11; a score from 0 to 999999; a name of 1
// to 255 bytes of UTF-8 without commas, line breaks or other control characters (a comma or a
// line break would break the line format of the top-ten reply); and the checksum the game
// computes over the raw name. One more field is optional: submission_id, the client's random id
// of this submission (32 lowercase hexadecimal digits), which lets the store keep a retried
// submission once; the checksum does not cover it. Stateless; called by the request handler on
// server threads.
#pragma once

#include <cstddef>
#include <string>

struct Submission {
  int gameMode = 0;
  std::string name;
  int score = 0;
  // Empty when the client sent none.
  std::string submissionId;
};

class SubmissionValidator {
 public:
  static constexpr int MODE_COUNT = 12;
  static constexpr int MAX_SCORE = 999999;
  static constexpr int MAX_NAME_BYTES = 255;
  static constexpr size_t SUBMISSION_ID_DIGITS = 32;

  // Fills `submission` from a valid body and returns true; otherwise returns false with a
  // one-line `reason` for the client.
  static bool validate(const std::string& body, Submission& submission, std::string& reason);

  // The name rules alone.
  static bool isAcceptableName(const std::string& name, std::string& reason);

  // Whether `id` is a submission id: exactly 32 of 0-9 and a-f.
  static bool isSubmissionId(const std::string& id);
};
