// SettingsFocus: the settings screen's controls in the order Up, Down and Tab visit them with
// the keyboard, and where the focus ring goes around each.
#pragma once

enum SettingsFocus { FOCUS_MODE, FOCUS_CLOCK, FOCUS_TWO_TAP, FOCUS_LOOK, FOCUS_VOLUME, FOCUS_DONE, FOCUS_COUNT };

struct FocusFrame {
  float x, y, width, height;
};

// The ring's frame around control `focus` (FOCUS_MODE to FOCUS_VOLUME; the Done button shows
// its own highlight).
FocusFrame settingsFocusFrame(SettingsFocus focus);
