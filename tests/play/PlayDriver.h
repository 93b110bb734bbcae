// PlayDriver: a random player over a PlaySession. Each step sends one event a player could cause
// (press, drag or release on the board, a tap anywhere, a double tap on the menu strip, a tap on
// a menu button or settings control, a key, typed text, a pause, a hold across the 20 s idle
// ball and the penalty period, a change of a settings switch, quitting and relaunching), runs
// the frame ticks that the passing time brings, and then checks the game's invariants. Used by
// the short run in the test suite, the long run (play_run) and the fuzz target; the caller owns
// the session and the choices, which must outlive the driver.
#pragma once

#include <deque>
#include <string>

#include "PlayChoices.h"
#include "PlaySession.h"

class PlayDriver {
 public:
  PlayDriver(PlaySession& session, PlayChoices& choices);

  // Sends one event and checks the game. False when a rule is broken (fault() says which) or
  // the choices have run out.
  bool step();
  // The broken rule, empty while none.
  const std::string& fault() const { return broken; }
  // The last events sent, oldest first, one per line: what to replay by hand.
  std::string recentEvents() const;
  long long eventCount() const { return events; }

  // In a long run: note each kind of broken rule once (with the events before it) and play on,
  // so that one known fault does not hide the others. step() then stops only when the choices
  // run out.
  void playOnAfterFaults() { playOn = true; }
  // The broken rules noted so far, each with the events that led to it.
  const std::string& findings() const { return noted; }

 private:
  // Screen pixel at the centre of board square (x, y), moved by up to `jitter` pixels.
  int squareX(int column, int jitter);
  int squareY(int row, int jitter);
  // A square of the board: a ball more often than not when `preferBall`.
  Square pickSquare(bool preferBall);

  void press();
  void drag();
  void release();
  void tapAnywhere();
  void tapControl();
  void doubleTapStrip();
  void wait(int ms);
  void hold();
  void pressKey();
  void typeText();
  void flipSetting();
  void relaunch();

  void tap(int x, int y);
  // Moves the clock on by ms, with a frame tick whenever a frame's time has passed.
  void pass(int ms);
  void note(const std::string& event);
  void check();
  // Records a broken rule (nothing for an empty text): stops the run, or notes it and plays on.
  void report(const std::string& fault);

  PlaySession& session;
  PlayChoices& choices;
  bool fingerDown = false;
  int fingerX = 0, fingerY = 0;
  int sinceFrameMs = 0;
  long long events = 0;
  std::deque<std::string> recent;
  std::string broken;
  bool playOn = false;
  std::string noted;
  std::string notedKinds;
};
