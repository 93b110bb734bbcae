// Virtual pads through SDL's own joystick layer.
#include "VirtualPads.h"

#include <gtest/gtest.h>

#include <algorithm>

VirtualPads::VirtualPads() {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_Init(SDL_INIT_EVENTS) != 0) {
    ADD_FAILURE() << "SDL did not start: " << SDL_GetError();
    return;
  }
  pads = std::make_unique<GamepadTranslator>();
  translatorStarted = pads->start();
  if (!translatorStarted) ADD_FAILURE() << "no game controller support: " << SDL_GetError();
}

VirtualPads::~VirtualPads() {
  for (SDL_Joystick* pad : attached) SDL_JoystickClose(pad);
  pads.reset();
  SDL_Quit();
}

SDL_Joystick* VirtualPads::plugIn(const Make& make) {
  SDL_VirtualJoystickDesc desc;
  SDL_zero(desc);
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  desc.vendor_id = make.vendor;
  desc.product_id = make.product;
  desc.name = make.name;
  const int index = SDL_JoystickAttachVirtualEx(&desc);
  EXPECT_GE(index, 0) << SDL_GetError();
  SDL_Joystick* pad = SDL_JoystickOpen(index);
  EXPECT_NE(nullptr, pad) << SDL_GetError();
  if (pad != nullptr) attached.push_back(pad);
  return pad;
}

void VirtualPads::pullOut(SDL_Joystick* pad) {
  const SDL_JoystickID id = SDL_JoystickInstanceID(pad);
  int index = -1;
  for (int i = 0; i < SDL_NumJoysticks(); ++i)
    if (SDL_JoystickGetDeviceInstanceID(i) == id) index = i;
  SDL_JoystickClose(pad);
  const auto found = std::find(attached.begin(), attached.end(), pad);
  if (found != attached.end()) attached.erase(found);
  EXPECT_EQ(0, SDL_JoystickDetachVirtual(index)) << SDL_GetError();
}

std::vector<GamepadTranslator::Command> VirtualPads::deliver(uint32_t nowMs) {
  SDL_JoystickUpdate();
  std::vector<GamepadTranslator::Command> commands;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    const std::vector<GamepadTranslator::Command> given = pads->handle(event, nowMs);
    commands.insert(commands.end(), given.begin(), given.end());
  }
  return commands;
}
