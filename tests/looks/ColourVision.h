// Colour arithmetic for checking the ball palettes: sRGB to CIELAB, the CIEDE2000 difference,
// simulated colour-vision deficiencies (Machado, Oliveira and Fernandes 2009, severity 1.0,
// applied in linear RGB) and the WCAG contrast ratio. Pure functions, used by the look tests.
#pragma once

#include <array>

namespace ColourVision {

// A colour with sRGB components from 0 to 1 (gamma-encoded, as stored in the images).
using Srgb = std::array<double, 3>;
struct Lab {
  double l;
  double a;
  double b;
};

enum Vision { NORMAL, PROTANOPIA, DEUTERANOPIA, TRITANOPIA };
constexpr Vision ALL_VISIONS[] = {NORMAL, PROTANOPIA, DEUTERANOPIA, TRITANOPIA};
const char* nameOf(Vision vision);

double toLinear(double encoded);
double toEncoded(double linear);
// How a viewer with `vision` sees the colour, as an sRGB colour (clamped to the gamut).
Srgb simulate(const Srgb& colour, Vision vision);
// CIELAB under D65.
Lab toLab(const Srgb& colour);
// The CIEDE2000 colour difference (kL = kC = kH = 1).
double ciede2000(const Lab& first, const Lab& second);
// WCAG 2 relative luminance and contrast ratio (1 to 21).
double relativeLuminance(const Srgb& colour);
double contrastRatio(const Srgb& first, const Srgb& second);

}  // namespace ColourVision
