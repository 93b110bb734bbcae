// Where the keyboard's focus ring goes on the settings screen.
#include "SettingsFocus.h"

#include "ScreenGeometry.h"

namespace {

// The frame around a switch centred at (x, y).
FocusFrame switchFrame(int x, int y) {
  using namespace ScreenGeometry;
  return {static_cast<float>(x - SWITCH_WIDTH / 2), static_cast<float>(y - SWITCH_HEIGHT / 2),
          static_cast<float>(SWITCH_WIDTH), static_cast<float>(SWITCH_HEIGHT)};
}

const FocusFrame FOCUS_FRAMES[FOCUS_DONE] = {
    {36.0f, 122.0f, 248.0f, 82.0f},  // the four mode columns with their balls and names
    switchFrame(ScreenGeometry::SWITCH_CENTRE_X, ScreenGeometry::CLOCK_SWITCH_CENTRE_Y),
    // The look's name and its arrows.
    {static_cast<float>(ScreenGeometry::ROW_CONTROL_CENTRE_X - ScreenGeometry::LOOK_CHOOSER_WIDTH / 2 - 4),
     static_cast<float>(ScreenGeometry::LOOK_ROW_CENTRE_Y - ScreenGeometry::LOOK_CHOOSER_HEIGHT / 2),
     static_cast<float>(ScreenGeometry::LOOK_CHOOSER_WIDTH + 8), static_cast<float>(ScreenGeometry::LOOK_CHOOSER_HEIGHT)},
    // The slider's bar and knob, 132 x 36 around its centre line.
    {ScreenGeometry::VOLUME_SLIDER_CENTRE_X - 66.0f, ScreenGeometry::VOLUME_SLIDER_Y - 18.0f, 132.0f, 36.0f},
};

}  // namespace

FocusFrame settingsFocusFrame(SettingsFocus focus) { return FOCUS_FRAMES[focus]; }
