// Xvfb started with -displayfd and stopped with its session.
#include "XvfbProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "ChildProcessStop.h"
#include "TestEnvironment.h"
#include "WholeFile.h"

XvfbProcess::XvfbProcess(int width, int height, const std::string& logPath) : logFile(logPath) {
  // Xvfb picks a free display number and writes it to the pipe.
  int pipeFds[2];
  if (pipe(pipeFds) != 0) {
    failure = "no pipe for Xvfb";
    return;
  }
  pid = fork();
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    close(pipeFds[0]);
    const int devNull = open("/dev/null", O_WRONLY);
    const int log = open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(devNull, 1);
    dup2(log >= 0 ? log : devNull, 2);
    const std::string fd = std::to_string(pipeFds[1]);
    const std::string geometry = std::to_string(width) + "x" + std::to_string(height) + "x24";
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", geometry.c_str(), "-nolisten", "tcp", nullptr);
    _exit(127);
  }
  close(pipeFds[1]);
  if (pid < 0) {
    close(pipeFds[0]);
    failure = "cannot start Xvfb";
    return;
  }
  // Xvfb writes the number and the line feed separately and dies when the second write finds
  // the pipe closed: read the whole line.
  std::string number;
  char c = 0;
  while (number.size() < 16 && read(pipeFds[0], &c, 1) == 1 && c != '\n') number.push_back(c);
  close(pipeFds[0]);
  if (number.empty() || c != '\n') {
    failure = "Xvfb named no display";
    return;
  }
  displayName = ":" + number;
}

XvfbProcess::~XvfbProcess() { stopChildProcess(pid); }

std::string XvfbProcess::problem() const {
  if (failure.empty()) return failure;
  return failure + "; Xvfb said: " + testfiles::readText(logFile);
}
