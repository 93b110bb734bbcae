// Frame counting through the X damage extension.
#include "FrameCounter.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>

#include <chrono>

namespace {

// Drawing requests of one frame arrive within this many milliseconds of server time; frames at
// 60 a second are 16 ms apart.
const long SAME_FRAME_MS = 4;

Display* asDisplay(void* display) { return static_cast<Display*>(display); }

double nowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// Waits until `endMs` for the next damage report on `x`; false when none came by then.
bool nextDamage(Display* x, int eventBase, double endMs, XDamageNotifyEvent& report) {
  for (double now = nowMs(); now < endMs; now = nowMs()) {
    if (XPending(x) == 0) {
      pollfd watched{ConnectionNumber(x), POLLIN, 0};
      poll(&watched, 1, static_cast<int>(endMs - now) + 1);
      continue;
    }
    XEvent event;
    XNextEvent(x, &event);
    if (event.type != eventBase + XDamageNotify) continue;
    report = *reinterpret_cast<XDamageNotifyEvent*>(&event);
    return true;
  }
  return false;
}

}  // namespace

FrameCounter::FrameCounter(const std::string& displayName, unsigned long window) {
  Display* x = XOpenDisplay(displayName.c_str());
  if (x == nullptr) return;
  display = x;
  int errorBase = 0;
  if (!XDamageQueryExtension(x, &eventBase, &errorBase)) return;
  damage = XDamageCreate(x, window, XDamageReportRawRectangles);
  XSync(x, False);
}

FrameCounter::~FrameCounter() {
  if (display == nullptr) return;
  // The window, and with it the damage object, may be gone already; the server then refuses
  // the request, which the harness's error handler ignores.
  if (damage != 0) XDamageDestroy(asDisplay(display), damage);
  XCloseDisplay(asDisplay(display));
}

int FrameCounter::countFrames(int ms) {
  if (!ready()) return -1;
  Display* x = asDisplay(display);
  XSync(x, False);
  while (XPending(x) > 0) {
    XEvent event;
    XNextEvent(x, &event);
  }
  int frames = 0;
  bool any = false;
  Time lastReport = 0;
  const double end = nowMs() + ms;
  XDamageNotifyEvent report;
  while (nextDamage(x, eventBase, end, report)) {
    const Time at = report.timestamp;
    if (!any || static_cast<long>(at - lastReport) > SAME_FRAME_MS) ++frames;
    any = true;
    lastReport = at;
  }
  return frames;
}

bool FrameCounter::waitForWholeFrame(int width, int height, int timeoutMs) {
  if (!ready()) return false;
  const double end = nowMs() + timeoutMs;
  XDamageNotifyEvent report;
  while (nextDamage(asDisplay(display), eventBase, end, report)) {
    // The window has no background of its own, so only the game's presented frame paints it
    // whole; a resize alone reports nothing.
    if (report.geometry.width == width && report.geometry.height == height && report.area.x == 0 &&
        report.area.y == 0 && report.area.width == width && report.area.height == height)
      return true;
  }
  return false;
}
