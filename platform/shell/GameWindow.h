// GameWindow: the SDL window titled "Pellix" with its fixed-function GL context (OpenGL ES 1.1
// where the driver offers it, else desktop OpenGL 2.1 compatibility) and the offscreen frame
// the game draws into. Created once by the application at launch; owns the window, the context
// and the frame, which stay current on the main thread for the life of the game.
#pragma once

#include <string>


struct SDL_Window;
class OffscreenFrame;

class GameWindow {
 public:
  GameWindow() = default;
  ~GameWindow();
  GameWindow(const GameWindow&) = delete;
  GameWindow& operator=(const GameWindow&) = delete;

  // Opens the window at the largest whole scale that fits the display comfortably and prepares
  // GL: function table, offscreen frame, fixed state. False with a reason in error().
  bool open();
  const std::string& error() const { return lastError; }

  // Releases the frame, the context and the window (the destructor does the same).
  void close();

  // Makes the offscreen frame the drawing target (before every frame tick).
  void beginFrame();
  // Shows the frame scaled into the window and swaps.
  void present();

  SDL_Window* window() const { return sdlWindow; }
  // Size of the client area in window coordinates (what mouse events use).
  void windowSize(int& width, int& height) const;

 private:
  bool createContext();

  SDL_Window* sdlWindow = nullptr;
  void* context = nullptr;
  OffscreenFrame* frame = nullptr;
  std::string lastError;
};
