// The tones of the three looks.
#include "Palette.h"

namespace Palette {

namespace {

// The glossy set: hues kept far apart, and each ball also carries its own symbol.
constexpr Tones GLOSSY_TONES{
    {{0.16, 0.40, 0.92},
     {0.17, 0.70, 0.25},
     {1.00, 0.55, 0.08},
     {0.88, 0.14, 0.13},
     {0.66, 0.20, 0.82},
     {0.22, 0.80, 0.95},
     {1.00, 0.50, 0.76},
     {0.93, 0.94, 0.95},
     {0.55, 0.34, 0.16}},
    {0.16, 0.17, 0.20},
    {0.075, 0.095, 0.135},
    {0.035, 0.045, 0.070},
    {0.115, 0.145, 0.200},
    {0.300, 0.360, 0.460},
    {0.090, 0.115, 0.165},
    {0.32, 0.62, 1.00},
    {0.14, 0.32, 0.66},
    {0.93, 0.95, 0.98},
    {0.58, 0.64, 0.74},
    {1.00, 0.82, 0.30},
    {0.88, 0.14, 0.13},
    {1.0, 0.93, 0.55},
};

// Nine colours searched so that every pair of balls, as painted (soft shading included), stays
// far apart (in CIEDE2000) for normal vision and for simulated protanopia, deuteranopia and
// tritanopia alike: they differ in lightness as much as in hue, and none is dark enough to sink
// into the board. The interface keeps the glossy tones.
constexpr Tones COLOUR_BLIND_TONES{
    {{0.200, 0.275, 0.550},
     {0.275, 0.625, 0.575},
     {0.900, 0.450, 0.200},
     {0.600, 0.200, 0.000},
     {0.550, 0.400, 1.000},
     {0.925, 0.975, 0.100},
     {1.000, 0.700, 1.000},
     {0.125, 0.975, 0.775},
     {0.350, 0.325, 0.325}},
    GLOSSY_TONES.ballBlack,
    GLOSSY_TONES.screenTop,
    GLOSSY_TONES.screenBottom,
    GLOSSY_TONES.boardFill,
    GLOSSY_TONES.boardEdge,
    GLOSSY_TONES.panelFill,
    GLOSSY_TONES.accent,
    GLOSSY_TONES.accentDark,
    GLOSSY_TONES.textLight,
    GLOSSY_TONES.textDim,
    GLOSSY_TONES.gold,
    GLOSSY_TONES.warning,
    GLOSSY_TONES.focus,
};

// Flat balls, in nine colours searched like the colour-blind ones for flat discs, on a
// near-black board; white text and a pure yellow focus.
constexpr Tones HIGH_CONTRAST_TONES{
    {{0.175, 0.175, 0.825},
     {0.275, 0.625, 0.550},
     {0.800, 0.525, 0.000},
     {0.625, 0.025, 0.100},
     {0.600, 0.450, 1.000},
     {1.000, 1.000, 0.225},
     {0.975, 0.750, 1.000},
     {0.200, 1.000, 0.800},
     {0.375, 0.325, 0.375}},
    {0.30, 0.30, 0.30},
    {0.0, 0.0, 0.0},
    {0.0, 0.0, 0.0},
    {0.02, 0.02, 0.02},
    {1.0, 1.0, 1.0},
    {0.0, 0.0, 0.0},
    {1.0, 0.90, 0.0},
    {0.70, 0.60, 0.0},
    {1.0, 1.0, 1.0},
    {1.0, 1.0, 1.0},
    {1.0, 0.90, 0.0},
    {1.0, 0.25, 0.20},
    {1.0, 0.90, 0.0},
};

Look& current() {
  static Look chosen = Look::GLOSSY;
  return chosen;
}

}  // namespace

const Tones& tonesOf(Look look) {
  switch (look) {
    case Look::COLOUR_BLIND: return COLOUR_BLIND_TONES;
    case Look::HIGH_CONTRAST: return HIGH_CONTRAST_TONES;
    default: return GLOSSY_TONES;
  }
}

void use(Look look) { current() = look; }
Look look() { return current(); }
const Tones& tones() { return tonesOf(current()); }

}  // namespace Palette
