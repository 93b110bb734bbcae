// What the test run asks of every test: how much slower than a quiet Release build it may be
// (deadlines scale with it), and whether a missing display or tool fails a test or skips it.
// Read from the environment that ./dev and CI set; used by fixtures and harnesses.
#pragma once

#include <gtest/gtest.h>

#include <functional>

namespace testenv {

// PELLIX_TEST_TIME_SCALE (a number >= 1, default 1): a sanitizer build or a loaded machine sets
// it so that a deadline waiting for a condition never runs out before the condition can hold.
double timeScale();
// `ms` of a quiet Release build, scaled for this run.
int scaledMs(int ms);
// Polls `condition` every few milliseconds until it holds (true) or scaledMs(`ms`) have passed
// (false): for a test waiting on something another thread or process does.
bool waitUntil(const std::function<bool()>& condition, int ms);

// True when a test whose display or tool is missing must fail: when CI is set, or
// PELLIX_REQUIRE_ALL=1 (./dev test and ./dev sanitize export it unless the developer asks for
// skips with PELLIX_ALLOW_SKIPS=1).
bool prerequisitesRequired();

}  // namespace testenv

// Ends the current test (or its SetUp) because a display or tool it needs is missing: a failure
// naming the cause when the run requires everything, otherwise a skip.
#define PELLIX_MISSING_PREREQUISITE(reason)                                                       \
  do {                                                                                            \
    if (testenv::prerequisitesRequired()) {                                                       \
      GTEST_FAIL() << "missing for this test (a skip needs PELLIX_ALLOW_SKIPS=1 and no CI): "    \
                   << reason;                                                                     \
    } else {                                                                                      \
      GTEST_SKIP() << reason;                                                                     \
    }                                                                                             \
  } while (false)
