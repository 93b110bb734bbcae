// The game's one delegate for the controls of every screen, and its holder. It ends name editing
// on Return, takes the high-score screen's segment action, and routes the answers of the "Game Mode
// Change" question and of the score-upload question. Created once by the first screen that
// hands it to a control; lives for the rest of the run. Main thread only.
#pragma once

#include <functional>

#include "AlertDelegate.h"
#include "TextFieldDelegate.h"

class GameScreens;
class HiScoresMenu;

namespace Ui {
class SegmentedControl;
}  // namespace Ui

class GameDelegate : public Ui::TextFieldDelegate, public Ui::AlertDelegate {
 public:
  bool textFieldShouldReturn(Ui::TextField& field) override;
  void alertClickedButtonAtIndex(Ui::Alert& alert, int buttonIndex) override;
  // The local/global control of the high-score screen.
  void localGlobalChange(Ui::SegmentedControl& control);

  HiScoresMenu* hiScoresMenu = nullptr;
  GameScreens* bg = nullptr;
  // The controller's answers to the "Game Mode Change" question: true for "OK".
  std::function<void(bool confirmed)> settingsAnswer;
};

class MenuDelegate {
 public:
  // Creates the delegate the first time; stores every non-null argument in it.
  static void initMyDelegateIfNeccessary(HiScoresMenu* hiScores, GameScreens* screens);

  static GameDelegate* myDelegate;
  static bool myDelegateInited;
};
