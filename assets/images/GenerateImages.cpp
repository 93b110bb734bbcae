// The game's image generator: paints every picture the game loads by name, at the size its
// name states and with an alpha channel, into the resource folder given as the first argument.
// An optional second argument, 2 to 4, paints the same set at that many pixels per unit as
// "name@2x.png" ...; an optional third names the look (glossy, the default, colour-blind or
// high-contrast): another look than glossy goes to looks/<name>/ and keeps only the pictures
// that differ from the glossy set's. The build runs one generator per scale and look.
// Deterministic (no randomness, no clock).
#include <cstdlib>
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "ArtCanvas.h"
#include "BallPainter.h"
#include "BoardPainter.h"
#include "FocusRingPainter.h"
#include "MenuPainter.h"
#include "Palette.h"
#include "ScenePainter.h"

namespace {

bool balls(const std::string& folder) {
  // Ball image names by stone colour 1 to 11.
  const char* names[11] = {"BallBlue",  "BallGreen", "BallOrange", "BallRed",         "BallMagneta", "BallLightBlue",
                           "BallPink",  "BallWhite", "BallBrown",  "BallMulticolor", "BallBlack"};
  bool ok = true;
  for (int colour = 1; colour <= 11; ++colour) {
    ArtCanvas canvas(64, 64);
    // The ball fills its square: a stone of size 1 covers one board square.
    BallPainter::paintBall(canvas.cr(), 32, 32, 31.5, colour);
    ok = canvas.save(folder, std::string(names[colour - 1]) + "_64x64.png") && ok;
  }
  ArtCanvas shine(64, 64);
  BallPainter::paintShine(shine.cr(), 32, 32, 31.5);
  ok = shine.save(folder, "Highlights_64x64.png") && ok;
  return ok;
}

bool symbols(const std::string& folder) {
  bool ok = true;
  for (int f = BallPainter::F1; f <= BallPainter::F9; ++f) {
    const auto symbol = static_cast<BallPainter::Symbol>(f);
    // F7 marks the white ball, so it is painted dark at both sizes.
    const bool dark = symbol == BallPainter::F7;
    const std::string stem = "SymbolF" + std::to_string(f);
    ArtCanvas small(32, 32);
    BallPainter::paintSymbol(small.cr(), 16, 16, 15.75, symbol, dark);
    ok = small.save(folder, stem + "_32x32.png") && ok;
    ArtCanvas large(64, 64);
    BallPainter::paintSymbol(large.cr(), 32, 32, 31.5, symbol, dark);
    ok = large.save(folder, stem + (dark ? "onWhite" : "") + "_64x64.png") && ok;
  }
  ArtCanvas star(64, 64);
  BallPainter::paintSymbol(star.cr(), 32, 32, 31.5, BallPainter::STAR, false);
  ok = star.save(folder, "SymbolStar_64x64.png") && ok;
  return ok;
}

bool menus(const std::string& folder) {
  // The titles, buttons and bars carry no words: the game paints them in the player's language.
  bool ok = MenuPainter::menuOption(folder);
  ok = MenuPainter::tapBar(folder) && ok;
  ok = MenuPainter::overlay(folder) && ok;
  ok = MenuPainter::divider(folder) && ok;
  ok = MenuPainter::panel(folder) && ok;
  ok = MenuPainter::selector(folder) && ok;
  ok = MenuPainter::sliderBar(folder) && ok;
  ok = MenuPainter::gameOver(folder) && ok;
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  const int scale = argc >= 3 ? std::atoi(argv[2]) : 1;
  const std::string lookName = argc == 4 ? argv[3] : "glossy";
  Palette::Look look = Palette::Look::GLOSSY;
  const bool knownLook = lookName == "glossy" || lookName == "colour-blind" || lookName == "high-contrast";
  if (lookName == "colour-blind") look = Palette::Look::COLOUR_BLIND;
  if (lookName == "high-contrast") look = Palette::Look::HIGH_CONTRAST;
  if (argc < 2 || argc > 4 || scale < 1 || scale > 4 || !knownLook) {
    std::fprintf(stderr, "usage: %s <resource folder> [scale 1-4] [glossy|colour-blind|high-contrast]\n", argv[0]);
    return 2;
  }
  ArtCanvas::setScale(scale);
  Palette::use(look);
  std::string folder = argv[1];
  mkdir(folder.c_str(), 0755);
  if (look != Palette::Look::GLOSSY) {
    // Another look keeps only the pictures that differ from the glossy ones, in a folder of its
    // own; the glossy set must be painted first.
    ArtCanvas::setBaselineFolder(folder);
    folder += "/looks";
    mkdir(folder.c_str(), 0755);
    folder += "/" + lookName;
    mkdir(folder.c_str(), 0755);
  }
  bool ok = balls(folder);
  ok = symbols(folder) && ok;
  ok = BoardPainter::emptyBoard(folder) && ok;
  ok = BoardPainter::squares(folder) && ok;
  ok = BoardPainter::timerStrip(folder) && ok;
  ok = menus(folder) && ok;
  ok = ScenePainter::splash(folder) && ok;
  ok = ScenePainter::instructionAnimation(folder) && ok;
  ok = ScenePainter::dragIllustration(folder) && ok;
  ok = FocusRingPainter::focusRing(folder) && ok;
  return ok ? 0 : 1;
}
