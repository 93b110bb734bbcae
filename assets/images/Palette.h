// The colours of the game's art: the nine ball colours and the shared interface tones.
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

// Ball colours by stone colour 1 to 9: blue, green, orange, red, magenta, light blue, pink,
// white, brown. Hues are kept far apart, and each ball also carries its own symbol.
constexpr Rgb BALL_BLUE{0.16, 0.40, 0.92};
constexpr Rgb BALL_GREEN{0.17, 0.70, 0.25};
constexpr Rgb BALL_ORANGE{1.00, 0.55, 0.08};
constexpr Rgb BALL_RED{0.88, 0.14, 0.13};
constexpr Rgb BALL_MAGENTA{0.66, 0.20, 0.82};
constexpr Rgb BALL_LIGHT_BLUE{0.22, 0.80, 0.95};
constexpr Rgb BALL_PINK{1.00, 0.50, 0.76};
constexpr Rgb BALL_WHITE{0.93, 0.94, 0.95};
constexpr Rgb BALL_BROWN{0.55, 0.34, 0.16};
constexpr Rgb BALL_BLACK{0.16, 0.17, 0.20};

// Interface: the calm dark board and the accent of buttons and selectors.
constexpr Rgb SCREEN_TOP{0.075, 0.095, 0.135};
constexpr Rgb SCREEN_BOTTOM{0.035, 0.045, 0.070};
constexpr Rgb BOARD_FILL{0.115, 0.145, 0.200};
constexpr Rgb BOARD_EDGE{0.300, 0.360, 0.460};
constexpr Rgb PANEL_FILL{0.090, 0.115, 0.165};
constexpr Rgb ACCENT{0.32, 0.62, 1.00};
constexpr Rgb ACCENT_DARK{0.14, 0.32, 0.66};
constexpr Rgb TEXT_LIGHT{0.93, 0.95, 0.98};
constexpr Rgb TEXT_DIM{0.58, 0.64, 0.74};
constexpr Rgb GOLD{1.00, 0.82, 0.30};

}  // namespace Palette
