// Placeholder of the high-score screen; the menu screens fill it in.
#include "HiScoresMenu.h"

int HiScoresMenu::drawHighScoresMenu(GameScreens&, bool, HiScore*, HiScore*, int) { return -1; }

void HiScoresMenu::finishedShowingHighScores(HiScores&) {}
