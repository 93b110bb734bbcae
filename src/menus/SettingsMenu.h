// SettingsMenu: the settings screen: four game-mode columns with a sample ball each and a
// selector behind the chosen one, the "Game clock:" switch, the look chooser and the volume
// slider. (Moves by clicking and by dragging both work at all times, so the stored two-tap
// setting has no switch; its bit in settings.dat is kept as it is.) It reads and writes the
// live settings it was given (which outlive it): the switch is copied into them on each change; the mode, the look and the volume
// are changed by the controller's input code through the column, chooser and slider geometry. Owned by the controller; main
// thread only.
#pragma once

#include <memory>

#include "Mutex.h"
#include "ScreenGeometry.h"

class GameScreens;
class Settings;
class Texture;

namespace Ui {
class Switch;
}

class SettingsMenu {
 public:
  explicit SettingsMenu(Settings& liveSettings);
  ~SettingsMenu();

  // The controller opens the screen (or its mode-change question) over `screens`: the switches
  // show the settings and go over the frame.
  void beginVisit(GameScreens& screens);
  // Draws the screen through `screens`; returns the top of the "Done" button.
  int drawSettings(GameScreens& screens, bool bottomHighlighted);
  // Queues the switches for removal when the controller leaves the screen; they are kept for
  // the next showing.
  void finishedShowing();
  // Turns the clock switch on or off for a key or pad press: the knob slides and the setting
  // follows at once, as after a tap.
  void setSwitch(Ui::Switch& control, bool on);

  // Centre x of the mode column at display position 0 to 3.
  static int columnCentreX(int position) { return ScreenGeometry::modeColumnCentreX(position); }
  // Centre x of the volume knob.
  static float volumeKnobX(float volume) { return ScreenGeometry::volumeKnobX(volume); }

  MyTl::Mutex menuLock;
  std::shared_ptr<Ui::Switch> clockSwitch;
  Texture* levelTitle = nullptr;
  Texture* levelSelector = nullptr;
  Texture* sliderBar = nullptr;

 private:
  // The "Look:" row: the name of the renderer's look between a back and an on arrow.
  void drawLookChooser(GameScreens& screens);
  // The live settings take the switch's value (after every change of it).
  void followSwitches();

  Settings& settings;
  GameScreens* shownOn = nullptr;
};
