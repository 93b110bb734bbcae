// Shared helpers of the online tests: pointing the game's workers at a server through
// PELLIX_SCORES_URL, running one fetch or one upload to its end, and building form bodies.
#pragma once

#include <stdlib.h>

#include <chrono>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "CurlHttpTransport.h"
#include "HiScoresFetcher.h"
#include "HiScoresUploader.h"

// Sets PELLIX_SCORES_URL for the life of the object (workers read it at each request).
class ScoresUrl {
 public:
  explicit ScoresUrl(const std::string& url) { setenv("PELLIX_SCORES_URL", url.c_str(), 1); }
  ~ScoresUrl() { unsetenv("PELLIX_SCORES_URL"); }
  ScoresUrl(const ScoresUrl&) = delete;
  ScoresUrl& operator=(const ScoresUrl&) = delete;
};

// Polls `flag` until it is set or `limit` has passed; true when it was set.
template <class Flag>
bool waitForFlag(const Flag& flag, std::chrono::milliseconds limit = std::chrono::seconds(30)) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  while (!flag.load(std::memory_order_acquire)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

struct FetchedEntry {
  std::string name;
  int score;
  bool operator==(const FetchedEntry& other) const { return name == other.name && score == other.score; }
};

// One fetch of `gameMode` with a fresh fetcher, run to its end.
inline std::vector<FetchedEntry> fetchTopScores(int gameMode, bool* finished = nullptr) {
  HiScoresFetcher fetcher{std::make_unique<CurlHttpTransport>()};
  fetcher.startFetch(gameMode);
  bool done = waitForFlag(fetcher.scoresFetched);
  if (finished != nullptr) *finished = done;
  std::vector<FetchedEntry> entries;
  if (!done) return entries;
  for (const HiScore& entry : fetcher.hiScores) entries.push_back({entry.name.c_str(), entry.score});
  return entries;
}

struct UploadOutcome {
  bool finished = false;
  int rank = -1;
  bool alertRequested = false;
};

// One upload with a fresh uploader, run to its end.
inline UploadOutcome uploadScore(const std::string& name, int score, int gameMode) {
  HiScoresUploader uploader{std::make_unique<CurlHttpTransport>()};
  UploadOutcome outcome;
  uploader.startUpload(MyTl::BasicString<char>(name.c_str(), name.size()), score, gameMode);
  outcome.finished = waitForFlag(uploader.scoreUploaded);
  outcome.rank = uploader.globalHighScorePosition.load();
  outcome.alertRequested = uploader.takeErrorAlertRequest();
  return outcome;
}

inline std::ostream& operator<<(std::ostream& out, const FetchedEntry& entry) {
  return out << "{" << entry.name << ", " << entry.score << "}";
}
