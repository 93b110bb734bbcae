// The end-to-end harness over Xlib, XTest and POSIX processes.
#include "GameSession.h"

#include "FrameCounter.h"
#include "XTestKeyboard.h"
#include "XvfbProcess.h"
// Before the X headers: their None macro would break GoogleTest's headers.
#include "TestEnvironment.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "WholeFile.h"

namespace {

double nowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

Display* asDisplay(void* display) { return static_cast<Display*>(display); }

const int SCREEN_WIDTH = 320;
const int SCREEN_HEIGHT = 480;

// Where the game shows its screen in a window of the given size: the largest 2:3 rectangle of
// whole pixels that fits, centred (as the game presents its frame).
struct FrameRect {
  int left, top, width, height;
};

FrameRect frameIn(int windowWidth, int windowHeight) {
  const double fit = std::min(static_cast<double>(windowWidth) / SCREEN_WIDTH, static_cast<double>(windowHeight) / SCREEN_HEIGHT);
  FrameRect r{};
  r.width = std::max(1, static_cast<int>(SCREEN_WIDTH * fit + 1e-6));
  r.height = std::max(1, static_cast<int>(SCREEN_HEIGHT * fit + 1e-6));
  r.left = (windowWidth - r.width) / 2;
  r.top = (windowHeight - r.height) / 2;
  return r;
}

// The game's window goes away when the game exits; a request that still names it must not end
// the test program (Xlib's own handler would exit).
int ignoreXError(Display*, XErrorEvent*) { return 0; }

}  // namespace

GameSession::GameSession(int screenWidth, int screenHeight) {
  gameFolder = baseFolder + "/pellix";
  std::filesystem::create_directories(gameFolder);
  errorLog = baseFolder + "/stderr.txt";

  xvfb = std::make_unique<XvfbProcess>(screenWidth, screenHeight, baseFolder + "/xvfb.txt");
  if (!xvfb->started()) {
    problem = xvfb->problem();
    return;
  }
  displayName = xvfb->display();
  XSetErrorHandler(ignoreXError);
  for (int attempt = 0; attempt < 50 && display == nullptr; ++attempt) {
    display = XOpenDisplay(displayName.c_str());
    if (display == nullptr) pause(100);
  }
  if (display != nullptr) {
    keyboard = std::make_unique<XTestKeyboard>(asDisplay(display));
  } else {
    problem = "no connection to Xvfb on " + displayName;
  }
}

GameSession::~GameSession() {
  frameCounter.reset();
  if (gamePid > 0) {
    kill(gamePid, SIGKILL);
    waitpid(gamePid, nullptr, 0);
  }
  keyboard.reset();
  if (display != nullptr) XCloseDisplay(asDisplay(display));
  xvfb.reset();
}

void GameSession::setEnvironment(const std::string& name, const std::string& value) {
  environment.emplace_back(name, value);
}

bool GameSession::launch(bool withDisplay) {
  // A relaunch gets a window of its own.
  window = 0;
  frameCounter.reset();
  focused = false;
  firstFrameMs = -1;
  launchTime = nowMs();
  gamePid = fork();
  if (gamePid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    const int errors = open(errorLog.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(errors, 2);
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, 1);
    setenv("XDG_DATA_HOME", baseFolder.c_str(), 1);
    // The preferences go beside the data (pellix/preferences), never into the tester's own.
    setenv("XDG_CONFIG_HOME", baseFolder.c_str(), 1);
    // The running game's socket too, so that a killed game leaves nothing in the tester's own
    // runtime folder.
    setenv("XDG_RUNTIME_DIR", baseFolder.c_str(), 1);
    setenv("ALSOFT_DRIVERS", "null", 1);
    // The sanitizer suite gives the game its own options: at exit SDL and Mesa unload libraries
    // whose allocations the leak checker can then no longer name, so no suppression can match.
    if (const char* gameOptions = getenv("PELLIX_GAME_ASAN_OPTIONS")) setenv("ASAN_OPTIONS", gameOptions, 1);
    for (const auto& variable : environment) setenv(variable.first.c_str(), variable.second.c_str(), 1);
    if (withDisplay) {
      setenv("DISPLAY", displayName.c_str(), 1);
    } else {
      unsetenv("DISPLAY");
      unsetenv("WAYLAND_DISPLAY");
    }
    const std::string program = binary.empty() ? std::string(PELLIX_GAME_BINARY) : binary;
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : programArguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  return gamePid > 0;
}

bool GameSession::findWindow() {
  Display* x = asDisplay(display);
  Window root = DefaultRootWindow(x), parent = 0, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(x, root, &root, &parent, &children, &count)) return false;
  for (unsigned i = 0; i < count && window == 0; ++i) {
    char* name = nullptr;
    XWindowAttributes attributes;
    if (XFetchName(x, children[i], &name) && name != nullptr) {
      if (std::strcmp(name, "Pellix") == 0 && XGetWindowAttributes(x, children[i], &attributes) &&
          attributes.map_state == IsViewable)
        window = children[i];
      XFree(name);
    }
  }
  if (children != nullptr) XFree(children);
  return window != 0;
}

std::string GameSession::windowClass() {
  if (window == 0) return std::string();
  XClassHint hint{};
  if (!XGetClassHint(asDisplay(display), window, &hint)) return std::string();
  const std::string result = hint.res_class != nullptr ? hint.res_class : "";
  if (hint.res_name != nullptr) XFree(hint.res_name);
  if (hint.res_class != nullptr) XFree(hint.res_class);
  return result;
}

int GameSession::windowIconWidth() {
  if (window == 0) return 0;
  Display* x = asDisplay(display);
  Atom type = 0;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  // _NET_WM_ICON: width, height, then the pixels; only the first value is read.
  if (XGetWindowProperty(x, window, XInternAtom(x, "_NET_WM_ICON", False), 0, 1, False, AnyPropertyType, &type,
                         &format, &items, &after, &data) != Success || data == nullptr)
    return 0;
  const int width = items > 0 && format == 32 ? static_cast<int>(reinterpret_cast<unsigned long*>(data)[0]) : 0;
  XFree(data);
  return width;
}

bool GameSession::waitForFirstFrame(int timeoutMs) {
  const double deadline = nowMs() + testenv::scaledMs(timeoutMs);
  while (nowMs() < deadline) {
    if ((window != 0 || findWindow()) && showsAnything()) {
      firstFrameMs = nowMs() - launchTime;
      return true;
    }
    pause(5);
  }
  return false;
}

bool GameSession::showsAnything() {
  // A few rows across the window: cheap to read at any window size, so that watching for the
  // first frame takes no noticeable time from a game that is starting on the same cores.
  Display* xd = asDisplay(display);
  XWindowAttributes attributes;
  if (window == 0 || !XGetWindowAttributes(xd, window, &attributes) || attributes.map_state != IsViewable) return false;
  for (int k = 1; k <= 7; ++k) {
    XImage* row = XGetImage(xd, window, 0, attributes.height * k / 8, attributes.width, 1, AllPlanes, ZPixmap);
    if (row == nullptr) continue;
    bool lit = false;
    for (int x = 0; x < attributes.width && !lit; ++x) {
      const unsigned long pixel = XGetPixel(row, x, 0);
      lit = ((pixel >> 16) & 0xff) > 16 || ((pixel >> 8) & 0xff) > 16 || (pixel & 0xff) > 16;
    }
    XDestroyImage(row);
    if (lit) return true;
  }
  return false;
}

void GameSession::windowToRoot(int x, int y, int& rootX, int& rootY) {
  Display* xd = asDisplay(display);
  XWindowAttributes attributes;
  if (window == 0 || !XGetWindowAttributes(xd, window, &attributes)) {
    rootX = rootY = 0;
    return;
  }
  const FrameRect frame = frameIn(attributes.width, attributes.height);
  const float scaleX = static_cast<float>(frame.width) / SCREEN_WIDTH;
  const float scaleY = static_cast<float>(frame.height) / SCREEN_HEIGHT;
  Window child;
  XTranslateCoordinates(xd, window, DefaultRootWindow(xd), static_cast<int>(frame.left + (x + 0.5f) * scaleX),
                        static_cast<int>(frame.top + (y + 0.5f) * scaleY), &rootX, &rootY, &child);
}

void GameSession::moveTo(int x, int y) {
  int rootX = 0, rootY = 0;
  windowToRoot(x, y, rootX, rootY);
  XTestFakeMotionEvent(asDisplay(display), 0, rootX, rootY, CurrentTime);
  XFlush(asDisplay(display));
}

void GameSession::press(int x, int y) {
  moveTo(x, y);
  XTestFakeButtonEvent(asDisplay(display), 1, True, CurrentTime);
  XFlush(asDisplay(display));
}

void GameSession::release(int x, int y) {
  moveTo(x, y);
  XTestFakeButtonEvent(asDisplay(display), 1, False, CurrentTime);
  XFlush(asDisplay(display));
}

void GameSession::drag(int fromX, int fromY, int toX, int toY, int steps) {
  press(fromX, fromY);
  pause(120);
  for (int i = 1; i <= steps; ++i) {
    moveTo(fromX + (toX - fromX) * i / steps, fromY + (toY - fromY) * i / steps);
    pause(30);
  }
  pause(350);
  release(toX, toY);
}

void GameSession::tap(int x, int y) {
  press(x, y);
  pause(80);
  release(x, y);
}

void GameSession::rightClick(int x, int y) {
  moveTo(x, y);
  XTestFakeButtonEvent(asDisplay(display), 3, True, CurrentTime);
  XFlush(asDisplay(display));
  pause(80);
  XTestFakeButtonEvent(asDisplay(display), 3, False, CurrentTime);
  XFlush(asDisplay(display));
}

void GameSession::focusWindow() {
  if (focused || window == 0) return;
  // Without a window manager nobody else hands the window the keyboard.
  // Once XSync returns the server has moved the focus, so the window's FocusIn is queued ahead
  // of every key sent after it and the game handles them in that order.
  XSetInputFocus(asDisplay(display), window, RevertToParent, CurrentTime);
  XSync(asDisplay(display), False);
  focused = true;
}

bool GameSession::pressKey(unsigned long keysym) {
  if (!keyboard || window == 0) return false;
  focusWindow();
  return keyboard->tapKeysym(keysym);
}

bool GameSession::pressKeyWithControl(unsigned long keysym) {
  if (!keyboard || window == 0) return false;
  focusWindow();
  return keyboard->tapKeysymWithControl(keysym);
}

bool GameSession::typeText(const std::string& utf8) {
  if (!keyboard || window == 0) return false;
  focusWindow();
  return keyboard->typeText(utf8);
}

void GameSession::pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::vector<uint8_t> GameSession::screenPixels() {
  std::vector<uint8_t> pixels;
  if (window == 0) return pixels;
  Display* xd = asDisplay(display);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(xd, window, &attributes)) return pixels;
  XImage* image = XGetImage(xd, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
  if (image == nullptr) return pixels;
  const FrameRect frame = frameIn(attributes.width, attributes.height);
  const float scaleX = static_cast<float>(frame.width) / SCREEN_WIDTH;
  const float scaleY = static_cast<float>(frame.height) / SCREEN_HEIGHT;
  pixels.reserve(SCREEN_WIDTH * SCREEN_HEIGHT * 3);
  for (int y = 0; y < SCREEN_HEIGHT; ++y) {
    for (int x = 0; x < SCREEN_WIDTH; ++x) {
      const unsigned long pixel = XGetPixel(image, static_cast<int>(frame.left + (x + 0.5f) * scaleX),
                                            static_cast<int>(frame.top + (y + 0.5f) * scaleY));
      pixels.push_back(static_cast<uint8_t>((pixel >> 16) & 0xff));
      pixels.push_back(static_cast<uint8_t>((pixel >> 8) & 0xff));
      pixels.push_back(static_cast<uint8_t>(pixel & 0xff));
    }
  }
  XDestroyImage(image);
  return pixels;
}

std::vector<uint8_t> GameSession::windowPixels(int& width, int& height) {
  std::vector<uint8_t> pixels;
  width = height = 0;
  if (window == 0) return pixels;
  Display* xd = asDisplay(display);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(xd, window, &attributes)) return pixels;
  XImage* image = XGetImage(xd, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
  if (image == nullptr) return pixels;
  width = attributes.width;
  height = attributes.height;
  pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      pixels.push_back(static_cast<uint8_t>((pixel >> 16) & 0xff));
      pixels.push_back(static_cast<uint8_t>((pixel >> 8) & 0xff));
      pixels.push_back(static_cast<uint8_t>(pixel & 0xff));
    }
  }
  XDestroyImage(image);
  return pixels;
}

bool GameSession::windowSize(int& width, int& height) {
  width = height = 0;
  XWindowAttributes attributes;
  if (window == 0 || !XGetWindowAttributes(asDisplay(display), window, &attributes)) return false;
  width = attributes.width;
  height = attributes.height;
  return true;
}

bool GameSession::resizeWindow(int width, int height, int timeoutMs) {
  if (window == 0) return false;
  Display* xd = asDisplay(display);
  // Frames are followed from before the resize, so that waitForFrameAfterResize sees the first
  // one at the new size however soon the game draws it.
  frameCounter = std::make_unique<FrameCounter>(displayName, window);
  XResizeWindow(xd, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
  XSync(xd, False);
  const double deadline = nowMs() + testenv::scaledMs(timeoutMs);
  int w = 0, h = 0;
  while (windowSize(w, h) && (w != width || h != height) && nowMs() < deadline) pause(20);
  return w == width && h == height;
}

bool GameSession::waitForFrameAfterResize(int width, int height, int timeoutMs) {
  return frameCounter && frameCounter->waitForWholeFrame(width, height, testenv::scaledMs(timeoutMs));
}

bool GameSession::waitForRest(int quietMs, int timeoutMs) {
  if (window == 0 && !findWindow()) return false;
  if (!frameCounter) frameCounter = std::make_unique<FrameCounter>(displayName, window);
  const double deadline = nowMs() + testenv::scaledMs(timeoutMs);
  do {
    const int frames = frameCounter->countFrames(quietMs);
    if (frames < 0) return false;
    if (frames == 0) return true;
  } while (nowMs() < deadline);
  return false;
}

bool GameSession::waitForChange(const ScreenImage& before, int timeoutMs) {
  return waitForScreen([&](const ScreenImage& now) { return now.fractionDifferent(before, 8) > 0.0; }, timeoutMs);
}

bool GameSession::waitForScreen(const std::function<bool(const ScreenImage&)>& condition, int timeoutMs) {
  const double deadline = nowMs() + testenv::scaledMs(timeoutMs);
  do {
    if (condition(screen())) return true;
    pause(50);
  } while (nowMs() < deadline);
  return false;
}

void GameSession::saveScreenshot(const std::string& name) {
  const char* folder = getenv("PELLIX_E2E_SCREENSHOTS");
  if (folder == nullptr || folder[0] == '\0') return;
  std::filesystem::create_directories(folder);
  screen().savePng(std::string(folder) + "/" + name + ".png");
}

void GameSession::closeWindow() {
  Display* xd = asDisplay(display);
  XEvent event;
  std::memset(&event, 0, sizeof(event));
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(xd, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(xd, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(xd, window, False, NoEventMask, &event);
  XFlush(xd);
}

void GameSession::signal(int number) {
  if (gamePid > 0) kill(gamePid, number);
}

int GameSession::waitForExit(int timeoutMs) {
  const double deadline = nowMs() + testenv::scaledMs(timeoutMs);
  while (gamePid > 0 && nowMs() < deadline) {
    int status = 0;
    const pid_t done = waitpid(gamePid, &status, WNOHANG);
    if (done == gamePid) {
      gamePid = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    pause(10);
  }
  return -1;
}

long GameSession::peakResidentKb() const {
  std::ifstream status("/proc/" + std::to_string(gamePid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

int GameSession::countFrames(int ms) {
  if (window == 0 && !findWindow()) return -1;
  if (!frameCounter) frameCounter = std::make_unique<FrameCounter>(displayName, window);
  return frameCounter->countFrames(ms);
}

double GameSession::cpuMs() const {
  std::ifstream stat("/proc/" + std::to_string(gamePid) + "/stat");
  std::string content((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  // Fields after the command name (which may hold spaces) start after the last ')'.
  std::istringstream fields(content.substr(content.rfind(')') + 2));
  std::string field;
  long utime = 0, stime = 0;
  for (int index = 3; fields >> field; ++index) {
    if (index == 14) utime = std::stol(field);
    if (index == 15) {
      stime = std::stol(field);
      break;
    }
  }
  return 1000.0 * static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

std::string GameSession::setupProblem() const {
  if (problem.empty() || !xvfb || !xvfb->started()) return problem;
  return problem + "; Xvfb said: " + testfiles::readText(baseFolder + "/xvfb.txt");
}

std::string GameSession::errorOutput() const { return testfiles::readText(errorLog); }
