// Keyboard play, mixed freely with the mouse. On the board a cursor picks up and drops balls
// through the same selection and move as the mouse; on the start and game-over screens and in
// the menus a key does what a click on the highlighted button does, through the same touch
// handlers, so every rule (sounds, saving, the mode-change question) stays in one place.
#include "DoubleClickHandler.h"
#include "Lock.h"
#include "MenuHitTesting.h"
#include "ScreenGeometry.h"
#include "Settings.h"
#include "Switch.h"
#include "TextField.h"
#include "TrelGame.h"

namespace {

using ScreenGeometry::CENTRE_X;
using ScreenGeometry::MENU_BUTTON_HEIGHT;
using ScreenGeometry::SCREEN_HEIGHT;

const int GAME_MENU_BUTTONS = 5;
const float VOLUME_STEP = 0.1f;

// The settings screen's controls in the order Up, Down and Tab visit them.
enum SettingsFocus { FOCUS_MODE, FOCUS_CLOCK, FOCUS_TWO_TAP, FOCUS_VOLUME, FOCUS_DONE, FOCUS_COUNT };

struct FocusFrame {
  float x, y, width, height;
};

// The frame around a switch centred at (x, y).
FocusFrame switchFrame(int x, int y) {
  using namespace ScreenGeometry;
  return {static_cast<float>(x - SWITCH_WIDTH / 2), static_cast<float>(y - SWITCH_HEIGHT / 2),
          static_cast<float>(SWITCH_WIDTH), static_cast<float>(SWITCH_HEIGHT)};
}

// Where the focus ring goes around each control (the Done button shows its own highlight).
const FocusFrame FOCUS_FRAMES[FOCUS_DONE] = {
    {36.0f, 122.0f, 248.0f, 114.0f},  // the four mode columns with their labels
    switchFrame(ScreenGeometry::SWITCH_CENTRE_X, ScreenGeometry::CLOCK_SWITCH_CENTRE_Y),
    switchFrame(ScreenGeometry::SWITCH_CENTRE_X, ScreenGeometry::TWO_TAP_SWITCH_CENTRE_Y),
    // The slider's bar, 220 x 36 around its centre line.
    {static_cast<float>(CENTRE_X) - 110.0f, ScreenGeometry::VOLUME_SLIDER_Y - 18.0f, 220.0f, 36.0f},
};

// Centre y of button `index` of the game menu's column.
int gameMenuButtonCentre(int index) {
  return ScreenGeometry::buttonColumnTop(GAME_MENU_BUTTONS) + MENU_BUTTON_HEIGHT * index + MENU_BUTTON_HEIGHT / 2;
}

}  // namespace

void TrelGame::hideKeyboardCursor() { keyboardCursor.visible = false; }

void TrelGame::clickAt(int x, int y) {
  handleMouseDown(x, y);
  handleMouseUp(x, y);
}

void TrelGame::handleKey(GameKey key) {
  MyTl::Lock lock(gameMutex);
  pictureChanged = true;
  clock.refresh();
  switch (gameState) {
    case STATE_PLAYING:
      handleBoardKey(key);
      break;
    case STATE_SPLASH:
    case STATE_GAME_OVER:
      if (key == GameKey::ACTIVATE) clickAt(CENTRE_X, SCREEN_HEIGHT / 2);
      break;
    case STATE_GAME_MENU:
      if (key == GameKey::ACTIVATE && pressedButton >= 0 && pressedButton < GAME_MENU_BUTTONS) {
        clickAt(CENTRE_X, gameMenuButtonCentre(pressedButton));
      } else if (key == GameKey::BACK) {
        clickAt(CENTRE_X, gameMenuButtonCentre(0));  // "Resume Game"
      } else {
        moveButtonHighlight(key, GAME_MENU_BUTTONS);
      }
      break;
    case STATE_INSTRUCTIONS:
    case STATE_HISCORES:
    case STATE_NEW_HISCORE: {
      // One button each; Return presses it whether highlighted or not.
      const int button = gameState == STATE_INSTRUCTIONS ? 0 : 1;
      const bool press = key == GameKey::ACTIVATE || (key == GameKey::BACK && gameState == STATE_HISCORES);
      if (press && menuButtonTop != -1) {
        clickAt(CENTRE_X, menuButtonTop + MENU_BUTTON_HEIGHT / 2);
      } else if (key == GameKey::BACK && gameState == STATE_INSTRUCTIONS) {
        switchGameState(previousState);
      } else if (key == GameKey::UP || key == GameKey::DOWN || key == GameKey::NEXT) {
        // On the name entry the keys first go to the name field (Return then ends the
        // editing, and a second Return presses "Okay"); elsewhere they light the button.
        if (gameState == STATE_NEW_HISCORE && screens.nameField && !screens.nameField->isEditing() &&
            screens.nameField->becomeFirstResponder()) {
          pressedButton = -1;
        } else {
          pressedButton = button;
        }
      }
      // Escape on the name entry does nothing: the score is kept only through "Okay".
      break;
    }
    case STATE_SETTINGS:
      handleSettingsKey(key);
      break;
    default:
      break;
  }
}

void TrelGame::moveButtonHighlight(GameKey key, int count) {
  if (key == GameKey::UP) {
    pressedButton = pressedButton <= 0 ? count - 1 : pressedButton - 1;
  } else if (key == GameKey::DOWN || key == GameKey::NEXT) {
    pressedButton = pressedButton < 0 || pressedButton >= count - 1 ? 0 : pressedButton + 1;
  }
}

void TrelGame::handleBoardKey(GameKey key) {
  keyboardCursor.visible = true;
  keyboardCursor.clampTo(board.width, board.height);
  const bool ballSelected = board.selected.x != -1;
  switch (key) {
    case GameKey::UP:
    case GameKey::DOWN:
    case GameKey::LEFT:
    case GameKey::RIGHT: {
      const int dx = key == GameKey::LEFT ? -1 : (key == GameKey::RIGHT ? 1 : 0);
      const int dy = key == GameKey::UP ? -1 : (key == GameKey::DOWN ? 1 : 0);
      keyboardCursor.moveBy(dx, dy, board.width, board.height);
      // With a ball picked up, the cursor is its target: path and drop preview follow it.
      if (ballSelected) {
        Square target = keyboardCursor.square();
        setCurrentMouseSquare(target);
      }
      board.dirty = true;
      break;
    }
    case GameKey::ACTIVATE: {
      Square c = keyboardCursor.square();
      if (board.stoneAt(c) != SQUARE_EMPTY) {
        if (c == board.selected) {
          // The picked-up ball itself: put it back.
          deselectAsBadMove(false);
          break;
        }
        // Pick up this ball (or this one instead of the one picked up before), as a first tap.
        if (board.isInBoard(board.selected)) board.animations[board.selected.y][board.selected.x].active = false;
        board.selected = c;
        board.calculateReachabilities();
        sounds.playMoveSound();
        startSelectionAnimation(c);
        awaitingFirstTap = false;
        currentMouseSquare = Square();
        board.dirty = true;
      } else if (ballSelected) {
        if (board.reachability[c.y][c.x].distance == -1) {
          // Out of reach: say so and keep the ball picked up.
          sounds.playBadMoveSound();
          break;
        }
        makeMove(c);
        if (board.isInBoard(board.selected)) board.animations[board.selected.y][board.selected.x].active = false;
        board.selected = Square();
        board.dirty = true;
        awaitingFirstTap = true;
        currentMouseSquare = Square();
      }
      break;
    }
    case GameKey::BACK:
      if (ballSelected) {
        deselectAsBadMove(false);
      } else {
        menuStripTaps.reset();
        switchGameState(STATE_GAME_MENU);
      }
      break;
    default:
      break;
  }
}

void TrelGame::handleSettingsKey(GameKey key) {
  switch (key) {
    case GameKey::UP:
      settingsFocus = settingsFocus <= 0 ? FOCUS_COUNT - 1 : settingsFocus - 1;
      break;
    case GameKey::DOWN:
    case GameKey::NEXT:
      settingsFocus = settingsFocus < 0 || settingsFocus >= FOCUS_COUNT - 1 ? 0 : settingsFocus + 1;
      break;
    case GameKey::LEFT:
    case GameKey::RIGHT: {
      const int step = key == GameKey::LEFT ? -1 : 1;
      if (settingsFocus == FOCUS_MODE) {
        const int mode = settings.gameMode >= 0 && settings.gameMode < 4 ? settings.gameMode : 0;
        int position = Settings::mapSettingsIdsToDisplayPositions[mode] + step;
        position = position < 0 ? 0 : (position > 3 ? 3 : position);
        settings.gameMode = Settings::mapDisplayPositionsToSettingsIds[position];
      } else if (settingsFocus == FOCUS_VOLUME) {
        float volume = settings.volume + VOLUME_STEP * static_cast<float>(step);
        settings.volume = volume < 0.0f ? 0.0f : (volume > 1.0f ? 1.0f : volume);
        sounds.playMoveSound();
      } else if (settingsFocus == FOCUS_CLOCK || settingsFocus == FOCUS_TWO_TAP) {
        const std::shared_ptr<Ui::Switch>& control =
            settingsFocus == FOCUS_CLOCK ? settingsMenu.clockSwitch : settingsMenu.twoTapSwitch;
        if (control) control->setOn(step > 0, true);
      }
      break;
    }
    case GameKey::ACTIVATE:
      if (settingsFocus == FOCUS_CLOCK || settingsFocus == FOCUS_TWO_TAP) {
        const std::shared_ptr<Ui::Switch>& control =
            settingsFocus == FOCUS_CLOCK ? settingsMenu.clockSwitch : settingsMenu.twoTapSwitch;
        if (control) control->setOn(!control->isOn(), true);
        break;
      }
      if (settingsFocus != FOCUS_DONE) break;
      [[fallthrough]];
    case GameKey::BACK:
      // "Done": apply the settings, or ask first when the mode change would end a game.
      if (menuButtonTop != -1) clickAt(CENTRE_X, menuButtonTop + MENU_BUTTON_HEIGHT / 2);
      return;
  }
  pressedButton = settingsFocus == FOCUS_DONE ? 1 : -1;
}

void TrelGame::drawKeyboardFocus() {
  if (gameState == STATE_PLAYING && keyboardCursor.visible) {
    keyboardCursor.clampTo(board.width, board.height);
    keyboardCursor.drawOnBoard(ScreenGeometry::boardScale(board.width));
  } else if (gameState == STATE_SETTINGS && settingsFocus >= 0 && settingsFocus < FOCUS_DONE) {
    const FocusFrame& frame = FOCUS_FRAMES[settingsFocus];
    keyboardCursor.drawAround(frame.x, frame.y, frame.width, frame.height);
  }
}
