// What the high-score server answers: turns one top-scores query or one submission into a
// status and a body, using the score store and the submission limit. Knows nothing of sockets,
// so the HTTP layer, the tests and the fuzz target all drive it the same way. Shared by the
// request threads; the store, the limiter and the log are owned by the caller and outlive the
// handler. Every storage failure leaves one line in the log.
#pragma once

#include <string>

#include "ScoreStore.h"
#include "ServerLog.h"
#include "SubmissionLimiter.h"

struct ServerReply {
  int status = 200;
  // Text: the top-ten lines, "OK,<rank>" or a one-line reason, each line ended by '\n'.
  std::string body;
};

class ScoreRequestHandler {
 public:
  ScoreRequestHandler(ScoreStore& store, SubmissionLimiter& limiter, ServerLog& log);

  // GET /pellix/top_scores/?<query>: 200 with the header line "name,score" and up to max_res
  // lines "name,score", best first; 400 for a bad query; 503 when the store fails.
  ServerReply topScores(const std::string& query);

  // POST /pellix/submit_score/ from `address` (the client's, as ClientAddress found it): 200
  // with "OK,<rank>" (for a submission id stored before, the rank its first reply gave, and
  // nothing is stored again); 429 when the address has submitted too often; 400 for a malformed
  // submission and 409 for a submission id already used by another score (nothing stored); 503
  // when the store or the limiter fails.
  ServerReply submit(const std::string& address, const std::string& body, SubmissionLimiter::Clock::time_point now);

 private:
  ScoreStore& store;
  SubmissionLimiter& limiter;
  ServerLog& log;
};
