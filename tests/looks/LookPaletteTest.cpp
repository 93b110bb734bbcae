// Holds the looks to their promise, from the generated images themselves: the nine ball colours
// stay far apart (CIEDE2000) for normal vision and under simulated protanopia, deuteranopia and
// tritanopia, and the high-contrast look's text and focus ring reach a 7:1 contrast ratio
// against what they are drawn on. The glossy set's figures are printed for the record only.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <cmath>
#include <cstdio>
#include <string>

#include "ColourVision.h"
#include "LookImage.h"

using ColourVision::Srgb;

namespace {

const std::string RESOURCES = PELLIX_TEST_RESOURCE_DIR;

const char* const BALL_IMAGES[9] = {"BallBlue_64x64",      "BallGreen_64x64", "BallOrange_64x64",
                                    "BallRed_64x64",       "BallMagneta_64x64", "BallLightBlue_64x64",
                                    "BallPink_64x64",      "BallWhite_64x64",  "BallBrown_64x64"};

struct LookCase {
  const char* folder;  // "" for the glossy set
  const char* name;
  // Smallest CIEDE2000 difference allowed between two ball colours under any vision; 0 only
  // reports.
  double minimumDifference;
};

// Two colours 20 apart in CIEDE2000 are told apart at a glance, not only side by side: that is
// about ten times the smallest difference people notice and about the distance between
// neighbouring colour names (a red and an orange). Nine colours cannot keep much more under
// dichromacy, where they share two dimensions instead of three, while staying bright enough for
// the dark board; the glossy set falls to 3 there. Every ball also carries its own symbol.
constexpr double ACCESSIBLE_MINIMUM = 20.0;
const LookCase LOOKS[] = {{"", "glossy", 0.0},
                          {"colour-blind", "colour-blind", ACCESSIBLE_MINIMUM},
                          {"high-contrast", "high-contrast", ACCESSIBLE_MINIMUM}};

// The colour a player reads off a ball: the mean (in linear light) of the opaque pixels of its
// middle, inside 45% of its radius, where the shading is closest to the body colour.
Srgb ballColour(const LookImage& image) {
  const double centre = image.width() / 2.0;
  const double radius = 0.45 * (image.width() / 2.0);
  double sum[3] = {0, 0, 0};
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (std::hypot(x + 0.5 - centre, y + 0.5 - centre) > radius || image.alphaAt(x, y) < 1.0) continue;
      const Srgb c = image.colourAt(x, y);
      for (int k = 0; k < 3; ++k) sum[k] += ColourVision::toLinear(c[k]);
      ++count;
    }
  }
  if (count == 0) return {0, 0, 0};
  return {ColourVision::toEncoded(sum[0] / count), ColourVision::toEncoded(sum[1] / count),
          ColourVision::toEncoded(sum[2] / count)};
}

TEST(LookPalette, BallColoursStayApartForEveryVision) {
  for (const LookCase& look : LOOKS) {
    for (int scale = 1; scale <= 4; ++scale) {
      Srgb colours[9];
      for (int i = 0; i < 9; ++i) {
        const LookImage image(RESOURCES, look.folder, BALL_IMAGES[i], scale);
        ASSERT_TRUE(image.ok()) << image.path();
        ASSERT_EQ(image.width(), 64 * scale) << image.path();
        colours[i] = ballColour(image);
      }
      for (ColourVision::Vision vision : ColourVision::ALL_VISIONS) {
        double smallest = 1e9;
        int first = 0;
        int second = 0;
        for (int i = 0; i < 9; ++i) {
          for (int j = i + 1; j < 9; ++j) {
            const double difference =
                ColourVision::ciede2000(ColourVision::toLab(ColourVision::simulate(colours[i], vision)),
                                        ColourVision::toLab(ColourVision::simulate(colours[j], vision)));
            if (difference < smallest) {
              smallest = difference;
              first = i;
              second = j;
            }
          }
        }
        if (scale == 1) {
          std::printf("%-13s %-12s smallest pair difference %5.1f (%s, %s)\n", look.name,
                      ColourVision::nameOf(vision), smallest, BALL_IMAGES[first], BALL_IMAGES[second]);
        }
        EXPECT_GE(smallest, look.minimumDifference)
            << look.name << " at " << scale << "x, " << ColourVision::nameOf(vision) << ": " << BALL_IMAGES[first]
            << " and " << BALL_IMAGES[second];
      }
    }
  }
}

// The colour of the pixel in the box [x0, x1) x [y0, y1) (in units of the picture's 1x size)
// that stands out most from `background`, laid over it: the core of text or of a line.
Srgb strongestPixel(const LookImage& image, int scale, int x0, int y0, int x1, int y1, const Srgb& background) {
  Srgb strongest = background;
  double best = 1.0;
  for (int y = y0 * scale; y < y1 * scale; ++y) {
    for (int x = x0 * scale; x < x1 * scale; ++x) {
      const Srgb c = image.over(x, y, background);
      const double ratio = ColourVision::contrastRatio(c, background);
      if (ratio > best) {
        best = ratio;
        strongest = c;
      }
    }
  }
  return strongest;
}

TEST(LookContrast, HighContrastTextAndFocusRingReachSevenToOne) {
  const char* look = "high-contrast";
  constexpr double AAA = 7.0;
  for (int scale = 1; scale <= 4; ++scale) {
    LookImage board(RESOURCES, look, "EmptyBoard", scale);
    board.paintLabel(LabelArt::Kind::SCORE_CAPTION, "SCORE");
    const LookImage square(RESOURCES, look, "BoardBlack_38x38", scale);
    const LookImage panel(RESOURCES, look, "PopBackground_270x270", scale);
    // The buttons and bars with their words, painted as the game paints them.
    LookImage bar(RESOURCES, look, "Button-Bar_01_320x44", scale);
    LookImage pressedBar(RESOURCES, look, "Button-Bar_02_320x44", scale);
    LookImage option(RESOURCES, look, "MenuOption_01_200x52", scale);
    LookImage pressedOption(RESOURCES, look, "MenuOption_02_200x52", scale);
    bar.paintLabel(LabelArt::Kind::BAR, "Click to start a game");
    pressedBar.paintLabel(LabelArt::Kind::BAR_PRESSED, "Click to start a game");
    option.paintLabel(LabelArt::Kind::MENU_OPTION, "New Game");
    pressedOption.paintLabel(LabelArt::Kind::MENU_OPTION_PRESSED, "New Game");
    const LookImage ring(RESOURCES, look, "FocusRing_39x39", scale);
    const LookImage line(RESOURCES, look, "FocusLine_4x4", scale);
    for (const LookImage* image : std::initializer_list<const LookImage*>{&board, &square, &panel, &bar, &pressedBar, &option, &pressedOption, &ring, &line}) {
      ASSERT_TRUE(image->ok()) << image->path();
    }
    // The board's field, the squares laid opaque over it, and a menu panel over the board.
    const Srgb field = board.colourAt(160 * scale, 240 * scale);
    const Srgb tile = square.over(19 * scale, 19 * scale, field);
    const Srgb panelFill = panel.over(135 * scale, 135 * scale, field);
    // A button's own fill beside its words, over what lies behind it.
    const Srgb barFill = bar.over(40 * scale, 24 * scale, field);
    const Srgb pressedBarFill = pressedBar.over(40 * scale, 24 * scale, field);
    const Srgb optionFill = option.over(25 * scale, 26 * scale, panelFill);
    const Srgb pressedOptionFill = pressedOption.over(25 * scale, 26 * scale, panelFill);
    const Srgb headerPanel = board.colourAt(60 * scale, 12 * scale);

    struct Pair {
      const char* what;
      Srgb foreground;
      Srgb background;
    };
    const Pair pairs[] = {
        {"header label on its panel", strongestPixel(board, scale, 8, 16, 48, 27, headerPanel), headerPanel},
        {"bar words", strongestPixel(bar, scale, 60, 16, 260, 32, barFill), barFill},
        {"pressed bar words", strongestPixel(pressedBar, scale, 60, 16, 260, 32, pressedBarFill), pressedBarFill},
        {"menu words", strongestPixel(option, scale, 40, 16, 160, 36, optionFill), optionFill},
        {"pressed menu words", strongestPixel(pressedOption, scale, 40, 16, 160, 36, pressedOptionFill),
         pressedOptionFill},
        {"focus ring on a square", strongestPixel(ring, scale, 0, 15, 8, 24, tile), tile},
        {"focus ring on the board", strongestPixel(ring, scale, 0, 15, 8, 24, field), field},
        {"focus line on a menu panel", line.over(2 * scale, 2 * scale, panelFill), panelFill},
    };
    for (const Pair& pair : pairs) {
      const double ratio = ColourVision::contrastRatio(pair.foreground, pair.background);
      if (scale == 1) std::printf("high-contrast %-28s contrast %5.2f:1\n", pair.what, ratio);
      EXPECT_GE(ratio, AAA) << pair.what << " at " << scale << "x";
    }
  }
}

}  // namespace
