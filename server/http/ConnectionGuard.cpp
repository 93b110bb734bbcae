// Connection limits and request deadlines.
#include "ConnectionGuard.h"

#include <sys/socket.h>

#include <iterator>

ConnectionGuard::ConnectionGuard(const Limits& connectionLimits, const std::vector<std::string>& exemptAddresses,
                                 ServerLog& serverLog)
    : limits(connectionLimits), exempt(exemptAddresses.begin(), exemptAddresses.end()), log(serverLog) {}

bool ConnectionGuard::admit(const std::string& address, Clock::time_point now) {
  std::unique_lock<std::mutex> guard(lock);
  const int total = static_cast<int>(open.size()) + reservedTotal;
  if (total >= limits.maxTotal) {
    guard.unlock();
    log.line("refused a connection from " + address + ": " + std::to_string(total) + " connections open in all");
    return false;
  }
  int& fromAddress = perAddress[address];
  if (fromAddress >= limits.maxPerAddress && exempt.count(address) == 0) {
    const int held = fromAddress;
    guard.unlock();
    log.line("refused a connection from " + address + ": " + std::to_string(held) +
             " connections open from that address");
    return false;
  }
  ++fromAddress;
  reserved[address].push_back(now);
  ++reservedTotal;
  return true;
}

void ConnectionGuard::opened(const void* connection, const std::string& address, int socketFd,
                             Clock::time_point now) {
  std::lock_guard<std::mutex> guard(lock);
  auto reservation = reserved.find(address);
  const bool wasReserved = reservation != reserved.end() && !reservation->second.empty();
  if (wasReserved) {
    reservation->second.pop_front();
    if (reservation->second.empty()) reserved.erase(reservation);
    --reservedTotal;
  }
  if (!open.emplace(connection, Open{address, socketFd, now, false}).second) {
    // Reported twice: the first report holds the slot.
    if (wasReserved) releaseSlot(address);
    return;
  }
  // A connection the engine opened without asking admit() still counts.
  if (!wasReserved) ++perAddress[address];
}

void ConnectionGuard::requestEnded(const void* connection, Clock::time_point now) {
  std::lock_guard<std::mutex> guard(lock);
  auto found = open.find(connection);
  if (found != open.end()) found->second.requestStart = now;
}

void ConnectionGuard::closed(const void* connection) {
  std::lock_guard<std::mutex> guard(lock);
  auto found = open.find(connection);
  if (found == open.end()) return;
  releaseSlot(found->second.address);
  open.erase(found);
}

void ConnectionGuard::releaseSlot(const std::string& address) {
  auto count = perAddress.find(address);
  if (count != perAddress.end() && --count->second <= 0) perAddress.erase(count);
}

int ConnectionGuard::sweep(Clock::time_point now) {
  std::vector<std::string> cutAddresses;
  {
    // The engine closes a socket only after closed() has returned, and closed() waits for this
    // lock: every descriptor shut down here still belongs to its connection.
    std::lock_guard<std::mutex> guard(lock);
    // An admission the engine never turned into a connection gives its slot back.
    for (auto entry = reserved.begin(); entry != reserved.end();) {
      std::deque<Clock::time_point>& times = entry->second;
      while (!times.empty() && now - times.front() >= limits.deadline) {
        times.pop_front();
        --reservedTotal;
        releaseSlot(entry->first);
      }
      entry = times.empty() ? reserved.erase(entry) : std::next(entry);
    }
    for (auto& entry : open) {
      Open& connection = entry.second;
      if (connection.cut || now - connection.requestStart < limits.deadline) continue;
      shutdown(connection.socketFd, SHUT_RDWR);
      connection.cut = true;
      cutAddresses.push_back(connection.address);
    }
  }
  const long seconds = static_cast<long>(std::chrono::duration_cast<std::chrono::seconds>(limits.deadline).count());
  for (const std::string& address : cutAddresses) {
    log.line("closed a connection from " + address + ": no whole request within " + std::to_string(seconds) + " s");
  }
  return static_cast<int>(cutAddresses.size());
}

int ConnectionGuard::heldConnections() {
  std::lock_guard<std::mutex> guard(lock);
  return static_cast<int>(open.size()) + reservedTotal;
}

int ConnectionGuard::openConnections() {
  std::lock_guard<std::mutex> guard(lock);
  return static_cast<int>(open.size());
}
