// A raw TCP connection to a server on loopback for the tests that misbehave on purpose (slow,
// silent, oversized or broken requests), optionally from another loopback address
// (127.0.0.2, 127.0.0.3, ...), so that one test can play many client addresses.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
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

  // Sends one keep-alive GET of `target` and reads its whole reply (up to `seconds` for each
  // byte); the connection stays open afterwards. The reply's status, -1 when the server closed
  // the connection or answered nothing.
  int keepAliveGet(const std::string& target, int seconds = 30) {
    if (!sendAll("GET " + target + " HTTP/1.1\r\nHost: scores\r\n\r\n", seconds)) return -1;
    timeval limit = {seconds, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    std::string received;
    char buffer[4096];
    for (;;) {
      const size_t headEnd = received.find("\r\n\r\n");
      if (headEnd != std::string::npos) {
        const size_t length = received.find("Content-Length: ");
        const size_t bodyLength = length < headEnd ? std::strtoul(received.c_str() + length + 16, nullptr, 10) : 0;
        if (received.size() >= headEnd + 4 + bodyLength) break;
      }
      const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
      if (n <= 0) return -1;
      received.append(buffer, static_cast<size_t>(n));
    }
    return received.compare(0, 9, "HTTP/1.1 ") == 0 ? std::atoi(received.c_str() + 9) : -1;
  }

  // After receiveAll: whether it ended because the server closed (rather than the time-out).
  bool closedByPeer = false;

  struct Reply {
    // -1 when no status line came back.
    int status = -1;
    std::string body;
  };

  // How many connections wait in the kernel for the server listening on `port` to accept them
  // (the backlog of its listening socket, from /proc/net/tcp); -1 when the socket is not found.
  static int acceptQueueLength(int port) {
    std::ifstream table("/proc/net/tcp");
    std::string line;
    std::getline(table, line);  // the heading
    while (std::getline(table, line)) {
      unsigned slot = 0, localAddress = 0, localPort = 0, remoteAddress = 0, remotePort = 0, state = 0;
      unsigned long sendQueue = 0, receiveQueue = 0;
      if (std::sscanf(line.c_str(), " %u: %x:%x %x:%x %x %lx:%lx", &slot, &localAddress, &localPort, &remoteAddress,
                      &remotePort, &state, &sendQueue, &receiveQueue) != 8)
        continue;
      if (state == 0x0A && static_cast<int>(localPort) == port) return static_cast<int>(receiveQueue);
    }
    return -1;
  }

  // One HTTP/1.1 request on a connection of its own from `from`, with `headers` (each line
  // ended by CRLF) added; waits up to 30 s for the whole reply.
  static Reply request(int port, const std::string& from, const std::string& method, const std::string& target,
                       const std::string& body = "", const std::string& headers = "") {
    LoopbackSocket socket(port, from);
    Reply reply;
    std::string text = method + " " + target + " HTTP/1.1\r\nHost: scores\r\nConnection: close\r\n" + headers;
    if (method == "POST") {
      text += "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " + std::to_string(body.size()) +
              "\r\n";
    }
    text += "\r\n" + body;
    if (!socket.connected() || !socket.sendAll(text)) return reply;
    const std::string received = socket.receiveAll(30);
    const size_t headEnd = received.find("\r\n\r\n");
    if (received.compare(0, 9, "HTTP/1.1 ") != 0 || headEnd == std::string::npos) return reply;
    reply.status = std::atoi(received.c_str() + 9);
    reply.body = received.substr(headEnd + 4);
    return reply;
  }

 private:
  int fd = -1;
};
