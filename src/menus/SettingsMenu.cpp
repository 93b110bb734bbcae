// The settings screen.
#include "SettingsMenu.h"

#include "BallGraphics.h"
#include "BlendMode.h"
#include "GameScreens.h"
#include "Lock.h"
#include "ScreenGeometry.h"
#include "Settings.h"
#include "Stone.h"
#include "Switch.h"

namespace {

const Scaling UNSCALED(1.0f, 1.0f);
const char* const MODE_LABELS[] = {"Easy", "Medium", "Hard", "Quick"};
const int SAMPLE_BALLS[] = {STONE_GREEN, STONE_ORANGE, STONE_BOMB, STONE_RAINBOW};
const int VOLUME_KNOB_BALL = STONE_LIGHT_BLUE;

}  // namespace

SettingsMenu::SettingsMenu(Settings& liveSettings) : settings(liveSettings) {}
SettingsMenu::~SettingsMenu() = default;

int SettingsMenu::drawSettings(GameScreens& screens, bool bottomHighlighted) {
  shownOn = &screens;
  const bool first = screens.justSwitched();
  const ScreenGeometry::ButtonPanel& panel = ScreenGeometry::SETTINGS_PANEL;
  if (first) screens.popBackground.reset(screens.createMenuFrame(panel.height, panel.widen));
  const char* names[] = {"Settings", "Done"};
  const int buttonTop = screens.drawMenuWithTopAndBottomButtons(first, names, bottomHighlighted, panel.yOffset);

  screens.ensureTitleLoaded(first, &levelTitle, "GameLevel");
  screens.ensureTitleLoaded(first, &volumeTitle, "GameVolume");
  levelTitle->drawToScreen(static_cast<float>((320 - levelTitle->width) / 2), 77, UNSCALED, BLEND_PREMULTIPLIED, true);
  volumeTitle->drawToScreen(static_cast<float>((320 - volumeTitle->width) / 2), 313, UNSCALED, BLEND_PREMULTIPLIED, true);

  if (first) {
    for (int p = 0; p < 4; ++p)
      screens.menuTexts[p] = screens.addMenuTexture(
          new Texture(MODE_LABELS[p], 64, 64, Texture::ALIGN_CENTER, "Helvetica", 12, 1.0f, false));
    screens.menuTexts[4] = screens.addMenuTexture(
        new Texture("Game clock:", 128, 64, Texture::ALIGN_LEFT, "Helvetica", 16, 1.0f, false));
    screens.menuTexts[5] = screens.addMenuTexture(
        new Texture("Two-tap moves:", 128, 64, Texture::ALIGN_LEFT, "Helvetica", 16, 1.0f, false));
    levelSelector = screens.addMenuTexture(new Texture("GameSelector_100x163.png", 1.0f, false));
    sliderBar = screens.addMenuTexture(new Texture("SliderBar_203x10.png", 1.0f, false));
  }

  const int selectedPosition =
      settings.gameMode >= 0 && settings.gameMode < 4 ? Settings::mapSettingsIdsToDisplayPositions[settings.gameMode] : -1;
  for (int p = 0; p < 4; ++p) {
    const float x = static_cast<float>(columnCentreX(p));
    if (p == selectedPosition) levelSelector->drawToScreenCenteredAt(x, 179, Scaling(0.69f, 0.65f), BLEND_PREMULTIPLIED, true);
    screens.graphics.drawStoneCenteredAtCoordsNoScaleUp(SAMPLE_BALLS[p], ScreenPoint(x, 152), 1.0f, false, true);
    screens.menuTexts[p]->drawToScreenCenteredAt(x, 209, UNSCALED, BLEND_PREMULTIPLIED, true);
  }
  screens.menuTexts[4]->drawToScreen(56, 242, UNSCALED, BLEND_PREMULTIPLIED, true);
  screens.menuTexts[5]->drawToScreen(45, 282, UNSCALED, BLEND_PREMULTIPLIED, true);
  sliderBar->drawToScreenCenteredAt(ScreenGeometry::CENTRE_X, ScreenGeometry::VOLUME_SLIDER_Y, UNSCALED, BLEND_PREMULTIPLIED, true);

  if (!clockSwitch) {
    clockSwitch = std::make_shared<Ui::Switch>();
    clockSwitch->setCenter(ScreenGeometry::SWITCH_CENTRE_X, ScreenGeometry::CLOCK_SWITCH_CENTRE_Y);
    twoTapSwitch = std::make_shared<Ui::Switch>();
    twoTapSwitch->setCenter(ScreenGeometry::SWITCH_CENTRE_X, ScreenGeometry::TWO_TAP_SWITCH_CENTRE_Y);
  }
  if (first) {
    clockSwitch->setOn(!settings.clockDisabled);
    twoTapSwitch->setOn(settings.twoTapMoves);
    if (screens.parent) {
      screens.parent->addSubview(clockSwitch);
      screens.parent->addSubview(twoTapSwitch);
    }
  }
  settings.clockDisabled = !clockSwitch->isOn();
  settings.twoTapMoves = twoTapSwitch->isOn();

  screens.graphics.drawStoneCenteredAtCoordsNoScaleUp(VOLUME_KNOB_BALL, ScreenPoint(volumeKnobX(settings.volume), ScreenGeometry::VOLUME_SLIDER_Y),
                                                      0.66f, false, false);
  return buttonTop;
}

void SettingsMenu::finishedShowing() {
  MyTl::Lock lock(menuLock);
  if (shownOn == nullptr) return;
  if (twoTapSwitch) shownOn->pendViewRemoval(twoTapSwitch);
  if (clockSwitch) shownOn->pendViewRemoval(clockSwitch);
}
