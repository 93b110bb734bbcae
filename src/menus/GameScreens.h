// GameScreens: the screens drawn over or instead of the board: the start screen, the game-menu
// strip below the board, the game menu, the four instruction pages, the game-over screen, the
// name entry for a new high score and the "Game Mode Change" question. The controller calls the
// screen of its current state every frame with the highlight the touch code tracks; the touch
// code decides what a tap does. Owned by the controller; main thread only.
#pragma once

#include <memory>
#include <string>

#include "GamepadStyle.h"
#include "MenuCommon.h"
#include "String.h"

class BallGraphics;
class ControlsDelegate;

namespace Ui {
class Alert;
class TextField;
}  // namespace Ui

class GameScreens : public MenuCommon {
 public:
  // The instruction pages: the rules, moving, the special balls and the keys, the game clock with
  // scoring and levels.
  static constexpr int INSTRUCTION_PAGES = 4;

  explicit GameScreens(BallGraphics& renderer);
  ~GameScreens() override;

  // "Default.png" with the bar under it ("Click to continue" when a saved game goes on, see
  // BallGraphics::setStartBarContinues).
  void drawSplashScreen(bool pressed);
  // The open menu's textures and the game-over picture made again at the new art scale.
  void followArtScale() override;
  // The strip below the board that asks for a double click to open the game menu.
  void drawMenuButton(bool highlighted, bool lowered);
  // The game menu: five buttons, or four without "Resume Game".
  void drawGameMenu(int highlighted, bool canResume);
  // One instruction page (1 to INSTRUCTION_PAGES); returns the top of its button. The third page
  // names the keys, and the buttons of the pad in use when there is one (see setGamepadStyle).
  int drawInstructions(int highlighted, int page);
  // The pad whose buttons the instructions name from the next frame on; NONE for the keys alone.
  void setGamepadStyle(GamepadStyle style) { padStyle = style; }
  GamepadStyle gamepadStyle() const { return padStyle; }
  // The keys' text of the special balls' page, with the buttons of the pad `style`.
  static std::string keysPageText(GamepadStyle style);
  void drawGameOver();
  // The name entry for a new high score; returns the top of its button.
  int drawNewHiScoreMenu(bool bottomHighlighted, const char* defaultName, int score);
  // Ends editing, takes the name field off the screen and returns its text (possibly empty).
  MyTl::BasicString<char> getNameEnteredForNewHiScore();
  // Shows the "Game Mode Change" question (once per switch to the confirmation state).
  void drawSettingsAlertMenu();
  // Tells the player that a file could not be saved in `folder` and why; play goes on.
  void showSaveFailure(const std::string& folder, const std::string& reason);

  // Page-1 animation frame shown at clock time `nowMs`.
  static int instructionsAnimationFrame(int nowMs);
  // The clock time after `nowMs` at which the page-1 animation shows its next frame.
  static int nextInstructionsAnimationChange(int nowMs);

  // The delegate of the controls these screens make (the name field, the questions); it
  // outlives them. None at first: the controls then answer nobody.
  void setControlsDelegate(ControlsDelegate* delegate) { controlsDelegate = delegate; }
  ControlsDelegate* delegateOfControls() const { return controlsDelegate; }

  // Shared with the settings and high-score screens, which draw stones through it.
  BallGraphics& graphics;
  std::shared_ptr<Ui::TextField> nameField;
  std::shared_ptr<Ui::Alert> settingsAlert;
  // The question whether to submit a new score to the global table.
  std::shared_ptr<Ui::Alert> uploadAlert;
  std::shared_ptr<Ui::Alert> saveFailureAlert;
  TexturePtr gameOverImage;

 private:
  ControlsDelegate* controlsDelegate = nullptr;
  GamepadStyle padStyle = GamepadStyle::NONE;
  // The pad style the last page's text was made for while it is open.
  GamepadStyle shownPadStyle = GamepadStyle::NONE;
};
