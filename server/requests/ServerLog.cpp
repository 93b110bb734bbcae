// Log lines on standard error.
#include "ServerLog.h"

#include <cstdio>

ServerLog::ServerLog(bool beQuiet) : quiet(beQuiet) {}

void ServerLog::line(const std::string& text) {
  if (quiet) return;
  // One write per line, under a lock, so that lines of different threads never interleave.
  const std::string whole = "pellix-scores-server: " + text + "\n";
  std::lock_guard<std::mutex> guard(lock);
  std::fwrite(whole.data(), 1, whole.size(), stderr);
  std::fflush(stderr);
}
