// sRGB, CIELAB, CIEDE2000, colour-vision simulation and contrast ratios.
#include "ColourVision.h"

#include <algorithm>
#include <cmath>

namespace ColourVision {

namespace {

using Matrix = std::array<std::array<double, 3>, 3>;

// Machado et al. 2009, severity 1.0, for linear RGB.
constexpr Matrix PROTANOPIA_MATRIX{{{0.152286, 1.052583, -0.204868},
                                    {0.114503, 0.786281, 0.099216},
                                    {-0.003882, -0.048116, 1.051998}}};
constexpr Matrix DEUTERANOPIA_MATRIX{{{0.367322, 0.860646, -0.227968},
                                      {0.280085, 0.672501, 0.047413},
                                      {-0.011820, 0.042940, 0.968881}}};
constexpr Matrix TRITANOPIA_MATRIX{{{1.255528, -0.076749, -0.178779},
                                    {-0.078411, 0.930809, 0.147602},
                                    {0.004733, 0.691367, 0.303900}}};

std::array<double, 3> apply(const Matrix& m, const std::array<double, 3>& v) {
  std::array<double, 3> out{};
  for (int row = 0; row < 3; ++row) out[row] = m[row][0] * v[0] + m[row][1] * v[1] + m[row][2] * v[2];
  return out;
}

double degrees(double radians) { return radians * 180.0 / M_PI; }
double radians(double degrees) { return degrees * M_PI / 180.0; }

}  // namespace

const char* nameOf(Vision vision) {
  switch (vision) {
    case PROTANOPIA: return "protanopia";
    case DEUTERANOPIA: return "deuteranopia";
    case TRITANOPIA: return "tritanopia";
    default: return "normal";
  }
}

double toLinear(double encoded) {
  return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

double toEncoded(double linear) {
  linear = std::clamp(linear, 0.0, 1.0);
  return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
}

Srgb simulate(const Srgb& colour, Vision vision) {
  if (vision == NORMAL) return colour;
  const Matrix& m = vision == PROTANOPIA ? PROTANOPIA_MATRIX : vision == DEUTERANOPIA ? DEUTERANOPIA_MATRIX
                                                                                      : TRITANOPIA_MATRIX;
  const std::array<double, 3> seen = apply(m, {toLinear(colour[0]), toLinear(colour[1]), toLinear(colour[2])});
  return {toEncoded(seen[0]), toEncoded(seen[1]), toEncoded(seen[2])};
}

Lab toLab(const Srgb& colour) {
  constexpr Matrix TO_XYZ{{{0.4124564, 0.3575761, 0.1804375},
                           {0.2126729, 0.7151522, 0.0721750},
                           {0.0193339, 0.1191920, 0.9503041}}};
  const std::array<double, 3> xyz = apply(TO_XYZ, {toLinear(colour[0]), toLinear(colour[1]), toLinear(colour[2])});
  const double white[3] = {0.95047, 1.0, 1.08883};
  auto f = [](double t) { return t > 216.0 / 24389.0 ? std::cbrt(t) : (24389.0 / 27.0 * t + 16.0) / 116.0; };
  const double fx = f(xyz[0] / white[0]);
  const double fy = f(xyz[1] / white[1]);
  const double fz = f(xyz[2] / white[2]);
  return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

double ciede2000(const Lab& first, const Lab& second) {
  const double c1 = std::hypot(first.a, first.b);
  const double c2 = std::hypot(second.a, second.b);
  const double meanC7 = std::pow((c1 + c2) / 2.0, 7.0);
  const double g = 0.5 * (1.0 - std::sqrt(meanC7 / (meanC7 + std::pow(25.0, 7.0))));
  const double a1 = (1.0 + g) * first.a;
  const double a2 = (1.0 + g) * second.a;
  const double cp1 = std::hypot(a1, first.b);
  const double cp2 = std::hypot(a2, second.b);
  auto hueOf = [](double b, double a) {
    if (a == 0.0 && b == 0.0) return 0.0;
    const double h = degrees(std::atan2(b, a));
    return h < 0.0 ? h + 360.0 : h;
  };
  const double hp1 = hueOf(first.b, a1);
  const double hp2 = hueOf(second.b, a2);

  const double deltaL = second.l - first.l;
  const double deltaC = cp2 - cp1;
  double deltaH = 0.0;
  if (cp1 * cp2 != 0.0) {
    deltaH = hp2 - hp1;
    if (deltaH > 180.0) deltaH -= 360.0;
    if (deltaH < -180.0) deltaH += 360.0;
  }
  const double deltaHBig = 2.0 * std::sqrt(cp1 * cp2) * std::sin(radians(deltaH / 2.0));

  const double meanL = (first.l + second.l) / 2.0;
  const double meanCp = (cp1 + cp2) / 2.0;
  double meanH = hp1 + hp2;
  if (cp1 * cp2 != 0.0) {
    if (std::fabs(hp1 - hp2) <= 180.0) {
      meanH = (hp1 + hp2) / 2.0;
    } else {
      meanH = hp1 + hp2 < 360.0 ? (hp1 + hp2 + 360.0) / 2.0 : (hp1 + hp2 - 360.0) / 2.0;
    }
  }
  const double t = 1.0 - 0.17 * std::cos(radians(meanH - 30.0)) + 0.24 * std::cos(radians(2.0 * meanH)) +
                   0.32 * std::cos(radians(3.0 * meanH + 6.0)) - 0.20 * std::cos(radians(4.0 * meanH - 63.0));
  const double deltaTheta = 30.0 * std::exp(-std::pow((meanH - 275.0) / 25.0, 2.0));
  const double meanCp7 = std::pow(meanCp, 7.0);
  const double rc = 2.0 * std::sqrt(meanCp7 / (meanCp7 + std::pow(25.0, 7.0)));
  const double lOffset = (meanL - 50.0) * (meanL - 50.0);
  const double sl = 1.0 + 0.015 * lOffset / std::sqrt(20.0 + lOffset);
  const double sc = 1.0 + 0.045 * meanCp;
  const double sh = 1.0 + 0.015 * meanCp * t;
  const double rt = -std::sin(radians(2.0 * deltaTheta)) * rc;
  const double l = deltaL / sl;
  const double c = deltaC / sc;
  const double h = deltaHBig / sh;
  return std::sqrt(l * l + c * c + h * h + rt * c * h);
}

double relativeLuminance(const Srgb& colour) {
  return 0.2126 * toLinear(colour[0]) + 0.7152 * toLinear(colour[1]) + 0.0722 * toLinear(colour[2]);
}

double contrastRatio(const Srgb& first, const Srgb& second) {
  const double a = relativeLuminance(first);
  const double b = relativeLuminance(second);
  return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

}  // namespace ColourVision
