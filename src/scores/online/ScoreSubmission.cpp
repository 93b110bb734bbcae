// Submission ids, the form body with the id, and the reading of a submission's reply.
#include "ScoreSubmission.h"

#include <random>

#include "HiScoresUploader.h"

ScoreSubmission::Outcome ScoreSubmission::outcomeOf(const HttpResponse& reply) {
  // An empty 2xx reply says nothing of the score: sent again with its id, it gets its rank.
  if (reply.succeeded()) return reply.body.empty() ? DEFERRED : ACCEPTED;
  // 429 says "later"; every other 4xx is the server's final word on this submission.
  if (reply.completed && reply.status >= 400 && reply.status < 500 && reply.status != 429) return REFUSED;
  return DEFERRED;
}

std::string ScoreSubmission::newId() {
  // std::random_device reads the kernel's random source on Linux; two players' ids must never
  // meet, which a time-seeded engine could not promise.
  std::random_device source;
  std::uniform_int_distribution<int> digit(0, 15);
  static const char HEX[] = "0123456789abcdef";
  std::string id;
  for (int i = 0; i < 32; ++i) id += HEX[digit(source)];
  return id;
}

bool ScoreSubmission::isId(const std::string& id) {
  if (id.size() != 32) return false;
  for (char c : id) {
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
  }
  return true;
}

std::string ScoreSubmission::formBody() const {
  const MyTl::BasicString<char> fields =
      HiScoresUploader::formBody(MyTl::BasicString<char>(name.c_str()), score, gameMode);
  return std::string(fields.c_str(), static_cast<size_t>(fields.length())) + "&submission_id=" + id;
}
