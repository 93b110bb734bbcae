// Window, GL context and presentation through SDL2.
#include "GameWindow.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "DisplayScale.h"
#include "Gl.h"
#include "GlFixedState.h"
#include "OffscreenFrame.h"
#include "SubBufferCopy.h"
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

bool GameWindow::open() {
  if (openWithContext()) return true;
  // An X11 system whose GLX library cannot be loaded: SDL's video again, straight to EGL.
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver == nullptr || std::string(driver) != "x11" || SDL_GetHintBoolean(SDL_HINT_VIDEO_X11_FORCE_EGL, SDL_FALSE))
    return false;
  const std::string glxProblem = lastError;
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  // SDL reads this when its video starts.
  SDL_SetHint(SDL_HINT_VIDEO_X11_FORCE_EGL, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    lastError = glxProblem + "; the display could not be opened again for EGL: " + SDL_GetError();
    return false;
  }
  if (openWithContext()) return true;
  lastError = glxProblem + "; with EGL: " + lastError;
  return false;
}

bool GameWindow::openWithContext() {
  int width = 0, height = 0;
  initialSize(width, height);

  // ES 1.1 first; desktop GL 2.1 compatibility offers the same calls where ES is missing. On X11
  // the window system's own GL (GLX) offers no ES 1.x: SDL would load GLX, make a context there
  // and then load EGL beside it (a second renderer with its own threads and memory) for an ES
  // context. GLX's GL 2.1 comes first there, and it can show part of a picture
  // (SubBufferCopy); EGL's ES remains for a GLX that makes no context.
  struct Attempt {
    int profile, major, minor;
  };
  const Attempt es = {SDL_GL_CONTEXT_PROFILE_ES, 1, 1};
  const Attempt desktop = {SDL_GL_CONTEXT_PROFILE_COMPATIBILITY, 2, 1};
  const char* driver = SDL_GetCurrentVideoDriver();
  const bool glxFirst = driver != nullptr && std::string(driver) == "x11" &&
                        !SDL_GetHintBoolean(SDL_HINT_VIDEO_X11_FORCE_EGL, SDL_FALSE);
  const Attempt attempts[] = {glxFirst ? desktop : es, glxFirst ? es : desktop};
  for (const Attempt& attempt : attempts) {
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
  StartUpTrace::mark("GL functions loaded, frame made");
  // Paced by the game's own 60 Hz timer; vsync would fight it on displays of other rates.
  SDL_GL_SetSwapInterval(0);
  subBufferCopy.prepare();
  backBufferHoldsFrame = false;
  shownWidth = -1;
  shownHeight = -1;
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
  // A swap also lets GL follow the window's size; after it the back buffer's content is
  // undefined.
  SDL_GL_SwapWindow(sdlWindow);
  backBufferHoldsFrame = false;
  shownWidth = drawableWidth;
  shownHeight = drawableHeight;
}

void GameWindow::presentPart(float left, float top, float right, float bottom) {
  int drawableWidth = 0, drawableHeight = 0;
  SDL_GL_GetDrawableSize(sdlWindow, &drawableWidth, &drawableHeight);
  const ScreenMapping place(drawableWidth, drawableHeight);
  const bool pixelForPixel = place.frameWidth() == frame->pixelWidth() && place.frameHeight() == frame->pixelHeight();
  if (!subBufferCopy.available() || !pixelForPixel || drawableWidth != shownWidth || drawableHeight != shownHeight) {
    present();
    return;
  }
  // The part in the frame's pixels, rounded outwards as the drawing's clip is, and a pixel more.
  const float pixelsPerUnitX = static_cast<float>(frame->pixelWidth()) / static_cast<float>(frame->width());
  const float pixelsPerUnitY = static_cast<float>(frame->pixelHeight()) / static_cast<float>(frame->height());
  const int x0 = std::max(0, static_cast<int>(std::floor(left * pixelsPerUnitX)) - 1);
  const int x1 = std::min(frame->pixelWidth(), static_cast<int>(std::ceil(right * pixelsPerUnitX)) + 1);
  const int y0 = std::max(0, static_cast<int>(std::floor(top * pixelsPerUnitY)) - 1);
  const int y1 = std::min(frame->pixelHeight(), static_cast<int>(std::ceil(bottom * pixelsPerUnitY)) + 1);
  OffscreenFrame::WindowRect part;
  part.left = place.frameLeft() + x0;
  part.right = place.frameLeft() + x1;
  part.top = place.frameTop() + y0;
  part.bottom = place.frameTop() + y1;
  // After a swap the back buffer gets the whole frame once; from then on it keeps every picture
  // shown, since copying a part leaves it as it is.
  frame->presentAt(drawableWidth, drawableHeight, place.frameLeft(), place.frameTop(), place.frameWidth(),
                   place.frameHeight(), 0, backBufferHoldsFrame ? &part : nullptr);
  backBufferHoldsFrame = true;
  subBufferCopy.copy(part.left, drawableHeight - part.bottom, part.right - part.left, part.bottom - part.top);
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
