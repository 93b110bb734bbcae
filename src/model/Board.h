// Board: the model of one game. The grid of stones, the free squares, the announced (pending)
// balls, score and level, timed events (delayed score credits and moments the owner hears of,
// see BoardEvent) and one animation
// record per square for the renderer. The controller owns exactly one Board and lends it the
// game clock, the random source and the live settings, which outlive it; every new game starts
// with `reset`. All calls come from the main thread.
#pragma once

#include <functional>
#include <utility>

#include "AnimationInfo.h"
#include "BoardEvent.h"
#include "RBTree.h"
#include "Settings.h"
#include "SmartArray.h"
#include "Square.h"
#include "Stone.h"
#include "MoveInfo.h"

class GameClock;
class RandomSource;

namespace MyTl {
class File;
class StreamIn;
class StreamOut;
}  // namespace MyTl

// A game time in milliseconds; -1 when none.
struct ClockOffset {
  int ms = -1;
};

using SquareSet = MyTl::RBTree<Square, int, SquareKeyOrder>;

class Board {
 public:
  static constexpr int MAX_SIZE = 16;

  // An event of the rules that falls due later, fired by fireDueEvents once the clock has passed
  // `time`: a score credit (which may raise the level and drop extra balls) or a moment that
  // the owner hears about (a line vanishing, a level reached, the end of a game).
  struct TimedEvent {
    enum Type { LINE_REMOVED = 0, LEVEL_REACHED = 1, GAME_OVER = 2, NEW_HIGH_SCORE = 3, SCORE_CREDIT = 4 };
    int type = LINE_REMOVED;
    int time = -1;   // nowMs after which the event fires; -1 = done
    int value = -1;  // points of a score credit; -1 otherwise

    TimedEvent() = default;
    TimedEvent(int eventType, int eventTime, int eventValue) : type(eventType), time(eventTime), value(eventValue) {}
  };

  // What the path search knows about one square.
  struct ReachabilityInfo {
    // Stored as an int: any value is a valid Direction, and navigatePath leaves a square alone for
    // a value it does not know.
    enum Direction : int { DIR_NONE = 0, DIR_LEFT = 1, DIR_RIGHT = 2, DIR_UP = 3, DIR_DOWN = 4 };
    int distance = -1;              // steps from the search origin; -1 = not reached
    Direction direction = DIR_NONE; // the step back toward the origin
    bool onPath = false;            // on the path currently shown
  };

  // An empty board of the default size; `reset` starts its first game. Each new game copies
  // `liveSettings`; stamps come from `clock`, chance from `random`.
  Board(const GameClock& clock, RandomSource& random, const Settings& liveSettings);
  Board(const Board&) = delete;
  Board& operator=(const Board&) = delete;

  // --- Game set-up, stones and pending balls ---

  // Starts a new game with a fresh copy of the live settings; seven random balls when asked.
  void reset(bool placeInitialBalls);
  // Draws the colour of a new ball (bomb, rainbow or an ordinary colour of the level).
  int getRandomStoneColour();
  // No in-board orthogonal neighbour of s is empty.
  bool isSurrounded(Square s) const;
  // Puts `colour` on the free square s (an occupied square keeps its stone).
  void setStone(Square& s, int colour, bool animate);
  // Takes the stone off s; index of s in freeSquares, or -1 when s held no stone.
  int emptySquare(Square& s, bool animate);
  // Moves the stone on `from` to the free square `to` (reachability is the caller's check).
  void doMove(Square& from, Square& to);
  // Announces a fresh set of three balls.
  void resetPendingStones();
  // Announces one more ball (the game clock's penalty ball).
  void addPendingBall(int colour);
  // Places every announced ball at random; false when the board filled up first.
  bool addPendingBalls();
  // Places one random ball at a random free square; false when none is free.
  bool addBallAtRandomPos();
  // Fires the due timed events: credits their points (raising the level, dropping extra balls)
  // and reports the others to the event handler. Called once per frame tick.
  void fireDueEvents();
  // Queues a moment for the owner (GAME_OVER, NEW_HIGH_SCORE) at nowMs `time`.
  void queueEvent(TimedEvent::Type type, int time) { timedEvents.append(TimedEvent(type, time, -1)); }
  // Who hears about the board's events (the controller, which plays their sounds); none at first.
  void setEventHandler(std::function<void(BoardEvent)> handler) { eventHandler = std::move(handler); }

  // --- Reachability and paths ---

  // Breadth-first search from `selected` over the whole board.
  void calculateReachabilities();
  // One step of the search: records (x, y) if new, queues it when empty.
  void trySquare(int x, int y, int distance, ReachabilityInfo::Direction direction);
  // Moves s one step in `direction`.
  static void navigatePath(ReachabilityInfo::Direction direction, Square& s);
  // Marks the shortest path from `from` (the search origin) to `to` for display.
  void calculateReachability(const Square& from, const Square& to);

  // --- Lines and scoring ---

  // Removes every line of five or more through s, fills `removed`, queues the sound and points.
  void checkForConnections(Square s, SquareSet& removed, int pathIndex);
  // Number of squares (besides s) a ball of `colour` on s would remove; changes no stone.
  int checkForConnectionsButDoNothing(Square s, int colour);
  // Appends what the line through `origin` in direction (dx, dy) would remove to `list`.
  void totalRemoved(Stone origin, int dx, int dy, MyTl::FixedArray<Square>& list, bool bombInvolved);
  // Queues a score credit for the moment the moving ball arrives.
  void incScoreWhenPathComplete(int points, int pathIndex);

  // --- Saved game (the board's part of gameState.dat) ---

  void saveState(MyTl::StreamOut& file) const;
  // Reads the board back, or starts a new game when anything is wrong with it.
  void loadState(MyTl::StreamIn& file);

  // --- Helpers for callers ---

  bool isInBoard(const Square& s) const { return s.x >= 0 && s.y >= 0 && s.x < width && s.y < height; }
  int stoneAt(const Square& s) const { return isInBoard(s) ? stones[s.y][s.x] : SQUARE_EMPTY; }
  static void boardSizeForClass(int boardSizeClass, int& width, int& height);

  // Counts the changes that the cached board image shows (stones, the selection, announced balls,
  // animations starting or ending); whoever draws that image remakes it when the count moved on.
  unsigned pictureRevision() const { return pictureChanges; }
  void notePictureChange() { ++pictureChanges; }

  // --- State (read and written directly by the controller and the renderer) ---

  MyTl::FixedArray<MoveInfo> moveLog;
  MyTl::FixedArray<TimedEvent> timedEvents;
  int changeCount = 0;
  int moveCount = 0;
  Settings settings;
  int width = 8;
  int height = 10;
  int ballsSinceBomb = 0;
  Square selected;
  // Set when the selected ball leaves the board other than by its own move (a line completed by a
  // dropped ball, a bomb's sweep); the controller then ends the selection and clears this.
  bool selectedBallRemoved = false;
  MyTl::FixedArray<Square> freeSquares;
  int level = 1;
  int score = 0;
  int previousScore = 0;
  MyTl::FixedArray<int> pendingStones;
  MyTl::FixedArray<ClockOffset> pendingStoneTimes;
  int stones[MAX_SIZE][MAX_SIZE];
  AnimationInfo animations[MAX_SIZE][MAX_SIZE];
  ReachabilityInfo reachability[MAX_SIZE][MAX_SIZE];
  MyTl::FixedArray<Stone> searchQueue;
  int searchQueueHead = 0;
  MyTl::FixedArray<Square> probeSquares;
  SquareSet removedSet;
  MyTl::FixedArray<Square> rowSquares;

 private:
  void resetAnimation(AnimationInfo& animation) const;
  void setBoardSizeFromSettings();
  bool loadBoardFields(MyTl::StreamIn& file);
  void rebuildFreeSquares();
  void report(BoardEvent event) const {
    if (eventHandler) eventHandler(event);
  }

  std::function<void(BoardEvent)> eventHandler;
  unsigned pictureChanges = 0;

  const GameClock& clock;
  RandomSource& random;
  const Settings& liveSettings;
};
