// Reading the test run's environment (see TestEnvironment.h).
#include "TestEnvironment.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace testenv {

double timeScale() {
  const char* text = std::getenv("PELLIX_TEST_TIME_SCALE");
  if (text == nullptr || text[0] == '\0') return 1.0;
  char* end = nullptr;
  const double scale = std::strtod(text, &end);
  // A value that is no number, or below 1, would only shorten deadlines: it counts as 1.
  return (end != text && scale > 1.0 && scale < 1000.0) ? scale : 1.0;
}

int scaledMs(int ms) { return static_cast<int>(ms * timeScale()); }

bool waitUntil(const std::function<bool()>& condition, int ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(scaledMs(ms));
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

bool prerequisitesRequired() {
  const char* ci = std::getenv("CI");
  const char* require = std::getenv("PELLIX_REQUIRE_ALL");
  return (ci != nullptr && ci[0] != '\0' && std::strcmp(ci, "0") != 0 && std::strcmp(ci, "false") != 0) ||
         (require != nullptr && std::strcmp(require, "1") == 0);
}

}  // namespace testenv
