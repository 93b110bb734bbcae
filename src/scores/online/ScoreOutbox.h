// ScoreOutbox: the submissions that could not be delivered yet, kept in a small text file beside
// the high-score tables until the server accepts or refuses them. Each failed attempt pushes the
// next one back: 30 s after the first, doubling up to an hour between attempts; the moment is
// kept in the file, so a restarted game waits for it too.
//
// File: a first line "pellix-score-outbox 1", then one line per submission:
// "<id> <game mode> <score> <failed attempts> <next attempt, s since the epoch> <name>". It is
// rewritten whole and atomically after every change and removed when the outbox empties. A file
// that is damaged in any way reads as an empty outbox and is left alone until the next change.
//
// The high-score screen makes it at launch with the file's path and a clock; the uploader's
// thread adds to it, the sender's thread takes due submissions and settles them. Internally
// locked: every member may be called from any thread.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "ScoreSubmission.h"

class ScoreOutbox {
 public:
  // Seconds since the epoch.
  using Clock = std::function<int64_t()>;

  static constexpr int64_t FIRST_RETRY_DELAY_S = 30;
  static constexpr int64_t MAX_RETRY_DELAY_S = 3600;
  // The most submissions kept: beyond it the oldest gives way.
  static constexpr size_t MAX_SUBMISSIONS = 100;
  static constexpr long MAX_FILE_BYTES = 64 * 1024;

  // Reads the file at `path` (empty: kept in memory only, nothing is written).
  ScoreOutbox(std::string path, Clock clock);

  // The wait after `failedAttempts` failed attempts (1 or more).
  static int64_t retryDelay(int failedAttempts);

  // A submission whose attempt just failed for a reason that may pass: counts the attempt,
  // schedules the next one and saves. A submission already kept (same id) is updated. Returns
  // whether the outbox file now holds it (always true without a file).
  bool keep(ScoreSubmission submission);
  // The submissions whose next attempt is due now, oldest first.
  std::vector<ScoreSubmission> due() const;
  // Settled (accepted or refused): the submission leaves the outbox. Saves.
  void remove(const std::string& id);
  // Everything kept, oldest first.
  std::vector<ScoreSubmission> submissions() const;
  const std::string& path() const { return filePath; }

  // The file's text for `submissions`, and the submissions of a file's text (false when the
  // text is damaged in any way).
  static std::string format(const std::vector<ScoreSubmission>& submissions);
  static bool parse(const std::string& text, std::vector<ScoreSubmission>& submissions);

 private:
  void load();
  // Writes the file (or removes it when empty); under the lock.
  bool save() const;

  const std::string filePath;
  const Clock now;
  mutable std::mutex lock;
  std::vector<ScoreSubmission> kept;
};
