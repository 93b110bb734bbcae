// The high-score server's log: one line per event (a storage failure, a refused or cut-off
// connection) on standard error, so that an operator sees what the clients only see as a
// status. Created by main (or a test) and shared by every thread; --quiet silences it for tests
// that provoke thousands of such events.
#pragma once

#include <mutex>
#include <string>

class ServerLog {
 public:
  explicit ServerLog(bool quiet = false);

  // Writes "pellix-scores-server: <text>" and a line feed, whole, unless quiet. Line breaks in
  // `text` (a database driver's message may hold several lines) are folded into " / ", and
  // other control characters into spaces, so that one event is always one line.
  void line(const std::string& text);

  // `text` as line() writes it, without the prefix.
  static std::string folded(const std::string& text);

 private:
  const bool quiet;
  std::mutex lock;
};
