// A raw TCP connection to a server on loopback for the tests that misbehave on purpose (slow,
// silent, oversized or broken requests), optionally from another loopback address
// (127.0.0.2, 127.0.0.3, ...), so that one test can play many client addresses.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <string>

class LoopbackSocket {
 public:
  LoopbackSocket(int port, const std::string& from = "127.0.0.1") {
    fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    inet_pton(AF_INET, from.c_str(), &local.sin_addr);
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(static_cast<uint16_t>(port));
    remote.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        connect(fd, reinterpret_cast<sockaddr*>(&remote), sizeof remote) != 0) {
      close(fd);
      fd = -1;
    }
  }
  ~LoopbackSocket() {
    if (fd >= 0) close(fd);
  }
  LoopbackSocket(const LoopbackSocket&) = delete;
  LoopbackSocket& operator=(const LoopbackSocket&) = delete;

  bool connected() const { return fd >= 0; }

  // Sends everything, giving up after `seconds` without progress; false when the peer stopped
  // taking bytes or closed.
  bool sendAll(const std::string& bytes, int seconds = 10) {
    timeval limit = {seconds, 0};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    size_t sent = 0;
    while (sent < bytes.size()) {
      ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
      if (n <= 0) return false;
      sent += static_cast<size_t>(n);
    }
    return true;
  }

  // Reads until the peer closes or `seconds` pass without a byte.
  std::string receiveAll(int seconds) {
    timeval limit = {seconds, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    std::string reply;
    char buffer[4096];
    ssize_t n;
    while ((n = recv(fd, buffer, sizeof buffer, 0)) > 0) reply.append(buffer, static_cast<size_t>(n));
    closedByPeer = n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
    return reply;
  }

  // Whether the server has ended the connection, looking without waiting.
  bool endedByPeer() {
    char byte;
    ssize_t n = recv(fd, &byte, 1, MSG_DONTWAIT | MSG_PEEK);
    return n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
  }

  // After receiveAll: whether it ended because the server closed (rather than the time-out).
  bool closedByPeer = false;

 private:
  int fd = -1;
};
