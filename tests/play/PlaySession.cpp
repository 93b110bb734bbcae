// The game without a window: GL, settings, data folder, clock and input routing of a play session.
#include "PlaySession.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>

#include "GlFixedState.h"
#include "OffscreenFrame.h"
#include "OffscreenGlContext.h"
#include "Resources.h"
#include "Settings.h"
#include "ViewRoot.h"

namespace {

const int SCREEN_WIDTH = 320;
const int SCREEN_HEIGHT = 480;

// The wall clock of the session, in milliseconds; it starts well away from zero and only
// advance() moves it.
int wallClockMs = 5000000;
int readWallClock() { return wallClockMs; }

// The process's GL context and frame, made once: Mesa keeps per-process state that a second
// context would not free before exit anyway.
struct Gl {
  OffscreenGlContext context;
  OffscreenFrame frame;
  std::string error;
  bool ready = false;
};

Gl& processGl() {
  static Gl* gl = [] {
    Gl* made = new Gl();
    if (!made->context.create(OffscreenGlContext::OPENGL_ES_1) &&
        !made->context.create(OffscreenGlContext::OPENGL_2)) {
      made->error = made->context.error();
    } else if (!made->frame.create(SCREEN_WIDTH, SCREEN_HEIGHT)) {
      made->error = "cannot create the offscreen frame";
    } else {
      GlFixedState::apply(SCREEN_WIDTH, SCREEN_HEIGHT);
      made->ready = true;
    }
    return made;
  }();
  return *gl;
}

std::string makeFolder(const char* pattern) {
  std::string name = (std::filesystem::temp_directory_path() / pattern).string();
  return mkdtemp(name.data()) != nullptr ? name : std::string();
}

}  // namespace

std::unique_ptr<PlaySession> PlaySession::start(const Options& options, std::string& error) {
  Gl& gl = processGl();
  if (!gl.ready) {
    error = gl.error;
    return nullptr;
  }
  // No audio device is needed: OpenAL Soft's null output plays into nothing. Nothing listens on
  // the discard port, so a fetch or an upload of the global scores fails at once.
  setenv("ALSOFT_DRIVERS", "null", 1);
  setenv("PELLIX_SCORES_URL", "http://127.0.0.1:9", 1);
  Resources::setDirectory(options.resourceFolder);
  wallClockMs = 5000000;
  std::unique_ptr<PlaySession> session(new PlaySession());
  session->dataFolder = makeFolder("pellix-play-XXXXXX");
  if (session->dataFolder.empty()) {
    error = "cannot make a temporary data folder";
    return nullptr;
  }
  // A fresh data folder: the game treats the run as a first launch.
  session->settings = std::make_unique<Settings>(session->settingsPath().c_str());
  Settings& settings = *session->settings;
  settings.gameMode = options.gameMode;
  settings.twoTapMoves = options.twoTapMoves;
  settings.clockDisabled = options.clockDisabled;
  settings.setValues();
  settings.save();
  session->nextSeed = options.seed;
  session->launch();
  return session;
}

PlaySession::~PlaySession() {
  quit();
  // The settings save themselves as they go, as at the game's exit, while their folder exists.
  settings.reset();
  preferences.reset();
  if (!dataFolder.empty()) std::filesystem::remove_all(dataFolder);
}

void PlaySession::launch() {
  // The preferences are read at each launch, as the shell reads them.
  preferences = std::make_unique<Preferences>(preferencesPath());
  controller = std::make_unique<GameController>(*settings, *preferences, saveFailures, readWallClock, nextSeed++);
  viewRoot = std::make_shared<Ui::ViewRoot>(SCREEN_WIDTH, SCREEN_HEIGHT, readWallClock);
  controller->attachViews(viewRoot);
  controller->loadState(statePath().c_str(), scoresPath().c_str());
  frame();
}

void PlaySession::quit() {
  if (viewRoot) viewRoot->releaseGraphics();
  controller.reset();
  viewRoot.reset();
}

void PlaySession::relaunch() {
  quit();
  // A new process would read the settings back from the file that the old one wrote at exit:
  // whatever the player set but did not apply (a mode chosen on the settings screen) comes back
  // applied or not at all, as the file has it.
  settings.reset();
  settings = std::make_unique<Settings>(settingsPath().c_str());
  launch();
}

void PlaySession::touchDown(int x, int y) {
  if (!viewRoot->handleTouchDown(x, y)) controller->handleMouseDown(x, y);
}

void PlaySession::touchDrag(int x, int y) {
  if (!viewRoot->handleTouchDrag(x, y)) controller->handleMouseDrag(x, y);
}

void PlaySession::touchUp(int x, int y) {
  if (!viewRoot->handleTouchUp(x, y)) controller->handleMouseUp(x, y);
}

void PlaySession::key(Ui::ViewKey key) { viewRoot->handleKey(key); }

void PlaySession::text(const char* utf8) { viewRoot->handleTextInput(utf8); }

void PlaySession::frame() {
  processGl().frame.bind();
  controller->drawBoard();
  viewRoot->draw();
}

void PlaySession::advance(int ms) { wallClockMs += ms; }
