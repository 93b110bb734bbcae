// RunningGameLink: how a second launch reaches the game that already runs with the same data
// folder, to bring its window to the front. The running game (which holds the folder's lock)
// listens on a Unix socket named after the folder: in the user's runtime folder
// ($XDG_RUNTIME_DIR/pellix-<hash of the folder>.socket) when there is one, else "pellix.socket"
// in the data folder itself. A second launch connects, sends "raise" and waits briefly for "ok".
// The shell starts listening once its window is shown and stops at shut-down; the request
// arrives on the listening thread, which only passes it on (the shell pushes an event).
#pragma once

#include <functional>
#include <string>
#include <thread>

class RunningGameLink {
 public:
  RunningGameLink() = default;
  // Stops listening and removes the socket.
  ~RunningGameLink();
  RunningGameLink(const RunningGameLink&) = delete;
  RunningGameLink& operator=(const RunningGameLink&) = delete;

  // The socket's path for the data folder `dataFolder`, given the runtime folder `runtimeFolder`
  // (empty or relative: none). Empty when no path fits a socket address.
  static std::string socketPath(const std::string& dataFolder, const std::string& runtimeFolder);
  // The path for this process's environment ($XDG_RUNTIME_DIR).
  static std::string socketPath(const std::string& dataFolder);

  // A second launch: asks the game on `dataFolder` to come to the front and waits up to
  // `timeoutMs` for its answer. True when it answered.
  static bool askToRaise(const std::string& dataFolder, int timeoutMs);

  // The running game, holding the folder's lock: answers requests on a thread of its own, which
  // calls `onRaise` for each. False when the socket cannot be made (a second launch then only
  // says that the game runs).
  bool listen(const std::string& dataFolder, std::function<void()> onRaise);
  // Ends the thread and removes the socket; nothing when not listening.
  void stop();

 private:
  void serve();
  void answer(int connection);

  std::function<void()> raise;
  std::string path;
  int listening = -1;
  // Written to end the serving thread.
  int stopPipe[2] = {-1, -1};
  std::thread server;
};
