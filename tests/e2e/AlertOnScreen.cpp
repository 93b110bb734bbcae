// Alert buttons located by colour.
#include "AlertOnScreen.h"

#include "ScreenLayout.h"

AlertOnScreen AlertOnScreen::find(const ScreenImage& image) {
  AlertOnScreen alert;
  // Buttons are 40 pixels high and over 100 wide; nothing else on the game's screens shows a
  // block that size in the accent (the selected segment of the high-score screen is 26 high).
  // A long label leaves little over a third of a button's row in its fill.
  alert.preferredButton = image.findBlock(ScreenLayout::ACCENT_DARK, 12, PixelRect{0, 0, 320, 480}, 40, 34);
  if (!alert.shown()) return alert;
  const PixelRect& preferred = alert.preferredButton;
  const PixelRect left{0, preferred.y - 4, preferred.x, preferred.h + 8};
  alert.otherButton = image.findBlock(ScreenLayout::CONTROL_FILL, 10, left, 40, 30);
  if (alert.otherButton.empty()) {
    const int rightStart = preferred.x + preferred.w;
    const PixelRect right{rightStart, preferred.y - 4, 320 - rightStart, preferred.h + 8};
    alert.otherButton = image.findBlock(ScreenLayout::CONTROL_FILL, 10, right, 40, 30);
  }
  return alert;
}
