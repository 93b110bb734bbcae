// Connection limits and request deadlines.
#include "ConnectionGuard.h"

#include <sys/socket.h>

ConnectionGuard::ConnectionGuard(const Limits& connectionLimits, const std::vector<std::string>& exemptAddresses,
                                 ServerLog& serverLog)
    : limits(connectionLimits), exempt(exemptAddresses.begin(), exemptAddresses.end()), log(serverLog) {}

bool ConnectionGuard::admit(const std::string& address) {
  std::unique_lock<std::mutex> guard(lock);
  const int total = static_cast<int>(open.size());
  if (total >= limits.maxTotal) {
    guard.unlock();
    log.line("refused a connection from " + address + ": " + std::to_string(total) + " connections open in all");
    return false;
  }
  auto found = perAddress.find(address);
  const int fromAddress = found == perAddress.end() ? 0 : found->second;
  if (fromAddress >= limits.maxPerAddress && exempt.count(address) == 0) {
    guard.unlock();
    log.line("refused a connection from " + address + ": " + std::to_string(fromAddress) +
             " connections open from that address");
    return false;
  }
  return true;
}

void ConnectionGuard::opened(const void* connection, const std::string& address, int socketFd,
                             Clock::time_point now) {
  std::lock_guard<std::mutex> guard(lock);
  if (!open.emplace(connection, Open{address, socketFd, now, false}).second) return;
  ++perAddress[address];
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
  auto count = perAddress.find(found->second.address);
  if (count != perAddress.end() && --count->second <= 0) perAddress.erase(count);
  open.erase(found);
}

int ConnectionGuard::sweep(Clock::time_point now) {
  std::vector<std::string> cutAddresses;
  {
    // The engine closes a socket only after closed() has returned, and closed() waits for this
    // lock: every descriptor shut down here still belongs to its connection.
    std::lock_guard<std::mutex> guard(lock);
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

int ConnectionGuard::openConnections() {
  std::lock_guard<std::mutex> guard(lock);
  return static_cast<int>(open.size());
}
