// Renderer: start-up texture generation and the board, stone, number and timer drawing.
#include "BallGraphics.h"

#include <cmath>
#include <iterator>
#include <vector>

#include "Assert.h"
#include "BlendMode.h"
#include "DisplayScale.h"
#include "MenuWords.h"
#include "PowerOfTwo.h"
#include "Resources.h"
#include "ScreenGeometry.h"
#include "Stone.h"

namespace {

// Ball, 64-pixel symbol and 32-pixel symbol images by stone colour (slot 0 unused). Colours 7
// and 8 use symbols F8 and F7, colour 9 shares F1 with colour 1, and the bomb has no small one.
const char* const BALL_IMAGES[12] = {nullptr,
                                     "BallBlue_64x64.png",
                                     "BallGreen_64x64.png",
                                     "BallOrange_64x64.png",
                                     "BallRed_64x64.png",
                                     "BallMagneta_64x64.png",
                                     "BallLightBlue_64x64.png",
                                     "BallPink_64x64.png",
                                     "BallWhite_64x64.png",
                                     "BallBrown_64x64.png",
                                     "BallMulticolor_64x64.png",
                                     "BallBlack_64x64.png"};
const char* const SYMBOL_IMAGES[12] = {nullptr,
                                       "SymbolF1_64x64.png",
                                       "SymbolF2_64x64.png",
                                       "SymbolF3_64x64.png",
                                       "SymbolF4_64x64.png",
                                       "SymbolF5_64x64.png",
                                       "SymbolF6_64x64.png",
                                       "SymbolF8_64x64.png",
                                       "SymbolF7onWhite_64x64.png",
                                       "SymbolF1_64x64.png",
                                       "SymbolF9_64x64.png",
                                       "SymbolStar_64x64.png"};
const char* const SMALL_SYMBOL_IMAGES[11] = {nullptr,
                                             "SymbolF1_32x32.png",
                                             "SymbolF2_32x32.png",
                                             "SymbolF3_32x32.png",
                                             "SymbolF4_32x32.png",
                                             "SymbolF5_32x32.png",
                                             "SymbolF6_32x32.png",
                                             "SymbolF8_32x32.png",
                                             "SymbolF7_32x32.png",
                                             "SymbolF1_32x32.png",
                                             "SymbolF9_32x32.png"};

// The start screen's images, made before the rest.
const char* const SPLASH_IMAGE = "Default.png";
// The wide bars' picture, at rest and pressed; their words are painted over it.
const char* const TAP_TO_START_IMAGE = "Button-Bar_01_320x44.png";
const char* const BAR_PRESSED_IMAGE = "Button-Bar_02_320x44.png";
const char* const COMPACT_BAR_IMAGE = "Button-BarCompact_01_320x31.png";
const char* const COMPACT_BAR_PRESSED_IMAGE = "Button-BarCompact_02_320x31.png";

// The other images generateBalls loads, in the order it loads them (the start screen's when
// they are not made yet).
const char* const OTHER_IMAGES[] = {"Highlights_64x64.png",
                                    "BoardWhite_38x38.png",
                                    "BoardBlack_38x38.png",
                                    SPLASH_IMAGE,
                                    TAP_TO_START_IMAGE,
                                    BAR_PRESSED_IMAGE,
                                    COMPACT_BAR_IMAGE,
                                    COMPACT_BAR_PRESSED_IMAGE,
                                    "SunOverlay_320x480.png",
                                    "MenuDivider_200x1.png",
                                    "TimerStrip_224x24.png"};

const int STONE_KINDS = 11;
const float STONE_CELL_SCALE = 1.1875f;  // 38 / 32: a 32-unit cell onto a 38-pixel square

// A glow bitmap at the art scale: radius and rectangle in screen units, the pixels `scale` finer.
Bitmap* scaledGlow(int scale, bool soft, bool white, int radius, bool cubic, float gain, int cap) {
  Bitmap* glow = BallGraphics::generateGlow(soft, white, radius * scale, 0, 0, 0, false, cubic, gain, cap, scale);
  glow->scale = scale;
  return glow;
}

Texture* textureFromBitmap(Bitmap* bitmap) {
  Texture* texture = new Texture();
  texture->init(bitmap);
  return texture;
}

bool squareInRange(int x, int y) { return x >= 0 && y >= 0 && x < 16 && y < 16; }

}  // namespace

BallGraphics::BallGraphics(Art art, Look look) : currentLook(look) {
  Resources::setLookFolder(Looks::folderOf(look));
  if (art == ALL_ART) generateBalls();
}

Texture* BallGraphics::makeBar(const char* artName, bool pressed) {
  return new Texture(pressed ? BAR_PRESSED_IMAGE : TAP_TO_START_IMAGE, 0, 0,
                     {{pressed ? LabelPainter::BAR_PRESSED : LabelPainter::BAR, MenuWords::label(artName)}});
}

void BallGraphics::setStartBarContinues(bool continues) {
  if (continues == startBarContinues) return;
  startBarContinues = continues;
  // Made again with the other words at the next generateStartScreenArt.
  if (tapToStartAGameTexture) tapToStartAGameTexture.reset();
  if (tapToStartAGamePressedTexture) tapToStartAGamePressedTexture.reset(makeBar(startBarArtName(), true));
}

void BallGraphics::generateStartScreenArt() {
  startScreenFinished = false;
  if (!splashTexture)
    splashTexture.reset(new Texture(SPLASH_IMAGE, 0, 0, {{LabelPainter::TAGLINE, MenuWords::label("Tagline")}}));
  if (!tapToStartAGameTexture) tapToStartAGameTexture.reset(makeBar(startBarArtName(), false));
}

void BallGraphics::prefetchStartScreenArt(Look look, int artScale) {
  Resources::setLookFolder(Looks::folderOf(look));
  const char* const names[] = {SPLASH_IMAGE, TAP_TO_START_IMAGE};
  Bitmap::prefetch(names, 2, artScale);
}

void BallGraphics::dropStartScreenArt() {
  splashTexture.reset();
  tapToStartAGameTexture.reset();
}

void BallGraphics::finishStartScreen() {
  if (startScreenFinished) return;
  startScreenFinished = true;
  dropStartScreenArt();
}

BallGraphics::~BallGraphics() = default;

Texture* BallGraphics::slot(const MyTl::FixedArray<TexturePtr>& array, int index) {
  if (index < 0 || index >= array.size()) return nullptr;
  return array[index].get();
}


// ---------------------------------------------------------------------------------------------
// Start-up generation

Bitmap* BallGraphics::generateGlow(bool soft, bool white, int radius, int extraWidth, int extraHeight, int inset,
                                   bool hollow, bool cubic, float gain, int cap, int scale) {
  MYTL_ASSERT(radius > 0, "BallGraphics");
  MYTL_ASSERT(scale > 0, "BallGraphics");
  const int w = 2 * radius + extraWidth - inset;
  const int h = 2 * radius + extraHeight - inset;
  Bitmap* bitmap = new Bitmap(nextPowerOfTwo(w), nextPowerOfTwo(h));
  const int radiusSquared = radius * radius;
  const int m = radius - inset;
  const float base = soft ? 35.0f : 55.0f;
  // The flat core ends where r^2 - d^2 falls to 59^2 screen units squared.
  const int core = 3481 * scale * scale;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      int dx = 0;
      if (x < radius) dx = radius - x;
      if (x > w - radius && x - (w - radius) > dx) dx = x - (w - radius);
      int dy = y < radius ? radius - y : 0;
      if (y > h - radius) dy = y - (h - radius);
      if (hollow && x >= m && x < w - m && y >= m && y < h - m) continue;
      const int d2 = dx * dx + dy * dy;
      if (d2 >= radiusSquared) continue;
      float v;
      if (cubic) {
        const float t = 1.0f - static_cast<float>(d2) / static_cast<float>(radiusSquared);
        v = static_cast<float>(static_cast<int>(t * t * t * gain));
        if (v < 0.0f) v = 0.0f;
        if (v > static_cast<float>(cap)) v = static_cast<float>(cap);
      } else {
        const int e = radiusSquared - d2;
        v = e > core - 1 ? base : base - base * static_cast<float>(core - e) / static_cast<float>(core);
      }
      if (white) {
        bitmap->putPixel(x, y, 255, 255, 255, static_cast<int>(v));
      } else if (soft) {
        bitmap->putPixel(x, y, 0, 0, 255, static_cast<int>(v));
      } else {
        const int alpha = static_cast<int>(v * 1.5f);
        bitmap->putPixel(x, y, 0, 0, 255, alpha < 255 ? alpha : 255);
      }
    }
  }
  return bitmap;
}

Texture* BallGraphics::extendMiddle(const char* resourceName, int extraHeight, int extraWidth,
                                    const std::vector<Texture::Label>& labels) {
  MYTL_ASSERT(extraHeight >= 0 && extraWidth >= 0, "BallGraphics");
  if (extraHeight == 0 && extraWidth == 0) return new Texture(resourceName, 0, 0, labels);
  int iw = 0;
  int ih = 0;
  Bitmap source(resourceName, &iw, &ih, 1.0f);
  const int w = iw + extraWidth;
  const int h = ih + extraHeight;
  // In the source's pixels: the same cut and repeat, each screen unit `scale` pixels.
  const int scale = source.scale;
  Bitmap* extended = new Bitmap(nextPowerOfTwo(w) * scale, nextPowerOfTwo(h) * scale);
  extended->scale = scale;
  const int halfHeight = ih * scale / 2;
  const int halfWidth = iw * scale / 2;
  for (int y = 0; y < h * scale; ++y) {
    const int sy = y < halfHeight ? y : y - extraHeight * scale;
    for (int x = 0; x < w * scale; ++x) {
      const int sx = x < halfWidth ? x : x - extraWidth * scale;
      extended->putPixel(x, y, source.getPixel(sx, sy));
    }
  }
  // The labels keep to the picture's top rows, which the stretch leaves in place.
  for (const Texture::Label& label : labels)
    LabelPainter::paint(extended->pixels.get(), extended->w, extended->h, scale, label.first, label.second);
  Texture* texture = new Texture();
  texture->init(extended, w, h);
  return texture;
}

void BallGraphics::generateBalls() {
  if (complete) return;
  // Everything is made at the display's art scale: images from that set, generated pictures with
  // their sizes and radii scaled, text rasterised finer; the textures keep their logical sizes.
  const int scale = DisplayScale::artScale();
  generatedScale = scale;
  // Every image loaded below, decoded ahead on a second core while the glows and digits are made.
  {
    std::vector<const char*> names(BALL_IMAGES + 1, BALL_IMAGES + 12);
    names.insert(names.end(), SYMBOL_IMAGES + 1, SYMBOL_IMAGES + 12);
    names.insert(names.end(), SMALL_SYMBOL_IMAGES + 1, SMALL_SYMBOL_IMAGES + 11);
    for (const char* name : OTHER_IMAGES) {
      // A start screen already shown keeps its images, and the start picture of one that is
      // over is not needed: decoding them would only cost.
      const bool made = (name == SPLASH_IMAGE && (splashTexture || startScreenFinished)) ||
                        (name == TAP_TO_START_IMAGE && tapToStartAGameTexture);
      if (!made) names.push_back(name);
    }
    Bitmap::prefetch(names.data(), static_cast<int>(names.size()));
  }
  // 1. The five glows, all 128 x 128.
  glowTexture.reset(textureFromBitmap(scaledGlow(scale, false, true, 64, false, 92.0f, 255)));
  softGlowTexture.reset(textureFromBitmap(scaledGlow(scale, true, true, 64, false, 92.0f, 255)));
  verySoftGlowTexture.reset(textureFromBitmap(scaledGlow(scale, true, true, 64, true, 40.0f, 13)));
  strongRedGlowTexture.reset(textureFromBitmap(scaledGlow(scale, false, false, 64, true, 255.0f, 112)));
  redGlowTexture.reset(textureFromBitmap(scaledGlow(scale, true, false, 64, true, 192.0f, 112)));

  // 2. Digits; their pixels stay for the rolling numbers.
  for (int i = 0; i < 10; ++i) {
    const char text[2] = {static_cast<char>('0' + i), '\0'};
    digitTextures.push_back(TexturePtr(new Texture(text, 16, 16, Texture::ALIGN_CENTER, "Helvetica", 15, 1.0f, true)));
  }

  // 3-4. Balls (pixels kept until the copies below are made) and symbols.
  stoneTextures.push_back(TexturePtr());
  symbolTextures.push_back(TexturePtr());
  smallSymbolTextures.push_back(TexturePtr());
  for (int colour = 1; colour <= STONE_KINDS; ++colour) {
    stoneTextures.push_back(TexturePtr(new Texture(BALL_IMAGES[colour], 1.0f, true)));
  }
  for (int colour = 1; colour <= STONE_KINDS; ++colour) {
    symbolTextures.push_back(TexturePtr(new Texture(SYMBOL_IMAGES[colour], 1.0f, false)));
  }
  for (int colour = 1; colour < STONE_KINDS; ++colour) {
    smallSymbolTextures.push_back(TexturePtr(new Texture(SMALL_SYMBOL_IMAGES[colour], 1.0f, false)));
  }

  // 5. Shine, board squares, the start picture and the screens' bars and menu art.
  highlightsTexture.reset(new Texture("Highlights_64x64.png", 1.0f, false));
  lightSquareTexture.reset(new Texture("BoardWhite_38x38.png", 0.30f, false));
  darkSquareTexture.reset(new Texture("BoardBlack_38x38.png", 0.23f, false));
  // The high-contrast squares are black tiles with a light edge of their own, laid opaque; the
  // other looks darken the board a little, square by square.
  const bool opaqueSquares = currentLook == Look::HIGH_CONTRAST;
  oddSquareTexture.reset(new Texture("BoardBlack_38x38.png", opaqueSquares ? 1.0f : 0.10f, false));
  evenSquareTexture.reset(new Texture("BoardBlack_38x38.png", opaqueSquares ? 1.0f : 0.15f, false));
  if (!startScreenFinished) generateStartScreenArt();
  tapToStartAGamePressedTexture.reset(makeBar(startBarArtName(), true));
  tapToStartNewGameTexture.reset(makeBar("TapToStartNewGame", false));
  tapToStartNewGamePressedTexture.reset(makeBar("TapToStartNewGame", true));
  gameMenuBarTexture.reset(makeBar("GameMenuBar", false));
  gameMenuBarPressedTexture.reset(makeBar("GameMenuBar", true));
  compactGameMenuBarTexture.reset(new Texture(COMPACT_BAR_IMAGE, 0, 0,
                                              {{LabelPainter::COMPACT_BAR, MenuWords::label("GameMenuBar")}}));
  compactGameMenuBarPressedTexture.reset(new Texture(
      COMPACT_BAR_PRESSED_IMAGE, 0, 0, {{LabelPainter::COMPACT_BAR_PRESSED, MenuWords::label("GameMenuBar")}}));
  menuDivider.reset(new Texture("MenuDivider_200x1.png", 1.0f, false));

  // 6. Timer frames: 22 x 24 cells at a 20-pixel pitch from column 1 (in screen units).
  {
    Bitmap strip("TimerStrip_224x24.png", nullptr, nullptr, 1.0f);
    const int unit = strip.scale;
    for (int k = 0; k <= 10; ++k) {
      const int sx = (1 + 20 * k) * unit;
      Bitmap* frame = new Bitmap(32 * unit, 32 * unit);
      frame->scale = unit;
      for (int y = 0; y < 24 * unit; ++y) {
        for (int i = 0; i < 22 * unit; ++i) frame->putPixel(i, y, strip.getPixel(sx + i, y));
      }
      timerTextures.push_back(TexturePtr(textureFromBitmap(frame)));
    }
  }

  // 7. Faded copies. The colour bytes keep their value, so the faded balls look brighter than a
  // straight fade would.
  fadedStoneTextures.resize(16);
  fadedSmallStoneTextures.resize(16);
  for (int colour = 1; colour <= STONE_KINDS; ++colour) {
    const Bitmap& ball = *stoneTextures[colour]->bitmap;
    Bitmap* small = ball.scaleDownAccurately(2);
    small->makeMoreTransparent(1.5);
    fadedSmallStoneTextures[colour].reset(textureFromBitmap(small));
    Bitmap* copy = ball.clone();
    copy->makeMoreTransparent(1.65);
    fadedStoneTextures[colour].reset(textureFromBitmap(copy));
  }

  // 8. The highlight: a white silhouette of the blue ball at a quarter of its alpha.
  {
    Bitmap* silhouette = stoneTextures[STONE_BLUE]->bitmap->clone();
    for (int y = 0; y < silhouette->h; ++y) {
      for (int x = 0; x < silhouette->w; ++x) {
        const uint32_t p = silhouette->getPixel(x, y);
        if ((p & 0x00FFFFFFu) != 0) {
          silhouette->putPixel(x, y, 255, 255, 255, static_cast<int>(static_cast<float>(p >> 24) * 0.25f));
        }
      }
    }
    stoneHighlightTexture.reset(textureFromBitmap(silhouette));
  }

  // 9. The balls' pixels are no longer needed; their size still sizes the quads.
  for (int colour = 1; colour <= STONE_KINDS; ++colour) stoneTextures[colour]->bitmap->freePixels();
  Bitmap::endPrefetch();
  complete = true;
}

void BallGraphics::regenerate() {
  MyTl::FixedArray<TexturePtr>* arrays[] = {&stoneTextures, &fadedStoneTextures, &fadedSmallStoneTextures,
                                            &symbolTextures, &smallSymbolTextures, &digitTextures, &timerTextures};
  for (MyTl::FixedArray<TexturePtr>* array : arrays) array->resize(0);
  emptyBoardTexture.reset();
  boardSnapshotTexture.reset();
  for (std::unique_ptr<Texture>& rolling : rollingDigitTextures) rolling.reset();
  // The start picture and its bar are made only when missing: drop them too.
  dropStartScreenArt();
  complete = false;
  generateBalls();
}

void BallGraphics::setLook(Look look) {
  if (look == currentLook) return;
  currentLook = look;
  Resources::setLookFolder(Looks::folderOf(look));
  if (complete) {
    regenerate();
  } else if (splashTexture) {
    // Only the start picture and its bar exist yet: they are made again from the look now, the
    // rest when it is generated.
    dropStartScreenArt();
    generateStartScreenArt();
  }
}

// ---------------------------------------------------------------------------------------------
// Board and stone drawing

ScreenPoint BallGraphics::squareCorner(int x, int y, float f) {
  return ScreenPoint(ScreenGeometry::BOARD_LEFT + ScreenGeometry::SQUARE_PITCH * static_cast<float>(x) * f,
                 ScreenGeometry::BOARD_TOP + ScreenGeometry::SQUARE_PITCH * static_cast<float>(y) * f);
}

void BallGraphics::drawBoard(bool nineRowLayout, float scale) {
  boardScale = scale;
  if (boardSnapshotTexture && snapshotNineRows == nineRowLayout) {
    boardSnapshotTexture->drawToScreen(0.0f, -32.0f, Scaling(1.0f), BLEND_OPAQUE, false);
    return;
  }
  emptyBoardTexture.reset(extendMiddle("EmptyBoard.png", nineRowLayout ? 10 : 0, 0,
                                       {{LabelPainter::SCORE_CAPTION, MenuWords::label("ScoreCaption")},
                                        {LabelPainter::LEVEL_CAPTION, MenuWords::label("LevelCaption")}}));
  emptyBoardTexture->drawToScreen(0.0f, 0.0f, Scaling(1.0f), BLEND_OPAQUE, true);
  const int columns = nineRowLayout ? 7 : 8;
  const int rows = nineRowLayout ? 9 : 10;
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < columns; ++x) drawStoneBackground(x, y);
  }
  boardSnapshotTexture.reset(new Texture(512, 512));
  snapshotNineRows = nineRowLayout;
  // The snapshot holds the picture now: the empty board's image is made again only for the
  // next rebuild.
  emptyBoardTexture.reset();
}

void BallGraphics::drawStoneBackground(int x, int y) {
  if (!squareInRange(x, y)) return;
  const ScreenPoint corner = squareCorner(x, y, boardScale);
  Texture& square = (x + y) % 2 != 0 ? *oddSquareTexture : *evenSquareTexture;
  square.drawToScreen(corner.x, corner.y, Scaling(boardScale), BLEND_PREMULTIPLIED, true);
}

void BallGraphics::drawLightenedSquare(int x, int y) {
  if (!squareInRange(x, y)) return;
  const ScreenPoint corner = squareCorner(x, y, boardScale);
  lightSquareTexture->drawToScreen(corner.x, corner.y, Scaling(boardScale), BLEND_ADDITIVE, true);
}

void BallGraphics::drawABitDarkenedSquare(int x, int y) {
  if (!squareInRange(x, y)) return;
  const ScreenPoint corner = squareCorner(x, y, boardScale);
  darkSquareTexture->drawToScreen(corner.x, corner.y, Scaling(boardScale), BLEND_PREMULTIPLIED, true);
}

void BallGraphics::drawStone(int colour, int x, int y, float size, bool highlighted) {
  if (x < 0 || y < 0 || colour < 1 || colour > STONE_KINDS) return;
  drawStoneAtCoords(colour, squareCorner(x, y, boardScale), size, highlighted, false, true, true);
}

void BallGraphics::drawStoneAtCoords(int colour, ScreenPoint p, float size, bool highlighted, bool noOffset, bool symbol,
                                     bool useBoardScale) {
  if (colour < 1 || colour > STONE_KINDS) return;
  const float half = size * 0.5f;
  drawStoneInternalAtCoords(*stoneTextures[colour], p, half, highlighted, noOffset, 0, BLEND_PREMULTIPLIED,
                            useBoardScale);
  if (symbol) {
    ScreenPoint at = p;
    if (colour == STONE_BOMB) at = ScreenPoint(p.x - 1.0f, p.y - 1.0f);
    const bool large = size > 1.0f || colour == STONE_BOMB;
    Texture* overlay = large ? slot(symbolTextures, colour) : slot(smallSymbolTextures, colour);
    if (overlay != nullptr) {
      drawStoneInternalAtCoords(*overlay, at, large ? half : size, highlighted, noOffset, getRotation(colour, momentNowMs),
                                BLEND_PREMULTIPLIED, useBoardScale);
    }
  }
  drawStoneInternalAtCoords(*highlightsTexture, p, half, false, noOffset, 0, BLEND_ADDITIVE, useBoardScale);
}

void BallGraphics::drawStoneCenteredAtCoordsNoScaleUp(int colour, ScreenPoint centre, float size, bool highlighted,
                                                      bool symbol) {
  const int half = static_cast<int>(size * 38.0f) / 2;
  drawStoneAtCoords(colour, ScreenPoint(centre.x - static_cast<float>(half), centre.y - static_cast<float>(half)), size,
                    highlighted, true, symbol, false);
}

void BallGraphics::drawStoneInternal(Texture& texture, int x, int y, float size, bool highlighted, bool noOffset,
                                     int rotation) {
  if (x < 0 || y < 0) return;
  drawStoneInternalAtCoords(texture, squareCorner(x, y, boardScale), size, highlighted, noOffset, rotation,
                            BLEND_PREMULTIPLIED, true);
}

void BallGraphics::drawStoneInternalAtCoords(Texture& texture, ScreenPoint p, float size, bool highlighted,
                                             bool noOffset, int rotation, int blendMode, bool useBoardScale) {
  const float f = useBoardScale ? boardScale : 1.0f;
  // Sizes outside (0, 100), NaN included, draw nothing.
  if (!(size > 0.0f && size < 100.0f)) return;
  const float offset = noOffset ? 0.0f : (32.0f - static_cast<float>(texture.width) * size) / 2.0f;
  const float d = f * size * STONE_CELL_SCALE;
  const float cornerX = p.x + offset * f * STONE_CELL_SCALE;
  const float cornerY = p.y + offset * f * STONE_CELL_SCALE;
  texture.drawToScreenWithRotation(cornerX, cornerY, rotation, Scaling(d), blendMode, true);
  if (highlighted) {
    const float scale = d * static_cast<float>(texture.width) / static_cast<float>(stoneHighlightTexture->width);
    stoneHighlightTexture->drawToScreen(cornerX, cornerY, Scaling(scale), BLEND_ADDITIVE, true);
  }
}

void BallGraphics::drawVTrans64Stone(int colour, int x, int y, float size) {
  if (colour <= 0) return;
  Texture* faded = slot(fadedSmallStoneTextures, colour);
  if (faded != nullptr) drawStoneInternal(*faded, x, y, size, false, false, getRotation(colour, momentNowMs));
}

void BallGraphics::drawTrans128Stone(int colour, int x, int y, float size) {
  if (colour <= 0) return;
  Texture* faded = slot(fadedStoneTextures, colour);
  if (faded != nullptr) drawStoneInternal(*faded, x, y, size, false, false, getRotation(colour, momentNowMs));
}

void BallGraphics::drawBigTransparentStone(int colour, int x, int y, float size, bool allowed) {
  drawTrans128Stone(colour, x, y, size);
  if (allowed) {
    // Drawn twice over, for a brighter mark on the square the ball will take.
    addSoftGlow(x, y, size * 0.87f);
    addSoftGlow(x, y, size * 0.87f);
  } else {
    addRedGlow(x, y, size * 2.7f, true);
  }
}

void BallGraphics::addGlow(int x, int y, float size) {
  if (!squareInRange(x, y)) return;
  drawStoneInternalAtCoords(*glowTexture, squareCorner(x, y, boardScale), size * 0.5f, false, false, 0,
                            BLEND_ADDITIVE, true);
}

void BallGraphics::addSoftGlow(int x, int y, float size) {
  if (!squareInRange(x, y)) return;
  drawStoneInternalAtCoords(*softGlowTexture, squareCorner(x, y, boardScale), size * 0.5f, false, false, 0,
                            BLEND_ADDITIVE, true);
}

void BallGraphics::addRedGlow(int x, int y, float size, bool additive) {
  if (!squareInRange(x, y)) return;
  drawStoneInternalAtCoords(additive ? *redGlowTexture : *strongRedGlowTexture, squareCorner(x, y, boardScale),
                            size * 0.5f, false, false, 0, additive ? BLEND_ADDITIVE : BLEND_ALPHA, true);
}

void BallGraphics::addVerySoftGlowCenteredAtPoint(float x, float y, float scale) {
  const float glowSize = static_cast<float>(glowTexture->width);
  verySoftGlowTexture->drawToScreen(x - 0.5f * glowSize * scale, y - 0.5f * glowSize * scale, Scaling(scale),
                                    BLEND_ADDITIVE, true);
}

int BallGraphics::getRotation(int colour, int nowMs) {
  if (colour != STONE_BOMB) return 0;
  const float turns = static_cast<float>(nowMs) / 1000.0f * 60.0f;
  return static_cast<int>(turns) % 360;
}

int BallGraphics::getPoses(int* digits, int divisor, int value) {
  if (value < 0) value = 0;
  int count = 0;
  while (divisor > 1) {
    divisor /= 10;
    int digit = value / divisor;
    if (digit > 9) digit = 0;
    digits[count++] = digit;
    value %= divisor;
  }
  return count;
}

void BallGraphics::drawNumber(float value, int divisor, float x, float y) {
  // Values beyond int range (or NaN) cannot be shown.
  if (!(value > -2.0e9f && value < 2.0e9f)) return;
  // Negative values show as zero (the digits could not roll below it).
  if (value < 0.0f) value = 0.0f;
  const int whole = static_cast<int>(value);
  const float fraction = value - static_cast<float>(whole);
  const int next = fraction != 0.0f ? whole + 1 : whole;
  int from[10];
  int to[10];
  const int count = getPoses(from, divisor, whole);
  const int nextCount = getPoses(to, divisor, next);
  if (count > 7 || nextCount > 7 || count < 0 || nextCount != count) return;
  const int roll = static_cast<int>(fraction * 18.0f);
  const int firstSlot = divisor > 100 ? 8 : 0;

  float pen = x;
  for (int position = 0; position < count; ++position) {
    const int a = from[position];
    const int b = to[position];
    if (a < 0 || a > 9 || b < 0 || b > 9) continue;
    if (a == b) {
      digitTextures[a]->drawToScreen(pen, y, Scaling(1.0f), BLEND_PREMULTIPLIED, true);
    } else {
      // Digit a moves up by `roll` rows and digit b follows 18 rows below it, inside a 20-row
      // window whose top rows fade out.
      // Rows count screen units; each is `unit` pixel rows of the digit images.
      const MonoBitmap& upper = *digitTextures[a]->monoBitmap;
      const MonoBitmap& lower = *digitTextures[b]->monoBitmap;
      const int unit = upper.scale;
      const int side = 16 * unit;
      MonoBitmap* rolled = new MonoBitmap(side, 32 * unit);
      rolled->scale = unit;
      for (int r = 0; r < (18 - roll) * unit; ++r) {
        const int source = roll * unit + r;
        if (source >= side) continue;
        for (int c = 0; c < side; ++c) rolled->putPixel(c, r, upper.getPixel(c, source));
      }
      for (int r = (18 - roll) * unit; r < 20 * unit; ++r) {
        const int source = r - (18 - roll) * unit;
        if (r < 2 * unit || source >= side || source >= lower.h) continue;
        for (int c = 0; c < side; ++c) rolled->putPixel(c, r, lower.getPixel(c, source));
      }
      for (int r = 0; r < 4 * unit; ++r) {
        const float fade = static_cast<float>(r / unit) * 0.25f;
        for (int c = 0; c < side; ++c) {
          rolled->putPixel(c, r, static_cast<uint8_t>(static_cast<float>(rolled->getPixel(c, r)) * fade));
        }
      }
      std::unique_ptr<Texture>& slotTexture = rollingDigitTextures[firstSlot + position];
      slotTexture.reset(new Texture());
      slotTexture->init(rolled);
      slotTexture->drawToScreen(pen, y, Scaling(1.0f), BLEND_PREMULTIPLIED, true);
    }
    pen += 18.0f;
  }
}

int BallGraphics::timerFrame(float fraction) {
  if (!(fraction > 0.0f)) fraction = 0.0f;  // NaN too
  if (fraction >= 1.0f) fraction = 0.99999f;
  int frame = static_cast<int>(fraction * 11.0f);
  if (frame < 0) frame = 0;
  if (frame > 10) frame = 10;
  return frame;
}

void BallGraphics::drawTimer(float fraction, int x, int y, float scale) {
  timerTextures[timerFrame(fraction)]->drawToScreen(static_cast<float>(x), static_cast<float>(y), Scaling(scale),
                                                     BLEND_PREMULTIPLIED, true);
}
