// PellixApp: the desktop shell around the game. It starts everything in order (window and GL,
// data folder, settings, the controller and its saved game), runs the frame tick, turns mouse
// and touch-finger events into the controller's touches in screen pixels, pauses time while the
// window is in the background, and ends normally on window close, SIGINT, SIGTERM and SIGHUP,
// saving what a normal exit saves. main() creates one and runs it.
// The loop draws only when the picture changes: it runs the frame tick's time step whenever it
// wakes, draws and presents a frame when the game or the views ask for one (never more than 60
// a second, paced by its own clock), and otherwise sleeps until the next input event, the next
// moment the game names, or a wake-up from another thread (signals, network workers).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "DataFolderLock.h"
#include "GameWindow.h"
#include "GamepadTranslator.h"
#include "RunningGameLink.h"
#include "SaveFailureNotice.h"
#include "Preferences.h"
#include "Settings.h"
#include "StopSignals.h"
#include "GameController.h"
#include "GameLoop.h"

union SDL_Event;

namespace Ui {
class ViewRoot;
}

class PellixApp {
 public:
  PellixApp() = default;
  ~PellixApp();
  PellixApp(const PellixApp&) = delete;
  PellixApp& operator=(const PellixApp&) = delete;

  // Launches and plays until the player quits; the process exit status.
  int run();

 private:
  bool launch();
  // A game already runs with the data folder: asks it to come to the front and tells the player
  // (on standard error, and in a small window where there is a display).
  void tellAlreadyRunning();
  void loop();
  // The window was closed, Ctrl+Q or "Quit" was chosen, or a stop signal came.
  bool stopping() const;
  void handleEvent(const SDL_Event& event);
  void handleKey(const SDL_Event& event);
  // A pad's command, passed on as the matching key would be.
  void handlePadCommand(GamepadTranslator::Command command);
  void touch(int phase, float windowX, float windowY);
  // Draws the game's frame and the views over it.
  void drawFrame();
  // Draws the frame and presents it.
  void drawAndPresent();
  void resignActive();
  void becomeActive();
  void shutDown();

  StopSignals stopSignals;
  GameWindow window;
  // Every save of the run that failed; the game tells the player of the first.
  MyTl::SaveFailureNotice saveFailures;
  // The player's settings from settings.dat; saved when they go, after the game.
  std::unique_ptr<Settings> settings;
  // The desktop's preferences (the look) from the configuration folder; saved when changed.
  std::unique_ptr<Preferences> preferences;
  // The game itself; made at launch, ended (saving what it holds) before the window closes.
  std::unique_ptr<GameController> game;
  // The passes of the loop over the game: time steps, frames when due, sleeps otherwise.
  std::unique_ptr<GameLoop> gameLoop;
  // The controls of the screens (switches, name field, alerts) drawn over the game's frame;
  // they get a touch before the game when it lands on them.
  std::shared_ptr<Ui::ViewRoot> views;
  // The game controllers plugged in; closed before SDL ends.
  std::unique_ptr<GamepadTranslator> pads;
  bool sdlStarted = false;
  bool active = true;
  bool quitRequested = false;
  bool mouseDown = false;
  int64_t followedFinger = -1;
  std::string dataFolder;
  DataFolderLock dataFolderLock;
  // Requests of later launches on the same folder to bring the window to the front.
  RunningGameLink runningGameLink;
};
