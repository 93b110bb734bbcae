// Ending a child process (see ChildProcessStop.h).
#include "ChildProcessStop.h"

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "TestEnvironment.h"

void stopChildProcess(pid_t& pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(testenv::scaledMs(5000));
  while (waitpid(pid, nullptr, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  pid = -1;
}
