// GamepadStyle: how the face buttons of the pad the player used last are labelled, so that the
// instructions can name them as printed on the pad. The window shell works it out from the pad's
// make and hands it to the screens (GamepadPlay); NONE while no pad is plugged in, and then the
// screens show the keyboard alone. The game core never sees the pad itself.
#pragma once

enum class GamepadStyle {
  NONE,
  // A picks up and drops, B goes back, Start opens the menu: Xbox pads and pads of unknown make.
  XBOX,
  // Cross, Circle and Options (PlayStation 3, 4 and 5 pads).
  PLAYSTATION,
  // Nintendo Switch pads with buttons read by their labels (SDL's default): A, the right button,
  // picks up and B, the bottom one, goes back, as in Switch games; + opens the menu.
  NINTENDO,
  // Nintendo Switch pads read by position (SDL_GAMECONTROLLER_USE_BUTTON_LABELS=0): the bottom
  // button, labelled B, picks up and the right one, labelled A, goes back.
  NINTENDO_BY_POSITION,
};
