// Request handling of the high-score server.
#include "ScoreRequestHandler.h"

#include <vector>

#include "SubmissionValidator.h"
#include "TopScoresQuery.h"

namespace {

ServerReply reply(int status, const std::string& line) { return ServerReply{status, line + "\n"}; }

}  // namespace

ScoreRequestHandler::ScoreRequestHandler(ScoreStore& scoreStore, SubmissionLimiter& submissionLimiter, ServerLog& serverLog)
    : store(scoreStore), limiter(submissionLimiter), log(serverLog) {}

ServerReply ScoreRequestHandler::topScores(const std::string& query) {
  TopScoresQuery request;
  std::string reason;
  if (!request.parse(query, reason)) return reply(400, reason);
  std::vector<ScoreStore::Entry> entries;
  StorageResult<void> read = store.topScores(request.gameMode, request.maxResults, entries);
  if (!read) {
    log.line("storage failure reading table " + std::to_string(request.gameMode) + ": " + read.error());
    return reply(503, "storage unavailable");
  }
  ServerReply result;
  result.body = "name,score\n";
  for (const ScoreStore::Entry& entry : entries) {
    result.body += entry.name + "," + std::to_string(entry.score) + "\n";
  }
  return result;
}

ServerReply ScoreRequestHandler::submit(const std::string& address, const std::string& body,
                                        SubmissionLimiter::Clock::time_point now) {
  // Counted before the checks, so a flood of malformed submissions is limited as well.
  StorageResult<SubmissionLimiter::Verdict> admission = limiter.admit(address, now);
  if (!admission) {
    log.line("storage failure counting the submissions of " + address + ": " + admission.error());
    return reply(503, "storage unavailable");
  }
  if (admission.value() == SubmissionLimiter::REFUSED) return reply(429, "too many submissions, try again in a minute");
  Submission submission;
  std::string reason;
  if (!SubmissionValidator::validate(body, submission, reason)) return reply(400, reason);
  StorageResult<ScoreStore::Placement> placed =
      store.addScore(submission.gameMode, submission.name, submission.score, submission.submissionId);
  if (!placed) {
    log.line("storage failure storing a score in table " + std::to_string(submission.gameMode) + ": " +
             placed.error());
    return reply(503, "storage unavailable");
  }
  if (placed.value().outcome == ScoreStore::Placement::ID_IN_USE) {
    return reply(409, "submission_id already used for another score");
  }
  // A submission stored before (its reply was lost) gets the reply it got then.
  return reply(200, "OK," + std::to_string(placed.value().rank));
}
