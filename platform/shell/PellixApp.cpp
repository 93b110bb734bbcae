// The shell's launch order, event loop and exit.
#include "PellixApp.h"

#include <SDL.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>

#include "DataDirectory.h"
#include "DataFolderLock.h"
#include "GameClock.h"
#include "Resources.h"
#include "ScreenMapping.h"
#include "Settings.h"
#include "TrelGame.h"
#include "ViewRoot.h"
#include "WindowIdentity.h"

namespace {

const Uint32 FRAME_MS = 1000 / 60;
const double FRAME_PERIOD_MS = 1000.0 / 60.0;

enum TouchPhase { TOUCH_DOWN, TOUCH_MOVE, TOUCH_UP };

volatile std::sig_atomic_t stopSignalled = 0;

void onStopSignal(int) { stopSignalled = 1; }

}  // namespace

PellixApp::~PellixApp() { shutDown(); }

int PellixApp::run() {
  if (!launch()) return 1;
  loop();
  shutDown();
  return 0;
}

bool PellixApp::launch() {
  if (Resources::directory().empty()) {
    std::string looked;
    for (const std::string& folder : Resources::candidateDirectories())
      looked += "\n  " + std::filesystem::path(folder).lexically_normal().string();
    std::fprintf(stderr, "Pellix cannot find its data folder (images and sounds); it looked in:%s\n", looked.c_str());
    return false;
  }
  // Our own handlers, so that SIGINT, SIGTERM and SIGHUP all end the game the same normal way.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  WindowIdentity::nameApplication();
  std::signal(SIGINT, onStopSignal);
  std::signal(SIGTERM, onStopSignal);
  std::signal(SIGHUP, onStopSignal);

  // One game per data folder, settled before anything is shown.
  dataFolder = DataDirectory::locate();
  if (!dataFolder.empty()) {
    if (dataFolderLock.acquire(dataFolder) == DataFolderLock::HELD_ELSEWHERE) {
      std::fprintf(stderr, "Pellix is already running with the data folder %s; switch to that game instead.\n",
                   dataFolder.c_str());
      return false;
    }
    dataFolderLock.removeStaleTemporaryFiles();
  }

  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    std::fprintf(stderr, "Pellix needs a graphical display and could not open one: %s\n", SDL_GetError());
    return false;
  }
  sdlStarted = true;
  // Without a display SDL may fall back to an invisible driver; a game nobody can see is an error.
  const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  if (driver != "x11" && driver != "wayland" && driver != "kmsdrm") {
    std::fprintf(stderr, "Pellix needs a graphical display (X11 or Wayland) and found none (video driver \"%s\").\n",
                 driver.c_str());
    return false;
  }
  if (!window.open()) {
    std::fprintf(stderr, "Pellix could not start its window: %s\n", window.error().c_str());
    return false;
  }
  WindowIdentity::setIcon(window.window(), Resources::pathFor("WindowIcon_128x128", "png"));

  const std::string prefix = dataFolder.empty() ? std::string() : dataFolder + "/";
  Settings::init((prefix + "settings.dat").c_str());

  delete TrelGame::instance;
  TrelGame::instance = new TrelGame();
  views = std::make_shared<Ui::ViewRoot>();
  views->setTextInputHandler([](bool editing) {
    if (editing) {
      SDL_StartTextInput();
    } else {
      SDL_StopTextInput();
    }
  });
  TrelGame::instance->screens.parent = views;
  TrelGame::instance->loadState((prefix + "gameState.dat").c_str(), (prefix + "hiScores.dat").c_str());
  // The start screen does not count as play.
  GameClock::instance.pause();
  tick();
  return true;
}

void PellixApp::loop() {
  double nextTick = static_cast<double>(SDL_GetTicks()) + FRAME_PERIOD_MS;
  while (!quitRequested && !stopSignalled) {
    SDL_Event event;
    if (!active) {
      // In the background nothing ticks: wait for the window to come back.
      if (SDL_WaitEventTimeout(&event, 100)) handleEvent(event);
      nextTick = static_cast<double>(SDL_GetTicks());
      continue;
    }
    const double now = static_cast<double>(SDL_GetTicks());
    const int wait = now < nextTick ? static_cast<int>(nextTick - now) : 0;
    if (SDL_WaitEventTimeout(&event, wait)) {
      handleEvent(event);
      while (SDL_PollEvent(&event)) handleEvent(event);
    }
    if (static_cast<double>(SDL_GetTicks()) + 0.5 >= nextTick && active) {
      tick();
      nextTick += FRAME_PERIOD_MS;
      // After a stall, start the rhythm afresh instead of racing to catch up.
      if (static_cast<double>(SDL_GetTicks()) > nextTick + 4 * FRAME_MS) nextTick = SDL_GetTicks() + FRAME_PERIOD_MS;
    }
  }
}

void PellixApp::tick() {
  window.beginFrame();
  TrelGame::instance->drawBoard();
  views->draw();
  window.present();
}

void PellixApp::handleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_QUIT:
      quitRequested = true;
      break;
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_LOST:
        case SDL_WINDOWEVENT_MINIMIZED:
          resignActive();
          break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_RESTORED:
          becomeActive();
          break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          // Show the last frame at the new size even while nothing ticks.
          window.present();
          break;
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
      if (event.button.button == SDL_BUTTON_LEFT && event.button.which != SDL_TOUCH_MOUSEID) {
        mouseDown = true;
        touch(TOUCH_DOWN, static_cast<float>(event.button.x), static_cast<float>(event.button.y));
      }
      break;
    case SDL_MOUSEMOTION:
      // The keyboard cursor's ring stays out of the way while the mouse is used.
      if (TrelGame::instance != nullptr && event.motion.which != SDL_TOUCH_MOUSEID) TrelGame::instance->hideKeyboardCursor();
      if (mouseDown && event.motion.which != SDL_TOUCH_MOUSEID)
        touch(TOUCH_MOVE, static_cast<float>(event.motion.x), static_cast<float>(event.motion.y));
      break;
    case SDL_MOUSEBUTTONUP:
      if (event.button.button == SDL_BUTTON_LEFT && mouseDown && event.button.which != SDL_TOUCH_MOUSEID) {
        mouseDown = false;
        touch(TOUCH_UP, static_cast<float>(event.button.x), static_cast<float>(event.button.y));
      }
      break;
    case SDL_TEXTINPUT:
      views->handleTextInput(event.text.text);
      break;
    case SDL_KEYDOWN:
      handleKey(event);
      break;
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
    case SDL_FINGERUP: {
      // One finger is followed: the first one down, until it lifts.
      if (event.type == SDL_FINGERDOWN && followedFinger == -1) followedFinger = event.tfinger.fingerId;
      if (event.tfinger.fingerId != followedFinger) break;
      int width = 0, height = 0;
      window.windowSize(width, height);
      const int phase = event.type == SDL_FINGERDOWN ? TOUCH_DOWN : (event.type == SDL_FINGERUP ? TOUCH_UP : TOUCH_MOVE);
      touch(phase, event.tfinger.x * static_cast<float>(width), event.tfinger.y * static_cast<float>(height));
      if (event.type == SDL_FINGERUP) followedFinger = -1;
      break;
    }
    default:
      break;
  }
}

void PellixApp::touch(int phase, float windowX, float windowY) {
  if (TrelGame::instance == nullptr) return;
  int x = 0, y = 0;
  window.mapping().windowToScreen(windowX, windowY, x, y);
  // The controls over the frame get the touch first, as views over the game's view would.
  switch (phase) {
    case TOUCH_DOWN:
      if (!views->handleTouchDown(x, y)) TrelGame::instance->handleMouseDown(x, y);
      break;
    case TOUCH_MOVE:
      if (!views->handleTouchDrag(x, y)) TrelGame::instance->handleMouseDrag(x, y);
      break;
    default:
      if (!views->handleTouchUp(x, y)) TrelGame::instance->handleMouseUp(x, y);
      break;
  }
}

void PellixApp::handleKey(const SDL_Event& event) {
  const SDL_Keysym& key = event.key.keysym;
  if (GameWindow::isFullscreenKey(key.sym, key.mod)) {
    window.toggleFullscreen();
    return;
  }
  if (key.sym == SDLK_q && (key.mod & KMOD_CTRL) != 0) {
    // Ctrl+Q ends the game as closing the window does.
    quitRequested = true;
    return;
  }
  // An alert on top or the name field being edited gets the key first.
  bool taken = false;
  switch (key.sym) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER: taken = views->handleKey(Ui::ViewKey::RETURN); break;
    case SDLK_ESCAPE: taken = views->handleKey(Ui::ViewKey::ESCAPE); break;
    case SDLK_BACKSPACE: taken = views->handleKey(Ui::ViewKey::BACKSPACE); break;
    case SDLK_DELETE: taken = views->handleKey(Ui::ViewKey::DELETE); break;
    case SDLK_LEFT: taken = views->handleKey(Ui::ViewKey::LEFT); break;
    case SDLK_RIGHT: taken = views->handleKey(Ui::ViewKey::RIGHT); break;
    case SDLK_HOME: taken = views->handleKey(Ui::ViewKey::HOME); break;
    case SDLK_END: taken = views->handleKey(Ui::ViewKey::END); break;
    default: break;
  }
  if (taken || views->isTextInputActive() || views->activeModal() != nullptr || TrelGame::instance == nullptr) return;
  // Then the game; holding an arrow key repeats it, holding the other keys does not.
  const bool repeated = event.key.repeat != 0;
  switch (key.sym) {
    case SDLK_UP: TrelGame::instance->handleKey(GameKey::UP); break;
    case SDLK_DOWN: TrelGame::instance->handleKey(GameKey::DOWN); break;
    case SDLK_LEFT: TrelGame::instance->handleKey(GameKey::LEFT); break;
    case SDLK_RIGHT: TrelGame::instance->handleKey(GameKey::RIGHT); break;
    case SDLK_TAB:
      if (!repeated) TrelGame::instance->handleKey(GameKey::NEXT);
      break;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
    case SDLK_SPACE:
      if (!repeated) TrelGame::instance->handleKey(GameKey::ACTIVATE);
      break;
    case SDLK_ESCAPE:
      if (!repeated) TrelGame::instance->handleKey(GameKey::BACK);
      break;
    default: break;
  }
}

void PellixApp::resignActive() {
  if (!active) return;
  active = false;
  TrelGame::instance->clockWasRunning = !GameClock::instance.paused;
  GameClock::instance.pause();
}

void PellixApp::becomeActive() {
  if (active) return;
  active = true;
  if (TrelGame::instance->clockWasRunning) GameClock::instance.resume();
}

void PellixApp::shutDown() {
  // The controller goes first (it saves the game and the high scores) while GL still exists;
  // the live settings are saved last, at process exit.
  if (views) {
    views->setTextInputHandler(nullptr);
    views->releaseGraphics();
  }
  delete TrelGame::instance;
  TrelGame::instance = nullptr;
  views.reset();
  if (sdlStarted) {
    window.close();
    SDL_Quit();
    sdlStarted = false;
  }
}
