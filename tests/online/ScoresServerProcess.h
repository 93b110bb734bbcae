// Runs the real pellix-scores-server binary for a test: a fresh database in a temporary folder
// (or a given one), loopback, a free port chosen by the server and read back from the line it
// prints. The destructor stops it with SIGTERM and waits for it.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class ScoresServerProcess {
 public:
  // Starts the server with `--db databasePath --port 0` and `extraArguments`; waits up to 10 s
  // for it to listen. started() tells whether it did.
  explicit ScoresServerProcess(const std::string& databasePath, const std::vector<std::string>& extraArguments = {});
  ~ScoresServerProcess();
  ScoresServerProcess(const ScoresServerProcess&) = delete;
  ScoresServerProcess& operator=(const ScoresServerProcess&) = delete;

  bool started() const { return port > 0; }
  int listeningPort() const { return port; }
  // "http://127.0.0.1:<port>".
  std::string baseUrl() const;

  // Sends SIGTERM and waits; returns the exit status (-1 when it did not exit normally).
  int stop();

  // Runs the binary with `arguments` to its end; returns its exit status and its output.
  static int runToEnd(const std::vector<std::string>& arguments, std::string& output);

  static std::string binaryPath();

 private:
  pid_t child = -1;
  int port = -1;
};
