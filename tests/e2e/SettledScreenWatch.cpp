// Following the screen through root-window damage and read-backs.
#include "SettledScreenWatch.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>

#include <chrono>
#include <set>
#include <string_view>

namespace {

Display* asDisplay(void* display) { return static_cast<Display*>(display); }

double nowMs() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

SettledScreenWatch::SettledScreenWatch(const std::string& displayName) {
  Display* x = XOpenDisplay(displayName.c_str());
  if (x == nullptr) return;
  display = x;
  int errorBase = 0;
  if (!XDamageQueryExtension(x, &eventBase, &errorBase)) return;
  // One report until the damage is taken away, then one for whatever is drawn next.
  damage = XDamageCreate(x, DefaultRootWindow(x), XDamageReportNonEmpty);
  XSync(x, False);
}

SettledScreenWatch::~SettledScreenWatch() {
  if (display == nullptr) return;
  if (damage != 0) XDamageDestroy(asDisplay(display), damage);
  XCloseDisplay(asDisplay(display));
}

uint64_t SettledScreenWatch::screenHash() {
  Display* x = asDisplay(display);
  const Window root = DefaultRootWindow(x);
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(x, root, &attributes)) return 0;
  XImage* image = XGetImage(x, root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
  if (image == nullptr) return 0;
  const uint64_t hash = std::hash<std::string_view>()(
      std::string_view(image->data, static_cast<size_t>(image->bytes_per_line) * static_cast<size_t>(image->height)));
  XDestroyImage(image);
  return hash;
}

void SettledScreenWatch::start() {
  pictures.clear();
  if (!ready()) return;
  Display* x = asDisplay(display);
  XDamageSubtract(x, damage, None, None);
  initialHash = screenHash();
  XSync(x, False);
  while (XPending(x) > 0) {
    XEvent event;
    XNextEvent(x, &event);
  }
  startMs = nowMs();
}

bool SettledScreenWatch::follow(int quietMs, int timeoutMs, const std::function<bool()>& done) {
  if (!ready()) return false;
  Display* x = asDisplay(display);
  const double deadline = startMs + timeoutMs;
  double lastReport = startMs;
  for (double now = nowMs(); now < deadline; now = nowMs()) {
    if (XPending(x) == 0) {
      // Nothing drawn yet is not a rest: the program has not shown anything.
      if (!pictures.empty() && now - lastReport >= quietMs && done()) return true;
      pollfd watched{ConnectionNumber(x), POLLIN, 0};
      poll(&watched, 1, quietMs);
      continue;
    }
    XEvent event;
    XNextEvent(x, &event);
    if (event.type != eventBase + XDamageNotify) continue;
    lastReport = nowMs();
    // Taken before the read-back: drawing during it reports again.
    XDamageSubtract(x, damage, None, None);
    pictures.push_back(Picture{lastReport - startMs, screenHash()});
  }
  return false;
}

SettledScreenWatch::Outcome SettledScreenWatch::outcome() const {
  Outcome result;
  if (pictures.empty()) return result;
  const uint64_t settled = pictures.back().hash;
  size_t first = pictures.size() - 1;
  while (first > 0 && pictures[first - 1].hash == settled) --first;
  result.settledMs = pictures[first].atMs;
  result.reportsAfter = static_cast<int>(pictures.size() - 1 - first);
  for (const Picture& picture : pictures) {
    if (picture.hash != initialHash) {
      result.firstChangeMs = picture.atMs;
      break;
    }
  }
  std::set<uint64_t> others;
  for (size_t i = 0; i < first; ++i) {
    if (pictures[i].hash != initialHash && pictures[i].hash != settled) others.insert(pictures[i].hash);
  }
  result.picturesBefore = static_cast<int>(others.size());
  return result;
}
