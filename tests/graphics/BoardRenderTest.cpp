// The renderer drawing into the offscreen frame: stone geometry on both boards, the cached board
// snapshot, timer frames, rolling digits, the animations over time, and a full picture of the
// board saved for looking at.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "AnimationHandler.h"
#include "BallGraphics.h"
#include "ScreenGeometry.h"
#include "BlendMode.h"
#include "RenderHarness.h"
#include "Resources.h"
#include "Stone.h"
#include "TestImageFiles.h"

namespace {

int countDifferent(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  int different = 0;
  for (size_t i = 0; i + 3 < a.size(); i += 4) {
    if (a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2]) ++different;
  }
  return different;
}

// The renderer over the generated art, shared by the tests of this file.
class BoardRenderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (RenderHarness::instance() == nullptr) return;
    Resources::setDirectory(generatedResourceFolder());
    graphics = new BallGraphics();
  }
  static void TearDownTestSuite() {
    delete graphics;
    graphics = nullptr;
  }
  void SetUp() override {
    harness = RenderHarness::instance();
    ASSERT_NE(harness, nullptr) << RenderHarness::failure();
    ASSERT_NE(graphics, nullptr);
    graphics->boardScale = 1.0f;
    harness->clear(0, 0, 0);
    graphics->setMoment(0, 0);
  }

  std::vector<uint8_t> frameOf(const std::function<void()>& draw) {
    harness->clear(0, 0, 0);
    draw();
    harness->readBack();
    return harness->pixels();
  }

  static BallGraphics* graphics;
  RenderHarness* harness = nullptr;
};
BallGraphics* BoardRenderTest::graphics = nullptr;

TEST_F(BoardRenderTest, GenerationFillsEveryTextureSlot) {
  EXPECT_EQ(graphics->stoneTextures.size(), 12);
  EXPECT_EQ(graphics->stoneTextures[0].get(), nullptr);
  EXPECT_EQ(graphics->symbolTextures.size(), 12);
  EXPECT_EQ(graphics->smallSymbolTextures.size(), 11);  // none for the bomb
  EXPECT_EQ(graphics->fadedStoneTextures.size(), 16);
  EXPECT_EQ(graphics->fadedSmallStoneTextures[11]->bitmap->w, 32);
  EXPECT_EQ(graphics->fadedStoneTextures[11]->bitmap->w, 64);
  EXPECT_EQ(graphics->fadedStoneTextures[12].get(), nullptr);
  EXPECT_EQ(graphics->digitTextures.size(), 10);
  EXPECT_NE(graphics->digitTextures[7]->monoBitmap->pixels, nullptr);  // kept for rolling
  EXPECT_EQ(graphics->timerTextures.size(), 11);
  EXPECT_EQ(graphics->glowTexture->width, 128);
  // Ball pixels are freed at the end, but the bitmap still sizes the quad.
  EXPECT_EQ(graphics->stoneTextures[5]->bitmap->pixels, nullptr);
  EXPECT_EQ(graphics->stoneTextures[5]->bitmap->w, 64);
  EXPECT_EQ(graphics->lightSquareTexture->width, 38);
}

TEST_F(BoardRenderTest, OutOfRangeColoursSquaresAndSizesDrawNothing) {
  const std::vector<uint8_t> empty = frameOf([] {});
  const std::function<void()> draws[] = {
      [] { graphics->drawStone(0, 2, 2, 1.0f, false); },
      [] { graphics->drawStone(12, 2, 2, 1.0f, false); },
      [] { graphics->drawStone(STONE_RED, -1, 2, 1.0f, false); },
      [] { graphics->drawStone(STONE_RED, 2, -1, 1.0f, false); },
      [] { graphics->drawStone(STONE_RED, 2, 2, 0.0f, false); },
      [] { graphics->drawStone(STONE_RED, 2, 2, -1.0f, false); },
      [] { graphics->drawStone(STONE_RED, 2, 2, 200.0f, false); },
      [] { graphics->drawStone(STONE_RED, 2, 2, std::nanf(""), false); },
      [] { graphics->drawVTrans64Stone(0, 2, 2, 1.0f); },
      [] { graphics->drawVTrans64Stone(14, 2, 2, 1.0f); },
      [] { graphics->drawTrans128Stone(40, 2, 2, 1.0f); },
      [] { graphics->drawLightenedSquare(-1, 0); },
      [] { graphics->addGlow(3, -2, 1.0f); },
      [] { graphics->drawNumber(std::nanf(""), 100, 10, 10); },
  };
  int index = 0;
  for (const auto& draw : draws) EXPECT_EQ(countDifferent(frameOf(draw), empty), 0) << "case " << index++;
  EXPECT_GT(countDifferent(frameOf([] { graphics->drawStone(STONE_RED, 2, 2, 1.0f, false); }), empty), 500);
}

TEST_F(BoardRenderTest, BoardSnapshotDrawsWhatTheFirstCallDrew) {
  for (bool nineRows : {false, true}) {
    const float scale = nineRows ? 8.0f / 7.0f : 1.0f;
    const std::vector<uint8_t> direct = frameOf([&] { graphics->drawBoard(nineRows, scale); });
    TexturePtr snapshot = graphics->boardSnapshotTexture;
    const std::vector<uint8_t> cached = frameOf([&] { graphics->drawBoard(nineRows, scale); });
    EXPECT_EQ(countDifferent(direct, cached), 0) << nineRows;
    EXPECT_EQ(graphics->boardSnapshotTexture, snapshot) << "the same layout must not rebuild";
  }
  // The two layouts differ (the nine-row board is taller), and switching rebuilds the snapshot.
  const std::vector<uint8_t> eight = frameOf([] { graphics->drawBoard(false, 1.0f); });
  const std::vector<uint8_t> nine = frameOf([] { graphics->drawBoard(true, 8.0f / 7.0f); });
  EXPECT_GT(countDifferent(eight, nine), 1000);
  EXPECT_TRUE(graphics->snapshotNineRows);
}

TEST_F(BoardRenderTest, TimerShowsTheFrameOfItsFraction) {
  const std::pair<float, int> cases[] = {{1.0f, 10}, {-0.2f, 0}, {0.5f, 5}, {0.3f, 3}};
  for (const auto& c : cases) {
    const std::vector<uint8_t> timer = frameOf([&] { graphics->drawTimer(c.first, 201, 15); });
    const std::vector<uint8_t> expected = frameOf([&] {
      graphics->timerTextures[c.second]->drawToScreen(201, 15, Scaling(1.0f), BLEND_PREMULTIPLIED, true);
    });
    EXPECT_EQ(countDifferent(timer, expected), 0) << c.first;
  }
  // The frames really differ, so the comparison above tells them apart.
  const std::vector<uint8_t> first = frameOf([] { graphics->drawTimer(0.0f, 201, 15); });
  const std::vector<uint8_t> last = frameOf([] { graphics->drawTimer(1.0f, 201, 15); });
  EXPECT_GT(countDifferent(first, last), 50);
}

TEST_F(BoardRenderTest, NumberRollsTheChangingDigitOnly) {
  const std::vector<uint8_t> number = frameOf([] { graphics->drawNumber(41.5f, 100, 156.5f, 12.5f); });
  // The tens digit comes from the prebuilt "4".
  const std::vector<uint8_t> four = frameOf([] {
    graphics->digitTextures[4]->drawToScreen(156.5f, 12.5f, Scaling(1.0f), BLEND_PREMULTIPLIED, true);
  });
  int tensDifferent = 0;
  for (int y = 0; y < 60; ++y) {
    for (int x = 150; x < 174; ++x) {
      const size_t at = (static_cast<size_t>(y) * 320 + x) * 4;
      if (number[at] != four[at]) ++tensDifferent;
    }
  }
  EXPECT_EQ(tensDifferent, 0);
  EXPECT_EQ(graphics->rollingDigitTextures[0], nullptr);
  ASSERT_NE(graphics->rollingDigitTextures[1], nullptr);
  EXPECT_EQ(graphics->rollingDigitTextures[1]->monoBitmap->h, 32);

  // Units: at roll 9 the "1" has moved up 9 rows and the "2" starts 9 rows below the top, all
  // within a 20-row window whose top four rows fade in.
  const MonoBitmap& one = *graphics->digitTextures[1]->monoBitmap;
  const MonoBitmap& two = *graphics->digitTextures[2]->monoBitmap;
  harness->clear(0, 0, 0);
  graphics->drawNumber(41.5f, 100, 150.0f, 100.0f);
  harness->readBack();
  for (int r = 0; r < 32; ++r) {
    for (int c = 0; c < 16; ++c) {
      int expected = 0;
      if (r < 9 && 9 + r <= 15) expected = one.getPixel(c, 9 + r);
      if (r >= 9 && r <= 19 && r - 9 <= 15) expected = two.getPixel(c, r - 9);
      if (r < 4) expected = static_cast<int>(expected * (r * 0.25f));
      ASSERT_NEAR(harness->pixel(168 + c, 100 + r).r, expected, 2) << "row " << r << " column " << c;
    }
  }
  // Four-digit numbers use the upper slots.
  graphics->drawNumber(1239.25f, 10000, 42.5f, 12.5f);
  EXPECT_NE(graphics->rollingDigitTextures[11], nullptr);
}

TEST_F(BoardRenderTest, RemovalShrinksToNothingAt1880Milliseconds) {
  AnimationInfo record;
  record.startTime = 10000.0;
  record.stone = STONE_GREEN;
  record.active = true;
  record.kind = ANIM_REMOVE;
  const std::vector<uint8_t> empty = frameOf([] {});
  auto drawnAt = [&](int t, int* result) {
    graphics->setMoment(10000 + t, 10000 + t);
    AnimationInfo copy = record;
    std::vector<uint8_t> frame = frameOf([&] { AnimationHandler::draw(*graphics, copy, 3, 4, SQUARE_EMPTY); });
    *result = AnimationHandler::settle(copy, 10000 + t, 10000 + t, SQUARE_EMPTY) ? 1 : 0;
    record.active = copy.active;
    return countDifferent(frame, empty);
  };
  int result = -1;
  const int before = drawnAt(-100, &result);
  EXPECT_EQ(result, 0);
  const int atStart = drawnAt(0, &result);
  const int swelling = drawnAt(300, &result);
  const int shrinking = drawnAt(1600, &result);
  EXPECT_EQ(result, 0);
  EXPECT_TRUE(record.active);
  const int atEnd = drawnAt(1880, &result);
  EXPECT_EQ(result, 1);
  EXPECT_FALSE(record.active);
  EXPECT_GT(before, 600);
  EXPECT_GT(atStart, before);  // the white glow joins at the start
  EXPECT_GE(swelling, atStart);  // swelling to 1.05 before shrinking
  EXPECT_LT(shrinking, atStart);
  EXPECT_EQ(atEnd, 0);
}

TEST_F(BoardRenderTest, AppearDrawsNothingAtItsStartAndEndsAt611) {
  AnimationInfo record;
  record.startTime = 5000.0;
  record.stone = STONE_ORANGE;
  record.active = true;
  record.kind = ANIM_APPEAR;
  const std::vector<uint8_t> empty = frameOf([] {});
  graphics->setMoment(5000, 5000);
  EXPECT_EQ(countDifferent(frameOf([&] { AnimationHandler::draw(*graphics, record, 1, 1, STONE_ORANGE); }), empty), 0);
  EXPECT_FALSE(AnimationHandler::settle(record, 5000, 5000, STONE_ORANGE));
  graphics->setMoment(5611, 5611);
  const std::vector<uint8_t> last = frameOf([&] { AnimationHandler::draw(*graphics, record, 1, 1, STONE_ORANGE); });
  // Ended only once that last picture was drawn.
  EXPECT_FALSE(AnimationHandler::settle(record, 5611, 5000, STONE_ORANGE));
  EXPECT_TRUE(record.active);
  EXPECT_TRUE(AnimationHandler::settle(record, 5620, 5611, STONE_ORANGE));
  EXPECT_FALSE(record.active);
  EXPECT_GT(countDifferent(last, empty), 600);
}

TEST_F(BoardRenderTest, PathTrailPulsesThenShowsTheStoneInItsSlotThenEnds) {
  AnimationInfo record;
  record.startTime = 2000.0;
  record.stone = STONE_BLUE;
  record.active = true;
  record.kind = ANIM_PATH_TRAIL;
  record.pathIndex = 3;
  const std::vector<uint8_t> empty = frameOf([] {});
  graphics->setMoment(2100, 2100);
  const int pulsing = countDifferent(frameOf([&] { AnimationHandler::draw(*graphics, record, 0, 0, 0); }), empty);
  graphics->setMoment(2200, 2200);
  const int visiting = countDifferent(frameOf([&] { AnimationHandler::draw(*graphics, record, 0, 0, 0); }), empty);
  AnimationHandler::settle(record, 2270, 2200, 0);
  EXPECT_TRUE(record.active);
  graphics->setMoment(2270, 2270);
  const int ended = countDifferent(frameOf([&] { AnimationHandler::draw(*graphics, record, 0, 0, 0); }), empty);
  AnimationHandler::settle(record, 2280, 2270, 0);
  EXPECT_FALSE(record.active);
  EXPECT_GT(pulsing, 100);
  EXPECT_GT(visiting, pulsing);  // the highlighted stone at 0.77 is larger than the pulse
  EXPECT_EQ(ended, 0);
  AnimationInfo cleared = record;
  cleared.kind = ANIM_CLEARED;
  cleared.active = true;
  EXPECT_EQ(countDifferent(frameOf([&] { AnimationHandler::draw(*graphics, cleared, 0, 0, 0); }), empty), 0);
}

TEST_F(BoardRenderTest, SelectionShrinksTheDragGhostBackOntoTheBall) {
  AnimationInfo record;
  record.startTime = 1000.0;
  record.stone = STONE_PINK;
  record.active = true;
  record.kind = ANIM_SELECTED;
  record.shrinkSize = 3.0f;
  AnimationHandler::settle(record, 1000, 1000, STONE_PINK);
  EXPECT_EQ(record.shrinkSize, 3.0f);  // still shrinking: 2.4 > 0.865
  AnimationHandler::settle(record, 1200, 1200, STONE_PINK);
  EXPECT_EQ(record.shrinkSize, -1.0f);  // 2.4 - 2.0 fell below the bounce: the ghost is gone
}

using BoardRenderDeathTest = BoardRenderTest;

TEST_F(BoardRenderDeathTest, AnimationContractChecks) {
  AnimationInfo record;
  record.active = true;
  record.kind = ANIM_APPEAR;
  record.stone = STONE_RED;
  // An animation further ahead than any landing delay (the clock went back) starts now.
  record.startTime = 6000.0;
  AnimationHandler::settle(record, 0, 0, STONE_RED);
  EXPECT_EQ(0.0, record.startTime);
  record.startTime = 0.0;
  record.kind = ANIM_PATH_TRAIL;
  record.pathIndex = 2;
  record.stone = SQUARE_EMPTY;
  graphics->setMoment(100, 100);
  EXPECT_DEATH(AnimationHandler::draw(*graphics, record, 0, 0, 0), "animInfo.stone != SQUARE_EMPTY");
}

// Stone geometry with a test ball that is one opaque square and no symbol or shine.
class StoneGeometryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (RenderHarness::instance() == nullptr) return;
    files = new TestImageFiles();
    files->copyFrom(generatedResourceFolder());
    files->writeRgba("BallRed_64x64.png", 64, 64, [](int, int) { return 0xFFFF0000u; });
    for (const char* clear : {"SymbolF4_64x64.png", "SymbolF4_32x32.png", "Highlights_64x64.png"}) {
      const int size = std::string(clear).find("32x32") != std::string::npos ? 32 : 64;
      files->writeRgba(clear, size, size, [](int, int) { return 0u; });
    }
    Resources::setDirectory(files->folder());
    graphics = new BallGraphics();
  }
  static void TearDownTestSuite() {
    delete graphics;
    delete files;
    graphics = nullptr;
    files = nullptr;
  }
  void SetUp() override {
    harness = RenderHarness::instance();
    ASSERT_NE(harness, nullptr) << RenderHarness::failure();
    harness->clear(0, 0, 0);
  }
  static TestImageFiles* files;
  static BallGraphics* graphics;
  RenderHarness* harness = nullptr;
};
TestImageFiles* StoneGeometryTest::files = nullptr;
BallGraphics* StoneGeometryTest::graphics = nullptr;

TEST_F(StoneGeometryTest, StoneOfSizeOneCoversItsSquareFromTheCorner) {
  struct Case {
    float scale;
    int x, y;
    float expectedSide;
  };
  const Case cases[] = {{1.0f, 2, 3, 38.0f}, {8.0f / 7.0f, 1, 2, 38.0f * 8.0f / 7.0f}, {8.0f / 9.0f, 8, 8, 38.0f * 8.0f / 9.0f}};
  for (const Case& c : cases) {
    harness->clear(0, 0, 0);
    graphics->boardScale = c.scale;
    graphics->drawStone(STONE_RED, c.x, c.y, 1.0f, false);
    harness->readBack();
    const ScreenPoint corner = BallGraphics::squareCorner(c.x, c.y, c.scale);
    int left = 1000, right = -1, top = 1000, bottom = -1;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 320; ++x)
        if (harness->pixel(x, y).r > 127) {
          left = std::min(left, x);
          right = std::max(right, x);
          top = std::min(top, y);
          bottom = std::max(bottom, y);
        }
    EXPECT_NEAR(left, corner.x, 1.0) << c.scale;
    EXPECT_NEAR(top, corner.y, 1.0) << c.scale;
    EXPECT_NEAR(right - left + 1, c.expectedSide, 1.0) << c.scale;
    EXPECT_NEAR(bottom - top + 1, c.expectedSide, 1.0) << c.scale;
  }
  // The 7-wide board's stones are 8/7 larger: 43 to 44 pixels.
  graphics->boardScale = 1.0f;
}

TEST_F(StoneGeometryTest, CentredStoneIgnoresTheBoardScale) {
  graphics->boardScale = 8.0f / 7.0f;
  graphics->drawStoneCenteredAtCoordsNoScaleUp(STONE_RED, ScreenPoint(160, 152), 1.0f, false, true);
  harness->readBack();
  EXPECT_EQ(harness->pixel(141, 133).r, 255);
  EXPECT_EQ(harness->pixel(178, 170).r, 255);
  EXPECT_EQ(harness->pixel(140, 152).r, 0);
  EXPECT_EQ(harness->pixel(179, 152).r, 0);
  graphics->boardScale = 1.0f;
}

TEST_F(StoneGeometryTest, ExtendMiddleRepeatsTheRowsBeforeTheMiddle) {
  // Every row of a 320 x 100 image has its own red value.
  files->writeRgba("Rows_320x100.png", 320, 100, [](int, int y) { return 0xFF000000u | (static_cast<unsigned>(y + 100) << 16); });
  std::unique_ptr<Texture> extended(BallGraphics::extendMiddle("Rows_320x100.png", 10, 0));
  EXPECT_EQ(extended->width, 320);
  EXPECT_EQ(extended->height, 110);
  extended->drawToScreen(0, 0, Scaling(1.0f), BLEND_OPAQUE, true);
  harness->readBack();
  for (int y = 0; y < 110; ++y) {
    const int source = y < 50 ? y : (y < 60 ? y - 10 : y - 10);
    EXPECT_EQ(harness->pixel(17, y).r, source + 100) << "row " << y;
  }
  EXPECT_EQ(harness->pixel(17, 110).r, 0);
}

// The whole board with every ball, the special balls, highlights and glows, saved as a PNG in
// the build folder for a person to look at.
TEST_F(BoardRenderTest, PictureOfTheBoardWithEveryBall) {
  graphics->setMoment(1000, 1000);
  graphics->drawBoard(false, 1.0f);
  // Reachable and unreachable squares, path and selection highlights.
  for (int x = 0; x < 8; ++x) graphics->drawABitDarkenedSquare(x, 9);
  for (int x = 2; x < 6; ++x) graphics->drawLightenedSquare(x, 6);
  for (int colour = 1; colour <= 11; ++colour) {
    const int x = (colour - 1) % 8;
    const int y = (colour - 1) / 8;
    graphics->drawStone(colour, x, y, 1.0f, false);
  }
  for (int colour = 1; colour <= 9; ++colour) graphics->drawStone(colour, (colour + 2) % 8, 3 + (colour % 3), 1.0f, colour == 4);
  graphics->drawStone(STONE_RAINBOW, 7, 8, 1.0f, false);
  graphics->drawStone(STONE_BOMB, 0, 8, 1.0f, false);
  // Removal glow, a selected ball, a path trail, the drag target ghost and a forbidden target.
  graphics->addGlow(5, 2, 0.85f);
  graphics->drawStone(STONE_GREEN, 5, 2, 1.04f, false);
  graphics->addGlow(5, 2, 0.9f);
  graphics->drawStone(STONE_BLUE, 2, 6, 1.05f, false);
  graphics->drawVTrans64Stone(STONE_BLUE, 3, 6, 0.6f);
  graphics->drawVTrans64Stone(STONE_BLUE, 4, 6, 0.56f);
  graphics->drawStone(STONE_BLUE, 5, 6, 0.7667f, true);
  graphics->drawBigTransparentStone(STONE_BLUE, 6, 7, 0.9f, true);
  graphics->drawBigTransparentStone(STONE_ORANGE, 2, 8, 0.9f, false);
  graphics->addSoftGlow(4, 8, 0.6f);
  graphics->drawStone(STONE_PINK, 4, 8, 0.8f, false);
  // Header: score, level, timer and the announced balls.
  graphics->drawNumber(1234.4f, 10000, 42.5f, 12.5f);
  graphics->drawNumber(7.0f, 100, 156.5f, 12.5f);
  graphics->drawTimer(0.45f, 201, 15);
  for (int i = 0; i < 3; ++i) {
    const float x = 303.0f - 14.0f * (i + 1);
    if (i == 0) graphics->addVerySoftGlowCenteredAtPoint(x + 10.83f, 22.83f, 0.33f);
    graphics->drawStoneAtCoords(i + 5, ScreenPoint(x, 12.0f), 0.57f, false, true, false, true);
  }
  graphics->gameMenuBarTexture->drawToScreen(0, 436, Scaling(1.0f), BLEND_PREMULTIPLIED, true);
  harness->readBack();
  const std::string path = std::string(PELLIX_TEST_OUTPUT_DIR) + "/board-picture.png";
  EXPECT_TRUE(harness->savePng(path)) << path;
  // The board is dark and calm; the balls are bright.
  const Rgba field = harness->pixel(160, 400);
  EXPECT_LT(field.r + field.g + field.b, 150);
  // Lower right of the red ball, clear of its symbol and shine.
  const Rgba redBall = harness->pixel(3 * 39 + 4 + 29, 45 + 27);
  EXPECT_GT(redBall.r, 110);
  EXPECT_GT(redBall.r, 3 * redBall.g);
  std::printf("board picture: %s\n", path.c_str());
}

}  // namespace

namespace {

// The Quick mode's 7 x 9 board (stretched background, stones 8/7 larger), saved for looking at.
TEST_F(BoardRenderTest, PictureOfTheQuickBoard) {
  graphics->drawBoard(true, 8.0f / 7.0f);
  for (int y = 0; y < 9; ++y) {
    for (int x = 0; x < 7; ++x) {
      if ((x * 3 + y * 5) % 4 == 0) graphics->drawStone(1 + (x + 2 * y) % 11, x, y, 1.0f, false);
    }
  }
  graphics->compactGameMenuBarTexture->drawToScreen(0, ScreenGeometry::MENU_STRIP_TOP_LOWERED, Scaling(1.0f),
                                                    BLEND_PREMULTIPLIED, true);
  harness->readBack();
  const std::string path = std::string(PELLIX_TEST_OUTPUT_DIR) + "/board-picture-quick.png";
  EXPECT_TRUE(harness->savePng(path)) << path;
  // The stretched board's lowest squares end above the bar, on the board's field.
  const Rgba lastRow = harness->pixel(160, 444);
  EXPECT_LT(lastRow.r + lastRow.g + lastRow.b, 200);
}

}  // namespace
