// ControlsDelegate: the delegate of the controls that the screens put over the frame. It takes
// Return in the name field as confirming the name, takes the high-score screen's local/global action, and routes the
// answers of the "Game Mode Change" question and of the score-upload question. The controller
// owns the one instance and hands it to its screens; the controls keep a plain pointer to it, so
// it lives as long as the screens that made them. Main thread only.
#pragma once

#include <functional>

#include "AlertDelegate.h"
#include "TextFieldDelegate.h"

class GameScreens;
class HiScoresMenu;

namespace Ui {
class SegmentedControl;
}  // namespace Ui

class ControlsDelegate : public Ui::TextFieldDelegate, public Ui::AlertDelegate {
 public:
  bool textFieldShouldReturn(Ui::TextField& field) override;
  void alertClickedButtonAtIndex(Ui::Alert& alert, int buttonIndex) override;
  // The local/global control of the high-score screen.
  void localGlobalChange(Ui::SegmentedControl& control);

  // Where the answers go; set by the controller, which owns all three.
  HiScoresMenu* hiScoresMenu = nullptr;
  GameScreens* screens = nullptr;
  // The controller's answers to the "Game Mode Change" question: true for changing the mode.
  std::function<void(bool confirmed)> settingsAnswer;
  // Return in the name field of the name entry: the controller takes the name as the button
  // under the field would.
  std::function<void()> nameConfirmed;
};
