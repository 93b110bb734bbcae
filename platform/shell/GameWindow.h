// GameWindow: the SDL window titled "Pellix" with its fixed-function GL context (OpenGL ES 1.1
// where the window system's GL offers it, else desktop OpenGL 2.1 compatibility: on X11 GLX's
// GL 2.1, on Wayland EGL's ES 1.1) and the offscreen frame the game draws into. The frame is drawn at the window's own pixel size (the HiDPI drawable
// size), letterboxed and centred; the game's display scale (DisplayScale) follows the window.
// The window can be resized freely and toggled to fullscreen.
// Created once by the application at launch; owns the window, the context and the frame, which
// stay current on the main thread for the life of the game.
#pragma once

#include <string>

#include "ScreenMapping.h"
#include "SubBufferCopy.h"

struct SDL_Window;
class OffscreenFrame;

class GameWindow {
 public:
  GameWindow() = default;
  ~GameWindow();
  GameWindow(const GameWindow&) = delete;
  GameWindow& operator=(const GameWindow&) = delete;

  // Opens the window, hidden, at the largest 2:3 size that fits 85 % of the display's usable
  // area and prepares GL: function table, offscreen frame at the drawable's resolution, fixed
  // state, the display scale. False with a reason in error().
  bool open();
  // The art scale the window is expected to get when it opens (needs SDL's video, not the
  // window): that of its size in window coordinates, where textures of any size can be drawn.
  static int expectedArtScale();
  // Shows the window with the frame drawn so far as its first picture, so that the player never
  // sees it empty (once, after the first frame is drawn).
  void show();
  const std::string& error() const { return lastError; }

  // Releases the frame, the context and the window (the destructor does the same).
  void close();

  // Makes the offscreen frame the drawing target (before every frame tick). When the drawable's
  // size changed since the last frame, the frame and the display scale follow it first.
  void beginFrame();
  // Shows the frame letterboxed and centred in the window and swaps (pixel for pixel when the
  // frame was drawn at the window's current size).
  void present();
  // Shows the frame after a frame that changed only within (left, top) - (right, bottom) (screen
  // units): where the window's back buffer keeps the last picture (SubBufferCopy) and the frame
  // fills the window pixel for pixel, only that part is drawn and shown; otherwise the whole frame.
  void presentPart(float left, float top, float right, float bottom);

  // Restores the window when minimised and asks the window system to raise and focus it (which
  // it may refuse, to keep the focus where the player has it).
  void bringToFront();

  // Between fullscreen (on the desktop's resolution) and a window.
  void toggleFullscreen();
  // F11 and Alt+Return toggle fullscreen (SDL key code and modifier state).
  static bool isFullscreenKey(int keyCode, int modifiers);

  SDL_Window* window() const { return sdlWindow; }
  // Size of the client area in window coordinates (what mouse events use).
  void windowSize(int& width, int& height) const;
  // The frame's place in the window as it is now, for mapping mouse points to the screen.
  ScreenMapping mapping() const;

 private:
  // The window and the first context SDL's video as it is set up can make.
  bool openWithContext();
  bool createContext();
  // Sizes the frame (and the display scale) for the drawable; false when GL cannot draw one.
  bool fitFrame();

  SDL_Window* sdlWindow = nullptr;
  void* context = nullptr;
  OffscreenFrame* frame = nullptr;
  // The drawable size the frame was last fitted to.
  int fittedWidth = -1;
  int fittedHeight = -1;
  // Shows parts of pictures without a swap where GLX can; whether the back buffer holds the last
  // picture shown (it does after a part was shown, not after a swap); and the drawable size of
  // the last whole picture shown (-1 before the first): a part is shown over it only at that size.
  SubBufferCopy subBufferCopy;
  bool backBufferHoldsFrame = false;
  int shownWidth = -1;
  int shownHeight = -1;
  std::string lastError;
};
