// Placeholder of the screens over the board; the menu screens fill it in.
#include "GameScreens.h"

GameScreens::GameScreens(BallGraphics& renderer) : graphics(renderer) {}

void GameScreens::drawSplashScreen(bool) {}
void GameScreens::drawMenuButton(bool, bool) {}
void GameScreens::drawGameMenu(int, bool) {}
int GameScreens::drawInstructions(int, int) { return -1; }
void GameScreens::drawGameOver() {}
int GameScreens::drawNewHiScoreMenu(bool, const char*, int) { return -1; }
MyTl::BasicString<char> GameScreens::getNameEnteredForNewHiScore() { return MyTl::BasicString<char>(); }
void GameScreens::checkForClickInTextArea(int, int, bool) {}
void GameScreens::drawSettingsAlertMenu() {}
void GameScreens::doneDrawing() {}
