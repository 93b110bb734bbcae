// Alert buttons located by colour.
#include "AlertOnScreen.h"

#include "ScreenLayout.h"

AlertOnScreen AlertOnScreen::find(const ScreenImage& image) {
  AlertOnScreen alert;
  // Buttons are 40 pixels high and over 100 wide; nothing else on the game's screens shows a
  // block that size in the accent (the selected segment of the high-score screen is 26 high).
  alert.preferredButton = image.findBlock(ScreenLayout::ACCENT_DARK, 12, PixelRect{0, 0, 320, 480}, 60, 34);
  if (!alert.shown()) return alert;
  const PixelRect row{0, alert.preferredButton.y - 4, alert.preferredButton.x, alert.preferredButton.h + 8};
  alert.cancelButton = image.findBlock(ScreenLayout::CONTROL_FILL, 10, row, 50, 30);
  return alert;
}
