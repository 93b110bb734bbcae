// The Wayland harness over POSIX processes, Xlib (pictures, XTest input) and libwayland-client
// (Weston's socket answering).
#include "WestonSession.h"

#include "XTestKeyboard.h"
#include "XvfbProcess.h"
// Before the X headers: their None macro would break GoogleTest's headers.
#include "ChildProcessStop.h"
#include "TestEnvironment.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "PngWriter.h"
#include "WholeFile.h"

namespace {

Display* asDisplay(void* display) { return static_cast<Display*>(display); }

int ignoreXError(Display*, XErrorEvent*) { return 0; }


// Whether a client can connect to the compositor on `socket` and get an answer.
bool compositorAnswers(const std::string& socket) {
  wl_display* connection = wl_display_connect(socket.c_str());
  if (connection == nullptr) return false;
  const bool answered = wl_display_roundtrip(connection) >= 0;
  wl_display_disconnect(connection);
  return answered;
}

// Weston draws the pointer into its output: rows and columns of the screen that hold no more
// than a cursor at scale 2 could cover are not the window.
const int CURSOR_SIZE = 64 * 2;

// The desktop's green, as Weston paints it from the configuration below.
bool isGreen(const uint8_t* p) { return p[0] < 16 && p[1] > 239 && p[2] < 16; }

}  // namespace

WestonSession::WestonSession(Backend backend, int width, int height, int scale) {
  runtimeFolder = baseFolder + "/runtime";
  gameFolder = baseFolder + "/pellix";
  errorLog = baseFolder + "/stderr.txt";
  std::filesystem::create_directories(gameFolder);
  // Wayland wants its runtime folder private to the user.
  if (mkdir(runtimeFolder.c_str(), 0700) != 0) {
    problem = "cannot make " + runtimeFolder;
    return;
  }
  outputWidth = width * scale;
  outputHeight = height * scale;
  // The headless compositor still gets an X server: the game may fall back to it.
  if (!startXvfb(outputWidth, outputHeight)) return;
  startWeston(backend, width, height, scale);
}

WestonSession::~WestonSession() {
  if (gamePid > 0) {
    kill(gamePid, SIGKILL);
    waitpid(gamePid, nullptr, 0);
  }
  // Weston ends its own helper clients and removes its socket and lock on a normal exit.
  stopChildProcess(westonPid);
  keyboard.reset();
  if (display != nullptr) XCloseDisplay(asDisplay(display));
  xvfb.reset();
}

bool WestonSession::startXvfb(int width, int height) {
  xvfb = std::make_unique<XvfbProcess>(width, height, baseFolder + "/xvfb.txt");
  if (!xvfb->started()) {
    problem = xvfb->problem();
    return false;
  }
  displayName = xvfb->display();
  XSetErrorHandler(ignoreXError);
  // The display is ready once Xvfb has named it.
  display = XOpenDisplay(displayName.c_str());
  if (display == nullptr) {
    problem = "no connection to Xvfb on " + displayName;
    return false;
  }
  keyboard = std::make_unique<XTestKeyboard>(asDisplay(display));
  return true;
}

bool WestonSession::startWeston(Backend backend, int width, int height, int scale) {
  const std::string config = baseFolder + "/weston.ini";
  testfiles::writeFile(config,
                        "[core]\nidle-time=0\n"
                        "[shell]\nbackground-color=0xff00ff00\npanel-position=none\nlocking=false\nanimation=none\n"
                        "startup-animation=none\nclose-animation=none\nfocus-animation=none\n");
  const std::string log = baseFolder + "/weston.txt";
  westonPid = fork();
  if (westonPid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, 1);
    dup2(devNull, 2);
    setenv("XDG_RUNTIME_DIR", runtimeFolder.c_str(), 1);
    setenv("DISPLAY", displayName.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("WAYLAND_SOCKET");
    const std::string backendArgument =
        std::string("--backend=") + (backend == HEADLESS ? "headless-backend.so" : "x11-backend.so");
    const std::string widthArgument = "--width=" + std::to_string(width);
    const std::string heightArgument = "--height=" + std::to_string(height);
    const std::string scaleArgument = "--scale=" + std::to_string(scale);
    const std::string socketArgument = "--socket=" + socketName;
    const std::string configArgument = "--config=" + config;
    const std::string logArgument = "--log=" + log;
    execlp("weston", "weston", backendArgument.c_str(), widthArgument.c_str(), heightArgument.c_str(),
           scaleArgument.c_str(), socketArgument.c_str(), configArgument.c_str(), logArgument.c_str(), nullptr);
    _exit(127);
  }
  if (westonPid < 0) {
    problem = "cannot start weston";
    return false;
  }
  const std::string socket = runtimeFolder + "/" + socketName;
  bool exited = false;
  const bool answered = waitFor(
      [&] {
        int status = 0;
        if (waitpid(westonPid, &status, WNOHANG) == westonPid) {
          exited = true;
          westonPid = -1;
          return true;
        }
        return std::filesystem::exists(socket) && compositorAnswers(socket);
      },
      15000);
  if (!answered || exited) {
    problem = std::string(exited ? "weston exited" : "weston's socket did not answer") + ": " + testfiles::readText(log);
    return false;
  }
  // On Xvfb the desktop is ready once its green shows.
  if (backend == X11_WINDOW &&
      !waitFor([&] {
        // All green but what the pointer covers.
        const Picture picture = screen();
        long green = 0;
        for (int y = 0; y < picture.height; ++y)
          for (int x = 0; x < picture.width; ++x) green += picture.isDesktop(x, y) ? 1 : 0;
        return green > static_cast<long>(picture.width) * picture.height * 9 / 10;
      }, 15000)) {
    saveScreenshot("weston-desktop-missing");
    problem = "weston's desktop did not show on Xvfb: " + testfiles::readText(log);
    return false;
  }
  return true;
}

bool WestonSession::launch(const Environment& environment, bool withX11) {
  gamePid = fork();
  if (gamePid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    const int errors = open(errorLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(errors, 2);
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, 1);
    setenv("XDG_DATA_HOME", baseFolder.c_str(), 1);
    setenv("XDG_RUNTIME_DIR", runtimeFolder.c_str(), 1);
    setenv("WAYLAND_DISPLAY", socketName.c_str(), 1);
    setenv("WAYLAND_DEBUG", "1", 1);
    setenv("ALSOFT_DRIVERS", "null", 1);
    unsetenv("SDL_VIDEODRIVER");
    for (const auto& variable : environment) setenv(variable.first.c_str(), variable.second.c_str(), 1);
    if (const char* gameOptions = getenv("PELLIX_GAME_ASAN_OPTIONS")) setenv("ASAN_OPTIONS", gameOptions, 1);
    if (withX11) {
      setenv("DISPLAY", displayName.c_str(), 1);
    } else {
      unsetenv("DISPLAY");
    }
    execl(PELLIX_GAME_BINARY, PELLIX_GAME_BINARY, nullptr);
    _exit(127);
  }
  return gamePid > 0;
}

std::string WestonSession::errorOutput() const { return testfiles::readText(errorLog); }

bool WestonSession::waitFor(const std::function<bool()>& condition, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(testenv::scaledMs(timeoutMs));
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

bool WestonSession::Picture::isDesktop(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return false;
  return isGreen(&rgb[(static_cast<size_t>(y) * width + x) * 3]);
}

WestonSession::Picture WestonSession::screen() {
  Picture picture;
  if (display == nullptr) return picture;
  Display* x = asDisplay(display);
  const int width = DisplayWidth(x, DefaultScreen(x));
  const int height = DisplayHeight(x, DefaultScreen(x));
  XImage* image = XGetImage(x, DefaultRootWindow(x), 0, 0, width, height, AllPlanes, ZPixmap);
  if (image == nullptr) return picture;
  picture.width = width;
  picture.height = height;
  picture.rgb.resize(static_cast<size_t>(width) * height * 3);
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      const unsigned long pixel = XGetPixel(image, column, row);
      uint8_t* out = &picture.rgb[(static_cast<size_t>(row) * width + column) * 3];
      out[0] = static_cast<uint8_t>((pixel >> 16) & 0xFF);
      out[1] = static_cast<uint8_t>((pixel >> 8) & 0xFF);
      out[2] = static_cast<uint8_t>(pixel & 0xFF);
    }
  }
  XDestroyImage(image);
  return picture;
}

WestonSession::Box WestonSession::windowBox() {
  const Picture picture = screen();
  std::vector<int> perRow(picture.height, 0), perColumn(picture.width, 0);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (picture.isDesktop(x, y)) continue;
      ++perRow[y];
      ++perColumn[x];
    }
  }
  const auto firstAndLast = [](const std::vector<int>& counts, int& first, int& last) {
    first = -1;
    last = -1;
    for (int i = 0; i < static_cast<int>(counts.size()); ++i) {
      if (counts[i] <= CURSOR_SIZE) continue;
      if (first < 0) first = i;
      last = i;
    }
    return first >= 0;
  };
  int top = 0, bottom = 0, left = 0, right = 0;
  if (!firstAndLast(perRow, top, bottom) || !firstAndLast(perColumn, left, right)) return Box{};
  return Box{left, top, right - left + 1, bottom - top + 1};
}

void WestonSession::saveScreenshot(const std::string& name) {
  const char* folder = getenv("PELLIX_E2E_SCREENSHOTS");
  if (folder == nullptr || folder[0] == '\0') return;
  std::filesystem::create_directories(folder);
  const Picture picture = screen();
  writeRgbPng(std::string(folder) + "/" + name + ".png", picture.width, picture.height, picture.rgb);
}

bool WestonSession::x11WindowShown() {
  if (display == nullptr) return false;
  Display* x = asDisplay(display);
  Window root = DefaultRootWindow(x), parent = 0, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(x, root, &root, &parent, &children, &count)) return false;
  bool shown = false;
  for (unsigned i = 0; i < count && !shown; ++i) {
    char* name = nullptr;
    XWindowAttributes attributes;
    if (XFetchName(x, children[i], &name) && name != nullptr) {
      shown = std::string(name) == "Pellix" && XGetWindowAttributes(x, children[i], &attributes) &&
              attributes.map_state == IsViewable;
      XFree(name);
    }
  }
  if (children != nullptr) XFree(children);
  return shown;
}

void WestonSession::moveTo(int x, int y) {
  if (display == nullptr) return;
  XTestFakeMotionEvent(asDisplay(display), 0, x, y, CurrentTime);
  XSync(asDisplay(display), False);
}

void WestonSession::click(int x, int y) {
  if (display == nullptr) return;
  Display* xd = asDisplay(display);
  XTestFakeMotionEvent(xd, 0, x, y, CurrentTime);
  XSync(xd, False);
  XTestFakeButtonEvent(xd, 1, True, CurrentTime);
  XSync(xd, False);
  // A hand holds the button for a moment; Weston passes press and release on as they come.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  XTestFakeButtonEvent(xd, 1, False, CurrentTime);
  XSync(xd, False);
}

std::vector<uint8_t> WestonSession::pixelsOf(const Picture& picture, const Box& box) const {
  std::vector<uint8_t> rgb;
  rgb.reserve(static_cast<size_t>(box.width) * box.height * 3);
  for (int y = box.y; y < box.y + box.height; ++y) {
    const auto row = picture.rgb.begin() + (static_cast<long>(y) * picture.width + box.x) * 3;
    rgb.insert(rgb.end(), row, row + static_cast<long>(box.width) * 3);
  }
  return rgb;
}

bool WestonSession::unfocusCompositor() {
  if (display == nullptr) return false;
  Display* x = asDisplay(display);
  // Weston's output is the one top-level window on this server (there is no window manager).
  Window root = 0;
  const int centreX = DisplayWidth(x, DefaultScreen(x)) / 2, centreY = DisplayHeight(x, DefaultScreen(x)) / 2;
  if (compositorWindow == 0) {
    Window parent = 0, *children = nullptr;
    unsigned count = 0;
    root = DefaultRootWindow(x);
    if (XQueryTree(x, root, &root, &parent, &children, &count)) {
      for (unsigned i = 0; i < count && compositorWindow == 0; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(x, children[i], &attributes) && attributes.map_state == IsViewable &&
            attributes.x <= centreX && attributes.y <= centreY && attributes.x + attributes.width > centreX &&
            attributes.y + attributes.height > centreY)
          compositorWindow = children[i];
      }
    }
    if (children != nullptr) XFree(children);
  }
  if (compositorWindow == 0) return false;
  XSetInputFocus(x, None, RevertToNone, CurrentTime);
  XSync(x, False);
  return true;
}

bool WestonSession::focusCompositor() {
  if (display == nullptr || compositorWindow == 0) return false;
  XSetInputFocus(asDisplay(display), compositorWindow, RevertToPointerRoot, CurrentTime);
  XSync(asDisplay(display), False);
  return true;
}

bool WestonSession::dragResize(int x, int y, int dx, int dy) {
  if (display == nullptr) return false;
  Display* xd = asDisplay(display);
  const KeyCode super = XKeysymToKeycode(xd, XK_Super_L);
  if (super == 0) return false;
  XTestFakeMotionEvent(xd, 0, x, y, CurrentTime);
  XTestFakeKeyEvent(xd, super, True, CurrentTime);
  XSync(xd, False);
  // A hand presses the modifier, then the button, then moves: each reaches Weston in its turn.
  const auto step = [] { std::this_thread::sleep_for(std::chrono::milliseconds(30)); };
  step();
  XTestFakeButtonEvent(xd, 3, True, CurrentTime);
  XSync(xd, False);
  step();
  const int steps = 10;
  for (int i = 1; i <= steps; ++i) {
    XTestFakeMotionEvent(xd, 0, x + dx * i / steps, y + dy * i / steps, CurrentTime);
    XSync(xd, False);
    step();
  }
  XTestFakeButtonEvent(xd, 3, False, CurrentTime);
  XTestFakeKeyEvent(xd, super, False, CurrentTime);
  XSync(xd, False);
  return true;
}

bool WestonSession::pressKey(unsigned long keysym) { return keyboard != nullptr && keyboard->tapKeysym(keysym); }

void WestonSession::signal(int number) {
  if (gamePid > 0) kill(gamePid, number);
}

int WestonSession::waitForExit(int timeoutMs) {
  if (gamePid <= 0) return -1;
  int status = 0;
  pid_t ended = 0;
  if (!waitFor([&] { return (ended = waitpid(gamePid, &status, WNOHANG)) != 0; }, timeoutMs)) return -1;
  gamePid = -1;
  if (ended < 0 || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}
