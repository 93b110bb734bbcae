// HiScoresFetcher: the worker thread that downloads the global top ten of one game mode.
// Owned by the high-score screen, which starts it (startFetch, only while it is not running),
// polls `scoresFetched` while it draws and reads `hiScores` only after it has seen the flag set.
// The thread writes `hiScores`, then sets the flag (release) as its last step, so the array is
// never written and read at the same time. A request ends within its time-outs; destroying the
// fetcher cancels a running request and waits for the thread.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <utility>

#include "HiScore.h"
#include "HttpTransport.h"
#include "ScoreServerAddress.h"
#include "SmartArray.h"
#include "Thread.h"

class HiScoresFetcher : public MyTl::Thread {
 public:
  // Requests go through `transport`, which the worker owns from now on.
  explicit HiScoresFetcher(std::unique_ptr<HttpTransport> transport);
  ~HiScoresFetcher() override;

  // Starts a fetch of game mode `gameMode` (the high-score table index) unless one is running:
  // sets `difficulty`, empties `hiScores`, clears `scoresFetched`, starts the thread.
  // Returns false (and changes nothing) while a fetch is running. Main thread only.
  bool startFetch(int gameMode);

  // Whether the thread is between start and the end of run().
  bool isRunning() const { return started.load(); }
  // What the thread calls as its last step, once the result is in place, so that a main loop
  // asleep until the next input wakes and shows it; must be safe to call from any thread. Set
  // while no thread runs (the screen sets it once); none at first.
  void setWakeUp(std::function<void()> wake) { wakeUp = std::move(wake); }
  // Where the top tens come from. Set while no fetch runs.
  void setServerAddress(const ScoreServerAddress& address) { serverAddress = address; }

  // The entries of the last fetch in reply order; empty after a failed fetch.
  MyTl::FixedArray<HiScore> hiScores;
  // Set when a fetch has ended, successfully or not.
  std::atomic<bool> scoresFetched{false};
  // The game mode sent as game_mode.
  int difficulty = 0;

 protected:
  // One fetch, then the thread ends.
  void run() override;

 private:
  std::unique_ptr<HttpTransport> http;
  std::function<void()> wakeUp;
  ScoreServerAddress serverAddress;
};
