// Window, GL context and presentation through SDL2.
#include "GameWindow.h"

#include <SDL.h>

#include "DisplayScale.h"
#include "Gl.h"
#include "GlFixedState.h"
#include "OffscreenFrame.h"
#include "ScreenMapping.h"
#include "StartUpTrace.h"

namespace {

void* loadGlFunction(const char* name) { return SDL_GL_GetProcAddress(name); }

// Keeps every event but the window's exposure reports.
int keepAllButExposure(void*, SDL_Event* event) {
  return event->type == SDL_WINDOWEVENT && event->window.event == SDL_WINDOWEVENT_EXPOSED ? 0 : 1;
}

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

namespace {

// The window's size when it opens, in window coordinates.
void initialSize(int& width, int& height) {
  SDL_Rect usable{0, 0, ScreenMapping::SCREEN_WIDTH, ScreenMapping::SCREEN_HEIGHT};
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) SDL_GetDisplayBounds(0, &usable);
  width = ScreenMapping::SCREEN_WIDTH;
  height = ScreenMapping::SCREEN_HEIGHT;
  ScreenMapping::initialWindowSize(usable.w, usable.h, width, height);
}

}  // namespace

int GameWindow::expectedArtScale() {
  int width = 0, height = 0;
  initialSize(width, height);
  const ScreenMapping place(width, height);
  return DisplayScale::artScaleFor(static_cast<float>(place.frameWidth()) / ScreenMapping::SCREEN_WIDTH, true);
}

void GameWindow::prepareVideo() {
  // On X11, SDL reaches ES only through EGL, but by default it first loads GLX and makes a
  // context there to read its extensions: a second renderer (with llvmpipe, threads and memory of
  // its own) that the game never draws with. SDL reads this before its video starts.
  SDL_SetHint(SDL_HINT_VIDEO_X11_FORCE_EGL, "1");
}

bool GameWindow::open() {
  if (openWithContext()) return true;
  // A system without EGL for X11: SDL's video again, with GLX as SDL chooses it by itself.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr || std::string(driver) != "x11" || !SDL_GetHintBoolean(SDL_HINT_VIDEO_X11_FORCE_EGL, SDL_FALSE))
    return false;
  const std::string eglProblem = lastError;
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  SDL_SetHint(SDL_HINT_VIDEO_X11_FORCE_EGL, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    lastError = eglProblem + "; without EGL the display could not be opened again: " + SDL_GetError();
    return false;
  }
  if (openWithContext()) return true;
  lastError = eglProblem + "; with GLX: " + lastError;
  return false;
}

bool GameWindow::openWithContext() {
  int width = 0, height = 0;
  initialSize(width, height);

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
    sdlWindow = SDL_CreateWindow("Pellix", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                                 SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI |
                                     SDL_WINDOW_HIDDEN);
    StartUpTrace::mark("window created");
    if (sdlWindow == nullptr) {
      // SDL loads the GL library of the context kind with the window: the next kind may load.
      lastError = std::string("cannot open a window: ") + SDL_GetError();
      continue;
    }
    // Below this the board and its controls grow too small to play (see ScreenMapping).
    SDL_SetWindowMinimumSize(sdlWindow, ScreenMapping::MINIMUM_WINDOW_WIDTH, ScreenMapping::MINIMUM_WINDOW_HEIGHT);
    if (createContext()) return true;
    SDL_DestroyWindow(sdlWindow);
    sdlWindow = nullptr;
  }
  return false;
}

void GameWindow::bringToFront() {
  if (sdlWindow == nullptr) return;
  if ((SDL_GetWindowFlags(sdlWindow) & SDL_WINDOW_MINIMIZED) != 0) SDL_RestoreWindow(sdlWindow);
  SDL_RaiseWindow(sdlWindow);
}

bool GameWindow::createContext() {
  SDL_GLContext created = SDL_GL_CreateContext(sdlWindow);
  if (created == nullptr) {
    lastError = std::string("no OpenGL ES 1.1 or OpenGL 2.1 context: ") + SDL_GetError();
    return false;
  }
  context = created;
  StartUpTrace::mark("GL context created");
  std::string reason;
  frame = new OffscreenFrame();
  fittedWidth = -1;
  fittedHeight = -1;
  if (!Gl::load(loadGlFunction, &reason) || !fitFrame()) {
    lastError = "the OpenGL context lacks what the game draws with" + (reason.empty() ? "" : ": " + reason);
    delete frame;
    frame = nullptr;
    SDL_GL_DeleteContext(created);
    context = nullptr;
    return false;
  }
  // Paced by the game's own 60 Hz timer; vsync would fight it on displays of other rates.
  StartUpTrace::mark("GL functions loaded, frame made");
  SDL_GL_SetSwapInterval(0);
  frame->bind();
  GlFixedState::apply(ScreenMapping::SCREEN_WIDTH, ScreenMapping::SCREEN_HEIGHT);
  return true;
}

bool GameWindow::fitFrame() {
  int drawableWidth = 0, drawableHeight = 0;
  SDL_GL_GetDrawableSize(sdlWindow, &drawableWidth, &drawableHeight);
  if (drawableWidth == fittedWidth && drawableHeight == fittedHeight) return true;
  const ScreenMapping place(drawableWidth, drawableHeight);
  int width = place.frameWidth();
  int height = place.frameHeight();
  // Beyond what GL can hold (a snapshot is 512 units square) the frame stays smaller and is
  // stretched into the window.
  const float largest = static_cast<float>(gl.maxTextureSize) / 512.0f;
  if (place.scale() > largest) {
    width = static_cast<int>(ScreenMapping::SCREEN_WIDTH * largest);
    height = static_cast<int>(ScreenMapping::SCREEN_HEIGHT * largest);
  }
  if (!frame->create(ScreenMapping::SCREEN_WIDTH, ScreenMapping::SCREEN_HEIGHT, width, height)) {
    // Keep drawing at the unscaled size rather than not at all.
    width = ScreenMapping::SCREEN_WIDTH;
    height = ScreenMapping::SCREEN_HEIGHT;
    if (!frame->create(ScreenMapping::SCREEN_WIDTH, ScreenMapping::SCREEN_HEIGHT)) return false;
  }
  fittedWidth = drawableWidth;
  fittedHeight = drawableHeight;
  const float pixelsPerUnit = static_cast<float>(width) / ScreenMapping::SCREEN_WIDTH;
  DisplayScale::set(width, height, DisplayScale::artScaleFor(pixelsPerUnit, gl.hasNonPowerOfTwoTextures));
  return true;
}

void GameWindow::show() {
  // The window is mapped before anything can be presented into it (X11 waits for the map, and a
  // Wayland surface gets its role); the frame is ready, so the first picture follows at once.
  SDL_ShowWindow(sdlWindow);
  // The map asks for the whole window to be drawn; the present below does that, so the reports
  // that have already come in need no second present of the same picture.
  SDL_PumpEvents();
  SDL_FilterEvents(keepAllButExposure, nullptr);
  present();
}

void GameWindow::beginFrame() {
  if (!fitFrame()) lastError = "cannot draw a frame of the window's size";
  frame->bind();
}

void GameWindow::present() {
  int drawableWidth = 0, drawableHeight = 0;
  SDL_GL_GetDrawableSize(sdlWindow, &drawableWidth, &drawableHeight);
  const ScreenMapping place(drawableWidth, drawableHeight);
  frame->presentAt(drawableWidth, drawableHeight, place.frameLeft(), place.frameTop(), place.frameWidth(),
                   place.frameHeight());
  SDL_GL_SwapWindow(sdlWindow);
}

void GameWindow::toggleFullscreen() {
  const bool fullscreen = (SDL_GetWindowFlags(sdlWindow) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
  SDL_SetWindowFullscreen(sdlWindow, fullscreen ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

bool GameWindow::isFullscreenKey(int keyCode, int modifiers) {
  if (keyCode == SDLK_F11) return true;
  return (keyCode == SDLK_RETURN || keyCode == SDLK_KP_ENTER) && (modifiers & KMOD_ALT) != 0;
}

void GameWindow::windowSize(int& width, int& height) const { SDL_GetWindowSize(sdlWindow, &width, &height); }

ScreenMapping GameWindow::mapping() const {
  int width = 0, height = 0, drawableWidth = 0, drawableHeight = 0;
  SDL_GetWindowSize(sdlWindow, &width, &height);
  SDL_GL_GetDrawableSize(sdlWindow, &drawableWidth, &drawableHeight);
  return ScreenMapping(width, height, drawableWidth, drawableHeight);
}
