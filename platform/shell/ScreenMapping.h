// ScreenMapping: the game's 320 x 480 screen shown scaled uniformly to fit the window's client
// area and centred. Maps window points back to screen pixels (truncating toward zero), the way
// the offscreen frame is presented.
#pragma once

class ScreenMapping {
 public:
  static const int SCREEN_WIDTH = 320;
  static const int SCREEN_HEIGHT = 480;

  // For a window (or drawable) of the given size in pixels.
  ScreenMapping(int windowWidth, int windowHeight);

  float scale() const { return factor; }
  // Screen pixel of a window point; may lie outside the screen in the borders.
  void windowToScreen(float windowX, float windowY, int& screenX, int& screenY) const;
  // The largest whole scale whose window fits comfortably (90%) in a usable area; at least 1.
  static int initialScale(int usableWidth, int usableHeight);

 private:
  float factor;
  float left;
  float top;
};
