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
#include "Translation.h"

namespace {

const Scaling UNSCALED(1.0f, 1.0f);
// TRANSLATORS: the game modes, under their sample balls; about 60 pixels wide at 12 pixels.
const char* const MODE_LABELS[][2] = {{TRC_NOOP("game mode", "Easy")},
                                      {TRC_NOOP("game mode", "Medium")},
                                      {TRC_NOOP("game mode", "Hard")},
                                      {TRC_NOOP("game mode", "Quick")}};
// The looks' names on the chooser, in the order of Looks::ALL.
// TRANSLATORS: the looks of the balls and board; about 100 pixels wide at 14 pixels.
const char* const LOOK_LABELS[][2] = {{TRC_NOOP("look", "Glossy")},
                                      {TRC_NOOP("look", "Colour-blind")},
                                      {TRC_NOOP("look", "High contrast")}};

// The slots of the screen's texts in GameScreens::menuTexts.
enum TextSlot { MODE_TEXTS = 0, CLOCK_LABEL = 4, LOOK_LABEL, VOLUME_LABEL, LOOK_NAMES, ARROW_BACK = LOOK_NAMES + 3, ARROW_ON };

// The label of a row whose centre line is at `rowCentreY`: every label starts at one left edge.
void drawRowLabel(Texture* label, int rowCentreY) {
  label->drawToScreen(static_cast<float>(ScreenGeometry::ROW_LABEL_LEFT),
                      static_cast<float>(rowCentreY - ScreenGeometry::ROW_LABEL_RISE), UNSCALED, BLEND_PREMULTIPLIED, true);
}
const int SAMPLE_BALLS[] = {STONE_GREEN, STONE_ORANGE, STONE_BOMB, STONE_RAINBOW};
const int VOLUME_KNOB_BALL = STONE_LIGHT_BLUE;

}  // namespace

SettingsMenu::SettingsMenu(Settings& liveSettings) : settings(liveSettings) {}
SettingsMenu::~SettingsMenu() = default;

void SettingsMenu::beginVisit(GameScreens& screens) {
  shownOn = &screens;
  if (!clockSwitch) {
    clockSwitch = std::make_shared<Ui::Switch>();
    clockSwitch->setCenter(ScreenGeometry::SWITCH_CENTRE_X, ScreenGeometry::CLOCK_SWITCH_CENTRE_Y);
    clockSwitch->setAction([this](Ui::Switch&) { followSwitches(); });
  }
  clockSwitch->setOn(!settings.clockDisabled);
  if (screens.parent) screens.parent->addSubview(clockSwitch);
}

int SettingsMenu::drawSettings(GameScreens& screens, bool bottomHighlighted) {
  using namespace ScreenGeometry;
  const bool first = screens.justSwitched();
  const ScreenGeometry::ButtonPanel& panel = ScreenGeometry::SETTINGS_PANEL;
  if (first) screens.popBackground.reset(screens.createMenuFrame(panel.height, panel.widen));
  const char* names[] = {"Settings", "Done"};
  const int buttonTop = screens.drawMenuWithTopAndBottomButtons(first, names, bottomHighlighted, panel.yOffset);

  screens.ensureTitleLoaded(first, &levelTitle, "GameLevel");
  levelTitle->drawToScreen(static_cast<float>((320 - levelTitle->width) / 2), 77, UNSCALED, BLEND_PREMULTIPLIED, true);

  Texture** texts = screens.menuTexts;
  if (first) {
    const auto text = [&screens](const char* words, int width, Texture::TextAlignment alignment, int size) {
      // A label that would wrap is set smaller first, and wraps only below three quarters of its size.
      return screens.addMenuTexture(new Texture(words, width, 64, alignment, "Helvetica", size, 1.0f, false, true, true));
    };
    for (int p = 0; p < 4; ++p)
      texts[MODE_TEXTS + p] = text(trContext(MODE_LABELS[p][0], MODE_LABELS[p][1]).c_str(), 64, Texture::ALIGN_CENTER, 12);
    // TRANSLATORS: the settings' row labels, left of their switches; about 110 pixels at 16 pixels.
    texts[CLOCK_LABEL] = text(tr("Game clock:"), 128, Texture::ALIGN_LEFT, 16);
    // TRANSLATORS: the look of the balls and board (a noun), left of the chooser.
    texts[LOOK_LABEL] = text(trContext("settings row", "Look:").c_str(), 128, Texture::ALIGN_LEFT, 16);
    texts[VOLUME_LABEL] = text(tr("Volume:"), 128, Texture::ALIGN_LEFT, 16);
    for (int l = 0; l < 3; ++l)
      texts[LOOK_NAMES + l] = text(trContext(LOOK_LABELS[l][0], LOOK_LABELS[l][1]).c_str(),
                                   ScreenGeometry::LOOK_CHOOSER_WIDTH - 24, Texture::ALIGN_CENTER, 14);
    texts[ARROW_BACK] = text("\u25C2", 16, Texture::ALIGN_CENTER, 16);
    texts[ARROW_ON] = text("\u25B8", 16, Texture::ALIGN_CENTER, 16);
    levelSelector = screens.addMenuTexture(new Texture("GameSelector_100x163.png", 1.0f, false));
    sliderBar = screens.addMenuTexture(new Texture("SliderBar_203x10.png", 1.0f, false));
  }

  const int selectedPosition =
      settings.gameMode >= 0 && settings.gameMode < 4 ? Settings::mapSettingsIdsToDisplayPositions[settings.gameMode] : -1;
  for (int p = 0; p < 4; ++p) {
    const float x = static_cast<float>(columnCentreX(p));
    if (p == selectedPosition) {
      const Scaling boxScale(static_cast<float>(MODE_SELECTOR_WIDTH) / static_cast<float>(levelSelector->width),
                             static_cast<float>(MODE_SELECTOR_HEIGHT) / static_cast<float>(levelSelector->height));
      levelSelector->drawToScreenCenteredAt(x, MODE_SELECTOR_CENTRE_Y, boxScale, BLEND_PREMULTIPLIED, true);
    }
    screens.graphics.drawStoneCenteredAtCoordsNoScaleUp(SAMPLE_BALLS[p], ScreenPoint(x, MODE_BALL_CENTRE_Y), 1.0f, false, true);
    texts[MODE_TEXTS + p]->drawToScreenCenteredAt(x, MODE_NAME_CENTRE_Y, UNSCALED, BLEND_PREMULTIPLIED, true);
  }
  drawRowLabel(texts[CLOCK_LABEL], CLOCK_SWITCH_CENTRE_Y);
  drawLookChooser(screens);
  drawRowLabel(texts[VOLUME_LABEL], static_cast<int>(ScreenGeometry::VOLUME_SLIDER_Y));
  sliderBar->drawToScreenCenteredAt(ScreenGeometry::VOLUME_SLIDER_CENTRE_X, ScreenGeometry::VOLUME_SLIDER_Y,
                                    Scaling(ScreenGeometry::VOLUME_BAR_SCALE, 1.0f), BLEND_PREMULTIPLIED, true);

  screens.graphics.drawStoneCenteredAtCoordsNoScaleUp(VOLUME_KNOB_BALL, ScreenPoint(volumeKnobX(settings.volume), ScreenGeometry::VOLUME_SLIDER_Y),
                                                      0.66f, false, false);
  return buttonTop;
}

void SettingsMenu::setSwitch(Ui::Switch& control, bool on) {
  control.setOn(on, true);
  followSwitches();
}

void SettingsMenu::followSwitches() {
  settings.clockDisabled = !clockSwitch->isOn();
}

void SettingsMenu::drawLookChooser(GameScreens& screens) {
  using namespace ScreenGeometry;
  Texture** texts = screens.menuTexts;
  drawRowLabel(texts[LOOK_LABEL], LOOK_ROW_CENTRE_Y);
  const int shown = Looks::indexOf(screens.graphics.look());
  const float top = static_cast<float>(LOOK_ROW_CENTRE_Y - ROW_LABEL_RISE);
  texts[LOOK_NAMES + shown]->drawToScreenCenteredOnXAxis(static_cast<float>(ROW_CONTROL_CENTRE_X), top, UNSCALED, BLEND_PREMULTIPLIED,
                                                         true);
  // The arrows' glyphs sit low in their line: they are raised to the middle of the name.
  texts[ARROW_BACK]->drawToScreenCenteredOnXAxis(static_cast<float>(ROW_CONTROL_CENTRE_X - LOOK_ARROW_OFFSET), top - 2.0f, UNSCALED,
                                                 BLEND_PREMULTIPLIED, true);
  texts[ARROW_ON]->drawToScreenCenteredOnXAxis(static_cast<float>(ROW_CONTROL_CENTRE_X + LOOK_ARROW_OFFSET), top - 2.0f, UNSCALED,
                                               BLEND_PREMULTIPLIED, true);
}

void SettingsMenu::finishedShowing() {
  MyTl::Lock lock(menuLock);
  if (shownOn == nullptr) return;
  if (clockSwitch) shownOn->pendViewRemoval(clockSwitch);
}
