// Sending the outbox again.
#include "ScoreOutboxSender.h"

#include <cstdio>
#include <utility>

#include "Assert.h"
#include "ScoreOutbox.h"
#include "ScoreReplyParser.h"

ScoreOutboxSender::ScoreOutboxSender(std::unique_ptr<HttpTransport> transport)
    : MyTl::Thread("ScoreOutboxSender"), http(std::move(transport)) {
  MYTL_ASSERT(http != nullptr, "ScoreOutboxSender");
  http->setCancelCheck([this] { return stopPending.load(); });
}

ScoreOutboxSender::~ScoreOutboxSender() { WaitForStop(); }

bool ScoreOutboxSender::sendDue(ScoreOutbox& outbox, const ScoreServerAddress& address) {
  if (isRunning() || !address.isSet()) return false;
  std::vector<ScoreSubmission> ready = outbox.due();
  if (ready.empty()) return false;
  sending = &outbox;
  target = address;
  batch = std::move(ready);
  return start(P_NORMAL, true);
}

std::vector<ScoreOutboxSender::Notice> ScoreOutboxSender::takeNotices() {
  std::lock_guard<std::mutex> guard(noticeLock);
  std::vector<Notice> taken;
  taken.swap(notices);
  return taken;
}

void ScoreOutboxSender::run() {
  const std::string url = target.submitScoreUrl().c_str();
  for (const ScoreSubmission& submission : batch) {
    if (stopPending.load()) break;
    const std::string body = submission.formBody();
    const std::vector<HttpTransport::Header> headers = {
        {"Content-Length", std::to_string(body.size())},
        {"Content-Type", "application/x-www-form-urlencoded"},
    };
    const HttpResponse reply = http->post(url, body, headers);
    // An exit that cut the request short says nothing about the server: the submission stays
    // as it was, due at the next start.
    if (stopPending.load() && !reply.completed) break;
    Notice notice;
    notice.submission = submission;
    switch (ScoreSubmission::outcomeOf(reply)) {
      case ScoreSubmission::ACCEPTED:
        notice.accepted = true;
        notice.rank = ScoreReplyParser::parseSubmitRank(reply.body.data(), reply.body.size());
        sending->remove(submission.id);
        break;
      case ScoreSubmission::REFUSED:
        notice.reason = ScoreReplyParser::refusalReason(reply.body.data(), reply.body.size(), reply.status);
        sending->remove(submission.id);
        break;
      case ScoreSubmission::DEFERRED:
        sending->keep(submission);
        continue;
    }
    std::lock_guard<std::mutex> guard(noticeLock);
    notices.push_back(notice);
  }
  batch.clear();
  if (wakeUp) wakeUp();
}
