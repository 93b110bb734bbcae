// GameScreens: the screens drawn over the board: the start screen, the menu strip below the
// board, the game menu, the instructions, the game-over screen, the name entry and the
// "Game Mode Change" question. Placeholder until the menu screens are built: every screen
// draws nothing and returns no button, but the controller already calls each where it goes.
#pragma once

#include "String.h"

class BallGraphics;

class GameScreens {
 public:
  explicit GameScreens(BallGraphics& renderer);

  void drawSplashScreen(bool pressed);
  // The strip below the board that asks for a double tap to open the game menu.
  void drawMenuButton(bool pressed, bool nineRows);
  void drawGameMenu(int pressedButton, bool showAll);
  // The screens with one button return that button's top (-1 while not built).
  int drawInstructions(int pressedButton, int page);
  void drawGameOver();
  int drawNewHiScoreMenu(bool buttonHighlighted, const char* lastName, int score);
  MyTl::BasicString<char> getNameEnteredForNewHiScore();
  void checkForClickInTextArea(int x, int y, bool pressed);
  void drawSettingsAlertMenu();
  // Called after every frame: removes the views queued for removal.
  void doneDrawing();

  // Set on every game-state switch: the next screen draw rebuilds its textures.
  bool justSwitchedMenu = true;

 private:
  BallGraphics& graphics;
};
