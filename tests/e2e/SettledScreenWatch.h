// SettledScreenWatch: what a player sees of a program starting, timed from its launch to the
// moment the screen first shows the picture it keeps. It follows the whole X screen (damage on
// the root window, which reports drawing in every window) on a connection of its own, and after
// every report reads the screen back and hashes it; when the program has come to rest, the last
// picture is the settled one. Used by the start-up benchmark, for the game and for the bare
// SDL2 + GL program it is compared with, and by the test that the first picture is the start
// screen; one watch per launch.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class SettledScreenWatch {
 public:
  // What the screen did between the launch and the rest.
  struct Outcome {
    // Launch to the first report after which the screen showed the settled picture.
    double settledMs = -1;
    // Launch to the first change of the screen at all.
    double firstChangeMs = -1;
    // Pictures shown before the settled one that were neither the screen before the launch nor
    // the settled picture (a blank window, a half-drawn frame).
    int picturesBefore = 0;
    // Drawing reported after the settled picture appeared (a frame presented again unchanged).
    int reportsAfter = 0;
  };

  // On display `displayName`; ready() is false without the damage extension.
  explicit SettledScreenWatch(const std::string& displayName);
  ~SettledScreenWatch();
  SettledScreenWatch(const SettledScreenWatch&) = delete;
  SettledScreenWatch& operator=(const SettledScreenWatch&) = delete;

  bool ready() const { return damage != 0; }
  // Records the screen as it is and starts the clock: call right before launching.
  void start();
  // Follows the screen until something has been drawn, `done` holds and nothing more has been
  // drawn for `quietMs` (`done` is asked only at such quiet moments); false after `timeoutMs`.
  bool follow(int quietMs, int timeoutMs, const std::function<bool()>& done);
  Outcome outcome() const;

 private:
  struct Picture {
    double atMs;
    uint64_t hash;
  };
  uint64_t screenHash();

  void* display = nullptr;  // Display*
  unsigned long damage = 0; // Damage
  int eventBase = 0;
  double startMs = 0;
  uint64_t initialHash = 0;
  std::vector<Picture> pictures;
};
