// End-to-end tests of the data folder as a careless disk or a second launch leaves it: odd files
// in place of the data files, a second game on the same folder (which says so in a window of its
// own and brings the running game to the front), temporary files of a killed save.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "ChildProcessStop.h"
#include "GameTestFixture.h"
#include "TempFolder.h"
#include "TestEnvironment.h"
#include "WholeFile.h"
#include "XTestKeyboard.h"

// After GoogleTest's headers, whose names (None) Xlib's macros would replace.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace {

const char* const DATA_FILES[] = {"settings.dat", "gameState.dat", "hiScores.dat"};

class DataFolderTest : public GameTestFixture {
 protected:
  // Launches the game on whatever the data folder holds now and waits for its first frame.
  void launchAsItIs() {
    ASSERT_TRUE(session.launch());
    ASSERT_TRUE(session.waitForFirstFrame(20000)) << session.errorOutput();
    waitUntilReadyForInput();
  }
  std::string xdgDataHome() const { return std::filesystem::path(session.dataFolder()).parent_path().string(); }
};

// A FIFO, a folder, a link to /dev/zero or a dangling link where each data file belongs: the game
// starts as on a first launch, plays, exits normally, and leaves the odd files as they were.
TEST_F(DataFolderTest, OddFilesInPlaceOfTheDataFilesNeitherHangNorBreakTheGame) {
  const char* const kinds[] = {"fifo", "folder", "/dev/zero", "dangling link"};
  for (const std::string kind : kinds) {
    SCOPED_TRACE(kind);
    for (const char* name : DATA_FILES) {
      const std::string path = dataFile(name);
      std::filesystem::remove_all(path);
      if (kind == "fifo") {
        ASSERT_EQ(0, ::mkfifo(path.c_str(), 0600));
      } else if (kind == "folder") {
        std::filesystem::create_directory(path);
      } else if (kind == "/dev/zero") {
        std::filesystem::create_symlink("/dev/zero", path);
      } else {
        std::filesystem::create_symlink(std::string("target-") + name, path);
      }
    }
    ASSERT_NO_FATAL_FAILURE(launchAsItIs());
    // The game cannot save over such files: it says so once, then plays on.
    if (kind != "dangling link") {
      ASSERT_TRUE(waitForAlert(5000).shown()) << "no word that saving fails";
      ASSERT_TRUE(session.pressKey(XK_Return));
      EXPECT_TRUE(alertGoneFor(300));
    }
    leaveStartScreen();
    // X delivers the tap ahead of the close message sent after it, so the game handles the tap
    // (and any save it causes) before it closes.
    session.tap(60, 100);
    closeAndExpectNormalExit();

    for (const char* name : DATA_FILES) {
      const std::string path = dataFile(name);
      struct stat info;
      ASSERT_EQ(0, ::lstat(path.c_str(), &info)) << name;
      if (kind == "fifo") {
        EXPECT_TRUE(S_ISFIFO(info.st_mode)) << name;
      } else if (kind == "folder") {
        EXPECT_TRUE(S_ISDIR(info.st_mode)) << name;
      } else if (kind == "/dev/zero") {
        EXPECT_EQ("/dev/zero", std::filesystem::read_symlink(path).string()) << name;
      } else {
        // A dangling link is saved through: its target now holds the file.
        EXPECT_TRUE(std::filesystem::is_regular_file(path)) << name;
      }
    }
  }
}

// One game per data folder: a second launch says so and exits at once, the first plays on.
TEST_F(DataFolderTest, ASecondLaunchOnTheSameFolderSaysSoAndExits) {
  ASSERT_NO_FATAL_FAILURE(launchAsItIs());
  // Without a display: the answer must come before any window is tried.
  const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY XDG_DATA_HOME='" + xdgDataHome() +
                              "' ALSOFT_DRIVERS=null timeout 30 '" PELLIX_GAME_BINARY "' 2>&1";
  FILE* second = ::popen(command.c_str(), "r");
  ASSERT_NE(nullptr, second);
  std::string said;
  char buffer[256];
  while (std::fgets(buffer, sizeof(buffer), second) != nullptr) said += buffer;
  const int status = ::pclose(second);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(1, WEXITSTATUS(status)) << said;
  EXPECT_NE(std::string::npos, said.find("already running")) << said;
  EXPECT_NE(std::string::npos, said.find(session.dataFolder())) << said;

  leaveStartScreen();
  closeAndExpectNormalExit();
}

// The top-level windows of `display`, bottom to top (without a window manager they are the root
// window's children, in stacking order), each with its name ("" for none).
std::vector<std::pair<Window, std::string>> topLevelWindows(Display* display) {
  std::vector<std::pair<Window, std::string>> windows;
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0) return windows;
  for (unsigned i = 0; i < count; ++i) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, children[i], &attributes) == 0 || attributes.map_state != IsViewable) continue;
    char* name = nullptr;
    XFetchName(display, children[i], &name);
    windows.emplace_back(children[i], name != nullptr ? name : "");
    if (name != nullptr) XFree(name);
  }
  if (children != nullptr) XFree(children);
  return windows;
}

// The place of the first mapped window named `name` in the stacking order (higher is nearer the
// top), -1 when there is none.
int stackingPlace(Display* display, const std::string& name, Window* found = nullptr) {
  const auto windows = topLevelWindows(display);
  for (size_t i = 0; i < windows.size(); ++i) {
    if (windows[i].second != name) continue;
    if (found != nullptr) *found = windows[i].first;
    return static_cast<int>(i);
  }
  return -1;
}

// Sockets anywhere in `folder` (the raise requests' socket of a running game).
int socketsIn(const std::string& folder) {
  int sockets = 0;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ignored))
    if (entry.is_socket(ignored)) ++sockets;
  return sockets;
}

// On a display: the second launch asks the running game to come to the front, which it does
// (here above a window that covered it), and shows a window of its own that says the game is
// already running, until the player answers it with Return; then it exits with 1. The running
// game plays on and removes its socket when it ends.
TEST_F(DataFolderTest, ASecondLaunchOnADisplayRaisesTheRunningGameAndSaysSoInAWindow) {
  TempFolder runtime("pellix-runtime");
  session.setEnvironment("XDG_RUNTIME_DIR", runtime.str());
  ASSERT_NO_FATAL_FAILURE(launchAsItIs());
  EXPECT_EQ(1, socketsIn(runtime.str()) + socketsIn(session.dataFolder())) << "the game listens on no socket";

  Display* display = XOpenDisplay(session.xDisplayName().c_str());
  ASSERT_NE(nullptr, display);
  // The notice's window may go between finding it and reading it: an error, not an exit.
  struct IgnoredXErrors {
    XErrorHandler previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    ~IgnoredXErrors() { XSetErrorHandler(previous); }
  } ignoredXErrors;
  // A window of another program over the whole screen hides the game.
  const Screen* screen = DefaultScreenOfDisplay(display);
  const Window cover = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, WidthOfScreen(screen),
                                           HeightOfScreen(screen), 0, 0, WhitePixelOfScreen(screen));
  XStoreName(display, cover, "cover");
  XMapRaised(display, cover);
  XSync(display, False);
  ASSERT_TRUE(testenv::waitUntil([&] { return stackingPlace(display, "cover") > stackingPlace(display, "Pellix"); }, 5000));

  const std::string errors = (std::filesystem::path(session.dataFolder()).parent_path() / "second.log").string();
  pid_t second = ::fork();
  ASSERT_GE(second, 0);
  if (second == 0) {
    const int log = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (log >= 0) ::dup2(log, STDERR_FILENO);
    ::setenv("DISPLAY", session.xDisplayName().c_str(), 1);
    ::unsetenv("WAYLAND_DISPLAY");
    ::setenv("XDG_DATA_HOME", xdgDataHome().c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", xdgDataHome().c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", runtime.str().c_str(), 1);
    ::setenv("ALSOFT_DRIVERS", "null", 1);
    ::execl(PELLIX_GAME_BINARY, PELLIX_GAME_BINARY, static_cast<char*>(nullptr));
    ::_exit(127);
  }

  // The notice shows its words (light text on its dark ground), and the running game is above the
  // cover.
  Window notice = 0;
  int light = 0;
  EXPECT_TRUE(testenv::waitUntil([&] {
    if (stackingPlace(display, "Pellix is already running", &notice) < 0) return false;
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, notice, &attributes) == 0) return false;
    XImage* image = XGetImage(display, notice, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (image == nullptr) return false;
    light = 0;
    for (int y = 0; y < attributes.height; ++y) {
      for (int x = 0; x < attributes.width; ++x) {
        const unsigned long pixel = XGetPixel(image, x, y);
        if ((pixel & 0xff) > 0xc0 && ((pixel >> 8) & 0xff) > 0xc0 && ((pixel >> 16) & 0xff) > 0xc0) ++light;
      }
    }
    XDestroyImage(image);
    return light > 200;
  }, 20000)) << light << " light pixels; " << testfiles::readText(errors);
  EXPECT_TRUE(testenv::waitUntil([&] { return stackingPlace(display, "Pellix") > stackingPlace(display, "cover"); }, 5000))
      << "the running game stayed behind the cover";
  if (notice != 0) {
    // Return answers it.
    XSetInputFocus(display, notice, RevertToParent, CurrentTime);
    XSync(display, False);
    XTestKeyboard(display).tapKeysym(XK_Return);
    XSync(display, False);
  }
  int status = -1;
  const bool ended = testenv::waitUntil([&] { return ::waitpid(second, &status, WNOHANG) == second; }, 10000);
  if (!ended) stopChildProcess(second);
  EXPECT_TRUE(ended) << "the notice did not go on Return";
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(1, WEXITSTATUS(status));
  const std::string said = testfiles::readText(errors);
  EXPECT_NE(std::string::npos, said.find("already running")) << said;
  EXPECT_NE(std::string::npos, said.find("front")) << said;
  // The focus back to the game, as a window manager would give it to the raised window.
  XDestroyWindow(display, cover);
  Window game = 0;
  if (stackingPlace(display, "Pellix", &game) >= 0) XSetInputFocus(display, game, RevertToParent, CurrentTime);
  XSync(display, False);
  XCloseDisplay(display);

  leaveStartScreen();
  closeAndExpectNormalExit();
  EXPECT_EQ(0, socketsIn(runtime.str()) + socketsIn(session.dataFolder()));
}

// Temporary files that a save killed half-way left behind are gone after the next start; other
// files in the folder stay.
TEST_F(DataFolderTest, StaleTemporaryFilesOfInterruptedSavesAreRemovedAtStart) {
  for (const char* name : DATA_FILES) ASSERT_TRUE(writeBytes(dataFile(std::string(name) + ".tmp-Ab3xYz"), {1, 2, 3}));
  ASSERT_TRUE(writeBytes(dataFile("notes.txt.tmp-Ab3xYz"), {4}));
  ASSERT_NO_FATAL_FAILURE(launchAsItIs());
  closeAndExpectNormalExit();
  for (const char* name : DATA_FILES) EXPECT_FALSE(std::filesystem::exists(dataFile(std::string(name) + ".tmp-Ab3xYz"))) << name;
  EXPECT_TRUE(std::filesystem::exists(dataFile("notes.txt.tmp-Ab3xYz")));
}

}  // namespace
