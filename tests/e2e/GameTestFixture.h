// The common ground of the end-to-end tests: a GameSession, the game's files laid out before
// launch, and the player's gestures on the real game (leaving the start screen, dragging a ball,
// the click for the game menu, answering alerts, typing a name). Each test derives from it;
// the fixture owns the session and with it the game process and its data folder.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "AlertOnScreen.h"
#include "GameSession.h"
#include "SavedFiles.h"
#include "ScreenLayout.h"

class GameTestFixture : public ::testing::Test {
 protected:
  // Skips the test when no virtual X server can be started.
  void SetUp() override;
  // Saves a last picture of the screen when the test failed and pictures are asked for.
  void TearDown() override;

  // Writes settings.dat and, when not empty, gameState.dat and hiScores.dat, launches the game
  // and waits for its first frame. Fails the test (fatally) when the game does not come up.
  void launchWith(const std::vector<uint8_t>& settings, const std::vector<uint8_t>& game,
                  const std::vector<uint8_t>& hiScores = {});
  // Waits until the freshly started game has finished starting (its window carries its icon)
  // and moves the pointer into the window.
  void waitUntilReadyForInput();
  // Taps the start screen and waits until play shows.
  void leaveStartScreen();
  // Drags the ball on square (fromX, fromY) to (toX, toY) and waits for the move to play out.
  void dragBall(int fromX, int fromY, int toX, int toY);
  // The click on the strip below the board.
  void openGameMenu();
  void chooseFromGameMenu(ScreenLayout::GameMenuButton button);
  // Sends `gesture` and waits until the screen shows the game's answer (any change from the
  // picture before it), then for the picture to come to rest. False when nothing changed within
  // `timeoutMs` (scaled).
  bool answered(const std::function<void()>& gesture, int timeoutMs = 5000);
  // A key pressed as such a gesture; false when it could not be typed or changed nothing.
  bool keyAnswered(unsigned long keysym);
  // After the move that fills the board: waits until the end screens (name entry or game over)
  // replace the full board, and returns the full board as it was.
  ScreenImage waitForTheEndScreens();
  // Waits up to `timeoutMs` for an alert; an empty result when none came.
  AlertOnScreen waitForAlert(int timeoutMs);
  // Whether an alert stays away for `ms`.
  bool noAlertFor(int ms);
  // Whether an answered alert leaves the screen (on a busy machine the key or click takes a
  // moment to arrive) and then stays away for `ms`.
  bool alertGoneFor(int ms);
  void clickButton(const PixelRect& button);
  // Types `name` into the name entry (in place of the name it offers) and confirms it with one
  // Return, as a player who just starts typing would.
  void enterName(const std::string& name);
  // Waits a while for the game's picture to come to rest after a gesture.
  void settle();
  // Closes the window and expects a normal exit.
  void closeAndExpectNormalExit();

  std::string dataFile(const std::string& name) const { return session.dataFolder() + "/" + name; }
  std::vector<uint8_t> dataBytes(const std::string& name) const { return readBytes(dataFile(name)); }
  // A file name for saveScreenshot: the test's name and `step`.
  std::string shotName(const std::string& step) const;

  GameSession session;
};
