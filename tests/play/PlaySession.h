// PlaySession: the game as the window shell runs it, without a window. The real controller on an
// offscreen EGL context (Mesa llvmpipe), the view layer over it with touches going to the views
// first, keys and typed text, a wall clock that only the session moves, and the game's three
// files in a private temporary folder. The play driver, its long run and its fuzz target use it.
// One session at a time per process (the GL state is process-wide); everything runs on the
// calling thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "SaveFailureNotice.h"
#include "Settings.h"
#include "GameController.h"
#include "ViewKey.h"

namespace Ui {
class ViewRoot;
}  // namespace Ui

class PlaySession {
 public:
  // Where the session finds what it needs; the resource folder holds the generated images and
  // sounds of a build.
  struct Options {
    std::string resourceFolder;
    // The seed of the game's random source: a run is reproducible when this and the session's
    // events are. A relaunch seeds the new game with the next number.
    uint32_t seed = 1;
    // The settings of the first game (the player changes them later through the settings screen).
    int gameMode = Settings::MODE_EASY;
    bool twoTapMoves = false;
    bool clockDisabled = false;
  };

  // Makes the GL context and the settings on the first call of the process, a fresh data
  // folder and the game on its start screen, as the shell does at launch. Null, with the
  // reason in `error`, when no GL context can be made.
  static std::unique_ptr<PlaySession> start(const Options& options, std::string& error);
  // Quits as the shell does (the game saves its files) and removes the data folder.
  ~PlaySession();
  PlaySession(const PlaySession&) = delete;
  PlaySession& operator=(const PlaySession&) = delete;

  // Input in screen pixels, routed like the shell's: the views first, then the game.
  void touchDown(int x, int y);
  void touchDrag(int x, int y);
  void touchUp(int x, int y);
  void key(Ui::ViewKey key);
  void text(const char* utf8);
  // One frame tick: the game's frame, then the views over it.
  void frame();
  // Moves the wall clock on; nothing runs until the next event or frame.
  void advance(int ms);
  // Quits and launches again on the same files, as a player closing and reopening the game.
  void relaunch();

  GameController& game() { return *controller; }
  Ui::ViewRoot& views() { return *viewRoot; }
  const std::string& folder() const { return dataFolder; }
  std::string statePath() const { return dataFolder + "/gameState.dat"; }
  std::string settingsPath() const { return dataFolder + "/settings.dat"; }
  std::string scoresPath() const { return dataFolder + "/hiScores.dat"; }
  std::string preferencesPath() const { return dataFolder + "/preferences"; }

 private:
  PlaySession() = default;
  void launch();
  void quit();

  std::string dataFolder;
  // The seed of the next launch's random source.
  uint32_t nextSeed = 1;
  // Every failed save of the session, and the player's settings and preferences in the data
  // folder, as the shell holds them; all outlive the controller.
  MyTl::SaveFailureNotice saveFailures;
  std::unique_ptr<Settings> settings;
  std::unique_ptr<Preferences> preferences;
  std::unique_ptr<GameController> controller;
  std::shared_ptr<Ui::ViewRoot> viewRoot;
};
