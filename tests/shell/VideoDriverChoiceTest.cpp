// The video driver chosen from the environment and the compositor's answer: Wayland first only
// when the player chose nothing and the compositor can take input; X11 or a clear refusal
// otherwise, never a Wayland display SDL would crash on.
#include <gtest/gtest.h>

#include "VideoDriverChoice.h"

namespace {

TEST(VideoDriverChoiceTest, WaylandFirstOnlyWhereItCanBePlayed) {
  using Probe = WaylandSeatProbe;
  struct Case {
    const char* what;
    const char* chosenDrivers;
    bool waylandDisplay, x11Display;
    Probe::Answer seat;
    bool probed;  // whether the compositor is asked at all
    const char* drivers;
    bool canRun, hasNote;
  } cases[] = {
      {"the player's x11 stays", "x11", true, true, Probe::NO_SEAT, false, "", true, false},
      {"the player's wayland stays", "wayland", true, false, Probe::HAS_SEAT, true, "", true, false},
      {"the player's wayland on a seatless compositor", "wayland", true, true, Probe::NO_SEAT, true, "", false, true},
      {"the player's wayland,x11 on a seatless compositor", "wayland,x11", true, true, Probe::NO_SEAT, true, "", false, true},
      {"the player's waylandish driver is not wayland", "waylandx", true, true, Probe::NO_SEAT, false, "", true, false},
      {"no Wayland display: SDL's own choice", "", false, true, Probe::UNREACHABLE, false, "", true, false},
      {"a Wayland desktop", "", true, true, Probe::HAS_SEAT, true, "wayland,x11", true, false},
      {"Wayland alone", "", true, false, Probe::HAS_SEAT, true, "wayland,x11", true, false},
      {"a seatless compositor beside X11", "", true, true, Probe::NO_SEAT, true, "x11", true, true},
      {"a dead WAYLAND_DISPLAY beside X11", "", true, true, Probe::UNREACHABLE, true, "x11", true, true},
      {"a seatless compositor alone", "", true, false, Probe::NO_SEAT, true, "", false, true},
      {"a dead WAYLAND_DISPLAY alone", "", true, false, Probe::UNREACHABLE, true, "", false, true},
  };
  for (const Case& c : cases) {
    VideoDriverChoice::Situation situation;
    situation.chosenDrivers = c.chosenDrivers;
    situation.waylandDisplay = c.waylandDisplay;
    situation.x11Display = c.x11Display;
    situation.seat = c.seat;
    EXPECT_EQ(c.probed, situation.needsSeatProbe()) << c.what;
    const VideoDriverChoice::Choice choice = VideoDriverChoice::choose(situation);
    EXPECT_EQ(c.drivers, choice.drivers) << c.what;
    EXPECT_EQ(c.canRun, choice.canRun) << c.what;
    EXPECT_EQ(c.hasNote, !choice.note.empty()) << c.what << ": " << choice.note;
  }
}

}  // namespace
