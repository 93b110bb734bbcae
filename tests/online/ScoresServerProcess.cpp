// Starting and stopping the real high-score server for the tests.
#include "ScoresServerProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

// Starts `binary` with its output (stdout and stderr) on `outputFd`.
pid_t spawn(const std::string& binary, const std::vector<std::string>& arguments, int outputFd) {
  std::vector<std::string> all = {binary};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : all) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = fork();
  if (pid == 0) {
    // A test that dies must not leave a server behind.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    dup2(outputFd, STDOUT_FILENO);
    dup2(outputFd, STDERR_FILENO);
    close(outputFd);
    execv(argv[0], argv.data());
    _exit(127);
  }
  return pid;
}

int exitStatusOf(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

std::string ScoresServerProcess::binaryPath() { return PELLIX_SCORES_SERVER_BINARY; }

ScoresServerProcess::ScoresServerProcess(const std::string& database, const std::vector<std::string>& extraArguments,
                                         const std::string& binary)
    : logPath(logFolder.path("server.log")) {
  std::vector<std::string> arguments = {"--db", database, "--port", "0"};
  arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
  int outputFd = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0600);
  if (outputFd < 0) return;
  child = spawn(binary, arguments, outputFd);
  close(outputFd);
  if (child < 0) return;
  // Wait for the "listening on http://127.0.0.1:<port>" line (https:// when serving TLS).
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (std::chrono::steady_clock::now() < deadline) {
    const std::string text = output();
    for (const char* candidate : {"http", "https"}) {
      const std::string marker = std::string("listening on ") + candidate + "://127.0.0.1:";
      const size_t at = text.find(marker);
      if (at != std::string::npos && text.find('\n', at) != std::string::npos) {
        scheme = candidate;
        port = std::atoi(text.c_str() + at + marker.size());
        return;
      }
    }
    if (waitpid(child, nullptr, WNOHANG) == child) {
      child = -1;
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

ScoresServerProcess::~ScoresServerProcess() { stop(); }

std::string ScoresServerProcess::baseUrl() const { return scheme + "://127.0.0.1:" + std::to_string(port); }

std::string ScoresServerProcess::output() const { return TempFolder::contentOf(logPath); }

bool ScoresServerProcess::waitForOutput(const std::string& text, std::chrono::milliseconds limit) const {
  auto deadline = std::chrono::steady_clock::now() + limit;
  while (output().find(text) == std::string::npos) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

int ScoresServerProcess::stop() {
  if (child < 0) return -1;
  kill(child, SIGTERM);
  int status = exitStatusOf(child);
  child = -1;
  port = -1;
  return status;
}

void ScoresServerProcess::kill9() {
  if (child < 0) return;
  kill(child, SIGKILL);
  exitStatusOf(child);
  child = -1;
  port = -1;
}

int ScoresServerProcess::runToEnd(const std::vector<std::string>& arguments, std::string& output) {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return -1;
  pid_t pid = spawn(binaryPath(), arguments, pipeFds[1]);
  close(pipeFds[1]);
  if (pid < 0) {
    close(pipeFds[0]);
    return -1;
  }
  output.clear();
  char buffer[4096];
  ssize_t n;
  while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0) output.append(buffer, static_cast<size_t>(n));
  close(pipeFds[0]);
  return exitStatusOf(pid);
}
