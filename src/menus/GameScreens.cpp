// The start, game-menu, instruction, game-over, name-entry and mode-change screens.
#include "GameScreens.h"

#include <string>

#include "Alert.h"
#include "BallGraphics.h"
#include "BlendMode.h"
#include "ControlsDelegate.h"
#include "MenuWords.h"
#include "ScreenGeometry.h"
#include "Stone.h"
#include "TextField.h"
#include "TextMeasurer.h"
#include "Translation.h"

namespace {

const Scaling UNSCALED(1.0f, 1.0f);
using ScreenGeometry::CENTRE_X;
using ScreenGeometry::SCREEN_HEIGHT;
const int ANIMATION_FRAMES = 16;
const int ANIMATION_CELL = 98;
const int NAME_FIELD_WIDTH = 166;
// The rules, the moves, the special balls with the keys, and the game clock with scoring and levels.
const int INSTRUCTION_PAGES = GameScreens::INSTRUCTION_PAGES;

// The question before a change of mode ends the game in progress.
// TRANSLATORS: the title of the question asked before a change of mode ends the game.
const char* const MODE_CHANGE_TITLE = TR_NOOP("Game Mode Change");
// TRANSLATORS: the question's text; about 240 pixels wide, up to six lines.
const char* const MODE_CHANGE_MESSAGE = TR_NOOP(
    "A new game mode starts a new game: the game in progress ends. If its score earns a place, "
    "you can enter it in the high scores first.");
// TRANSLATORS: the question's safe answer, the default: the game goes on in its mode.
const char* const MODE_CHANGE_KEEP = TR_NOOP("Keep Playing");
// TRANSLATORS: the question's other answer: the game ends and a new one starts in the new mode.
const char* const MODE_CHANGE_CONFIRM = TR_NOOP("Change Mode");

// The images of the game menu's buttons, in GameMenuEntry order.
const char* const GAME_MENU_IMAGES[] = {"ResumeGame", "NewGame", "GameSettings", "HighScores", "Instructions", "About", "Quit"};
static_assert(sizeof(GAME_MENU_IMAGES) / sizeof(GAME_MENU_IMAGES[0]) == GameScreens::GAME_MENU_ENTRIES);

// The instruction pages' texts, translated where they are shown.
const char* const INSTRUCTION_TEXTS[] = {
    // TRANSLATORS: the first instructions page, under a small animation; 210 pixels wide, 12-pixel text.
    TR_NOOP("Move the balls to line up five or more of one colour across, down or diagonally: the line is "
            "removed from the board.\n\nAfter every move that removes no line, three more balls drop onto the "
            "board.\n\nPlay for as long as you can before the board fills up."),
    // TRANSLATORS: the second instructions page, under a picture; 200 pixels wide.
    TR_NOOP("To move a ball, drag it onto an empty square and release the mouse button. A ball can only "
            "travel through empty squares.\n\nTo put a ball back, sweep the mouse quickly across the board "
            "before you release the button."),
    // TRANSLATORS: beside a rainbow ball on the third page; 150 pixels wide, up to six lines.
    TR_NOOP("Rainbow balls count as every colour, so one ball can complete several lines at once."),
    // TRANSLATORS: beside a bomb ball on the third page; 150 pixels wide, up to six lines.
    TR_NOOP("Bomb balls count as every colour too. When their line is removed, every ball of that "
            "line's colour goes with it."),
    // TRANSLATORS: the keys, at the bottom of the third page; 240 pixels wide. The
    // gamepad's line follows it when a pad is in use.
    TR_NOOP("Keyboard: the arrow keys move the ring, Space picks up and drops a ball, Escape opens the menu."),
};

// The fourth page: the game clock, scoring and levels, one block each.
const char* const CLOCK_PAGE_TEXTS[] = {
    // TRANSLATORS: the fourth page's first block, beside the game clock's dial; 170 pixels
    // wide, up to eight lines.
    TR_NOOP("Game clock: when the dial has run round, one more ball is announced. A quick move winds it "
            "back. Twenty seconds without a move drop a ball straight onto the board."),
    // TRANSLATORS: the fourth page's second block; 240 pixels wide, up to three lines. Keep the
    // formula as it is.
    TR_NOOP("Score: a line of n balls scores 3 × n − 9 points: 6 for five balls, 9 for six, 12 for "
            "seven."),
    // TRANSLATORS: the fourth page's third block; 240 pixels wide, up to six lines.
    TR_NOOP("Level: every 50 points the level rises. Higher levels bring more colours, and the game clock "
            "runs faster. The game clock can be switched off in the settings."),
};

// The pad's line under the keys: how to move, act (as Space), go back (as Escape) and open the
// menu, in the words printed on the pad.
std::string padLine(GamepadStyle style) {
  switch (style) {
    // TRANSLATORS: the button names A, B, Start, Cross, Circle, Options and + are printed on
    // the pads; keep them as the pad's maker writes them in your language.
    case GamepadStyle::XBOX: return tr("Gamepad: d-pad or stick to move, A to pick up, B to go back, Start for the menu.");
    case GamepadStyle::PLAYSTATION:
      return tr("Gamepad: d-pad or stick to move, Cross to pick up, Circle to go back, Options for the menu.");
    case GamepadStyle::NINTENDO: return tr("Gamepad: d-pad or stick to move, A to pick up, B to go back, + for the menu.");
    case GamepadStyle::NINTENDO_BY_POSITION:
      return tr("Gamepad: d-pad or stick to move, B to pick up, A to go back, + for the menu.");
    case GamepadStyle::NONE: break;
  }
  return std::string();
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
  Texture* bar = highlighted ? graphics.gameMenuBarPressedTexture.get() : graphics.gameMenuBarTexture.get();
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
  const char* names[] = {"Instructions", page == INSTRUCTION_PAGES ? "Close" : "Next"};
  const int buttonTop = drawMenuWithTopAndBottomButtons(firstDraw, names, highlighted == 0, panel.yOffset);

  if (page == 1) {
    if (firstDraw) {
      menuTexts[0] = addMenuTexture(new Texture(tr(INSTRUCTION_TEXTS[0]), 210, 160, Texture::ALIGN_CENTER, "Helvetica", 12, 1.0f, false, true));
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
      menuTexts[0] = addMenuTexture(new Texture(tr(INSTRUCTION_TEXTS[1]), 200, 116, Texture::ALIGN_CENTER, "Helvetica", 12, 1.0f, false, true));
      menuTexts[1] = addMenuTexture(new Texture("InstructionsPage3_220x135.png", 1.0f, false));
    }
    menuTexts[1]->drawToScreenCenteredOnXAxis(CENTRE_X, 114, UNSCALED, BLEND_PREMULTIPLIED, true);
    draw(menuTexts[0], 60, 261);
  } else if (page == 3) {
    if (firstDraw) {
      menuTexts[0] = addMenuTexture(new Texture(tr(INSTRUCTION_TEXTS[2]), 150, 88, Texture::ALIGN_LEFT, "Helvetica", 12, 1.0f, false, true));
      menuTexts[1] = addMenuTexture(new Texture(tr(INSTRUCTION_TEXTS[3]), 150, 88, Texture::ALIGN_LEFT, "Helvetica", 12, 1.0f, false, true));
    }
    // Made again when another kind of pad is picked up while the page is open.
    if (firstDraw || shownPadStyle != padStyle) {
      menuTexts[2] = addMenuTexture(
          new Texture(keysPageText(padStyle).c_str(), 240, 96, Texture::ALIGN_LEFT, "Helvetica", 12, 1.0f, false, true));
      shownPadStyle = padStyle;
    }
    draw(menuTexts[0], 125, 92);
    draw(menuTexts[1], 125, 186);
    draw(menuTexts[2], 40, 282);
    graphics.drawStoneAtCoords(STONE_RAINBOW, ScreenPoint(55, 100), 1.5f, false, true, true, true);
    graphics.drawStoneAtCoords(STONE_BOMB, ScreenPoint(55, 188), 1.5f, false, true, true, true);
  } else {
    if (firstDraw) {
      menuTexts[0] = addMenuTexture(new Texture(tr(CLOCK_PAGE_TEXTS[0]), 170, 128, Texture::ALIGN_LEFT, "Helvetica", 12, 1.0f, false, true));
      menuTexts[1] = addMenuTexture(new Texture(tr(CLOCK_PAGE_TEXTS[1]), 240, 44, Texture::ALIGN_LEFT, "Helvetica", 12, 1.0f, false, true));
      menuTexts[2] = addMenuTexture(new Texture(tr(CLOCK_PAGE_TEXTS[2]), 240, 100, Texture::ALIGN_LEFT, "Helvetica", 12, 1.0f, false, true));
    }
    // The dial as it shows on the board, half run down, beside the words that explain it.
    graphics.drawTimer(0.6f, 40, 104, 2.0f);
    draw(menuTexts[0], 110, 96);
    draw(menuTexts[1], 40, 230);
    draw(menuTexts[2], 40, 278);
  }
  return buttonTop;
}

std::string GameScreens::keysPageText(GamepadStyle style) {
  std::string text = tr(INSTRUCTION_TEXTS[4]);
  const std::string line = padLine(style);
  if (!line.empty()) text += "\n" + line;
  return text;
}

void GameScreens::drawGameOver() {
  draw(overlay(), 0, 0);
  if (!gameOverImage)
    gameOverImage.reset(new Texture("GameOver_320x480.png", 0, 0,
                                    {{LabelPainter::GAME_OVER_HEADING, MenuWords::label("GameOver")},
                                     {LabelPainter::GAME_OVER_LINE, MenuWords::label("BoardIsFull")}}));
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
    nameField = std::make_shared<Ui::TextField>(Ui::ViewRect(77, 235, NAME_FIELD_WIDTH, 28));
    nameField->setDelegate(controlsDelegate);
    nameField->setBackgroundColour(Ui::ViewColour::white(0.0f, 0.9f));
    nameField->setTextColour(Ui::ViewColour::white(1.0f, 1.0f));
    // The field has the focus, so typing goes straight in.
    // TRANSLATORS: shown in the empty name field; 154 pixels at 15-pixel text, set smaller
    // down to 11 pixels when longer.
    const std::string hint = tr("Type your name");
    // The hint is set smaller, down to 11 pixels, when it is wider than the field inside its
    // 6-pixel margins; typed names scroll.
    int fontSize = 15;
    while (fontSize > 11 && Ui::TextMeasurer::measure(hint, "Helvetica", fontSize, 0).width > NAME_FIELD_WIDTH - 12) --fontSize;
    nameField->setFont("Helvetica", fontSize);
    nameField->setBorderStyle(Ui::TextField::BORDER_BEZEL);
    nameField->setPlaceholder(hint);
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
    // TRANSLATORS: on the new-high-score panel, above the name field; 160 x 75 pixels, 14-pixel text.
    const std::string text = Translation::format(
        trPlural("You scored %1$d point! Enter your name for the high scores:",
                 "You scored %1$d points! Enter your name for the high scores:", static_cast<unsigned long>(score)),
        score);
    menuTexts[0] = addMenuTexture(new Texture(text.c_str(), 160, 75, Texture::ALIGN_LEFT, "Helvetica", 14, 1.0f, false, true));
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
      tr("Cannot Save"),
      // TRANSLATORS: %1$s is a folder, %2$s the system's reason (in English or the system's language).
      Translation::format(tr("Pellix could not save its files in %1$s (%2$s). You can play on, but your progress "
                             "may not be kept until this is fixed."),
                          folder.c_str(), reason.c_str()),
      nullptr, nullptr, std::vector<std::string>{trContext("alert button", "OK")});
  saveFailureAlert->show(*parent);
}

std::string GameScreens::aboutText() const {
  // TRANSLATORS: the About panel's first line; %1$s is the version number.
  std::string text = Translation::format(tr("Version %1$s"), about.version.c_str()) + "\n" +
                     // TRANSLATORS: the About panel's line under the version.
                     tr("A five-in-a-row ball puzzle.") + "\n\n";
  if (about.dataFolder.empty()) {
    text += tr("This session has no folder to keep your game in: nothing is saved.");
  } else {
    // TRANSLATORS: %1$s is a folder; the panel is about 240 pixels wide and the path may wrap.
    text += Translation::format(tr("Your game, settings and high scores are kept in %1$s"), (about.dataFolder + "/").c_str());
  }
  if (!about.preferencesFile.empty()) {
    // TRANSLATORS: %1$s is a file's path.
    text += "\n\n" + Translation::format(tr("Your preferences (the look, the score server) are kept in %1$s"),
                                          about.preferencesFile.c_str());
  }
  return text;
}

void GameScreens::showAbout() {
  if (!parent) return;
  aboutAlert = std::make_shared<Ui::Alert>(tr("About Pellix"), aboutText(), nullptr, nullptr,
                                           std::vector<std::string>{trContext("alert button", "OK")});
  aboutAlert->show(*parent);
}

void GameScreens::drawSettingsAlertMenu() {
  if (!justSwitched()) return;
  if (!settingsAlert) {
    settingsAlert = std::make_shared<Ui::Alert>(tr(MODE_CHANGE_TITLE), tr(MODE_CHANGE_MESSAGE), controlsDelegate,
                                                tr(MODE_CHANGE_KEEP), std::vector<std::string>{tr(MODE_CHANGE_CONFIRM)});
    // Return keeps the game: ending it takes a click on its own button.
    settingsAlert->setDefaultButtonIndex(0);
  }
  if (parent) settingsAlert->show(*parent);
}
