// PellixApp: the desktop shell around the game. It starts everything in order (window and GL,
// data folder, settings, the controller and its saved game), runs the 60 Hz frame tick, turns
// mouse and touch-finger events into the controller's touches in screen pixels, pauses time
// while the window is in the background, and ends normally on window close, SIGINT, SIGTERM
// and SIGHUP, saving what a normal exit saves. main() creates one and runs it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "DataFolderLock.h"
#include "GameWindow.h"

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
  void loop();
  void handleEvent(const SDL_Event& event);
  void handleKey(const SDL_Event& event);
  void touch(int phase, float windowX, float windowY);
  void tick();
  void resignActive();
  void becomeActive();
  void shutDown();

  GameWindow window;
  // The controls of the screens (switches, name field, alerts) drawn over the game's frame;
  // they get a touch before the game when it lands on them.
  std::shared_ptr<Ui::ViewRoot> views;
  bool sdlStarted = false;
  bool active = true;
  bool quitRequested = false;
  bool mouseDown = false;
  int64_t followedFinger = -1;
  std::string dataFolder;
  DataFolderLock dataFolderLock;
};
