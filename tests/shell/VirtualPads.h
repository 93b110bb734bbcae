// VirtualPads: SDL's event and controller support started for a test, a GamepadTranslator on
// it, and pads of SDL's virtual joystick driver plugged in and pulled out as a player would.
// Shared by the translator's tests and the tests that play the real controller with a pad; one
// per test, made in SetUp and destroyed in TearDown (it closes its pads and quits SDL).
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "GamepadTranslator.h"

// The USB ids SDL tells pad makes apart by; none for a pad of SDL's own virtual make.
struct VirtualPadMake {
  uint16_t vendor = 0, product = 0;
  const char* name = "Test pad";
};

class VirtualPads {
 public:
  using Make = VirtualPadMake;
  static constexpr Make XBOX_ONE{0x045e, 0x02ea, "Xbox One pad"};
  static constexpr Make DUALSHOCK_4{0x054c, 0x09cc, "DualShock 4"};
  static constexpr Make DUALSENSE{0x054c, 0x0ce6, "DualSense"};
  static constexpr Make SWITCH_PRO{0x057e, 0x2009, "Switch Pro Controller"};

  VirtualPads();
  ~VirtualPads();
  VirtualPads(const VirtualPads&) = delete;
  VirtualPads& operator=(const VirtualPads&) = delete;

  // Whether SDL and the translator started; else the test stops (checked by the fixtures).
  bool started() const { return translatorStarted; }
  GamepadTranslator& translator() { return *pads; }

  // A pad of the standard layout, plugged in; SDL maps it as a game controller of its own accord.
  // Its arrival reaches the translator with the next deliver().
  SDL_Joystick* plugIn(const Make& make = Make());
  // The pad pulled out; its departure reaches the translator with the next deliver().
  void pullOut(SDL_Joystick* pad);

  // SDL's pending events, all passed to the translator at `nowMs`; the commands they gave.
  std::vector<GamepadTranslator::Command> deliver(uint32_t nowMs);

 private:
  std::unique_ptr<GamepadTranslator> pads;
  std::vector<SDL_Joystick*> attached;
  bool translatorStarted = false;
};
