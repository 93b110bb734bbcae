// Renderer benchmarks on the headless GL harness (Mesa llvmpipe, CPU rendering): building every
// start-up texture, and drawing one frame of a half-full board, both when the board snapshot is
// rebuilt (a stone moved) and in the steady state (snapshot plus moving pieces).
#include <benchmark/benchmark.h>

#include <memory>

#include "AnimationHandler.h"
#include "BallGraphics.h"
#include "BlendMode.h"
#include "Gl.h"
#include "RenderHarness.h"
#include "Resources.h"

namespace {

// 40 stones on the 8 x 10 board, every colour.
void drawHalfFullBoard(BallGraphics& graphics) {
  for (int i = 0; i < 40; ++i) {
    const int square = (i * 37) % 80;
    graphics.drawStone(1 + i % 9, square % 8, square / 8, 1.0f, false);
  }
}

void drawHeader(BallGraphics& graphics, float score) {
  graphics.drawTimer(0.4f, 201, 15);
  graphics.drawNumber(score, 10000, 42.5f, 12.5f);
  graphics.drawNumber(3.0f, 100, 156.5f, 12.5f);
  for (int i = 0; i < 3; ++i) {
    graphics.drawStoneAtCoords(2 + i, ScreenPoint(303.0f - 14.0f * (i + 1), 12.0f), 0.57f, false, true, false, true);
  }
}

bool prepare(benchmark::State& state) {
  if (RenderHarness::instance() == nullptr) {
    state.SkipWithError(RenderHarness::failure().c_str());
    return false;
  }
  Resources::setDirectory(generatedResourceFolder());
  return true;
}

// Argument: the art scale (1x or 2x), the frame drawn at 320 x 480 times it.
void BM_BallGraphicsConstruction(benchmark::State& state) {
  if (!prepare(state)) return;
  const int scale = static_cast<int>(state.range(0));
  RenderHarness::instance()->setResolution(320 * scale, 480 * scale);
  for (auto _ : state) {
    BallGraphics graphics;
    gl.Finish();
    benchmark::DoNotOptimize(graphics.glowTexture.get());
  }
  RenderHarness::instance()->setResolution(320, 480);
}
BENCHMARK(BM_BallGraphicsConstruction)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_FrameHalfFullBoardRebuilt(benchmark::State& state) {
  if (!prepare(state)) return;
  BallGraphics graphics;
  graphics.drawBoard(false, 1.0f);
  for (auto _ : state) {
    RenderHarness::instance()->clear(0, 0, 0);
    graphics.drawBoard(false, 1.0f);
    drawHalfFullBoard(graphics);
    Texture snapshot(512, 512);  // the controller's snapshot of the resting stones
    drawHeader(graphics, 120.0f);
    gl.Finish();
  }
}
BENCHMARK(BM_FrameHalfFullBoardRebuilt)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_FrameHalfFullBoardSteady(benchmark::State& state) {
  if (!prepare(state)) return;
  BallGraphics graphics;
  RenderHarness::instance()->clear(0, 0, 0);
  graphics.drawBoard(false, 1.0f);
  drawHalfFullBoard(graphics);
  Texture snapshot(512, 512);
  AnimationInfo selected;
  selected.startTime = 0.0;
  selected.stone = 4;
  selected.active = true;
  selected.kind = ANIM_SELECTED;
  AnimationInfo path[4];
  for (int i = 0; i < 4; ++i) {
    path[i].startTime = 0.0;
    path[i].stone = 4;
    path[i].active = true;
    path[i].kind = ANIM_PATH_PREVIEW;
  }
  int frame = 0;
  for (auto _ : state) {
    const int now = 1000 + 16 * (frame++ % 100);
    graphics.setMoment(now, now);
    snapshot.drawToScreen(0.0f, -32.0f, Scaling(1.0f), BLEND_OPAQUE, false);
    drawHeader(graphics, 120.5f);  // a rolling score digit
    for (int i = 0; i < 4; ++i) {
      graphics.drawLightenedSquare(2 + i, 5);
      AnimationHandler::draw(graphics, path[i], 2 + i, 5, 0);
    }
    AnimationHandler::draw(graphics, selected, 1, 5, 4);
    gl.Finish();
  }
}
BENCHMARK(BM_FrameHalfFullBoardSteady)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
