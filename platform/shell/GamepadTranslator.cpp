// Pads opened and closed as they come and go; buttons, d-pad and stick turned into commands.
#include "GamepadTranslator.h"

#include <SDL.h>

#include <cstdlib>

GamepadTranslator::~GamepadTranslator() {
  for (auto& entry : pads) SDL_GameControllerClose(entry.second.controller);
  if (started) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool GamepadTranslator::start() {
  // Pads already plugged in arrive as SDL_CONTROLLERDEVICEADDED events like later ones.
  started = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  return started;
}

void GamepadTranslator::open(int deviceIndex) {
  if (!SDL_IsGameController(deviceIndex)) return;
  SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
  if (controller == nullptr) return;
  const int32_t id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
  if (pads.count(id) != 0) {
    // Already open (SDL announces pads present at start-up as arrivals too): one handle is enough.
    SDL_GameControllerClose(controller);
    return;
  }
  Pad pad;
  pad.controller = controller;
  pad.style = styleOf(SDL_GameControllerGetType(controller),
                      SDL_GetHintBoolean(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, SDL_TRUE) == SDL_TRUE);
  pads[id] = pad;
  lastUsed = id;
}

void GamepadTranslator::close(int32_t instanceId) {
  const auto found = pads.find(instanceId);
  if (found == pads.end()) return;
  SDL_GameControllerClose(found->second.controller);
  pads.erase(found);
  // The pad plugged in last among those left speaks for them (instance ids grow with each pad).
  lastUsed = pads.empty() ? -1 : pads.rbegin()->first;
}

GamepadStyle GamepadTranslator::styleInUse() const {
  const auto found = pads.find(lastUsed);
  return found == pads.end() ? GamepadStyle::NONE : found->second.style;
}

GamepadStyle GamepadTranslator::styleOf(int sdlType, bool byLabel) {
  switch (static_cast<SDL_GameControllerType>(sdlType)) {
    case SDL_CONTROLLER_TYPE_PS3:
    case SDL_CONTROLLER_TYPE_PS4:
    case SDL_CONTROLLER_TYPE_PS5:
      return GamepadStyle::PLAYSTATION;
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_PRO:
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_PAIR:
      return byLabel ? GamepadStyle::NINTENDO : GamepadStyle::NINTENDO_BY_POSITION;
    default:
      // Xbox pads, and the many pads that copy their layout and labels.
      return GamepadStyle::XBOX;
  }
}

std::vector<GamepadTranslator::Command> GamepadTranslator::press(Pad& pad, Command direction, Source source,
                                                                 uint32_t nowMs) {
  pad.held.direction = direction;
  pad.held.source = source;
  pad.held.nextRepeatMs = nowMs + REPEAT_DELAY_MS;
  return {direction};
}

void GamepadTranslator::release(Pad& pad, Source source, Command direction) {
  if (pad.held.source == source && pad.held.direction == direction) pad.held.source = NONE;
}

std::vector<GamepadTranslator::Command> GamepadTranslator::stickMoved(Pad& pad, uint32_t nowMs) {
  const int x = pad.stickX, y = pad.stickY;
  const bool horizontal = std::abs(x) >= std::abs(y);
  const int along = horizontal ? x : y;
  const bool holding = pad.held.source == STICK;
  // A push starts past STICK_PUSH and lasts until the stick falls back under STICK_RELEASE.
  if (std::abs(along) < (holding ? STICK_RELEASE : STICK_PUSH)) {
    if (holding && std::abs(x) < STICK_RELEASE && std::abs(y) < STICK_RELEASE) pad.held.source = NONE;
    return {};
  }
  const Command direction =
      horizontal ? (along < 0 ? MOVE_LEFT : MOVE_RIGHT) : (along < 0 ? MOVE_UP : MOVE_DOWN);
  if (holding && pad.held.direction == direction) return {};
  return press(pad, direction, STICK, nowMs);
}

std::vector<GamepadTranslator::Command> GamepadTranslator::handle(const SDL_Event& event, uint32_t nowMs) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
      open(event.cdevice.which);
      return {};
    case SDL_CONTROLLERDEVICEREMOVED:
      close(event.cdevice.which);
      return {};
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      const auto found = pads.find(event.cbutton.which);
      if (found == pads.end()) return {};
      Pad& pad = found->second;
      const bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
      if (down) lastUsed = found->first;
      Command direction;
      switch (event.cbutton.button) {
        case SDL_CONTROLLER_BUTTON_DPAD_UP: direction = MOVE_UP; break;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: direction = MOVE_DOWN; break;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT: direction = MOVE_LEFT; break;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: direction = MOVE_RIGHT; break;
        case SDL_CONTROLLER_BUTTON_A: return down ? std::vector<Command>{ACCEPT} : std::vector<Command>{};
        case SDL_CONTROLLER_BUTTON_B: return down ? std::vector<Command>{BACK} : std::vector<Command>{};
        case SDL_CONTROLLER_BUTTON_START:
        case SDL_CONTROLLER_BUTTON_BACK: return down ? std::vector<Command>{MENU} : std::vector<Command>{};
        default: return {};
      }
      if (down) return press(pad, direction, DPAD, nowMs);
      release(pad, DPAD, direction);
      return {};
    }
    case SDL_CONTROLLERAXISMOTION: {
      const auto found = pads.find(event.caxis.which);
      if (found == pads.end()) return {};
      Pad& pad = found->second;
      if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
        pad.stickX = event.caxis.value;
      } else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
        pad.stickY = event.caxis.value;
      } else {
        return {};
      }
      std::vector<Command> commands = stickMoved(pad, nowMs);
      if (!commands.empty()) lastUsed = found->first;
      return commands;
    }
    default:
      return {};
  }
}

std::vector<GamepadTranslator::Command> GamepadTranslator::repeatsDue(uint32_t nowMs) {
  std::vector<Command> due;
  for (auto& entry : pads) {
    Held& held = entry.second.held;
    // Signed difference: the millisecond clock may wrap.
    if (held.source == NONE || static_cast<int32_t>(nowMs - held.nextRepeatMs) < 0) continue;
    due.push_back(held.direction);
    held.nextRepeatMs = nowMs + REPEAT_INTERVAL_MS;
  }
  return due;
}

int GamepadTranslator::msUntilRepeat(uint32_t nowMs) const {
  int soonest = -1;
  for (const auto& entry : pads) {
    const Held& held = entry.second.held;
    if (held.source == NONE) continue;
    const int32_t left = static_cast<int32_t>(held.nextRepeatMs - nowMs);
    const int wait = left < 0 ? 0 : left;
    if (soonest < 0 || wait < soonest) soonest = wait;
  }
  return soonest;
}

void GamepadTranslator::releaseAll() {
  for (auto& entry : pads) {
    entry.second.held.source = NONE;
    // A stick still pushed when the window comes back starts a new push when it next moves.
    entry.second.stickX = 0;
    entry.second.stickY = 0;
  }
}
