// XvfbProcess: a virtual X server of its own for one end-to-end session, on a free display
// number that Xvfb picks itself, with its messages kept in a log file. The sessions that run the
// game (GameSession, WestonSession) own one each; it ends with them, and goes with the test
// program even when that dies without cleaning up.
#pragma once

#include <sys/types.h>

#include <string>

class XvfbProcess {
 public:
  // Starts Xvfb with one screen of `width` x `height` at 24 bits, writing what it says to
  // `logPath`; returns once it has named its display (ready for connections) or failed.
  XvfbProcess(int width, int height, const std::string& logPath);
  // Ends the server: a polite signal first, a kill when it does not go.
  ~XvfbProcess();
  XvfbProcess(const XvfbProcess&) = delete;
  XvfbProcess& operator=(const XvfbProcess&) = delete;

  bool started() const { return !displayName.empty(); }
  // The display to connect to (":N"); empty when it did not start.
  const std::string& display() const { return displayName; }
  // Why it did not start, with what Xvfb said; empty when it did.
  std::string problem() const;

 private:
  pid_t pid = -1;
  std::string logFile;
  std::string displayName;
  std::string failure;
};
