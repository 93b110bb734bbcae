// HiScoresMenu: the high-score screen. Placeholder until the menu screens are built: it draws
// nothing and returns no button, but the controller already calls it where the screen goes.
#pragma once

class GameScreens;
class HiScores;
struct HiScore;

class HiScoresMenu {
 public:
  // Draws the table; returns the top of its button (-1 while the screen is not built).
  int drawHighScoresMenu(GameScreens& screens, bool buttonHighlighted, HiScore* lastAdded, HiScore* firstEntry,
                         int tableIndex);
  // Called when the controller leaves the screen.
  void finishedShowingHighScores(HiScores& scores);
};
