// Starting and stopping the real high-score server for the tests.
#include "ScoresServerProcess.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

// Starts the binary with its output (stdout and stderr) on a pipe; returns the read end.
pid_t spawn(const std::vector<std::string>& arguments, int& outputFd) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return -1;
  std::vector<std::string> all = {ScoresServerProcess::binaryPath()};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : all) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    dup2(pipeFds[1], STDOUT_FILENO);
    dup2(pipeFds[1], STDERR_FILENO);
    close(pipeFds[0]);
    close(pipeFds[1]);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(pipeFds[1]);
  if (pid < 0) {
    close(pipeFds[0]);
    return -1;
  }
  outputFd = pipeFds[0];
  return pid;
}

int exitStatusOf(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

std::string ScoresServerProcess::binaryPath() { return PELLIX_SCORES_SERVER_BINARY; }

ScoresServerProcess::ScoresServerProcess(const std::string& databasePath, const std::vector<std::string>& extraArguments) {
  std::vector<std::string> arguments = {"--db", databasePath, "--port", "0"};
  arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
  int outputFd = -1;
  child = spawn(arguments, outputFd);
  if (child < 0) return;
  // Read until the "listening on http://127.0.0.1:<port>" line.
  std::string output;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (output.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    pollfd ready = {outputFd, POLLIN, 0};
    if (poll(&ready, 1, 100) <= 0) continue;
    char buffer[256];
    ssize_t n = read(outputFd, buffer, sizeof buffer);
    if (n <= 0) break;
    output.append(buffer, static_cast<size_t>(n));
  }
  close(outputFd);
  const std::string marker = "listening on http://127.0.0.1:";
  size_t at = output.find(marker);
  if (at != std::string::npos) port = std::atoi(output.c_str() + at + marker.size());
}

ScoresServerProcess::~ScoresServerProcess() { stop(); }

std::string ScoresServerProcess::baseUrl() const { return "http://127.0.0.1:" + std::to_string(port); }

int ScoresServerProcess::stop() {
  if (child < 0) return -1;
  kill(child, SIGTERM);
  int status = exitStatusOf(child);
  child = -1;
  port = -1;
  return status;
}

int ScoresServerProcess::runToEnd(const std::vector<std::string>& arguments, std::string& output) {
  int outputFd = -1;
  pid_t pid = spawn(arguments, outputFd);
  if (pid < 0) return -1;
  output.clear();
  char buffer[4096];
  ssize_t n;
  while ((n = read(outputFd, buffer, sizeof buffer)) > 0) output.append(buffer, static_cast<size_t>(n));
  close(outputFd);
  return exitStatusOf(pid);
}
