// GameScreens: the screens drawn over or instead of the board: the start screen, the game-menu
// strip below the board, the game menu with its About panel, the four instruction pages, the
// game-over screen, the name entry for a new high score and the "Game Mode Change" question. The controller calls the
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
  // The game menu's buttons from the top; without a game to resume the list starts at NEW_GAME.
  enum GameMenuEntry {
    MENU_RESUME,
    MENU_NEW_GAME,
    MENU_SETTINGS,
    MENU_HIGH_SCORES,
    MENU_INSTRUCTIONS,
    MENU_ABOUT,
    MENU_QUIT,
    GAME_MENU_ENTRIES,
  };
  // What the About panel tells: the version, and where the player's files are kept (an empty
  // folder or file: the game has nowhere to keep them). The shell knows them.
  struct AboutFacts {
    std::string version;
    std::string dataFolder;
    std::string preferencesFile;
  };
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
  // The game menu: GAME_MENU_ENTRIES buttons, or one fewer without "Resume Game".
  void drawGameMenu(int highlighted, bool canResume);
  void setAboutFacts(const AboutFacts& facts) { about = facts; }
  // Shows the About panel over the current screen; it leaves with its "OK".
  void showAbout();
  // The About panel's text.
  std::string aboutText() const;
  // One instruction page (1 to INSTRUCTION_PAGES); returns the top of its button. The third page
  // names the keys, and the buttons of the pad in use when there is one (see setGamepadStyle).
  int drawInstructions(int highlighted, int page);
  // The pad whose buttons the instructions name from the next frame on; NONE for the keys alone.
  void setGamepadStyle(GamepadStyle style) { padStyle = style; }
  GamepadStyle gamepadStyle() const { return padStyle; }
  // The keys' text of the special balls' page, with the buttons of the pad `style`.
  static std::string keysPageText(GamepadStyle style);
  void drawGameOver();
  // Opens the name entry for a new high score: the name field goes on screen with the focus,
  // holding `lastName` (the name entered last), or the account's name when there is none yet,
  // selected, so that typing replaces it and Return keeps it.
  void beginNameEntry(const std::string& lastName);
  // The name entry's picture; returns the top of its button.
  int drawNewHiScoreMenu(bool bottomHighlighted, int score);
  // The player's name as the system knows it (the shell reads it from the account), offered
  // when no name has been entered yet; empty for none.
  void setAccountName(const std::string& name) { accountName = name; }
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
  std::shared_ptr<Ui::Alert> aboutAlert;
  TexturePtr gameOverImage;

 private:
  ControlsDelegate* controlsDelegate = nullptr;
  std::string accountName;
  AboutFacts about;
  GamepadStyle padStyle = GamepadStyle::NONE;
  // The pad style the last page's text was made for while it is open.
  GamepadStyle shownPadStyle = GamepadStyle::NONE;
};
