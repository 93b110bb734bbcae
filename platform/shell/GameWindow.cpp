// Window, GL context and presentation through SDL2.
#include "GameWindow.h"

#include <SDL.h>

#include "Gl.h"
#include "GlFixedState.h"
#include "OffscreenFrame.h"
#include "ScreenMapping.h"

namespace {

void* loadGlFunction(const char* name) { return SDL_GL_GetProcAddress(name); }

}  // namespace

GameWindow::~GameWindow() { close(); }

void GameWindow::close() {
  // The frame's GL objects go while their context is still current.
  delete frame;
  frame = nullptr;
  if (context != nullptr) SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context));
  context = nullptr;
  if (sdlWindow != nullptr) SDL_DestroyWindow(sdlWindow);
  sdlWindow = nullptr;
}

bool GameWindow::open() {
  SDL_Rect usable{0, 0, ScreenMapping::SCREEN_WIDTH, ScreenMapping::SCREEN_HEIGHT};
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) SDL_GetDisplayBounds(0, &usable);
  const int scale = ScreenMapping::initialScale(usable.w, usable.h);

  // ES 1.1 first; desktop GL 2.1 compatibility offers the same calls where ES is missing.
  const struct {
    int profile, major, minor;
  } attempts[] = {{SDL_GL_CONTEXT_PROFILE_ES, 1, 1}, {SDL_GL_CONTEXT_PROFILE_COMPATIBILITY, 2, 1}};
  for (const auto& attempt : attempts) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, attempt.profile);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, attempt.major);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, attempt.minor);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    sdlWindow = SDL_CreateWindow("Pellix", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                 ScreenMapping::SCREEN_WIDTH * scale, ScreenMapping::SCREEN_HEIGHT * scale,
                                 SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (sdlWindow == nullptr) {
      lastError = std::string("cannot open a window: ") + SDL_GetError();
      return false;
    }
    if (createContext()) return true;
    SDL_DestroyWindow(sdlWindow);
    sdlWindow = nullptr;
  }
  return false;
}

bool GameWindow::createContext() {
  SDL_GLContext created = SDL_GL_CreateContext(sdlWindow);
  if (created == nullptr) {
    lastError = std::string("no OpenGL ES 1.1 or OpenGL 2.1 context: ") + SDL_GetError();
    return false;
  }
  context = created;
  std::string reason;
  frame = new OffscreenFrame();
  if (!Gl::load(loadGlFunction, &reason) || !frame->create(ScreenMapping::SCREEN_WIDTH, ScreenMapping::SCREEN_HEIGHT)) {
    lastError = "the OpenGL context lacks what the game draws with" + (reason.empty() ? "" : ": " + reason);
    delete frame;
    frame = nullptr;
    SDL_GL_DeleteContext(created);
    context = nullptr;
    return false;
  }
  // Paced by the game's own 60 Hz timer; vsync would fight it on displays of other rates.
  SDL_GL_SetSwapInterval(0);
  frame->bind();
  GlFixedState::apply(ScreenMapping::SCREEN_WIDTH, ScreenMapping::SCREEN_HEIGHT);
  return true;
}

void GameWindow::beginFrame() { frame->bind(); }

void GameWindow::present() {
  int drawableWidth = 0, drawableHeight = 0;
  SDL_GL_GetDrawableSize(sdlWindow, &drawableWidth, &drawableHeight);
  frame->presentScaled(drawableWidth, drawableHeight);
  SDL_GL_SwapWindow(sdlWindow);
}

void GameWindow::windowSize(int& width, int& height) const { SDL_GetWindowSize(sdlWindow, &width, &height); }
