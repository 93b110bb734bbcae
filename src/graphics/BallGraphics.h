// BallGraphics: the game's renderer. Its constructor builds every texture the board drawing
// needs (balls, symbols, glows, faded copies, digits, timer frames, board squares, the start
// picture and the bars of the start and play screens); its drawing calls then put the board,
// stones, glows, numbers and the penalty timer on screen through the Texture calls.
// Owned by value by the game controller, which calls it on the rendering thread while the GL
// context is current; the animation handler and the screens draw stones through it. All textures
// are held through shared handles or owned pointers of this object.
#pragma once

#include <memory>

#include "Look.h"
#include "ScreenPoint.h"
#include "SmartArray.h"
#include "TexturePtr.h"

class BallGraphics {
 public:
  // What the constructor makes: every texture, or none yet, so that the renderer can be made
  // before the GL context exists and the start screen shown (generateStartScreenArt) before the
  // rest is generated (generateBalls).
  enum Art { ALL_ART, NO_ART };
  // With ALL_ART requires a current GL context and generates every texture (generateBalls);
  // with NO_ART needs no context and makes nothing.
  // Draws with `look` from the start (its images are the ones the art is made of).
  explicit BallGraphics(Art art = ALL_ART, Look look = Looks::DEFAULT_LOOK);
  ~BallGraphics();
  BallGraphics(const BallGraphics&) = delete;
  BallGraphics& operator=(const BallGraphics&) = delete;

  // The moment the frame being drawn shows, on the game clock (nowMs and game time): bombs turn
  // and animations advance by it. The controller sets it before it draws a frame.
  void setMoment(int nowMs, int gameTimeMs) {
    momentNowMs = nowMs;
    momentGameTimeMs = gameTimeMs;
  }
  int momentMs() const { return momentNowMs; }
  int momentGameTime() const { return momentGameTimeMs; }

  // --- Start-up generation ---
  // Generates every texture not made yet.
  void generateBalls();
  // The start picture and its bar alone (nothing when they exist); needs the GL context.
  // Wanted again after finishStartScreen.
  void generateStartScreenArt();
  // Whether the start screen's bar says "Click to continue" (a saved game resumes) rather than
  // "Click to start a game"; a change makes the bar again.
  void setStartBarContinues(bool continues);
  // Begins decoding the start picture and its bar at `artScale` in the look `look` on another
  // core, for a generateStartScreenArt that follows while GL starts up; needs no GL context.
  // At another scale that generation decodes its images itself.
  static void prefetchStartScreenArt(Look look, int artScale);
  // Drops the start picture and its bar, so that the next generateStartScreenArt makes them at the
  // display's current art scale.
  void dropStartScreenArt();
  // The start screen is over (it shows once, at launch): its picture and bar go, and later
  // generations (a new look, a new scale) leave them out until generateStartScreenArt is called
  // again. The full-screen picture is the largest texture of all (2.4 MiB at 2x, 9.4 MiB at 4x).
  void finishStartScreen();
  // Whether every texture exists (generateBalls has run).
  bool isComplete() const { return complete; }
  // Drops every texture and generates them again at the display's current art scale (after the
  // window moved to another scale); the board background is rebuilt by the next drawBoard.
  void regenerate();
  // The art scale the textures were generated at.
  int generatedScale = 1;
  // Draws with the art set `look` from now on: its images (falling back to the glossy image for
  // every picture the set does not change) are chosen for every later load by name, and, when
  // the textures exist, they are dropped and generated again from it (as regenerate does), so
  // a running game changes at once; needs the GL context then (also when only the start picture
  // exists, which is made again). Textures held elsewhere (the
  // menus') change when they are made again (Texture::remake). Nothing happens for the look
  // already in use. The glossy look, the default, looks in no other folder.
  void setLook(Look look);
  Look look() const { return currentLook; }
  // A glow (or rounded-rectangle halo) bitmap; see the glow table of the textures below. The
  // caller owns the result. Needs no GL context. At an art scale above 1 the sizes and radius are
  // given in pixels (screen units times `scale`) and the flat core shrinks to match.
  static Bitmap* generateGlow(bool soft, bool white, int radius, int extraWidth, int extraHeight, int inset,
                              bool hollow, bool cubic, float gain, int cap, int scale = 1);
  // The image resource with extraHeight rows repeated before its vertical middle and extraWidth
  // columns before its horizontal middle (both >= 0); the caller owns the result.
  // `labels` are painted over the picture's top rows (LabelPainter).
  static Texture* extendMiddle(const char* resourceName, int extraHeight, int extraWidth,
                               const std::vector<Texture::Label>& labels = {});

  // --- Board and stone drawing ---
  // The board background (empty board and checker squares), rebuilt into a 512 x 512 snapshot
  // on the first call and whenever the layout changes, else drawn from the snapshot.
  void drawBoard(bool nineRowLayout, float scale);
  void drawStoneBackground(int x, int y);
  void drawLightenedSquare(int x, int y);
  void drawABitDarkenedSquare(int x, int y);
  // A stone of colour 1-11 on square (x, y); size 1.0 is one square.
  void drawStone(int colour, int x, int y, float size, bool highlighted);
  // Ball, symbol and shine at a screen point.
  void drawStoneAtCoords(int colour, ScreenPoint p, float size, bool highlighted, bool noOffset, bool symbol,
                         bool useBoardScale);
  void drawStoneCenteredAtCoordsNoScaleUp(int colour, ScreenPoint centre, float size, bool highlighted, bool symbol);
  void drawStoneInternal(Texture& texture, int x, int y, float size, bool highlighted, bool noOffset, int rotation);
  // The common primitive: the texture centred in a 32-unit cell scaled 38/32 (and by the board
  // scale when asked), rotated by `rotation` degrees, blended with `blendMode`.
  void drawStoneInternalAtCoords(Texture& texture, ScreenPoint p, float size, bool highlighted, bool noOffset,
                                 int rotation, int blendMode, bool useBoardScale);
  void drawVTrans64Stone(int colour, int x, int y, float size);
  void drawTrans128Stone(int colour, int x, int y, float size);
  void drawBigTransparentStone(int colour, int x, int y, float size, bool allowed);
  void addGlow(int x, int y, float size);
  void addSoftGlow(int x, int y, float size);
  void addRedGlow(int x, int y, float size, bool additive);
  void addVerySoftGlowCenteredAtPoint(float x, float y, float scale);
  // Rotation in degrees of a stone's symbol: the bomb's star turns once every 6 seconds.
  static int getRotation(int colour, int nowMs);
  // The decimal digits of value below divisor into `digits` (at least 10 slots); returns their
  // count (the number of decimal places of the divisor).
  static int getPoses(int* digits, int divisor, int value);
  // An integer whose digits roll upwards to the next integer as the fraction grows.
  void drawNumber(float value, int divisor, float x, float y);
  // The penalty timer frame for `fraction` of the period.
  void drawTimer(float fraction, int x, int y, float scale = 1.0f);
  // Frame 0-10 shown for a timer fraction.
  static int timerFrame(float fraction);
  // Top-left corner of square (x, y) at board scale f.
  static ScreenPoint squareCorner(int x, int y, float f);

  // --- Textures ---
  float boardScale = 1.0f;
  MyTl::FixedArray<TexturePtr> stoneTextures;
  MyTl::FixedArray<TexturePtr> fadedStoneTextures;
  MyTl::FixedArray<TexturePtr> fadedSmallStoneTextures;
  MyTl::FixedArray<TexturePtr> symbolTextures;
  MyTl::FixedArray<TexturePtr> smallSymbolTextures;
  MyTl::FixedArray<TexturePtr> digitTextures;
  MyTl::FixedArray<TexturePtr> timerTextures;
  TexturePtr glowTexture;
  TexturePtr softGlowTexture;
  TexturePtr verySoftGlowTexture;
  TexturePtr redGlowTexture;
  TexturePtr strongRedGlowTexture;
  TexturePtr stoneHighlightTexture;
  TexturePtr highlightsTexture;
  TexturePtr lightSquareTexture;
  TexturePtr darkSquareTexture;
  TexturePtr oddSquareTexture;
  TexturePtr evenSquareTexture;
  TexturePtr emptyBoardTexture;
  TexturePtr boardSnapshotTexture;
  bool snapshotNineRows = false;
  TexturePtr splashTexture;
  // The bars of the start, game-over and play screens (normal and highlighted).
  // The start screen's bar: "Click to start a game", or "Click to continue" (see
  // setStartBarContinues).
  TexturePtr tapToStartAGameTexture;
  TexturePtr tapToStartAGamePressedTexture;
  TexturePtr tapToStartNewGameTexture;
  TexturePtr tapToStartNewGamePressedTexture;
  TexturePtr gameMenuBarTexture;
  TexturePtr gameMenuBarPressedTexture;
  // The same bar, slimmer, under the Quick mode's taller board.
  TexturePtr compactGameMenuBarTexture;
  TexturePtr compactGameMenuBarPressedTexture;
  // The menus' divider (shared with the menu machinery).
  TexturePtr menuDivider;
  static constexpr int ROLLING_DIGIT_SLOTS = 16;
  std::unique_ptr<Texture> rollingDigitTextures[ROLLING_DIGIT_SLOTS];

 private:
  // A wide bar with the words of `artName` (MenuWords), at rest or pressed; the caller owns it.
  static Texture* makeBar(const char* artName, bool pressed);
  const char* startBarArtName() const { return startBarContinues ? "TapToContinue" : "TapToStartAGame"; }
  bool startBarContinues = false;
  bool complete = false;
  bool startScreenFinished = false;
  Look currentLook = Looks::DEFAULT_LOOK;
  int momentNowMs = 0;
  int momentGameTimeMs = 0;
  // The texture in slot `index`, or null for an empty or missing slot.
  static Texture* slot(const MyTl::FixedArray<TexturePtr>& array, int index);
};
