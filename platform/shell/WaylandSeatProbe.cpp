// One registry round trip over libwayland-client, with a deadline so that a compositor that
// hangs cannot hang the game's launch.
#include "WaylandSeatProbe.h"

#include <poll.h>
#include <wayland-client.h>

#include <chrono>
#include <cstring>

namespace {

struct RoundTrip {
  bool seatSeen = false;
  bool done = false;
};

void onGlobal(void* data, wl_registry*, uint32_t, const char* interface, uint32_t) {
  if (std::strcmp(interface, wl_seat_interface.name) == 0) static_cast<RoundTrip*>(data)->seatSeen = true;
}

void onGlobalRemove(void*, wl_registry*, uint32_t) {}

const wl_registry_listener registryListener = {onGlobal, onGlobalRemove};

void onSyncDone(void* data, wl_callback*, uint32_t) { static_cast<RoundTrip*>(data)->done = true; }

const wl_callback_listener syncListener = {onSyncDone};

// Reads and dispatches events until the round trip is done; false on an error or time-out.
bool dispatchUntilDone(wl_display* display, RoundTrip& trip, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!trip.done) {
    while (wl_display_prepare_read(display) != 0) {
      if (wl_display_dispatch_pending(display) < 0) return false;
      if (trip.done) return true;
    }
    if (wl_display_flush(display) < 0) {
      wl_display_cancel_read(display);
      return false;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd descriptor{wl_display_get_fd(display), POLLIN, 0};
    if (left.count() <= 0 || poll(&descriptor, 1, static_cast<int>(left.count())) <= 0) {
      wl_display_cancel_read(display);
      return false;
    }
    if (wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0) return false;
  }
  return true;
}

}  // namespace

WaylandSeatProbe::Answer WaylandSeatProbe::probe(int timeoutMs) {
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr) return UNREACHABLE;
  RoundTrip trip;
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &registryListener, &trip);
  // The sync's reply comes after every global the compositor announced for the registry.
  wl_callback* sync = wl_display_sync(display);
  wl_callback_add_listener(sync, &syncListener, &trip);
  const bool answered = dispatchUntilDone(display, trip, timeoutMs);
  wl_callback_destroy(sync);
  wl_registry_destroy(registry);
  wl_display_disconnect(display);
  if (!answered) return UNREACHABLE;
  return trip.seatSeen ? HAS_SEAT : NO_SEAT;
}
