// The global top-ten download.
#include "HiScoresFetcher.h"

#include <utility>

#include "Assert.h"
#include "ScoreReplyParser.h"
#include "ScoreServerAddress.h"

HiScoresFetcher::HiScoresFetcher(std::unique_ptr<HttpTransport> transport)
    : MyTl::Thread("HiScoresFetcher"), http(std::move(transport)) {
  MYTL_ASSERT(http != nullptr, "HiScoresFetcher");
  hiScores.reserve(32);
  // A running request gives up as soon as the owner asks the thread to stop (at exit).
  http->setCancelCheck([this] { return stopPending.load(); });
}

HiScoresFetcher::~HiScoresFetcher() {
  // run() uses the members: wait here, before they are destroyed.
  WaitForStop();
}

bool HiScoresFetcher::startFetch(int gameMode) {
  if (isRunning()) return false;
  difficulty = gameMode;
  hiScores.clear();
  scoresFetched.store(false, std::memory_order_relaxed);
  start(P_NORMAL, true);
  return true;
}

void HiScoresFetcher::run() {
  HttpResponse reply = http->get(serverAddress.topScoresUrl(difficulty).c_str());
  // Only a whole 2xx reply is a table: an error page of some other server is not.
  if (reply.succeeded()) {
    ScoreReplyParser::parseTopScores(reply.body.data(), reply.body.size(), hiScores);
  }
  scoresFetched.store(true, std::memory_order_release);
  if (wakeUp) wakeUp();
}
