// The start, game-menu, instruction, game-over, name-entry and mode-change screens.
#include "GameScreens.h"

#include <string>

#include "Alert.h"
#include "BallGraphics.h"
#include "BlendMode.h"
#include "ControlsDelegate.h"
#include "ScreenGeometry.h"
#include "Stone.h"
#include "TextField.h"

namespace {

const Scaling UNSCALED(1.0f, 1.0f);
using ScreenGeometry::CENTRE_X;
using ScreenGeometry::SCREEN_HEIGHT;
const int ANIMATION_FRAMES = 16;
const int ANIMATION_CELL = 98;

// Shown in the empty name field (which has the focus: typing goes straight in).
const char* const NAME_PLACEHOLDER = "Type your name";

// The question before a change of mode ends the game in progress.
const char* const MODE_CHANGE_TITLE = "Game Mode Change";
const char* const MODE_CHANGE_MESSAGE =
    "A new game mode starts a new game: the game in progress ends. If its score earns a place, "
    "you can enter it in the high scores first.";
const char* const MODE_CHANGE_KEEP = "Keep Playing";
const char* const MODE_CHANGE_CONFIRM = "Change Mode";

// The images of the game menu's buttons, in GameMenuEntry order.
const char* const GAME_MENU_IMAGES[] = {"ResumeGame", "NewGame", "GameSettings", "HighScores", "Instructions", "About", "Quit"};
static_assert(sizeof(GAME_MENU_IMAGES) / sizeof(GAME_MENU_IMAGES[0]) == GameScreens::GAME_MENU_ENTRIES);

// The About panel.
const char* const ABOUT_TITLE = "About Pellix";
const char* const ABOUT_VERSION = "Version %s";
const char* const ABOUT_DESCRIPTION = "A five-in-a-row ball puzzle.";
const char* const ABOUT_DATA_FOLDER = "Your game, settings and high scores are kept in %s";
const char* const ABOUT_PREFERENCES = "Your preferences (the look, the score server) are kept in %s";
const char* const ABOUT_NOWHERE = "This session has no folder to keep your game in: nothing is saved.";
const char* const ABOUT_OK = "OK";

// `pattern` with its one "%s" replaced by `value`.
std::string filledIn(const char* pattern, const std::string& value) {
  std::string text = pattern;
  const size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, value);
  return text;
}

const char* const INSTRUCTION_TEXTS[] = {
    "Drag+drop balls, to move five of the same colour in a row, causing them to be removed from the board.\n\n"
    "After each move, more balls will appear on the board (except after completion of a row).\n\n"
    "The goal is to survive as long as possible before the board is full of balls",
    "To perform a move, press the mouse button on a ball, hold it down, move it to a destination square, and then "
    "let go.\n\nTo deselect an already selected ball, sweep the mouse quickly across the board while holding the "
    "button, and let go.",
    "Rainbow balls work as any color, and can thus be used to complete multiple rows at once.\n\n\n"
    "Bomb balls also work as any color like rainbow stones, plus they remove all stones of the same color(s) from "
    "the board.\n\nKeyboard: arrows, Space, Escape.",
};

// The pad's line under the keyboard's: how to move, act (as Space), go back (as Escape) and
// open the menu, in the words printed on the pad.
const char* padLine(GamepadStyle style) {
  switch (style) {
    case GamepadStyle::XBOX: return "Gamepad: d-pad or stick, A, B, Start.";
    case GamepadStyle::PLAYSTATION: return "Gamepad: d-pad or stick, Cross, Circle, Options.";
    case GamepadStyle::NINTENDO: return "Gamepad: d-pad or stick, A, B, +.";
    case GamepadStyle::NINTENDO_BY_POSITION: return "Gamepad: d-pad or stick, B, A, +.";
    case GamepadStyle::NONE: break;
  }
  return nullptr;
}

void draw(Texture* texture, float x, float y, int blendMode = BLEND_PREMULTIPLIED) {
  if (texture != nullptr) texture->drawToScreen(x, y, UNSCALED, blendMode, true);
}

}  // namespace

GameScreens::GameScreens(BallGraphics& renderer)
    : MenuCommon(renderer.menuDivider), graphics(renderer) {}

GameScreens::~GameScreens() = default;

void GameScreens::drawSplashScreen(bool) {
  draw(graphics.splashTexture.get(), 0, 0, BLEND_OPAQUE);
  draw(graphics.tapToStartAGameTexture.get(), 0, ScreenGeometry::MENU_STRIP_TOP);
}

void GameScreens::drawMenuButton(bool highlighted, bool lowered) {
  if (lowered) {
    Texture* bar = highlighted ? graphics.compactGameMenuBarPressedTexture.get() : graphics.compactGameMenuBarTexture.get();
    draw(bar, 0, static_cast<float>(ScreenGeometry::MENU_STRIP_TOP_LOWERED));
    return;
  }
  Texture* bar = highlighted ? graphics.doubleTapForGameMenuPressedTexture.get() : graphics.doubleTapForGameMenuTexture.get();
  draw(bar, 0, static_cast<float>(ScreenGeometry::MENU_STRIP_TOP));
}

void GameScreens::drawGameMenu(int highlighted, bool canResume) {
  const int buttons = canResume ? GAME_MENU_ENTRIES : GAME_MENU_ENTRIES - 1;
  const int firstEntry = canResume ? 0 : 1;
  draw(overlay(), 0, 0);
  const bool firstDraw = justSwitched();
  if (firstDraw) popBackground.reset(createMenuFrame(ScreenGeometry::MENU_BUTTON_HEIGHT * buttons + 50, 0));
  const int top = (SCREEN_HEIGHT - popBackground->height) / 2;
  popBackground->drawToScreenCenteredOnXAxis(CENTRE_X, static_cast<float>(top), UNSCALED, BLEND_PREMULTIPLIED, true);
  int y = top + 25;
  for (int i = 0; i < buttons; ++i) {
    if (firstDraw) menuButtons[i] = MenuButton(GAME_MENU_IMAGES[firstEntry + i], this);
    if (i > 0) {
      menuDivider->drawToScreenCenteredOnXAxis(CENTRE_X, static_cast<float>(y), UNSCALED, BLEND_PREMULTIPLIED, true);
      y += 1;
    }
    MenuCommon::drawMenuButton(i, highlighted, y);
  }
}

int GameScreens::instructionsAnimationFrame(int nowMs) {
  // Each group of four frames shows its first for 2.55 s and the others for 150 ms each.
  const int group = nowMs / 3000;
  const int withinGroup = nowMs % 3000;
  const int step = withinGroup < 2550 ? 0 : (withinGroup - 2400) / 150;
  return (4 * group + step) % ANIMATION_FRAMES;
}

int GameScreens::nextInstructionsAnimationChange(int nowMs) {
  // Frames change 2550, 2700 and 2850 ms into each 3 s group and at the start of the next.
  const int groupStart = nowMs - nowMs % 3000;
  const int withinGroup = nowMs % 3000;
  if (withinGroup < 2550) return groupStart + 2550;
  return groupStart + 2550 + ((withinGroup - 2400) / 150) * 150;
}

int GameScreens::drawInstructions(int highlighted, int page) {
  const bool firstDraw = justSwitched();
  const ScreenGeometry::ButtonPanel& panel = ScreenGeometry::INSTRUCTIONS_PANEL;
  if (firstDraw) popBackground.reset(createMenuFrame(panel.height, panel.widen));
  const char* names[] = {"Instructions", page == 3 ? "Close" : "Next"};
  const int buttonTop = drawMenuWithTopAndBottomButtons(firstDraw, names, highlighted == 0, panel.yOffset);

  if (page == 1) {
    if (firstDraw) {
      menuTexts[0] = addMenuTexture(new Texture(INSTRUCTION_TEXTS[0], 210, 256, Texture::ALIGN_CENTER, "Helvetica", 12, 1.0f, false));
      int stripWidth = 0, stripHeight = 0;
      Bitmap strip("Instructions-Page1Animation_1568x98-16.png", &stripWidth, &stripHeight, 1.0f);
      // Cells in the strip's own pixels (the art scale's).
      const int unit = strip.scale;
      const int cellPixels = ANIMATION_CELL * unit;
      for (int k = 0; k < ANIMATION_FRAMES; ++k) {
        Bitmap* cell = new Bitmap(128 * unit, 128 * unit);
        cell->scale = unit;
        for (int y = 0; y < cellPixels && y < strip.h; ++y)
          for (int x = 0; x < cellPixels && cellPixels * k + x < strip.w; ++x)
            cell->putPixel(x, y, strip.getPixel(cellPixels * k + x, y));
        Texture* frame = new Texture();
        frame->init(cell);
        menuTexts[2 + k] = addMenuTexture(frame);
      }
    }
    draw(menuTexts[0], 55, 216);
    draw(menuTexts[2 + instructionsAnimationFrame(graphics.momentMs())], 111, 111);
  } else if (page == 2) {
    if (firstDraw) {
      menuTexts[0] = addMenuTexture(new Texture(INSTRUCTION_TEXTS[1], 200, 256, Texture::ALIGN_CENTER, "Helvetica", 12, 1.0f, false));
      menuTexts[1] = addMenuTexture(new Texture("InstructionsPage3_220x135.png", 1.0f, false));
    }
    menuTexts[1]->drawToScreenCenteredOnXAxis(CENTRE_X, 114, UNSCALED, BLEND_PREMULTIPLIED, true);
    draw(menuTexts[0], 60, 261);
  } else {
    // Made again when another kind of pad is picked up while the page is open.
    if (firstDraw || shownPadStyle != padStyle) {
      menuTexts[0] = addMenuTexture(
          new Texture(keysPageText(padStyle).c_str(), 123, 256, Texture::ALIGN_LEFT, "Helvetica", 12, 1.0f, false));
      shownPadStyle = padStyle;
    }
    draw(menuTexts[0], 131, 130);
    graphics.drawStoneAtCoords(STONE_RAINBOW, ScreenPoint(63, 132), 1.5f, false, true, true, true);
    graphics.drawStoneAtCoords(STONE_BOMB, ScreenPoint(63, 238), 1.5f, false, true, true, true);
  }
  return buttonTop;
}

std::string GameScreens::keysPageText(GamepadStyle style) {
  std::string text = INSTRUCTION_TEXTS[2];
  if (const char* line = padLine(style)) text = text + "\n" + line;
  return text;
}

void GameScreens::drawGameOver() {
  draw(overlay(), 0, 0);
  if (!gameOverImage) gameOverImage.reset(new Texture("GameOver_320x480.png", 1.0f, false));
  gameOverImage->drawToScreenCenteredAt(CENTRE_X, 240, UNSCALED, BLEND_PREMULTIPLIED, true);
  Texture* bar = graphics.tapToStartNewGameTexture.get();
  if (bar != nullptr) bar->drawToScreenCenteredOnXAxis(CENTRE_X, ScreenGeometry::MENU_STRIP_TOP, UNSCALED, BLEND_PREMULTIPLIED, true);
}

void GameScreens::followArtScale() {
  MenuCommon::followArtScale();
  if (gameOverImage) gameOverImage->remake();
}

void GameScreens::beginNameEntry(const std::string& lastName) {
  if (!nameField) {
    nameField = std::make_shared<Ui::TextField>(Ui::ViewRect(77, 235, 166, 28));
    nameField->setDelegate(controlsDelegate);
    nameField->setBackgroundColour(Ui::ViewColour::white(0.0f, 0.9f));
    nameField->setTextColour(Ui::ViewColour::white(1.0f, 1.0f));
    nameField->setFont("Helvetica", 15);
    nameField->setBorderStyle(Ui::TextField::BORDER_BEZEL);
    nameField->setPlaceholder(NAME_PLACEHOLDER);
  }
  nameField->setText(lastName.empty() ? accountName : lastName);
  if (!parent) return;
  parent->addSubview(nameField);
  if (nameField->becomeFirstResponder()) nameField->selectAll();
}

int GameScreens::drawNewHiScoreMenu(bool bottomHighlighted, int score) {
  const bool firstDraw = justSwitched();
  const ScreenGeometry::ButtonPanel& panel = ScreenGeometry::NAME_ENTRY_PANEL;
  if (firstDraw) popBackground.reset(createMenuFrame(panel.height, panel.widen));
  const char* names[] = {"WellDone", "Okay"};
  const int buttonTop = drawMenuWithTopAndBottomButtons(firstDraw, names, bottomHighlighted, panel.yOffset);
  if (firstDraw) {
    const std::string text =
        "You scored " + std::to_string(score) + "! Enter your name for the high scores:";
    menuTexts[0] = addMenuTexture(new Texture(text.c_str(), 160, 75, Texture::ALIGN_LEFT, "Helvetica", 14, 1.0f, false));
  }
  draw(menuTexts[0], static_cast<float>((354 - menuDivider->width) / 2),
       static_cast<float>((SCREEN_HEIGHT - popBackground->height) / 2 + 88));
  return buttonTop;
}

MyTl::BasicString<char> GameScreens::getNameEnteredForNewHiScore() {
  if (!nameField) return MyTl::BasicString<char>();
  nameField->endEditing();
  nameField->removeFromSuperview();
  const std::string& text = nameField->text();
  return MyTl::BasicString<char>(text.c_str(), static_cast<unsigned long>(text.size()));
}

void GameScreens::showSaveFailure(const std::string& folder, const std::string& reason) {
  if (!parent) return;
  saveFailureAlert = std::make_shared<Ui::Alert>(
      "Cannot Save",
      "Pellix could not save its files in " + folder + " (" + reason +
          "). You can play on, but your progress may not be kept until this is fixed.",
      nullptr, nullptr, std::vector<std::string>{"OK"});
  saveFailureAlert->show(*parent);
}

std::string GameScreens::aboutText() const {
  std::string text = filledIn(ABOUT_VERSION, about.version) + "\n" + ABOUT_DESCRIPTION + "\n\n";
  if (about.dataFolder.empty()) {
    text += ABOUT_NOWHERE;
  } else {
    text += filledIn(ABOUT_DATA_FOLDER, about.dataFolder + "/");
  }
  if (!about.preferencesFile.empty()) text += "\n\n" + filledIn(ABOUT_PREFERENCES, about.preferencesFile);
  return text;
}

void GameScreens::showAbout() {
  if (!parent) return;
  aboutAlert = std::make_shared<Ui::Alert>(ABOUT_TITLE, aboutText(), nullptr, nullptr, std::vector<std::string>{ABOUT_OK});
  aboutAlert->show(*parent);
}

void GameScreens::drawSettingsAlertMenu() {
  if (!justSwitched()) return;
  if (!settingsAlert) {
    settingsAlert = std::make_shared<Ui::Alert>(MODE_CHANGE_TITLE, MODE_CHANGE_MESSAGE, controlsDelegate,
                                                MODE_CHANGE_KEEP, std::vector<std::string>{MODE_CHANGE_CONFIRM});
    // Return keeps the game: ending it takes a click on its own button.
    settingsAlert->setDefaultButtonIndex(0);
  }
  if (parent) settingsAlert->show(*parent);
}
