// Launch timestamps against the process's start time from /proc/self/stat.
#include "StartUpTrace.h"

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

double clockMs(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The process's start on the boot clock (field 22 of /proc/self/stat, in clock ticks); -1 when
// it cannot be read.
double processStartMs() {
  std::ifstream stat("/proc/self/stat");
  std::string content((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const size_t nameEnd = content.rfind(')');
  if (nameEnd == std::string::npos) return -1;
  std::istringstream fields(content.substr(nameEnd + 2));
  std::string field;
  for (int index = 3; fields >> field; ++index) {
    if (index == 22) return std::strtod(field.c_str(), nullptr) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
  }
  return -1;
}

struct Trace {
  bool enabled = std::getenv("PELLIX_TRACE_STARTUP") != nullptr;
  double startMs = enabled ? processStartMs() : -1;
  double firstMarkMs = -1;
};

}  // namespace

void StartUpTrace::mark(const char* step) {
  static Trace trace;
  if (!trace.enabled) return;
  const double now = clockMs(CLOCK_BOOTTIME);
  if (trace.firstMarkMs < 0) trace.firstMarkMs = now;
  std::fprintf(stderr, "pellix start-up: %.1f ms (main +%.1f ms; CPU: process %.1f ms, this thread %.1f ms) %s\n",
               trace.startMs >= 0 ? now - trace.startMs : -1.0, now - trace.firstMarkMs,
               clockMs(CLOCK_PROCESS_CPUTIME_ID), clockMs(CLOCK_THREAD_CPUTIME_ID), step);
}
