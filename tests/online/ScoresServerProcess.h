// Runs the real pellix-scores-server binary for a test: a given database (a file in the test's
// temporary folder, or a PostgreSQL URI), loopback, a free port chosen by the server and read
// back from the line it prints. Its standard output and error go to a file of its own, which
// the test can read at any time (the log lines). The destructor stops it with SIGTERM and waits
// for it; the server also dies with the test program.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "TempFolder.h"

class ScoresServerProcess {
 public:
  // Starts the server with `--db database --port 0` and `extraArguments`; waits up to 10 s
  // for it to listen. started() tells whether it did.
  // `binary` is the server program to run (an installed or unpacked one), the build's by default.
  explicit ScoresServerProcess(const std::string& database, const std::vector<std::string>& extraArguments = {},
                               const std::string& binary = binaryPath());
  ~ScoresServerProcess();
  ScoresServerProcess(const ScoresServerProcess&) = delete;
  ScoresServerProcess& operator=(const ScoresServerProcess&) = delete;

  bool started() const { return port > 0; }
  int listeningPort() const { return port; }
  pid_t processId() const { return child; }
  // "http://127.0.0.1:<port>", or https:// when the server serves TLS.
  std::string baseUrl() const;

  // Everything the server has written so far (the listening line, then the log lines).
  std::string output() const;
  // Waits up to `limit` for `text` to appear in output(); true when it did.
  bool waitForOutput(const std::string& text, std::chrono::milliseconds limit = std::chrono::seconds(15)) const;

  // Sends SIGTERM and waits; returns the exit status (-1 when it did not exit normally).
  int stop();
  // Kills it with SIGKILL, as a crash or a power cut would, and waits for it.
  void kill9();

  // Runs the binary with `arguments` to its end; returns its exit status and its output.
  static int runToEnd(const std::vector<std::string>& arguments, std::string& output);

  static std::string binaryPath();

 private:
  TempFolder logFolder;
  std::string logPath;
  pid_t child = -1;
  int port = -1;
  std::string scheme = "http";
};
