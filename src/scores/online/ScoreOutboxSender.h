// ScoreOutboxSender: the worker thread that sends the outbox's due submissions again, one after
// the other, each with the id it was first made with. An accepted submission leaves the outbox
// with its rank, a refused one leaves it with the server's reason, and any other end (no
// connection, time-out, 5xx, 429) keeps it for a later attempt. What the player should hear of
// (ranks, refusals) waits as notices that the main thread takes.
// Owned by the high-score screen, which starts it at launch and whenever the screen is shown;
// the outbox it sends from must outlive it. Destroying it cancels a running request and waits.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "HttpTransport.h"
#include "ScoreServerAddress.h"
#include "ScoreSubmission.h"
#include "Thread.h"

class ScoreOutbox;

class ScoreOutboxSender : public MyTl::Thread {
 public:
  // The end of one submission that the player is told of.
  struct Notice {
    ScoreSubmission submission;
    bool accepted = false;
    int rank = -1;       // when accepted: the global rank, -1 when the reply gave none
    std::string reason;  // when refused: the server's reason
  };

  // Requests go through `transport`, which the sender owns from now on.
  explicit ScoreOutboxSender(std::unique_ptr<HttpTransport> transport);
  ~ScoreOutboxSender() override;

  // Starts sending the due submissions of `outbox` to `address` unless a sending runs or
  // nothing is due. Returns whether a thread started. Main thread.
  bool sendDue(ScoreOutbox& outbox, const ScoreServerAddress& address);

  bool isRunning() const { return started.load(); }
  // Called from the thread when a sending ends, so that a sleeping main loop wakes. Set while no
  // thread runs.
  void setWakeUp(std::function<void()> wake) { wakeUp = std::move(wake); }

  // The notices gathered since the last call, oldest first. Any thread.
  std::vector<Notice> takeNotices();

 protected:
  void run() override;

 private:
  std::unique_ptr<HttpTransport> http;
  std::function<void()> wakeUp;
  ScoreOutbox* sending = nullptr;
  ScoreServerAddress target;
  std::vector<ScoreSubmission> batch;
  std::mutex noticeLock;
  std::vector<Notice> notices;
};
