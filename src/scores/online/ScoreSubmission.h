// ScoreSubmission: one score on its way to the high-score server, with the random id that it
// keeps on every attempt, so that the server stores a submission sent twice (its first reply
// was lost) once. Also how a submission's reply is judged: accepted, refused for good, or to be
// tried again later. A value, copied between the uploader, the outbox and its sender.
#pragma once

#include <cstdint>
#include <string>

#include "HttpTransport.h"

struct ScoreSubmission {
  // 32 lowercase hexadecimal digits, made once when the submission is first made.
  std::string id;
  std::string name;
  int score = 0;
  // The high-score table index, sent as game_mode.
  int gameMode = 0;
  // Failed attempts so far.
  int attempts = 0;
  // Seconds since the epoch from which the next attempt is due.
  int64_t nextAttemptAt = 0;

  // What a reply to a submission means.
  enum Outcome {
    ACCEPTED,  // a 2xx reply with a body: stored (the rank, when readable, is in the body)
    REFUSED,   // a 4xx reply other than 429: the server will never take it
    DEFERRED,  // no reply, a time-out, a 5xx or 429, an empty 2xx (anything else): try later
  };
  static Outcome outcomeOf(const HttpResponse& reply);

  // A fresh id from the system's random source (never the game's seeded one).
  static std::string newId();
  // Whether `id` has the shape of a submission id.
  static bool isId(const std::string& id);

  // The form body: the fields and checksum the game always sent, then submission_id.
  std::string formBody() const;
};
