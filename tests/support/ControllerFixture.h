// Drives a real GameController through its touch entry points and frame tick, on the offscreen GL
// context of the rendering harness, with a wall clock the test moves by hand and the game's
// files in a temporary folder that each test gets fresh. Used by the controller and menu tests.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "TempFolder.h"
#include "GameController.h"

class ControllerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Moves the fake wall clock.
  void advance(int ms);
  // The fake wall clock's reading, in ms.
  static int wallClockMs();
  // From now on every reading of the wall clock also moves it by `ms`, as time passes between
  // the readings of a slow machine (this test only).
  static void clockMovesOnEveryRead(int ms);
  // A controller on the live settings, this test's preferences and save-failure notice, the fake
  // wall clock and a fixed seed.
  std::unique_ptr<GameController> newGame(BallGraphics::Art art = BallGraphics::ALL_ART);
  // The live settings of the test process (their file is in a folder of their own).
  static Settings& liveSettings();
  // Screen pixel at the centre of square (x, y) of the current board.
  static int pixelX(int column, float squareSize = 39.0f);
  static int pixelY(int row, float squareSize = 39.0f);
  // A press and a release at the same point, a little apart in time.
  void tap(int x, int y);
  // Drag-and-drop of the ball on `from` to `to` at a player's pace.
  void dragBall(Square from, Square to);
  // An empty board in the game (no balls, three known pending balls), in play.
  void emptyBoardInPlay();
  void put(int x, int y, int colour);
  void frame() { game->drawBoard(); }

  std::unique_ptr<TempFolder> files;
  std::string folder;  // files' path
  std::string statePath() const { return folder + "/gameState.dat"; }
  std::string scoresPath() const { return folder + "/hiScores.dat"; }
  std::string preferencesPath() const { return folder + "/preferences"; }
  // The desktop preferences (the look), read from the test's folder when the test began.
  std::unique_ptr<Preferences> preferences;
  MyTl::SaveFailureNotice saveFailures;
  std::unique_ptr<GameController> game;
};
