// GamepadTranslator: game controllers through SDL_GameController, turned into the few commands
// the game is played with (move the cursor or highlight, accept, back, menu). It opens every pad
// that is plugged in (any number, at launch or later) and closes one when it goes; the d-pad and
// the left stick (past a dead zone) move, and repeat like a held key. A pad pulled out while a
// direction is held leaves nothing held. Used by PellixApp, which passes the commands on as keys;
// mapping files come from SDL (its own database and SDL_GAMECONTROLLERCONFIG_FILE).
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "GamepadStyle.h"

union SDL_Event;
struct _SDL_GameController;

class GamepadTranslator {
 public:
  enum Command { MOVE_UP, MOVE_DOWN, MOVE_LEFT, MOVE_RIGHT, ACCEPT, BACK, MENU };
  // A held direction repeats after this long, then at this interval (as a held arrow key).
  static constexpr uint32_t REPEAT_DELAY_MS = 400;
  static constexpr uint32_t REPEAT_INTERVAL_MS = 90;
  // The share of the stick's travel that counts as a push, and below which a push ends.
  static constexpr int STICK_PUSH = 16000;
  static constexpr int STICK_RELEASE = 11000;

  GamepadTranslator() = default;
  // Closes the pads, and SDL's controller support when start() opened it.
  ~GamepadTranslator();
  GamepadTranslator(const GamepadTranslator&) = delete;
  GamepadTranslator& operator=(const GamepadTranslator&) = delete;

  // Starts SDL's controller support (after SDL_Init); false, and no pads, when it cannot start.
  bool start();
  // The commands an event gives at `nowMs` (none for events that are not a pad's); a pad's
  // arrival or departure opens or closes it.
  std::vector<Command> handle(const SDL_Event& event, uint32_t nowMs);
  // The repeats of a held direction due at `nowMs`.
  std::vector<Command> repeatsDue(uint32_t nowMs);
  // Milliseconds until the next repeat is due, -1 when no direction is held.
  int msUntilRepeat(uint32_t nowMs) const;
  // Lets go of every held direction: while the window is in the background SDL passes no pad
  // input on, so a release would be missed and the direction would walk on by itself.
  void releaseAll();
  // How many pads are open.
  int padCount() const { return static_cast<int>(pads.size()); }
  // The labels of the pad that gave the last command, else of the pad plugged in last; NONE
  // when no pad is open.
  GamepadStyle styleInUse() const;
  // The labels of a pad of SDL's type `sdlType` (an SDL_GameControllerType), whose face buttons
  // SDL reads by their labels or, with `byLabel` false, by their position.
  static GamepadStyle styleOf(int sdlType, bool byLabel);

 private:
  enum Source { NONE, DPAD, STICK };
  struct Held {
    Command direction = MOVE_UP;
    Source source = NONE;
    uint32_t nextRepeatMs = 0;
  };
  struct Pad {
    _SDL_GameController* controller = nullptr;
    GamepadStyle style = GamepadStyle::XBOX;
    Held held;
    int stickX = 0, stickY = 0;
  };

  void open(int deviceIndex);
  void close(int32_t instanceId);
  // Starts or ends a held direction of `pad`; the command a new press gives now.
  std::vector<Command> press(Pad& pad, Command direction, Source source, uint32_t nowMs);
  void release(Pad& pad, Source source, Command direction);
  std::vector<Command> stickMoved(Pad& pad, uint32_t nowMs);

  std::map<int32_t, Pad> pads;  // by joystick instance id
  // The pad that gave the last command or, until one does, was opened last; -1 for none.
  int32_t lastUsed = -1;
  bool started = false;
};
