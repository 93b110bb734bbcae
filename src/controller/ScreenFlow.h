// ScreenFlow: which screen is shown and the two before it, the button of that screen shown
// pressed or highlighted, the instructions page, the settings screen's keyboard focus and volume
// drag, and the moment a full board began its last pause. The controller owns one and changes it
// from input, actions and state switches; drawing only reads it.
#pragma once

#include "GameStates.h"

class ScreenFlow : public GameStates {
 public:
  GameState current() const { return shown; }
  // The screen before the current one, and the one before that (the mode-change alert's cancel
  // returns past the settings screen to it).
  GameState previous() const { return shownBefore; }
  GameState twoBack() const { return shownTwoBack; }
  // Shows `next`: the screens before it move one step back and the keyboard's focus goes.
  void goTo(GameState next);

  // The button of the current screen drawn pressed (by a press or the keyboard's highlight);
  // -1 for none.
  int pressedButton() const { return pressed; }
  void press(int button) { pressed = button; }
  void release() { pressed = -1; }
  // The keyboard's highlight one button up or down among `count`, wrapping around; from none,
  // up starts at the last and down at the first.
  void highlightPrevious(int count) { pressed = pressed <= 0 ? count - 1 : pressed - 1; }
  void highlightNext(int count) { pressed = pressed < 0 || pressed >= count - 1 ? 0 : pressed + 1; }

  // The instructions page on screen, 1 to GameScreens::INSTRUCTION_PAGES.
  int instructionsPage() const { return page; }
  void openInstructions() { page = 1; }
  // Turns to the next page; false on the last one.
  bool turnInstructionsPage();

  // The settings screen's control under the keyboard's focus (SettingsFocus), -1 for none;
  // moves among `count` controls like the highlight.
  int settingsFocus() const { return focus; }
  void focusPrevious(int count) { focus = focus <= 0 ? count - 1 : focus - 1; }
  void focusNext(int count) { focus = focus < 0 || focus >= count - 1 ? 0 : focus + 1; }

  // The high-score screen's local/global control has the keyboard's focus (its "Back" button
  // has it when highlighted instead).
  bool scoresViewFocused() const { return viewFocus; }
  void focusScoresView(bool focused) { viewFocus = focused; }

  // The volume knob follows the pointer between its press and release.
  bool draggingVolume() const { return volumeDrag; }
  void setDraggingVolume(bool dragging) { volumeDrag = dragging; }

  // Leaving the high-score screen starts a new game (the game it followed has ended).
  bool newGameAfterHiScores() const { return newGameAfter; }
  void setNewGameAfterHiScores(bool newGame) { newGameAfter = newGame; }

  // When the full board's pause began (game time in ms); -1 before any game ended.
  int gameEndingSinceMs() const { return endingSince; }
  void markGameEnding(int nowMs) { endingSince = nowMs; }

 private:
  GameState shown = STATE_SPLASH;
  GameState shownBefore = STATE_SPLASH;
  GameState shownTwoBack = STATE_SPLASH;
  int pressed = -1;
  int page = 1;
  int focus = -1;
  bool viewFocus = false;
  bool volumeDrag = false;
  bool newGameAfter = false;
  int endingSince = -1;
};
