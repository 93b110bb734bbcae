// Board set-up, random colours, stones, moves, announced balls and the timed-event queue.
#include "Board.h"

#include <cstdlib>
#include <limits>

#include "GameClock.h"
#include "RandomSource.h"

namespace {

const int INITIAL_BALLS = 7;
const int PENDING_SET_SIZE = 3;
const int FIRST_LEVEL_UP_DELAY_MS = 450;
const int LEVEL_UP_SPACING_MS = 1000;
const int POINTS_PER_LEVEL = 50;

// Bomb and rainbow chances per 200 draws, by the settings' special-ball rate.
struct SpecialBallChances {
  int bomb;
  int rainbow;
};

SpecialBallChances specialBallChances(int specialBallRate) {
  switch (specialBallRate) {
    case 0: return {0, 7};
    case 1: return {4, 7};
    case 2: return {6, 9};
    case 3: return {8, 11};
    default: return {0, 0};
  }
}

}  // namespace

Board::Board(const GameClock& gameClock, RandomSource& randomSource, const Settings& live)
    : clock(gameClock), random(randomSource), liveSettings(live) {
  for (int y = 0; y < MAX_SIZE; ++y) {
    for (int x = 0; x < MAX_SIZE; ++x) {
      stones[y][x] = SQUARE_EMPTY;
      resetAnimation(animations[y][x]);
      reachability[y][x] = ReachabilityInfo();
    }
  }
  timedEvents.reserve(32);
  setBoardSizeFromSettings();
  rebuildFreeSquares();
}

void Board::resetAnimation(AnimationInfo& animation) const {
  animation.startTime = clock.nowMs();
  animation.active = false;
  animation.kind = ANIM_IDLE;
  animation.pathIndex = -1;
}

void Board::boardSizeForClass(int boardSizeClass, int& boardWidth, int& boardHeight) {
  const unsigned sizeClass = static_cast<unsigned>(boardSizeClass);
  boardWidth = sizeClass < 2 ? 7 : (sizeClass < 4 ? 8 : 9);
  boardHeight = boardSizeClass == 0 ? 8 : (boardSizeClass == 1 || boardSizeClass == 2 ? 9 : 10);
}

void Board::setBoardSizeFromSettings() { boardSizeForClass(settings.boardSizeClass, width, height); }

void Board::reset(bool placeInitialBalls) {
  settings = liveSettings;
  setBoardSizeFromSettings();

  moveLog.release();
  moveCount = 0;
  ballsSinceBomb = 0;
  previousScore = score;
  score = 0;
  level = 1;
  notePictureChange();
  ++changeCount;

  freeSquares.clear();
  freeSquares.reserve(MAX_SIZE * MAX_SIZE);
  for (int x = 0; x < MAX_SIZE; ++x) {
    for (int y = 0; y < MAX_SIZE; ++y) {
      stones[y][x] = SQUARE_EMPTY;
      resetAnimation(animations[y][x]);
      if (x < width && y < height) freeSquares.append(Square(x, y));
    }
  }

  if (placeInitialBalls) {
    for (int i = 0; i < INITIAL_BALLS; ++i) addBallAtRandomPos();
  }
  resetPendingStones();
  selected = Square();
  // Rows the initial balls happened to complete stay removed, but earn no sound and no points.
  timedEvents.clear();
}

int Board::getRandomStoneColour() {
  const int roll = random.below(200);
  const SpecialBallChances chances = specialBallChances(settings.specialBallRate);
  const float spacing =
      chances.bomb == 0 ? std::numeric_limits<float>::infinity() : 200.0f / static_cast<float>(chances.bomb);

  // A bomb never comes sooner than a quarter of the mean spacing after the last one...
  if (roll < chances.bomb && static_cast<float>(ballsSinceBomb) > spacing * 0.25f) {
    ballsSinceBomb = 0;
    return STONE_BOMB;
  }
  // ...and always comes after twice the mean spacing.
  const int drawsSinceBomb = ballsSinceBomb++;
  if (static_cast<float>(drawsSinceBomb) > 2.0f * spacing) {
    ballsSinceBomb = 0;
    return STONE_BOMB;
  }
  if (random.below(200 - chances.bomb) < chances.rainbow) return STONE_RAINBOW;

  int colours = settings.colourCount;
  if (level <= 1) --colours;
  if (level <= 3 && settings.gameMode == Settings::MODE_EASY) --colours;
  if (colours < 1) colours = 1;  // never a division by zero, whatever the settings say
  return random.below(colours) + 1;
}

bool Board::isSurrounded(Square s) const {
  const Square neighbours[4] = {{s.x - 1, s.y}, {s.x + 1, s.y}, {s.x, s.y - 1}, {s.x, s.y + 1}};
  for (const Square& neighbour : neighbours) {
    if (isInBoard(neighbour) && stones[neighbour.y][neighbour.x] == SQUARE_EMPTY) return false;
  }
  return true;
}

void Board::setStone(Square& s, int colour, bool animate) {
  ++changeCount;
  for (int i = 0; i < freeSquares.size(); ++i) {
    if (freeSquares[i] == s) {
      freeSquares[i] = freeSquares.last();
      freeSquares.removeLast();
      stones[s.y][s.x] = colour;
      break;
    }
  }
  if (animate && s.x >= 0 && s.y >= 0 && s.x < MAX_SIZE && s.y < MAX_SIZE) {
    AnimationInfo& animation = animations[s.y][s.x];
    animation.stone = colour;
    animation.active = true;
    animation.kind = ANIM_APPEAR;
    animation.startTime = clock.nowMs();
    animation.shrinkSize = -1.0f;
    animation.pathIndex = -1;
  }
  notePictureChange();
}

int Board::emptySquare(Square& s, bool animate) {
  ++changeCount;
  const int colour = stoneAt(s);
  if (colour == SQUARE_EMPTY) return -1;

  freeSquares.append(s);
  stones[s.y][s.x] = SQUARE_EMPTY;
  if (s == selected) selectedBallRemoved = true;
  notePictureChange();
  if (animate) {
    AnimationInfo& animation = animations[s.y][s.x];
    animation.stone = colour;
    animation.active = true;
    animation.kind = ANIM_REMOVE;
    animation.startTime = clock.nowMs();
    animation.shrinkSize = -1.0f;
    animation.pathIndex = -1;
  }
  return freeSquares.size() - 1;
}

void Board::doMove(Square& from, Square& to) {
  MYTL_ASSERT(stoneAt(from) != SQUARE_EMPTY && isInBoard(to) && stoneAt(to) == SQUARE_EMPTY, "Board");
  ++moveCount;
  const int colour = stones[from.y][from.x];
  animations[from.y][from.x].active = false;
  emptySquare(from, false);
  setStone(to, colour, true);
  selected = Square();
  selectedBallRemoved = false;  // the ball left by its own move
  report(BoardEvent::BALL_MOVED);
}

void Board::resetPendingStones() {
  pendingStones.resize(PENDING_SET_SIZE);
  pendingStoneTimes.resize(PENDING_SET_SIZE);
  for (int i = 0; i < PENDING_SET_SIZE; ++i) {
    pendingStones[i] = getRandomStoneColour();
    pendingStoneTimes[i].ms = -1;
  }
}

void Board::addPendingBall(int colour) {
  pendingStones.append(colour);
  ClockOffset announced;
  announced.ms = clock.gameTime();
  pendingStoneTimes.append(announced);
  notePictureChange();
}

bool Board::addPendingBalls() {
  for (int i = 0; i < pendingStones.size(); ++i) {
    if (freeSquares.empty()) return false;
    Square s = freeSquares[random.below(freeSquares.size())];
    setStone(s, pendingStones[i], true);
    checkForConnections(s, removedSet, -1);
  }
  resetPendingStones();
  return true;
}

bool Board::addBallAtRandomPos() {
  if (freeSquares.empty()) return false;
  const int colour = getRandomStoneColour();
  Square s = freeSquares[random.below(freeSquares.size())];
  setStone(s, colour, true);
  checkForConnections(s, removedSet, -1);
  return true;
}

void Board::fireDueEvents() {
  const int now = clock.nowMs();
  for (int i = 0; i < timedEvents.size(); ++i) {
    // Firing may append events, so the entry is read by index, never held by reference.
    if (timedEvents[i].time != -1 && timedEvents[i].time < now) {
      const TimedEvent event = timedEvents[i];
      switch (event.type) {
        case TimedEvent::LINE_REMOVED: report(BoardEvent::LINE_REMOVED); break;
        case TimedEvent::LEVEL_REACHED: report(BoardEvent::LEVEL_REACHED); break;
        case TimedEvent::GAME_OVER: report(BoardEvent::GAME_OVER); break;
        case TimedEvent::NEW_HIGH_SCORE: report(BoardEvent::NEW_HIGH_SCORE); break;
        case TimedEvent::SCORE_CREDIT: {
          score += event.value;
          int delay = FIRST_LEVEL_UP_DELAY_MS;
          while (level * POINTS_PER_LEVEL <= score) {
            ++level;
            timedEvents.append(TimedEvent(TimedEvent::LEVEL_REACHED, now + delay, -1));
            const int extraBalls = settings.getExtraBalls(level);
            for (int ball = 0; ball < extraBalls; ++ball) addBallAtRandomPos();
            delay += LEVEL_UP_SPACING_MS;
          }
          break;
        }
        default: break;
      }
      timedEvents[i].time = -1;
    }
    // The entry that moves into place i is looked at on the next call.
    if (timedEvents[i].time == -1) {
      for (int later = i + 1; later < timedEvents.size(); ++later) timedEvents[later - 1] = timedEvents[later];
      timedEvents.removeLast();
    }
  }
}
