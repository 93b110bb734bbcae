// The raise request's socket: its name, the asking side and the listening thread.
#include "RunningGameLink.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace {

const char REQUEST[] = "raise\n";
const char ANSWER[] = "ok\n";
// How long the game waits for a connected launch to send its request.
const int REQUEST_WAIT_MS = 1000;

// FNV-1a: a stable name for a folder, the same in every build of the game.
std::string folderHash(const std::string& folder) {
  uint64_t hash = 14695981039346656037ull;
  for (const char c : folder) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  char text[17];
  std::snprintf(text, sizeof(text), "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

bool fitsSocketAddress(const std::string& path) { return !path.empty() && path.size() < sizeof(sockaddr_un{}.sun_path); }

sockaddr_un addressOf(const std::string& path) {
  sockaddr_un address;
  std::memset(&address, 0, sizeof(address));
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.data(), path.size());
  return address;
}

int msLeft(std::chrono::steady_clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Reads from `socket` until a line feed, `limit` bytes or the deadline; what came.
std::string readLine(int socket, size_t limit, std::chrono::steady_clock::time_point deadline) {
  std::string line;
  while (line.size() < limit && (line.empty() || line.back() != '\n')) {
    pollfd waiting = {socket, POLLIN, 0};
    const int ready = ::poll(&waiting, 1, msLeft(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    char buffer[16];
    const ssize_t count = ::recv(socket, buffer, std::min(sizeof(buffer), limit - line.size()), 0);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) break;
    line.append(buffer, static_cast<size_t>(count));
  }
  return line;
}

}  // namespace

RunningGameLink::~RunningGameLink() { stop(); }

std::string RunningGameLink::socketPath(const std::string& dataFolder, const std::string& runtimeFolder) {
  if (dataFolder.empty()) return std::string();
  if (!runtimeFolder.empty() && runtimeFolder[0] == '/') {
    const std::string inRuntime = runtimeFolder + "/pellix-" + folderHash(dataFolder) + ".socket";
    if (fitsSocketAddress(inRuntime)) return inRuntime;
  }
  const std::string inData = dataFolder + "/pellix.socket";
  return fitsSocketAddress(inData) ? inData : std::string();
}

std::string RunningGameLink::socketPath(const std::string& dataFolder) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  return socketPath(dataFolder, runtime != nullptr ? runtime : "");
}

bool RunningGameLink::askToRaise(const std::string& dataFolder, int timeoutMs) {
  const std::string socketFile = socketPath(dataFolder);
  if (socketFile.empty()) return false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  // Non-blocking, so that a game too busy to take the connection never holds this launch up.
  const int link = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (link < 0) return false;
  const sockaddr_un address = addressOf(socketFile);
  bool answered = false;
  if (::connect(link, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0 &&
      ::send(link, REQUEST, sizeof(REQUEST) - 1, MSG_NOSIGNAL) == static_cast<ssize_t>(sizeof(REQUEST) - 1)) {
    answered = readLine(link, sizeof(ANSWER) - 1, deadline) == ANSWER;
  }
  ::close(link);
  return answered;
}

bool RunningGameLink::listen(const std::string& dataFolder, std::function<void()> onRaise) {
  stop();
  const std::string socketFile = socketPath(dataFolder);
  if (socketFile.empty()) return false;
  // The caller holds the folder's lock, so a socket already at the path is a game's that ended
  // without removing it. Anything else there is left alone.
  struct stat info;
  if (::lstat(socketFile.c_str(), &info) == 0) {
    if (!S_ISSOCK(info.st_mode) || ::unlink(socketFile.c_str()) != 0) return false;
  }
  listening = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listening < 0) return false;
  const sockaddr_un address = addressOf(socketFile);
  if (::bind(listening, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
    ::close(listening);
    listening = -1;
    return false;
  }
  path = socketFile;
  // Only the player's own programs may ask.
  ::chmod(path.c_str(), 0600);
  raise = std::move(onRaise);
  bool started = ::listen(listening, 4) == 0 && ::pipe2(stopPipe, O_CLOEXEC) == 0;
  if (started) {
    try {
      server = std::thread(&RunningGameLink::serve, this);
    } catch (const std::system_error&) {
      started = false;
    }
  }
  if (!started) stop();
  return started;
}

void RunningGameLink::stop() {
  if (server.joinable()) {
    const char byte = 0;
    while (::write(stopPipe[1], &byte, 1) < 0 && errno == EINTR) {
    }
    server.join();
  }
  for (int& end : stopPipe) {
    if (end >= 0) ::close(end);
    end = -1;
  }
  if (listening >= 0) {
    ::close(listening);
    listening = -1;
  }
  if (!path.empty()) {
    ::unlink(path.c_str());
    path.clear();
  }
  raise = nullptr;
}

void RunningGameLink::serve() {
  for (;;) {
    pollfd waiting[2] = {{listening, POLLIN, 0}, {stopPipe[0], POLLIN, 0}};
    if (::poll(waiting, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (waiting[1].revents != 0 || (waiting[0].revents & (POLLERR | POLLNVAL)) != 0) return;
    if ((waiting[0].revents & POLLIN) == 0) continue;
    const int connection = ::accept4(listening, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    answer(connection);
    ::close(connection);
  }
}

void RunningGameLink::answer(int connection) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(REQUEST_WAIT_MS);
  if (readLine(connection, sizeof(REQUEST) - 1, deadline) != REQUEST) return;
  if (raise) raise();
  ::send(connection, ANSWER, sizeof(ANSWER) - 1, MSG_NOSIGNAL);
}
