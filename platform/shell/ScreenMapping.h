// ScreenMapping: the game's 320 x 480 screen shown in the window's client area: scaled
// uniformly to the largest size that fits, in whole device pixels, and centred (letterboxed).
// Gives the frame's rectangle in the drawable (HiDPI pixels included) and maps window points
// back to screen pixels (truncating toward zero), the way the frame is presented. Also the size
// a new window opens at. Pure arithmetic; used by the window and the application shell.
#pragma once

class ScreenMapping {
 public:
  static constexpr int SCREEN_WIDTH = 320;
  static constexpr int SCREEN_HEIGHT = 480;
  // The smallest window, in window coordinates: the screen at 5/6 of its size (266 x 400 after
  // rounding). There the board's squares are still 32 pixels, the menu strip and the look
  // chooser, the game's flattest controls, stay 24 pixels tall (the least a pointer target should
  // be), and the smallest texts stay readable; and it fits a 768-pixel-high display with its
  // panels, or half of a 1080-pixel-high one.
  static constexpr int MINIMUM_WINDOW_WIDTH = 268;
  static constexpr int MINIMUM_WINDOW_HEIGHT = 400;

  // For a client area of windowWidth x windowHeight in window coordinates (what mouse events
  // use) that has drawableWidth x drawableHeight device pixels (-1: the same as the window).
  ScreenMapping(int windowWidth, int windowHeight, int drawableWidth = -1, int drawableHeight = -1);

  // Device pixels per screen pixel (the frame's width over 320).
  float scale() const;
  // The frame's rectangle in device pixels, y down; at least 1 x 1.
  int frameLeft() const { return left; }
  int frameTop() const { return top; }
  int frameWidth() const { return width; }
  int frameHeight() const { return height; }

  // Screen pixel of a window point; may lie outside the screen in the borders.
  void windowToScreen(float windowX, float windowY, int& screenX, int& screenY) const;

  // The largest window of the screen's 2:3 shape that fits 85 % of a usable display area, at
  // any scale (whole or not); at least the smallest 2:3 window that holds the minimum size.
  static void initialWindowSize(int usableWidth, int usableHeight, int& windowWidth, int& windowHeight);

 private:
  float pixelsPerWindowX;
  float pixelsPerWindowY;
  int left;
  int top;
  int width;
  int height;
};
