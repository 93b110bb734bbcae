// Who may hold a connection to the high-score server, and for how long: at most `maxTotal`
// open connections, at most `maxPerAddress` from one client address (trusted proxies, which
// carry many players, are exempt), and every request must arrive and be answered within
// `deadline` of its start (the connection's opening, or the end of its previous request);
// a connection past its deadline is shut down, so that slow or silent clients cannot hold the
// server's connections for ever. Each refusal and each cut leaves one line in the log.
// Owned by ScoreServer: the engine's threads call admit, opened, requestEnded and closed; the
// server's own thread calls sweep. Internally locked.
#pragma once

#include <chrono>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "ServerLog.h"

class ConnectionGuard {
 public:
  using Clock = std::chrono::steady_clock;

  struct Limits {
    int maxTotal = 4000;
    int maxPerAddress = 16;
    Clock::duration deadline = std::chrono::seconds(10);
  };

  ConnectionGuard(const Limits& limits, const std::vector<std::string>& exemptAddresses, ServerLog& log);

  // Whether a new connection from `address` may be accepted now (logs a refusal). An admitted
  // connection takes its slot at once, in the same step that checked the caps, so connections
  // accepted at the same moment by several engine threads never pass them. The slot stays
  // reserved until opened() reports the connection; a reservation that the engine never opens
  // is given back by sweep() once it is older than the request deadline.
  bool admit(const std::string& address, Clock::time_point now);
  // A connection was accepted (it takes the reservation admit() made for its address);
  // `connection` identifies it until closed(). `socketFd` stays open until closed() has
  // returned, so sweep() may shut it down until then.
  void opened(const void* connection, const std::string& address, int socketFd, Clock::time_point now);
  // A request on `connection` was answered: the next one gets a fresh deadline.
  void requestEnded(const void* connection, Clock::time_point now);
  void closed(const void* connection);

  // Shuts down every connection past its deadline (the engine then sees the socket end and
  // closes it) and gives back the reservations that never opened. Returns how many were cut.
  int sweep(Clock::time_point now);

  int openConnections();
  // The connections admitted or open: what the caps count.
  int heldConnections();

 private:
  struct Open {
    std::string address;
    int socketFd;
    Clock::time_point requestStart;
    bool cut;
  };

  const Limits limits;
  const std::unordered_set<std::string> exempt;
  ServerLog& log;
  std::mutex lock;
  std::unordered_map<const void*, Open> open;
  // Admitted but not yet opened: their admission times by address, oldest first.
  std::unordered_map<std::string, std::deque<Clock::time_point>> reserved;
  int reservedTotal = 0;
  // Open and reserved connections by address.
  std::unordered_map<std::string, int> perAddress;

  // Takes one slot of `address` off the count (the lock is held).
  void releaseSlot(const std::string& address);
};
