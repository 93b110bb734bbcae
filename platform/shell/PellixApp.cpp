// The shell's launch order, event loop and exit.
#include "PellixApp.h"

#include <SDL.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>
#include <thread>

#include "AlreadyRunningNotice.h"
#include "CurlHttpTransport.h"
#include "AccountName.h"
#include "DataDirectory.h"
#include "DataFolderLock.h"
#include "IntTimer.h"
#include "Resources.h"
#include "RunningGameLink.h"
#include "Translation.h"
#include "ScreenMapping.h"
#include "Settings.h"
#include "StartUpTrace.h"
#include "GameController.h"
#include "GamepadPlay.h"
#include "VideoDriverChoice.h"
#include "ViewRoot.h"
#include "WindowIdentity.h"

namespace {

enum TouchPhase { TOUCH_DOWN, TOUCH_MOVE, TOUCH_UP };

// The event that wakes the loop from another thread (a signal arrived, a network worker ended).
Uint32 wakeEventType = static_cast<Uint32>(-1);
// The event that asks the loop to bring the window to the front (a second launch asked for it).
Uint32 raiseEventType = static_cast<Uint32>(-1);
// How long a second launch waits for the running game to answer its request to come forward.
const int RAISE_ANSWER_MS = 2000;

void wakeLoop() {
  if (wakeEventType == static_cast<Uint32>(-1)) return;
  SDL_Event event;
  SDL_zero(event);
  event.type = wakeEventType;
  SDL_PushEvent(&event);
}

void askLoopToRaise() {
  if (raiseEventType == static_cast<Uint32>(-1)) return;
  SDL_Event event;
  SDL_zero(event);
  event.type = raiseEventType;
  SDL_PushEvent(&event);
}

double clockMs() {
  return static_cast<double>(SDL_GetPerformanceCounter()) * 1000.0 / static_cast<double>(SDL_GetPerformanceFrequency());
}

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
    std::fprintf(stderr, tr("Pellix cannot find its data folder (images and sounds); it looked in:%s\n"), looked.c_str());
    return false;
  }
  // SIGINT, SIGTERM and SIGHUP all end the game the same normal way; they are received on a
  // thread of their own, started before any other thread so that no other thread takes them.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // A click on the game's window while another window has the focus acts as well as focusing,
  // as in the desktop's own applications; SDL would otherwise drop a click that arrives within
  // a few milliseconds of the focus, which on a busy machine can be the player's first click.
  SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
  WindowIdentity::nameApplication();
  wakeEventType = SDL_RegisterEvents(1);
  raiseEventType = SDL_RegisterEvents(1);
  if (!stopSignals.start(wakeLoop)) {
    std::fprintf(stderr, "%s", tr("Pellix could not set up its signal handling.\n"));
    return false;
  }

  // One game per data folder, settled before anything is shown.
  dataFolder = DataDirectory::locate();
  if (!dataFolder.empty()) {
    if (dataFolderLock.acquire(dataFolder) == DataFolderLock::HELD_ELSEWHERE) {
      tellAlreadyRunning();
      return false;
    }
    dataFolderLock.removeStaleTemporaryFiles();
  }

  StartUpTrace::mark("data folder locked");
  if (!VideoDriverChoice::apply()) return false;
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    std::fprintf(stderr, tr("Pellix needs a graphical display and could not open one: %s\n"), SDL_GetError());
    return false;
  }
  sdlStarted = true;
  // Started once the start screen is up: pads, like every other input, are handled from then on.
  pads = std::make_unique<GamepadTranslator>();
  // Without a display SDL may fall back to an invisible driver; a game nobody can see is an error.
  const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  if (driver != "x11" && driver != "wayland" && driver != "kmsdrm") {
    std::fprintf(stderr, tr("Pellix needs a graphical display (X11 or Wayland) and found none (video driver \"%s\").\n"),
                 driver.c_str());
    return false;
  }
  const std::string prefix = dataFolder.empty() ? std::string() : dataFolder + "/";
  settings = std::make_unique<Settings>((prefix + "settings.dat").c_str());
  settings->reportSaveFailuresTo(&saveFailures);
  // A missing or damaged file gets the settings at once: a first launch leaves the file, and a
  // data folder that cannot take it shows at launch rather than at exit.
  settings->save();
  // A missing or damaged preferences file gives the defaults and is left as it is until the
  // player changes a preference.
  preferences = std::make_unique<Preferences>(DataDirectory::preferencesFile());

  // The window and its GL context take the longest to open. The controller needs no GL context
  // until it draws, so it is made meanwhile on a thread of its own (its board, sounds and
  // screens), and the start screen's images are decoded on another; its art follows on this
  // thread: the start screen's before the first frame, the rest right after it.
  BallGraphics::prefetchStartScreenArt(preferences->look(), GameWindow::expectedArtScale());
  game.reset();
  const uint32_t seed = std::random_device()();
  const std::string scoresCaFile = preferences->scoresCaFile();
  const auto makeGame = [this, seed, scoresCaFile] {
    game = std::make_unique<GameController>(*settings, *preferences, saveFailures,
                                           CurlHttpTransport::factory(scoresCaFile),
                                           &IntTimer::getGlobalTimeInMs, seed, BallGraphics::NO_ART);
  };
  std::thread maker;
  try {
    maker = std::thread(makeGame);
  } catch (const std::system_error&) {
    makeGame();
  }
  StartUpTrace::mark("SDL started");
  const bool windowOpen = window.open();
  StartUpTrace::mark("window and GL context made");
  if (maker.joinable()) maker.join();
  StartUpTrace::mark("game made");
  // Nothing is loaded yet, so a controller without a window saves nothing when it goes.
  if (!windowOpen) {
    std::fprintf(stderr, tr("Pellix could not start its window: %s\n"), window.error().c_str());
    return false;
  }

  views = std::make_shared<Ui::ViewRoot>();
  views->setTextInputHandler([](bool editing) {
    if (editing) {
      SDL_StartTextInput();
    } else {
      SDL_StopTextInput();
    }
  });
  game->attachViews(views);
  // The name entry offers the account's real name until the player has typed one.
  game->gameScreens().setAccountName(AccountName::realName());
  game->gameScreens().setAboutFacts(GameScreens::AboutFacts{PELLIX_VERSION, dataFolder, preferences->path()});
  // The window's frame keeps its pixels from one frame to the next: a pulsing ball redraws
  // only its own square's surroundings.
  game->allowPartialFrames(true);
  // A finished fetch or upload shows its result without waiting for the next input.
  game->setWorkerWakeUp(wakeLoop);
  game->loadState((prefix + "gameState.dat").c_str(), (prefix + "hiScores.dat").c_str());
  // Scores that could not be sent before wait beside the tables; those due go now.
  game->hiScoresScreen().openOutbox(dataFolder.empty() ? std::string() : prefix + "scoreOutbox.dat",
                                [] { return static_cast<int64_t>(std::time(nullptr)); });
  // The start screen first, then the rest of the art, before any input is handled.
  gameLoop = std::make_unique<GameLoop>(*game, GameLoop::Hooks{clockMs, [this] { return views->msUntilChange(); },
                                                              [this] { drawAndPresent(); }});
  // The window appears with the start screen already drawn in it.
  if (game->advanceFrame()) drawFrame();
  StartUpTrace::mark("start screen drawn");
  window.show();
  gameLoop->frameShown();
  StartUpTrace::mark("window shown with the start screen");
  game->completeStartUp();
  // The game plays without pads where SDL cannot follow them.
  if (!pads->start()) std::fprintf(stderr, tr("Pellix plays without game controllers: %s\n"), SDL_GetError());
  // A later launch on the same folder asks this game to come to the front. Without the socket
  // it still says that the game runs.
  if (!dataFolder.empty()) runningGameLink.listen(dataFolder, askLoopToRaise);
  WindowIdentity::setIcon(window.window(), Resources::pathFor("WindowIcon_128x128", "png"));
  StartUpTrace::mark("all art made");
  return true;
}

void PellixApp::tellAlreadyRunning() {
  const bool raised = RunningGameLink::askToRaise(dataFolder, RAISE_ANSWER_MS);
  if (raised) {
    std::fprintf(stderr, tr("Pellix is already running with the data folder %s; its window was asked to come to the front.\n"),
                 dataFolder.c_str());
  } else {
    std::fprintf(stderr, tr("Pellix is already running with the data folder %s; switch to that game instead.\n"),
                 dataFolder.c_str());
  }
  // The notice needs a display; without one the line above is all there is to say.
  if (!VideoDriverChoice::apply() || SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) return;
  sdlStarted = true;
  const std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
  if (driver != "x11" && driver != "wayland" && driver != "kmsdrm") return;
  if (!AlreadyRunningNotice::show(dataFolder, raised, [this] { return stopSignals.received(); }))
    std::fprintf(stderr, tr("Pellix could not show its notice: %s\n"), SDL_GetError());
}

void PellixApp::loop() {
  while (!stopping()) {
    int wait = active ? gameLoop->step() : -1;
    if (stopping()) break;
    // A direction held on a pad repeats like a held key.
    const int repeat = pads->msUntilRepeat(SDL_GetTicks());
    if (repeat >= 0 && (wait < 0 || repeat < wait)) wait = repeat;
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, wait)) {
      handleEvent(event);
      while (SDL_PollEvent(&event)) handleEvent(event);
    }
    for (const GamepadTranslator::Command command : pads->repeatsDue(SDL_GetTicks())) handlePadCommand(command);
  }
}

bool PellixApp::stopping() const {
  // "Quit" in the game menu ends the game as closing the window does.
  return quitRequested || stopSignals.received() || (game != nullptr && game->quitChosen());
}

void PellixApp::drawFrame() {
  window.beginFrame();
  game->drawFrame();
  views->draw();
}

void PellixApp::drawAndPresent() {
  drawFrame();
  // A frame that changed only over its animated squares is shown only there, unless controls
  // are drawn over it (they are drawn whole every frame).
  if (game->lastFrameWasPartial() && views->subviews().empty()) {
    const PartialFrame::Area& area = game->lastFrameArea();
    window.presentPart(area.left, area.top, area.right, area.bottom);
  } else {
    window.present();
  }
}

void PellixApp::handleEvent(const SDL_Event& event) {
  // Input may change anything on the screen (the views, the game, a cursor drawn in the
  // frame): the next pass draws a frame. A pointer merely passing over the window is no input.
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_TEXTINPUT:
    case SDL_TEXTEDITING:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL:
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
    case SDL_FINGERUP:
      game->markPictureChanged();
      break;
    case SDL_MOUSEMOTION:
      if (mouseDown) game->markPictureChanged();
      break;
    default:
      // A network worker finished: the screen that waits for it looks at its result.
      if (event.type == wakeEventType) game->markPictureChanged();
      break;
  }
  if (event.type == raiseEventType) window.bringToFront();

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
          // The window lost its picture: the last frame again, without drawing the scene.
          window.present();
          break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          // The scene drawn again for the new size, at the moment of the last frame (also in
          // the background, where time does not move on).
          drawAndPresent();
          break;
      }
      break;
    case SDL_MOUSEBUTTONDOWN:
      if (event.button.which == SDL_TOUCH_MOUSEID) break;
      if (event.button.button == SDL_BUTTON_LEFT) {
        mouseDown = true;
        touch(TOUCH_DOWN, static_cast<float>(event.button.x), static_cast<float>(event.button.y));
      } else if (event.button.button == SDL_BUTTON_RIGHT && !mouseDown && game != nullptr) {
        // A right-click does what the desktop's menu key does: it opens the game menu in play
        // and closes it again (not in the middle of a drag).
        game->handleKey(GameKey::MENU);
      }
      break;
    case SDL_MOUSEMOTION:
      // The keyboard cursor's ring stays out of the way while the mouse is used.
      if (game != nullptr && event.motion.which != SDL_TOUCH_MOUSEID) game->hideKeyboardCursor();
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
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERAXISMOTION:
      for (const GamepadTranslator::Command command : pads->handle(event, event.common.timestamp))
        handlePadCommand(command);
      if (game != nullptr) GamepadPlay::showPadInUse(pads->styleInUse(), *game);
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
  if (game == nullptr) return;
  int x = 0, y = 0;
  window.mapping().windowToScreen(windowX, windowY, x, y);
  // The controls over the frame get the touch first, as views over the game's view would.
  switch (phase) {
    case TOUCH_DOWN:
      if (!views->handleTouchDown(x, y)) game->handleMouseDown(x, y);
      break;
    case TOUCH_MOVE:
      if (!views->handleTouchDrag(x, y)) game->handleMouseDrag(x, y);
      break;
    default:
      if (!views->handleTouchUp(x, y)) game->handleMouseUp(x, y);
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
  if (taken || views->isTextInputActive() || views->activeModal() != nullptr || game == nullptr) return;
  // Then the game; holding an arrow key repeats it, holding the other keys does not.
  const bool repeated = event.key.repeat != 0;
  switch (key.sym) {
    case SDLK_UP: game->handleKey(GameKey::UP); break;
    case SDLK_DOWN: game->handleKey(GameKey::DOWN); break;
    case SDLK_LEFT: game->handleKey(GameKey::LEFT); break;
    case SDLK_RIGHT: game->handleKey(GameKey::RIGHT); break;
    case SDLK_TAB:
      if (!repeated) game->handleKey(GameKey::NEXT);
      break;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
    case SDLK_SPACE:
      if (!repeated) game->handleKey(GameKey::ACTIVATE);
      break;
    case SDLK_ESCAPE:
      if (!repeated) game->handleKey(GameKey::BACK);
      break;
    // The desktop's keys for an application's menu.
    case SDLK_F10:
    case SDLK_MENU:
    case SDLK_APPLICATION:
      if (!repeated) game->handleKey(GameKey::MENU);
      break;
    default: break;
  }
}

void PellixApp::handlePadCommand(GamepadTranslator::Command command) {
  if (game != nullptr && views != nullptr) GamepadPlay::apply(command, *game, *views);
}

void PellixApp::resignActive() {
  if (!active) return;
  active = false;
  pads->releaseAll();
  game->resignActive();
}

void PellixApp::becomeActive() {
  if (active) return;
  active = true;
  game->becomeActive();
}

void PellixApp::shutDown() {
  // No more requests from later launches: their thread pushes events into SDL's queue.
  runningGameLink.stop();
  // The controller goes first (it saves the game and the high scores) while GL still exists,
  // and its network workers end with it, before the event queue closes; the settings are saved
  // after it.
  if (views) {
    views->setTextInputHandler(nullptr);
    views->releaseGraphics();
  }
  gameLoop.reset();
  game.reset();
  settings.reset();
  views.reset();
  pads.reset();
  if (sdlStarted) {
    window.close();
    SDL_Quit();
    sdlStarted = false;
  }
  stopSignals.stop();
}
