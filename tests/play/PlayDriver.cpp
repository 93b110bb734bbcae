// The random player: one event per step, the frames the passing time brings, then the checks.
#include "PlayDriver.h"

#include <algorithm>
#include <sstream>

#include "GameInvariants.h"
#include "GameStateFile.h"

namespace {

const int FRAME_MS = 17;
const int RECENT_EVENTS = 60;
const int SCREEN_WIDTH = 320;
const int SCREEN_HEIGHT = 480;

// Spots where the screens have their controls: the game menu's five buttons, the mode band,
// the clock and two-tap switches and the volume slider of the settings screen, the start
// screen and the strip below the board.
struct Spot {
  int x, y;
};
const Spot CONTROL_SPOTS[] = {{160, 133}, {160, 186}, {160, 239}, {160, 292}, {160, 345}, {70, 200},
                              {130, 200}, {190, 200}, {250, 200}, {219, 253}, {219, 293}, {68, 370},
                              {160, 370}, {253, 370}, {160, 240}, {160, 460}};

// Text a player might type into the name field: ordinary names, the characters the server
// refuses, a long name, and bytes that are not UTF-8.
const char* const TYPED_TEXT[] = {"A", "Zoe", "é", "名前", ",", "\n", "a,b", " ", "\xff", "\xc3", "x\r\ny",
                                  "0123456789012345678901234567890123456789012345678901234567890123"};

int pendingCredit(const Board& board) {
  int points = 0;
  for (int i = 0; i < board.timedEvents.size(); ++i) {
    const Board::TimedEvent& event = board.timedEvents[i];
    if (event.type == Board::TimedEvent::SCORE_CREDIT && event.time != -1) points += event.value;
  }
  return points;
}

}  // namespace

PlayDriver::PlayDriver(PlaySession& playSession, PlayChoices& playChoices)
    : session(playSession), choices(playChoices) {}

int PlayDriver::squareX(int column, int jitter) {
  const float pitch = 312.0f / static_cast<float>(session.game().gameBoard().width);
  return 4 + static_cast<int>(pitch * (static_cast<float>(column) + 0.5f)) + choices.pick(2 * jitter + 1) - jitter;
}

int PlayDriver::squareY(int row, int jitter) {
  const float pitch = 312.0f / static_cast<float>(session.game().gameBoard().width);
  return 45 + static_cast<int>(pitch * (static_cast<float>(row) + 0.5f)) + choices.pick(2 * jitter + 1) - jitter;
}

Square PlayDriver::pickSquare(bool preferBall) {
  const Board& board = session.game().gameBoard();
  const int free = board.freeSquares.size();
  const int balls = board.width * board.height - free;
  if (preferBall && balls > 0 && choices.chance(75)) {
    int n = choices.pick(balls);
    for (int y = 0; y < board.height; ++y)
      for (int x = 0; x < board.width; ++x)
        if (board.stones[y][x] != SQUARE_EMPTY && n-- == 0) return Square(x, y);
  }
  return Square(choices.pick(board.width), choices.pick(board.height));
}

bool PlayDriver::step() {
  if (choices.exhausted()) return false;
  // The share of each kind of event, in percent. A held or selected ball is left waiting more
  // often: a ball dropped meanwhile may take it away.
  const int roll = session.game().gameBoard().selected.x != -1 && choices.chance(10) ? 85 : choices.pick(100);
  if (roll < 16) {
    press();
  } else if (roll < 30) {
    drag();
  } else if (roll < 45) {
    release();
  } else if (roll < 54) {
    tapAnywhere();
  } else if (roll < 64) {
    tapControl();
  } else if (roll < 68) {
    doubleTapStrip();
  } else if (roll < 85) {
    wait(choices.pick(600));
  } else if (roll < 89) {
    hold();
  } else if (roll < 92) {
    pressKey();
  } else if (roll < 95) {
    typeText();
  } else if (roll < 99) {
    flipSetting();
  } else {
    relaunch();
  }
  ++events;
  if (broken.empty()) check();
  return broken.empty();
}

void PlayDriver::press() {
  if (fingerDown) {
    release();
    return;
  }
  const Square s = pickSquare(true);
  fingerX = squareX(s.x, 12);
  fingerY = squareY(s.y, 12);
  fingerDown = true;
  note("down " + std::to_string(fingerX) + " " + std::to_string(fingerY));
  session.touchDown(fingerX, fingerY);
  pass(choices.pick(120));
}

void PlayDriver::drag() {
  if (!fingerDown) {
    press();
    return;
  }
  const Square s = pickSquare(false);
  fingerX = squareX(s.x, 15);
  fingerY = squareY(s.y, 15);
  note("drag " + std::to_string(fingerX) + " " + std::to_string(fingerY));
  session.touchDrag(fingerX, fingerY);
  pass(choices.pick(400));
}

void PlayDriver::release() {
  if (!fingerDown) {
    tapAnywhere();
    return;
  }
  fingerDown = false;
  note("up " + std::to_string(fingerX) + " " + std::to_string(fingerY));
  session.touchUp(fingerX, fingerY);
  pass(choices.pick(100));
}

void PlayDriver::tap(int x, int y) {
  note("tap " + std::to_string(x) + " " + std::to_string(y));
  session.touchDown(x, y);
  pass(choices.pick(150));
  session.touchUp(x, y);
  pass(choices.pick(200));
}

void PlayDriver::tapAnywhere() {
  if (fingerDown) release();
  // Now and then just off the screen's edge: the window's border maps there.
  tap(choices.pick(SCREEN_WIDTH + 20) - 10, choices.pick(SCREEN_HEIGHT + 20) - 10);
}

void PlayDriver::tapControl() {
  if (fingerDown) release();
  const GameController& game = session.game();
  // The bottom button of the current screen (Done, OK, Next) sits where the game put it.
  if (game.bottomButtonTop() != -1 && choices.chance(30)) {
    tap(100 + choices.pick(120), game.bottomButtonTop() + choices.pick(45));
    return;
  }
  const Spot& spot = CONTROL_SPOTS[choices.pick(sizeof CONTROL_SPOTS / sizeof CONTROL_SPOTS[0])];
  tap(spot.x + choices.pick(11) - 5, spot.y + choices.pick(11) - 5);
}

void PlayDriver::doubleTapStrip() {
  if (fingerDown) release();
  const int x = 10 + choices.pick(300);
  const int y = 445 + choices.pick(34);
  tap(x, y);
  tap(x, y);
}

void PlayDriver::wait(int ms) {
  note("wait " + std::to_string(ms));
  pass(ms);
}

void PlayDriver::hold() {
  // Long enough for the idle ball (20 s) or a penalty period, with the finger down or not.
  const int ms = choices.chance(70) ? 19000 + choices.pick(3000) : 30000 + choices.pick(60000);
  note("hold " + std::to_string(ms) + (fingerDown ? " (finger down)" : ""));
  pass(ms);
}

void PlayDriver::pressKey() {
  static const Ui::ViewKey KEYS[] = {Ui::ViewKey::RETURN, Ui::ViewKey::ESCAPE, Ui::ViewKey::BACKSPACE,
                                     Ui::ViewKey::DELETE, Ui::ViewKey::LEFT,   Ui::ViewKey::RIGHT,
                                     Ui::ViewKey::HOME,   Ui::ViewKey::END};
  const int index = choices.pick(sizeof KEYS / sizeof KEYS[0]);
  note("key " + std::to_string(index));
  session.key(KEYS[index]);
  pass(choices.pick(100));
}

void PlayDriver::typeText() {
  const int index = choices.pick(sizeof TYPED_TEXT / sizeof TYPED_TEXT[0]);
  note("text " + std::to_string(index));
  session.text(TYPED_TEXT[index]);
  pass(choices.pick(100));
}

void PlayDriver::flipSetting() {
  // The settings switches are only on the settings screen; elsewhere a tap on their spot is
  // just another tap.
  if (fingerDown) release();
  tap(219 + choices.pick(21) - 10, choices.chance(50) ? 253 : 293);
}

void PlayDriver::relaunch() {
  if (fingerDown) release();
  GameController& game = session.game();
  // A game in progress comes back as it was left; a finished one, or one about to be replaced
  // after the high scores, starts afresh.
  const bool resumable = game.state() != GameController::STATE_GAME_ENDING && game.state() != GameController::STATE_GAME_OVER &&
                         game.state() != GameController::STATE_NEW_HISCORE && !game.newGameAfterHiScores() &&
                         !game.gameBoard().freeSquares.empty();
  int stones[Board::MAX_SIZE][Board::MAX_SIZE];
  std::copy(&game.gameBoard().stones[0][0], &game.gameBoard().stones[0][0] + Board::MAX_SIZE * Board::MAX_SIZE, &stones[0][0]);
  const int score = game.gameBoard().score;
  const int credit = pendingCredit(game.gameBoard());
  note("relaunch");
  session.relaunch();
  const Board& board = session.game().gameBoard();
  if (!resumable) return;
  for (int y = 0; y < Board::MAX_SIZE; ++y) {
    for (int x = 0; x < Board::MAX_SIZE; ++x) {
      if (board.stones[y][x] != stones[y][x]) {
        // What the file on disk says tells a lost save from a refused load.
        Board saved(session.game().gameClock(), session.game().randomSource(), session.game().playerSettings());
        GameStateFile::ClockIntervals intervals;
        const bool loads = GameStateFile::load(session.statePath().c_str(), saved, intervals);
        report("after a relaunch square (" + std::to_string(x) + ", " + std::to_string(y) + ") holds " +
               std::to_string(board.stones[y][x]) + " instead of " + std::to_string(stones[y][x]) +
               (loads ? "; the saved file loads and holds " + std::to_string(saved.stones[y][x]) + " there"
                      : "; the saved file does not load"));
        return;
      }
    }
  }
  if (board.score != score + credit)
    report("after a relaunch the score is " + std::to_string(board.score) + " instead of " + std::to_string(score) +
           " + " + std::to_string(credit) + " still to be credited");
}

void PlayDriver::pass(int ms) {
  // Frames come every 17 ms in the window; a long pause is ticked once a second here, which the
  // game treats as the slow frames they are.
  while (ms > 0 && broken.empty()) {
    const int chunk = ms < 1000 ? ms : 1000;
    session.advance(chunk);
    ms -= chunk;
    sinceFrameMs += chunk;
    if (sinceFrameMs < FRAME_MS) continue;
    sinceFrameMs = 0;
    session.frame();
    check();
  }
}

void PlayDriver::note(const std::string& event) {
  // With the state the event met: game state, selection, two-tap stage, free squares, score.
  const GameController& game = session.game();
  std::ostringstream line;
  line << events << " " << event << "    [state " << game.state() << ", selected (" << game.gameBoard().selected.x << ", "
       << game.gameBoard().selected.y << ")" << (game.waitingForFirstTap() ? "" : ", second tap") << ", free "
       << game.gameBoard().freeSquares.size() << ", score " << game.gameBoard().score << "]";
  recent.push_back(line.str());
  if (recent.size() > RECENT_EVENTS) recent.pop_front();
}

void PlayDriver::check() {
  std::string fault = GameInvariants::checkGame(session.game());
  report(fault);
}

void PlayDriver::report(const std::string& fault) {
  broken = fault;
  if (broken.empty() || !playOn) return;
  // The kind of a fault is its text without the numbers in it.
  std::string kind;
  for (char c : broken)
    if (c < '0' || c > '9') kind += c;
  if (notedKinds.find(kind + '\n') == std::string::npos) {
    notedKinds += kind + '\n';
    noted += "at event " + std::to_string(events) + ": " + broken + "\nthe last events:\n" + recentEvents() + "\n";
  }
  broken.clear();
}

std::string PlayDriver::recentEvents() const {
  std::ostringstream text;
  for (const std::string& line : recent) text << line << '\n';
  return text.str();
}
