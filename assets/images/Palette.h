// The colours of the game's art: the nine ball colours and the shared interface tones of each
// look, and how the painters are told which look they paint.
#pragma once

struct Rgb {
  double r;
  double g;
  double b;
};

namespace Palette {

// Mixes a colour towards another: amount 0 keeps `from`, 1 gives `to`.
inline Rgb mix(Rgb from, Rgb to, double amount) {
  return {from.r + (to.r - from.r) * amount, from.g + (to.g - from.g) * amount,
          from.b + (to.b - from.b) * amount};
}
inline Rgb scale(Rgb c, double factor) { return {c.r * factor, c.g * factor, c.b * factor}; }

constexpr Rgb WHITE{1.0, 1.0, 1.0};
constexpr Rgb BLACK{0.0, 0.0, 0.0};

// The art sets the generator paints; the glossy one is the game's default.
enum class Look { GLOSSY, COLOUR_BLIND, HIGH_CONTRAST };

// Every colour and style choice that differs between the looks.
struct Tones {
  // Ball colours by stone colour 1 to 9 (blue, green, orange, red, magenta, light blue, pink,
  // white, brown in the glossy look), and the bomb's body.
  Rgb balls[9];
  Rgb ballBlack;
  // Interface: the board, its header panels and the accent of buttons and selectors.
  Rgb screenTop;
  Rgb screenBottom;
  Rgb boardFill;
  Rgb boardEdge;
  Rgb panelFill;
  Rgb accent;
  Rgb accentDark;
  Rgb textLight;
  Rgb textDim;
  Rgb gold;
  // The warning red of the timer and the game-over frame.
  Rgb warning;
  // The keyboard focus ring's bright line.
  Rgb focus;
};

// The tones of `look`.
const Tones& tonesOf(Look look);

// The look being painted: the generator chooses it once before painting (as it chooses the art
// scale), every painter reads it.
void use(Look look);
Look look();
const Tones& tones();

}  // namespace Palette
